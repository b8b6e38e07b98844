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
