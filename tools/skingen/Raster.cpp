// Canvas, anti-aliased shapes, strips and the bitmap file codec of the skin generator.
#include "tools/skingen/Raster.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace skingen {

namespace {

std::uint8_t Channel(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

// Distance from p to the segment a-b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
  t = Clamp01(t);
  const double ex = px - (ax + t * dx), ey = py - (ay + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::uint32_t Get32(const std::vector<std::uint8_t>& in, std::size_t at) {
  return static_cast<std::uint32_t>(in[at]) | static_cast<std::uint32_t>(in[at + 1]) << 8 |
         static_cast<std::uint32_t>(in[at + 2]) << 16 | static_cast<std::uint32_t>(in[at + 3]) << 24;
}

unsigned Get16(const std::vector<std::uint8_t>& in, std::size_t at) { return in[at] | (in[at + 1] << 8); }

// File header and info header of an uncompressed bitmap with `paletteEntries` colours.
void PutHeaders(std::vector<std::uint8_t>& out, int width, int height, int bits, int paletteEntries, std::uint32_t imageSize) {
  const std::uint32_t offset = 14 + 40 + 4 * paletteEntries;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + imageSize);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));  // positive: rows bottom-up
  Put16(out, 1);
  Put16(out, static_cast<unsigned>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, static_cast<std::uint32_t>(paletteEntries));
  Put32(out, 0);
}

}  // namespace

RGB Mix(RGB a, RGB b, double t) {
  return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t), Channel(a.b + (b.b - a.b) * t)};
}

RGB Paint::At(double y) const {
  if (top == bottom || y1 <= y0) return top;
  return Mix(top, bottom, Clamp01((y - y0) / (y1 - y0)));
}

Canvas::Canvas(int width, int height, RGB matte, bool hardEdges)
    : FWidth(width), FHeight(height), FMatte(matte), FHardEdges(hardEdges),
      FPixels(static_cast<std::size_t>(width) * height, kMagenta), FKeyed(static_cast<std::size_t>(width) * height, 1) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("canvas size must be positive");
}

void Canvas::Set(int x, int y, RGB colour) {
  if (!Inside(x, y)) return;
  FPixels[Index(x, y)] = colour;
  FKeyed[Index(x, y)] = 0;
}

void Canvas::Blend(int x, int y, RGB colour, double coverage) {
  if (!Inside(x, y) || coverage <= 0.0) return;
  coverage = std::min(coverage, 1.0);
  const std::size_t i = Index(x, y);
  if (FKeyed[i]) {
    if (FHardEdges || FMatte == kMagenta) {
      if (coverage >= 0.5) Set(x, y, colour);
    } else if (coverage > 1.0 / 32) {
      Set(x, y, Mix(FMatte, colour, coverage));
    }
    return;
  }
  FPixels[i] = Mix(FPixels[i], colour, coverage);
}

void Canvas::Key(int x, int y) {
  if (!Inside(x, y)) return;
  FPixels[Index(x, y)] = kMagenta;
  FKeyed[Index(x, y)] = 1;
}

void Canvas::Fill(RGB colour) { FillRect(0, 0, FWidth, FHeight, colour); }

void Canvas::FillRect(int x0, int y0, int x1, int y1, const Paint& paint) {
  for (int y = std::max(0, y0); y < std::min(FHeight, y1); ++y) {
    const RGB c = paint.At(y + 0.5);
    for (int x = std::max(0, x0); x < std::min(FWidth, x1); ++x) Set(x, y, c);
  }
}

void Canvas::KeyRect(int x0, int y0, int x1, int y1) {
  for (int y = std::max(0, y0); y < std::min(FHeight, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(FWidth, x1); ++x) Key(x, y);
}

void Canvas::HLine(int x0, int x1, int y, RGB colour) {
  for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) Set(x, y, colour);
}

void Canvas::VLine(int x, int y0, int y1, RGB colour) {
  for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) Set(x, y, colour);
}

void Canvas::Frame(int x0, int y0, int x1, int y1, RGB colour) {
  HLine(x0, x1 - 1, y0, colour);
  HLine(x0, x1 - 1, y1 - 1, colour);
  VLine(x0, y0, y1 - 1, colour);
  VLine(x1 - 1, y0, y1 - 1, colour);
}

void Canvas::Shade(int x0, int y0, int x1, int y1, const std::function<double(double, double)>& distance, const Paint& paint) {
  for (int y = std::max(0, y0); y < std::min(FHeight, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(FWidth, x1); ++x) {
      const double d = distance(x + 0.5, y + 0.5);
      const double coverage = Clamp01(0.5 - d);
      if (coverage > 0) Blend(x, y, paint.At(y + 0.5), coverage);
    }
}

namespace {

Radii Shrink(Radii radii, double width) {
  auto shrink = [width](double r) { return r > 0 ? std::max(r - width, 0.0) : 0.0; };
  return {shrink(radii.tl), shrink(radii.tr), shrink(radii.br), shrink(radii.bl)};
}

// Signed distance to a box with per-corner radii (negative inside).
double RoundBoxDistance(const Box& box, Radii radii, double px, double py) {
  const double cx = (box.x0 + box.x1) / 2, cy = (box.y0 + box.y1) / 2;
  const double hx = box.W() / 2, hy = box.H() / 2;
  double r = px < cx ? (py < cy ? radii.tl : radii.bl) : (py < cy ? radii.tr : radii.br);
  r = std::clamp(r, 0.0, std::min(hx, hy));
  const double qx = std::abs(px - cx) - hx + r, qy = std::abs(py - cy) - hy + r;
  const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
}

}  // namespace

void Canvas::FillRound(const Box& box, Radii radii, const Paint& paint) {
  if (box.W() <= 0 || box.H() <= 0) return;
  auto distance = [=](double px, double py) { return RoundBoxDistance(box, radii, px, py); };
  Shade(static_cast<int>(std::floor(box.x0)), static_cast<int>(std::floor(box.y0)), static_cast<int>(std::ceil(box.x1)),
        static_cast<int>(std::ceil(box.y1)), distance, paint);
}

void Canvas::BorderedRound(const Box& box, Radii radii, const Paint& border, const Paint& fill, double width) {
  FillRound(box, radii, border);
  FillRound(box.Inset(width), Shrink(radii, width), fill);
}

void Canvas::StrokeRound(const Box& box, Radii radii, const Paint& paint, double width) {
  const Box inner = box.Inset(width);
  const Radii innerRadii = Shrink(radii, width);
  for (int y = std::max(0, static_cast<int>(std::floor(box.y0))); y < std::min(FHeight, static_cast<int>(std::ceil(box.y1))); ++y)
    for (int x = std::max(0, static_cast<int>(std::floor(box.x0))); x < std::min(FWidth, static_cast<int>(std::ceil(box.x1))); ++x) {
      const double outer = Clamp01(0.5 - RoundBoxDistance(box, radii, x + 0.5, y + 0.5));
      const double in = inner.W() > 0 && inner.H() > 0 ? Clamp01(0.5 - RoundBoxDistance(inner, innerRadii, x + 0.5, y + 0.5)) : 0.0;
      if (outer - in > 0) Blend(x, y, paint.At(y + 0.5), outer - in);
    }
}

void Canvas::FillCircle(double cx, double cy, double radius, const Paint& paint) {
  auto distance = [=](double px, double py) { return std::hypot(px - cx, py - cy) - radius; };
  Shade(static_cast<int>(std::floor(cx - radius - 1)), static_cast<int>(std::floor(cy - radius - 1)),
        static_cast<int>(std::ceil(cx + radius + 1)), static_cast<int>(std::ceil(cy + radius + 1)), distance, paint);
}

void Canvas::Line(double x0, double y0, double x1, double y1, double width, RGB colour) {
  Polyline({{x0, y0}, {x1, y1}}, width, colour);
}

void Canvas::Polyline(const std::vector<std::pair<double, double>>& points, double width, RGB colour) {
  if (points.size() < 2) return;
  double minX = points[0].first, maxX = minX, minY = points[0].second, maxY = minY;
  for (const auto& [x, y] : points) {
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  auto distance = [&](double px, double py) {
    double best = 1e9;
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
      best = std::min(best, SegmentDistance(px, py, points[i].first, points[i].second, points[i + 1].first, points[i + 1].second));
    return best - width / 2;
  };
  const int pad = static_cast<int>(std::ceil(width)) + 1;
  Shade(static_cast<int>(minX) - pad, static_cast<int>(minY) - pad, static_cast<int>(maxX) + pad + 1,
        static_cast<int>(maxY) + pad + 1, distance, colour);
}

void Canvas::Polygon(const std::vector<std::pair<double, double>>& points, const Paint& paint) {
  if (points.size() < 3) return;
  auto inside = [&](double px, double py) {
    bool in = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const auto [xi, yi] = points[i];
      const auto [xj, yj] = points[j];
      if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  for (const auto& [x, y] : points) {
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  for (int y = std::max(0, static_cast<int>(std::floor(minY))); y < std::min(FHeight, static_cast<int>(std::ceil(maxY))); ++y)
    for (int x = std::max(0, static_cast<int>(std::floor(minX))); x < std::min(FWidth, static_cast<int>(std::ceil(maxX))); ++x) {
      int hits = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
      if (hits) Blend(x, y, paint.At(y + 0.5), hits / 16.0);
    }
}

void Canvas::Draw(const Canvas& src, int dx, int dy, bool keepKeys) {
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) {
      if (!Inside(dx + x, dy + y)) continue;
      if (src.Keyed(x, y)) {
        if (keepKeys) Key(dx + x, dy + y);
      } else {
        Set(dx + x, dy + y, src.At(x, y));
      }
    }
}

void Canvas::DrawScaled(const Canvas& src, int dx, int dy, int w, int h) {
  if (w <= 0 || h <= 0) return;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int sx = x * src.Width() / w, sy = y * src.Height() / h;
      if (!src.Keyed(sx, sy)) Set(dx + x, dy + y, src.At(sx, sy));
    }
}

Canvas Canvas::Crop(int x, int y, int w, int h) const {
  Canvas out(w, h, FMatte, FHardEdges);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (Inside(x + i, y + j) && !Keyed(x + i, y + j)) out.Set(i, j, At(x + i, y + j));
  return out;
}

std::vector<RGB> Canvas::Pixels() const {
  std::vector<RGB> out(FPixels.size());
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = FKeyed[i] ? kMagenta : FPixels[i];
  return out;
}

Canvas Canvas::FromPixels(int width, int height, const std::vector<RGB>& pixels) {
  Canvas out(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const RGB c = pixels[static_cast<std::size_t>(y) * width + x];
      if (!(c == kMagenta)) out.Set(x, y, c);
    }
  return out;
}

Canvas MirrorH(const Canvas& src) {
  Canvas out(src.Width(), src.Height(), src.Matte());
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x)
      if (!src.Keyed(x, y)) out.Set(src.Width() - 1 - x, y, src.At(x, y));
  return out;
}

Canvas FlipV(const Canvas& src) {
  Canvas out(src.Width(), src.Height(), src.Matte());
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x)
      if (!src.Keyed(x, y)) out.Set(x, src.Height() - 1 - y, src.At(x, y));
  return out;
}

Canvas Transpose(const Canvas& src) {
  Canvas out(src.Height(), src.Width(), src.Matte());
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x)
      if (!src.Keyed(x, y)) out.Set(y, x, src.At(x, y));
  return out;
}

Canvas StripH(const std::vector<Canvas>& frames) {
  if (frames.empty()) throw std::invalid_argument("empty strip");
  const int w = frames[0].Width(), h = frames[0].Height();
  Canvas out(w * static_cast<int>(frames.size()), h);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (frames[i].Width() != w || frames[i].Height() != h) throw std::invalid_argument("frames of a strip differ in size");
    out.Draw(frames[i], static_cast<int>(i) * w, 0);
  }
  return out;
}

Canvas StripV(const std::vector<Canvas>& frames) {
  if (frames.empty()) throw std::invalid_argument("empty strip");
  const int w = frames[0].Width(), h = frames[0].Height();
  Canvas out(w, h * static_cast<int>(frames.size()));
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (frames[i].Width() != w || frames[i].Height() != h) throw std::invalid_argument("frames of a strip differ in size");
    out.Draw(frames[i], 0, static_cast<int>(i) * h);
  }
  return out;
}

std::vector<std::uint8_t> EncodeBmp24(const Canvas& canvas) {
  const int w = canvas.Width(), h = canvas.Height();
  const int stride = (w * 3 + 3) & ~3;
  std::vector<std::uint8_t> out;
  out.reserve(54 + static_cast<std::size_t>(stride) * h);
  PutHeaders(out, w, h, 24, 0, static_cast<std::uint32_t>(stride * h));
  const auto pixels = canvas.Pixels();
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const RGB c = pixels[static_cast<std::size_t>(y) * w + x];
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (int pad = w * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

std::vector<std::uint8_t> EncodeBmp1(int width, int height, const std::function<bool(int, int)>& black) {
  const int stride = ((width + 31) / 32) * 4;
  std::vector<std::uint8_t> out;
  PutHeaders(out, width, height, 1, 2, static_cast<std::uint32_t>(stride * height));
  Put32(out, 0x00000000);  // index 0: black
  Put32(out, 0x00FFFFFF);  // index 1: white
  for (int y = height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < width; ++x)
      if (!black(x, y)) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

bool DecodeBmp(const std::vector<std::uint8_t>& file, int& width, int& height, std::vector<RGB>& pixels) {
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return false;
  const std::uint32_t offset = Get32(file, 10), headerSize = Get32(file, 14);
  const auto w = static_cast<std::int32_t>(Get32(file, 18));
  const auto h = static_cast<std::int32_t>(Get32(file, 22));
  const unsigned bits = Get16(file, 28);
  if (headerSize < 40 || Get32(file, 30) != 0 || w <= 0 || h == 0 || w > 16384 || std::abs(h) > 16384) return false;
  if (bits != 24 && bits != 1) return false;
  width = w;
  height = std::abs(h);
  const std::size_t stride = bits == 24 ? ((static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3})
                                        : ((static_cast<std::size_t>(width) + 31) / 32) * 4;
  if (offset + stride * height > file.size()) return false;
  RGB palette[2] = {kBlack, kWhite};
  if (bits == 1) {
    const std::size_t at = 14 + headerSize;
    if (at + 8 > file.size()) return false;
    for (int i = 0; i < 2; ++i) palette[i] = RGB(file[at + 4 * i + 2], file[at + 4 * i + 1], file[at + 4 * i]);
  }
  pixels.assign(static_cast<std::size_t>(width) * height, kBlack);
  for (int row = 0; row < height; ++row) {
    const int y = h > 0 ? height - 1 - row : row;
    const std::size_t base = offset + stride * row;
    for (int x = 0; x < width; ++x) {
      RGB c;
      if (bits == 24) {
        c = RGB(file[base + 3 * x + 2], file[base + 3 * x + 1], file[base + 3 * x]);
      } else {
        c = palette[(file[base + x / 8] >> (7 - x % 8)) & 1];
      }
      pixels[static_cast<std::size_t>(y) * width + x] = c;
    }
  }
  return true;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace skingen
