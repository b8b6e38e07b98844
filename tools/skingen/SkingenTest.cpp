// Native tests of the skin generator: the built-in drawings agree with their descriptions and
// keep their states apart, the description check finds what would break a skin, and the
// bitmap files read back as written.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tools/skingen/Check.h"
#include "tools/skingen/Ini.h"
#include "tools/skingen/Skins.h"

namespace skingen {
namespace {

std::string Description(const std::string& name) {
  const auto bytes = ReadFile(std::string(SKINGEN_SKINS_DIR) + "/" + name + "/" + name + ".ini");
  return std::string(bytes.begin(), bytes.end());
}

std::map<std::string, Size> Sizes(const std::vector<Image>& images) {
  std::map<std::string, Size> sizes;
  for (const auto& image : images) sizes[image.name] = {image.canvas.Width(), image.canvas.Height()};
  return sizes;
}

const Canvas& Find(const std::vector<Image>& images, const std::string& name) {
  for (const auto& image : images)
    if (image.name == name) return image.canvas;
  throw std::runtime_error("no " + name);
}

bool SamePixels(const Canvas& a, const Canvas& b) { return a.Pixels() == b.Pixels(); }

// Frames of a strip laid side by side.
std::vector<Canvas> Frames(const Canvas& strip, int count) {
  std::vector<Canvas> out;
  const int w = strip.Width() / count;
  for (int i = 0; i < count; ++i) out.push_back(strip.Crop(i * w, 0, w, strip.Height()));
  return out;
}

bool Contains(const std::vector<std::string>& problems, const std::string& part) {
  for (const auto& p : problems)
    if (p.find(part) != std::string::npos) return true;
  return false;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  if (at == std::string::npos) throw std::runtime_error("no \"" + from + "\" in the description");
  return text.replace(at, from.size(), to);
}

TEST(BuiltinSkins, DescriptionsAgreeWithTheirDrawings) {
  for (const auto& name : SkinNames()) {
    const auto problems = CheckDescription(Description(name), Sizes(DrawSkin(name)));
    for (const auto& p : problems) ADD_FAILURE() << name << ": " << p;
  }
}

// An edge blended into magenta instead of the surface underneath shows as a pink fringe.
TEST(BuiltinSkins, NoPixelIsCloseToTheKeyColourWithoutBeingIt) {
  for (const auto& name : SkinNames())
    for (const auto& image : DrawSkin(name))
      for (const RGB p : image.canvas.Pixels()) {
        if (p == kMagenta) continue;
        const bool pinkish = p.r > 200 && p.b > 200 && p.g < 90;
        ASSERT_FALSE(pinkish) << name << "/" << image.name << " has " << int(p.r) << "," << int(p.g) << "," << int(p.b);
      }
}

TEST(BuiltinSkins, StatesLookDifferent) {
  for (const auto& name : SkinNames()) {
    const auto images = DrawSkin(name);
    const auto buttons = Frames(Find(images, "button.bmp"), 5);
    for (int i = 0; i < 5; ++i)
      for (int j = i + 1; j < 5; ++j) EXPECT_FALSE(SamePixels(buttons[i], buttons[j])) << name << " button frames " << i + 1 << ", " << j + 1;
    const auto& check = Find(images, "check.bmp");
    const auto checks = Frames(check, check.Width() / 13);
    for (std::size_t i = 0; i < checks.size(); ++i)
      for (std::size_t j = i + 1; j < checks.size(); ++j) EXPECT_FALSE(SamePixels(checks[i], checks[j])) << name << " check frames";
    // Caption buttons: normal, pressed and hot (and inactive) apart.
    const auto& close = Find(images, "close.bmp");
    const auto closes = Frames(close, close.Width() / (name == "default" ? 28 : 24));
    for (std::size_t i = 0; i < closes.size(); ++i)
      for (std::size_t j = i + 1; j < closes.size(); ++j) EXPECT_FALSE(SamePixels(closes[i], closes[j])) << name << " close frames";
    // The active and the inactive caption differ.
    const auto& top = Find(images, "top.bmp");
    EXPECT_FALSE(SamePixels(top.Crop(0, 0, top.Width(), top.Height() / 2), top.Crop(0, top.Height() / 2, top.Width(), top.Height() / 2)));
    // Scroll-bar arrows: normal, pressed, disabled, hot of the first arrow.
    const auto cells = Frames(Find(images, "scrollbar.bmp"), 23);
    for (int i = 0; i < 4; ++i)
      for (int j = i + 1; j < 4; ++j) EXPECT_FALSE(SamePixels(cells[i], cells[j])) << name << " arrow cells " << i + 1 << ", " << j + 1;
  }
}

// Rounded corners are cut out of the window region only where the borders are transparent; a
// skin whose borders are drawn opaque must have no key colour in them.
TEST(BuiltinSkins, BorderCornersMatchTheirTransparency) {
  const auto plain = DrawSkin("default");
  EXPECT_TRUE(Find(plain, "left.bmp").Keyed(0, 0));
  EXPECT_TRUE(Find(plain, "right.bmp").Keyed(Find(plain, "right.bmp").Width() / 2 - 1, 0));
  EXPECT_FALSE(Find(plain, "left.bmp").Keyed(0, 40));
  for (const char* side : {"left.bmp", "right.bmp", "top.bmp", "bottom.bmp"})
    for (const RGB p : Find(DrawSkin("slate"), side).Pixels()) ASSERT_FALSE(p == kMagenta) << side;
}

TEST(DescriptionCheck, FindsWhatWouldBreakASkin) {
  const auto sizes = Sizes(DrawSkin("default"));
  const std::string good = Description("default");
  auto problems = [&](const std::string& text) { return CheckDescription(text, sizes); };
  EXPECT_TRUE(problems(good).empty());
  EXPECT_TRUE(Contains(problems(Replace(good, "Image=menuitem.bmp", "Image=menuitems.bmp")), "no bitmap \"menuitems.bmp\""));
  EXPECT_TRUE(Contains(problems(Replace(good, "Image=menuitem.bmp", "Image=MenuItem.bmp")), "not lower case"));
  EXPECT_TRUE(Contains(problems(Replace(good, "Image=menuitem.bmp", "Image=menuitem.BMP")), "not a .bmp name"));
  EXPECT_TRUE(Contains(problems(Replace(good, "CheckButtonFrame=4", "CheckButtonFrame=5")), "do not divide into 5 frames"));
  EXPECT_TRUE(Contains(problems(Replace(good, "RightWidth=5\nBottomHeight=3", "RightWidth=25\nBottomHeight=3")), "do not fit a frame"));
  EXPECT_TRUE(Contains(problems(Replace(good, "FrameCount=3\nTopHeight=5", "FrameCount=2\nTopHeight=5")), "different frame counts"));
  EXPECT_TRUE(Contains(problems(Replace(good, "ButtonShadow=168 174 184", "ButtonShadow=32 36 42")), "ButtonShadow equals MenuText"));
  EXPECT_TRUE(Contains(problems(Replace(good, "TitleTextNoActive=", "TitleTextNone=")), "lacks TitleTextNoActive"));
  EXPECT_TRUE(Contains(problems(Replace(good, "Style=0\nTrans=1", "Style=0\nStyle=1\nTrans=1")), "key Style written twice"));
  EXPECT_TRUE(Contains(problems(Replace(good, "[SunkEdge]", "[Sunken]")), "flat style 1"));
  EXPECT_TRUE(Contains(problems(Replace(good, "Image=toolbars.bmp", "Image=")), "toolbars.bmp is not used"));
  EXPECT_TRUE(Contains(problems(Replace(good, "Ycoord=4", "Ycoord=12")), "reaches below the caption band"));
}

TEST(DescriptionCheck, CaptionButtonFramesFollowTheImageProportionsWithoutAFrameKey) {
  const Ini ini("[BUTTON.A]\nAction=0\n[BUTTON.B]\nAction=-1\n[BUTTON.C]\nframe=4\n");
  EXPECT_EQ(CaptionButtonFrames(ini, "BUTTON.A", {40, 13}), 3);  // 3.08
  EXPECT_EQ(CaptionButtonFrames(ini, "BUTTON.A", {78, 13}), 6);  // 6.0
  EXPECT_EQ(CaptionButtonFrames(ini, "BUTTON.A", {72, 20}), 3);  // the slate buttons: 3.6
  EXPECT_EQ(CaptionButtonFrames(ini, "BUTTON.B", {40, 13}), 6);  // negative action
  EXPECT_EQ(CaptionButtonFrames(ini, "BUTTON.C", {78, 13}), 4);  // a frame key stays
}

TEST(Ini, ReadsAsTheEngineDoes) {
  const Ini ini("; comment\n[Colours]\n ButtonFace = 1 2 3 \nbuttonface=9 9 9\nEmpty=\n[colours]\nMenu=4 5 6\n");
  EXPECT_EQ(ini.Get("COLOURS", "buttonFACE").value_or(""), "1 2 3");
  EXPECT_FALSE(ini.Get("Colours", "Empty"));
  EXPECT_FALSE(ini.Get("Colours", "Menu"));  // only the first section of a name is read
  EXPECT_EQ(ini.Int("Colours", "ButtonFace", 7), 7);  // not an integer
}

TEST(BitmapFiles, ReadBackAsWritten) {
  Canvas c(7, 3);  // 21 bytes a row: padded to 24
  c.Set(0, 0, {1, 2, 3});
  c.Set(6, 2, {250, 251, 252});
  int w = 0, h = 0;
  std::vector<RGB> pixels;
  ASSERT_TRUE(DecodeBmp(EncodeBmp24(c), w, h, pixels));
  EXPECT_EQ(w, 7);
  EXPECT_EQ(h, 3);
  EXPECT_EQ(pixels, c.Pixels());  // unset pixels come back as the key colour

  const auto glyphs = MenuGlyphsBmp();
  EXPECT_EQ(glyphs[28], 1);  // bits per pixel
  ASSERT_TRUE(DecodeBmp(glyphs, w, h, pixels));
  ASSERT_EQ(w, 64);
  ASSERT_EQ(h, 16);
  for (int cell = 0; cell < 4; ++cell) {
    int black = 0, edge = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const bool set = pixels[y * 64 + cell * 16 + x] == kBlack;
        black += set;
        edge += set && (x == 0 || y == 0 || x == 15 || y == 15);
      }
    EXPECT_GT(black, 8) << "glyph " << cell;
    EXPECT_EQ(edge, 0) << "glyph " << cell << " touches its cell's edge";
  }
}

}  // namespace
}  // namespace skingen
