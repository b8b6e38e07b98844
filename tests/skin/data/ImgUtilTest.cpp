// Bitmap utilities of the skin engine: transforms, grey and magenta replacement, gradient fills, by pixels.
#include <gtest/gtest.h>

#include <cstdlib>

#include "skin/data/ImgUtil.h"

using fw::TBitmap;
using fw::TPixelFormat;

namespace {

// 0x00RRGGBB of a 24-bit pixel.
uint32_t At(TBitmap& b, int x, int y) {
  const auto* p = static_cast<const uint8_t*>(b.ScanLine(y)) + 3 * x;
  return (p[2] << 16) | (p[1] << 8) | p[0];
}

void Put(TBitmap& b, int x, int y, uint32_t rgb) {
  auto* p = static_cast<uint8_t*>(b.ScanLine(y)) + 3 * x;
  p[0] = rgb & 0xFF;
  p[1] = (rgb >> 8) & 0xFF;
  p[2] = (rgb >> 16) & 0xFF;
}

// Distinct pixels:  A B C
//                   D E F
enum : uint32_t { A = 0x100000, B = 0x200000, C = 0x300000, D = 0x000040, E = 0x000050, F = 0x000060 };

TBitmap* Sample() {
  auto* b = new TBitmap(3, 2, TPixelFormat::pf24bit);
  const uint32_t px[2][3] = {{A, B, C}, {D, E, F}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) Put(*b, x, y, px[y][x]);
  return b;
}

void ExpectPicture(TBitmap& b, const std::vector<std::vector<uint32_t>>& rows) {
  ASSERT_EQ(b.Height(), static_cast<int>(rows.size()));
  ASSERT_EQ(b.Width(), static_cast<int>(rows[0].size()));
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) EXPECT_EQ(At(b, x, y), rows[y][x]) << "pixel " << x << "," << y;
}

bool Near(uint32_t a, uint32_t b) {
  for (int s = 0; s < 24; s += 8)
    if (std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF)) > 1) return false;
  return true;
}

}  // namespace

TEST(ImgUtil, GeometricTransformsMoveEveryPixelWhereItBelongs) {
  std::unique_ptr<TBitmap> b(Sample());
  skin::MirrorBitmap(*b);
  ExpectPicture(*b, {{C, B, A}, {F, E, D}});

  b.reset(Sample());
  skin::FlipBitmap(*b);
  ExpectPicture(*b, {{D, E, F}, {A, B, C}});

  b.reset(Sample());
  b->Transparent = true;
  skin::RotateLeft(*b);
  ExpectPicture(*b, {{C, F}, {B, E}, {A, D}});
  EXPECT_TRUE(b->Transparent);  // the picture changes, not the bitmap's settings

  b.reset(Sample());
  skin::RotateRight(*b);
  ExpectPicture(*b, {{D, A}, {E, B}, {F, C}});

  // Four quarter turns either way give the original back.
  b.reset(Sample());
  for (int i = 0; i < 4; ++i) skin::RotateRight(*b);
  ExpectPicture(*b, {{A, B, C}, {D, E, F}});
}

TEST(ImgUtil, TransformsOfOtherDepthsWorkOnA24BitCopy) {
  TBitmap b(2, 1, TPixelFormat::pf32bit);
  b.Canvas().SetPixel(0, 0, RGB(1, 2, 3));
  b.Canvas().SetPixel(1, 0, RGB(4, 5, 6));
  skin::MirrorBitmap(b);
  ExpectPicture(b, {{0x040506, 0x010203}});
  TBitmap empty;
  skin::RotateLeft(empty);  // nothing to do, nothing to fail
  EXPECT_TRUE(empty.Empty());
}

TEST(ImgUtil, GrayAndMagentaReplacement) {
  TBitmap b(3, 1, TPixelFormat::pf32bit);
  b.Canvas().SetPixel(0, 0, RGB(30, 60, 91));
  b.Canvas().SetPixel(1, 0, RGB(255, 0, 255));
  b.Canvas().SetPixel(2, 0, RGB(255, 1, 255));  // near magenta is not magenta
  TBitmap gray;
  gray.Assign(b);

  skin::ReplaceMagenta(b, 0x00332211);
  ExpectPicture(b, {{0x1E3C5B, 0x112233, 0xFF01FF}});
  // A system colour is replaced by its current value.
  b.Canvas().SetPixel(1, 0, RGB(255, 0, 255));
  skin::ReplaceMagenta(b, fw::clBtnFace);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(At(b, 1, 0), static_cast<uint32_t>((GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face)));

  skin::GrayBitmap(gray);
  ExpectPicture(gray, {{0x3C3C3C, 0xAAAAAA, 0xAAAAAA}});  // 181 div 3 = 60; 510 and 511 div 3 = 170
}

TEST(ImgUtil, GradientFillRunsFromStartToEndAndHonoursTheClipBox) {
  TBitmap b(10, 6, TPixelFormat::pf24bit);
  HDC dc = b.Canvas().Handle();
  skin::GradientFill(dc, {0, 0, 10, 6}, 0x0000FF /* red */, false, 0xFF0000 /* blue */);
  for (int y = 0; y < 6; ++y) {
    EXPECT_TRUE(Near(At(b, 0, y), 0xFF0000)) << std::hex << At(b, 0, y);
    EXPECT_TRUE(Near(At(b, 9, y), 0x0000FF)) << std::hex << At(b, 9, y);
  }
  // Columns change monotonically from red to blue.
  for (int x = 1; x < 10; ++x) EXPECT_LT(At(b, x, 0) >> 16, At(b, x - 1, 0) >> 16);

  // Vertical, from a system colour, with only the lower half inside the clip region.
  b.Canvas().Brush().SetColor(fw::clBlack);
  b.Canvas().FillRect({0, 0, 10, 6});
  fw::TRegionHandle clip(CreateRectRgn(0, 3, 10, 6));
  SelectClipRgn(dc, clip);
  skin::GradientFill(dc, {0, 0, 10, 6}, fw::clWhite, true, fw::clGreen);
  SelectClipRgn(dc, nullptr);
  EXPECT_EQ(At(b, 4, 2), 0u);  // clipped away
  EXPECT_TRUE(Near(At(b, 4, 5), 0x008000)) << std::hex << At(b, 4, 5);
  EXPECT_GT(At(b, 4, 3) & 0xFF, 0u);  // still on the way from white
  EXPECT_TRUE(Near(At(b, 4, 3), At(b, 9, 3)));  // one colour per row

  // An empty or wholly invisible rectangle draws nothing.
  b.Canvas().FillRect({0, 0, 10, 6});
  skin::GradientFill(dc, {5, 5, 5, 9}, fw::clWhite, true, fw::clWhite);
  skin::GradientFill(dc, {20, 0, 30, 6}, fw::clWhite, false, fw::clWhite);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(At(b, x, 5), 0u);
}
