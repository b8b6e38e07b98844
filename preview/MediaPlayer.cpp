// The preview's media-player control: its published sets, its own look and its clicks.
#include "MediaPlayer.h"

#include <windowsx.h>

#include <string>
#include <vector>

#include "GdiHandles.h"
#include "PropTables.h"
#include "skin/controls/SkinMedia.h"

namespace preview {

using namespace fw;

namespace {

const std::vector<std::string> kButtonNames{"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                            "btStep", "btBack",  "btRecord", "btEject"};

int VisibleCount(TMPButtons b) {
  int n = 0;
  for (int i = 0; i < btCount; ++i) n += (b >> i) & 1;
  return n;
}

}  // namespace

const TClassInfo& TMediaPlayer::StaticClassInfo() {
  static const TClassInfo info{
      "TMediaPlayer",
      &TCustomControl::StaticClassInfo(),
      &NewComponent<TMediaPlayer>,
      {props::Prop("VisibleButtons", TPropKind::Set, &TMediaPlayer::VisibleButtons, &TMediaPlayer::SetVisibleButtons,
                   kButtonNames),
       props::Prop("EnabledButtons", TPropKind::Set, &TMediaPlayer::EnabledButtons, &TMediaPlayer::SetEnabledButtons,
                   kButtonNames),
       props::Prop("ColoredButtons", TPropKind::Set, &TMediaPlayer::ColoredButtons, &TMediaPlayer::SetColoredButtons,
                   kButtonNames),
       MethodProp<TMediaPlayer, &TMediaPlayer::OnClick>("OnClick")},
      {}};
  return info;
}

TMediaPlayer::TMediaPlayer(TComponent* owner) : TCustomControl(owner) {
  ControlStyle |= csCaptureMouse;
  SetBounds(0, 0, 240, 30);
}

void TMediaPlayer::SetVisibleButtons(TMPButtons b) {
  FVisible = b & kAllMPButtons;
  Invalidate();
}
void TMediaPlayer::SetEnabledButtons(TMPButtons b) {
  FEnabled = b & kAllMPButtons;
  Invalidate();
}
void TMediaPlayer::SetColoredButtons(TMPButtons b) {
  FColored = b & kAllMPButtons;
  Invalidate();
}

int TMediaPlayer::ButtonAt(int x) const {
  const int n = VisibleCount(FVisible);
  const int w = n > 0 ? ClientWidth() / n : 0;
  if (w <= 0 || x < 0) return -1;
  int slot = x / w;
  for (int i = 0; i < btCount; ++i)
    if (((FVisible >> i) & 1) && slot-- == 0) return i;
  return -1;
}

void TMediaPlayer::Paint() {
  HDC dc = Canvas().Handle();
  const RECT all{0, 0, ClientWidth(), ClientHeight()};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  const int n = VisibleCount(FVisible);
  const int w = n > 0 ? ClientWidth() / n : 0;
  int x = 0;
  for (int i = 0; i < btCount && w > 0; ++i) {
    if (!((FVisible >> i) & 1)) continue;
    RECT r{x, 0, x + w, ClientHeight()};
    x += w;
    const bool down = FDown == i && FOnDown;
    DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if (down) OffsetRect(&r, 1, 1);
    if (!((FEnabled >> i) & 1)) {
      RECT lit = r;
      OffsetRect(&lit, 1, 1);
      skin::TWMediaPlayer::DrawSymbol(dc, lit, i, GetSysColor(COLOR_BTNHIGHLIGHT));
      skin::TWMediaPlayer::DrawSymbol(dc, r, i, GetSysColor(COLOR_BTNSHADOW));
    } else {
      const COLORREF ink = (FColored >> i) & 1 ? skin::TWMediaPlayer::SymbolColour(i) : GetSysColor(COLOR_BTNTEXT);
      skin::TWMediaPlayer::DrawSymbol(dc, r, i, ink);
    }
  }
}

void TMediaPlayer::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int b = ButtonAt(GET_X_LPARAM(m.LParam));
      FDown = b >= 0 && ((FEnabled >> b) & 1) ? b : -1;
      FOnDown = FDown >= 0;
      Invalidate();
      break;
    }
    case WM_MOUSEMOVE:
      if (FDown >= 0) {
        const bool on = ButtonAt(GET_X_LPARAM(m.LParam)) == FDown && GET_Y_LPARAM(m.LParam) >= 0 &&
                        GET_Y_LPARAM(m.LParam) < ClientHeight();
        if (on != FOnDown) {
          FOnDown = on;
          Invalidate();
        }
      }
      break;
    case WM_LBUTTONUP: {
      const int b = FDown;
      const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      const bool click = b >= 0 && ButtonAt(p.x) == b && p.y >= 0 && p.y < ClientHeight();
      FDown = -1;
      FOnDown = false;
      Invalidate();
      TCustomControl::WndProc(m);
      if (click && OnClick) OnClick(this, b);  // the handler may free the player
      return;
    }
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

}  // namespace preview
