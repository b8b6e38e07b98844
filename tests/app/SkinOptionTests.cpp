// The program started as a user starts it, with --skin (a good, a damaged and a missing file)
// and --no-skin: its message boxes are read and answered, its main window asked whether it is
// skinned, and the program closed.
#include <gtest/gtest.h>

#include "AppTestUtil.h"
#include "SysUtils.h"
#include "TestUtil.h"
#include "skin/SkinMessages.h"

using apptest::BesideThisSuite;

namespace {

struct TWindowsOf {
  DWORD Process;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND h, LPARAM p) {
  auto* w = reinterpret_cast<TWindowsOf*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == w->Process && IsWindowVisible(h)) w->Found.push_back(h);
  return TRUE;
}

// Top-level windows of one process with the given class ("#32770" for message boxes).
std::vector<HWND> WindowsOf(DWORD process, const wchar_t* cls) {
  TWindowsOf w{process, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&w));
  std::vector<HWND> out;
  for (HWND h : w.Found) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    if (lstrcmpiW(name, cls) == 0) out.push_back(h);
  }
  return out;
}

std::wstring TextOfBox(HWND box) {
  std::wstring all;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t t[512] = {};
    GetWindowTextW(c, t, 512);
    all += t;
  }
  return all;
}

// One run of the program: the texts of the boxes it showed before its main window was up, and
// whether that window answered the skin's query.
struct TRun {
  std::vector<std::wstring> Boxes;
  bool Skinned = false;
  bool MainWindow = false;
};

TRun Start(const std::vector<std::wstring>& args) {
  std::wstring cmd = L"\"" + BesideThisSuite(SEALBOX_RELATIVE_PATH) + L"\"";
  for (const auto& a : args) cmd += L" \"" + a + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  TRun run;
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    ADD_FAILURE() << "cannot start the program";
    return run;
  }
  const DWORD start = GetTickCount();
  HWND main = nullptr;
  while (GetTickCount() - start < 30000 && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
    for (HWND box : WindowsOf(pi.dwProcessId, L"#32770")) {
      run.Boxes.push_back(TextOfBox(box));
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      PostMessageW(box, WM_CLOSE, 0, 0);
    }
    const auto forms = WindowsOf(pi.dwProcessId, L"TFormSealbox");
    if (!forms.empty()) {
      main = forms.front();
      break;
    }
    Sleep(50);
  }
  if (main) {
    run.MainWindow = true;
    // The skin comes on when the window is activated; give it the time of a few messages.
    for (int i = 0; i < 40 && !run.Skinned; ++i) {
      DWORD_PTR answer = 0;
      SendMessageTimeoutW(main, skin::WM_SKIN_QUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
      run.Skinned = answer == 1;
      if (!run.Skinned) Sleep(50);
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

}  // namespace

TEST(SkinOptions, SkinFileOnTheCommandLine) {
  // A good skin: no message, the window skinned.
  const TRun good = Start({L"--skin", BesideThisSuite(SLATE_SKIN_RELATIVE_PATH)});
  ASSERT_TRUE(good.MainWindow);
  EXPECT_TRUE(good.Boxes.empty());
  EXPECT_TRUE(good.Skinned);

  // A damaged file: the skin reader says why, and the built-in skin is used.
  TempDir dir;
  const std::wstring damaged = dir.Path(L"坏的皮肤.skn");
  {
    HANDLE f = CreateFileW(damaged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const char junk[] = "\x10\x00\x00\x00 not a skin at all";
    WriteFile(f, junk, sizeof junk, &written, nullptr);
    CloseHandle(f);
  }
  const TRun bad = Start({L"/skin", damaged});
  ASSERT_TRUE(bad.MainWindow);
  ASSERT_EQ(bad.Boxes.size(), 1u);
  // (Its bytes expand to an archive of no known version.)
  EXPECT_NE(bad.Boxes[0].find(L"此文件版本不同"), std::wstring::npos) << fw::WideToUtf8(bad.Boxes[0]);
  EXPECT_TRUE(bad.Skinned);

  // A missing file: said so, and the built-in skin is used.
  const TRun missing = Start({L"--skin", dir.Path(L"没有.skn")});
  ASSERT_TRUE(missing.MainWindow);
  ASSERT_EQ(missing.Boxes.size(), 1u);
  EXPECT_NE(missing.Boxes[0].find(L"没有.skn"), std::wstring::npos);
  EXPECT_TRUE(missing.Skinned);

  const TRun none = Start({L"--no-skin"});
  ASSERT_TRUE(none.MainWindow);
  EXPECT_FALSE(none.Skinned);
}
