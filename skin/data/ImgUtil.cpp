// Bitmap utilities of the skin engine on framework bitmaps and device contexts.
#include "skin/data/ImgUtil.h"

#include <algorithm>
#include <cstring>

namespace skin {

namespace {

uint8_t* Pixel24(fw::TBitmap& b, int x, int y) { return static_cast<uint8_t*>(b.ScanLine(y)) + 3 * x; }

void Ensure24(fw::TBitmap& bitmap) { bitmap.SetPixelFormat(fw::TPixelFormat::pf24bit); }

// Replaces the picture of bitmap by that of result, keeping its transparency settings.
void TakePicture(fw::TBitmap& bitmap, const fw::TBitmap& result) {
  const bool transparent = bitmap.Transparent;
  const TColor key = bitmap.TransparentColor;
  bitmap.Assign(result);
  bitmap.Transparent = transparent;
  bitmap.TransparentColor = key;
}

// Builds a w x h 24-bit picture whose pixel (x, y) is source pixel from(x, y).
template <class Map>
void Remap(fw::TBitmap& bitmap, int w, int h, Map from) {
  Ensure24(bitmap);
  if (bitmap.Empty()) return;
  fw::TBitmap result(w, h, fw::TPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y) {
    auto* dst = static_cast<uint8_t*>(result.ScanLine(y));
    for (int x = 0; x < w; ++x, dst += 3) {
      POINT s = from(x, y);
      std::memcpy(dst, Pixel24(bitmap, s.x, s.y), 3);
    }
  }
  TakePicture(bitmap, result);
}

}  // namespace

void GradientFill(HDC dc, const RECT& r, TColor start, bool vertical, TColor end) {
  if (!dc || !RectVisible(dc, &r)) return;
  start = fw::ColorToRGB(start);
  end = fw::ColorToRGB(end);
  const int extent = vertical ? r.bottom - r.top : r.right - r.left;
  if (extent <= 0) return;
  RECT clip{};
  if (GetClipBox(dc, &clip) == ERROR) return;
  // Only the lines inside the clip box are drawn.
  const int origin = vertical ? r.top : r.left;
  const int first = std::max<int>(0, (vertical ? clip.top : clip.left) - origin);
  const int last = std::min<int>(extent, (vertical ? clip.bottom : clip.right) - origin);
  if (first >= last) return;
  const std::vector<TColor>& ramp = ColorRamp(extent, start, end);
  for (int i = first; i < last; ++i) {
    fw::TBrushHandle brush(CreateSolidBrush(ramp[static_cast<size_t>(i)]));
    RECT line = vertical ? RECT{r.left, r.top + i, r.right, r.top + i + 1} : RECT{r.left + i, r.top, r.left + i + 1, r.bottom};
    FillRect(dc, &line, brush);
  }
}

void GrayBitmap(fw::TBitmap& bitmap) {
  Ensure24(bitmap);
  for (int y = 0; y < bitmap.Height(); ++y) {
    auto* p = static_cast<uint8_t*>(bitmap.ScanLine(y));
    for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
      const auto grey = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
      p[0] = p[1] = p[2] = grey;
    }
  }
}

void ReplaceMagenta(fw::TBitmap& bitmap, TColor colour) {
  Ensure24(bitmap);
  const COLORREF c = fw::ColorToRGB(colour);
  const uint8_t blue = GetBValue(c), green = GetGValue(c), red = GetRValue(c);
  for (int y = 0; y < bitmap.Height(); ++y) {
    auto* p = static_cast<uint8_t*>(bitmap.ScanLine(y));
    for (int x = 0; x < bitmap.Width(); ++x, p += 3)
      if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
        p[0] = blue;
        p[1] = green;
        p[2] = red;
      }
  }
}

void MirrorBitmap(fw::TBitmap& bitmap) {
  const int w = bitmap.Width(), h = bitmap.Height();
  Remap(bitmap, w, h, [w](int x, int y) { return POINT{w - 1 - x, y}; });
}

void FlipBitmap(fw::TBitmap& bitmap) {
  const int w = bitmap.Width(), h = bitmap.Height();
  Remap(bitmap, w, h, [h](int x, int y) { return POINT{x, h - 1 - y}; });
}

void RotateLeft(fw::TBitmap& bitmap) {
  // Result (x, y) shows source (W - 1 - y, x): the source's right end of the top row lands top-left.
  const int w = bitmap.Width(), h = bitmap.Height();
  Remap(bitmap, h, w, [w](int x, int y) { return POINT{w - 1 - y, x}; });
}

void RotateRight(fw::TBitmap& bitmap) {
  // Result (x, y) shows source (y, H - 1 - x): the source's top row becomes the right column.
  const int w = bitmap.Width(), h = bitmap.Height();
  Remap(bitmap, h, w, [h](int x, int y) { return POINT{y, h - 1 - x}; });
}

}  // namespace skin
