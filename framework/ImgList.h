// TImageList: a list of equally sized images with masks, kept in a system image list.
//
// Classes in this file: TImageList.
// RegisterImageLists() makes TImageList known to the form reader.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <type_traits>

#include "Classes.h"
#include "Graphics.h"

namespace fw {

// Owns one HIMAGELIST (ILC_COLOR24 | ILC_MASK), destroyed with the component. Images are
// Width x Height; a bitmap wider than Width is cut into Width-wide images, left to right.
class TImageList : public TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TImageList(TComponent* owner);
  TImageList(TComponent* owner, int width, int height);
  ~TImageList() override;

  // -- attributes
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetWidth(int width) { SetSize(width, FHeight); }
  void SetHeight(int height) { SetSize(FWidth, height); }
  // Changes the image size; the list loses its images (the system list cannot rescale them).
  // Sizes below 1 are taken as 1.
  void SetSize(int width, int height);
  int Count() const;
  HIMAGELIST Handle() const { return FHandle.get(); }

  // -- methods
  void Clear();
  // Adds the images of a bitmap with a mask bitmap of the same size (white: transparent,
  // black: opaque), or opaque images when mask is null. Returns the index of the first added
  // image, or -1 (bitmap narrower than Width, or the system refused).
  int Add(TBitmap& image, TBitmap* mask);
  // Adds the images of a bitmap, with every pixel of maskColour transparent (clNone: opaque).
  // The caller's bitmap is not changed. Returns the first index or -1, as Add.
  int AddMasked(TBitmap& image, TColor maskColour);
  // Draws image index with its top-left corner at (x, y), transparent where the mask says so.
  // Disabled, the image's shape is embossed: a highlight copy one pixel down-right under a
  // shadow-coloured copy, as disabled glyphs of menus and buttons look. An index out of range
  // draws nothing.
  void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

private:
  struct TDestroy {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
  };
  // A copy of a bitmap's picture as a device bitmap of its own (monochrome for masks): the
  // system list selects what it adds into its own DC, which a bitmap held by a canvas refuses.
  static TBitmapHandle DeviceCopy(TBitmap& source, bool monochrome);
  void DrawDisabled(HDC dc, int x, int y, int index) const;

  int FWidth = 16;
  int FHeight = 16;
  std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, TDestroy> FHandle;
};

void RegisterImageLists();

}  // namespace fw
