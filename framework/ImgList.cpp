// TImageList over a system image list: adding strips with masks, drawing enabled and disabled.
#include "ImgList.h"

#include <algorithm>

#include "PropTables.h"

namespace fw {

using props::Prop;

const TClassInfo& TImageList::StaticClassInfo() {
  static const TClassInfo info{"TImageList",
                               &TComponent::StaticClassInfo(),
                               &NewComponent<TImageList>,
                               {Prop("Width", TPropKind::Integer, &TImageList::Width, &TImageList::SetWidth),
                                Prop("Height", TPropKind::Integer, &TImageList::Height, &TImageList::SetHeight)},
                               {}};
  return info;
}

TImageList::TImageList(TComponent* owner) : TImageList(owner, 16, 16) {}

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FWidth(std::max(width, 1)), FHeight(std::max(height, 1)) {
  FHandle.reset(ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, 4, 4));
  if (!FHandle) throw EOutOfMemory(L"ImageList_Create: " + SysErrorMessage(GetLastError()));
}

TImageList::~TImageList() = default;

void TImageList::SetSize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (width == FWidth && height == FHeight) return;
  FWidth = width;
  FHeight = height;
  ImageList_SetIconSize(Handle(), FWidth, FHeight);  // also removes every image
}

int TImageList::Count() const { return ImageList_GetImageCount(Handle()); }

void TImageList::Clear() { ImageList_Remove(Handle(), -1); }

TBitmapHandle TImageList::DeviceCopy(TBitmap& source, bool monochrome) {
  const int w = source.Width(), h = source.Height();
  TWindowDC screen(nullptr);
  TBitmapHandle copy(monochrome ? CreateBitmap(w, h, 1, 1, nullptr) : CreateCompatibleBitmap(screen, w, h));
  if (!copy) return copy;
  HDC from = source.Canvas().Handle();
  TSaveDC savedFrom(from);
  // Into a monochrome bitmap, pixels of the source's background colour become 1: white
  // mask pixels stay white (transparent), every other colour turns black (opaque).
  SetBkColor(from, RGB(255, 255, 255));
  TMemoryDC to(screen);
  TSelectObject selected(to, copy);
  BitBlt(to, 0, 0, w, h, from, 0, 0, SRCCOPY);
  return copy;
}

int TImageList::Add(TBitmap& image, TBitmap* mask) {
  if (image.Width() < FWidth || image.Height() < 1) return -1;
  if (mask && (mask->Width() < image.Width() || mask->Height() < image.Height())) return -1;
  TBitmapHandle picture = DeviceCopy(image, false);
  if (!picture) return -1;
  TBitmapHandle shape;
  if (mask) {
    shape = DeviceCopy(*mask, true);
    if (!shape) return -1;
  }
  return ImageList_Add(Handle(), picture, shape);
}

int TImageList::AddMasked(TBitmap& image, TColor maskColour) {
  if (maskColour == clNone) return Add(image, nullptr);
  if (image.Width() < FWidth || image.Height() < 1) return -1;
  // The system list blackens the mask-colour pixels of the bitmap it is given: give it a copy.
  TBitmapHandle picture = DeviceCopy(image, false);
  if (!picture) return -1;
  return ImageList_AddMasked(Handle(), picture, ColorToRGB(maskColour));
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
  if (!dc || index < 0 || index >= Count()) return;
  if (enabled) ImageList_Draw(Handle(), index, dc, x, y, ILD_TRANSPARENT);
  else DrawDisabled(dc, x, y, index);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  Draw(canvas.Handle(), x, y, index, enabled);
}

void TImageList::DrawDisabled(HDC dc, int x, int y, int index) const {
  // The image's shape: 0 where it shows, 1 where it is transparent.
  TBitmapHandle shape(CreateBitmap(FWidth, FHeight, 1, 1, nullptr));
  if (!shape) return;
  TMemoryDC shapeDC(dc);
  TSelectObject selected(shapeDC, shape);
  PatBlt(shapeDC, 0, 0, FWidth, FHeight, WHITENESS);
  ImageList_Draw(Handle(), index, shapeDC, 0, 0, ILD_MASK);

  TSaveDC saved(dc);
  // A monochrome source expands to the text colour (0) and the background colour (1).
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  auto paintShape = [&](int dx, int dy, int sysColour) {
    TSelectObject brush(dc, GetSysColorBrush(sysColour));
    // PSDPxax: the brush where the source is black, the destination kept where it is white.
    constexpr DWORD ropBrushWhereBlack = 0x00B8074A;
    BitBlt(dc, x + dx, y + dy, FWidth, FHeight, shapeDC, 0, 0, ropBrushWhereBlack);
  };
  paintShape(1, 1, COLOR_3DHILIGHT);
  paintShape(0, 0, COLOR_3DSHADOW);
}

void RegisterImageLists() { RegisterClass(&TImageList::StaticClassInfo()); }

}  // namespace fw
