// The skin lint and the form embedding step. The lint builds the layout with the engine's own
// loaders (BuildSkinLayout over the archive's bitmap headers), so every frame count it checks
// is the one the painting code will use, and then looks for what those loaders silently drop,
// clear or normalise.
#include "tools/skinpack/SkinCheck.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>
#include <set>
#include <exception>
#include <utility>

#include "skin/data/SkinRead.h"

namespace skin::pack {
namespace {

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (auto& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (auto& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

std::string Quote(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 2);
  out.append(1, '"').append(s).append(1, '"');
  return out;
}

std::uint32_t Get16(std::span<const std::uint8_t> b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

bool IsSectionHeader(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

// Sizes the program's bitmap decoder accepts.
constexpr std::int64_t kMaxBitmapSide = 32767;
constexpr std::int64_t kMaxBitmapPixels = 64LL * 1024 * 1024;

// Keeps the reader's messages out of the user's way while the lint reads an archive.
class TQuietReader {
public:
  TQuietReader() : FPrevious(SetSkinMessageHandler([](const std::string&) {})) {}
  ~TQuietReader() { SetSkinMessageHandler(std::move(FPrevious)); }
  TQuietReader(const TQuietReader&) = delete;
  TQuietReader& operator=(const TQuietReader&) = delete;

private:
  MessageHandler FPrevious;
};

// One image use: the key that names it, the strip as the layout will load it, and how it is cut.
struct TImageUse {
  std::string Section, Key;
  const TImageRef* Image = nullptr;
  std::int32_t Frames = 0;            // 0: the frame layout is not fixed, no check
  bool Stacked = false;               // frames one above the other
  const TMargins* Margins = nullptr;  // nine-slice margins of one frame, when drawn with them
};

class TChecker {
public:
  TChecker(const TSkinReader& archive, const TCheckOptions& options) : FArchive(archive), FOptions(options) {}

  std::vector<TFinding> Run() {
    if (!CheckEntryNames()) return std::move(FFindings);
    CheckLines();
    CheckLayout();
    CheckUnusedEntries();
    return std::move(FFindings);
  }

private:
  const TSkinReader& FArchive;
  const TCheckOptions& FOptions;
  TQuickIni FIni;
  std::string FDescription;            // entry name of the description
  std::set<std::string> FSectionHeaders;  // lower-cased header texts, as the lookup compares them
  std::set<std::string> FUsed;         // lower-cased entries the description names
  std::vector<TFinding> FFindings;

  void Add(TSeverity severity, std::string section, std::string key, std::string message) {
    FFindings.push_back({severity, std::move(section), std::move(key), std::move(message)});
  }
  void Error(std::string s, std::string k, std::string m) { Add(TSeverity::Error, std::move(s), std::move(k), std::move(m)); }
  void Warning(std::string s, std::string k, std::string m) { Add(TSeverity::Warning, std::move(s), std::move(k), std::move(m)); }
  void Note(std::string s, std::string k, std::string m) { Add(TSeverity::Note, std::move(s), std::move(k), std::move(m)); }

  std::string Str(std::string_view section, std::string_view key) const { return FIni.ReadString(section, key, {}); }
  bool HasSection(std::string_view section) const {
    std::string header(1, '[');
    header.append(LowerAscii(section)).append(1, ']');
    return FSectionHeaders.count(header) > 0;
  }

  // ---- entries ----

  // False when there is no description to check.
  bool CheckEntryNames() {
    std::map<std::string, std::size_t> seen;
    std::vector<std::size_t> descriptions;
    for (std::size_t i = 0; i < FArchive.Count(); ++i) {
      const std::string& name = FArchive.Name(i);
      if (!seen.emplace(name, i).second)
        Warning({}, name, "a second entry of this name (names ignore case): only the first is read");
      if (name.find(".ini") != std::string::npos) descriptions.push_back(i);
    }
    std::vector<std::uint8_t> text;
    if (!FArchive.FindEntry(".ini", text, FDescription)) {
      Error({}, {}, "no description: no entry name contains \".ini\"");
      return false;
    }
    for (std::size_t n = 0; n < descriptions.size(); ++n) {
      const std::string& name = FArchive.Name(descriptions[n]);
      if (EndsWith(name, ".bmp"))
        Error({}, name, n == 0 ? "a bitmap whose name contains \".ini\": the engine reads it as the description"
                               : "a bitmap whose name contains \".ini\": it would be taken for the description "
                                 "if it came first");
      else if (n > 0)
        Warning({}, name, "a second description: the engine reads only " + Quote(FDescription));
    }
    FIni.Load(std::span<const std::uint8_t>(text));
    for (const std::string& line : FIni.Lines())
      if (IsSectionHeader(line)) FSectionHeaders.insert(LowerAscii(line));
    return true;
  }

  void CheckUnusedEntries() {
    for (std::size_t i = 0; i < FArchive.Count(); ++i) {
      const std::string& name = FArchive.Name(i);
      // Names with ".ini" have been reported already.
      if (FUsed.count(name) || name.find(".ini") != std::string::npos) continue;
      if (EndsWith(name, ".bmp")) Note({}, name, "not named by the description");
      else Note({}, name, "neither a bitmap nor the description: the engine never reads it");
    }
  }

  // ---- the description's lines: repeated sections and keys, headers never found ----

  void CheckLines() {
    std::set<std::string> sections;
    std::string section;
    bool reading = false;  // inside a section the engine reads
    std::map<std::string, std::string> keys;  // lower-cased key -> first value
    for (const std::string& line : FIni.Lines()) {
      if (IsSectionHeader(line)) {
        const std::string_view inner = std::string_view(line).substr(1, line.size() - 2);
        section = std::string(TrimText(inner));
        keys.clear();
        reading = sections.insert(LowerAscii(line)).second;
        if (!reading) Warning(section, {}, "a second section of this name: only the first is read");
        if (inner.size() != section.size())
          Warning(section, {}, "blanks inside the brackets: the engine looks sections up as " +
                                   Quote("[" + section + "]") + " and never finds this one");
        continue;
      }
      if (!reading) continue;
      const auto eq = line.find('=');
      if (eq == std::string::npos) continue;
      const std::string key(TrimText(std::string_view(line).substr(0, eq)));
      const std::string value(TrimText(std::string_view(line).substr(eq + 1)));
      if (key.empty()) continue;
      const auto [it, first] = keys.emplace(LowerAscii(key), value);
      if (!first)
        Warning(section, key, "repeated: only the first is read (" + Quote(it->second) + ", not " + Quote(value) + ")");
    }
  }

  // ---- the layout ----

  void CheckLayout() {
    const TImageLookup lookup = ArchiveImageLookup(FArchive);
    TSkinLayout layout;
    std::string refusal;
    if (!BuildSkinLayout(FIni, lookup, layout, refusal, FOptions.Limits)) {
      // Go on with the limits lifted, so that the rest of the skin is checked too.
      TSkinLimits lifted;
      lifted.MaxCaptionButtons = std::max<std::size_t>(FOptions.Limits.MaxCaptionButtons, 100000);
      lifted.MaxPixels = std::numeric_limits<std::int64_t>::max();
      std::string again;
      if (!BuildSkinLayout(FIni, lookup, layout, again, lifted)) {
        Error({}, {}, "the engine refuses the skin: " + refusal);
        return;
      }
      if (!ReportLimits(layout)) Error({}, {}, "the engine refuses the skin: " + refusal);
    }
    CheckBorders(layout);
    CheckCaptionButtons(layout);
    CheckButtons(layout);
    CheckTitle(layout);
    CheckSlots(layout);
    CheckScrollbars(layout);
  }

  // Reports what made the engine refuse the layout; false when that was neither limit.
  bool ReportLimits(const TSkinLayout& layout) {
    bool any = false;
    const std::size_t buttons = layout.CaptionButtons.size() - std::min<std::size_t>(layout.CaptionButtons.size(), 3);
    if (buttons > FOptions.Limits.MaxCaptionButtons) {
      const auto& first = layout.CaptionButtons[FOptions.Limits.MaxCaptionButtons].Fields.Name;
      Error(first, {}, std::to_string(buttons) + " caption-button sections, more than the engine's " +
                           std::to_string(FOptions.Limits.MaxCaptionButtons) + ": it refuses the skin");
      any = true;
    }
    if (layout.Pixels > FOptions.Limits.MaxPixels) {
      Error({}, {}, "the bitmaps hold " + std::to_string(layout.Pixels) + " pixels together, more than the engine's " +
                        std::to_string(FOptions.Limits.MaxPixels) + ": it refuses the skin");
      any = true;
    }
    return any;
  }

  void Require(const std::string& section, const std::string& key, const std::string& what) {
    if (Str(section, key).empty()) Error(section, key, "missing: " + what);
  }

  // A frame-count key as the description gives it. zeroIsAuto: 0 asks the engine to count.
  void CheckCountKey(const std::string& section, const std::string& key, bool zeroIsAuto) {
    const std::string raw = Str(section, key);
    if (raw.empty()) return;
    const std::int32_t v = FIni.ReadInteger(section, key, 0);
    if (v != FIni.ReadInteger(section, key, 1)) {
      Warning(section, key, Quote(raw) + " is not a number: the default is used");
    } else if (v < 0 || (v == 0 && !zeroIsAuto)) {
      Warning(section, key, "frame count " + std::to_string(v) + ": the engine uses 1");
    } else if (v > kGeometryLimit) {
      Warning(section, key, "frame count " + std::to_string(v) + ": the engine uses " + std::to_string(kGeometryLimit));
    }
  }

  // The checks of one image: its name, its entry, its bitmap, its frames and margins.
  void CheckImage(const TImageUse& use) {
    const std::string value = Str(use.Section, use.Key);
    if (value.empty()) return;
    const auto cut = value.find_last_of("\\:");
    const std::string name = cut == std::string::npos ? value : value.substr(cut + 1);
    const std::string entry = SkinBitmapEntry(value);
    if (entry.empty()) {
      const auto dot = name.rfind('.');
      if (name.empty())
        Error(use.Section, use.Key, Quote(value) + " has no file name: the image stays empty");
      else if (dot != std::string::npos && LowerAscii(name.substr(dot)) == ".bmp")
        Error(use.Section, use.Key, Quote(name) + ": the engine takes only \".bmp\" in lower case and leaves the image empty");
      else
        Error(use.Section, use.Key, Quote(name) + " is not a \".bmp\" name: the image stays empty");
      return;
    }
    if (cut != std::string::npos)
      Note(use.Section, use.Key, "the directory part is ignored: the entry read is " + Quote(LowerAscii(entry)));
    FUsed.insert(LowerAscii(entry));

    std::vector<std::uint8_t> bytes;
    if (!FArchive.ExtractEntry(entry, bytes)) {
      Error(use.Section, use.Key, Quote(LowerAscii(entry)) + " is not in the skin");
      return;
    }
    if (bytes.empty()) {
      Error(use.Section, use.Key, Quote(LowerAscii(entry)) + " is empty");
      return;
    }
    if (const auto problem = BitmapProblem(bytes)) {
      Error(use.Section, use.Key, Quote(LowerAscii(entry)) + ": " + *problem);
      return;
    }
    const TImageInfo info = ProbeBitmap(bytes).value_or(TImageInfo{});
    if (info.Bits != 24)
      Warning(use.Section, use.Key, Quote(LowerAscii(entry)) + " has " + std::to_string(info.Bits) +
                                        " bits per pixel: skin bitmaps are 24-bit (magenta is exact only there)");
    if (!use.Image || !use.Image->Present() || use.Frames <= 0) return;
    const std::int32_t w = use.Image->Width(), h = use.Image->Height();
    const std::int32_t along = use.Stacked ? h : w;
    if (along % use.Frames != 0) {
      Error(use.Section, use.Key, Quote(LowerAscii(entry)) + " is " + std::to_string(along) + " px " +
                                      (use.Stacked ? "high" : "wide") + ", not a multiple of its " +
                                      std::to_string(use.Frames) + " frames");
      return;
    }
    if (!use.Margins) return;
    const std::int32_t fw = use.Stacked ? w : w / use.Frames, fh = use.Stacked ? h / use.Frames : h;
    const TMargins& m = *use.Margins;
    if (std::int64_t(m.Left) + m.Right > fw)
      Error(use.Section, use.Key, "left and right margins " + std::to_string(m.Left) + " + " + std::to_string(m.Right) +
                                      " are wider than a frame (" + std::to_string(fw) + " px)");
    if (std::int64_t(m.Top) + m.Bottom > fh)
      Error(use.Section, use.Key, "top and bottom margins " + std::to_string(m.Top) + " + " + std::to_string(m.Bottom) +
                                      " are higher than a frame (" + std::to_string(fh) + " px)");
  }

  void CheckBorders(const TSkinLayout& layout) {
    static constexpr const char* sides[4] = {"Left", "Right", "Top", "Bottom"};
    for (int i = 0; i < 4; ++i) {
      const std::string side = sides[i];
      const TElementLayout& e = layout.Borders[static_cast<std::size_t>(i)];
      Require("Personality", side, "the window border is not drawn");
      CheckCountKey("Personality", side + "Frame", false);
      CheckImage({"Personality", side, &e.Image, e.Fields.FrameCount, i >= 2, &e.Fields.Margins});
    }
  }

  void CheckCaptionButtons(const TSkinLayout& layout) {
    std::vector<std::string> sections;
    FIni.ReadSections(&sections);
    const std::size_t kept = layout.CaptionButtons.size() - 3;
    for (std::size_t i = 0; i < kept; ++i) {
      const TSysButtonLayout& b = layout.CaptionButtons[i];
      // The record carries the upper-cased name; report it as the description spells it.
      std::string section = b.Fields.Name;
      for (const auto& s : sections)
        if (UpperAscii(s) == section) {
          section = s;
          break;
        }
      CheckCountKey(section, "frame", true);
      const bool iconDrawn = FIni.ReadInteger(section, "frame", 0) == 0 && (b.Button.Action == 3 || b.Button.Action == 11);
      if (iconDrawn) continue;  // the engine clears the image and draws the window's icon
      Require(section, "ButtonImage", "the caption button has no image");
      CheckImage({section, "ButtonImage", &b.Image, b.Fields.FrameCount, false, nullptr});
    }
    if (HasSection("MDICONTROLS") && Str("MDICONTROLS", "Image").empty())
      Warning("MDICONTROLS", "Image", "missing: the buttons of a maximised child window have no images");
    CheckImage({"MDICONTROLS", "Image", &layout.MDIImage, 12, false, nullptr});
  }

  void CheckButtons(const TSkinLayout& layout) {
    const TElementLayout& e = layout.Buttons;
    Require("Buttons", "Bitmap", "push buttons are not drawn");
    Require("Buttons", "CheckButton", "check boxes are not drawn");
    Require("Buttons", "RadioButton", "radio buttons are not drawn");
    CheckCountKey("Buttons", "CheckButtonFrame", true);
    CheckCountKey("Buttons", "RadioButtonFrame", true);
    CheckImage({"Buttons", "Bitmap", &e.Image, e.Fields.FrameCount, false, &e.Fields.Margins});
    CheckImage({"Buttons", "CheckButton", &e.Image2, layout.ButtonFields.CheckFrameCount, false, nullptr});
    CheckImage({"Buttons", "RadioButton", &e.Image3, layout.ButtonFields.RadioFrameCount, false, nullptr});
  }

  void CheckTitle(const TSkinLayout& layout) {
    const TElementLayout& e = layout.Title;
    if (Str("Personality", "TextBack").empty()) {
      Warning("Personality", "TextBack", "missing: the caption text has no background");
      return;
    }
    CheckImage({"Personality", "TextBack", &e.Image, e.Fields.FrameCount, true, nullptr});
    const auto& t = layout.TitleFields;
    if (e.Image.Present() && std::int64_t(t.TextBackLeft) + t.TextBackRight > e.Image.Width())
      Error("Personality", "TXTBackleft", "text-background ends " + std::to_string(t.TextBackLeft) + " + " +
                                              std::to_string(t.TextBackRight) + " are wider than the image (" +
                                              std::to_string(e.Image.Width()) + " px)");
  }

  void CheckSlots(const TSkinLayout& layout) {
    for (std::size_t i = 0; i < kSlotCount; ++i) {
      const auto slot = static_cast<TSlot>(i);
      const std::string section = SlotSection(slot);
      const std::string key = slot == TSlot::Progress ? "Bitmap" : slot == TSlot::MenuBar ? "menuBar" : "Image";
      const auto& e = layout.Slot(slot);
      if (slot != TSlot::MenuBar) CheckFrameKey(slot, section, e);
      if (!e) {
        if (slot != TSlot::MenuBar && HasSection(section))
          Warning(section, key, "missing: the section is not loaded and the element is not drawn");
        continue;
      }
      // The menu bar's two frames (active, inactive) lie one above the other.
      CheckImage({section, key, &e->Image, e->Fields.FrameCount, slot == TSlot::MenuBar, &e->Fields.Margins});
      if (slot == TSlot::UpDownHorz || slot == TSlot::UpDownVert)
        CheckImage({section, "GlyphImage", &e->Image2, e->Fields.FrameCount, false, nullptr});
      if (slot == TSlot::Tabs) {
        // With style 0 the page frame is drawn from "Border" with fixed margins.
        static constexpr TMargins pageFrame{4, 5, 4, 4};
        const bool fixed = e->Fields.Style == 0;
        CheckImage({section, "Border", &e->Image2, fixed ? 1 : 0, false, fixed ? &pageFrame : nullptr});
      }
      if (slot == TSlot::TabPane) CheckPaneMargins(section);
      if (slot == TSlot::ComboButton) CheckComboFrame(layout, *e);
    }
  }

  // The page frame is thin: the loader keeps its margins at 4 at most.
  void CheckPaneMargins(const std::string& section) {
    for (const char* key : {"LeftWidth", "TopHeight", "RightWidth", "BottomHeight"}) {
      const std::int32_t v = FIni.ReadInteger(section, key, 0);
      if (v > 4) Warning(section, key, std::to_string(v) + ": the engine uses 4, the most a page frame keeps fixed");
    }
  }

  // Styles other than flat (1) and whole face (2) draw the button over the sunken edge.
  void CheckComboFrame(const TSkinLayout& layout, const TElementLayout& combo) {
    const std::int32_t style = combo.Fields.Style;
    if (style == 1 || style == 2 || layout.Slot(TSlot::SunkEdge)) return;
    Warning("ComboButton", "Style", "style " + std::to_string(style) +
                                        " draws the button over [SunkEdge], which the skin lacks: the combo box "
                                        "gets no frame (style 1 draws it flat)");
  }

  // "Frame" is kept only by a few elements; elsewhere the painting code fixes the count.
  void CheckFrameKey(TSlot slot, const std::string& section, const std::optional<TElementLayout>& e) {
    if (slot == TSlot::HorzScrollThumb || slot == TSlot::VertScrollThumb) {
      CheckCountKey(section, "FrameCount", false);
      return;
    }
    const bool kept = slot == TSlot::ProgressChunk || slot == TSlot::Track || slot == TSlot::TrackVert;
    if (kept || slot == TSlot::Headerbar) {
      CheckCountKey(section, "Frame", slot == TSlot::Headerbar);
      return;
    }
    const std::string raw = Str(section, "Frame");
    if (raw.empty() || !e) return;
    if (FIni.ReadInteger(section, "Frame", 0) != e->Fields.FrameCount)
      Note(section, "Frame", "ignored: the engine draws " + std::to_string(e->Fields.FrameCount) + " frames");
  }

  void CheckScrollbars(const TSkinLayout& layout) {
    const auto& bar = layout.Slot(TSlot::Scrollbar);
    if (bar) {
      for (TSlot part : {TSlot::HorzScroll, TSlot::VertScroll, TSlot::HorzScrollThumb, TSlot::VertScrollThumb})
        if (!layout.Slot(part))
          Error("Scrollbar", "Image", std::string("the scroll bars also need [") + SlotSection(part) + "]");
      if (bar->Image.Present() && bar->Image.Width() > 0 && bar->Image.Width() % 23 == 0) {
        const std::int32_t cellW = bar->Image.Width() / 23, cellH = bar->Image.Height();
        const std::int32_t sys = FOptions.ScrollbarWidth;
        if (std::abs(cellH - sys) > 2)
          Warning("Scrollbar", "Image", "cells are " + std::to_string(cellH) + " px high: more than 2 px from the " +
                                            "system's scroll-bar width " + std::to_string(sys) +
                                            ", so the bars are drawn " + std::to_string(sys) + " px thick instead");
        if (std::abs(cellW - sys) > 2)
          Warning("Scrollbar", "Image", "cells are " + std::to_string(cellW) + " px wide: arrows and grips are " +
                                            "stretched to the system's scroll-bar width " + std::to_string(sys));
      }
    }
    const auto& horz = layout.Slot(TSlot::HorzScrollThumb);
    const auto& vert = layout.Slot(TSlot::VertScrollThumb);
    if (horz && vert && horz->Fields.FrameCount != vert->Fields.FrameCount)
      Error("VertScrollThumb", "FrameCount", std::to_string(vert->Fields.FrameCount) +
                                                 " frames, but the vertical thumb is cut with HorzScrollThumb's " +
                                                 std::to_string(horz->Fields.FrameCount));
  }
};

}  // namespace

std::optional<std::string> BitmapProblem(std::span<const std::uint8_t> file) {
  if (file.size() < 26 || file[0] != 'B' || file[1] != 'M') return "not a Windows bitmap";
  // The same rules as the program's bitmap decoder.
  const std::uint32_t fileSize = Get32(file, 2), bitsOffset = Get32(file, 10);
  std::size_t rest = file.size() - 14;
  if (fileSize >= 26 && fileSize - 14 <= rest) rest = fileSize - 14;
  if (bitsOffset < 14) return "inconsistent file header (pixel offset " + std::to_string(bitsOffset) + ")";
  const auto dib = file.subspan(14, rest);
  const std::uint32_t headerSize = Get32(dib, 0);
  std::int64_t width = 0, height = 0;
  std::uint32_t bpp = 0, compression = 0, coloursUsed = 0;
  std::size_t entrySize = 4;
  if (headerSize == 12) {
    width = Get16(dib, 4);
    height = static_cast<std::int16_t>(Get16(dib, 6));
    bpp = Get16(dib, 10);
    entrySize = 3;
  } else if (headerSize >= 40 && headerSize <= 1024 && headerSize <= dib.size()) {
    width = static_cast<std::int32_t>(Get32(dib, 4));
    height = static_cast<std::int32_t>(Get32(dib, 8));
    bpp = Get16(dib, 14);
    compression = Get32(dib, 16);
    coloursUsed = Get32(dib, 32);
  } else {
    return "unsupported or incomplete info header (" + std::to_string(headerSize) + " bytes)";
  }
  height = std::abs(height);
  if (width <= 0 || height <= 0) return "no pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")";
  if (width > kMaxBitmapSide || height > kMaxBitmapSide || width * height > kMaxBitmapPixels)
    return "too large (" + std::to_string(width) + " x " + std::to_string(height) + ")";
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    return std::to_string(bpp) + " bits per pixel are not supported";
  const bool bitFields = compression == 3;
  if (compression != 0 && !(bitFields && (bpp == 16 || bpp == 32)))
    return "compression " + std::to_string(compression) + " is not supported (only uncompressed pixels)";
  std::size_t pos = headerSize;
  if (bitFields) {
    const std::size_t at = headerSize >= 52 ? 40 : headerSize;
    if (at + 12 > dib.size()) return "incomplete colour masks";
    if (headerSize < 52) pos += 12;
  }
  if (bpp <= 8) {
    const std::uint32_t maxColours = 1u << bpp;
    if (coloursUsed > maxColours) return "colour table too large";
    const std::uint32_t count = coloursUsed ? coloursUsed : maxColours;
    if (pos + count * entrySize > dib.size()) return "incomplete colour table";
  } else if (coloursUsed > 256) {
    return "colour table too large";
  } else {
    pos += coloursUsed * entrySize;
  }
  const std::int64_t stride = (width * bpp + 31) / 32 * 4;
  const std::size_t pixels = bitsOffset - 14;
  if (pixels > dib.size() || stride * height > static_cast<std::int64_t>(dib.size() - pixels))
    return "incomplete pixel data";
  return std::nullopt;
}

std::vector<TFinding> CheckArchive(const TSkinReader& archive, const TCheckOptions& options) {
  return TChecker(archive, options).Run();
}

std::vector<TFinding> CheckStoredSkin(std::span<const std::uint8_t> stored, const TCheckOptions& options) {
  const TQuietReader quiet;
  TSkinReader reader;
  try {
    if (!reader.ReadArchive(stored))
      return {{TSeverity::Error, {}, {}, "not a readable stored skin: " + reader.LastError()}};
  } catch (const std::exception& e) {
    return {{TSeverity::Error, {}, {}, std::string("not a readable stored skin: ") + e.what()}};
  }
  return CheckArchive(reader, options);
}

std::vector<TFinding> CheckEntries(const std::vector<Entry>& entries, const TCheckOptions& options) {
  const TQuietReader quiet;
  TSkinReader reader;
  const auto archive = BuildArchive(entries);
  if (!reader.ParseArchive(archive)) return {{TSeverity::Error, {}, {}, "cannot be packed: " + reader.LastError()}};
  return CheckArchive(reader, options);
}

std::string FormatFinding(const TFinding& f) {
  std::string out = f.Severity == TSeverity::Error ? "error: " : f.Severity == TSeverity::Warning ? "warning: " : "note: ";
  if (!f.Section.empty()) out += "[" + f.Section + "] ";
  if (!f.Key.empty()) out += f.Key + ": ";
  return out + f.Message;
}

std::optional<std::string> EmbedSkinStream(std::string_view form, std::span<const std::uint8_t> skin,
                                           std::string& error) {
  if (skin.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    error = "the skin is larger than a data block can count";
    return std::nullopt;
  }
  // Lines with their endings; the placeholder is the one whose trimmed text matches.
  std::size_t found = std::string_view::npos, foundEnd = 0, count = 0;
  for (std::size_t at = 0; at < form.size();) {
    const std::size_t nl = form.find('\n', at);
    const std::size_t end = nl == std::string_view::npos ? form.size() : nl + 1;
    if (TrimText(form.substr(at, end - at)) == "SkinStream = {}") {
      if (count++ == 0) found = at, foundEnd = end;
    }
    at = end;
  }
  if (count != 1) {
    error = count == 0 ? "no line \"SkinStream = {}\" in the form" : std::to_string(count) +
                                                                         " lines \"SkinStream = {}\" in the form; "
                                                                         "expected one";
    return std::nullopt;
  }
  const std::string_view line = form.substr(found, foundEnd - found);
  const std::string indent(line.substr(0, line.find_first_not_of(" \t")));
  std::string eol;  // the placeholder's own ending, kept after the block
  if (EndsWith(line, "\r\n")) eol = "\r\n";
  else if (EndsWith(line, "\n")) eol = "\n";
  const std::string nl = !eol.empty() ? eol : form.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";

  std::vector<std::uint8_t> block(4);
  const auto size = static_cast<std::uint32_t>(skin.size());
  for (int k = 0; k < 4; ++k) block[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(size >> (8 * k));
  block.insert(block.end(), skin.begin(), skin.end());

  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out(form.substr(0, found));
  out.reserve(form.size() + block.size() * 2 + (block.size() / 32 + 1) * (indent.size() + 4) + 32);
  out += indent + "SkinStream = {";
  for (std::size_t i = 0; i < block.size(); ++i) {
    if (i % 32 == 0) out += nl + indent + "  ";
    out += hex[block[i] >> 4];
    out += hex[block[i] & 15];
  }
  out += "}" + eol;
  out += form.substr(foundEnd);
  return out;
}

}  // namespace skin::pack
