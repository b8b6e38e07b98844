// The main window's menus drawn and run by the skin, driven with the system's own mouse and keys
// from a timer (menus run their own modal loops): the source list's context menu, the band's
// drop-downs and their commands, and the menus given back when the skin comes off. The window
// wears a skin of solid colours here, so that a pixel tells which part of the skin was drawn.
#include <gtest/gtest.h>

#include <functional>

#include "Pixels.h"
#include "SolidSkinMain.h"
#include "UserInput.h"
#include "skin/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"
#include "skin/manager/WinSkinMenu.h"

using namespace apptest;
using skin::SetOf;

namespace {

constexpr std::uint32_t kMenuEdge = 0x2060C0, kMenuFill = 0xE0D0A0;
// Menu item frames: normal (disabled items too, their text greyed), separator, (unused), selected.
const std::vector<std::uint32_t> kItemFrames{0x30A0F0, 0x20F020, 0x808080, 0xF08030, 0x404040};

TestSkin SolidSkin() {
  TestSkin s = SolidFrame("menuBar=menubar.bmp\nTileLeftMenu=2\nTileRightMenu=2\n",
                          "Menubar=208 216 224\nMenuBarText=10 20 30\n");
  s.Strip("menubar.bmp", 20, 10, {0xD0D8E0, 0xB0B8C0}, true).Strip("menuitem.bmp", 12, 12, kItemFrames);
  s.Entries.push_back({"menubg.bmp", TestSkin::Bmp(16, 16, [](int x, int y) -> std::uint32_t {
                         return x < 3 || y < 3 || x >= 13 || y >= 13 ? kMenuEdge : kMenuFill;
                       })});
  s.Ini += "[MenuBackground]\nImage=menubg.bmp\nLeftWidth=3\nTopHeight=3\nRightWidth=3\nBottomHeight=3\nTile=0\n"
           "[MenuItem]\nImage=menuitem.bmp\nFrame=5\nLeftWidth=3\nTopHeight=3\nRightWidth=3\nBottomHeight=3\n"
           "Tile=0\nTrans=0\n";
  return s;
}

using pixels::Rgb;

HWND OpenPopup() {
  HWND popup = FindWindowW(L"#32768", nullptr);
  return popup && IsWindowVisible(popup) ? popup : nullptr;
}

// The main window in the solid skin, on the screen and in front.
struct TSolidMain : TSolidSkinMain {
  TSolidMain() : TSolidSkinMain(SolidSkin()) {}
  // The centre of band button i in screen coordinates, and the point just below its bottom-left
  // corner (a button's bounds end on the band's last row; its drop-down opens below the band).
  POINT ButtonCentre(int i) const {
    const RECT b = Form->FMenuBar->Button(i)->FBounds;
    const RECT r = WindowRect(W->Handle());
    return {r.left + (b.left + b.right) / 2, r.top + (b.top + b.bottom) / 2};
  }
  POINT BelowButton(int i) const {
    const RECT b = Form->FMenuBar->Button(i)->FBounds;
    const RECT r = WindowRect(W->Handle());
    return {r.left + b.left, r.top + b.bottom + 1};
  }
};

// Counts the runs of a menu item's command in place of its own handler.
struct TCommandCount {
  explicit TCommandCount(fw::TMenuItem* item) : Item(item), Saved(item->OnClick) {
    item->OnClick = fw::TNotifyEvent::Of<&TCommandCount::Hit>(this);
  }
  ~TCommandCount() { Item->OnClick = Saved; }
  void Hit(fw::TObject*) { ++Runs; }
  fw::TMenuItem* Item;
  fw::TNotifyEvent Saved;
  int Runs = 0;
};

// A user's script: one step per timer tick (the ticks go on inside the menus' own loops). A step
// made with WhenOpen waits (up to two seconds) until a popup menu shows; the menu is ended at the
// end of the script.
struct TScript {
  static inline std::vector<std::function<void()>> Steps;
  static inline std::size_t Next = 0;
  static inline bool Again = false;
  static inline int Waits = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    if (Next < Steps.size()) {
      Again = false;
      Steps[Next]();
      if (Again && ++Waits < 14) return;
      Waits = 0;
      ++Next;
      return;
    }
    KillTimer(nullptr, id);
    if (OpenPopup()) EndMenu();
    ++Next;
  }
  static std::function<void()> WhenOpen(std::function<void()> step) {
    return [step] {
      if (!OpenPopup()) {
        Again = true;
        return;
      }
      step();
    };
  }
  static bool Run(std::vector<std::function<void()>> steps) {
    Steps = std::move(steps);
    Next = 0;
    Waits = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, &Tick);
    const bool done = PumpUntil([] { return Next > Steps.size(); }, 8000);
    KillTimer(nullptr, timer);
    if (OpenPopup()) EndMenu();
    Pump();
    return done;
  }
};

// The colour of a popup's item near its right end (away from its text), as the screen shows it.
std::uint32_t ItemColour(HWND popup, HMENU menu, int item) {
  RECT wr{}, r{};
  GetWindowRect(popup, &wr);
  if (!GetMenuItemRect(nullptr, menu, static_cast<UINT>(item), &r)) return 0xFFFFFFFF;
  HDC dc = GetWindowDC(popup);
  const std::uint32_t c = Rgb(GetPixel(dc, r.right - 4 - wr.left, r.bottom - 2 - wr.top));
  ReleaseDC(popup, dc);
  return c;
}

POINT ItemCentre(HMENU menu, int item) {
  RECT r{};
  GetMenuItemRect(nullptr, menu, static_cast<UINT>(item), &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

// The source list's context menu, opened by a real right-click: skinned while it tracks, from the
// menu background and the item strip, and forgotten when Esc closes it. Without the context menu
// kind in the skin data it is left to the system.
TEST(SkinnedMenus, SourceListContextMenuFromARealRightClick) {
  TSolidMain s;
  ASSERT_NE(s.Form, nullptr);
  ASSERT_NE(skin::SkinManager, nullptr);
  EXPECT_EQ(skin::SkinManager->FMenuMode, 0);  // nothing opened yet: the next popup is a context menu
  HMENU menu = s.W->PMSource->Handle();
  fw::TValueListEditor* list = s.W->VLDSource;
  const POINT at = list->ClientToScreen({list->Width() / 2, list->Height() / 2});

  HWND popup = nullptr;
  LRESULT query = 0;
  std::uint32_t corner = 0, items[4] = {};
  std::size_t skinnersAfter = 1;
  int modeAfter = -1;
  ASSERT_TRUE(TScript::Run({
      [&] { userinput::Click(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); },
      TScript::WhenOpen([] { userinput::Press(VK_DOWN); }),  // selects the first item
      [&] {
        popup = OpenPopup();
        if (!popup) return;
        query = SendMessageW(popup, skin::WM_SKIN_QUERY, 0, 0);
        HDC dc = GetWindowDC(popup);
        corner = Rgb(GetPixel(dc, 1, 1));
        ReleaseDC(popup, dc);
        for (int i = 0; i < 4; ++i) items[i] = ItemColour(popup, menu, i);
        userinput::Press(VK_ESCAPE);
      },
      [&] {
        skinnersAfter = skin::SkinManager->Popups().size();
        modeAfter = skin::SkinManager->FMenuMode;
      },
  }));
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(query, 1);
  EXPECT_EQ(corner, kMenuEdge);
  EXPECT_EQ(items[0], kItemFrames[3]);  // "&S 选择源文件", selected
  EXPECT_EQ(items[1], kItemFrames[1]);  // the separator
  EXPECT_EQ(items[2], kItemFrames[0]);
  EXPECT_EQ(items[3], kItemFrames[0]);
  EXPECT_EQ(skinnersAfter, 0u);
  EXPECT_EQ(modeAfter, 0);

  // Without context menus in the skin data the popup is the system's.
  s.Data->SkinControls &= ~SetOf(skin::xcPopupMenu);
  popup = nullptr;
  query = -1;
  std::size_t skinners = 1;
  ASSERT_TRUE(TScript::Run({
      [&] { userinput::Click(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); },
      TScript::WhenOpen([&] {
        popup = OpenPopup();
        query = SendMessageW(popup, skin::WM_SKIN_QUERY, 0, 0);
        skinners = skin::SkinManager->Popups().size();
        HDC dc = GetWindowDC(popup);
        corner = Rgb(GetPixel(dc, 1, 1));
        ReleaseDC(popup, dc);
        userinput::Press(VK_ESCAPE);
      }),
  }));
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(query, 0);
  EXPECT_EQ(skinners, 0u);
  EXPECT_NE(corner, kMenuEdge);
  s.Data->SkinControls |= SetOf(skin::xcPopupMenu);
}

// The band's drop-downs by mouse: "文件" opens below its button with its first item selected, a
// click on an item runs it once, the top-level "&Q 结束" runs once, a disabled item never runs.
TEST(SkinnedMenus, BandDropDownsRunTheirCommandsByMouse) {
  TSolidMain s;
  ASSERT_NE(s.Form, nullptr);
  ASSERT_NE(s.Form->FMenuBar, nullptr);
  fw::TMenuItem* file = s.W->MainMenu1->Items()->Items(0);
  fw::TMenuItem* help = s.W->MainMenu1->Items()->Items(1);
  TCommandCount fileExit(file->Items(0)), topExit(s.W->MainMenu1->Items()->Items(2)),
      doc(help->Items(0)), about(help->Items(1));

  HWND popup = nullptr;
  RECT placed{};
  std::uint32_t first = 0;
  ASSERT_TRUE(TScript::Run({
      [&] { userinput::Click(s.ButtonCentre(0)); },
      TScript::WhenOpen([&] {
        popup = OpenPopup();
        GetWindowRect(popup, &placed);
        first = ItemColour(popup, file->Handle(), 0);
        userinput::Click(ItemCentre(file->Handle(), 0));
      }),
  }));
  ASSERT_NE(popup, nullptr);
  const POINT below = s.BelowButton(0);
  EXPECT_EQ(placed.left, below.x);
  EXPECT_EQ(placed.top, below.y);
  EXPECT_EQ(first, kItemFrames[3]);
  EXPECT_EQ(fileExit.Runs, 1);
  EXPECT_FALSE(s.Form->FTracking);

  ASSERT_TRUE(TScript::Run({[&] { userinput::Click(s.ButtonCentre(2)); }, [] {}}));
  EXPECT_EQ(topExit.Runs, 1);
  EXPECT_EQ(fileExit.Runs, 1);

  // A disabled item: the click does nothing, the menu stays open until Esc.
  help->Items(1)->SetEnabled(false);
  bool stillOpen = false;
  std::uint32_t disabled = 0;
  ASSERT_TRUE(TScript::Run({
      [&] { userinput::Click(s.ButtonCentre(1)); },
      TScript::WhenOpen([&] {
        disabled = ItemColour(OpenPopup(), help->Handle(), 1);
        userinput::Click(ItemCentre(help->Handle(), 1));
      }),
      [&] {
        stillOpen = OpenPopup() != nullptr;
        userinput::Press(VK_ESCAPE);
      },
      [] { userinput::Press(VK_ESCAPE); },
  }));
  help->Items(1)->SetEnabled(true);
  EXPECT_EQ(disabled, kItemFrames[0]);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(about.Runs, 0);
  EXPECT_EQ(doc.Runs, 0);
  EXPECT_FALSE(s.Form->FTracking);
}

// The keyboard: typing an item's letter in an open drop-down runs it; Alt with the letter of a
// disabled button opens nothing.
TEST(SkinnedMenus, LettersRunItemsAndDisabledButtonsStayShut) {
  TSolidMain s;
  ASSERT_NE(s.Form, nullptr);
  ASSERT_NE(s.Form->FMenuBar, nullptr);
  fw::TMenuItem* help = s.W->MainMenu1->Items()->Items(1);
  TCommandCount doc(help->Items(0)), about(help->Items(1));
  ASSERT_TRUE(TScript::Run({
      [&] { userinput::Click(s.ButtonCentre(1)); },
      TScript::WhenOpen([] { userinput::Press('D'); }),
      [] {},
  }));
  EXPECT_EQ(doc.Runs, 1);  // "&D 帮助文档"
  EXPECT_EQ(about.Runs, 0);
  EXPECT_FALSE(s.Form->FTracking);

  s.W->LEDest->SetFocus();
  help->SetEnabled(false);
  Pump();
  ASSERT_FALSE(s.Form->FMenuBar->Button(1)->FEnabled);
  bool opened = true;
  ASSERT_TRUE(TScript::Run({
      [] {
        userinput::Key(VK_MENU, false);
        userinput::Press('H');
        userinput::Key(VK_MENU, true);
      },
      [&] {
        opened = OpenPopup() != nullptr || s.Form->FTracking;
        if (opened) userinput::Press(VK_ESCAPE);
      },
  }));
  help->SetEnabled(true);
  EXPECT_FALSE(opened);
  EXPECT_EQ(doc.Runs, 1);
}

// Skin off with the window open: the window shows its own menu again, no item of it or of the
// context menu is owner-drawn any more, and every item keeps its text.
TEST(SkinnedMenus, SkinOffGivesTheMenusBackWithTheirTexts) {
  TSolidMain s;
  ASSERT_NE(s.Form, nullptr);
  s.Data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !s.Skinned(); }));
  EXPECT_EQ(GetMenu(s.W->Handle()), s.W->MainMenu1->Handle());
  std::function<void(fw::TMenuItem*)> check = [&](fw::TMenuItem* parent) {
    for (int i = 0; i < parent->Count(); ++i) {
      fw::TMenuItem* item = parent->Items(i);
      SCOPED_TRACE(item->Caption());
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      ASSERT_TRUE(GetMenuItemInfoW(parent->Handle(), static_cast<UINT>(i), TRUE, &info));
      EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
      if (item->Caption() != L"-") {
        wchar_t text[64] = {};
        GetMenuStringW(parent->Handle(), static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(text), item->Caption());
      }
      if (item->Count()) check(item);
    }
  };
  check(s.W->MainMenu1->Items());
  check(s.W->PMSource->Items());
}
