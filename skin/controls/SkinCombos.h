// Combo boxes: the frame and the drop-down button drawn from the skin's ComboButton element
// (Style 1 flat; 2 one whole-face image, its mirrored twin for a button on the left; otherwise
// the sunk edge round the box and the button strip at its side, with an extra glyph centred on
// it). States: 1 normal, 2 pressed, 3 disabled, 4 hot or focused. The box's own procedure keeps
// its edit, list and keyboard; the skin paints over its frame after each of its paints.
#pragma once
#include "skin/controls/WinSubClass.h"

namespace skin {

class TComboxScrollBar;
class TSkinScrollbarH;

class TSkinComBox : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinComBox(fw::TComponent* owner);
  ~TSkinComBox() override;
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  void InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) override;
  void RestoreControl() override;
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  LONG FStyle = 0, FExStyle = 0;
  HWND FListHandle = nullptr;
  HWND FChildHandle = nullptr;
  bool FDropped = false;
  COMBOBOXINFO FComboInfo{};
  RECT FButtonRect{};
  TComboxScrollBar* FDropBar = nullptr;  // the drop-down list's bar
  TSkinScrollbarH* FListBar = nullptr;   // a simple combo's list bars

protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
  void Setup();
  int StateFrame() const;
  void DrawFlat(HDC dc, const RECT& r, int state);
  // The edit part of an ANSI combo paints on its own: the frame is drawn again after it.
  static LRESULT CALLBACK ChildEntry(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
  fw::TWindowHook FChildHook;
};

}  // namespace skin
