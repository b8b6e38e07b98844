// Status bars, progress bars and track bars.
//
// A status bar is painted wholly by the skin: the face, the panel frames (StatusBarEdges: 1
// lowered, 2 raised, 3 flat), the panel texts, the size grip (frame 5 of ExtraImages) and the
// bar's graphic children; owner-drawn panels are then drawn by the bar's own panel drawing, so
// that a bar which overrides it still places what it puts there.
//
// A progress bar is drawn from Progress: two frames (the empty bar, the filled part) or, with
// Style 1, the empty bar with the Progress.Chunk element laid over the part done. Vertical bars
// are drawn lying and turned, so that they fill from the bottom.
//
// A track bar keeps its own painting and answers its custom-draw requests: the channel from
// Track (TRACKVERT for vertical bars) and the thumb from frame 2 of Trackbar.ThumbHorz or
// Trackbar.ThumbVert, whatever state the thumb is in.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "skin/controls/WinSubClass.h"

namespace skin {

class TSkinStatusBar : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinStatusBar(fw::TComponent* owner);
  bool BeforeMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;
};

class TSkinProgress : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinProgress(fw::TComponent* owner);
  bool BeforeMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;
  // Whether the skin has what a paint of this bar needs; without it the bar paints itself.
  bool CanDraw() const;
};

class TSkinTrackBar : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinTrackBar(fw::TComponent* owner);
  bool BeforeMessage(fw::TMessage& m) override;
  void SkinChanged() override;

private:
  // The answer to one custom-draw request of the track bar.
  LRESULT CustomDraw(const NMCUSTOMDRAW& cd);
  void DrawThumb(HDC dc);
  // False when the skin has no channel image: the control then draws its own.
  bool DrawChannel(HDC dc);
};

}  // namespace skin
