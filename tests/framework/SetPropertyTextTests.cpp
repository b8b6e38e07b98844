// A published set read as text: its members' identifiers in ordinal order, in brackets.
#include <gtest/gtest.h>

#include "Graphics.h"
#include "TypInfo.h"

using namespace fw;

TEST(PropertyText, SetsReadAsTheirMembersInBrackets) {
  TFont f;
  f.SetStyle(0);
  EXPECT_EQ(GetPropText(&f, "Style"), L"[]");
  f.SetStyle(fsStrikeOut | fsBold);
  EXPECT_EQ(GetPropText(&f, "style"), L"[fsBold,fsStrikeOut]");
  f.SetStyle(fsBold | fsItalic | fsUnderline | fsStrikeOut);
  EXPECT_EQ(GetPropText(&f, "Style"), L"[fsBold,fsItalic,fsUnderline,fsStrikeOut]");
  // Still no integer, and not written as text.
  EXPECT_FALSE(GetIntProp(&f, "Style").has_value());
  EXPECT_FALSE(SetPropText(&f, "Style", L"[fsItalic]"));
}
