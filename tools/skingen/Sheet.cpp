// Contact sheet of a skin folder: a mock window composed from the bitmaps the way the painting
// code composes them (nine-grid pieces, frames by state), an inactive mock window, and every
// bitmap of the folder enlarged on a checker board (magenta shows as checker) with its name.
#include "tools/skingen/Sheet.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "skin/data/SkinElements.h"
#include "tools/skingen/PixelFont.h"

namespace fs = std::filesystem;

namespace skingen {

namespace {

struct Margins {
  int l = 0, t = 0, r = 0, b = 0;
};

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// A colour value as the engine parses it.
RGB Colour(const std::string& text) {
  const skin::TColor c = skin::ParseColour(text);
  return {skin::RedOf(c), skin::GreenOf(c), skin::BlueOf(c)};
}

void Checker(Canvas& c, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) c.Set(x, y, ((x / 6 + y / 6) & 1) ? RGB{204, 204, 204} : RGB{236, 236, 236});
}

// One frame of a strip built to w x h by nine-grid scaling (nearest neighbour), as the skin
// engine builds its images; keyed pixels stay keyed.
Canvas NineGrid(const Canvas& image, int frames, int frame, bool vertical, Margins m, int w, int h) {
  frames = std::max(frames, 1);
  const int fw = vertical ? image.Width() : image.Width() / frames;
  const int fh = vertical ? image.Height() / frames : image.Height();
  const int fx = vertical ? 0 : fw * (frame - 1), fy = vertical ? fh * (frame - 1) : 0;
  Canvas out(std::max(w, 1), std::max(h, 1));
  if (w < m.l + m.r) m.l = m.r = 0;
  if (h < m.t + m.b) m.t = m.b = 0;
  const int sx[4] = {0, m.l, fw - m.r, fw}, dx[4] = {0, m.l, w - m.r, w};
  const int sy[4] = {0, m.t, fh - m.b, fh}, dy[4] = {0, m.t, h - m.b, h};
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) {
      const int sw = sx[i + 1] - sx[i], sh = sy[j + 1] - sy[j], dw = dx[i + 1] - dx[i], dh = dy[j + 1] - dy[j];
      if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) continue;
      for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
          const int px = fx + sx[i] + x * sw / dw, py = fy + sy[j] + y * sh / dh;
          if (!image.Keyed(px, py)) out.Set(dx[i] + x, dy[j] + y, image.At(px, py));
        }
    }
  return out;
}

Canvas Frame(const Canvas& image, int frames, int frame) {
  const int fw = image.Width() / std::max(frames, 1);
  return image.Crop(fw * (frame - 1), 0, fw, image.Height());
}

class Mock {
public:
  Mock(const skin::TQuickIni& ini, const skin::TSkinLayout& layout, const std::map<std::string, Canvas>& images)
      : FIni(ini), FLayout(layout), FImages(images) {
    auto colour = [&](const char* key) { return Colour(ini.ReadString("Colours", key, "0 0 0")); };
    FFace = colour("ButtonFace"), FText = colour("ButtonText"), FShadow = colour("ButtonShadow");
    FMenuText = colour("MenuText"), FHilight = colour("Hilight"), FHilightText = colour("HilightText");
    FMenu = colour("Menu"), FButtonHilight = colour("ButtonHilight");
    FTitle[0] = colour("TitleTextActive"), FTitle[1] = colour("TitleTextNoActive");
  }

  const Canvas* Img(const std::string& section, const std::string& key) const {
    const std::string entry = skin::SkinBitmapEntry(FIni.ReadString(section, key, {}));
    if (entry.empty()) return nullptr;
    const auto found = FImages.find(Lower(entry));
    return found == FImages.end() ? nullptr : &found->second;
  }
  int Int(const std::string& section, const std::string& key, int fallback = 0) const {
    return FIni.ReadInteger(section, key, fallback);
  }
  Margins M(const std::string& section) const {
    return {Int(section, "LeftWidth"), Int(section, "TopHeight"), Int(section, "RightWidth"), Int(section, "BottomHeight")};
  }

  // A window of w x h at (ox, oy); active or not.
  void Window(Canvas& c, int ox, int oy, int w, int h, bool active, bool controls) {
    const Canvas* left = Img("Personality", "Left");
    const Canvas* right = Img("Personality", "Right");
    const Canvas* top = Img("Personality", "Top");
    const Canvas* bottom = Img("Personality", "Bottom");
    if (!left || !right || !top || !bottom) return;
    const int f = active ? 1 : 2;
    const int B = left->Width() / 2, Br = right->Width() / 2, C = top->Height() / 2, Bb = bottom->Height() / 2;
    const std::string P = "Personality";
    c.Draw(NineGrid(*left, 2, f, false, {0, Int(P, "LeftTopHeight"), 0, Int(P, "LeftBotHeight")}, B, h), ox, oy, false);
    c.Draw(NineGrid(*right, 2, f, false, {0, Int(P, "RightTopHeight"), 0, Int(P, "RightBotHeight")}, Br, h), ox + w - Br, oy, false);
    c.Draw(NineGrid(*bottom, 2, f, true, {Int(P, "BottomTopHeight"), 0, Int(P, "BottomBotHeight"), 0}, w - B - Br, Bb), ox + B,
           oy + h - Bb, false);
    c.Draw(NineGrid(*top, 2, f, true, {Int(P, "TopTopHeight"), 0, Int(P, "TopBotHeight"), 0}, w - B - Br, C), ox + B, oy, false);
    Title(c, ox, oy, B, C, active ? 0 : 1, "SEALBOX  FILE ENCRYPTION");
    CaptionButtons(c, ox, oy, w, C, active);
    // Menu band.
    constexpr int menuH = 19;
    const int bandW = w - B - Br;
    if (const Canvas* bar = Img(P, "menuBar"))
      c.Draw(NineGrid(*bar, 2, f, true, {Int(P, "TileLeftMenu", 1), 0, Int(P, "TileRightMenu", 1), 0}, bandW, menuH), ox + B, oy + C);
    int x = ox + B + Int(P, "TileLeftMenu", 1) + 4;
    int index = 0;
    for (const char* item : {"FILE", "HELP", "EXIT"}) {
      const int iw = TextWidth(item) + 10;
      if (active && index == 1) c.Frame(x, oy + C, x + iw, oy + C + menuH - 1, FButtonHilight);
      DrawText(c, x + 5, oy + C + 6, item, FMenuText);
      x += iw, ++index;
    }
    c.FillRect(ox + B, oy + C + menuH, ox + w - Br, oy + h - Bb, FFace);
    if (controls) Controls(c, ox + B, oy + C + menuH, w - B - Br, h - C - menuH - Bb);
  }

private:
  void Title(Canvas& c, int ox, int oy, int B, int C, int s, const std::string& text) {
    const std::string P = "Personality";
    const int L = Int(P, "TXTBackleft"), R = Int(P, "TXTBackRight");
    const int left = ox + B + Int(P, "TextShift");
    const int width = TextWidth(text) + L + R;
    if (const Canvas* back = Img(P, "TextBack")) {
      const int fh = back->Height() / 2, fw = back->Width();
      const Canvas frame = back->Crop(0, fh * s, fw, fh);
      c.Draw(frame.Crop(0, 0, L, fh), left, oy, false);
      for (int x = L; x < width - R; x += fw - L - R) c.Draw(frame.Crop(L, 0, std::min(fw - L - R, width - R - x), fh), left + x, oy, false);
      c.Draw(frame.Crop(fw - R, 0, R, fh), left + width - R, oy, false);
    }
    DrawText(c, left + L, oy + (C - kTextHeight) / 2 + Int(P, "TextShiftVert") / 2, text, FTitle[s]);
  }

  // The caption buttons as the engine keeps them (the three of a maximised MDI child, last in
  // the list, are not shown), in the frame of the normal or the inactive look.
  void CaptionButtons(Canvas& c, int ox, int oy, int w, int C, bool active) {
    (void)C;
    const auto& buttons = FLayout.CaptionButtons;
    for (std::size_t i = 0; i + 3 < buttons.size(); ++i) {
      const skin::TSysButtonFields& b = buttons[i].Button;
      auto shown = [](int v) { return v == 0 || v == 2 || v == 6 || v == 8 || (v > 200 && v < 1000); };
      if (!shown(b.Visibility) || !shown(b.Visibility1)) continue;
      const int x = b.Align == 1 ? ox + w - b.Xcoord : ox + b.Xcoord;
      const int y = oy + b.Ycoord;
      if (b.Action == 3 || b.Action == 11) {  // the window icon
        Canvas icon(16, 16, FFace);
        icon.BorderedRound({0, 0, 16, 16}, 3, RGB{30, 60, 110}, FHilight);
        icon.FillRect(4, 7, 12, 12, kWhite);
        c.Draw(icon, x, y, false);
        continue;
      }
      const auto found = FImages.find(Lower(buttons[i].Image.Entry));
      if (found == FImages.end()) continue;
      const Canvas* image = &found->second;
      const int frames = buttons[i].Fields.FrameCount;
      const int frame = (!active && frames >= 4) ? 4 : 1;
      c.Draw(Frame(*image, frames, frame), x, y, false);
    }
  }

  void Button(Canvas& c, int x, int y, int w, int h, int frame, const std::string& label) {
    const Canvas* strip = Img("Buttons", "Bitmap");
    if (!strip) return;
    c.Draw(NineGrid(*strip, 5, frame, false, M("Buttons"), w, h), x, y, false);
    const RGB colour = frame == 3 ? FShadow : FText;
    DrawText(c, x + (w - TextWidth(label)) / 2, y + (h - kTextHeight) / 2, label, colour);
  }

  void Box(Canvas& c, int x, int y, const std::string& key, int frames, int frame, const std::string& label, bool disabled) {
    const Canvas* strip = Img("Buttons", key);
    if (!strip) return;
    const Canvas mark = Frame(*strip, frames, frame);
    c.Draw(mark, x, y, false);
    DrawText(c, x + mark.Width() + 4, y + (mark.Height() - kTextHeight) / 2, label, disabled ? FShadow : FText);
  }

  void Field(Canvas& c, int x, int y, int w, int h) {
    c.FillRect(x, y, x + w, y + h, kWhite);
    c.Frame(x, y, x + w, y + h, FShadow);
  }

  void VerticalBar(Canvas& c, int x, int y, int len, int thumbStart, int thumbLen) {
    const Canvas* cells = Img("Scrollbar", "Image");
    const Canvas* track = Img("VertScroll", "Image");
    const Canvas* thumb = Img("VertScrollThumb", "Image");
    if (!cells || !track || !thumb) return;
    const int a = cells->Height();
    c.FillRect(x, y, x + a, y + len, FFace);
    c.Draw(NineGrid(*track, 4, 1, false, M("VertScroll"), a, len - 2 * a), x, y + a, false);
    c.Draw(Frame(*cells, 23, 9), x, y, false);
    c.Draw(Frame(*cells, 23, 13), x, y + len - a, false);
    const int frames = Int("HorzScrollThumb", "FrameCount", 3);
    c.Draw(NineGrid(*thumb, frames, 1, false, M("VertScrollThumb"), a, thumbLen), x, y + thumbStart, false);
    if (a < thumbLen + 2) c.Draw(Frame(*cells, 23, 20), x, y + thumbStart + (thumbLen - a) / 2, false);
  }

  void HorizontalBar(Canvas& c, int x, int y, int len, int thumbStart, int thumbLen) {
    const Canvas* cells = Img("Scrollbar", "Image");
    const Canvas* track = Img("HorzScroll", "Image");
    const Canvas* thumb = Img("HorzScrollThumb", "Image");
    if (!cells || !track || !thumb) return;
    const int a = cells->Height();
    c.FillRect(x, y, x + len, y + a, FFace);
    c.Draw(NineGrid(*track, 4, 1, false, M("HorzScroll"), len - 2 * a, a), x + a, y, false);
    c.Draw(Frame(*cells, 23, 1), x, y, false);
    c.Draw(Frame(*cells, 23, 8), x + len - a, y, false);  // the right arrow hot
    const int frames = Int("HorzScrollThumb", "FrameCount", 3);
    c.Draw(NineGrid(*thumb, frames, 3, false, M("HorzScrollThumb"), thumbLen, a), x + thumbStart, y, false);  // hot thumb
    if (a < thumbLen + 2) c.Draw(Frame(*cells, 23, 19), x + thumbStart + (thumbLen - a) / 2, y, false);
  }

  void Combo(Canvas& c, int x, int y, int w, int h) {
    const Canvas* button = Img("ComboButton", "Image");
    if (!button) return;
    const Canvas* sunk = Img("SunkEdge", "Image");
    const Canvas* extra = Img("ExtraImages", "Image");
    if (sunk) {  // the composite the loader builds, frame 1, then drawn as one face
      constexpr int b = 18;  // system arrow width 16 + 2
      Canvas cell(50, 21);
      cell.Draw(NineGrid(*sunk, 4, 1, false, M("SunkEdge"), 50, 21), 0, 0, false);
      cell.Draw(NineGrid(*button, 4, 1, false, {}, b, 21), 50 - b, 0, false);
      if (extra) {
        const Canvas glyph = Frame(*extra, 5, 1);
        cell.Draw(glyph, 50 - b + (b - glyph.Width()) / 2, (21 - glyph.Height()) / 2, false);
      }
      cell.KeyRect(2, 2, 49 - b, 18);
      const Margins m = M("SunkEdge");
      c.FillRect(x + 2, y + 2, x + w - b - 2, y + h - 2, kWhite);
      c.Draw(NineGrid(cell, 1, 1, false, {2, m.t, b + 2, m.b}, w, h), x, y, false);
    } else {  // flat style
      Field(c, x, y, w, h);
      const Canvas frame = Frame(*button, 4, 1);
      c.Draw(NineGrid(frame, 1, 1, false, {}, frame.Width(), h - 4), x + w - 2 - frame.Width(), y + 2, false);
    }
    DrawText(c, x + 5, y + (h - kTextHeight) / 2, "RC4  STREAM", FText);
  }

  void Controls(Canvas& c, int x0, int y0, int w, int h) {
    (void)w;
    int y = y0 + 10;
    int x = x0 + 10;
    const char* labels[5] = {"NORMAL", "PRESSED", "DISABLED", "HOT", "FOCUSED"};
    for (int frame : {1, 4, 2, 5, 3}) {
      Button(c, x, y, 74, 24, frame, labels[frame - 1]);
      x += 82;
    }
    // Check boxes and radio buttons.
    y += 36;
    const int checkFrames = Int("Buttons", "CheckButtonFrame", 4), radioFrames = Int("Buttons", "RadioButtonFrame", 4);
    const bool check12 = checkFrames == 12, radio8 = radioFrames == 8;
    Box(c, x0 + 10, y, "CheckButton", checkFrames, 1, "OFF", false);
    Box(c, x0 + 70, y, "CheckButton", checkFrames, check12 ? 5 : 2, "ON", false);
    Box(c, x0 + 120, y, "CheckButton", checkFrames, check12 ? 4 : 3, "OFF", true);
    Box(c, x0 + 180, y, "CheckButton", checkFrames, check12 ? 8 : 4, "ON", true);
    if (check12) Box(c, x0 + 230, y, "CheckButton", checkFrames, 9, "MIXED", false);
    Box(c, x0 + 300, y, "RadioButton", radioFrames, 1, "OFF", false);
    Box(c, x0 + 360, y, "RadioButton", radioFrames, radio8 ? 5 : 2, "ON", false);
    Box(c, x0 + 410, y, "RadioButton", radioFrames, radio8 ? 4 : 3, "OFF", true);
    Box(c, x0 + 470, y, "RadioButton", radioFrames, radio8 ? 8 : 4, "ON", true);
    // Group box with an edit, a combo box and an up-down.
    y += 26;
    const int gx = x0 + 10, gw = 230, gh = 96;
    c.StrokeRound({gx + 1.0, y + 3.0, gx + gw - 1.0, y + gh - 1.0}, 2.5, FShadow);
    c.FillRect(gx + 8, y, gx + 8 + TextWidth("DESTINATION") + 2, y + kTextHeight, FFace);
    DrawText(c, gx + 9, y, "DESTINATION", FText);
    Field(c, gx + 12, y + 18, 180, 20);
    c.Frame(gx + 13, y + 19, gx + 191, y + 37, kWhite);
    DrawText(c, gx + 18, y + 25, "D:/OUT", FText);
    if (const Canvas* ud = Img("UpDown.Vert", "Image")) {
      const Canvas* glyph = Img("UpDown.Vert", "GlyphImage");
      const int ux = gx + 194, uy = y + 18;
      c.Draw(NineGrid(*ud, 8, 1, false, {}, 16, 10), ux, uy, false);
      c.Draw(NineGrid(*ud, 8, 5, false, {}, 16, 10), ux, uy + 10, false);
      if (glyph) {
        const Canvas g1 = Frame(*glyph, 8, 1), g5 = Frame(*glyph, 8, 5);
        c.Draw(g1, ux + (16 - g1.Width()) / 2, uy + (10 - g1.Height()) / 2, false);
        c.Draw(g5, ux + (16 - g5.Width()) / 2, uy + 10 + (10 - g5.Height()) / 2, false);
      }
    }
    Combo(c, gx + 12, y + 48, 196, 21);
    // Progress and track bar.
    const int px = x0 + 10, py = y + gh + 10;
    if (const Canvas* bar = Img("Progress", "Bitmap")) {
      const int style = Int("Progress", "Style");
      const int pw = 230, ph = 14, done = pw * 62 / 100;
      c.FillRect(px, py, px + pw, py + ph, FFace);
      c.Draw(NineGrid(*bar, style ? 1 : 2, 1, false, M("Progress"), pw, ph), px, py, false);
      if (style == 0) {
        c.Draw(NineGrid(*bar, 2, 2, false, M("Progress"), done, ph), px, py, false);
      } else if (const Canvas* chunk = Img("Progress.Chunk", "Image")) {
        c.Draw(NineGrid(*chunk, 1, 1, false, M("Progress.Chunk"), done, ph - 4), px + 2, py + 2, false);
      }
    }
    if (const Canvas* track = Img("Track", "Image")) {
      const int ty = py + 24, tw = 230;
      const Margins m = M("Track");
      c.Draw(NineGrid(*track, 1, 1, false, {m.l, 0, m.r, 0}, tw, track->Height()), px, ty + 10 - track->Height() / 2, false);
      if (const Canvas* thumb = Img("Trackbar.ThumbHorz", "Image")) c.Draw(Frame(*thumb, 5, 2), px + tw * 2 / 5, ty, false);
    }
    // Memo with a vertical bar, a horizontal bar under it.
    const int mx = x0 + 260, my = y0 + 98, mw = 200, mh = 120;
    Field(c, mx, my, mw, mh);
    c.Frame(mx + 1, my + 1, mx + mw - 1, my + mh - 1, FFace);
    for (int i = 0; i < 6; ++i) DrawText(c, mx + 8, my + 8 + 12 * i, "D:/OUT/FILE" + std::to_string(i + 1) + ".SBX", FText);
    VerticalBar(c, mx + mw - 18, my + 2, mh - 4, 30, 40);
    HorizontalBar(c, mx, my + mh + 6, mw, 60, 70);
    // Popup menu.
    const int ux = x0 + 480, uy = y0 + 98, uw = 130;
    if (const Canvas* bg = Img("MenuBackground", "Image")) {
      const int uh = 3 + 20 + 20 + 8 + 20 + 3;
      c.Draw(NineGrid(*bg, 1, 1, false, M("MenuBackground"), uw, uh), ux, uy, false);
      const Canvas* item = Img("MenuItem", "Image");
      int iy = uy + 3;
      const Margins m = M("MenuItem");
      auto row = [&](int frame, const std::string& text, RGB colour, int ih) {
        if (item) {
          if (frame == 2) {
            const Canvas f = Frame(*item, 5, 2);
            const Canvas rows = f.Crop(0, f.Height() - ih, f.Width(), ih);
            c.Draw(NineGrid(rows, 1, 1, false, {m.l, 0, m.r, 0}, uw - 6, ih), ux + 3, iy, false);
          } else {
            c.Draw(NineGrid(*item, 5, frame, false, m, uw - 6, ih), ux + 3, iy, false);
          }
        }
        if (!text.empty()) DrawText(c, ux + 3 + m.l + 22, iy + (ih - kTextHeight) / 2, text, colour);
        iy += ih;
      };
      row(1, "OPEN", FMenuText, 20);
      row(4, "ENCRYPT", FHilightText, 20);
      row(2, "", FMenuText, 8);
      row(1, "DISABLED", FShadow, 20);
    }
    // Tabs with their page frame.
    const int tx = x0 + 480, ty = y0 + 192;
    if (const Canvas* tabs = Img("Tabs", "Image")) {
      const bool pane = Int("Tabs", "Style") == 1;
      const Canvas* frame = pane ? Img("Tab.Pane", "Image") : Img("Tabs", "Border");
      const Margins pm = pane ? M("Tab.Pane") : Margins{4, 5, 4, 4};
      if (frame) c.Draw(NineGrid(*frame, 1, 1, false, pm, 150, 60), tx, ty + 20, false);
      int xx = tx + 2;
      for (int i = 0; i < 3; ++i) {
        const int tw = 44;
        c.Draw(NineGrid(*tabs, 5, i == 0 ? 2 : 1, false, M("Tabs"), tw, 20), xx, ty + 1, false);
        const std::string key = i == 0 ? "MouseOverColour2" : "NormalColour2";
        DrawText(c, xx + 8, ty + 8, i == 0 ? "KEYS" : i == 1 ? "LOG" : "INFO",
                 Colour(FIni.ReadString("Tabs", key, "0 0 0")));
        xx += tw;
      }
    }
    // Header and status bar at the bottom of the client area.
    if (const Canvas* header = Img("Headerbar", "Image")) {
      const int frames = Int("Headerbar", "Frame") ? Int("Headerbar", "Frame") : 5;
      int hx = x0 + 260;
      const int hy = y0 + h - 56;
      for (int i = 0; i < 3; ++i) {
        c.Draw(NineGrid(*header, frames, i == 1 ? 2 : 1, false, M("Headerbar"), 70, 20), hx, hy, false);
        DrawText(c, hx + 6, hy + 7, i == 0 ? "NO." : i == 1 ? "NAME" : "SIZE", FText);
        hx += 70;
      }
    }
    if (const Canvas* edges = Img("StatusBarEdges", "Image")) {
      const int sy = y0 + h - 22, sw = w;
      c.FillRect(x0, sy, x0 + sw, y0 + h, FFace);
      const int widths[3] = {160, 120, sw - 280};
      int sx = x0;
      for (int i = 0; i < 3; ++i) {
        c.Draw(NineGrid(*edges, 3, 1, false, M("StatusBarEdges"), widths[i] - 2, 18), sx, sy + 2, false);
        DrawText(c, sx + 4, sy + 8, i == 0 ? "READY" : i == 1 ? "62 PCT" : "KEY BUILT IN", FText);
        sx += widths[i];
      }
      if (const Canvas* extra = Img("ExtraImages", "Image")) {
        const Canvas grip = Frame(*extra, 5, 5);
        c.Draw(grip, x0 + sw - 1 - grip.Width(), y0 + h - 1 - grip.Height(), false);
      }
    }
  }

  const skin::TQuickIni& FIni;
  const skin::TSkinLayout& FLayout;
  const std::map<std::string, Canvas>& FImages;
  RGB FFace, FText, FShadow, FMenuText, FHilight, FHilightText, FMenu, FButtonHilight, FTitle[2];
};

}  // namespace

Canvas ContactSheet(const std::string& skinDir) {
  std::string iniText;
  std::map<std::string, Canvas> images;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(skinDir)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    if (name.find(".ini") != std::string::npos) {
      const auto bytes = ReadFile(entry.path().string());
      iniText.assign(bytes.begin(), bytes.end());
    } else if (name.size() > 4 && name.substr(name.size() - 4) == ".bmp") {
      int w = 0, h = 0;
      std::vector<RGB> pixels;
      if (!DecodeBmp(ReadFile(entry.path().string()), w, h, pixels)) throw std::runtime_error(name + " is not a bitmap it can read");
      images.emplace(name, Canvas::FromPixels(w, h, pixels));
      names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  skin::TQuickIni ini;
  ini.Load(std::string_view(iniText));
  // The layout the engine builds, for what it works out itself (caption-button frame counts).
  const skin::TImageLookup lookup = [&images](const std::string& entry) -> std::optional<skin::TImageInfo> {
    const auto found = images.find(Lower(entry));
    if (found == images.end()) return std::nullopt;
    return skin::TImageInfo{found->second.Width(), found->second.Height(), 24};
  };
  skin::TSkinLayout layout;
  std::string refusal;
  if (!skin::BuildSkinLayout(ini, lookup, layout, refusal)) throw std::runtime_error(refusal);

  // Layout of the bitmap grid: each bitmap twice its size, or once when it is wide.
  constexpr int kWidth = 1180, kPad = 14;
  struct Cell {
    std::string name;
    int x, y, scale;
  };
  std::vector<Cell> cells;
  int x = kPad, y = 470, rowH = 0;
  for (const auto& name : names) {
    const Canvas& img = images.at(name);
    const int scale = img.Width() * 2 + 2 * kPad > kWidth / 2 ? 1 : 2;
    const int cw = std::max(img.Width() * scale, TextWidth(name + " 000X000")) + kPad;
    const int ch = img.Height() * scale + kTextHeight + 6 + kPad;
    if (x + cw > kWidth - kPad) x = kPad, y += rowH, rowH = 0;
    cells.push_back({name, x, y, scale});
    x += cw;
    rowH = std::max(rowH, ch);
  }
  const int height = y + rowH + kPad;

  Canvas sheet(kWidth, height);
  sheet.Fill({250, 250, 251});
  const std::string skinName = layout.SkinName.empty() ? fs::path(skinDir).filename().string() : layout.SkinName;
  DrawText(sheet, kPad, 10, "SKIN " + skinName, {40, 44, 50}, 2);
  // Mock windows over a checker "desktop" so cut-out corners show.
  Checker(sheet, kPad, 34, kWidth - kPad, 452);
  Mock mock(ini, layout, images);
  mock.Window(sheet, kPad + 12, 46, 660, 392, true, true);
  mock.Window(sheet, kPad + 700, 46, 440, 150, false, false);
  mock.Window(sheet, kPad + 700, 216, 440, 150, true, false);
  for (const auto& cell : cells) {
    const Canvas& img = images.at(cell.name);
    DrawText(sheet, cell.x, cell.y, cell.name + " " + std::to_string(img.Width()) + "X" + std::to_string(img.Height()), {60, 64, 72});
    const int iy = cell.y + kTextHeight + 4;
    Checker(sheet, cell.x, iy, cell.x + img.Width() * cell.scale, iy + img.Height() * cell.scale);
    sheet.DrawScaled(img, cell.x, iy, img.Width() * cell.scale, img.Height() * cell.scale);
  }
  return sheet;
}

}  // namespace skingen
