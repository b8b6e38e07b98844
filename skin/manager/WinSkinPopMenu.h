// TWinSkinPopMenu: the skin of one popup menu window (class "#32768"). The skin manager creates
// one when its hook sees such a window created and frees it when the window is destroyed. It
// subclasses the window and paints the frame and the background from the skin's menu
// background element; the items are drawn by the form's menu code over the matching part of
// the background image kept here (Bitmap()).
#pragma once
#include <windows.h>

#include <memory>

#include "Graphics.h"
#include "Thunk.h"

namespace skin {

class TSkinData;
class TDataSkinObject;

class TWinSkinPopMenu {
public:
  TWinSkinPopMenu();
  ~TWinSkinPopMenu();
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  // Takes over the window's procedure (in the window's flavour) and remembers the skin data and
  // the menu (null until tagged). FMenuBarPopup starts False.
  void Attach(HWND window, TSkinData* skinData, HMENU menu);
  // Gives the window its procedure back and empties the background image; harmless twice.
  void Unhook();
  bool Hooked() const { return FHook.Installed(); }

  // The background image of the whole window as last painted (empty before the first paint
  // and after Unhook). The object stays the same while this skin lives.
  fw::TBitmap& Bitmap() { return FBitmap; }
  // Where the window's client origin lies in the background image: (3, 3) where the system
  // gives the popup a non-client border, (0, 0) where it has none (item rectangles then
  // already start inside the frame). (0, 0) for a window that is gone.
  POINT ClientOrigin() const;

  HWND FHandle = nullptr;
  TSkinData* FSkinData = nullptr;  // not owned
  HMENU FMenu = nullptr;
  bool FMenuBarPopup = false;

  // Width of the frame drawn from the image's edges.
  static constexpr int kFrame = 3;

private:
  static LRESULT CALLBACK Entry(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallOld(UINT msg, WPARAM wParam, LPARAM lParam) { return FHook.CallOld(msg, wParam, lParam); }
  LRESULT EraseBackground(WPARAM wParam, LPARAM lParam);
  LRESULT PaintFrame(WPARAM wParam, LPARAM lParam);
  LRESULT PrintWindow(WPARAM wParam, LPARAM lParam);
  // The menu background element when the skin has a usable one, else null.
  void ReadMenu();
  TDataSkinObject* Element() const;
  // Builds the background image for a window of width x height into FBitmap.
  bool BuildBackground(TDataSkinObject& element, int width, int height);
  // Copies the four frame edges of FBitmap to the window's device context.
  void DrawEdges(HDC dc);
  // After the window's own paint: the frame again, where the client area covers it.
  void RepaintEdges();

  fw::TWindowHook FHook;
  fw::TBitmap FBitmap;
  // Shared with every message on the stack: false once this object is gone.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace skin
