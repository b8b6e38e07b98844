// The main window's log and source list with the skin's scroll bars, in a skin of solid colours:
// the empty log's bar disabled, a long log's thumb at the bottom, the system's own redraw of the
// bar kept under the overlay, and an arrow click on the list that moves it by one row.
#include <gtest/gtest.h>

#include <algorithm>

#include "Pixels.h"
#include "ComCtrls.h"
#include "SolidSkinMain.h"
#include "UnitHelp.h"
#include "TypInfo.h"
#include "ScrollSpy.h"
#include "UserInput.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinScrollbars.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

using namespace apptest;

namespace {

using pixels::Rgb;
std::uint32_t Arrow(int i) { return static_cast<std::uint32_t>(i) << 18 | 0x4000 | static_cast<std::uint32_t>(250 - 9 * i); }
constexpr std::uint32_t kTrack = 0x2AB090, kTrackOff = 0x707070, kThumb = 0xC03070;

TestSkin BarSkin() {
  TestSkin s = SolidFrame();
  s.ScrollParts(GetSystemMetrics(SM_CXVSCROLL), &Arrow, kTrack, kTrackOff, kThumb);
  return s;
}

struct TBarMain : TSolidSkinMain {
  TBarMain() : TSolidSkinMain(BarSkin()) {}
  skin::TSkinScrollbar* BarsOf(fw::TWinControl* c) const {
    return Form ? dynamic_cast<skin::TSkinScrollbar*>(Form->FindControlByHandle(c->Handle())) : nullptr;
  }
};

std::uint32_t At(HWND wnd, int x, int y) { return pixels::ClientPixel(wnd, x, y); }

}  // namespace

TEST(SkinnedScroll, TheLogsBarFromEmptyToLong) {
  TBarMain s;
  skin::TSkinScrollbar* log = s.BarsOf(s.W->MemoDest);
  ASSERT_NE(log, nullptr);
  ASSERT_TRUE(log->FVertBar->FShown);  // the log always shows its bar
  HWND bar = log->FVertBar->Handle();
  RECT r{};
  GetWindowRect(bar, &r);
  const int a = GetSystemMetrics(SM_CXVSCROLL), h = r.bottom - r.top;
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // Empty: the disabled track, disabled arrows and no thumb.
  EXPECT_EQ(At(bar, a / 2, h / 2), kTrackOff);
  EXPECT_EQ(At(bar, a / 2, a / 2), Arrow(11));
  for (int i = 0; i < 200; ++i) s.W->MemoDest->Lines()->Add(L"第 " + std::to_wstring(i) + L" 个文件已加密");
  SendMessageW(s.W->MemoDest->Handle(), EM_SETSEL, -1, -1);
  SendMessageW(s.W->MemoDest->Handle(), EM_SCROLLCARET, 0, 0);
  Pump();
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(At(bar, a / 2, a / 2), Arrow(9));
  EXPECT_EQ(At(bar, a / 2, a + 2), kTrack);
  EXPECT_EQ(At(bar, a / 2, h - a - 3), kThumb);  // the thumb at the bottom
  // The system redraws its own bar as text arrives; the overlay above it keeps what it shows.
  std::vector<std::uint32_t> before;
  for (int y = 0; y < h; y += 3) before.push_back(At(bar, a / 2, y));
  const std::wstring more = L"\r\n再加一行";
  SendMessageW(s.W->MemoDest->Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(more.c_str()));
  std::vector<std::uint32_t> after;
  for (int y = 0; y < h; y += 3) after.push_back(At(bar, a / 2, y));
  EXPECT_EQ(after, before);
}

TEST(SkinnedScroll, AnArrowClickMovesTheListByOneRow) {
  TBarMain s;
  skin::TSkinScrollbar* list = s.BarsOf(s.W->VLDSource);
  ASSERT_NE(list, nullptr);
  std::vector<std::wstring> files;
  for (int i = 0; i < 40; ++i) files.push_back(L"C:\\文件" + std::to_wstring(i) + L".doc");
  s.W->AddSourceFiles(files);
  ASSERT_TRUE(PumpUntil([&] { return list->FVertBar->FShown; }, 2000));
  RECT r{};
  GetWindowRect(list->FVertBar->Handle(), &r);
  const int a = GetSystemMetrics(SM_CXVSCROLL);
  const int top = s.W->VLDSource->TopRow();
  userinput::Click({r.left + a / 2, r.bottom - a / 2});
  PumpUntil([&] { return s.W->VLDSource->TopRow() != top; }, 1000);
  Pump();
  EXPECT_EQ(s.W->VLDSource->TopRow(), top + 1);
  EXPECT_EQ(GetScrollPos(s.W->VLDSource->Handle(), SB_VERT) > 0, true);
}

namespace {


struct TListDrag {
  static inline POINT From{};
  static inline int Step = 0;
  static inline int RowDuringDrag = -1;
  static inline fw::TCustomGrid* Grid = nullptr;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    switch (Step++) {
      case 0: userinput::Mouse(MOUSEEVENTF_LEFTDOWN, From); break;
      case 1: userinput::Mouse(0, {From.x, From.y + 20}); break;
      case 2: userinput::Mouse(0, {From.x, From.y + 50}); break;
      case 3:
        RowDuringDrag = Grid->TopRow();
        userinput::Mouse(MOUSEEVENTF_LEFTUP, {From.x, From.y + 50});
        break;
      default: KillTimer(nullptr, id); break;
    }
  }
};

// Where the overlay's thumb starts along the bar (the first row of the thumb's colour).
int ThumbTop(HWND bar) {
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT r{};
  GetClientRect(bar, &r);
  for (int y = 0; y < r.bottom; ++y)
    if (At(bar, r.right / 2, y) == kThumb) return y;
  return -1;
}

void FillList(TBarMain& s, int count) {
  std::vector<std::wstring> files;
  for (int i = 0; i < count; ++i) files.push_back(L"C:\\文件" + std::to_wstring(i) + L".doc");
  s.W->AddSourceFiles(files);
}

}  // namespace

TEST(SkinnedScroll, TheListFollowsAThumbDragTheTrackTheWheelAndTheKeys) {
  TBarMain s;
  skin::TSkinScrollbar* list = s.BarsOf(s.W->VLDSource);
  ASSERT_NE(list, nullptr);
  FillList(s, 200);
  ASSERT_TRUE(PumpUntil([&] { return list->FVertBar->FShown; }, 2000));
  HWND bar = list->FVertBar->Handle();
  RECT r{};
  GetWindowRect(bar, &r);
  const int a = GetSystemMetrics(SM_CXVSCROLL);
  HWND grid = s.W->VLDSource->Handle();

  // The thumb dragged: the system's tracking requests in order, the rows follow during the drag,
  // and the last top row is the bar's position.
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(grid, OBJID_VSCROLL, &info));
  {
    testspy::TScrollSpy spy(s.W->VLDSource);
    TListDrag::From = {r.left + a / 2, r.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
    TListDrag::Step = 0;
    TListDrag::RowDuringDrag = -1;
    TListDrag::Grid = s.W->VLDSource;
    userinput::Mouse(0, TListDrag::From);
    Pump(30);
    SetTimer(nullptr, 0, 120, &TListDrag::Tick);
    ASSERT_TRUE(PumpUntil([] { return TListDrag::Step > 4; }, 4000));
    Pump();
    ASSERT_FALSE(spy.Codes.empty());
    EXPECT_EQ(spy.Codes.front(), SB_THUMBTRACK);
    EXPECT_EQ(spy.Codes.back(), SB_ENDSCROLL);
    EXPECT_NE(std::find(spy.Codes.begin(), spy.Codes.end(), SB_THUMBPOSITION), spy.Codes.end());
  }
  EXPECT_GT(TListDrag::RowDuringDrag, 1);
  EXPECT_EQ(s.W->VLDSource->TopRow(), GetScrollPos(grid, SB_VERT));

  // A click on the track below the thumb pages down.
  s.W->VLDSource->SetTopRow(1);
  Pump();
  const int before = s.W->VLDSource->TopRow();
  userinput::Click({r.left + a / 2, r.bottom - a - 3});
  PumpUntil([&] { return s.W->VLDSource->TopRow() != before; }, 1000);
  Pump(60);
  EXPECT_GT(s.W->VLDSource->TopRow(), before + 3);
  SetCursorPos(1200, 1000);

  // The wheel and PageDown move the overlay's thumb with the rows.
  s.W->VLDSource->SetTopRow(1);
  Pump();
  const int top0 = ThumbTop(bar);
  ASSERT_GE(top0, 0);
  SendMessageW(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA * 3), MAKELPARAM(r.left - 20, r.top + 20));
  Pump();
  const int top1 = ThumbTop(bar);
  EXPECT_GT(top1, top0);
  // PageDown moves the current row a page on; the rows scroll once it passes the bottom.
  s.W->VLDSource->SetFocus();
  const int rowsBefore = s.W->VLDSource->TopRow();
  for (int i = 0; i < 3; ++i) {
    SendMessageW(grid, WM_KEYDOWN, VK_NEXT, 0);
    SendMessageW(grid, WM_KEYUP, VK_NEXT, 0);
  }
  Pump();
  ASSERT_GT(s.W->VLDSource->TopRow(), rowsBefore);
  EXPECT_GT(ThumbTop(bar), top1);
}

TEST(SkinnedScroll, ResizingTheWindowMovesTheOverlaysWithTheBars) {
  TBarMain s;
  skin::TSkinScrollbar* list = s.BarsOf(s.W->VLDSource);
  skin::TSkinScrollbar* log = s.BarsOf(s.W->MemoDest);
  ASSERT_NE(list, nullptr);
  ASSERT_NE(log, nullptr);
  FillList(s, 60);
  ASSERT_TRUE(PumpUntil([&] { return list->FVertBar->FShown; }, 2000));
  RECT w{};
  GetWindowRect(s.W->Handle(), &w);
  for (const int grow : {120, -60}) {
    SCOPED_TRACE(grow);
    SetWindowPos(s.W->Handle(), nullptr, 0, 0, w.right - w.left + grow, w.bottom - w.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(120);
    for (skin::TSkinScrollbar* bars : {list, log}) {
      SCROLLBARINFO info{};
      info.cbSize = sizeof info;
      ASSERT_TRUE(GetScrollBarInfo(bars->FHandle, OBJID_VSCROLL, &info));
      ASSERT_TRUE(bars->FVertBar->FShown);
      RECT r{};
      GetWindowRect(bars->FVertBar->Handle(), &r);
      EXPECT_TRUE(EqualRect(&r, &info.rcScrollBar))
          << r.left << "," << r.top << "," << r.right << "," << r.bottom << " vs " << info.rcScrollBar.left << ","
          << info.rcScrollBar.top << "," << info.rcScrollBar.right << "," << info.rcScrollBar.bottom;
    }
  }
  SetWindowPos(s.W->Handle(), nullptr, 0, 0, w.right - w.left, w.bottom - w.top, SWP_NOMOVE | SWP_NOZORDER);
}

TEST(SkinnedScroll, SkinOffGivesBackTheFixedColourAlsoAfterASkinChangeAndOnAgainTwoOverlaysEach) {
  TBarMain s;
  ASSERT_NE(s.Form, nullptr);
  const auto fixed = [&] { return fw::GetIntProp(s.W->VLDSource, "FixedColor").value_or(-1); };
  // What the list had before any skin: the stored form's value.
  s.Data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !s.Skinned(); }));
  const std::int64_t original = fixed();
  s.Data->SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return s.Skinned(); }));
  EXPECT_NE(fixed(), original);  // the face colour while skinned
  // Another skin in between, then off: the stored value comes back, bit for bit.
  TestSkin other = BarSkin();
  other.Ini += "[Colours]\nButtonFace=200 210 220\n";
  const auto stored = other.Stored();
  s.Data->SkinStream().Clear();
  s.Data->SkinStream().WriteBuffer(stored.data(), static_cast<std::int32_t>(stored.size()));
  ASSERT_TRUE(s.Data->LoadSkin());
  Pump(200);
  s.Data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !s.Skinned(); }));
  EXPECT_EQ(fixed(), original);
  for (fw::TWinControl* c : std::vector<fw::TWinControl*>{s.W->VLDSource, s.W->MemoDest})
    EXPECT_NE(SendMessageW(c->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1);
  // On again: exactly two overlays over each control.
  s.Data->SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return s.Skinned(); }));
  Pump(200);
  for (fw::TWinControl* c : std::vector<fw::TWinControl*>{s.W->VLDSource, s.W->MemoDest}) {
    int overlays = 0;
    for (HWND h = GetWindow(c->Parent()->Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
      if (auto* bar = dynamic_cast<skin::TWScrollbar*>(fw::FindControl(h)); bar && bar->FTarget == c->Handle()) ++overlays;
    EXPECT_EQ(overlays, 2) << c->ClassName();
  }
}

// The help text scrolls with the skin's bar once it overflows; the overlay follows the text's
// box when it changes size, and an arrow click scrolls one line.
TEST(SkinnedScroll, TheHelpTextGetsTheBarWhenItOverflows) {
  TBarMain s;
  auto help = std::make_unique<app::TFormHelp>(fw::Application);
  help->AfterConstruction();
  help->Show();
  HWND wnd = help->Handle();
  ASSERT_TRUE(PumpUntil([&] { return SendMessageW(wnd, skin::WM_SKIN_QUERY, 0, 0) == 1; }, 3000));
  skin::TWinSkinForm* form = skin::SkinManager->FindSkinForm(wnd);
  ASSERT_NE(form, nullptr);
  fw::TRichEdit* text = help->RichEdit1;
  auto* bars = dynamic_cast<skin::TSkinScrollbar*>(form->FindControlByHandle(text->Handle()));
  ASSERT_NE(bars, nullptr);
  for (int i = 0; i < 40; ++i) text->Lines()->Add(L"（" + std::to_wstring(i) + L"）更多的说明文字");
  SendMessageW(text->Handle(), WM_VSCROLL, SB_TOP, 0);
  ASSERT_TRUE(PumpUntil([&] { return bars->FVertBar->FShown; }, 2000));
  const auto matches = [&] {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!GetScrollBarInfo(text->Handle(), OBJID_VSCROLL, &info)) return false;
    RECT r{};
    GetWindowRect(bars->FVertBar->Handle(), &r);
    return EqualRect(&r, &info.rcScrollBar) != FALSE;
  };
  EXPECT_TRUE(matches());
  // The box loses 60 rows at the bottom: the overlay shrinks with the bar.
  help->Panel1->SetHeight(help->Panel1->Height() + 60);
  Pump(120);
  EXPECT_TRUE(matches());
  RECT r{};
  GetWindowRect(bars->FVertBar->Handle(), &r);
  const int a = GetSystemMetrics(SM_CXVSCROLL);
  const LRESULT first = SendMessageW(text->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0);
  userinput::Click({r.left + a / 2, r.bottom - a / 2});
  PumpUntil([&] { return SendMessageW(text->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0) != first; }, 1000);
  Pump(60);
  EXPECT_EQ(SendMessageW(text->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), first + 1);
  SetCursorPos(1200, 1000);
  help->Hide();
}
