// Standard controls: edits, memo, labels, labelled edit, push button, group box, radio group, panel.
#include "StdCtrls.h"

#include <algorithm>

#include "Forms.h"
#include "PropTables.h"

namespace fw {

namespace {

using props::Prop;
using props::SubObject;

const std::vector<std::string> AlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<std::string> ScrollStyleNames{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
const std::vector<std::string> LabelPositionNames{"lpAbove", "lpBelow", "lpLeft", "lpRight"};
const std::vector<std::string> BevelNames{"bvNone", "bvLowered", "bvRaised", "bvSpace"};

// Splits text into lines at CRLF, CR or LF; a last line without a break counts when not empty.
std::vector<std::wstring> SplitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
  std::wstring s;
  for (const auto& l : lines) s += l + L"\r\n";
  return s;
}

// Height of the text "0" in a font (the caption band of group boxes).
int FontTextHeight(TFont* font) {
  TWindowDC dc(nullptr);
  TSelectObject sel(dc, font ? font->Handle() : nullptr);
  SIZE sz{0, 0};
  GetTextExtentPoint32W(dc, L"0", 1, &sz);
  return sz.cy;
}

}  // namespace

// ---------------------------------------------------------------------------
// TControlStrings
// ---------------------------------------------------------------------------

const TClassInfo& TControlStrings::StaticClassInfo() {
  static const TClassInfo info{
      "TControlStrings",
      &TStringList::StaticClassInfo(),
      {},
      {{"Strings", TPropKind::Strings,
        [](TObject* o) -> TPropValue {
          auto* s = As<TControlStrings>(o);
          std::vector<std::wstring> v;
          for (int i = 0; i < s->Count(); ++i) v.push_back(s->Strings(i));
          return v;
        },
        [](TObject* o, const TPropValue& v) {
          auto* s = As<TControlStrings>(o);
          s->BeginUpdate();
          s->Clear();
          for (const auto& line : std::get<std::vector<std::wstring>>(v)) s->Add(line);
          s->EndUpdate();
        }}},
      {}};
  return info;
}

void TControlStrings::Changed() {
  TStringList::Changed();
  if (OnListChanged) OnListChanged(this);
}

// ---------------------------------------------------------------------------
// TCustomEdit
// ---------------------------------------------------------------------------

const TClassInfo& TCustomEdit::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomEdit",
      &TWinControl::StaticClassInfo(),
      {},
      {Prop("ReadOnly", TPropKind::Boolean, &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly),
       Prop("MaxLength", TPropKind::Integer, &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength),
       {"PasswordChar", TPropKind::String,
        [](TObject* o) -> TPropValue {
          wchar_t c = As<TCustomEdit>(o)->PasswordChar();
          return c ? std::wstring(1, c) : std::wstring();
        },
        [](TObject* o, const TPropValue& v) {
          std::wstring s = PropStr(v);
          As<TCustomEdit>(o)->SetPasswordChar(s.empty() ? 0 : s[0]);
        }},
       {"Text", TPropKind::String, [](TObject* o) -> TPropValue { return As<TCustomEdit>(o)->Text(); },
        [](TObject* o, const TPropValue& v) { As<TCustomEdit>(o)->SetText(PropStr(v)); }},
       MethodProp<TCustomEdit, &TCustomEdit::OnChange>("OnChange")},
      {}};
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  FParentColor = false;
  FColor = clWindow;
  ControlStyle &= ~csSetCaption;
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClassName = L"EDIT";
  p.Style |= ES_AUTOHSCROLL | ES_LEFT;
  if (FReadOnly) p.Style |= ES_READONLY;
  if (FPasswordChar) p.Style |= ES_PASSWORD;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandleDone() {
  HWND h = HandleIfAllocated();
  if (FPasswordChar) SendMessageW(h, EM_SETPASSWORDCHAR, FPasswordChar, 0);
  // 0 lifts the edit's default limit, so appended text is never cut off.
  SendMessageW(h, EM_SETLIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetPasswordChar(wchar_t c) {
  if (c == FPasswordChar) return;
  FPasswordChar = c;
  if (HandleAllocated()) {
    SendMessageW(HandleIfAllocated(), EM_SETPASSWORDCHAR, c, 0);
    InvalidateRect(HandleIfAllocated(), nullptr, TRUE);
  }
}

void TCustomEdit::SetMaxLength(int n) {
  FMaxLength = std::max(0, n);
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), EM_SETLIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), EM_SETSEL, 0, -1);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

LRESULT TCustomEdit::CtlColor(HDC dc) {
  COLORREF back = ColorToRGB(Color());
  SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  SetBkColor(dc, back);
  if (!FBrush || FBrushColor != back) {
    FBrush.Reset(CreateSolidBrush(back));
    FBrushColor = back;
  }
  return reinterpret_cast<LRESULT>(FBrush.Get());
}

void TCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == EN_CHANGE) {
        Change();
        m.Result = 0;
        return;
      }
      break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      m.Result = CtlColor(reinterpret_cast<HDC>(m.WParam));
      return;
    case CM_COLORCHANGED:
      if (HandleAllocated()) InvalidateRect(HandleIfAllocated(), nullptr, TRUE);
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

FW_DEFINE_CREATABLE_CLASS(TEdit, TCustomEdit)

// ---------------------------------------------------------------------------
// TMemoStrings / TCustomMemo
// ---------------------------------------------------------------------------

const TClassInfo& TMemoStrings::StaticClassInfo() {
  static const TClassInfo info{
      "TMemoStrings",
      &TPersistent::StaticClassInfo(),
      {},
      {{"Strings", TPropKind::Strings, [](TObject* o) -> TPropValue { return As<TMemoStrings>(o)->ToVector(); },
        [](TObject* o, const TPropValue& v) { As<TMemoStrings>(o)->Assign(std::get<std::vector<std::wstring>>(v)); }}},
      {}};
  return info;
}

std::vector<std::wstring> TMemoStrings::ToVector() const { return SplitLines(FMemo->Text()); }
int TMemoStrings::Count() const { return static_cast<int>(ToVector().size()); }

std::wstring TMemoStrings::Strings(int index) const {
  auto lines = ToVector();
  if (index < 0 || index >= static_cast<int>(lines.size()))
    throw EListError(L"行号越界: " + std::to_wstring(index));
  return lines[static_cast<size_t>(index)];
}

void TMemoStrings::Assign(const std::vector<std::wstring>& lines) { FMemo->SetText(JoinLines(lines)); }
void TMemoStrings::Clear() { FMemo->SetText(L""); }
std::wstring TMemoStrings::Text() const { return JoinLines(ToVector()); }
void TMemoStrings::SetText(const std::wstring& text) { FMemo->SetText(text); }

int TMemoStrings::Add(const std::wstring& line) {
  HWND h = FMemo->HandleIfAllocated();
  if (!h) {
    std::wstring t = FMemo->Text();
    if (!t.empty() && t.back() != L'\n' && t.back() != L'\r') t += L"\r\n";
    FMemo->SetText(t + line + L"\r\n");
    return Count() - 1;
  }
  // Append at the end without rewriting the text; a last line without its break gets one first.
  int lineCount = static_cast<int>(SendMessageW(h, EM_GETLINECOUNT, 0, 0));
  LRESULT lastStart = SendMessageW(h, EM_LINEINDEX, static_cast<WPARAM>(lineCount - 1), 0);
  bool open = lastStart >= 0 && SendMessageW(h, EM_LINELENGTH, static_cast<WPARAM>(lastStart), 0) > 0;
  std::wstring ins = (open ? L"\r\n" : L"") + line + L"\r\n";
  int end = GetWindowTextLengthW(h);
  SendMessageW(h, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(ins.c_str()));
  FMemo->ScrollToEnd();
  return Count() - 1;
}

const TClassInfo& TCustomMemo::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomMemo",
      &TCustomEdit::StaticClassInfo(),
      {},
      {SubObject("Lines", &TCustomMemo::Lines),
       Prop("ScrollBars", TPropKind::Enumeration, &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars,
            ScrollStyleNames),
       Prop("WordWrap", TPropKind::Boolean, &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap)},
      {}};
  return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) { SetBounds(0, 0, 185, 89); }

void TCustomMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (!FWordWrap) p.Style |= ES_AUTOHSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) p.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) p.Style |= WS_HSCROLL;
}

void TCustomMemo::SetScrollBars(TScrollStyle s) {
  if (s == FScrollBars) return;
  FScrollBars = s;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool v) {
  if (v == FWordWrap) return;
  FWordWrap = v;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::ScrollToEnd() {
  HWND h = HandleIfAllocated();
  if (!h) return;
  int end = GetWindowTextLengthW(h);
  SendMessageW(h, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(h, EM_SCROLLCARET, 0, 0);
}

FW_DEFINE_CREATABLE_CLASS(TMemo, TCustomMemo)

// ---------------------------------------------------------------------------
// TCustomLabel
// ---------------------------------------------------------------------------

const TClassInfo& TCustomLabel::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomLabel",
      &TGraphicControl::StaticClassInfo(),
      {},
      {Prop("AutoSize", TPropKind::Boolean, &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize),
       Prop("Alignment", TPropKind::Enumeration, &TCustomLabel::Alignment, &TCustomLabel::SetAlignment,
            AlignmentNames),
       Prop("Transparent", TPropKind::Boolean, &TCustomLabel::Transparent, &TCustomLabel::SetTransparent),
       {"FocusControl", TPropKind::Object,
        [](TObject* o) -> TPropValue { return static_cast<TObject*>(As<TCustomLabel>(o)->FocusControl); },
        [](TObject* o, const TPropValue& v) {
          As<TCustomLabel>(o)->FocusControl = dynamic_cast<TWinControl*>(std::get<TObject*>(v));
        }}},
      {}};
  return info;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  ControlStyle |= csOpaque;
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetText(const std::wstring& s) {
  if (s == Text()) return;
  TGraphicControl::SetText(s);
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool v) {
  FAutoSize = v;
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment a) {
  FAlignment = a;
  Invalidate();
}

void TCustomLabel::SetTransparent(bool v) {
  FTransparent = v;
  if (v) ControlStyle &= ~csOpaque;
  else ControlStyle |= csOpaque;
  Invalidate();
}

UINT TCustomLabel::DrawFlags() const {
  UINT f = DT_EXPANDTABS | DT_SINGLELINE;
  if (!ShowAccelChar) f |= DT_NOPREFIX;
  if (FAlignment == taRightJustify) f |= DT_RIGHT;
  else if (FAlignment == taCenter) f |= DT_CENTER;
  return f;
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || (ComponentState() & csReading)) return;
  std::wstring text = Text();
  TWindowDC dc(nullptr);
  TSelectObject sel(dc, Font()->Handle());
  RECT r{0, 0, 0, 0};
  std::wstring measured = text.empty() ? L" " : text;
  DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &r, DrawFlags() | DT_CALCRECT);
  int left = FAlignment == taRightJustify ? Left() + Width() - r.right : Left();
  SetBounds(left, Top(), r.right, r.bottom);
}

void DrawCaptionText(HDC dc, const std::wstring& text, const RECT& rect, UINT flags, bool enabled, TColor color) {
  RECT r = rect;
  if (!enabled) {
    RECT emboss = r;
    OffsetRect(&emboss, 1, 1);
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &emboss, flags);
    color = clBtnShadow;
  }
  SetTextColor(dc, ColorToRGB(color));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

void TCustomLabel::Paint() {
  HDC dc = PaintDC();
  RECT r{0, 0, Width(), Height()};
  if (!FTransparent) {
    TBrushHandle back(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, back);
  }
  std::wstring text = Text();
  TSelectObject sel(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  DrawCaptionText(dc, text, r, DrawFlags(), Enabled(), Font()->Color());
}

void TCustomLabel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_FONTCHANGED:
      AdjustBounds();
      Invalidate();
      m.Result = 0;
      return;
    case CM_DIALOGCHAR:
      if (FocusControl && ShowAccelChar && Enabled() && IsAccel(static_cast<wchar_t>(m.WParam)) &&
          FocusControl->CanFocus()) {
        FocusControl->SetFocus();
        m.Result = 1;
        return;
      }
      m.Result = 0;
      return;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

FW_DEFINE_CREATABLE_CLASS(TLabel, TCustomLabel)

// ---------------------------------------------------------------------------
// TBoundLabel / TLabeledEdit
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TBoundLabel, TCustomLabel)

TBoundLabel::TBoundLabel(TLabeledEdit* edit) : TCustomLabel(edit), FEdit(edit) {
  SetName(L"SubLabel");
  FocusControl = edit;
}

void TBoundLabel::AdjustBounds() {
  TCustomLabel::AdjustBounds();
  if (FEdit) FEdit->PlaceLabel();
}

const TClassInfo& TLabeledEdit::StaticClassInfo() {
  static const TClassInfo info{
      "TLabeledEdit",
      &TCustomEdit::StaticClassInfo(),
      &NewComponent<TLabeledEdit>,
      {SubObject("EditLabel", &TLabeledEdit::EditLabel),
       Prop("LabelPosition", TPropKind::Enumeration, &TLabeledEdit::LabelPosition, &TLabeledEdit::SetLabelPosition,
            LabelPositionNames),
       Prop("LabelSpacing", TPropKind::Integer, &TLabeledEdit::LabelSpacing, &TLabeledEdit::SetLabelSpacing)},
      {}};
  return info;
}

TLabeledEdit::TLabeledEdit(TComponent* owner) : TCustomEdit(owner) {
  FEditLabel = new TBoundLabel(this);
  FreeNotification(FEditLabel);
}

TLabeledEdit::~TLabeledEdit() {
  if (TBoundLabel* l = std::exchange(FEditLabel, nullptr)) delete l;
}

void TLabeledEdit::Notification(TComponent* c, TOperation op) {
  TCustomEdit::Notification(c, op);
  if (op == TOperation::opRemove && c == FEditLabel) FEditLabel = nullptr;
}

void TLabeledEdit::SetLabelPosition(TLabelPosition p) {
  FLabelPosition = p;
  PlaceLabel();
}

void TLabeledEdit::SetLabelSpacing(int v) {
  FLabelSpacing = v;
  PlaceLabel();
}

void TLabeledEdit::SetParent(TWinControl* parent) {
  TCustomEdit::SetParent(parent);
  if (FEditLabel) {
    FEditLabel->SetParent(parent);
    PlaceLabel();
  }
}

void TLabeledEdit::BoundsChanged() {
  TCustomEdit::BoundsChanged();
  PlaceLabel();
}

void TLabeledEdit::SetVisible(bool v) {
  TCustomEdit::SetVisible(v);
  if (FEditLabel) FEditLabel->SetVisible(v);
}

void TLabeledEdit::SetEnabled(bool v) {
  TCustomEdit::SetEnabled(v);
  if (FEditLabel) FEditLabel->SetEnabled(v);
}

void TLabeledEdit::PlaceLabel() {
  if (!FEditLabel || FPlacing) return;
  FPlacing = true;
  int lw = FEditLabel->Width(), lh = FEditLabel->Height();
  int x = Left(), y = Top();
  switch (FLabelPosition) {
    case lpAbove: y = Top() - lh - FLabelSpacing; break;
    case lpBelow: y = Top() + Height() + FLabelSpacing; break;
    case lpLeft:
      x = Left() - lw - FLabelSpacing;
      y = Top() + (Height() - lh) / 2;
      break;
    case lpRight:
      x = Left() + Width() + FLabelSpacing;
      y = Top() + (Height() - lh) / 2;
      break;
  }
  FEditLabel->SetBounds(x, y, lw, lh);
  FPlacing = false;
}

// ---------------------------------------------------------------------------
// TButtonControl / TButton
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TButtonControl, TWinControl)

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  // The BUTTON window reports its own clicks (BN_CLICKED); no click from raw mouse messages.
  ControlStyle &= ~csClickEvents;
}

const TClassInfo& TButton::StaticClassInfo() {
  static const TClassInfo info{
      "TButton",
      &TButtonControl::StaticClassInfo(),
      &NewComponent<TButton>,
      {Prop("Default", TPropKind::Boolean, &TButton::Default, &TButton::SetDefault),
       Prop("Cancel", TPropKind::Boolean, &TButton::Cancel, &TButton::SetCancel),
       Prop("ModalResult", TPropKind::Integer, &TButton::ModalResult, &TButton::SetModalResult),
       MethodProp<TButton, &TButton::OnClick>("OnClick")},
      {}};
  return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.WinClassName = L"BUTTON";
  p.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
  FDefault = v;
  if (HandleAllocated())
    SendMessageW(HandleIfAllocated(), BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (FModalResult != 0)
    if (TCustomForm* f = GetParentForm()) f->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) {
        Click();
        m.Result = 0;
        return;
      }
      break;
    case CM_DIALOGKEY: {
      // Enter: the focused button, else the default one unless another button has the focus.
      // Escape: the cancel button.
      auto* focused = FindWindowControl(GetFocus());
      bool enter = m.WParam == VK_RETURN &&
                   (focused == this || (FDefault && !dynamic_cast<TButtonControl*>(focused)));
      bool escape = m.WParam == VK_ESCAPE && FCancel;
      if ((enter || escape) && Showing() && Enabled()) {
        Click();
        m.Result = 1;
        return;
      }
      m.Result = 0;
      return;
    }
    default:
      break;
  }
  TButtonControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TCustomGroupBox
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TCustomGroupBox, TCustomControl)

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  ControlStyle |= csAcceptsControls;
  ControlStyle &= ~csClickEvents;
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::SetText(const std::wstring& s) {
  TCustomControl::SetText(s);
  if (HandleAllocated()) InvalidateRect(HandleIfAllocated(), nullptr, TRUE);
}

int TCustomGroupBox::CaptionHeight() { return FontTextHeight(Font()); }

void TCustomGroupBox::AlignControls(RECT& rect) {
  rect.top += CaptionHeight();
  InflateRect(&rect, -2, -2);
  rect.top = std::min(rect.top, rect.bottom);
  TCustomControl::AlignControls(rect);
}

void TCustomGroupBox::Paint() {
  HDC dc = PaintDC();
  RECT client{0, 0, ClientWidth(), ClientHeight()};
  TSelectObject sel(dc, Font()->Handle());
  SIZE th{0, 0};
  GetTextExtentPoint32W(dc, L"0", 1, &th);
  RECT frame = client;
  frame.top = th.cy / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  std::wstring text = Text();
  if (text.empty()) return;
  RECT tr{8, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE | DT_CALCRECT);
  tr.right = std::min<LONG>(tr.right + 2, client.right - 8);
  tr.left = 8 - 1;
  TBrushHandle back(CreateSolidBrush(ColorToRGB(Color())));
  FillRect(dc, &tr, back);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  tr.left = 8;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE);
}

void TCustomGroupBox::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR && IsAccel(static_cast<wchar_t>(m.WParam)) && Enabled()) {
    // The group's accelerator focuses its first focusable control.
    for (TWinControl* c : TabList())
      if (c->TabStop() && c->CanFocus()) {
        c->SetFocus();
        m.Result = 1;
        return;
      }
  }
  TCustomControl::WndProc(m);
}

FW_DEFINE_CREATABLE_CLASS(TGroupBox, TCustomGroupBox)

// ---------------------------------------------------------------------------
// TGroupButton
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TGroupButton, TButtonControl)

TGroupButton::TGroupButton(TCustomRadioGroup* group) : TButtonControl(group), FGroup(group) {
  SetTabStop(false);
}

void TGroupButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.WinClassName = L"BUTTON";
  p.Style |= BS_RADIOBUTTON;
}

void TGroupButton::CreateHandleDone() {
  SendMessageW(HandleIfAllocated(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TGroupButton::SetChecked(bool v) {
  FChecked = v;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TGroupButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) {
        FGroup->ButtonChosen(this);
        m.Result = 0;
        return;
      }
      break;
    case CN_KEYDOWN:
      // Arrow keys move the selection within the group, as in a dialog's radio group.
      if (m.WParam == VK_UP || m.WParam == VK_LEFT || m.WParam == VK_DOWN || m.WParam == VK_RIGHT) {
        FGroup->MoveSelection(this, m.WParam == VK_DOWN || m.WParam == VK_RIGHT ? 1 : -1);
        m.Result = 1;
        return;
      }
      break;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<wchar_t>(m.WParam)) && CanFocus()) {
        SetFocus();
        FGroup->ButtonChosen(this);
        m.Result = 1;
        return;
      }
      m.Result = 0;
      return;
    default:
      break;
  }
  TButtonControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TCustomRadioGroup
// ---------------------------------------------------------------------------

const TClassInfo& TCustomRadioGroup::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomRadioGroup",
      &TCustomGroupBox::StaticClassInfo(),
      {},
      {SubObject("Items", &TCustomRadioGroup::Items),
       Prop("ItemIndex", TPropKind::Integer, &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex),
       Prop("Columns", TPropKind::Integer, &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns),
       MethodProp<TCustomRadioGroup, &TCustomRadioGroup::OnClick>("OnClick")},
      {}};
  return info;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {
  FItems.OnListChanged = TNotifyEvent::Of<&TCustomRadioGroup::ItemsChanged>(this);
}

TCustomRadioGroup::~TCustomRadioGroup() {
  SetDestroying();
  FItems.OnListChanged.Clear();
  std::vector<TGroupButton*> buttons;
  buttons.swap(FButtons);
  for (TGroupButton* b : buttons) delete b;
}

void TCustomRadioGroup::Notification(TComponent* c, TOperation op) {
  TCustomGroupBox::Notification(c, op);
  if (op == TOperation::opRemove) FButtons.erase(std::remove(FButtons.begin(), FButtons.end(), c), FButtons.end());
}

void TCustomRadioGroup::ItemsChanged(TObject*) {
  if (ComponentState() & csReading) return;  // Loaded builds the buttons once
  UpdateButtons();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  size_t n = static_cast<size_t>(FItems.Count());
  while (FButtons.size() > n) {
    TGroupButton* b = FButtons.back();
    FButtons.pop_back();
    delete b;
  }
  while (FButtons.size() < n) {
    auto* b = new TGroupButton(this);
    FButtons.push_back(b);
    b->SetParent(this);
  }
  for (size_t i = 0; i < n; ++i) FButtons[i]->SetCaption(FItems[static_cast<int>(i)]);
  SetItemIndex(FItemIndex);
  ArrangeButtons();
}

void TCustomRadioGroup::SetItemIndex(int i) {
  if (ComponentState() & csReading) {
    FItemIndex = i;  // the items may follow in the stored form
    return;
  }
  i = std::clamp(i, -1, ButtonCount() - 1);
  FItemIndex = i;
  for (int k = 0; k < ButtonCount(); ++k) {
    FButtons[static_cast<size_t>(k)]->SetChecked(k == i);
    // Only the selected button (or the first one) is a tab stop; arrows move within the group.
    FButtons[static_cast<size_t>(k)]->SetTabStop(k == std::max(i, 0));
  }
}

void TCustomRadioGroup::SetColumns(int n) {
  FColumns = std::clamp(n, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::ButtonChosen(TGroupButton* button) {
  auto it = std::find(FButtons.begin(), FButtons.end(), button);
  if (it == FButtons.end()) return;
  int i = static_cast<int>(it - FButtons.begin());
  if (i == FItemIndex) {
    button->SetChecked(true);  // a click on the selected button keeps it selected
    return;
  }
  SetItemIndex(i);
  Click();
}

void TCustomRadioGroup::MoveSelection(TGroupButton* from, int delta) {
  int n = ButtonCount();
  auto it = std::find(FButtons.begin(), FButtons.end(), from);
  if (n == 0 || it == FButtons.end()) return;
  int i = static_cast<int>(it - FButtons.begin());
  TGroupButton* next = FButtons[static_cast<size_t>(((i + delta) % n + n) % n)];
  if (next->CanFocus()) next->SetFocus();
  ButtonChosen(next);
}

void TCustomRadioGroup::ArrangeButtons() {
  int n = ButtonCount();
  if (n == 0) return;
  int perColumn = (n + FColumns - 1) / FColumns;
  int buttonWidth = (Width() - 10) / FColumns;
  int th = CaptionHeight();
  int space = Height() - th - 5;
  int buttonHeight = std::max(space / perColumn, 1);
  int topMargin = th + 1 + (space % perColumn) / 2;
  for (int i = 0; i < n; ++i)
    FButtons[static_cast<size_t>(i)]->SetBounds((i / perColumn) * buttonWidth + 8,
                                                (i % perColumn) * buttonHeight + topMargin, buttonWidth,
                                                buttonHeight);
}

void TCustomRadioGroup::BoundsChanged() {
  TCustomGroupBox::BoundsChanged();
  ArrangeButtons();
}

void TCustomRadioGroup::WndProc(TMessage& m) {
  if (m.Msg == CM_FONTCHANGED) {
    TCustomGroupBox::WndProc(m);
    ArrangeButtons();
    return;
  }
  if (m.Msg == CM_DIALOGCHAR && IsAccel(static_cast<wchar_t>(m.WParam)) && Enabled()) {
    // The group's accelerator focuses the selected button.
    TGroupButton* b = FItemIndex >= 0 ? Buttons(FItemIndex) : (ButtonCount() ? Buttons(0) : nullptr);
    if (b && b->CanFocus()) {
      b->SetFocus();
      m.Result = 1;
      return;
    }
  }
  TCustomGroupBox::WndProc(m);
}

FW_DEFINE_CREATABLE_CLASS(TRadioGroup, TCustomRadioGroup)

// ---------------------------------------------------------------------------
// TCustomPanel
// ---------------------------------------------------------------------------

const TClassInfo& TCustomPanel::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomPanel",
      &TCustomControl::StaticClassInfo(),
      {},
      {Prop("BevelOuter", TPropKind::Enumeration, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, BevelNames),
       Prop("BevelInner", TPropKind::Enumeration, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, BevelNames),
       Prop("BevelWidth", TPropKind::Integer, &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth),
       Prop("Alignment", TPropKind::Enumeration, &TCustomPanel::Alignment, &TCustomPanel::SetAlignment,
            AlignmentNames),
       MethodProp<TCustomPanel, &TCustomPanel::OnClick>("OnClick")},
      {}};
  return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  ControlStyle |= csAcceptsControls | csClickEvents;
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelOuter(TBevelCut b) {
  FBevelOuter = b;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut b) {
  FBevelInner = b;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int w) {
  FBevelWidth = std::max(w, 1);
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment a) {
  FAlignment = a;
  Invalidate();
}

void TCustomPanel::SetText(const std::wstring& s) {
  TCustomControl::SetText(s);
  if (HandleAllocated()) InvalidateRect(HandleIfAllocated(), nullptr, TRUE);
}

int TCustomPanel::BorderInset() const {
  return (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0);
}

void TCustomPanel::AlignControls(RECT& rect) {
  InflateRect(&rect, -BorderInset(), -BorderInset());
  TCustomControl::AlignControls(rect);
}

void TCustomPanel::Paint() {
  HDC dc = PaintDC();
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    for (int i = 0; i < FBevelWidth; ++i) {
      if (cut == bvSpace) InflateRect(&r, -1, -1);
      else DrawEdge(dc, &r, cut == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
  };
  bevel(FBevelOuter);
  bevel(FBevelInner);
  std::wstring text = Text();
  if (text.empty()) return;
  TSelectObject sel(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  flags |= FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

FW_DEFINE_CREATABLE_CLASS(TPanel, TCustomPanel)

void RegisterStdControls() {
  for (const TClassInfo* c : {&TEdit::StaticClassInfo(), &TMemo::StaticClassInfo(), &TLabel::StaticClassInfo(),
                              &TLabeledEdit::StaticClassInfo(), &TButton::StaticClassInfo(),
                              &TGroupBox::StaticClassInfo(), &TRadioGroup::StaticClassInfo(),
                              &TPanel::StaticClassInfo()})
    RegisterClass(c);
}

}  // namespace fw
