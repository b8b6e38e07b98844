// The skin of one popup menu window: the frame and the background drawn from the skin's menu
// background element, the image kept for the form's item drawing, and the printed picture.
#include "skin/manager/WinSkinPopMenu.h"

#include "GdiHandles.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/manager/SkinManage.h"

namespace skin {

namespace {

constexpr DWORD kDcxUseStyle = 0x10000;

SIZE WindowSize(HWND window, bool& ok) {
  RECT r{};
  ok = GetWindowRect(window, &r) != FALSE;
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

TWinSkinPopMenu::TWinSkinPopMenu() = default;

TWinSkinPopMenu::~TWinSkinPopMenu() {
  *FAlive = false;
  Unhook();
}

void TWinSkinPopMenu::Attach(HWND window, TSkinData* skinData, HMENU menu) {
  FHandle = window;
  FSkinData = skinData;
  FMenu = menu;
  FHook.Install(window, &TWinSkinPopMenu::Entry, this);
  FMenuBarPopup = false;
}

void TWinSkinPopMenu::Unhook() {
  if (!FHook.Installed()) return;
  FHook.Remove();
  FBitmap.SetSize(0, 0);
}

POINT TWinSkinPopMenu::ClientOrigin() const {
  RECT window{};
  POINT client{0, 0};
  if (!IsWindow(FHandle) || !GetWindowRect(FHandle, &window) || !ClientToScreen(FHandle, &client)) return {0, 0};
  return {client.x - window.left, client.y - window.top};
}

LRESULT CALLBACK TWinSkinPopMenu::Entry(void* self, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* popup = static_cast<TWinSkinPopMenu*>(self);
  try {
    return popup->WndProc(msg, wParam, lParam);
  } catch (...) {
    fw::HandleCallbackException(nullptr);
    return 0;
  }
}

LRESULT TWinSkinPopMenu::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SKIN_QUERY) return 1;
  if (!SkinManager || !SkinManager->FEnabled) return CallOld(msg, wParam, lParam);
  if (!FMenu && (msg == WM_SHOWWINDOW || msg == WM_NCPAINT || msg == WM_PAINT)) ReadMenu();
  switch (msg) {
    case WM_DESTROY:
      Unhook();
      return CallOld(msg, wParam, lParam);
    case WM_ERASEBKGND:
      return IsNT() ? EraseBackground(wParam, lParam) : 0;
    case WM_NCPAINT:
      return PaintFrame(wParam, lParam);
    case WM_PAINT: {
      // The system may paint its own frame inside the client area (a popup without a
      // non-client border): the skin's frame goes back on top. This object may be freed by
      // what the paint does (the menu closed from an item's drawing).
      const std::shared_ptr<bool> alive = FAlive;
      const LRESULT result = CallOld(msg, wParam, lParam);
      if (*alive) RepaintEdges();
      return result;
    }
    case WM_PRINT:
      return PrintWindow(wParam, lParam);
    default:
      return CallOld(msg, wParam, lParam);
  }
}

// Once the window shows, the system has given it its menu: the popup holds that menu itself, so
// an item drawn from it finds this image even when several popups open at once.
void TWinSkinPopMenu::ReadMenu() {
  auto menu = reinterpret_cast<HMENU>(SendMessageW(FHandle, MN_GETHMENU, 0, 0));
  if (menu && IsMenu(menu) && SkinManager && !SkinManager->PopupBitmapOf(menu)) FMenu = menu;
}

TDataSkinObject* TWinSkinPopMenu::Element() const {
  if (!FSkinData || FSkinData->NoSkin()) return nullptr;
  TDataSkinObject* e = FSkinData->MenuBackground();
  return e && !e->Bitmap.Empty() ? e : nullptr;
}

LRESULT TWinSkinPopMenu::EraseBackground(WPARAM wParam, LPARAM lParam) {
  // With the menu background option the background painted with the frame stays.
  if (!FSkinData || !(FSkinData->Options & SetOf(xoMenuBG))) CallOld(WM_ERASEBKGND, wParam, lParam);
  return 1;
}

bool TWinSkinPopMenu::BuildBackground(TDataSkinObject& element, int width, int height) {
  if (width <= 0 || height <= 0) return false;
  if (FBitmap.Width() != width || FBitmap.Height() != height) FBitmap.SetSize(width, height);
  const RECT r{0, 0, width, height};
  return BuildSkinImage(FBitmap, r, element.Bitmap, element.Margins, false, element.Tile != 0, 1, 1);
}

void TWinSkinPopMenu::DrawEdges(HDC dc) {
  const int w = FBitmap.Width(), h = FBitmap.Height();
  if (w <= 0 || h <= 0) return;
  HDC from = FBitmap.Canvas().Handle();
  BitBlt(dc, 0, 0, w, kFrame, from, 0, 0, SRCCOPY);
  BitBlt(dc, 0, h - kFrame, w, kFrame, from, 0, h - kFrame, SRCCOPY);
  BitBlt(dc, 0, kFrame, kFrame, h - 2 * kFrame, from, 0, kFrame, SRCCOPY);
  BitBlt(dc, w - kFrame, kFrame, kFrame, h - 2 * kFrame, from, w - kFrame, kFrame, SRCCOPY);
}

LRESULT TWinSkinPopMenu::PaintFrame(WPARAM wParam, LPARAM lParam) {
  TDataSkinObject* element = Element();
  if (!element) return CallOld(WM_NCPAINT, wParam, lParam);
  // The update region belongs to the caller; the device context takes a copy of it.
  HDC dc = nullptr;
  if (wParam > 1) {
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    if (copy && CombineRgn(copy, reinterpret_cast<HRGN>(wParam), nullptr, RGN_COPY) != ERROR)
      dc = GetDCEx(FHandle, copy, DCX_WINDOW | DCX_INTERSECTRGN | kDcxUseStyle);
    if (!dc && copy) DeleteObject(copy);
  }
  if (!dc) dc = GetWindowDC(FHandle);
  fw::TWindowDC holder(FHandle, dc);
  if (!dc) return 0;
  bool ok = false;
  const SIZE size = WindowSize(FHandle, ok);
  if (!ok || !BuildBackground(*element, size.cx, size.cy)) return 0;
  DrawEdges(dc);
  BitBlt(dc, 0, 0, size.cx, size.cy, FBitmap.Canvas().Handle(), 0, 0, SRCCOPY);
  // The system's own frame is never drawn.
  return 0;
}

void TWinSkinPopMenu::RepaintEdges() {
  TDataSkinObject* element = Element();
  if (!element) return;
  const POINT origin = ClientOrigin();
  if (origin.x >= kFrame && origin.y >= kFrame) return;  // the client area cannot reach the frame
  bool ok = false;
  const SIZE size = WindowSize(FHandle, ok);
  if (!ok) return;
  if ((FBitmap.Width() != size.cx || FBitmap.Height() != size.cy) && !BuildBackground(*element, size.cx, size.cy))
    return;
  fw::TWindowDC dc = fw::TWindowDC::Whole(FHandle);
  if (dc) DrawEdges(dc);
}

LRESULT TWinSkinPopMenu::PrintWindow(WPARAM wParam, LPARAM lParam) {
  TDataSkinObject* element = Element();
  if (!element) return CallOld(WM_PRINT, wParam, lParam);
  bool ok = false;
  const SIZE size = WindowSize(FHandle, ok);
  const auto target = reinterpret_cast<HDC>(wParam);
  if (!ok || !target || !BuildBackground(*element, size.cx, size.cy)) return CallOld(WM_PRINT, wParam, lParam);
  BitBlt(target, 0, 0, size.cx, size.cy, FBitmap.Canvas().Handle(), 0, 0, SRCCOPY);
  // The system draws the items inside the frame, over the image; the target's clipping and
  // background mode are put back afterwards.
  fw::TRegionHandle inner(CreateRectRgn(kFrame, kFrame, size.cx - kFrame, size.cy - kFrame));
  fw::TSaveDC saved(target);
  SetBkMode(target, TRANSPARENT);
  if (inner) SelectClipRgn(target, inner);
  return CallOld(WM_PRINT, wParam, lParam);
}

}  // namespace skin
