// Edits and up-down buttons. An edit keeps painting its text itself; the skin draws a flat border
// over the edit's own edge after each of its paints (and after the system redraws that edge),
// and skins an up-down button that sits inside the edit. Up-down buttons draw both halves from
// the skin's UpDown.Vert or UpDown.Horz element (eight frames: four states of the first arrow,
// then four of the second; 1 normal, 2 pressed, 3 disabled, 4 hot).
#pragma once
#include "Graphics.h"
#include "skin/controls/WinSubClass.h"

namespace skin {

class TSkinUpDown;
class TSkinDateTime;

// The skin's drop-down arrow laid over a date picker's own button; a press on it is handed to
// the picker, which opens its calendar.
class TArrowButton : public fw::TCustomControl {
  FW_DECLARE_CLASS()
public:
  explicit TArrowButton(fw::TComponent* owner);
  void AttachToPicker(TSkinDateTime* owner, fw::TWinControl* picker);
  void WndProc(fw::TMessage& m) override;

  int FArrowSize = 0;
  fw::TWinControl* FPicker = nullptr;
  HWND FPickerHandle = nullptr;
  TSkinDateTime* FOwnerSkin = nullptr;
  bool FHot = false;

protected:
  void Paint() override;
};

// Date pickers: the edit's border with one white line, and the skin's arrow over the button.
class TSkinDateTime : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinDateTime(fw::TComponent* owner);
  ~TSkinDateTime() override;
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  void RestoreControl() override;
  void DrawControl(HDC dc, const RECT& rect) override;

  TArrowButton* FArrow = nullptr;
  bool FAddedClipChildren = false;
};

class TSkinEdit : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinEdit(fw::TComponent* owner);
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  TSkinUpDown* FUpDown = nullptr;

private:
  // The border as a printed picture shows it (WM_PRINTCLIENT).
  void PrintBorder(HDC dc);
  void FindUpDown();
  // The border drawn now into the window's DC, the caret kept off it.
  void PaintBorder();
};

class TSkinUpDown : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinUpDown(fw::TComponent* owner);
  bool BeforeMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  bool FEmbedded = false;    // inside an edit
  bool FHorizontal = false;  // a horizontal pair even without UDS_HORZ

private:
  fw::TBitmap FBuffer;
};

}  // namespace skin
