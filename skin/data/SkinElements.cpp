// The loaders of the skin element records, worked out on the description and bitmap headers:
// generic, second-image, progress, group box, buttons, menu bar, title, window borders and
// caption buttons; the colours; the frame counts and the normalisation of hostile values.
#include "skin/data/SkinElements.h"

#include <algorithm>

#include "skin/data/SkinRead.h"

namespace skin {
namespace {

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (auto& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::int32_t Geometry(std::int32_t v) { return std::clamp(v, -kGeometryLimit, kGeometryLimit); }
std::int32_t Extent(std::int32_t v) { return std::clamp(v, 0, kGeometryLimit); }
std::int32_t Flag(std::int32_t v) { return v == 1 ? 1 : 0; }      // "1: on", anything else off
std::int32_t FlagAtLeast1(std::int32_t v) { return v >= 1 ? 1 : 0; }  // "above 1 becomes 1"

std::uint32_t Get16(std::span<const std::uint8_t> b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// Reads the keys of one description and the headers of the archive's bitmaps.
class TLoader {
public:
  TLoader(const TQuickIni& ini, const TImageLookup& images, TColor buttonText)
      : FIni(ini), FImages(images), FButtonText(buttonText) {}

  std::int32_t Int(std::string_view section, std::string_view key, std::int32_t def) const {
    return FIni.ReadInteger(section, key, def);
  }
  std::string Str(std::string_view section, std::string_view key) const { return FIni.ReadString(section, key, {}); }

  TImageRef Image(const std::string& value) const {
    TImageRef ref;
    ref.Entry = SkinBitmapEntry(value);
    if (!ref.Entry.empty() && FImages) ref.Info = FImages(ref.Entry);
    return ref;
  }

  // Margins, Trans and Tile as the generic loader reads them; tileAboveOne is what a Tile
  // value above 1 becomes.
  void ReadShape(std::string_view s, TElementFields& f, std::int32_t tileAboveOne) const {
    f.Margins = {Extent(Int(s, "LeftWidth", 0)), Extent(Int(s, "TopHeight", 0)), Extent(Int(s, "RightWidth", 0)),
                 Extent(Int(s, "BottomHeight", 0))};
    f.Trans = Flag(Int(s, "Trans", 0));
    const std::int32_t tile = Int(s, "Tile", 0);
    f.Tile = tile > 1 ? tileAboveOne : Flag(tile);
  }

  void ReadStateColours(std::string_view s, TElementFields& f) const {
    f.NormalColour = static_cast<TColor>(Int(s, "NormalColour", -1));
    f.MouseOverColour = static_cast<TColor>(Int(s, "MouseOverColour", -1));
    f.PressedColour = static_cast<TColor>(Int(s, "PressedColour", -1));
    f.NormalColour2 = Colour(s, "NormalColour2", FButtonText);
    f.MouseOverColour2 = Colour(s, "MouseOverColour2", FButtonText);
    f.PressedColour2 = Colour(s, "PressedColour2", FButtonText);
  }

  TColor Colour(std::string_view s, std::string_view key, TColor def) const {
    const std::string v = Str(s, key);
    return v.empty() ? def : ParseColour(v);
  }

  // Generic loader; none when the section has no image. Loaders with a second image (its key
  // in secondKey) and the group box read no "Frame" key.
  std::optional<TElementLayout> Generic(std::string_view s, bool frameKey = true, const char* secondKey = nullptr) const {
    const std::string image = Str(s, "Image");
    if (image.empty()) return std::nullopt;
    TElementLayout e;
    e.Fields.Name = std::string(s);
    e.Image = Image(image);
    if (secondKey) {
      const std::string second = Str(s, secondKey);
      if (!second.empty()) e.Image2 = Image(second);
    }
    e.Fields.Style = Geometry(Int(s, "Style", 0));
    ReadShape(s, e.Fields, 0);
    if (frameKey) e.Fields.FrameCount = Int(s, "Frame", 0);
    ReadStateColours(s, e.Fields);
    return e;
  }

  std::optional<TElementLayout> Progress() const {
    const std::string image = Str("Progress", "Bitmap");
    if (image.empty()) return std::nullopt;
    TElementLayout e;
    e.Fields.Name = "Progress";
    e.Image = Image(image);
    e.Fields.Style = Geometry(Int("Progress", "Style", 0));
    ReadShape("Progress", e.Fields, 1);
    return e;
  }

  std::optional<TElementLayout> GroupBox() const {
    std::optional<TElementLayout> e = Generic("GroupBox", false);
    if (!e) return e;
    e->BoxLabel.BackgroundAlignment = Geometry(Int("GroupBox", "BackgroundAlignment", 0));
    e->BoxLabel.BackgroundLeftShift = Geometry(Int("GroupBox", "BackgroundLeftShift", 0));
    e->BoxLabel.BackgroundRightShift = Geometry(Int("GroupBox", "BackgroundRightShift", 0));
    return e;
  }

  std::optional<TElementLayout> MenuBar() const {
    const std::string image = Str("Personality", "menuBar");
    if (image.empty()) return std::nullopt;
    TElementLayout e;
    e.Fields.Name = "Personality";
    e.Image = Image(image);
    e.Fields.Margins = {Extent(Int("Personality", "TileLeftMenu", 1)), 0, Extent(Int("Personality", "TileRightMenu", 1)), 0};
    e.Fields.Tile = FlagAtLeast1(Int("Personality", "TileMenu", 1));
    return e;
  }

  void Buttons(TElementLayout& e, TButtonFields& b) const {
    const char* s = "Buttons";
    e = {};
    e.Fields.Name = "Buttons";
    ReadShape(s, e.Fields, 0);
    e.Image = Image(Str(s, "Bitmap"));
    e.Image2 = Image(Str(s, "CheckButton"));
    e.Image3 = Image(Str(s, "RadioButton"));
    ReadStateColours(s, e.Fields);
    b.RadioFrameCount = Int(s, "RadioButtonFrame", 0);
    b.CheckFrameCount = Int(s, "CheckButtonFrame", 0);
    b.HasNormalColour2 = !Str(s, "NormalColour2").empty();
    b.HasMouseOverColour2 = !Str(s, "MouseOverColour2").empty();
    b.HasPressedColour2 = !Str(s, "PressedColour2").empty();
  }

  void Title(TElementLayout& e, TTitleFields& t) const {
    const char* s = "Personality";
    e = {};
    e.Fields.Name = "Title";
    e.Image = Image(Str(s, "TextBack"));
    // Text offsets, not nine-slice margins: they keep their sign.
    e.Fields.Margins = {Geometry(Int(s, "TextShift", 0)), Geometry(Int(s, "TextShiftVert", 0)),
                        Geometry(Int(s, "TextRightClip", 0)), 0};
    t = {};
    t.TextAlignment = Int(s, "TextAlignment", 0);
    t.TextBackground = Int(s, "Textbackground", 0);
    t.FontHeight = Geometry(Int("Fonts", "FontHeight", 14));
    t.TextBackLeft = Extent(Int(s, "TXTBackleft", 0));
    t.TextBackRight = Extent(Int(s, "TXTBackRight", 0));
    FIni.ReadColourKeys(s, "ActiveText", t.ActiveTextColour);
    FIni.ReadColourKeys(s, "InActiveText", t.InactiveTextColour);
  }

  void Border(TElementLayout& e, const char* side, bool horizontalSide) const {
    const char* s = "Personality";
    const std::string x = side;
    e = {};
    e.Fields.Name = x;
    e.Image = Image(Str(s, x));
    const std::int32_t first = Extent(Int(s, x + "TopHeight", 0)), second = Extent(Int(s, x + "BotHeight", 0));
    if (horizontalSide) e.Fields.Margins = {first, 0, second, 0};
    else e.Fields.Margins = {0, first, 0, second};
    e.Fields.FrameCount = Int(s, x + "Frame", 1);
    e.Fields.Tile = FlagAtLeast1(Int(s, x + "Stretch", 1));
    e.Fields.Trans = Flag(Int(s, x + "Trans", 1));
  }

  bool CaptionButtons(const std::vector<std::string>& sections, TSkinLayout& layout, std::size_t limit,
                      std::string& error) const {
    std::vector<std::string> kept;
    for (const std::string& name : sections) {
      const std::string upper = UpperAscii(name);
      if (!StartsWith(upper, "BUTTON") || upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
          upper == "BUTTON.CHECKBOX")
        continue;
      if (Int(name, "Action", 0) == -1 && Int(name, "Visibility", -1) != 0) continue;
      kept.push_back(name);
      if (kept.size() > limit) {
        error = "皮肤数据已损坏：标题按钮多于 " + std::to_string(limit) + " 个";
        return false;
      }
    }
    layout.CaptionButtons.clear();
    for (const std::string& name : kept) {
      TSysButtonLayout b;
      b.Fields.Name = UpperAscii(name);
      b.Button.Action = Int(name, "Action", 0);
      b.Button.Align = Int(name, "Align", 0);
      b.Button.Xcoord = Geometry(Int(name, "Xcoord", 0));
      b.Button.Ycoord = Geometry(Int(name, "Ycoord", 0));
      b.Button.Visibility = Int(name, "Visibility", 0);
      b.Button.Visibility1 = Int(name, "Visibility1", b.Button.Action == -1 ? -1 : 0);
      b.Button.CombineOp = Int(name, "CombineOp", -1);
      b.Fields.FrameCount = Int(name, "frame", 0);
      b.Image = Image(Str(name, "ButtonImage"));
      if (b.Fields.FrameCount == 0) {
        // Without a "frame" key the strip's shape decides: about three frames of squarish
        // buttons, otherwise six.
        b.Fields.FrameCount = 6;
        if (b.Image.Present() && b.Image.Height() > 0 && b.Image.Width() > 0) {
          const double ratio = static_cast<double>(b.Image.Width()) / b.Image.Height();
          b.Fields.FrameCount = ratio <= 3.8 ? 3 : 6;
          if (b.Button.Action < 0) b.Fields.FrameCount = 6;
        }
        if (b.Button.Action == 3 || b.Button.Action == 11) b.Image = {};  // the icon is drawn instead
      }
      layout.CaptionButtons.push_back(std::move(b));
    }
    // The three buttons of a maximised MDI child, drawn in the menu band.
    layout.MDIImage = Image(Str("MDICONTROLS", "Image"));
    for (int i = 0; i < 3; ++i) {
      TSysButtonLayout b;
      b.Fields.Name = "MDICONTROLS";
      b.Button.Action = 7 + i;
      b.Button.Align = b.Button.Visibility = b.Button.Visibility1 = 100;
      b.Fields.FrameCount = 4;
      if (layout.MDIImage.Present() && layout.MDIImage.Width() >= 12) {
        const std::int32_t w = layout.MDIImage.Width() / 12;
        b.Image.Entry = layout.MDIImage.Entry;
        b.Image.Info = TImageInfo{4 * w, layout.MDIImage.Height(), layout.MDIImage.Info->Bits};
        b.Button.Xcoord = Geometry((w + 4) * (3 - i));
      }
      layout.CaptionButtons.push_back(std::move(b));
    }
    return true;
  }

private:
  const TQuickIni& FIni;
  const TImageLookup& FImages;
  TColor FButtonText;
};

// Frame counts the painting code relies on, overriding what the description says.
void SetFrameCounts(const TQuickIni& ini, TSkinLayout& layout) {
  layout.Buttons.Fields.FrameCount = 5;
  layout.Title.Fields.FrameCount = 2;
  auto set = [&](TSlot s, std::int32_t count) {
    if (auto& e = layout.Slot(s)) e->Fields.FrameCount = count;
  };
  if (auto& p = layout.Slot(TSlot::Progress)) p->Fields.FrameCount = p->Fields.Style != 0 ? 1 : 2;
  for (TSlot s : {TSlot::MenuBar, TSlot::GroupBoxEdge}) set(s, 2);
  for (TSlot s : {TSlot::TabPane, TSlot::GroupBox, TSlot::MenuBackground}) set(s, 1);
  set(TSlot::StatusBarEdges, 3);
  for (TSlot s : {TSlot::ComboButton, TSlot::SunkEdge, TSlot::HorzScroll, TSlot::VertScroll}) set(s, 4);
  for (TSlot s : {TSlot::ToolBars, TSlot::Tabs, TSlot::ExtraImages, TSlot::MenuItem, TSlot::TrackbarThumbHorz,
                  TSlot::TrackbarThumbVert, TSlot::TrackbarThumbLeft, TSlot::TrackbarThumbRight, TSlot::TrackbarThumbUp,
                  TSlot::TrackbarThumbDown})
    set(s, 5);
  if (auto& h = layout.Slot(TSlot::Headerbar); h && h->Fields.FrameCount == 0) h->Fields.FrameCount = 5;
  for (TSlot s : {TSlot::UpDownHorz, TSlot::UpDownVert}) set(s, 8);
  set(TSlot::Scrollbar, 23);
  set(TSlot::HorzScrollThumb, ini.ReadInteger("HorzScrollThumb", "FrameCount", 3));
  set(TSlot::VertScrollThumb, ini.ReadInteger("VertScrollThumb", "FrameCount", 3));

  // Check and radio strips without a count: one frame per 13 (small strips) or 16 pixels.
  auto strip = [](std::int32_t& count, const TImageRef& image) {
    if (count != 0) return;
    const std::int32_t unit = image.Height() < 16 ? 13 : 16;
    count = std::max(image.Width() / unit, 4);
  };
  strip(layout.ButtonFields.RadioFrameCount, layout.Buttons.Image3);
  strip(layout.ButtonFields.CheckFrameCount, layout.Buttons.Image2);
}

std::int32_t NormalCount(std::int32_t count) { return std::clamp(count, 1, kGeometryLimit); }

void Normalise(TSkinLayout& layout) {
  auto fields = [](TElementFields& f) { f.FrameCount = NormalCount(f.FrameCount); };
  for (auto& b : layout.Borders) fields(b.Fields);
  fields(layout.Title.Fields);
  fields(layout.Buttons.Fields);
  layout.ButtonFields.RadioFrameCount = NormalCount(layout.ButtonFields.RadioFrameCount);
  layout.ButtonFields.CheckFrameCount = NormalCount(layout.ButtonFields.CheckFrameCount);
  for (auto& s : layout.Slots)
    if (s) fields(s->Fields);
  for (auto& b : layout.CaptionButtons) fields(b.Fields);
}

std::int64_t PixelsOf(const TImageRef& image) {
  return image.Present() ? std::int64_t(std::clamp(image.Width(), 0, kGeometryLimit)) *
                               std::clamp(image.Height(), 0, kGeometryLimit)
                         : 0;
}

std::int64_t CountPixels(const TSkinLayout& layout) {
  std::int64_t n = 0;
  auto images = [&](const TElementLayout& e) { n += PixelsOf(e.Image) + PixelsOf(e.Image2) + PixelsOf(e.Image3); };
  for (const auto& b : layout.Borders) images(b);
  images(layout.Title);
  images(layout.Buttons);
  for (const auto& s : layout.Slots)
    if (s) images(*s);
  for (const auto& b : layout.CaptionButtons) n += PixelsOf(b.Image);
  return n;
}

}  // namespace

std::optional<TImageInfo> ProbeBitmap(std::span<const std::uint8_t> file) {
  if (file.size() < 26 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint32_t header = Get32(file, 14);
  TImageInfo info;
  if (header == 12) {
    info.Width = static_cast<std::int16_t>(Get16(file, 18));
    const auto height = static_cast<std::int16_t>(Get16(file, 20));
    info.Height = height < 0 ? -height : height;
    info.Bits = static_cast<std::int32_t>(Get16(file, 24));
  } else if (header >= 40 && file.size() >= 30) {
    info.Width = static_cast<std::int32_t>(Get32(file, 18));
    const auto height = static_cast<std::int32_t>(Get32(file, 22));
    if (height == INT32_MIN) return std::nullopt;
    info.Height = height < 0 ? -height : height;
    info.Bits = static_cast<std::int32_t>(Get16(file, 28));
  } else {
    return std::nullopt;
  }
  // Larger than any bitmap the program decodes: unreadable.
  if (info.Width <= 0 || info.Height <= 0 || info.Width > kGeometryLimit || info.Height > kGeometryLimit ||
      std::int64_t(info.Width) * info.Height > kMaxBitmapPixels)
    return std::nullopt;
  return info;
}

TImageLookup ArchiveImageLookup(const TSkinReader& archive) {
  return [&archive](const std::string& entry) -> std::optional<TImageInfo> {
    std::vector<std::uint8_t> bytes;
    if (!archive.ExtractEntry(entry, bytes) || bytes.empty()) return std::nullopt;
    return ProbeBitmap(bytes).value_or(TImageInfo{});
  };
}

std::string SkinBitmapEntry(std::string_view value) {
  const auto cut = value.find_last_of("\\:");
  const std::string_view name = cut == std::string_view::npos ? value : value.substr(cut + 1);
  const auto dot = name.rfind('.');
  if (name.empty() || dot == std::string_view::npos || name.substr(dot) != ".bmp") return {};
  return std::string(name);
}

const char* SlotSection(TSlot slot) {
  static constexpr const char* names[kSlotCount] = {
      "Progress", "Progress.Chunk", "Personality", "GroupBoxEdge", "GroupBox", "Tabs", "StatusBarEdges",
      "Tab.Pane", "ToolBars", "ComboButton", "SunkEdge", "ExtraImages", "Headerbar", "MenuItem", "MenuBackground",
      "Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb", "Trackbar.ThumbHorz",
      "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown",
      "UpDown.Horz", "UpDown.Vert", "Track", "TRACKVERT"};
  const auto i = static_cast<std::size_t>(slot);
  return i < kSlotCount ? names[i] : "";
}

TSkinColours ReadSkinColours(const TQuickIni& ini) {
  TSkinColours c;
  auto keyed = [&](const char* key, TColor& target) {
    const std::string v = ini.ReadString("Colours", key, {});
    if (!v.empty()) target = ParseColour(v);
  };
  keyed("WindowText", c.WindowTextColour);
  keyed("ButtonFace", c.ButtonFaceColour);
  keyed("Scrollbar", c.ScrollbarColour);
  keyed("HilightText", c.HilightTextColour);
  keyed("Hilight", c.HilightColour);
  c.MenubarColour = c.ButtonFaceColour;
  keyed("Menubar", c.MenubarColour);
  keyed("Menu", c.MenuColour);
  keyed("MenuText", c.MenuTextColour);
  keyed("ButtonText", c.ButtonTextColour);
  keyed("ButtonHilight", c.ButtonHilightColour);
  keyed("Buttonlight", c.ButtonlightColour);
  keyed("ButtonShadow", c.ButtonShadowColour);
  keyed("ButtonDkShadow", c.ButtonDkShadowColour);
  keyed("MenuBarText", c.MenuBarTextColour);
  keyed("TitleTextActive", c.TitleTextActiveColour);
  keyed("TitleTextNoActive", c.TitleTextNoActiveColour);

  std::vector<std::string> sections;
  ini.ReadSections(&sections);
  for (const std::string& name : sections) {
    const std::string upper = UpperAscii(name);
    if (!StartsWith(upper, "COLOUR") || upper == "COLOURS") continue;
    const std::string v = ini.ReadString(name, "color", {});
    c.IndexedColours.push_back(v.empty() ? TColor(0xFF000008) : ParseColour(v));
  }
  for (int i = 0; i < 10; ++i) {
    const std::string v = ini.ReadString("Customcolors", "Color" + std::to_string(i), {});
    c.CustomColours[static_cast<std::size_t>(i)] = v.empty() ? TColor(0xFFFFFF) : ParseColour(v);
  }
  return c;
}

bool BuildSkinLayout(const TQuickIni& ini, const TImageLookup& images, TSkinLayout& layout, std::string& error,
                     const TSkinLimits& limits) {
  layout = {};
  std::vector<std::string> sections;
  ini.ReadSections(&sections);
  layout.SkinName = ini.ReadString("TitlebarSkin", "SkinName", {});
  layout.Colours = ReadSkinColours(ini);
  const TLoader load(ini, images, layout.Colours.ButtonTextColour);

  load.Border(layout.Borders[0], "Left", false);
  load.Border(layout.Borders[1], "Right", false);
  load.Border(layout.Borders[2], "Top", true);
  load.Border(layout.Borders[3], "Bottom", true);
  if (!load.CaptionButtons(sections, layout, limits.MaxCaptionButtons, error)) return false;
  load.Buttons(layout.Buttons, layout.ButtonFields);
  load.Title(layout.Title, layout.TitleFields);

  for (std::size_t i = 0; i < kSlotCount; ++i) {
    const auto slot = static_cast<TSlot>(i);
    auto& target = layout.Slots[i];
    switch (slot) {
      case TSlot::Progress: target = load.Progress(); break;
      case TSlot::MenuBar: target = load.MenuBar(); break;
      case TSlot::GroupBox: target = load.GroupBox(); break;
      case TSlot::Tabs: target = load.Generic("Tabs", false, "Border"); break;
      case TSlot::UpDownHorz: target = load.Generic("UpDown.Horz", false, "GlyphImage"); break;
      case TSlot::UpDownVert: target = load.Generic("UpDown.Vert", false, "GlyphImage"); break;
      case TSlot::ComboButton: target = load.Generic("ComboButton", false, "****"); break;
      default: target = load.Generic(SlotSection(slot)); break;
    }
  }
  // The tab pane is a thin frame: its margins stay small.
  if (auto& pane = layout.Slot(TSlot::TabPane)) {
    auto& m = pane->Fields.Margins;
    for (std::int32_t* v : {&m.Left, &m.Top, &m.Right, &m.Bottom}) *v = std::min(*v, 4);
  }

  SetFrameCounts(ini, layout);
  Normalise(layout);

  layout.Pixels = CountPixels(layout);
  if (layout.Pixels > limits.MaxPixels) {
    error = "皮肤数据已损坏：图像共 " + std::to_string(layout.Pixels) + " 像素，多于 " +
            std::to_string(limits.MaxPixels) + " 像素";
    return false;
  }
  return true;
}

}  // namespace skin
