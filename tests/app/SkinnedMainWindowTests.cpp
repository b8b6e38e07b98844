// The main window skinned with its stored skin: the menu bar drawn in the frame follows the
// framework's main menu, Alt+letter with the focus in a control opens the band's drop-down, and
// the window shows its own menu again when the skin comes off.
#include <gtest/gtest.h>

#include "AppTestUtil.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinScrollbars.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"
#include "skin/manager/WinSkinMenu.h"

using namespace apptest;

namespace {

struct TSkinnedMain {
  TSkinnedMain() {
    Data = dynamic_cast<skin::TSkinData*>(W->FindComponent(L"SkinData1"));
    EXPECT_NE(Data, nullptr);
    if (!Data) return;
    Data->SetActive(true);
    EXPECT_TRUE(PumpUntil([&] { return Skinned(); }));
    Pump();
    Form = skin::SkinManager ? skin::SkinManager->FindSkinForm(W->Handle()) : nullptr;
  }
  ~TSkinnedMain() {
    if (Data) Data->SetActive(false);
    PumpUntil([&] { return !Skinned(); });
  }
  bool Skinned() const { return SendMessageW(W->Handle(), skin::WM_SKIN_QUERY, 0, 0) == 1; }
  MainWindow W;
  skin::TSkinData* Data = nullptr;
  skin::TWinSkinForm* Form = nullptr;
};

// Closes the drop-down a key opened, after noting which band button it belongs to.
int g_openButton = -2;
void CALLBACK LookAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_openButton = skin::MenuTracking.OpenButtonIndex;
  EndMenu();
}
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

}  // namespace

TEST(SkinnedMainWindow, MenuBandFollowsTheMainMenu) {
  TSkinnedMain s;
  ASSERT_NE(s.Form, nullptr);
  skin::TWinSkinMenu* bar = s.Form->FMenuBar;
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenu(s.W->Handle()), nullptr);
  fw::TMenuItem* items = s.W->MainMenu1->Items();
  ASSERT_EQ(bar->Count(), items->Count());
  for (int i = 0; i < bar->Count(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(bar->Button(i)->FCaption, items->Items(i)->Caption());  // "&F 文件", not "&F ??"
    EXPECT_EQ(bar->Button(i)->FItem, items->Items(i));
    EXPECT_EQ(bar->Button(i)->FSubMenu, items->Items(i)->Count() ? items->Items(i)->Handle() : nullptr);
  }
  EXPECT_EQ(bar->Button(0)->FCaption, L"&F 文件");

  // A change of the framework's menu reaches the band.
  items->Items(1)->SetCaption(L"&H 帮助和说明");
  Pump();
  EXPECT_EQ(bar->Button(1)->FCaption, L"&H 帮助和说明");
  EXPECT_EQ(GetMenu(s.W->Handle()), nullptr);
  items->Items(1)->SetEnabled(false);
  Pump();
  EXPECT_FALSE(bar->Button(1)->FEnabled);
  items->Items(1)->SetEnabled(true);
  items->Items(1)->SetCaption(L"&H 帮助");
  Pump();

  // Off: the window shows the framework's menu itself again.
  s.Data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !s.Skinned(); }));
  EXPECT_EQ(GetMenu(s.W->Handle()), s.W->MainMenu1->Handle());
}

TEST(SkinnedMainWindow, AltLetterInAControlOpensTheBandsDropDown) {
  TSkinnedMain s;
  ASSERT_NE(s.Form, nullptr);
  ASSERT_NE(s.Form->FMenuBar, nullptr);
  s.W->LEDest->SetFocus();
  Pump();
  // Alt held (the posted character carries no key state of its own).
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  const BYTE saved = keys[VK_MENU];
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  g_openButton = -2;
  SetTimer(nullptr, 0, 200, &LookAndClose);
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 3000, &Watchdog);
  PostMessageW(s.W->LEDest->Handle(), WM_SYSCHAR, L'h', 0x20000000);
  PumpUntil([] { return g_openButton != -2; }, 4000);
  KillTimer(nullptr, watchdog);
  keys[VK_MENU] = saved;
  SetKeyboardState(keys);
  EXPECT_EQ(g_openButton, 1);  // "&H 帮助"
  Pump();
  EXPECT_FALSE(s.Form->FTracking);
}

// The source list and the log scroll with the skin's bars: the overlays lie right above them, an
// empty list shows none, 40 files bring the bar, "全部清除" takes it away again.
TEST(SkinnedMainWindow, TheListAndTheLogScrollWithTheSkinsBars) {
  TSkinnedMain s;
  ASSERT_NE(s.Form, nullptr);
  const auto overlayOf = [&](fw::TWinControl* c) -> skin::TSkinScrollbar* {
    return dynamic_cast<skin::TSkinScrollbar*>(s.Form->FindControlByHandle(c->Handle()));
  };
  for (fw::TWinControl* c : std::vector<fw::TWinControl*>{s.W->VLDSource, s.W->MemoDest}) {
    SCOPED_TRACE(c->ClassName());
    EXPECT_EQ(SendMessageW(c->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1);
    ASSERT_NE(overlayOf(c), nullptr);
  }
  skin::TSkinScrollbar* list = overlayOf(s.W->VLDSource);
  EXPECT_FALSE(list->FVertBar->FShown);  // nothing to scroll yet
  std::vector<std::wstring> files;
  for (int i = 0; i < 40; ++i) files.push_back(L"C:\\文件" + std::to_wstring(i) + L".doc");
  s.W->AddSourceFiles(files);
  ASSERT_TRUE(PumpUntil([&] { return list->FVertBar->FShown; }, 2000));
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(s.W->VLDSource->Handle(), OBJID_VSCROLL, &info));
  RECT r{};
  GetWindowRect(list->FVertBar->Handle(), &r);
  EXPECT_TRUE(EqualRect(&r, &info.rcScrollBar));
  HWND above = GetWindow(s.W->VLDSource->Handle(), GW_HWNDPREV);
  EXPECT_TRUE(above == list->FVertBar->Handle() || above == list->FHorzBar->Handle());
  s.W->PClear->Click();
  EXPECT_TRUE(PumpUntil([&] { return !list->FVertBar->FShown; }, 2000));
}
