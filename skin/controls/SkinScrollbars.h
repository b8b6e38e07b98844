// Scroll bars. The system keeps a window's own scroll bars and all their behaviour; a small
// window drawn from the skin lies exactly over each visible bar, directly above the scrolled
// window in z-order. It reads the bar's geometry and state from the system at every paint, and
// hands every press on it back to the scrolled window as the non-client press the system's own
// bar would have had, so that the system's scrolling (repeat, paging, thumb tracking and the
// notifications) runs unchanged. Only the look is the skin's.
//
// Parts (the system's scroll request codes): 0 first arrow, 1 second arrow, 2 track before the
// thumb, 3 track after it, 5 the thumb.
//
// Kinds of overlay: 0 a window's horizontal bar, 1 its vertical bar, 2 a stand-alone scroll-bar
// control, which the overlay covers whole; its press goes to the control as the client press it
// would have had.
#pragma once
#include <windows.h>

#include <functional>

#include "Controls.h"
#include "Graphics.h"
#include "skin/controls/WinSubClass.h"

namespace skin {

// The picture of one bar from the skin: arrows (frames 1-16 of the Scrollbar strip), track,
// thumb and grip, drawn from the system's bar information onto a DC at a point. The state is
// the caller's; Follow, when set, moves the thumb after it is read (a drag in progress).
struct TBarLook {
  int ArrowSize = GetSystemMetrics(SM_CXHSCROLL);
  int Thickness = 0;  // the bar's cross size; 0: the skin's, or the system's when they differ
  int HotPart = -1;
  bool Pressed = false;
  int BarLength = 0, ThumbStart = 0, ThumbEnd = 0;
  std::function<void()> Follow;
  fw::TBitmap Buffer;
  // Nothing when the skin has no bar image, the bar is invisible, or it is larger than
  // limitW x limitH.
  void Draw(HDC dc, POINT at, const SCROLLBARINFO& info, TSkinData* data, bool vertical, int limitW, int limitH);
};

class TWScrollbar : public fw::TCustomControl {
  FW_DECLARE_CLASS()
public:
  explicit TWScrollbar(fw::TComponent* owner);
  ~TWScrollbar() override;
  // Over the horizontal (kind 0) or vertical (kind 1) bar of a framework control, or over a
  // scroll-bar control (kind 2: vertical unless its "Kind" reads "sbHorizontal").
  void AttachToControl(TSkinControl* skin, fw::TWinControl* control, int kind);
  // Over a bar of a bare window whose parent is a framework control (a simple combo's list).
  void AttachToWindow(TSkinControl* skin, HWND window, int kind);
  void HideBar();
  void UpdatePosition();
  int HitTest(POINT p) const;
  void WndProc(fw::TMessage& m) override;

  int FBarLength = 0, FThumbStart = 0, FThumbEnd = 0;
  POINT FBarOrigin{}, FPressCursor{};
  int FPressThumbStart = 0;
  bool FVertical = false;
  int FHotPart = -1;
  int FArrowSize = 0;
  HWND FTarget = nullptr;
  fw::TWinControl* FScrollControl = nullptr;  // kind 2
  TSkinControl* FSkinControl = nullptr;
  int FBarKind = 0;
  RECT FBarRect{};
  bool FPressed = false;
  bool FShown = false;

protected:
  void Paint() override;

private:
  bool BarInfo(SCROLLBARINFO& info) const;
  // Kind 2: the bar record worked out from the control's range, page and position.
  bool ControlBarInfo(SCROLLBARINFO& info) const;
  void TrackThumb();
  void Press(const fw::TMessage& m);
  void Release(const fw::TMessage& m);
  TBarLook FLook;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// Frees an overlay now, or, while its press is still running, once the press has returned.
void FreeOverlay(TWScrollbar*& bar);

// Scrollable framework controls (memos, grids, list boxes and the like): a horizontal and a
// vertical overlay and a flat border; a grid's fixed cells take the face colour.
class TSkinScrollbar : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinScrollbar(fw::TComponent* owner);
  ~TSkinScrollbar() override;
  virtual void AttachScroll(fw::TWinControl* control, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form);
  void RestoreControl() override;
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;
  void SkinChanged() override;

  TWScrollbar* FHorzBar = nullptr;
  TWScrollbar* FVertBar = nullptr;
  bool FDrawBorder = true;
  bool FRecolorFixed = false;  // "FixedColor" (a grid's fixed cells) holds the face colour
  std::int64_t FOldFixedColor = 0;

protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
  void DrawBorder(HDC dc);
  void FreeBars();
};

// The same two overlays for a bare window (the list of a simple combo box).
class TSkinScrollbarH : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinScrollbarH(fw::TComponent* owner);
  ~TSkinScrollbarH() override;
  void InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) override;
  void RestoreControl() override;
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  TWScrollbar* FHorzBar = nullptr;
  TWScrollbar* FVertBar = nullptr;

protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;
};

// The vertical bar of a combo box's drop-down list, drawn by the skin inside the list's own
// non-client area (the list is a popup: no overlay can lie over it) after every paint and scroll
// of the list; its thumb is dragged by this object's own loop.
class TComboxScrollBar : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TComboxScrollBar(fw::TComponent* owner);
  void RestoreControl() override;
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  int FHotPart = -1;
  bool FPressed = false;

private:
  // A press on the thumb: the drag runs here until the button is released; false when the press
  // was not on the thumb (the system handles it).
  bool DragThumb(POINT screen);
  TBarLook FLook;
};

}  // namespace skin
