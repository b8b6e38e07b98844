// The overlays of a scrollable control outlive nothing: a container freed while skinned frees
// its children first, the overlays among them, and only then the control with its skin.
#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "StdCtrls.h"
#include "skin/controls/SkinScrollbars.h"

using namespace ctltest;

namespace {

TestSkin ScrollControlSkin() {
  TestSkin s = ControlSkin();
  s.ScrollParts(GetSystemMetrics(SM_CXVSCROLL), [](int i) { return 0x100000u * static_cast<std::uint32_t>(i); },
                0x30C0A0, 0x606060, 0xD04080);
  return s;
}

}  // namespace

// A panel freed while skinned frees its children first, the overlays of a memo on it among
// them, and only then the memo with its skin: the skin must not free them a second time.
TEST(ScrollOverlayLife, APanelFreedWhileSkinnedTakesAMemosOverlaysWithIt) {
  const int live = skin::TSkinControl::LiveCount();
  TControlWorld world(ScrollControlSkin());
  TTestForm f;
  auto* panel = f.Add<fw::TPanel>(10, 10, 300, 200);
  auto* memo = new fw::TMemo(f.Form.get());
  memo->SetParent(panel);
  memo->SetBounds(10, 10, 200, 150);
  memo->SetScrollBars(fw::TScrollStyle::ssBoth);
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  auto* scroll = dynamic_cast<skin::TSkinScrollbar*>(fs->FindControlByHandle(memo->Handle()));
  ASSERT_NE(scroll, nullptr);
  ASSERT_NE(scroll->FVertBar, nullptr);
  delete panel;
  Pump();
  EXPECT_EQ(skin::TSkinControl::LiveCount(), live + static_cast<int>(fs->Controls().size()));
  formtest::TSkinnedWorld::TakeOff(fs);
  EXPECT_EQ(skin::TSkinControl::LiveCount(), live);
}
