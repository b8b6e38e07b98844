// TQuickIni, the skin description reader, and the colour arithmetic shared by skin painting.
#pragma once
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace skin {

// 0x00BBGGRR; with the top bit set, the low byte is a system colour index (GetSysColor).
using TColor = std::uint32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;           // "no colour"
inline constexpr TColor clNotGiven = 0xFFFFFFFF;       // -1: a state colour the skin does not give
inline constexpr TColor clBtnFace = 0xFF00000F;

// (Not RGB/GetRValue: those are macros of the Windows headers.)
constexpr TColor ColourRGB(int r, int g, int b) {
  return static_cast<TColor>(r & 0xFF) | static_cast<TColor>(g & 0xFF) << 8 | static_cast<TColor>(b & 0xFF) << 16;
}
constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

// A programming error caught by a check (a missing parameter, an empty ramp).
class EAssertionFailed : public std::logic_error {
public:
  EAssertionFailed(const std::string& message, std::string source, int line)
      : std::logic_error(message), Source(std::move(source)), Line(line) {}
  std::string Source;  // unit that raised it
  int Line;
};

inline constexpr char kStringsUnassigned[] = "The parameter Strings is unassigned!";
inline constexpr char kAssertionFailure[] = "Assertion failure";

// Reads a description once into its content lines and section headers, then answers queries.
// Content lines are trimmed (codes <= 32 removed at both ends), non-empty and not ";" comments.
class TQuickIni {
public:
  // Reads the text to its end (a NUL ends it early) and rebuilds both lists.
  void Load(std::string_view text);
  void Load(std::span<const std::uint8_t> bytes);
  void Load(std::istream& in);  // from the stream's current position

  // Value of the first line for `key` in the first section named `section` (both ignoring
  // ASCII case); the default when missing or when that first line's value is empty.
  std::string ReadString(std::string_view section, std::string_view key, const std::string& def) const;
  // Decimal with optional sign, or hexadecimal with "$" or "0x"; the default on anything else.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
  // Fills `strings` with all section names in file order (brackets removed, trimmed, duplicates
  // kept). A null list throws EAssertionFailed(kStringsUnassigned).
  void ReadSections(std::vector<std::string>* strings) const;
  // Reads prefix+"R", +"G", +"B" (default -1); sets target only when all three are 0 or more.
  void ReadColourKeys(std::string_view section, std::string_view prefix, TColor& target) const;

  const std::vector<std::string>& Lines() const { return FLines; }

private:
  std::vector<std::string> FLines;
  std::vector<std::pair<std::string, std::size_t>> FSections;  // header text, index in FLines
};

// Removes leading and trailing characters with codes up to 32.
std::string_view TrimText(std::string_view s);
// Whole-string conversion to a 32-bit integer: [+|-] decimal, or [+|-] "$" hex up to 8 digits.
bool TryStrToInt(std::string_view s, std::int32_t& value);

// "R G B": numbers separated by any non-digits. Two stored numbers make the pending one blue;
// a single separator-less second number is dropped ("12 34" is red 12); channels keep 8 bits.
TColor ParseColour(std::string_view text);

// Replaces a system colour (top bit set) by its RGB value through the installed resolver.
TColor ColorToRGB(TColor colour);
// The Windows build installs GetSysColor; natively a table of the standard scheme is used.
using SysColorResolver = std::function<TColor(int index)>;
SysColorResolver SetSysColorResolver(SysColorResolver resolver);

// Mixes A and B with w the share of A: percent below 100, per mille from 100 on.
TColor MixColor(TColor a, TColor b, int w);
// Ramp of n (>= 1) colours from start to end, from a cache of the last 16 ramps made.
// The reference stays valid until 16 further different ramps have been made.
const std::vector<TColor>& ColorRamp(int n, TColor start, TColor end);
// (max - min) / max of the channels scaled to 0..255 (ties to even) when a channel is >= 160,
// else 200.
int ColorSaturation(TColor colour);

}  // namespace skin
