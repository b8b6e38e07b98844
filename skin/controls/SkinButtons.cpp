// Push buttons, bit buttons, menu buttons and speed buttons from the skin's Buttons element.
#include "skin/controls/SkinButtons.h"

#include <algorithm>
#include <cctype>

#include "Buttons.h"
#include "GdiHandles.h"
#include "ImgList.h"
#include "skin/SkinMessages.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"

namespace skin {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// A caption's first "||" becomes a line break.
std::wstring WithLineBreak(std::wstring text) {
  const std::size_t at = text.find(L"||");
  if (at != std::wstring::npos) text.replace(at, 2, L"\r\n");
  return text;
}

TGlyphLayout LayoutOf(fw::TObject* control) {
  const std::string id = Lower(GetEnumPropByName(control, "Layout"));
  if (id == "blglyphright") return glRight;
  if (id == "blglyphtop") return glTop;
  if (id == "blglyphbottom") return glBottom;
  return glLeft;
}

// The state colour the element gives for a frame, if it gives one.
bool StateColour(const TDataSkinButton& e, int frame, fw::TColor& colour) {
  if (frame == bfNormal && e.HasNormalColour2) colour = e.NormalColour2;
  else if (frame == bfHot && e.HasMouseOverColour2) colour = e.MouseOverColour2;
  else if (frame == bfPressed && e.HasPressedColour2) colour = e.PressedColour2;
  else return false;
  return true;
}

constexpr fw::TColor kShadow = 0xFF000010;

}  // namespace

// ---------------------------------------------------------------------------
// Glyphs
// ---------------------------------------------------------------------------

TGlyphPlace LayoutGlyph(SIZE b, SIZE g, SIZE s, int margin, int spacing, TGlyphLayout layout, bool autoMargin,
                        bool speedButton) {
  TGlyphPlace p;
  const bool across = layout == glLeft || layout == glRight;  // glyph and text side by side
  if (across) {
    p.Glyph.y = (b.cy - g.cy + 1) / 2;
    p.Text.y = (b.cy - s.cy + 1) / 2;
  } else {
    p.Glyph.x = (b.cx - g.cx + 1) / 2;
    p.Text.x = (b.cx - s.cx + 1) / 2;
  }
  if (s.cx == 0 || g.cx == 0) spacing = 0;
  const int bAxis = across ? b.cx : b.cy, gAxis = across ? g.cx : g.cy, sAxis = across ? s.cx : s.cy;
  if (margin == -1 || autoMargin) {
    if (spacing == -1) {
      margin = (bAxis - (gAxis + sAxis)) / 3;
      spacing = margin;
    } else {
      margin = (bAxis - (gAxis + spacing + sAxis)) / 2;
      if (speedButton) margin += 1;
    }
  } else if (spacing == -1) {
    spacing = ((bAxis - margin - gAxis) - sAxis) / 2;
  }
  switch (layout) {
    case glLeft:
      p.Glyph.x = margin;
      p.Text.x = margin + g.cx + spacing;
      break;
    case glRight:
      p.Glyph.x = b.cx - margin - g.cx;
      p.Text.x = p.Glyph.x - spacing - s.cx;
      break;
    case glTop:
      p.Glyph.y = margin;
      p.Text.y = margin + g.cy + spacing;
      break;
    case glBottom:
      p.Glyph.y = b.cy - margin - g.cy;
      p.Text.y = p.Glyph.y - spacing - s.cy;
      break;
  }
  return p;
}

void DrawGlyph(HDC dc, POINT p, int numGlyphs, int index, fw::TBitmap& glyph) {
  if (!dc || glyph.Empty()) return;
  numGlyphs = std::max(numGlyphs, 1);
  const int fw = glyph.Width() / numGlyphs, fh = glyph.Height();
  if (fw <= 0 || fh <= 0) return;
  const int frame = index > numGlyphs ? 0 : std::max(index - 1, 0);
  fw::TBitmap one(fw, fh);
  BitBlt(one.Canvas().Handle(), 0, 0, fw, fh, glyph.Canvas().Handle(), frame * fw, 0, SRCCOPY);
  if (index == 2) GrayBitmap(one);
  // The automatic transparent colour: the frame's lower-left pixel.
  const COLORREF key = GetPixel(one.Canvas().Handle(), 0, fh - 1);
  const RECT dest{p.x, p.y, p.x + fw, p.y + fh};
  TransparentBlit(dc, dest, one, static_cast<fw::TColor>(key));
}

// ---------------------------------------------------------------------------
// TSkinButton
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinButton, TSkinControl)

TSkinButton::TSkinButton(fw::TComponent* owner) : TSkinControl(owner) {}

void TSkinButton::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  TSkinControl::InitControl(form, skinData, canvas, recolor);
  FKind = 0;
  if (FControl) {
    const std::string cls = Lower(FControl->ClassName());
    if (cls.rfind("trz", 0) == 0 || cls.rfind("tel", 0) == 0) FKind = 1;
    FTransparentFace = FControl->Tag == 5555 || (skinData && (skinData->Options & SetOf(xoTransparent)));
  }
}

void TSkinButton::InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) {
  TSkinControl::InitWindow(window, skinData, canvas, form);
  FTransparentFace = skinData && (skinData->Options & SetOf(xoTransparent));
}

TDataSkinButton* TSkinButton::ButtonsElement() const {
  TDataSkinButton* e = FSkinData && !FSkinData->NoSkin() ? FSkinData->Buttons() : nullptr;
  return e && !e->Bitmap.Empty() ? e : nullptr;
}

bool TSkinButton::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintNow(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_TIMER:
      KillTimer(FHandle, 1);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The window's own procedure never sees the press: it neither captures the mouse nor
      // draws its pushed state. The focus is asked of the window as it is now.
      if (GetFocus() != FHandle) SetFocus(FHandle);
      FState |= ssDown;
      PaintControl(nullptr);
      if (FKind == 0 && FControl) ForwardMouseDown(m);
      return false;
    case WM_ENABLE:
      if (!m.WParam) FState = 0;
      return true;
    case WM_CANCELMODE:
      FState = 0;
      Repaint();
      return true;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinButton::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
    case BM_SETSTATE:  // a button without the common controls' look draws these states at once
    case BM_SETSTYLE:
      PaintControl(nullptr);
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) {
        FState |= ssDown;
        Repaint();
      }
      break;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        FState &= ~ssDown;
        Repaint();
      }
      break;
    case WM_MOUSEMOVE:
      if (IsWindowEnabled(FHandle) && !(FState & ssHot)) {
        FState |= ssHot;
        Repaint();
      }
      TrackMouseLeave(FHandle);
      break;
    case WM_LBUTTONUP: {
      if (!(FState & ssDown)) break;
      FState &= ~ssDown;
      Repaint();
      // A click only when released inside the button; and it is the very last step, for the
      // click may free this object (a button that closes its form).
      RECT client{};
      GetClientRect(FHandle, &client);
      const POINT at{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      if (!PtInRect(&client, at)) break;
      if (FControl) {
        FControl->Click();
      } else {
        HWND parent = GetParent(FHandle);
        const std::wstring cls = ClassNameOf(FHandle);
        std::wstring lower = cls;
        std::transform(lower.begin(), lower.end(), lower.begin(), ::towlower);
        const WPARAM id = lower == L"tbutton" ? 0 : static_cast<WPARAM>(GetDlgCtrlID(FHandle));
        PostMessageW(parent, WM_COMMAND, id, reinterpret_cast<LPARAM>(FHandle));
      }
      break;
    }
    case WM_MOUSELEAVE:
      FState &= ~(ssHot | ssDown);
      Repaint();
      break;
    case fw::CM_DIALOGKEY:
    case fw::CM_FOCUSCHANGED:
      Repaint();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

int TSkinButton::StateFrame() const {
  if (!FEnabled) return bfDisabled;
  if (FState & ssDown) return bfPressed;
  if (FState & ssHot) return bfHot;
  if (FFocused) return bfFocused;
  return bfNormal;
}

int TSkinButton::ReadState() {
  FEnabled = !(WindowLong(GWL_STYLE) & WS_DISABLED);
  FFocused = GetFocus() == FHandle;
  FCaption = FControl ? FControl->Caption() : GetWindowTextWide(FHandle);
  return StateFrame();
}

HDC TSkinButton::PrepareBuffer(const RECT& r) {
  if (FBuffer.Width() != Width(r) || FBuffer.Height() != Height(r)) FBuffer.SetSize(Width(r), Height(r));
  HDC dc = FBuffer.Canvas().Handle();
  if (FTransparentFace && FControl) DrawParentImage(FControl, dc);
  else FillFace(dc, r);
  return dc;
}

void TSkinButton::SelectTextStyle(HDC dc, int frame) {
  fw::TColor colour = 0;
  HFONT font = nullptr;
  if (FControl) {
    font = FControl->Font()->Handle();
    colour = FControl->Font()->Color();
  } else {
    font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    colour = FSkinData ? FSkinData->ButtonTextColour() : static_cast<fw::TColor>(fw::clBtnText);
  }
  if (TDataSkinButton* e = ButtonsElement()) StateColour(*e, frame, colour);
  if (frame == bfDisabled) colour = kShadow;
  FSelectedFont = font;
  FOldFont = font ? SelectObject(dc, font) : nullptr;
  SetTextColor(dc, fw::ColorToRGB(colour));
}

void TSkinButton::RestoreFont(HDC dc) {
  if (FOldFont) SelectObject(dc, FOldFont);
  FOldFont = nullptr;
  FSelectedFont = nullptr;
}

bool TSkinButton::FocusRectWanted() const {
  return FFocused && !(FSkinData && (FSkinData->Options & SetOf(xoNoFocusRect)));
}

void TSkinButton::DrawButtonText(HDC dc, const RECT& rect, UINT alignment) {
  FCaption = WithLineBreak(FCaption);
  RECT t = rect;
  InflateRect(&t, -2, -2);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextWide(dc, FCaption, t, alignment | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
  OffsetRect(&t, -t.left, -t.top);
  const int w = Width(t), h = Height(t);
  const int dy = (Height(rect) - h) / 2 - 1;
  if (alignment & DT_CENTER) {
    OffsetRect(&t, (Width(rect) - w) / 2, dy);
  } else {
    OffsetRect(&t, 0, dy);
    t.left = rect.left;
    t.right = rect.right;
  }
  DrawTextWide(dc, FCaption, t, TextFlags(alignment | DT_EXPANDTABS | DT_WORDBREAK));
  SetBkMode(dc, oldMode);
  if (FocusRectWanted() && !FCaption.empty()) {
    InflateRect(&t, 2, 2);
    DrawFocusRect(dc, &t);
  }
}

void TSkinButton::DrawControl(HDC dc, const RECT& rect) {
  TDataSkinButton* e = ButtonsElement();
  if (!e || !dc) return;
  const int frame = ReadState();
  FMultiLine = FControl && Lower(GetEnumPropByName(FControl, "MultiLine")) == "true";
  const RECT r{0, 0, Width(rect), Height(rect)};
  if (r.right <= 0 || r.bottom <= 0) return;
  HDC buffer = PrepareBuffer(r);
  skin::DrawSkinFrame(buffer, r, e->FrameCount, frame, e);
  SelectTextStyle(buffer, frame);
  DrawButtonText(buffer, r, DT_CENTER);
  RestoreFont(buffer);
  BitBlt(dc, rect.left, rect.top, r.right, r.bottom, buffer, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// TSkinBitButton
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinBitButton, TSkinButton)

TSkinBitButton::TSkinBitButton(fw::TComponent* owner) : TSkinButton(owner) {}

void TSkinBitButton::DrawControl(HDC dc, const RECT& rect) {
  TDataSkinButton* e = ButtonsElement();
  if (!e || !dc) return;
  const int frame = ReadState();
  const int glyphIndex = frame == bfPressed ? 3 : frame == bfDisabled ? 2 : 1;
  const RECT r{0, 0, Width(rect), Height(rect)};
  if (r.right <= 0 || r.bottom <= 0) return;
  HDC buffer = PrepareBuffer(r);
  skin::DrawSkinFrame(buffer, r, e->FrameCount, frame, e);

  fw::TObject* c = FControl;
  fw::TObject* graphic = FGlyphProperty.empty() ? nullptr : GetObjectPropByName(c, FGlyphProperty, fw::TBitmap::StaticClassInfo());
  auto* glyph = graphic ? static_cast<fw::TBitmap*>(graphic)
                        : static_cast<fw::TBitmap*>(GetObjectPropByName(c, "Glyph", fw::TBitmap::StaticClassInfo()));
  auto* images = static_cast<fw::TImageList*>(GetObjectPropByName(c, "Images", fw::TImageList::StaticClassInfo()));
  int numGlyphs = GetIntPropByName(c, "NumGlyphs");
  if (numGlyphs < 1) numGlyphs = 1;
  const int imageIndex = GetIntPropByName(c, "ImageIndex");
  const int disabledIndex = GetIntPropByName(c, "DisabledIndex");
  const int margin = GetIntPropByName(c, "Margin");
  const int spacing = GetIntPropByName(c, "Spacing");
  const TGlyphLayout layout = LayoutOf(c);
  const bool centred = Lower(GetEnumPropByName(c, "Alignment")) == "tacenter";

  SIZE g{0, 0};
  if (glyph && !glyph->Empty())
    g = graphic ? SIZE{glyph->Width(), glyph->Height()} : SIZE{glyph->Width() / numGlyphs, glyph->Height()};
  else if (images && imageIndex != -1)
    g = {images->Width(), images->Height()};
  SelectTextStyle(buffer, frame);

  RECT t = r;
  InflateRect(&t, -2, -2);
  if (layout == glLeft || layout == glRight) t.right -= g.cx + 2;
  else t.bottom -= g.cy + 2;
  FCaption = WithLineBreak(FCaption);
  SIZE s{0, 0};
  if (!FCaption.empty()) {
    RECT m = t;
    DrawTextWide(buffer, FCaption, m, DT_CALCRECT | DT_WORDBREAK);
    s = {Width(m), Height(m)};
  }
  const TGlyphPlace place = LayoutGlyph({r.right, r.bottom}, g, s, margin, spacing, layout, centred, false);
  UINT flags = DT_WORDBREAK;
  if (layout == glRight) flags |= DT_RIGHT;
  if (layout == glTop || layout == glBottom) flags |= DT_CENTER;

  if (glyph && !glyph->Empty()) {
    if (graphic) BitBlt(buffer, place.Glyph.x, place.Glyph.y, g.cx, g.cy, glyph->Canvas().Handle(), 0, 0, SRCCOPY);
    else DrawGlyph(buffer, place.Glyph, numGlyphs, glyphIndex, *glyph);
  } else if (images) {
    if (FEnabled) {
      if (imageIndex != -1) images->Draw(buffer, place.Glyph.x, place.Glyph.y, imageIndex, true);
    } else {
      const int index = disabledIndex != -1 ? disabledIndex : imageIndex;
      if (index != -1) images->Draw(buffer, place.Glyph.x, place.Glyph.y, index, false);
    }
  }
  if (!FCaption.empty()) {
    RECT tr{place.Text.x, place.Text.y, place.Text.x + s.cx, place.Text.y + s.cy};
    const int oldMode = SetBkMode(buffer, TRANSPARENT);
    DrawTextWide(buffer, FCaption, tr, graphic ? flags : TextFlags(flags));
    SetBkMode(buffer, oldMode);
    if (FocusRectWanted()) {
      InflateRect(&tr, 2, 2);
      DrawFocusRect(buffer, &tr);
    }
  }
  RestoreFont(buffer);
  BitBlt(dc, rect.left, rect.top, r.right, r.bottom, buffer, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// TSkinMenuButton
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinMenuButton, TSkinButton)

TSkinMenuButton::TSkinMenuButton(fw::TComponent* owner) : TSkinButton(owner) {}

void TSkinMenuButton::DrawControl(HDC dc, const RECT& rect) {
  TDataSkinButton* e = ButtonsElement();
  if (!e || !dc) return;
  ReadState();
  // Focus shows as the hot frame.
  int frame = (FState & ssDown) ? bfPressed : (FFocused || (FState & ssHot)) ? bfHot : bfNormal;
  if (!FEnabled) frame = bfDisabled;
  const RECT r{0, 0, Width(rect), Height(rect)};
  if (r.right <= 0 || r.bottom <= 0) return;
  HDC buffer = PrepareBuffer(r);
  skin::DrawSkinFrame(buffer, r, e->FrameCount, frame, e);
  SelectTextStyle(buffer, frame);
  constexpr int kArrow = 17;
  const int W = r.right, H = r.bottom;
  RECT m{0, 0, W - kArrow, H};
  InflateRect(&m, -2, -2);
  FCaption = WithLineBreak(FCaption);
  DrawTextWide(buffer, FCaption, m, DT_CALCRECT | DT_WORDBREAK);
  const int w = Width(m), h = Height(m);
  RECT t{(W - kArrow - w) / 2 + 2, (H - h + 1) / 2, 0, 0};
  t.right = t.left + w;
  t.bottom = t.top + h;
  // The drop-down arrow.
  const COLORREF arrow = fw::ColorToRGB(FEnabled ? 0xFF000008 : kShadow);
  {
    fw::TBrushHandle brush(CreateSolidBrush(arrow));
    fw::TPenHandle pen(CreatePen(PS_SOLID, 1, arrow));
    fw::TSelectObject b(buffer, brush.Get()), p(buffer, pen.Get());
    const int cy = H / 2 + 2;
    const POINT tri[3] = {{W - 12, cy}, {W - 15, cy - 3}, {W - 9, cy - 3}};
    Polygon(buffer, tri, 3);
  }
  if (!FEnabled) SetTextColor(buffer, arrow);
  const int oldMode = SetBkMode(buffer, TRANSPARENT);
  DrawTextWide(buffer, FCaption, t, TextFlags(DT_WORDBREAK));
  SetBkMode(buffer, oldMode);
  if (FocusRectWanted() && !FCaption.empty()) {
    InflateRect(&t, 2, 2);
    DrawFocusRect(buffer, &t);
  }
  RestoreFont(buffer);
  BitBlt(dc, rect.left, rect.top, W, H, buffer, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// TSkinSpeedButton
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinSpeedButton, TSkinBitButton)

TSkinSpeedButton::TSkinSpeedButton(fw::TComponent* owner) : TSkinBitButton(owner) {}

TSkinSpeedButton::~TSkinSpeedButton() { ReleaseWindowProc(); }

fw::TGraphicControl* TSkinSpeedButton::Button() const { return dynamic_cast<fw::TGraphicControl*>(FPaintControl); }

void TSkinSpeedButton::InitSpeedButton(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas) {
  auto* button = dynamic_cast<fw::TGraphicControl*>(Owner());
  if (FInitialized || !button) return;
  FSkinData = skinData;
  FCanvas = canvas;
  FForm = form;
  FPaintControl = button;
  HookWindowProc(button);
  RegisterWithForm();
  FStatus = scAttached;
  FInitialized = true;
  FTransparentFace = button->Tag == 5555 || (skinData && (skinData->Options & SetOf(xoTransparent)));
  button->Invalidate();
}

void TSkinSpeedButton::RestoreControl() {}

bool TSkinSpeedButton::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintInto(reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The speed button handles its press itself.
      PressThrough(m);
      return false;
    }
    case WM_LBUTTONUP:
      return true;
    case WM_SKIN_QUERY:
      m.Result = 1;
      return false;
    default:
      return TSkinButton::BeforeMessage(m);
  }
}

void TSkinSpeedButton::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_ENABLE:
    case fw::CM_FOCUSCHANGED:
      break;
    case fw::CM_ENABLEDCHANGED:
      // The speed button repaints itself; a disabled one is neither hot nor pressed.
      if (FPaintControl && !FPaintControl->Enabled()) FState = 0;
      break;
    case WM_NCDESTROY:
    case fw::CM_RELEASE:
      ReleaseWindowProc();
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) {
        FState |= ssDown;
        PaintControl(nullptr);
      }
      break;
    case WM_KEYUP:
    case WM_LBUTTONUP:
      if (m.Msg == WM_LBUTTONUP || m.WParam == VK_SPACE) {
        FState &= ~ssDown;
        PaintControl(nullptr);
      }
      break;
    case fw::CM_MOUSEENTER:
      FState |= ssHot;
      PaintControl(nullptr);
      break;
    case fw::CM_MOUSELEAVE:
      FState &= ~(ssHot | ssDown);
      if (FPaintControl && FPaintControl->Visible()) PaintControl(nullptr);
      break;
    case WM_PAINT:
      break;
    default:
      TSkinButton::AfterMessage(m);
      break;
  }
}

void TSkinSpeedButton::PaintControl(HDC) {
  fw::TGraphicControl* button = Button();
  if (!button || !button->Parent() || !button->Parent()->HandleAllocated() || !button->Visible()) return;
  // Outside a paint the speed button has no canvas handle of its own: it is drawn through the
  // parent's DC, clipped to it.
  HWND parent = button->Parent()->HandleIfAllocated();
  HDC dc = GetDC(parent);
  if (!dc) return;
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, button->Left(), button->Top(), nullptr);
  IntersectClipRect(dc, 0, 0, button->Width(), button->Height());
  PaintInto(dc);
  RestoreDC(dc, saved);
  ReleaseDC(parent, dc);
}

void TSkinSpeedButton::PaintInto(HDC dc) {
  fw::TGraphicControl* button = Button();
  if (!button || !dc) return;
  fw::TCanvas& canvas = button->Canvas();
  canvas.Lock();
  canvas.SetHandle(dc);
  struct TReset {
    fw::TCanvas& C;
    ~TReset() {
      C.SetHandle(nullptr);
      C.Unlock();
    }
  } reset{canvas};
  try {
    Draw(canvas, {0, 0, button->Width(), button->Height()});
  } catch (...) {
    // A failed paint of a speed button is given up quietly.
  }
}

void TSkinSpeedButton::Draw(fw::TCanvas& canvas, const RECT& rect) {
  TDataSkinButton* e = ButtonsElement();
  if (FPainting || !e) return;
  FPainting = true;
  struct TDone {
    bool& F;
    ~TDone() { F = false; }
  } done{FPainting};
  fw::TControl* button = FPaintControl;
  const int base = (FState & ssDown) ? bfPressed : (FState & ssHot) ? bfHot : bfNormal;
  const bool enabled = Lower(GetEnumPropByName(button, "Enabled")) != "false";
  const bool down = Lower(GetEnumPropByName(button, "Down")) == "true";
  const bool flat = Lower(GetEnumPropByName(button, "Flat")) == "true";
  FEnabled = enabled;
  FFocused = false;
  int frame = down ? bfPressed : !enabled ? bfDisabled : base;
  int glyphIndex = frame == bfPressed ? 3 : frame == bfDisabled ? 2 : 1;
  if (down) glyphIndex = 4;
  const RECT r{0, 0, Width(rect), Height(rect)};
  if (r.right <= 0 || r.bottom <= 0) return;
  if (FBuffer.Width() != r.right || FBuffer.Height() != r.bottom) FBuffer.SetSize(r.right, r.bottom);
  HDC buffer = FBuffer.Canvas().Handle();
  if (FTransparentFace) DrawParentImage(button, buffer);
  else FillFace(buffer, r);
  if (frame == bfPressed || frame == bfHot || !flat) skin::DrawSkinFrame(buffer, r, e->FrameCount, frame, e);

  fw::TColor colour = button->Font()->Color();
  StateColour(*e, frame, colour);
  if (frame == bfDisabled) colour = kShadow;
  fw::TSelectObject font(buffer, button->Font()->Handle());
  SetTextColor(buffer, fw::ColorToRGB(colour));
  FCaption = button->Caption();

  auto* glyph = static_cast<fw::TBitmap*>(GetObjectPropByName(button, "Glyph", fw::TBitmap::StaticClassInfo()));
  int numGlyphs = GetIntPropByName(button, "NumGlyphs");
  if (numGlyphs < 1) numGlyphs = 1;
  if (!glyph || glyph->Empty()) {
    DrawButtonText(buffer, r, DT_CENTER);
  } else {
    const TGlyphLayout layout = LayoutOf(button);
    const SIZE g{glyph->Width() / numGlyphs, glyph->Height()};
    FCaption = WithLineBreak(FCaption);
    SIZE s{0, 0};
    if (!FCaption.empty()) {
      RECT m = r;
      InflateRect(&m, -2, -2);
      DrawTextWide(buffer, FCaption, m, DT_CALCRECT | DT_WORDBREAK);
      s = {Width(m), Height(m)};
    }
    const TGlyphPlace place = LayoutGlyph({r.right, r.bottom}, g, s, GetIntPropByName(button, "Margin"),
                                          GetIntPropByName(button, "Spacing"), layout, false, true);
    DrawGlyph(buffer, place.Glyph, numGlyphs, glyphIndex, *glyph);
    if (!FCaption.empty()) {
      UINT flags = DT_WORDBREAK;
      if (layout == glRight) flags |= DT_RIGHT;
      if (layout == glTop || layout == glBottom) flags |= DT_CENTER;
      RECT tr{place.Text.x, place.Text.y, place.Text.x + s.cx, place.Text.y + s.cy};
      const int oldMode = SetBkMode(buffer, TRANSPARENT);
      DrawTextWide(buffer, FCaption, tr, TextFlags(flags));
      SetBkMode(buffer, oldMode);
    }
  }
  BitBlt(canvas.Handle(), rect.left, rect.top, r.right, r.bottom, buffer, 0, 0, SRCCOPY);
}

}  // namespace skin
