// Page controls with sheets whose tab is hidden, and tab controls with their tabs on each side:
// which tab stands for which sheet, what a click on a tab shows, and the window styles.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ComCtrls.h"
#include "StoredControls.h"
#include "TypInfo.h"

using namespace fw;
using namespace fwtest;

namespace {

const char* kPages = R"(object Form1: TForm
  Left = 20
  Top = 20
  Width = 460
  Height = 340
  object Pages: TPageControl
    Left = 8
    Top = 8
    Width = 300
    Height = 200
    object Sheet1: TTabSheet
      Caption = '一'
    end
    object Sheet2: TTabSheet
      Caption = '二'
      TabVisible = False
    end
    object Sheet3: TTabSheet
      Caption = '三'
    end
  end
  object Bottom: TTabControl
    Left = 320
    Top = 8
    Width = 120
    Height = 100
    TabPosition = tpBottom
  end
end
)";

// The user picks tab i: the tab window selects it and tells its parent.
void PickTab(TWinControl* c, int i) {
  SendMessageW(c->Handle(), TCM_SETCURSEL, static_cast<WPARAM>(i), 0);
  NotifyParent(c, static_cast<UINT>(TCN_SELCHANGE));
}

}  // namespace

TEST(TabSheets, HiddenTabsAreSkippedBetweenTabsAndPages) {
  TStoredFormOf<TForm> t(kPages);
  auto* pages = FindStored<TPageControl>(&t.Form, L"Pages");
  auto* s1 = FindStored<TTabSheet>(&t.Form, L"Sheet1");
  auto* s2 = FindStored<TTabSheet>(&t.Form, L"Sheet2");
  auto* s3 = FindStored<TTabSheet>(&t.Form, L"Sheet3");
  HWND h = pages->Handle();
  ASSERT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(GetEnumProp(s2, "TabVisible"), "False");
  // Two tabs for three sheets; the second tab is the third sheet's.
  EXPECT_EQ(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(TabText(h, 1), L"三");
  EXPECT_EQ(s1->TabIndex(), 0);
  EXPECT_EQ(s2->TabIndex(), -1);
  EXPECT_EQ(s3->TabIndex(), 1);
  EXPECT_EQ(pages->PageOfTab(0), s1);
  EXPECT_EQ(pages->PageOfTab(1), s3);
  EXPECT_EQ(pages->PageOfTab(2), nullptr);
  EXPECT_EQ(pages->PageOfTab(-1), nullptr);

  // A click on the second tab shows the third sheet, and the tab stays selected.
  PickTab(pages, 1);
  EXPECT_EQ(pages->ActivePage(), s3);
  EXPECT_TRUE(IsWindowVisible(s3->Handle()));
  EXPECT_EQ(SendMessageW(h, TCM_GETCURSEL, 0, 0), 1);
  // A program may still show the sheet without a tab: no tab is selected then.
  pages->SetActivePage(s2);
  EXPECT_TRUE(IsWindowVisible(s2->Handle()));
  EXPECT_EQ(SendMessageW(h, TCM_GETCURSEL, 0, 0), -1);

  // Its tab back: three tabs in page order, the shown sheet's tab selected.
  s2->SetTabVisible(true);
  EXPECT_EQ(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(TabText(h, 1), L"二");
  EXPECT_EQ(SendMessageW(h, TCM_GETCURSEL, 0, 0), 1);
  // The first sheet's tab hidden while another is shown keeps that one's tab selected.
  pages->SetActivePage(s3);
  s1->SetTabVisible(false);
  EXPECT_EQ(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(h, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(pages->ActivePage(), s3);
  // A freed sheet takes its tab with it; the others keep their tabs.
  delete s2;
  EXPECT_EQ(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(pages->PageOfTab(0), s3);
  EXPECT_EQ(SendMessageW(h, TCM_GETCURSEL, 0, 0), 0);
}

TEST(TabSheets, FixedPagesIsPublished) {
  TStoredFormOf<TForm> t(kPages);
  auto* pages = FindStored<TPageControl>(&t.Form, L"Pages");
  EXPECT_EQ(GetEnumProp(pages, "FixedPages"), "False");
  EXPECT_TRUE(SetPropText(pages, "FixedPages", L"True"));
  EXPECT_TRUE(pages->FixedPages());
}

TEST(TabControls, TabPositionGivesTheWindowItsSide) {
  TStoredFormOf<TForm> t(kPages);
  auto* tabs = FindStored<TTabControl>(&t.Form, L"Bottom");
  EXPECT_EQ(GetEnumProp(tabs, "TabPosition"), "tpBottom");
  EXPECT_TRUE(Style(tabs) & TCS_BOTTOM);
  EXPECT_FALSE(Style(tabs) & TCS_VERTICAL);
  tabs->Tabs()->Add(L"甲");
  // Left and right tabs are always in rows; the window is made again with each side.
  tabs->SetTabPosition(tpLeft);
  EXPECT_EQ(Style(tabs) & (TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE), TCS_VERTICAL | TCS_MULTILINE);
  tabs->SetTabPosition(tpRight);
  EXPECT_EQ(Style(tabs) & (TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE), TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE);
  EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 1);
  tabs->SetTabPosition(tpTop);
  EXPECT_EQ(Style(tabs) & (TCS_VERTICAL | TCS_BOTTOM | TCS_MULTILINE), 0);
}
