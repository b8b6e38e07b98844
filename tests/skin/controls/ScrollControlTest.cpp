// Stand-alone scroll-bar controls under the skin's overlay: where it lies and what it shows,
// real arrow, track and thumb input that moves the control exactly as the system's own bar does
// (checked against an unskinned twin), an empty range, the skin taken off during a drag and
// given back, and the form freed with the skin on.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "ControlsFixture.h"
#include "StdCtrls.h"
#include "skin/controls/SkinMisc.h"
#include "skin/controls/SkinScrollbars.h"

using namespace ctltest;

namespace {

// Frame i (1-based) of the 23-frame bar strip; tracks and thumbs as in the form suite.
std::uint32_t BarFrame(int i) { return static_cast<std::uint32_t>(i) << 18 | 0x8000 | static_cast<std::uint32_t>(255 - 8 * i); }
constexpr std::uint32_t kTrack = 0x30C0A0, kTrackOff = 0x606060, kThumb = 0xD04080, kThumbDown = 0xF0F000;

TestSkin ScrollControlSkin() {
  TestSkin s = ControlSkin();
  s.ScrollParts(GetSystemMetrics(SM_CXVSCROLL), &BarFrame, kTrack, kTrackOff, kThumb);
  return s;
}

int Arrow() { return GetSystemMetrics(SM_CXVSCROLL); }

// A skinned scroll bar and, beside it, an unskinned twin (the disabling tag) with the same
// settings: what the system's own bar does with the same input.
struct TBarPair : TTestForm {
  explicit TBarPair(bool vertical, int min = 0, int max = 100, int page = 20, int position = 30) {
    Form->SetBounds(100, 100, 460, 340);
    for (fw::TScrollBar** bar : {&Skinned, &Twin}) {
      const int offset = bar == &Skinned ? 0 : 60;
      *bar = vertical ? Add<fw::TScrollBar>(20 + offset, 20, Arrow(), 240) : Add<fw::TScrollBar>(20, 20 + offset, 360, Arrow());
      if (vertical) (*bar)->SetKind(fw::sbVertical);
      (*bar)->SetBounds((*bar)->Left(), (*bar)->Top(), vertical ? Arrow() : 360, vertical ? 240 : Arrow());
      (*bar)->SetPageSize(0);
      (*bar)->SetParams(position, min, max);
      (*bar)->SetPageSize(page);
      (*bar)->SetSmallChange(1);
      (*bar)->SetLargeChange(20);
    }
    Twin->Tag = 99;
    Vertical = vertical;
  }
  skin::TSkinScControl* SkinOf(skin::TWinSkinForm* f) const {
    return f ? dynamic_cast<skin::TSkinScControl*>(f->FindControlByHandle(Skinned->Handle())) : nullptr;
  }
  // A point along the bar (p pixels from its start), across its middle, in screen coordinates.
  static POINT Along(fw::TScrollBar* bar, bool vertical, int p) {
    return bar->ClientToScreen(vertical ? POINT{bar->Width() / 2, p} : POINT{p, bar->Height() / 2});
  }
  fw::TScrollBar* Skinned = nullptr;
  fw::TScrollBar* Twin = nullptr;
  bool Vertical = true;
};

// A pixel of the overlay at a distance along its axis, across its middle, as the screen shows it
// once pending paints are done (nothing forces a repaint: what the skin asked for is seen).
std::uint32_t OverlayAt(skin::TWScrollbar* bar, int along) {
  const HWND h = bar->Handle();
  Pump(30);
  return bar->FVertical ? ClientAt(h, bar->Width() / 2, along) : ClientAt(h, along, bar->Height() / 2);
}

// The thumb as the overlay computes it for a bar of `length` with range min..max, page and pos.
std::pair<int, int> ThumbOf(int length, int min, int max, int page, int pos) {
  const int a = Arrow(), track = length - 2 * a, range = max - min;
  int size = MulDiv(track, page - 1, range);
  int start = a + MulDiv(track, pos - min, range);
  if (size <= 7) {
    size = 8;
    start = a + MulDiv(track - 8, pos - min, range);
  }
  return {start, start + size};
}

// A thumb drag with the system's own input, from a timer (the system's loop runs inside the
// press): down, two moves along the axis, up.
struct TDrag {
  static inline POINT From{};
  static inline bool Vertical = true;
  static inline int Step = 0;
  static inline std::function<void()> During;
  static POINT By(int d) { return Vertical ? POINT{From.x, From.y + d} : POINT{From.x + d, From.y}; }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    switch (Step++) {
      case 0: userinput::Mouse(MOUSEEVENTF_LEFTDOWN, From); break;
      case 1: userinput::Mouse(0, By(15)); break;
      case 2: userinput::Mouse(0, By(40)); break;
      case 3:
        if (During) During();
        break;
      case 4: userinput::Mouse(MOUSEEVENTF_LEFTUP, By(40)); break;
      default: KillTimer(nullptr, id); break;
    }
  }
  static void Run(POINT from, bool vertical) {
    From = from;
    Vertical = vertical;
    Step = 0;
    userinput::Mouse(0, from);
    Pump(40);
    SetTimer(nullptr, 0, 120, &Tick);
    formtest::PumpUntil([] { return Step > 5; }, 5000);
    Pump(80);
  }
};

// A click and the time for the system's loop to finish.
void ClickBar(POINT p) {
  userinput::Click(p);
  Pump(250);
}

}  // namespace

class ScrollControl : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Axes, ScrollControl, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Vertical" : "Horizontal"; });

TEST_P(ScrollControl, TheOverlayCoversTheControlAndShowsItsThumb) {
  const bool vertical = GetParam();
  TControlWorld world(ScrollControlSkin());
  TBarPair f(vertical);
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  skin::TSkinScControl* s = f.SkinOf(fs);
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->FBar, nullptr);
  ASSERT_TRUE(s->FBar->FShown);
  EXPECT_EQ(s->FBar->FVertical, vertical);
  EXPECT_EQ(fs->FindControlByHandle(f.Twin->Handle()), nullptr);
  RECT over{}, control{};
  GetWindowRect(s->FBar->Handle(), &over);
  GetWindowRect(f.Skinned->Handle(), &control);
  EXPECT_TRUE(EqualRect(&over, &control));
  EXPECT_EQ(GetWindow(f.Skinned->Handle(), GW_HWNDPREV), s->FBar->Handle());  // directly above it

  const int length = vertical ? 240 : 360, a = Arrow();
  EXPECT_EQ(OverlayAt(s->FBar, a / 2), BarFrame(vertical ? 9 : 1));
  EXPECT_EQ(OverlayAt(s->FBar, length - a / 2), BarFrame(vertical ? 13 : 5));
  auto [start, end] = ThumbOf(length, 0, 100, 20, 30);
  EXPECT_EQ(OverlayAt(s->FBar, start + 2), kThumb);
  EXPECT_EQ(OverlayAt(s->FBar, end - 2), kThumb);
  EXPECT_EQ(OverlayAt(s->FBar, start - 3), kTrack);
  EXPECT_EQ(OverlayAt(s->FBar, end + 3), kTrack);
  // The bar is drawn across the whole control.
  const HWND h = s->FBar->Handle();
  EXPECT_EQ(vertical ? ClientAt(h, f.Skinned->Width() - 1, start + 2) : ClientAt(h, start + 2, f.Skinned->Height() - 1),
            kThumb);

  // The keyboard scrolls the focused control; the overlay shows the thumb where it went.
  f.Skinned->SetFocus();
  Pump();
  for (int i = 0; i < 20; ++i) userinput::Press(vertical ? VK_DOWN : VK_RIGHT);
  Pump(200);
  EXPECT_EQ(f.Skinned->Position(), 50);
  std::tie(start, end) = ThumbOf(length, 0, 100, 20, 50);
  EXPECT_EQ(OverlayAt(s->FBar, start + 2), kThumb);
  EXPECT_EQ(OverlayAt(s->FBar, ThumbOf(length, 0, 100, 20, 30).first + 2), kTrack);
  // And so does a position set from code.
  f.Skinned->SetPosition(0);
  Pump();
  EXPECT_EQ(OverlayAt(s->FBar, a + 2), kThumb);

  // A disabled control: the disabled track, no thumb.
  f.Skinned->SetEnabled(false);
  Pump();
  EXPECT_EQ(OverlayAt(s->FBar, a + 2), kTrackOff);
  f.Skinned->SetEnabled(true);
  Pump();
  // Moved and hidden with its control.
  f.Skinned->SetBounds(f.Skinned->Left() + 7, f.Skinned->Top() + 5, f.Skinned->Width(), f.Skinned->Height());
  Pump();
  GetWindowRect(s->FBar->Handle(), &over);
  GetWindowRect(f.Skinned->Handle(), &control);
  EXPECT_TRUE(EqualRect(&over, &control));
  f.Skinned->SetVisible(false);
  Pump();
  EXPECT_FALSE(IsWindowVisible(s->FBar->Handle()));
  f.Skinned->SetVisible(true);
  Pump();
  EXPECT_TRUE(IsWindowVisible(s->FBar->Handle()));
}

TEST_P(ScrollControl, ArrowTrackAndThumbMoveThePositionAsTheSystemsBarDoes) {
  const bool vertical = GetParam();
  TControlWorld world(ScrollControlSkin());
  TBarPair f(vertical);
  f.Show();
  skin::TSkinScControl* s = f.SkinOf(f.Skin());
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(s->FBar->FShown);
  const int length = vertical ? 240 : 360, a = Arrow();
  // The same input at the same place of both bars.
  const auto both = [&](const std::function<void(fw::TScrollBar*)>& input) {
    for (fw::TScrollBar* bar : {f.Skinned, f.Twin}) input(bar);
  };
  both([&](fw::TScrollBar* bar) { ClickBar(TBarPair::Along(bar, vertical, length - a / 2)); });
  EXPECT_EQ(f.Twin->Position(), 31);
  EXPECT_EQ(f.Skinned->Position(), f.Twin->Position());
  both([&](fw::TScrollBar* bar) { ClickBar(TBarPair::Along(bar, vertical, a / 2)); });
  EXPECT_EQ(f.Skinned->Position(), 30);
  EXPECT_EQ(f.Twin->Position(), 30);
  // The track after the thumb: a page.
  both([&](fw::TScrollBar* bar) { ClickBar(TBarPair::Along(bar, vertical, length - a - 3)); });
  EXPECT_EQ(f.Twin->Position(), 50);
  EXPECT_EQ(f.Skinned->Position(), f.Twin->Position());
  // The thumb dragged 40 pixels on.
  const auto [start, end] = ThumbOf(length, 0, 100, 20, 50);
  both([&](fw::TScrollBar* bar) { TDrag::Run(TBarPair::Along(bar, vertical, (start + end) / 2), vertical); });
  EXPECT_GT(f.Twin->Position(), 50);
  EXPECT_EQ(f.Skinned->Position(), f.Twin->Position());
  EXPECT_FALSE(s->FBar->FPressed);
  // The overlay shows the thumb where the drag left it.
  const auto [now, nowEnd] = ThumbOf(length, 0, 100, 20, f.Skinned->Position());
  EXPECT_EQ(OverlayAt(s->FBar, now + 2), kThumb);
  EXPECT_LT(nowEnd, length);
  MouseAway();
}

TEST_P(ScrollControl, AnEmptyRangeIsDrawnAndPressedWithoutHarm) {
  const bool vertical = GetParam();
  TControlWorld world(ScrollControlSkin());
  TBarPair f(vertical, 5, 5, 0, 5);
  f.Show();
  skin::TSkinScControl* s = f.SkinOf(f.Skin());
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(s->FBar->FShown);
  const int length = vertical ? 240 : 360, a = Arrow();
  EXPECT_EQ(OverlayAt(s->FBar, a + 2), kThumb);  // the thumb at the start
  for (int at : {a / 2, a + 3, length / 2, length - a - 3, length - a / 2}) {
    ClickBar(TBarPair::Along(f.Skinned, vertical, at));
    EXPECT_EQ(f.Skinned->Position(), 5) << at;
    EXPECT_FALSE(s->FBar->FPressed);
  }
  // With a page as well.
  f.Skinned->SetPageSize(10);
  Pump();
  EXPECT_EQ(OverlayAt(s->FBar, a / 2), BarFrame(vertical ? 9 : 1));
  TDrag::Run(TBarPair::Along(f.Skinned, vertical, a + 4), vertical);
  EXPECT_EQ(f.Skinned->Position(), 5);
  EXPECT_FALSE(s->FBar->FPressed);
  MouseAway();
}

TEST(ScrollControl, SkinOffGivesTheSystemsBarBackAndOnAgainOverlaysItOnce) {
  const int live = skin::TSkinControl::LiveCount();
  TControlWorld world(ScrollControlSkin());
  TBarPair f(true);
  auto* horz = f.Add<fw::TScrollBar>(120, 20, 260, Arrow());
  horz->SetParams(40, 0, 100);
  f.Show();
  MouseAway();
  SetFocus(f.Handle());
  Pump(150);
  const fw::TWndMethod before = f.Skinned->WindowProc;
  const TCapture look = TCapture::Of(f.Handle());
  const auto overlays = [&] {
    int n = 0;
    for (HWND c = GetWindow(f.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      n += dynamic_cast<skin::TWScrollbar*>(fw::FindControl(c)) != nullptr;
    return n;
  };
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(f.SkinOf(fs), nullptr);
  Pump(100);
  EXPECT_EQ(overlays(), 2);
  EXPECT_EQ(Query(f.Skinned->Handle()), 1);
  EXPECT_GT(TCapture::Of(f.Handle()).Differences(look, f.Skinned->BoundsRect()), 100);

  formtest::TSkinnedWorld::TakeOff(fs);
  MouseAway();
  SetFocus(f.Handle());
  Pump(150);
  EXPECT_EQ(overlays(), 0);
  EXPECT_TRUE(f.Skinned->WindowProc == before);
  EXPECT_EQ(Query(f.Skinned->Handle()), 0);
  EXPECT_EQ(skin::TSkinControl::LiveCount(), live);
  const TCapture after = TCapture::Of(f.Handle());
  for (fw::TControl* c : {static_cast<fw::TControl*>(f.Skinned), static_cast<fw::TControl*>(horz)})
    EXPECT_EQ(after.Differences(look, c->BoundsRect()), 0) << after.Where(look);

  fs = f.Skin();
  ASSERT_NE(f.SkinOf(fs), nullptr);
  Pump(100);
  EXPECT_EQ(overlays(), 2);
  int skins = 0;
  for (skin::TSkinControl* c : fs->Controls()) skins += dynamic_cast<skin::TSkinScControl*>(c) != nullptr;
  EXPECT_EQ(skins, 2);
}

TEST(ScrollControl, TheSkinTakenOffDuringADragAndTheFormFreedWithTheSkinOn) {
  const int live = skin::TSkinControl::LiveCount();
  {
    TControlWorld world(ScrollControlSkin());
    TBarPair f(true);
    f.Show();
    skin::TWinSkinForm* fs = f.Skin();
    skin::TSkinScControl* s = f.SkinOf(fs);
    ASSERT_NE(s, nullptr);
    const HWND overlay = s->FBar->Handle();
    // Off inside the system's loop of the pressed overlay: it outlives its press and goes after.
    static skin::TWinSkinForm* off;
    off = fs;
    TDrag::During = [] { formtest::TSkinnedWorld::TakeOff(off); };
    const auto [start, end] = ThumbOf(240, 0, 100, 20, 30);
    TDrag::Run(TBarPair::Along(f.Skinned, true, (start + end) / 2), true);
    TDrag::During = nullptr;
    EXPECT_TRUE(formtest::PumpUntil([&] { return !IsWindow(overlay); }, 2000));
    EXPECT_EQ(skin::TSkinControl::LiveCount(), live);
    EXPECT_EQ(Query(f.Skinned->Handle()), 0);
    EXPECT_GT(f.Skinned->Position(), 30);  // the drag itself went on to its end

    // On again with a second bar on a panel; the panel freed while skinned frees the overlay
    // (its child) before the bar and its skin; then the form freed while skinned.
    auto* panel = f.Add<fw::TPanel>(100, 20, 200, 200);
    auto* inner = new fw::TScrollBar(f.Form.get());
    inner->SetParent(panel);
    inner->SetBounds(10, 10, 150, Arrow());
    fs = f.Skin();
    ASSERT_NE(f.SkinOf(fs), nullptr);
    auto* innerSkin = dynamic_cast<skin::TSkinScControl*>(fs->FindControlByHandle(inner->Handle()));
    ASSERT_NE(innerSkin, nullptr);
    ASSERT_NE(innerSkin->FBar, nullptr);
    const int skins = skin::TSkinControl::LiveCount();
    delete panel;
    Pump();
    EXPECT_EQ(skin::TSkinControl::LiveCount(), skins - 2);  // the panel's and the bar's
    InvalidateRect(f.Handle(), nullptr, TRUE);
    Pump();
    const HWND window = f.Handle();
    f.Form.reset();
    Pump();
    EXPECT_EQ(skin::SkinManager->FindSkinForm(window), nullptr);
  }
  EXPECT_EQ(skin::TSkinControl::LiveCount(), live);
  MouseAway();
}

// A new kind makes the control's window again: the new window gets a new overlay on its axis.
TEST(ScrollControl, AChangedKindIsOverlaidOnItsNewAxis) {
  const int live = skin::TSkinControl::LiveCount();
  TControlWorld world(ScrollControlSkin());
  TBarPair f(false);
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(f.SkinOf(fs), nullptr);
  TControlWorld::Hook();
  f.Skinned->SetKind(fw::sbVertical);
  Pump(200);
  skin::TSkinScControl* s = f.SkinOf(fs);
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->FBar, nullptr);
  EXPECT_TRUE(s->FBar->FVertical);
  RECT over{}, control{};
  GetWindowRect(s->FBar->Handle(), &over);
  GetWindowRect(f.Skinned->Handle(), &control);
  EXPECT_TRUE(EqualRect(&over, &control));
  EXPECT_EQ(OverlayAt(s->FBar, Arrow() / 2), BarFrame(9));
  int overlays = 0;
  for (HWND c = GetWindow(f.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    overlays += dynamic_cast<skin::TWScrollbar*>(fw::FindControl(c)) != nullptr;
  EXPECT_EQ(overlays, 1);
  formtest::TSkinnedWorld::TakeOff(fs);
  EXPECT_EQ(skin::TSkinControl::LiveCount(), live);
}
