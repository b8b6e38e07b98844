// Check boxes, radio buttons, radio groups and group boxes skinned on a framework form and on a
// system dialog: which mark frame shows for each state and strip length, where the mark sits,
// printing into a memory DC, and the group box's frame line and caption.
#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "StdCtrls.h"

using namespace ctltest;

TEST(RadioGroup, ClickAndArrowKeysMoveTheDotAndClickOnce) {
  TControlWorld world;
  TTestForm f;
  auto* g = f.Add<fw::TRadioGroup>(20, 20, 200, 110, L"方向");
  g->Items()->Add(L"加密");
  g->Items()->Add(L"解密");
  g->SetItemIndex(0);
  TClicks clicks;
  g->OnClick = clicks.Event();
  MouseAway();
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  ASSERT_EQ(g->ButtonCount(), 2);
  const auto dot = [&](int i) { return MarkAt(g->Buttons(i)->Handle()); };
  EXPECT_EQ(dot(0), RadioColour(2));
  EXPECT_EQ(dot(1), RadioColour(1));

  fw::TControl& second = *g->Buttons(1);
  ClickAt(second.ClientToScreen({kMark / 2, second.Height() / 2}));
  EXPECT_EQ(Await([&] { return dot(1); }, RadioColour(2)), RadioColour(2));
  EXPECT_EQ(dot(0), RadioColour(1));
  EXPECT_EQ(g->ItemIndex(), 1);
  EXPECT_EQ(clicks.N, 1);

  // The radio group moves its choice with the arrow keys.
  ASSERT_EQ(GetFocus(), g->Buttons(1)->Handle());
  userinput::Press(VK_UP);
  Pump(100);
  EXPECT_EQ(Await([&] { return dot(0); }, RadioColour(2)), RadioColour(2));
  EXPECT_EQ(dot(1), RadioColour(1));
  EXPECT_EQ(clicks.N, 2);
}

TEST(CheckAndRadio, MarkFrameForEveryStateOnShortAndLongStrips) {
  struct State {
    const char* what;
    fw::TCheckBoxState check;
    bool enabled;
    int frame4, frame12;  // check box on a 4- and a 12-frame strip
  };
  const State checks[] = {
      {"unchecked", fw::cbUnchecked, true, 1, 1},          {"checked", fw::cbChecked, true, 2, 5},
      {"unchecked, disabled", fw::cbUnchecked, false, 3, 4}, {"checked, disabled", fw::cbChecked, false, 4, 8},
      {"grayed", fw::cbGrayed, true, 4, 9},                 {"grayed, disabled", fw::cbGrayed, false, 4, 12},
  };
  struct Radio {
    const char* what;
    bool checked, enabled;
    int frame4, frame8;
  };
  const Radio radios[] = {{"unchecked", false, true, 1, 1},
                          {"checked", true, true, 2, 5},
                          {"unchecked, disabled", false, false, 3, 4},
                          {"checked, disabled", true, false, 4, 8}};
  for (const bool longStrips : {false, true}) {
    SCOPED_TRACE(longStrips ? "12-frame check and 8-frame radio strips" : "4-frame strips");
    TControlWorld world(longStrips ? ControlSkin(12, 8) : ControlSkin());
    TTestForm f;
    auto* cb = f.Add<fw::TCheckBox>(20, 20, 160, 24, L"检查");
    cb->SetAllowGrayed(true);
    auto* rb = f.Add<fw::TRadioButton>(20, 60, 160, 24, L"单选");
    f.Show();
    ASSERT_NE(f.Skin(), nullptr);
    for (const State& s : checks) {
      SCOPED_TRACE(s.what);
      cb->SetState(s.check);
      cb->SetEnabled(s.enabled);
      Pump();
      EXPECT_EQ(MarkAt(cb->Handle()), CheckColour(longStrips ? s.frame12 : s.frame4));
    }
    for (const Radio& s : radios) {
      SCOPED_TRACE(s.what);
      rb->SetChecked(s.checked);
      rb->SetEnabled(s.enabled);
      Pump();
      EXPECT_EQ(MarkAt(rb->Handle()), RadioColour(longStrips ? s.frame8 : s.frame4));
    }
    // The user's click checks the box.
    cb->SetState(fw::cbUnchecked);
    cb->SetEnabled(true);
    Pump();
    ClickAt(cb->ClientToScreen({kMark / 2, 12}));
    EXPECT_EQ(cb->State(), fw::cbChecked);
    EXPECT_EQ(Await([&] { return MarkAt(cb->Handle()); }, CheckColour(longStrips ? 5 : 2)),
              CheckColour(longStrips ? 5 : 2));
  }
}

TEST(CheckAndRadio, RightButtonMarksAndPrinting) {
  TControlWorld world;
  TTestForm f;
  auto* cb = f.Add<fw::TCheckBox>(20, 20, 120, 24);
  auto* rb = f.Add<fw::TRadioButton>(20, 60, 120, 24);
  cb->SetAlignment(fw::taLeftJustify);  // BS_RIGHTBUTTON: the caption left of the mark
  rb->SetAlignment(fw::taLeftJustify);
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  ASSERT_TRUE(GetWindowLongW(cb->Handle(), GWL_STYLE) & BS_RIGHTBUTTON);
  const int W = 120, y = 12;
  // The check mark flush with the right edge, the radio dot one pixel in.
  EXPECT_EQ(At(cb->Handle(), W - 1, y), CheckColour(1));
  EXPECT_EQ(At(cb->Handle(), W - kMark, y), CheckColour(1));
  EXPECT_EQ(At(cb->Handle(), W - kMark - 1, y), kFace);
  EXPECT_EQ(At(rb->Handle(), W - 1, y), kFace);
  EXPECT_EQ(At(rb->Handle(), W - 2, y), RadioColour(1));
  EXPECT_EQ(At(rb->Handle(), W - kMark - 1, y), RadioColour(1));
  EXPECT_EQ(At(rb->Handle(), W - kMark - 2, y), kFace);
  EXPECT_EQ(At(cb->Handle(), kMark / 2, y), kFace);

  // WM_PRINT and WM_PRINTCLIENT draw the face and the mark into a memory DC.
  cb->SetChecked(true);
  rb->SetChecked(true);
  Pump();
  for (const UINT msg : {static_cast<UINT>(WM_PRINT), static_cast<UINT>(WM_PRINTCLIENT)}) {
    for (fw::TWinControl* c : {static_cast<fw::TWinControl*>(cb), static_cast<fw::TWinControl*>(rb)}) {
      SCOPED_TRACE(msg == WM_PRINT ? "WM_PRINT" : "WM_PRINTCLIENT");
      fw::TBitmap picture(W, 24);
      HDC dc = picture.Canvas().Handle();
      fw::TBrushHandle sentinel(CreateSolidBrush(RGB(0x12, 0x34, 0x56)));
      const RECT all{0, 0, W, 24};
      FillRect(dc, &all, sentinel.Get());
      SendMessageW(c->Handle(), msg, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
      const bool isCheck = c == cb;
      EXPECT_EQ(Rgb(GetPixel(dc, W - 3, y)), isCheck ? CheckColour(2) : RadioColour(2));
      EXPECT_EQ(Rgb(GetPixel(dc, 3, 3)), kFace);
    }
  }
}

TEST(GroupBox, CaptionCoversTheFrameLineAndLabelsAreStillDrawn) {
  TControlWorld world;
  TTestForm f;
  auto* titled = f.Add<fw::TGroupBox>(20, 20, 220, 110, L"WWWWWW");
  auto* bare = f.Add<fw::TGroupBox>(20, 150, 220, 100);
  bare->SetCaption(L"");
  auto* label = new fw::TLabel(f.Form.get());
  label->SetParent(titled);
  label->SetBounds(20, 50, 120, 20);
  label->SetCaption(L"WWWWWWWWWW");
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  Pump();
  const int W = 220;
  // The frame's top line: the first shadow-coloured row down the middle of the empty box.
  const auto lineRow = [&](HWND h, int x) {
    for (int y = 0; y < 30; ++y)
      if (At(h, x, y) == kShadow) return y;
    return -1;
  };
  const int y0 = lineRow(bare->Handle(), W / 2);
  ASSERT_GE(y0, 0);
  for (int x = 4; x < W - 4; ++x) EXPECT_EQ(At(bare->Handle(), x, y0), kShadow) << "unbroken at x " << x;
  // Beside the caption the line is there; behind the caption's cell it is not.
  ASSERT_EQ(lineRow(titled->Handle(), W - 20), y0);
  for (int x = 9; x < 24; ++x) EXPECT_NE(At(titled->Handle(), x, y0), kShadow) << "covered at x " << x;
  // The label inside the skinned group box is painted: its caption shows on the face.
  HDC dc = GetWindowDC(titled->Handle());
  EXPECT_EQ(InkRows(dc, label->BoundsRect(), kFace).size(), 1u);
  ReleaseDC(titled->Handle(), dc);
  EXPECT_EQ(At(titled->Handle(), W / 2, 90), kFace);
  // A right-aligned caption: the line is whole at the left and broken near the right edge.
  SetWindowLongW(titled->Handle(), GWL_EXSTYLE, GetWindowLongW(titled->Handle(), GWL_EXSTYLE) | WS_EX_RIGHT);
  RedrawWindow(titled->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  for (int x = 9; x < 24; ++x) EXPECT_EQ(At(titled->Handle(), x, y0), kShadow) << "whole at x " << x;
  for (int x = W - 20; x < W - 9; ++x) EXPECT_NE(At(titled->Handle(), x, y0), kShadow) << "covered at x " << x;
}

TEST(CheckAndRadio, TransparentFaceShowsWhatLiesBehind) {
  TControlWorld world;
  TTestForm f;
  auto* behind = f.Add<fw::TLabel>(10, 10, 200, 40);
  behind->SetColor(0x00A05010);  // 0x1050A0
  auto* cb = f.Add<fw::TCheckBox>(20, 20, 150, 24, L"检查");
  auto* plain = f.Add<fw::TCheckBox>(20, 60, 150, 24, L"检查");
  cb->Tag = 5555;  // the face is the parent's image
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  Pump();
  EXPECT_EQ(At(cb->Handle(), 145, 2), 0x1050A0u);
  EXPECT_EQ(At(plain->Handle(), 145, 2), kFace);
  EXPECT_EQ(MarkAt(cb->Handle()), CheckColour(1));
}

TEST(BareControls, ButtonsOfASystemDialogTakeTheSkin) {
  TControlWorld world;
  formtest::TWindow dialog(L"对话框", 320, 220, L"#32770", WS_POPUP | WS_CAPTION | WS_VISIBLE);
  SetWindowPos(dialog.Handle, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const auto child = [&](DWORD style, int top, const wchar_t* text) {
    return CreateWindowW(L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, 20, top, 140, 24, dialog.Handle,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(200 + top)), nullptr, nullptr);
  };
  HWND push = child(BS_PUSHBUTTON, 10, L"按钮");
  HWND check = child(BS_AUTOCHECKBOX, 50, L"检查");
  HWND radio = child(BS_AUTORADIOBUTTON, 90, L"单选");
  MouseAway();
  SetForegroundWindow(dialog.Handle);
  ASSERT_TRUE(skin::SkinManager->SkinWindow(dialog.Handle));
  Pump(150);
  for (HWND h : {push, check, radio}) EXPECT_EQ(Query(h), 1);
  EXPECT_EQ(At(push, 3, 3), kNormal);
  EXPECT_EQ(MarkAt(check), CheckColour(1));
  EXPECT_EQ(MarkAt(radio), RadioColour(1));
  // Set from code and clicked by the user, the marks follow at once.
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(MarkAt(check), CheckColour(2));
  RECT r{};
  GetWindowRect(check, &r);
  ClickAt({r.left + kMark / 2, (r.top + r.bottom) / 2});
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Await([&] { return MarkAt(check); }, CheckColour(1)), CheckColour(1));
  GetWindowRect(radio, &r);
  ClickAt({r.left + kMark / 2, (r.top + r.bottom) / 2});
  EXPECT_EQ(Await([&] { return MarkAt(radio); }, RadioColour(2)), RadioColour(2));
  EnableWindow(check, FALSE);
  EXPECT_EQ(MarkAt(check), CheckColour(3));
}
