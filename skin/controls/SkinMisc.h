// The smaller control skins: a stand-alone scroll-bar control under one skin-drawn overlay,
// bare size boxes filled with the face colour, and the skin's check and radio marks handed to
// check boxes and radio buttons of other libraries that draw custom glyphs themselves.
//
// Classes in this file: TSkinScControl, TSkinSizer, TSkinObjImage.
#pragma once
#include "Graphics.h"
#include "skin/controls/WinSubClass.h"

namespace skin {

class TWScrollbar;

// A scroll-bar control: one overlay (kind 2) lies over it and is drawn from the skin; every press
// on it reaches the control as its own, so the system's scrolling runs unchanged.
class TSkinScControl : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinScControl(fw::TComponent* owner);
  ~TSkinScControl() override;
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  void RestoreControl() override;
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;
  void SkinChanged() override;

  TWScrollbar* FBar = nullptr;

protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;
};

// A bare scroll-bar window of the size-box kind (SBS_SIZEBOX or SBS_SIZEGRIP): the face colour
// over what the system drew. Scroll bars proper are never touched.
class TSkinSizer : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinSizer(fw::TComponent* owner);
  void DrawControl(HDC dc, const RECT& rect) override;
  // Whether a window of class "scrollbar" with this style is a size box.
  static bool IsSizeBox(LONG style);
};

// Glyph kinds of TSkinObjImage.
enum : int { gkCheck = 1, gkRadio = 2, gkPropertiesCheck = 3 };

// Check boxes and radio buttons of other libraries that draw glyphs given to them: the skin's
// marks go into their published glyph properties, and what those held comes back at the end.
//
// Kinds 1 (check box) and 2 (radio button): a strip for the bitmap property "CustomGlyphs", its
// key in "transparentcolor", and "UseCustomGlyphs" True. Strip layout, one mark each from left to
// right: check boxes unchecked, checked, indeterminate, then the same three disabled; radio
// buttons unchecked, checked, then both disabled.
// Kind 3: a strip of six marks for "Properties"."Glyph": unchecked, checked, indeterminate,
// twice over; magenta is its transparent colour, transparency off.
class TSkinObjImage : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinObjImage(fw::TComponent* owner);
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  void RestoreControl() override;
  void SkinChanged() override;

  int FGlyphKind = gkCheck;

  // The strip of marks for a kind from the skin; empty when the skin has no such marks.
  static void BuildGlyphs(TSkinData* data, int kind, fw::TBitmap& strip);

private:
  // The glyph bitmap property this kind writes (nullptr when the control has none).
  fw::TBitmap* GlyphProperty() const;
  void ApplyGlyphs();
  // What the control had before, back in its properties.
  void RestoreGlyphs();
  bool FSaved = false;  // what the control had is kept below
  fw::TBitmap FOldGlyphs;
  bool FOldTransparent = false;
  fw::TColor FOldTransparentColor = fw::clFuchsia;
  std::wstring FOldTransparentColour;  // "transparentcolor" (kinds 1 and 2)
  std::wstring FOldUseCustomGlyphs;
};

}  // namespace skin
