// Standard controls for choosing: check box, radio button, combo box, list box, scroll bar.

#include "StdCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "PropTables.h"

namespace fw {

namespace {

using props::Prop;
using props::SubObject;

const std::vector<std::string> LeftRightNames{"taLeftJustify", "taRightJustify"};
const std::vector<std::string> CheckStateNames{"cbUnchecked", "cbChecked", "cbGrayed"};
const std::vector<std::string> ComboStyleNames{"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
                                               "csOwnerDrawVariable"};
const std::vector<std::string> ListStyleNames{"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"};
const std::vector<std::string> ScrollKindNames{"sbHorizontal", "sbVertical"};

WPARAM CheckOf(TCheckBoxState s) {
  return s == cbChecked ? BST_CHECKED : s == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED;
}

// Gives a list window the lines of items: resetMsg, then addMsg per line.
void FillListWindow(HWND wnd, UINT resetMsg, UINT addMsg, const TStringList& items) {
  SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  SendMessageW(wnd, resetMsg, 0, 0);
  for (int i = 0; i < items.Count(); ++i)
    SendMessageW(wnd, addMsg, 0, reinterpret_cast<LPARAM>(items.Strings(i).c_str()));
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(wnd, nullptr, TRUE);
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomCheckBox
// ---------------------------------------------------------------------------

const TClassInfo& TCustomCheckBox::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomCheckBox",
      &TButtonControl::StaticClassInfo(),
      {},
      {Prop("State", TPropKind::Enumeration, &TCustomCheckBox::State, &TCustomCheckBox::SetState, CheckStateNames),
       Prop("Checked", TPropKind::Boolean, &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked),
       Prop("AllowGrayed", TPropKind::Boolean, &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed),
       Prop("Alignment", TPropKind::Enumeration, &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment,
            LeftRightNames)},
      {}};
  return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.WinClassName = L"BUTTON";
  // The window draws the three states; the control decides the next one.
  p.Style |= BS_3STATE | (FAlignment == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCustomCheckBox::CreateHandleDone() { SendMessageW(HandleIfAllocated(), BM_SETCHECK, CheckOf(FState), 0); }

void TCustomCheckBox::SetState(TCheckBoxState s) {
  FState = s;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), BM_SETCHECK, CheckOf(s), 0);
}

void TCustomCheckBox::SetAlignment(TAlignment a) {
  if (a == FAlignment) return;
  FAlignment = a;
  RecreateWnd();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(FAllowGrayed ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
  }
  Click();
}

void TCustomCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Toggle();
    m.Result = 0;
    return;
  }
  TButtonControl::WndProc(m);
}

const TClassInfo& TCheckBox::StaticClassInfo() {
  static const TClassInfo info{"TCheckBox", &TCustomCheckBox::StaticClassInfo(), &NewComponent<TCheckBox>,
                               {MethodProp<TCheckBox, &TCheckBox::OnClick>("OnClick")}, {}};
  return info;
}

// ---------------------------------------------------------------------------
// TRadioButton
// ---------------------------------------------------------------------------

const TClassInfo& TRadioButton::StaticClassInfo() {
  static const TClassInfo info{
      "TRadioButton",
      &TButtonControl::StaticClassInfo(),
      &NewComponent<TRadioButton>,
      {Prop("Checked", TPropKind::Boolean, &TRadioButton::Checked, &TRadioButton::SetChecked),
       Prop("Alignment", TPropKind::Enumeration, &TRadioButton::Alignment, &TRadioButton::SetAlignment,
            LeftRightNames),
       MethodProp<TRadioButton, &TRadioButton::OnClick>("OnClick")},
      {}};
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.WinClassName = L"BUTTON";
  p.Style |= BS_RADIOBUTTON | (FAlignment == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TRadioButton::CreateHandleDone() {
  SendMessageW(HandleIfAllocated(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool v) {
  FChecked = v;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!v || !Parent()) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i)
    if (auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); other && other != this && other->FChecked)
      other->SetChecked(false);
}

void TRadioButton::SetAlignment(TAlignment a) {
  if (a == FAlignment) return;
  FAlignment = a;
  RecreateWnd();
}

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    if (!FChecked) {
      SetChecked(true);
      Click();
    }
    m.Result = 0;
    return;
  }
  TButtonControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TCustomComboBox
// ---------------------------------------------------------------------------

const TClassInfo& TCustomComboBox::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomComboBox",
      &TWinControl::StaticClassInfo(),
      {},
      {SubObject("Items", &TCustomComboBox::Items),
       Prop("ItemIndex", TPropKind::Integer, &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex),
       Prop("Style", TPropKind::Enumeration, &TCustomComboBox::Style, &TCustomComboBox::SetStyle, ComboStyleNames),
       Prop("DropDownCount", TPropKind::Integer, &TCustomComboBox::DropDownCount,
            &TCustomComboBox::SetDropDownCount),
       {"Text", TPropKind::String, [](TObject* o) -> TPropValue { return As<TCustomComboBox>(o)->Text(); },
        [](TObject* o, const TPropValue& v) { As<TCustomComboBox>(o)->SetText(PropStr(v)); }},
       MethodProp<TCustomComboBox, &TCustomComboBox::OnChange>("OnChange"),
       MethodProp<TCustomComboBox, &TCustomComboBox::OnClick>("OnClick")},
      {}};
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  ControlStyle &= ~(csSetCaption | csClickEvents);
  SetBounds(0, 0, 145, 21);
  FItems.OnListChanged = TNotifyEvent::Of<&TCustomComboBox::ItemsChanged>(this);
}

TCustomComboBox::~TCustomComboBox() { FItems.OnListChanged.Clear(); }

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClassName = L"COMBOBOX";
  p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
  switch (FStyle) {
    case csDropDown: p.Style |= CBS_DROPDOWN; break;
    case csSimple: p.Style |= CBS_SIMPLE; break;
    case csDropDownList: p.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
  }
  p.Height = WindowHeight(Height());
}

// The edit part takes its height from the font; the rest of the window is the open list.
int TCustomComboBox::WindowHeight(int height) const {
  if (FStyle == csSimple) return height;
  // The rows of the list as the window measures them once it exists.
  int row = 18;
  if (HandleAllocated())
    if (const auto h = static_cast<int>(SendMessageW(HandleIfAllocated(), CB_GETITEMHEIGHT, 0, 0)); h > 0) row = h;
  return std::max(height, 21) + std::max(FDropDownCount, 1) * row + 2;
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
  if (!HandleAllocated() || FStyle == csSimple) {
    TWinControl::SetBounds(left, top, width, height);
    return;
  }
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  // The window reports its closed size back (WM_WINDOWPOSCHANGED).
  SetWindowPos(HandleIfAllocated(), nullptr, left, top, width, WindowHeight(height), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::SetDropDownCount(int n) {
  FDropDownCount = std::max(n, 1);
  if (!HandleAllocated()) return;
  SendMessageW(HandleIfAllocated(), CB_SETMINVISIBLE, static_cast<WPARAM>(FDropDownCount), 0);
  if (FStyle != csSimple) SetWindowPos(HandleIfAllocated(), nullptr, 0, 0, Width(), WindowHeight(Height()),
                                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::CreateHandleDone() {
  SetDropDownCount(FDropDownCount);
  FillListWindow(HandleIfAllocated(), CB_RESETCONTENT, CB_ADDSTRING, FItems);
  SendMessageW(HandleIfAllocated(), CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  if (FItemIndex < 0 && FStyle != csDropDownList && !FText.empty()) SetWindowTextW(HandleIfAllocated(), FText.c_str());
}

void TCustomComboBox::ItemsChanged(TObject*) {
  if (!HandleAllocated()) return;
  const int keep = ItemIndex();
  FillListWindow(HandleIfAllocated(), CB_RESETCONTENT, CB_ADDSTRING, FItems);
  SetItemIndex(keep < FItems.Count() ? keep : -1);
}

int TCustomComboBox::ItemIndex() const {
  if (HandleAllocated()) return static_cast<int>(SendMessageW(HandleIfAllocated(), CB_GETCURSEL, 0, 0));
  return FItemIndex;
}

void TCustomComboBox::SetItemIndex(int i) {
  FItemIndex = i >= 0 && (i < FItems.Count() || IsLoading()) ? i : -1;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle s) {
  if (s == FStyle) return;
  FItemIndex = ItemIndex();
  FStyle = s;
  RecreateWnd();
}

bool TCustomComboBox::DroppedDown() const {
  return HandleAllocated() && SendMessageW(HandleIfAllocated(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
      case CBN_SELCHANGE:
        FItemIndex = ItemIndex();
        Click();
        if (OnChange) OnChange(this);
        m.Result = 0;
        return;
      case CBN_EDITCHANGE:
        if (OnChange) OnChange(this);
        m.Result = 0;
        return;
      default:
        break;
    }
  }
  TWinControl::WndProc(m);
}

FW_DEFINE_CREATABLE_CLASS(TComboBox, TCustomComboBox)

// ---------------------------------------------------------------------------
// TCustomListBox
// ---------------------------------------------------------------------------

const TClassInfo& TCustomListBox::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomListBox",
      &TWinControl::StaticClassInfo(),
      {},
      {SubObject("Items", &TCustomListBox::Items),
       Prop("ItemIndex", TPropKind::Integer, &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex),
       Prop("Style", TPropKind::Enumeration, &TCustomListBox::Style, &TCustomListBox::SetStyle, ListStyleNames),
       MethodProp<TCustomListBox, &TCustomListBox::OnClick>("OnClick")},
      {}};
  return info;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  ControlStyle &= ~(csSetCaption | csClickEvents);
  SetBounds(0, 0, 121, 97);
  FItems.OnListChanged = TNotifyEvent::Of<&TCustomListBox::ItemsChanged>(this);
}

TCustomListBox::~TCustomListBox() { FItems.OnListChanged.Clear(); }

void TCustomListBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClassName = L"LISTBOX";
  p.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
  if (FStyle == lbOwnerDrawFixed) p.Style |= LBS_OWNERDRAWFIXED;
  if (FStyle == lbOwnerDrawVariable) p.Style |= LBS_OWNERDRAWVARIABLE;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateHandleDone() {
  FillListWindow(HandleIfAllocated(), LB_RESETCONTENT, LB_ADDSTRING, FItems);
  SendMessageW(HandleIfAllocated(), LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TCustomListBox::ItemsChanged(TObject*) {
  if (!HandleAllocated()) return;
  const int keep = ItemIndex();
  FillListWindow(HandleIfAllocated(), LB_RESETCONTENT, LB_ADDSTRING, FItems);
  SetItemIndex(keep < FItems.Count() ? keep : -1);
}

int TCustomListBox::ItemIndex() const {
  if (HandleAllocated()) return static_cast<int>(SendMessageW(HandleIfAllocated(), LB_GETCURSEL, 0, 0));
  return FItemIndex;
}

void TCustomListBox::SetItemIndex(int i) {
  FItemIndex = i >= 0 && (i < FItems.Count() || IsLoading()) ? i : -1;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TCustomListBox::SetStyle(TListBoxStyle s) {
  if (s == FStyle) return;
  FItemIndex = ItemIndex();
  FStyle = s;
  RecreateWnd();
}

void TCustomListBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == LBN_SELCHANGE) {
    FItemIndex = ItemIndex();
    Click();
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

FW_DEFINE_CREATABLE_CLASS(TListBox, TCustomListBox)

// ---------------------------------------------------------------------------
// TScrollBar
// ---------------------------------------------------------------------------

const TClassInfo& TScrollBar::StaticClassInfo() {
  static const TClassInfo info{
      "TScrollBar",
      &TWinControl::StaticClassInfo(),
      &NewComponent<TScrollBar>,
      {Prop("Kind", TPropKind::Enumeration, &TScrollBar::Kind, &TScrollBar::SetKind, ScrollKindNames),
       Prop("Min", TPropKind::Integer, &TScrollBar::Min, &TScrollBar::SetMin),
       Prop("Max", TPropKind::Integer, &TScrollBar::Max, &TScrollBar::SetMax),
       Prop("Position", TPropKind::Integer, &TScrollBar::Position, &TScrollBar::SetPosition),
       Prop("PageSize", TPropKind::Integer, &TScrollBar::PageSize, &TScrollBar::SetPageSize),
       Prop("SmallChange", TPropKind::Integer, &TScrollBar::SmallChange, &TScrollBar::SetSmallChange),
       Prop("LargeChange", TPropKind::Integer, &TScrollBar::LargeChange, &TScrollBar::SetLargeChange),
       MethodProp<TScrollBar, &TScrollBar::OnChange>("OnChange")},
      {}};
  return info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  ControlStyle &= ~(csSetCaption | csClickEvents);
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClassName = L"SCROLLBAR";
  p.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateHandleDone() { UpdateWindow(); }

void TScrollBar::UpdateWindow() {
  if (!HandleAllocated()) return;
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_POS | SIF_PAGE, FMin, FMax, static_cast<UINT>(FPageSize), FPosition, 0};
  SetScrollInfo(HandleIfAllocated(), SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind k) {
  if (k == FKind) return;
  FKind = k;
  if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetParams(int position, int min, int max) {
  FMin = min;
  FMax = std::max(min, max);
  const int last = FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax;
  FPosition = std::clamp(position, FMin, last);
  UpdateWindow();
}

void TScrollBar::SetPageSize(int v) {
  FPageSize = std::max(v, 0);
  SetParams(FPosition, FMin, FMax);
}

void TScrollBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    int pos = FPosition;
    switch (LOWORD(m.WParam)) {
      case SB_LINEUP: pos -= FSmallChange; break;
      case SB_LINEDOWN: pos += FSmallChange; break;
      case SB_PAGEUP: pos -= FLargeChange; break;
      case SB_PAGEDOWN: pos += FLargeChange; break;
      case SB_TOP: pos = FMin; break;
      case SB_BOTTOM: pos = FMax; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        SCROLLINFO si{sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(HandleIfAllocated(), SB_CTL, &si);
        pos = si.nTrackPos;
        break;
      }
      default: break;
    }
    const int before = FPosition;
    SetPosition(pos);
    if (FPosition != before && OnChange) OnChange(this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
