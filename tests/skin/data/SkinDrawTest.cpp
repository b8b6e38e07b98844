// The skin drawing unit, checked by pixels: nine grids, tiles, frames, keyed blits, strips,
// three-slices, title backs, regions, and what degenerate input and huge geometry do.
#include <gtest/gtest.h>

#include <set>

#include <climits>
#include <functional>
#include <memory>
#include <sstream>

#include "skin/data/SkinDraw.h"

using fw::TBitmap;
using fw::TPixelFormat;
using skin::TMargins;

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;  // colours as 0x00RRGGBB
constexpr uint32_t kGround = 0x123456;   // what a target shows before drawing
const TMargins kThree{3, 3, 3, 3};

uint32_t At(TBitmap& b, int x, int y) {
  const auto* p = static_cast<const uint8_t*>(b.ScanLine(y)) + x * (b.BitsPerPixel() / 8);
  return (p[2] << 16) | (p[1] << 8) | p[0];
}

void Fill(TBitmap& b, const RECT& r, uint32_t rgb) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      auto* p = static_cast<uint8_t*>(b.ScanLine(y)) + x * (b.BitsPerPixel() / 8);
      p[0] = rgb & 0xFF;
      p[1] = (rgb >> 8) & 0xFF;
      p[2] = (rgb >> 16) & 0xFF;
    }
}

std::unique_ptr<TBitmap> Target(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h, TPixelFormat::pf24bit);
  Fill(*b, {0, 0, w, h}, kGround);
  return b;
}

HDC DC(TBitmap& b) { return b.Canvas().Handle(); }

// Compares every pixel with expected(x, y) and reports the first differences.
void ExpectPixels(TBitmap& b, const std::function<uint32_t(int, int)>& expected) {
  int wrong = 0;
  std::ostringstream report;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const uint32_t want = expected(x, y), got = At(b, x, y);
      if (want != got && ++wrong <= 5)
        report << " (" << x << "," << y << "): got " << std::hex << got << " want " << want << std::dec;
    }
  EXPECT_EQ(wrong, 0) << "wrong pixels:" << report.str();
}

// Slice (col, row) of frame f of a grid image, and the pixels of frame 1's patterned centre.
uint32_t Slice(int f, int col, int row) {
  return static_cast<uint32_t>((f * 0x30 + 0x10) << 16 | (col * 0x40 + 0x20) << 8 | (row * 0x40 + 0x30));
}
uint32_t Pattern(int u, int v) { return static_cast<uint32_t>(0x800000 | (u * 0x20 + 0x10) << 8 | (v * 0x20 + 0x10)); }

// `frames` cells of 9 x 9 pixels, side by side or stacked, each of 3 x 3 solid slices of 3 x 3
// pixels; with patterned, frame 1's centre slice has nine colours.
std::unique_ptr<TBitmap> GridImage(int frames, bool vertical, bool patterned = false) {
  auto b = std::make_unique<TBitmap>(vertical ? 9 : 9 * frames, vertical ? 9 * frames : 9, TPixelFormat::pf24bit);
  for (int f = 1; f <= frames; ++f) {
    const int ox = vertical ? 0 : 9 * (f - 1), oy = vertical ? 9 * (f - 1) : 0;
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 3; ++col)
        Fill(*b, {ox + 3 * col, oy + 3 * row, ox + 3 * col + 3, oy + 3 * row + 3}, Slice(f, col, row));
    for (int v = 0; patterned && f == 1 && v < 3; ++v)
      for (int u = 0; u < 3; ++u) Fill(*b, {ox + 3 + u, oy + 3 + v, ox + 4 + u, oy + 4 + v}, Pattern(u, v));
  }
  return b;
}

// Slice index of a coordinate along a nine grid of the given length with margins 3.
int Band(int p, int length) { return p < 3 ? 0 : p >= length - 3 ? 2 : 1; }

void ExpectBuilt(const RECT& dest, TBitmap& image, const TMargins& m, bool vertical, bool tile, int count, int frame,
                 const std::function<uint32_t(int, int)>& expected) {
  auto built = skin::BuildSkinImage(dest, image, m, vertical, tile, count, frame);
  ASSERT_TRUE(built);
  EXPECT_EQ(built->Width(), dest.right - dest.left);
  EXPECT_EQ(built->Height(), dest.bottom - dest.top);
  EXPECT_EQ(built->PixelFormat(), TPixelFormat::pf24bit);
  ExpectPixels(*built, expected);
}

}  // namespace

TEST(SkinDraw, NineGridPutsCornersEdgesAndCentreOfTheChosenFrameInPlace) {
  auto image = GridImage(2, false);
  ExpectBuilt({5, 7, 25, 22}, *image, kThree, false, false, 2, 2,
              [](int x, int y) { return Slice(2, Band(x, 20), Band(y, 15)); });
  auto stacked = GridImage(3, true);  // frames one above the other: the third of three
  ExpectBuilt({0, 0, 12, 30}, *stacked, kThree, true, false, 3, 3,
              [](int x, int y) { return Slice(3, Band(x, 12), Band(y, 30)); });
  // Tiled: the centre (14 x 9) repeats from its top-left, the last column of tiles cut.
  auto patterned = GridImage(1, false, true);
  ExpectBuilt({0, 0, 20, 15}, *patterned, kThree, false, true, 1, 1, [](int x, int y) {
    const int col = Band(x, 20), row = Band(y, 15);
    return col == 1 && row == 1 ? Pattern((x - 3) % 3, (y - 3) % 3) : Slice(1, col, row);
  });

  // On a DC the picture lands at the destination and nothing else changes.
  auto target = Target(30, 30);
  skin::DrawSkinImage(DC(*target), {4, 6, 24, 21}, *image, false, false, false, 2, 1, kThree);
  ExpectPixels(*target, [](int x, int y) {
    return x < 4 || x >= 24 || y < 6 || y >= 21 ? kGround : Slice(1, Band(x - 4, 20), Band(y - 6, 15));
  });
  // DrawTiled alone: tiles cut at dest; the source is clipped to the image.
  target = Target(12, 12);
  skin::DrawTiled(target->Canvas(), {1, 2, 11, 9}, *patterned, {3, 3, 6, 6});
  ExpectPixels(*target, [](int x, int y) {
    return x < 1 || x >= 11 || y < 2 || y >= 9 ? kGround : Pattern((x - 1) % 3, (y - 2) % 3);
  });
  skin::DrawTiled(DC(*target), {0, 0, 12, 12}, *patterned, {8, 8, 50, 50});
  ExpectPixels(*target, [](int, int) { return Slice(1, 2, 2); });
}

TEST(SkinDraw, MarginsAreDroppedWhenTooLargeAndNeverReadOutsideTheFrame) {
  auto image = GridImage(2, false);
  // 3 x 3 (< 3 + 3 both ways): the whole frame shrinks, one pixel per slice; 20 x 3 keeps the
  // horizontal margins only; 6 x 6 (exactly the sums) keeps both, the corners meet.
  ExpectBuilt({0, 0, 3, 3}, *image, kThree, false, false, 2, 1, [](int x, int y) { return Slice(1, x, y); });
  ExpectBuilt({0, 0, 20, 3}, *image, kThree, false, false, 2, 1,
              [](int x, int y) { return Slice(1, Band(x, 20), y); });
  ExpectBuilt({0, 0, 6, 6}, *image, kThree, false, false, 2, 1,
              [](int x, int y) { return Slice(1, x < 3 ? 0 : 2, y < 3 ? 0 : 2); });
  // Margins of 50 on a 9-pixel frame and a destination of at least 100: cut to the frame, the
  // top-left corner is the whole frame, frame 2 never shows, the parts with nothing to copy
  // stay magenta. Below 100 (also for INT_MAX, whose sum must not overflow) they are dropped;
  // negative ones count as 0.
  ExpectBuilt({0, 0, 120, 100}, *image, {50, 50, 50, 50}, false, false, 2, 1,
              [](int x, int y) { return x < 9 && y < 9 ? Slice(1, x / 3, y / 3) : kMagenta; });
  for (int32_t m : {50, INT_MAX, -4})
    ExpectBuilt({0, 0, 18, 18}, *image, {m, m, m, m}, false, false, 2, 1,
                [](int x, int y) { return Slice(1, x / 6, y / 6); });
}

TEST(SkinDraw, FrameCountsAndIndexesOutOfRangeAreClamped) {
  auto image = GridImage(3, false);  // 27 x 9
  const auto expectRect = [&](int count, int frame, bool vertical, RECT want) {
    const RECT r = skin::FrameRect(*image, count, frame, vertical);
    EXPECT_TRUE(EqualRect(&r, &want)) << "count " << count << " frame " << frame << ": " << r.left << ","
                                      << r.top << "," << r.right << "," << r.bottom;
  };
  expectRect(3, 2, false, {9, 0, 18, 9});
  expectRect(3, -7, false, {0, 0, 9, 9});        // below 1: the first frame
  expectRect(3, INT_MAX, false, {18, 0, 27, 9});  // past the end: the last
  expectRect(0, 2, false, {0, 0, 27, 9});         // counts below 1 count as 1
  expectRect(INT_MIN, 1, false, {0, 0, 27, 9});
  expectRect(INT_MAX, 1, false, {0, 0, 0, 0});    // frames narrower than a pixel: none
  expectRect(9, 9, true, {0, 8, 27, 9});          // stacked one-pixel rows
  TBitmap empty;
  const RECT none = skin::FrameRect(empty, 1, 1, false);
  EXPECT_TRUE(IsRectEmpty(&none));
  // Drawing picks the same clamped frame.
  ExpectBuilt({0, 0, 9, 9}, *image, {}, false, false, 3, 1000, [](int x, int y) { return Slice(3, x / 3, y / 3); });
  ExpectBuilt({0, 0, 9, 3}, *image, {}, false, false, -1, 5,
              [](int x, int y) { return Slice(1 + x / 3, x % 3, y); });  // the whole strip as one frame
}

TEST(SkinDraw, DegenerateInputDrawsNothingAndNeverThrows) {
  auto image = GridImage(2, false);
  TBitmap empty;
  EXPECT_FALSE(skin::BuildSkinImage({0, 0, 10, 10}, empty, kThree, false, false, 1, 1));
  EXPECT_FALSE(skin::BuildSkinImage({10, 0, 0, 10}, *image, kThree, false, false, 1, 1));
  EXPECT_FALSE(skin::BuildSkinImage({0, 0, 0, 10}, *image, kThree, false, false, 1, 1));
  EXPECT_FALSE(skin::BuildSkinImage({0, 0, 10, 10}, *image, kThree, false, false, INT_MAX, 1));
  EXPECT_FALSE(skin::BuildSkinImage({-32767, 0, 32767, 10}, *image, kThree, false, false, 1, 1));  // too large
  EXPECT_FALSE(skin::BuildSkinImage({INT_MIN, 0, INT_MAX, 10}, *image, kThree, false, false, 1, 1));

  using Draw = std::function<void(HDC, const RECT&, TBitmap&, int, int)>;
  const Draw framed[] = {
      [](HDC dc, const RECT& r, TBitmap& b, int n, int f) {
        skin::DrawSkinImage(dc, r, b, false, true, true, n, f, kThree);
        skin::DrawSkinImage(dc, r, b, true, false, false, n, f, {INT_MAX, INT_MIN, INT_MAX, INT_MAX});
      },
      [](HDC dc, const RECT& r, TBitmap& b, int n, int f) {
        skin::DrawStripFrame(dc, r, b, false, n, f);
        skin::DrawKeyedFrame(dc, r, n, f, b);
        skin::DrawStripFrameCentred(dc, r, b, true, n, f);
        skin::DrawStripFrameCentred(dc, r, b, false, n, f);
      },
      [](HDC dc, const RECT& r, TBitmap& b, int n, int f) {
        skin::DrawThreeSlice(dc, r, b, false, n, f, {INT_MAX, 0, INT_MAX, 0});
        skin::DrawTitleBack(dc, r, b, true, true, n, f, {-3, 0, INT_MIN, 0});
      },
  };
  const Draw unframed = [](HDC dc, const RECT& r, TBitmap& b, int, int) {
    skin::DrawTiled(dc, r, b, {0, 0, 5, 5});
    skin::TransparentBlit(dc, r, b);
  };
  auto target = Target(20, 20);
  HDC dc = DC(*target);
  const RECT full{0, 0, 20, 20}, inverted{20, 20, 5, 5}, flat{5, 5, 20, 5}, outside{INT_MIN, 0, INT_MAX, 20};
  for (const Draw& draw : framed) {
    EXPECT_NO_THROW({
      for (const RECT& r : {inverted, flat, outside}) draw(dc, r, *image, 1, 1);
      draw(dc, full, empty, 1, 1);
      draw(dc, full, *image, INT_MAX, 1);  // frames narrower than a pixel
      draw(nullptr, full, *image, 1, 1);
    });
  }
  EXPECT_NO_THROW({
    for (const RECT& r : {inverted, flat, outside}) unframed(dc, r, *image, 1, 1);
    unframed(dc, full, empty, 1, 1);
  });
  ExpectPixels(*target, [](int, int) { return kGround; });
  // Zero and negative counts and far-out frame numbers draw without fault.
  for (const Draw& draw : framed)
    EXPECT_NO_THROW({
      draw(dc, full, *image, 0, INT_MIN);
      draw(dc, full, *image, -9, INT_MAX);
    });
}

TEST(SkinDraw, HugeDestinationsDrawOnlyTheirVisiblePartInTheRightPlace) {
  auto solid = GridImage(1, false);
  auto patterned = GridImage(1, false, true);
  const RECT huge{-32767, -32767, 32767, 32767};
  for (bool transparent : {false, true}) {
    auto target = Target(40, 30);
    skin::DrawSkinImage(DC(*target), huge, *solid, false, false, transparent, 1, 1, kThree);
    ExpectPixels(*target, [](int, int) { return Slice(1, 1, 1); });
    // Tiles stay anchored at the centre's top-left, 32764 pixels to the left and above.
    skin::DrawSkinImage(DC(*target), huge, *patterned, false, true, transparent, 1, 1, kThree);
    ExpectPixels(*target, [](int x, int y) { return Pattern((x + 32764) % 3, (y + 32764) % 3); });
  }
  // Only the bottom-right corner and the ends of two edges show.
  auto target = Target(40, 30);
  skin::DrawSkinImage(DC(*target), {-32767, -32767, 20, 15}, *solid, false, false, false, 1, 1, kThree);
  ExpectPixels(*target, [](int x, int y) {
    return x >= 20 || y >= 15 ? kGround : Slice(1, x >= 17 ? 2 : 1, y >= 12 ? 2 : 1);
  });
  // Wholly outside the surface: nothing.
  target = Target(40, 30);
  skin::DrawSkinImage(DC(*target), {40, 0, 32767, 32767}, *solid, false, true, true, 1, 1, kThree);
  skin::DrawTitleBack(DC(*target), {-32767, 30, 32767, 60}, *solid, false, false, 1, 1, kThree);
  ExpectPixels(*target, [](int, int) { return kGround; });
  // A title back far wider than the surface repeats its middle from the left end (the frame's
  // pattern rows 3..5 are stretched over rows 10..19).
  skin::DrawTitleBack(DC(*target), {-32767, 0, 32767, 30}, *patterned, false, false, 1, 1, kThree);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(At(*target, x, 15), Pattern((x + 32764) % 3, 1)) << x;
}

TEST(SkinDraw, KeyedDrawingKeepsTheDestinationWhereTheImageIsMagenta) {
  // 6 x 4: magenta column 1 and pixel (4, 2); the near-magenta pixel (5, 3) is not the key.
  TBitmap image(6, 4, TPixelFormat::pf24bit);
  Fill(image, {0, 0, 6, 4}, 0x00AA00);
  Fill(image, {1, 0, 2, 4}, kMagenta);
  Fill(image, {4, 2, 5, 3}, kMagenta);
  Fill(image, {5, 3, 6, 4}, 0xFE00FF);
  for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
    image.SetPixelFormat(format);
    auto target = Target(10, 8);
    skin::TransparentBlit(DC(*target), {2, 3, 12, 12}, image);  // larger than the image
    ExpectPixels(*target, [&](int x, int y) {
      const int ix = x - 2, iy = y - 3;
      if (ix < 0 || ix >= 6 || iy < 0 || iy >= 4 || ix == 1 || (ix == 4 && iy == 2)) return kGround;
      return ix == 5 && iy == 3 ? 0xFE00FFu : 0x00AA00u;
    });
  }
  // A smaller rectangle cuts the picture, an inverted one draws nothing, clNone copies all.
  auto target = Target(10, 8);
  skin::TransparentBlit(DC(*target), {0, 0, 2, 2}, image);
  skin::TransparentBlit(DC(*target), {9, 9, 3, 3}, image);
  ExpectPixels(*target, [](int x, int y) { return x == 0 && y < 2 ? 0x00AA00u : kGround; });
  skin::TransparentBlit(DC(*target), {0, 4, 6, 8}, image, fw::clNone);
  EXPECT_EQ(At(*target, 1, 5), kMagenta);

  // A keyed nine grid partly off the surface: its magenta top-left slice lets the destination
  // through; drawn opaque, the slice is copied as it is.
  auto grid = GridImage(1, false);
  Fill(*grid, {0, 0, 3, 3}, kMagenta);
  target = Target(20, 20);
  skin::DrawSkinFrame(DC(*target), {-2, -1, 18, 14}, 1, 1, *grid, kThree, false, true);
  ExpectPixels(*target, [](int x, int y) {
    const int gx = x + 2, gy = y + 1, col = Band(gx, 20), row = Band(gy, 15);
    return gx >= 20 || gy >= 15 || (col == 0 && row == 0) ? kGround : Slice(1, col, row);
  });
  skin::DrawSkinFrame(DC(*target), {0, 0, 20, 15}, 1, 1, *grid, kThree, false, false);
  EXPECT_EQ(At(*target, 0, 0), kMagenta);
}

TEST(SkinDraw, StripFramesAreStretchedOrCentredAndCut) {
  // Three 4 x 4 frames side by side; frame 2 has a magenta pixel at its (1, 1).
  const uint32_t colours[3] = {0x400000, 0x004000, 0x000040};
  TBitmap strip(12, 4, TPixelFormat::pf24bit);
  for (int f = 0; f < 3; ++f) Fill(strip, {4 * f, 0, 4 * f + 4, 4}, colours[f]);
  Fill(strip, {5, 1, 6, 2}, kMagenta);
  for (bool transparent : {true, false}) {
    // Stretched twice: the magenta pixel becomes the block (4..5, 4..5).
    auto target = Target(12, 12);
    skin::DrawStripFrame(DC(*target), {2, 2, 10, 10}, strip, transparent, 3, 2);
    ExpectPixels(*target, [&](int x, int y) {
      if (x < 2 || x >= 10 || y < 2 || y >= 10) return kGround;
      return x >= 4 && x < 6 && y >= 4 && y < 6 ? (transparent ? kGround : kMagenta) : colours[1];
    });
    // Centred and larger than the rectangle: placed at (-1, -1) and cut, frame pixel (1, 1) at (0, 0).
    target = Target(12, 12);
    skin::DrawStripFrameCentred(DC(*target), {0, 0, 2, 2}, strip, transparent, 3, 2);
    ExpectPixels(*target, [&](int x, int y) {
      if (x >= 2 || y >= 2) return kGround;
      return x == 0 && y == 0 ? (transparent ? kGround : kMagenta) : colours[1];
    });
  }
  // Centred unscaled: offsets (10 - 4) / 2 and (9 - 4) / 2.
  auto target = Target(12, 12);
  skin::DrawStripFrameCentred(DC(*target), {0, 0, 10, 9}, strip, false, 3, 3);
  ExpectPixels(*target, [&](int x, int y) { return x >= 3 && x < 7 && y >= 2 && y < 6 ? colours[2] : kGround; });
  skin::DrawKeyedFrame(target->Canvas(), {0, 0, 4, 4}, 3, 2, strip);
  EXPECT_EQ(At(*target, 1, 1), kGround);
  EXPECT_EQ(At(*target, 2, 2), colours[1]);
}

TEST(SkinDraw, ThreeSliceAndTitleBackLayOutTheirEnds) {
  // One 10 x 4 frame: ends of 2 pixels around a middle of 6.
  const uint32_t left = 0x300000, middle = 0x003000, right = 0x000030;
  TBitmap bar(10, 4, TPixelFormat::pf24bit);
  Fill(bar, {0, 0, 2, 4}, left);
  Fill(bar, {2, 0, 8, 4}, middle);
  Fill(bar, {8, 0, 10, 4}, right);
  auto target = Target(34, 10);
  skin::DrawThreeSlice(DC(*target), {2, 1, 32, 7}, bar, false, 1, 1, {2, 0, 2, 0});
  ExpectPixels(*target, [&](int x, int y) {
    if (x < 2 || x >= 32 || y < 1 || y >= 7) return kGround;
    return x < 4 ? left : x >= 30 ? right : middle;
  });
  // Narrower than the frame: the whole frame shrinks into it.
  target = Target(34, 10);
  skin::DrawThreeSlice(DC(*target), {0, 0, 6, 4}, bar, false, 1, 1, {2, 0, 2, 0});
  EXPECT_EQ(At(*target, 0, 0), left);
  EXPECT_EQ(At(*target, 3, 3), middle);
  EXPECT_EQ(At(*target, 5, 0), right);
  EXPECT_EQ(At(*target, 6, 0), kGround);

  // Title back: two stacked 8 x 4 frames, ends of 2; frame 2's middle columns are A B C D with D
  // magenta. 17 wide: middles at 2, 6, 10 and 14, the right end over 15 and 16.
  const uint32_t cols[4] = {0x500000, 0x005000, 0x000050, kMagenta};
  TBitmap back(8, 8, TPixelFormat::pf24bit);
  for (int f = 0; f < 2; ++f) {
    Fill(back, {0, 4 * f, 2, 4 * f + 4}, left + f);
    for (int i = 0; i < 4; ++i) Fill(back, {2 + i, 4 * f, 3 + i, 4 * f + 4}, f == 1 ? cols[i] : middle);
    Fill(back, {6, 4 * f, 8, 4 * f + 4}, right + f);
  }
  for (bool transparent : {true, false}) {
    target = Target(20, 8);
    skin::DrawTitleBack(target->Canvas(), {0, 1, 17, 7}, back, true, transparent, 2, 2, {2, 0, 2, 0});
    ExpectPixels(*target, [&](int x, int y) {
      if (x >= 17 || y < 1 || y >= 7) return kGround;
      if (x < 2 || x >= 15) return x < 2 ? left + 1 : right + 1;
      const uint32_t c = cols[(x - 2) % 4];
      return c == kMagenta && transparent ? kGround : c;
    });
  }
}

TEST(SkinDraw, RegionHoldsExactlyTheOpaquePixels) {
  // 10 x 8 green, a magenta 3 x 2 top-left corner, a pixel one step above the key in green at
  // (5, 5) and one below it in red at (6, 5).
  TBitmap image(10, 8, TPixelFormat::pf24bit);
  Fill(image, {0, 0, 10, 8}, 0x00C000);
  Fill(image, {0, 0, 3, 2}, kMagenta);
  Fill(image, {5, 5, 6, 6}, 0xFF01FF);
  Fill(image, {6, 5, 7, 6}, 0xFE00FF);
  for (int tolerance : {1, 0}) {
    SCOPED_TRACE(tolerance);
    fw::TRegionHandle region = skin::RegionFromBitmap(image, 5, 7, tolerance, tolerance, tolerance);
    ASSERT_TRUE(region);
    for (int y = -1; y <= 8; ++y)
      for (int x = -1; x <= 10; ++x) {
        const bool inside = x >= 0 && x < 10 && y >= 0 && y < 8;
        const bool clear = (x < 3 && y < 2) || (tolerance == 1 && x == 5 && y == 5);
        EXPECT_EQ(PtInRegion(region, x + 5, y + 7) != FALSE, inside && !clear) << x << "," << y;
      }
  }
  // A 32-bit bitmap gives the same region and is left as it is.
  image.SetPixelFormat(TPixelFormat::pf32bit);
  fw::TRegionHandle region = skin::RegionFromBitmap(image, 0, 0, 1, 1, 1);
  ASSERT_TRUE(region);
  EXPECT_FALSE(PtInRegion(region, 2, 1));
  EXPECT_TRUE(PtInRegion(region, 3, 1));
  EXPECT_EQ(image.PixelFormat(), TPixelFormat::pf32bit);

  TBitmap clear(5, 5, TPixelFormat::pf24bit), empty;
  Fill(clear, {0, 0, 5, 5}, kMagenta);
  EXPECT_FALSE(skin::RegionFromBitmap(clear, 0, 0, 1, 1, 1));
  EXPECT_FALSE(skin::RegionFromBitmap(empty, 0, 0, 1, 1, 1));
}

TEST(SkinDraw, PartOfAKeptBufferGivesTheSameImageAndRegion) {
  // A nine-grid built into the top-left of a larger buffer equals the one built on its own, and
  // leaves the rest of the buffer alone; the region of that part equals the region of the image.
  TBitmap source(9, 9, TPixelFormat::pf24bit);
  Fill(source, {0, 0, 9, 9}, 0x3080C0);
  Fill(source, {0, 0, 2, 2}, kMagenta);
  const TMargins m{3, 3, 3, 3};
  auto alone = skin::BuildSkinImage({0, 0, 20, 14}, source, m, false, false, 1, 1);
  ASSERT_TRUE(alone);
  TBitmap buffer(64, 64, TPixelFormat::pf24bit);
  Fill(buffer, {0, 0, 64, 64}, 0x00FF00);
  ASSERT_TRUE(skin::BuildSkinImage(buffer, {0, 0, 20, 14}, source, m, false, false, 1, 1));
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 20; ++x)
      ASSERT_EQ(At(buffer, x, y), At(*alone, x, y)) << x << "," << y;
  EXPECT_EQ(At(buffer, 20, 0), 0x00FF00u);
  EXPECT_EQ(At(buffer, 0, 14), 0x00FF00u);
  // Outside the buffer, or nothing to draw: nothing is drawn.
  EXPECT_FALSE(skin::BuildSkinImage(buffer, {50, 50, 70, 60}, source, m, false, false, 1, 1));
  TBitmap empty;
  EXPECT_FALSE(skin::BuildSkinImage(buffer, {0, 0, 10, 10}, empty, m, false, false, 1, 1));

  fw::TRegionHandle whole = skin::RegionFromBitmap(*alone, 4, 6, 1, 1, 1);
  fw::TRegionHandle part = skin::RegionFromBitmap(buffer, {0, 0, 20, 14}, 4, 6, 1, 1, 1);
  ASSERT_TRUE(whole);
  ASSERT_TRUE(part);
  EXPECT_TRUE(EqualRgn(whole, part));
  // A part away from the origin counts from its own top-left.
  fw::TRegionHandle inner = skin::RegionFromBitmap(*alone, {2, 2, 20, 14}, 0, 0, 1, 1, 1);
  ASSERT_TRUE(inner);
  RECT box{};
  GetRgnBox(inner, &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 18);
  EXPECT_EQ(box.bottom, 12);
  EXPECT_FALSE(skin::RegionFromBitmap(*alone, {30, 30, 40, 40}, 0, 0, 1, 1, 1));
}

TEST(SkinDraw, RegionsOfManyRunsLoseNoRectangleAcrossBatches) {
  // A checkerboard of single pixels has 50 runs a row: 40 rows are exactly one batch of 2000.
  for (int rows : {40, 41, 100}) {
    SCOPED_TRACE(rows);
    TBitmap board(100, rows, TPixelFormat::pf24bit);
    Fill(board, {0, 0, 100, rows}, 0x0000C0);
    for (int y = 0; y < rows; ++y)
      for (int x = (y + 1) % 2; x < 100; x += 2) Fill(board, {x, y, x + 1, y + 1}, kMagenta);
    fw::TRegionHandle region = skin::RegionFromBitmap(board, -3, 2, 1, 1, 1);
    ASSERT_TRUE(region);
    EXPECT_EQ(GetRegionData(region, 0, nullptr), sizeof(RGNDATAHEADER) + 50u * rows * sizeof(RECT));
    int wrong = 0;
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < 100; ++x)
        if ((PtInRegion(region, x - 3, y + 2) != FALSE) != ((x + y) % 2 == 0)) ++wrong;
    EXPECT_EQ(wrong, 0);
  }
}

TEST(SkinDraw, CaptionTextIsCentredPlainAndGreyWhenDisabled) {
  // A bold font selected into the DC: the caption is drawn plain, and it lies in the middle.
  auto target = Target(120, 30);
  HDC dc = DC(*target);
  LOGFONTW lf{};
  lf.lfHeight = -14;
  lf.lfWeight = FW_BOLD;
  wcscpy(lf.lfFaceName, L"Tahoma");
  fw::TFontHandle bold(CreateFontIndirectW(&lf));
  const HGDIOBJ old = SelectObject(dc, bold.Get());
  SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
  skin::DrawCaptionText(dc, {0, 0, 120, 30}, DT_CENTER | DT_SINGLELINE, true, L"WWW");
  int left = 120, right = -1, white = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x)
      if (At(*target, x, y) == 0xFFFFFF) {
        left = std::min(left, x);
        right = std::max(right, x);
        ++white;
      }
  ASSERT_GT(white, 0);
  EXPECT_LE(std::abs((left + right) / 2 - 60), 3);
  // The DC keeps its own font and the background was not filled.
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), bold.Get());
  EXPECT_EQ(At(*target, 2, 2), kGround);
  // Plain: the same text drawn with a plain font has as many pixels.
  auto plainTarget = Target(120, 30);
  HDC pdc = DC(*plainTarget);
  lf.lfWeight = FW_NORMAL;
  fw::TFontHandle plain(CreateFontIndirectW(&lf));
  const HGDIOBJ oldPlain = SelectObject(pdc, plain.Get());
  SetTextColor(pdc, RGB(0xFF, 0xFF, 0xFF));
  skin::DrawCaptionText(pdc, {0, 0, 120, 30}, DT_CENTER | DT_SINGLELINE, true, L"WWW");
  int plainWhite = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) plainWhite += At(*plainTarget, x, y) == 0xFFFFFF;
  EXPECT_EQ(white, plainWhite);
  SelectObject(pdc, oldPlain);

  // Disabled: the system's button-shadow colour, whatever the DC's text colour.
  auto grey = Target(120, 30);
  HDC gdc = DC(*grey);
  SetTextColor(gdc, RGB(0xFF, 0xFF, 0xFF));
  skin::DrawCaptionText(gdc, {0, 0, 120, 30}, DT_CENTER | DT_SINGLELINE, false, L"WWW");
  // Thin strokes are smoothed towards the background: the pixel that differs most from it is the
  // text colour, or nearly.
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const int sr = GetRValue(shadow), sg = GetGValue(shadow), sb = GetBValue(shadow);
  const auto channel = [](uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
  int farthest = -1;
  uint32_t strongest = kGround;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) {
      const uint32_t c = At(*grey, x, y);
      const int d = std::abs(channel(c, 16) - channel(kGround, 16)) + std::abs(channel(c, 8) - channel(kGround, 8)) +
                    std::abs(channel(c, 0) - channel(kGround, 0));
      if (d > farthest) {
        farthest = d;
        strongest = c;
      }
    }
  EXPECT_NE(strongest, kGround);
  EXPECT_LE(std::abs(channel(strongest, 16) - sr), 12);
  EXPECT_LE(std::abs(channel(strongest, 8) - sg), 12);
  EXPECT_LE(std::abs(channel(strongest, 0) - sb), 12);
  EXPECT_EQ(GetTextColor(gdc), RGB(0xFF, 0xFF, 0xFF));
  SelectObject(dc, old);
}
