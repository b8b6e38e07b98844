// The common controls built from a stored form: up-down with its associate, track bar and
// date-time picker; tab control and page control with sheets; header sections and list view
// columns and rows — window classes and styles, properties by name, and users' actions.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ComCtrls.h"
#include "FormReader.h"
#include "StoredControls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TypInfo.h"

using namespace fw;
using namespace fwtest;

namespace {

class TCommonForm : public TForm {
  FW_DECLARE_CLASS()
public:
  using TForm::TForm;
  std::vector<TObject*> Changes;
  void ControlChange(TObject* sender) { Changes.push_back(sender); }
  template <class T>
  T* Get(const wchar_t* name) {
    return FindStored<T>(this, name);
  }
};

const TClassInfo& TCommonForm::StaticClassInfo() {
  static const TClassInfo info{"TCommonForm", &TForm::StaticClassInfo(), {}, {},
                               {FW_PUBLISHED_METHOD(TCommonForm, ControlChange)}};
  return info;
}

using TStoredForm = fwtest::TStoredFormOf<TCommonForm>;

const char* kRanges = R"(object CommonForm: TCommonForm
  Left = 20
  Top = 20
  Width = 420
  Height = 300
  object Edit1: TEdit
    Left = 8
    Top = 8
    Width = 80
    Height = 21
  end
  object UpDown1: TUpDown
    Left = 88
    Top = 8
    Associate = Edit1
    Min = 0
    Max = 10
    Position = 3
  end
  object Track1: TTrackBar
    Left = 8
    Top = 40
    Width = 200
    Height = 40
    Max = 20
    Position = 5
    Frequency = 5
    OnChange = ControlChange
  end
  object Date1: TDateTimePicker
    Left = 8
    Top = 100
    Width = 160
    OnChange = ControlChange
  end
end
)";

}  // namespace

TEST(CommonControls, UpDownTrackBarAndDatePicker) {
  TStoredForm t(kRanges);
  auto* edit = t.Form.Get<TEdit>(L"Edit1");
  auto* ud = t.Form.Get<TUpDown>(L"UpDown1");
  HWND uh = ud->Handle();
  EXPECT_EQ(WindowClass(uh), L"msctls_updown32");
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(uh, UDM_GETBUDDY, 0, 0)), edit->Handle());
  EXPECT_EQ(GetObjectProp(ud, "Associate"), edit);
  EXPECT_EQ(edit->Text(), L"3");
  EXPECT_EQ(GetIntProp(ud, "Position"), 3);
  EXPECT_EQ(GetEnumProp(ud, "Orientation"), "udVertical");
  EXPECT_TRUE(Style(ud) & UDS_ALIGNRIGHT);
  EXPECT_FALSE(Style(ud) & UDS_HORZ);
  int lo = -1, hi = -1;
  SendMessageW(uh, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 10);
  EXPECT_TRUE(SetPropText(ud, "Position", L"12"));  // the window keeps it in range
  EXPECT_EQ(ud->Position(), 10);
  EXPECT_EQ(edit->Text(), L"10");
  EXPECT_TRUE(SetPropText(ud, "Orientation", L"udHorizontal"));
  EXPECT_TRUE(Style(ud) & UDS_HORZ);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(ud->Handle(), UDM_GETBUDDY, 0, 0)), edit->Handle());
  EXPECT_EQ(ud->Position(), 10);
  // The associate going away leaves no dangling reference.
  delete edit;
  EXPECT_EQ(ud->Associate(), nullptr);

  auto* track = t.Form.Get<TTrackBar>(L"Track1");
  HWND th = track->Handle();
  EXPECT_EQ(WindowClass(th), L"msctls_trackbar32");
  EXPECT_EQ(SendMessageW(th, TBM_GETRANGEMAX, 0, 0), 20);
  EXPECT_EQ(SendMessageW(th, TBM_GETPOS, 0, 0), 5);
  EXPECT_TRUE(Style(track) & TBS_AUTOTICKS);
  EXPECT_EQ(GetEnumProp(track, "TickStyle"), "tsAuto");
  // The user moves the thumb: OnChange once per new position.
  SendMessageW(th, TBM_SETPOS, TRUE, 9);
  SendMessageW(GetParent(th), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 9), reinterpret_cast<LPARAM>(th));
  SendMessageW(GetParent(th), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(th));
  EXPECT_EQ(track->Position(), 9);
  EXPECT_EQ(t.Form.Changes, std::vector<TObject*>{track});
  EXPECT_TRUE(SetPropText(track, "Orientation", L"trVertical"));
  EXPECT_TRUE(Style(track) & TBS_VERT);
  EXPECT_EQ(track->Width(), 40);
  EXPECT_EQ(track->Position(), 9);

  t.Form.Changes.clear();
  auto* date = t.Form.Get<TDateTimePicker>(L"Date1");
  EXPECT_EQ(WindowClass(date->Handle()), L"SysDateTimePick32");
  SYSTEMTIME day{};
  day.wYear = 2024;
  day.wMonth = 2;
  day.wDay = 29;
  date->SetDateTime(day);
  EXPECT_EQ(date->DateTime().wYear, 2024);
  EXPECT_EQ(date->DateTime().wMonth, 2);
  EXPECT_EQ(date->DateTime().wDay, 29);
  EXPECT_TRUE(SetPropText(date, "Kind", L"dtkTime"));
  EXPECT_TRUE(Style(date) & DTS_TIMEFORMAT);
  EXPECT_EQ(date->DateTime().wDay, 29);  // kept across the new window
  NotifyParent(date, DTN_DATETIMECHANGE);
  EXPECT_EQ(t.Form.Changes, std::vector<TObject*>{date});
}

namespace {
const char* kTabs = R"(object CommonForm: TCommonForm
  Left = 20
  Top = 20
  Width = 460
  Height = 340
  object Tab1: TTabControl
    Left = 8
    Top = 8
    Width = 200
    Height = 120
    Tabs.Strings = (
      '常规'
      '高级'
      '关于')
    TabIndex = 1
    OnChange = ControlChange
    object Inner: TPanel
      Align = alClient
    end
  end
  object Pages: TPageControl
    Left = 220
    Top = 8
    Width = 220
    Height = 200
    ActivePage = Sheet2
    OnChange = ControlChange
    object Sheet1: TTabSheet
      Caption = '第一页'
    end
    object Sheet2: TTabSheet
      Caption = '第二页'
      object Edit2: TEdit
        Left = 8
        Top = 8
      end
    end
  end
end
)";
}  // namespace

TEST(CommonControls, TabControlAndPageControl) {
  TStoredForm t(kTabs);
  auto* tab = t.Form.Get<TTabControl>(L"Tab1");
  HWND h = tab->Handle();
  EXPECT_EQ(WindowClass(h), L"SysTabControl32");
  EXPECT_EQ(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(TabText(h, 2), L"关于");
  EXPECT_EQ(SendMessageW(h, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(GetIntProp(tab, "TabIndex"), 1);
  // Children fill the display area, below the tabs and inside the frame.
  auto* inner = t.Form.Get<TPanel>(L"Inner");
  const RECT d = tab->DisplayRect();
  EXPECT_EQ(inner->BoundsRect().top, d.top);
  EXPECT_GT(d.top, 10);
  EXPECT_EQ(inner->BoundsRect().right, d.right);
  tab->Tabs()->Add(L"更多");
  EXPECT_EQ(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(tab->TabIndex(), 1);
  SendMessageW(h, TCM_SETCURSEL, 3, 0);
  NotifyParent(tab, TCN_SELCHANGE);
  EXPECT_EQ(tab->TabIndex(), 3);
  EXPECT_EQ(t.Form.Changes, std::vector<TObject*>{tab});

  t.Form.Changes.clear();
  auto* pages = t.Form.Get<TPageControl>(L"Pages");
  auto* s1 = t.Form.Get<TTabSheet>(L"Sheet1");
  auto* s2 = t.Form.Get<TTabSheet>(L"Sheet2");
  HWND ph = pages->Handle();
  EXPECT_EQ(WindowClass(ph), L"SysTabControl32");
  ASSERT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(s1->PageControl(), pages);
  EXPECT_EQ(s2->PageIndex(), 1);
  EXPECT_EQ(TabText(ph, 0), L"第一页");
  EXPECT_EQ(pages->ActivePage(), s2);
  EXPECT_EQ(GetObjectProp(pages, "ActivePage"), s2);
  EXPECT_EQ(SendMessageW(ph, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(IsWindowVisible(s2->Handle()));
  EXPECT_FALSE(IsWindowVisible(s1->Handle()));
  const RECT pd = pages->DisplayRect();
  EXPECT_EQ(s2->BoundsRect().left, pd.left);
  EXPECT_EQ(s2->BoundsRect().bottom, pd.bottom);
  EXPECT_EQ(GetParent(t.Form.Get<TEdit>(L"Edit2")->Handle()), s2->Handle());
  // The user picks the first tab.
  SendMessageW(ph, TCM_SETCURSEL, 0, 0);
  NotifyParent(pages, TCN_SELCHANGE);
  EXPECT_EQ(pages->ActivePage(), s1);
  EXPECT_TRUE(IsWindowVisible(s1->Handle()));
  EXPECT_FALSE(IsWindowVisible(s2->Handle()));
  EXPECT_EQ(t.Form.Changes, std::vector<TObject*>{pages});
  // A caption is the tab's text; a sheet freed takes its tab with it.
  s2->SetCaption(L"改名");
  EXPECT_EQ(TabText(ph, 1), L"改名");
  delete s1;
  EXPECT_EQ(pages->PageCount(), 1);
  EXPECT_EQ(SendMessageW(ph, TCM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(pages->ActivePage(), s2);
  EXPECT_TRUE(IsWindowVisible(s2->Handle()));
}

namespace {
const char* kLists = R"(object CommonForm: TCommonForm
  Left = 20
  Top = 20
  Width = 460
  Height = 340
  object Header1: THeaderControl
    Sections = <
      item
        Text = '名称'
        Width = 120
      end
      item
        Alignment = taRightJustify
        Text = '大小'
        Width = 80
        MinWidth = 40
      end>
  end
  object List1: TListView
    Left = 8
    Top = 40
    Width = 300
    Height = 150
    ViewStyle = vsReport
    RowSelect = True
    Columns = <
      item
        Caption = '文件'
        Width = 150
      end
      item
        Caption = '状态'
        Width = 100
      end>
  end
end
)";

std::wstring ListText(HWND lv, int row, int col) {
  wchar_t buf[64] = {};
  LVITEMW item{};
  item.iSubItem = col;
  item.pszText = buf;
  item.cchTextMax = 64;
  SendMessageW(lv, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buf;
}
}  // namespace

TEST(CommonControls, HeaderSectionsAndListViewColumnsAndRows) {
  TStoredForm t(kLists);
  auto* header = t.Form.Get<THeaderControl>(L"Header1");
  HWND hh = header->Handle();
  EXPECT_EQ(WindowClass(hh), L"SysHeader32");
  EXPECT_EQ(header->Align(), alTop);
  EXPECT_EQ(header->Top(), 0);
  EXPECT_EQ(header->Width(), t.Form.ClientWidth());
  ASSERT_EQ(SendMessageW(hh, HDM_GETITEMCOUNT, 0, 0), 2);
  wchar_t buf[32] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
  item.pszText = buf;
  item.cchTextMax = 32;
  SendMessageW(hh, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(buf), L"大小");
  EXPECT_EQ(item.cxy, 80);
  EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, HDF_RIGHT);
  EXPECT_EQ(GetPropText(header->Sections()->Items(0), "Text"), L"名称");
  header->Sections()->Items(1)->SetWidth(10);  // below MinWidth
  EXPECT_EQ(header->Sections()->Items(1)->Width(), 40);
  item.mask = HDI_WIDTH;
  SendMessageW(hh, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.cxy, 40);
  header->Sections()->Add()->SetText(L"日期");
  EXPECT_EQ(SendMessageW(hh, HDM_GETITEMCOUNT, 0, 0), 3);

  auto* list = t.Form.Get<TListView>(L"List1");
  HWND lh = list->Handle();
  EXPECT_EQ(WindowClass(lh), L"SysListView32");
  EXPECT_EQ(Style(list) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_EQ(GetEnumProp(list, "ViewStyle"), "vsReport");
  EXPECT_EQ(GetEnumProp(list, "RowSelect"), "True");
  EXPECT_TRUE(SendMessageW(lh, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
  EXPECT_EQ(SendMessageW(lh, LVM_GETCOLUMNWIDTH, 1, 0), 100);
  auto columns = [&] {
    HWND h = reinterpret_cast<HWND>(SendMessageW(list->Handle(), LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageW(h, HDM_GETITEMCOUNT, 0, 0));
  };
  EXPECT_EQ(columns(), 2);
  // A changed column gives the window its columns again, not more of them.
  list->Columns()->Items(1)->SetWidth(90);
  EXPECT_EQ(columns(), 2);
  EXPECT_EQ(SendMessageW(lh, LVM_GETCOLUMNWIDTH, 1, 0), 90);
  list->AddItem(L"a.txt", {L"已加密"});
  list->AddItem(L"b.txt", {L"等待"});
  EXPECT_EQ(SendMessageW(lh, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(ListText(lh, 1, 1), L"等待");
  list->SetItemIndex(1);
  EXPECT_EQ(list->ItemIndex(), 1);
  // Another view style is a new window with the same columns, rows and choice.
  EXPECT_TRUE(SetPropText(list, "ViewStyle", L"vsList"));
  EXPECT_NE(list->Handle(), lh);
  lh = list->Handle();
  EXPECT_EQ(Style(list) & LVS_TYPEMASK, LVS_LIST);
  EXPECT_EQ(SendMessageW(lh, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(ListText(lh, 0, 0), L"a.txt");
  EXPECT_EQ(list->ItemIndex(), 1);
  list->Clear();
  EXPECT_EQ(SendMessageW(lh, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(list->ItemIndex(), -1);
}
