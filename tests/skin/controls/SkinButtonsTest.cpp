// Push buttons and speed buttons skinned on a framework form: the frame a user sees in every
// state (real mouse and keys), what the window's own painting must not overwrite, counted
// clicks, and what the window's own procedure never sees while the skin is on.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "Buttons.h"
#include "ControlsFixture.h"
#include "StdCtrls.h"

using namespace ctltest;

namespace {

bool IsButtonFrame(std::uint32_t c) {
  return c == kNormal || c == kPressed || c == kDisabled || c == kHot || c == kFocused;
}

void Down(POINT p) {
  userinput::Mouse(MOUSEEVENTF_LEFTDOWN, p);
  Pump(80);
}
void Up(POINT p) {
  userinput::Mouse(MOUSEEVENTF_LEFTUP, p);
  Pump(80);
}
void Key(WORD vk, bool up) {
  userinput::Key(vk, up);
  Pump(80);
}

}  // namespace

// A plain push button, and a bit button (owner-drawn: its parent draws it when the window asks).
class PushButton : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(PlainAndBit, PushButton, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "BitButton" : "Button"; });

TEST_P(PushButton, FrameFollowsMouseKeysFocusAndEnabled) {
  TControlWorld world;
  TTestForm f;
  fw::TButton* b = GetParam() ? f.Add<fw::TBitBtn>(20, 20, 110, 32, L"按钮") : f.Add<fw::TButton>(20, 20, 110, 32, L"按钮");
  auto* other = f.Add<fw::TButton>(20, 90, 110, 32, L"Other");
  TClicks clicks;
  b->OnClick = clicks.Event();
  MouseAway();
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  other->SetFocus();
  Pump();
  const HWND h = b->Handle();
  const auto frame = [&] { return At(h, 3, 3); };
  const POINT centre = Centre(*b);

  EXPECT_EQ(Await(frame, kNormal), kNormal);
  MoveTo(centre);
  EXPECT_EQ(Await(frame, kHot), kHot);
  Down(centre);
  EXPECT_EQ(Await(frame, kPressed), kPressed);
  EXPECT_EQ(GetFocus(), h);  // the press focuses the button
  Up(centre);
  EXPECT_EQ(Await(frame, kHot), kHot);  // hot before focused
  EXPECT_EQ(clicks.N, 1);
  MouseAway();
  EXPECT_EQ(Await(frame, kFocused), kFocused);
  other->SetFocus();
  Pump();
  EXPECT_EQ(Await(frame, kNormal), kNormal);

  // Hot, focused and pressed at once, then disabled: the disabled frame, and no click.
  MoveTo(centre);
  Down(centre);
  ASSERT_EQ(frame(), kPressed);
  b->SetEnabled(false);
  Pump();
  EXPECT_EQ(Await(frame, kDisabled), kDisabled);
  MoveTo({centre.x + 3, centre.y});
  Pump(300);
  EXPECT_EQ(frame(), kDisabled);
  Up(centre);
  Pump(300);
  EXPECT_EQ(frame(), kDisabled);
  EXPECT_EQ(clicks.N, 1);
  b->SetEnabled(true);
  Pump();
  EXPECT_NE(frame(), kPressed);  // the press did not survive being disabled
  EXPECT_NE(frame(), kDisabled);
  MouseAway();
  EXPECT_EQ(Await(frame, kNormal), kNormal);

  // Space shows the pressed frame until it is released.
  b->SetFocus();
  Pump();
  Key(VK_SPACE, false);
  EXPECT_EQ(Await(frame, kPressed), kPressed);
  Key(VK_SPACE, true);
  EXPECT_EQ(Await(frame, kFocused), kFocused);
  EXPECT_EQ(clicks.N, 2);

  // What makes the window's own procedure paint at once must not leave its look on the screen:
  // read straight after each message, before any paint message is pumped.
  SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"新的文字"));
  EXPECT_EQ(frame(), kFocused) << "after WM_SETTEXT";
  SendMessageW(h, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(frame(), kFocused) << std::hex << frame() << " after BM_SETSTATE";
  SendMessageW(h, BM_SETSTATE, FALSE, 0);
  EXPECT_EQ(frame(), kFocused) << "after BM_SETSTATE 0";
  SetFocus(other->Handle());
  EXPECT_EQ(frame(), kNormal) << "after losing the focus";
  SetFocus(h);
  EXPECT_EQ(frame(), kFocused) << "after taking the focus";
  EnableWindow(h, FALSE);
  EXPECT_EQ(frame(), kDisabled) << "after EnableWindow 0";
  EnableWindow(h, TRUE);
  EXPECT_EQ(frame(), kNormal) << "after EnableWindow 1";
  Pump();
  EXPECT_TRUE(IsButtonFrame(frame()));
}

TEST(SpeedButton, FrameFollowsMouseAndEnabled) {
  TControlWorld world;
  TTestForm f;
  auto* s = f.Add<fw::TSpeedButton>(160, 20, 90, 32, L"快速");
  TClicks clicks;
  s->OnClick = clicks.Event();
  MouseAway();
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  const auto frame = [&] { return ControlAt(*s, 3, 3); };
  const POINT centre = Centre(*s);

  EXPECT_EQ(Await(frame, kNormal), kNormal);
  MoveTo(centre);
  EXPECT_EQ(Await(frame, kHot), kHot);
  Down(centre);
  EXPECT_EQ(Await(frame, kPressed), kPressed);
  Up(centre);
  EXPECT_EQ(Await(frame, kHot), kHot);
  EXPECT_EQ(clicks.N, 1);
  MouseAway();
  EXPECT_EQ(Await(frame, kNormal), kNormal);

  s->SetEnabled(false);
  Pump();
  EXPECT_EQ(Await(frame, kDisabled), kDisabled);
  MoveTo(centre);
  Pump(300);
  EXPECT_EQ(frame(), kDisabled);
  Down(centre);
  Pump(300);
  EXPECT_EQ(frame(), kDisabled);
  Up(centre);
  EXPECT_EQ(clicks.N, 1);
  MouseAway();
  s->SetEnabled(true);
  Pump();
  EXPECT_EQ(Await(frame, kNormal), kNormal);
  s->SetCaption(L"又一个");
  Pump();
  EXPECT_EQ(Await(frame, kNormal), kNormal);
}

TEST(Buttons, CaptionWithTwoBarsIsDrawnOnTwoLines) {
  TControlWorld world;
  TTestForm f;
  auto* b = f.Add<fw::TButton>(20, 20, 120, 56, L"A||B");
  auto* s = f.Add<fw::TSpeedButton>(160, 20, 120, 56, L"A||B");
  auto* focus = f.Add<fw::TButton>(20, 120, 60, 24, L"x");
  MouseAway();
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  focus->SetFocus();
  Pump();
  const auto lines = [&](fw::TControl& c) {
    HWND parent = c.Parent()->Handle();
    HDC dc = GetDC(parent);
    const RECT r{c.Left() + 4, c.Top() + 4, c.Left() + c.Width() - 4, c.Top() + c.Height() - 4};
    auto runs = InkRows(dc, r, kNormal);
    ReleaseDC(parent, dc);
    for (auto& run : runs) {
      run.first -= c.Top();
      run.second -= c.Top();
    }
    return runs;
  };
  for (fw::TControl* c : {static_cast<fw::TControl*>(b), static_cast<fw::TControl*>(s)}) {
    SCOPED_TRACE(c->ClassName());
    auto runs = lines(*c);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_LT(runs[0].second, c->Height() / 2);  // one word above the middle, one below
    EXPECT_GE(runs[1].first, c->Height() / 2 - 1);
    c->SetCaption(L"AB");
    Pump();
    EXPECT_EQ(lines(*c).size(), 1u);
  }
}

TEST(Buttons, ClicksAreCountedOnce) {
  TControlWorld world;
  TTestForm f;
  auto* b = f.Add<fw::TButton>(20, 20, 110, 32, L"确定");
  auto* s = f.Add<fw::TSpeedButton>(160, 20, 90, 32, L"快速");
  auto* edit = f.Add<fw::TEdit>(20, 120, 120, 24);
  TClicks bc, sc;
  b->OnClick = bc.Event();
  s->OnClick = sc.Event();
  b->SetDefault(true);
  MouseAway();
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  const POINT outside = f.Form->ClientToScreen({300, 200});
  struct Row {
    const char* what;
    TClicks& clicks;
    std::function<void()> act;
    int expected;
  };
  const std::vector<Row> rows = {
      {"press and release inside", bc, [&] { Down(Centre(*b)); Up(Centre(*b)); }, 1},
      {"press, leave, release outside", bc,
       [&] {
         Down(Centre(*b));
         MoveTo(outside);
         Up(outside);
       },
       0},
      {"space on the focused button", bc,
       [&] {
         b->SetFocus();
         Pump();
         Key(VK_SPACE, false);
         Key(VK_SPACE, true);
       },
       1},
      {"BM_CLICK", bc, [&] { SendMessageW(b->Handle(), BM_CLICK, 0, 0); }, 1},
      {"Enter while an edit has the focus", bc,
       [&] {
         edit->SetFocus();
         Pump();
         Key(VK_RETURN, false);
         Key(VK_RETURN, true);
       },
       1},
      {"speed button: press and release inside", sc, [&] { Down(Centre(*s)); Up(Centre(*s)); }, 1},
      {"speed button: press, leave, release outside", sc,
       [&] {
         Down(Centre(*s));
         MoveTo(outside);
         Up(outside);
       },
       0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    MouseAway();
    const int before = row.clicks.N;
    row.act();
    Pump();
    EXPECT_EQ(row.clicks.N - before, row.expected);
  }
}

namespace {

// Window procedures under the skin, installed before it: what the skin lets through to the
// window, for a bare window (subclassed) and for a framework control (its WindowProc).
struct TSpy {
  static inline WNDPROC Next = nullptr;
  static inline std::vector<UINT> Seen;
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    Seen.push_back(m);
    return CallWindowProcW(Next, h, m, wp, lp);
  }
  fw::TWndMethod NextMethod;
  void Method(fw::TMessage& m) {
    Seen.push_back(m.Msg);
    NextMethod(m);
  }
  static int Count(UINT m) { return static_cast<int>(std::count(Seen.begin(), Seen.end(), m)); }
};

}  // namespace

TEST(Buttons, TheWindowsOwnProcedureSeesNoPressAndNoPaintWhileSkinned) {
  TControlWorld world;
  formtest::TWindow parent(L"裸窗口", 320, 200);
  SetWindowPos(parent.Handle, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  HWND bare = CreateWindowW(L"BUTTON", L"裸按钮", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 110, 32,
                            parent.Handle, reinterpret_cast<HMENU>(101), nullptr, nullptr);
  TSpy::Next = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(bare, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSpy::Proc)));
  TSpy spy;
  TClicks clicks;
  TTestForm f;
  auto* b = f.Add<fw::TButton>(20, 20, 110, 32, L"按钮");
  b->OnClick = clicks.Event();
  b->HandleNeeded();
  spy.NextMethod = b->WindowProc;
  b->WindowProc = fw::TWndMethod::Of<&TSpy::Method>(&spy);
  MouseAway();
  ASSERT_TRUE(skin::SkinManager->SkinWindow(parent.Handle));
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  ASSERT_EQ(Query(bare), 1);
  ASSERT_EQ(Query(b->Handle()), 1);
  // Both buttons repainted (erased) and clicked by the user.
  const auto exercise = [&](HWND w, HWND top, POINT p) {
    TSpy::Seen.clear();
    InvalidateRect(w, nullptr, TRUE);
    UpdateWindow(w);
    SetForegroundWindow(top);
    Pump();
    Down(p);
    Up(p);
  };
  RECT r{};
  GetWindowRect(bare, &r);
  const POINT bareCentre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  for (const bool skinned : {true, false}) {
    SCOPED_TRACE(skinned ? "skinned" : "skin switched off");
    if (!skinned)
      for (HWND w : {bare, b->Handle()}) SendMessageW(w, skin::WM_SKIN_ENABLE, 0, 0);
    parent.Seen.clear();
    const int before = clicks.N;
    for (const auto& [w, top, p] : {std::tuple{bare, parent.Handle, bareCentre}, std::tuple{b->Handle(), f.Handle(), Centre(*b)}}) {
      exercise(w, top, p);
      for (UINT m : {WM_LBUTTONDOWN, WM_PAINT, WM_ERASEBKGND})
        EXPECT_EQ(TSpy::Count(m) > 0, !skinned) << (w == bare ? "bare window" : "framework button") << ", message " << std::hex << m;
      EXPECT_GT(TSpy::Count(WM_LBUTTONUP), 0);  // the release reaches the window either way
      EXPECT_EQ(IsButtonFrame(At(w, 3, 3)), skinned);
    }
    EXPECT_EQ(parent.Count(WM_COMMAND), 1);  // the bare button's click, told to its parent
    EXPECT_EQ(clicks.N - before, 1);
  }
  f.Form.reset();
  DestroyWindow(bare);
}
