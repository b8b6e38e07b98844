// Test fixture of the form skin suites: a fresh skin manager with a loaded test skin, plain
// Win32 windows that record what reaches their own procedure, and message pumping.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "TestSkin.h"
#include "skin/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

namespace formtest {

inline void Pump(DWORD ms = 60) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(2);
  } while (GetTickCount() - start < ms);
}

template <class F>
bool PumpUntil(F done, DWORD ms = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    Pump(10);
  }
  return true;
}

// A press on a point of a window's frame (window coordinates) and its release, as the system
// delivers them: the press as a non-client message with the hit code, the release (the window holds
// the capture by then) in client coordinates; both posted and handled.
inline void PressFrame(HWND wnd, POINT p, WPARAM hit = HTCAPTION) {
  RECT r{};
  GetWindowRect(wnd, &r);
  PostMessageW(wnd, WM_NCLBUTTONDOWN, hit, MAKELPARAM(r.left + p.x, r.top + p.y));
  Pump(20);
}
inline LPARAM ClientPoint(HWND wnd, POINT p) {
  RECT r{};
  GetWindowRect(wnd, &r);
  POINT c{r.left + p.x, r.top + p.y};
  ScreenToClient(wnd, &c);
  return MAKELPARAM(static_cast<short>(c.x), static_cast<short>(c.y));
}
inline void ReleaseFrame(HWND wnd, POINT p) {
  PostMessageW(wnd, WM_LBUTTONUP, 0, ClientPoint(wnd, p));
  Pump(60);
}
inline void ClickFrame(HWND wnd, POINT p, WPARAM hit = HTCAPTION) {
  PressFrame(wnd, p, hit);
  ReleaseFrame(wnd, p);
}

// Colours of the test skin (0xRRGGBB), one per side and frame.
constexpr std::uint32_t kLeftActive = 0x10A020, kLeftInactive = 0x106020, kRightActive = 0x20A010,
                        kRightInactive = 0x206010, kTopActive = 0x3050C0, kTopInactive = 0x707080,
                        kBottomActive = 0xC05030, kBottomInactive = 0x805050;
constexpr int kSide = 4, kCaption = 24, kBottom = 5;

// Borders 4 px wide, a 24 px caption with magenta top corners, a 5 px bottom; two frames each.
inline TestSkin FrameSkin() {
  TestSkin s;
  s.Strip("left.bmp", kSide, 40, {kLeftActive, kLeftInactive})
      .Strip("right.bmp", kSide, 40, {kRightActive, kRightInactive})
      .Strip("bottom.bmp", 60, kBottom, {kBottomActive, kBottomInactive}, true);
  s.Entries.push_back({"top.bmp", TestSkin::Bmp(60, 2 * kCaption, [](int x, int y) -> std::uint32_t {
                         const int fy = y % kCaption;
                         if (fy < 2 && (x < 2 || x >= 58)) return 0xFF00FF;  // corners cut away
                         return y < kCaption ? kTopActive : kTopInactive;
                       })});
  s.Ini =
      "[Personality]\nLeft=left.bmp\nLeftFrame=2\nLeftTopHeight=24\nLeftBotHeight=5\n"
      "Right=right.bmp\nRightFrame=2\nRightTopHeight=24\nRightBotHeight=5\n"
      "Top=top.bmp\nTopFrame=2\nTopTopHeight=4\nTopBotHeight=4\nTopStretch=1\n"
      "Bottom=bottom.bmp\nBottomFrame=2\nTextShift=8\nTextRightClip=10\n"
      "ActiveTextR=255\nActiveTextG=255\nActiveTextB=255\nInActiveTextR=200\nInActiveTextG=200\nInActiveTextB=200\n"
      "[Colours]\nButtonFace=236 238 242\nTitleTextActive=255 255 255\nTitleTextNoActive=200 200 200\n";
  return s;
}

inline bool LoadTestSkin(skin::TSkinData& d, const TestSkin& s = FrameSkin()) {
  const auto stored = s.Stored();
  d.SkinStream().Clear();
  d.SkinStream().WriteBuffer(stored.data(), static_cast<std::int32_t>(stored.size()));
  return d.LoadSkin();
}

inline std::unique_ptr<skin::TSkinData> MakeData() {
  auto d = std::make_unique<skin::TSkinData>(nullptr);
  LoadTestSkin(*d);
  skin::EnsureSkinManager().AddSkinData(d.get());
  return d;
}

// Other tests register a class of this program named "#32770", which would take the place of the
// system's dialog class: it is taken away (only that one: the system's own must stay).
inline void UseSystemDialogClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  const HINSTANCE self = GetModuleHandleW(nullptr);
  HMODULE owner = nullptr;
  if (GetClassInfoExW(self, L"#32770", &wc) &&
      GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(wc.lpfnWndProc), &owner) &&
      owner == self)
    UnregisterClassW(L"#32770", self);
}

// A fresh manager with one loaded skin data component, skinning switched on.
struct TSkinnedWorld {
  explicit TSkinnedWorld(bool running = true) {
    skin::FreeSkinManager();
    skin::EnsureSkinManager();
    Data = MakeData();
    skin::SkinManager->FEnabled = true;
    if (running) skin::SkinManager->FState = skin::msRunning;
  }
  ~TSkinnedWorld() {
    Data.reset();
    skin::FreeSkinManager();
  }
  // Takes a form skin off as the manager does and frees it.
  static void TakeOff(skin::TWinSkinForm* f) {
    f->Unskin();
    delete f;
  }
  std::unique_ptr<skin::TSkinData> Data;
};

// A plain top-level window of this program (or of another module), shown, recording its messages.
class TWindow {
public:
  explicit TWindow(const std::wstring& title, int width = 320, int height = 200, const wchar_t* cls = nullptr,
                   DWORD style = WS_OVERLAPPEDWINDOW, HINSTANCE instance = nullptr, bool unicode = true) {
    instance = instance ? instance : GetModuleHandleW(nullptr);
    if (cls) {
      Register(cls, instance, true);
    } else {
      cls = unicode ? L"SkinTestWindowW" : L"SkinTestWindowA";
      Register(cls, instance, unicode);
    }
    if (unicode) {
      Handle = CreateWindowExW(0, cls, title.c_str(), style, 60, 60, width, height, nullptr, nullptr, instance, this);
    } else {
      const std::string a(title.begin(), title.end());  // only the length matters for ANSI windows
      char acls[64];
      WideCharToMultiByte(CP_ACP, 0, cls, -1, acls, sizeof acls, nullptr, nullptr);
      Handle = CreateWindowExA(0, acls, "ansi", style, 60, 60, width, height, nullptr, nullptr, instance, this);
      SetWindowTextW(Handle, title.c_str());
    }
    if (!GetWindowLongPtrW(Handle, GWLP_USERDATA)) SetWindowLongPtrW(Handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    OriginalProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Handle, GWLP_WNDPROC));
    if (width && height) ShowWindow(Handle, SW_SHOWNOACTIVATE);
    Pump(20);
  }
  ~TWindow() {
    if (IsWindow(Handle)) DestroyWindow(Handle);
  }
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  int Count(UINT msg) const {
    int n = 0;
    for (UINT m : Seen) n += m == msg;
    return n;
  }
  std::wstring Text() const {
    wchar_t buf[256] = {};
    GetWindowTextW(Handle, buf, 256);
    return buf;
  }

  HWND Handle = nullptr;
  WNDPROC OriginalProc = nullptr;
  std::vector<UINT> Seen;
  bool AnswerQuery = false;
  UINT DestroyOn = 0;

private:
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCCREATE)
      SetWindowLongPtrW(h, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<TWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    const bool unicode = IsWindowUnicode(h);
    if (self) {
      self->Seen.push_back(m);
      if (m == skin::WM_SKIN_QUERY && self->AnswerQuery) return 1;
      if (self->DestroyOn && m == self->DestroyOn) {
        DestroyWindow(h);
        return 0;
      }
    }
    return unicode ? DefWindowProcW(h, m, wp, lp) : DefWindowProcA(h, m, wp, lp);
  }
  static void Register(const wchar_t* cls, HINSTANCE instance, bool unicode) {
    if (unicode) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &TWindow::Proc;
      wc.hInstance = instance;
      wc.lpszClassName = cls;
      wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      RegisterClassW(&wc);
    } else {
      char acls[64];
      WideCharToMultiByte(CP_ACP, 0, cls, -1, acls, sizeof acls, nullptr, nullptr);
      WNDCLASSA wc{};
      wc.lpfnWndProc = &TWindow::Proc;
      wc.hInstance = instance;
      wc.lpszClassName = acls;
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      RegisterClassA(&wc);
    }
  }
};

}  // namespace formtest
