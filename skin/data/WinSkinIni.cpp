// TQuickIni parsing and queries; colour triples, system colour resolution, mixing, ramps, saturation.
#include "skin/data/WinSkinIni.h"

#include <algorithm>
#include <array>
#include <istream>
#include <iterator>

namespace skin {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (auto& c : out) c = LowerAscii(c);
  return out;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsSectionHeader(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

// Key: text before the first "=", trimmed, lower-cased; empty without "=". Value: text after it.
std::string KeyOf(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  return LowerAscii(TrimText(line.substr(0, eq)));
}

std::string_view ValueOf(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  return TrimText(line.substr(eq + 1));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The standard Windows colour scheme, used natively where GetSysColor is not available.
TColor DefaultSysColor(int index) {
  static constexpr std::array<TColor, 31> table = {
      ColourRGB(200, 200, 200), ColourRGB(0, 0, 0),       ColourRGB(153, 180, 209), ColourRGB(191, 205, 219),
      ColourRGB(240, 240, 240), ColourRGB(255, 255, 255), ColourRGB(100, 100, 100), ColourRGB(0, 0, 0),
      ColourRGB(0, 0, 0),       ColourRGB(0, 0, 0),       ColourRGB(180, 180, 180), ColourRGB(244, 247, 252),
      ColourRGB(171, 171, 171), ColourRGB(51, 153, 255),  ColourRGB(255, 255, 255), ColourRGB(240, 240, 240),
      ColourRGB(160, 160, 160), ColourRGB(109, 109, 109), ColourRGB(0, 0, 0),       ColourRGB(67, 78, 84),
      ColourRGB(255, 255, 255), ColourRGB(105, 105, 105), ColourRGB(227, 227, 227), ColourRGB(0, 0, 0),
      ColourRGB(255, 255, 225), ColourRGB(0, 0, 0),       ColourRGB(0, 102, 204),   ColourRGB(185, 209, 234),
      ColourRGB(215, 228, 242), ColourRGB(51, 153, 255),  ColourRGB(240, 240, 240)};
  return index >= 0 && index < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(index)] : 0;
}

SysColorResolver& Resolver() {
  static SysColorResolver resolver = DefaultSysColor;
  return resolver;
}

}  // namespace

std::string_view TrimText(std::string_view s) {
  const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool TryStrToInt(std::string_view s, std::int32_t& value) {
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  std::uint64_t v = 0;
  if (!s.empty() && s.front() == '$') {
    // Hexadecimal is a 32-bit pattern: "$FF00000F" is a system colour, "$FFFFFFFF" is -1.
    s.remove_prefix(1);
    if (s.empty()) return false;
    for (const char c : s) {
      const int d = HexDigit(c);
      if (d < 0) return false;
      v = v * 16 + static_cast<unsigned>(d);
      if (v > 0xFFFFFFFFu) return false;
    }
    const auto bits = static_cast<std::uint32_t>(v);
    value = static_cast<std::int32_t>(negative ? 0u - bits : bits);
    return true;
  }
  if (s.empty()) return false;
  for (const char c : s) {
    if (!IsDigit(c)) return false;
    v = v * 10 + static_cast<unsigned>(c - '0');
    if (v > 0x80000000u) return false;
  }
  if (!negative && v > 0x7FFFFFFFu) return false;
  value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v));
  return true;
}

// ---- TQuickIni ----

void TQuickIni::Load(std::string_view text) {
  FLines.clear();
  FSections.clear();
  std::size_t i = 0;
  while (i < text.size() && text[i] != '\0') {
    const std::size_t end = std::min(text.find_first_of(std::string_view("\0\r\n", 3), i), text.size());
    const std::string_view line = TrimText(text.substr(i, end - i));
    if (!line.empty() && line.front() != ';') {
      if (IsSectionHeader(line)) FSections.emplace_back(std::string(line), FLines.size());
      FLines.emplace_back(line);
    }
    i = end;
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
  }
}

void TQuickIni::Load(std::span<const std::uint8_t> bytes) {
  Load(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TQuickIni::Load(std::istream& in) {
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Load(std::string_view(text));
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key, const std::string& def) const {
  if (FLines.empty()) return def;
  std::string header;
  header.reserve(section.size() + 2);
  header.append(1, '[').append(section).append(1, ']');
  const auto it = std::find_if(FSections.begin(), FSections.end(),
                               [&](const auto& s) { return SameTextAscii(s.first, header); });
  if (it == FSections.end()) return def;
  const std::string wanted = LowerAscii(key);
  for (std::size_t i = it->second + 1; i < FLines.size() && !IsSectionHeader(FLines[i]); ++i) {
    if (KeyOf(FLines[i]) == wanted) {
      // Only the first line of a key counts, even when its value is empty.
      const std::string_view value = ValueOf(FLines[i]);
      return value.empty() ? def : std::string(value);
    }
  }
  return def;
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const {
  std::string s = ReadString(section, key, std::string());
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, "$");
  std::int32_t value = 0;
  return TryStrToInt(s, value) ? value : def;
}

void TQuickIni::ReadSections(std::vector<std::string>* strings) const {
  if (strings == nullptr) throw EAssertionFailed(kStringsUnassigned, "Winskinini", 318);
  strings->clear();
  for (const auto& [header, index] : FSections) {
    (void)index;
    strings->emplace_back(TrimText(std::string_view(header).substr(1, header.size() - 2)));
  }
}

void TQuickIni::ReadColourKeys(std::string_view section, std::string_view prefix, TColor& target) const {
  const std::string p(prefix);
  const std::int32_t r = ReadInteger(section, p + "R", -1);
  const std::int32_t g = ReadInteger(section, p + "G", -1);
  const std::int32_t b = ReadInteger(section, p + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0) target = ColourRGB(r, g, b);
}

// ---- Colour arithmetic ----

TColor ParseColour(std::string_view text) {
  text = TrimText(text);
  std::array<std::int32_t, 3> parts{};
  std::size_t stored = 0;
  std::string number;
  for (const char c : text) {
    if (IsDigit(c)) {
      number += c;
      continue;
    }
    if (number.empty()) continue;
    std::int32_t value = 0;
    // A number too large is not stored and keeps collecting digits: it never becomes valid.
    if (TryStrToInt(number, value)) {
      if (stored < parts.size()) parts[stored] = value;
      ++stored;
      number.clear();
    }
  }
  if (stored == 2 && !number.empty()) {
    std::int32_t value = 0;
    if (TryStrToInt(number, value)) parts[2] = value;
  }
  return ColourRGB(parts[0], parts[1], parts[2]);
}

SysColorResolver SetSysColorResolver(SysColorResolver resolver) {
  return std::exchange(Resolver(), resolver ? std::move(resolver) : SysColorResolver(DefaultSysColor));
}

TColor ColorToRGB(TColor colour) {
  if ((colour & 0x80000000u) == 0) return colour;
  return Resolver()(static_cast<int>(colour & 0xFF));
}

TColor MixColor(TColor a, TColor b, int w) {
  a = ColorToRGB(a);
  b = ColorToRGB(b);
  const int s = w < 100 ? 100 : 1000;
  // Weights outside 0..s would leave 0..255; the channels are clamped then.
  const auto mix = [&](int ca, int cb) {
    const long long v = (static_cast<long long>(cb) * (s - w) + static_cast<long long>(ca) * w + s / 2) / s;
    return static_cast<int>(std::clamp<long long>(v, 0, 255));
  };
  return ColourRGB(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

namespace {

struct RampSlot {
  int n = 0;
  TColor start = 0;
  TColor end = 0;
  std::vector<TColor> colours;
};

struct RampCache {
  std::array<RampSlot, 16> slots;
  std::size_t next = 0;
};

RampCache& Ramps() {
  static RampCache cache;
  return cache;
}

}  // namespace

const std::vector<TColor>& ColorRamp(int n, TColor start, TColor end) {
  if (n < 1) throw EAssertionFailed(kAssertionFailure, "imgutil", 0);
  RampCache& cache = Ramps();
  // Slots are matched on the arguments that made them: the first and last colours alone
  // would confuse ramps that differ inside (the rounding of a falling channel).
  for (std::size_t k = cache.slots.size(); k-- > 0;) {
    const RampSlot& slot = cache.slots[k];
    if (slot.n == n && slot.start == start && slot.end == end && !slot.colours.empty()) return slot.colours;
  }
  RampSlot& slot = cache.slots[cache.next];
  cache.next = (cache.next + 1) % cache.slots.size();
  slot.n = n;
  slot.start = start;
  slot.end = end;
  slot.colours.assign(static_cast<std::size_t>(n), 0);

  const std::array<int, 3> from = {RedOf(start), GreenOf(start), BlueOf(start)};
  const std::array<int, 3> delta = {RedOf(end) - from[0], GreenOf(end) - from[1], BlueOf(end) - from[2]};
  const long long c = n - 1;
  for (int i = 0; i < n; ++i) {
    std::array<int, 3> ch{};
    for (std::size_t k = 0; k < 3; ++k) {
      // Integer division truncates toward zero, as the ramp has always been computed.
      ch[k] = c == 0 ? from[k] + delta[k] / 2 : from[k] + static_cast<int>((c / 2 + i * static_cast<long long>(delta[k])) / c);
    }
    slot.colours[static_cast<std::size_t>(i)] = ColourRGB(ch[0], ch[1], ch[2]);
  }
  return slot.colours;
}

int ColorSaturation(TColor colour) {
  const int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
  const int mx = std::max({r, g, b});
  const int mn = std::min({r, g, b});
  if (mx < 160) return 200;
  // round((mx - mn) * 255 / mx), an exact half going to the even neighbour, in integers.
  const int num = (mx - mn) * 255;
  int q = num / mx;
  const int rem = num % mx;
  if (2 * rem > mx || (2 * rem == mx && (q & 1))) ++q;
  return q;
}

}  // namespace skin
