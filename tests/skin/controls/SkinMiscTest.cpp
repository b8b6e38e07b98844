// Glyph check boxes and radio buttons of other libraries (stand-ins with their published glyph
// properties) given the skin's marks and their own glyphs back, and bare size boxes filled with
// the face colour while scroll bars proper stay the system's.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "ControlsFixture.h"
#include "PropTables.h"
#include "StdCtrls.h"
#include "skin/controls/SkinBoxes.h"
#include "skin/controls/SkinMisc.h"

using namespace ctltest;

namespace {

// What the stand-ins draw when they have no glyphs of their own to use.
constexpr std::uint32_t kOwnMark = 0x204060;

// Draws cell `cell` of a strip of `cells` at the left of the control, or its own mark without one.
void PaintMark(fw::TCanvas& canvas, int width, int height, fw::TBitmap* strip, int cells, int cell) {
  HDC dc = canvas.Handle();
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  if (strip && !strip->Empty()) {
    const int w = strip->Width() / cells;
    BitBlt(dc, 0, (height - strip->Height()) / 2, w, strip->Height(), strip->Canvas().Handle(), cell * w, 0, SRCCOPY);
    return;
  }
  const RECT mark{0, (height - kMark) / 2, kMark, (height - kMark) / 2 + kMark};
  HBRUSH own = CreateSolidBrush(RGB(0x20, 0x40, 0x60));
  FillRect(dc, &mark, own);
  DeleteObject(own);
}

// A check box or radio button of the first library: a strip in "CustomGlyphs" drawn while
// "UseCustomGlyphs" is set, its key in "TransparentColor".
class TGlyphBox : public fw::TCustomControl {
  FW_DECLARE_CLASS()
public:
  explicit TGlyphBox(fw::TComponent* owner) : fw::TCustomControl(owner) {
    CustomGlyphs.OnChange = fw::TNotifyEvent::Of<&TGlyphBox::Changed>(this);
  }
  fw::TBitmap CustomGlyphs;
  bool UseCustomGlyphs = false;
  fw::TColor TransparentColor = fw::clOlive;
  bool Checked = false;
  virtual int Cells() const = 0;

protected:
  void Paint() override {
    PaintMark(Canvas(), ClientWidth(), ClientHeight(), UseCustomGlyphs ? &CustomGlyphs : nullptr, Cells(), Checked ? 1 : 0);
  }

private:
  void Changed(fw::TObject*) { Invalidate(); }
};

const fw::TClassInfo& TGlyphBox::StaticClassInfo() {
  static const fw::TClassInfo info{
      "TGlyphBox",
      &fw::TCustomControl::StaticClassInfo(),
      {},
      {{"CustomGlyphs", fw::TPropKind::Object,
        [](fw::TObject* o) -> fw::TPropValue { return static_cast<fw::TObject*>(&static_cast<TGlyphBox*>(o)->CustomGlyphs); },
        nullptr},
       fw::props::Field<&TGlyphBox::UseCustomGlyphs>("UseCustomGlyphs", fw::TPropKind::Boolean),
       fw::props::Field<&TGlyphBox::TransparentColor>("TransparentColor", fw::TPropKind::Integer)},
      {}};
  return info;
}

class TRzCheckBox : public TGlyphBox {
  FW_DECLARE_CLASS()
public:
  using TGlyphBox::TGlyphBox;
  int Cells() const override { return 6; }
};
FW_DEFINE_CLASS(TRzCheckBox, TGlyphBox)

class TRzRadioButton : public TGlyphBox {
  FW_DECLARE_CLASS()
public:
  using TGlyphBox::TGlyphBox;
  int Cells() const override { return 4; }
};
FW_DEFINE_CLASS(TRzRadioButton, TGlyphBox)

// The second library's check box: its glyph strip in "Properties"."Glyph".
class TcxCheckBoxProperties : public fw::TPersistent {
  FW_DECLARE_CLASS()
public:
  fw::TBitmap Glyph;
};
const fw::TClassInfo& TcxCheckBoxProperties::StaticClassInfo() {
  static const fw::TClassInfo info{
      "TcxCheckBoxProperties",
      &fw::TPersistent::StaticClassInfo(),
      {},
      {{"Glyph", fw::TPropKind::Object,
        [](fw::TObject* o) -> fw::TPropValue { return static_cast<fw::TObject*>(&static_cast<TcxCheckBoxProperties*>(o)->Glyph); },
        nullptr}},
      {}};
  return info;
}

class TcxCheckBox : public fw::TCustomControl {
  FW_DECLARE_CLASS()
public:
  using fw::TCustomControl::TCustomControl;
  TcxCheckBoxProperties Properties;
  bool Checked = false;

protected:
  void Paint() override { PaintMark(Canvas(), ClientWidth(), ClientHeight(), &Properties.Glyph, 6, Checked ? 1 : 0); }
};
const fw::TClassInfo& TcxCheckBox::StaticClassInfo() {
  static const fw::TClassInfo info{
      "TcxCheckBox",
      &fw::TCustomControl::StaticClassInfo(),
      {},
      {{"Properties", fw::TPropKind::Object,
        [](fw::TObject* o) -> fw::TPropValue { return static_cast<fw::TObject*>(&static_cast<TcxCheckBox*>(o)->Properties); },
        nullptr}},
      {}};
  return info;
}

// A group of the first library holding its own and the framework's buttons.
class TRzRadioGroup : public fw::TCustomControl {
  FW_DECLARE_CLASS()
public:
  using fw::TCustomControl::TCustomControl;
};
FW_DEFINE_CLASS(TRzRadioGroup, fw::TCustomControl)
class TRzCheckGroup : public fw::TCustomControl {
  FW_DECLARE_CLASS()
public:
  using fw::TCustomControl::TCustomControl;
};
FW_DEFINE_CLASS(TRzCheckGroup, fw::TCustomControl)

// The frame numbers of the skin's strip in the cells of a strip (colours of the control skin).
std::vector<int> CellFrames(fw::TBitmap& strip, bool radio) {
  std::vector<int> frames;
  const int n = strip.Width() / kMark;
  for (int i = 0; i < n; ++i) {
    const std::uint32_t c = Rgb(fw::ColorToRGB(strip.Canvas().Pixel(i * kMark + kMark / 2, kMark / 2)));
    int frame = 0;
    for (int f = 1; f <= 12 && !frame; ++f)
      if (c == (radio ? RadioColour(f) : CheckColour(f))) frame = f;
    frames.push_back(frame);
  }
  return frames;
}

// A strip of two solid cells of the application's own.
void OwnGlyphs(fw::TBitmap& b, int cells) {
  b.SetSize(kMark * cells, kMark);
  b.Canvas().Brush().SetColor(static_cast<fw::TColor>(RGB(0, 160, 0)));
  b.Canvas().FillRect({0, 0, b.Width(), b.Height()});
}

skin::TSkinObjImage* GlyphSkinOf(skin::TWinSkinForm* f, fw::TControl* c) {
  for (skin::TSkinControl* s : f->Controls())
    if (s->FControl == c) return dynamic_cast<skin::TSkinObjImage*>(s);
  return nullptr;
}

}  // namespace

TEST(GlyphSkin, TheSkinsMarksGoIntoTheGlyphPropertiesAndTheOwnComeBack) {
  TControlWorld world;
  TTestForm f;
  auto* check = f.Add<TRzCheckBox>(10, 10, 120, 20);
  auto* radio = f.Add<TRzRadioButton>(10, 40, 120, 20);
  auto* cx = f.Add<TcxCheckBox>(10, 70, 120, 20);
  // One with glyphs of its own in use, and another colour.
  auto* own = f.Add<TRzCheckBox>(10, 100, 120, 20);
  OwnGlyphs(own->CustomGlyphs, 6);
  own->UseCustomGlyphs = true;
  own->TransparentColor = fw::clLime;
  own->SetColor(0x00336699);
  check->Checked = true;
  f.Show();
  const fw::TColor colour = check->Color();
  EXPECT_EQ(ControlAt(*check, kMark / 2, 10), kOwnMark);
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  Pump();

  for (fw::TControl* c : std::initializer_list<fw::TControl*>{check, radio, cx, own}) {
    SCOPED_TRACE(c->ClassName());
    skin::TSkinObjImage* s = GlyphSkinOf(fs, c);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->FGlyphKind, c == radio ? skin::gkRadio : c == cx ? skin::gkPropertiesCheck : skin::gkCheck);
    EXPECT_EQ(c->Color(), static_cast<fw::TColor>(0x00F2EEEC));  // the skin's face
  }
  // Check boxes: unchecked, checked, indeterminate, then the three disabled (a four-frame strip
  // shows indeterminate as its fourth frame); radio buttons: unchecked, checked, both disabled.
  EXPECT_EQ(CellFrames(check->CustomGlyphs, false), (std::vector<int>{1, 2, 4, 3, 4, 4}));
  EXPECT_EQ(CellFrames(radio->CustomGlyphs, true), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(CellFrames(cx->Properties.Glyph, false), (std::vector<int>{1, 2, 4, 1, 2, 4}));
  EXPECT_TRUE(check->UseCustomGlyphs && radio->UseCustomGlyphs && own->UseCustomGlyphs);
  EXPECT_EQ(check->TransparentColor, fw::clFuchsia);
  EXPECT_EQ(own->TransparentColor, fw::clFuchsia);
  EXPECT_TRUE(check->CustomGlyphs.Transparent);
  EXPECT_FALSE(cx->Properties.Glyph.Transparent);
  EXPECT_EQ(cx->Properties.Glyph.TransparentColor, fw::clFuchsia);
  // The controls draw the skin's marks themselves.
  EXPECT_EQ(ControlAt(*check, kMark / 2, 10), CheckColour(2));
  EXPECT_EQ(ControlAt(*radio, kMark / 2, 10), RadioColour(1));
  EXPECT_EQ(ControlAt(*cx, kMark / 2, 10), CheckColour(1));

  // A five-frame check strip: the second library's indeterminate mark is its fifth frame; the
  // first library's marks are those the check box skin shows.
  ASSERT_TRUE(formtest::LoadTestSkin(*world.Data, ControlSkin(5, 4)));
  fs->SkinChanged();
  EXPECT_EQ(CellFrames(cx->Properties.Glyph, false), (std::vector<int>{1, 2, 5, 1, 2, 5}));
  EXPECT_EQ(CellFrames(check->CustomGlyphs, false), (std::vector<int>{1, 2, 4, 3, 4, 4}));

  formtest::TSkinnedWorld::TakeOff(fs);
  Pump();
  for (TGlyphBox* b : {static_cast<TGlyphBox*>(check), static_cast<TGlyphBox*>(radio)}) {
    EXPECT_FALSE(b->UseCustomGlyphs);
    EXPECT_TRUE(b->CustomGlyphs.Empty());
    EXPECT_EQ(b->TransparentColor, fw::clOlive);
    EXPECT_EQ(b->Color(), colour);
  }
  EXPECT_TRUE(cx->Properties.Glyph.Empty());
  EXPECT_TRUE(own->UseCustomGlyphs);
  EXPECT_EQ(own->TransparentColor, fw::clLime);
  EXPECT_EQ(own->Color(), static_cast<fw::TColor>(0x00336699));
  EXPECT_EQ(own->CustomGlyphs.Width(), 6 * kMark);
  EXPECT_EQ(Rgb(fw::ColorToRGB(own->CustomGlyphs.Canvas().Pixel(5, 5))), 0x00A000u);
  EXPECT_EQ(ControlAt(*check, kMark / 2, 10), kOwnMark);
  EXPECT_EQ(ControlAt(*own, kMark / 2, 10), 0x00A000u);
  EXPECT_EQ(skin::TSkinControl::LiveCount(), 0);

  // On again: one skin object each.
  fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  int n = 0;
  for (skin::TSkinControl* s : fs->Controls()) n += dynamic_cast<skin::TSkinObjImage*>(s) != nullptr;
  EXPECT_EQ(n, 4);
  EXPECT_EQ(CellFrames(cx->Properties.Glyph, false), (std::vector<int>{1, 2, 5, 1, 2, 5}));
}

TEST(GlyphSkin, TheFirstLibrarysGroupsGiveTheirOwnButtonsGlyphsAndTheFrameworksTheMarkSkin) {
  TControlWorld world;
  TTestForm f;
  auto* radios = f.Add<TRzRadioGroup>(10, 10, 180, 100);
  auto* checks = f.Add<TRzCheckGroup>(200, 10, 180, 100);
  const auto inside = [](fw::TWinControl* group, fw::TControl* c, int top) {
    c->SetParent(group);
    c->SetBounds(10, top, 150, 20);
    return c;
  };
  auto* rzRadio = static_cast<TRzRadioButton*>(inside(radios, new TRzRadioButton(f.Form.get()), 10));
  auto* radio = inside(radios, new fw::TRadioButton(f.Form.get()), 40);
  auto* rzCheck = static_cast<TRzCheckBox*>(inside(checks, new TRzCheckBox(f.Form.get()), 10));
  auto* check = inside(checks, new fw::TCheckBox(f.Form.get()), 40);
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  const auto skinOf = [&](fw::TControl* c) -> skin::TSkinControl* {
    for (skin::TSkinControl* s : fs->Controls())
      if (s->FControl == c) return s;
    return nullptr;
  };
  ASSERT_NE(GlyphSkinOf(fs, rzRadio), nullptr);
  EXPECT_EQ(GlyphSkinOf(fs, rzRadio)->FGlyphKind, skin::gkRadio);
  ASSERT_NE(GlyphSkinOf(fs, rzCheck), nullptr);
  EXPECT_EQ(GlyphSkinOf(fs, rzCheck)->FGlyphKind, skin::gkCheck);
  EXPECT_TRUE(rzRadio->UseCustomGlyphs && rzCheck->UseCustomGlyphs);
  EXPECT_NE(dynamic_cast<skin::TSkinRadioButton*>(skinOf(radio)), nullptr);
  EXPECT_NE(dynamic_cast<skin::TSkinCheckBox*>(skinOf(check)), nullptr);
  EXPECT_NE(dynamic_cast<skin::TSkinGroupBox*>(skinOf(radios)), nullptr);
  EXPECT_NE(dynamic_cast<skin::TSkinGroupBox*>(skinOf(checks)), nullptr);
  formtest::TSkinnedWorld::TakeOff(fs);
  EXPECT_FALSE(rzRadio->UseCustomGlyphs || rzCheck->UseCustomGlyphs);
}

namespace {

HWND ScrollBarWindow(HWND parent, DWORD style, int x, int y, int w, int h) {
  return CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// The pixels of a child window as the screen shows it.
TCapture LookOf(HWND w) { return TCapture::Of(w); }

bool AllFace(const TCapture& c) {
  return std::all_of(c.Pixels.begin(), c.Pixels.end(), [](std::uint32_t p) { return p == kFace; });
}

}  // namespace

TEST(SizeBox, ASizeBoxTakesTheFaceColourAndScrollBarsProperStayTheSystems) {
  TControlWorld world;
  formtest::TWindow window(L"尺寸框", 360, 240);
  const HWND grip = ScrollBarWindow(window.Handle, SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 300, 180, 20, 20);
  const HWND box = ScrollBarWindow(window.Handle, SBS_SIZEBOX, 270, 180, 20, 20);
  // Scroll bars proper, one without a tab stop and one with it: the system's.
  const HWND plain = ScrollBarWindow(window.Handle, SBS_HORZ, 10, 10, 200, 17);
  const HWND tabbed = ScrollBarWindow(window.Handle, SBS_VERT | WS_TABSTOP, 220, 10, 17, 150);
  SetScrollRange(plain, SB_CTL, 0, 50, TRUE);
  SetScrollRange(tabbed, SB_CTL, 0, 50, TRUE);
  Pump(100);
  const TCapture plainLook = LookOf(plain), tabbedLook = LookOf(tabbed), gripLook = LookOf(grip);
  ASSERT_FALSE(AllFace(gripLook));

  ASSERT_TRUE(skin::SkinManager->SkinWindow(window.Handle));
  Pump(150);
  skin::TWinSkinForm* fs = skin::SkinManager->FindSkinForm(window.Handle);
  ASSERT_NE(fs, nullptr);
  EXPECT_NE(dynamic_cast<skin::TSkinSizer*>(fs->FindControlByHandle(grip)), nullptr);
  EXPECT_NE(dynamic_cast<skin::TSkinSizer*>(fs->FindControlByHandle(box)), nullptr);
  EXPECT_EQ(fs->FindControlByHandle(plain), nullptr);
  EXPECT_EQ(fs->FindControlByHandle(tabbed), nullptr);
  EXPECT_EQ(Query(plain), 0);
  InvalidateRect(grip, nullptr, TRUE);
  InvalidateRect(plain, nullptr, TRUE);
  Pump(100);
  EXPECT_TRUE(AllFace(LookOf(grip)));
  EXPECT_TRUE(AllFace(LookOf(box)));
  EXPECT_EQ(LookOf(plain).Differences(plainLook), 0);
  EXPECT_EQ(LookOf(tabbed).Differences(tabbedLook), 0);

  formtest::TSkinnedWorld::TakeOff(fs);
  Pump(100);
  EXPECT_EQ(Query(grip), 0);
  EXPECT_EQ(LookOf(grip).Differences(gripLook), 0) << LookOf(grip).Where(gripLook);
  EXPECT_EQ(skin::TSkinControl::LiveCount(), 0);
}
