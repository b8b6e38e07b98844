// Column headers and the list views that carry them.
//
// TSkinHeader draws a header window (a list view's column header, or a stand-alone header
// control) from the skin's header bar: each item is a frame of the bar, the item under the mouse
// the hot frame, and the area right of the last item the normal frame. The window's own
// procedure still tracks dividers, drags and clicks; only its painting is replaced.
//
// TSkinListView is the scroll-bar skin of a list view that also skins the list view's header.
#pragma once
#include <vector>

#include "skin/controls/SkinScrollbars.h"
#include "skin/controls/WinSubClass.h"

namespace skin {

class TSkinHeader : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinHeader(fw::TComponent* owner);
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  void InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) override;
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  // Each item's rectangle at the last paint, narrowed by 3 pixels on either side (the dividers
  // stay outside, so a move onto a divider leaves the hot item as it is).
  std::vector<RECT> FItemRects;
  int FHotItem = -1;

private:
  void TrackLeave();
};

class TSkinListView : public TSkinScrollbar {
  FW_DECLARE_CLASS()
public:
  explicit TSkinListView(fw::TComponent* owner);
  void AttachScroll(fw::TWinControl* control, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

  TSkinHeader* FHeader = nullptr;
};

}  // namespace skin
