// Scroll bars drawn by the skin over a memo's own bar under Wine: the overlay's place, its
// pixels, real clicks that scroll exactly as the system's bar, and the bar given back.
#include <gtest/gtest.h>

#include "Pixels.h"
#include "FormSkinFixture.h"
#include "Grids.h"
#include "StdCtrls.h"
#include "ScrollSpy.h"
#include "UserInput.h"
#include "skin/controls/SkinScrollbars.h"

using namespace formtest;
using skin::SetOf;
using skin::SkinManager;
using skin::TWinSkinForm;

namespace {

using pixels::Rgb;
// Frame i (1-based) of the 23-frame bar strip.
std::uint32_t BarFrame(int i) { return static_cast<std::uint32_t>(i) << 18 | 0x8000 | static_cast<std::uint32_t>(255 - 8 * i); }
constexpr std::uint32_t kTrack = 0x30C0A0, kTrackOff = 0x606060, kThumb = 0xD04080;

TestSkin ScrollSkin(int size) {
  TestSkin s = FrameSkin();
  s.ScrollParts(size, &BarFrame, kTrack, kTrackOff, kThumb);
  return s;
}

struct TMemoWorld {
  TMemoWorld() {
    LoadTestSkin(*World.Data, ScrollSkin(GetSystemMetrics(SM_CXVSCROLL)));
    World.Data->SkinControls = SetOf(skin::xcMainMenu) | SetOf(skin::xcScrollbar);
    Form.SetBounds(100, 100, 360, 300);
    Memo = new fw::TMemo(&Form);
    Memo->SetParent(&Form);
    Memo->SetBounds(10, 10, 220, 160);
    Memo->SetScrollBars(fw::TScrollStyle::ssVertical);
    std::wstring text;
    for (int i = 0; i < 200; ++i) text += L"第 " + std::to_wstring(i) + L" 行\r\n";
    Memo->SetText(text);
    SendMessageW(Memo->Handle(), EM_SETSEL, 0, 0);
    SendMessageW(Memo->Handle(), EM_SCROLLCARET, 0, 0);
    Form.Show();
    Pump();
    SkinManager->SkinWindow(Form.Handle());
    Pump();
    Skin = SkinManager->FindSkinForm(Form.Handle());
    Scroll = Skin ? dynamic_cast<skin::TSkinScrollbar*>(Skin->FindControlByHandle(Memo->Handle())) : nullptr;
  }
  std::uint32_t BarPixel(int x, int y) const {
    return pixels::ClientPixel(Scroll->FVertBar->Handle(), x, y);
  }
  LRESULT FirstLine() const { return SendMessageW(Memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0); }
  TSkinnedWorld World;
  fw::TForm Form{nullptr};
  fw::TMemo* Memo = nullptr;
  TWinSkinForm* Skin = nullptr;
  skin::TSkinScrollbar* Scroll = nullptr;
};

}  // namespace

TEST(ScrollSkin, TheOverlayLiesOverTheBarAndShowsTheSkin) {
  TMemoWorld w;
  ASSERT_NE(w.Scroll, nullptr);
  ASSERT_NE(w.Scroll->FVertBar, nullptr);
  ASSERT_TRUE(w.Scroll->FVertBar->FShown);
  EXPECT_FALSE(w.Scroll->FHorzBar->FShown);  // the memo has no horizontal bar
  HWND bar = w.Scroll->FVertBar->Handle();
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(w.Memo->Handle(), OBJID_VSCROLL, &info));
  RECT r{};
  GetWindowRect(bar, &r);
  EXPECT_TRUE(EqualRect(&r, &info.rcScrollBar));
  EXPECT_EQ(GetWindow(w.Memo->Handle(), GW_HWNDPREV), bar);  // directly above the memo
  EXPECT_EQ(SendMessageW(w.Memo->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1);
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const int a = GetSystemMetrics(SM_CXVSCROLL);
  const int h = r.bottom - r.top;
  EXPECT_EQ(w.BarPixel(a / 2, a / 2), BarFrame(9));          // the up arrow
  EXPECT_EQ(w.BarPixel(a / 2, h - a / 2), BarFrame(13));     // the down arrow
  EXPECT_EQ(w.BarPixel(a / 2, info.xyThumbTop + 2), kThumb);  // the thumb, where the system has it
  EXPECT_EQ(w.BarPixel(a / 2, h - a - 2), kTrack);           // the track below the thumb
}

TEST(ScrollSkin, RealClicksScrollAsTheSystemsBarDoes) {
  TMemoWorld w;
  ASSERT_NE(w.Scroll, nullptr);
  ASSERT_TRUE(w.Scroll->FVertBar->FShown);
  RECT r{};
  GetWindowRect(w.Scroll->FVertBar->Handle(), &r);
  const int a = GetSystemMetrics(SM_CXVSCROLL);
  ASSERT_EQ(w.FirstLine(), 0);
  userinput::Click({r.left + a / 2, r.bottom - a / 2});  // the down arrow
  PumpUntil([&] { return w.FirstLine() != 0; }, 1000);
  Pump(60);
  EXPECT_EQ(w.FirstLine(), 1);
  // The track below the thumb: one page.
  const LRESULT before = w.FirstLine();
  userinput::Click({r.left + a / 2, r.bottom - a - 3});
  PumpUntil([&] { return w.FirstLine() > before + 1; }, 1000);
  Pump(60);
  EXPECT_GT(w.FirstLine(), before + 3);
  // At the end the overlay's thumb is at the end too, where the system has it.
  SendMessageW(w.Memo->Handle(), EM_LINESCROLL, 0, 190);
  Pump();
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(w.Memo->Handle(), OBJID_VSCROLL, &info);
  EXPECT_GT(info.xyThumbTop, a + 10);
  RedrawWindow(w.Scroll->FVertBar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(w.BarPixel(a / 2, info.xyThumbTop + 2), kThumb);
  EXPECT_EQ(w.BarPixel(a / 2, a + 2), kTrack);
  SetCursorPos(1200, 1000);
}

TEST(ScrollSkin, TheBarIsGivenBackWithTheSkin) {
  TMemoWorld w;
  ASSERT_NE(w.Scroll, nullptr);
  HWND bar = w.Scroll->FVertBar->Handle();
  ASSERT_TRUE(IsWindow(bar));
  TSkinnedWorld::TakeOff(w.Skin);
  Pump();
  EXPECT_FALSE(IsWindow(bar));
  EXPECT_EQ(SendMessageW(w.Memo->Handle(), skin::WM_SKIN_QUERY, 0, 0), 0);
  EXPECT_EQ(skin::TSkinControl::LiveCount(), 0);
  // On again: one overlay pair for the memo.
  SkinManager->SkinWindow(w.Form.Handle());
  Pump();
  TWinSkinForm* f = SkinManager->FindSkinForm(w.Form.Handle());
  ASSERT_NE(f, nullptr);
  auto* again = dynamic_cast<skin::TSkinScrollbar*>(f->FindControlByHandle(w.Memo->Handle()));
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->FVertBar->FShown);
  int overlays = 0;
  for (HWND c = GetWindow(w.Form.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (c != w.Memo->Handle() && SendMessageW(c, skin::WM_SKIN_QUERY, 0, 0) == 1 && !fw::FindControl(c)->Caption().size())
      ++overlays;
  EXPECT_EQ(overlays, 2);
}

namespace {

// A thumb drag with the system's own input, from a timer (the system's scroll loop runs inside
// the press): down on the thumb, two moves, up.
struct TThumbDrag {
  static inline POINT From{};
  static inline int Step = 0;
  static inline LRESULT LineDuringDrag = -1;
  static inline HWND Memo = nullptr;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    switch (Step++) {
      case 0: userinput::Mouse(MOUSEEVENTF_LEFTDOWN, From); break;
      case 1: userinput::Mouse(0, {From.x, From.y + 15}); break;
      case 2:
        userinput::Mouse(0, {From.x, From.y + 40});
        break;
      case 3:
        LineDuringDrag = SendMessageW(Memo, EM_GETFIRSTVISIBLELINE, 0, 0);
        userinput::Mouse(MOUSEEVENTF_LEFTUP, {From.x, From.y + 40});
        break;
      default: KillTimer(nullptr, id); break;
    }
  }
};

}  // namespace

TEST(ScrollSkin, AThumbDragIsTheSystemsOwnTracking) {
  TMemoWorld w;
  ASSERT_NE(w.Scroll, nullptr);
  ASSERT_TRUE(w.Scroll->FVertBar->FShown);
  testspy::TScrollSpy spy(w.Memo);  // above the skin: it sees what the memo is told
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(w.Memo->Handle(), OBJID_VSCROLL, &info));
  RECT r{};
  GetWindowRect(w.Scroll->FVertBar->Handle(), &r);
  TThumbDrag::From = {r.left + (r.right - r.left) / 2, r.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
  TThumbDrag::Step = 0;
  TThumbDrag::LineDuringDrag = -1;
  TThumbDrag::Memo = w.Memo->Handle();
  userinput::Mouse(0, TThumbDrag::From);
  Pump(30);
  SetTimer(nullptr, 0, 120, &TThumbDrag::Tick);
  PumpUntil([] { return TThumbDrag::Step > 4; }, 4000);
  Pump(60);
  ASSERT_FALSE(spy.Codes.empty());
  EXPECT_EQ(spy.Codes.front(), SB_THUMBTRACK);
  EXPECT_GT(TThumbDrag::LineDuringDrag, 0);  // the memo followed during the drag
  ASSERT_GE(spy.Codes.size(), 2u);
  EXPECT_EQ(spy.Codes[spy.Codes.size() - 2], SB_THUMBPOSITION);
  EXPECT_EQ(spy.Codes.back(), SB_ENDSCROLL);
  EXPECT_EQ(w.FirstLine(), GetScrollPos(w.Memo->Handle(), SB_VERT));
  EXPECT_FALSE(w.Scroll->FVertBar->FPressed);
  // The wheel moves the overlay's thumb with the system's.
  const int before = GetScrollPos(w.Memo->Handle(), SB_VERT);
  SendMessageW(w.Memo->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(r.left - 20, r.top + 20));
  Pump();
  EXPECT_GT(GetScrollPos(w.Memo->Handle(), SB_VERT), before);
  SetCursorPos(1200, 1000);
}

namespace {

// Drives the drop list's own thumb loop from a timer: an optional move, then the release.
struct TListDrag {
  static inline HWND List = nullptr;
  static inline POINT To{};
  static inline bool Move = false, TakeCapture = false;
  static inline int Step = 0;
  static void CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(List, WM_LBUTTONUP, 0, 0);
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    if (TakeCapture) {
      KillTimer(nullptr, id);
      ReleaseCapture();  // someone else takes the mouse: the drag ends
      return;
    }
    if (Step++ == 0 && Move) {
      SetCursorPos(To.x, To.y);
      PostMessageW(List, WM_MOUSEMOVE, MK_LBUTTON, 0);
      return;
    }
    KillTimer(nullptr, id);
    PostMessageW(List, WM_LBUTTONUP, 0, 0);
  }
  static void Run(POINT from, bool move, int dy) {
    To = {from.x, from.y + dy};
    Move = move;
    Step = 0;
    SetCursorPos(from.x, from.y);
    SetTimer(nullptr, 0, 80, &Tick);
    SendMessageW(List, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(from.x, from.y));
  }
};

}  // namespace

TEST(ScrollSkin, AComboBoxsDropListKeepsItsBorderAndDragsItsThumb) {
  TSkinnedWorld world;
  TestSkin skin = ScrollSkin(GetSystemMetrics(SM_CXVSCROLL));
  LoadTestSkin(*world.Data, skin);
  world.Data->SkinControls = SetOf(skin::xcMainMenu) | SetOf(skin::xcScrollbar) | SetOf(skin::xcCombo);
  fw::TForm form(nullptr);
  form.SetBounds(100, 100, 360, 300);
  auto* combo = new fw::TComboBox(&form);
  combo->SetParent(&form);
  combo->SetBounds(10, 10, 200, 24);
  for (int i = 0; i < 40; ++i) combo->Items()->Add(L"第 " + std::to_wstring(i) + L" 项");
  form.Show();
  Pump();
  SkinManager->SkinWindow(form.Handle());
  Pump();
  COMBOBOXINFO ci{};
  ci.cbSize = sizeof ci;
  ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &ci));
  HWND list = ci.hwndList;
  TWinSkinForm* f = SkinManager->FindSkinForm(form.Handle());
  ASSERT_NE(f, nullptr);
  ASSERT_NE(dynamic_cast<skin::TComboxScrollBar*>(f->FindControlByHandle(list)), nullptr);
  SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  const auto pixel = [&](int x, int y) {
    HDC dc = GetWindowDC(list);
    const std::uint32_t c = Rgb(GetPixel(dc, x, y));
    ReleaseDC(list, dc);
    return c;
  };
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &info));
  RECT wr{};
  GetWindowRect(list, &wr);
  const int a = GetSystemMetrics(SM_CXVSCROLL);
  const int bx = info.rcScrollBar.left - wr.left + a / 2, by = info.rcScrollBar.top - wr.top;
  EXPECT_EQ(pixel(bx, by + a / 2), BarFrame(9));  // the up arrow from the skin
  EXPECT_NE(pixel(0, 0), BarFrame(9));            // the list's own border kept
  // An arrow press by the system: the skin's bar is drawn again after it.
  SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
  Pump();
  EXPECT_EQ(pixel(bx, by + a / 2), BarFrame(9));
  // A press on the thumb without a move leaves the list where it is; a move drags it.
  ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &info));
  const POINT thumb{info.rcScrollBar.left + a / 2, info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
  TListDrag::List = list;
  const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  TListDrag::Run(thumb, false, 0);
  EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), top);
  TListDrag::Run(thumb, true, 40);
  EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), top);
  EXPECT_EQ(GetCapture(), nullptr);
  // The capture taken away ends the drag at once (the watchdog would end it after 2 s).
  ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &info));
  const POINT moved{info.rcScrollBar.left + a / 2, info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
  TListDrag::TakeCapture = true;
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 2000, &TListDrag::Watchdog);
  const DWORD start = GetTickCount();
  TListDrag::Run(moved, false, 0);
  KillTimer(nullptr, watchdog);
  TListDrag::TakeCapture = false;
  EXPECT_LT(GetTickCount() - start, 1500u);
  SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  Pump();
  TSkinnedWorld::TakeOff(f);
  EXPECT_EQ(SendMessageW(list, skin::WM_SKIN_QUERY, 0, 0), 0);
  EXPECT_EQ(skin::TSkinControl::LiveCount(), 0);
}

namespace {

// A thumb drag during which a timer takes the skin off the window.
struct TDragThenOff {
  static inline POINT From{};
  static inline int Step = 0;
  static inline TWinSkinForm* Skin = nullptr;
  static inline bool Off = false;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    switch (Step++) {
      case 0: userinput::Mouse(MOUSEEVENTF_LEFTDOWN, From); break;
      case 1: userinput::Mouse(0, {From.x, From.y + 20}); break;
      case 2:
        TSkinnedWorld::TakeOff(Skin);  // inside the system's scroll loop of the pressed overlay
        Off = true;
        break;
      case 3: userinput::Mouse(MOUSEEVENTF_LEFTUP, {From.x, From.y + 20}); break;
      default: KillTimer(nullptr, id); break;
    }
  }
};

}  // namespace

TEST(ScrollSkin, TheSkinTakenOffDuringADragAndTheKeyboardsPart) {
  TMemoWorld w;
  ASSERT_NE(w.Scroll, nullptr);
  // Line-down from the keyboard lights the second arrow.
  SendMessageW(w.Memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  Pump();
  EXPECT_EQ(w.Scroll->FVertBar->FHotPart, 1);
  RECT r{};
  GetWindowRect(w.Scroll->FVertBar->Handle(), &r);
  const int a = GetSystemMetrics(SM_CXVSCROLL);
  RedrawWindow(w.Scroll->FVertBar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(w.BarPixel(a / 2, (r.bottom - r.top) - a / 2), BarFrame(16));  // the down arrow, hot

  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(w.Memo->Handle(), OBJID_VSCROLL, &info));
  HWND overlay = w.Scroll->FVertBar->Handle();
  TDragThenOff::From = {r.left + a / 2, r.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
  TDragThenOff::Step = 0;
  TDragThenOff::Skin = w.Skin;
  TDragThenOff::Off = false;
  userinput::Mouse(0, TDragThenOff::From);
  Pump(30);
  SetTimer(nullptr, 0, 120, &TDragThenOff::Tick);
  PumpUntil([] { return TDragThenOff::Step > 4; }, 4000);
  ASSERT_TRUE(TDragThenOff::Off);
  // The overlay outlived its press and went afterwards; nothing of the skin is left.
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(overlay); }, 2000));
  EXPECT_EQ(skin::TSkinControl::LiveCount(), 0);
  EXPECT_EQ(SendMessageW(w.Memo->Handle(), skin::WM_SKIN_QUERY, 0, 0), 0);
  SetCursorPos(1200, 1000);
}

TEST(ScrollSkin, AGridsFixedCellsTakeTheFaceColourAndGetTheirOwnBack) {
  TSkinnedWorld world;
  LoadTestSkin(*world.Data, ScrollSkin(GetSystemMetrics(SM_CXVSCROLL)));
  world.Data->SkinControls = SetOf(skin::xcMainMenu) | SetOf(skin::xcScrollbar);
  fw::TForm form(nullptr);
  form.SetBounds(100, 100, 360, 300);
  auto* grid = new fw::TValueListEditor(&form);
  grid->SetParent(&form);
  grid->SetBounds(10, 10, 300, 200);
  constexpr fw::TColor kOwn = 0xFF000010;  // a system colour: its 32 bits must come back as they were
  grid->SetFixedColor(kOwn);
  form.Show();
  Pump();
  SkinManager->SkinWindow(form.Handle());
  Pump();
  TWinSkinForm* f = SkinManager->FindSkinForm(form.Handle());
  ASSERT_NE(f, nullptr);
  ASSERT_NE(dynamic_cast<skin::TSkinScrollbar*>(f->FindControlByHandle(grid->Handle())), nullptr);
  EXPECT_EQ(grid->FixedColor(), world.Data->ButtonFaceColour());
  f->SkinChanged();  // a skin change in between
  EXPECT_EQ(grid->FixedColor(), world.Data->ButtonFaceColour());
  TSkinnedWorld::TakeOff(f);
  EXPECT_EQ(grid->FixedColor(), kOwn);
}

TEST(ScrollSkin, ASimpleComboBoxsListGetsTheOverlays) {
  TSkinnedWorld world;
  LoadTestSkin(*world.Data, ScrollSkin(GetSystemMetrics(SM_CXVSCROLL)));
  world.Data->SkinControls = SetOf(skin::xcMainMenu) | SetOf(skin::xcScrollbar) | SetOf(skin::xcCombo);
  fw::TForm form(nullptr);
  form.SetBounds(100, 100, 360, 300);
  auto* combo = new fw::TComboBox(&form);
  combo->SetParent(&form);
  combo->SetStyle(fw::TComboBoxStyle::csSimple);
  combo->SetBounds(10, 10, 200, 150);
  for (int i = 0; i < 40; ++i) combo->Items()->Add(L"第 " + std::to_wstring(i) + L" 项");
  form.Show();
  Pump();
  SkinManager->SkinWindow(form.Handle());
  Pump();
  COMBOBOXINFO ci{};
  ci.cbSize = sizeof ci;
  ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &ci));
  TWinSkinForm* f = SkinManager->FindSkinForm(form.Handle());
  ASSERT_NE(f, nullptr);
  auto* bars = dynamic_cast<skin::TSkinScrollbarH*>(f->FindControlByHandle(ci.hwndList));
  ASSERT_NE(bars, nullptr);
  ASSERT_NE(bars->FVertBar, nullptr);
  RedrawWindow(ci.hwndList, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  Pump();
  ASSERT_TRUE(bars->FVertBar->FShown);
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(ci.hwndList, OBJID_VSCROLL, &info));
  RECT r{};
  GetWindowRect(bars->FVertBar->Handle(), &r);
  EXPECT_TRUE(EqualRect(&r, &info.rcScrollBar));
  EXPECT_EQ(GetParent(bars->FVertBar->Handle()), combo->Handle());
  HWND overlay = bars->FVertBar->Handle();
  TSkinnedWorld::TakeOff(f);
  EXPECT_FALSE(IsWindow(overlay));
  EXPECT_EQ(skin::TSkinControl::LiveCount(), 0);
}
