// Popup menu skins on real popup menus under Wine: which menus the manager skins, the frame and
// background from the menu background element, the image per menu handle, and the unhooking.
// Every menu loop has a watchdog that ends it, so a failure fails instead of hanging.
#include <gtest/gtest.h>

#include "Pixels.h"
#include "FormSkinFixture.h"
#include "UserInput.h"
#include "skin/manager/WinSkinPopMenu.h"

using namespace formtest;
using skin::SkinManager;
using skin::TWinSkinPopMenu;

namespace {

constexpr std::uint32_t kMenuEdge = 0x2060C0, kMenuFill = 0xE0D0A0;

// The frame skin with a menu background: a 3-px edge round a plain fill.
TestSkin MenuSkin(bool withBackground = true) {
  TestSkin s = FrameSkin();
  if (!withBackground) return s;
  s.Entries.push_back({"menubg.bmp", TestSkin::Bmp(16, 16, [](int x, int y) -> std::uint32_t {
                         return x < 3 || y < 3 || x >= 13 || y >= 13 ? kMenuEdge : kMenuFill;
                       })});
  s.Ini += "[MenuBackground]\nImage=menubg.bmp\nLeftWidth=3\nTopHeight=3\nRightWidth=3\nBottomHeight=3\nTile=0\n";
  return s;
}

using pixels::Rgb;

// What a timer saw while a popup menu was open; then the menu is closed.
struct TOpenMenu {
  static inline HMENU Menu = nullptr;
  static inline HWND Window = nullptr;  // the open popup menu window
  static inline std::size_t Skins = 0;
  static inline TWinSkinPopMenu* Skin = nullptr;
  static inline bool MenuBarPopup = false;
  static inline LRESULT Query = 0;
  static inline SIZE Size{};
  static inline std::uint32_t Edge[4]{};      // left, top, right, bottom edge through the window DC
  static inline std::uint32_t Printed[2]{};   // printed: frame, inside the frame
  static inline std::uint32_t BitmapFill = 0;  // the image at the first item, placed by the client origin
  static inline bool Tagged = false, ItemMapped = false, ImageEmpty = true;

  static void CALLBACK Look(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Window = FindWindowW(L"#32768", nullptr);
    Skins = SkinManager->Popups().size();
    Skin = Skins ? SkinManager->Popups()[0].get() : nullptr;
    if (Skin) Examine();
    EndMenu();
  }
  static void Examine() {
    MenuBarPopup = Skin->FMenuBarPopup;
    Query = SendMessageW(Skin->FHandle, skin::WM_SKIN_QUERY, 0, 0);
    RECT wr{};
    GetWindowRect(Skin->FHandle, &wr);
    Size = {wr.right - wr.left, wr.bottom - wr.top};
    {
      fw::TWindowDC dc = fw::TWindowDC::Whole(Skin->FHandle);
      const int w = Size.cx, h = Size.cy;
      Edge[0] = Rgb(GetPixel(dc, 1, h / 2));
      Edge[1] = Rgb(GetPixel(dc, w / 2, 1));
      Edge[2] = Rgb(GetPixel(dc, w - 2, h / 2));
      Edge[3] = Rgb(GetPixel(dc, w / 2, h - 2));
    }
    SkinManager->TagPopup(Menu);
    fw::TBitmap* image = SkinManager->PopupBitmapOf(Menu);
    Tagged = image == &Skin->Bitmap() && Skin->FMenu == Menu;
    ImageEmpty = !image || image->Empty();
    RECT item{};
    if (!ImageEmpty && GetMenuItemRect(nullptr, Menu, 0, &item)) {
      // Item rectangles are client coordinates of the popup; the origin puts them on the image.
      POINT client{item.left, item.top};
      ScreenToClient(Skin->FHandle, &client);
      const POINT origin = SkinManager->PopupClientOrigin(Menu);
      ItemMapped = client.x + origin.x == item.left - wr.left && client.y + origin.y == item.top - wr.top;
      BitmapFill = Rgb(GetPixel(image->Canvas().Handle(), client.x + origin.x + 1, client.y + origin.y + 1));
    }
    fw::TBitmap print(Size.cx, Size.cy);
    HDC pdc = print.Canvas().Handle();
    SendMessageW(Skin->FHandle, WM_PRINT, reinterpret_cast<WPARAM>(pdc), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    Printed[0] = Rgb(GetPixel(pdc, 1, Size.cy / 2));
    Printed[1] = Rgb(GetPixel(pdc, Size.cx - 6, Size.cy / 2));
  }
  static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

  // Opens a three-item context menu of owner and examines it from a timer.
  static void Run(HWND owner) {
    Window = nullptr;
    Skins = 0;
    Skin = nullptr;
    Tagged = ItemMapped = MenuBarPopup = false;
    ImageEmpty = true;
    BitmapFill = 0;
    Query = 0;
    Menu = CreatePopupMenu();
    AppendMenuW(Menu, MF_STRING, 1, L"打开");
    AppendMenuW(Menu, MF_STRING, 2, L"保存为一个很长的名字");
    AppendMenuW(Menu, MF_STRING, 3, L"关闭");
    const UINT_PTR look = SetTimer(nullptr, 0, 150, &Look);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 3000, &Watchdog);
    SetForegroundWindow(owner);
    TrackPopupMenu(Menu, TPM_RETURNCMD | TPM_NONOTIFY, 200, 200, 0, owner, nullptr);
    KillTimer(nullptr, look);
    KillTimer(nullptr, watchdog);
    Pump(30);
    DestroyMenu(Menu);
  }
};

// A world with the hook installed and a plain owner window that refuses its own form skin.
struct TMenuWorld : TSkinnedWorld {
  explicit TMenuWorld(bool withBackground = true) : Owner(L"菜单") {
    LoadTestSkin(*Data, MenuSkin(withBackground));
    SkinManager->InstallHook();
    Owner.AnswerQuery = true;
  }
  TWindow Owner;
};

}  // namespace

TEST(PopupMenu, ContextMenuIsSkinnedFromTheMenuBackgroundWhileOpen) {
  TMenuWorld world;
  SkinManager->FMenuBarPopup = true;  // copied into the new popup skin
  TOpenMenu::Run(world.Owner.Handle);

  ASSERT_NE(TOpenMenu::Window, nullptr) << "no popup menu opened";
  ASSERT_EQ(TOpenMenu::Skins, 1u);
  EXPECT_TRUE(TOpenMenu::MenuBarPopup);
  EXPECT_EQ(TOpenMenu::Query, 1);
  for (int side = 0; side < 4; ++side) EXPECT_EQ(TOpenMenu::Edge[side], kMenuEdge) << "side " << side;
  EXPECT_TRUE(TOpenMenu::Tagged);
  EXPECT_TRUE(TOpenMenu::ItemMapped);
  EXPECT_EQ(TOpenMenu::BitmapFill, kMenuFill);
  // Printed: the skin's frame, the system's items inside it.
  EXPECT_EQ(TOpenMenu::Printed[0], kMenuEdge);
  EXPECT_NE(TOpenMenu::Printed[1], kMenuEdge);

  // Closed: the skin is gone with its window, and the menu flags are back to a context menu.
  EXPECT_TRUE(SkinManager->Popups().empty());
  EXPECT_FALSE(SkinManager->HasPopupSkin(TOpenMenu::Window));
  EXPECT_EQ(SkinManager->FMenuMode, 0);
  EXPECT_FALSE(SkinManager->FMenuBarPopup);
  EXPECT_EQ(SkinManager->PopupBitmapOf(TOpenMenu::Menu), nullptr);
}

TEST(PopupMenu, OnlyKindsTheSkinDataSkinsAndOnlyWhileEnabled) {
  TMenuWorld world;
  world.Data->SkinControls &= ~skin::SetOf(skin::xcSystemMenu);

  SkinManager->FMenuMode = 2;  // a system menu
  TOpenMenu::Run(world.Owner.Handle);
  ASSERT_NE(TOpenMenu::Window, nullptr);
  EXPECT_EQ(TOpenMenu::Skins, 0u);
  EXPECT_EQ(SkinManager->FMenuMode, 0);  // reset when the unskinned popup went away

  TOpenMenu::Run(world.Owner.Handle);  // a context menu of the same skin data
  EXPECT_EQ(TOpenMenu::Skins, 1u);

  world.Data->SkinControls &= ~skin::SetOf(skin::xcPopupMenu);
  TOpenMenu::Run(world.Owner.Handle);
  EXPECT_EQ(TOpenMenu::Skins, 0u);

  world.Data->SkinControls |= skin::SetOf(skin::xcPopupMenu);
  SkinManager->FEnabled = false;
  TOpenMenu::Run(world.Owner.Handle);
  ASSERT_NE(TOpenMenu::Window, nullptr);
  EXPECT_EQ(TOpenMenu::Skins, 0u);
}

TEST(PopupMenu, SkinWithoutMenuBackgroundLeavesThePopupToTheSystem) {
  TMenuWorld world(false);
  TOpenMenu::Run(world.Owner.Handle);
  ASSERT_EQ(TOpenMenu::Skins, 1u);  // attached, but drawing nothing of its own
  EXPECT_EQ(TOpenMenu::Query, 1);
  for (int side = 0; side < 4; ++side) EXPECT_NE(TOpenMenu::Edge[side], kMenuEdge);
  EXPECT_TRUE(TOpenMenu::Tagged);
  EXPECT_TRUE(TOpenMenu::ImageEmpty);
  EXPECT_TRUE(SkinManager->Popups().empty());
}

// The list of popup skins on plain windows of both flavours: the hook's destruction, tags for
// two popups open at once, and the procedures given back.
TEST(PopupMenu, TagsUnhookingAndTheWindowsProcedures) {
  TMenuWorld world;
  TWindow parent(L"上级"), sub(L"下级", 200, 100, nullptr, WS_OVERLAPPEDWINDOW, nullptr, false);
  const LONG_PTR subProc = GetWindowLongPtrA(sub.Handle, GWLP_WNDPROC);
  SkinManager->FMenuMode = 1;
  SkinManager->SkinPopupMenu(parent.Handle);
  SkinManager->FMenuBarPopup = true;
  SkinManager->SkinPopupMenu(sub.Handle);
  SkinManager->SkinPopupMenu(sub.Handle);  // once only
  ASSERT_EQ(SkinManager->Popups().size(), 2u);
  TWinSkinPopMenu* first = SkinManager->Popups()[0].get();
  TWinSkinPopMenu* second = SkinManager->Popups()[1].get();
  EXPECT_FALSE(first->FMenuBarPopup);
  EXPECT_TRUE(second->FMenuBarPopup);
  SkinManager->MarkMenuBarPopups();
  EXPECT_TRUE(first->FMenuBarPopup);
  EXPECT_NE(GetWindowLongPtrA(sub.Handle, GWLP_WNDPROC), subProc);

  HMENU a = reinterpret_cast<HMENU>(0x1234), b = reinterpret_cast<HMENU>(0x5678);
  SkinManager->TagPopup(a);  // the newest untagged popup
  SkinManager->TagPopup(b);
  SkinManager->TagPopup(reinterpret_cast<HMENU>(0x9ABC));  // nobody left untagged
  EXPECT_EQ(second->FMenu, a);
  EXPECT_EQ(first->FMenu, b);
  EXPECT_EQ(SkinManager->PopupBitmapOf(a), &second->Bitmap());
  EXPECT_EQ(SkinManager->PopupBitmapOf(b), &first->Bitmap());
  EXPECT_EQ(SkinManager->PopupBitmapOf(reinterpret_cast<HMENU>(0x9ABC)), nullptr);

  // A painted frame fills the image; printing leaves the target's clipping as it was.
  RedrawWindow(parent.Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  RECT wr{};
  GetWindowRect(parent.Handle, &wr);
  EXPECT_EQ(first->Bitmap().Width(), wr.right - wr.left);
  EXPECT_EQ(Rgb(GetPixel(first->Bitmap().Canvas().Handle(), 40, 40)), kMenuFill);
  fw::TBitmap print(wr.right - wr.left, wr.bottom - wr.top);
  HDC pdc = print.Canvas().Handle();
  SendMessageW(parent.Handle, WM_PRINT, reinterpret_cast<WPARAM>(pdc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(Rgb(GetPixel(pdc, 1, 40)), kMenuEdge);
  fw::TRegionHandle clip(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetClipRgn(pdc, clip), 0);

  // Unskinned by hand: the window's procedure back, the flags kept while another popup lives.
  SkinManager->UnskinPopupMenu(parent.Handle);
  EXPECT_EQ(GetWindowLongPtrW(parent.Handle, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(parent.OriginalProc));
  EXPECT_EQ(SendMessageW(parent.Handle, skin::WM_SKIN_QUERY, 0, 0), 0);
  EXPECT_EQ(SkinManager->FMenuMode, 1);
  // Destroyed: the hook takes the last one off and resets the flags.
  DestroyWindow(sub.Handle);
  EXPECT_TRUE(SkinManager->Popups().empty());
  EXPECT_EQ(SkinManager->FMenuMode, 0);
  EXPECT_FALSE(SkinManager->FMenuBarPopup);
}

TEST(PopupMenu, DestroyedFromItsOwnPaintAndFreedWithItsSkinData) {
  TMenuWorld world;
  {
    TWindow popup(L"自毁", 200, 100);
    popup.DestroyOn = WM_PAINT;
    SkinManager->SkinPopupMenu(popup.Handle);
    ASSERT_EQ(SkinManager->Popups().size(), 1u);
    InvalidateRect(popup.Handle, nullptr, TRUE);
    UpdateWindow(popup.Handle);  // the window is destroyed, and its skin freed, inside the paint
    EXPECT_FALSE(IsWindow(popup.Handle));
    EXPECT_TRUE(SkinManager->Popups().empty());
  }
  TWindow ansi(L"ANSI", 200, 100, nullptr, WS_OVERLAPPEDWINDOW, nullptr, false), wide(L"宽", 200, 100);
  const LONG_PTR ansiProc = GetWindowLongPtrA(ansi.Handle, GWLP_WNDPROC);
  SkinManager->SkinPopupMenu(ansi.Handle);
  SkinManager->SkinPopupMenu(wide.Handle);
  ASSERT_EQ(SkinManager->Popups().size(), 2u);
  world.Data.reset();  // the popups drawn with it are taken off
  EXPECT_TRUE(SkinManager->Popups().empty());
  EXPECT_EQ(GetWindowLongPtrA(ansi.Handle, GWLP_WNDPROC), ansiProc);
  EXPECT_FALSE(IsWindowUnicode(ansi.Handle));
  EXPECT_EQ(GetWindowLongPtrW(wide.Handle, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(wide.OriginalProc));

  world.Data = MakeData();
  SkinManager->SkinPopupMenu(wide.Handle);
  ASSERT_EQ(SkinManager->Popups().size(), 1u);
  skin::FreeSkinManager();  // shutdown frees the rest
  EXPECT_EQ(GetWindowLongPtrW(wide.Handle, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(wide.OriginalProc));
}

namespace {

// A context menu with a submenu opened by the keyboard; while both are open each popup's image is
// looked at, then the manager is freed under the open menus.
struct TSubmenuProbe {
  static inline HMENU Top = nullptr, Sub = nullptr;
  static inline int Step = 0;
  static inline std::size_t Skins = 0;
  static inline bool OwnImages = false, Freed = false;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    switch (Step++) {
      case 0:
        userinput::Press(VK_DOWN);
        userinput::Press(VK_DOWN);
        userinput::Press(VK_RIGHT);
        break;
      case 1: {
        Skins = SkinManager->Popups().size();
        fw::TBitmap* top = SkinManager->PopupBitmapOf(Top);
        fw::TBitmap* sub = SkinManager->PopupBitmapOf(Sub);
        OwnImages = top && sub && top != sub;
        if (OwnImages) {
          // Each image is its own window's: the submenu is narrower than the long-named top menu.
          for (const auto& popup : SkinManager->Popups()) {
            RECT r{};
            GetWindowRect(popup->FHandle, &r);
            fw::TBitmap* image = SkinManager->PopupBitmapOf(popup->FMenu);
            OwnImages = OwnImages && image == &popup->Bitmap() && image->Width() == r.right - r.left;
          }
        }
        skin::FreeSkinManager();  // both popups still open
        Freed = true;
        break;
      }
      default:
        KillTimer(nullptr, id);
        EndMenu();
        break;
    }
  }
};

}  // namespace

TEST(PopupMenu, SubmenusHaveImagesOfTheirOwnAndSurviveTheManagerGoing) {
  TMenuWorld world;
  TSubmenuProbe::Top = CreatePopupMenu();
  TSubmenuProbe::Sub = CreatePopupMenu();
  AppendMenuW(TSubmenuProbe::Sub, MF_STRING, 11, L"丙");
  AppendMenuW(TSubmenuProbe::Sub, MF_STRING, 12, L"丁");
  AppendMenuW(TSubmenuProbe::Top, MF_STRING, 1, L"甲：一个很长很长的菜单项名字");
  AppendMenuW(TSubmenuProbe::Top, MF_POPUP, reinterpret_cast<UINT_PTR>(TSubmenuProbe::Sub), L"乙");
  TSubmenuProbe::Step = 0;
  TSubmenuProbe::Freed = false;
  const UINT_PTR script = SetTimer(nullptr, 0, 200, &TSubmenuProbe::Tick);
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 4000, &TOpenMenu::Watchdog);
  SetForegroundWindow(world.Owner.Handle);
  TrackPopupMenu(TSubmenuProbe::Top, TPM_RETURNCMD | TPM_NONOTIFY, 200, 200, 0, world.Owner.Handle, nullptr);
  KillTimer(nullptr, script);
  KillTimer(nullptr, watchdog);
  Pump(30);
  DestroyMenu(TSubmenuProbe::Top);
  EXPECT_EQ(TSubmenuProbe::Skins, 2u);
  EXPECT_TRUE(TSubmenuProbe::OwnImages);
  EXPECT_TRUE(TSubmenuProbe::Freed);
  EXPECT_EQ(SkinManager, nullptr);
}
