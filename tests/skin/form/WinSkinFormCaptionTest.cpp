// Caption buttons, hit testing and the menu bar of the form skin on real windows: what the frame
// answers where, what a click on each button does (and a click that slides off does not), the
// buttons' states in pixels, the skinned system menu, and the band of the menu bar.
#include <gtest/gtest.h>

#include "FormSkinFixture.h"
#include "UserInput.h"
#include "skin/data/SysEntries.h"
#include "skin/manager/WinSkinMenu.h"

using namespace skin;
using namespace formtest;

namespace {

constexpr int kButton = 14;
// Caption-button frames: normal, pressed, hot, inactive.
const std::vector<std::uint32_t> kClose{0xE00000, 0x800000, 0xFF4040, 0x404040};
const std::vector<std::uint32_t> kMax{0x00E000, 0x008000, 0x40FF40, 0x404041};
const std::vector<std::uint32_t> kRestore{0x0000E0, 0x000080, 0x4040FF, 0x404042};
const std::vector<std::uint32_t> kMin{0xE0E000, 0x808000, 0xFFFF40, 0x404043};
const std::vector<std::uint32_t> kCustom{0xE000E0, 0x800080, 0xFF40FF, 0x404044};
constexpr std::uint32_t kBandActive = 0xD0D8E0, kBandInactive = 0xB0B0B0;
constexpr std::uint32_t kMenuText = 0x0A141E, kShadow = 0x969696;
constexpr int kCloseX = 20, kMaxX = 38, kMinX = 56, kCustomX = 40;

// The fixture's frame colours with borders `side` pixels wide, five caption buttons and a band.
TestSkin ButtonSkin(int side) {
  TestSkin s;
  s.Strip("left.bmp", side, 40, {kLeftActive, kLeftInactive})
      .Strip("right.bmp", side, 40, {kRightActive, kRightInactive})
      .Strip("top.bmp", 60, kCaption, {kTopActive, kTopInactive}, true)
      .Strip("bottom.bmp", 60, kBottom, {kBottomActive, kBottomInactive}, true)
      .Strip("close.bmp", kButton, kButton, kClose)
      .Strip("max.bmp", kButton, kButton, kMax)
      .Strip("restore.bmp", kButton, kButton, kRestore)
      .Strip("min.bmp", kButton, kButton, kMin)
      .Strip("custom.bmp", kButton, kButton, kCustom)
      .Strip("menubar.bmp", 20, 10, {kBandActive, kBandInactive}, true);
  const std::string sideText = std::to_string(side);
  s.Ini = "[Personality]\nLeft=left.bmp\nLeftFrame=2\nLeftTopHeight=24\nLeftBotHeight=5\n"
          "Right=right.bmp\nRightFrame=2\nRightTopHeight=24\nRightBotHeight=5\n"
          "Top=top.bmp\nTopFrame=2\nTopTopHeight=4\nTopBotHeight=4\nTopStretch=1\n"
          "Bottom=bottom.bmp\nBottomFrame=2\nTextShift=8\nTextRightClip=10\n"
          "menuBar=menubar.bmp\nTileLeftMenu=2\nTileRightMenu=2\n"
          "[Colours]\nButtonFace=236 238 242\nTitleTextActive=255 255 255\nTitleTextNoActive=200 200 200\n"
          "Menubar=208 216 224\nMenuBarText=10 20 30\nButtonShadow=150 150 150\nButtonHilight=200 0 200\n"
          "[BUTTON.CLOSE]\nAction=0\nAlign=1\nXcoord=" + std::to_string(kCloseX) +
          "\nYcoord=5\nButtonImage=close.bmp\nframe=4\n"
          "[BUTTON.MAXIMIZE]\nAction=1\nAlign=1\nXcoord=" + std::to_string(kMaxX) +
          "\nYcoord=5\nVisibility=2\nButtonImage=max.bmp\nframe=4\n"
          "[BUTTON.RESTORE]\nAction=1\nAlign=1\nXcoord=" + std::to_string(kMaxX) +
          "\nYcoord=5\nVisibility=1\nButtonImage=restore.bmp\nframe=4\n"
          "[BUTTON.MINIMIZE]\nAction=2\nAlign=1\nXcoord=" + std::to_string(kMinX) +
          "\nYcoord=5\nButtonImage=min.bmp\nframe=4\n"
          "[BUTTON.CUSTOM]\nAction=50\nAlign=0\nXcoord=" + std::to_string(kCustomX) +
          "\nYcoord=5\nButtonImage=custom.bmp\nframe=4\n";
  return s;
}

std::unique_ptr<TSkinData> ButtonData(int side = kSide) {
  auto d = std::make_unique<TSkinData>(nullptr);
  EXPECT_TRUE(LoadTestSkin(*d, ButtonSkin(side)));
  EnsureSkinManager().AddSkinData(d.get());
  return d;
}

// A fresh manager with the button skin as its main skin data.
struct TButtonWorld {
  TSkinnedWorld World;
  std::unique_ptr<TSkinData> Data = ButtonData();
  TButtonWorld() { SkinManager->FMainSkinData = Data.get(); }
  static void TakeOff(TWinSkinForm* f) { TSkinnedWorld::TakeOff(f); }
};

HMENU MakeMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 101, L"&O 打开");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&F 文件");
  AppendMenuW(bar, MF_STRING, 102, L"&H 帮助");
  AppendMenuW(bar, MF_STRING | MF_GRAYED, 103, L"&X 退出");
  return bar;
}

// A menu bar of two buttons, each with a drop-down of two items.
HMENU TwoDropDowns() {
  HMENU bar = CreateMenu();
  for (const wchar_t* caption : {L"&F 文件", L"&H 帮助"}) {
    HMENU drop = CreatePopupMenu();
    AppendMenuW(drop, MF_STRING, 301, L"&A 一");
    AppendMenuW(drop, MF_STRING, 302, L"&B 二");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(drop), caption);
  }
  return bar;
}

// A window of this program skinned by the manager, active, the cursor kept away from it.
struct TButtonWindow {
  // With a menu bar when menu is given (the window then owns it).
  explicit TButtonWindow(TSkinData& data, DWORD style = WS_OVERLAPPEDWINDOW, HMENU menu = nullptr)
      : Window(L"按钮", 360, 240, nullptr, style) {
    if (menu) SetMenu(Window.Handle, menu);
    SetCursorPos(1200, 1000);
    EXPECT_TRUE(SkinManager->SkinWindow(Window.Handle));
    Pump();
    Form = SkinManager->FindSkinForm(Window.Handle);
    EXPECT_NE(Form, nullptr);
    if (Form) {
      EXPECT_EQ(Form->FSkinData, &data);
    }
    Activate();
  }
  void Activate() {
    SetForegroundWindow(Window.Handle);
    SetActiveWindow(Window.Handle);
    Pump(30);
  }
  HWND Handle() const { return Window.Handle; }
  RECT Rect() const {
    RECT r{};
    GetWindowRect(Window.Handle, &r);
    return r;
  }
  int W() const { return Rect().right - Rect().left; }
  int H() const { return Rect().bottom - Rect().top; }
  // A window point as the screen point messages carry.
  LPARAM Screen(int x, int y) const { return MAKELPARAM(Rect().left + x, Rect().top + y); }
  LRESULT HitTest(int x, int y) const { return SendMessageW(Window.Handle, WM_NCHITTEST, 0, Screen(x, y)); }
  POINT ButtonCentre(int xcoord) const { return {W() - xcoord + kButton / 2, 5 + kButton / 2}; }
  POINT CustomCentre() const { return {kCustomX + kButton / 2, 5 + kButton / 2}; }
  // Press and release as the system delivers them: the press in window terms, the release (the
  // window holds the capture) in client coordinates, both posted.
  void Press(POINT p) { PressFrame(Window.Handle, p); }
  void MoveCaptured(POINT p) { PostMessageW(Window.Handle, WM_MOUSEMOVE, MK_LBUTTON, Client(p)); Pump(20); }
  void Release(POINT p) { ReleaseFrame(Window.Handle, p); }
  void Click(POINT p) { ClickFrame(Window.Handle, p); }
  LPARAM Client(POINT p) const { return ClientPoint(Window.Handle, p); }
  std::uint32_t Pixel(POINT p) const {
    HDC dc = GetWindowDC(Window.Handle);
    const COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(Window.Handle, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  }
  TWindow Window;
  TWinSkinForm* Form = nullptr;
};

}  // namespace

TEST(CaptionHitTest, BandsBordersAndNeverTheSystemsButtons) {
  for (int side : {kSide, 12}) {
    SCOPED_TRACE(side);
    TSkinnedWorld world;
    auto data = ButtonData(side);
    SkinManager->FMainSkinData = data.get();
    for (bool sizable : {true, false}) {
      SCOPED_TRACE(sizable ? "sizable" : "fixed");
      const DWORD style = sizable ? WS_OVERLAPPEDWINDOW : (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
      TButtonWindow w(*data, style, MakeMenu());
      ASSERT_NE(w.Form, nullptr);
      ASSERT_EQ(w.Form->FBorderLeft, side);
      const int W = w.W(), H = w.H(), menu = w.Form->FMenuHeight;
      ASSERT_GT(menu, 0);
      EXPECT_EQ(w.HitTest(W / 2, kCaption / 2), HTCAPTION);
      EXPECT_EQ(w.HitTest(W / 2, kCaption + menu / 2), HTMENU);
      EXPECT_EQ(w.HitTest(W / 2, H / 2), HTCLIENT);
      // The whole skinned border sizes a sizable window; a fixed one answers border.
      EXPECT_EQ(w.HitTest(side - 1, H / 2), sizable ? HTLEFT : HTBORDER);
      EXPECT_EQ(w.HitTest(0, H / 2), sizable ? HTLEFT : HTBORDER);
      EXPECT_EQ(w.HitTest(W - side, H / 2), sizable ? HTRIGHT : HTBORDER);
      EXPECT_EQ(w.HitTest(W / 2, H - 1), sizable ? HTBOTTOM : HTBORDER);
      EXPECT_EQ(w.HitTest(W - 1, H - 1), sizable ? HTBOTTOMRIGHT : HTBORDER);
      if (sizable) {
        EXPECT_EQ(w.HitTest(0, 0), HTTOPLEFT);
      }
      // No part of the caption answers with a system caption button.
      for (int y = 0; y < kCaption; y += 3)
        for (int x = 0; x < W; ++x) {
          const LRESULT code = w.HitTest(x, y);
          ASSERT_TRUE(code != HTSYSMENU && code != HTMINBUTTON && code != HTMAXBUTTON && code != HTCLOSE &&
                      code != HTHELP)
              << "at " << x << "," << y << ": " << code;
        }
    }
  }
}

TEST(CaptionButtons, ClicksRunTheirActionsOnlyWhenReleasedOnTheSameButton) {
  TButtonWorld world;
  TSkinData* data = world.Data.get();
  {
    TButtonWindow w(*data);
    ASSERT_NE(w.Form, nullptr);
    // Maximise, then the restore button in its place restores.
    w.Click(w.ButtonCentre(kMaxX));
    EXPECT_TRUE(IsZoomed(w.Handle()));
    w.Click(w.ButtonCentre(kMaxX));
    EXPECT_FALSE(IsZoomed(w.Handle()));
    // Pressed on close, slid to maximise, released there: nothing happens.
    w.Press(w.ButtonCentre(kCloseX));
    w.MoveCaptured(w.ButtonCentre(kMaxX));
    w.Release(w.ButtonCentre(kMaxX));
    EXPECT_TRUE(IsWindow(w.Handle()));
    EXPECT_FALSE(IsZoomed(w.Handle()));
    EXPECT_NE(GetCapture(), w.Handle());
    // A custom button tells the window once.
    w.Window.Seen.clear();
    w.Click(w.CustomCentre());
    EXPECT_EQ(w.Window.Count(WM_SKIN_CUSTOMBUTTON), 1);
    // Minimise.
    w.Click(w.ButtonCentre(kMinX));
    EXPECT_TRUE(IsIconic(w.Handle()));
    ShowWindow(w.Handle(), SW_RESTORE);
    Pump();
    w.Activate();
    // Close: the window is closed the system's way.
    w.Window.Seen.clear();
    const HWND handle = w.Handle();
    w.Click(w.ButtonCentre(kCloseX));
    EXPECT_FALSE(IsWindow(handle));
  }
  {
    // Without a maximise box the maximise button does nothing.
    TButtonWindow w(*data, WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX);
    w.Click(w.ButtonCentre(kMaxX));
    EXPECT_FALSE(IsZoomed(w.Handle()));
  }
}

TEST(CaptionButtons, StatesInPixels) {
  TButtonWorld world;
  TSkinData* data = world.Data.get();
  TButtonWindow w(*data);
  ASSERT_NE(w.Form, nullptr);
  const POINT close = w.ButtonCentre(kCloseX);
  EXPECT_EQ(w.Pixel(close), kClose[0]);
  SendMessageW(w.Handle(), WM_NCMOUSEMOVE, HTCAPTION, w.Screen(close.x, close.y));
  EXPECT_EQ(w.Pixel(close), kClose[2]);  // hot
  SendMessageW(w.Handle(), WM_NCLBUTTONDOWN, HTCAPTION, w.Screen(close.x, close.y));
  EXPECT_EQ(w.Pixel(close), kClose[1]);  // pressed
  // Released elsewhere: no action, and once the cursor is away and the timer ran, normal again.
  const POINT away{w.W() / 2, w.H() / 2};
  SendMessageW(w.Handle(), WM_LBUTTONUP, 0, w.Client(away));
  Pump(350);
  EXPECT_TRUE(IsWindow(w.Handle()));
  EXPECT_EQ(w.Pixel(close), kClose[0]);
  EXPECT_EQ(w.Form->FHot, nullptr);

  // A skin refresh while a button is hot, then the mouse moves on: the freed button is not used.
  SendMessageW(w.Handle(), WM_NCMOUSEMOVE, HTCAPTION, w.Screen(close.x, close.y));
  ASSERT_NE(w.Form->FHot, nullptr);
  w.Form->FreeSysButtons();
  EXPECT_EQ(w.Form->FHot, nullptr);
  w.Form->CreateSysButtons();
  w.Form->PaintFrame(nullptr);
  const POINT max = w.ButtonCentre(kMaxX);
  SendMessageW(w.Handle(), WM_NCMOUSEMOVE, HTCAPTION, w.Screen(max.x, max.y));
  EXPECT_EQ(w.Pixel(max), kMax[2]);

  // Inactive: frame 4.
  TWindow other(L"另一个");
  SetForegroundWindow(other.Handle);
  SetActiveWindow(other.Handle);
  Pump(30);
  EXPECT_EQ(w.Pixel(close), kClose[3]);
}

namespace {

// What a timer saw while a menu of the form was open; the menu is then closed. A watchdog closes
// any menu left open.
struct TMenuProbe {
  static inline TWinSkinForm* Form = nullptr;
  static inline bool Tracking = false;
  static inline int OpenButton = -2;
  static inline int PopupHeight = 0;
  static inline int DarkPixels = 0;  // text drawn in the open popup
  static void CALLBACK Look(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Tracking = Form && Form->FTracking;
    OpenButton = MenuTracking.OpenButtonIndex;
    PopupHeight = 0;
    if (HWND popup = FindWindowW(L"#32768", nullptr)) {
      RECT r{};
      GetWindowRect(popup, &r);
      PopupHeight = r.bottom - r.top;
      DarkPixels = 0;
      HDC dc = GetWindowDC(popup);
      for (int y = 4; y < PopupHeight - 4; ++y)
        for (int x = 4; x < r.right - r.left - 4; ++x) {
          const COLORREF c = GetPixel(dc, x, y);
          DarkPixels += GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
        }
      ReleaseDC(popup, dc);
    }
    EndMenu();
  }
  static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }
  explicit TMenuProbe(TWinSkinForm* form) {
    Form = form;
    Tracking = false;
    OpenButton = -2;
    SetTimer(nullptr, 0, 150, &Look);
    FWatchdog = SetTimer(nullptr, 0, 3000, &Watchdog);
  }
  ~TMenuProbe() { KillTimer(nullptr, FWatchdog); }
  UINT_PTR FWatchdog;
};

}  // namespace

TEST(CaptionButtons, SystemMenuItemsFollowTheWindowsState) {
  TButtonWorld world;
  TSkinData* data = world.Data.get();
  TButtonWindow w(*data);
  ASSERT_NE(w.Form, nullptr);
  w.Form->BuildSysMenu();
  ASSERT_NE(w.Form->FSysMenu, nullptr);
  fw::TPopupMenu& menu = *w.Form->FSysMenu;
  EXPECT_EQ(menu.Tag, 33333);
  fw::TMenuItem* restore = nullptr;
  fw::TMenuItem* maximize = nullptr;
  for (int i = 0; i < menu.Items()->Count(); ++i) {
    fw::TMenuItem* item = menu.Items()->Items(i);
    if ((item->Tag & 0xFFF0) == SC_RESTORE) restore = item;
    if ((item->Tag & 0xFFF0) == SC_MAXIMIZE) maximize = item;
  }
  ASSERT_NE(restore, nullptr);
  ASSERT_NE(maximize, nullptr);
  EXPECT_FALSE(restore->Enabled());
  EXPECT_TRUE(maximize->Enabled());
  EXPECT_EQ(maximize->ImageIndex(), 1);
  // Its items are measured and drawn by the skin's painters.
  EXPECT_TRUE(maximize->OnDrawItem == fw::TMenuDrawItemEvent::Of<&TWinSkinForm::DrawMenuItem>(w.Form));
  EXPECT_TRUE(maximize->OnMeasureItem == fw::TMenuMeasureItemEvent::Of<&TWinSkinForm::MeasurePopupItem>(w.Form));
  maximize->Click();
  Pump();
  EXPECT_TRUE(IsZoomed(w.Handle()));

  // A right click on the caption opens it; it stays open until it is closed.
  ShowWindow(w.Handle(), SW_RESTORE);
  Pump();
  w.Activate();
  {
    TMenuProbe probe(w.Form);
    SendMessageW(w.Handle(), WM_NCRBUTTONDOWN, HTCAPTION, w.Screen(w.W() / 2, kCaption / 2));
    EXPECT_TRUE(TMenuProbe::Tracking);
    // Its items carry the skin's glyphs and are measured and drawn through the window (an
    // owner-drawn item nobody draws stays blank).
    EXPECT_EQ(w.Form->FSysMenu->Images(), &data->MenuGlyphs());
    EXPECT_GT(TMenuProbe::PopupHeight, 5 * 12);
    EXPECT_GT(TMenuProbe::DarkPixels, 20);
  }
  EXPECT_FALSE(w.Form->FTracking);
}

TEST(MenuBar, TheBandShowsTheMenusItemsInTheFrame) {
  TButtonWorld world;
  TSkinData* data = world.Data.get();
  TButtonWindow w(*data, WS_OVERLAPPEDWINDOW, MakeMenu());
  ASSERT_NE(w.Form, nullptr);
  TWinSkinMenu* bar = w.Form->FMenuBar;
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenu(w.Handle()), nullptr);  // the band draws it
  ASSERT_EQ(bar->Count(), 3);
  EXPECT_EQ(bar->Button(0)->FCaption, L"&F 文件");
  EXPECT_EQ(bar->Button(1)->FCaption, L"&H 帮助");
  EXPECT_EQ(bar->Button(2)->FCaption, L"&X 退出");
  EXPECT_NE(bar->Button(0)->FSubMenu, nullptr);
  EXPECT_FALSE(bar->Button(2)->FEnabled);
  // The band's colour beside the buttons; texts in the bar's text colour, a disabled one in the
  // shadow colour.
  w.Form->PaintFrame(nullptr);
  const int bandY = kCaption + w.Form->FMenuHeight / 2;
  EXPECT_EQ(w.Pixel({kSide + 2, bandY}), kBandActive);
  const auto count = [&](const RECT& r, std::uint32_t colour) {
    int n = 0;
    HDC dc = GetWindowDC(w.Handle());
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        n += static_cast<std::uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)) == colour;
      }
    ReleaseDC(w.Handle(), dc);
    return n;
  };
  EXPECT_GT(count(bar->Button(0)->FBounds, kMenuText), 0);
  EXPECT_EQ(count(bar->Button(0)->FBounds, kShadow), 0);
  EXPECT_GT(count(bar->Button(2)->FBounds, kShadow), 0);
  EXPECT_EQ(count(bar->Button(2)->FBounds, kMenuText), 0);
  // Buttons lie in the band, one after the other.
  EXPECT_GE(bar->Button(0)->FBounds.top, kCaption);
  EXPECT_LE(bar->Button(0)->FBounds.right, bar->Button(1)->FBounds.left);
  EXPECT_EQ(bar->ButtonAt({bar->Button(1)->FBounds.left + 2, bandY}), bar->Button(1));
  // Alt+H finds its button; an unknown letter none; a disabled button is never found.
  EXPECT_EQ(w.Form->FindAccelButton(L'h'), bar->Button(1));
  EXPECT_EQ(w.Form->FindAccelButton(L'q'), nullptr);
  EXPECT_EQ(w.Form->FindAccelButton(L'x'), nullptr);

  // Off again: the window shows its own menu once more.
  const HMENU menu = bar->FMenuHandle;
  world.TakeOff(w.Form);
  EXPECT_EQ(GetMenu(w.Handle()), menu);
}


TEST(MenuBar, KeyboardOpensTheBandsMenusAndTheSystemMenu) {
  TButtonWorld world;
  TSkinData* data = world.Data.get();
  TButtonWindow w(*data, WS_OVERLAPPEDWINDOW, MakeMenu());
  ASSERT_NE(w.Form, nullptr);
  {
    // The menu key alone (Alt, F10) opens the first drop-down of the band.
    TMenuProbe probe(w.Form);
    EXPECT_EQ(SendMessageW(w.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
    EXPECT_TRUE(TMenuProbe::Tracking);
    EXPECT_EQ(TMenuProbe::OpenButton, 0);
    EXPECT_FALSE(w.Form->FTracking);
    EXPECT_EQ(MenuTracking.OpenButtonIndex, -1);
  }
  {
    // Alt+F (as the system turns it into a menu command) opens the drop-down of "&F 文件".
    TMenuProbe probe(w.Form);
    EXPECT_EQ(SendMessageW(w.Handle(), WM_SYSCOMMAND, SC_KEYMENU, L'f'), 1);
    EXPECT_EQ(TMenuProbe::OpenButton, 0);
  }
  // Alt+H: an item without a drop-down is a command of its own.
  w.Window.Seen.clear();
  EXPECT_EQ(SendMessageW(w.Handle(), WM_SYSCOMMAND, SC_KEYMENU, L'h'), 1);
  Pump();
  EXPECT_EQ(w.Window.Count(WM_COMMAND), 1);
  {
    // Alt+Space: the skinned system menu.
    TMenuProbe probe(w.Form);
    SendMessageW(w.Handle(), WM_SYSCOMMAND, SC_KEYMENU, L' ');
    EXPECT_TRUE(TMenuProbe::Tracking);
    EXPECT_EQ(TMenuProbe::OpenButton, -1);
  }
  // Alt+F4 still closes.
  const HWND handle = w.Handle();
  SendMessageW(handle, WM_SYSKEYDOWN, VK_F4, 0x20000000);
  Pump();
  EXPECT_FALSE(IsWindow(handle));
}

namespace {

// A mouse gesture given as the system's own input, step by step from a timer while the system's
// move or size loop runs: press at From, move by Delta, release.
struct TDrag {
  static inline POINT From{}, Delta{};
  static inline int Step = 0;
  static void Send(DWORD flags, POINT p) { userinput::Mouse(flags, p); }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    const POINT half{From.x + Delta.x / 2, From.y + Delta.y / 2};
    const POINT to{From.x + Delta.x, From.y + Delta.y};
    switch (Step++) {
      case 0: Send(0, half); break;
      case 1: Send(0, to); break;
      case 2: Send(0, to); break;
      default:
        Send(MOUSEEVENTF_LEFTUP, to);
        KillTimer(nullptr, id);
        break;
    }
  }
  // Runs the gesture; returns when the system's loop (if any) has ended.
  static void Run(HWND wnd, POINT from, POINT delta) {
    From = from;
    Delta = delta;
    Step = 0;
    SetForegroundWindow(wnd);
    Send(0, from);
    Pump(30);
    SetTimer(nullptr, 0, 60, &Tick);
    Send(MOUSEEVENTF_LEFTDOWN, from);
    PumpUntil([] { return Step > 3; }, 3000);
    Pump(60);
  }
};

}  // namespace

TEST(CaptionMouse, DragsMoveAndSizeTheWindowByTheDelta) {
  TButtonWorld world;
  TSkinData* data = world.Data.get();
  TButtonWindow w(*data);
  ASSERT_NE(w.Form, nullptr);
  // The caption moves the window.
  RECT before = w.Rect();
  TDrag::Run(w.Handle(), {before.left + w.W() / 2, before.top + kCaption / 2}, {40, 30});
  RECT after = w.Rect();
  EXPECT_EQ(after.left - before.left, 40);
  EXPECT_EQ(after.top - before.top, 30);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  // The bottom-right corner of the skinned border sizes it.
  before = after;
  TDrag::Run(w.Handle(), {before.right - 2, before.bottom - 2}, {30, 20});
  after = w.Rect();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ((after.right - after.left) - (before.right - before.left), 30);
  EXPECT_EQ((after.bottom - after.top) - (before.bottom - before.top), 20);
  // The bottom edge dragged far up: never less than the skinned frame, never a negative client.
  before = after;
  TDrag::Run(w.Handle(), {before.left + w.W() / 2, before.bottom - 2}, {0, -(before.bottom - before.top) - 100});
  after = w.Rect();
  RECT client{};
  GetClientRect(w.Handle(), &client);
  EXPECT_GE(client.bottom, 0);
  EXPECT_GE(after.bottom - after.top, kCaption + kBottom);
  SetCursorPos(1200, 1000);
}

namespace {

// Keys given as the system's own input from a timer while the system's keyboard move or size
// loop runs: Right twice, then Return.
struct TKeys {
  static inline int Step = 0;
  static void Key(WORD vk, bool up) { userinput::Key(vk, up); }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    switch (Step++) {
      case 0:
      case 1:
        Key(VK_RIGHT, false);
        Key(VK_RIGHT, true);
        break;
      default:
        Key(VK_RETURN, false);
        Key(VK_RETURN, true);
        KillTimer(nullptr, id);
        break;
    }
  }
  static void Run(HWND wnd, UINT command) {
    Step = 0;
    SetTimer(nullptr, 0, 80, &Tick);
    SendMessageW(wnd, WM_SYSCOMMAND, command, 0);
    PumpUntil([] { return Step > 2; }, 3000);
    Pump(60);
  }
};

}  // namespace

TEST(CaptionMouse, KeyboardMoveAndSize) {
  TButtonWorld world;
  TSkinData* data = world.Data.get();
  TButtonWindow w(*data);
  ASSERT_NE(w.Form, nullptr);
  // The system's keyboard loops: Right moves or sizes by its step, Return ends.
  const RECT before = w.Rect();
  TKeys::Run(w.Handle(), SC_MOVE);
  const RECT moved = w.Rect();
  EXPECT_GT(moved.left, before.left);
  EXPECT_EQ(moved.right - moved.left, before.right - before.left);
  TKeys::Run(w.Handle(), SC_SIZE);
  const RECT sized = w.Rect();
  EXPECT_GT(sized.right - sized.left, moved.right - moved.left);
  // The skin's frame stays around the client area.
  RECT c{};
  GetClientRect(w.Handle(), &c);
  EXPECT_EQ((sized.right - sized.left) - c.right, 2 * kSide);
  SetCursorPos(1200, 1000);
}

TEST(CaptionMouse, DoubleClicks) {
  TButtonWorld world;
  TSkinData* data = world.Data.get();
  TButtonWindow w(*data, WS_OVERLAPPEDWINDOW, MakeMenu());
  ASSERT_NE(w.Form, nullptr);
  const auto dblclk = [&](WPARAM code, POINT p) {
    PostMessageW(w.Handle(), WM_NCLBUTTONDBLCLK, code, w.Screen(p.x, p.y));
    Pump(60);
  };
  // On the caption: maximise, then restore.
  dblclk(HTCAPTION, {w.W() / 2, kCaption / 2});
  EXPECT_TRUE(IsZoomed(w.Handle()));
  dblclk(HTCAPTION, {w.W() / 2, kCaption / 2});
  EXPECT_FALSE(IsZoomed(w.Handle()));
  // On a border or the menu band: nothing.
  const RECT before = w.Rect();
  dblclk(HTBOTTOM, {w.W() / 2, w.H() - 2});
  dblclk(HTMENU, {w.W() - 30, kCaption + w.Form->FMenuHeight / 2});
  EXPECT_FALSE(IsZoomed(w.Handle()));
  const RECT after = w.Rect();
  EXPECT_TRUE(EqualRect(&before, &after));
  // A fast second click on a button is a press: released on it, the button acts.
  const POINT max = w.ButtonCentre(kMaxX);
  w.Click(max);
  ASSERT_TRUE(IsZoomed(w.Handle()));
  dblclk(HTCAPTION, max);
  w.Release(max);
  EXPECT_FALSE(IsZoomed(w.Handle()));
}

TEST(CaptionButtons, CloseOnAFrameworkFormAsksItFirst) {
  TButtonWorld world;
  struct TAsk {
    int Asked = 0;
    bool Allow = false;
    void CloseQuery(fw::TObject*, bool& canClose) {
      ++Asked;
      canClose = Allow;
    }
  } ask;
  fw::TForm form(nullptr);
  form.SetBounds(80, 80, 360, 240);
  form.OnCloseQuery = fw::TCloseQueryEvent::Of<&TAsk::CloseQuery>(&ask);
  form.Show();
  ASSERT_TRUE(SkinManager->SkinWindow(form.Handle()));
  Pump();
  SetForegroundWindow(form.Handle());
  Pump(30);
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  const POINT close{(r.right - r.left) - kCloseX + kButton / 2, 5 + kButton / 2};
  const auto click = [&] { ClickFrame(form.Handle(), close); };
  click();
  EXPECT_EQ(ask.Asked, 1);
  EXPECT_TRUE(IsWindowVisible(form.Handle()));  // refused
  ask.Allow = true;
  click();
  EXPECT_EQ(ask.Asked, 2);
  EXPECT_FALSE(IsWindowVisible(form.Handle()));  // closed (a form that is not the main one hides)
}

TEST(CaptionButtons, ShownWhileTheWindowSaysSo) {
  TSkinnedWorld world;
  TestSkin skin = ButtonSkin(kSide);
  skin.Ini += "[BUTTON.ASKED]\nAction=51\nAlign=0\nXcoord=70\nYcoord=5\nVisibility=1500\nButtonImage=custom.bmp\nframe=4\n";
  auto data = std::make_unique<TSkinData>(nullptr);
  ASSERT_TRUE(LoadTestSkin(*data, skin));
  EnsureSkinManager().AddSkinData(data.get());
  SkinManager->FMainSkinData = data.get();
  // A framework form that answers the question through its WindowProc.
  struct TAnswer {
    fw::TWndMethod Previous;
    LRESULT Answer = 0;
    WPARAM Asked = 0;
    LPARAM Action = 0;
    void Proc(fw::TMessage& m) {
      if (m.Msg == WM_SKIN_BUTTONVISIBLE) {
        Asked = m.WParam;
        Action = m.LParam;
        m.Result = Answer;
        return;
      }
      Previous(m);
    }
  } answer;
  fw::TForm form(nullptr);
  form.SetBounds(80, 80, 360, 240);
  form.HandleNeeded();
  answer.Previous = form.WindowProc;
  form.WindowProc = fw::TWndMethod::Of<&TAnswer::Proc>(&answer);
  form.Show();
  ASSERT_TRUE(SkinManager->SkinWindow(form.Handle()));
  Pump();
  TWinSkinForm* f = SkinManager->FindSkinForm(form.Handle());
  ASSERT_NE(f, nullptr);
  const auto asked = [&]() -> const TWinSysButton* {
    for (const auto& b : f->SysButtons())
      if (b->FElement->Action == 51) return b.get();
    return nullptr;
  };
  ASSERT_NE(asked(), nullptr);
  f->PaintFrame(nullptr);
  EXPECT_FALSE(asked()->FVisible);
  EXPECT_EQ(answer.Asked, 1500u);
  EXPECT_EQ(answer.Action, 51);
  answer.Answer = 1;
  f->PaintFrame(nullptr);
  EXPECT_TRUE(asked()->FVisible);
  // Its click tells the window its Action.
  form.WindowProc = answer.Previous;
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  const POINT p{70 + kButton / 2, 5 + kButton / 2};
  MSG msg;
  while (PeekMessageW(&msg, form.Handle(), WM_SKIN_CUSTOMBUTTON, WM_SKIN_CUSTOMBUTTON, PM_REMOVE)) {
  }
  SendMessageW(form.Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + p.x, r.top + p.y));
  POINT c{r.left + p.x, r.top + p.y};
  ScreenToClient(form.Handle(), &c);
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<short>(c.x), static_cast<short>(c.y)));
  ASSERT_TRUE(PeekMessageW(&msg, form.Handle(), WM_SKIN_CUSTOMBUTTON, WM_SKIN_CUSTOMBUTTON, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 51u);
}

namespace {

// The open drop-down as the screen shows it: an item's colour near its right end, for items 0..2.
struct TDropDownProbe {
  static inline HMENU Menu = nullptr;
  static inline std::uint32_t Colours[3] = {};
  static inline bool Seen = false;
  static void CALLBACK Look(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND popup = FindWindowW(L"#32768", nullptr);
    Seen = popup != nullptr;
    if (popup) {
      RECT wr{};
      GetWindowRect(popup, &wr);
      HDC dc = GetWindowDC(popup);
      for (int i = 0; i < 3; ++i) {
        RECT r{};
        if (!GetMenuItemRect(nullptr, Menu, static_cast<UINT>(i), &r)) continue;
        const COLORREF c = GetPixel(dc, r.right - 4 - wr.left, r.bottom - 2 - wr.top);
        Colours[i] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      }
      ReleaseDC(popup, dc);
    }
    EndMenu();
  }
};

}  // namespace

TEST(MenuBar, DropDownItemsAreDrawnFromTheSkinWhileOpen) {
  TSkinnedWorld world;
  // Menu items: normal, separator, (unused), selected, (unused).
  const std::vector<std::uint32_t> frames{0x30A0F0, 0x20F020, 0x808080, 0xF08030, 0x404040};
  TestSkin skin = ButtonSkin(kSide);
  skin.Strip("menuitem.bmp", 12, 12, frames);
  skin.Ini += "[MenuItem]\nImage=menuitem.bmp\nFrame=5\nLeftWidth=3\nTopHeight=3\nRightWidth=3\nBottomHeight=3\n"
              "Tile=0\nTrans=0\n";
  auto data = std::make_unique<TSkinData>(nullptr);
  ASSERT_TRUE(LoadTestSkin(*data, skin));
  EnsureSkinManager().AddSkinData(data.get());
  SkinManager->FMainSkinData = data.get();
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 201, L"&O 打开");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, 202, L"&S 保存");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&F 文件");
  TButtonWindow w(*data, WS_OVERLAPPEDWINDOW, bar);
  ASSERT_NE(w.Form, nullptr);
  ASSERT_NE(w.Form->FMenuBar, nullptr);
  w.Activate();

  TDropDownProbe::Menu = file;
  TDropDownProbe::Seen = false;
  SetTimer(nullptr, 0, 200, &TDropDownProbe::Look);
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 3000, &TMenuProbe::Watchdog);
  EXPECT_EQ(SendMessageW(w.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
  KillTimer(nullptr, watchdog);
  ASSERT_TRUE(TDropDownProbe::Seen);
  EXPECT_EQ(TDropDownProbe::Colours[0], frames[3]);  // the first item is selected on opening
  EXPECT_EQ(TDropDownProbe::Colours[1], frames[1]);  // the separator
  EXPECT_EQ(TDropDownProbe::Colours[2], frames[0]);
  // Closed: the items draw themselves again, their texts kept.
  for (int i = 0; i < 3; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(file, static_cast<UINT>(i), TRUE, &info));
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW) << i;
  }
  wchar_t text[32] = {};
  GetMenuStringW(file, 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&O 打开");
}

namespace {

// Clicks with the system's own input from a timer: on the band's first button (which opens its
// drop-down), again on it while it is open, then a look whether anything opened again.
struct TToggleScript {
  static inline POINT Button{};
  static inline int Step = 0;
  static inline bool OpenAfterFirst = false, OpenAtEnd = true;
  static bool PopupShown() {
    HWND popup = FindWindowW(L"#32768", nullptr);
    return popup && IsWindowVisible(popup);
  }
  static void Click() {
    TDrag::Send(0, Button);
    TDrag::Send(MOUSEEVENTF_LEFTDOWN, Button);
    TDrag::Send(MOUSEEVENTF_LEFTUP, Button);
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    switch (Step++) {
      case 0: Click(); break;
      case 1:
        OpenAfterFirst = PopupShown();
        Click();
        break;
      case 3:
        OpenAtEnd = PopupShown();
        KillTimer(nullptr, id);
        if (OpenAtEnd) EndMenu();
        break;
      default: break;
    }
  }
};

}  // namespace

TEST(MenuBar, AClickOnTheOpenButtonClosesItsDropDownForGood) {
  TButtonWorld world;
  TSkinData* data = world.Data.get();
  TButtonWindow w(*data, WS_OVERLAPPEDWINDOW, MakeMenu());
  ASSERT_NE(w.Form, nullptr);
  ASSERT_NE(w.Form->FMenuBar, nullptr);
  const RECT b = w.Form->FMenuBar->Button(0)->FBounds;
  const RECT r = w.Rect();
  TToggleScript::Button = {r.left + (b.left + b.right) / 2, r.top + (b.top + b.bottom) / 2};
  TToggleScript::Step = 0;
  TToggleScript::OpenAfterFirst = false;
  TToggleScript::OpenAtEnd = true;
  w.Window.Seen.clear();
  SetTimer(nullptr, 0, 200, &TToggleScript::Tick);
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 4000, &TMenuProbe::Watchdog);
  PumpUntil([] { return TToggleScript::Step > 3; }, 5000);
  KillTimer(nullptr, watchdog);
  Pump(60);
  EXPECT_TRUE(TToggleScript::OpenAfterFirst);
  EXPECT_FALSE(TToggleScript::OpenAtEnd);
  EXPECT_FALSE(w.Form->FTracking);
  SetCursorPos(1200, 1000);
}

TEST(MenuItems, TheFormsPopupMenusDrawFromTheSkinAndGetTheirOwnDrawingBack) {
  TSkinnedWorld world;
  const std::vector<std::uint32_t> frames{0x30A0F0, 0x20F020, 0x808080, 0xF08030, 0x404040};
  TestSkin skin = ButtonSkin(kSide);
  skin.Strip("menuitem.bmp", 12, 12, frames);
  skin.Ini += "[MenuItem]\nImage=menuitem.bmp\nFrame=5\nLeftWidth=3\nTopHeight=3\nRightWidth=3\nBottomHeight=3\n"
              "Tile=0\nTrans=0\n";
  auto data = std::make_unique<TSkinData>(nullptr);
  ASSERT_TRUE(LoadTestSkin(*data, skin));
  data->SkinControls |= SetOf(xcPopupMenu);
  EnsureSkinManager().AddSkinData(data.get());
  SkinManager->FMainSkinData = data.get();

  fw::TForm form(nullptr);
  form.SetBounds(80, 80, 360, 240);
  auto* popup = new fw::TPopupMenu(&form);
  for (const wchar_t* caption : {L"&A 甲", L"-", L"&B 乙"}) {
    auto* item = new fw::TMenuItem(popup);
    item->SetCaption(caption);
    popup->Items()->Add(item);
  }
  // An item with a measure of its own keeps it.
  struct TOwn {
    void Measure(fw::TObject*, fw::TCanvas&, int&, int&) {}
  } own;
  const auto ownMeasure = fw::TMenuMeasureItemEvent::Of<&TOwn::Measure>(&own);
  popup->Items()->Items(2)->OnMeasureItem = ownMeasure;
  form.Show();
  ASSERT_TRUE(SkinManager->SkinWindow(form.Handle()));
  Pump();
  TWinSkinForm* f = SkinManager->FindSkinForm(form.Handle());
  ASSERT_NE(f, nullptr);
  fw::TMenuItem* first = popup->Items()->Items(0);
  EXPECT_TRUE(popup->OwnerDraw());
  EXPECT_TRUE(first->OnDrawItem == fw::TMenuDrawItemEvent::Of<&TWinSkinForm::DrawMenuItem>(f));
  EXPECT_TRUE(first->OnMeasureItem == fw::TMenuMeasureItemEvent::Of<&TWinSkinForm::MeasurePopupItem>(f));
  EXPECT_TRUE(popup->Items()->Items(2)->OnMeasureItem == ownMeasure);

  SetForegroundWindow(form.Handle());
  Pump(30);
  TDropDownProbe::Menu = popup->Handle();
  TDropDownProbe::Seen = false;
  SetTimer(nullptr, 0, 200, &TDropDownProbe::Look);
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 3000, &TMenuProbe::Watchdog);
  popup->Popup(300, 300, form.Handle());
  KillTimer(nullptr, watchdog);
  ASSERT_TRUE(TDropDownProbe::Seen);
  EXPECT_EQ(TDropDownProbe::Colours[0], frames[0]);
  EXPECT_EQ(TDropDownProbe::Colours[1], frames[1]);  // the separator from frame 2
  EXPECT_EQ(TDropDownProbe::Colours[2], frames[0]);

  // Off: the skin's painters are gone, the item's own measure stays, the texts too.
  world.TakeOff(f);
  EXPECT_FALSE(popup->OwnerDraw());
  EXPECT_FALSE(first->OnDrawItem);
  EXPECT_FALSE(first->OnMeasureItem);
  EXPECT_TRUE(popup->Items()->Items(2)->OnMeasureItem == ownMeasure);
  wchar_t text[32] = {};
  GetMenuStringW(popup->Handle(), 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&A 甲");
}

namespace {

// With the system's own input from a timer: a click on the band's first button, then the mouse
// onto the second while the first's drop-down is open; then a look at what is open.
struct TSwitchScript {
  static inline POINT First{}, Second{};
  static inline int Step = 0;
  static inline int Visible = -1, Open = -2;
  static BOOL CALLBACK Count(HWND h, LPARAM p) {
    wchar_t name[16] = {};
    GetClassNameW(h, name, 16);
    if (lstrcmpW(name, L"#32768") == 0 && IsWindowVisible(h)) ++*reinterpret_cast<int*>(p);
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    switch (Step++) {
      case 0:
        TDrag::Send(0, First);
        TDrag::Send(MOUSEEVENTF_LEFTDOWN, First);
        TDrag::Send(MOUSEEVENTF_LEFTUP, First);
        break;
      case 1: TDrag::Send(0, {(First.x + Second.x) / 2, Second.y}); break;
      case 2: TDrag::Send(0, Second); break;
      case 4: {
        int n = 0;
        EnumThreadWindows(GetCurrentThreadId(), &Count, reinterpret_cast<LPARAM>(&n));
        Visible = n;
        Open = MenuTracking.OpenButtonIndex;
        KillTimer(nullptr, id);
        EndMenu();
        break;
      }
      default: break;
    }
  }
};

}  // namespace

TEST(MenuBar, MovingTheMouseOntoAnotherButtonSwitchesTheDropDown) {
  TButtonWorld world;
  TButtonWindow w(*world.Data, WS_OVERLAPPEDWINDOW, TwoDropDowns());
  ASSERT_NE(w.Form, nullptr);
  ASSERT_NE(w.Form->FMenuBar, nullptr);
  w.Activate();
  const RECT r = w.Rect();
  const RECT a = w.Form->FMenuBar->Button(0)->FBounds, b = w.Form->FMenuBar->Button(1)->FBounds;
  TSwitchScript::First = {r.left + (a.left + a.right) / 2, r.top + (a.top + a.bottom) / 2};
  TSwitchScript::Second = {r.left + (b.left + b.right) / 2, r.top + (b.top + b.bottom) / 2};
  TSwitchScript::Step = 0;
  TSwitchScript::Visible = -1;
  TSwitchScript::Open = -2;
  SetTimer(nullptr, 0, 200, &TSwitchScript::Tick);
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 5000, &TMenuProbe::Watchdog);
  PumpUntil([] { return TSwitchScript::Step > 4; }, 6000);
  KillTimer(nullptr, watchdog);
  Pump(100);
  EXPECT_EQ(TSwitchScript::Visible, 1);  // the second's drop-down alone
  EXPECT_EQ(TSwitchScript::Open, 1);
  EXPECT_FALSE(w.Form->FTracking);
  EXPECT_EQ(MenuTracking.FilterHook, nullptr);
  SetCursorPos(1200, 1000);
}

namespace {

// Arrow keys as the system's own input while a drop-down of the band is open: Right, then a look
// at which button's drop-down is open, Left, another look.
struct TArrowScript {
  static inline int Step = 0;
  static inline int AfterRight = -2, AfterLeft = -2, VisibleAfterLeft = -1;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    switch (Step++) {
      case 0:
        TKeys::Key(VK_RIGHT, false);
        TKeys::Key(VK_RIGHT, true);
        break;
      case 2:
        AfterRight = MenuTracking.OpenButtonIndex;
        TKeys::Key(VK_LEFT, false);
        TKeys::Key(VK_LEFT, true);
        break;
      case 4: {
        AfterLeft = MenuTracking.OpenButtonIndex;
        int n = 0;
        EnumThreadWindows(GetCurrentThreadId(), &TSwitchScript::Count, reinterpret_cast<LPARAM>(&n));
        VisibleAfterLeft = n;
        KillTimer(nullptr, id);
        EndMenu();
        break;
      }
      default: break;
    }
  }
};

}  // namespace

TEST(MenuBar, RightAndLeftMoveBetweenTheBandsDropDowns) {
  TButtonWorld world;
  TButtonWindow w(*world.Data, WS_OVERLAPPEDWINDOW, TwoDropDowns());
  ASSERT_NE(w.Form, nullptr);
  w.Activate();
  TArrowScript::Step = 0;
  TArrowScript::AfterRight = TArrowScript::AfterLeft = -2;
  TArrowScript::VisibleAfterLeft = -1;
  SetTimer(nullptr, 0, 200, &TArrowScript::Tick);
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 5000, &TMenuProbe::Watchdog);
  SendMessageW(w.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);  // the first drop-down
  PumpUntil([] { return TArrowScript::Step > 4; }, 6000);
  KillTimer(nullptr, watchdog);
  Pump(100);
  EXPECT_EQ(TArrowScript::AfterRight, 1);
  EXPECT_EQ(TArrowScript::AfterLeft, 0);
  EXPECT_EQ(TArrowScript::VisibleAfterLeft, 1);
  EXPECT_FALSE(w.Form->FTracking);
}
