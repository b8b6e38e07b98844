// The main window's log and source list with the skin's scroll bars, in a skin of solid colours:
// the empty log's bar disabled, a long log's thumb at the bottom, the system's own redraw of the
// bar kept under the overlay, and an arrow click on the list that moves it by one row.
#include <gtest/gtest.h>

#include "SolidSkinMain.h"
#include "UserInput.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinScrollbars.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

using namespace apptest;

namespace {

std::uint32_t Rgb(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }
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

std::uint32_t At(HWND wnd, int x, int y) {
  HDC dc = GetDC(wnd);
  const std::uint32_t c = Rgb(GetPixel(dc, x, y));
  ReleaseDC(wnd, dc);
  return c;
}

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
