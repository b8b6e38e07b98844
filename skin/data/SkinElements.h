// Portable part of the skin element records: the numeric fields every element carries,
// read from the skin description without touching a bitmap.
#pragma once
#include <cstdint>

namespace skin {

// Nine-slice margins of one frame, in pixels: the fixed left and right widths and the fixed
// top and bottom heights; everything between them is stretched or tiled.
struct TMargins {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TMargins&) const = default;
};

}  // namespace skin
