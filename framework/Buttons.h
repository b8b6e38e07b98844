// TSpeedButton: a flat button without a window of its own, painted and clicked through its parent.
#pragma once
#include <windows.h>

#include "StdCtrls.h"

namespace fw {

class TSpeedButton : public TGraphicControl {
  FW_DECLARE_CLASS()
public:
  explicit TSpeedButton(TComponent* owner);

  // Flat: the face shows its edge only while the mouse is over it or it is pressed.
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  // True while the left button went down on it and the mouse is still inside.
  bool Pressed() const { return FPressed; }
  void SetText(const std::wstring& s) override;
  void WndProc(TMessage& m) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  void SetPressed(bool v);
  bool FFlat = false;
  bool FPressed = false;
  bool FTracking = false;
};

// Registers the classes of this unit with the class registry.
void RegisterButtons();

}  // namespace fw
