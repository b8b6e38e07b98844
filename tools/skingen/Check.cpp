// Consistency checks of a skin description and its bitmaps.
#include "tools/skingen/Check.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <set>

namespace skingen {

namespace {

struct Checker {
  const Ini& ini;
  const std::map<std::string, Size>& bitmaps;
  std::vector<std::string> problems;
  std::set<std::string> used;

  void Fail(const std::string& text) { problems.push_back(text); }

  // The image named by a key, or none; records the name and checks its spelling.
  const Size* Image(const std::string& section, const std::string& key) {
    const auto value = ini.Get(section, key);
    if (!value) return nullptr;
    std::string name = *value;
    const auto cut = name.find_last_of("\\:");
    if (cut != std::string::npos) name = name.substr(cut + 1);
    if (name != Lower(name)) Fail("[" + section + "] " + key + ": \"" + name + "\" is not lower case");
    if (name.size() < 5 || name.substr(name.size() - 4) != ".bmp") Fail("[" + section + "] " + key + ": \"" + name + "\" is not a .bmp name");
    if (name.find(".ini") != std::string::npos) Fail("[" + section + "] " + key + ": \"" + name + "\" contains .ini");
    used.insert(Lower(name));
    const auto found = bitmaps.find(Lower(name));
    if (found == bitmaps.end()) {
      Fail("[" + section + "] " + key + ": no bitmap \"" + name + "\"");
      return nullptr;
    }
    return &found->second;
  }

  // Frames side by side (or stacked) must divide the image; margins must fit in one frame.
  void Frames(const std::string& what, const Size& image, int frames, bool vertical, int left, int top, int right, int bottom) {
    if (frames < 1) {
      Fail(what + ": frame count " + std::to_string(frames));
      return;
    }
    const int along = vertical ? image.h : image.w;
    if (along % frames != 0)
      Fail(what + ": " + std::to_string(along) + " pixels do not divide into " + std::to_string(frames) + " frames");
    const int fw = vertical ? image.w : image.w / frames, fh = vertical ? image.h / frames : image.h;
    if (left < 0 || top < 0 || right < 0 || bottom < 0 || left + right > fw || top + bottom > fh)
      Fail(what + ": margins " + std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(right) + "," +
           std::to_string(bottom) + " do not fit a frame of " + std::to_string(fw) + " x " + std::to_string(fh));
  }

  // A generic element: image key, frame count, the usual four margin keys.
  void Element(const std::string& section, const std::string& key, int frames) {
    const Size* image = Image(section, key);
    if (!image) {
      Fail("[" + section + "] has no image");
      return;
    }
    Frames("[" + section + "]", *image, frames, false, ini.Int(section, "LeftWidth", 0), ini.Int(section, "TopHeight", 0),
           ini.Int(section, "RightWidth", 0), ini.Int(section, "BottomHeight", 0));
  }

  void KeysOnce() {
    std::set<std::string> sections;
    for (const auto& name : ini.Sections()) {
      if (!sections.insert(Lower(name)).second) Fail("section [" + name + "] written twice");
      std::set<std::string> keys;
      for (const auto& [key, value] : ini.Lines(name))
        if (!keys.insert(Lower(key)).second) Fail("[" + name + "] key " + key + " written twice");
    }
  }

  void Borders() {
    const int caption = [&] {
      const Size* top = Image("Personality", "Top");
      return top ? top->h / std::max(1, ini.Int("Personality", "TopFrame", 1)) : 0;
    }();
    for (const std::string side : {"Left", "Right", "Top", "Bottom"}) {
      const Size* image = Image("Personality", side);
      if (!image) {
        Fail("[Personality] " + side + " names no bitmap");
        continue;
      }
      const bool stacked = side == "Top" || side == "Bottom";
      const int a = ini.Int("Personality", side + "TopHeight", 0), b = ini.Int("Personality", side + "BotHeight", 0);
      const int frames = ini.Int("Personality", side + "Frame", 1);
      if (frames != 2) Fail("[Personality] " + side + "Frame should give the active and the inactive frame");
      if (stacked) {
        Frames("[Personality] " + side, *image, frames, true, a, 0, b, 0);
      } else {
        Frames("[Personality] " + side, *image, frames, false, 0, a, 0, b);
        if (a < caption) Fail("[Personality] " + side + "TopHeight keeps less than the caption band fixed");
      }
    }
    if (caption < 20) Fail("caption band of " + std::to_string(caption) + " pixels");
    if (const Size* back = Image("Personality", "TextBack"))
      Frames("[Personality] TextBack", *back, 2, true, ini.Int("Personality", "TXTBackleft", 0), 0,
             ini.Int("Personality", "TXTBackRight", 0), 0);
    if (const Size* bar = Image("Personality", "menuBar"))
      Frames("[Personality] menuBar", *bar, 2, true, ini.Int("Personality", "TileLeftMenu", 1), 0,
             ini.Int("Personality", "TileRightMenu", 1), 0);
  }

  void CaptionButtons() {
    const Size* top = bitmaps.count("top.bmp") ? &bitmaps.at("top.bmp") : nullptr;
    const int caption = top ? top->h / std::max(1, ini.Int("Personality", "TopFrame", 1)) : 0;
    for (const auto& section : ini.Sections()) {
      std::string upper = section;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
          upper == "BUTTON.CHECKBOX")
        continue;
      const int action = ini.Int(section, "Action", 0);
      const Size* image = Image(section, "ButtonImage");
      if (!image) {
        if (action != 3 && action != 11) Fail("[" + section + "] has no ButtonImage");
        continue;
      }
      const int frames = CaptionButtonFrames(ini, section, *image);
      Frames("[" + section + "]", *image, frames, false, 0, 0, 0, 0);
      if (ini.Int(section, "Align", 0) != 100 && ini.Int(section, "Ycoord", 0) + image->h > caption)
        Fail("[" + section + "] reaches below the caption band");
    }
    if (const Size* mdi = Image("MDICONTROLS", "Image")) Frames("[MDICONTROLS]", *mdi, 12, false, 0, 0, 0, 0);
  }

  void Buttons() {
    const std::string s = "Buttons";
    Element(s, "Bitmap", 5);
    if (const Size* check = Image(s, "CheckButton")) Frames("[Buttons] CheckButton", *check, ini.Int(s, "CheckButtonFrame", 0), false, 0, 0, 0, 0);
    if (const Size* radio = Image(s, "RadioButton")) Frames("[Buttons] RadioButton", *radio, ini.Int(s, "RadioButtonFrame", 0), false, 0, 0, 0, 0);
  }

  void ScrollBars() {
    if (const Size* bar = Image("Scrollbar", "Image")) {
      Frames("[Scrollbar]", *bar, 23, false, 0, 0, 0, 0);
      if (std::abs(bar->h - 16) > 2 || std::abs(bar->h - 17) > 2) Fail("[Scrollbar] is not about as high as a system scroll bar");
    }
    Element("HorzScroll", "Image", 4);
    Element("VertScroll", "Image", 4);
    const int h = ini.Int("HorzScrollThumb", "FrameCount", 3), v = ini.Int("VertScrollThumb", "FrameCount", 3);
    if (h != v) Fail("the two scroll thumbs have different frame counts");
    Element("HorzScrollThumb", "Image", h);
    Element("VertScrollThumb", "Image", v);
  }

  void Colours() {
    for (const char* key : {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu", "MenuText",
                            "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow", "MenuBarText",
                            "TitleTextActive", "TitleTextNoActive"})
      if (!ini.Get("Colours", key)) Fail("[Colours] lacks " + std::string(key));
    if (ini.Get("Colours", "ButtonShadow") == ini.Get("Colours", "MenuText")) Fail("[Colours] ButtonShadow equals MenuText");
  }
};

}  // namespace

int CaptionButtonFrames(const Ini& ini, const std::string& section, Size image) {
  const int given = ini.Int(section, "frame", 0);
  if (given != 0) return given;
  if (ini.Int(section, "Action", 0) < 0 || image.h <= 0) return 6;
  return static_cast<double>(image.w) / image.h <= 3.8 ? 3 : 6;
}

std::vector<std::string> CheckDescription(const std::string& text, const std::map<std::string, Size>& bitmaps) {
  const Ini ini(text);
  Checker c{ini, bitmaps, {}, {}};
  c.KeysOnce();
  c.Borders();
  c.CaptionButtons();
  c.Buttons();
  c.ScrollBars();
  c.Colours();
  c.Element("MenuItem", "Image", 5);
  c.Element("MenuBackground", "Image", 1);
  c.Element("GroupBox", "Image", 1);
  c.Element("GroupBoxEdge", "Image", 2);
  c.Element("StatusBarEdges", "Image", 3);
  c.Element("ComboButton", "Image", 4);
  if (ini.HasSection("SunkEdge")) c.Element("SunkEdge", "Image", 4);
  if (!ini.HasSection("SunkEdge") && ini.Int("ComboButton", "Style", 0) != 1)
    c.Fail("[ComboButton] without a sunk edge should use the flat style 1");
  c.Element("ExtraImages", "Image", 5);
  c.Element("ToolBars", "Image", 5);
  for (const char* thumb : {"Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
                            "Trackbar.ThumbUp", "Trackbar.ThumbDown"})
    c.Element(thumb, "Image", 5);
  c.Element("Headerbar", "Image", ini.Int("Headerbar", "Frame", 0) ? ini.Int("Headerbar", "Frame", 0) : 5);
  for (const char* updown : {"UpDown.Horz", "UpDown.Vert"}) {
    c.Element(updown, "Image", 8);
    if (const Size* glyph = c.Image(updown, "GlyphImage")) c.Frames(std::string("[") + updown + "] GlyphImage", *glyph, 8, false, 0, 0, 0, 0);
  }
  c.Element("Track", "Image", ini.Int("Track", "Frame", 0));
  c.Element("TRACKVERT", "Image", ini.Int("TRACKVERT", "Frame", 0));
  // Progress: "Bitmap", two frames for style 0, one with chunks.
  const int style = ini.Int("Progress", "Style", 0);
  if (const Size* bar = c.Image("Progress", "Bitmap"))
    c.Frames("[Progress]", *bar, style != 0 ? 1 : 2, false, ini.Int("Progress", "LeftWidth", 0), ini.Int("Progress", "TopHeight", 0),
             ini.Int("Progress", "RightWidth", 0), ini.Int("Progress", "BottomHeight", 0));
  if (style == 1) c.Element("Progress.Chunk", "Image", ini.Int("Progress.Chunk", "Frame", 0));
  // Tabs: five frames and the page frame; style 1 takes the page frame from Tab.Pane.
  c.Element("Tabs", "Image", 5);
  if (const Size* border = c.Image("Tabs", "Border")) c.Frames("[Tabs] Border", *border, 1, false, 4, 5, 4, 4);
  if (ini.Int("Tabs", "Style", 0) == 1) {
    c.Element("Tab.Pane", "Image", 1);
    for (const char* key : {"LeftWidth", "TopHeight", "RightWidth", "BottomHeight"})
      if (ini.Int("Tab.Pane", key, 0) > 4) c.Fail(std::string("[Tab.Pane] ") + key + " above 4");
  }
  if (!ini.Get("TitlebarSkin", "SkinName")) c.Fail("[TitlebarSkin] lacks SkinName");
  for (const auto& [name, size] : bitmaps)
    if (!c.used.count(name)) c.Fail("bitmap " + name + " is not used by the description");
  return c.problems;
}

}  // namespace skingen
