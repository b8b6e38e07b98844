// The life of control skins on a framework form: taking the skin off gives every control back
// what it had (and its look), putting it on again skins each control once, controls destroyed
// while skinned leave nothing behind, and a control's skin switched off and on by message.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "Buttons.h"
#include "ControlsFixture.h"
#include "StdCtrls.h"

using namespace ctltest;

namespace {

// What a control had before the skin came.
struct TBefore {
  fw::TControl* Control;
  fw::TWndMethod WindowProc;
  LONG_PTR Procedure;
  fw::TColor Color;
  bool ParentColor;
};

LONG_PTR ProcedureOf(fw::TControl* c) {
  auto* w = dynamic_cast<fw::TWinControl*>(c);
  return w ? GetWindowLongPtrW(w->Handle(), GWLP_WNDPROC) : 0;
}

// One of each control the form skin dispatches.
struct TEveryControl : TTestForm {
  TEveryControl() {
    All.push_back(Add<fw::TButton>(10, 10, 100, 28, L"按钮"));
    All.push_back(Add<fw::TBitBtn>(120, 10, 100, 28, L"位图"));
    All.push_back(Add<fw::TSpeedButton>(230, 10, 80, 28, L"快速"));
    All.push_back(Add<fw::TCheckBox>(10, 46, 120, 24, L"检查"));
    All.push_back(Add<fw::TRadioButton>(140, 46, 120, 24, L"单选"));
    All.push_back(Add<fw::TGroupBox>(10, 76, 180, 90, L"分组"));
    Group = Add<fw::TRadioGroup>(200, 76, 180, 90, L"方向");
    Group->Items()->Add(L"加密");
    Group->Items()->Add(L"解密");
    Group->SetItemIndex(1);
    All.push_back(Group);
    All.push_back(Group->Buttons(0));
    All.push_back(Group->Buttons(1));
    auto* panel = Add<fw::TPanel>(10, 176, 180, 60, L"面板");
    panel->SetColor(0x00336699);
    All.push_back(panel);
  }
  std::vector<TBefore> Record() {
    std::vector<TBefore> v;
    for (fw::TControl* c : All) v.push_back({c, c->WindowProc, ProcedureOf(c), c->Color(), c->ParentColor()});
    return v;
  }
  // Focus on the form itself and the mouse far away, so that two looks compare.
  void Still() {
    MouseAway();
    SetFocus(Handle());
    Pump(150);
  }
  std::vector<fw::TControl*> All;
  fw::TRadioGroup* Group = nullptr;
};

// The controls that own the skin objects of a form skin, each once.
std::multiset<fw::TControl*> SkinnedControls(skin::TWinSkinForm* f) {
  std::multiset<fw::TControl*> owners;
  for (skin::TSkinControl* c : f->Controls()) owners.insert(c->FPaintControl ? c->FPaintControl : c->FControl);
  return owners;
}

}  // namespace

TEST(SkinOff, EveryControlGetsBackWhatItHadAndOnAgainSkinsEachOnce) {
  const int live = skin::TSkinControl::LiveCount();
  TControlWorld world;
  TEveryControl f;
  f.Show();
  f.Still();
  const std::vector<TBefore> before = f.Record();
  const TCapture look = TCapture::Of(f.Handle());

  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  f.Still();
  const auto owners = SkinnedControls(fs);
  for (const TBefore& b : before) {
    SCOPED_TRACE(b.Control->ClassName());
    EXPECT_EQ(owners.count(b.Control), 1u);
    // A panel only takes the face colour; every other skin answers the question.
    if (dynamic_cast<fw::TPanel*>(b.Control)) EXPECT_EQ(b.Control->Color(), static_cast<fw::TColor>(0x00F2EEEC));
    else EXPECT_EQ(b.Control->Perform(skin::WM_SKIN_QUERY), 1);
  }
  const int skins = skin::TSkinControl::LiveCount() - live;
  EXPECT_EQ(skins, static_cast<int>(fs->Controls().size()));
  EXPECT_GT(TCapture::Of(f.Handle()).Differences(look), 1000);

  formtest::TSkinnedWorld::TakeOff(fs);
  f.Still();
  EXPECT_EQ(skin::TSkinControl::LiveCount(), live);
  for (const TBefore& b : before) {
    SCOPED_TRACE(b.Control->ClassName());
    EXPECT_TRUE(b.Control->WindowProc == b.WindowProc);
    EXPECT_EQ(ProcedureOf(b.Control), b.Procedure);
    EXPECT_EQ(b.Control->Color(), b.Color);
    EXPECT_EQ(b.Control->ParentColor(), b.ParentColor);
    EXPECT_EQ(b.Control->Perform(skin::WM_SKIN_QUERY), 0);
  }
  // Every control looks as it did before the skin came, without any help.
  const TCapture after = TCapture::Of(f.Handle());
  for (const TBefore& b : before) {
    if (b.Control->Parent() != f.Form.get()) continue;  // the radio group's items lie inside it
    EXPECT_EQ(after.Differences(look, b.Control->BoundsRect()), 0) << b.Control->ClassName() << ": " << after.Where(look);
  }
  // And so does the form round them, to its first row.
  EXPECT_EQ(after.Differences(look), 0) << after.Where(look);

  fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  EXPECT_EQ(SkinnedControls(fs), owners);
  EXPECT_EQ(skin::TSkinControl::LiveCount() - live, skins);
}

TEST(SkinLife, ControlsDestroyedWhileSkinnedLeaveNothingBehind) {
  const int live = skin::TSkinControl::LiveCount();
  {
    TControlWorld world;
    TEveryControl f;
    f.Show();
    skin::TWinSkinForm* fs = f.Skin();
    ASSERT_NE(fs, nullptr);
    TControlWorld::Hook();  // the radio group's new items are skinned as they come
    const auto skins = [&] { return skin::TSkinControl::LiveCount() - live; };
    const int all = skins();

    // The radio group's items change: its buttons are freed and made anew.
    f.Group->Items()->Clear();
    for (const wchar_t* item : {L"一", L"二", L"三"}) f.Group->Items()->Add(item);
    f.Group->SetItemIndex(2);
    Pump(150);
    ASSERT_EQ(f.Group->ButtonCount(), 3);
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(Query(f.Group->Buttons(i)->Handle()), 1);
      EXPECT_EQ(MarkAt(f.Group->Buttons(i)->Handle()), RadioColour(i == 2 ? 2 : 1));
    }
    EXPECT_EQ(skins(), all + 1);
    EXPECT_EQ(skins(), static_cast<int>(fs->Controls().size()));

    // A button and a speed button deleted; the form skin forgets them.
    delete f.All[0];
    delete f.All[2];
    Pump();
    EXPECT_EQ(skins(), all - 1);
    EXPECT_EQ(skins(), static_cast<int>(fs->Controls().size()));
    InvalidateRect(f.Handle(), nullptr, TRUE);
    Pump();  // the form still paints with the controls gone

    // The form freed with its skin on.
    const HWND window = f.Handle();
    f.Form.reset();
    Pump();
    EXPECT_EQ(skins(), 0);
    EXPECT_EQ(skin::SkinManager->FindSkinForm(window), nullptr);
  }
  EXPECT_EQ(skin::TSkinControl::LiveCount(), live);
}

TEST(SkinEnable, OffLooksLikeTheSystemAndOnRepaintsAtOnce) {
  TControlWorld world;
  TTestForm f;
  // Each control beside a twin that the skin leaves alone (the disabling tag).
  struct Pair {
    fw::TWinControl* Skinned;
    fw::TWinControl* System;
    std::function<std::uint32_t(HWND)> Face;
    std::uint32_t On;
  };
  std::vector<Pair> pairs;
  const auto pair = [&](auto* a, auto* b, std::function<std::uint32_t(HWND)> face, std::uint32_t on) {
    b->Tag = 99;
    pairs.push_back({a, b, std::move(face), on});
  };
  const auto corner = [](HWND h) { return At(h, 3, 3); };
  pair(f.Add<fw::TButton>(10, 10, 100, 28, L"按钮"), f.Add<fw::TButton>(200, 10, 100, 28, L"按钮"), corner, kNormal);
  pair(f.Add<fw::TCheckBox>(10, 50, 120, 24, L"检查"), f.Add<fw::TCheckBox>(200, 50, 120, 24, L"检查"), MarkAt,
       CheckColour(1));
  pair(f.Add<fw::TRadioButton>(10, 90, 120, 24, L"单选"), f.Add<fw::TRadioButton>(200, 90, 120, 24, L"单选"),
       MarkAt, RadioColour(1));
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  MouseAway();
  SetFocus(f.Handle());
  Pump(100);
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.Skinned->ClassName());
    const HWND h = p.Skinned->Handle();
    ASSERT_EQ(Query(h), 1);
    ASSERT_EQ(Query(p.System->Handle()), 0);
    EXPECT_EQ(p.Face(h), p.On);
    SendMessageW(h, skin::WM_SKIN_ENABLE, 0, 0);
    Pump();
    const TCapture off = TCapture::Of(h), system = TCapture::Of(p.System->Handle());
    EXPECT_EQ(off.Differences(system), 0) << off.Where(system);
    SendMessageW(h, skin::WM_SKIN_ENABLE, static_cast<WPARAM>(-1), 0);  // negative is off too
    EXPECT_NE(p.Face(h), p.On);
    SendMessageW(h, skin::WM_SKIN_ENABLE, 1, 0);
    EXPECT_EQ(p.Face(h), p.On);  // at once, before any paint message is pumped
  }
}
