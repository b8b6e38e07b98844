// Push buttons drawn wholly from the skin's Buttons element: plain buttons (and bare "button"
// windows), buttons with a glyph or an image-list image, buttons with a drop-down arrow, and
// speed buttons, which have no window of their own and paint on their own canvas.
//
// The Buttons element has five frames: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused. A
// disabled button always shows frame 3, whatever its other state.
#pragma once
#include <string>

#include "Graphics.h"
#include "skin/controls/WinSubClass.h"

namespace skin {

class TDataSkinButton;

enum : int { bfNormal = 1, bfPressed = 2, bfDisabled = 3, bfHot = 4, bfFocused = 5 };

// Where the glyph and the text of a button go.
enum TGlyphLayout : int { glLeft = 0, glRight = 1, glTop = 2, glBottom = 3 };
struct TGlyphPlace {
  POINT Glyph{}, Text{};
};
// Places a glyph of size g and a text of size s on a button of size b. margin and spacing -1
// are automatic; autoMargin forces the automatic margin (a centred bit button); speed buttons
// add one pixel to an automatic margin given with a spacing.
TGlyphPlace LayoutGlyph(SIZE b, SIZE g, SIZE s, int margin, int spacing, TGlyphLayout layout, bool autoMargin,
                        bool speedButton);
// Glyph frame `index` (1 normal, 2 disabled, 3 pressed, 4 down) of a strip of numGlyphs, drawn
// transparently (keyed on the frame's lower-left pixel) at p; the disabled frame in grey.
void DrawGlyph(HDC dc, POINT p, int numGlyphs, int index, fw::TBitmap& glyph);

class TSkinButton : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinButton(fw::TComponent* owner);
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  void InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) override;
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  fw::TBitmap FBuffer;
  bool FMultiLine = false;
  bool FTransparentFace = false;

protected:
  // The usable Buttons element, or null.
  TDataSkinButton* ButtonsElement() const;
  // Frame for the current state: pressed, hot, focused, normal; disabled above all.
  int StateFrame() const;
  // Reads enabled, focused and the caption; returns the state frame.
  int ReadState();
  // Sizes the buffer to r and fills its background.
  HDC PrepareBuffer(const RECT& r);
  // Font and text colour of the buffer for the frame; the previous font is put back by the
  // returned guard's owner through RestoreFont.
  void SelectTextStyle(HDC dc, int frame);
  void RestoreFont(HDC dc);
  // The caption (its first "||" a line break) in rect, and the focus rectangle round it.
  void DrawButtonText(HDC dc, const RECT& rect, UINT alignment);
  bool FocusRectWanted() const;

private:
  HGDIOBJ FOldFont = nullptr;
  HFONT FSelectedFont = nullptr;
};

class TSkinBitButton : public TSkinButton {
  FW_DECLARE_CLASS()
public:
  explicit TSkinBitButton(fw::TComponent* owner);
  void DrawControl(HDC dc, const RECT& rect) override;
  // The published object property holding the glyph as a graphic, when not empty.
  std::string FGlyphProperty;
};

class TSkinMenuButton : public TSkinButton {
  FW_DECLARE_CLASS()
public:
  explicit TSkinMenuButton(fw::TComponent* owner);
  void DrawControl(HDC dc, const RECT& rect) override;
};

class TSkinSpeedButton : public TSkinBitButton {
  FW_DECLARE_CLASS()
public:
  explicit TSkinSpeedButton(fw::TComponent* owner);
  ~TSkinSpeedButton() override;
  // Attaches to the owner speed button (a graphic control: its WindowProc is hooked).
  void InitSpeedButton(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas);
  void RestoreControl() override;
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void PaintControl(HDC dc) override;

  bool FPainting = false;

private:
  void PaintInto(HDC dc);
  void Draw(fw::TCanvas& canvas, const RECT& rect);
  fw::TGraphicControl* Button() const;
};

}  // namespace skin
