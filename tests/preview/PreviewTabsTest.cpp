// The preview's tab controls (page controls with their sheets, tabs at the bottom and on the
// left, button-style tabs) with skinning switched off and on: nothing of the skin stays behind,
// they look as the system draws them, and on again each is skinned once.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "ComCtrls.h"
#include "SkinPreview.h"
#include "skin/SkinMessages.h"
#include "skin/controls/WinSubClass.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

using namespace fw;
using preview::TFormSkinView;

namespace {

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    Application->ProcessMessages();
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

// The client area of a window as the screen shows it.
std::vector<std::uint32_t> Capture(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  std::vector<std::uint32_t> pixels;
  HDC dc = GetDC(w);
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(w, dc);
  return pixels;
}

int Differences(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size()) return static_cast<int>(std::max(a.size(), b.size()));
  int n = 0;
  for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

struct TState {
  TWndMethod WindowProc;
  LONG_PTR Procedure = 0;
  std::vector<std::uint32_t> Look;
};

}  // namespace

TEST(PreviewTabs, SkinOffAndOnLeavesNothingBehindAndSkinsEachOnce) {
  auto* form = new TFormSkinView(Application);
  form->AfterConstruction();
  form->SetSkinning(false);
  form->Show();
  SetForegroundWindow(form->Handle());
  Pump(300);
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

  const auto still = [&] {
    SetCursorPos(1250, 1000);
    SetFocus(form->Handle());
    Pump(200);
  };
  const auto skinnedOnce = [&] {
    skin::TWinSkinForm* fs = skin::SkinManager->FindSkinForm(form->Handle());
    ASSERT_NE(fs, nullptr);
    std::map<TControl*, int> owners;
    for (skin::TSkinControl* c : fs->Controls()) ++owners[c->FControl];
    for (TWinControl* t : tabs) {
      EXPECT_EQ(owners[t], 1) << t->ClassName();
      EXPECT_EQ(SendMessageW(t->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1) << t->ClassName();
    }
  };
  const auto record = [&] {
    std::map<TWinControl*, TState> states;
    for (TWinControl* t : tabs)
      states[t] = {t->WindowProc, GetWindowLongPtrW(t->Handle(), GWLP_WNDPROC),
                   IsWindowVisible(t->Handle()) ? Capture(t->Handle()) : std::vector<std::uint32_t>{}};
    return states;
  };
  const auto compare = [&](const std::map<TWinControl*, TState>& want, bool procedures) {
    for (TWinControl* t : tabs) {
      SCOPED_TRACE(t->ClassName());
      const TState& s = want.at(t);
      if (procedures) {
        EXPECT_TRUE(t->WindowProc == s.WindowProc);
        EXPECT_EQ(GetWindowLongPtrW(t->Handle(), GWLP_WNDPROC), s.Procedure);
        EXPECT_EQ(SendMessageW(t->Handle(), skin::WM_SKIN_QUERY, 0, 0), 0);
      }
      if (!s.Look.empty()) {
        EXPECT_EQ(Differences(Capture(t->Handle()), s.Look), 0);
      }
    }
  };

  // The system's look, before the skin ever came.
  still();
  const std::map<TWinControl*, TState> system = record();

  form->SetSkinning(true);
  Pump(300);
  still();
  skinnedOnce();
  const std::map<TWinControl*, TState> skinned = record();
  for (TWinControl* t : tabs) {
    if (!system.at(t).Look.empty()) {
      EXPECT_GT(Differences(system.at(t).Look, skinned.at(t).Look), 50) << t->ClassName();
    }
  }

  // Off: procedures given back, the system's look at once, without any help.
  form->SetSkinning(false);
  Pump(300);
  still();
  compare(system, true);

  // On again: skinned once, looking as the first time; and off again as before.
  form->SetSkinning(true);
  Pump(300);
  still();
  skinnedOnce();
  compare(skinned, false);
  form->SetSkinning(false);
  Pump(300);
  still();
  compare(system, true);
  delete form;
  Application->ProcessMessages();
}
