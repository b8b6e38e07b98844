// Drawing of every skin element. Both skins share the drawers; a Theme holds the colours, the
// metrics and the variant choices of one skin. The frame orders follow what the painting code
// expects of each strip (button-like strips: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused;
// caption buttons: 1 normal, 2 pressed, 3 hot, 4 inactive or disabled).
#include "tools/skingen/Skins.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace skingen {

namespace {

// ---------------------------------------------------------------------------------------------
// Themes

struct Theme {
  std::string name;
  // Frame metrics: caption band height, side and bottom border width, radius of the top corners.
  int caption = 28, side = 5, corner = 6;
  // Caption buttons: size and number of frames drawn (4 with an inactive frame, or 3).
  int capW = 28, capH = 20, capFrames = 4;
  // Variants.
  bool check12 = false, radio8 = false, sunkCombo = true, chunkProgress = false, tabPane = false, headerFrames3 = false;
  int titleBackStyle = 0;  // 0: accent underline below the title, 1: a rounded chip behind it
  int txtBackLeft = 2, txtBackRight = 2;

  // Window chrome; index 0 active, 1 inactive.
  RGB outline[2], captionFill[2], captionLine[2], titleBack[2], capGlyph[2];
  bool captionSeparator = true;
  RGB capHot, capPressed, closeHot, closePressed;

  // Surfaces and controls.
  RGB face, field, text, textMuted;
  RGB border, borderStrong, borderHot, borderDisabled, fieldDisabled, separator;
  RGB shadow;  // the colour "ButtonShadow": the engine frames edits and group boxes with it
  RGB accent, accentHot, accentPressed, accentTint, accentTintPressed, accentWashed;
  RGB btnTop, btnBottom, btnBorderTop, btnBorderBottom, focusRing;
  RGB tabIdle, groupLabel, gripDots, panelLine, headerLine;
  RGB progressTrack, progressBorder;

  // Scroll bars.
  RGB track, trackHot, trackPressed, trackDisabled, thumb, thumbHot, thumbPressed;
  RGB arrow, arrowHot, arrowDisabled, arrowHotBg, arrowPressedBg, arrowPressedGlyph;

  // Menus.
  RGB menu, menuBorder, menuSeparator, menuSelectedIdle;
};

Theme DefaultTheme() {
  Theme t;
  t.name = "default";
  t.caption = 28, t.side = 5, t.corner = 8;
  t.capW = 28, t.capH = 20, t.capFrames = 4;
  t.titleBackStyle = 0, t.txtBackLeft = 2, t.txtBackRight = 2;

  t.face = {242, 243, 245}, t.field = kWhite, t.text = {32, 36, 42}, t.textMuted = {92, 98, 108};
  t.border = {190, 196, 205}, t.borderStrong = {134, 142, 154}, t.borderHot = {112, 152, 212};
  t.borderDisabled = {214, 218, 224}, t.fieldDisabled = {246, 247, 248}, t.separator = {224, 227, 232};
  t.shadow = {168, 174, 184};
  t.accent = {46, 112, 204}, t.accentHot = {66, 132, 222}, t.accentPressed = {30, 88, 168};
  t.accentTint = {234, 242, 253}, t.accentTintPressed = {212, 228, 249}, t.accentWashed = {172, 190, 216};
  t.btnTop = {255, 255, 255}, t.btnBottom = {246, 247, 249}, t.btnBorderTop = {196, 201, 209}, t.btnBorderBottom = {172, 178, 188};
  t.focusRing = {190, 212, 244};
  t.tabIdle = {231, 234, 238}, t.groupLabel = {232, 235, 239};
  t.gripDots = {166, 172, 182}, t.panelLine = {208, 212, 218}, t.headerLine = {214, 218, 224};
  t.progressTrack = {228, 231, 235}, t.progressBorder = {202, 207, 214};

  t.outline[0] = {98, 124, 164}, t.outline[1] = {176, 180, 187};
  t.captionFill[0] = {226, 231, 238}, t.captionFill[1] = {238, 240, 242};
  t.captionLine[0] = {204, 211, 221}, t.captionLine[1] = {222, 225, 229};
  t.titleBack[0] = t.accent, t.titleBack[1] = {204, 208, 214};
  t.capGlyph[0] = {56, 62, 72}, t.capGlyph[1] = {160, 165, 174};
  t.capHot = {207, 214, 224}, t.capPressed = {186, 195, 208};
  t.closeHot = {218, 58, 58}, t.closePressed = {172, 38, 38};

  t.track = {236, 238, 241}, t.trackHot = {230, 233, 237}, t.trackPressed = {222, 226, 231}, t.trackDisabled = {244, 245, 246};
  t.thumb = {190, 196, 205}, t.thumbHot = {158, 166, 178}, t.thumbPressed = {118, 127, 140};
  t.arrow = {104, 111, 122}, t.arrowHot = {48, 54, 62}, t.arrowDisabled = {198, 202, 208};
  t.arrowHotBg = {218, 222, 228}, t.arrowPressedBg = {158, 166, 178}, t.arrowPressedGlyph = kWhite;

  t.menu = kWhite, t.menuBorder = {184, 190, 200}, t.menuSeparator = {226, 229, 234}, t.menuSelectedIdle = {236, 238, 241};
  return t;
}

Theme SlateTheme() {
  Theme t;
  t.name = "slate";
  t.caption = 30, t.side = 4, t.corner = 0;
  t.capW = 24, t.capH = 20, t.capFrames = 3;  // 72 x 20: width / height 3.6 gives three frames
  t.check12 = true, t.radio8 = true, t.sunkCombo = false, t.chunkProgress = true, t.tabPane = true, t.headerFrames3 = true;
  t.titleBackStyle = 1, t.txtBackLeft = 10, t.txtBackRight = 10;
  t.captionSeparator = false;

  t.face = {235, 239, 242}, t.field = kWhite, t.text = {26, 34, 42}, t.textMuted = {84, 98, 110};
  t.border = {176, 188, 198}, t.borderStrong = {122, 138, 152}, t.borderHot = {62, 156, 166};
  t.borderDisabled = {206, 214, 220}, t.fieldDisabled = {243, 246, 248}, t.separator = {218, 225, 230};
  t.shadow = {154, 168, 180};
  t.accent = {20, 132, 142}, t.accentHot = {32, 154, 164}, t.accentPressed = {12, 102, 112};
  t.accentTint = {226, 243, 244}, t.accentTintPressed = {198, 230, 232}, t.accentWashed = {160, 196, 200};
  t.btnTop = {255, 255, 255}, t.btnBottom = {243, 246, 248}, t.btnBorderTop = {184, 195, 204}, t.btnBorderBottom = {158, 171, 182};
  t.focusRing = {168, 214, 218};
  t.tabIdle = {222, 229, 234}, t.groupLabel = {224, 231, 236};
  t.gripDots = {150, 164, 176}, t.panelLine = {196, 206, 214}, t.headerLine = {204, 213, 220};
  t.progressTrack = {221, 228, 233}, t.progressBorder = {190, 201, 210};

  t.outline[0] = {28, 38, 50}, t.outline[1] = {76, 87, 98};
  t.captionFill[0] = {44, 58, 72}, t.captionFill[1] = {92, 104, 116};
  t.captionLine[0] = t.captionFill[0], t.captionLine[1] = t.captionFill[1];
  t.titleBack[0] = {60, 79, 96}, t.titleBack[1] = {106, 118, 130};
  t.capGlyph[0] = {216, 226, 234}, t.capGlyph[1] = {190, 198, 206};
  t.capHot = {68, 87, 104}, t.capPressed = {28, 39, 51};
  t.closeHot = {206, 62, 62}, t.closePressed = {158, 38, 38};

  t.track = {228, 233, 237}, t.trackHot = {222, 228, 233}, t.trackPressed = {212, 220, 226}, t.trackDisabled = {239, 242, 244};
  t.thumb = {176, 189, 199}, t.thumbHot = {138, 155, 169}, t.thumbPressed = t.accent;
  t.arrow = {92, 108, 122}, t.arrowHot = {30, 44, 56}, t.arrowDisabled = {190, 200, 208};
  t.arrowHotBg = {208, 217, 224}, t.arrowPressedBg = t.accent, t.arrowPressedGlyph = kWhite;

  t.menu = kWhite, t.menuBorder = {160, 174, 186}, t.menuSeparator = {220, 227, 232}, t.menuSelectedIdle = {228, 234, 238};
  return t;
}

// ---------------------------------------------------------------------------------------------
// Shared glyphs

enum class Dir { Left, Right, Up, Down };

// A chevron whose point lies at (cx, cy) shifted by half its depth; `a` is half its width.
void Chevron(Canvas& c, Dir d, double cx, double cy, double a, RGB colour, double width = 1.5) {
  const double h = a / 2;
  switch (d) {
    case Dir::Up: c.Polyline({{cx - a, cy + h}, {cx, cy - h}, {cx + a, cy + h}}, width, colour); break;
    case Dir::Down: c.Polyline({{cx - a, cy - h}, {cx, cy + h}, {cx + a, cy - h}}, width, colour); break;
    case Dir::Left: c.Polyline({{cx + h, cy - a}, {cx - h, cy}, {cx + h, cy + a}}, width, colour); break;
    case Dir::Right: c.Polyline({{cx - h, cy - a}, {cx + h, cy}, {cx - h, cy + a}}, width, colour); break;
  }
}

enum class Glyph { Close, Maximise, Restore, Minimise };

// Window-command glyphs on whole pixels in an s x s box at (x0, y0).
void CommandGlyph(Canvas& c, Glyph g, int x0, int y0, int s, RGB colour) {
  switch (g) {
    case Glyph::Close:
      c.Line(x0 + 0.5, y0 + 0.5, x0 + s - 0.5, y0 + s - 0.5, 1.3, colour);
      c.Line(x0 + s - 0.5, y0 + 0.5, x0 + 0.5, y0 + s - 0.5, 1.3, colour);
      break;
    case Glyph::Maximise:
      c.Frame(x0, y0, x0 + s, y0 + s, colour);
      c.HLine(x0, x0 + s - 1, y0 + 1, colour);  // a heavier top edge, like a title bar
      break;
    case Glyph::Minimise:
      c.HLine(x0, x0 + s - 1, y0 + s / 2 + 1, colour);
      break;
    case Glyph::Restore: {
      const int b = s - 2;  // both squares are b x b, the back one 2 pixels up and right
      c.HLine(x0 + 2, x0 + s - 1, y0, colour);
      c.VLine(x0 + s - 1, y0, y0 + b - 1, colour);
      c.VLine(x0 + 2, y0, y0 + 1, colour);
      c.HLine(x0 + b, x0 + s - 1, y0 + b - 1, colour);
      c.Frame(x0, y0 + 2, x0 + b, y0 + s, colour);
      break;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Window frame: one template window per state, cut into the four border images so that corners,
// caption band and sides always meet without a seam.

constexpr int kTopWidth = 40;  // width of the Top and Bottom images between the side borders

Canvas ChromeTemplate(const Theme& t, int s) {
  const int B = t.side, C = t.caption, W = 2 * B + kTopWidth, H = C + 16 + B;
  Canvas c(W, H, kMagenta, true);  // outside the rounded corners is cut out of the window region
  c.FillRound({0, 0, double(W), double(H)}, Radii::Top(t.corner), t.outline[s]);
  // Caption above, form colour below, one shape so the corners blend once.
  c.FillRound({1, 1, double(W - 1), double(H - 1)}, Radii::Top(std::max(t.corner - 1, 0)),
              Paint(t.captionFill[s], t.face, C - 0.5, C - 0.49));
  if (t.captionSeparator) c.HLine(1, W - 2, C - 1, t.captionLine[s]);
  return c;
}

struct Borders {
  Canvas left, right, top, bottom;
};

Borders DrawBorders(const Theme& t) {
  const int B = t.side, C = t.caption;
  std::vector<Canvas> l, r, tp, b;
  for (int s = 0; s < 2; ++s) {
    const Canvas w = ChromeTemplate(t, s);
    l.push_back(w.Crop(0, 0, B, w.Height()));
    r.push_back(w.Crop(w.Width() - B, 0, B, w.Height()));
    tp.push_back(w.Crop(B, 0, kTopWidth, C));
    b.push_back(w.Crop(B, w.Height() - B, kTopWidth, B));
  }
  return {StripH(l), StripH(r), StripV(tp), StripV(b)};
}

// The title text background: 2 frames stacked, active and inactive, caption-high.
Canvas DrawTitleBack(const Theme& t) {
  std::vector<Canvas> frames;
  const int W = t.txtBackLeft + 4 + t.txtBackRight, C = t.caption;
  for (int s = 0; s < 2; ++s) {
    Canvas c(W, C, t.captionFill[s]);
    if (t.titleBackStyle == 0) {
      c.FillRound({1, C - 6.0, W - 1.0, C - 4.0}, 1, t.titleBack[s]);
    } else {
      const double top = 5, bottom = C - 5;
      c.FillRound({0, top, double(W), bottom}, (bottom - top) / 2, t.titleBack[s]);
    }
    frames.push_back(c);
  }
  return StripV(frames);
}

// A caption button frame; state 1 normal, 2 pressed, 3 hot, 4 inactive or disabled.
Canvas CaptionButtonFrame(const Theme& t, Glyph g, int state) {
  const int s = state == 4 ? 1 : 0;
  Canvas c(t.capW, t.capH, t.captionFill[s]);
  RGB glyph = t.capGlyph[s];
  const bool close = g == Glyph::Close;
  const Box all{0, 0, double(t.capW), double(t.capH)};
  if (state == 2) c.FillRound(all, 4, close ? t.closePressed : t.capPressed);
  if (state == 3) c.FillRound(all, 4, close ? t.closeHot : t.capHot);
  if (close && (state == 2 || state == 3)) glyph = kWhite;
  constexpr int gs = 9;
  CommandGlyph(c, g, (t.capW - gs) / 2, (t.capH - gs) / 2, gs, glyph);
  return c;
}

Canvas DrawCaptionButton(const Theme& t, Glyph g) {
  std::vector<Canvas> frames;
  for (int state = 1; state <= t.capFrames; ++state) frames.push_back(CaptionButtonFrame(t, g, state));
  return StripH(frames);
}

// Placeholder face of the icon button: the painting code draws the window's own icon there;
// the image gives the button its size.
Canvas DrawIconButton(const Theme& t) {
  Canvas c(16, 16, t.captionFill[0]);
  c.BorderedRound({1, 1, 15, 15}, 3, t.accentPressed, t.accent);
  c.FillRound({4, 6, 12, 12}, 1, kWhite);
  c.StrokeRound({5.5, 2.5, 10.5, 8}, Radii::Top(2.5), kWhite, 1.2);
  return c;
}

// MDI child buttons shown in the menu bar: minimise, restore, close, 4 states each
// (1 normal, 2 pressed, 3 hot, 4 disabled).
Canvas DrawMdiControls(const Theme& t) {
  std::vector<Canvas> frames;
  for (Glyph g : {Glyph::Minimise, Glyph::Restore, Glyph::Close})
    for (int state = 1; state <= 4; ++state) {
      Canvas c(16, 14, t.face);
      RGB glyph = state == 4 ? t.arrowDisabled : Mix(t.text, t.face, 0.2);  // on the menu bar, not the caption
      const bool close = g == Glyph::Close;
      if (state == 2) c.FillRound({0, 0, 16, 14}, 3, close ? t.closePressed : t.accentTintPressed);
      if (state == 3) c.FillRound({0, 0, 16, 14}, 3, close ? t.closeHot : t.accentTint);
      if (close && (state == 2 || state == 3)) glyph = kWhite;
      CommandGlyph(c, g, 4, 3, 7, glyph);
      frames.push_back(c);
    }
  return StripH(frames);
}

// Menu bar band: 2 frames stacked (active, inactive); flat, so any band height stretches cleanly.
Canvas DrawMenuBar(const Theme& t) {
  Canvas a(24, 18), i(24, 18);
  a.Fill(t.face);
  i.Fill(t.face);
  return StripV({a, i});
}

// ---------------------------------------------------------------------------------------------
// Menus

Canvas DrawMenuBackground(const Theme& t) {
  Canvas c(24, 24);
  c.Fill(t.menu);
  c.Frame(0, 0, 24, 24, t.menuBorder);
  return c;
}

// Menu items: 1 normal, 2 separator (its bottom rows are used), 3 selected while disabled,
// 4 selected, 5 pressed.
Canvas DrawMenuItem(const Theme& t) {
  constexpr int W = 24, H = 20;
  std::vector<Canvas> frames;
  const Box pill{2, 0, W - 2.0, double(H)};
  Canvas normal(W, H, t.menu);
  normal.Fill(t.menu);
  Canvas separator(W, H, t.menu);
  separator.HLine(4, W - 5, H - 5, t.menuSeparator);
  Canvas idle(W, H, t.menu);
  idle.FillRound(pill, 3, t.menuSelectedIdle);
  Canvas selected(W, H, t.menu);
  selected.FillRound(pill, 3, t.accent);
  Canvas pressed(W, H, t.menu);
  pressed.FillRound(pill, 3, t.accentPressed);
  return StripH({normal, separator, idle, selected, pressed});
}

// ---------------------------------------------------------------------------------------------
// Buttons, check boxes, radio buttons, group boxes

// Push button faces: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused.
Canvas DrawButtons(const Theme& t) {
  constexpr int S = 24;
  const Box box{0, 0, double(S), double(S)};
  const Paint resting(t.btnTop, t.btnBottom, 1, S - 1);
  const Paint rim(t.btnBorderTop, t.btnBorderBottom, 0, S);
  std::vector<Canvas> frames(5, Canvas(S, S, t.face));
  frames[0].BorderedRound(box, 3, rim, resting);
  frames[1].BorderedRound(box, 3, t.accentPressed, t.accentTintPressed);
  frames[2].BorderedRound(box, 3, t.borderDisabled, t.fieldDisabled);
  frames[3].BorderedRound(box, 3, t.borderHot, Paint(kWhite, t.accentTint, 1, S - 1));
  frames[4].BorderedRound(box, 3, t.accent, t.focusRing);
  frames[4].FillRound(box.Inset(2), 1.5, resting);
  return StripH(frames);
}

// One check box mark; mark 0 none, 1 check, 2 indeterminate; state 0 normal, 1 hot, 2 pressed,
// 3 disabled.
Canvas CheckFrame(const Theme& t, int mark, int state) {
  Canvas c(13, 13, t.face);
  const Box box{0, 0, 13, 13};
  if (mark == 0) {
    const RGB rim[4] = {t.borderStrong, t.accent, t.accentPressed, t.borderDisabled};
    const RGB fill[4] = {t.field, t.accentTint, t.accentTintPressed, t.fieldDisabled};
    c.BorderedRound(box, 2.5, rim[state], fill[state]);
    return c;
  }
  const RGB fill[4] = {t.accent, t.accentHot, t.accentPressed, t.accentWashed};
  c.FillRound(box, 2.5, fill[state]);
  if (mark == 1) {
    c.Polyline({{3.2, 6.7}, {5.4, 8.9}, {9.8, 4.3}}, 1.7, kWhite);
  } else {
    c.FillRound({3, 5, 10, 8}, 1, kWhite);
  }
  return c;
}

// 4 frames: unchecked, checked, unchecked disabled, checked disabled (also indeterminate).
// 12 frames: unchecked, checked, indeterminate, each normal, hot, pressed, disabled.
Canvas DrawCheckStrip(const Theme& t) {
  std::vector<Canvas> frames;
  if (t.check12) {
    for (int mark = 0; mark < 3; ++mark)
      for (int state = 0; state < 4; ++state) frames.push_back(CheckFrame(t, mark, state));
  } else {
    frames = {CheckFrame(t, 0, 0), CheckFrame(t, 1, 0), CheckFrame(t, 0, 3), CheckFrame(t, 1, 3)};
  }
  return StripH(frames);
}

Canvas RadioFrame(const Theme& t, bool checked, int state) {
  Canvas c(13, 13, t.face);
  if (!checked) {
    const RGB rim[4] = {t.borderStrong, t.accent, t.accentPressed, t.borderDisabled};
    const RGB fill[4] = {t.field, t.accentTint, t.accentTintPressed, t.fieldDisabled};
    c.FillCircle(6.5, 6.5, 6.5, rim[state]);
    c.FillCircle(6.5, 6.5, 5.5, fill[state]);
    return c;
  }
  const RGB fill[4] = {t.accent, t.accentHot, t.accentPressed, t.accentWashed};
  c.FillCircle(6.5, 6.5, 6.5, fill[state]);
  c.FillCircle(6.5, 6.5, 2.6, kWhite);
  return c;
}

// 4 frames: unchecked, checked, unchecked disabled, checked disabled.
// 8 frames: unchecked, checked, each normal, hot, pressed, disabled.
Canvas DrawRadioStrip(const Theme& t) {
  std::vector<Canvas> frames;
  if (t.radio8) {
    for (bool checked : {false, true})
      for (int state = 0; state < 4; ++state) frames.push_back(RadioFrame(t, checked, state));
  } else {
    frames = {RadioFrame(t, false, 0), RadioFrame(t, true, 0), RadioFrame(t, false, 3), RadioFrame(t, true, 3)};
  }
  return StripH(frames);
}

// Background of a group box caption.
Canvas DrawGroupBoxLabel(const Theme& t) {
  Canvas c(16, 16, t.face);
  c.FillRound({0, 0, 16, 16}, 4, t.groupLabel);
  return c;
}

// Group box frame: 1 enabled, 2 disabled; the inside stays transparent.
Canvas DrawGroupBoxEdge(const Theme& t) {
  Canvas a(16, 16, t.face), d(16, 16, t.face);
  a.StrokeRound({0, 0, 16, 16}, 4, t.shadow);
  d.StrokeRound({0, 0, 16, 16}, 4, t.borderDisabled);
  return StripH({a, d});
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

constexpr int kBar = 16;  // bar thickness: the usual system scroll-bar width

// Arrow cell; state 0 normal, 1 pressed, 2 disabled, 3 hot.
Canvas ArrowCell(const Theme& t, Dir d, int state) {
  Canvas c(kBar, kBar, t.track);
  c.Fill(t.track);
  RGB glyph = t.arrow;
  if (state == 3) c.FillRound({1, 1, kBar - 1.0, kBar - 1.0}, 3, t.arrowHotBg), glyph = t.arrowHot;
  if (state == 1) c.FillRound({1, 1, kBar - 1.0, kBar - 1.0}, 3, t.arrowPressedBg), glyph = t.arrowPressedGlyph;
  if (state == 2) glyph = t.arrowDisabled;
  Chevron(c, d, 7.5, 7.5, 3, glyph);
  return c;
}

// Thumb grip; state 0 normal, 1 pressed, 2 hot. Lines across the thumb, the rest transparent.
Canvas GripCell(const Theme& t, bool verticalBar, int state) {
  const RGB thumb = state == 0 ? t.thumb : state == 1 ? t.thumbPressed : t.thumbHot;
  Canvas c(kBar, kBar, thumb);
  const RGB line = state == 1 ? Mix(thumb, kWhite, 0.45) : Mix(thumb, kBlack, 0.16);
  for (int p : {6, 8, 10}) {
    if (verticalBar) {
      c.HLine(6, 9, p, line);
    } else {
      c.VLine(p, 6, 9, line);
    }
  }
  return c;
}

// 23 cells: 1-4 left arrow, 5-8 right, 9-12 up, 13-16 down (normal, pressed, disabled, hot),
// 17-19 grip of a horizontal thumb, 20-22 of a vertical one (normal, pressed, hot), 23 the
// corner between two bars.
Canvas DrawScrollbar(const Theme& t) {
  std::vector<Canvas> cells;
  for (Dir d : {Dir::Left, Dir::Right, Dir::Up, Dir::Down})
    for (int state = 0; state < 4; ++state) cells.push_back(ArrowCell(t, d, state));
  for (bool vertical : {false, true})
    for (int state = 0; state < 3; ++state) cells.push_back(GripCell(t, vertical, state));
  Canvas corner(kBar, kBar);
  corner.Fill(t.face);
  cells.push_back(corner);
  return StripH(cells);
}

// Track: 1 enabled, 2 pressed, 3 disabled, 4 hot.
Canvas DrawScrollTrack(const Theme& t) {
  std::vector<Canvas> frames;
  for (RGB colour : {t.track, t.trackPressed, t.trackDisabled, t.trackHot}) {
    Canvas c(kBar, kBar);
    c.Fill(colour);
    frames.push_back(c);
  }
  return StripH(frames);
}

// Thumb: 1 normal, 2 pressed, 3 hot; a pill inset from the bar's sides.
Canvas DrawScrollThumb(const Theme& t, bool vertical) {
  std::vector<Canvas> frames;
  for (RGB colour : {t.thumb, t.thumbPressed, t.thumbHot}) {
    Canvas c(kBar, kBar, t.track);
    c.FillRound(vertical ? Box{4, 1, 12, kBar - 1.0} : Box{1, 4, kBar - 1.0, 12}, 4, colour);
    frames.push_back(c);
  }
  return StripH(frames);
}

// ---------------------------------------------------------------------------------------------
// Edits, combo boxes, up-down buttons

// Frame of a combo box: 1 normal, 2 pressed, 3 disabled, 4 hot. Its resting rim is the edits'
// border colour, so combo boxes and edits side by side match.
Canvas DrawSunkEdge(const Theme& t) {
  std::vector<Canvas> frames;
  const RGB rim[4] = {t.shadow, t.accent, t.borderDisabled, t.borderHot};
  for (int k = 0; k < 4; ++k) {
    Canvas c(21, 21, t.face);
    c.BorderedRound({0, 0, 21, 21}, 2, rim[k], k == 2 ? t.fieldDisabled : t.field);
    frames.push_back(c);
  }
  return StripH(frames);
}

RGB ComboHot(const Theme& t) { return Mix(t.field, t.accentTint, 0.8); }

// Combo button. With a sunk edge: the button part laid over the frame's right end (its outer
// pixel ring transparent so the frame shows). Flat (no sunk edge): an opaque button with arrow.
Canvas DrawComboButton(const Theme& t) {
  std::vector<Canvas> frames;
  if (t.sunkCombo) {
    constexpr int W = 18, H = 21;
    const Box inside{0, 1, W - 1.0, H - 1.0};
    const Radii right(0, 1.5, 1.5, 0);
    Canvas normal(W, H, t.field);
    normal.VLine(0, 5, H - 6, t.separator);
    Canvas pressed(W, H, t.accentTintPressed);
    pressed.FillRound(inside, right, t.accentTintPressed);
    Canvas disabled(W, H, t.fieldDisabled);
    disabled.VLine(0, 5, H - 6, Mix(t.fieldDisabled, t.separator, 0.5));
    Canvas hot(W, H, ComboHot(t));
    hot.FillRound(inside, right, ComboHot(t));
    frames = {normal, pressed, disabled, hot};
  } else {
    constexpr int S = 16;
    const RGB back[4] = {t.field, t.accentTintPressed, t.fieldDisabled, t.accentTint};
    const RGB glyph[4] = {t.arrow, t.accentPressed, t.arrowDisabled, t.text};
    for (int k = 0; k < 4; ++k) {
      Canvas c(S, S);
      c.Fill(k == 2 ? t.fieldDisabled : t.field);
      if (k == 1 || k == 3) c.FillRound({1, 1, S - 1.0, S - 1.0}, 2, back[k]);
      Chevron(c, Dir::Down, 7.5, 7.5, 3, glyph[k]);
      frames.push_back(c);
    }
  }
  return StripH(frames);
}

// 1-4: the combo box arrow (normal, pressed, disabled, hot), centred on the button;
// 5: the size grip of a status bar.
Canvas DrawExtraImages(const Theme& t) {
  std::vector<Canvas> frames;
  const RGB matte[4] = {t.field, t.accentTintPressed, t.fieldDisabled, ComboHot(t)};
  const RGB glyph[4] = {t.arrow, t.accentPressed, t.arrowDisabled, t.text};
  for (int k = 0; k < 4; ++k) {
    Canvas c(12, 12, matte[k]);
    Chevron(c, Dir::Down, 5.5, 6, 3, glyph[k]);
    frames.push_back(c);
  }
  Canvas grip(12, 12, t.face);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (i + j >= 2) grip.FillRect(1 + 4 * i, 1 + 4 * j, 3 + 4 * i, 3 + 4 * j, t.gripDots);
  frames.push_back(grip);
  return StripH(frames);
}

struct UpDown {
  Canvas face, glyph;
};

// Up-down buttons: 1-4 the first arrow (up or left), 5-8 the second (down or right); states
// normal, pressed, disabled, hot. The glyph strip has the same layout.
UpDown DrawUpDown(const Theme& t, bool horizontal) {
  const int W = horizontal ? 12 : 16, H = horizontal ? 18 : 11;
  const RGB rim[4] = {t.border, t.accent, t.borderDisabled, t.borderHot};
  const Paint fill[4] = {Paint(t.btnTop, t.btnBottom, 0, H), t.accentTintPressed, t.fieldDisabled, t.accentTint};
  const RGB matte[4] = {t.btnTop, t.accentTintPressed, t.fieldDisabled, t.accentTint};
  const RGB glyph[4] = {t.arrow, t.accentPressed, t.arrowDisabled, t.text};
  std::vector<Canvas> faces, glyphs;
  for (int k = 0; k < 2; ++k)
    for (int s = 0; s < 4; ++s) {
      Canvas c(W, H, t.face);
      // The second half reaches one pixel past its start so the halves share one divider.
      Box box{0, 0, double(W), double(H)};
      Radii radii;
      if (horizontal) {
        radii = k == 0 ? Radii(2, 0, 0, 2) : Radii(0, 2, 2, 0);
        if (k == 1) box.x0 = -1;
      } else {
        radii = k == 0 ? Radii::Top(2) : Radii(0, 0, 2, 2);
        if (k == 1) box.y0 = -1;
      }
      c.BorderedRound(box, radii, rim[s], fill[s]);
      faces.push_back(c);
      Canvas g(9, 9, matte[s]);
      const Dir d = horizontal ? (k == 0 ? Dir::Left : Dir::Right) : (k == 0 ? Dir::Up : Dir::Down);
      Chevron(g, d, 4.5, 4.5, 2, glyph[s], 1.4);
      glyphs.push_back(g);
    }
  return {StripH(faces), StripH(glyphs)};
}

// ---------------------------------------------------------------------------------------------
// Status bar, progress bar, track bar

// Panel frames: 1 lowered, 2 raised, 3 flat. A light divider at the right end of a panel.
Canvas DrawStatusBarEdges(const Theme& t) {
  Canvas lowered(12, 12), raised(12, 12), flat(12, 12);
  lowered.Fill(t.face);
  lowered.VLine(11, 3, 8, t.panelLine);
  raised.Fill(Mix(t.face, kWhite, 0.55));
  raised.VLine(11, 3, 8, t.panelLine);
  flat.Fill(t.face);
  return StripH({lowered, raised, flat});
}

Canvas ProgressTrackFrame(const Theme& t) {
  Canvas c(16, 14, t.face);
  c.BorderedRound({0, 0, 16, 14}, 3, t.progressBorder, t.progressTrack);
  return c;
}

// Style 0: 1 empty bar, 2 filled bar. Style 1: the empty bar alone (chunks drawn over it).
Canvas DrawProgress(const Theme& t) {
  if (t.chunkProgress) return ProgressTrackFrame(t);
  Canvas filled(16, 14, t.progressTrack);
  filled.BorderedRound({0, 0, 16, 14}, 3, t.accentPressed, Paint(t.accentHot, t.accent, 1, 13));
  return StripH({ProgressTrackFrame(t), filled});
}

// The chunk laid inside an empty bar (stretched over the done part).
Canvas DrawProgressChunk(const Theme& t) {
  Canvas c(12, 10, t.progressTrack);
  c.FillRound({0, 0, 12, 10}, 3, Paint(t.accentHot, t.accent, 0, 10));
  return c;
}

// Track bar channel, horizontal (16 x 6, caps of 3 pixels) and vertical.
Canvas TrackChannel(RGB matte, RGB border, RGB fill) {
  Canvas c(16, 6, matte);
  c.BorderedRound({0, 0, 16, 6}, 3, border, fill);
  return c;
}

struct ThumbSet {
  Canvas horz, vert, up, down, left, right;
};

// Thumbs, 5 frames: 1 normal, 2 the thumb as the track bar always shows it (accent), 3 disabled,
// 4 hot, 5 pressed.
ThumbSet DrawThumbs(const Theme& t) {
  const RGB rim[5] = {t.borderStrong, t.accentPressed, t.borderDisabled, t.accent, t.accentPressed};
  const RGB fill[5] = {t.field, t.accent, t.fieldDisabled, t.accentHot, t.accentPressed};
  std::vector<Canvas> horz, vert, up, down, left, right;
  constexpr int W = 11, H = 21;
  const double r2 = std::sqrt(2.0);
  for (int k = 0; k < 5; ++k) {
    Canvas h(W, H, t.face);
    h.BorderedRound({0, 0, double(W), double(H)}, 3, rim[k], fill[k]);
    horz.push_back(h);
    vert.push_back(Transpose(h));
    Canvas u(W, H, t.face);
    u.Polygon({{0, H}, {0, W / 2.0}, {W / 2.0, 0}, {double(W), W / 2.0}, {double(W), double(H)}}, rim[k]);
    u.Polygon({{1, H - 1.0}, {1, W / 2.0 + r2 - 1}, {W / 2.0, r2}, {W - 1.0, W / 2.0 + r2 - 1}, {W - 1.0, H - 1.0}}, fill[k]);
    up.push_back(u);
    down.push_back(FlipV(u));
    left.push_back(Transpose(u));
    right.push_back(MirrorH(Transpose(u)));
  }
  return {StripH(horz), StripH(vert), StripH(up), StripH(down), StripH(left), StripH(right)};
}

// ---------------------------------------------------------------------------------------------
// Tabs, header, tool bars

// Tabs: 1 normal, 2 selected, 3 disabled, 4 hot, 5 selected with focus.
Canvas DrawTabs(const Theme& t) {
  constexpr int W = 20, H = 21;
  const Box low{0, 2, double(W), H + 1.0}, high{0, 0, double(W), H + 1.0};  // open at the bottom
  std::vector<Canvas> frames(5, Canvas(W, H, t.face));
  frames[0].BorderedRound(low, Radii::Top(3), t.border, t.tabIdle);
  frames[1].BorderedRound(high, Radii::Top(3), t.border, t.face);
  frames[1].FillRound({1, 1, W - 1.0, 3}, Radii::Top(2), t.accent);
  frames[2].BorderedRound(low, Radii::Top(3), t.borderDisabled, t.fieldDisabled);
  frames[3].BorderedRound(low, Radii::Top(3), t.borderHot, t.accentTint);
  frames[4].BorderedRound(high, Radii::Top(3), t.accent, t.face);
  frames[4].FillRound({1, 1, W - 1.0, 3}, Radii::Top(2), t.accent);
  return StripH(frames);
}

// The page frame under the tabs (opaque: the page itself has the form colour).
Canvas DrawTabPane(const Theme& t, int size) {
  Canvas c(size, size);
  c.Fill(t.face);
  c.Frame(0, 0, size, size, t.border);
  return c;
}

// Header items: 1 normal, 2 hot, 3 pressed, 4 disabled, 5 sorted (accent underline).
Canvas DrawHeaderbar(const Theme& t) {
  constexpr int S = 20;
  std::vector<Canvas> frames;
  const RGB back[5] = {t.field, t.accentTint, t.accentTintPressed, t.fieldDisabled, t.field};
  const int count = t.headerFrames3 ? 3 : 5;
  for (int k = 0; k < count; ++k) {
    Canvas c(S, S);
    c.Fill(back[k]);
    c.HLine(0, S - 1, S - 1, t.headerLine);
    c.VLine(S - 1, 4, S - 5, k == 3 ? t.borderDisabled : t.separator);
    if (k == 4) c.FillRect(0, S - 2, S, S, t.accent);
    frames.push_back(c);
  }
  return StripH(frames);
}

// Tool bar buttons: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 checked.
Canvas DrawToolBars(const Theme& t) {
  constexpr int S = 22;
  const Box box{0, 0, double(S), double(S)};
  std::vector<Canvas> frames(5, Canvas(S, S, t.face));
  frames[0].FillRound(box, 3, t.face);
  frames[1].BorderedRound(box, 3, t.accent, t.accentTintPressed);
  frames[2].FillRound(box, 3, t.face);
  frames[3].BorderedRound(box, 3, t.borderHot, t.accentTint);
  frames[4].BorderedRound(box, 3, t.accent, t.accentTint);
  return StripH(frames);
}

std::vector<Image> Draw(const Theme& t) {
  std::vector<Image> out;
  auto add = [&out](std::string name, Canvas canvas) { out.push_back({std::move(name), std::move(canvas)}); };
  Borders b = DrawBorders(t);
  add("left.bmp", b.left);
  add("right.bmp", b.right);
  add("top.bmp", b.top);
  add("bottom.bmp", b.bottom);
  add("textback.bmp", DrawTitleBack(t));
  add("menubar.bmp", DrawMenuBar(t));
  add("close.bmp", DrawCaptionButton(t, Glyph::Close));
  add("maximize.bmp", DrawCaptionButton(t, Glyph::Maximise));
  add("restore.bmp", DrawCaptionButton(t, Glyph::Restore));
  add("minimize.bmp", DrawCaptionButton(t, Glyph::Minimise));
  if (t.capFrames == 4) add("icon.bmp", DrawIconButton(t));  // three-frame skins take the window icon
  add("mdicontrols.bmp", DrawMdiControls(t));
  add("menubg.bmp", DrawMenuBackground(t));
  add("menuitem.bmp", DrawMenuItem(t));
  add("button.bmp", DrawButtons(t));
  add("check.bmp", DrawCheckStrip(t));
  add("radio.bmp", DrawRadioStrip(t));
  add("groupbox.bmp", DrawGroupBoxLabel(t));
  add("groupboxedge.bmp", DrawGroupBoxEdge(t));
  add("scrollbar.bmp", DrawScrollbar(t));
  add("hscroll.bmp", DrawScrollTrack(t));
  add("vscroll.bmp", DrawScrollTrack(t));
  add("hthumb.bmp", DrawScrollThumb(t, false));
  add("vthumb.bmp", DrawScrollThumb(t, true));
  if (t.sunkCombo) add("sunkedge.bmp", DrawSunkEdge(t));
  add("combobutton.bmp", DrawComboButton(t));
  add("extraimages.bmp", DrawExtraImages(t));
  UpDown h = DrawUpDown(t, true), v = DrawUpDown(t, false);
  add("updownh.bmp", h.face);
  add("updownhglyph.bmp", h.glyph);
  add("updownv.bmp", v.face);
  add("updownvglyph.bmp", v.glyph);
  add("statusedges.bmp", DrawStatusBarEdges(t));
  add("progress.bmp", DrawProgress(t));
  if (t.chunkProgress) add("progresschunk.bmp", DrawProgressChunk(t));
  const Canvas channel = TrackChannel(t.face, t.progressBorder, t.progressTrack);
  add("track.bmp", channel);
  add("trackvert.bmp", Transpose(channel));
  ThumbSet thumbs = DrawThumbs(t);
  add("thumbhorz.bmp", thumbs.horz);
  add("thumbvert.bmp", thumbs.vert);
  add("thumbup.bmp", thumbs.up);
  add("thumbdown.bmp", thumbs.down);
  add("thumbleft.bmp", thumbs.left);
  add("thumbright.bmp", thumbs.right);
  add("tabs.bmp", DrawTabs(t));
  add("tabborder.bmp", DrawTabPane(t, 20));
  if (t.tabPane) add("tabpane.bmp", DrawTabPane(t, 16));
  add("header.bmp", DrawHeaderbar(t));
  add("toolbars.bmp", DrawToolBars(t));
  return out;
}

}  // namespace

const std::vector<std::string>& SkinNames() {
  static const std::vector<std::string> names = {"default", "slate"};
  return names;
}

std::vector<Image> DrawSkin(const std::string& skinName) {
  if (skinName == "default") return Draw(DefaultTheme());
  if (skinName == "slate") return Draw(SlateTheme());
  throw std::invalid_argument("unknown skin \"" + skinName + "\" (known: default, slate)");
}

std::vector<Image> DrawResourceImages() {
  // Neutral greys: the program's fallback when a skin brings no channel of its own.
  const Canvas channel = TrackChannel({240, 240, 240}, {160, 160, 160}, {222, 222, 222});
  return {{"track.bmp", channel}, {"trackvert.bmp", Transpose(channel)}};
}

std::vector<std::uint8_t> MenuGlyphsBmp() {
  Canvas c(64, 16, kWhite);
  c.Fill(kWhite);
  const Glyph order[4] = {Glyph::Restore, Glyph::Maximise, Glyph::Minimise, Glyph::Close};
  for (int i = 0; i < 4; ++i) CommandGlyph(c, order[i], 16 * i + 3, 3, 10, kBlack);
  return EncodeBmp1(64, 16, [&c](int x, int y) {
    const RGB p = c.At(x, y);
    return (p.r + p.g + p.b) / 3 < 128;
  });
}

}  // namespace skingen
