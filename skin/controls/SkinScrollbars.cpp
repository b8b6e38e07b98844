// Scroll-bar overlays and the skin of scrollable framework controls.
#include "skin/controls/SkinScrollbars.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

#include "GdiHandles.h"
#include "TypInfo.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"

namespace skin {

namespace {

bool Usable(const TDataSkinObject* e) { return e && !e->Bitmap.Empty(); }

// Overlays whose press was still running when their skin went away: freed once it has returned,
// from a timer, outside every message of theirs.
std::vector<TWScrollbar*>& Orphans() {
  static std::vector<TWScrollbar*> list;
  return list;
}
UINT_PTR g_orphanTimer = 0;

void CALLBACK FreeOrphans(HWND, UINT, UINT_PTR, DWORD) {
  auto& list = Orphans();
  for (std::size_t i = list.size(); i-- > 0;) {
    if (list[i]->FPressed) continue;
    TWScrollbar* bar = list[i];
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    delete bar;
  }
  if (list.empty() && g_orphanTimer) {
    KillTimer(nullptr, g_orphanTimer);
    g_orphanTimer = 0;
  }
}

// Frees a bar now, or once its press has returned.
void FreeBar(TWScrollbar*& bar) {
  if (!bar) return;
  TWScrollbar* b = bar;
  bar = nullptr;
  if (!b->FPressed) {
    delete b;
    return;
  }
  b->FSkinControl = nullptr;
  b->FTarget = nullptr;
  b->FScrollControl = nullptr;
  b->HideBar();
  if (b->Owner()) b->Owner()->RemoveComponent(b);
  Orphans().push_back(b);
  if (!g_orphanTimer) g_orphanTimer = SetTimer(nullptr, 0, 10, &FreeOrphans);
}

// A pair of overlays: repainted with their window (placed first when not shown yet), and the
// corner between them filled, placed by the real client-to-window offset.
void PaintBars(HDC dc, HWND window, TWScrollbar* vert, TWScrollbar* horz, TSkinData* data) {
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  for (TWScrollbar* bar : {vert, horz}) {
    if (!bar) continue;
    if (bar->FShown) bar->Invalidate();
    else if (style & (bar == vert ? WS_VSCROLL : WS_HSCROLL)) bar->UpdatePosition();
  }
  if (!dc || !vert || !horz || !vert->FShown || !horz->FShown || !data) return;
  RECT w{};
  GetWindowRect(window, &w);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int dx = origin.x - w.left, dy = origin.y - w.top;
  const RECT corner{vert->FBarRect.left + dx, horz->FBarRect.top + dy, vert->FBarRect.right + dx,
                    horz->FBarRect.bottom + dy};
  fw::TBrushHandle face(CreateSolidBrush(fw::ColorToRGB(data->ButtonFaceColour())));
  FillRect(dc, &corner, face.Get());
}

// The part being scrolled shows as hot (the keyboard's line-down lights the second arrow).
void ShowRequest(TWScrollbar* bar, WPARAM request) {
  if (!bar) return;
  if (!bar->FPressed) bar->FHotPart = LOWORD(request);
  bar->Invalidate();
}

// The pair of overlays follows its window's place and shows its scroll requests; false for
// other messages.
bool FollowWindow(const fw::TMessage& m, TWScrollbar* horz, TWScrollbar* vert) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      for (TWScrollbar* bar : {horz, vert})
        if (bar) bar->UpdatePosition();
      return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
      ShowRequest(m.Msg == WM_HSCROLL ? horz : vert, m.WParam);
      return true;
    default:
      return false;
  }
}

// No bar is left over a window that is gone.
void Unbind(TWScrollbar* bar) {
  if (!bar) return;
  bar->HideBar();
  bar->FTarget = nullptr;
}

// An overlay freed before its skin object (with its parent window, whose children go first) is
// forgotten at once.
void Forget(fw::TComponent* gone, TWScrollbar*& horz, TWScrollbar*& vert) {
  if (gone == horz) horz = nullptr;
  if (gone == vert) vert = nullptr;
}

}  // namespace

void FreeOverlay(TWScrollbar*& bar) { FreeBar(bar); }

// ---------------------------------------------------------------------------
// TWScrollbar
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TWScrollbar, fw::TCustomControl)

TWScrollbar::TWScrollbar(fw::TComponent* owner) : fw::TCustomControl(owner) {
  FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
  SetTabStop(false);
  SetVisible(false);
}

TWScrollbar::~TWScrollbar() { *FAlive = false; }

void TWScrollbar::AttachToControl(TSkinControl* skin, fw::TWinControl* control, int kind) {
  FSkinControl = skin;
  FTarget = control->Handle();
  FBarKind = kind;
  FVertical = kind == 1;
  if (kind == 2) {
    FScrollControl = control;
    std::string axis = GetEnumPropByName(control, "Kind");
    std::transform(axis.begin(), axis.end(), axis.begin(), [](unsigned char c) { return std::tolower(c); });
    // A control that does not publish its kind has it in its window style.
    FVertical = axis.empty() ? (GetWindowLongW(FTarget, GWL_STYLE) & SBS_VERT) != 0 : axis != "sbhorizontal";
  }
  SetParent(control->Parent());
  HandleNeeded();
  // Nothing but the window itself: no tab stop, never the active window's focus.
  SetWindowLongW(Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  UpdatePosition();
}

void TWScrollbar::AttachToWindow(TSkinControl* skin, HWND window, int kind) {
  FSkinControl = skin;
  FTarget = window;
  FBarKind = kind;
  FVertical = kind == 1;
  fw::TWinControl* parent = fw::FindControl(GetParent(window));
  if (!parent) return;  // no framework window to lie in: the system's bar stays
  SetParent(parent);
  HandleNeeded();
  SetWindowLongW(Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  UpdatePosition();
}

bool TWScrollbar::BarInfo(SCROLLBARINFO& info) const {
  if (!FTarget || !IsWindow(FTarget)) return false;
  if (FBarKind == 2) return ControlBarInfo(info);
  return QueryScrollBarInfo(FTarget, FBarKind == 0 ? OBJID_HSCROLL : OBJID_VSCROLL, info);
}

bool TWScrollbar::ControlBarInfo(SCROLLBARINFO& info) const {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  RECT window{};
  if (!GetScrollInfo(FTarget, SB_CTL, &si) || !GetWindowRect(FTarget, &window)) return false;
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  info.rcScrollBar = window;  // the whole control, in screen coordinates as the system gives a bar
  info.dxyLineButton = FArrowSize;
  if (!IsWindowEnabled(FTarget)) info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  const int length = FVertical ? window.bottom - window.top : window.right - window.left;
  const int a = FArrowSize;
  const int track = std::max(length - 2 * a, 0);
  // An empty range (Min = Max) has nothing to divide by: the thumb stays at the start.
  const int range = si.nMax > si.nMin ? si.nMax - si.nMin : 9999999;
  const int offset = std::clamp(si.nPos, si.nMin, std::max(si.nMin, si.nMax)) - si.nMin;
  int start = a, size = a;
  if (si.nPage != 0) {
    size = MulDiv(track, static_cast<int>(si.nPage) - 1, range);
    if (size > 7) {
      if (offset > 0) start = a + MulDiv(track, offset, range);
    } else {
      size = 8;
      if (offset > 0) start = a + MulDiv(std::max(track - 8, 0), offset, range);
    }
  } else if (offset > 0) {
    start = a + MulDiv(std::max(length - 3 * a, 0), offset, range);
  }
  info.xyThumbTop = start;
  info.xyThumbBottom = start + size;
  return true;
}

void TWScrollbar::HideBar() {
  if (HandleAllocated()) ShowWindow(HandleIfAllocated(), SW_HIDE);
  FShown = false;
  SetVisible(false);
}

void TWScrollbar::UpdatePosition() {
  SCROLLBARINFO info{};
  TSkinData* data = FSkinControl ? FSkinControl->FSkinData : nullptr;
  // Without the skin's bar image the system's own bar stays in sight.
  if (!data || data->NoSkin() || !Usable(data->Scrollbar())) {
    if (FShown) HideBar();
    return;
  }
  if (!BarInfo(info)) return;
  if (!(GetWindowLongW(FTarget, GWL_STYLE) & WS_VISIBLE) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
    HideBar();
    return;
  }
  RECT bar = info.rcScrollBar;
  FBarOrigin = {bar.left, bar.top};
  FBarRect = bar;
  MapWindowPoints(nullptr, FTarget, reinterpret_cast<POINT*>(&FBarRect), 2);
  FBarLength = FVertical ? bar.bottom - bar.top : bar.right - bar.left;
  HWND parent = GetParent(FTarget);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bar), 2);
  SetBounds(bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top);
  FShown = true;
  SetVisible(true);
  // Directly above the scrolled window, whose own painting (clipped by its siblings) never
  // reaches over the overlay.
  HWND before = GetWindow(FTarget, GW_HWNDPREV);
  if (before != Handle())
    SetWindowPos(Handle(), before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

int TWScrollbar::HitTest(POINT p) const {
  const int at = FVertical ? p.y : p.x;
  if (at < FArrowSize) return 0;
  if (at < FThumbStart) return 2;
  if (at < FThumbEnd) return 5;
  if (at < FBarLength - FArrowSize) return 3;
  return 1;
}

void TWScrollbar::TrackThumb() {
  POINT cursor{};
  GetCursorPos(&cursor);
  const int length = FThumbEnd - FThumbStart;
  int start = FPressThumbStart + (FVertical ? cursor.y - FPressCursor.y : cursor.x - FPressCursor.x);
  // The upper bound first, the lower one last: they never cross.
  start = std::min(start, FBarLength - FArrowSize - length);
  start = std::max(start, FArrowSize);
  FThumbStart = start;
  FThumbEnd = start + length;
}

void TBarLook::Draw(HDC dc, POINT at, const SCROLLBARINFO& info, TSkinData* data, bool vertical, int limitW,
                    int limitH) {
  TDataSkinObject* sb = data && !data->NoSkin() ? data->Scrollbar() : nullptr;
  if (!Usable(sb) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return;
  const bool enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  const int w = info.rcScrollBar.right - info.rcScrollBar.left, h = info.rcScrollBar.bottom - info.rcScrollBar.top;
  if (w <= 0 || h <= 0 || w > limitW || h > limitH) return;
  BarLength = vertical ? h : w;
  int tt = sb->Bitmap.Height();
  if (std::abs(tt - ArrowSize) > 2) tt = ArrowSize;
  if (Thickness > 0) tt = Thickness;
  if (Buffer.Width() != w || Buffer.Height() != h) Buffer.SetSize(w, h);
  HDC buffer = Buffer.Canvas().Handle();
  SetStretchBltMode(buffer, COLORONCOLOR);
  const RECT all{0, 0, w, h};
  {
    fw::TBrushHandle face(CreateSolidBrush(fw::ColorToRGB(data->ButtonFaceColour())));
    FillRect(buffer, &all, face.Get());
  }
  const auto along = [&](int from, int to) {
    return vertical ? RECT{0, from, tt, to} : RECT{from, 0, to, tt};
  };
  // The track; a part's own element stands in for a missing horizontal one.
  TDataSkinObject* horz = data->HorzScroll();
  TDataSkinObject* track = vertical ? data->VertScroll() : horz;
  if (!Usable(track)) track = Usable(horz) ? horz : nullptr;
  if (track) {
    const bool tile = (Usable(horz) ? horz : track)->Tile != 0;
    const RECT r = along(ArrowSize, BarLength - ArrowSize);
    DrawSkinImage(buffer, r, track->Bitmap, false, tile, track->Trans == 1, 4, enabled ? 1 : 3, track->Margins);
  }
  // The arrows: half the bar each when it is shorter than two.
  const int a = BarLength < 2 * ArrowSize ? BarLength / 2 : ArrowSize;
  const int first = vertical ? 9 : 1, second = vertical ? 13 : 5;
  const auto arrowFrame = [&](int base, int part) {
    if (!enabled) return base + 2;
    return HotPart == part ? base + (Pressed ? 1 : 3) : base;
  };
  DrawKeyedFrame(buffer, along(0, a), 23, arrowFrame(first, 0), sb->Bitmap);
  DrawKeyedFrame(buffer, along(BarLength - a, BarLength), 23, arrowFrame(second, 1), sb->Bitmap);
  // The thumb, where the system has it, or following the cursor while it is dragged.
  ThumbStart = info.xyThumbTop;
  ThumbEnd = info.xyThumbBottom;
  if (Follow) Follow();
  const int length = ThumbEnd - ThumbStart;
  const bool fits = length > 0 && ThumbStart >= a && ThumbEnd <= BarLength - a;
  if (enabled && fits) {
    TDataSkinObject* horzThumb = data->HorzScrollThumb();
    TDataSkinObject* thumb = vertical ? data->VertScrollThumb() : horzThumb;
    if (!Usable(thumb)) thumb = Usable(horzThumb) ? horzThumb : nullptr;
    const TDataSkinObject* look = Usable(horzThumb) ? horzThumb : thumb;
    const bool onThumb = HotPart == 5;
    const int state = onThumb && Pressed ? 2 : onThumb ? 3 : 1;
    if (thumb)
      DrawSkinImage(buffer, along(ThumbStart, ThumbEnd), thumb->Bitmap, false, false, look->Trans == 1,
                    std::max(look->FrameCount, 1), state, thumb->Margins);
    // The grip, only where it fits.
    const int gs = sb->Bitmap.Height();
    if (gs + 2 <= length) {
      const int from = ThumbStart + (length - gs) / 2;
      DrawKeyedFrame(buffer, along(from, from + gs), 23, (vertical ? 20 : 17) + state - 1, sb->Bitmap);
    }
  }
  BitBlt(dc, at.x, at.y, w, h, buffer, 0, 0, SRCCOPY);
}

void TWScrollbar::Paint() {
  TSkinData* data = FSkinControl ? FSkinControl->FSkinData : nullptr;
  SCROLLBARINFO info{};
  if (!BarInfo(info)) return;
  FLook.ArrowSize = FArrowSize;
  FLook.HotPart = FHotPart;
  FLook.Pressed = FPressed;
  // A scroll-bar control fills the overlay across; its thumb is where the control has put it.
  FLook.Thickness = FBarKind == 2 ? (FVertical ? ClientWidth() : ClientHeight()) : 0;
  FLook.Follow = FPressed && FHotPart == 5 && FBarKind != 2 ? [this] {
    FBarLength = FLook.BarLength;
    FThumbStart = FLook.ThumbStart;
    FThumbEnd = FLook.ThumbEnd;
    TrackThumb();
    FLook.ThumbStart = FThumbStart;
    FLook.ThumbEnd = FThumbEnd;
  } : std::function<void()>();
  FLook.Draw(Canvas().Handle(), {0, 0}, info, data, FVertical, ClientWidth(), ClientHeight());
  FBarLength = FLook.BarLength;
  FThumbStart = FLook.ThumbStart;
  FThumbEnd = FLook.ThumbEnd;
}

void TWScrollbar::Press(const fw::TMessage& m) {
  if (!FTarget) return;
  GetCursorPos(&FPressCursor);
  SCROLLBARINFO info{};
  if (BarInfo(info)) {
    FPressThumbStart = info.xyThumbTop;
    FThumbStart = info.xyThumbTop;
    FThumbEnd = info.xyThumbBottom;
    FBarOrigin = {info.rcScrollBar.left, info.rcScrollBar.top};
  }
  const POINT at{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  FHotPart = HitTest(at);
  // The overlay covers a scroll-bar control exactly: its points are the control's own.
  const POINT screen = FBarKind == 2 ? at : POINT{at.x + FBarOrigin.x, at.y + FBarOrigin.y};
  FPressed = true;
  Invalidate();
  ReleaseCapture();
  // The system's own scroll loop runs inside this call until the button is released.
  const std::shared_ptr<bool> alive = FAlive;
  HWND target = FTarget;
  if (FBarKind == 2)
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(screen.x, screen.y));
  else
    SendMessageW(target, WM_NCLBUTTONDOWN, FBarKind == 0 ? HTHSCROLL : HTVSCROLL, MAKELPARAM(screen.x, screen.y));
  if (!*alive) return;
  FPressed = false;
  ReleaseCapture();
  if (FTarget) Invalidate();
}

void TWScrollbar::Release(const fw::TMessage& m) {
  FPressed = false;
  ReleaseCapture();
  if (!FTarget) return;
  POINT at{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  if (FBarKind == 2) {
    PostMessageW(FTarget, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    Invalidate();
    return;
  }
  at = {at.x + FBarOrigin.x, at.y + FBarOrigin.y};
  PostMessageW(FTarget, WM_NCLBUTTONUP, FBarKind == 0 ? HTHSCROLL : HTVSCROLL, MAKELPARAM(at.x, at.y));
}

void TWScrollbar::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_SKIN_QUERY:  // an overlay is never dispatched as a control of its own
      m.Result = 1;
      return;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;
      return;
    case WM_MOUSEMOVE: {
      fw::TCustomControl::WndProc(m);
      const POINT at{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      const int part = HitTest(at);
      if (part != FHotPart) {
        FHotPart = part;
        Invalidate();
      }
      TrackMouseLeave(Handle());
      return;
    }
    case WM_MOUSELEAVE:
      fw::TCustomControl::WndProc(m);
      if (!FPressed) {
        FHotPart = -1;
        Invalidate();
      }
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const std::shared_ptr<bool> alive = FAlive;
      fw::TCustomControl::WndProc(m);
      if (*alive) Press(m);
      return;
    }
    case WM_LBUTTONUP:
      fw::TCustomControl::WndProc(m);
      Release(m);
      return;
    default:
      fw::TCustomControl::WndProc(m);
      return;
  }
}

// ---------------------------------------------------------------------------
// TSkinScrollbar
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinScrollbar, TSkinControl)

TSkinScrollbar::TSkinScrollbar(fw::TComponent* owner) : TSkinControl(owner) {}

TSkinScrollbar::~TSkinScrollbar() { FreeBars(); }

void TSkinScrollbar::Notification(fw::TComponent* component, fw::TOperation operation) {
  if (operation == fw::TOperation::opRemove) Forget(component, FHorzBar, FVertBar);
  TSkinControl::Notification(component, operation);
}

void TSkinScrollbar::FreeBars() {
  FreeBar(FHorzBar);
  FreeBar(FVertBar);
}

void TSkinScrollbar::AttachScroll(fw::TWinControl* control, TSkinData* skinData, fw::TCanvas* canvas,
                                  TWinSkinForm* form) {
  if (FInitialized || !control) return;
  FSkinData = skinData;
  FCanvas = canvas;
  FForm = form;
  FControl = control;
  FHandle = control->Handle();
  FUnicode = IsWindowUnicode(FHandle) != FALSE;
  RegisterWithForm();
  std::string border = GetEnumPropByName(control, "BorderStyle");
  std::transform(border.begin(), border.end(), border.begin(), [](unsigned char c) { return std::tolower(c); });
  FDrawBorder = border != "bsnone" && std::string_view(control->ClassName()) != "TImageScrollBox";
  // A grid's fixed cells: the same 32-bit value is written back at the end.
  if (const std::optional<int64_t> fixed = fw::GetIntProp(control, "FixedColor")) {
    FOldFixedColor = *fixed;
    FRecolorFixed = true;
    if (const fw::TPropInfo* p = fw::FindPublishedProp(control, "FixedColor"); p && p->Set)
      p->Set(control, static_cast<int64_t>(skinData->ButtonFaceColour()));
  }
  HookWindowProc(control);
  FHorzBar = new TWScrollbar(this);
  FHorzBar->AttachToControl(this, control, 0);
  FVertBar = new TWScrollbar(this);
  FVertBar->AttachToControl(this, control, 1);
  for (TWScrollbar* bar : {FHorzBar, FVertBar}) {
    bar->SetEnabled(control->Enabled());
    if (!control->Visible()) bar->HideBar();
  }
  FInitialized = true;
  FStatus = scAttached;
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollbar::RestoreControl() {
  if (FRecolorFixed && FControl && !FControl->IsDestroying()) {
    if (const fw::TPropInfo* p = fw::FindPublishedProp(FControl, "FixedColor"); p && p->Set) p->Set(FControl, FOldFixedColor);
  }
  FRecolorFixed = false;
  TSkinControl::RestoreControl();
  if (FStatus != scWindowGone) {
    FreeBars();
    // The system's bars and edge are seen again.
    if (FHandle && IsWindow(FHandle))
      SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void TSkinScrollbar::SkinChanged() {
  if (FRecolorFixed && FControl) {
    if (const fw::TPropInfo* p = fw::FindPublishedProp(FControl, "FixedColor"); p && p->Set)
      p->Set(FControl, static_cast<int64_t>(FSkinData->ButtonFaceColour()));
  }
  for (TWScrollbar* bar : {FHorzBar, FVertBar})
    if (bar) bar->UpdatePosition();
  TSkinControl::SkinChanged();
}

void TSkinScrollbar::DrawBorder(HDC dc) {
  if (!dc || !FSkinData) return;
  try {
    RECT r{};
    GetWindowRect(FHandle, &r);
    OffsetRect(&r, -r.left, -r.top);
    fw::TBrushHandle shadow(CreateSolidBrush(fw::ColorToRGB(FSkinData->Colours().ButtonShadowColour)));
    fw::TBrushHandle face(CreateSolidBrush(fw::ColorToRGB(FSkinData->ButtonFaceColour())));
    FrameRect(dc, &r, shadow.Get());
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, face.Get());
  } catch (...) {
    // A border that cannot be drawn leaves the system's.
  }
}

bool TSkinScrollbar::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT: {
      if (!FDrawBorder) return TSkinControl::BeforeMessage(m);
      const std::shared_ptr<bool> alive = FAlive;
      CallDefault(m);
      if (!*alive || !FHandle) return false;
      fw::TWindowDC dc = fw::TWindowDC::Whole(FHandle);
      DrawBorder(dc);
      return false;
    }
    case WM_NCDESTROY:
      Unbind(FHorzBar);
      Unbind(FVertBar);
      return TSkinControl::BeforeMessage(m);
    case WM_SKIN_PAINTFRAME:
      if (m.LParam != kSkinSignature) return TSkinControl::BeforeMessage(m);
      if (m.WParam) DrawBorder(reinterpret_cast<HDC>(m.WParam));
      m.Result = kSkinSignature;
      return false;
    case fw::CM_RECREATEWND:
      // The window is made again: the form gives the control a fresh skin for the new one.
      if (FForm && FForm->FHandle) PostMessageW(FForm->FHandle, WM_SKIN_RESKINSCROLL, reinterpret_cast<WPARAM>(FHandle), 0);
      return TSkinControl::BeforeMessage(m);
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinScrollbar::AfterMessage(fw::TMessage& m) {
  if (FollowWindow(m, FHorzBar, FVertBar)) return;
  switch (m.Msg) {
    case WM_MOUSEWHEEL:
      for (TWScrollbar* bar : {FHorzBar, FVertBar})
        if (bar && bar->FShown) bar->Invalidate();
      break;
    case fw::CM_VISIBLECHANGED:
      for (TWScrollbar* bar : {FHorzBar, FVertBar})
        if (bar) m.WParam ? bar->UpdatePosition() : bar->HideBar();
      break;
    case fw::CM_ENABLEDCHANGED:
      for (TWScrollbar* bar : {FHorzBar, FVertBar})
        if (bar && FControl) {
          bar->SetEnabled(FControl->Enabled());
          bar->Invalidate();
        }
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinScrollbar::DrawControl(HDC dc, const RECT&) { PaintBars(dc, FHandle, FVertBar, FHorzBar, FSkinData); }

// ---------------------------------------------------------------------------
// TSkinScrollbarH
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinScrollbarH, TSkinControl)

TSkinScrollbarH::TSkinScrollbarH(fw::TComponent* owner) : TSkinControl(owner) {}

TSkinScrollbarH::~TSkinScrollbarH() {
  FreeBar(FHorzBar);
  FreeBar(FVertBar);
}

void TSkinScrollbarH::Notification(fw::TComponent* component, fw::TOperation operation) {
  if (operation == fw::TOperation::opRemove) Forget(component, FHorzBar, FVertBar);
  TSkinControl::Notification(component, operation);
}

void TSkinScrollbarH::InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) {
  if (FInitialized) return;
  TSkinControl::InitWindow(window, skinData, canvas, form);
  if (!FInitialized) return;
  FHorzBar = new TWScrollbar(this);
  FHorzBar->AttachToWindow(this, window, 0);
  FVertBar = new TWScrollbar(this);
  FVertBar->AttachToWindow(this, window, 1);
}

void TSkinScrollbarH::RestoreControl() {
  TSkinControl::RestoreControl();
  if (FStatus != scWindowGone) {
    FreeBar(FHorzBar);
    FreeBar(FVertBar);
  }
}

bool TSkinScrollbarH::BeforeMessage(fw::TMessage& m) {
  if (m.Msg == WM_NCDESTROY) {
    Unbind(FHorzBar);
    Unbind(FVertBar);
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbarH::AfterMessage(fw::TMessage& m) {
  if (FVertBar && FHandle && !IsWindowVisible(FHandle)) FVertBar->HideBar();
  if (FollowWindow(m, FHorzBar, FVertBar)) return;
  if (m.Msg == WM_NCPAINT) {
    // The list repaints its frame when its bars come or go: the overlays take their places again.
    for (TWScrollbar* bar : {FHorzBar, FVertBar})
      if (bar) bar->UpdatePosition();
    return;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinScrollbarH::DrawControl(HDC dc, const RECT&) { PaintBars(dc, FHandle, FVertBar, FHorzBar, FSkinData); }

// ---------------------------------------------------------------------------
// TComboxScrollBar
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TComboxScrollBar, TSkinControl)

TComboxScrollBar::TComboxScrollBar(fw::TComponent* owner) : TSkinControl(owner) {}

void TComboxScrollBar::RestoreControl() {
  TSkinControl::RestoreControl();
  // The system's own bar again.
  if (FHandle && IsWindow(FHandle) && FStatus != scWindowGone) RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

bool TComboxScrollBar::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      return false;
    case WM_NCPAINT: {
      // The system keeps painting the list's 1-px border; the bar goes over its own.
      const std::shared_ptr<bool> alive = FAlive;
      CallDefault(m);
      if (*alive) PaintControl(nullptr);
      return false;
    }
    case WM_NCLBUTTONDOWN:
      if (m.WParam == HTVSCROLL && DragThumb({static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))}))
        return false;
      return TSkinControl::BeforeMessage(m);
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TComboxScrollBar::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case 0x1AE:  // the combo box tells its list to start tracking
    case WM_NCLBUTTONDOWN:  // the system's own arrow loop has returned and drew its bar
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
      PaintControl(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TComboxScrollBar::DrawControl(HDC dc, const RECT&) {
  if (!dc || !FHandle) return;
  SCROLLBARINFO info{};
  if (!QueryScrollBarInfo(FHandle, OBJID_VSCROLL, info)) return;
  RECT window{};
  GetWindowRect(FHandle, &window);
  FLook.HotPart = FHotPart;
  FLook.Pressed = FPressed;
  FLook.Draw(dc, {info.rcScrollBar.left - window.left, info.rcScrollBar.top - window.top}, info, FSkinData, true,
             window.right - window.left, window.bottom - window.top);
}

bool TComboxScrollBar::DragThumb(POINT screen) {
  SCROLLBARINFO bar{};
  if (!QueryScrollBarInfo(FHandle, OBJID_VSCROLL, bar)) return false;
  const int y = screen.y - bar.rcScrollBar.top;
  if (y < bar.xyThumbTop || y >= bar.xyThumbBottom) return false;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(FHandle, SB_VERT, &si) || si.nMax <= si.nMin) return true;  // nothing to drag
  const int arrow = GetSystemMetrics(SM_CYVSCROLL);
  const int length = (bar.rcScrollBar.bottom - bar.rcScrollBar.top) - 2 * arrow;  // the track
  const int thumb = bar.xyThumbBottom - bar.xyThumbTop;
  const int offset0 = bar.xyThumbTop - arrow;
  const int range = si.nMax - si.nMin;
  const int page = static_cast<int>(si.nPage);
  HWND list = FHandle;
  const std::shared_ptr<bool> alive = FAlive;
  SetCapture(list);
  FPressed = true;
  FHotPart = 5;
  PaintControl(nullptr);
  int pos = si.nPos;  // a press without a move keeps the list where it is
  MSG msg{};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);  // waits: the drag never spins
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the program's end is passed on
      break;
    }
    if (got < 0) break;
    const bool move = msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE;
    const bool up = msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP;
    if (move) {
      POINT cursor{};
      GetCursorPos(&cursor);
      int n = std::max(offset0 + static_cast<int>(cursor.y - screen.y), 0);
      int next = si.nMin;
      if (page != 0) {
        n = std::min(n, length - thumb + 1);
        next = length - thumb > 0 ? si.nMin + MulDiv(n, range - page, length - thumb) : si.nMin;
        if (next >= si.nMax - page) next = si.nMax - page + 1;
      } else {
        next = length > 0 ? si.nMin + MulDiv(std::min(n, length - thumb), range, length) : si.nMin;
        next = std::min(next, si.nMax);
      }
      next = std::max(next, si.nMin);
      if (next != pos) {
        pos = next;
        SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
        if (!*alive || !IsWindow(list)) break;
        PaintControl(nullptr);
      }
      continue;
    }
    if (up) {
      SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
      PostMessageW(list, WM_VSCROLL, SB_ENDSCROLL, 0);
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    // Ended from outside: the capture taken away, the list or this object gone.
    if (!*alive || !IsWindow(list) || GetCapture() != list) break;
  }
  if (IsWindow(list) && GetCapture() == list) ReleaseCapture();
  if (*alive) {
    FPressed = false;
    FHotPart = -1;
    PaintControl(nullptr);
  }
  return true;
}

}  // namespace skin
