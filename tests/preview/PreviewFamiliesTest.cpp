// The preview's other control families with skinning switched off and on: buttons, marks,
// groups, edits, lists, combo boxes, pickers, the status bar with its progress bar, progress and
// track bars, the list view with its header and the header control; nothing of the skin stays
// behind, each looks as the system draws it, and on again each is skinned once.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Buttons.h"
#include "ComCtrls.h"
#include "PreviewFixture.h"
#include "SkinPreview.h"
#include "StdCtrls.h"
#include "skin/data/WinSkinData.h"

using namespace fw;
using namespace previewtest;
using preview::TFormSkinView;

TEST(PreviewFamilies, SkinOffAndOnLeavesNothingBehindAndSkinsEachOnce) {
  TFormSkinView* form = UnskinnedPreview();
  // The families by class; tab controls and scroll-bar controls have their own tests.
  const std::set<std::string> families{"TButton", "TBitBtn", "TCheckBox", "TRadioButton", "TGroupBox",
                                       "TEdit", "TMemo", "TListBox", "TComboBox", "TDateTimePicker",
                                       "TUpDown", "TStatusBar", "TProgressBar", "TTrackBar", "TListView",
                                       "THeaderControl"};
  std::vector<TWinControl*> controls;
  std::set<std::string> seen;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* c = dynamic_cast<TWinControl*>(form->Components(i));
    if (!c || !families.count(c->ClassName())) continue;
    controls.push_back(c);
    seen.insert(c->ClassName());
  }
  // The status bar's progress bar belongs to the bar, not to the form.
  for (TWinControl* c : form->TabOrderList())
    if (dynamic_cast<TProgressBar*>(c) && c->Owner() != form) controls.push_back(c);
  EXPECT_EQ(seen, families);
  // Edits keep the system's client area (only their border is the skin's): a few pixels differ.
  CheckOffAndOn(form, controls, 10);

  // Panels only take the skin's face colour, and give it back.
  std::vector<std::pair<TPanel*, TColor>> panels;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TPanel*>(form->Components(i))) panels.emplace_back(p, p->Color());
  ASSERT_FALSE(panels.empty());
  form->SetSkinning(true);
  Pump(300);
  for (auto& [panel, colour] : panels) EXPECT_EQ(panel->Color(), form->SkinData1->ButtonFaceColour());
  form->SetSkinning(false);
  Pump(300);
  for (auto& [panel, colour] : panels) EXPECT_EQ(panel->Color(), colour);

  // The list view's header window is skinned with it, and goes with it.
  HWND header = reinterpret_cast<HWND>(SendMessageW(form->ListView1->Handle(), LVM_GETHEADER, 0, 0));
  ASSERT_TRUE(header);
  EXPECT_EQ(SendMessageW(header, skin::WM_SKIN_QUERY, 0, 0), 0);
  form->SetSkinning(true);
  Pump(300);
  EXPECT_EQ(SendMessageW(header, skin::WM_SKIN_QUERY, 0, 0), 1);
  form->SetSkinning(false);
  Pump(300);
  EXPECT_EQ(SendMessageW(header, skin::WM_SKIN_QUERY, 0, 0), 0);
  delete form;
  Application->ProcessMessages();
}
