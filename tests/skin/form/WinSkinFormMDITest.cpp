// The MDI paths of the form skin on raw Win32 MDI windows: a frame whose procedure calls
// DefFrameProcW around an "MDICLIENT" child, and children running DefMDIChildProcW. The frame
// and its client, children skinned as the hook sees them created, the maximised mode the
// children share, texts, taking the skins off, and windows destroyed while skinned.
#include <gtest/gtest.h>

#include "FormSkinFixture.h"
#include "skin/manager/WinSkinMenu.h"

using namespace skin;
using namespace formtest;

namespace {

constexpr wchar_t kChildClass[] = L"SkinMDIChildW";
constexpr DWORD kChildStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

LRESULT CALLBACK ChildProc(HWND h, UINT m, WPARAM wp, LPARAM lp) { return DefMDIChildProcW(h, m, wp, lp); }

// An MDI frame of either flavour; its MDI client is made in the same flavour.
class TMDIFrame {
public:
  explicit TMDIFrame(const std::wstring& title, bool unicode = true) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (unicode) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &FrameProcW;
      wc.hInstance = instance;
      wc.lpszClassName = L"SkinMDIFrameW";
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      RegisterClassW(&wc);
      WNDCLASSW child{};
      child.lpfnWndProc = &ChildProc;
      child.hInstance = instance;
      child.lpszClassName = kChildClass;
      child.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      RegisterClassW(&child);
      Handle = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                               640, 480, nullptr, nullptr, instance, nullptr);
    } else {
      WNDCLASSA wc{};
      wc.lpfnWndProc = &FrameProcA;
      wc.hInstance = instance;
      wc.lpszClassName = "SkinMDIFrameA";
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      RegisterClassA(&wc);
      const std::string a(title.begin(), title.end());  // plain letters in an ANSI window
      Handle = CreateWindowExA(0, wc.lpszClassName, a.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 640,
                               480, nullptr, nullptr, instance, nullptr);
    }
    Client = reinterpret_cast<HWND>(GetWindowLongPtrW(Handle, GWLP_USERDATA));
    ShowWindow(Handle, SW_SHOWNOACTIVATE);
    Pump(20);
  }
  ~TMDIFrame() {
    if (IsWindow(Handle)) DestroyWindow(Handle);
  }
  TMDIFrame(const TMDIFrame&) = delete;
  TMDIFrame& operator=(const TMDIFrame&) = delete;

  // A child made by the client's WM_MDICREATE, or by CreateMDIWindowW.
  HWND NewChild(const std::wstring& title, bool byMessage = true, DWORD style = kChildStyle, int x = 20, int y = 20,
                int width = 260, int height = 180) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!byMessage)
      return CreateMDIWindowW(kChildClass, title.c_str(), style, x, y, width, height, Client, instance, 0);
    MDICREATESTRUCTW create{kChildClass, title.c_str(), instance, x, y, width, height, style, 0};
    return reinterpret_cast<HWND>(SendMessageW(Client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
  }
  HWND Active(BOOL* maximized = nullptr) const {
    return reinterpret_cast<HWND>(SendMessageW(Client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
  }

  HWND Handle = nullptr;
  HWND Client = nullptr;

private:
  static LRESULT CALLBACK FrameProcW(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    auto client = reinterpret_cast<HWND>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (m == WM_CREATE) {
      CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
      client = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                               WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, h,
                               reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), &ccs);
      SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(client));
      return client ? 0 : -1;
    }
    return DefFrameProcW(h, client, m, wp, lp);
  }
  static LRESULT CALLBACK FrameProcA(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    auto client = reinterpret_cast<HWND>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (m == WM_CREATE) {
      CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
      client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                               WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, h,
                               reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), &ccs);
      SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(client));
      return client ? 0 : -1;
    }
    return DefFrameProcA(h, client, m, wp, lp);
  }
};

std::wstring TextOf(HWND wnd) {
  wchar_t buf[512] = {};
  GetWindowTextW(wnd, buf, 512);
  return buf;
}

// Window size minus client size.
SIZE FrameOf(HWND wnd) {
  RECT c{}, r{};
  GetClientRect(wnd, &c);
  GetWindowRect(wnd, &r);
  return {(r.right - r.left) - c.right, (r.bottom - r.top) - c.bottom};
}

bool HasRegion(HWND wnd) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const bool has = GetWindowRgn(wnd, region) != ERROR;
  DeleteObject(region);
  return has;
}

// What a window looked like before it was skinned.
struct TSnapshot {
  explicit TSnapshot(HWND wnd) : Proc(GetWindowLongPtrW(wnd, GWLP_WNDPROC)), Unicode(IsWindowUnicode(wnd) != 0) {
    GetWindowRect(wnd, &Window);
    GetClientRect(wnd, &Client);
  }
  void ExpectSame(HWND wnd) const {
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), Proc);
    EXPECT_EQ(IsWindowUnicode(wnd) != 0, Unicode);
    RECT w{}, c{};
    GetWindowRect(wnd, &w);
    GetClientRect(wnd, &c);
    EXPECT_TRUE(EqualRect(&w, &Window)) << w.left << "," << w.top << "," << w.right << "," << w.bottom;
    EXPECT_TRUE(EqualRect(&c, &Client)) << c.right << "x" << c.bottom;
  }
  LONG_PTR Proc;
  bool Unicode;
  RECT Window{}, Client{};
};

void UnskinAll(TSkinData* data) {
  SkinManager->FPendingSkinData = data;
  SkinManager->RequestAction(saUnskin, 10);
  ASSERT_TRUE(PumpUntil([] { return SkinManager->Forms().empty(); }));
}

}  // namespace

TEST(MDIFormSkin, FrameAndClientInTheirOwnFlavour) {
  for (bool unicode : {true, false}) {
    SCOPED_TRACE(unicode ? "Unicode frame" : "ANSI frame");
    TSkinnedWorld world;
    TMDIFrame frame(unicode ? L"多文档框架" : L"MDI frame", unicode);
    ASSERT_TRUE(IsWindow(frame.Client));
    ASSERT_EQ(IsWindowUnicode(frame.Client) != 0, unicode);
    const TSnapshot before(frame.Handle), clientBefore(frame.Client);
    const std::wstring title = TextOf(frame.Handle);

    ASSERT_TRUE(SkinManager->SkinWindow(frame.Handle));
    TWinSkinForm* f = SkinManager->FindSkinForm(frame.Handle);
    EXPECT_EQ(f->FMDIRole, mrFrame);
    EXPECT_EQ(f->FClientWnd, frame.Client);
    EXPECT_EQ(SkinManager->FMDIClient, frame.Client);
    EXPECT_NE(GetWindowLongPtrW(frame.Client, GWLP_WNDPROC), clientBefore.Proc);  // the client is taken over
    EXPECT_EQ(IsWindowUnicode(frame.Client) != 0, unicode);
    EXPECT_EQ(IsWindowUnicode(frame.Handle) != 0, unicode);
    Pump();
    ASSERT_EQ(f->FState, fsRunning);
    EXPECT_EQ(FrameOf(frame.Handle).cx, 2 * kSide);
    EXPECT_EQ(FrameOf(frame.Handle).cy, kCaption + kBottom);
    // The client still fills the frame's client area, and loses its scroll bars to the skin.
    RECT inner{}, client{};
    GetClientRect(frame.Handle, &inner);
    GetWindowRect(frame.Client, &client);
    EXPECT_EQ(client.right - client.left, inner.right);
    EXPECT_EQ(client.bottom - client.top, inner.bottom);
    SetWindowPos(frame.Client, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(GetWindowLongW(frame.Client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
    EXPECT_EQ(TextOf(frame.Handle), title);

    UnskinAll(world.Data.get());
    before.ExpectSame(frame.Handle);
    EXPECT_EQ(GetWindowLongPtrW(frame.Client, GWLP_WNDPROC), clientBefore.Proc);
    EXPECT_EQ(IsWindowUnicode(frame.Client) != 0, unicode);
    EXPECT_EQ(TextOf(frame.Handle), title);
    EXPECT_EQ(SendMessageW(frame.Handle, WM_SKIN_QUERY, 0, 0), 0);
  }
}

TEST(MDIFormSkin, ChildrenAreSkinnedAsTheyAreCreated) {
  TSkinnedWorld world;
  SkinManager->InstallHook();
  TMDIFrame frame(L"框架");
  ASSERT_TRUE(SkinManager->SkinWindow(frame.Handle));
  Pump();

  // A child made while skinning is off keeps the system frame: the reference for the others.
  SkinManager->FEnabled = false;
  const HWND plain = frame.NewChild(L"未换肤的子窗口");
  SkinManager->FEnabled = true;
  ASSERT_TRUE(IsWindow(plain));
  EXPECT_EQ(SkinManager->FindSkinForm(plain), nullptr);
  RECT plainClient{};
  GetClientRect(plain, &plainClient);

  for (bool byMessage : {true, false}) {
    SCOPED_TRACE(byMessage ? "WM_MDICREATE" : "CreateMDIWindowW");
    const std::wstring title = byMessage ? L"子窗口一" : L"子窗口二";
    const HWND child = frame.NewChild(title, byMessage);
    ASSERT_TRUE(IsWindow(child));
    TWinSkinForm* f = SkinManager->FindSkinForm(child);
    ASSERT_NE(f, nullptr);  // already while it was being made
    EXPECT_EQ(f->FMDIRole, mrChild);
    EXPECT_TRUE(f->FFrameOn);
    EXPECT_TRUE(IsWindowUnicode(child));
    Pump();
    EXPECT_EQ(f->FState, fsRunning);
    // The skinned frame around the client area the system frame had.
    EXPECT_EQ(FrameOf(child).cx, 2 * kSide);
    EXPECT_EQ(FrameOf(child).cy, kCaption + kBottom + f->FMenuHeight);
    RECT c{};
    GetClientRect(child, &c);
    EXPECT_EQ(c.right, plainClient.right);
    EXPECT_EQ(c.bottom, plainClient.bottom);
    EXPECT_EQ(TextOf(child), title);
  }
  EXPECT_EQ(SkinManager->Forms().size(), 3u);
}

TEST(MDIFormSkin, MenuUpdateIsHeldWhileChildrenExist) {
  TSkinnedWorld world;
  SkinManager->InstallHook();
  world.Data->MenuUpdate = true;
  TMDIFrame frame(L"框架");
  ASSERT_TRUE(SkinManager->SkinWindow(frame.Handle));
  Pump();
  const HWND a = frame.NewChild(L"甲");
  const HWND b = frame.NewChild(L"乙");
  Pump();
  EXPECT_FALSE(world.Data->MenuUpdate);
  SendMessageW(frame.Client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_FALSE(world.Data->MenuUpdate);  // a child is still active
  SendMessageW(frame.Client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(b), 0);
  EXPECT_FALSE(IsWindow(b));
  EXPECT_TRUE(world.Data->MenuUpdate);
}

TEST(MDIFormSkin, MaximisedChildrenShareTheManagersMode) {
  TSkinnedWorld world;
  SkinManager->InstallHook();
  TMDIFrame frame(L"框架");
  ASSERT_TRUE(SkinManager->SkinWindow(frame.Handle));
  Pump();
  const std::wstring frameTitle = TextOf(frame.Handle);
  const HWND a = frame.NewChild(L"子窗口甲", true, kChildStyle, 10, 10);
  const HWND b = frame.NewChild(L"子窗口乙", true, kChildStyle, 60, 60);
  Pump();
  TWinSkinForm* fa = SkinManager->FindSkinForm(a);
  TWinSkinForm* fb = SkinManager->FindSkinForm(b);
  ASSERT_NE(fa, nullptr);
  ASSERT_NE(fb, nullptr);
  EXPECT_FALSE(SkinManager->FMDIMaximized);
  EXPECT_TRUE(HasRegion(b));

  auto expectNormal = [&](HWND child, TWinSkinForm* f) {
    EXPECT_EQ(f->FShowState, ssNormal);
    EXPECT_FALSE(IsZoomed(child));
    EXPECT_EQ(FrameOf(child).cx, 2 * kSide);
    EXPECT_EQ(FrameOf(child).cy, kCaption + kBottom + f->FMenuHeight);
    EXPECT_TRUE(HasRegion(child));
  };
  struct TWay {
    const char* what;
    std::function<void()> leave;
  };
  const std::vector<TWay> ways = {
      {"restore", [&] { SendMessageW(frame.Client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(b), 0); }},
      {"tile", [&] { SendMessageW(frame.Client, WM_MDITILE, MDITILE_VERTICAL, 0); }},
      {"cascade", [&] { SendMessageW(frame.Client, WM_MDICASCADE, 0, 0); }},
  };
  for (const TWay& way : ways) {
    SCOPED_TRACE(way.what);
    SendMessageW(frame.Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(b), 0);
    Pump();
    BOOL maximized = FALSE;
    ASSERT_EQ(frame.Active(&maximized), b);
    ASSERT_TRUE(maximized);
    EXPECT_TRUE(SkinManager->FMDIMaximized);
    EXPECT_EQ(fb->FShowState, ssMaximized);
    EXPECT_FALSE(HasRegion(b));  // a maximised child has no region of its normal size
    EXPECT_FALSE(fb->FRegionSet);
    // The frame's caption names the maximised child, in Chinese.
    EXPECT_NE(TextOf(frame.Handle).find(L"子窗口乙"), std::wstring::npos) << TextOf(frame.Handle).size();
    EXPECT_EQ(TextOf(b), L"子窗口乙");

    way.leave();
    Pump();
    EXPECT_FALSE(SkinManager->FMDIMaximized);
    expectNormal(b, fb);
    expectNormal(a, fa);
    EXPECT_EQ(TextOf(frame.Handle), frameTitle);
  }

  // A child made maximised enters the mode as it is set up.
  const HWND c = frame.NewChild(L"子窗口丙", true, kChildStyle | WS_MAXIMIZE);
  Pump();
  TWinSkinForm* fc = SkinManager->FindSkinForm(c);
  ASSERT_NE(fc, nullptr);
  EXPECT_TRUE(IsZoomed(c));
  EXPECT_TRUE(SkinManager->FMDIMaximized);
  EXPECT_EQ(fc->FShowState, ssMaximized);
  EXPECT_FALSE(HasRegion(c));
  // Every form skin knows its child's state as the system has it.
  auto expectStates = [&] {
    for (HWND child : {a, b, c}) {
      if (!IsWindow(child)) continue;
      TWinSkinForm* f = SkinManager->FindSkinForm(child);
      EXPECT_EQ(f->FShowState, IsZoomed(child) ? ssMaximized : IsIconic(child) ? ssMinimized : ssNormal);
      if (!IsZoomed(child) && !IsIconic(child)) {
        EXPECT_EQ(FrameOf(child).cy, kCaption + kBottom + f->FMenuHeight);
      }
      EXPECT_EQ(HasRegion(child), f->FShowState == ssNormal && !SkinManager->FMDIMaximized);
    }
  };
  expectStates();
  // Switching to another child keeps the children maximised, and the mode with them.
  SendMessageW(frame.Client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
  Pump();
  BOOL maximized = FALSE;
  ASSERT_EQ(frame.Active(&maximized), a);
  EXPECT_TRUE(maximized);
  EXPECT_TRUE(SkinManager->FMDIMaximized);
  EXPECT_FALSE(HasRegion(a));
  EXPECT_FALSE(IsZoomed(c));
  expectStates();
  // A child made while one is maximised: the mode follows what the system made of them.
  const HWND d = frame.NewChild(L"子窗口丁");
  Pump();
  ASSERT_EQ(frame.Active(&maximized), d);
  EXPECT_EQ(SkinManager->FMDIMaximized, maximized != FALSE);
  EXPECT_EQ(SkinManager->FindSkinForm(d)->FShowState, IsZoomed(d) ? ssMaximized : ssNormal);
  EXPECT_EQ(HasRegion(d), !maximized);
  expectStates();
  SendMessageW(frame.Client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(d), 0);
  Pump();
  expectStates();
  // The mode follows the active child as children are destroyed, and ends with the last one.
  for (HWND child : {a, b, c}) {
    SendMessageW(frame.Client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    Pump();
    maximized = FALSE;
    const HWND active = frame.Active(&maximized);
    EXPECT_EQ(SkinManager->FMDIMaximized, active && maximized);
  }
  EXPECT_EQ(frame.Active(), nullptr);
  EXPECT_FALSE(SkinManager->FMDIMaximized);
}

TEST(MDIFormSkin, ChildTitlesKeepTheirText) {
  TSkinnedWorld world;
  SkinManager->InstallHook();
  TMDIFrame frame(L"框架");
  ASSERT_TRUE(SkinManager->SkinWindow(frame.Handle));
  Pump();
  const HWND child = frame.NewChild(L"中文标题");
  Pump();
  ASSERT_NE(SkinManager->FindSkinForm(child), nullptr);
  EXPECT_EQ(TextOf(child), L"中文标题");
  SetWindowTextW(child, L"新的中文标题");
  EXPECT_EQ(TextOf(child), L"新的中文标题");
  SendMessageW(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"再换一个标题"));
  EXPECT_EQ(TextOf(child), L"再换一个标题");
  UnskinAll(world.Data.get());
  EXPECT_EQ(TextOf(child), L"再换一个标题");
  EXPECT_EQ(TextOf(frame.Handle), L"框架");
}

TEST(MDIFormSkin, TakingTheSkinsOffRestoresFrameClientAndChildren) {
  for (bool frameFirst : {true, false}) {
    SCOPED_TRACE(frameFirst ? "frame first" : "children first");
    TSkinnedWorld world;
    TMDIFrame frame(L"框架");
    const HWND a = frame.NewChild(L"甲", true, kChildStyle, 10, 10);
    const HWND b = frame.NewChild(L"乙", false, kChildStyle, 80, 60, 200, 150);
    ShowWindow(a, SW_MINIMIZE);
    Pump();
    const TSnapshot frameBefore(frame.Handle), clientBefore(frame.Client), bBefore(b);
    WINDOWPLACEMENT aBefore{};
    aBefore.length = sizeof aBefore;
    GetWindowPlacement(a, &aBefore);

    ASSERT_TRUE(SkinManager->SkinWindow(frame.Handle));
    ASSERT_TRUE(SkinManager->SkinWindow(a));  // an MDI child is offered like a top-level window
    ASSERT_TRUE(SkinManager->SkinWindow(b));
    Pump();
    for (HWND w : {frame.Handle, a, b}) EXPECT_EQ(SkinManager->FindSkinForm(w)->FState, fsRunning);
    EXPECT_EQ(FrameOf(b).cx, 2 * kSide);

    if (frameFirst) {
      UnskinAll(world.Data.get());
    } else {
      for (HWND w : {b, a, frame.Handle}) TSkinnedWorld::TakeOff(SkinManager->FindSkinForm(w));
    }
    frameBefore.ExpectSame(frame.Handle);
    clientBefore.ExpectSame(frame.Client);
    bBefore.ExpectSame(b);
    EXPECT_EQ(GetWindowLongPtrW(a, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ChildProc));
    WINDOWPLACEMENT aAfter{};
    aAfter.length = sizeof aAfter;
    GetWindowPlacement(a, &aAfter);
    EXPECT_EQ(aAfter.showCmd, aBefore.showCmd);
    EXPECT_TRUE(EqualRect(&aAfter.rcNormalPosition, &aBefore.rcNormalPosition))
        << aBefore.rcNormalPosition.left << "," << aBefore.rcNormalPosition.top << "," << aBefore.rcNormalPosition.right
        << "," << aBefore.rcNormalPosition.bottom << " -> " << aAfter.rcNormalPosition.left << ","
        << aAfter.rcNormalPosition.top << "," << aAfter.rcNormalPosition.right << "," << aAfter.rcNormalPosition.bottom;
    for (HWND w : {frame.Handle, a, b}) {
      EXPECT_FALSE(HasRegion(w));
      EXPECT_EQ(SendMessageW(w, WM_SKIN_QUERY, 0, 0), 0);
    }
  }
}

TEST(MDIFormSkin, WindowsDestroyedWhileSkinned) {
  TSkinnedWorld world;
  SkinManager->InstallHook();
  auto frame = std::make_unique<TMDIFrame>(L"框架");
  ASSERT_TRUE(SkinManager->SkinWindow(frame->Handle));
  const HWND a = frame->NewChild(L"甲");
  const HWND b = frame->NewChild(L"乙");
  const HWND c = frame->NewChild(L"丙");
  frame->NewChild(L"丁");
  Pump();
  ASSERT_EQ(SkinManager->Forms().size(), 5u);
  TWinSkinForm* fa = SkinManager->FindSkinForm(a);
  SendMessageW(frame->Client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_EQ(fa->FState, fsFinished);
  DestroyWindow(b);
  SendMessageW(frame->Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(c), 0);
  Pump();
  frame.reset();  // the frame goes with two children still in it, one of them maximised
  Pump();
  for (TWinSkinForm* f : SkinManager->Forms()) EXPECT_EQ(f->FState, fsFinished);
  // The next window offered reclaims the finished form skins.
  TWindow next(L"下一个");
  EXPECT_TRUE(SkinManager->SkinWindow(next.Handle));
  EXPECT_EQ(SkinManager->Forms().size(), 1u);
  Pump();
  TMDIFrame again(L"又一个框架");
  EXPECT_TRUE(SkinManager->SkinWindow(again.Handle));
  EXPECT_EQ(SkinManager->FMDIClient, again.Client);
  EXPECT_NE(SkinManager->FindSkinForm(again.NewChild(L"新子窗口")), nullptr);
  Pump();
}

TEST(MDIFormSkin, ChildBorderOptionKeepsTheSystemFrames) {
  TSkinnedWorld world;
  SkinManager->InstallHook();
  world.Data->Options |= SetOf(xoMDIChildBorder);
  TMDIFrame frame(L"框架");
  SkinManager->FEnabled = false;
  const HWND plain = frame.NewChild(L"参照");
  SkinManager->FEnabled = true;
  const SIZE system = FrameOf(plain);
  ASSERT_TRUE(SkinManager->SkinWindow(frame.Handle));
  const HWND child = frame.NewChild(L"系统边框");
  TWinSkinForm* f = SkinManager->FindSkinForm(child);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->FMDIRole, mrChild);
  EXPECT_FALSE(f->FFrameOn);
  EXPECT_EQ(f->FState, fsRunning);  // nothing waits for the frame
  EXPECT_TRUE(SkinManager->FindSkinForm(frame.Handle)->FFrameOn);
  Pump();
  EXPECT_EQ(FrameOf(child).cx, system.cx);
  EXPECT_EQ(FrameOf(child).cy, system.cy);
  EXPECT_FALSE(HasRegion(child));
  EXPECT_EQ(FrameOf(frame.Handle).cx, 2 * kSide);

  // Maximised and back, the child keeps the system's frame.
  SendMessageW(frame.Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  Pump();
  SendMessageW(frame.Client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
  Pump();
  EXPECT_EQ(FrameOf(child).cx, system.cx);
  EXPECT_EQ(FrameOf(child).cy, system.cy);
  EXPECT_FALSE(HasRegion(child));
  EXPECT_EQ(TextOf(child), L"系统边框");
  UnskinAll(world.Data.get());
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ChildProc));
  EXPECT_EQ(FrameOf(child).cx, system.cx);
}

// A window skinned while maximised or minimised gets, restored, the client area it had; and
// with the skin off, exactly its old restored rectangle.
TEST(MDIFormSkin, SkinnedWhileMaximisedOrMinimisedKeepsTheRestoredClient) {
  for (int show : {SW_MAXIMIZE, SW_MINIMIZE}) {
    for (bool mdi : {true, false}) {
      SCOPED_TRACE(std::string(show == SW_MAXIMIZE ? "maximised " : "minimised ") + (mdi ? "MDI child" : "top-level"));
      TSkinnedWorld world;
      TMDIFrame frame(L"框架");
      const HWND w = mdi ? frame.NewChild(L"子窗口", true, kChildStyle, 30, 30, 300, 200) : frame.Handle;
      Pump();
      const TSnapshot normal(w);
      ShowWindow(w, show);
      Pump();
      ASSERT_TRUE(SkinManager->SkinWindow(frame.Handle));
      if (mdi) {
        ASSERT_TRUE(SkinManager->SkinWindow(w));
      }
      Pump();
      TWinSkinForm* f = SkinManager->FindSkinForm(w);
      ASSERT_EQ(f->FState, fsRunning);
      if (mdi) {
        SendMessageW(frame.Client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(w), 0);
      } else {
        ShowWindow(w, SW_RESTORE);
      }
      Pump();
      RECT c{};
      GetClientRect(w, &c);
      EXPECT_EQ(c.right, normal.Client.right);
      EXPECT_EQ(c.bottom, normal.Client.bottom);
      EXPECT_EQ(FrameOf(w).cx, 2 * kSide);
      EXPECT_EQ(FrameOf(w).cy, kCaption + kBottom + f->FMenuHeight);
      // Off again in the state it was skinned in.
      ShowWindow(w, show);
      Pump();
      UnskinAll(world.Data.get());
      ShowWindow(w, SW_RESTORE);
      Pump();
      normal.ExpectSame(w);
    }
  }
}

// The manager never holds on to an MDI client or frame form that is gone.
TEST(MDIFormSkin, TheManagerForgetsAClientAndFrameThatAreGone) {
  TSkinnedWorld world;
  {
    TMDIFrame frame(L"框架");
    ASSERT_TRUE(SkinManager->SkinWindow(frame.Handle));
    Pump();
    EXPECT_EQ(SkinManager->FMDIClient, frame.Client);
  }
  EXPECT_EQ(SkinManager->FMDIClient, nullptr);

  // A framework form with an MDI client of its own is recorded as the application's MDI frame.
  auto form = std::make_unique<fw::TForm>(nullptr);
  form->SetBounds(40, 40, 400, 300);
  form->Show();
  CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
  const HWND client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, form->Handle(),
                                      nullptr, GetModuleHandleW(nullptr), &ccs);
  ASSERT_TRUE(IsWindow(client));
  ASSERT_TRUE(SkinManager->SkinWindow(form->Handle()));
  Pump();
  EXPECT_EQ(SkinManager->FMDIFrame, form.get());
  EXPECT_EQ(SkinManager->FMDIClient, client);
  form.reset();
  Pump();
  EXPECT_EQ(SkinManager->FMDIFrame, nullptr);
  EXPECT_EQ(SkinManager->FMDIClient, nullptr);
}

// A maximised child's three buttons are drawn at the right of the frame's menu band and act on
// the active child.
TEST(MDIFormSkin, MaximisedChildButtonsInTheMenuBand) {
  TSkinnedWorld world(true);
  // Minimise, restore and close, four states each, 12 x 12.
  const std::vector<std::uint32_t> colours{0xA00000, 0xA00001, 0xA00002, 0xA00003, 0x00A000, 0x00A001,
                                           0x00A002, 0x00A003, 0x0000A0, 0x0000A1, 0x0000A2, 0x0000A3};
  TestSkin s = FrameSkin();
  s.Strip("mdi.bmp", 12, 12, colours);
  s.Ini += "[MDICONTROLS]\nImage=mdi.bmp\n";
  ASSERT_TRUE(LoadTestSkin(*world.Data, s));
  SkinManager->InstallHook();
  TMDIFrame frame(L"框架");
  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, 100, L"&W 窗口");
  SetMenu(frame.Handle, menu);
  ASSERT_TRUE(SkinManager->SkinWindow(frame.Handle));
  Pump();
  TWinSkinForm* f = SkinManager->FindSkinForm(frame.Handle);
  ASSERT_NE(f, nullptr);
  ASSERT_NE(f->FMenuBar, nullptr);
  const HWND child = frame.NewChild(L"子窗口");
  SendMessageW(frame.Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  Pump();
  ASSERT_TRUE(IsZoomed(child));
  SetForegroundWindow(frame.Handle);
  Pump(30);
  f->PaintFrame(nullptr);

  // The three buttons lie in the band, right of each other, and show their first frame.
  std::vector<const TWinSysButton*> mdi;
  for (const auto& b : f->SysButtons())
    if (b->FElement->Visibility == 100) mdi.push_back(b.get());
  ASSERT_EQ(mdi.size(), 3u);
  RECT wr{};
  GetWindowRect(frame.Handle, &wr);
  HDC dc = GetWindowDC(frame.Handle);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const RECT& r = mdi[static_cast<std::size_t>(i)]->FBounds;
    EXPECT_TRUE(mdi[static_cast<std::size_t>(i)]->FVisible);
    EXPECT_GE(r.top, kCaption);
    EXPECT_LE(r.bottom, kCaption + f->FMenuHeight);
    if (i > 0) {
      EXPECT_GT(r.left, mdi[static_cast<std::size_t>(i - 1)]->FBounds.left);
    }
    const COLORREF c = GetPixel(dc, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(static_cast<std::uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)),
              colours[static_cast<std::size_t>(4 * i)]);
  }
  ReleaseDC(frame.Handle, dc);

  // A click on the restore button restores the child; on the close button closes it.
  const auto click = [&](const TWinSysButton* b) {
    ClickFrame(frame.Handle, {(b->FBounds.left + b->FBounds.right) / 2, (b->FBounds.top + b->FBounds.bottom) / 2},
               HTMENU);
  };
  click(mdi[1]);
  EXPECT_FALSE(IsZoomed(child));
  EXPECT_FALSE(SkinManager->FMDIMaximized);
  SendMessageW(frame.Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  Pump();
  f->PaintFrame(nullptr);
  click(mdi[2]);
  EXPECT_FALSE(IsWindow(child));
}
