// Native tests of the skin generator: the built-in drawings pass the checks made before a skin
// is written and keep their states apart, those checks find what would break a skin, and the
// bitmap files read back as written.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "skin/data/SkinElements.h"
#include "tools/skingen/Check.h"
#include "tools/skingen/Skins.h"

namespace skin::pack {
void PrintTo(TSeverity s, std::ostream* os) {
  *os << (s == TSeverity::Error ? "error" : s == TSeverity::Warning ? "warning" : "note");
}
}  // namespace skin::pack

namespace skingen {
namespace {

using skin::pack::TFinding;
using skin::pack::TSeverity;

std::string Description(const std::string& name) {
  const auto bytes = ReadFile(std::string(SKINGEN_SKINS_DIR) + "/" + name + "/" + name + ".ini");
  return std::string(bytes.begin(), bytes.end());
}

// The findings on the drawings of a skin with the description given.
std::vector<TFinding> Check(const std::string& name, const std::vector<Image>& images, const std::string& description) {
  return CheckSkinFiles(SkinFiles(images, name + ".ini", std::vector<std::uint8_t>(description.begin(), description.end())));
}

std::string Listing(const std::vector<TFinding>& findings) {
  std::string out;
  for (const auto& f : findings) out += "\n  " + skin::pack::FormatFinding(f);
  return out;
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

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  if (at == std::string::npos) throw std::runtime_error("no \"" + from + "\" in the description");
  return text.replace(at, from.size(), to);
}

TEST(BuiltinSkins, PassTheChecksBeforeTheyAreWritten) {
  for (const auto& name : SkinNames()) {
    const auto findings = Check(name, DrawSkin(name), Description(name));
    EXPECT_TRUE(findings.empty()) << name << Listing(findings);
  }
}

// The engine cuts each caption-button strip into as many frames as were drawn: four with a
// frame key in "default", three from the strip's proportions (72 x 20, 3.6) in "slate".
TEST(BuiltinSkins, CaptionButtonsAreCutIntoTheFramesDrawn) {
  const std::map<std::string, int> drawn = {{"default", 4}, {"slate", 3}};
  for (const auto& [name, frames] : drawn) {
    const auto images = DrawSkin(name);
    skin::TQuickIni ini;
    ini.Load(std::string_view(Description(name)));
    const skin::TImageLookup lookup = [&images](const std::string& entry) -> std::optional<skin::TImageInfo> {
      for (const auto& image : images)
        if (image.name == entry) return skin::TImageInfo{image.canvas.Width(), image.canvas.Height(), 24};
      return std::nullopt;
    };
    skin::TSkinLayout layout;
    std::string refusal;
    ASSERT_TRUE(skin::BuildSkinLayout(ini, lookup, layout, refusal)) << refusal;
    int seen = 0;
    for (std::size_t i = 0; i + 3 < layout.CaptionButtons.size(); ++i) {
      const auto& b = layout.CaptionButtons[i];
      if (b.Button.Action == 3) continue;  // the icon
      EXPECT_EQ(b.Fields.FrameCount, frames) << name << " " << b.Fields.Name;
      ++seen;
    }
    EXPECT_EQ(seen, 4) << name;
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

using Expected = std::tuple<TSeverity, std::string, std::string>;  // severity, section, key

std::vector<Expected> Short(const std::vector<TFinding>& findings) {
  std::vector<Expected> out;
  for (const auto& f : findings) out.emplace_back(f.Severity, f.Section, f.Key);
  return out;
}

constexpr auto E = TSeverity::Error;
constexpr auto W = TSeverity::Warning;
constexpr auto N = TSeverity::Note;

// Each row breaks the description of "default" in one place and names exactly what is found,
// first by the skin lint, then by the generator's own rules; every row keeps the folder unwritten.
TEST(CheckBeforeWriting, FindsWhatWouldBreakASkin) {
  struct Row {
    const char* what;
    std::string from, to;
    std::vector<Expected> expected;
  };
  const std::vector<Row> rows = {
      {"image not drawn", "Image=menuitem.bmp", "Image=menuitems.bmp",
       {{E, "MenuItem", "Image"}, {N, "", "menuitem.bmp"}, {E, "", "menuitem.bmp"}}},
      {"image in other letters", "Image=menuitem.bmp", "Image=MenuItem.bmp", {{E, "", "MenuItem.bmp"}}},
      {"not a .bmp name", "Image=menuitem.bmp", "Image=menuitem.BMP",
       {{E, "MenuItem", "Image"}, {N, "", "menuitem.bmp"}, {E, "", "menuitem.bmp"}}},
      {"frames that do not divide the strip", "CheckButtonFrame=4", "CheckButtonFrame=5", {{E, "Buttons", "CheckButton"}}},
      {"margins wider than a frame", "RightWidth=5\nBottomHeight=3", "RightWidth=25\nBottomHeight=3",
       {{E, "MenuItem", "Image"}}},
      {"scroll thumbs cut differently", "FrameCount=3\nTopHeight=5", "FrameCount=2\nTopHeight=5",
       {{E, "VertScrollThumb", "FrameCount"}}},
      {"ButtonShadow as MenuText", "ButtonShadow=168 174 184", "ButtonShadow=32 36 42", {{E, "Colours", "ButtonShadow"}}},
      {"colour missing", "TitleTextNoActive=", "TitleTextNone=", {{E, "Colours", "TitleTextNoActive"}}},
      {"key written twice", "Style=0\nTrans=1", "Style=0\nStyle=1\nTrans=1", {{W, "ComboButton", "Style"}}},
      {"combo button without its sunken edge", "[SunkEdge]", "[Sunken]",
       {{W, "ComboButton", "Style"}, {N, "", "sunkedge.bmp"}, {E, "", "sunkedge.bmp"}}},
      {"drawing not named", "Image=toolbars.bmp", "Image=",
       {{W, "ToolBars", "Image"}, {N, "", "toolbars.bmp"}, {E, "", "toolbars.bmp"}}},
      {"caption button below the caption", "Ycoord=4", "Ycoord=12", {{E, "BUTTON.CLOSE", "Ycoord"}}},
      {"border with one frame", "LeftFrame=2", "LeftFrame=1", {{E, "Personality", "LeftFrame"}}},
      {"side border stretching in the caption", "LeftTopHeight=28", "LeftTopHeight=20",
       {{E, "Personality", "LeftTopHeight"}}},
      {"skin without its name", "SkinName=Default", "SkinName=", {{E, "TitlebarSkin", "SkinName"}}},
  };
  const auto images = DrawSkin("default");
  const std::string good = Description("default");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const auto findings = Check("default", images, Replace(good, row.from, row.to));
    EXPECT_EQ(Short(findings), row.expected) << Listing(findings);
    EXPECT_TRUE(Blocks(findings));
  }
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
