// TMyStatusBar: the PIndex rules and the progress bar laid over the owner-drawn panel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "AppTestUtil.h"
#include "MyStatusBar.h"

using namespace apptest;
using app::TMyStatusBar;

namespace {

// A plain form with a four-panel progress status bar at the bottom.
struct BarWindow {
  fw::TForm* Form;
  TMyStatusBar* Bar;
  BarWindow() {
    app::RegisterAppClasses();
    Form = new fw::TForm(fw::Application);
    Form->SetBounds(100, 100, 600, 200);
    Bar = new TMyStatusBar(Form);
    Bar->SetParent(Form);
    Bar->Panels()->Clear();
    for (int w : {200, 60, 200, 50}) Bar->Panels()->Add()->SetWidth(w);
    Bar->SetPIndex(2);
    Form->Show();
    Redraw();
  }
  ~BarWindow() { delete Form; }
  void Redraw() {
    InvalidateRect(Bar->Handle(), nullptr, TRUE);
    UpdateWindow(Bar->Handle());
    Pump();
  }
  // Rectangle of a panel in the status bar's client coordinates.
  RECT PanelRect(int i) {
    RECT r{};
    SendMessageW(Bar->Handle(), SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  RECT BarRect() {
    fw::TProgressBar* p = Bar->ProgressBar();
    return {p->Left(), p->Top(), p->Left() + p->Width(), p->Top() + p->Height()};
  }
};

}  // namespace

TEST(MyStatusBar, ConstructionGivesThreePanelsAndAHiddenProgressBar) {
  fw::TForm form(nullptr);
  TMyStatusBar bar(&form);
  ASSERT_EQ(bar.Panels()->Count(), 3);
  EXPECT_EQ(bar.Panels()->Items(0)->Style(), fw::psText);
  EXPECT_EQ(bar.Panels()->Items(1)->Style(), fw::psText);
  EXPECT_EQ(bar.Panels()->Items(2)->Style(), fw::psOwnerDraw);
  EXPECT_EQ(bar.PIndex(), 2);
  EXPECT_FALSE(bar.SimplePanel());
  ASSERT_NE(bar.ProgressBar(), nullptr);
  EXPECT_EQ(bar.ProgressBar()->Name(), L"ProgressBar");
  EXPECT_EQ(bar.ProgressBar()->Owner(), &bar);
  EXPECT_EQ(bar.ProgressBar()->Parent(), nullptr);
  EXPECT_EQ(bar.ProgressBar()->Position(), 0);
  EXPECT_EQ(bar.ProgressBar()->Min(), 0);
  EXPECT_EQ(bar.ProgressBar()->Max(), 100);
}

TEST(MyStatusBar, ProgressBarCoversThePanelOnceDrawn) {
  BarWindow w;
  ASSERT_EQ(w.Bar->ProgressBar()->Parent(), w.Bar);
  RECT panel = w.PanelRect(2);
  RECT bar = w.BarRect();
  EXPECT_EQ(bar.left, panel.left - 1);
  EXPECT_EQ(bar.top, panel.top - 1);
  EXPECT_EQ(bar.right, panel.right);
  EXPECT_EQ(bar.bottom, panel.bottom + 1);
  EXPECT_TRUE(IsWindowVisible(w.Bar->ProgressBar()->Handle()));
}

TEST(MyStatusBar, PIndexEdgeCases) {
  BarWindow w;
  // Out of range: nothing changes.
  for (int bad : {5, 4, -1}) {
    w.Bar->SetPIndex(bad);
    EXPECT_EQ(w.Bar->PIndex(), 2) << bad;
    EXPECT_EQ(w.Bar->Panels()->Items(2)->Style(), fw::psOwnerDraw) << bad;
    EXPECT_EQ(w.Bar->ProgressBar()->Parent(), w.Bar) << bad;
  }
  // 2 -> 1: panel 2 becomes a text panel, panel 1 owner-drawn; the bar leaves until panel 1 is drawn.
  w.Bar->SetPIndex(1);
  EXPECT_EQ(w.Bar->Panels()->Items(2)->Style(), fw::psText);
  EXPECT_EQ(w.Bar->Panels()->Items(1)->Style(), fw::psOwnerDraw);
  EXPECT_EQ(w.Bar->ProgressBar()->Parent(), nullptr);
  w.Redraw();
  ASSERT_EQ(w.Bar->ProgressBar()->Parent(), w.Bar);
  RECT panel = w.PanelRect(1), bar = w.BarRect();
  EXPECT_EQ(bar.left, panel.left - 1);
  EXPECT_EQ(bar.right, panel.right);
  // In the last panel the bar leaves 12 pixels for the size grip.
  w.Bar->SetPIndex(3);
  w.Redraw();
  panel = w.PanelRect(3);
  bar = w.BarRect();
  EXPECT_EQ(bar.right, panel.right - 12);
  EXPECT_EQ(bar.left, panel.left - 1);
  // A PIndex left beyond the panels after they were cut is brought back to the last one.
  w.Bar->Panels()->Delete(3);
  w.Bar->SetPIndex(0);
  EXPECT_EQ(w.Bar->Panels()->Items(2)->Style(), fw::psText);
  EXPECT_EQ(w.Bar->Panels()->Items(0)->Style(), fw::psOwnerDraw);
}
