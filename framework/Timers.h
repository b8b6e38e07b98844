// TTimer: a non-visual component that raises OnTimer every Interval milliseconds while
// Enabled, through SetTimer on a hidden window the timer owns.
#pragma once
#include <memory>

#include "Classes.h"
#include "Thunk.h"

namespace fw {

class TTimer : public TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned ms);
  HWND Handle() const { return FWindow.Handle(); }

  TNotifyEvent OnTimer;
  void SetOnTimer(TNotifyEvent e);

  void Loaded() override;

private:
  void UpdateTimer();
  void WndProc(TMessage& m);

  bool FEnabled = true;
  unsigned FInterval = 1000;
  bool FRunning = false;
  TUtilWindow FWindow;
};

}  // namespace fw
