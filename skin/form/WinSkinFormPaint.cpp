// TWinSkinForm, painting: the frame widths taken from the skin, the client area given to the
// system (WM_NCCALCSIZE), the non-client paint and activation messages, the four borders, the
// caption band composed off-screen (caption background, title, caption buttons) and the menu
// band, the window icon, and the window region cut from the borders' magenta pixels.
#include <algorithm>

#include "skin/SkinMessages.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/WinSkinMenu.h"

namespace skin {

namespace {

// Border pieces, as PaintBorder and the skin data number them.
constexpr int kLeft = 1, kRight = 2, kTop = 3, kBottom = 4;

constexpr UINT kTitleMeasure = DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE | DT_NOPREFIX;
constexpr UINT kTitleDraw = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// A rectangular region; empty for an inverted or empty rectangle (CreateRectRgn would swap it).
fw::TRegionHandle RectRegion(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return fw::TRegionHandle(CreateRectRgn(0, 0, 0, 0));
  return fw::TRegionHandle(CreateRectRgn(left, top, right, bottom));
}

// Adds part to sum; a missing part adds nothing.
void Unite(fw::TRegionHandle& sum, const fw::TRegionHandle& part) {
  if (!part) return;
  if (!sum) {
    sum.Reset(CreateRectRgn(0, 0, 0, 0));
    if (!sum) throw fw::EOutOfMemory(L"无法创建区域");
  }
  if (CombineRgn(sum, sum, part, RGN_OR) == ERROR) throw fw::EOutOfMemory(L"无法合并区域");
}

}  // namespace

// ---------------------------------------------------------------------------
// Frame widths and the client area
// ---------------------------------------------------------------------------

void TWinSkinForm::ComputeFrameWidths() {
  if (!FSkinData || FSkinData->NoSkin()) return;
  if (FFrameKind == fkNoCaption) {
    FBorderLeft = FCaptionHeight = FBorderRight = FBorderBottom = 0;
    FMenuHeight = 0;
    return;
  }
  const auto across = [&](int side) {  // frames side by side
    const TDataSkinBorder* b = FSkinData->Border(side);
    return b ? b->Bitmap.Width() / std::max(b->FrameCount, 1) : 0;
  };
  const auto down = [&](int side) {  // frames one above the other
    const TDataSkinBorder* b = FSkinData->Border(side);
    return b ? b->Bitmap.Height() / std::max(b->FrameCount, 1) : 0;
  };
  FCaptionHeight = down(kTop);
  FBorderLeft = across(kLeft);
  FBorderRight = across(kRight);
  FBorderBottom = down(kBottom);
}

// The frame widths first; the caption buttons are made in WinSkinFormCaption.cpp.

// Passed on first. Then the client area is the new window rectangle less the skinned frame and
// the menu band; it is never inverted (a window smaller than its frame gets an empty client area
// at the frame's inner corner) and an iconic window keeps the system's answer. The new window
// rectangle is taken from the first rectangle as it came in: it is complete even when the
// position structure carries the flags that leave its coordinates unset.
LRESULT TWinSkinForm::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  RECT window{};
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  if (LOBYTE(wParam) != 0 && params) window = params->rgrc[0];
  // A new region recalculates the frame without changing it: the window's own procedure is
  // asked once per real change only.
  const LRESULT passed = FSettingRegion && !IsIconic(FHandle) ? 0 : CallOld(WM_NCCALCSIZE, wParam, lParam);
  if (LOBYTE(wParam) == 0 || !params) return 0;
  if (IsIconic(FHandle)) return passed;
  if ((FMDIRole == mrChild && FShowState != ssNormal) || FFrameKind == fkNoCaption) {
    params->rgrc[1] = params->rgrc[0];
    return WVR_VALIDRECTS;
  }
  const int w = std::max(0, Width(window)), h = std::max(0, Height(window));
  RECT client{};
  client.left = window.left + std::clamp(FBorderLeft, 0, w);
  client.top = window.top + std::clamp(FCaptionHeight + FMenuHeight, 0, h);
  client.right = std::max<LONG>(client.left, window.left + w - FBorderRight);
  client.bottom = std::max<LONG>(client.top, window.top + h - FBorderBottom);
  params->rgrc[0] = client;
  params->rgrc[1] = client;
  return WVR_VALIDRECTS;
}

// ---------------------------------------------------------------------------
// Non-client messages
// ---------------------------------------------------------------------------

// The system's system-menu style is taken away while the skin paints, so that it draws no caption
// buttons of its own; the frame is then painted whole. Answers 0.
LRESULT TWinSkinForm::OnNcPaint(WPARAM wParam, LPARAM lParam) {
  SetSysMenuStyle(false);
  if (FSkinData && FSkinData->FramePaintEnabled) {
    if ((FMDIRole == mrChild && FShowState == ssMaximized) || FFrameKind == fkNoCaption)
      CallOld(WM_NCPAINT, wParam, lParam);
    else
      PaintFrame(nullptr);
  }
  return 0;
}

// Records the activation, runs the hover timer only while active and repaints the frame in its
// active or inactive look. Not passed to the system (which would draw its own caption), except for
// an MDI child, whose activation the MDI client follows. Answers TRUE: the change is accepted.
LRESULT TWinSkinForm::OnNcActivate(WPARAM wParam, LPARAM lParam) {
  if (FState == fsCreated) return TRUE;  // nothing is painted before activation
  FActive = LOBYTE(wParam) != 0;
  if (FTimer) FTimer->SetEnabled(FActive);
  if (FMDIRole == mrFrame && FClientWnd)
    SendMessageW(FClientWnd, WM_NCACTIVATE, wParam, 0);
  else if (FMDIRole == mrChild)
    CallOld(WM_NCACTIVATE, wParam, lParam);
  if (!(FMDIRole == mrChild && FShowState == ssMaximized)) PaintFrame(nullptr);
  return TRUE;
}

// ---------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------

void TWinSkinForm::PaintFrame(HDC dc) {
  if (FState != fsRunning && FState != fsReskinning) return;
  if (!FFrameOn || FFrameKind == fkNoCaption || (FMDIRole == mrChild && FShowState == ssMaximized)) return;
  if (!FSkinData || FSkinData->NoSkin() || !FHandle) return;
  fw::TWindowDC own;
  if (!dc) {
    own = fw::TWindowDC::Whole(FHandle);
    dc = own.Get();
    if (!dc) return;
  }
  // A repaint shows every caption button in its resting state: none is hot any more.
  if (!FPressed) FHot = nullptr;
  try {
    GetWindowRect(FHandle, &FWindowRect);
    FWidth = Width(FWindowRect);
    FHeight = Height(FWindowRect);
    if (FShowState == ssMinimized) {
      PaintCaption(dc);
    } else {
      PaintBorder(kLeft, {0, 0, FBorderLeft, FHeight}, dc);
      PaintBorder(kRight, {FWidth - FBorderRight, 0, FWidth, FHeight}, dc);
      PaintBorder(kBottom, {FBorderLeft, FHeight - FBorderBottom, FWidth - FBorderRight, FHeight}, dc);
      PaintCaption(dc);
      // The menu band, drawn by the menu bar when the window has one.
      const RECT band{FBorderLeft, FCaptionHeight, FWidth - FBorderRight, FCaptionHeight + FMenuHeight};
      if (FMenuHeight > 0 && band.right > band.left) {
        if (FMenuBar) FMenuBar->Paint(dc, band);
        else FillRect(dc, &band, FSkinData->FaceBrush());
      }
    }
  } catch (...) {
    // A frame that cannot be painted stays as it was; the window goes on working.
  }
}

// The caption band is composed in FCaptionBuffer and put on dc in one blit. The band's ends,
// which belong to the left and right borders, are drawn into the buffer too, so the copy never
// depends on what the screen shows there (another window may cover it).
void TWinSkinForm::PaintCaption(HDC dc) {
  if (FWidth <= 0 || FCaptionHeight <= 0 || (FShowState == ssMinimized && FHeight <= 0)) return;
  RECT r{};
  const bool minimized = FShowState == ssMinimized;
  const int bandHeight = minimized ? FHeight : FCaptionHeight;
  // The buffer only grows (in steps, so that a window being sized does not make a new one for
  // every few pixels); what lies right of the band is never copied.
  if (FCaptionBuffer.Width() < FWidth || FCaptionBuffer.Height() != bandHeight)
    FCaptionBuffer.SetSize(std::max(FCaptionBuffer.Width(), (FWidth + 255) / 256 * 256), bandHeight);
  HDC buffer = FCaptionBuffer.Canvas().Handle();
  if (minimized) {
    const RECT all{0, 0, FWidth, FHeight};
    FillRect(buffer, &all, FSkinData->FaceBrush());
    r = {0, 0, FWidth, FCaptionHeight};
  } else {
    PaintBorder(kLeft, {0, 0, FBorderLeft, FHeight}, buffer);
    PaintBorder(kRight, {FWidth - FBorderRight, 0, FWidth, FHeight}, buffer);
    r = {FBorderLeft, 0, FWidth - FBorderRight, FCaptionHeight};
  }
  PaintBorder(kTop, r, buffer);
  LayoutRightButtons();  // the title stops short of them
  PaintTitle(FCaptionBuffer.Canvas(), r);
  LayoutSysButtons();  // needs FTitleRect
  PaintSysButtons(FCaptionBuffer.Canvas());
  BitBlt(dc, 0, 0, FWidth, bandHeight, buffer, 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

// One border piece (1 left, 2 right, 3 top, 4 bottom) nine-grid scaled to rect, opaque; frame 2
// (the inactive look) while the window is inactive, when the piece has one.
void TWinSkinForm::PaintBorder(int piece, const RECT& rect, HDC dc) {
  const int w = Width(rect), h = Height(rect);
  if (!dc) return;
  if (TBorderImage* image = BorderImage(piece, w, h))
    BitBlt(dc, rect.left, rect.top, w, h, image->Image.Canvas().Handle(), 0, 0, SRCCOPY);
}

// A paint and the region of the same size use the same image: it is built once per size and
// state. Its buffer grows in steps, so that a window being sized redraws into the one it has.
TWinSkinForm::TBorderImage* TWinSkinForm::BorderImage(int piece, int w, int h) {
  if (w <= 0 || h <= 0 || piece < 1 || piece > 4 || !FSkinData) return nullptr;
  TDataSkinBorder* border = FSkinData->Border(piece);
  if (!border) return nullptr;
  const int frame = FActive || border->FrameCount <= 1 ? 1 : 2;
  TBorderImage& cached = FBorderImages[piece - 1];
  if (cached.Valid && cached.Element == border && cached.Width == w && cached.Height == h && cached.Frame == frame)
    return &cached;
  cached.Valid = false;
  try {
    constexpr int kStep = 64;
    if (cached.Image.PixelFormat() != fw::TPixelFormat::pf24bit) cached.Image.SetPixelFormat(fw::TPixelFormat::pf24bit);
    if (cached.Image.Width() < w || cached.Image.Height() < h)
      cached.Image.SetSize(std::max(cached.Image.Width(), (w + kStep - 1) / kStep * kStep),
                           std::max(cached.Image.Height(), (h + kStep - 1) / kStep * kStep));
  } catch (const fw::Exception&) {
    return nullptr;  // larger than any bitmap
  }
  if (!BuildSkinImage(cached.Image, {0, 0, w, h}, border->Bitmap, border->Margins, piece > kRight, border->Tile != 1,
                      border->FrameCount, frame))
    return nullptr;
  cached.Element = border;
  cached.Width = w;
  cached.Height = h;
  cached.Frame = frame;
  cached.Valid = true;
  return &cached;
}

void TWinSkinForm::ForgetBorderImages() {
  for (TBorderImage& b : FBorderImages) {
    b.Valid = false;
    b.Image.SetSize(0, 0);
  }
}

// The caption text (prefix + window text + suffix) placed in r by the title element's alignment,
// offsets and right clip, on its text background, cut with an ellipsis.
void TWinSkinForm::PaintTitle(fw::TCanvas& canvas, const RECT& r) {
  TDataSkinTitle* title = FSkinData->Title();
  if (!title) return;
  HDC dc = canvas.Handle();
  const std::wstring text = FTitlePrefix + WindowText() + FTitleSuffix;
  HFONT font = FCaptionFont ? FCaptionFont.Get() : FSkinData->CaptionFont();
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fw::TSelectObject selected(dc, font);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(
      dc, fw::ColorToRGB(FActive ? FSkinData->Colours().TitleTextActiveColour
                                 : FSkinData->Colours().TitleTextNoActiveColour));

  // Title offsets: Margins.Left "TextShift", Margins.Top "TextShiftVert", Margins.Right "TextRightClip".
  const int shift = title->Margins.Left, shiftVert = title->Margins.Top, rightClip = title->Margins.Right;
  RECT t = r;
  DrawTextWide(dc, text, t, kTitleMeasure);
  t.right += title->TextBackLeft + title->TextBackRight;
  const int w = Width(r), tw = Width(t);
  int dx = 0;
  switch (title->TextAlignment) {
    case 0: dx = shift; break;
    case 1: dx = (w - tw) / 2; break;
    case 2: dx = w - rightClip - tw; break;
    default: dx = 0; break;
  }
  if (FRightToLeft) dx = w - rightClip - tw;
  const int dy = (Height(r) - Height(t)) / 2 + shiftVert / 2;
  OffsetRect(&t, dx, dy);

  // Pop-up windows keep the text 5 pixels off their right-anchored caption buttons; other windows,
  // and pop-up windows without such buttons, stop it "TextRightClip" before the band's end.
  const bool popup = (GetWindowLongW(FHandle, GWL_STYLE) & WS_POPUP) != 0;
  if (popup && FButtonsLeft > 5) {
    if (FButtonsLeft - 5 < t.right) t.right = FButtonsLeft - 5;
  } else if (r.right - rightClip < t.right) {
    t.right = r.right - rightClip;
  }
  if (FFrameKind == fkDialog && title->TextAlignment == 0) t.left -= 16;
  FTitleRect = t;

  if (!title->Bitmap.Empty()) {
    const int frame = FActive || title->FrameCount < 2 ? 1 : 2;
    DrawTitleBack(dc, {t.left, r.top, t.right, r.bottom}, title->Bitmap, true, true,
                  title->FrameCount, frame, {title->TextBackLeft, 0, title->TextBackRight, 0});
  }
  t.left += title->TextBackLeft;
  t.right -= title->TextBackRight;
  if (t.right > t.left) DrawTextWide(dc, text, t, kTitleDraw | (FRightToLeft ? DT_RIGHT : 0));

  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

// The caption text: wide for a Unicode window on the NT family, otherwise ANSI text read with
// WM_GETTEXT and converted with the system's code page.
std::wstring TWinSkinForm::WindowText() const {
  if (!FHandle) return {};
  if (FUnicode && IsNT()) {
    const int length = GetWindowTextLengthW(FHandle);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(FHandle, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::clamp(got, 0, length)));
    return text;
  }
  const auto length = static_cast<int>(SendMessageA(FHandle, WM_GETTEXTLENGTH, 0, 0));
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const auto got = static_cast<int>(
      SendMessageA(FHandle, WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(text.data())));
  text.resize(static_cast<size_t>(std::clamp(got, 0, length)));
  return AnsiToWide(text);
}


// ---------------------------------------------------------------------------
// Icon
// ---------------------------------------------------------------------------

// The window's small icon, else its big one, else its class's small and big icons. FIconBitmap
// holds it at the small-icon size on magenta, so a window without any icon shows nothing.
void TWinSkinForm::LoadIcon() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  FIconSize = cx;
  FIconBitmap.SetSize(cx, cy);
  FIcon = nullptr;
  if (FHandle) {
    FIcon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_SMALL, 0));
    if (!FIcon) FIcon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_BIG, 0));
    if (!FIcon) FIcon = reinterpret_cast<HICON>(GetClassLongPtrW(FHandle, GCLP_HICONSM));
    if (!FIcon) FIcon = reinterpret_cast<HICON>(GetClassLongPtrW(FHandle, GCLP_HICON));
  }
  if (FIconBitmap.Empty()) return;
  HDC dc = FIconBitmap.Canvas().Handle();
  fw::TBrushHandle key(CreateSolidBrush(fw::ColorToRGB(clSkinKey)));
  const RECT all{0, 0, cx, cy};
  FillRect(dc, &all, key);
  if (FIcon) DrawIconEx(dc, 0, 0, FIcon, cx, cy, 0, nullptr, DI_NORMAL);
  FIconBitmap.Transparent = true;
  FIconBitmap.TransparentColor = clSkinKey;
}

// The window icon scaled to FIconSize at rect's top-left; without one, FIconBitmap colour-keyed.
void TWinSkinForm::DrawIcon(HDC dc, const RECT& rect) {
  if (FIcon && DrawIconEx(dc, rect.left, rect.top, FIcon, FIconSize, FIconSize, 0, nullptr, DI_NORMAL)) return;
  TransparentBlit(dc, rect, FIconBitmap, clSkinKey);
}

// ---------------------------------------------------------------------------
// Window region
// ---------------------------------------------------------------------------

// Builds the region that cuts the borders' magenta pixels away and hands it to the system, once
// per window size (and on every call while re-skinning). After a successful SetWindowRgn the
// system owns the region; SetWindowRgn sends size and frame messages at once, which come back
// here and are ignored while the region is being set.
void TWinSkinForm::UpdateRegion() {
  if (FSettingRegion || FState == fsFinished || !FFrameOn || !FHandle || !FSkinData || FSkinData->NoSkin()) return;
  if (FMDIRole == mrChild && FShowState != ssNormal) return;
  RECT wr{};
  if (!GetWindowRect(FHandle, &wr)) return;
  const int w = Width(wr), h = Height(wr);
  if (w <= 0 || h <= 0) return;
  if (FRegionSet && w == FRegionWidth && h == FRegionHeight && FMDIRole != mrChild && FState != fsReskinning) return;

  try {
    const auto trans = [&](int side) {
      const TDataSkinBorder* b = FSkinData->Border(side);
      return b && b->Trans != 0;
    };
    fw::TRegionHandle region;
    const int l = FBorderLeft, c = FCaptionHeight, rw = FBorderRight, bh = FBorderBottom;
    if (!trans(kLeft) && !trans(kRight) && !trans(kTop) && !trans(kBottom)) {
      region = RectRegion(0, 0, w, h);
    } else {
      region = RectRegion(l, c, w - rw, h - bh);
      if (FFrameKind != fkNoCaption) {
        // A piece's image (the one the paint that follows blits) turned into a region at (x, y);
        // a piece that is wholly transparent, or cannot be built, gives nothing.
        const auto piece = [&](int side, int pw, int ph, int x, int y) {
          TBorderImage* image = BorderImage(side, pw, ph);
          return image ? RegionFromBitmap(image->Image, {0, 0, pw, ph}, x, y, 1, 1, 1, clSkinKey) : fw::TRegionHandle();
        };
        const int inner = w - l - rw;
        Unite(region, trans(kLeft) && h > 1 ? piece(kLeft, l, h, 0, 0) : RectRegion(0, 0, l, h));
        Unite(region, trans(kRight) && h > 1 ? piece(kRight, rw, h, w - rw, 0) : RectRegion(w - rw, 0, w, h));
        Unite(region, trans(kBottom) && bh >= 2 ? piece(kBottom, inner, bh, l, h - bh)
                                                : RectRegion(l, h - bh, w - rw, h));
        Unite(region, trans(kTop) && c > 1 && inner > 0 ? piece(kTop, inner, c, l, 0) : RectRegion(l, 0, w - rw, c));
      }
    }
    if (!region) return;
    // The new region cuts only the frame. A size change repaints the frame after WM_SIZE in any
    // case; otherwise it is painted here once (the system's redraw would paint it twice).
    FSettingRegion = true;
    const bool set = SetWindowRgn(FHandle, region.Get(), FALSE) != 0;
    FSettingRegion = false;
    if (!set) return;  // still ours: deleted on the way out
    region.Release();  // the system's now
    FRegionSet = true;
    FRegionWidth = w;
    FRegionHeight = h;
    if (!FInSizeHandler && IsWindowVisible(FHandle)) PaintFrame(nullptr);
  } catch (...) {
    FSettingRegion = false;  // the window keeps the region it had
  }
}

// Takes the window region away (the manager does so for maximised MDI children); an MDI child is
// redrawn at once.
void TWinSkinForm::FreeRegion() {
  if (!FRegionSet) return;
  FSettingRegion = true;
  if (FHandle) SetWindowRgn(FHandle, nullptr, FMDIRole == mrChild);
  FSettingRegion = false;
  FRegionSet = false;
  FRegionWidth = FRegionHeight = 0;
}

}  // namespace skin
