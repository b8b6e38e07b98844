// Check boxes, radio buttons, group boxes, panels and bare container windows.
#include "skin/controls/SkinBoxes.h"

#include <algorithm>
#include <cctype>

#include "GdiHandles.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"

namespace skin {

namespace {

int Height(const RECT& r) { return r.bottom - r.top; }

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

constexpr UINT kPrint = WM_PRINT;             // 0x317
constexpr UINT kPrintClient = WM_PRINTCLIENT;  // 0x318
constexpr UINT kDataChange = 0xB0D0;           // a repaint request of data-aware controls
constexpr fw::TColor kShadow = 0xFF000010;

// 12-frame check strips and 8-frame radio strips keep their frames in another order.
int Renumber(int frame) { return frame == 2 ? 5 : frame == 3 ? 4 : frame == 4 ? 8 : frame; }

}  // namespace

int CheckFrame(bool checked, bool indeterminate, bool disabled, int count) {
  if (count <= 0) return 0;
  int frame = checked ? 2 : 1;
  if (disabled) frame += 2;
  if (indeterminate) frame = 4;
  if (count == 12) frame = indeterminate ? (disabled ? 12 : 9) : Renumber(frame);
  return std::clamp(frame, 1, count);
}

int RadioFrame(bool checked, bool disabled, int count) {
  if (count <= 0) return 0;
  int frame = (checked ? 2 : 1) + (disabled ? 2 : 0);
  if (count == 8) frame = Renumber(frame);
  return std::clamp(frame, 1, count);
}

// ---------------------------------------------------------------------------
// Check boxes and radio buttons
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinMarkButton, TSkinControl)

TSkinMarkButton::TSkinMarkButton(fw::TComponent* owner) : TSkinControl(owner) {}

fw::TBitmap* TSkinMarkButton::Strip(int& count) const {
  TDataSkinButton* e = FSkinData && !FSkinData->NoSkin() ? FSkinData->Buttons() : nullptr;
  if (!e) return nullptr;
  fw::TBitmap& strip = IsRadio() ? e->RadioBitmap : e->CheckBitmap;
  count = IsRadio() ? e->RadioFrameCount : e->CheckFrameCount;
  return strip.Empty() || count <= 0 ? nullptr : &strip;
}

void TSkinMarkButton::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  TSkinControl::InitControl(form, skinData, canvas, recolor);
  FKind = 0;
  if (!FControl) return;
  int count = 0;
  if (Strip(count)) FKind = 1;
  FTransparentFace = FControl->Tag == 5555 || (skinData && (skinData->Options & SetOf(xoTransparent)));
}

bool TSkinMarkButton::BeforeMessage(fw::TMessage& m) {
  const bool pass = TSkinControl::BeforeMessage(m);
  switch (m.Msg) {
    case WM_PAINT:
    case kPrint:
    case kPrintClient:
      if (FKind != 1) return pass;
      PaintNow(m);
      return false;
    case WM_ERASEBKGND:
      if (!FTransparentFace) return pass;
      EraseBackground(m);
      return false;
    case WM_ENABLE:
      if (!m.WParam) FState = 0;
      return pass;
    case WM_CANCELMODE:
      FState = 0;
      return pass;
    default:
      return pass;
  }
}

void TSkinMarkButton::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case fw::CM_EXIT:
    case kDataChange:
      Repaint();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinMarkButton::DrawControl(HDC dc, const RECT& rect) {
  int count = 0;
  fw::TBitmap* strip = Strip(count);
  if (!strip) {
    // Nothing to draw the mark from: the window paints itself from now on.
    FKind = 0;
    return;
  }
  if (!dc) return;
  const int frameW = strip->Width() / count, frameH = strip->Height();
  const int frame = MarkFrame(count);
  const LONG style = WindowLong(GWL_STYLE);
  const bool rtl = GetWindowLongW(FHandle, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL);
  RECT mark{rect.left, rect.top + (Height(rect) - frameH) / 2, 0, 0};
  RECT text = rect;
  UINT flags = 0;
  if (style & BS_RIGHTBUTTON) {
    const int inset = IsRadio() ? 1 : 0;  // the dot one pixel in from the right edge
    mark.left = rect.right - frameW - inset;
    text.right = mark.left - 2;
    flags = rtl ? (DT_RTLREADING | DT_RIGHT) : 0;
  } else {
    text.left = rect.left + frameW + 2;
    flags = rtl ? DT_RTLREADING : 0;
  }
  mark.right = mark.left + frameW;
  mark.bottom = mark.top + frameH;

  if (FKind == 1 && !FTransparentFace) FillFace(dc, rect);
  skin::DrawKeyedFrame(dc, mark, count, frame, *strip);
  if (FKind == 0) return;

  FEnabled = !(style & WS_DISABLED);
  FFocused = GetFocus() == FHandle;
  FCaption = GetWindowTextWide(FHandle);
  if (FControl) FCaption = FControl->Caption();
  HFONT font = FControl ? FControl->Font()->Handle() : reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
  const fw::TColor colour = !FEnabled ? kShadow : FControl ? FControl->Font()->Color() : fw::clBtnText;
  fw::TSelectObject selected(dc, font);
  const COLORREF oldText = SetTextColor(dc, fw::ColorToRGB(colour));
  const COLORREF oldBack = SetBkColor(dc, fw::ColorToRGB(FaceColour()));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT measured = text;
  DrawTextWide(dc, FCaption, measured, flags | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
  OffsetRect(&text, 0, (Height(text) - Height(measured)) / 2);
  if (FFocused && !FCaption.empty()) DrawFocusAround(dc, flags | DT_EXPANDTABS | DT_WORDBREAK, text);
  DrawTextWide(dc, FCaption, text, flags | DT_EXPANDTABS | DT_WORDBREAK);
  SetBkMode(dc, oldMode);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
}

FW_DEFINE_CLASS(TSkinCheckBox, TSkinMarkButton)

TSkinCheckBox::TSkinCheckBox(fw::TComponent* owner) : TSkinMarkButton(owner) {}

void TSkinCheckBox::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  FCheckState = 0;
  TSkinMarkButton::InitControl(form, skinData, canvas, recolor);
}

void TSkinCheckBox::AfterMessage(fw::TMessage& m) {
  if (m.Msg == BM_SETCHECK) FCheckState = static_cast<int>(m.WParam) + 1;
  TSkinMarkButton::AfterMessage(m);
}

int TSkinCheckBox::MarkFrame(int count) {
  const LRESULT state = SendMessageW(FHandle, BM_GETSTATE, 0, 0);
  bool checked = state & BST_CHECKED;
  bool indeterminate = state & BST_INDETERMINATE;
  if (FControl) {
    if (HasPropByName(FControl, "State")) {
      const std::string id = Lower(GetEnumPropByName(FControl, "State"));
      if (id.find("uncheck") != std::string::npos) checked = indeterminate = false;
      else if (id.find("check") != std::string::npos) checked = true, indeterminate = false;
      else if (id.find("gray") != std::string::npos) indeterminate = true;
    } else if (HasPropByName(FControl, "Checked")) {
      checked = Lower(GetEnumPropByName(FControl, "Checked")) == "true";
    }
    // A data-aware box shows what it was last told.
    if (HasPropByName(FControl, "DataField") && FCheckState != 0) {
      checked = FCheckState == 2;
      indeterminate = FCheckState == 3;
    }
    if (HasPropByName(FControl, "DataBinding")) checked = indeterminate = false;
  }
  return CheckFrame(checked, indeterminate, WindowLong(GWL_STYLE) & WS_DISABLED, count);
}

FW_DEFINE_CLASS(TSkinRadioButton, TSkinMarkButton)

TSkinRadioButton::TSkinRadioButton(fw::TComponent* owner) : TSkinMarkButton(owner) {}

int TSkinRadioButton::MarkFrame(int count) {
  bool checked = SendMessageW(FHandle, BM_GETCHECK, 0, 0) & BST_CHECKED;
  if (FControl && HasPropByName(FControl, "Checked"))
    checked = Lower(GetEnumPropByName(FControl, "Checked")) == "true";
  return RadioFrame(checked, WindowLong(GWL_STYLE) & WS_DISABLED, count);
}

// ---------------------------------------------------------------------------
// Group boxes
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinGroupBox, TSkinControl)

TSkinGroupBox::TSkinGroupBox(fw::TComponent* owner) : TSkinControl(owner) {}

void TSkinGroupBox::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  TSkinControl::InitControl(form, skinData, canvas, recolor);
  FKind = FControl ? 1 : 0;
}

bool TSkinGroupBox::BeforeMessage(fw::TMessage& m) {
  const bool pass = TSkinControl::BeforeMessage(m);
  if (FKind == 0) return pass;
  if (m.Msg == WM_PAINT) {
    PaintNow(m);
    return false;
  }
  // The paint fills the whole face: erasing it first would only show as a flicker.
  if (m.Msg == WM_ERASEBKGND && pass) {
    m.Result = 1;
    return false;
  }
  return pass;
}

void TSkinGroupBox::DrawControl(HDC dc, const RECT& rect) {
  if (!dc || !FSkinData) return;
  FCaption = GetWindowTextWide(FHandle);
  if (FCaption.empty() && FControl) FCaption = FControl->Caption();
  if (FControl) FillFace(dc, rect);
  HFONT font = FControl ? FControl->Font()->Handle() : reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
  fw::TSelectObject selected(dc, font);
  const COLORREF oldText = FControl ? SetTextColor(dc, fw::ColorToRGB(FControl->Font()->Color())) : CLR_INVALID;
  SIZE zero{};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  const int y0 = zero.cy / 2 - 1;
  if (FKind == 0) {
    RECT f{0, y0, rect.right, rect.bottom};
    FrameRect(dc, &f, FSkinData->FaceBrush());
    InflateRect(&f, -1, -1);
    FrameRect(dc, &f, FSkinData->FaceBrush());
  }
  {
    fw::TPenHandle pen(CreatePen(PS_SOLID, 1, fw::ColorToRGB(FSkinData->Colours().ButtonShadowColour)));
    fw::TSelectObject p(dc, pen.Get()), b(dc, GetStockObject(HOLLOW_BRUSH));
    RoundRect(dc, 1, y0, rect.right - 1, rect.bottom - 1, 5, 5);
  }
  // The caption's cell covers the frame line behind it.
  const COLORREF oldBack = SetBkColor(dc, fw::ColorToRGB(FaceColour()));
  const int oldMode = SetBkMode(dc, OPAQUE);
  if (!FCaption.empty()) {
    if (GetWindowLongW(FHandle, GWL_EXSTYLE) & WS_EX_RIGHT) {
      RECT t{rect.left, rect.top, rect.right - 8, rect.bottom};
      DrawTextWide(dc, FCaption, t, TextFlags(DT_RIGHT | DT_EXPANDTABS));
    } else {
      RECT t{rect.left + 8, rect.top, rect.right, rect.bottom};
      DrawTextWide(dc, FCaption, t, DT_EXPANDTABS);
    }
  }
  SetBkMode(dc, oldMode);
  SetBkColor(dc, oldBack);
  if (oldText != CLR_INVALID) SetTextColor(dc, oldText);
  // The paint the skin took is the one in which the group box draws its labels.
  if (FControl && FKind == 1) FControl->PaintControls(dc);
}

// ---------------------------------------------------------------------------
// Panels and bare containers
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinBox, TSkinControl)

TSkinBox::TSkinBox(fw::TComponent* owner) : TSkinControl(owner) {}

void TSkinBox::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  auto* control = dynamic_cast<fw::TWinControl*>(Owner());
  if (FInitialized || !control) return;
  FRecolor = recolor;
  FSkinData = skinData;
  FCanvas = canvas;
  FControl = control;
  FHandle = control->Handle();
  FForm = form;
  RegisterWithForm();
  if (FRecolor) {
    SetParentBackground(true);
    FOldColor = control->Color();
    FOldParentColor = control->ParentColor();
    control->SetColor(FaceColour());
  }
  FInitialized = true;
}

void TSkinBox::RestoreControl() {
  if (FStatus != scKeepColour && FRecolor && FControl) SetParentBackground(false);
  FStatus = scRestored;
}

void TSkinBox::AfterMessage(fw::TMessage&) {}

FW_DEFINE_CLASS(TSkinBoxH, TSkinControl)

TSkinBoxH::TSkinBoxH(fw::TComponent* owner) : TSkinControl(owner) {}

bool TSkinBoxH::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: {
      RECT r{};
      GetWindowRect(FHandle, &r);
      OffsetRect(&r, -r.left, -r.top);
      FillFace(reinterpret_cast<HDC>(m.WParam), r);
      m.Result = 0;
      return false;
    }
    case WM_CTLCOLORSTATIC:
      CallDefault(m);
      if (FSkinData && FSkinData->FaceBrush()) {
        // The static's text cell in the same face colour as its background.
        SetBkColor(reinterpret_cast<HDC>(m.WParam), fw::ColorToRGB(FaceColour()));
        m.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush());
      }
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

}  // namespace skin
