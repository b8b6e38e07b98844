// The two built-in skins and the program's own bitmap resources, drawn from code.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/skingen/Raster.h"

namespace skingen {

struct Image {
  std::string name;  // file name in the skin folder (lower case, ".bmp")
  Canvas canvas;
};

// Every bitmap of the named skin ("default" or "slate"); throws for another name.
std::vector<Image> DrawSkin(const std::string& skinName);
const std::vector<std::string>& SkinNames();

// The channel images "track.bmp" and "trackvert.bmp" used when a skin has none.
std::vector<Image> DrawResourceImages();
// "menuglyphs.bmp": 64 x 16, one bit per pixel, four black-on-white 16 x 16 glyphs:
// restore, maximise, minimise, close.
std::vector<std::uint8_t> MenuGlyphsBmp();

}  // namespace skingen
