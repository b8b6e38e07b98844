// Media players: a skin-drawn bar of buttons lies over the player control. The bar shows the
// buttons the player publishes as visible, enabled and coloured ("VisibleButtons",
// "EnabledButtons", "ColoredButtons", sets of btPlay ... btEject), draws each from the skin's
// button faces with its symbol, and hands every press and release on it to the player, which does
// the work as if it had been clicked itself.
//
// Classes in this file: TWMediaPlayer (the bar), TSkinMP (the skin object of the player).
#pragma once
#include <array>

#include "Graphics.h"
#include "StdCtrls.h"
#include "skin/controls/WinSubClass.h"

namespace skin {

class TSkinMP;

// The player's buttons, in the order the bar shows them.
enum : int { mpPlay, mpPause, mpStop, mpNext, mpPrev, mpStep, mpBack, mpRecord, mpEject, mpButtonCount };

class TWMediaPlayer : public fw::TCustomPanel {
  FW_DECLARE_CLASS()
public:
  // Variants of a button's bitmap.
  enum : int { bvEnabled, bvDisabled, bvColoured };
  struct TButtonState {
    bool Visible = false, Enabled = false, Coloured = false;
    // Bitmap resources "EN_MPPLAY", "DI_MPPLAY", "CL_MPPLAY" ... when the program has them;
    // without them the bar draws the buttons' symbols itself.
    std::array<fw::TBitmap, 3> Bitmaps;
  };

  explicit TWMediaPlayer(fw::TComponent* owner);
  // Lies over the player from now on: its bounds, parent and visibility; the skin data's
  // disabling tag keeps the form from skinning the bar itself.
  void Bind(TSkinMP* skin, fw::TWinControl* player);
  // Forgets the player (its window or the player itself is gone): the bar hides, presses go
  // nowhere.
  void Unbind();
  // The player's bounds and place in z-order again.
  void FollowPlayer();
  // The visible button at a client x (the player's sets read now); -1 for none.
  int ButtonAt(int x);
  fw::TWinControl* Player() const { return FPlayer; }
  void WndProc(fw::TMessage& m) override;

  std::array<TButtonState, mpButtonCount> FButtons;
  int FButtonWidth = 0;
  bool FPressed = false;
  int FPressedButton = -1, FButtonUnderMouse = -1;

  // The symbol of a button drawn into rect in colour (the bar's stand-in for missing bitmaps).
  static void DrawSymbol(HDC dc, const RECT& rect, int button, COLORREF colour);
  // The symbol colour of a coloured button.
  static COLORREF SymbolColour(int button);

protected:
  void Paint() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
  // Reads the player's three sets into FButtons.
  void ReadButtons();
  void Press(const fw::TMessage& m);
  void Release(const fw::TMessage& m, bool pressed, int button);
  TSkinMP* FSkin = nullptr;
  fw::TWinControl* FPlayer = nullptr;
  fw::TBitmap FBuffer;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// The skin object of a media-player control: owns the bar over it and keeps it on the player.
class TSkinMP : public TSkinControl {
  FW_DECLARE_CLASS()
public:
  explicit TSkinMP(fw::TComponent* owner);
  ~TSkinMP() override;
  void InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) override;
  void RestoreControl() override;
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  TWMediaPlayer* FPlayer = nullptr;

protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;
};

}  // namespace skin
