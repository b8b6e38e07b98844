// Program entry: the application object, the main window, the hidden help window, the loop.
// Options (also with "/" instead of "--"):
//   --skin FILE        load the skin FILE and switch skinning on
//   --no-skin          start unskinned
//   --help             show the options
//   --startup-event NAME  (used by the start-up benchmark) set the named event at the main
//                      window's first paint (its first skinned paint when it is skinned) and
//                      close the program
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "Forms.h"
#include "MsgBox.h"
#include "SysUtils.h"
#include "UnitHelp.h"
#include "mainForm.h"
#include "skin/SkinMessages.h"
#include "skin/data/WinSkinData.h"

namespace {

// Signals the first paint of a form through a named event, then closes the form. With
// waitForSkin only a paint after the skin has been put on the form counts (the skin announces
// that with WM_SKIN_AFTERSKIN). It stays in the form's chain, passing everything on, until the
// process ends: the skin hooks the form on top of it and gives the form back to it when the skin
// comes off at the end of the process, after wWinMain has returned.
class TStartupSignal {
public:
  TStartupSignal(fw::TForm* form, HANDLE event, bool waitForSkin)
      : FForm(form), FEvent(event), FWaitForSkin(waitForSkin) {
    FPrevious = form->WindowProc;
    form->WindowProc = fw::TWndMethod::Of<&TStartupSignal::WindowProc>(this);
  }
  TStartupSignal(const TStartupSignal&) = delete;
  TStartupSignal& operator=(const TStartupSignal&) = delete;

private:
  void WindowProc(fw::TMessage& m) {
    FPrevious(m);
    if (!FEvent) return;
    if (m.Msg == skin::WM_SKIN_AFTERSKIN && m.LParam == skin::kSkinSignature) {
      FSkinned = true;
    } else if (m.Msg == WM_PAINT && (FSkinned || !FWaitForSkin)) {
      SetEvent(FEvent);
      CloseHandle(FEvent);
      FEvent = nullptr;
      PostMessageW(FForm->Handle(), WM_CLOSE, 0, 0);
    }
  }
  fw::TForm* FForm;
  HANDLE FEvent;
  bool FWaitForSkin;
  bool FSkinned = false;
  fw::TWndMethod FPrevious;
};

// What the command line asks for.
struct TOptions {
  std::wstring SkinFile;
  bool NoSkin = false;
  bool Help = false;
  std::wstring StartupEvent;
};

TOptions ReadCommandLine() {
  TOptions o;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i < argc; ++i) {
    std::wstring a = argv[i];
    if (a.size() > 1 && a[0] == L'/') a = L"--" + a.substr(1);
    const bool hasValue = i + 1 < argc;
    if (a == L"--skin" && hasValue) o.SkinFile = argv[++i];
    else if (a == L"--no-skin") o.NoSkin = true;
    else if (a == L"--help" || a == L"--?") o.Help = true;
    else if (a == L"--startup-event" && hasValue) o.StartupEvent = argv[++i];
  }
  LocalFree(argv);
  return o;
}

void ShowOptions() {
  fw::ShowMessageBox(nullptr,
                     L"sealbox [选项]\n\n"
                     L"--skin 文件\t载入该皮肤文件并启用皮肤\n"
                     L"--no-skin\t不使用皮肤启动\n"
                     L"--help\t显示本说明\n\n"
                     L"选项也可以用 / 开头，例如 /skin 文件。",
                     fw::Application->Title(), MB_OK | MB_ICONINFORMATION);
}

// Applies --skin and --no-skin to the main window's skin data. A skin file that cannot be
// loaded is reported, and the program goes on with its built-in skin.
void ApplySkinOptions(const TOptions& o) {
  auto* data = dynamic_cast<skin::TSkinData*>(app::FormSealbox->FindComponent(L"SkinData1"));
  if (!data) return;
  if (o.NoSkin) {
    data->SetActive(false);
    return;
  }
  if (o.SkinFile.empty()) return;
  if (!fw::FileExists(o.SkinFile)) {
    fw::ShowMessageBox(nullptr, L"找不到皮肤文件：" + o.SkinFile + L"\n将使用内置皮肤。", fw::Application->Title(),
                       MB_OK | MB_ICONWARNING);
  } else {
    const std::vector<uint8_t> builtIn = data->WriteSkinStream();
    data->SetSkinFile(o.SkinFile);  // a damaged file shows the skin reader's message
    if (data->NoSkin()) data->ReadSkinStream(builtIn);
  }
  data->SetActive(true);
}

// Whether the main window is to be skinned: its skin data is switched on and holds a skin.
bool SkinExpected() {
  auto* data = dynamic_cast<skin::TSkinData*>(app::FormSealbox->FindComponent(L"SkinData1"));
  return data && data->Active() && !data->NoSkin();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    fw::Application->Initialize();
    app::RegisterAppClasses();
    fw::Application->CreateForm(app::FormSealbox);
    fw::Application->CreateForm(app::FormHelp);
    const TOptions options = ReadCommandLine();
    if (options.Help) {
      ShowOptions();
      return 0;
    }
    ApplySkinOptions(options);
    if (!options.StartupEvent.empty())
      if (HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, options.StartupEvent.c_str()))
        new TStartupSignal(app::FormSealbox, event, SkinExpected());  // lives until the process ends
    fw::Application->Run();
  } catch (const std::exception& e) {
    fw::Application->ShowException(e);
    return 1;
  }
  return 0;
}
