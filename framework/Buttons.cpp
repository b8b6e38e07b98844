// Speed button: face, caption and pressed state drawn on the parent; click on release inside.
#include "Buttons.h"

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

void RegisterButtons() { RegisterClass(&TSpeedButton::StaticClassInfo()); }

}  // namespace fw
