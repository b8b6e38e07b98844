// Helpers of the application tests: message pumping, answered message boxes, a driver for
// the system's file dialogs, and the main window on the screen.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "Forms.h"
#include "MsgBox.h"
#include "SysUtils.h"
#include "mainForm.h"

namespace apptest {

// Handles pending messages until pred() holds or ms milliseconds have passed.
inline bool PumpUntil(const std::function<bool()>& pred, DWORD ms = 5000) {
  const DWORD start = GetTickCount();
  while (!pred()) {
    if (GetTickCount() - start > ms) return false;
    fw::Application->ProcessMessages();
    Sleep(5);
  }
  return true;
}

// Processes what is queued; with ms, keeps doing so for that long (timers, posted repaints).
inline void Pump(DWORD ms = 0) {
  const DWORD start = GetTickCount();
  do {
    fw::Application->ProcessMessages();
    if (ms) Sleep(5);
  } while (GetTickCount() - start < ms);
}

// Records every message box of the program and answers it with Answer (IDOK by default).
class BoxRecorder {
public:
  BoxRecorder() {
    FPrevious = fw::SetMessageBoxHook([this](const fw::TMessageBoxRequest& r) {
      Boxes.push_back(r);
      return Answer;
    });
  }
  ~BoxRecorder() { fw::SetMessageBoxHook(FPrevious); }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  std::vector<fw::TMessageBoxRequest> Boxes;
  int Answer = IDOK;

private:
  fw::TMessageBoxHook FPrevious;
};

// One step of a dialog script: what to do with the next system dialog ("#32770") that appears.
struct DialogStep {
  enum Kind { Save, SaveAs, Cancel, Yes, No } Action;
  std::wstring FileName = {};  // SaveAs: the name typed into the dialog
};

// Answers the system dialogs of this thread from a timer, in script order. Titles records
// the caption of every dialog it acted on; Done tells whether the script ran to its end.
class DialogDriver {
public:
  explicit DialogDriver(std::initializer_list<DialogStep> steps);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  bool Done() const { return FNext >= FSteps.size(); }
  std::vector<std::wstring> Titles;
  // The file name shown in the save dialog when it appeared.
  std::vector<std::wstring> ShownNames;

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Act();
  std::vector<DialogStep> FSteps;
  size_t FNext = 0;
  UINT_PTR FTimer = 0;
  HWND FLast = nullptr;
};

// Presses a push button, radio button or check box as a click does.
inline void Click(fw::TWinControl* control) { SendMessageW(control->Handle(), BM_CLICK, 0, 0); }

// A window's rectangle in screen coordinates.
inline RECT WindowRect(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return r;
}

// Window text of a window.
std::wstring WindowText(HWND wnd);

// A path given relative to the folder of this suite's program (forward slashes allowed).
inline std::wstring BesideThisSuite(const wchar_t* relative) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring rel = relative;
  for (auto& c : rel)
    if (c == L'/') c = L'\\';
  return fw::ExtractFilePath(self) + rel;
}

// A file of n bytes with a repeating pattern that depends on seed.
std::vector<unsigned char> Pattern(size_t n, unsigned seed);

// The main window built from its stored form, created and shown; deleted at the end.
class MainWindow {
public:
  MainWindow();
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  app::TFormSealbox* operator->() const { return Form; }
  app::TFormSealbox* Form = nullptr;
  std::vector<std::wstring> Log() const;

private:
  UINT_PTR FGuard = 0;
};

}  // namespace apptest
