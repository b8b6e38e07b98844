// Portable part of the skin element records: the numeric fields every element carries, the
// colours of a skin, the slots the engine reads, and the layout of a whole skin worked out
// from its description and the headers of its bitmaps, without decoding a single pixel.
//
// Types in this file: TMargins, TElementFields and the four added-field groups, TImageInfo,
// TImageRef, TElementLayout, TSysButtonLayout, TSkinColours, TSlot, TSkinLayout.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/WinSkinIni.h"

namespace skin {

// Nine-slice margins of one frame, in pixels: the fixed left and right widths and the fixed
// top and bottom heights; everything between them is stretched or tiled.
struct TMargins {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TMargins&) const = default;
};

// Every geometry value read from a description is kept within this range, so that sums of a
// few of them never overflow.
inline constexpr std::int32_t kGeometryLimit = 32767;
// The largest bitmap the program decodes, in pixels (and kGeometryLimit a side).
inline constexpr std::int64_t kMaxBitmapPixels = 64LL * 1024 * 1024;

// Numeric fields of every element record.
struct TElementFields {
  TMargins Margins;
  std::int32_t Trans = 0;  // 1: magenta pixels are transparent; always 0 or 1
  // 1: middle parts tiled, 0: stretched. In the four window borders: 1 stretched, 0 tiled.
  std::int32_t Tile = 0;
  std::string Name;
  std::int32_t FrameCount = 0;  // at least 1 once a layout is complete
  std::int32_t Style = 0;
  // State colours: -1 when a loader that reads them finds none; 0 in records that do not read them.
  TColor NormalColour = 0, MouseOverColour = 0, PressedColour = 0;
  TColor NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;
  bool operator==(const TElementFields&) const = default;
};

struct TTitleFields {
  std::int32_t TextAlignment = 0, TextBackground = 0, FontHeight = 0, TextBackLeft = 0, TextBackRight = 0;
  TColor ActiveTextColour = clNone, InactiveTextColour = clNone;
  bool operator==(const TTitleFields&) const = default;
};

struct TButtonFields {
  std::int32_t RadioFrameCount = 0, CheckFrameCount = 0;
  bool HasNormalColour2 = false, HasMouseOverColour2 = false, HasPressedColour2 = false;
  bool operator==(const TButtonFields&) const = default;
};

struct TSysButtonFields {
  std::int32_t Action = 0, Align = 0, Xcoord = 0, Ycoord = 0, CombineOp = 0, Visibility = 0, Visibility1 = 0;
  bool operator==(const TSysButtonFields&) const = default;
};

struct TBoxLabelFields {
  std::int32_t BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
  bool operator==(const TBoxLabelFields&) const = default;
};

// What the header of a bitmap entry says.
struct TImageInfo {
  std::int32_t Width = 0, Height = 0, Bits = 0;
  bool operator==(const TImageInfo&) const = default;
};

// Width, height and depth from a Windows bitmap file's headers; none when they cannot be read or
// describe a bitmap larger than the program decodes.
std::optional<TImageInfo> ProbeBitmap(std::span<const std::uint8_t> file);

// The archive entry an image value names: the text after the last "\" or ":", when its
// extension is exactly ".bmp"; empty otherwise (the image is then cleared).
std::string SkinBitmapEntry(std::string_view value);

// One image of an element: the entry it comes from and what that entry's header says.
// Info is none when the entry is missing or empty (the bitmap stays empty), and a zero size
// when the entry holds something that is not a readable bitmap (decoding it will fail).
struct TImageRef {
  std::string Entry;
  std::optional<TImageInfo> Info;
  bool Present() const { return !Entry.empty() && Info.has_value(); }
  std::int32_t Width() const { return Info ? Info->Width : 0; }
  std::int32_t Height() const { return Info ? Info->Height : 0; }
  bool operator==(const TImageRef&) const = default;
};

// Header of a named entry of the skin archive, or none when it is missing or empty.
using TImageLookup = std::function<std::optional<TImageInfo>(const std::string& entry)>;

class TSkinReader;
// Looks the entries up in a loaded archive (which must outlive the lookup).
TImageLookup ArchiveImageLookup(const TSkinReader& archive);

// An element as its record will be built: fields and up to three images
// (Image2: the second image, or the check strip of the buttons; Image3: the radio strip).
struct TElementLayout {
  TElementFields Fields;
  TImageRef Image, Image2, Image3;
  TBoxLabelFields BoxLabel;  // the group box only
  bool operator==(const TElementLayout&) const = default;
};

struct TSysButtonLayout {
  TElementFields Fields;
  TSysButtonFields Button;
  TImageRef Image;
  bool operator==(const TSysButtonLayout&) const = default;
};

// The colours a skin gives (defaults: system colours, top bit set).
struct TSkinColours {
  TColor WindowTextColour = 0xFF000008;
  TColor TitleTextActiveColour = 0xFF000009, TitleTextNoActiveColour = 0xFF000013;
  TColor ButtonFaceColour = 0xFF00000F, ButtonTextColour = 0xFF000012;
  TColor ButtonHilightColour = 0xFF000014, ButtonlightColour = 0xFF000014;
  TColor ButtonShadowColour = 0xFF000010, ButtonDkShadowColour = 0xFF000015;
  TColor HilightTextColour = 0xFF00000E, HilightColour = 0xFF00000D;
  TColor MenubarColour = 0xFF00000F;
  TColor MenuBarTextColour = 0xFF000007, MenuTextColour = 0xFF000007;
  TColor MenuColour = 0xFF000004;
  TColor ScrollbarColour = 0xFF000000;
  std::vector<TColor> IndexedColours;
  std::array<TColor, 10> CustomColours{};
  bool operator==(const TSkinColours&) const = default;
};

// Element slots that a skin may fill or leave empty, in the order they are loaded.
enum class TSlot : int {
  Progress, ProgressChunk, MenuBar, GroupBoxEdge, GroupBox, Tabs, StatusBarEdges, TabPane, ToolBars,
  ComboButton, SunkEdge, ExtraImages, Headerbar, MenuItem, MenuBackground, Scrollbar, HorzScroll,
  VertScroll, HorzScrollThumb, VertScrollThumb, TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft,
  TrackbarThumbRight, TrackbarThumbUp, TrackbarThumbDown, UpDownHorz, UpDownVert, Track, TrackVert,
  Count
};
inline constexpr std::size_t kSlotCount = static_cast<std::size_t>(TSlot::Count);

// The description section a slot is read from ("Personality" for the menu bar).
const char* SlotSection(TSlot slot);

// Limits that keep a hostile skin from exhausting the process.
struct TSkinLimits {
  std::size_t MaxCaptionButtons = 64;           // kept BUTTON sections
  std::int64_t MaxPixels = 64LL * 1024 * 1024;  // all bitmaps of one load together
};

// The whole skin as its records will be built: permanent records, slots, caption buttons.
struct TSkinLayout {
  std::string SkinName;
  TSkinColours Colours;
  std::array<TElementLayout, 4> Borders;  // left, right, top, bottom
  TElementLayout Title;
  TTitleFields TitleFields;
  TElementLayout Buttons;  // Image: faces, Image2: check strip, Image3: radio strip
  TButtonFields ButtonFields;
  std::array<std::optional<TElementLayout>, kSlotCount> Slots;
  std::vector<TSysButtonLayout> CaptionButtons;  // kept sections, then the three MDI child buttons
  TImageRef MDIImage;                          // "MDICONTROLS" strip, split among the MDI buttons
  std::int64_t Pixels = 0;                     // pixels of every image the records will load

  std::optional<TElementLayout>& Slot(TSlot s) { return Slots[static_cast<std::size_t>(s)]; }
  const std::optional<TElementLayout>& Slot(TSlot s) const { return Slots[static_cast<std::size_t>(s)]; }
  bool operator==(const TSkinLayout&) const = default;
};

// Reads the colours of a description.
TSkinColours ReadSkinColours(const TQuickIni& ini);

// Works out the layout of a skin from its description: every loader, the caption-button
// rules, the frame counts and the normalisation (margins of 0 or more, geometry within
// ±kGeometryLimit, frame counts of at least 1, Trans and Tile 0 or 1). Returns false with a
// message for the user when the skin exceeds a limit; layout is then unspecified.
bool BuildSkinLayout(const TQuickIni& ini, const TImageLookup& images, TSkinLayout& layout, std::string& error,
                     const TSkinLimits& limits = {});

}  // namespace skin
