// Checks a skin description against the bitmaps drawn for it: every image named exists and every
// bitmap is named, frame strips divide evenly by the frame counts the engine uses, margins fit
// in a frame, keys are written once, and the colour table is complete.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "tools/skingen/Ini.h"

namespace skingen {

struct Size {
  int w = 0, h = 0;
};

// The problems found, one line each; empty when the description and the bitmaps agree.
std::vector<std::string> CheckDescription(const std::string& text, const std::map<std::string, Size>& bitmaps);

// The frame count the engine uses for the image of a caption-button section.
int CaptionButtonFrames(const Ini& ini, const std::string& section, Size image);

}  // namespace skingen
