// The box controls: check boxes and radio buttons (their marks from the Buttons element's check
// and radio strips, their captions drawn by the skin), group boxes (frame and caption), panels
// and forms that only take the skin's face colour, and bare container windows (system dialogs,
// tool bars) whose background and static children take it.
//
// Mark frames of a strip: 1 unchecked, 2 checked, 3 unchecked disabled, 4 checked disabled (and,
// for check boxes, indeterminate). A 12-frame check strip and an 8-frame radio strip number them
// 1, 5, 4, 8, with the indeterminate check at 9 (12 when disabled). Frame numbers are clamped to
// the strip; a strip without frames leaves the control to the system.
#pragma once
#include "skin/controls/WinSubClass.h"

namespace skin {

// Mark frame for a state: checked (1 or 0), indeterminate, disabled, on a strip of `count`
// frames; 0 when the strip has no frames.
int CheckFrame(bool checked, bool indeterminate, bool disabled, int count);
int RadioFrame(bool checked, bool disabled, int count);

// What check boxes and radio buttons share: the paint decision, the mark and the caption.
class TSkinMarkButton : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinMarkButton(fw::TComponent* owner);
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  bool FTransparentFace = false;

protected:
  virtual bool IsRadio() const = 0;
  // The mark frame for the control's present state.
  virtual int MarkFrame(int count) = 0;
  fw::TBitmap* Strip(int& count) const;
};

class TSkinCheckBox : public TSkinMarkButton {
  FW_DECLARE_CLASS()
public:
  explicit TSkinCheckBox(fw::TComponent* owner);
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  void AfterMessage(fw::TMessage& m) override;
  int FCheckState = 0;  // 0 until the first BM_SETCHECK, then its WParam + 1

protected:
  bool IsRadio() const override { return false; }
  int MarkFrame(int count) override;
};

class TSkinRadioButton : public TSkinMarkButton {
  FW_DECLARE_CLASS()
public:
  explicit TSkinRadioButton(fw::TComponent* owner);

protected:
  bool IsRadio() const override { return true; }
  int MarkFrame(int count) override;
};

class TSkinGroupBox : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinGroupBox(fw::TComponent* owner);
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  bool BeforeMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;
};

// Panels, embedded forms and the like: the skin's face colour while skinned, no message hook.
class TSkinBox : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinBox(fw::TComponent* owner);
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  void RestoreControl() override;
  void AfterMessage(fw::TMessage& m) override;
};

// A bare container window (a system dialog, a tool bar): background and static children in the
// skin's face colour.
class TSkinBoxH : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinBoxH(fw::TComponent* owner);
  bool BeforeMessage(fw::TMessage& m) override;
};

}  // namespace skin
