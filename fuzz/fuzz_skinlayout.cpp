// Fuzz target: the description-to-layout loaders on arbitrary description text, with bitmap
// headers of every kind of size, checking the normalisation the records rely on; then the skin
// lint on the same description with a few real bitmaps beside it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/SkinElements.h"
#include "tools/skinpack/SkinCheck.h"

namespace {

using skin::kGeometryLimit;

// A header may claim any size up to this; the layout must stay in range whatever it says.
constexpr std::int32_t kLargestSide = 0x7FFFFFFF;

// Sizes from the entry name, so that the same name always gives the same header: missing,
// unreadable (0 x 0), 1 x 1, odd, wide, tall and the largest.
std::optional<skin::TImageInfo> ImageOf(const std::string& entry) {
  std::uint32_t h = 2166136261u;
  for (const char c : entry) h = (h ^ static_cast<std::uint8_t>(c)) * 16777619u;
  const std::int32_t a = static_cast<std::int32_t>(h >> 8 & 0x7FFF) + 1;
  switch (h % 10) {
    case 0: return std::nullopt;
    case 1: return skin::TImageInfo{};
    case 2: return skin::TImageInfo{1, 1, 24};
    case 3: return skin::TImageInfo{a, a % 97 + 1, 24};
    case 4: return skin::TImageInfo{a % 53 + 1, a, 8};
    case 5: return skin::TImageInfo{kLargestSide, kLargestSide, 32};
    case 6: return skin::TImageInfo{kLargestSide, 1, 24};
    case 7: return skin::TImageInfo{1, kLargestSide, 24};
    case 8: return skin::TImageInfo{23 * 17, 17, 24};
    default: return skin::TImageInfo{a % 13 + 1, a % 7 + 1, 1};
  }
}

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

bool Geometry(std::int32_t v) { return v >= -kGeometryLimit && v <= kGeometryLimit; }
bool Extent(std::int32_t v) { return v >= 0 && v <= kGeometryLimit; }
bool Count(std::int32_t v) { return v >= 1 && v <= kGeometryLimit; }
bool Flag(std::int32_t v) { return v == 0 || v == 1; }

void CheckFields(const skin::TElementFields& f, bool offsets = false) {
  Require(Count(f.FrameCount));
  for (const std::int32_t m : {f.Margins.Left, f.Margins.Top, f.Margins.Right, f.Margins.Bottom})
    Require(offsets ? Geometry(m) : Extent(m));
  Require(Geometry(f.Style));
  Require(Flag(f.Trans) && Flag(f.Tile));
}

void CheckLayout(const skin::TSkinLayout& layout) {
  for (const auto& b : layout.Borders) CheckFields(b.Fields);
  CheckFields(layout.Title.Fields, true);
  const auto& t = layout.TitleFields;
  Require(Geometry(t.FontHeight) && Extent(t.TextBackLeft) && Extent(t.TextBackRight));
  CheckFields(layout.Buttons.Fields);
  Require(Count(layout.ButtonFields.CheckFrameCount) && Count(layout.ButtonFields.RadioFrameCount));
  for (const auto& slot : layout.Slots) {
    if (!slot) continue;
    CheckFields(slot->Fields);
    const auto& g = slot->BoxLabel;
    Require(Geometry(g.BackgroundLeftShift) && Geometry(g.BackgroundRightShift) && Geometry(g.BackgroundAlignment));
  }
  Require(layout.CaptionButtons.size() >= 3 && layout.CaptionButtons.size() <= 64 + 3);
  for (const auto& b : layout.CaptionButtons) {
    CheckFields(b.Fields);
    Require(Geometry(b.Button.Xcoord) && Geometry(b.Button.Ycoord));
  }
  Require(layout.Pixels >= 0 && layout.Pixels <= skin::TSkinLimits{}.MaxPixels);
}

std::vector<std::uint8_t> Bmp(int width, int height, int bits) {
  const std::uint32_t stride = static_cast<std::uint32_t>((width * bits + 31) / 32 * 4);
  std::vector<std::uint8_t> v = {'B', 'M'};
  auto put = [&v](std::uint32_t x, int n) {
    for (int i = 0; i < n; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
  };
  put(54 + stride * static_cast<std::uint32_t>(height), 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(height), 4);
  put(1, 2);
  put(static_cast<std::uint32_t>(bits), 2);
  for (int i = 0; i < 6; ++i) put(0, 4);
  v.resize(v.size() + stride * static_cast<std::uint32_t>(height), 0x55);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  skin::TQuickIni ini;
  ini.Load(text);

  skin::TSkinLayout layout;
  std::string error;
  if (skin::BuildSkinLayout(ini, ImageOf, layout, error)) CheckLayout(layout);
  else Require(!error.empty());

  // The lint over a skin of this description and four bitmaps the seeds name: a good one, a
  // 32-bit one, a damaged one and an empty one.
  static const std::vector<skin::pack::Entry> bitmaps = {
      {"a.bmp", Bmp(46, 23, 24)}, {"b.bmp", Bmp(12, 5, 32)}, {"c.bmp", {'B', 'M', 1, 2, 3}}, {"d.bmp", {}}};
  std::vector<skin::pack::Entry> entries = {{"skin.ini", std::vector<std::uint8_t>(data, data + size)}};
  entries.insert(entries.end(), bitmaps.begin(), bitmaps.end());
  for (const auto& f : skin::pack::CheckEntries(entries)) Require(!f.Message.empty());
  return 0;
}
