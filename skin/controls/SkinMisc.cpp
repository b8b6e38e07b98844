// The scroll-bar control skin, the size-box skin and the glyph skin of other libraries' check
// boxes and radio buttons.
#include "skin/controls/SkinMisc.h"

#include <cstdint>
#include <string>
#include <vector>

#include "TypInfo.h"
#include "skin/controls/SkinBoxes.h"
#include "skin/controls/SkinScrollbars.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace skin {

// ---------------------------------------------------------------------------
// TSkinScControl
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinScControl, TSkinControl)

TSkinScControl::TSkinScControl(fw::TComponent* owner) : TSkinControl(owner) {}

TSkinScControl::~TSkinScControl() { FreeOverlay(FBar); }

void TSkinScControl::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  if (FInitialized) return;
  TSkinControl::InitControl(form, skinData, canvas, recolor);
  if (!FInitialized || !FControl) return;
  FBar = new TWScrollbar(this);
  FBar->AttachToControl(this, FControl, 2);
  FBar->SetEnabled(FControl->Enabled());
  if (!FControl->Visible()) FBar->HideBar();
}

void TSkinScControl::Notification(fw::TComponent* component, fw::TOperation operation) {
  // The overlay went with its parent window, before this object: nothing of it is touched again.
  if (operation == fw::TOperation::opRemove && component == FBar) FBar = nullptr;
  TSkinControl::Notification(component, operation);
}

void TSkinScControl::RestoreControl() {
  TSkinControl::RestoreControl();
  // The control paints itself again where the overlay lay.
  if (FStatus != scWindowGone) FreeOverlay(FBar);
}

bool TSkinScControl::BeforeMessage(fw::TMessage& m) {
  if (m.Msg == WM_NCDESTROY && FBar) {
    // No overlay is left over a window that is gone (a window made again gets a new skin).
    FBar->HideBar();
    FBar->FTarget = nullptr;
    FBar->FScrollControl = nullptr;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinScControl::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
      if (FBar) FBar->UpdatePosition();
      break;
    // The range, page or position changed, or the control scrolled (either axis): the overlay
    // shows the new thumb.
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_ENABLE_ARROWS:
    case fw::CN_HSCROLL:
    case fw::CN_VSCROLL:
      if (FBar && FBar->FShown) FBar->Invalidate();
      break;
    case fw::CM_VISIBLECHANGED:
      if (FBar) m.WParam ? FBar->UpdatePosition() : FBar->HideBar();
      break;
    case fw::CM_ENABLEDCHANGED:
      if (FBar && FControl) FBar->SetEnabled(FControl->Enabled());
      TSkinControl::AfterMessage(m);
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinScControl::DrawControl(HDC, const RECT&) {
  if (FBar && FBar->FShown) FBar->Invalidate();
}

void TSkinScControl::SkinChanged() {
  if (FBar) FBar->UpdatePosition();  // a skin without a bar image shows the system's bar
  TSkinControl::SkinChanged();
}

// ---------------------------------------------------------------------------
// TSkinSizer
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinSizer, TSkinControl)

TSkinSizer::TSkinSizer(fw::TComponent* owner) : TSkinControl(owner) {}

bool TSkinSizer::IsSizeBox(LONG style) { return (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0; }

void TSkinSizer::DrawControl(HDC dc, const RECT& rect) { FillFace(dc, rect); }

// ---------------------------------------------------------------------------
// TSkinObjImage
// ---------------------------------------------------------------------------

namespace {

// Marks of one strip, by frame number of the skin's strip, side by side.
void ComposeStrip(fw::TBitmap& skinStrip, int count, const std::vector<int>& frames, fw::TBitmap& strip) {
  const int w = skinStrip.Width() / count, h = skinStrip.Height();
  strip.SetSize(0, 0);
  if (w <= 0 || h <= 0 || frames.empty()) return;
  strip.SetSize(w * static_cast<int>(frames.size()), h);
  HDC dc = strip.Canvas().Handle();
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const int x = static_cast<int>(i) * w;
    DrawStripFrame(dc, RECT{x, 0, x + w, h}, skinStrip, false, count, frames[i]);
  }
}

}  // namespace

FW_DEFINE_CLASS(TSkinObjImage, TSkinControl)

TSkinObjImage::TSkinObjImage(fw::TComponent* owner) : TSkinControl(owner) {}

void TSkinObjImage::BuildGlyphs(TSkinData* data, int kind, fw::TBitmap& strip) {
  strip.SetSize(0, 0);
  TDataSkinButton* e = data && !data->NoSkin() ? data->Buttons() : nullptr;
  if (!e) return;
  const bool radio = kind == gkRadio;
  fw::TBitmap& marks = radio ? e->RadioBitmap : e->CheckBitmap;
  const int n = radio ? e->RadioFrameCount : e->CheckFrameCount;
  if (marks.Empty() || n <= 0) return;
  // The frames a check box or radio button skin shows for each state.
  const int unchecked = CheckFrame(false, false, false, n), checked = CheckFrame(true, false, false, n);
  const int grayed = CheckFrame(false, true, false, n);
  std::vector<int> frames;
  if (radio) {
    frames = {RadioFrame(false, false, n), RadioFrame(true, false, n), RadioFrame(false, true, n),
              RadioFrame(true, true, n)};
  } else if (kind == gkPropertiesCheck) {
    // A five-frame strip keeps its indeterminate mark in the last frame.
    const int third = n == 5 ? 5 : grayed;
    frames = {unchecked, checked, third, unchecked, checked, third};
  } else {
    frames = {unchecked, checked, grayed, CheckFrame(false, false, true, n), CheckFrame(true, false, true, n),
              CheckFrame(false, true, true, n)};
  }
  ComposeStrip(marks, n, frames, strip);
  strip.TransparentColor = clSkinKey;
  strip.Transparent = kind != gkPropertiesCheck;
}

fw::TBitmap* TSkinObjImage::GlyphProperty() const {
  if (!FControl) return nullptr;
  fw::TObject* owner = FControl;
  if (FGlyphKind == gkPropertiesCheck)
    owner = GetObjectPropByName(FControl, "Properties", fw::TPersistent::StaticClassInfo());
  const char* name = FGlyphKind == gkPropertiesCheck ? "Glyph" : "CustomGlyphs";
  return dynamic_cast<fw::TBitmap*>(GetObjectPropByName(owner, name, fw::TBitmap::StaticClassInfo()));
}

void TSkinObjImage::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  if (FInitialized) return;
  TSkinControl::InitControl(form, skinData, canvas, recolor);
  if (FInitialized) ApplyGlyphs();
}

void TSkinObjImage::ApplyGlyphs() {
  fw::TBitmap* glyphs = GlyphProperty();
  if (!glyphs) return;
  fw::TBitmap strip;
  BuildGlyphs(FSkinData, FGlyphKind, strip);
  if (strip.Empty()) {
    RestoreGlyphs();  // a skin without marks: the control draws its own again
    return;
  }
  const bool custom = FGlyphKind != gkPropertiesCheck;
  if (!FSaved) {
    FOldGlyphs.Assign(*glyphs);
    if (custom) {
      FOldTransparentColour = fw::GetPropText(FControl, "transparentcolor");
      FOldUseCustomGlyphs = fw::GetPropText(FControl, "UseCustomGlyphs");
    }
    FSaved = true;
  }
  glyphs->Assign(strip);
  if (custom) {
    SetPropByName(FControl, "transparentcolor", std::to_wstring(static_cast<std::int64_t>(strip.TransparentColor)));
    SetPropByName(FControl, "UseCustomGlyphs", L"True");
  }
}

void TSkinObjImage::RestoreControl() {
  TSkinControl::RestoreControl();
  RestoreGlyphs();
}

void TSkinObjImage::RestoreGlyphs() {
  // A control on its way out is not written to.
  if (!FSaved || !FControl || FControl->IsDestroying()) return;
  if (FGlyphKind != gkPropertiesCheck) {
    SetPropByName(FControl, "UseCustomGlyphs", FOldUseCustomGlyphs);
    SetPropByName(FControl, "transparentcolor", FOldTransparentColour);
  }
  if (fw::TBitmap* glyphs = GlyphProperty()) glyphs->Assign(FOldGlyphs);
  FSaved = false;
}

void TSkinObjImage::SkinChanged() {
  if (FStatus == scWindowGone) return;
  ApplyGlyphs();
  TSkinControl::SkinChanged();
}

}  // namespace skin
