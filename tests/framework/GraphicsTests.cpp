// Bitmaps (BMP reading and writing, formats, sizes), canvas drawing and fonts, checked by pixels.
#include <gtest/gtest.h>

#include "BmpBuilder.h"
#include "Graphics.h"
#include "Streams.h"

using namespace fw;

namespace {

// Pixel of a 24- or 32-bit bitmap straight from its rows, as 0x00RRGGBB.
uint32_t Rgb(TBitmap& b, int x, int y) {
  const auto* p = static_cast<const uint8_t*>(b.ScanLine(y)) + x * (b.BitsPerPixel() / 8);
  return (p[2] << 16) | (p[1] << 8) | p[0];
}

// GetPixel result of the bitmap's canvas, as 0x00RRGGBB.
uint32_t CanvasRgb(TBitmap& b, int x, int y) {
  COLORREF c = b.Canvas().Pixel(x, y);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

BmpBuilder Rgb24(bool topDown) {
  BmpBuilder b;
  b.Width = 3;
  b.Height = 2;
  b.TopDown = topDown;
  // Top row: red, green, blue; bottom row: white, black, (10,20,30). Bytes are B, G, R.
  b.Rows = {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {255, 255, 255, 0, 0, 0, 30, 20, 10}};
  return b;
}

}  // namespace

TEST(Bitmap, Loads24BitImagesBottomUpAndTopDownToTheSamePicture) {
  for (bool topDown : {false, true}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    auto bytes = Rgb24(topDown).Build();
    TBitmap b;
    b.LoadFromMemory(bytes.data(), bytes.size());
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(Rgb(b, 0, 0), 0xFF0000u);
    EXPECT_EQ(Rgb(b, 1, 0), 0x00FF00u);
    EXPECT_EQ(Rgb(b, 2, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(b, 0, 1), 0xFFFFFFu);
    EXPECT_EQ(Rgb(b, 2, 1), 0x0A141Eu);
    // The canvas sees the same pixels through its memory DC.
    EXPECT_EQ(CanvasRgb(b, 2, 0), 0x0000FFu);
    EXPECT_EQ(CanvasRgb(b, 2, 1), 0x0A141Eu);
  }
}

TEST(Bitmap, Loads1BitImagesWithTheirOwnPaletteAcrossByteBoundaries) {
  BmpBuilder m;
  m.Width = 10;
  m.Height = 2;
  m.Bits = 1;
  m.Palette = {0x00FF0000, 0x000000FF};  // index 0 red, index 1 blue
  m.Rows = {{0x80, 0x40}, {0x7F, 0xC0}};  // top: x=0 and x=9 set; bottom: all but x=0 set
  auto bytes = m.Build();
  TBitmap b;
  b.LoadFromMemory(bytes.data(), bytes.size());
  ASSERT_EQ(b.PixelFormat(), TPixelFormat::pf1bit);
  ASSERT_EQ(b.Width(), 10);
  EXPECT_EQ(CanvasRgb(b, 0, 0), 0x0000FFu);
  EXPECT_EQ(CanvasRgb(b, 1, 0), 0xFF0000u);
  EXPECT_EQ(CanvasRgb(b, 9, 0), 0x0000FFu);
  EXPECT_EQ(CanvasRgb(b, 0, 1), 0xFF0000u);
  EXPECT_EQ(CanvasRgb(b, 8, 1), 0x0000FFu);

  // Saved and read again, the picture and palette survive.
  TMemoryStream s;
  b.SaveToStream(s);
  s.SetPosition(0);
  TBitmap c;
  c.LoadFromStream(s);
  EXPECT_EQ(c.PixelFormat(), TPixelFormat::pf1bit);
  EXPECT_EQ(CanvasRgb(c, 9, 0), 0x0000FFu);
  EXPECT_EQ(CanvasRgb(c, 1, 1), 0x0000FFu);
  EXPECT_EQ(CanvasRgb(c, 0, 1), 0xFF0000u);
}

TEST(Bitmap, Loads32BitImagesPlainAndWithBitFieldMasks) {
  BmpBuilder p;
  p.Width = 2;
  p.Height = 1;
  p.Bits = 32;
  p.Rows = {{1, 2, 3, 0, 200, 100, 50, 0}};  // B, G, R, X
  auto bytes = p.Build();
  TBitmap b;
  b.LoadFromMemory(bytes.data(), bytes.size());
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(Rgb(b, 0, 0), 0x030201u);
  EXPECT_EQ(Rgb(b, 1, 0), 0x3264C8u);

  // Masks that put red in the low byte: the same bytes now mean other colours.
  p.Compression = BI_BITFIELDS;
  p.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  bytes = p.Build();
  b.LoadFromMemory(bytes.data(), bytes.size());
  EXPECT_EQ(Rgb(b, 0, 0), 0x010203u);
  EXPECT_EQ(Rgb(b, 1, 0), 0xC86432u);
}

TEST(Bitmap, Loads8And4BitImagesThroughTheirColourTables) {
  BmpBuilder e;
  e.Width = 3;
  e.Height = 1;
  e.Bits = 8;
  e.Palette = {0x00112233, 0x00445566};
  e.Rows = {{1, 0, 200}};  // index 200 lies outside the table: black
  auto bytes = e.Build();
  TBitmap b;
  b.LoadFromMemory(bytes.data(), bytes.size());
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(Rgb(b, 0, 0), 0x445566u);
  EXPECT_EQ(Rgb(b, 1, 0), 0x112233u);
  EXPECT_EQ(Rgb(b, 2, 0), 0u);

  e.Bits = 4;
  e.Rows = {{0x10, 0x10}};  // 1, 0, 1
  bytes = e.Build();
  b.LoadFromMemory(bytes.data(), bytes.size());
  EXPECT_EQ(Rgb(b, 0, 0), 0x445566u);
  EXPECT_EQ(Rgb(b, 1, 0), 0x112233u);
  EXPECT_EQ(Rgb(b, 2, 0), 0x445566u);
}

TEST(Bitmap, MalformedImagesRaiseAndLeaveTheBitmapAsItWas) {
  auto good = Rgb24(false).Build();
  auto patched = [&](size_t at, uint32_t value) {
    auto v = good;
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return v;
  };
  const std::vector<std::vector<uint8_t>> bad = {
      std::vector<uint8_t>(good.begin(), good.end() - 1),   // pixels cut short
      std::vector<uint8_t>(good.begin(), good.begin() + 20),  // header cut short
      patched(18, 40000),                                  // width far beyond the data
      patched(18, 0x7FFFFFFF),                             // absurd width
      patched(22, 0x80000000),                             // absurd top-down height
      patched(10, 0xFFFFFF00),                             // pixel offset beyond the file
      patched(28, 7),                                      // 7 bits per pixel (planes word stays 1)
      patched(30, 1),                                      // run-length compression
      patched(14, 5000),                                   // header size beyond the file
  };
  TBitmap b(4, 4);
  b.Canvas().SetPixel(1, 1, clRed);
  for (size_t i = 0; i < bad.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_THROW(b.LoadFromMemory(bad[i].data(), bad[i].size()), EInvalidGraphic);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(Rgb(b, 1, 1), 0xFF0000u);
  }
  std::vector<uint8_t> notBmp(good);
  notBmp[0] = 'X';
  EXPECT_THROW(b.LoadFromMemory(notBmp.data(), notBmp.size()), EInvalidGraphic);
}

TEST(Bitmap, SaveAndLoadRoundTripKeepsOddWidthRowsAndDepth) {
  TBitmap b(5, 3, TPixelFormat::pf24bit);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) b.Canvas().SetPixel(x, y, RGB(x * 40, y * 80, 7));
  TMemoryStream s;
  b.SaveToStream(s);
  EXPECT_EQ(s.Size(), 14 + 40 + 16 * 3);
  s.SetPosition(0);
  TBitmap c;
  c.LoadFromStream(s);
  EXPECT_EQ(s.Position(), s.Size());
  ASSERT_EQ(c.Width(), 5);
  ASSERT_EQ(c.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Rgb(c, x, y), static_cast<uint32_t>((x * 40 << 16) | (y * 80 << 8) | 7));
}

TEST(Bitmap, ResizeKeepsTheTopLeftAndFormatChangeKeepsColours) {
  TBitmap b(2, 2);
  b.Canvas().SetPixel(0, 0, clBlue);
  b.Canvas().SetPixel(1, 1, clLime);
  b.SetSize(3, 1);
  EXPECT_EQ(Rgb(b, 0, 0), 0x0000FFu);
  EXPECT_EQ(Rgb(b, 2, 0), 0xFFFFFFu);  // new pixels are white
  b.SetPixelFormat(TPixelFormat::pf32bit);
  EXPECT_EQ(b.RowBytes(), 12);
  EXPECT_EQ(Rgb(b, 0, 0), 0x0000FFu);
  TBitmap copy;
  copy.Assign(b);
  b.Canvas().SetPixel(0, 0, clRed);  // the copy is deep
  EXPECT_EQ(Rgb(copy, 0, 0), 0x0000FFu);
  EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf32bit);
}

TEST(Canvas, DrawsShapesLinesAndTextIntoABitmap) {
  TBitmap b(40, 30);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(clBlue);
  c.FillRect({0, 0, 40, 30});
  EXPECT_EQ(Rgb(b, 39, 29), 0x0000FFu);

  c.Pen().SetColor(clRed);
  c.Brush().SetColor(clLime);
  c.Rectangle(2, 2, 10, 10);
  EXPECT_EQ(Rgb(b, 2, 2), 0xFF0000u);  // outline in the pen colour
  EXPECT_EQ(Rgb(b, 5, 5), 0x00FF00u);  // inside in the brush colour
  EXPECT_EQ(Rgb(b, 10, 10), 0x0000FFu);  // right and bottom edges are exclusive

  c.Pen().SetColor(clYellow);
  c.MoveTo(0, 20);
  c.LineTo(40, 20);
  EXPECT_EQ(Rgb(b, 30, 20), 0xFFFF00u);
  EXPECT_EQ(c.PenPos().x, 40);

  // Text in the font colour on a cleared background leaves the blue around it.
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Font().SetColor(clWhite);
  c.Font().SetHeight(-14);
  std::wstring text = L"中W";
  EXPECT_GT(c.TextWidth(text), c.TextWidth(L"W"));
  c.TextOut(12, 0, text);
  int ink = 0, background = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 12; x < 40; ++x) {
      uint32_t p = Rgb(b, x, y);
      ink += p != 0x0000FFu;
      background += p == 0x00FF00u;  // the brush colour would show behind opaque text
    }
  EXPECT_GT(ink, 10);
  EXPECT_EQ(background, 0);
}

TEST(Canvas, TransparentBitmapsKeepTheBackgroundUnderTheirMagenta) {
  TBitmap sprite(2, 2);
  sprite.Canvas().Brush().SetColor(clFuchsia);
  sprite.Canvas().FillRect({0, 0, 2, 2});
  sprite.Canvas().SetPixel(0, 0, clRed);
  sprite.Transparent = true;

  TBitmap back(6, 6);
  back.Canvas().Brush().SetColor(clGreen);
  back.Canvas().FillRect({0, 0, 6, 6});
  back.Canvas().Draw(1, 1, sprite);
  EXPECT_EQ(Rgb(back, 1, 1), 0xFF0000u);
  EXPECT_EQ(Rgb(back, 2, 2), 0x008000u);

  back.Canvas().StretchDraw({2, 2, 6, 6}, sprite);  // twice the size
  EXPECT_EQ(Rgb(back, 3, 3), 0xFF0000u);
  EXPECT_EQ(Rgb(back, 4, 4), 0x008000u);

  sprite.Transparent = false;
  back.Canvas().Draw(0, 4, sprite);
  EXPECT_EQ(Rgb(back, 1, 5), 0xFF00FFu);
}

TEST(Font, HandleIsRecreatedOnChangeAndTheCanvasFollows) {
  struct Counter {
    int n = 0;
    void Hit(TObject*) { ++n; }
  } counter;
  TFont f;
  f.OnChange = TNotifyEvent::Of<&Counter::Hit>(&counter);
  f.SetStyle(fsBold | fsUnderline);
  f.SetStyle(fsBold | fsUnderline);  // no change, no event
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(f.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfUnderline);
  f.SetColor(clRed);
  EXPECT_EQ(counter.n, 2);

  // The canvas's font is swapped in the DC whenever it changes.
  TBitmap b(100, 60);
  TCanvas& c = b.Canvas();
  c.Font().SetHeight(-10);
  const int small = c.TextHeight(L"字");
  c.Font().SetHeight(-30);
  GetObjectW(c.Font().Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -30);
  EXPECT_GT(c.TextHeight(L"字"), small);
  EXPECT_EQ(GetCurrentObject(c.Handle(), OBJ_FONT), c.Font().Handle());
}

TEST(Font, PublishedPropertiesAcceptStoredFormValues) {
  TFont f;
  const TClassInfo& ci = f.ClassInfo();
  ci.FindProp("name")->Set(&f, std::wstring(L"宋体"));
  ci.FindProp("Charset")->Set(&f, std::wstring(L"GB2312_CHARSET"));
  ci.FindProp("Height")->Set(&f, int64_t(-12));
  const TPropInfo* style = ci.FindProp("Style");
  ASSERT_EQ(style->Kind, TPropKind::Set);
  ASSERT_EQ(style->EnumNames.at(2), "fsUnderline");
  style->Set(&f, int64_t(1) << 2);
  ci.FindProp("Color")->Set(&f, std::wstring(L"clBtnFace"));
  EXPECT_THROW(ci.FindProp("Charset")->Set(&f, std::wstring(L"NO_CHARSET")), EPropertyError);

  EXPECT_EQ(f.Style(), static_cast<TFontStyles>(fsUnderline));
  EXPECT_EQ(f.Color(), 0xFF00000Fu);
  EXPECT_EQ(ColorToRGB(f.Color()), GetSysColor(COLOR_BTNFACE));
  LOGFONTW lf{};
  GetObjectW(f.Handle(), sizeof lf, &lf);
  EXPECT_EQ(std::wstring(lf.lfFaceName), L"宋体");
  EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
  EXPECT_EQ(lf.lfHeight, -12);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_EQ(PropInt(ci.FindProp("Size")->Get(&f)), 9);  // 12 pixels at 96 dots per inch
}
