// Program entry: the application object, the main window, the hidden help window, the loop.
// "--startup-event NAME" (used by the start-up benchmark) sets the named event at the main
// window's first paint and closes the program.
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>

#include "Forms.h"
#include "UnitHelp.h"
#include "mainForm.h"

namespace {

// Signals the first paint of a form through a named event, then closes the form.
class TStartupSignal {
public:
  TStartupSignal(fw::TForm* form, HANDLE event) : FForm(form), FEvent(event) {
    FPrevious = form->WindowProc;
    form->WindowProc = fw::TWndMethod::Of<&TStartupSignal::WindowProc>(this);
  }
  ~TStartupSignal() {
    if (FEvent) CloseHandle(FEvent);
  }
  TStartupSignal(const TStartupSignal&) = delete;
  TStartupSignal& operator=(const TStartupSignal&) = delete;

private:
  void WindowProc(fw::TMessage& m) {
    FPrevious(m);
    if (m.Msg == WM_PAINT && FEvent) {
      SetEvent(FEvent);
      CloseHandle(FEvent);
      FEvent = nullptr;
      FForm->WindowProc = FPrevious;
      PostMessageW(FForm->Handle(), WM_CLOSE, 0, 0);
    }
  }
  fw::TForm* FForm;
  HANDLE FEvent;
  fw::TWndMethod FPrevious;
};

// The event named after "--startup-event" on the command line, or null.
HANDLE StartupEventFromCommandLine() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  HANDLE event = nullptr;
  for (int i = 1; argv && i + 1 < argc; ++i)
    if (std::wstring(argv[i]) == L"--startup-event") event = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[i + 1]);
  LocalFree(argv);
  return event;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    fw::Application->Initialize();
    app::RegisterAppClasses();
    fw::Application->CreateForm(app::FormSealbox);
    fw::Application->CreateForm(app::FormHelp);
    std::unique_ptr<TStartupSignal> signal;
    if (HANDLE event = StartupEventFromCommandLine()) signal = std::make_unique<TStartupSignal>(app::FormSealbox, event);
    fw::Application->Run();
  } catch (const std::exception& e) {
    fw::Application->ShowException(e);
    return 1;
  }
  return 0;
}
