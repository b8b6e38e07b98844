// TWinSkinForm: the caption buttons (which show, where, in which state), the non-client hit test
// and mouse, the window commands the buttons give, and the skinned system menu.
#include <windows.h>

#include <algorithm>

#include "GdiHandles.h"
#include "Menus.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"
#include "skin/manager/WinSkinMenu.h"

// After the framework headers: it defines macros with the names of functions they declare.
#include <windowsx.h>

namespace skin {

namespace {

// What a caption button does when clicked (its element's Action).
enum TCaptionAction : int {
  caClose = 0, caMaximize = 1, caMinimize = 2, caIcon = 3, caMDIMinimize = 7, caMDIRestore = 8, caMDIClose = 9,
  caIcon2 = 11, caIcon3 = 12, caMaximize2 = 22, caMinimize2 = 23, caMDIMinimize2 = 60, caMDIRestore2 = 61,
  caMDIClose2 = 62
};

bool IsIconAction(int a) { return a == caIcon || a == caIcon2 || a == caIcon3; }
bool DrawsIcon(int a) { return a == caIcon || a == caIcon2; }
constexpr UINT kSysMenuTag = 33333;

int Width(const RECT& r) { return r.right - r.left; }

// The window's size grip codes for a point on a sizable skinned border.
LRESULT SizingCode(const POINT& p, int width, int height, int left, int top, int right, int bottom) {
  const bool onLeft = p.x < left, onRight = p.x >= width - right;
  const bool onTop = p.y < std::min(top, 4), onBottom = p.y >= height - bottom;
  // Corners are as wide as the caption band is high, or 16 pixels at least.
  const int corner = std::max(16, top);
  const bool nearLeft = p.x < corner, nearRight = p.x >= width - corner;
  const bool nearTop = p.y < corner, nearBottom = p.y >= height - corner;
  if ((onLeft && nearTop) || (onTop && nearLeft)) return HTTOPLEFT;
  if ((onRight && nearTop) || (onTop && nearRight)) return HTTOPRIGHT;
  if ((onLeft && nearBottom) || (onBottom && nearLeft)) return HTBOTTOMLEFT;
  if ((onRight && nearBottom) || (onBottom && nearRight)) return HTBOTTOMRIGHT;
  if (onLeft) return HTLEFT;
  if (onRight) return HTRIGHT;
  if (onTop) return HTTOP;
  if (onBottom) return HTBOTTOM;
  return HTNOWHERE;
}

}  // namespace

// ---------------------------------------------------------------------------
// Creating, showing and placing the buttons
// ---------------------------------------------------------------------------

void TWinSkinForm::CreateSysButtons() {
  ComputeFrameWidths();
  FHot = nullptr;
  FSysButtons.clear();
  if (!FSkinData || FSkinData->NoSkin()) return;
  for (const auto& element : FSkinData->CaptionButtons()) {
    if (DrawsIcon(element->Action)) LoadIcon();
    FSysButtons.push_back(std::make_unique<TWinSysButton>(this, element.get()));
  }
}

// Also forgets what was built from the skin, which may be about to change.
void TWinSkinForm::FreeSysButtons() {
  FHot = nullptr;
  FSysButtons.clear();
  ForgetBorderImages();
}

bool TWinSkinForm::ButtonVisible(int index) {
  if (index < 0 || index >= static_cast<int>(FSysButtons.size())) return false;
  TWinSysButton& button = *FSysButtons[static_cast<std::size_t>(index)];
  const TDataSkinSysButton& e = *button.FElement;
  const bool maximised = FShowState == ssMaximized;
  const auto condition = [&](int v, bool second) -> bool {
    switch (v) {
      case 0: return true;
      case 1: return maximised;
      case 2: return !maximised;
      case 3: return FActive;
      case 4: return !FActive;
      case 6:
      case 8:
        return second ? (FCanMinimize || FCanMaximize) : ((FCanMinimize || FCanMaximize) && FHasSysMenu);
      case 7: return !FCanMaximize;
      case 9: return !FCanMinimize;
      case 100: return MDIChildButtonsShown();
      case 200: return !FIsDialog && FFrameKind == fkDialog;
      default: break;
    }
    if (v >= 201 && v <= 999) return true;
    if (v >= 1000 && v <= 2000)
      return second || SendMessageW(FHandle, WM_SKIN_BUTTONVISIBLE, static_cast<WPARAM>(v), e.Action) > 0;
    return false;  // -1, 5, 10..99, 101..199 and above 2000
  };
  const int second = e.Visibility == 100 ? e.Visibility : e.Visibility1;
  bool visible = condition(e.Visibility, false) && condition(second, true);
  switch (e.Action) {
    case caClose:
      if (!FHasSysMenu) visible = false;
      break;
    case caMaximize: button.FEnabled = FCanMaximize && FHasSysMenu; break;
    case caMinimize: button.FEnabled = FCanMinimize && FHasSysMenu; break;
    default:
      if (IsIconAction(e.Action) && FFrameKind == fkDialog) visible = false;
      break;
  }
  button.FVisible = visible;
  return visible;
}

// The active child of this MDI frame is maximised and the band holds the menu bar: the child's
// three buttons are drawn in the band.
bool TWinSkinForm::MDIChildButtonsShown() const {
  if (FMDIRole != mrFrame || !FClientWnd || !FMenuBar) return false;
  BOOL maximised = FALSE;
  return SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)) && maximised;
}

SIZE TWinSkinForm::ButtonSize(const TWinSysButton& button) const {
  const TDataSkinSysButton& e = *button.FElement;
  if (e.Bitmap.Empty()) {
    // An icon button of a skin without its own image shows the window icon.
    if (DrawsIcon(e.Action)) return {FIconSize, FIconSize};
    return {0, 0};
  }
  const int frames = DrawsIcon(e.Action) ? 1 : std::max(e.FrameCount, 1);
  return {e.Bitmap.Width() / frames, e.Bitmap.Height()};
}

void TWinSkinForm::LayoutSysButtons() {
  RECT wr{};
  GetWindowRect(FHandle, &wr);
  const int W = wr.right - wr.left;
  const TDataSkinObject* menuBar = FSkinData ? FSkinData->MenuBar() : nullptr;
  for (int i = 0; i < static_cast<int>(FSysButtons.size()); ++i) {
    TWinSysButton& b = *FSysButtons[static_cast<std::size_t>(i)];
    if (!ButtonVisible(i)) continue;
    const SIZE s = ButtonSize(b);
    if (s.cx <= 0 || s.cy <= 0) continue;
    const TDataSkinSysButton& e = *b.FElement;
    POINT p{0, 0};
    switch (e.Align) {
      case 0: p = {e.Xcoord, e.Ycoord}; break;
      case 1: p = {W - e.Xcoord, e.Ycoord}; break;  // FButtonsLeft: LayoutRightButtons
      case 2:
      case 8: p = {FTitleRect.left - s.cx - e.Xcoord, e.Ycoord}; break;
      case 3:
      case 9: p = {FTitleRect.right + e.Xcoord, e.Ycoord}; break;
      case 100:
        p = {W - e.Xcoord - FBorderRight - (menuBar ? menuBar->Margins.Left : 0),
             FCaptionHeight + (FMenuHeight - s.cy) / 2};
        break;
      default: break;
    }
    b.FBounds = {p.x, p.y, p.x + s.cx, p.y + s.cy};
  }
}

// The left edge of the right-anchored buttons, before the title is placed against it: the
// leftmost of them, so that a pop-up window's title stops short of all of them (not only of the
// outermost, which would run the text under the others). Kept when there are none.
void TWinSkinForm::LayoutRightButtons() {
  RECT wr{};
  GetWindowRect(FHandle, &wr);
  const int W = wr.right - wr.left;
  int leftmost = 0;
  for (int i = 0; i < static_cast<int>(FSysButtons.size()); ++i) {
    const TWinSysButton& b = *FSysButtons[static_cast<std::size_t>(i)];
    if (b.FElement->Align != 1 || !ButtonVisible(i) || ButtonSize(b).cx <= 0) continue;
    const int left = W - b.FElement->Xcoord;
    if (left > 0 && (leftmost == 0 || left < leftmost)) leftmost = left;
  }
  if (leftmost > 0) FButtonsLeft = leftmost;
}

// ---------------------------------------------------------------------------
// Drawing the buttons
// ---------------------------------------------------------------------------

void TWinSkinForm::DrawButtonFrame(HDC dc, const TWinSysButton& b, int frame) {
  const TDataSkinSysButton& e = *b.FElement;
  if (DrawsIcon(e.Action)) {
    DrawIcon(dc, b.FBounds);
    return;
  }
  if (e.Bitmap.Empty()) return;
  const int frames = std::max(e.FrameCount, 1);
  DrawStripFrame(dc, b.FBounds, const_cast<fw::TBitmap&>(e.Bitmap), true, frames, std::min(frame, frames));
}

void TWinSkinForm::PaintSysButtons(fw::TCanvas& canvas) {
  HDC dc = canvas.Handle();
  for (const auto& b : FSysButtons) {
    if (!b->FVisible || IsRectEmpty(&b->FBounds) || b->FElement->Visibility == 100) continue;
    const int frames = std::max(b->FElement->FrameCount, 1);
    int frame = FActive && b->FEnabled ? dsNormal : dsDisabled;
    if (frames < 4) frame = dsNormal;
    DrawButtonFrame(dc, *b, frame);
    b->FDrawState = dsNormal;
  }
}

void TWinSkinForm::PaintButton(TWinSysButton* button, int state) {
  if (!button || !FHandle || FState != fsRunning || !FSkinData || FSkinData->NoSkin()) return;
  const TDataSkinSysButton& e = *button->FElement;
  if (!button->FVisible || IsRectEmpty(&button->FBounds)) return;
  const int frames = std::max(e.FrameCount, 1);
  int frame = state;
  if (!button->FEnabled) frame = frames > 3 ? dsDisabled : dsNormal;
  if (e.Visibility == 100 && state == dsHot) frame = dsDisabled;
  fw::TWindowDC dc(FHandle, GetWindowDC(FHandle));
  if (!dc) return;
  // The button's place is repainted from the caption band first, so that a keyed image in a
  // lighter state leaves nothing of the last one.
  const RECT& r = button->FBounds;
  if (e.Visibility != 100 && !FCaptionBuffer.Empty() && r.bottom <= FCaptionBuffer.Height())
    BitBlt(dc, r.left, r.top, Width(r), r.bottom - r.top, FCaptionBuffer.Canvas().Handle(), r.left, r.top, SRCCOPY);
  else if (e.Visibility == 100 && FMenuBar && !FMenuBar->FBandBuffer.Empty())
    BitBlt(dc, r.left, r.top, Width(r), r.bottom - r.top, FMenuBar->FBandBuffer.Canvas().Handle(),
           r.left - FMenuBar->FBandRect.left, r.top - FMenuBar->FBandRect.top, SRCCOPY);
  DrawButtonFrame(dc, *button, frame);
}

// ---------------------------------------------------------------------------
// Finding what is under the mouse
// ---------------------------------------------------------------------------

POINT TWinSkinForm::ScreenToWindow(int x, int y) const {
  POINT p{static_cast<short>(x), static_cast<short>(y)};
  ScreenToClient(FHandle, &p);
  if (!(FMDIRole == mrChild && IsIconic(FHandle))) {
    p.x += FBorderLeft;
    p.y += FCaptionHeight + FMenuHeight;
  }
  return p;
}

TWinSysButton* TWinSkinForm::ButtonAt(POINT p) const {
  for (const auto& b : FSysButtons)
    if (b->FVisible && b->FElement->Action >= 0 && PtInRect(&b->FBounds, p)) return b.get();
  return nullptr;
}

TNCObject* TWinSkinForm::ObjectAt(POINT p) const {
  if (TWinSysButton* b = ButtonAt(p)) return b;
  return FMenuBar ? FMenuBar->ButtonAt(p) : nullptr;
}

// The system answers "nowhere" over most of a skinned border wider than its own, and may answer
// with its caption buttons over the skinned caption; the skin's own bands decide instead.
LRESULT TWinSkinForm::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
  const LRESULT system = CallOld(WM_NCHITTEST, wParam, lParam);
  if (system == HTCLIENT || system == HTVSCROLL || system == HTHSCROLL) return system;
  const POINT p = ScreenToWindow(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  RECT wr{};
  GetWindowRect(FHandle, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (p.x < 0 || p.y < 0 || p.x >= w || p.y >= h) return system;
  const bool restored = FShowState == ssNormal;
  if (FSizeable && restored) {
    const LRESULT sizing = SizingCode(p, w, h, FBorderLeft, FCaptionHeight, FBorderRight, FBorderBottom);
    if (sizing != HTNOWHERE) return sizing;
  }
  const bool inside = p.x >= FBorderLeft && p.x < w - FBorderRight;
  if (inside && p.y < FCaptionHeight) return HTCAPTION;
  if (inside && FMenuHeight > 0 && p.y < FCaptionHeight + FMenuHeight) return HTMENU;
  // A fixed frame's border, or a part of the frame the system claims for its own buttons.
  switch (system) {
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP:
    case HTSYSMENU:
    case HTNOWHERE:
      return p.y < FCaptionHeight ? HTCAPTION : HTBORDER;
    default:
      return FSizeable && restored ? system : HTBORDER;
  }
}

// ---------------------------------------------------------------------------
// Non-client mouse
// ---------------------------------------------------------------------------

bool TWinSkinForm::OnNcMouseMove(WPARAM, LPARAM lParam) {
  if (!FActive) return true;  // dropped
  const POINT p = ScreenToWindow(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  if (TNCObject* o = ObjectAt(p)) {
    // A button pressed and then left is shown pressed again only when the mouse comes back.
    if (!FPressed || FPressed == o) o->MouseMove();
    if (FPressed == o && o->FDrawState != dsPressed) {
      o->FDrawState = dsPressed;
      o->Paint();
    }
    return true;
  }
  if (FHot) FHot->MouseLeave();
  FHot = nullptr;
  return false;
}

bool TWinSkinForm::OnNcLButtonDown(WPARAM& wParam, LPARAM lParam) {
  const POINT p = ScreenToWindow(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  TNCObject* o = ObjectAt(p);
  if (!o) {
    // A maximised window is not dragged by its caption.
    if (FShowState == ssMaximized && FActive && wParam == HTCAPTION) wParam = HTMENU;
    return false;
  }
  if (auto* menuButton = dynamic_cast<TMenuBtn*>(o);
      menuButton && wParam != HTCLIENT && menuButton->FIndex == FClosedButton &&
      GetTickCount() - FClosedTick <= FDoubleClickTime) {
    // The click that closed this button's drop-down, handed on by the system: it stays closed.
    FClosedButton = -1;
    menuButton->MouseMove();
    return true;
  }
  FClosedButton = -1;
  if (!FActive) SetForegroundWindow(FHandle);
  o->MouseDown();
  if (auto* menuButton = dynamic_cast<TMenuBtn*>(o)) {
    FHot = menuButton;
    const std::shared_ptr<bool> alive = FAlive;
    TrackMenuButton(menuButton);
    if (!*alive) return true;
    // The drop-down is closed: the button shows where the cursor is now.
    SettleHotObject();
    return true;
  }
  // A caption button: the action runs only if the mouse is released over it again.
  FPressed = o;
  SetCapture(FHandle);
  return true;
}

// The release of a press on a caption button (the window holds the capture meanwhile): the
// action runs only when it happens over the same button.
bool TWinSkinForm::ReleasePress(POINT screen) {
  TNCObject* pressed = std::exchange(FPressed, nullptr);
  if (!pressed) return false;
  if (GetCapture() == FHandle) ReleaseCapture();
  const POINT p = ScreenToWindow(screen.x, screen.y);
  auto* button = dynamic_cast<TWinSysButton*>(pressed);
  if (button && ObjectAt(p) == button) {
    button->MouseUp();
    RunAction(*button);
  } else {
    pressed->MouseLeave();
    SettleHotObject();
  }
  return true;
}

bool TWinSkinForm::OnNcLButtonUp(WPARAM, LPARAM lParam) {
  const POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (FPressed) return ReleasePress(screen);
  return ObjectAt(ScreenToWindow(screen.x, screen.y)) != nullptr;  // consumed over a button
}

// The window holds the capture while a caption button is pressed: the mouse is followed in
// client coordinates until it is released.
bool TWinSkinForm::OnCapturedMouse(UINT msg, LPARAM lParam) {
  if (!FPressed) return false;
  POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(FHandle, &screen);
  if (msg == WM_LBUTTONUP) return ReleasePress(screen);
  const POINT p = ScreenToWindow(screen.x, screen.y);
  const bool over = ObjectAt(p) == FPressed;
  const int state = over ? dsPressed : dsNormal;
  if (FPressed->FDrawState != state) {
    FPressed->FDrawState = state;
    FPressed->Paint();
  }
  return true;
}

bool TWinSkinForm::OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam) {
  const POINT p = ScreenToWindow(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  if (TWinSysButton* b = ButtonAt(p)) {
    if (IsIconAction(b->FElement->Action)) {
      if (FTimer) FTimer->SetEnabled(false);
      PostMessageW(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    }
    // A fast second click on a button is its second press.
    WPARAM code = wParam;
    return OnNcLButtonDown(code, lParam);
  }
  if (FMenuBar && FMenuBar->ButtonAt(p)) {
    WPARAM code = wParam;
    return OnNcLButtonDown(code, lParam);
  }
  // Only the caption itself toggles the window; a border or the menu band does nothing.
  if (wParam != HTCAPTION) return wParam == HTMENU || wParam == HTBORDER;
  if (FShowState != ssNormal) {
    Restore();
    return true;
  }
  if (FCanMaximize) {
    ToggleMaximize();
    return true;
  }
  return false;
}

bool TWinSkinForm::OnNcRButtonDown(WPARAM wParam, LPARAM lParam) {
  if (wParam != HTCAPTION || FMDIRole == mrChild) return false;
  ShowSysMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  return true;
}

// After a drop-down or a press has ended, the object under the cursor is hot, the others normal.
void TWinSkinForm::SettleHotObject() {
  POINT cursor{};
  GetCursorPos(&cursor);
  const POINT p = ScreenToWindow(cursor.x, cursor.y);
  TNCObject* under = ObjectAt(p);
  if (FHot && FHot != under) FHot->MouseLeave();
  if (under && WindowFromPoint(cursor) == FHandle) {
    under->MouseMove();
    if (under->FDrawState != dsHot) {
      under->FDrawState = dsHot;
      under->Paint();
    }
  }
}

void TWinSkinForm::TimerTick(fw::TObject*) {
  if (FTracking || FPressed || !FHot) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const POINT p = ScreenToWindow(cursor.x, cursor.y);
  if (!PtInRect(&FHot->FBounds, p) || WindowFromPoint(cursor) != FHandle) {
    TNCObject* hot = std::exchange(FHot, nullptr);
    hot->MouseLeave();
  }
}

// ---------------------------------------------------------------------------
// Actions
// ---------------------------------------------------------------------------

void TWinSkinForm::RunAction(TWinSysButton& button) {
  const int action = button.FElement->Action;
  switch (action) {
    case caClose:
      if (HasCloseItem()) {
        if (FTimer) FTimer->SetEnabled(false);
        PostMessageW(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return;
    case caMaximize:
    case caMaximize2:
      if (button.FEnabled) ToggleMaximize();
      return;
    case caMinimize:
    case caMinimize2:
      if (button.FEnabled) ToggleMinimize();
      return;
    case caIcon:
    case caIcon2:
    case caIcon3: {
      POINT p{button.FBounds.left, button.FBounds.bottom};
      ClientToScreen(FHandle, &p);
      p.x -= FBorderLeft - 1;
      p.y -= FCaptionHeight + FMenuHeight - 1;
      ShowSysMenu(p);
      return;
    }
    case caMDIMinimize:
    case caMDIMinimize2: SendToActiveChild(SC_MINIMIZE); return;
    case caMDIRestore:
    case caMDIRestore2: SendToActiveChild(SC_RESTORE); return;
    case caMDIClose:
    case caMDIClose2: SendToActiveChild(SC_CLOSE); return;
    default:
      PostMessageW(FHandle, WM_SKIN_CUSTOMBUTTON, static_cast<WPARAM>(action), 0);
      return;
  }
}

void TWinSkinForm::ToggleMaximize() {
  if (FShowState == ssMaximized) {
    Restore();
    return;
  }
  if (FMDIRole == mrChild && SkinManager) SkinManager->SetMDIMaximized(true);
  FShowState = ssMaximized;
  PostMessageW(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  FHot = nullptr;
}

void TWinSkinForm::ToggleMinimize() {
  if (FShowState == ssMinimized) {
    Restore();
    return;
  }
  FShowState = ssMinimized;
  SetSysMenuStyle(true);
  PostMessageW(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::Restore() {
  FShowState = ssNormal;
  PostMessageW(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::SendToActiveChild(UINT command) {
  if (FMDIRole != mrFrame || !FClientWnd) return;
  if (auto child = reinterpret_cast<HWND>(SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0, 0)))
    SendMessageW(child, WM_SYSCOMMAND, command, 0);
}

bool TWinSkinForm::HasCloseItem() const {
  const HMENU menu = FSysMenuHandle ? FSysMenuHandle : GetSystemMenu(FHandle, FALSE);
  if (!menu) return false;
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  return GetMenuItemInfoW(menu, SC_CLOSE, FALSE, &info) != FALSE;
}

// ---------------------------------------------------------------------------
// The skinned system menu
// ---------------------------------------------------------------------------

void TWinSkinForm::ShowSysMenu(POINT p) {
  const DWORD now = GetTickCount();
  // Ticks wrap after 49.7 days: the difference is taken unsigned.
  if (FLastSysMenuTick == 0 || now - FLastSysMenuTick > FDoubleClickTime) {
    if (SkinManager) SkinManager->FMenuMode = 2;
    FLastSysMenuTick = now;
    BuildSysMenu();
    if (!FSysMenu) return;
    const std::shared_ptr<bool> alive = FAlive;
    FTracking = true;
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(FSysMenu->Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                           p.x, p.y, FHandle, nullptr));
    if (!*alive) return;
    FTracking = false;
    if (chosen)
      if (fw::TMenuItem* item = FSysMenu->FindItem(chosen)) item->Click();
    SettleHotObject();
  } else if (FHot) {
    // A second click within the double-click time closes the window.
    if (FTimer) FTimer->SetEnabled(false);
    PostMessageW(FHandle, WM_CLOSE, 0, 0);
  }
}

void TWinSkinForm::BuildSysMenu() {
  FSysMenu.reset();
  HMENU system = GetSystemMenu(FHandle, FALSE);
  if (!system) system = FSysMenuHandle;  // the style without its system-menu bit, while skinned
  if (!system) return;
  FSysMenuHandle = system;
  auto menu = std::make_unique<fw::TPopupMenu>(nullptr);
  menu->Tag = kSysMenuTag;
  // The glyphs of restore, maximise, minimise and close; the items are drawn through the
  // window's owner-draw messages (OwnerDrawSysMenu).
  if (FSkinData) menu->SetImages(&FSkinData->MenuGlyphs());
  const int count = GetMenuItemCount(system);
  for (int i = 0; i < count; ++i) {
    wchar_t text[81] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 80;
    if (!GetMenuItemInfoW(system, static_cast<UINT>(i), TRUE, &info)) continue;
    auto* item = new fw::TMenuItem(menu.get());
    const std::wstring caption = WideFromBuffer(text, 80);
    item->SetCaption(caption.empty() || (info.fType & MFT_SEPARATOR) ? L"-" : caption);
    item->Tag = static_cast<std::intptr_t>(info.wID);
    bool enabled = true;
    int image = -1;
    switch (info.wID & 0xFFF0) {
      case SC_SIZE:
      case SC_MOVE: enabled = FShowState != ssMaximized; break;
      case SC_MINIMIZE:
        image = 2;
        enabled = FShowState != ssMinimized && FCanMinimize;
        break;
      case SC_MAXIMIZE:
        image = 1;
        enabled = FShowState != ssMaximized && FCanMaximize;
        break;
      case SC_CLOSE: image = 3; break;
      case SC_RESTORE:
        image = 0;
        enabled = FShowState != ssNormal;
        break;
      default: break;
    }
    if ((info.fState & (MFS_GRAYED | MFS_DISABLED)) == (MFS_GRAYED | MFS_DISABLED)) enabled = false;
    item->SetEnabled(enabled);
    item->SetChecked((info.fState & MFS_CHECKED) != 0);
    item->SetImageIndex(image);
    item->OnClick = fw::TNotifyEvent::Of<&TWinSkinForm::SysMenuClick>(this);
    item->OnMeasureItem = fw::TMenuMeasureItemEvent::Of<&TWinSkinForm::MeasurePopupItem>(this);
    item->OnDrawItem = fw::TMenuDrawItemEvent::Of<&TWinSkinForm::DrawMenuItem>(this);
    menu->Items()->Add(item);
  }
  FSysMenu = std::move(menu);
}

// The skinned system menu's items are measured and drawn by the menu itself, for a window of
// any kind (the system sends the messages to the window that owns the open menu).
bool TWinSkinForm::OwnerDrawSysMenu(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (wParam != 0 || !FSysMenu || !FTracking) return false;
  fw::TMessage m{msg, wParam, lParam, 0};
  if (!FSysMenu->DispatchDrawMessage(FHandle, m)) return false;
  result = TRUE;
  return true;
}

void TWinSkinForm::SysMenuClick(fw::TObject* sender) {
  if (auto* item = dynamic_cast<fw::TMenuItem*>(sender))
    PostMessageW(FHandle, WM_SYSCOMMAND, static_cast<WPARAM>(item->Tag), 0);
}

// ---------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------

bool TWinSkinForm::OnSysCommand(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const UINT command = static_cast<UINT>(wParam & 0xFFF0);
  if (!FTracking && command == SC_KEYMENU && GetCapture() == nullptr) {
    const auto key = static_cast<wchar_t>(LOWORD(lParam));
    if (key == L' ') {
      // Alt+Space: the skinned system menu at the client area's top-left.
      POINT p{0, 0};
      ClientToScreen(FHandle, &p);
      ShowSysMenu(p);
      FLastSysMenuTick = 0;
      result = 0;
      return true;
    }
    if (key != L'-') {
      TMenuBtn* button = nullptr;
      if (key == 0) button = FMenuBar && FMenuBar->Count() > 0 ? FMenuBar->Button(0) : nullptr;
      else button = FindAccelButton(key);
      if (key == 0 || button) {
        if (button) TrackMenuButton(button);
        result = 1;
        return true;
      }
    }
  }
  switch (command) {
    case SC_MINIMIZE:
      FShowState = ssMinimized;
      if (FMDIRole == mrChild) SetCaptionStyle(true);
      break;
    case SC_MAXIMIZE: FShowState = ssMaximized; break;
    case SC_RESTORE:
      FShowState = ssNormal;
      if (FMDIRole == mrChild) {
        SetCaptionStyle(false);
        if (SkinManager && SkinManager->FMDIMaximized) SkinManager->SetMDIMaximized(false);
      }
      break;
    default: break;
  }
  return false;
}

bool TWinSkinForm::OnCommand(WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
      PostMessageW(FHandle, WM_SYSCOMMAND, LOWORD(wParam), 0);
      return true;
    default: return false;
  }
}

}  // namespace skin
