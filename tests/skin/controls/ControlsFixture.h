// Fixture of the control skin suite: a test skin whose button frames and check and radio marks
// are solid, distinct colours, a framework form skinned through the real manager, pixels read
// from the screen's window DCs, and a message pump that hands keys to the framework as its
// application loop does (dialog keys, arrows).
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "FormSkinFixture.h"
#include "UserInput.h"
#include "skin/controls/WinSubClass.h"

namespace ctltest {

// A real click (move, press, release, each given time to arrive) and time after it to settle.
inline void ClickAt(POINT p, DWORD settle = 80) {
  userinput::Mouse(0, p);
  formtest::Pump(40);
  userinput::Mouse(MOUSEEVENTF_LEFTDOWN, p);
  formtest::Pump(40);
  userinput::Mouse(MOUSEEVENTF_LEFTUP, p);
  formtest::Pump(settle);
}

// Button frames: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused.
constexpr std::uint32_t kNormal = 0x2080C0, kPressed = 0xC02080, kDisabled = 0x808040, kHot = 0x40C040,
                        kFocused = 0xC08020;
constexpr std::uint32_t kFace = 0xECEEF2, kShadow = 0x503010;
constexpr int kMark = 13;  // check and radio frames are 13 x 13

inline std::uint32_t CheckColour(int frame) { return 0x300090u | static_cast<std::uint32_t>(frame * 18) << 8; }
inline std::uint32_t RadioColour(int frame) { return 0x900030u | static_cast<std::uint32_t>(frame * 18) << 8; }

// The frame skin of the form suites plus a Buttons element: a five-frame face and a check and a
// radio strip of checkFrames and radioFrames marks.
inline TestSkin ControlSkin(int checkFrames = 4, int radioFrames = 4) {
  TestSkin s = formtest::FrameSkin();
  s.Ini += "ButtonShadow=80 48 16\n";  // still in [Colours], the last section of the frame skin
  s.Strip("buttons.bmp", 20, 20, {kNormal, kPressed, kDisabled, kHot, kFocused});
  std::vector<std::uint32_t> check, radio;
  for (int i = 1; i <= checkFrames; ++i) check.push_back(CheckColour(i));
  for (int i = 1; i <= radioFrames; ++i) radio.push_back(RadioColour(i));
  s.Strip("check.bmp", kMark, kMark, check).Strip("radio.bmp", kMark, kMark, radio);
  s.Ini += "[Buttons]\nBitmap=buttons.bmp\nLeftWidth=3\nTopHeight=3\nRightWidth=3\nBottomHeight=3\n"
           "CheckButton=check.bmp\nRadioButton=radio.bmp\nCheckButtonFrame=";
  s.Ini += std::to_string(checkFrames);
  s.Ini += "\nRadioButtonFrame=";
  s.Ini += std::to_string(radioFrames);
  s.Ini += "\n";
  return s;
}

inline std::uint32_t Rgb(COLORREF c) {
  return static_cast<std::uint32_t>(GetRValue(c)) << 16 | static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

// Messages pumped as the framework's application loop does: keys first to the framework
// (CN_KEYDOWN, dialog keys), then translated and dispatched.
inline void Pump(DWORD ms = 60) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (fw::Application->IsKeyMsg(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(2);
  } while (GetTickCount() - start < ms);
}

// A pixel of a window as the screen shows it (window coordinates).
inline std::uint32_t At(HWND w, int x, int y) {
  HDC dc = GetWindowDC(w);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return Rgb(c);
}
// A pixel of a window's client area.
inline std::uint32_t ClientAt(HWND w, int x, int y) {
  HDC dc = GetDC(w);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return Rgb(c);
}
// A pixel of a graphic control (a speed button, a label) as its parent shows it.
inline std::uint32_t ControlAt(fw::TControl& c, int x, int y) {
  return ClientAt(c.Parent()->Handle(), c.Left() + x, c.Top() + y);
}

// The mark's colour in the middle of a check box or radio button window drawn at the left.
inline std::uint32_t MarkAt(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return At(h, kMark / 2, (r.bottom - r.top) / 2);
}

// The client area of a window as the screen shows it.
struct TCapture {
  int W = 0, H = 0;
  std::vector<std::uint32_t> Pixels;
  static TCapture Of(HWND w) {
    TCapture c;
    RECT r{};
    GetClientRect(w, &r);
    c.W = r.right;
    c.H = r.bottom;
    HDC dc = GetDC(w);
    for (int y = 0; y < c.H; ++y)
      for (int x = 0; x < c.W; ++x) c.Pixels.push_back(Rgb(GetPixel(dc, x, y)));
    ReleaseDC(w, dc);
    return c;
  }
  // Pixels that differ from another capture of the same size (all of them when the sizes differ).
  int Differences(const TCapture& o) const { return Differences(o, {0, 0, W, H}); }
  // The same inside a rectangle of the client area.
  int Differences(const TCapture& o, const RECT& r) const {
    if (W != o.W || H != o.H) return W * H + 1;
    int n = 0;
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, H); ++y)
      for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, W); ++x) {
        const std::size_t i = static_cast<std::size_t>(y * W + x);
        n += Pixels[i] != o.Pixels[i];
      }
    return n;
  }
  // Where they differ first, for the failure message.
  std::string Where(const TCapture& o) const {
    for (std::size_t i = 0; i < Pixels.size() && i < o.Pixels.size(); ++i)
      if (Pixels[i] != o.Pixels[i])
      {
        std::string at = "first at x ";
        at += std::to_string(i % static_cast<std::size_t>(W));
        at += ", y ";
        at += std::to_string(i / static_cast<std::size_t>(W));
        return at;
      }
    return {};
  }
};

// Rows of a rectangle of dc holding pixels other than `background`, as runs of adjacent rows:
// one run per line of text.
inline std::vector<std::pair<int, int>> InkRows(HDC dc, RECT r, std::uint32_t background) {
  std::vector<std::pair<int, int>> runs;
  bool inRun = false;
  for (int y = r.top; y < r.bottom; ++y) {
    bool ink = false;
    for (int x = r.left; x < r.right && !ink; ++x) ink = Rgb(GetPixel(dc, x, y)) != background;
    if (ink && !inRun) runs.emplace_back(y, y);
    if (ink) runs.back().second = y;
    inRun = ink;
  }
  return runs;
}
// Counts OnClick.
struct TClicks {
  int N = 0;
  void Clicked(fw::TObject*) { ++N; }
  fw::TNotifyEvent Event() { return fw::TNotifyEvent::Of<&TClicks::Clicked>(this); }
};

// The centre of a control in screen coordinates.
inline POINT Centre(fw::TControl& c) { return c.ClientToScreen({c.Width() / 2, c.Height() / 2}); }
// A point of the screen far from every test window: the mouse waits there.
inline void MouseAway() {
  userinput::Mouse(0, {1250, 1000});
  Pump(80);
}
inline void MoveTo(POINT p) {
  userinput::Mouse(0, p);
  Pump(80);
}

// Reads until the wanted value shows (the system's mouse tracking runs on timers) or time is up;
// the last value read.
template <class F>
std::uint32_t Await(F read, std::uint32_t want, DWORD ms = 1500) {
  const DWORD start = GetTickCount();
  std::uint32_t v = read();
  while (v != want && GetTickCount() - start < ms) {
    Pump(20);
    v = read();
  }
  return v;
}

// A world of the form suites with the control skin loaded.
struct TControlWorld : formtest::TSkinnedWorld {
  explicit TControlWorld(const TestSkin& skin = ControlSkin()) {
    EXPECT_TRUE(formtest::LoadTestSkin(*Data, skin));
  }
  // From here on windows are skinned as they are shown or activated, and controls made inside a
  // skinned window later are skinned too. Without it the tests skin windows themselves.
  static void Hook() { skin::SkinManager->InstallHook(); }
};

// A framework form at a fixed place, shown in front; Skin() gives it to the manager.
struct TTestForm {
  TTestForm() {
    Form = std::make_unique<fw::TForm>(nullptr);
    Form->SetBounds(100, 100, 420, 300);
  }
  template <class T>
  T* Add(int left, int top, int width, int height, const std::wstring& caption = L"") {
    auto* c = new T(Form.get());
    c->SetParent(Form.get());
    c->SetBounds(left, top, width, height);
    if (!caption.empty()) c->SetCaption(caption);
    return c;
  }
  void Show() {
    Form->Show();
    SetForegroundWindow(Form->Handle());
    Pump(60);
  }
  skin::TWinSkinForm* Skin() {
    EXPECT_TRUE(skin::SkinManager->SkinWindow(Form->Handle()));
    Pump(120);
    return skin::SkinManager->FindSkinForm(Form->Handle());
  }
  HWND Handle() { return Form->Handle(); }
  std::unique_ptr<fw::TForm> Form;
};

inline LRESULT Query(HWND w) { return SendMessageW(w, skin::WM_SKIN_QUERY, 0, 0); }

}  // namespace ctltest
