// The main window's log and source list with the skin's scroll bars, in a skin of solid colours:
// the empty log's bar disabled, a long log's thumb at the bottom, the system's own redraw of the
// bar kept under the overlay, and an arrow click on the list that moves it by one row.
#include <gtest/gtest.h>

#include "AppTestUtil.h"
#include "TestSkin.h"
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
  const int size = GetSystemMetrics(SM_CXVSCROLL);
  TestSkin s;
  std::vector<std::uint32_t> frames;
  for (int i = 1; i <= 23; ++i) frames.push_back(Arrow(i));
  s.Strip("left.bmp", 4, 40, {0x10A020, 0x106020})
      .Strip("right.bmp", 4, 40, {0x20A010, 0x206010})
      .Strip("top.bmp", 60, 24, {0x3050C0, 0x707080}, true)
      .Strip("bottom.bmp", 60, 5, {0xC05030, 0x805050}, true)
      .Strip("bar.bmp", size, size, frames)
      .Strip("vtrack.bmp", size, 40, {kTrack, kTrack, kTrackOff, kTrack})
      .Strip("htrack.bmp", 40, size, {kTrack, kTrack, kTrackOff, kTrack})
      .Strip("vthumb.bmp", size, 30, {kThumb, 0xF0F000, 0x00F0F0})
      .Strip("hthumb.bmp", 30, size, {kThumb, 0xF0F000, 0x00F0F0});
  s.Ini = "[Personality]\nLeft=left.bmp\nLeftFrame=2\nLeftTopHeight=24\nLeftBotHeight=5\n"
          "Right=right.bmp\nRightFrame=2\nRightTopHeight=24\nRightBotHeight=5\n"
          "Top=top.bmp\nTopFrame=2\nTopTopHeight=4\nTopBotHeight=4\nTopStretch=1\n"
          "Bottom=bottom.bmp\nBottomFrame=2\n"
          "[Colours]\nButtonFace=236 238 242\n"
          "[Scrollbar]\nImage=bar.bmp\n"
          "[VertScroll]\nImage=vtrack.bmp\nFrame=4\n[HorzScroll]\nImage=htrack.bmp\nFrame=4\n"
          "[VertScrollThumb]\nImage=vthumb.bmp\nFrame=3\n[HorzScrollThumb]\nImage=hthumb.bmp\nFrame=3\n";
  return s;
}

struct TBarMain {
  TBarMain() {
    Data = dynamic_cast<skin::TSkinData*>(W->FindComponent(L"SkinData1"));
    EXPECT_NE(Data, nullptr);
    if (!Data) return;
    Data->SetActive(false);
    PumpUntil([&] { return !Skinned(); });
    const auto stored = BarSkin().Stored();
    Data->SkinStream().Clear();
    Data->SkinStream().WriteBuffer(stored.data(), static_cast<std::int32_t>(stored.size()));
    EXPECT_TRUE(Data->LoadSkin());
    Data->SetActive(true);
    EXPECT_TRUE(PumpUntil([&] { return Skinned(); }));
    Pump();
    Form = skin::SkinManager ? skin::SkinManager->FindSkinForm(W->Handle()) : nullptr;
  }
  ~TBarMain() { SetCursorPos(1200, 1000); }
  bool Skinned() const { return SendMessageW(W->Handle(), skin::WM_SKIN_QUERY, 0, 0) == 1; }
  skin::TSkinScrollbar* BarsOf(fw::TWinControl* c) const {
    return Form ? dynamic_cast<skin::TSkinScrollbar*>(Form->FindControlByHandle(c->Handle())) : nullptr;
  }
  MainWindow W;
  skin::TSkinData* Data = nullptr;
  skin::TWinSkinForm* Form = nullptr;
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
