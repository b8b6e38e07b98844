// The skin lint on small skins (one defect at a time against a skin that passes clean) and the
// data block that the form embedding step writes.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <tuple>

#include "TestSkin.h"
#include "skin/data/SkinRead.h"
#include "tools/skinpack/SkinCheck.h"

using namespace skin;
using namespace skin::pack;

namespace skin::pack {
void PrintTo(TSeverity s, std::ostream* os) {
  *os << (s == TSeverity::Error ? "error" : s == TSeverity::Warning ? "warning" : "note");
}
}  // namespace skin::pack

namespace {

std::vector<std::uint32_t> Colours(int n) {
  std::vector<std::uint32_t> c;
  for (int i = 0; i < n; ++i) c.push_back(0x102030u * static_cast<std::uint32_t>(i + 1));
  return c;
}

// A bitmap of any depth and compression, all pixels 0, with a full colour table.
std::vector<std::uint8_t> RawBmp(int width, int height, int bits, int compression = 0) {
  const std::uint32_t table = bits <= 8 ? 4u << bits : 0;
  const std::uint32_t stride = static_cast<std::uint32_t>((width * bits + 31) / 32 * 4);
  std::vector<std::uint8_t> v = {'B', 'M'};
  auto put = [&v](std::uint32_t x, int n) {
    for (int i = 0; i < n; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
  };
  put(54 + table + stride * static_cast<std::uint32_t>(height), 4);
  put(0, 4);
  put(54 + table, 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(height), 4);
  put(1, 2);
  put(static_cast<std::uint32_t>(bits), 2);
  put(static_cast<std::uint32_t>(compression), 4);
  for (int i = 0; i < 5; ++i) put(0, 4);
  v.resize(v.size() + table + stride * static_cast<std::uint32_t>(height));
  return v;
}

// A skin with every permanent element, caption buttons, the scroll bars and a few slots, all
// cut and sized as the engine cuts them.
struct CheckSkin : TestSkin {
  CheckSkin() {
    Ini = "[TitlebarSkin]\nSkinName=Check\n"
          "[Personality]\nLeft=left.bmp\nLeftFrame=2\nLeftTopHeight=5\nLeftBotHeight=5\n"
          "Right=right.bmp\nRightFrame=2\nRightTopHeight=5\nRightBotHeight=5\n"
          "Top=top.bmp\nTopFrame=2\nTopTopHeight=10\nTopBotHeight=10\n"
          "Bottom=bottom.bmp\nBottomFrame=2\n"
          "TextBack=textback.bmp\nTXTBackleft=4\nTXTBackRight=4\nmenuBar=menubar.bmp\nTileLeftMenu=3\nTileRightMenu=3\n"
          "[Buttons]\nBitmap=buttons.bmp\nLeftWidth=3\nRightWidth=3\nTopHeight=3\nBottomHeight=3\n"
          "CheckButton=check.bmp\nRadioButton=radio.bmp\nRadioButtonFrame=8\n"
          "[BUTTON.CLOSE]\nAction=0\nButtonImage=close.bmp\n"
          "[BUTTON.MAX]\nAction=1\nframe=4\nButtonImage=max.bmp\n"
          "[MDICONTROLS]\nImage=mdi.bmp\n"
          "[Progress]\nBitmap=progress.bmp\n"
          "[MenuItem]\nImage=menuitem.bmp\nLeftWidth=2\nRightWidth=2\n"
          "[Scrollbar]\nImage=scrollbar.bmp\n"
          "[HorzScroll]\nImage=horz.bmp\nLeftWidth=2\nRightWidth=2\n"
          "[VertScroll]\nImage=vert.bmp\nTopHeight=2\nBottomHeight=2\n"
          "[HorzScrollThumb]\nImage=hthumb.bmp\n"
          "[VertScrollThumb]\nImage=vthumb.bmp\n";
    Strip("left.bmp", 4, 30, Colours(2));
    Strip("right.bmp", 4, 30, Colours(2));
    Strip("top.bmp", 60, 25, Colours(2), true);
    Strip("bottom.bmp", 60, 4, Colours(2), true);
    Strip("textback.bmp", 40, 18, Colours(2), true);
    Strip("menubar.bmp", 10, 20, Colours(2), true);  // its ends fit only the whole width
    Strip("buttons.bmp", 20, 20, Colours(5));
    Strip("check.bmp", 13, 13, Colours(6));  // no count given: 78 / 13 = 6
    Strip("radio.bmp", 13, 13, Colours(8));
    Strip("close.bmp", 13, 13, Colours(3));  // no count given: ratio 3 gives 3
    Strip("max.bmp", 16, 14, Colours(4));
    Strip("mdi.bmp", 10, 10, Colours(12));
    Strip("progress.bmp", 10, 12, Colours(2));
    Strip("menuitem.bmp", 20, 18, Colours(5));
    Strip("scrollbar.bmp", 17, 17, Colours(23));
    Strip("horz.bmp", 17, 17, Colours(4));
    Strip("vert.bmp", 17, 17, Colours(4));
    Strip("hthumb.bmp", 16, 17, Colours(3));
    Strip("vthumb.bmp", 17, 16, Colours(3));
  }

  // The description first, so that it is the entry the engine takes.
  std::vector<Entry> All() const {
    std::vector<Entry> all = {{"skin.ini", std::vector<std::uint8_t>(Ini.begin(), Ini.end())}};
    all.insert(all.end(), Entries.begin(), Entries.end());
    return all;
  }

  CheckSkin& Replace(std::string_view from, std::string_view to) {
    const auto at = Ini.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) Ini.replace(at, from.size(), to);
    return *this;
  }
  CheckSkin& Put(const std::string& name, std::vector<std::uint8_t> bytes) {
    for (auto& e : Entries)
      if (e.name == name) {
        e.data = std::move(bytes);
        return *this;
      }
    Entries.push_back({name, std::move(bytes)});
    return *this;
  }
  CheckSkin& Drop(const std::string& name) {
    std::erase_if(Entries, [&](const Entry& e) { return e.name == name; });
    return *this;
  }
};

using Expected = std::tuple<TSeverity, std::string, std::string>;  // severity, section, key

std::vector<Expected> Short(const std::vector<TFinding>& findings) {
  std::vector<Expected> out;
  for (const auto& f : findings) out.emplace_back(f.Severity, f.Section, f.Key);
  return out;
}

std::string Listing(const std::vector<TFinding>& findings) {
  std::string out;
  for (const auto& f : findings) out += "\n  " + FormatFinding(f);
  return out;
}

constexpr auto E = TSeverity::Error;
constexpr auto W = TSeverity::Warning;
constexpr auto N = TSeverity::Note;

}  // namespace

TEST(SkinCheck, CleanSkinHasNoFindings) {
  const CheckSkin skin;
  const auto findings = CheckEntries(skin.All());
  EXPECT_TRUE(findings.empty()) << Listing(findings);
  // The same skin packed, read back as the engine reads it.
  const auto stored = CheckStoredSkin(PackStoredSkin(BuildArchive(skin.All())));
  EXPECT_TRUE(stored.empty()) << Listing(stored);
}

// Each row puts one defect into the clean skin and names exactly what must be found.
TEST(SkinCheck, EachDefectGivesItsFinding) {
  struct Row {
    const char* what;
    std::function<void(CheckSkin&)> defect;
    std::vector<Expected> expected;
    TCheckOptions options = {};
  };
  TCheckOptions narrowBars;
  narrowBars.ScrollbarWidth = 21;
  TCheckOptions fewPixels;
  fewPixels.Limits.MaxPixels = 1000;
  auto manyButtons = [](CheckSkin& s) {
    for (int i = 0; i < 64; ++i) s.Ini += "[BUTTON" + std::to_string(i) + "]\nButtonImage=close.bmp\n";
  };
  const std::vector<Row> rows = {
      {"entry missing", [](CheckSkin& s) { s.Drop("menuitem.bmp"); }, {{E, "MenuItem", "Image"}}},
      {"entry empty", [](CheckSkin& s) { s.Put("menuitem.bmp", {}); }, {{E, "MenuItem", "Image"}}},
      {"not a bitmap", [](CheckSkin& s) { s.Put("menuitem.bmp", {'B', 'M', 'x'}); }, {{E, "MenuItem", "Image"}}},
      {"run-length compression", [](CheckSkin& s) { s.Put("menuitem.bmp", RawBmp(100, 18, 8, 1)); },
       {{E, "MenuItem", "Image"}}},
      {"unknown depth", [](CheckSkin& s) { s.Put("menuitem.bmp", RawBmp(100, 18, 7)); }, {{E, "MenuItem", "Image"}}},
      {"pixels cut short",
       [](CheckSkin& s) {
         auto b = RawBmp(100, 18, 24);
         b.resize(b.size() - 10);
         s.Put("menuitem.bmp", b);
       },
       {{E, "MenuItem", "Image"}}},
      {"32 bits per pixel", [](CheckSkin& s) { s.Put("menuitem.bmp", RawBmp(100, 18, 32)); },
       {{W, "MenuItem", "Image"}}},
      {"8 bits per pixel", [](CheckSkin& s) { s.Put("menuitem.bmp", RawBmp(100, 18, 8)); }, {{W, "MenuItem", "Image"}}},
      {"capital extension", [](CheckSkin& s) { s.Replace("Image=menuitem.bmp", "Image=menuitem.BMP"); },
       {{E, "MenuItem", "Image"}, {N, "", "menuitem.bmp"}}},
      {"not a bmp name", [](CheckSkin& s) { s.Replace("Image=menuitem.bmp", "Image=menuitem.png"); },
       {{E, "MenuItem", "Image"}, {N, "", "menuitem.bmp"}}},
      {"directory part", [](CheckSkin& s) { s.Replace("Image=menuitem.bmp", "Image=art\\MenuItem.bmp"); },
       {{N, "MenuItem", "Image"}}},
      {"width not a multiple of the frames", [](CheckSkin& s) { s.Put("menuitem.bmp", RawBmp(101, 18, 24)); },
       {{E, "MenuItem", "Image"}}},
      {"stacked border height", [](CheckSkin& s) { s.Replace("TopFrame=2", "TopFrame=3"); },
       {{E, "Personality", "Top"}}},
      {"title frames are stacked",
       [](CheckSkin& s) { s.Drop("textback.bmp").Strip("textback.bmp", 40, 17, Colours(3), true); },
       {{E, "Personality", "TextBack"}}},
      {"menu-bar frames are stacked",
       [](CheckSkin& s) { s.Drop("menubar.bmp").Strip("menubar.bmp", 20, 13, Colours(3), true); },
       {{E, "Personality", "menuBar"}}},
      {"frame count 0", [](CheckSkin& s) { s.Replace("LeftFrame=2", "LeftFrame=0"); },
       {{W, "Personality", "LeftFrame"}}},
      {"frame count not a number", [](CheckSkin& s) { s.Replace("LeftFrame=2", "LeftFrame=two"); },
       {{W, "Personality", "LeftFrame"}}},
      {"negative caption frame", [](CheckSkin& s) { s.Replace("frame=4", "frame=-1"); },
       {{W, "BUTTON.MAX", "frame"}}},
      {"frame key the engine overrides", [](CheckSkin& s) { s.Replace("[MenuItem]\n", "[MenuItem]\nFrame=7\n"); },
       {{N, "MenuItem", "Frame"}}},
      {"margins wider than a frame", [](CheckSkin& s) { s.Replace("RightWidth=2\n[Scrollbar]", "RightWidth=19\n[Scrollbar]"); },
       {{E, "MenuItem", "Image"}}},
      {"border margins higher than a frame", [](CheckSkin& s) { s.Replace("LeftBotHeight=5", "LeftBotHeight=26"); },
       {{E, "Personality", "Left"}}},
      {"text-background ends", [](CheckSkin& s) { s.Replace("TXTBackRight=4", "TXTBackRight=40"); },
       {{E, "Personality", "TXTBackleft"}}},
      {"scroll-bar cells too high",
       [](CheckSkin& s) { s.Drop("scrollbar.bmp").Strip("scrollbar.bmp", 17, 20, Colours(23)); },
       {{W, "Scrollbar", "Image"}}},
      {"scroll-bar cells within 2 px", [](CheckSkin& s) { s.Drop("scrollbar.bmp").Strip("scrollbar.bmp", 17, 19, Colours(23)); }, {}},
      {"scroll-bar cells not 23", [](CheckSkin& s) { s.Drop("scrollbar.bmp").Strip("scrollbar.bmp", 17, 17, Colours(22)); },
       {{E, "Scrollbar", "Image"}}},
      {"system scroll bars wider", [](CheckSkin&) {}, {{W, "Scrollbar", "Image"}, {W, "Scrollbar", "Image"}}, narrowBars},
      {"thumb frame counts differ",
       [](CheckSkin& s) {
         s.Replace("[VertScrollThumb]\n", "[VertScrollThumb]\nFrameCount=1\n");
         s.Drop("vthumb.bmp").Strip("vthumb.bmp", 17, 16, Colours(1));
       },
       {{E, "VertScrollThumb", "FrameCount"}}},
      {"scroll bar without its track",
       [](CheckSkin& s) { s.Replace("[VertScroll]\nImage=vert.bmp\nTopHeight=2\nBottomHeight=2\n", "").Drop("vert.bmp"); },
       {{E, "Scrollbar", "Image"}}},
      {"section without its image", [](CheckSkin& s) { s.Replace("Image=menuitem.bmp", "Style=1").Drop("menuitem.bmp"); },
       {{W, "MenuItem", "Image"}}},
      {"page frame smaller than its fixed margins",
       [](CheckSkin& s) {
         s.Ini += "[Tabs]\nImage=tabs.bmp\nBorder=border.bmp\n";
         s.Strip("tabs.bmp", 10, 10, Colours(5)).Strip("border.bmp", 9, 8, Colours(1));
       },
       {{E, "Tabs", "Border"}}},
      {"page frame that holds its margins",
       [](CheckSkin& s) {
         s.Ini += "[Tabs]\nImage=tabs.bmp\nBorder=border.bmp\n";
         s.Strip("tabs.bmp", 10, 10, Colours(5)).Strip("border.bmp", 8, 9, Colours(1));
       },
       {}},
      {"page-frame margins above 4",
       [](CheckSkin& s) {
         s.Ini += "[Tab.Pane]\nImage=pane.bmp\nLeftWidth=4\nTopHeight=6\n";
         s.Strip("pane.bmp", 20, 20, Colours(1));
       },
       {{W, "Tab.Pane", "TopHeight"}}},
      {"combo button without its sunken edge",
       [](CheckSkin& s) { s.Ini += "[ComboButton]\nImage=combo.bmp\n"; s.Strip("combo.bmp", 17, 21, Colours(4)); },
       {{W, "ComboButton", "Style"}}},
      {"flat combo button needs no edge",
       [](CheckSkin& s) { s.Ini += "[ComboButton]\nImage=combo.bmp\nStyle=1\n"; s.Strip("combo.bmp", 17, 21, Colours(4)); },
       {}},
      {"combo button over its sunken edge",
       [](CheckSkin& s) {
         s.Ini += "[ComboButton]\nImage=combo.bmp\n[SunkEdge]\nImage=sunk.bmp\n";
         s.Strip("combo.bmp", 17, 21, Colours(4)).Strip("sunk.bmp", 20, 21, Colours(4));
       },
       {}},
      {"progress without its bitmap", [](CheckSkin& s) { s.Replace("Bitmap=progress.bmp", "").Drop("progress.bmp"); },
       {{W, "Progress", "Bitmap"}}},
      {"caption button without image", [](CheckSkin& s) { s.Replace("ButtonImage=max.bmp", "").Drop("max.bmp"); },
       {{E, "BUTTON.MAX", "ButtonImage"}}},
      {"icon button needs none", [](CheckSkin& s) { s.Replace("Action=1\nframe=4\nButtonImage=max.bmp", "Action=3").Drop("max.bmp"); },
       {}},
      {"border missing", [](CheckSkin& s) { s.Replace("Top=top.bmp\n", "").Drop("top.bmp"); },
       {{E, "Personality", "Top"}}},
      {"check strip missing", [](CheckSkin& s) { s.Replace("CheckButton=check.bmp\n", "").Drop("check.bmp"); },
       {{E, "Buttons", "CheckButton"}}},
      {"title background missing", [](CheckSkin& s) { s.Replace("TextBack=textback.bmp\n", "").Drop("textback.bmp"); },
       {{W, "Personality", "TextBack"}}},
      {"MDI strip not 12 frames", [](CheckSkin& s) { s.Drop("mdi.bmp").Strip("mdi.bmp", 10, 10, Colours(11)); },
       {{E, "MDICONTROLS", "Image"}}},
      {"repeated key", [](CheckSkin& s) { s.Replace("[MenuItem]\n", "[MenuItem]\nStyle=1\nstyle = 2\n"); },
       {{W, "MenuItem", "style"}}},
      {"repeated section", [](CheckSkin& s) { s.Ini += "[menuitem]\nImage=menuitem.bmp\n"; }, {{W, "menuitem", ""}}},
      {"blanks inside the brackets", [](CheckSkin& s) { s.Ini += "[ Tabs ]\nImage=menuitem.bmp\n"; }, {{W, "Tabs", ""}}},
      {"second description", [](CheckSkin& s) { s.Put("other.ini", {'x'}); }, {{W, "", "other.ini"}}},
      {"bitmap named like a description", [](CheckSkin& s) { s.Put("a.ini.bmp", RawBmp(2, 2, 24)); },
       {{E, "", "a.ini.bmp"}}},
      {"names equal but for case", [](CheckSkin& s) { s.Put("MenuItem.bmp", RawBmp(2, 2, 24)); },
       {{W, "", "menuitem.bmp"}}},
      {"unused bitmap", [](CheckSkin& s) { s.Put("spare.bmp", RawBmp(2, 2, 24)); }, {{N, "", "spare.bmp"}}},
      {"more than 64 caption buttons", manyButtons, {{E, "BUTTON62", ""}}},
      {"pixel budget", [](CheckSkin&) {}, {{E, "", ""}}, fewPixels},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    CheckSkin skin;
    row.defect(skin);
    const auto findings = CheckEntries(skin.All(), row.options);
    EXPECT_EQ(Short(findings), row.expected) << Listing(findings);
  }
}

TEST(SkinCheck, UnreadableSkinsAreOneError) {
  CheckSkin noDescription;
  EXPECT_EQ(Short(CheckEntries(noDescription.Entries)), (std::vector<Expected>{{E, "", ""}}));
  const std::vector<std::uint8_t> damaged = {'n', 'o', 't', ' ', 'a', ' ', 's', 'k', 'i', 'n'};
  const auto findings = CheckStoredSkin(damaged);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].Severity, E);
  EXPECT_EQ(FormatFinding({W, "Personality", "Top", "m"}), "warning: [Personality] Top: m");
  EXPECT_EQ(FormatFinding({N, "", "a.bmp", "m"}), "note: a.bmp: m");
}

namespace {

// The bytes of the data block that follows "name = {" in a form description, as the form
// reader takes them (hex digits, blanks between them ignored, up to "}").
std::vector<std::uint8_t> ParseBlock(const std::string& form, const std::string& name) {
  const auto open = form.find(name + " = {");
  EXPECT_NE(open, std::string::npos);
  std::vector<std::uint8_t> bytes;
  int high = -1;
  for (std::size_t i = open + name.size() + 4; i < form.size() && form[i] != '}'; ++i) {
    const char c = form[i];
    if (c == ' ' || c == '\r' || c == '\n') continue;
    const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    EXPECT_GE(d, 0) << "not an upper-case hex digit: " << c;
    if (high < 0) high = d;
    else bytes.push_back(static_cast<std::uint8_t>(high * 16 + d)), high = -1;
  }
  EXPECT_EQ(high, -1);
  return bytes;
}

}  // namespace

TEST(SkinEmbed, TheBlockHoldsTheCountAndTheSkin) {
  const std::string form = "object Form1: TForm1\r\n  object SkinData1: TSkinData\r\n    SkinStream = {}\r\n"
                           "    Active = True\r\n  end\r\nend\r\n";
  std::vector<std::uint8_t> skin(70);
  for (std::size_t i = 0; i < skin.size(); ++i) skin[i] = static_cast<std::uint8_t>(i * 37);
  std::string error;
  const auto out = EmbedSkinStream(form, skin, error);
  ASSERT_TRUE(out) << error;
  std::vector<std::uint8_t> expected = {70, 0, 0, 0};
  expected.insert(expected.end(), skin.begin(), skin.end());
  EXPECT_EQ(ParseBlock(*out, "SkinStream"), expected);

  // 74 bytes: two lines of 64 digits and one of 20, two deeper than the placeholder, the
  // closing brace on the last; the lines around it unchanged, CR LF kept.
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = out->find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(out->substr(at, end - at));
  ASSERT_EQ(lines.size(), 9u) << *out;
  EXPECT_EQ(lines[1], "  object SkinData1: TSkinData");
  EXPECT_EQ(lines[2], "    SkinStream = {");
  EXPECT_EQ(lines[3].substr(0, 20), "      46000000002" "54A");
  EXPECT_EQ(lines[3].size(), 6u + 64u);
  EXPECT_EQ(lines[4].size(), 6u + 64u);
  EXPECT_EQ(lines[5].size(), 6u + 20u + 1u);
  EXPECT_EQ(lines[5].back(), '}');
  EXPECT_EQ(lines[6], "    Active = True");
  EXPECT_EQ(out->substr(out->size() - 10), "end\r\nend\r\n");

  // An empty skin still writes its count; a file without line breaks gets LF.
  const auto empty = EmbedSkinStream("SkinStream = {}", {}, error);
  ASSERT_TRUE(empty) << error;
  EXPECT_EQ(*empty, "SkinStream = {\n  00000000}");
}

TEST(SkinEmbed, ExactlyOnePlaceholder) {
  std::string error;
  EXPECT_FALSE(EmbedSkinStream("object A: TA\n  SkinStream = {00}\nend\n", {}, error));
  EXPECT_NE(error.find("no line"), std::string::npos);
  EXPECT_FALSE(EmbedSkinStream("  SkinStream = {}\n SkinStream = {} \n", {}, error));
  EXPECT_NE(error.find("2 lines"), std::string::npos);
  EXPECT_FALSE(EmbedSkinStream("  SkinStream = {} // built\n", {}, error));
}
