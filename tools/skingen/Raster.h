// A small raster toolkit for drawing skin bitmaps: a 24-bit canvas whose pixels may be left
// "keyed" (written as magenta, the transparent colour of every skin bitmap), anti-aliased
// shapes by signed distance, straight pixel lines, and strips of equal frames.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace skingen {

struct RGB {
  std::uint8_t r = 0, g = 0, b = 0;
  constexpr RGB() = default;
  constexpr RGB(int red, int green, int blue)
      : r(static_cast<std::uint8_t>(red)), g(static_cast<std::uint8_t>(green)), b(static_cast<std::uint8_t>(blue)) {}
  friend constexpr bool operator==(const RGB&, const RGB&) = default;
};

inline constexpr RGB kMagenta{255, 0, 255};
inline constexpr RGB kWhite{255, 255, 255};
inline constexpr RGB kBlack{0, 0, 0};

// a + (b - a) * t, per channel, rounded.
RGB Mix(RGB a, RGB b, double t);

// Paint of a filled shape: a solid colour or a vertical ramp between two rows.
struct Paint {
  RGB top, bottom;
  double y0 = 0, y1 = 1;  // rows where the ramp starts and ends (clamped outside)
  Paint(RGB solid) : top(solid), bottom(solid) {}  // NOLINT: a colour is a paint
  Paint(RGB from, RGB to, double fromRow, double toRow) : top(from), bottom(to), y0(fromRow), y1(toRow) {}
  RGB At(double y) const;
};

// Axis-aligned rectangle in pixel edges: x0 <= x < x1.
struct Box {
  double x0, y0, x1, y1;
  Box Inset(double d) const { return {x0 + d, y0 + d, x1 - d, y1 - d}; }
  Box Inset(double dx, double dy) const { return {x0 + dx, y0 + dy, x1 - dx, y1 - dy}; }
  double W() const { return x1 - x0; }
  double H() const { return y1 - y0; }
};

// Corner radii: top-left, top-right, bottom-right, bottom-left.
struct Radii {
  double tl = 0, tr = 0, br = 0, bl = 0;
  constexpr Radii() = default;
  constexpr Radii(double all) : tl(all), tr(all), br(all), bl(all) {}  // NOLINT
  constexpr Radii(double a, double b, double c, double d) : tl(a), tr(b), br(c), bl(d) {}
  static constexpr Radii Top(double r) { return {r, r, 0, 0}; }
};

class Canvas {
public:
  Canvas() = default;
  // A new canvas is keyed everywhere; `matte` is the colour assumed behind keyed pixels when
  // an anti-aliased edge is blended into them (the surface the image will be drawn over).
  Canvas(int width, int height, RGB matte = kMagenta, bool hardEdges = false);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  RGB Matte() const { return FMatte; }
  // Hard edges: a keyed pixel becomes opaque only when a shape covers at least half of it, and
  // then takes the shape's colour unblended (for edges cut into the window region).
  void SetHardEdges(bool on) { FHardEdges = on; }
  void SetMatte(RGB matte) { FMatte = matte; }

  bool Keyed(int x, int y) const { return FKeyed[Index(x, y)] != 0; }
  RGB At(int x, int y) const { return FPixels[Index(x, y)]; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }

  void Set(int x, int y, RGB colour);         // opaque pixel (ignored outside)
  void Blend(int x, int y, RGB colour, double coverage);
  void Key(int x, int y);                     // back to transparent

  void Fill(RGB colour);                      // whole canvas opaque
  void FillRect(int x0, int y0, int x1, int y1, const Paint& paint);  // x1, y1 exclusive
  void KeyRect(int x0, int y0, int x1, int y1);
  void HLine(int x0, int x1, int y, RGB colour);  // inclusive ends
  void VLine(int x, int y0, int y1, RGB colour);
  void Frame(int x0, int y0, int x1, int y1, RGB colour);  // 1-px outline, x1, y1 exclusive

  // Anti-aliased shapes.
  void FillRound(const Box& box, Radii radii, const Paint& paint);
  // A rounded box with a border: the border colour fills the box, the fill the box inset by
  // `width`, with radii reduced to match. Edges stay crisp on whole pixels.
  void BorderedRound(const Box& box, Radii radii, const Paint& border, const Paint& fill, double width = 1.0);
  // Only the border ring of a rounded box; the inside is left as it is.
  void StrokeRound(const Box& box, Radii radii, const Paint& paint, double width = 1.0);
  void FillCircle(double cx, double cy, double radius, const Paint& paint);
  // A stroked segment with round caps.
  void Line(double x0, double y0, double x1, double y1, double width, RGB colour);
  // Connected segments with round joins.
  void Polyline(const std::vector<std::pair<double, double>>& points, double width, RGB colour);
  // A filled convex or concave polygon (even-odd), sampled 4 x 4 per pixel.
  void Polygon(const std::vector<std::pair<double, double>>& points, const Paint& paint);

  // Copies `src` at (dx, dy); keyed source pixels stay keyed in the destination only when
  // `keepKeys` is true, otherwise they leave the destination unchanged.
  void Draw(const Canvas& src, int dx, int dy, bool keepKeys = true);
  // Nearest-neighbour copy of src scaled to w x h at (dx, dy); keyed pixels are skipped.
  void DrawScaled(const Canvas& src, int dx, int dy, int w, int h);
  Canvas Crop(int x, int y, int w, int h) const;

  // The 24-bit pixels with keyed ones as magenta, rows top to bottom.
  std::vector<RGB> Pixels() const;
  // A canvas from plain pixels: magenta becomes keyed.
  static Canvas FromPixels(int width, int height, const std::vector<RGB>& pixels);

private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * FWidth + x; }
  // Coverage of a shape given by its signed distance (negative inside) at pixel centres.
  void Shade(int x0, int y0, int x1, int y1, const std::function<double(double, double)>& distance, const Paint& paint);

  int FWidth = 0, FHeight = 0;
  RGB FMatte = kMagenta;
  bool FHardEdges = false;
  std::vector<RGB> FPixels;
  std::vector<std::uint8_t> FKeyed;
};

// Geometric copies: mirrored left-right, flipped top-bottom, transposed (x and y exchanged).
Canvas MirrorH(const Canvas& src);
Canvas FlipV(const Canvas& src);
Canvas Transpose(const Canvas& src);

// Frames laid side by side (or stacked) into one strip; all frames must have one size.
Canvas StripH(const std::vector<Canvas>& frames);
Canvas StripV(const std::vector<Canvas>& frames);

// Windows bitmap files.
std::vector<std::uint8_t> EncodeBmp24(const Canvas& canvas);
// 1 bit per pixel, palette black and white; `black` tells which pixels are set.
std::vector<std::uint8_t> EncodeBmp1(int width, int height, const std::function<bool(int, int)>& black);
// Reads a 24-bit or 1-bit uncompressed bitmap file; false when it is not one.
bool DecodeBmp(const std::vector<std::uint8_t>& file, int& width, int& height, std::vector<RGB>& pixels);

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadFile(const std::string& path);

}  // namespace skingen
