// Edit borders and up-down buttons drawn by the skin on real edits under Wine: the border after
// everything that makes the system draw its own edge again, the text kept, the print request,
// and the up-down's halves.
#include <gtest/gtest.h>

#include "Pixels.h"
#include "ComCtrls.h"
#include "FormSkinFixture.h"
#include "StdCtrls.h"
#include "UserInput.h"
#include "skin/controls/SkinEdits.h"

using namespace formtest;
using skin::SetOf;
using skin::SkinManager;
using skin::TSkinControl;
using skin::TWinSkinForm;

namespace {

constexpr std::uint32_t kShadow = 0x901A60;  // ButtonShadow of the test skin

using pixels::Rgb;

// The window's left border column, three pixels deep, at half height.
std::array<std::uint32_t, 3> LeftBorder(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  HDC dc = GetWindowDC(wnd);
  std::array<std::uint32_t, 3> px{};
  for (int i = 0; i < 3; ++i) px[static_cast<std::size_t>(i)] = Rgb(GetPixel(dc, i, (r.bottom - r.top) / 2));
  ReleaseDC(wnd, dc);
  return px;
}
const std::array<std::uint32_t, 3> kSkinBorder{kShadow, 0xFFFFFF, 0xFFFFFF};

struct TEditWorld {
  TEditWorld() {
    TestSkin skin = FrameSkin();
    skin.Ini += "ButtonShadow=144 26 96\n";  // appended to the [Colours] section
    LoadTestSkin(*World.Data, skin);
    World.Data->SkinControls = SetOf(skin::xcMainMenu) | SetOf(skin::xcEdit) | SetOf(skin::xcSpin);
    Form.SetBounds(80, 80, 360, 220);
    Edit = new fw::TEdit(&Form);
    Edit->SetParent(&Form);
    Edit->SetBounds(10, 10, 200, 24);
    Edit->SetText(L"皮肤边框");
    Other = new fw::TEdit(&Form);
    Other->SetParent(&Form);
    Other->SetBounds(10, 50, 200, 24);
    Form.Show();
    Pump();
    SkinManager->SkinWindow(Form.Handle());
    Pump();
    Skin = SkinManager->FindSkinForm(Form.Handle());
  }
  TSkinnedWorld World;
  fw::TForm Form{nullptr};
  fw::TEdit* Edit = nullptr;
  fw::TEdit* Other = nullptr;
  TWinSkinForm* Skin = nullptr;
};

}  // namespace

TEST(EditSkin, TheBorderStaysTheSkinsAndTheTextIsKept) {
  TEditWorld w;
  ASSERT_NE(w.Skin, nullptr);
  HWND edit = w.Edit->Handle();
  ASSERT_EQ(SendMessageW(edit, skin::WM_SKIN_QUERY, 0, 0), 1);
  EXPECT_EQ(LeftBorder(edit), kSkinBorder);
  SendMessageW(edit, EM_SETSEL, 1, 3);
  const auto check = [&](const char* step) {
    SCOPED_TRACE(step);
    Pump();
    EXPECT_EQ(LeftBorder(edit), kSkinBorder);
  };
  w.Edit->SetFocus();
  check("focus in");
  w.Other->SetFocus();
  check("focus out");
  SetWindowTextW(edit, L"新的文字");
  check("text");
  w.Edit->SetEnabled(false);
  check("disabled");
  w.Edit->SetEnabled(true);
  check("enabled");
  SendMessageW(edit, WM_NCPAINT, 1, 0);
  check("the system's own edge");
  EXPECT_EQ(w.Edit->Text(), L"新的文字");
  SendMessageW(edit, EM_SETSEL, 1, 3);
  DWORD from = 0, to = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 1u);
  EXPECT_EQ(to, 3u);

  // Off: the system's edge again, and the same text.
  TSkinnedWorld::TakeOff(w.Skin);
  Pump();
  RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_NE(LeftBorder(edit)[0], kShadow);
  EXPECT_EQ(SendMessageW(edit, skin::WM_SKIN_QUERY, 0, 0), 0);
  EXPECT_EQ(TSkinControl::LiveCount(), 0);
}

TEST(EditSkin, ThePrintRequestPaintsTheTextIntoAMemoryDC) {
  TEditWorld w;
  ASSERT_NE(w.Skin, nullptr);
  w.Edit->SetText(L"WWWWWWWW");
  Pump();
  RECT c{};
  GetClientRect(w.Edit->Handle(), &c);
  fw::TBitmap bitmap(c.right, c.bottom);
  HDC dc = bitmap.Canvas().Handle();
  FillRect(dc, &c, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HRGN clip = CreateRectRgn(2, 2, c.right - 2, c.bottom - 2);
  SelectClipRgn(dc, clip);
  RECT before{};
  GetClipBox(dc, &before);
  EXPECT_EQ(SendMessageW(w.Edit->Handle(), skin::WM_SKIN_PRINT, reinterpret_cast<WPARAM>(dc), skin::kSkinSignature),
            skin::kSkinSignature);
  RECT after{};
  GetClipBox(dc, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  int dark = 0;
  for (int y = 0; y < c.bottom; ++y)
    for (int x = 0; x < c.right; ++x)
      if ((Rgb(GetPixel(dc, x, y)) & 0xFF) < 0x80) ++dark;
  EXPECT_GT(dark, 20);  // the letters are there
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
}

TEST(EditSkin, AnEditWithoutABorderGetsNone) {
  TSkinnedWorld world;
  world.Data->SkinControls = SetOf(skin::xcMainMenu) | SetOf(skin::xcEdit);
  TWindow plain(L"无边框", 300, 160);
  HWND bare = CreateWindowW(L"EDIT", L"无边框", WS_CHILD | WS_VISIBLE, 10, 10, 150, 20, plain.Handle, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  HWND bordered = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"有边框", WS_CHILD | WS_VISIBLE, 10, 40, 150, 24,
                                  plain.Handle, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(SkinManager->SkinWindow(plain.Handle));
  Pump();
  TWinSkinForm* f = SkinManager->FindSkinForm(plain.Handle);
  ASSERT_NE(f, nullptr);
  ASSERT_NE(f->FindControlByHandle(bare), nullptr);  // skinned, but nothing of it is drawn over
  RedrawWindow(bare, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  EXPECT_EQ(LeftBorder(bare)[0], 0xFFFFFFu);  // the edit's own white field, no outline drawn over it
  ASSERT_NE(f->FindControlByHandle(bordered), nullptr);
  RedrawWindow(bordered, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  const auto edge = LeftBorder(bordered);
  EXPECT_NE(edge[0], 0xFFFFFFu);  // the outline
  EXPECT_EQ(edge[1], 0xFFFFFFu);
}

TEST(EditSkin, AnUpDownShowsItsPressedHalfAndKeepsOffTheEditsFrame) {
  TSkinnedWorld world;
  // Up-down frames: four states of the first arrow, then four of the second.
  const std::vector<std::uint32_t> frames{0x11AA11, 0x22BB22, 0x33CC33, 0x44DD44,
                                          0xAA1111, 0xBB2222, 0xCC3333, 0xDD4444};
  TestSkin skin = FrameSkin();
  skin.Strip("updown.bmp", 10, 10, frames);
  skin.Ini += "[UpDown.Vert]\nImage=updown.bmp\nFrame=8\n";
  LoadTestSkin(*world.Data, skin);
  world.Data->SkinControls = SetOf(skin::xcMainMenu) | SetOf(skin::xcSpin) | SetOf(skin::xcEdit);
  fw::TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* updown = new fw::TUpDown(&form);
  updown->SetParent(&form);
  updown->SetBounds(20, 20, 18, 40);
  form.Show();
  Pump();
  SkinManager->SkinWindow(form.Handle());
  Pump();
  TWinSkinForm* f = SkinManager->FindSkinForm(form.Handle());
  ASSERT_NE(f, nullptr);
  HWND ud = updown->Handle();
  ASSERT_NE(f->FindControlByHandle(ud), nullptr);
  const auto at = [&](int x, int y) {
    HDC dc = GetWindowDC(ud);
    const std::uint32_t c = Rgb(GetPixel(dc, x, y));
    ReleaseDC(ud, dc);
    return c;
  };
  RedrawWindow(ud, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(at(9, 10), frames[0]);
  EXPECT_EQ(at(9, 30), frames[4]);
  // Pressed on the lower half: its pressed frame while the button is down.
  const POINT lower = updown->ClientToScreen({9, 30});
  userinput::Mouse(0, lower);
  Pump();
  userinput::Mouse(MOUSEEVENTF_LEFTDOWN, lower);
  PumpUntil([&] { return at(9, 30) == frames[5]; }, 1000);
  EXPECT_EQ(at(9, 30), frames[5]);
  EXPECT_EQ(at(9, 10), frames[0]);
  userinput::Mouse(MOUSEEVENTF_LEFTUP, lower);
  Pump(60);
  EXPECT_EQ(at(9, 30), frames[4]);
  updown->SetEnabled(false);
  Pump();
  RedrawWindow(ud, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(at(9, 10), frames[2]);
  EXPECT_EQ(at(9, 30), frames[6]);

  // An up-down inside an edit keeps three pixels off the edit's frame.
  TWindow plain(L"嵌入", 300, 160);
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"12", WS_CHILD | WS_VISIBLE, 10, 10, 120, 26, plain.Handle,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND inner = CreateWindowW(UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 98, 0, 18, 22, edit, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(SkinManager->SkinWindow(plain.Handle));
  Pump();
  RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  TWinSkinForm* pf = SkinManager->FindSkinForm(plain.Handle);
  ASSERT_NE(pf, nullptr);
  auto* skinned = dynamic_cast<skin::TSkinUpDown*>(pf->FindControlByHandle(inner));
  ASSERT_NE(skinned, nullptr);
  EXPECT_TRUE(skinned->FEmbedded);
  RECT self{}, outer{};
  GetWindowRect(inner, &self);
  GetWindowRect(edit, &outer);
  HDC dc = GetWindowDC(inner);
  // The rows within 3 px of the edit's top are left white; the first frame starts below them.
  const int top = outer.top + 3 - self.top;
  EXPECT_EQ(Rgb(GetPixel(dc, 5, top - 1)), 0xFFFFFFu);
  EXPECT_EQ(Rgb(GetPixel(dc, 5, top + 1)), frames[0]);
  ReleaseDC(inner, dc);
}
