// Published properties by name as text: Boolean as "True"/"False", enumerations by identifier,
// integers in decimal or by a named constant, strings as they are; absent names and other
// kinds read as absent and are not written.
#include <gtest/gtest.h>

#include "Forms.h"
#include "StdCtrls.h"
#include "TypInfo.h"

using namespace fw;

TEST(PropertyText, BooleansReadAndWriteAsTrueAndFalse) {
  TButton b(nullptr);
  EXPECT_EQ(GetEnumProp(&b, "Enabled"), "True");
  EXPECT_EQ(GetPropText(&b, "enabled"), L"True");
  EXPECT_TRUE(SetPropText(&b, "Enabled", L"false"));  // any case
  EXPECT_FALSE(b.Enabled());
  EXPECT_EQ(GetEnumProp(&b, "Enabled"), "False");
  EXPECT_TRUE(SetPropText(&b, "Default", L"TRUE"));
  EXPECT_TRUE(b.Default());
  // Not a Boolean identifier: nothing is written.
  EXPECT_FALSE(SetPropText(&b, "Enabled", L"1"));
  EXPECT_FALSE(SetPropText(&b, "Enabled", L"yes"));
  EXPECT_FALSE(b.Enabled());
  ASSERT_NE(FindPublishedProp(&b, "Visible"), nullptr);
  EXPECT_EQ(PropValueNames(*FindPublishedProp(&b, "Visible")), (std::vector<std::string>{"False", "True"}));
  // A Boolean is no integer.
  EXPECT_FALSE(GetIntProp(&b, "Enabled").has_value());
}

TEST(PropertyText, EnumerationsIntegersAndStrings) {
  TPanel p(nullptr);
  EXPECT_EQ(GetEnumProp(&p, "BevelOuter"), "bvRaised");
  EXPECT_TRUE(SetPropText(&p, "BevelOuter", L"BVLOWERED"));
  EXPECT_EQ(p.BevelOuter(), bvLowered);
  EXPECT_FALSE(SetPropText(&p, "BevelOuter", L"bvSideways"));
  EXPECT_EQ(p.BevelOuter(), bvLowered);
  EXPECT_EQ(GetPropText(&p, "Alignment"), L"taCenter");

  EXPECT_TRUE(SetPropText(&p, "Left", L"17"));
  EXPECT_EQ(p.Left(), 17);
  EXPECT_EQ(GetIntProp(&p, "left"), 17);
  EXPECT_EQ(GetPropText(&p, "Left"), L"17");
  EXPECT_TRUE(SetPropText(&p, "Width", L"-3"));
  EXPECT_EQ(p.Width(), -3);
  EXPECT_TRUE(SetPropText(&p, "Color", L"clRed"));
  EXPECT_EQ(p.Color(), clRed);
  // Neither a number nor a known constant: refused, not raised.
  EXPECT_FALSE(SetPropText(&p, "Color", L"clNoSuchColour"));
  EXPECT_FALSE(SetPropText(&p, "Left", L"12px"));
  EXPECT_FALSE(SetPropText(&p, "Left", L""));
  EXPECT_EQ(p.Left(), 17);
  EXPECT_EQ(p.Color(), clRed);

  EXPECT_TRUE(SetPropText(&p, "Caption", L"面板 1"));
  EXPECT_EQ(p.Caption(), L"面板 1");
  EXPECT_EQ(GetPropText(&p, "Caption"), L"面板 1");
  // A string is no enumeration.
  EXPECT_EQ(GetEnumProp(&p, "Caption"), "");
}

TEST(PropertyText, AbsentNamesAndOtherKindsReadAsAbsent) {
  TButton b(nullptr);
  EXPECT_EQ(GetObjectProp(&b, "Font"), b.Font());
  EXPECT_EQ(GetObjectProp(&b, "Caption"), nullptr);
  EXPECT_EQ(GetPropText(&b, "Font"), L"");
  EXPECT_FALSE(SetPropText(&b, "Font", L"宋体"));
  EXPECT_FALSE(SetPropText(&b, "OnClick", L"Button1Click"));
  EXPECT_FALSE(GetIntProp(&b, "NumGlyphs").has_value());
  EXPECT_EQ(GetEnumProp(&b, "ParentBackground"), "");
  EXPECT_FALSE(SetPropText(&b, "ParentBackground", L"False"));
  EXPECT_EQ(GetEnumProp(nullptr, "Enabled"), "");
  EXPECT_FALSE(GetIntProp(nullptr, "Left").has_value());
  EXPECT_FALSE(SetPropText(nullptr, "Left", L"1"));
  EXPECT_EQ(FindPublishedProp(nullptr, "Left"), nullptr);
}
