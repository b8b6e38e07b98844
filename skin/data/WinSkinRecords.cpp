// Element records built from a skin layout: the bitmaps decoded from the archive, the MDI
// button split, the program's fallback track images, and the derived images (the combo box
// composite and its mirror, the combo arrow, the toolbar gradient) with the frame colour.
#include <algorithm>

#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinData.h"

namespace skin {
namespace {

constexpr TColor kMagenta = 0xFF00FF;

// Decodes the entry an image names into bitmap (24 bits per pixel); an image that is not
// present leaves the bitmap empty.
void LoadImage(fw::TBitmap& bitmap, const TImageRef& image, const TSkinReader& archive) {
  bitmap.SetSize(0, 0);
  if (!image.Present()) return;
  std::vector<std::uint8_t> bytes;
  archive.ExtractEntry(image.Entry, bytes);
  bitmap.LoadFromMemory(bytes.data(), bytes.size());
  if (bitmap.PixelFormat() != fw::TPixelFormat::pf24bit) bitmap.SetPixelFormat(fw::TPixelFormat::pf24bit);
}

template <class R>
std::unique_ptr<R> MakeRecord(const TElementLayout& element, const TSkinReader& archive) {
  auto r = std::make_unique<R>(element.Fields.Name);
  static_cast<TElementFields&>(*r) = element.Fields;
  LoadImage(r->Bitmap, element.Image, archive);
  return r;
}

std::unique_ptr<TDataSkinObject> MakeSlotRecord(TSlot slot, const TElementLayout& element, const TSkinReader& archive) {
  switch (slot) {
    case TSlot::Tabs:
    case TSlot::UpDownHorz:
    case TSlot::UpDownVert:
    case TSlot::ComboButton:
    case TSlot::Progress: {
      auto r = MakeRecord<TDataSkinBorder>(element, archive);
      LoadImage(r->Bitmap2, element.Image2, archive);
      return r;
    }
    case TSlot::GroupBox: {
      auto r = MakeRecord<TDataSkinBoxLabel>(element, archive);
      static_cast<TBoxLabelFields&>(*r) = element.BoxLabel;
      return r;
    }
    default:
      return MakeRecord<TDataSkinObject>(element, archive);
  }
}

// Copies a rectangle of source into dest at (x, y).
void CopyPixels(fw::TBitmap& dest, int x, int y, fw::TBitmap& source, const RECT& from) {
  BitBlt(dest.Canvas().Handle(), x, y, from.right - from.left, from.bottom - from.top, source.Canvas().Handle(),
         from.left, from.top, SRCCOPY);
}

// The "MDICONTROLS" strip holds four states of each of the three buttons.
void SplitMDIImage(const TSkinLayout& layout, const TSkinReader& archive, TSkinRecords& records) {
  fw::TBitmap strip;
  LoadImage(strip, layout.MDIImage, archive);
  const int w = strip.Width() / 12, h = strip.Height();
  const std::size_t first = records.CaptionButtons.size() - 3;
  for (int i = 0; i < 3; ++i) {
    fw::TBitmap& b = records.CaptionButtons[first + static_cast<std::size_t>(i)]->Bitmap;
    b.SetSize(0, 0);
    if (w <= 0 || h <= 0) continue;
    b.SetSize(4 * w, h);
    CopyPixels(b, 0, 0, strip, RECT{4 * w * i, 0, 4 * w * (i + 1), h});
  }
}

std::unique_ptr<TDataSkinObject> ResourceTrack(const wchar_t* name, const char* recordName) {
  auto r = std::make_unique<TDataSkinObject>(recordName);
  LoadResourceBitmap(r->Bitmap, name);
  r->Margins = {3, 3, 3, 3};
  r->Tile = 0;
  r->FrameCount = 1;
  return r;
}

// One strip of 50 x 21 cells, one per SunkEdge frame: the sunk edge, the button on the right
// with its glyph, and the edit area left transparent. SunkEdge becomes its mirror image for
// windows with the scroll bar on the left.
void BuildComboComposite(TSkinRecords& records) {
  TDataSkinObject& sunk = *records.Slots[static_cast<std::size_t>(TSlot::SunkEdge)];
  TDataSkinBorder& button = static_cast<TDataSkinBorder&>(*records.Slots[static_cast<std::size_t>(TSlot::ComboButton)]);
  TDataSkinObject* extra = records.Slots[static_cast<std::size_t>(TSlot::ExtraImages)].get();
  const int b = GetSystemMetrics(SM_CXHSCROLL) + 2;
  const int cells = sunk.FrameCount;
  constexpr int kW = 50, kH = 21;

  fw::TBitmap strip(kW * cells, kH);
  HDC dc = strip.Canvas().Handle();
  fw::TBrushHandle magenta(CreateSolidBrush(kMagenta));
  const RECT all{0, 0, kW * cells, kH};
  FillRect(dc, &all, magenta);
  for (int k = 1; k <= cells; ++k) {
    const int x = kW * (k - 1);
    const RECT cell{x, 0, x + kW, kH}, right{x + kW - b, 0, x + kW, kH}, edit{x + 2, 2, x + kW - 1 - b, 18};
    fw::TSaveDC saved(dc);
    IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
    // The cell is magenta already: the edge drawn opaquely leaves its own magenta pixels
    // transparent, as a keyed draw would.
    DrawSkinImage(dc, cell, sunk.Bitmap, false, false, false, sunk.FrameCount, k, sunk.Margins);
    DrawStripFrame(dc, right, button.Bitmap, true, button.FrameCount, k);
    if (extra && !extra->Bitmap.Empty()) DrawStripFrameCentred(dc, right, extra->Bitmap, true, extra->FrameCount, k);
    FillRect(dc, &edit, magenta);
  }

  button.Style = 2;
  button.Margins = sunk.Margins;
  button.Margins.Left = 2;
  button.Margins.Right = b + 2;
  button.Bitmap.Assign(strip);

  MirrorBitmap(strip);
  sunk.Bitmap.Assign(strip);
  sunk.Margins.Left = b + 2;
  sunk.Margins.Right = 2;
}

// The arrow of a combo box drawn without the skin's frame.
void BuildComboArrow(TSkinRecords& records) {
  TDataSkinObject& arrow = *records.ComboxArrow;
  TDataSkinObject* sunk = records.Slots[static_cast<std::size_t>(TSlot::SunkEdge)].get();
  TDataSkinObject* button = records.Slots[static_cast<std::size_t>(TSlot::ComboButton)].get();
  if (!button) return;
  if (!sunk) {
    arrow.Bitmap.Assign(button->Bitmap);
    ReplaceMagenta(arrow.Bitmap, records.Colours.ButtonFaceColour);
    arrow.FrameCount = button->FrameCount;
    return;
  }
  const int cells = sunk->FrameCount;
  const int w = button->Bitmap.Width() / cells;
  arrow.Bitmap.SetSize(17 * cells, 17);
  for (int i = 0; i < cells; ++i)
    CopyPixels(arrow.Bitmap, 17 * i, 0, button->Bitmap, RECT{(i + 1) * w - 19, 2, (i + 1) * w - 2, 19});
  arrow.FrameCount = cells;
}

// The colour of the caption frame: a pixel a third into the first frame of the Top border.
TColor SampleFrameColour(TSkinRecords& records) {
  TDataSkinBorder& top = *records.Borders[2];
  if (top.Bitmap.Empty()) return records.Colours.ButtonFaceColour;
  const int frameHeight = top.Bitmap.Height() / std::max(top.FrameCount, 1);
  const auto* row = static_cast<const std::uint8_t*>(top.Bitmap.ScanLine(frameHeight / 3));
  const std::uint8_t* p = row + 3 * (top.Bitmap.Width() / 3);
  return ColourRGB(p[2], p[1], p[0]);
}

// A light-to-dark background for tool bars, tinted by the frame colour.
void BuildToolbarGradient(TSkinRecords& records) {
  const TColor f = records.FrameColour;
  const TColor light = MixColor(records.Colours.ButtonFaceColour, 0xFFFFFF, 150);
  TColor dark = MixColor(0x808080, f, 150);
  const int saturation = ColorSaturation(f);
  if (saturation > 110) dark = MixColor(f, 0xFFFFFF, (5625 - 25 * saturation) / 140 + 50);
  TDataSkinObject& g = *records.ToolbarGradient;
  g.Bitmap.SetSize(10, 40);
  GradientFill(g.Bitmap.Canvas().Handle(), RECT{0, 0, 10, 40}, light, true, dark);
  g.FrameCount = 1;
}

}  // namespace

TSkinRecords::TSkinRecords()
    : Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      Borders{std::make_unique<TDataSkinBorder>("Left"), std::make_unique<TDataSkinBorder>("Right"),
              std::make_unique<TDataSkinBorder>("Top"), std::make_unique<TDataSkinBorder>("Bottom")},
      ComboxArrow(std::make_unique<TDataSkinObject>("ComboxArrow")),
      ToolbarGradient(std::make_unique<TDataSkinObject>("Toolbar")) {}

void LoadResourceBitmap(fw::TBitmap& bitmap, const wchar_t* name) {
  bitmap.SetSize(0, 0);
  HINSTANCE module = GetModuleHandleW(nullptr);
  if (!FindResourceW(module, name, reinterpret_cast<LPCWSTR>(RT_BITMAP))) return;
  try {
    bitmap.LoadFromResourceName(module, name);
  } catch (const fw::Exception&) {
    bitmap.SetSize(0, 0);
  }
}

void BuildSkinRecords(const TSkinLayout& layout, const TSkinReader& archive, TSkinRecords& records) {
  records.SkinName = layout.SkinName;
  records.Colours = layout.Colours;

  for (std::size_t i = 0; i < 4; ++i) {
    TDataSkinBorder& b = *records.Borders[i];
    static_cast<TElementFields&>(b) = layout.Borders[i].Fields;
    LoadImage(b.Bitmap, layout.Borders[i].Image, archive);
  }
  records.CaptionButtons.clear();
  for (const TSysButtonLayout& element : layout.CaptionButtons) {
    auto r = std::make_unique<TDataSkinSysButton>(element.Fields.Name);
    static_cast<TElementFields&>(*r) = element.Fields;
    static_cast<TSysButtonFields&>(*r) = element.Button;
    if (element.Button.Action < 7 || element.Button.Action > 9 || element.Fields.Name != "MDICONTROLS")
      LoadImage(r->Bitmap, element.Image, archive);
    records.CaptionButtons.push_back(std::move(r));
  }
  SplitMDIImage(layout, archive, records);

  TDataSkinButton& buttons = *records.Buttons;
  static_cast<TElementFields&>(buttons) = layout.Buttons.Fields;
  static_cast<TButtonFields&>(buttons) = layout.ButtonFields;
  LoadImage(buttons.Bitmap, layout.Buttons.Image, archive);
  LoadImage(buttons.CheckBitmap, layout.Buttons.Image2, archive);
  LoadImage(buttons.RadioBitmap, layout.Buttons.Image3, archive);

  TDataSkinTitle& title = *records.Title;
  static_cast<TElementFields&>(title) = layout.Title.Fields;
  static_cast<TTitleFields&>(title) = layout.TitleFields;
  LoadImage(title.Bitmap, layout.Title.Image, archive);

  for (std::size_t i = 0; i < kSlotCount; ++i) {
    const auto& element = layout.Slots[i];
    records.Slots[i] = element ? MakeSlotRecord(static_cast<TSlot>(i), *element, archive) : nullptr;
  }
  auto& track = records.Slots[static_cast<std::size_t>(TSlot::Track)];
  if (!track) track = ResourceTrack(L"TRACK", "TRACK");
  auto& trackVert = records.Slots[static_cast<std::size_t>(TSlot::TrackVert)];
  if (!trackVert) trackVert = ResourceTrack(L"TRACKVERT", "TRACKVERT");

  // The button image mirrored, for combo boxes with the scroll bar on the left.
  auto* comboButton = static_cast<TDataSkinBorder*>(records.Slots[static_cast<std::size_t>(TSlot::ComboButton)].get());
  if (comboButton && !comboButton->Bitmap.Empty()) {
    comboButton->Bitmap2.Assign(comboButton->Bitmap);
    comboButton->Bitmap2.SetPixelFormat(fw::TPixelFormat::pf24bit);
    MirrorBitmap(comboButton->Bitmap2);
  }
  if (comboButton && records.Slots[static_cast<std::size_t>(TSlot::SunkEdge)]) BuildComboComposite(records);
  records.ComboxArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
  BuildComboArrow(records);
  records.FrameColour = SampleFrameColour(records);
  records.ToolbarGradient = std::make_unique<TDataSkinObject>("Toolbar");
  BuildToolbarGradient(records);
}

}  // namespace skin
