// The non-client objects of a skinned window and its menu bar.
#include "skin/manager/WinSkinMenu.h"

#include <algorithm>

#include "Forms.h"
#include "GdiHandles.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

namespace skin {

FW_DEFINE_CLASS(TWinSkinMenu, fw::TComponent)

TMenuTracking MenuTracking;

HFONT MenuFont() {
  return fw::Screen ? fw::Screen->MenuFont().Handle() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

namespace {

// One band bitmap for every band paint of the process.
fw::TBitmap& BandBitmap() {
  static fw::TBitmap bitmap;
  return bitmap;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Bitmaps of the band only grow (in steps, so that a window being sized does not make new ones for
// every few pixels); only their top-left part of the band's size is used.
void Reserve(fw::TBitmap& b, int w, int h) {
  if (b.Width() >= w && b.Height() >= h) return;
  if (b.PixelFormat() != fw::TPixelFormat::pf24bit) b.SetPixelFormat(fw::TPixelFormat::pf24bit);
  b.SetSize(std::max(b.Width(), (w + 255) / 256 * 256), std::max(b.Height(), h));
}

// The item of a framework menu with that command, or whose drop-down is that menu handle.
fw::TMenuItem* FindFrameworkItem(fw::TMenu* menu, UINT command, HMENU subMenu) {
  if (!menu) return nullptr;
  return subMenu ? menu->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(subMenu)), fw::fkHandle)
                 : menu->FindItem(command, fw::fkCommand);
}

}  // namespace

// ---------------------------------------------------------------------------
// TNCObject
// ---------------------------------------------------------------------------

TNCObject::~TNCObject() {
  if (FOwnerForm && FOwnerForm->FHot == this) FOwnerForm->FHot = nullptr;
}

void TNCObject::MouseDown() {
  if (FOwnerForm->FHot && FOwnerForm->FHot != this) FOwnerForm->FHot->MouseLeave();
  if (!FVisible) return;
  FOwnerForm->FHot = this;
  FDrawState = dsPressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!FVisible) return;
  FDrawState = dsHot;
  Paint();
}

void TNCObject::MouseMove() {
  if (FOwnerForm->FHot == this) return;
  if (FOwnerForm->FHot) FOwnerForm->FHot->MouseLeave();
  if (!FVisible) return;
  FOwnerForm->FHot = this;
  FDrawState = dsHot;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!FVisible) return;
  if (FOwnerForm->FHot == this) FOwnerForm->FHot = nullptr;
  FDrawState = dsNormal;
  Paint();
}

void TWinSysButton::Paint() { FOwnerForm->PaintButton(this, FDrawState); }

// ---------------------------------------------------------------------------
// TMenuBtn
// ---------------------------------------------------------------------------

void TMenuBtn::Paint() {
  TWinSkinMenu* bar = FOwnerForm->FMenuBar;
  if (!bar || !FVisible || !FSkinData || FSkinData->NoSkin() || IsRectEmpty(&FBounds)) return;
  fw::TWindowDC dc(FOwnerForm->FHandle, GetWindowDC(FOwnerForm->FHandle));
  if (!dc) return;
  // The band's background under this button, as the last band paint left it.
  const RECT& band = bar->FBandRect;
  const int x = FBounds.left - band.left;
  if (!bar->FBandBuffer.Empty())
    BitBlt(dc, FBounds.left, band.top, Width(FBounds), Height(band), bar->FBandBuffer.Canvas().Handle(), x, 0, SRCCOPY);
  if (FDrawState == dsPressed || FDrawState == dsHot) {
    fw::TBrushHandle outline(CreateSolidBrush(fw::ColorToRGB(FSkinData->Colours().ButtonHilightColour)));
    FrameRect(dc, &FBounds, outline);
  }
  bar->DrawCaption(dc, *this, FBounds);
}

// ---------------------------------------------------------------------------
// TWinSkinMenu
// ---------------------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* form) : fw::TComponent(form), FSkinForm(form) {}

TWinSkinMenu::~TWinSkinMenu() {
  if (MenuTracking.TrackingForm == FSkinForm) MenuTracking.CurrentMenuItem = nullptr;
  FButtons.clear();
}

bool TWinSkinMenu::RightToLeft() const { return FSkinForm && FSkinForm->FRightToLeft; }

void TWinSkinMenu::Build() { ReadButtons(false); }

void TWinSkinMenu::Rebuild() {
  ReadButtons(true);
  Layout();
}

void TWinSkinMenu::ReadButtons(bool rebuild) {
  const HWND window = FSkinForm->FHandle;
  if (HMENU menu = GetMenu(window)) FMenuHandle = menu;
  if (!FMenuHandle) return;
  if (FSkinForm->FForm) {
    FFrameworkMenu = dynamic_cast<fw::TMainMenu*>(FSkinForm->FForm->Menu);
    if (!FFrameworkMenu) return;
  }
  // A rebuild starts afresh: no hot or pressed state survives it.
  if (FSkinForm->FHot && dynamic_cast<TMenuBtn*>(FSkinForm->FHot)) FSkinForm->FHot = nullptr;
  FButtons.clear();
  FCount = GetMenuItemCount(FMenuHandle);
  if (FCount <= 0) {
    FCount = 0;
    SetMenu(window, nullptr);
    return;
  }
  fw::TMenu* root = FFrameworkMenu;
  for (int i = 0; i < FCount; ++i) {
    // The texts are read wide: read through the system's code page they lose their Chinese.
    wchar_t text[81] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 80;
    if (!GetMenuItemInfoW(FMenuHandle, static_cast<UINT>(i), TRUE, &info)) info = MENUITEMINFOW{};
    auto button = std::make_unique<TMenuBtn>(FSkinForm);
    button->FSkinData = FSkinData;
    button->FIndex = i;
    button->FSubMenu = info.hSubMenu;
    button->FEnabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    button->FVisible = true;
    button->FCommand = info.wID;
    button->FCaption = WideFromBuffer(text, 80);
    fw::TMenuItem* item = root ? FindFrameworkItem(root, info.wID, nullptr) : nullptr;
    if (!item && root && info.hSubMenu) item = FindFrameworkItem(root, 0, info.hSubMenu);
    if (item && (!rebuild || button->FCaption.empty())) {
      button->FCaption = item->Caption();
      button->FEnabled = item->Enabled();
      button->FCommand = item->Command();
      button->FSubMenu = item->Count() > 0 ? item->Handle() : nullptr;
      if (!rebuild) button->FItem = item;
    }
    FButtons.push_back(std::move(button));
  }
  SetMenu(window, nullptr);
}

int TWinSkinMenu::ButtonWidth(HDC dc, const std::wstring& caption) const {
  RECT r{0, 0, 0, 0};
  DrawTextWide(dc, caption, r, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
  const int w = r.right - r.left;
  return w > 0 ? w + 10 : 0;
}

int TWinSkinMenu::StartOffset(int bandWidth) const {
  const TDataSkinObject* element = FSkinData ? FSkinData->MenuBar() : nullptr;
  int offset = 6;
  if (element) offset = RightToLeft() ? element->Margins.Right + 8 : element->Margins.Left + 4;
  return bandWidth < offset ? 12 : offset;
}

void TWinSkinMenu::PlaceButtons(HDC dc, int bandWidth, int bandHeight, POINT origin) {
  fw::TSelectObject font(dc, MenuFont());
  const int start = StartOffset(bandWidth);
  int x = RightToLeft() ? bandWidth - start : start;
  for (auto& b : FButtons) {
    if (!b->FVisible) {
      b->FBounds = {};
      continue;
    }
    // A caption's width is measured once per build.
    if (b->FWidth < 0) b->FWidth = ButtonWidth(dc, b->FCaption);
    const int w = b->FWidth;
    if (RightToLeft()) {
      b->FBounds = {origin.x + x - w, origin.y, origin.x + x, origin.y + bandHeight - 1};
      x -= w;
    } else {
      b->FBounds = {origin.x + x, origin.y, origin.x + x + w, origin.y + bandHeight - 1};
      x += w;
    }
  }
}

void TWinSkinMenu::Layout() {
  if (!FSkinForm || !FSkinForm->FHandle) return;
  RECT wr{};
  GetWindowRect(FSkinForm->FHandle, &wr);
  const RECT band{FSkinForm->FBorderLeft, FSkinForm->FCaptionHeight, Width(wr) - FSkinForm->FBorderRight,
                  FSkinForm->FCaptionHeight + FSkinForm->FMenuHeight};
  if (Width(band) <= 0 || Height(band) <= 0) return;
  fw::TWindowDC screen(nullptr);
  PlaceButtons(screen, Width(band), Height(band), {band.left, band.top});
}

void TWinSkinMenu::DrawCaption(HDC dc, const TMenuBtn& button, const RECT& r) const {
  fw::TSelectObject font(dc, MenuFont());
  const TSkinColours& colours = FSkinData->Colours();
  const COLORREF old = SetTextColor(
      dc, fw::ColorToRGB(button.FEnabled ? colours.MenuBarTextColour : colours.ButtonShadowColour));
  DrawCaptionText(dc, r, DT_CENTER | DT_SINGLELINE, true, button.FCaption, RightToLeft() ? DT_RTLREADING : 0);
  SetTextColor(dc, old);
}

void TWinSkinMenu::Paint(HDC dc, const RECT& rect) {
  const int w = Width(rect), h = Height(rect);
  if (!dc || w <= 0 || h <= 0 || !FSkinData || FSkinData->NoSkin()) return;
  fw::TBitmap& band = BandBitmap();
  Reserve(band, w, h);
  HDC b = band.Canvas().Handle();
  const RECT all{0, 0, w, h};
  TDataSkinObject* element = FSkinData->MenuBar();
  // The element's two frames stacked, opaque, straight into the band.
  if (!element ||
      !BuildSkinImage(band, all, element->Bitmap, element->Margins, true, element->Tile == 1, 2,
                      FSkinForm->FActive ? 1 : 2)) {
    fw::TBrushHandle fill(CreateSolidBrush(fw::ColorToRGB(FSkinData->Colours().MenubarColour)));
    FillRect(b, &all, fill);
  }
  FBandRect = rect;
  Reserve(FBandBuffer, w, h);
  BitBlt(FBandBuffer.Canvas().Handle(), 0, 0, w, h, b, 0, 0, SRCCOPY);

  FPainting = true;
  PlaceButtons(b, w, h, {0, 0});
  for (auto& button : FButtons) {
    if (!button->FVisible || IsRectEmpty(&button->FBounds)) continue;
    DrawCaption(b, *button, button->FBounds);
    OffsetRect(&button->FBounds, rect.left, rect.top);
  }
  FPainting = false;

  // The three buttons of a maximised MDI child sit at the band's right end.
  if (FSkinForm->FMDIRole == mrFrame && SkinManager && SkinManager->FMDIClient) {
    BOOL maximised = FALSE;
    SendMessageW(SkinManager->FMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised));
    if (maximised) {
      for (const auto& sys : FSkinForm->SysButtons()) {
        if (!sys->FElement || sys->FElement->Visibility != 100 || sys->FElement->Bitmap.Empty()) continue;
        RECT r = sys->FBounds;
        OffsetRect(&r, -FSkinForm->FBorderLeft, -FSkinForm->FCaptionHeight);
        DrawStripFrame(b, r, sys->FElement->Bitmap, true, std::max(sys->FElement->FrameCount, 1), 1);
      }
      if (!SkinManager->FMDIMaximized) SkinManager->SetMDIMaximized(true);
    }
  }
  BitBlt(dc, rect.left, rect.top, w, h, b, 0, 0, SRCCOPY);
}

TMenuBtn* TWinSkinMenu::ButtonAt(POINT p) const {
  for (const auto& b : FButtons)
    if (b->FVisible && !b->FCaption.empty() && PtInRect(&b->FBounds, p)) return b.get();
  return nullptr;
}

TMenuBtn* TWinSkinMenu::NeighbourButton(bool next) const {
  if (FButtons.empty()) return nullptr;
  const int n = static_cast<int>(FButtons.size());
  const int open = MenuTracking.OpenButtonIndex;
  int i = next ? open + 1 : open - 1;
  if (i >= n) i = 0;
  if (i < 0) i = n - 1;
  return FButtons[static_cast<std::size_t>(i)].get();
}

// ---------------------------------------------------------------------------
// Menu tracking
// ---------------------------------------------------------------------------

void StartTracking() {
  MenuTracking.Switching = false;
  MenuTracking.FirstMessageSeen = false;
  GetCursorPos(&MenuTracking.LastMousePos);
  if (!MenuTracking.FilterHook)
    MenuTracking.FilterHook = SetWindowsHookExW(WH_MSGFILTER, &MenuFilterHook, nullptr, GetCurrentThreadId());
}

void EndTracking() {
  // The opening key, if nobody took it.
  if (HWND target = std::exchange(MenuTracking.DownTarget, nullptr); target && IsWindow(target)) {
    MSG m;
    if (PeekMessageW(&m, target, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && m.wParam == VK_DOWN &&
        m.lParam == kOpeningKeyMark)
      PeekMessageW(&m, target, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
  }
  if (MenuTracking.FilterHook) UnhookWindowsHookEx(MenuTracking.FilterHook);
  MenuTracking.FilterHook = nullptr;
  MenuTracking.CurrentMenuItem = nullptr;
  MenuTracking.OpenButtonIndex = -1;
  MenuTracking.FirstMessageSeen = false;
}

void TrackMenuSelect(WPARAM wParam, LPARAM lParam) {
  TWinSkinForm* form = MenuTracking.TrackingForm;
  if (!form) return;
  if (HIWORD(wParam) == 0xFFFF && lParam == 0) {
    if (!MenuTracking.Switching) form->FTracking = false;
    return;
  }
  MenuTracking.Switching = false;
  TWinSkinMenu* bar = form->FMenuBar;
  if (!bar || !bar->FFrameworkMenu) return;
  fw::TMenu* root = bar->FFrameworkMenu;
  if (HIWORD(wParam) & MF_POPUP)
    MenuTracking.CurrentMenuItem =
        FindFrameworkItem(root, 0, GetSubMenu(reinterpret_cast<HMENU>(lParam), LOWORD(wParam)));
  else
    MenuTracking.CurrentMenuItem = FindFrameworkItem(root, LOWORD(wParam), nullptr);
}

LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  // A right-to-left menu swaps the arrow keys (key messages only).
  fw::TMenuItem* current = MenuTracking.CurrentMenuItem;
  if (msg && current && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP)) {
    fw::TMenu* menu = current->GetParentMenu();
    if (menu && MenuTracking.TrackingForm && MenuTracking.TrackingForm->FRightToLeft) {
      if (msg->wParam == VK_LEFT) msg->wParam = VK_RIGHT;
      else if (msg->wParam == VK_RIGHT) msg->wParam = VK_LEFT;
    }
  }
  const LRESULT result = CallNextHookEx(MenuTracking.FilterHook, code, wParam, lParam);
  if (result != 0 || code != MSGF_MENU || !msg) return result;
  TWinSkinForm* form = MenuTracking.TrackingForm;
  if (!form) return result;
  try {
    if (!MenuTracking.FirstMessageSeen) {
      // The drop-down opens with its first item selected. The key is marked, so that a menu closed
      // before it arrived does not leave it to the window.
      MenuTracking.FirstMessageSeen = true;
      MenuTracking.DownTarget = msg->hwnd;
      PostMessageW(msg->hwnd, WM_KEYDOWN, VK_DOWN, kOpeningKeyMark);
    }
    TWinSkinMenu* bar = form->FMenuBar;
    TMenuBtn* target = nullptr;
    switch (msg->message) {
      case WM_KEYDOWN:
        if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
          MenuTracking.Switching = false;
        } else if (msg->wParam == VK_LEFT) {
          const HMENU tracked = form->FTrackedMenu;
          const bool inSubmenu = current && current->Parent() && current->Parent()->Handle() != tracked &&
                                 !(current->Count() > 0 && current->Handle() == tracked);
          if (!inSubmenu && bar) target = bar->NeighbourButton(false);
        } else if (msg->wParam == VK_RIGHT) {
          if (!(current && current->Count() > 0) && bar) target = bar->NeighbourButton(true);
        }
        break;
      case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU) form->FTracking = false;
        return result;
      case WM_MENUSELECT:
        TrackMenuSelect(msg->wParam, msg->lParam);
        return result;
      case WM_MOUSEMOVE: {
        const POINT screen = msg->pt;
        if (screen.x != MenuTracking.LastMousePos.x || screen.y != MenuTracking.LastMousePos.y) {
          MenuTracking.LastMousePos = screen;
          const POINT w = form->ScreenToWindow(screen.x, screen.y);
          if (bar) target = bar->ButtonAt(w);
        }
        break;
      }
      default:
        break;
    }
    if (target && target->FIndex != MenuTracking.OpenButtonIndex) {
      // The open drop-down ends first; the press posted after it opens the target's once the
      // menu's loop has returned (inside the loop it would open a second drop-down over the first).
      MenuTracking.Switching = true;
      EndMenu();
      form->ClickMenuButton(target);
      MenuTracking.MenuSwitched = true;
    }
  } catch (...) {
    fw::HandleCallbackException(nullptr);
  }
  return result;
}

}  // namespace skin
