// Combo boxes drawn by the skin on real combo windows under Wine: the button's frame for each
// state, hot only while enabled, and the mirrored button of a box whose button is on the left.
#include <gtest/gtest.h>

#include "Pixels.h"
#include "FormSkinFixture.h"
#include "UserInput.h"
#include "ComCtrls.h"
#include "skin/controls/SkinCombos.h"
#include "skin/controls/SkinEdits.h"

using namespace formtest;
using skin::SetOf;
using skin::SkinManager;
using skin::TWinSkinForm;

namespace {

// Button frames: normal, pressed, disabled, hot.
const std::vector<std::uint32_t> kFrames{0x2080E0, 0xE08020, 0x909090, 0x20C060};

using pixels::Rgb;

struct TComboWorld {
  TComboWorld() : Window(L"组合框", 360, 200) {
    TestSkin skin = FrameSkin();
    skin.Strip("combo.bmp", 16, 20, kFrames);
    skin.Ini += "[ComboButton]\nImage=combo.bmp\nFrame=4\nTrans=0\n";
    LoadTestSkin(*World.Data, skin);
    World.Data->SkinControls = SetOf(skin::xcMainMenu) | SetOf(skin::xcCombo);
    Right = Make(0, 10);
    Left = Make(WS_EX_LEFTSCROLLBAR, 60);
    SkinManager->SkinWindow(Window.Handle);
    Pump();
    Skin = SkinManager->FindSkinForm(Window.Handle);
  }
  HWND Make(DWORD exStyle, int y) {
    HWND c = CreateWindowExW(exStyle, L"COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, y, 200,
                             200, Window.Handle, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"第一项"));
    SendMessageW(c, CB_SETCURSEL, 0, 0);
    return c;
  }
  // The button's colour, a few pixels in from the box's right (or left) end, at half height.
  std::uint32_t ButtonColour(HWND combo, bool left) const {
    RECT r{};
    GetWindowRect(combo, &r);
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    HDC dc = GetWindowDC(combo);
    const int x = left ? a / 2 + 1 : (r.right - r.left) - a / 2 - 2;
    const std::uint32_t c = Rgb(GetPixel(dc, x, (r.bottom - r.top) / 2));
    ReleaseDC(combo, dc);
    return c;
  }
  TSkinnedWorld World;
  TWindow Window;
  HWND Right = nullptr, Left = nullptr;
  TWinSkinForm* Skin = nullptr;
};

}  // namespace

TEST(ComboSkin, ButtonFramesFollowTheStateAndHotOnlyWhileEnabled) {
  TComboWorld w;
  ASSERT_NE(w.Skin, nullptr);
  ASSERT_NE(w.Skin->FindControlByHandle(w.Right), nullptr);
  RedrawWindow(w.Right, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  EXPECT_EQ(w.ButtonColour(w.Right, false), kFrames[0]);
  // The mouse over the button.
  RECT r{};
  GetWindowRect(w.Right, &r);
  const POINT over{r.right - GetSystemMetrics(SM_CXHSCROLL) / 2 - 2, (r.top + r.bottom) / 2};
  userinput::Mouse(0, {over.x - 60, over.y});
  Pump(30);
  userinput::Mouse(0, over);
  PumpUntil([&] { return w.ButtonColour(w.Right, false) == kFrames[3]; }, 1000);
  EXPECT_EQ(w.ButtonColour(w.Right, false), kFrames[3]);
  // Away again.
  userinput::Mouse(0, {over.x, over.y + 120});
  PumpUntil([&] { return w.ButtonColour(w.Right, false) == kFrames[0]; }, 1000);
  EXPECT_EQ(w.ButtonColour(w.Right, false), kFrames[0]);
  // Disabled: its own frame, and the mouse over it changes nothing.
  EnableWindow(w.Right, FALSE);
  Pump();
  EXPECT_EQ(w.ButtonColour(w.Right, false), kFrames[2]);
  userinput::Mouse(0, over);
  Pump(60);
  RedrawWindow(w.Right, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(w.ButtonColour(w.Right, false), kFrames[2]);
  SetCursorPos(1200, 1000);
}

TEST(ComboSkin, AButtonOnTheLeftUsesTheMirroredImage) {
  TComboWorld w;
  ASSERT_NE(w.Skin, nullptr);
  ASSERT_NE(w.Skin->FindControlByHandle(w.Left), nullptr);
  RedrawWindow(w.Left, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  // The mirrored strip holds the frames in reverse order: its first frame is the last colour.
  EXPECT_EQ(w.ButtonColour(w.Left, true), kFrames[3]);
  // Off: the system's own button on both.
  TSkinnedWorld::TakeOff(w.Skin);
  RedrawWindow(w.Right, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  EXPECT_NE(w.ButtonColour(w.Right, false), kFrames[0]);
  EXPECT_EQ(SendMessageW(w.Right, skin::WM_SKIN_QUERY, 0, 0), 0);
}

TEST(ComboSkin, TheDatePickersArrowOpensItsCalendarAndGoesWithTheSkin) {
  TSkinnedWorld world;
  TestSkin skin = FrameSkin();
  skin.Strip("combo.bmp", 16, 20, kFrames);
  skin.Ini += "[ComboButton]\nImage=combo.bmp\nFrame=4\nTrans=0\n";
  LoadTestSkin(*world.Data, skin);
  world.Data->SkinControls = SetOf(skin::xcMainMenu) | SetOf(skin::xcCombo);
  fw::TForm form(nullptr);
  form.SetBounds(120, 120, 320, 200);
  auto* picker = new fw::TDateTimePicker(&form);
  picker->SetParent(&form);
  picker->SetBounds(20, 20, 180, 24);
  form.Show();
  Pump();
  const LONG style = GetWindowLongW(picker->Handle(), GWL_STYLE);
  SkinManager->SkinWindow(form.Handle());
  Pump();
  TWinSkinForm* f = SkinManager->FindSkinForm(form.Handle());
  ASSERT_NE(f, nullptr);
  auto* s = dynamic_cast<skin::TSkinDateTime*>(f->FindControlByHandle(picker->Handle()));
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->FArrow, nullptr);
  HWND arrow = s->FArrow->Handle();
  EXPECT_EQ(GetParent(arrow), picker->Handle());
  EXPECT_TRUE(GetWindowLongW(picker->Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
  RedrawWindow(arrow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT ar{};
  GetClientRect(arrow, &ar);
  HDC dc = GetDC(arrow);
  EXPECT_EQ(Rgb(GetPixel(dc, ar.right / 2, ar.bottom / 2)), kFrames[0]);
  ReleaseDC(arrow, dc);

  // A real click on the arrow opens the picker's calendar, and it stays open.
  RECT wr{};
  GetWindowRect(arrow, &wr);
  const POINT centre{(wr.left + wr.right) / 2, (wr.top + wr.bottom) / 2};
  userinput::Click(centre);
  const auto calendar = [&] { return reinterpret_cast<HWND>(SendMessageW(picker->Handle(), DTM_GETMONTHCAL, 0, 0)); };
  EXPECT_TRUE(PumpUntil([&] { return calendar() != nullptr; }, 1500));
  Pump(300);
  EXPECT_NE(calendar(), nullptr);
  if (calendar()) SendMessageW(picker->Handle(), DTM_CLOSEMONTHCAL, 0, 0);
  Pump();

  // Off: the arrow is gone and the picker's style is its own again.
  TSkinnedWorld::TakeOff(f);
  EXPECT_FALSE(IsWindow(arrow));
  EXPECT_EQ(GetWindowLongW(picker->Handle(), GWL_STYLE) & WS_CLIPCHILDREN, style & WS_CLIPCHILDREN);
  SetCursorPos(1200, 1000);
}
