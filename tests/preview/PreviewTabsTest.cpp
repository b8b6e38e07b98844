// The preview's tab controls (page controls with their sheets, tabs at the bottom and on the
// left, button-style tabs) with skinning switched off and on: nothing of the skin stays behind,
// they look as the system draws them, and on again each is skinned once.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "ComCtrls.h"
#include "PreviewFixture.h"
#include "SkinPreview.h"

using namespace fw;
using namespace previewtest;
using preview::TFormSkinView;

TEST(PreviewTabs, SkinOffAndOnLeavesNothingBehindAndSkinsEachOnce) {
  TFormSkinView* form = UnskinnedPreview();
  // Every tab family the preview shows.
  std::vector<TWinControl*> tabs;
  bool closeBoxes = false, bottom = false, left = false, buttons = false, tabless = false;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* c = dynamic_cast<TWinControl*>(form->Components(i));
    if (auto* t = dynamic_cast<TCustomTabControl*>(c)) {
      tabs.push_back(t);
      closeBoxes |= dynamic_cast<TPageControl*>(t) && t->Tag == 7777;
      bottom |= t->TabPosition() == tpBottom;
      left |= t->TabPosition() == tpLeft;
      buttons |= t->Style() == tsButtons;
    } else if (auto* s = dynamic_cast<TTabSheet*>(c)) {
      tabs.push_back(s);
      tabless |= !s->TabVisible();
    }
  }
  EXPECT_TRUE(closeBoxes && bottom && left && buttons && tabless);
  ASSERT_GE(tabs.size(), 8u);

  CheckOffAndOn(form, tabs);
  delete form;
  Application->ProcessMessages();
}
