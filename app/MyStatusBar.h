// TMyStatusBar: a status bar that hosts a progress bar inside the owner-drawn panel PIndex.
#pragma once
#include "ComCtrls.h"

namespace app {

class TMyStatusBar : public fw::TStatusBar {
  FW_DECLARE_CLASS()
public:
  explicit TMyStatusBar(fw::TComponent* owner);
  ~TMyStatusBar() override;

  // Index of the panel that hosts the progress bar (default 2). Values below 0 or not below
  // the panel count are ignored.
  int PIndex() const { return FPIndex; }
  virtual void SetPIndex(int value);

  // The progress bar ("ProgressBar", range 0..100). It has no parent until the panel at
  // PIndex is drawn, and is taken off again whenever PIndex changes.
  fw::TProgressBar* ProgressBar() const { return FProgressBar; }

protected:
  // Draws the panel as the status bar does, then lays the progress bar over panel PIndex.
  void DrawPanel(fw::TStatusPanel* panel, const RECT& rect) override;

private:
  int FPIndex = 2;
  fw::TProgressBar* FProgressBar = nullptr;
};

}  // namespace app
