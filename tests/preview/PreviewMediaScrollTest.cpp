// The preview's stand-alone scroll bars and media player: skinned once each, a click on a media
// button reaching the player through the skin's bar, and skinning off and on again giving the
// system's look back and skinning them once more.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "SkinPreview.h"
#include "UserInput.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinMedia.h"
#include "skin/controls/SkinMisc.h"
#include "skin/controls/SkinScrollbars.h"
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

std::uint32_t Rgb(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

// The pixels of a control as its parent's window shows them.
std::vector<std::uint32_t> Look(TControl* c) {
  std::vector<std::uint32_t> pixels;
  HDC dc = GetDC(c->Parent()->Handle());
  for (int y = c->Top(); y < c->Top() + c->Height(); ++y)
    for (int x = c->Left(); x < c->Left() + c->Width(); ++x) pixels.push_back(Rgb(GetPixel(dc, x, y)));
  ReleaseDC(c->Parent()->Handle(), dc);
  return pixels;
}

// Skin objects of the preview's form skin of class T, and their controls.
template <class T>
std::vector<TControl*> SkinnedBy(HWND form) {
  std::vector<TControl*> out;
  skin::TWinSkinForm* f = skin::SkinManager ? skin::SkinManager->FindSkinForm(form) : nullptr;
  if (!f) return out;
  for (skin::TSkinControl* c : f->Controls())
    if (dynamic_cast<T*>(c)) out.push_back(c->FControl);
  return out;
}

BOOL CALLBACK Collect(HWND c, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(c);
  return TRUE;
}

// Overlays and bars lying anywhere on the form over one of the controls.
int Overlays(HWND form, const std::vector<TControl*>& over) {
  const auto mine = [&](TControl* c) { return std::find(over.begin(), over.end(), c) != over.end(); };
  std::vector<HWND> all;
  EnumChildWindows(form, &Collect, reinterpret_cast<LPARAM>(&all));
  int n = 0;
  for (HWND c : all) {
    TWinControl* w = FindControl(c);
    if (auto* bar = dynamic_cast<skin::TWScrollbar*>(w)) n += bar->FTarget && mine(FindControl(bar->FTarget));
    if (auto* media = dynamic_cast<skin::TWMediaPlayer*>(w)) n += mine(media->Player());
  }
  return n;
}

}  // namespace

TEST(PreviewMediaScroll, SkinnedOnceClickedThroughTheBarAndGivenBack) {
  auto* form = new TFormSkinView(Application);
  form->AfterConstruction();
  form->Show();
  SetForegroundWindow(form->Handle());
  Pump(500);
  ASSERT_NE(form->MediaPlayer1, nullptr);
  std::vector<TControl*> bars;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* s = dynamic_cast<TScrollBar*>(form->Components(i))) bars.push_back(s);
  ASSERT_EQ(bars.size(), 2u);
  std::vector<TControl*> mine = bars;
  mine.push_back(form->MediaPlayer1);
  const HWND window = form->Handle();
  const auto skinnedOnce = [&] {
    std::vector<TControl*> scrolls = SkinnedBy<skin::TSkinScControl>(window);
    std::sort(scrolls.begin(), scrolls.end());
    std::vector<TControl*> want = bars;
    std::sort(want.begin(), want.end());
    EXPECT_EQ(scrolls, want);
    EXPECT_EQ(SkinnedBy<skin::TSkinMP>(window), std::vector<TControl*>{form->MediaPlayer1});
    EXPECT_EQ(Overlays(window, mine), 3);
  };
  skinnedOnce();

  // A media button clicked on the skin's bar reaches the player: the label names it.
  const POINT play = form->MediaPlayer1->ClientToScreen({form->MediaPlayer1->Width() / 18, form->MediaPlayer1->Height() / 2});
  userinput::Click(play);
  Pump(300);
  EXPECT_NE(form->LabelMedia->Caption().find(L"播放"), std::wstring::npos);

  // Off: the system's look and procedures; on: skinned once more; off again: the same look.
  std::vector<TWndMethod> procs;
  form->SetSkinning(false);
  Pump(600);
  EXPECT_EQ(Overlays(window, mine), 0);
  std::vector<std::vector<std::uint32_t>> system;
  for (TControl* c : mine) {
    EXPECT_EQ(c->Perform(skin::WM_SKIN_QUERY), 0) << c->ClassName();
    procs.push_back(c->WindowProc);
    system.push_back(Look(c));
  }
  form->SetSkinning(true);
  Pump(600);
  skinnedOnce();
  for (std::size_t i = 0; i < mine.size(); ++i) EXPECT_NE(Look(mine[i]), system[i]) << mine[i]->ClassName();
  form->SetSkinning(false);
  Pump(600);
  for (std::size_t i = 0; i < mine.size(); ++i) {
    EXPECT_TRUE(mine[i]->WindowProc == procs[i]) << mine[i]->ClassName();
    EXPECT_EQ(Look(mine[i]), system[i]) << mine[i]->ClassName();
  }
  EXPECT_EQ(Overlays(window, mine), 0);
  delete form;
  Application->ProcessMessages();
  SetCursorPos(1200, 1000);
}
