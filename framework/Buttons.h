// Buttons with more than a caption.
//   TSpeedButton - a flat button without a window of its own, painted and clicked through its parent
//   TBitBtn      - a push button that draws a glyph beside its caption (Glyph, Layout, Margin,
//                  Spacing, NumGlyphs) and takes a standard meaning from Kind
#pragma once
#include <windows.h>

#include <memory>

#include "StdCtrls.h"

namespace fw {

class TSpeedButton : public TGraphicControl {
  FW_DECLARE_CLASS()
public:
  explicit TSpeedButton(TComponent* owner);

  // Flat: the face shows its edge only while the mouse is over it or it is pressed.
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  // True while the left button went down on it and the mouse is still inside.
  bool Pressed() const { return FPressed; }
  void SetText(const std::wstring& s) override;
  void WndProc(TMessage& m) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  void SetPressed(bool v);
  bool FFlat = false;
  bool FPressed = false;
  bool FTracking = false;
};

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using enum TButtonLayout;
enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
using enum TBitBtnKind;

// A BUTTON window the control draws itself (owner-drawn): the system's push-button face, the
// glyph and the caption. The glyph strip holds NumGlyphs pictures side by side (normal,
// disabled, pressed); its lower-left pixel is the transparent colour. Margin -1 centres glyph
// and caption together; Spacing is the gap between them.
class TBitBtn : public TButton {
  FW_DECLARE_CLASS()
public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;
  TBitmap* Glyph() const { return FGlyph.get(); }
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout v);
  int Margin() const { return FMargin; }
  void SetMargin(int v);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int v);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int v);
  // A kind other than bkCustom gives the button the modal result of that answer.
  TBitBtnKind Kind() const { return FKind; }
  void SetKind(TBitBtnKind k);
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;

private:
  void GlyphChanged(TObject*);
  void DrawItem(const DRAWITEMSTRUCT& d);
  std::unique_ptr<TBitmap> FGlyph;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  int FNumGlyphs = 1;
  TBitBtnKind FKind = bkCustom;
  bool FShowsDefault = false;
};

// Registers the classes of this unit with the class registry.
void RegisterButtons();

}  // namespace fw
