// TBitmap: DIB sections with a memory-DC canvas, BMP reading and writing.
#include <cstring>
#include <limits>

#include "Graphics.h"
#include "Streams.h"

namespace fw {

namespace {

// Upper bounds that keep a hostile header from asking for absurd allocations.
constexpr int MaxSide = 32767;
constexpr int64_t MaxPixels = 64ll * 1024 * 1024;

int BitsOf(TPixelFormat f) { return f == TPixelFormat::pf1bit ? 1 : f == TPixelFormat::pf24bit ? 24 : 32; }

int64_t Stride(int width, int bits) { return ((static_cast<int64_t>(width) * bits + 31) / 32) * 4; }

std::vector<RGBQUAD> MonoPalette() { return {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}}; }

// A freshly created DIB section.
struct TDib {
  TBitmapHandle Handle;
  uint8_t* Bits = nullptr;
};

TDib MakeDib(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& palette) {
  if (width < 0 || height < 0 || width > MaxSide || height > MaxSide ||
      static_cast<int64_t>(width) * height > MaxPixels)
    throw EInvalidGraphic(L"位图尺寸无效");
  TDib dib;
  if (width == 0 || height == 0) return dib;
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[2];
  } info{};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = width;
  info.Header.biHeight = -height;  // top-down: ScanLine(0) is the top row
  info.Header.biPlanes = 1;
  info.Header.biBitCount = static_cast<WORD>(BitsOf(format));
  info.Header.biCompression = BI_RGB;
  if (format == TPixelFormat::pf1bit) {
    info.Header.biClrUsed = 2;
    for (size_t i = 0; i < 2 && i < palette.size(); ++i) info.Colors[i] = palette[i];
  }
  void* bits = nullptr;
  dib.Handle.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib.Handle || !bits) throw EOutOfMemory(L"无法创建位图");
  dib.Bits = static_cast<uint8_t*>(bits);
  return dib;
}

uint32_t Get16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
void Put16(uint8_t*& p, uint32_t v) {
  *p++ = static_cast<uint8_t>(v);
  *p++ = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t*& p, uint32_t v) {
  Put16(p, v);
  Put16(p, v >> 16);
}

// One colour channel described by a bit-field mask, scaled to 8 bits.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;
  explicit TChannel(uint32_t mask) : Mask(mask) {
    if (!mask) return;
    while (!((mask >> Shift) & 1)) ++Shift;
    while (Bits + Shift < 32 && ((mask >> (Shift + Bits)) & 1)) ++Bits;
  }
  uint8_t operator()(uint32_t px) const {
    if (!Bits) return 0;
    uint32_t v = (px & Mask) >> Shift;
    if (Bits >= 8) return static_cast<uint8_t>(v >> (Bits - 8));
    uint32_t max = (1u << Bits) - 1;
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
};

}  // namespace

// The bitmap's canvas: a memory DC, created on demand, with the DIB section selected.
class TBitmapCanvas : public TCanvas {
public:
  explicit TBitmapCanvas(TBitmap* bitmap) : FBitmap(bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }
  void FreeContext() {
    if (!FDC) return;
    DeselectHandles();
    if (FOldBitmap) SelectObject(FDC, FOldBitmap);
    FOldBitmap = nullptr;
    FDC.Reset();
  }

protected:
  void CreateHandle() override {
    TMemoryDC dc;
    if (!dc) throw EOutOfMemory(L"无法创建位图的设备上下文");
    if (FBitmap->Handle()) FOldBitmap = SelectObject(dc, FBitmap->Handle());
    FDC = std::move(dc);
    SetHandle(FDC);
  }

private:
  TBitmap* FBitmap;
  TOwnedDC FDC;
  HGDIOBJ FOldBitmap = nullptr;
};

FW_DEFINE_CLASS(TBitmap, TPersistent)

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
  FFormat = format;
  SetSize(width, height);
}

TBitmap::~TBitmap() { FreeCanvasContext(); }

int TBitmap::BitsPerPixel() const { return BitsOf(FFormat); }

int TBitmap::RowBytes() const { return static_cast<int>(Stride(FWidth, BitsPerPixel())); }

void TBitmap::FreeCanvasContext() {
  if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->FreeContext();
}

void TBitmap::Changed() {
  if (OnChange) OnChange(this);
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
  return *FCanvas;
}

void* TBitmap::ScanLine(int y) {
  if (y < 0 || y >= FHeight) throw EInvalidGraphicOperation(L"扫描线索引超出范围");
  GdiFlush();
  return FBits + static_cast<size_t>(y) * static_cast<size_t>(RowBytes());
}

void TBitmap::Create(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& palette) {
  TDib dib = MakeDib(width, height, format, palette);
  Adopt(std::move(dib.Handle), dib.Bits, width, height, format,
        format == TPixelFormat::pf1bit ? palette : std::vector<RGBQUAD>{});
}

void TBitmap::Adopt(TBitmapHandle handle, uint8_t* bits, int width, int height, TPixelFormat format,
                    std::vector<RGBQUAD> palette) {
  FreeCanvasContext();  // the DC lets go of the old DIB section before it is deleted
  FBitmap = std::move(handle);
  FBits = bits;
  FWidth = bits ? width : 0;
  FHeight = bits ? height : 0;
  FFormat = format;
  FPalette = std::move(palette);
}

void TBitmap::SetSize(int width, int height) {
  if (width == FWidth && height == FHeight) return;
  std::vector<RGBQUAD> palette = FFormat == TPixelFormat::pf1bit
                                     ? (FPalette.size() == 2 ? FPalette : MonoPalette())
                                     : std::vector<RGBQUAD>{};
  TDib dib = MakeDib(width, height, FFormat, palette);
  if (dib.Bits) {
    const int bits = BitsOf(FFormat);
    const size_t stride = static_cast<size_t>(Stride(width, bits));
    if (FFormat != TPixelFormat::pf1bit) std::memset(dib.Bits, 0xFF, stride * static_cast<size_t>(height));
    if (FBits) {
      GdiFlush();
      const size_t oldStride = static_cast<size_t>(RowBytes());
      const size_t copy = static_cast<size_t>((std::min(width, FWidth) * bits + 7) / 8);
      for (int y = 0; y < std::min(height, FHeight); ++y)
        std::memcpy(dib.Bits + y * stride, FBits + y * oldStride, copy);
    }
  }
  Adopt(std::move(dib.Handle), dib.Bits, width, height, FFormat, std::move(palette));
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == FFormat) return;
  std::vector<RGBQUAD> palette = format == TPixelFormat::pf1bit ? MonoPalette() : std::vector<RGBQUAD>{};
  if (Empty()) {
    FFormat = format;
    FPalette = palette;
    return;
  }
  TDib dib = MakeDib(FWidth, FHeight, format, palette);
  {
    // GDI converts between the depths (nearest colour of the table for pf1bit).
    HDC src = Canvas().Handle();
    TMemoryDC dst(src);
    TSelectObject select(dst, dib.Handle);
    BitBlt(dst, 0, 0, FWidth, FHeight, src, 0, 0, SRCCOPY);
    GdiFlush();
  }
  FreeCanvasContext();
  FBitmap = std::move(dib.Handle);
  FBits = dib.Bits;
  FFormat = format;
  FPalette = palette;
  Changed();
}

void TBitmap::Assign(const TBitmap& source) {
  if (&source == this) return;
  TDib dib = MakeDib(source.FWidth, source.FHeight, source.FFormat, source.FPalette);
  if (dib.Bits) {
    GdiFlush();
    std::memcpy(dib.Bits, source.FBits, static_cast<size_t>(source.RowBytes()) * static_cast<size_t>(source.FHeight));
  }
  FreeCanvasContext();
  FBitmap = std::move(dib.Handle);
  FBits = dib.Bits;
  FWidth = source.FWidth;
  FHeight = source.FHeight;
  FFormat = source.FFormat;
  FPalette = source.FPalette;
  Transparent = source.Transparent;
  TransparentColor = source.TransparentColor;
  Changed();
}

void TBitmap::AssignHandle(HBITMAP bitmap, TPixelFormat format) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) throw EInvalidGraphic(L"无效的位图句柄");
  if (format == TPixelFormat::pf1bit) format = TPixelFormat::pf24bit;
  TDib dib = MakeDib(bm.bmWidth, std::abs(bm.bmHeight), format, {});
  if (dib.Bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -std::abs(bm.bmHeight);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(BitsOf(format));
    info.bmiHeader.biCompression = BI_RGB;
    TWindowDC screen(static_cast<HWND>(nullptr));
    if (!GetDIBits(screen, bitmap, 0, static_cast<UINT>(std::abs(bm.bmHeight)), dib.Bits, &info, DIB_RGB_COLORS))
      throw EInvalidGraphic(L"无法读取位图像素");
  }
  FreeCanvasContext();
  FBitmap = std::move(dib.Handle);
  FBits = dib.Bits;
  FWidth = dib.Bits ? bm.bmWidth : 0;
  FHeight = dib.Bits ? std::abs(bm.bmHeight) : 0;
  FFormat = format;
  FPalette.clear();
  Changed();
}

// ---------------------------------------------------------------------------
// BMP reading
// ---------------------------------------------------------------------------

// data holds the info header, the colour table and the pixels; bitsOffset is where the
// pixels start, or SIZE_MAX for "right after the colour table" (bitmap resources).
void TBitmap::LoadFromDib(const uint8_t* data, size_t size, size_t bitsOffset) {
  auto bad = [](const wchar_t* why) { return EInvalidGraphic(std::wstring(L"位图数据无效：") + why); };
  if (size < 12) throw bad(L"信息头不完整");
  const uint32_t headerSize = Get32(data);
  int64_t width, height;
  uint32_t bpp, compression = BI_RGB, colorsUsed = 0;
  size_t entrySize = 4;
  if (headerSize == sizeof(BITMAPCOREHEADER)) {
    width = Get16(data + 4);
    height = static_cast<int16_t>(Get16(data + 6));
    bpp = Get16(data + 10);
    entrySize = 3;
  } else if (headerSize >= sizeof(BITMAPINFOHEADER) && headerSize <= 1024 && headerSize <= size) {
    width = static_cast<int32_t>(Get32(data + 4));
    height = static_cast<int32_t>(Get32(data + 8));
    bpp = Get16(data + 14);
    compression = Get32(data + 16);
    colorsUsed = Get32(data + 32);
  } else {
    throw bad(L"信息头大小不受支持");
  }
  const bool topDown = height < 0;
  height = topDown ? -height : height;
  if (width < 0 || width > MaxSide || height > MaxSide || width * height > MaxPixels) throw bad(L"尺寸超出范围");
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) throw bad(L"颜色位数不受支持");
  const bool bitFields = compression == BI_BITFIELDS;
  if (compression != BI_RGB && !(bitFields && (bpp == 16 || bpp == 32))) throw bad(L"压缩方式不受支持");
  if (topDown && compression != BI_RGB && compression != BI_BITFIELDS) throw bad(L"压缩方式不受支持");

  // Bit-field masks: inside a V4/V5 header, after a plain info header otherwise.
  size_t pos = headerSize;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (bpp == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  if (bitFields) {
    size_t at = headerSize >= 52 ? 40 : headerSize;
    if (at + 12 > size) throw bad(L"颜色掩码不完整");
    for (int i = 0; i < 3; ++i) masks[i] = Get32(data + at + 4 * i);
    if (headerSize < 52) pos += 12;
  }

  // Colour table.
  std::vector<RGBQUAD> table;
  if (bpp <= 8) {
    const uint32_t maxColors = 1u << bpp;
    if (colorsUsed > maxColors) throw bad(L"颜色表过大");
    const uint32_t count = colorsUsed ? colorsUsed : maxColors;
    if (pos + count * entrySize > size) throw bad(L"颜色表不完整");
    table.resize(maxColors, RGBQUAD{0, 0, 0, 0});  // indices beyond the table read as black
    for (uint32_t i = 0; i < count; ++i, pos += entrySize)
      table[i] = RGBQUAD{data[pos], data[pos + 1], data[pos + 2], 0};
  } else if (colorsUsed) {
    // A colour table is allowed before deeper pixels; it is only a palette hint.
    if (colorsUsed > 256) throw bad(L"颜色表过大");
    pos += colorsUsed * entrySize;
  }
  if (bitsOffset == SIZE_MAX) bitsOffset = pos;
  const int64_t srcStride = Stride(static_cast<int>(width), static_cast<int>(bpp));
  if (bitsOffset > size || srcStride * height > static_cast<int64_t>(size - bitsOffset)) throw bad(L"像素数据不完整");

  const TPixelFormat format =
      bpp == 1 ? TPixelFormat::pf1bit : bpp == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  std::vector<RGBQUAD> palette = bpp == 1 ? std::vector<RGBQUAD>(table.begin(), table.begin() + 2)
                                          : std::vector<RGBQUAD>{};
  const int w = static_cast<int>(width), h = static_cast<int>(height);
  TDib dib = MakeDib(w, h, format, palette);
  const size_t dstStride = static_cast<size_t>(Stride(w, BitsOf(format)));
  const TChannel red(masks[0]), green(masks[1]), blue(masks[2]);
  for (int y = 0; y < h && dib.Bits; ++y) {
    const uint8_t* src = data + bitsOffset + static_cast<size_t>(srcStride) * static_cast<size_t>(topDown ? y : h - 1 - y);
    uint8_t* dst = dib.Bits + dstStride * static_cast<size_t>(y);
    switch (bpp) {
      case 1:
      case 24:
        std::memcpy(dst, src, static_cast<size_t>((w * static_cast<int>(bpp) + 7) / 8));
        break;
      case 4:
      case 8:
        for (int x = 0; x < w; ++x) {
          unsigned index = bpp == 8 ? src[x] : (x & 1) ? (src[x / 2] & 0x0F) : (src[x / 2] >> 4);
          *dst++ = table[index].rgbBlue;
          *dst++ = table[index].rgbGreen;
          *dst++ = table[index].rgbRed;
        }
        break;
      case 16:
        for (int x = 0; x < w; ++x) {
          uint32_t px = Get16(src + 2 * x);
          *dst++ = blue(px);
          *dst++ = green(px);
          *dst++ = red(px);
        }
        break;
      case 32:
        if (!bitFields) {
          std::memcpy(dst, src, static_cast<size_t>(w) * 4);
        } else {
          for (int x = 0; x < w; ++x) {
            uint32_t px = Get32(src + 4 * x);
            *dst++ = blue(px);
            *dst++ = green(px);
            *dst++ = red(px);
            *dst++ = 0;
          }
        }
        break;
    }
  }
  Adopt(std::move(dib.Handle), dib.Bits, w, h, format, std::move(palette));
  Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
  uint8_t fileHeader[14];
  const int64_t available = stream.Size() - stream.Position();
  if (available < 14 + 12) throw EInvalidGraphic(L"位图数据无效：文件头不完整");
  stream.ReadBuffer(fileHeader, 14);
  if (fileHeader[0] != 'B' || fileHeader[1] != 'M') throw EInvalidGraphic(L"位图数据无效：不是 BMP 格式");
  const uint32_t fileSize = Get32(fileHeader + 2);
  const uint32_t bitsOffset = Get32(fileHeader + 10);
  // The declared size is trusted only when the stream really holds that much.
  int64_t rest = available - 14;
  if (fileSize >= 14 + 12 && fileSize - 14 <= rest) rest = fileSize - 14;
  if (rest > 0x7FFFFFFF || bitsOffset < 14) throw EInvalidGraphic(L"位图数据无效：文件头不一致");
  std::vector<uint8_t> dib(static_cast<size_t>(rest));
  stream.ReadBuffer(dib.data(), static_cast<int32_t>(dib.size()));
  LoadFromDib(dib.data(), dib.size(), bitsOffset - 14);
}

void TBitmap::LoadFromMemory(const void* data, size_t size) {
  TMemoryStream stream;
  stream.WriteBuffer(data, static_cast<int32_t>(size));
  stream.SetPosition(0);
  LoadFromStream(stream);
}

void TBitmap::LoadFromFile(const std::wstring& path) {
  TFileStream stream(path, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
  TResourceStream stream(instance, name, RT_BITMAP);
  LoadFromDib(static_cast<const uint8_t*>(stream.Memory()), static_cast<size_t>(stream.Size()), SIZE_MAX);
}

// ---------------------------------------------------------------------------
// BMP writing
// ---------------------------------------------------------------------------

void TBitmap::SaveToStream(TStream& stream) const {
  const int bits = BitsPerPixel();
  const uint32_t colors = FFormat == TPixelFormat::pf1bit ? 2 : 0;
  const uint32_t stride = static_cast<uint32_t>(Stride(FWidth, bits));
  const uint32_t offset = 14 + 40 + colors * 4;
  const uint32_t imageSize = stride * static_cast<uint32_t>(FHeight);
  std::vector<uint8_t> out(offset + imageSize);
  uint8_t* p = out.data();
  *p++ = 'B';
  *p++ = 'M';
  Put32(p, offset + imageSize);
  Put32(p, 0);
  Put32(p, offset);
  Put32(p, 40);
  Put32(p, static_cast<uint32_t>(FWidth));
  Put32(p, static_cast<uint32_t>(FHeight));  // bottom-up
  Put16(p, 1);
  Put16(p, static_cast<uint32_t>(bits));
  Put32(p, BI_RGB);
  Put32(p, imageSize);
  Put32(p, 3780);  // 96 dots per inch
  Put32(p, 3780);
  Put32(p, colors);
  Put32(p, 0);
  for (uint32_t i = 0; i < colors; ++i) {
    RGBQUAD q = i < FPalette.size() ? FPalette[i] : MonoPalette()[i];
    *p++ = q.rgbBlue;
    *p++ = q.rgbGreen;
    *p++ = q.rgbRed;
    *p++ = 0;
  }
  if (FBits) {
    GdiFlush();
    for (int y = FHeight - 1; y >= 0; --y, p += stride) std::memcpy(p, FBits + static_cast<size_t>(y) * stride, stride);
  }
  stream.WriteBuffer(out.data(), static_cast<int32_t>(out.size()));
}

void TBitmap::SaveToFile(const std::wstring& path) const {
  TFileStream stream(path, fmCreate);
  SaveToStream(stream);
}

}  // namespace fw
