// Speed button: face, caption and pressed state drawn on the parent; click on release inside.
// Bit button: an owner-drawn push button with a glyph placed beside its caption.
#include "Buttons.h"

#include "Forms.h"
#include "PropTables.h"

namespace fw {

const TClassInfo& TSpeedButton::StaticClassInfo() {
  static const TClassInfo info{
      "TSpeedButton",
      &TGraphicControl::StaticClassInfo(),
      &NewComponent<TSpeedButton>,
      {props::Prop("Flat", TPropKind::Boolean, &TSpeedButton::Flat, &TSpeedButton::SetFlat),
       MethodProp<TSpeedButton, &TSpeedButton::OnClick>("OnClick")},
      {}};
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  ControlStyle |= csCaptureMouse | csClickEvents | csOpaque;
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetFlat(bool v) {
  FFlat = v;
  Invalidate();
}

void TSpeedButton::SetText(const std::wstring& s) {
  TGraphicControl::SetText(s);
  Invalidate();
}

void TSpeedButton::SetPressed(bool v) {
  if (v == FPressed) return;
  FPressed = v;
  Invalidate();
  Update();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && Enabled()) {
    FTracking = true;
    SetPressed(true);
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  // While the button is held, the face follows whether the mouse is still inside.
  if (FTracking) SetPressed(x >= 0 && y >= 0 && x < Width() && y < Height());
  TGraphicControl::MouseMove(shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    FTracking = false;
    SetPressed(false);
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TGraphicControl::WndProc(m);
      if (FFlat) Invalidate();
      return;
    case CM_DIALOGCHAR:
      // Alt + the caption's accelerator clicks the button.
      if (Enabled() && Visible() && IsAccel(static_cast<wchar_t>(m.WParam))) {
        Click();
        m.Result = 1;
      } else {
        m.Result = 0;
      }
      return;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
  HDC dc = PaintDC();
  RECT r{0, 0, Width(), Height()};
  TBrushHandle face(CreateSolidBrush(ColorToRGB(clBtnFace)));
  FillRect(dc, &r, face);
  if (FPressed) DrawEdge(dc, &r, FFlat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
  else if (!FFlat || MouseInControl()) DrawEdge(dc, &r, FFlat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
  std::wstring text = Text();
  if (text.empty()) return;
  if (FPressed) OffsetRect(&r, 1, 1);  // the caption sinks with the face
  TSelectObject font(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  DrawCaptionText(dc, text, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER, Enabled(), Font()->Color());
}

// ---------------------------------------------------------------------------
// TBitBtn
// ---------------------------------------------------------------------------

namespace {
const std::vector<std::string> LayoutNames{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};
const std::vector<std::string> KindNames{"bkCustom", "bkOK",   "bkCancel", "bkHelp",   "bkYes", "bkNo",
                                         "bkClose",  "bkAbort", "bkRetry", "bkIgnore", "bkAll"};
}  // namespace

const TClassInfo& TBitBtn::StaticClassInfo() {
  static const TClassInfo info{
      "TBitBtn",
      &TButton::StaticClassInfo(),
      &NewComponent<TBitBtn>,
      {props::SubObject("Glyph", &TBitBtn::Glyph),
       props::Prop("Layout", TPropKind::Enumeration, &TBitBtn::Layout, &TBitBtn::SetLayout, LayoutNames),
       props::Prop("Margin", TPropKind::Integer, &TBitBtn::Margin, &TBitBtn::SetMargin),
       props::Prop("Spacing", TPropKind::Integer, &TBitBtn::Spacing, &TBitBtn::SetSpacing),
       props::Prop("NumGlyphs", TPropKind::Integer, &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs),
       props::Prop("Kind", TPropKind::Enumeration, &TBitBtn::Kind, &TBitBtn::SetKind, KindNames)},
      {}};
  return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->OnChange = TNotifyEvent::Of<&TBitBtn::GlyphChanged>(this);
}

TBitBtn::~TBitBtn() { FGlyph->OnChange.Clear(); }

void TBitBtn::GlyphChanged(TObject*) { Invalidate(); }

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  FShowsDefault = (p.Style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  p.Style = (p.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
}

void TBitBtn::SetLayout(TButtonLayout v) {
  FLayout = v;
  Invalidate();
}

void TBitBtn::SetMargin(int v) {
  FMargin = std::max(v, -1);
  Invalidate();
}

void TBitBtn::SetSpacing(int v) {
  FSpacing = std::max(v, 0);
  Invalidate();
}

void TBitBtn::SetNumGlyphs(int v) {
  FNumGlyphs = std::clamp(v, 1, 4);
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind k) {
  FKind = k;
  static constexpr TModalResult results[] = {mrNone, mrOk, mrCancel, mrNone, mrYes, mrNo,
                                             mrClose, mrAbort, mrRetry, mrIgnore, mrNone};
  if (k != bkCustom) SetModalResult(results[static_cast<int>(k)]);
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case BM_SETSTYLE:
      // The dialog manager and Default switch the push-button type; the window stays owner-drawn
      // and shows the default frame itself.
      FShowsDefault = (m.WParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
      m.WParam = (m.WParam & ~BS_TYPEMASK) | BS_OWNERDRAW;
      break;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a quick second press as a double click, not as a click.
      m.Msg = WM_LBUTTONDOWN;
      break;
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    default:
      break;
  }
  TButton::WndProc(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& d) {
  HDC dc = d.hDC;
  RECT r = d.rcItem;
  const bool pressed = d.itemState & ODS_SELECTED;
  const bool disabled = d.itemState & ODS_DISABLED;
  const bool focused = d.itemState & ODS_FOCUS;
  if (FShowsDefault || focused) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const int w = r.right - r.left, h = r.bottom - r.top;

  // Sizes of the glyph and of the caption.
  SIZE g{0, 0};
  if (!FGlyph->Empty()) g = {FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
  const std::wstring text = Text();
  TSelectObject font(dc, Font()->Handle());
  RECT tr{0, 0, 0, 0};
  if (!text.empty()) DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE | DT_CALCRECT);
  const SIZE t{tr.right, tr.bottom};
  const int spacing = g.cx == 0 || t.cx == 0 ? 0 : FSpacing;

  // Places along the layout's axis; the other axis centred.
  const bool across = FLayout == blGlyphLeft || FLayout == blGlyphRight;
  const int room = across ? w : h;
  const int gAxis = across ? g.cx : g.cy, tAxis = across ? t.cx : t.cy;
  const int margin = FMargin >= 0 ? FMargin : (room - gAxis - spacing - tAxis) / 2;
  int gPos = 0, tPos = 0;
  if (FLayout == blGlyphLeft || FLayout == blGlyphTop) {
    gPos = margin;
    tPos = margin + gAxis + spacing;
  } else {
    gPos = room - margin - gAxis;
    tPos = gPos - spacing - tAxis;
  }
  POINT gp = across ? POINT{gPos, (h - g.cy + 1) / 2} : POINT{(w - g.cx + 1) / 2, gPos};
  POINT tp = across ? POINT{tPos, (h - t.cy + 1) / 2} : POINT{(w - t.cx + 1) / 2, tPos};
  const int shift = pressed ? 1 : 0;

  if (g.cx > 0) {
    // Strip order: normal, disabled, pressed.
    int index = disabled ? 1 : pressed ? 2 : 0;
    if (index >= FNumGlyphs) index = 0;
    TBitmap frame(g.cx, g.cy);
    frame.Canvas().CopyRect({0, 0, g.cx, g.cy}, FGlyph->Canvas(), {index * g.cx, 0, (index + 1) * g.cx, g.cy});
    frame.Transparent = true;
    frame.TransparentColor = FGlyph->Canvas().Pixel(0, FGlyph->Height() - 1);
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Draw(r.left + gp.x + shift, r.top + gp.y + shift, frame);
    canvas.SetHandle(nullptr);
  }
  if (!text.empty()) {
    RECT place{r.left + tp.x + shift, r.top + tp.y + shift, r.left + tp.x + shift + t.cx, r.top + tp.y + shift + t.cy};
    SetBkMode(dc, TRANSPARENT);
    DrawCaptionText(dc, text, place, DT_SINGLELINE, !disabled, Font()->Color());
    if (focused && !(d.itemState & ODS_NOFOCUSRECT)) {
      RECT fr = r;
      InflateRect(&fr, -3, -3);
      DrawFocusRect(dc, &fr);
    }
  }
}

void RegisterButtons() {
  RegisterClass(&TSpeedButton::StaticClassInfo());
  RegisterClass(&TBitBtn::StaticClassInfo());
}

}  // namespace fw
