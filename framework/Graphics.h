// Colours, fonts, brushes, pens, the drawing canvas and device-independent bitmaps.
//
// Classes in this file: TGraphicsObject, TFont, TBrush, TPen, TCanvas, TBitmap.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "GdiHandles.h"

// The canvas has its own TextOut; the ANSI/wide switch of the system header is not wanted here.
#undef TextOut

namespace fw {

class TStream;

FW_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
FW_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

// ---------------------------------------------------------------------------
// Colours: 0x00BBGGRR; a value with the top bit set is a system colour whose low byte
// is the GetSysColor index.
// ---------------------------------------------------------------------------

using TColor = uint32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor SysColor(int index) { return 0xFF000000u | static_cast<TColor>(index); }
constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR), clBackground = SysColor(COLOR_BACKGROUND),
                 clActiveCaption = SysColor(COLOR_ACTIVECAPTION),
                 clInactiveCaption = SysColor(COLOR_INACTIVECAPTION), clMenu = SysColor(COLOR_MENU),
                 clWindow = SysColor(COLOR_WINDOW), clWindowFrame = SysColor(COLOR_WINDOWFRAME),
                 clMenuText = SysColor(COLOR_MENUTEXT), clWindowText = SysColor(COLOR_WINDOWTEXT),
                 clCaptionText = SysColor(COLOR_CAPTIONTEXT), clActiveBorder = SysColor(COLOR_ACTIVEBORDER),
                 clInactiveBorder = SysColor(COLOR_INACTIVEBORDER), clAppWorkSpace = SysColor(COLOR_APPWORKSPACE),
                 clHighlight = SysColor(COLOR_HIGHLIGHT), clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT),
                 clBtnFace = SysColor(COLOR_BTNFACE), clBtnShadow = SysColor(COLOR_BTNSHADOW),
                 clGrayText = SysColor(COLOR_GRAYTEXT), clBtnText = SysColor(COLOR_BTNTEXT),
                 clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT),
                 clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SysColor(COLOR_3DDKSHADOW),
                 cl3DLight = SysColor(COLOR_3DLIGHT), clInfoText = SysColor(COLOR_INFOTEXT),
                 clInfoBk = SysColor(COLOR_INFOBK);

// Plain RGB of a colour: system colours are looked up, clNone and clDefault give black.
COLORREF ColorToRGB(TColor c);
// Colour names as written in stored forms ("clBtnFace", "clRed"); false when unknown.
bool IdentToColor(const std::wstring& ident, TColor& color);
std::wstring ColorToIdent(TColor color);  // "$00BBGGRR" when the colour has no name
// Character-set names as written in stored forms ("GB2312_CHARSET"); false when unknown.
bool IdentToCharset(const std::wstring& ident, int& charset);
std::wstring CharsetToIdent(int charset);

// ---------------------------------------------------------------------------
// Graphics objects
// ---------------------------------------------------------------------------

// Base of fonts, brushes and pens: a change fires OnChange.
class TGraphicsObject : public TPersistent {
  FW_DECLARE_CLASS()
public:
  TNotifyEvent OnChange;

protected:
  virtual void Changed();
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // bit mask of TFontStyle; set ordinal i is bit 1 << i

class TFont : public TGraphicsObject {
  FW_DECLARE_CLASS()
public:
  TFont();
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  const std::wstring& Name() const { return FName; }
  void SetName(const std::wstring& name);
  // Character height in logical units: negative is the em height, positive the cell height.
  int Height() const { return FHeight; }
  void SetHeight(int height);
  // Size in points, derived from Height with the screen's PixelsPerInch.
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles style);
  int Charset() const { return FCharset; }
  void SetCharset(int charset);
  int PixelsPerInch() const { return FPixelsPerInch; }

  // The font handle, created on first use and re-created after any change.
  HFONT Handle();
  // Takes the attributes of an existing font handle (the font keeps its own copy).
  void SetHandle(HFONT font);
  void Assign(const TFont& source);

protected:
  void Changed() override;

private:
  std::wstring FName = L"Tahoma";
  int FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle = 0;
  int FCharset = DEFAULT_CHARSET;
  int FPixelsPerInch = 96;
  TFontHandle FHandle;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
  FW_DECLARE_CLASS()
public:
  TBrush() = default;
  TBrush(const TBrush&) = delete;
  TBrush& operator=(const TBrush&) = delete;
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle style);
  HBRUSH Handle();  // a hollow brush for bsClear
  void Assign(const TBrush& source);

protected:
  void Changed() override;

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = TBrushStyle::bsSolid;
  TBrushHandle FHandle;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
  FW_DECLARE_CLASS()
public:
  TPen() = default;
  TPen(const TPen&) = delete;
  TPen& operator=(const TPen&) = delete;
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  int Width() const { return FWidth; }
  void SetWidth(int width);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle style);
  HPEN Handle();
  void Assign(const TPen& source);

protected:
  void Changed() override;

private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = TPenStyle::psSolid;
  TPenHandle FHandle;
};

// ---------------------------------------------------------------------------
// Canvas
// ---------------------------------------------------------------------------

class TBitmap;

// Drawing surface over a device context. The canvas selects its font, brush and pen into
// the DC when a drawing call needs them and puts the DC's own objects back when the
// handle is replaced or released. It does not own a DC given through SetHandle.
class TCanvas : public TPersistent {
  FW_DECLARE_CLASS()
public:
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle();  // creates the handle where the canvas kind can (bitmap canvases)
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont& Font() { return FFont; }
  TBrush& Brush() { return FBrush; }
  TPen& Pen() { return FPen; }
  POINT PenPos() const { return FPenPos; }

  void FillRect(const RECT& r);     // with the brush, no outline
  void FrameRect(const RECT& r);    // one-pixel frame in the brush colour
  void Rectangle(int x1, int y1, int x2, int y2);  // pen outline, brush fill
  void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void Ellipse(int x1, int y1, int x2, int y2);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(const std::vector<POINT>& points);
  void Polygon(const std::vector<POINT>& points);

  // Text in the font's colour on the brush colour (no background with bsClear).
  void TextOut(int x, int y, const std::wstring& text);
  void TextRect(const RECT& r, int x, int y, const std::wstring& text);  // clipped to r
  SIZE TextExtent(const std::wstring& text);
  int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
  int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }

  // Copies a bitmap at its size (Draw) or scaled into a rectangle (StretchDraw); a
  // transparent bitmap leaves the pixels of its transparent colour untouched.
  void Draw(int x, int y, TBitmap& bitmap);
  void StretchDraw(const RECT& dest, TBitmap& bitmap);
  // Copies a rectangle of another canvas, scaled to dest (raster operation SRCCOPY).
  void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect, DWORD rop = SRCCOPY);

  TColor Pixel(int x, int y);  // CLR_INVALID outside the clip region
  void SetPixel(int x, int y, TColor color);
  RECT ClipRect();

  // Lock/Unlock bracket drawing from one owner; nested locks count.
  void Lock() { ++FLockCount; }
  void Unlock() {
    if (FLockCount > 0) --FLockCount;
  }
  int LockCount() const { return FLockCount; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  // Supplies a handle on demand; the base canvas has none to give.
  virtual void CreateHandle() {}
  // Restores the DC's own objects and forgets the DC.
  void DeselectHandles();
  void Changing();
  void Changed();

private:
  enum : unsigned { csFontValid = 1, csPenValid = 2, csBrushValid = 4 };
  void RequireHandle();
  void RequireState(unsigned state);
  void FontChanged(TObject*);
  void PenChanged(TObject*);
  void BrushChanged(TObject*);

  HDC FHandle = nullptr;
  unsigned FState = 0;
  HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
  TFont FFont;
  TBrush FBrush;
  TPen FPen;
  POINT FPenPos{0, 0};
  int FLockCount = 0;
};

// ---------------------------------------------------------------------------
// Bitmap
// ---------------------------------------------------------------------------

enum class TPixelFormat { pf1bit, pf24bit, pf32bit };

// A device-independent bitmap (DIB section) stored top-down, with a canvas over a
// memory DC that holds it selected. Rows of ScanLine are DWORD-aligned; 24-bit pixels
// are blue, green, red; 32-bit pixels blue, green, red, unused.
class TBitmap : public TPersistent {
  FW_DECLARE_CLASS()
public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  void SetWidth(int width) { SetSize(width, FHeight); }
  void SetHeight(int height) { SetSize(FWidth, height); }
  // Resizes, keeping the top-left part of the picture; new pixels are white (black for pf1bit's index 0).
  void SetSize(int width, int height);
  TPixelFormat PixelFormat() const { return FFormat; }
  // Converts the picture to another format (GDI colour matching for pf1bit).
  void SetPixelFormat(TPixelFormat format);
  int BitsPerPixel() const;
  int RowBytes() const;  // bytes of one row in ScanLine

  TCanvas& Canvas();
  // Row y (0 = top) of the pixels; flushes pending GDI drawing first.
  void* ScanLine(int y);
  HBITMAP Handle() const { return FBitmap.Get(); }

  // The colour table of a pf1bit bitmap (two entries).
  const std::vector<RGBQUAD>& Palette() const { return FPalette; }

  void LoadFromFile(const std::wstring& path);
  // Reads a BMP image (file header, info header, colour table, pixels) at the stream's
  // position. 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up or top-down, without
  // compression (16 and 32 bits also with bit-field masks). 1-bit images stay pf1bit,
  // 32-bit ones pf32bit, all others become pf24bit. Malformed data raises EInvalidGraphic
  // and leaves the bitmap unchanged.
  void LoadFromStream(TStream& stream);
  void LoadFromMemory(const void* data, size_t size);
  // A bitmap resource (RT_BITMAP) of a module.
  void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
  void SaveToStream(TStream& stream) const;  // BMP file, bottom-up, the bitmap's own depth
  void SaveToFile(const std::wstring& path) const;
  void Assign(const TBitmap& source);  // deep copy of pixels and attributes
  // Adopts a copy of the picture of any bitmap handle (the caller keeps it), as pf24bit or pf32bit.
  void AssignHandle(HBITMAP bitmap, TPixelFormat format = TPixelFormat::pf24bit);

  bool Transparent = false;
  TColor TransparentColor = clFuchsia;

  TNotifyEvent OnChange;

private:
  friend class TBitmapCanvas;
  void Create(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& palette);
  // Takes over a new DIB section (bits null: the empty bitmap), letting the canvas go first.
  void Adopt(TBitmapHandle handle, uint8_t* bits, int width, int height, TPixelFormat format,
             std::vector<RGBQUAD> palette);
  void Changed();
  void FreeCanvasContext();
  void LoadFromDib(const uint8_t* data, size_t size, size_t bitsOffset);

  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FFormat = TPixelFormat::pf24bit;
  TBitmapHandle FBitmap;
  uint8_t* FBits = nullptr;
  std::vector<RGBQUAD> FPalette;
  std::unique_ptr<TCanvas> FCanvas;
};

}  // namespace fw
