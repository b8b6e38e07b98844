// Image lists: strips cut into images, masks by colour and by bitmap, enabled and disabled
// drawing checked by pixels, the stored-form properties.
#include <gtest/gtest.h>

#include "ImgList.h"

using namespace fw;

namespace {

// A pixel of a bitmap's canvas as 0x00BBGGRR.
TColor At(TBitmap& b, int x, int y) { return b.Canvas().Pixel(x, y) & 0xFFFFFF; }

// A 64 x 16 strip of four glyphs on white: image i is a solid block of colour i, inset by
// i + 2 pixels on every side.
const TColor GlyphColours[4] = {clRed, clBlue, clGreen, clBlack};
void PaintStrip(TBitmap& strip) {
  strip.SetSize(64, 16);
  strip.Canvas().Brush().SetColor(clWhite);
  strip.Canvas().FillRect({0, 0, 64, 16});
  for (int i = 0; i < 4; ++i) {
    strip.Canvas().Brush().SetColor(GlyphColours[i]);
    strip.Canvas().FillRect({i * 16 + i + 2, i + 2, i * 16 + 14 - i, 14 - i});
  }
}

// A background bitmap filled with one colour.
void Fill(TBitmap& b, TColor colour, int w = 40, int h = 40) {
  b.SetSize(w, h);
  b.Canvas().Brush().SetColor(colour);
  b.Canvas().FillRect({0, 0, w, h});
}

int CountPixels(TBitmap& b, TColor colour) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += At(b, x, y) == colour;
  return n;
}

}  // namespace

TEST(ImageList, MaskedStripBecomesFourImagesDrawnOverTheBackground) {
  TImageList list(nullptr);
  TBitmap strip;
  PaintStrip(strip);
  EXPECT_EQ(list.AddMasked(strip, clWhite), 0);
  ASSERT_EQ(list.Count(), 4);
  // The caller's strip keeps its white.
  EXPECT_EQ(At(strip, 0, 0), clWhite);

  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    TBitmap back;
    Fill(back, clYellow);
    list.Draw(back.Canvas(), 10, 10, i);
    const int inset = i + 2;
    EXPECT_EQ(At(back, 10 + 8, 10 + 8), GlyphColours[i]);             // the glyph's centre
    EXPECT_EQ(At(back, 10 + inset, 10 + inset), GlyphColours[i]);     // its first pixel
    EXPECT_EQ(At(back, 10 + inset - 1, 10 + inset), clYellow);        // white around it: untouched
    EXPECT_EQ(At(back, 10, 10), clYellow);
    EXPECT_EQ(At(back, 9, 18), clYellow);                             // outside the cell
    EXPECT_EQ(At(back, 26, 18), clYellow);
    // Exactly the glyph's pixels changed.
    const int side = 16 - 2 * inset;
    EXPECT_EQ(CountPixels(back, GlyphColours[i]), side * side);
  }

  // A second strip continues the numbering; a bitmap narrower than one image adds nothing.
  EXPECT_EQ(list.AddMasked(strip, clWhite), 4);
  EXPECT_EQ(list.Count(), 8);
  TBitmap narrow;
  Fill(narrow, clRed, 8, 16);
  EXPECT_EQ(list.AddMasked(narrow, clWhite), -1);
  EXPECT_EQ(list.Count(), 8);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  TBitmap back;
  Fill(back, clYellow);
  list.Draw(back.Canvas(), 0, 0, 0);  // nothing left to draw
  EXPECT_EQ(CountPixels(back, clYellow), 40 * 40);
}

TEST(ImageList, OneBitResourceStripWithWhiteMask) {
  // The menu glyphs come as a 1-bit strip: black symbols on white.
  TBitmap strip(64, 16, TPixelFormat::pf1bit);
  strip.Canvas().Brush().SetColor(clWhite);
  strip.Canvas().FillRect({0, 0, 64, 16});
  strip.Canvas().Brush().SetColor(clBlack);
  for (int i = 0; i < 4; ++i) strip.Canvas().FillRect({i * 16 + 4, 4, i * 16 + 12, 12});
  ASSERT_EQ(strip.PixelFormat(), TPixelFormat::pf1bit);

  TImageList list(nullptr);
  EXPECT_EQ(list.AddMasked(strip, clWhite), 0);
  ASSERT_EQ(list.Count(), 4);
  TBitmap back;
  Fill(back, clAqua);
  list.Draw(back.Canvas(), 0, 0, 3);
  EXPECT_EQ(At(back, 8, 8), clBlack);
  EXPECT_EQ(At(back, 2, 2), clAqua);
  EXPECT_EQ(CountPixels(back, clBlack), 64);
}

TEST(ImageList, AddWithMaskBitmapAndWithoutMask) {
  TImageList list(nullptr, 8, 8);
  TBitmap image;
  Fill(image, clRed, 16, 8);
  TBitmap mask;  // left half opaque (black), right half transparent (white)
  Fill(mask, clWhite, 16, 8);
  mask.Canvas().Brush().SetColor(clBlack);
  mask.Canvas().FillRect({0, 0, 8, 8});
  EXPECT_EQ(list.Add(image, &mask), 0);
  ASSERT_EQ(list.Count(), 2);

  TBitmap back;
  Fill(back, clBlue, 20, 10);
  list.Draw(back.Canvas(), 0, 0, 0);
  list.Draw(back.Canvas(), 10, 0, 1);
  EXPECT_EQ(CountPixels(back, clRed), 64);
  EXPECT_EQ(At(back, 3, 3), clRed);
  EXPECT_EQ(At(back, 13, 3), clBlue);

  // Without a mask the image is opaque.
  EXPECT_EQ(list.Add(image, nullptr), 2);
  EXPECT_EQ(list.AddMasked(image, clNone), 4);
  Fill(back, clBlue, 20, 10);
  list.Draw(back.Canvas(), 0, 0, 3);
  EXPECT_EQ(CountPixels(back, clRed), 64);

  // A mask smaller than the image is refused.
  TBitmap small;
  Fill(small, clBlack, 8, 8);
  EXPECT_EQ(list.Add(image, &small), -1);
  EXPECT_EQ(list.Count(), 6);
}

TEST(ImageList, DisabledDrawingEmbossesTheShape) {
  TImageList list(nullptr);
  TBitmap strip;
  PaintStrip(strip);
  list.AddMasked(strip, clWhite);

  TBitmap enabled, disabled;
  Fill(enabled, clYellow);
  Fill(disabled, clYellow);
  list.Draw(enabled.Canvas(), 10, 10, 0, true);
  list.Draw(disabled.Canvas(), 10, 10, 0, false);

  const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
  // Glyph 0 covers (12..23) x (12..23) in the background's coordinates.
  EXPECT_EQ(At(disabled, 18, 18), shadow);
  EXPECT_EQ(At(disabled, 12, 12), shadow);
  EXPECT_EQ(At(disabled, 24, 24), light);  // the highlight shows one pixel down-right
  EXPECT_EQ(At(disabled, 24, 13), light);
  EXPECT_EQ(At(disabled, 12, 24), clYellow);
  EXPECT_EQ(At(disabled, 11, 12), clYellow);
  EXPECT_EQ(CountPixels(disabled, GlyphColours[0]), 0);
  EXPECT_EQ(CountPixels(disabled, shadow), 12 * 12);
  EXPECT_EQ(CountPixels(disabled, light), 2 * 12 - 1);
  EXPECT_EQ(CountPixels(enabled, shadow), 0);
}

TEST(ImageList, IndexOutOfRangeDrawsNothing) {
  TImageList list(nullptr);
  TBitmap strip;
  PaintStrip(strip);
  list.AddMasked(strip, clWhite);
  TBitmap back;
  Fill(back, clYellow);
  for (int index : {-1, 4, 1000}) {
    list.Draw(back.Canvas(), 0, 0, index);
    list.Draw(back.Canvas(), 0, 0, index, false);
  }
  list.Draw(nullptr, 0, 0, 0);
  EXPECT_EQ(CountPixels(back, clYellow), 40 * 40);
}

TEST(ImageList, SizeChangeEmptiesTheListAndStoredFormsSetTheSize) {
  TImageList list(nullptr);
  TBitmap strip;
  PaintStrip(strip);
  list.AddMasked(strip, clWhite);
  list.SetSize(32, 16);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.AddMasked(strip, clWhite), 0);
  EXPECT_EQ(list.Count(), 2);  // the same strip now holds two 32-wide images
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list.Handle(), &cx, &cy);
  EXPECT_EQ(cx, 32);
  EXPECT_EQ(cy, 16);

  RegisterImageLists();
  const TClassInfo* info = FindClass("TImageList");
  ASSERT_NE(info, nullptr);
  TComponent owner(nullptr);
  auto* made = dynamic_cast<TImageList*>(info->Create(&owner));
  ASSERT_NE(made, nullptr);
  EXPECT_STREQ(made->ClassName(), "TImageList");
  info->FindProp("Width")->Set(made, int64_t{24});
  info->FindProp("Height")->Set(made, int64_t{12});
  ImageList_GetIconSize(made->Handle(), &cx, &cy);
  EXPECT_EQ(cx, 24);
  EXPECT_EQ(cy, 12);
  EXPECT_EQ(PropInt(info->FindProp("Height")->Get(made)), 12);
}
