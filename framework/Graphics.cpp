// Colours, fonts, brushes, pens and the canvas; bitmaps are in Bitmaps.cpp.
#include "Graphics.h"

#include <algorithm>
#include <iterator>

namespace fw {

// ---------------------------------------------------------------------------
// Colours and character sets
// ---------------------------------------------------------------------------

COLORREF ColorToRGB(TColor c) {
  if (c & 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFF));
  if (c == clNone || c == clDefault) return 0;
  return c & 0xFFFFFF;
}

namespace {

struct TIdent {
  const wchar_t* Name;
  uint32_t Value;
};

const TIdent ColorNames[] = {
    {L"clBlack", clBlack}, {L"clMaroon", clMaroon}, {L"clGreen", clGreen}, {L"clOlive", clOlive},
    {L"clNavy", clNavy}, {L"clPurple", clPurple}, {L"clTeal", clTeal}, {L"clGray", clGray},
    {L"clSilver", clSilver}, {L"clRed", clRed}, {L"clLime", clLime}, {L"clYellow", clYellow},
    {L"clBlue", clBlue}, {L"clFuchsia", clFuchsia}, {L"clAqua", clAqua}, {L"clWhite", clWhite},
    {L"clNone", clNone}, {L"clDefault", clDefault}, {L"clScrollBar", clScrollBar},
    {L"clBackground", clBackground}, {L"clActiveCaption", clActiveCaption},
    {L"clInactiveCaption", clInactiveCaption}, {L"clMenu", clMenu}, {L"clWindow", clWindow},
    {L"clWindowFrame", clWindowFrame}, {L"clMenuText", clMenuText}, {L"clWindowText", clWindowText},
    {L"clCaptionText", clCaptionText}, {L"clActiveBorder", clActiveBorder},
    {L"clInactiveBorder", clInactiveBorder}, {L"clAppWorkSpace", clAppWorkSpace},
    {L"clHighlight", clHighlight}, {L"clHighlightText", clHighlightText}, {L"clBtnFace", clBtnFace},
    {L"clBtnShadow", clBtnShadow}, {L"clGrayText", clGrayText}, {L"clBtnText", clBtnText},
    {L"clInactiveCaptionText", clInactiveCaptionText}, {L"clBtnHighlight", clBtnHighlight},
    {L"cl3DDkShadow", cl3DDkShadow}, {L"cl3DLight", cl3DLight}, {L"clInfoText", clInfoText},
    {L"clInfoBk", clInfoBk}};

const TIdent CharsetNames[] = {
    {L"ANSI_CHARSET", ANSI_CHARSET}, {L"DEFAULT_CHARSET", DEFAULT_CHARSET},
    {L"SYMBOL_CHARSET", SYMBOL_CHARSET}, {L"MAC_CHARSET", MAC_CHARSET},
    {L"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET}, {L"HANGEUL_CHARSET", HANGEUL_CHARSET},
    {L"JOHAB_CHARSET", JOHAB_CHARSET}, {L"GB2312_CHARSET", GB2312_CHARSET},
    {L"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET}, {L"GREEK_CHARSET", GREEK_CHARSET},
    {L"TURKISH_CHARSET", TURKISH_CHARSET}, {L"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
    {L"HEBREW_CHARSET", HEBREW_CHARSET}, {L"ARABIC_CHARSET", ARABIC_CHARSET},
    {L"BALTIC_CHARSET", BALTIC_CHARSET}, {L"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
    {L"THAI_CHARSET", THAI_CHARSET}, {L"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
    {L"OEM_CHARSET", OEM_CHARSET}};

template <size_t N>
bool FindIdent(const TIdent (&table)[N], const std::wstring& name, uint32_t& value) {
  for (const TIdent& i : table)
    if (SameText(name, i.Name)) {
      value = i.Value;
      return true;
    }
  return false;
}

template <size_t N>
const wchar_t* FindName(const TIdent (&table)[N], uint32_t value) {
  for (const TIdent& i : table)
    if (i.Value == value) return i.Name;
  return nullptr;
}

std::wstring HexColor(TColor c) {
  wchar_t buf[16];
  swprintf(buf, 16, L"$%.8X", c);
  return buf;
}

// Property values for colours and character sets: a number or an identifier.
TColor PropColor(const TPropValue& v) {
  if (auto s = std::get_if<std::wstring>(&v)) {
    TColor c;
    if (!IdentToColor(*s, c)) throw EPropertyError(L"无效的颜色值: " + *s);
    return c;
  }
  return static_cast<TColor>(PropInt(v));
}

int PropCharset(const TPropValue& v) {
  if (auto s = std::get_if<std::wstring>(&v)) {
    int c;
    if (!IdentToCharset(*s, c)) throw EPropertyError(L"无效的字符集: " + *s);
    return c;
  }
  return static_cast<int>(PropInt(v));
}

}  // namespace

bool IdentToColor(const std::wstring& ident, TColor& color) { return FindIdent(ColorNames, ident, color); }

std::wstring ColorToIdent(TColor color) {
  const wchar_t* n = FindName(ColorNames, color);
  return n ? n : HexColor(color);
}

bool IdentToCharset(const std::wstring& ident, int& charset) {
  uint32_t v;
  if (!FindIdent(CharsetNames, ident, v)) return false;
  charset = static_cast<int>(v);
  return true;
}

std::wstring CharsetToIdent(int charset) {
  const wchar_t* n = FindName(CharsetNames, static_cast<uint32_t>(charset));
  return n ? n : IntToStr(charset);
}

// ---------------------------------------------------------------------------
// TGraphicsObject
// ---------------------------------------------------------------------------

const TClassInfo& TGraphicsObject::StaticClassInfo() {
  static const TClassInfo info{"TGraphicsObject", &TPersistent::StaticClassInfo(), {}, {}, {}};
  return info;
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// TFont
// ---------------------------------------------------------------------------

const TClassInfo& TFont::StaticClassInfo() {
  static const TClassInfo info{
      "TFont",
      &TGraphicsObject::StaticClassInfo(),
      {},
      {{"Charset", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TFont>(o)->Charset()); },
        [](TObject* o, const TPropValue& v) { As<TFont>(o)->SetCharset(PropCharset(v)); }},
       {"Color", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TFont>(o)->Color()); },
        [](TObject* o, const TPropValue& v) { As<TFont>(o)->SetColor(PropColor(v)); }},
       {"Height", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TFont>(o)->Height()); },
        [](TObject* o, const TPropValue& v) { As<TFont>(o)->SetHeight(static_cast<int>(PropInt(v))); }},
       {"Name", TPropKind::String, [](TObject* o) -> TPropValue { return As<TFont>(o)->Name(); },
        [](TObject* o, const TPropValue& v) { As<TFont>(o)->SetName(PropStr(v)); }},
       {"Size", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TFont>(o)->Size()); },
        [](TObject* o, const TPropValue& v) { As<TFont>(o)->SetSize(static_cast<int>(PropInt(v))); }},
       {"Style", TPropKind::Set, [](TObject* o) -> TPropValue { return int64_t(As<TFont>(o)->Style()); },
        [](TObject* o, const TPropValue& v) { As<TFont>(o)->SetStyle(static_cast<TFontStyles>(PropInt(v) & 0xF)); },
        {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}}},
      {}};
  return info;
}

TFont::TFont() {
  TWindowDC screen(static_cast<HWND>(nullptr));
  if (screen) FPixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  if (FPixelsPerInch <= 0) FPixelsPerInch = 96;
}

void TFont::Changed() {
  // The old handle may still be selected somewhere (a canvas, a control): it is deleted
  // only after OnChange has let its users move to the new one.
  TFontHandle old(std::move(FHandle));
  TGraphicsObject::Changed();
}

void TFont::SetName(const std::wstring& name) {
  if (name.empty() || name == FName) return;
  FName = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == FHeight) return;
  FHeight = height;
  Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, FPixelsPerInch, 72)); }

void TFont::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  TGraphicsObject::Changed();  // the colour is not part of the font handle
}

void TFont::SetStyle(TFontStyles style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TFont::SetCharset(int charset) {
  if (charset == FCharset) return;
  FCharset = charset;
  Changed();
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & fsItalic) ? 1 : 0;
    lf.lfUnderline = (FStyle & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (FStyle & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(FCharset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    FName.copy(lf.lfFaceName, LF_FACESIZE - 1);
    FHandle.Reset(CreateFontIndirectW(&lf));
    if (!FHandle) throw EOutOfMemory(L"无法创建字体 " + FName);
  }
  return FHandle;
}

void TFont::SetHandle(HFONT font) {
  LOGFONTW lf{};
  if (!font || GetObjectW(font, sizeof lf, &lf) != sizeof lf) throw EInvalidGraphic(L"无效的字体句柄");
  FName = lf.lfFaceName;
  FHeight = lf.lfHeight;
  FStyle = 0;
  if (lf.lfWeight >= FW_BOLD) FStyle |= fsBold;
  if (lf.lfItalic) FStyle |= fsItalic;
  if (lf.lfUnderline) FStyle |= fsUnderline;
  if (lf.lfStrikeOut) FStyle |= fsStrikeOut;
  FCharset = lf.lfCharSet;
  Changed();
}

void TFont::Assign(const TFont& source) {
  if (&source == this) return;
  FName = source.FName;
  FHeight = MulDiv(source.FHeight, FPixelsPerInch, source.FPixelsPerInch);
  FColor = source.FColor;
  FStyle = source.FStyle;
  FCharset = source.FCharset;
  Changed();
}

// ---------------------------------------------------------------------------
// TBrush, TPen
// ---------------------------------------------------------------------------

const TClassInfo& TBrush::StaticClassInfo() {
  static const TClassInfo info{
      "TBrush",
      &TGraphicsObject::StaticClassInfo(),
      {},
      {{"Color", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TBrush>(o)->Color()); },
        [](TObject* o, const TPropValue& v) { As<TBrush>(o)->SetColor(PropColor(v)); }},
       {"Style", TPropKind::Enumeration,
        [](TObject* o) -> TPropValue { return int64_t(As<TBrush>(o)->Style()); },
        [](TObject* o, const TPropValue& v) { As<TBrush>(o)->SetStyle(static_cast<TBrushStyle>(PropInt(v))); },
        {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross",
         "bsDiagCross"}}},
      {}};
  return info;
}

void TBrush::Changed() {
  TBrushHandle old(std::move(FHandle));
  TGraphicsObject::Changed();
}

void TBrush::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  if (FStyle == TBrushStyle::bsClear) FStyle = TBrushStyle::bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

HBRUSH TBrush::Handle() {
  if (FStyle == TBrushStyle::bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (!FHandle) {
    static const int hatch[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    COLORREF rgb = ColorToRGB(FColor);
    FHandle.Reset(FStyle == TBrushStyle::bsSolid
                      ? CreateSolidBrush(rgb)
                      : CreateHatchBrush(hatch[static_cast<int>(FStyle) - static_cast<int>(TBrushStyle::bsHorizontal)], rgb));
    if (!FHandle) throw EOutOfMemory(L"无法创建画刷");
  }
  return FHandle;
}

void TBrush::Assign(const TBrush& source) {
  if (&source == this) return;
  FColor = source.FColor;
  FStyle = source.FStyle;
  Changed();
}

const TClassInfo& TPen::StaticClassInfo() {
  static const TClassInfo info{
      "TPen",
      &TGraphicsObject::StaticClassInfo(),
      {},
      {{"Color", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TPen>(o)->Color()); },
        [](TObject* o, const TPropValue& v) { As<TPen>(o)->SetColor(PropColor(v)); }},
       {"Style", TPropKind::Enumeration, [](TObject* o) -> TPropValue { return int64_t(As<TPen>(o)->Style()); },
        [](TObject* o, const TPropValue& v) { As<TPen>(o)->SetStyle(static_cast<TPenStyle>(PropInt(v))); },
        {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}},
       {"Width", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TPen>(o)->Width()); },
        [](TObject* o, const TPropValue& v) { As<TPen>(o)->SetWidth(static_cast<int>(PropInt(v))); }}},
      {}};
  return info;
}

void TPen::Changed() {
  TPenHandle old(std::move(FHandle));
  TGraphicsObject::Changed();
}

void TPen::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed();
}

void TPen::SetWidth(int width) {
  if (width < 0 || width == FWidth) return;
  FWidth = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

HPEN TPen::Handle() {
  if (!FHandle) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle.Reset(CreatePen(styles[static_cast<int>(FStyle)], FWidth, ColorToRGB(FColor)));
    if (!FHandle) throw EOutOfMemory(L"无法创建画笔");
  }
  return FHandle;
}

void TPen::Assign(const TPen& source) {
  if (&source == this) return;
  FColor = source.FColor;
  FWidth = source.FWidth;
  FStyle = source.FStyle;
  Changed();
}

// ---------------------------------------------------------------------------
// TCanvas
// ---------------------------------------------------------------------------

const TClassInfo& TCanvas::StaticClassInfo() {
  static const TClassInfo info{"TCanvas", &TPersistent::StaticClassInfo(), {}, {}, {}};
  return info;
}

TCanvas::TCanvas() {
  FFont.OnChange = TNotifyEvent::Of<&TCanvas::FontChanged>(this);
  FPen.OnChange = TNotifyEvent::Of<&TCanvas::PenChanged>(this);
  FBrush.OnChange = TNotifyEvent::Of<&TCanvas::BrushChanged>(this);
}

TCanvas::~TCanvas() { DeselectHandles(); }

HDC TCanvas::Handle() {
  RequireHandle();
  return FHandle;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == FHandle) return;
  DeselectHandles();
  FHandle = dc;
}

void TCanvas::DeselectHandles() {
  if (FHandle) {
    if (FOldFont) SelectObject(FHandle, FOldFont);
    if (FOldPen) SelectObject(FHandle, FOldPen);
    if (FOldBrush) SelectObject(FHandle, FOldBrush);
  }
  FOldFont = FOldPen = FOldBrush = nullptr;
  FState = 0;
  FHandle = nullptr;
}

// A changed font, pen or brush leaves the DC before its old handle is deleted.
void TCanvas::FontChanged(TObject*) {
  if (FHandle && FOldFont) SelectObject(FHandle, FOldFont);
  FOldFont = nullptr;
  FState &= ~csFontValid;
}

void TCanvas::PenChanged(TObject*) {
  if (FHandle && FOldPen) SelectObject(FHandle, FOldPen);
  FOldPen = nullptr;
  FState &= ~csPenValid;
}

void TCanvas::BrushChanged(TObject*) {
  if (FHandle && FOldBrush) SelectObject(FHandle, FOldBrush);
  FOldBrush = nullptr;
  FState &= ~csBrushValid;
}

void TCanvas::RequireHandle() {
  if (!FHandle) CreateHandle();
  if (!FHandle) throw EInvalidOperation(L"画布没有可绘图的设备上下文");
}

void TCanvas::RequireState(unsigned state) {
  RequireHandle();
  unsigned missing = state & ~FState;
  if (missing & csFontValid) {
    HGDIOBJ old = SelectObject(FHandle, FFont.Handle());
    if (!FOldFont) FOldFont = old;
    SetTextColor(FHandle, ColorToRGB(FFont.Color()));
  }
  if (missing & csPenValid) {
    HGDIOBJ old = SelectObject(FHandle, FPen.Handle());
    if (!FOldPen) FOldPen = old;
  }
  if (missing & csBrushValid) {
    HGDIOBJ old = SelectObject(FHandle, FBrush.Handle());
    if (!FOldBrush) FOldBrush = old;
    SetBkColor(FHandle, ColorToRGB(FBrush.Color()));
    SetBkMode(FHandle, FBrush.Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
  }
  FState |= state;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::FillRect(const RECT& r) {
  RequireState(csBrushValid);
  Changing();
  ::FillRect(FHandle, &r, FBrush.Handle());
  Changed();
}

void TCanvas::FrameRect(const RECT& r) {
  RequireState(csBrushValid);
  Changing();
  ::FrameRect(FHandle, &r, FBrush.Handle());
  Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  RequireState(csPenValid | csBrushValid);
  Changing();
  ::Rectangle(FHandle, x1, y1, x2, y2);
  Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  RequireState(csPenValid | csBrushValid);
  Changing();
  ::Ellipse(FHandle, x1, y1, x2, y2);
  Changed();
}

void TCanvas::MoveTo(int x, int y) {
  RequireHandle();
  ::MoveToEx(FHandle, x, y, nullptr);
  FPenPos = {x, y};
}

void TCanvas::LineTo(int x, int y) {
  RequireState(csPenValid | csBrushValid);
  Changing();
  ::LineTo(FHandle, x, y);
  FPenPos = {x, y};
  Changed();
}

void TCanvas::Polyline(const std::vector<POINT>& points) {
  if (points.empty()) return;
  RequireState(csPenValid | csBrushValid);
  Changing();
  ::Polyline(FHandle, points.data(), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::Polygon(const std::vector<POINT>& points) {
  if (points.empty()) return;
  RequireState(csPenValid | csBrushValid);
  Changing();
  ::Polygon(FHandle, points.data(), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
  RequireState(csFontValid | csBrushValid);
  Changing();
  ::ExtTextOutW(FHandle, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  FPenPos = {x + TextExtent(text).cx, y};
  Changed();
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::wstring& text) {
  RequireState(csFontValid | csBrushValid);
  Changing();
  UINT options = ETO_CLIPPED | (FBrush.Style() != TBrushStyle::bsClear ? ETO_OPAQUE : 0);
  ::ExtTextOutW(FHandle, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  Changed();
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
  RequireState(csFontValid);
  SIZE size{0, 0};
  ::GetTextExtentPoint32W(FHandle, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  StretchDraw({x, y, x + bitmap.Width(), y + bitmap.Height()}, bitmap);
}

void TCanvas::StretchDraw(const RECT& dest, TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  RequireHandle();
  HDC src = bitmap.Canvas().Handle();
  const int w = bitmap.Width(), h = bitmap.Height();
  const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  Changing();
  int oldMode = SetStretchBltMode(FHandle, COLORONCOLOR);
  if (!bitmap.Transparent) {
    StretchBlt(FHandle, dest.left, dest.top, dw, dh, src, 0, 0, w, h, SRCCOPY);
  } else {
    // A monochrome mask is 1 where the picture has its transparent colour. Then
    // dest ^= picture; dest &= mask; dest ^= picture leaves the destination where the
    // mask is set and the picture everywhere else.
    TBitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
    TMemoryDC maskDC(src);
    if (!mask || !maskDC) throw EOutOfMemory(L"无法创建透明掩码");
    TSelectObject selectMask(maskDC, mask);
    COLORREF oldSrcBk = SetBkColor(src, ColorToRGB(bitmap.TransparentColor));
    BitBlt(maskDC, 0, 0, w, h, src, 0, 0, SRCCOPY);
    SetBkColor(src, oldSrcBk);
    COLORREF oldText = SetTextColor(FHandle, RGB(0, 0, 0));
    COLORREF oldBk = SetBkColor(FHandle, RGB(255, 255, 255));
    StretchBlt(FHandle, dest.left, dest.top, dw, dh, src, 0, 0, w, h, SRCINVERT);
    StretchBlt(FHandle, dest.left, dest.top, dw, dh, maskDC, 0, 0, w, h, SRCAND);
    StretchBlt(FHandle, dest.left, dest.top, dw, dh, src, 0, 0, w, h, SRCINVERT);
    SetTextColor(FHandle, oldText);
    SetBkColor(FHandle, oldBk);
  }
  SetStretchBltMode(FHandle, oldMode);
  Changed();
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect, DWORD rop) {
  RequireHandle();
  HDC src = source.Handle();
  Changing();
  int oldMode = SetStretchBltMode(FHandle, COLORONCOLOR);
  StretchBlt(FHandle, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src, sourceRect.left,
             sourceRect.top, sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top, rop);
  SetStretchBltMode(FHandle, oldMode);
  Changed();
}

TColor TCanvas::Pixel(int x, int y) {
  RequireHandle();
  return ::GetPixel(FHandle, x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  RequireHandle();
  Changing();
  ::SetPixel(FHandle, x, y, ColorToRGB(color));
  Changed();
}

RECT TCanvas::ClipRect() {
  RequireHandle();
  RECT r{};
  ::GetClipBox(FHandle, &r);
  return r;
}

}  // namespace fw
