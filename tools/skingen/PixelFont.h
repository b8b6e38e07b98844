// A 5 x 7 pixel font for the labels of contact sheets (upper-case letters, digits, a few marks).
#pragma once
#include <string>

#include "tools/skingen/Raster.h"

namespace skingen {

// Draws `text` with its top-left at (x, y), each font pixel `scale` pixels wide; letters are
// shown in upper case, unknown characters as blanks. Returns the x after the last glyph.
int DrawText(Canvas& canvas, int x, int y, const std::string& text, RGB colour, int scale = 1);
int TextWidth(const std::string& text, int scale = 1);
inline constexpr int kTextHeight = 7;

}  // namespace skingen
