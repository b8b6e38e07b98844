// Tests of TQuickIni and the colour arithmetic: lookup rules, value conversions, mixing, ramps.
#include <gtest/gtest.h>

#include <sstream>

#include "skin/data/WinSkinIni.h"

using namespace skin;

namespace {

const char kText[] =
    "  ; a comment line\r\n"
    "[Form]\r\n"
    "  Caption = Hello World  \r\n"
    "Empty=\r\n"
    "Empty=later\r\n"
    "Twice=first\n"
    "twice=second\r"
    "Hex1=0x1F\n"
    "Hex2=$1F\n"
    "Hex3=1F\n"
    "HexUpper=0X1f\n"
    "Neg=-12\n"
    "Big=2147483648\n"
    "SysColour=$FF00000F\n"
    "noequals\n"
    "\n"
    "[ form ]\n"
    "Caption=spaced\n"
    "[FORM]\n"
    "Caption=second section\n"
    "Extra=only here\n"
    "[Colours]\n"
    "   ;Caption=commented\n"
    "TextR=12\nTextG=34\nTextB=300\n"
    "HalfR=1\nHalfB=2\n";

TQuickIni Loaded(std::string_view text) {
  TQuickIni ini;
  ini.Load(text);
  return ini;
}

}  // namespace

TEST(QuickIni, FirstSectionAndFirstKeyWin) {
  const TQuickIni ini = Loaded(kText);
  EXPECT_EQ(ini.ReadString("form", "CAPTION", "d"), "Hello World");
  // A key's first line counts even when its value is empty.
  EXPECT_EQ(ini.ReadString("Form", "Empty", "d"), "d");
  EXPECT_EQ(ini.ReadString("Form", "twice", "d"), "first");
  // The second [FORM] is never searched; spaces inside brackets are part of the name.
  EXPECT_EQ(ini.ReadString("Form", "Extra", "d"), "d");
  EXPECT_EQ(ini.ReadString(" form ", "Caption", "d"), "spaced");
  // A section ends at the next header; comments are not lines.
  EXPECT_EQ(ini.ReadString("Colours", "Caption", "d"), "d");
  EXPECT_EQ(ini.ReadString("Missing", "Caption", "d"), "d");
  EXPECT_EQ(ini.ReadString("Form", "noequals", "d"), "d");

  std::vector<std::string> sections = {"stale"};
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (std::vector<std::string>{"Form", "form", "FORM", "Colours"}));
  try {
    ini.ReadSections(nullptr);
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "The parameter Strings is unassigned!");
    EXPECT_EQ(e.Line, 318);
  }
}

TEST(QuickIni, IntegersInDecimalAndHex) {
  const TQuickIni ini = Loaded(kText);
  EXPECT_EQ(ini.ReadInteger("Form", "Hex1", -1), 31);
  EXPECT_EQ(ini.ReadInteger("Form", "Hex2", -1), 31);
  EXPECT_EQ(ini.ReadInteger("Form", "HexUpper", -1), 31);
  EXPECT_EQ(ini.ReadInteger("Form", "Hex3", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Form", "Empty", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Form", "Neg", 0), -12);
  EXPECT_EQ(ini.ReadInteger("Form", "Big", 7), 7);
  EXPECT_EQ(static_cast<TColor>(ini.ReadInteger("Form", "SysColour", 0)), clBtnFace);

  std::int32_t v = 0;
  EXPECT_TRUE(TryStrToInt("-2147483648", v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_FALSE(TryStrToInt("$", v));
  EXPECT_FALSE(TryStrToInt("$100000000", v));
  EXPECT_FALSE(TryStrToInt("12 ", v));
}

TEST(QuickIni, LineEndsCommentsAndNul) {
  // CR, LF, CR LF and a lone CR before CR LF; text after a NUL is ignored.
  static const char raw[] = "[S]\rA=1\r\r\nB=2\n\n  ; C=3\nD = 4 \0[S2]\nE=5\n";
  const std::string text(raw, sizeof(raw) - 1);
  const TQuickIni ini = Loaded(text);
  EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[S]", "A=1", "B=2", "D = 4"}));
  EXPECT_EQ(ini.ReadInteger("S", "d", 0), 4);
  EXPECT_EQ(ini.ReadInteger("S2", "E", 0), 0);

  std::istringstream stream("skipped[S]\nK=v\n");
  stream.seekg(7);
  TQuickIni fromStream;
  fromStream.Load(stream);
  EXPECT_EQ(fromStream.ReadString("S", "k", ""), "v");
}

TEST(QuickIni, ColourKeysNeedAllThree) {
  const TQuickIni ini = Loaded(kText);
  TColor c = 0x123456;
  ini.ReadColourKeys("Colours", "Text", c);
  EXPECT_EQ(c, ColourRGB(12, 34, 44));  // 300 keeps its low 8 bits
  ini.ReadColourKeys("Colours", "Half", c);  // no G: left as it was
  EXPECT_EQ(c, ColourRGB(12, 34, 44));
}

TEST(Colour, ParseColourTriples) {
  EXPECT_EQ(ParseColour("255 255 255"), 0xFFFFFFu & 0xFFFFFF);
  EXPECT_EQ(ParseColour(" 255,255,255 "), 0xFFFFFFu);
  EXPECT_EQ(ParseColour("12 34"), ColourRGB(12, 0, 0));
  EXPECT_EQ(ParseColour("12 34 56"), ColourRGB(12, 34, 56));
  EXPECT_EQ(ParseColour("300 0 0"), ColourRGB(44, 0, 0));
  EXPECT_EQ(ParseColour("1 2 3 4 5"), ColourRGB(1, 2, 3));
  EXPECT_EQ(ParseColour("-1;-2;-3;"), ColourRGB(1, 2, 3));
  // A number too long for 32 bits swallows the digits after it: later channels stay 0.
  EXPECT_EQ(ParseColour("10 99999999999 20 30"), ColourRGB(10, 0, 0));
}

TEST(Colour, MixColorWeights) {
  const TColor a = ColourRGB(200, 100, 0);
  const TColor b = ColourRGB(0, 100, 200);
  EXPECT_EQ(MixColor(a, b, 70), ColourRGB(140, 100, 60));   // 70 % of A
  EXPECT_EQ(MixColor(a, b, 150), ColourRGB(30, 100, 170));  // 150 per mille of A
  EXPECT_EQ(MixColor(a, b, 99), ColourRGB(198, 100, 2));
  EXPECT_EQ(MixColor(a, b, 100), ColourRGB(20, 100, 180));  // from 100 on: per mille
  EXPECT_EQ(MixColor(ColourRGB(1, 0, 0), 0, 50), ColourRGB(1, 0, 0));  // rounds half up
  // System colours are resolved first; the result never carries the top bit.
  const auto previous = SetSysColorResolver([](int index) { return index == 15 ? ColourRGB(10, 20, 30) : 0u; });
  EXPECT_EQ(MixColor(clBtnFace, clBtnFace, 40), ColourRGB(10, 20, 30));
  SetSysColorResolver(previous);
}

TEST(Colour, RampsAndTheirCache) {
  EXPECT_EQ(ColorRamp(1, ColourRGB(0, 100, 255), ColourRGB(255, 0, 0)),
            (std::vector<TColor>{ColourRGB(127, 50, 128)}));  // midpoint, truncating toward zero
  const auto& ramp = ColorRamp(3, ColourRGB(0, 0, 10), ColourRGB(255, 10, 0));
  // A falling channel truncates toward zero: blue 10 -> 0 over three steps gives 10, 6, 1.
  EXPECT_EQ(ramp, (std::vector<TColor>{ColourRGB(0, 0, 10), ColourRGB(128, 5, 6), ColourRGB(255, 10, 1)}));
  EXPECT_EQ(&ColorRamp(3, ColourRGB(0, 0, 10), ColourRGB(255, 10, 0)), &ramp);  // cached
  // The ramp 10 -> 0 runs from 10 to 1: looked up by its first and last colours it would be
  // taken for the ramp 10 -> 1, which differs inside. The cache keys on the arguments.
  const auto a = ColorRamp(10, 10, 0);
  EXPECT_EQ(a.back(), 1u);
  const auto b = ColorRamp(10, 10, 1);
  EXPECT_EQ(b[5], 6u);
  EXPECT_NE(a, b);
  // Sixteen slots: the seventeenth new ramp reuses the oldest slot.
  const TColor* first = ColorRamp(5, 1, 2).data();
  for (int i = 0; i < 15; ++i) ColorRamp(6 + i, 1, 2);
  EXPECT_EQ(ColorRamp(5, 1, 2).data(), first);
  ColorRamp(100, 1, 2);
  EXPECT_EQ(ColorRamp(5, 1, 2).size(), 5u);
  EXPECT_THROW(ColorRamp(0, 0, 0), EAssertionFailed);
}

TEST(Colour, Saturation) {
  EXPECT_EQ(ColorSaturation(ColourRGB(159, 0, 0)), 200);
  EXPECT_EQ(ColorSaturation(ColourRGB(255, 0, 0)), 255);
  EXPECT_EQ(ColorSaturation(ColourRGB(200, 200, 200)), 0);
  EXPECT_EQ(ColorSaturation(ColourRGB(170, 169, 1)), 254);  // 253.5 goes to the even 254
  EXPECT_EQ(ColorSaturation(ColourRGB(170, 168, 2)), 252);  // 252.0
  EXPECT_EQ(ColorSaturation(ColourRGB(170, 166, 4)), 249);  // 249.0
  EXPECT_EQ(ColorSaturation(ColourRGB(170, 170, 3)), 250);  // 250.5 goes to 250
}
