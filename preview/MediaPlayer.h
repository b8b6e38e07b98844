// TMediaPlayer: the preview's media-player control, a row of equally wide buttons (play, pause,
// stop, next, previous, step, back, record, eject) of which the published sets VisibleButtons,
// EnabledButtons and ColoredButtons say which are shown, usable and in colour. A press and
// release on the same enabled button raises OnClick with that button. It plays nothing: it is
// there to show how the skin draws a media player.
#pragma once
#include "Controls.h"

namespace preview {

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject, btCount };
using TMPButtons = unsigned;  // bit n for TMPBtnType n
constexpr TMPButtons MPButton(TMPBtnType b) { return 1u << b; }
constexpr TMPButtons kAllMPButtons = (1u << btCount) - 1;

using TMPNotifyEvent = fw::TMethod<void(fw::TObject* Sender, int Button)>;

class TMediaPlayer : public fw::TCustomControl {
  FW_DECLARE_CLASS()
public:
  explicit TMediaPlayer(fw::TComponent* owner);
  TMPButtons VisibleButtons() const { return FVisible; }
  void SetVisibleButtons(TMPButtons b);
  TMPButtons EnabledButtons() const { return FEnabled; }
  void SetEnabledButtons(TMPButtons b);
  TMPButtons ColoredButtons() const { return FColored; }
  void SetColoredButtons(TMPButtons b);
  // The visible button at a client x; -1 for none.
  int ButtonAt(int x) const;
  TMPNotifyEvent OnClick;
  void WndProc(fw::TMessage& m) override;

protected:
  void Paint() override;

private:
  TMPButtons FVisible = kAllMPButtons, FEnabled = kAllMPButtons, FColored = kAllMPButtons;
  int FDown = -1;      // the button pressed, while the mouse is held
  bool FOnDown = false;  // the mouse is on it
};

}  // namespace preview
