// The choosing controls built from a stored form: check boxes and radio buttons, combo and list
// boxes, the scroll bar control and the bit button — their window classes and styles, their
// published properties read and written by name, and what a user's action does to them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Buttons.h"
#include "FormReader.h"
#include "StoredControls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TypInfo.h"

using namespace fw;
using namespace fwtest;

namespace {

// Sends a child's notification to its parent as the child window itself would.
void Notify(TWinControl* c, WORD code) {
  SendMessageW(GetParent(c->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c->Handle()), code),
               reinterpret_cast<LPARAM>(c->Handle()));
}

class TChoiceForm : public TForm {
  FW_DECLARE_CLASS()
public:
  using TForm::TForm;
  std::vector<TObject*> Clicks, Changes;
  void ControlClick(TObject* sender) { Clicks.push_back(sender); }
  void ControlChange(TObject* sender) { Changes.push_back(sender); }
  template <class T>
  T* Get(const wchar_t* name) {
    return FindStored<T>(this, name);
  }
};

const TClassInfo& TChoiceForm::StaticClassInfo() {
  static const TClassInfo info{"TChoiceForm", &TForm::StaticClassInfo(), {}, {},
                               {FW_PUBLISHED_METHOD(TChoiceForm, ControlClick),
                                FW_PUBLISHED_METHOD(TChoiceForm, ControlChange)}};
  return info;
}

using TStoredForm = fwtest::TStoredFormOf<TChoiceForm>;

const char* kChecks = R"(object ChoiceForm: TChoiceForm
  Left = 20
  Top = 20
  Width = 400
  Height = 300
  object Check1: TCheckBox
    Left = 8
    Top = 8
    Caption = '压缩'
    Checked = True
    OnClick = ControlClick
  end
  object Check2: TCheckBox
    Left = 8
    Top = 30
    AllowGrayed = True
    State = cbGrayed
    OnClick = ControlClick
  end
  object Check3: TCheckBox
    Left = 8
    Top = 52
    Alignment = taLeftJustify
  end
  object Radio1: TRadioButton
    Left = 150
    Top = 8
    Caption = '甲'
    Checked = True
    OnClick = ControlClick
  end
  object Radio2: TRadioButton
    Left = 150
    Top = 30
    Caption = '乙'
    OnClick = ControlClick
  end
  object Panel1: TPanel
    Left = 150
    Top = 60
    Width = 200
    Height = 40
    object Radio3: TRadioButton
      Left = 4
      Top = 4
      Checked = True
    end
  end
end
)";

}  // namespace

TEST(ChoiceControls, CheckBoxesAndRadioButtons) {
  TStoredForm t(kChecks);
  auto* c1 = t.Form.Get<TCheckBox>(L"Check1");
  auto* c2 = t.Form.Get<TCheckBox>(L"Check2");
  auto* c3 = t.Form.Get<TCheckBox>(L"Check3");
  EXPECT_EQ(WindowClass(c1->Handle()), L"Button");
  EXPECT_EQ(Style(c1) & BS_TYPEMASK, BS_3STATE);
  EXPECT_FALSE(Style(c1) & BS_LEFTTEXT);
  EXPECT_TRUE(Style(c3) & BS_LEFTTEXT);
  EXPECT_EQ(SendMessageW(c1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(c2->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(GetEnumProp(c1, "Checked"), "True");
  EXPECT_EQ(GetEnumProp(c2, "State"), "cbGrayed");
  EXPECT_EQ(GetEnumProp(c2, "Checked"), "False");
  EXPECT_EQ(GetEnumProp(c3, "Alignment"), "taLeftJustify");
  EXPECT_EQ(GetPropText(c1, "Caption"), L"压缩");

  // A click: checked -> unchecked; grayed -> unchecked -> checked -> grayed (AllowGrayed).
  SendMessageW(c1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(c1->State(), cbUnchecked);
  EXPECT_EQ(SendMessageW(c1->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  for (TCheckBoxState expected : {cbUnchecked, cbChecked, cbGrayed}) {
    SendMessageW(c2->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(c2->State(), expected);
  }
  EXPECT_EQ(t.Form.Clicks, (std::vector<TObject*>{c1, c2, c2, c2}));
  // Written by name, without a click event.
  EXPECT_TRUE(SetPropText(c1, "Checked", L"True"));
  EXPECT_EQ(SendMessageW(c1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(SetPropText(c1, "State", L"cbGrayed"));
  EXPECT_EQ(SendMessageW(c1->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(t.Form.Clicks.size(), 4u);
  // The alignment puts the caption on the other side (a new window).
  HWND before = c1->Handle();
  c1->SetAlignment(taLeftJustify);
  EXPECT_NE(c1->Handle(), before);
  EXPECT_TRUE(Style(c1) & BS_LEFTTEXT);
  EXPECT_EQ(SendMessageW(c1->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);

  // Radio buttons: one checked per parent.
  t.Form.Clicks.clear();
  auto* r1 = t.Form.Get<TRadioButton>(L"Radio1");
  auto* r2 = t.Form.Get<TRadioButton>(L"Radio2");
  auto* r3 = t.Form.Get<TRadioButton>(L"Radio3");
  EXPECT_EQ(Style(r1) & BS_TYPEMASK, BS_RADIOBUTTON);
  EXPECT_TRUE(r1->Checked());
  EXPECT_TRUE(r3->Checked());
  SendMessageW(r2->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(r2->Checked());
  EXPECT_FALSE(r1->Checked());
  EXPECT_EQ(SendMessageW(r1->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(r3->Checked());  // another parent
  SendMessageW(r2->Handle(), BM_CLICK, 0, 0);  // already checked: no new click
  EXPECT_EQ(t.Form.Clicks, std::vector<TObject*>{r2});
  EXPECT_TRUE(SetPropText(r1, "Checked", L"True"));
  EXPECT_FALSE(r2->Checked());
  EXPECT_EQ(GetEnumProp(r2, "Checked"), "False");

  // The background around the captions is the parent's colour, also after it changed.
  auto background = [](TWinControl* c) {
    HDC dc = GetDC(c->Handle());
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(c->Handle()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(c->Handle())));
    const COLORREF bk = GetBkColor(dc);
    ReleaseDC(c->Handle(), dc);
    LOGBRUSH lb{};
    EXPECT_TRUE(brush && GetObjectW(brush, sizeof(lb), &lb));
    EXPECT_EQ(lb.lbColor, bk);
    return lb.lbColor;
  };
  EXPECT_EQ(background(c2), ColorToRGB(clBtnFace));
  t.Form.SetColor(static_cast<TColor>(RGB(10, 120, 200)));
  EXPECT_EQ(background(c2), RGB(10, 120, 200));
  EXPECT_EQ(background(r1), RGB(10, 120, 200));
  EXPECT_EQ(background(r3), ColorToRGB(t.Form.Get<TPanel>(L"Panel1")->Color()));
}

namespace {
const char* kLists = R"(object ChoiceForm: TChoiceForm
  Left = 20
  Top = 20
  Width = 400
  Height = 300
  object Combo1: TComboBox
    Left = 8
    Top = 8
    Width = 150
    Style = csDropDownList
    ItemIndex = 1
    Items.Strings = (
      '默认'
      '石板'
      '其他')
    OnChange = ControlChange
  end
  object Combo2: TComboBox
    Left = 8
    Top = 40
    Width = 150
    Text = '自由文字'
  end
  object List1: TListBox
    Left = 200
    Top = 8
    Width = 150
    Height = 100
    ItemIndex = 2
    Items.Strings = (
      '一'
      '二'
      '三')
    OnClick = ControlClick
  end
  object Scroll1: TScrollBar
    Left = 8
    Top = 120
    Width = 17
    Height = 120
    Kind = sbVertical
    Min = 10
    Max = 60
    PageSize = 11
    Position = 20
    LargeChange = 10
    SmallChange = 2
    OnChange = ControlChange
  end
end
)";
}  // namespace

namespace {
// The largest height asked of a window while it is moved or sized.
struct TWindowPosWatch {
  TWndMethod Previous;
  int RequestedHeight = -1;
  void Attach(TWinControl* c) {
    Previous = c->WindowProc;
    c->WindowProc = TWndMethod::Of<&TWindowPosWatch::Proc>(this);
  }
  void Proc(TMessage& m) {
    if (m.Msg == WM_WINDOWPOSCHANGING) {
      const auto* wp = reinterpret_cast<const WINDOWPOS*>(m.LParam);
      if (!(wp->flags & SWP_NOSIZE)) RequestedHeight = std::max(RequestedHeight, wp->cy);
    }
    Previous(m);
  }
};
}  // namespace

TEST(ChoiceControls, ComboAndListBoxesAndTheScrollBar) {
  TStoredForm t(kLists);
  auto* combo = t.Form.Get<TComboBox>(L"Combo1");
  HWND ch = combo->Handle();
  EXPECT_EQ(WindowClass(ch), L"ComboBox");
  EXPECT_EQ(Style(combo) & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(SendMessageW(ch, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(ch, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(combo->Text(), L"石板");
  EXPECT_EQ(GetIntProp(combo, "ItemIndex"), 1);
  EXPECT_EQ(GetEnumProp(combo, "Style"), "csDropDownList");
  EXPECT_LT(combo->Height(), 40);  // the closed height, not the open list's
  // Moved and sized later, the window keeps the room for the open list below it.
  TWindowPosWatch watch;
  watch.Attach(combo);
  combo->SetBounds(10, 8, 170, combo->Height());
  combo->WindowProc = watch.Previous;
  EXPECT_EQ(combo->Width(), 170);
  EXPECT_LT(combo->Height(), 40);
  EXPECT_GT(watch.RequestedHeight, 3 * combo->Height());
  // The items follow the list, the selection stays.
  combo->Items()->Add(L"新的");
  EXPECT_EQ(SendMessageW(ch, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(combo->ItemIndex(), 1);
  // A choice in the window raises OnChange and is the new ItemIndex.
  SendMessageW(ch, CB_SETCURSEL, 3, 0);
  Notify(combo, CBN_SELCHANGE);
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(t.Form.Changes, std::vector<TObject*>{combo});
  // A new style is a new window with the same items and choice.
  EXPECT_TRUE(SetPropText(combo, "Style", L"csDropDown"));
  EXPECT_NE(combo->Handle(), ch);
  EXPECT_EQ(Style(combo) & 3, CBS_DROPDOWN);
  EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(combo->ItemIndex(), 3);
  combo->SetItemIndex(9);  // out of range: no choice
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(t.Form.Get<TComboBox>(L"Combo2")->Text(), L"自由文字");

  auto* list = t.Form.Get<TListBox>(L"List1");
  EXPECT_EQ(WindowClass(list->Handle()), L"ListBox");
  EXPECT_TRUE(Style(list) & LBS_NOTIFY);
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(list->ItemIndex(), 2);
  SendMessageW(list->Handle(), LB_SETCURSEL, 0, 0);
  Notify(list, LBN_SELCHANGE);
  EXPECT_EQ(GetIntProp(list, "ItemIndex"), 0);
  EXPECT_EQ(t.Form.Clicks, std::vector<TObject*>{list});
  list->Items()->Clear();
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(list->ItemIndex(), -1);

  t.Form.Changes.clear();
  auto* bar = t.Form.Get<TScrollBar>(L"Scroll1");
  HWND bh = bar->Handle();
  EXPECT_EQ(WindowClass(bh), L"ScrollBar");
  EXPECT_EQ(Style(bar) & SBS_VERT, SBS_VERT);
  SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bh, SB_CTL, &si);
  EXPECT_EQ(si.nMin, 10);
  EXPECT_EQ(si.nMax, 60);
  EXPECT_EQ(si.nPage, 11u);
  EXPECT_EQ(si.nPos, 20);
  auto scroll = [&](WORD code) { SendMessageW(GetParent(bh), WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(bh)); };
  scroll(SB_LINEDOWN);
  EXPECT_EQ(bar->Position(), 22);
  scroll(SB_PAGEUP);
  scroll(SB_PAGEUP);
  EXPECT_EQ(bar->Position(), 10);  // stops at Min
  scroll(SB_LINEUP);               // no move, no change
  scroll(SB_BOTTOM);
  EXPECT_EQ(bar->Position(), 50);  // the last page starts at Max - PageSize + 1
  EXPECT_EQ(t.Form.Changes.size(), 4u);
  GetScrollInfo(bh, SB_CTL, &si);
  EXPECT_EQ(si.nPos, 50);
  EXPECT_EQ(GetEnumProp(bar, "Kind"), "sbVertical");
  EXPECT_TRUE(SetPropText(bar, "Kind", L"sbHorizontal"));
  EXPECT_FALSE(Style(bar) & SBS_VERT);
  EXPECT_EQ(bar->Width(), 120);  // turned on its side
}

namespace {
const char* kBitButtons = R"(object ChoiceForm: TChoiceForm
  Left = 20
  Top = 20
  Width = 400
  Height = 200
  object BitBtn1: TBitBtn
    Left = 10
    Top = 10
    Width = 120
    Height = 40
    Caption = '确定'
    Kind = bkOK
    Layout = blGlyphRight
    Margin = 6
    NumGlyphs = 2
    Default = True
  end
end
)";
}  // namespace

TEST(ChoiceControls, BitButtonDrawsItsGlyphWhereTheLayoutSays) {
  TStoredForm t(kBitButtons);
  auto* b = t.Form.Get<TBitBtn>(L"BitBtn1");
  // Two 16 x 16 glyphs: normal red, disabled blue; magenta lower-left pixel = transparent.
  b->Glyph()->SetSize(32, 16);
  TCanvas& g = b->Glyph()->Canvas();
  g.Brush().SetColor(clRed);
  g.FillRect({0, 0, 16, 16});
  g.Brush().SetColor(clBlue);
  g.FillRect({16, 0, 32, 16});
  g.SetPixel(0, 15, clFuchsia);
  EXPECT_EQ(WindowClass(b->Handle()), L"Button");
  EXPECT_EQ(Style(b) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(b->ModalResult(), mrOk);
  EXPECT_EQ(GetEnumProp(b, "Layout"), "blGlyphRight");
  EXPECT_EQ(GetEnumProp(b, "Kind"), "bkOK");
  EXPECT_EQ(GetIntProp(b, "NumGlyphs"), 2);
  EXPECT_EQ(GetIntProp(b, "Margin"), 6);
  EXPECT_EQ(GetIntProp(b, "Spacing"), 4);
  EXPECT_EQ(GetObjectProp(b, "Glyph"), b->Glyph());
  // Being the default button does not turn it back into a plain push button.
  SendMessageW(b->Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(Style(b) & BS_TYPEMASK, BS_OWNERDRAW);

  auto pixel = [&](int x, int y) {
    RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(b->Handle());
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(b->Handle(), dc);
    return c;
  };
  // The glyph at the right: 1 (default frame) + 6 (margin) from the right edge, centred.
  const int right = 120 - 1 - 1 - 6;  // one past the glyph's last column
  EXPECT_EQ(pixel(right - 8, 20), RGB(255, 0, 0));
  EXPECT_NE(pixel(right + 1, 20), RGB(255, 0, 0));
  EXPECT_NE(pixel(20, 20), RGB(255, 0, 0));
  EXPECT_NE(pixel(right - 15, 20 + 7), RGB(255, 0, 255));  // the transparent corner shows the face
  // Disabled: the second glyph.
  b->SetEnabled(false);
  EXPECT_EQ(pixel(right - 8, 20), RGB(0, 0, 255));
  b->SetEnabled(true);
  // Glyph on the left.
  EXPECT_TRUE(SetPropText(b, "Layout", L"blGlyphLeft"));
  EXPECT_EQ(pixel(1 + 1 + 6 + 8, 20), RGB(255, 0, 0));
  EXPECT_NE(pixel(right - 8, 20), RGB(255, 0, 0));
  // A click gives the form the button's answer.
  SendMessageW(b->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(t.Form.ModalResult(), mrOk);
}

// The open list holds DropDownCount rows at most, with the themed control as with the classic one.
TEST(ChoiceControls, TheOpenListShowsDropDownCountRows) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 300);
  auto* combo = new TComboBox(&form);
  combo->SetParent(&form);
  combo->SetBounds(10, 10, 200, 24);
  for (int i = 0; i < 20; ++i) combo->Items()->Add(L"第 " + std::to_wstring(i) + L" 项");
  form.Show();
  for (const int rows : {5, 8}) {
    SCOPED_TRACE(rows);
    combo->SetDropDownCount(rows);
    SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO ci{};
    ci.cbSize = sizeof ci;
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &ci));
    RECT r{};
    GetClientRect(ci.hwndList, &r);
    const auto item = static_cast<int>(SendMessageW(ci.hwndList, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(item, 0);
    EXPECT_EQ(r.bottom / item, rows);
    SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  }
}
