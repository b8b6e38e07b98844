// The drawing unit of the skin engine: frames, nine grids, tiles, keyed blits, strips, regions.
#include "skin/data/SkinDraw.h"

#include "skin/data/SysEntries.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace skin {

namespace {

using fw::TBitmap;
using fw::TPixelFormat;

// The system's coordinate space ends at 2^27; staying inside it also keeps every sum of two
// coordinates or extents within int.
constexpr int kMaxCoord = 1 << 27;

// Raster operation that leaves the destination as it is.
constexpr DWORD kKeepDestination = 0x00AA0029;

// Small tiles are first repeated into one at least this many pixels wide and high, so that a large
// area takes few blits.
constexpr int kMinTile = 64;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool InSpace(const RECT& r) {
  const auto ok = [](LONG v) { return v >= -kMaxCoord && v <= kMaxCoord; };
  return ok(r.left) && ok(r.top) && ok(r.right) && ok(r.bottom);
}

// A destination with positive width and height inside the coordinate space.
bool Drawable(const RECT& r) { return InSpace(r) && r.right > r.left && r.bottom > r.top; }

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Moved(const RECT& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// The part of dest that dc shows; false when there is none.
bool VisiblePart(HDC dc, const RECT& dest, RECT& visible) {
  if (!dc || !Drawable(dest)) return false;
  RECT clip{};
  const int kind = GetClipBox(dc, &clip);
  if (kind == ERROR || kind == NULLREGION) return false;
  return IntersectRect(&visible, &dest, &clip) != FALSE;
}

// Colour-on-colour stretching on a DC for the lifetime of the object: no pixel is blended, so
// the key colour survives every stretch.
class TStretchMode {
public:
  explicit TStretchMode(HDC dc) : FDC(dc), FOld(SetStretchBltMode(dc, COLORONCOLOR)) {}
  ~TStretchMode() {
    if (FOld) SetStretchBltMode(FDC, FOld);
  }
  TStretchMode(const TStretchMode&) = delete;
  TStretchMode& operator=(const TStretchMode&) = delete;

private:
  HDC FDC;
  int FOld;
};

// Copies the source rectangle of src to dst of dc, stretched where the sizes differ; a piece with
// nothing to copy or nowhere to go is skipped.
void CopyPiece(HDC dc, const RECT& dst, HDC src, const RECT& s) {
  if (Empty(dst) || Empty(s)) return;
  StretchBlt(dc, dst.left, dst.top, Width(dst), Height(dst), src, s.left, s.top, Width(s), Height(s), SRCCOPY);
}

void FillSolid(HDC dc, const RECT& r, fw::TColor colour) {
  fw::TBrushHandle brush(CreateSolidBrush(fw::ColorToRGB(colour)));
  if (!brush) throw fw::EOutOfMemory(L"无法创建画刷");
  FillRect(dc, &r, brush);
}

// Inclusive per-channel ranges of the pixels that count as the key.
struct TKeyRange {
  uint8_t Low[3];   // blue, green, red
  uint8_t High[3];
  bool Matches(const uint8_t* bgr) const {
    for (int i = 0; i < 3; ++i)
      if (bgr[i] < Low[i] || bgr[i] > High[i]) return false;
    return true;
  }
};

TKeyRange KeyRange(fw::TColor key, int toleranceB, int toleranceG, int toleranceR) {
  const COLORREF c = fw::ColorToRGB(key);
  const int low[3] = {GetBValue(c), GetGValue(c), GetRValue(c)};
  const int tolerance[3] = {toleranceB, toleranceG, toleranceR};
  TKeyRange range{};
  for (int i = 0; i < 3; ++i) {
    range.Low[i] = static_cast<uint8_t>(low[i]);
    range.High[i] = static_cast<uint8_t>(std::min(255, low[i] + std::clamp(tolerance[i], 0, 255)));
  }
  return range;
}

// Row y of a bitmap of any depth as blue, green, red triples.
void ReadRow(TBitmap& bitmap, int y, std::vector<uint8_t>& bgr) {
  const int w = bitmap.Width();
  bgr.resize(static_cast<size_t>(w) * 3);
  const auto* p = static_cast<const uint8_t*>(bitmap.ScanLine(y));
  switch (bitmap.PixelFormat()) {
    case TPixelFormat::pf24bit:
      std::memcpy(bgr.data(), p, bgr.size());
      break;
    case TPixelFormat::pf32bit:
      for (int x = 0; x < w; ++x) std::memcpy(&bgr[static_cast<size_t>(x) * 3], p + 4 * x, 3);
      break;
    case TPixelFormat::pf1bit: {
      const auto& palette = bitmap.Palette();
      for (int x = 0; x < w; ++x) {
        const size_t index = (p[x >> 3] >> (7 - (x & 7))) & 1;
        const RGBQUAD c = index < palette.size() ? palette[index] : RGBQUAD{0, 0, 0, 0};
        uint8_t* q = &bgr[static_cast<size_t>(x) * 3];
        q[0] = c.rgbBlue;
        q[1] = c.rgbGreen;
        q[2] = c.rgbRed;
      }
      break;
    }
  }
}

// Composes the part of dest that dc shows off-screen and puts it on dc. paint(work, d) draws the
// whole destination d, given in the coordinates of the work picture (whose area is the visible
// part). Transparent: the picture starts as the key colour and goes on colour-keyed, so parts left
// unpainted stay transparent. Opaque: it starts as a copy of the destination and is copied back.
template <class Paint>
void Compose(HDC dc, const RECT& dest, bool transparent, Paint&& paint) {
  RECT visible{};
  if (!VisiblePart(dc, dest, visible)) return;
  const int w = Width(visible), h = Height(visible);
  TBitmap work(w, h, TPixelFormat::pf24bit);
  HDC wdc = work.Canvas().Handle();
  if (transparent)
    FillSolid(wdc, {0, 0, w, h}, clSkinKey);
  else
    BitBlt(wdc, 0, 0, w, h, dc, visible.left, visible.top, SRCCOPY);
  SetStretchBltMode(wdc, COLORONCOLOR);
  paint(wdc, Moved(dest, -visible.left, -visible.top));
  if (transparent)
    TransparentBlit(dc, visible, work, clSkinKey);
  else
    BitBlt(dc, visible.left, visible.top, w, h, wdc, 0, 0, SRCCOPY);
}

// Nine-grid scaling of one frame cell of image into dest of dc.
void PaintNineGrid(HDC dc, const RECT& dest, TBitmap& image, const RECT& cell, const TMargins& margins, bool tile) {
  // Negative margins count as 0. A destination smaller than the two margins of an axis drops
  // them; those that stay are cut to the frame, so no piece reaches outside it.
  const auto positive = [](std::int32_t v) { return static_cast<long long>(std::max<std::int32_t>(v, 0)); };
  const bool keepX = Width(dest) >= positive(margins.Left) + positive(margins.Right);
  const bool keepY = Height(dest) >= positive(margins.Top) + positive(margins.Bottom);
  const int cw = Width(cell), ch = Height(cell);
  const int l = keepX ? std::clamp<int>(margins.Left, 0, cw) : 0;
  const int r = keepX ? std::clamp<int>(margins.Right, 0, cw - l) : 0;
  const int t = keepY ? std::clamp<int>(margins.Top, 0, ch) : 0;
  const int b = keepY ? std::clamp<int>(margins.Bottom, 0, ch - t) : 0;
  const int sx[4] = {cell.left, cell.left + l, cell.right - r, cell.right};
  const int sy[4] = {cell.top, cell.top + t, cell.bottom - b, cell.bottom};
  const int dx[4] = {dest.left, dest.left + l, dest.right - r, dest.right};
  const int dy[4] = {dest.top, dest.top + t, dest.bottom - b, dest.bottom};
  HDC src = image.Canvas().Handle();
  const auto source = [&](int col, int row) { return RECT{sx[col], sy[row], sx[col + 1], sy[row + 1]}; };
  const auto target = [&](int col, int row) { return RECT{dx[col], dy[row], dx[col + 1], dy[row + 1]}; };
  const auto piece = [&](int col, int row) { CopyPiece(dc, target(col, row), src, source(col, row)); };
  // Pieces with a zero margin are empty and skipped by CopyPiece.
  piece(0, 0);  // top-left, bottom-left and top-right corners
  piece(0, 2);
  piece(2, 0);
  piece(0, 1);  // left and top edges
  piece(1, 0);
  if (tile)
    DrawTiled(dc, target(1, 1), image, source(1, 1));
  else
    piece(1, 1);
  piece(2, 2);  // bottom-right corner, right and bottom edges
  piece(2, 1);
  piece(1, 2);
}

// Ends of a three-slice clamped to the frame: left, right.
std::pair<int, int> EndWidths(const TMargins& ends, int frameWidth) {
  const int l = std::clamp<int>(ends.Left, 0, frameWidth);
  return {l, std::clamp<int>(ends.Right, 0, frameWidth - l)};
}

// Builds the rectangles of runs of opaque pixels into a region, a batch of them at a time.
class TRegionBuilder {
public:
  void Add(const RECT& r) {
    if (FCount == FCapacity) {
      FCapacity += kGrowth;
      FBuffer.resize(sizeof(RGNDATAHEADER) + FCapacity * sizeof(RECT));
    }
    std::memcpy(FBuffer.data() + sizeof(RGNDATAHEADER) + FCount * sizeof(RECT), &r, sizeof(RECT));
    if (FCount == 0)
      FBounds = r;
    else
      UnionRect(&FBounds, &FBounds, &r);
    if (++FCount == kBatch) Flush();
  }

  // Turns the collected rectangles into a region and unites it with the result.
  void Flush() {
    if (FCount == 0) return;
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = FCount;
    header.nRgnSize = FCount * sizeof(RECT);
    header.rcBound = FBounds;
    std::memcpy(FBuffer.data(), &header, sizeof(header));
    const DWORD size = sizeof(RGNDATAHEADER) + FCount * sizeof(RECT);
    fw::TRegionHandle part(ExtCreateRegion(nullptr, size, reinterpret_cast<const RGNDATA*>(FBuffer.data())));
    if (!part) throw fw::EOutOfMemory(L"无法创建区域");
    if (!FRegion)
      FRegion = std::move(part);
    else if (CombineRgn(FRegion, FRegion, part, RGN_OR) == ERROR)
      throw fw::EOutOfMemory(L"无法合并区域");
    FCount = 0;
  }

  fw::TRegionHandle Take() {
    Flush();
    return std::move(FRegion);
  }

private:
  static constexpr DWORD kGrowth = 500;  // the buffer grows by this many rectangles
  static constexpr DWORD kBatch = 2000;  // rectangles per region part
  std::vector<uint8_t> FBuffer;          // a region-data header followed by the rectangles
  DWORD FCount = 0, FCapacity = 0;
  RECT FBounds{};
  fw::TRegionHandle FRegion;
};

}  // namespace

RECT FrameRect(const fw::TBitmap& image, int frameCount, int frame, bool vertical) {
  if (image.Empty()) return {0, 0, 0, 0};
  const int count = std::max(frameCount, 1);
  const int index = std::clamp(frame, 1, count) - 1;
  if (vertical) {
    const int h = image.Height() / count;
    if (h == 0) return {0, 0, 0, 0};
    return {0, h * index, image.Width(), h * (index + 1)};
  }
  const int w = image.Width() / count;
  if (w == 0) return {0, 0, 0, 0};
  return {w * index, 0, w * (index + 1), image.Height()};
}

std::unique_ptr<fw::TBitmap> BuildSkinImage(const RECT& dest, fw::TBitmap& image, const TMargins& margins,
                                            bool vertical, bool tile, int frameCount, int frame) {
  if (!Drawable(dest) || Empty(FrameRect(image, frameCount, frame, vertical))) return nullptr;
  const int w = Width(dest), h = Height(dest);
  std::unique_ptr<TBitmap> result;
  try {
    result = std::make_unique<TBitmap>(w, h, TPixelFormat::pf24bit);
  } catch (const fw::EInvalidGraphic&) {
    return nullptr;  // larger than any bitmap
  }
  if (!BuildSkinImage(*result, {0, 0, w, h}, image, margins, vertical, tile, frameCount, frame)) return nullptr;
  return result;
}

bool BuildSkinImage(fw::TBitmap& into, const RECT& dest, fw::TBitmap& image, const TMargins& margins, bool vertical,
                    bool tile, int frameCount, int frame) {
  if (!Drawable(dest) || dest.left < 0 || dest.top < 0 || dest.right > into.Width() || dest.bottom > into.Height())
    return false;
  const RECT cell = FrameRect(image, frameCount, frame, vertical);
  if (Empty(cell)) return false;
  HDC dc = into.Canvas().Handle();
  FillSolid(dc, dest, clSkinKey);
  SetStretchBltMode(dc, COLORONCOLOR);
  PaintNineGrid(dc, dest, image, cell, margins, tile);
  return true;
}

void DrawSkinImage(HDC dc, const RECT& dest, fw::TBitmap& image, bool vertical, bool tile, bool transparent,
                   int frameCount, int frame, const TMargins& margins) {
  const RECT cell = FrameRect(image, frameCount, frame, vertical);
  if (Empty(cell)) return;
  Compose(dc, dest, transparent,
          [&](HDC work, const RECT& d) { PaintNineGrid(work, d, image, cell, margins, tile); });
}

void DrawSkinImage(fw::TCanvas& canvas, const RECT& dest, fw::TBitmap& image, bool vertical, bool tile,
                   bool transparent, int frameCount, int frame, const TMargins& margins) {
  DrawSkinImage(canvas.Handle(), dest, image, vertical, tile, transparent, frameCount, frame, margins);
}

void DrawTiled(HDC dc, const RECT& dest, fw::TBitmap& image, const RECT& source) {
  if (image.Empty() || !InSpace(source)) return;
  const RECT bounds{0, 0, image.Width(), image.Height()};
  RECT src{}, visible{};
  if (!IntersectRect(&src, &source, &bounds) || !VisiblePart(dc, dest, visible)) return;
  const int tw = Width(src), th = Height(src);
  HDC from = image.Canvas().Handle();
  int fx = src.left, fy = src.top, bw = tw, bh = th;
  TBitmap big;
  const int kx = std::max(1, kMinTile / tw), ky = std::max(1, kMinTile / th);
  if (kx > 1 || ky > 1) {
    // One tile, then the filled part copied beside and below itself until the big tile is full.
    bw = tw * kx;
    bh = th * ky;
    big.SetSize(bw, bh);
    HDC bdc = big.Canvas().Handle();
    BitBlt(bdc, 0, 0, tw, th, from, src.left, src.top, SRCCOPY);
    for (int filled = tw; filled < bw; filled *= 2)
      BitBlt(bdc, filled, 0, std::min(filled, bw - filled), th, bdc, 0, 0, SRCCOPY);
    for (int filled = th; filled < bh; filled *= 2)
      BitBlt(bdc, 0, filled, bw, std::min(filled, bh - filled), bdc, 0, 0, SRCCOPY);
    from = bdc;
    fx = fy = 0;
  }
  // Only the tiles that reach the visible part are drawn; the pattern stays anchored at dest.
  const int top = dest.top + (visible.top - dest.top) / bh * bh;
  const int left = dest.left + (visible.left - dest.left) / bw * bw;
  for (int y = top; y < visible.bottom; y += bh)
    for (int x = left; x < visible.right; x += bw)
      BitBlt(dc, x, y, std::min<int>(bw, dest.right - x), std::min<int>(bh, dest.bottom - y), from, fx, fy, SRCCOPY);
}

void DrawTiled(fw::TCanvas& canvas, const RECT& dest, fw::TBitmap& image, const RECT& source) {
  DrawTiled(canvas.Handle(), dest, image, source);
}

namespace {

// Copies image from `origin` on, unscaled, to dest's top-left (cut to dest's size), leaving the
// destination where the image shows the key colour.
void KeyedBlit(HDC dc, const RECT& dest, fw::TBitmap& image, POINT origin, fw::TColor key) {
  if (image.Empty() || !Drawable(dest) || origin.x < 0 || origin.y < 0 || origin.x >= image.Width() ||
      origin.y >= image.Height())
    return;
  const RECT picture{dest.left, dest.top, dest.left + std::min<int>(Width(dest), image.Width() - origin.x),
                     dest.top + std::min<int>(Height(dest), image.Height() - origin.y)};
  RECT visible{};
  if (!VisiblePart(dc, picture, visible)) return;
  const int w = Width(visible), h = Height(visible);
  const int sx = origin.x + visible.left - dest.left, sy = origin.y + visible.top - dest.top;
  HDC src = image.Canvas().Handle();
  if (key == fw::clNone) {
    BitBlt(dc, visible.left, visible.top, w, h, src, sx, sy, SRCCOPY);
    return;
  }
  // True-colour pictures: the system's keyed blit, one call without a mask of our own.
  if (image.PixelFormat() != TPixelFormat::pf1bit) {
    GdiTransparentBlt(dc, visible.left, visible.top, w, h, src, sx, sy, w, h, fw::ColorToRGB(key));
    return;
  }
  // Monochrome mask, rows padded to 16 bits: a set bit where the picture shows the key.
  const TKeyRange range = KeyRange(key, 0, 0, 0);
  const size_t stride = static_cast<size_t>((w + 15) / 16) * 2;
  std::vector<uint8_t> bits(stride * static_cast<size_t>(h), 0);
  std::vector<uint8_t> row;
  for (int y = 0; y < h; ++y) {
    ReadRow(image, sy + y, row);
    uint8_t* maskRow = &bits[stride * static_cast<size_t>(y)];
    for (int x = 0; x < w; ++x)
      if (range.Matches(&row[static_cast<size_t>(sx + x) * 3])) maskRow[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
  }
  fw::TBitmapHandle mask(CreateBitmap(w, h, 1, 1, bits.data()));
  if (!mask) throw fw::EOutOfMemory(L"无法创建透明掩码");
  // The program runs on the NT family only (Windows 7 and later), where one masked blit does the
  // whole job: the destination stays where the mask is set, the picture goes in everywhere else.
  MaskBlt(dc, visible.left, visible.top, w, h, src, sx, sy, mask, 0, 0, MAKEROP4(kKeepDestination, SRCCOPY));
}

}  // namespace

void TransparentBlit(HDC dc, const RECT& dest, fw::TBitmap& image, fw::TColor key) {
  KeyedBlit(dc, dest, image, POINT{0, 0}, key);
}

void DrawStripFrame(HDC dc, const RECT& dest, fw::TBitmap& image, bool transparent, int frameCount, int frame) {
  const RECT cell = FrameRect(image, frameCount, frame, false);
  if (Empty(cell) || !dc || !Drawable(dest)) return;
  HDC src = image.Canvas().Handle();
  RECT visible{};
  if (transparent && image.PixelFormat() != TPixelFormat::pf1bit && VisiblePart(dc, dest, visible) &&
      EqualRect(&visible, &dest)) {
    // Wholly visible: the system's keyed stretch in one call.
    TStretchMode mode(dc);
    GdiTransparentBlt(dc, dest.left, dest.top, Width(dest), Height(dest), src, cell.left, cell.top, Width(cell),
                      Height(cell), fw::ColorToRGB(clSkinKey));
  } else if (transparent) {
    Compose(dc, dest, true, [&](HDC work, const RECT& d) { CopyPiece(work, d, src, cell); });
  } else {
    TStretchMode mode(dc);
    CopyPiece(dc, dest, src, cell);
  }
}

void DrawStripFrameCentred(HDC dc, const RECT& dest, fw::TBitmap& image, bool transparent, int frameCount,
                           int frame) {
  const RECT cell = FrameRect(image, frameCount, frame, false);
  if (Empty(cell) || !dc || !Drawable(dest)) return;
  const int left = dest.left + (Width(dest) - Width(cell)) / 2, top = dest.top + (Height(dest) - Height(cell)) / 2;
  const RECT placed{left, top, left + Width(cell), top + Height(cell)};
  RECT area{};
  if (!IntersectRect(&area, &placed, &dest)) return;
  HDC src = image.Canvas().Handle();
  const RECT part = Moved(area, cell.left - placed.left, cell.top - placed.top);  // the frame's pixels in area
  if (transparent)
    KeyedBlit(dc, area, image, POINT{part.left, part.top}, clSkinKey);
  else
    BitBlt(dc, area.left, area.top, Width(area), Height(area), src, part.left, part.top, SRCCOPY);
}

void DrawThreeSlice(HDC dc, const RECT& dest, fw::TBitmap& image, bool vertical, int frameCount, int frame,
                    const TMargins& ends) {
  const RECT cell = FrameRect(image, frameCount, frame, vertical);
  if (Empty(cell)) return;
  HDC src = image.Canvas().Handle();
  const int fw = Width(cell);
  Compose(dc, dest, false, [&](HDC work, const RECT& d) {
    if (Width(d) < fw) {
      CopyPiece(work, d, src, cell);
      return;
    }
    const auto [l, r] = EndWidths(ends, fw);
    CopyPiece(work, {d.left, d.top, d.left + l, d.bottom}, src, {cell.left, cell.top, cell.left + l, cell.bottom});
    CopyPiece(work, {d.left + l, d.top, d.right - r, d.bottom}, src,
              {cell.left + l, cell.top, cell.right - r, cell.bottom});
    CopyPiece(work, {d.right - r, d.top, d.right, d.bottom}, src, {cell.right - r, cell.top, cell.right, cell.bottom});
  });
}

void DrawTitleBack(HDC dc, const RECT& dest, fw::TBitmap& image, bool vertical, bool transparent, int frameCount,
                   int frame, const TMargins& ends) {
  const RECT cell = FrameRect(image, frameCount, frame, vertical);
  if (Empty(cell)) return;
  HDC src = image.Canvas().Handle();
  const std::pair<int, int> endWidths = EndWidths(ends, Width(cell));
  const int l = endWidths.first, r = endWidths.second, mw = Width(cell) - l - r;
  Compose(dc, dest, transparent, [&](HDC work, const RECT& d) {
    CopyPiece(work, {d.left, d.top, d.left + l, d.bottom}, src, {cell.left, cell.top, cell.left + l, cell.bottom});
    if (mw > 0) {
      // Copies of the middle from the left end on while they start before the right end; only
      // those that reach the work picture (which begins at x = 0) are drawn.
      RECT clip{};
      GetClipBox(work, &clip);
      const RECT middle{cell.left + l, cell.top, cell.right - r, cell.bottom};
      const int end = std::min<int>(d.right - r, clip.right);
      int x = d.left + l;
      if (x + mw <= clip.left) x += (clip.left - x) / mw * mw;
      for (; x < end; x += mw) CopyPiece(work, {x, d.top, x + mw, d.bottom}, src, middle);
    }
    CopyPiece(work, {d.right - r, d.top, d.right, d.bottom}, src, {cell.right - r, cell.top, cell.right, cell.bottom});
  });
}

void DrawTitleBack(fw::TCanvas& canvas, const RECT& dest, fw::TBitmap& image, bool vertical, bool transparent,
                   int frameCount, int frame, const TMargins& ends) {
  DrawTitleBack(canvas.Handle(), dest, image, vertical, transparent, frameCount, frame, ends);
}

void DrawCaptionText(HDC dc, const RECT& rect, UINT alignment, bool enabled, const std::wstring& text,
                     UINT extraFlags) {
  if (!dc) return;
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  // The font of the DC without its style, when it has one.
  fw::TFontHandle plain;
  LOGFONTW lf{};
  if (GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf) == sizeof lf &&
      (lf.lfWeight > FW_NORMAL || lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut)) {
    lf.lfWeight = FW_NORMAL;
    lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = 0;
    plain.Reset(CreateFontIndirectW(&lf));
  }
  fw::TSelectObject font(dc, plain.Get());
  constexpr UINT kMeasure = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS;
  RECT r = rect;
  DrawTextWide(dc, text, r, alignment | kMeasure);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int dy = (Height(rect) - h) / 2 - 1;
  if (alignment & DT_CENTER) {
    OffsetRect(&r, (Width(rect) - w) / 2, dy);
  } else {
    OffsetRect(&r, 0, dy);
    r.left = rect.left;
    r.right = rect.right;
  }
  const COLORREF oldColour = enabled ? CLR_INVALID : SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  DrawTextWide(dc, text, r, alignment | DT_EXPANDTABS | extraFlags);
  if (oldColour != CLR_INVALID) SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

fw::TRegionHandle RegionFromBitmap(fw::TBitmap& bitmap, int x, int y, int toleranceB, int toleranceG,
                                   int toleranceR, fw::TColor key) {
  return RegionFromBitmap(bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, x, y, toleranceB, toleranceG, toleranceR,
                          key);
}

fw::TRegionHandle RegionFromBitmap(fw::TBitmap& bitmap, const RECT& part, int x, int y, int toleranceB,
                                   int toleranceG, int toleranceR, fw::TColor key) {
  if (bitmap.Empty()) return {};
  RECT src{};
  const RECT bounds{0, 0, bitmap.Width(), bitmap.Height()};
  if (!IntersectRect(&src, &part, &bounds)) return {};
  const TKeyRange range = KeyRange(key, toleranceB, toleranceG, toleranceR);
  TRegionBuilder builder;
  std::vector<uint8_t> row;
  // Region coordinates are relative to the part's top-left, moved by (x, y).
  const int dx = x - part.left, dy = y - part.top;
  for (int py = src.top; py < src.bottom; ++py) {
    ReadRow(bitmap, py, row);
    int px = src.left;
    while (px < src.right) {
      while (px < src.right && range.Matches(&row[static_cast<size_t>(px) * 3])) ++px;
      const int start = px;
      while (px < src.right && !range.Matches(&row[static_cast<size_t>(px) * 3])) ++px;
      if (px > start) builder.Add({dx + start, dy + py, dx + px, dy + py + 1});
    }
  }
  return builder.Take();
}

void DrawParentImage(fw::TControl* control, HDC dc) {
  if (!control || !dc) return;
  fw::TWinControl* parent = control->Parent();
  if (!parent || !parent->HandleAllocated()) return;
  // The parent paints its graphic children too, which may be this control asking again.
  static thread_local const fw::TControl* drawing = nullptr;
  if (drawing == control) return;
  const fw::TControl* outer = std::exchange(drawing, control);
  struct TRestore {
    const fw::TControl* Outer;
    ~TRestore() { drawing = Outer; }
  } restore{outer};

  fw::TSaveDC saved(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
  const RECT bounds = control->BoundsRect();
  IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
  // Through the parent's window procedure, so that a skin on the parent erases its way too.
  const HWND wnd = parent->HandleIfAllocated();
  SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

void DrawSkinFrame(HDC dc, const RECT& dest, int frameCount, int frame, fw::TBitmap& image, const TMargins& margins,
                   bool tile, bool transparent) {
  DrawSkinImage(dc, dest, image, false, tile, transparent, frameCount, frame, margins);
}

void DrawKeyedFrame(HDC dc, const RECT& dest, int frameCount, int frame, fw::TBitmap& image) {
  DrawStripFrame(dc, dest, image, true, frameCount, frame);
}

void DrawKeyedFrame(fw::TCanvas& canvas, const RECT& dest, int frameCount, int frame, fw::TBitmap& image) {
  DrawKeyedFrame(canvas.Handle(), dest, frameCount, frame, image);
}

}  // namespace skin
