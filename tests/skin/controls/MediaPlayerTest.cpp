// The skin's bar over a media player (a stand-in publishing the three button sets): the buttons
// it shows, real presses that reach the player as its own clicks, the player or the bar freed
// under it, and the player given back with the skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ControlsFixture.h"
#include "PropTables.h"
#include "StdCtrls.h"
#include "skin/controls/SkinMedia.h"

using namespace ctltest;

namespace {

enum { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
constexpr unsigned Bit(int b) { return 1u << b; }
constexpr unsigned kAll = 0x1FF;

// A media player: buttons side by side, equally wide; a press and release on the same button
// is a click of it.
class TMediaPlayer : public fw::TCustomControl {
  FW_DECLARE_CLASS()
public:
  explicit TMediaPlayer(fw::TComponent* owner) : fw::TCustomControl(owner) { ControlStyle |= fw::csCaptureMouse; }
  unsigned VisibleButtons = kAll, EnabledButtons = kAll, ColoredButtons = 0;
  std::vector<int> Clicks;
  std::function<void(int)> OnButton;  // after the click is counted; may free the player
  int ButtonAt(int x) const {
    std::vector<int> shown;
    for (int b = 0; b < 9; ++b)
      if (VisibleButtons & Bit(b)) shown.push_back(b);
    if (shown.empty() || x < 0) return -1;
    const int w = Width() / static_cast<int>(shown.size());
    return w > 0 && x / w < static_cast<int>(shown.size()) ? shown[static_cast<std::size_t>(x / w)] : -1;
  }
  void WndProc(fw::TMessage& m) override {
    const int x = static_cast<short>(LOWORD(m.LParam));
    if (m.Msg == WM_LBUTTONDOWN) FDown = ButtonAt(x);
    const bool click = m.Msg == WM_LBUTTONUP && FDown >= 0 && ButtonAt(x) == FDown;
    const int button = FDown;
    if (m.Msg == WM_LBUTTONUP) FDown = -1;
    fw::TCustomControl::WndProc(m);
    if (!click) return;
    Clicks.push_back(button);
    if (OnButton) OnButton(button);  // nothing of this object is touched afterwards
  }

protected:
  void Paint() override {
    HDC dc = Canvas().Handle();
    const RECT all{0, 0, ClientWidth(), ClientHeight()};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    int n = 0;
    for (int b = 0; b < 9; ++b) n += (VisibleButtons & Bit(b)) != 0;
    for (int i = 0; i < n; ++i) {
      RECT r{i * (Width() / n), 0, (i + 1) * (Width() / n), Height()};
      DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    }
  }

private:
  int FDown = -1;
};

const std::vector<std::string> kButtonNames{"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                            "btStep", "btBack",  "btRecord", "btEject"};
const fw::TClassInfo& TMediaPlayer::StaticClassInfo() {
  static const fw::TClassInfo info{
      "TMediaPlayer",
      &fw::TCustomControl::StaticClassInfo(),
      {},
      {fw::props::Field<&TMediaPlayer::VisibleButtons>("VisibleButtons", fw::TPropKind::Set, kButtonNames),
       fw::props::Field<&TMediaPlayer::EnabledButtons>("EnabledButtons", fw::TPropKind::Set, kButtonNames),
       fw::props::Field<&TMediaPlayer::ColoredButtons>("ColoredButtons", fw::TPropKind::Set, kButtonNames)},
      {}};
  return info;
}

skin::TSkinMP* SkinOf(skin::TWinSkinForm* f, fw::TControl* c) {
  return f ? dynamic_cast<skin::TSkinMP*>(f->FindControlByHandle(dynamic_cast<fw::TWinControl*>(c)->Handle())) : nullptr;
}

// Bars lying on a window.
int Bars(HWND parent) {
  int n = 0;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    n += dynamic_cast<skin::TWMediaPlayer*>(fw::FindControl(c)) != nullptr;
  return n;
}

// The middle of visible slot i of a bar w wide with n buttons, in screen coordinates.
POINT Slot(fw::TControl& c, int i, int n) {
  const int w = c.Width() / n;
  return c.ClientToScreen({i * w + w / 2, c.Height() / 2});
}

}  // namespace

TEST(MediaPlayer, TheBarShowsTheVisibleButtonsFromTheSkin) {
  TControlWorld world;
  TTestForm f;
  auto* player = f.Add<TMediaPlayer>(10, 10, 303, 30);
  player->VisibleButtons = Bit(btPlay) | Bit(btPause) | Bit(btStop) | Bit(btRecord);
  player->EnabledButtons = kAll & ~Bit(btStop);
  player->ColoredButtons = Bit(btRecord);
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  skin::TSkinMP* s = SkinOf(fs, player);
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->FPlayer, nullptr);
  skin::TWMediaPlayer* bar = s->FPlayer;
  EXPECT_EQ(bar->Player(), player);
  EXPECT_EQ(bar->Tag, world.Data->DisableTag);
  EXPECT_EQ(Query(bar->Handle()), 1);
  EXPECT_EQ(fs->FindControlByHandle(bar->Handle()), nullptr);
  EXPECT_EQ(Bars(f.Handle()), 1);
  RECT over{}, control{};
  GetWindowRect(bar->Handle(), &over);
  GetWindowRect(player->Handle(), &control);
  EXPECT_TRUE(EqualRect(&over, &control));
  EXPECT_EQ(GetWindow(player->Handle(), GW_HWNDPREV), bar->Handle());
  Pump();

  const HWND h = bar->Handle();
  const int w = 303 / 4;
  EXPECT_EQ(bar->FButtonWidth, w);
  // Faces: normal, and the disabled frame for the stop button; the strip right of the last
  // button is the face.
  for (int i : {0, 1, 3}) EXPECT_EQ(ClientAt(h, i * w + 1, 1), kNormal) << i;
  EXPECT_EQ(ClientAt(h, 2 * w + 1, 1), kDisabled);
  EXPECT_EQ(ClientAt(h, 302, 15), kFace);
  // Symbols: in the button text colour, the disabled one in the shadow colour, the coloured one
  // in its own.
  EXPECT_EQ(ClientAt(h, w / 2, 15), Rgb(GetSysColor(COLOR_BTNTEXT)));
  EXPECT_EQ(ClientAt(h, 2 * w + w / 2, 15), kShadow);
  EXPECT_EQ(ClientAt(h, 3 * w + w / 2, 15), Rgb(skin::TWMediaPlayer::SymbolColour(skin::mpRecord)));
  EXPECT_EQ(bar->ButtonAt(w / 2), skin::mpPlay);
  EXPECT_EQ(bar->ButtonAt(3 * w + 2), skin::mpRecord);
  EXPECT_EQ(bar->ButtonAt(302), -1);

  // With no visible button a plain bar in the face colour.
  player->VisibleButtons = 0;
  player->Invalidate();
  Pump();
  const TCapture plain = TCapture::Of(h);
  EXPECT_EQ(std::count(plain.Pixels.begin(), plain.Pixels.end(), kFace), static_cast<std::ptrdiff_t>(plain.Pixels.size()));

  // It keeps to the player: moved, hidden, shown.
  player->SetBounds(30, 50, 300, 26);
  Pump();
  GetWindowRect(h, &over);
  GetWindowRect(player->Handle(), &control);
  EXPECT_TRUE(EqualRect(&over, &control));
  player->SetVisible(false);
  Pump();
  EXPECT_FALSE(IsWindowVisible(h));
  player->SetVisible(true);
  Pump();
  EXPECT_TRUE(IsWindowVisible(h));
}

TEST(MediaPlayer, APressShowsThePressedFrameAndTheReleaseOnItIsThePlayersClick) {
  TControlWorld world;
  TTestForm f;
  auto* player = f.Add<TMediaPlayer>(10, 10, 360, 30);
  player->VisibleButtons = Bit(btPlay) | Bit(btPause) | Bit(btStop) | Bit(btEject);
  player->EnabledButtons = kAll & ~Bit(btEject);
  MouseAway();
  f.Show();
  skin::TSkinMP* s = SkinOf(f.Skin(), player);
  ASSERT_NE(s, nullptr);
  const HWND h = s->FPlayer->Handle();
  const auto corner = [&](int i) { return [h, i] { return ClientAt(h, i * 90 + 1, 1); }; };

  userinput::Mouse(MOUSEEVENTF_LEFTDOWN, Slot(*player, 1, 4));
  EXPECT_EQ(Await(corner(1), kPressed), kPressed);
  EXPECT_EQ(corner(0)(), kNormal);
  userinput::Mouse(MOUSEEVENTF_LEFTUP, Slot(*player, 1, 4));
  EXPECT_EQ(Await(corner(1), kNormal), kNormal);
  EXPECT_EQ(player->Clicks, (std::vector<int>{btPause}));
  EXPECT_EQ(GetCapture(), nullptr);

  // Pressed on one button and released on another: no click; off its button the pressed one
  // looks raised again.
  userinput::Mouse(MOUSEEVENTF_LEFTDOWN, Slot(*player, 0, 4));
  EXPECT_EQ(Await(corner(0), kPressed), kPressed);
  MoveTo(Slot(*player, 2, 4));
  EXPECT_EQ(Await(corner(0), kNormal), kNormal);
  userinput::Mouse(MOUSEEVENTF_LEFTUP, Slot(*player, 2, 4));
  Pump(100);
  EXPECT_EQ(player->Clicks, (std::vector<int>{btPause}));
  // Released outside the bar: nothing, and nothing left pressed.
  userinput::Mouse(MOUSEEVENTF_LEFTDOWN, Slot(*player, 2, 4));
  EXPECT_EQ(Await(corner(2), kPressed), kPressed);
  MoveTo({Slot(*player, 2, 4).x, Slot(*player, 2, 4).y + 120});
  userinput::Mouse(MOUSEEVENTF_LEFTUP, {Slot(*player, 2, 4).x, Slot(*player, 2, 4).y + 120});
  Pump(100);
  EXPECT_FALSE(s->FPlayer->FPressed);
  EXPECT_EQ(corner(2)(), kNormal);
  EXPECT_EQ(player->Clicks, (std::vector<int>{btPause}));
  // A quick second click is a click too.
  userinput::Click(Slot(*player, 2, 4));
  userinput::Click(Slot(*player, 2, 4));
  Pump(150);
  EXPECT_EQ(player->Clicks, (std::vector<int>{btPause, btStop, btStop}));
  // A disabled button never looks pressed.
  userinput::Mouse(MOUSEEVENTF_LEFTDOWN, Slot(*player, 3, 4));
  Pump(150);
  EXPECT_TRUE(s->FPlayer->FPressed);
  EXPECT_EQ(corner(3)(), kDisabled);
  userinput::Mouse(MOUSEEVENTF_LEFTUP, Slot(*player, 3, 4));
  Pump(100);
  MouseAway();
}

TEST(MediaPlayer, APlayerFreedInItsClickAndABarFreedWithItsPanelLeaveNothingBehind) {
  const int live = skin::TSkinControl::LiveCount();
  TControlWorld world;
  TTestForm f;
  auto* player = f.Add<TMediaPlayer>(10, 10, 360, 30);
  auto* panel = f.Add<fw::TPanel>(10, 100, 380, 80);
  auto* inner = new TMediaPlayer(f.Form.get());
  inner->SetParent(panel);
  inner->SetBounds(10, 10, 300, 30);
  MouseAway();
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  skin::TSkinMP* s = SkinOf(fs, player);
  ASSERT_NE(s, nullptr);
  ASSERT_NE(SkinOf(fs, inner), nullptr);
  const POINT at = Slot(*player, 0, 9);
  const HWND bar = s->FPlayer->Handle();
  TMediaPlayer** slot = &player;
  player->OnButton = [slot](int) {
    TMediaPlayer* p = *slot;
    *slot = nullptr;
    delete p;  // nothing is touched after this
  };
  userinput::Click(at);
  EXPECT_TRUE(formtest::PumpUntil([&] { return player == nullptr; }, 1500));
  Pump();
  EXPECT_FALSE(IsWindow(bar));
  EXPECT_EQ(Bars(f.Handle()), 0);
  // Another click there reaches nothing.
  userinput::Click(at);
  Pump(100);

  // The panel frees the bar (its child) before the player and its skin.
  const int before = skin::TSkinControl::LiveCount();
  delete panel;
  Pump();
  EXPECT_EQ(skin::TSkinControl::LiveCount(), before - 2);  // the panel's and the player's
  formtest::TSkinnedWorld::TakeOff(fs);
  EXPECT_EQ(skin::TSkinControl::LiveCount(), live);
  MouseAway();
}

TEST(MediaPlayer, SkinOffGivesThePlayerBackAndOnAgainBarsItOnce) {
  TControlWorld world;
  TTestForm f;
  auto* player = f.Add<TMediaPlayer>(10, 10, 360, 30);
  player->VisibleButtons = Bit(btPlay) | Bit(btStop) | Bit(btEject);
  f.Show();
  MouseAway();
  SetFocus(f.Handle());
  Pump(150);
  const fw::TWndMethod before = player->WindowProc;
  const TCapture look = TCapture::Of(f.Handle());
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(SkinOf(fs, player), nullptr);
  Pump(100);
  EXPECT_EQ(Query(player->Handle()), 1);

  formtest::TSkinnedWorld::TakeOff(fs);
  SetFocus(f.Handle());
  Pump(150);
  EXPECT_EQ(Bars(f.Handle()), 0);
  EXPECT_TRUE(player->WindowProc == before);
  EXPECT_EQ(Query(player->Handle()), 0);
  const TCapture after = TCapture::Of(f.Handle());
  EXPECT_EQ(after.Differences(look, player->BoundsRect()), 0) << after.Where(look);
  // The player's own clicks without the skin.
  userinput::Click(Slot(*player, 1, 4));
  Pump(100);
  EXPECT_EQ(player->Clicks, (std::vector<int>{btStop}));

  fs = f.Skin();
  ASSERT_NE(SkinOf(fs, player), nullptr);
  EXPECT_EQ(Bars(f.Handle()), 1);
  int skins = 0;
  for (skin::TSkinControl* c : fs->Controls()) skins += dynamic_cast<skin::TSkinMP*>(c) != nullptr;
  EXPECT_EQ(skins, 1);
  MouseAway();
}
