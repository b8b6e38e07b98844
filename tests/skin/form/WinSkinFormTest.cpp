// The skin manager and the form skin core on real windows: which windows are accepted, the
// states before activation, the deferred actions, taking the skin off exactly, and lifetimes.
#include <gtest/gtest.h>

#include "FormSkinFixture.h"
#include "skin/data/SysEntries.h"

using namespace skin;
using namespace formtest;

TEST(SkinManager, AcceptanceOfWindows) {
  TSkinnedWorld world;
  struct Row {
    const char* what;
    std::function<HWND()> make;
    bool accepted;
  };
  TWindow plain(L"接受"), small(L"零", 0, 0, nullptr, WS_POPUP), query(L"已有皮肤");
  query.AnswerQuery = true;
  TWindow dialogHidden(L"对话", 200, 120, L"#32770", WS_POPUP | WS_CAPTION | 0x200);
  TWindow dialog(L"对话", 200, 120, L"#32770", WS_POPUP | WS_CAPTION);
  TWindow app(L"应用", 200, 120, L"TApplication");
  TWindow foreign(L"别的模块");
  SetWindowLongPtrW(foreign.Handle, GWLP_HINSTANCE, reinterpret_cast<LONG_PTR>(GetModuleHandleW(L"user32.dll")));
  fw::TForm tagged(nullptr);
  tagged.Tag = 99;
  tagged.SetBounds(10, 10, 200, 120);
  tagged.HandleNeeded();
  fw::TForm form(nullptr);
  form.SetBounds(10, 10, 200, 120);
  form.HandleNeeded();
  const std::vector<Row> rows = {
      {"a window of this program", [&] { return plain.Handle; }, true},
      {"zero size", [&] { return small.Handle; }, false},
      {"answers the skin query", [&] { return query.Handle; }, false},
      {"dialog with style 0x200", [&] { return dialogHidden.Handle; }, false},
      {"dialog", [&] { return dialog.Handle; }, true},
      {"the application window class", [&] { return app.Handle; }, false},
      {"another module's window", [&] { return foreign.Handle; }, false},
      {"a form tagged 99", [&] { return tagged.Handle(); }, false},
      {"a framework form", [&] { return form.Handle(); }, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const HWND wnd = row.make();
    ASSERT_TRUE(IsWindow(wnd));
    EXPECT_EQ(SkinManager->SkinWindow(wnd), row.accepted);
    EXPECT_EQ(SkinManager->FindSkinForm(wnd) != nullptr, row.accepted);
    // A second offer never makes a second form skin.
    EXPECT_FALSE(SkinManager->SkinWindow(wnd));
  }
  EXPECT_EQ(SkinManager->FindSkinForm(form.Handle())->FForm, &form);
  EXPECT_EQ(SkinManager->FindSkinForm(form.Handle())->FClassName, L"TForm");
}

TEST(SkinManager, DialogsUseTheDialogSkinData) {
  TSkinnedWorld world;
  TSkinData dialogs(nullptr);
  dialogs.SetSkinFormtype(sfDialog);
  ASSERT_TRUE(LoadTestSkin(dialogs));
  SkinManager->AddSkinData(&dialogs);
  TWindow dialog(L"对话", 200, 120, L"#32770", WS_POPUP | WS_CAPTION), plain(L"普通");
  ASSERT_TRUE(SkinManager->SkinWindow(dialog.Handle));
  ASSERT_TRUE(SkinManager->SkinWindow(plain.Handle));
  EXPECT_EQ(SkinManager->FindSkinForm(dialog.Handle)->FSkinData, &dialogs);
  EXPECT_EQ(SkinManager->FindSkinForm(plain.Handle)->FSkinData, world.Data.get());
}

TEST(FormSkin, NothingIsPaintedBeforeActivation) {
  TSkinnedWorld world;
  TWindow w(L"未激活");
  ASSERT_TRUE(SkinManager->SkinWindow(w.Handle));
  TWinSkinForm* f = SkinManager->FindSkinForm(w.Handle);
  ASSERT_EQ(f->FState, fsCreated);
  w.Seen.clear();
  EXPECT_EQ(SendMessageW(w.Handle, WM_NCPAINT, 1, 0), 0);
  EXPECT_EQ(SendMessageW(w.Handle, WM_NCACTIVATE, FALSE, 0), TRUE);  // deactivation is allowed
  EXPECT_EQ(SendMessageW(w.Handle, WM_NCACTIVATE, TRUE, 0), 0);
  EXPECT_EQ(w.Count(WM_NCPAINT), 0);
  EXPECT_EQ(w.Count(WM_NCACTIVATE), 0);
  EXPECT_EQ(SendMessageW(w.Handle, WM_SKIN_QUERY, 0, 0), 1);
  Pump();
  EXPECT_EQ(f->FState, fsRunning);  // the posted activation has run
  EXPECT_TRUE(f->FActivated);
  EXPECT_GE(w.Count(WM_SKIN_AFTERSKIN), 1);
}

// What a framework form's own procedure sees, and how far the skin was when it became visible.
struct TShowRecorder {
  explicit TShowRecorder(fw::TForm& form) : Form(form), Previous(form.WindowProc) {
    form.WindowProc = fw::TWndMethod::Of<&TShowRecorder::Proc>(this);
  }
  void Proc(fw::TMessage& m) {
    if (m.Msg == WM_NCPAINT) ++NcPaints;
    if (m.Msg == WM_SHOWWINDOW && m.WParam) {
      const TWinSkinForm* f = SkinManager->FindSkinForm(Form.Handle());
      SkinnedWhenShown = f && f->FActivated && f->FState == fsRunning;
      RECT w{}, c{};
      GetWindowRect(Form.Handle(), &w);
      GetClientRect(Form.Handle(), &c);
      FrameWhenShown = {(w.right - w.left) - c.right, (w.bottom - w.top) - c.bottom};
    }
    Previous(m);
  }
  fw::TForm& Form;
  fw::TWndMethod Previous;
  int NcPaints = 0;
  bool SkinnedWhenShown = false;
  SIZE FrameWhenShown{};
};

TEST(FormSkin, FrameworkFormIsSkinnedBeforeItsFirstShow) {
  TSkinnedWorld world(false);  // at start-up: nothing has been activated yet
  SkinManager->InstallHook();
  fw::TForm form(nullptr);
  form.SetBounds(40, 40, 300, 200);
  form.SetCaption(L"首次显示");
  form.HandleNeeded();
  TShowRecorder recorder(form);
  form.Show();
  Pump();
  EXPECT_TRUE(recorder.SkinnedWhenShown);
  EXPECT_EQ(recorder.FrameWhenShown.cx, 2 * kSide);
  EXPECT_EQ(recorder.FrameWhenShown.cy, kCaption + kBottom);
  EXPECT_EQ(recorder.NcPaints, 0);  // the system never painted its frame
  TWinSkinForm* f = SkinManager->FindSkinForm(form.Handle());
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->FRegionSet);
  EXPECT_EQ(SkinManager->Forms().size(), 1u);  // the activation at the show made no second one
  // The framework's event is given back when the hook goes.
  SkinManager->RemoveHook();
  EXPECT_FALSE(fw::Screen->OnFormShowing);
}

TEST(FormSkin, TakingTheSkinOffRestoresTheWindow) {
  TSkinnedWorld world;
  for (bool unicode : {true, false}) {
    SCOPED_TRACE(unicode ? "Unicode window" : "ANSI window");
    // An ANSI window keeps its text in the system's code page: the check uses plain letters there.
    const std::wstring title = unicode ? L"还原测试" : L"Restore test";
    TWindow w(title, 320, 200, nullptr, WS_OVERLAPPEDWINDOW, nullptr, unicode);
    const auto proc = GetWindowLongPtrW(w.Handle, GWLP_WNDPROC);
    const LONG style = GetWindowLongW(w.Handle, GWL_STYLE);
    RECT client{}, window{};
    GetClientRect(w.Handle, &client);
    GetWindowRect(w.Handle, &window);
    ASSERT_TRUE(SkinManager->SkinWindow(w.Handle));
    Pump();
    EXPECT_NE(GetWindowLongPtrW(w.Handle, GWLP_WNDPROC), proc);
    EXPECT_EQ(IsWindowUnicode(w.Handle) != 0, unicode);

    for (int cycle = 0; cycle < 3; ++cycle) {
      TWinSkinForm* f = SkinManager->FindSkinForm(w.Handle);
      ASSERT_NE(f, nullptr);
      world.TakeOff(f);
      EXPECT_EQ(GetWindowLongPtrW(w.Handle, GWLP_WNDPROC), proc);
      EXPECT_EQ(IsWindowUnicode(w.Handle) != 0, unicode);
      EXPECT_EQ(GetWindowLongW(w.Handle, GWL_STYLE), style);
      RECT c{}, r{};
      GetClientRect(w.Handle, &c);
      GetWindowRect(w.Handle, &r);
      EXPECT_TRUE(EqualRect(&c, &client));
      EXPECT_TRUE(EqualRect(&r, &window));
      HRGN region = CreateRectRgn(0, 0, 0, 0);
      EXPECT_EQ(GetWindowRgn(w.Handle, region), ERROR);  // no region
      DeleteObject(region);
      EXPECT_EQ(SendMessageW(w.Handle, WM_SKIN_QUERY, 0, 0), 0);
      EXPECT_EQ(w.Text(), title);
      ASSERT_TRUE(SkinManager->SkinWindow(w.Handle));
      Pump();
    }
  }
}

TEST(FormSkin, ForeignSubclassOnTopSurvivesTheSkinComingOff) {
  TSkinnedWorld world;
  TWindow w(L"外来子类");
  ASSERT_TRUE(SkinManager->SkinWindow(w.Handle));
  Pump();
  static WNDPROC below = nullptr;
  static int seen = 0;
  below = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      w.Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_USER + 7) ++seen;
        return CallWindowProcW(below, h, m, wp, lp);
      })));
  world.TakeOff(SkinManager->FindSkinForm(w.Handle));
  SendMessageW(w.Handle, WM_USER + 7, 0, 0);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(w.Count(WM_USER + 7), 1);  // the window's own procedure still gets its messages
  SetWindowTextW(w.Handle, L"仍然可用");
  EXPECT_EQ(w.Text(), L"仍然可用");
}

TEST(FormSkin, WindowDestroyedWhileSkinned) {
  TSkinnedWorld world;
  auto w = std::make_unique<TWindow>(L"销毁");
  ASSERT_TRUE(SkinManager->SkinWindow(w->Handle));
  Pump();
  TWinSkinForm* f = SkinManager->FindSkinForm(w->Handle);
  ASSERT_NE(f, nullptr);
  w.reset();  // DestroyWindow: the form skin lets go and finishes
  EXPECT_EQ(f->FState, fsFinished);
  TWindow other(L"下一个");
  EXPECT_TRUE(SkinManager->SkinWindow(other.Handle));  // purges the finished one
  EXPECT_EQ(SkinManager->Forms().size(), 1u);

  // A window destroyed from inside its own message handler, with the skin's procedure on the stack.
  TWindow self(L"自毁");
  self.DestroyOn = WM_USER + 1;
  ASSERT_TRUE(SkinManager->SkinWindow(self.Handle));
  Pump();
  SendMessageW(self.Handle, WM_USER + 1, 0, 0);
  EXPECT_FALSE(IsWindow(self.Handle));
  Pump();
  TWindow last(L"最后");
  EXPECT_TRUE(SkinManager->SkinWindow(last.Handle));

  // A command destroys its window on the way through the skin.
  TWindow commanded(L"命令");
  commanded.DestroyOn = WM_COMMAND;
  ASSERT_TRUE(SkinManager->SkinWindow(commanded.Handle));
  Pump();
  SendMessageW(commanded.Handle, WM_COMMAND, 100, 0);
  EXPECT_FALSE(IsWindow(commanded.Handle));
  Pump();

  // A framework form released from its own WM_COMMAND: the form and its window go when the
  // release message arrives, inside the skin's procedure.
  struct TReleaseOnCommand {
    fw::TForm* Form;
    fw::TWndMethod Previous;
    void Proc(fw::TMessage& m) {
      Previous(m);
      if (m.Msg == WM_COMMAND) Form->Release();
    }
  };
  auto* form = new fw::TForm(nullptr);
  form->SetBounds(30, 30, 260, 160);
  form->Show();
  const HWND formWindow = form->Handle();
  ASSERT_TRUE(SkinManager->SkinWindow(formWindow));
  Pump();
  TReleaseOnCommand release{form, form->WindowProc};
  form->WindowProc = fw::TWndMethod::Of<&TReleaseOnCommand::Proc>(&release);
  SendMessageW(formWindow, WM_COMMAND, 1, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(formWindow); }));
  Pump();
  TWindow after(L"之后");
  EXPECT_TRUE(SkinManager->SkinWindow(after.Handle));
  for (const TWinSkinForm* f : SkinManager->Forms()) EXPECT_NE(f->FHandle, formWindow);
}

TEST(SkinManager, DeferredActions) {
  TSkinnedWorld world(false);
  // Before any window is activated, requests only switch skinning on and off.
  SkinManager->FPendingSkinData = world.Data.get();
  SkinManager->RequestAction(saUnskin, 250);
  EXPECT_FALSE(SkinManager->FEnabled);
  EXPECT_FALSE(SkinManager->Timer().Enabled());
  SkinManager->RequestAction(saSkin, 250);
  EXPECT_TRUE(SkinManager->FEnabled);
  EXPECT_FALSE(SkinManager->Timer().Enabled());

  fw::TForm a(nullptr), b(nullptr);
  for (fw::TForm* f : {&a, &b}) {
    f->SetBounds(40, 40, 240, 160);
    f->Show();
  }
  Pump();
  SkinManager->FState = msRunning;
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(fw::TObject*) { ++*n; }
  } counter{&changes};
  world.Data->OnSkinChanged = fw::TNotifyEvent::Of<&Counter::Changed>(&counter);

  SkinManager->FPendingSkinData = world.Data.get();
  SkinManager->RequestAction(saSkin, 50);
  ASSERT_TRUE(PumpUntil([] { return SkinManager->Forms().size() == 2; }));
  EXPECT_EQ(changes, 1);

  SkinManager->FPendingSkinData = world.Data.get();
  SkinManager->RequestAction(saUnskin, 50);
  ASSERT_TRUE(PumpUntil([] { return SkinManager->Forms().empty(); }));
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(SkinManager->FEnabled);
  EXPECT_EQ(SendMessageW(a.Handle(), WM_SKIN_QUERY, 0, 0), 0);
}

TEST(SkinManager, SkinDataOrManagerGoingAway) {
  TSkinnedWorld world;
  TWindow a(L"甲"), b(L"乙");
  ASSERT_TRUE(SkinManager->SkinWindow(a.Handle));
  ASSERT_TRUE(SkinManager->SkinWindow(b.Handle));
  Pump();
  const auto procA = a.OriginalProc;
  world.Data.reset();  // the component goes: its windows' skins come off
  EXPECT_TRUE(SkinManager->Forms().empty());
  EXPECT_EQ(GetWindowLongPtrW(a.Handle, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(procA));

  world.Data = MakeData();
  ASSERT_TRUE(SkinManager->SkinWindow(a.Handle));
  Pump();
  FreeSkinManager();  // shutdown with a live skinned window: unhooked, still working
  EXPECT_EQ(GetWindowLongPtrW(a.Handle, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(procA));
  SetWindowTextW(a.Handle, L"关闭后");
  EXPECT_EQ(a.Text(), L"关闭后");
}

// A form that refuses to be resized by the user still gets the skin's frame, and its old size back.
TEST(FormSkin, ResizeRefusingFormTakesTheSkinsSizes) {
  TSkinnedWorld world;
  struct TFixed {
    void Refuse(fw::TObject*, int&, int&, bool& resize) { resize = false; }
  } fixed;
  fw::TForm form(nullptr);
  form.SetBounds(50, 50, 300, 200);
  form.OnCanResize = fw::TCanResizeEvent::Of<&TFixed::Refuse>(&fixed);
  form.Show();
  Pump();
  RECT client{}, window{};
  GetClientRect(form.Handle(), &client);
  GetWindowRect(form.Handle(), &window);
  ASSERT_TRUE(SkinManager->SkinWindow(form.Handle()));
  Pump();
  RECT c{}, r{};
  GetClientRect(form.Handle(), &c);
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ((r.right - r.left) - (c.right - c.left), 2 * kSide);
  EXPECT_EQ((r.bottom - r.top) - (c.bottom - c.top), kCaption + kBottom);
  EXPECT_EQ(c.right - c.left, client.right - client.left);
  EXPECT_EQ(c.bottom - c.top, client.bottom - client.top);

  TSkinnedWorld::TakeOff(SkinManager->FindSkinForm(form.Handle()));
  GetClientRect(form.Handle(), &c);
  GetWindowRect(form.Handle(), &r);
  EXPECT_TRUE(EqualRect(&c, &client));
  EXPECT_TRUE(EqualRect(&r, &window));
}

TEST(FormSkin, GeometryFollowsTheSkin) {
  TSkinnedWorld world;
  TWindow w(L"几何", 320, 200);
  ASSERT_TRUE(SkinManager->SkinWindow(w.Handle));
  Pump();
  auto frame = [&] {
    RECT c{}, r{};
    GetClientRect(w.Handle, &c);
    GetWindowRect(w.Handle, &r);
    EXPECT_GE(c.right, 0);
    EXPECT_GE(c.bottom, 0);
    return SIZE{(r.right - r.left) - c.right, (r.bottom - r.top) - c.bottom};
  };
  const SIZE skinned{2 * kSide, kCaption + kBottom};
  EXPECT_EQ(frame().cx, skinned.cx);
  EXPECT_EQ(frame().cy, skinned.cy);
  SetWindowPos(w.Handle, nullptr, 0, 0, 400, 260, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(frame().cx, skinned.cx);
  EXPECT_EQ(frame().cy, skinned.cy);

  // Maximised: the work area exactly, the caption in view.
  ShowWindow(w.Handle, SW_MAXIMIZE);
  Pump();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(w.Handle, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT r{};
  GetWindowRect(w.Handle, &r);
  EXPECT_TRUE(EqualRect(&r, &monitor.rcWork));
  EXPECT_EQ(frame().cy, skinned.cy);
  ShowWindow(w.Handle, SW_RESTORE);
  Pump();
  EXPECT_EQ(frame().cx, skinned.cx);
  EXPECT_EQ(frame().cy, skinned.cy);

  // Tiny or minimised: never a negative client area.
  SetWindowPos(w.Handle, nullptr, 0, 0, 3, 3, SWP_NOMOVE | SWP_NOZORDER);
  frame();
  ShowWindow(w.Handle, SW_MINIMIZE);
  Pump();
  frame();
}

// Five times on and off: a window with a menu, one without, a maximised one; each comes back
// exactly as it was every time.
TEST(FormSkin, FiveOffOnCycles) {
  TSkinnedWorld world;
  struct Case {
    const char* what;
    bool menu, maximised;
  };
  for (const Case c : {Case{"menu", true, false}, Case{"plain", false, false}, Case{"maximised", false, true}}) {
    SCOPED_TRACE(c.what);
    TWindow w(L"循环", 360, 240);
    HMENU menu = nullptr;
    if (c.menu) {
      menu = CreateMenu();
      AppendMenuW(menu, MF_STRING, 100, L"&F 文件");
      SetMenu(w.Handle, menu);
    }
    if (c.maximised) ShowWindow(w.Handle, SW_MAXIMIZE);
    Pump();
    WINDOWPLACEMENT before{};
    before.length = sizeof before;
    GetWindowPlacement(w.Handle, &before);
    RECT client{}, window{};
    GetClientRect(w.Handle, &client);
    GetWindowRect(w.Handle, &window);
    const LONG style = GetWindowLongW(w.Handle, GWL_STYLE);
    for (int cycle = 0; cycle < 5; ++cycle) {
      SCOPED_TRACE(cycle);
      ASSERT_TRUE(SkinManager->SkinWindow(w.Handle));
      Pump();
      world.TakeOff(SkinManager->FindSkinForm(w.Handle));
      Pump();
      RECT cr{}, wr{};
      GetClientRect(w.Handle, &cr);
      GetWindowRect(w.Handle, &wr);
      auto text = [](const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
      };
      EXPECT_TRUE(EqualRect(&cr, &client)) << text(cr) << " was " << text(client);
      EXPECT_TRUE(EqualRect(&wr, &window)) << text(wr) << " was " << text(window);
      EXPECT_EQ(GetWindowLongW(w.Handle, GWL_STYLE), style);
      EXPECT_EQ(GetMenu(w.Handle), menu);
      WINDOWPLACEMENT after{};
      after.length = sizeof after;
      GetWindowPlacement(w.Handle, &after);
      EXPECT_TRUE(EqualRect(&after.rcNormalPosition, &before.rcNormalPosition));
      EXPECT_EQ(after.showCmd, before.showCmd);
    }
  }
}

// With the frame on, the window's own procedure never paints the frame and sees each frame
// calculation once.
TEST(FormSkin, MessagesTheOldProcedureSees) {
  TSkinnedWorld world;
  TWindow w(L"消息", 320, 200);
  ASSERT_TRUE(SkinManager->SkinWindow(w.Handle));
  Pump();
  w.Seen.clear();
  const int changes = 4;
  for (int i = 0; i < changes; ++i)
    SetWindowPos(w.Handle, nullptr, 0, 0, 300 + 10 * i, 220, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(w.Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  SendMessageW(w.Handle, WM_NCACTIVATE, FALSE, 0);
  SendMessageW(w.Handle, WM_NCACTIVATE, TRUE, 0);
  Pump();
  EXPECT_EQ(w.Count(WM_NCPAINT), 0);
  EXPECT_EQ(w.Count(WM_NCACTIVATE), 0);
  EXPECT_EQ(w.Count(WM_NCCALCSIZE), changes);
  EXPECT_EQ(w.Count(WM_SIZE), changes);
}

namespace {

std::uint32_t ScreenRgb(HDC dc, int x, int y) {
  const COLORREF c = GetPixel(dc, x, y);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// The frame exactly as the window shows it now: no repaint is asked for first, so anything the
// system drew over the skin's frame would be seen.
void ExpectSkinnedFrame(HWND wnd, bool active, const char* after) {
  SCOPED_TRACE(after);
  RECT r{};
  GetWindowRect(wnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC dc = GetWindowDC(wnd);
  EXPECT_EQ(ScreenRgb(dc, 1, h / 2), active ? kLeftActive : kLeftInactive);
  EXPECT_EQ(ScreenRgb(dc, w - 2, h / 2), active ? kRightActive : kRightInactive);
  EXPECT_EQ(ScreenRgb(dc, w / 2, h - 2), active ? kBottomActive : kBottomInactive);
  EXPECT_EQ(ScreenRgb(dc, w * 3 / 4, 3), active ? kTopActive : kTopInactive);
  EXPECT_EQ(ScreenRgb(dc, w * 3 / 4, kCaption - 2), active ? kTopActive : kTopInactive);
  ReleaseDC(wnd, dc);
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A modal dialog box that ends itself after a moment.
INT_PTR CALLBACK ClosingDialogProc(HWND dlg, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_INITDIALOG) {
    SetTimer(dlg, 1, 60, nullptr);
    return TRUE;
  }
  if (msg == WM_TIMER) {
    KillTimer(dlg, 1);
    EndDialog(dlg, IDOK);
    return TRUE;
  }
  return FALSE;
}

// A dialog template of the system's dialog class: a captioned popup of 160 x 80 units at (x, y).
struct TDialogTemplate {
  explicit TDialogTemplate(short x, short y) {
    T.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    T.x = x;
    T.y = y;
    T.cx = 160;
    T.cy = 80;
  }
  DLGTEMPLATE T{};
  WORD Menu = 0, Class = 0, Title = 0, Pad = 0;
};

// A dialog of the system's own dialog class.
HWND CreateSystemDialog(TDialogTemplate& t) {
  UseSystemDialogClass();
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &t.T, nullptr, PlainDialogProc, 0);
}

fw::TForm* g_modalForm = nullptr;
void CALLBACK CloseModalForm(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_modalForm) g_modalForm->Close();
}

}  // namespace

TEST(FormSkin, NoSystemOverdrawOfTheSkinnedFrame) {
  TSkinnedWorld world;
  HICON icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  // The system paints its own caption at a new title or icon and at activation changes, also
  // for a window whose frame it does not own: the skinned frame must still be all that shows.
  fw::TForm form(nullptr);
  form.SetBounds(420, 320, 300, 200);
  form.SetCaption(L"框架窗体");
  form.Show();
  TDialogTemplate dialogTemplate(10, 10);
  HWND dialog = CreateSystemDialog(dialogTemplate);
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(ClassNameOf(dialog), L"#32770");
  ShowWindow(dialog, SW_SHOW);
  for (HWND wnd : {form.Handle(), dialog}) {
    SCOPED_TRACE(wnd == dialog ? "system dialog" : "framework form");
    ASSERT_TRUE(SkinManager->SkinWindow(wnd));
    Pump();
    SetForegroundWindow(wnd);
    SetActiveWindow(wnd);
    Pump();
    ExpectSkinnedFrame(wnd, true, "skinned");

    SetWindowTextW(wnd, L"新的标题文字");
    ExpectSkinnedFrame(wnd, true, "SetWindowTextW");
    SendMessageW(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageW(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ExpectSkinnedFrame(wnd, true, "WM_SETICON");
    SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
    ExpectSkinnedFrame(wnd, false, "WM_NCACTIVATE FALSE");
    SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    ExpectSkinnedFrame(wnd, true, "WM_NCACTIVATE TRUE");

    // A modal window over it and back: the owner is disabled, deactivated, enabled, re-activated.
    if (wnd == dialog) {
      TDialogTemplate modalTemplate(200, 200);
      UseSystemDialogClass();
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &modalTemplate.T, dialog, ClosingDialogProc, 0);
    } else {
      fw::TForm modal(nullptr);
      modal.SetBounds(100, 500, 200, 120);
      g_modalForm = &modal;
      SetTimer(nullptr, 0, 60, CloseModalForm);
      modal.ShowModal();
      g_modalForm = nullptr;
      SetActiveWindow(wnd);
    }
    Pump();
    ASSERT_EQ(GetActiveWindow(), wnd);
    ExpectSkinnedFrame(wnd, true, "modal round trip");
  }
  DestroyWindow(dialog);
}

// A dialog whose title is wider than the dialog is widened to show it; its controls move with the
// middle, so what was centred stays centred.
TEST(FormSkin, DialogWidenedForItsTitleKeepsItsControlsCentred) {
  TSkinnedWorld world;
  TDialogTemplate dialogTemplate(20, 20);
  HWND dialog = CreateSystemDialog(dialogTemplate);
  ASSERT_NE(dialog, nullptr);
  SetWindowTextW(dialog, L"这是一个标题非常长的对话框，它的标题文字比对话框本身宽得多，皮肤要把它加宽");
  RECT client{};
  GetClientRect(dialog, &client);
  const int buttonWidth = 60;
  HWND button = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE, (client.right - buttonWidth) / 2, 10,
                                buttonWidth, 24, dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(dialog, SW_SHOW);
  Pump();
  RECT before{};
  GetWindowRect(dialog, &before);
  ASSERT_TRUE(SkinManager->SkinWindow(dialog));
  Pump();
  const TWinSkinForm* f = SkinManager->FindSkinForm(dialog);
  ASSERT_NE(f, nullptr);
  RECT after{}, c{}, b{};
  GetWindowRect(dialog, &after);
  GetClientRect(dialog, &c);
  EXPECT_GT(after.right - after.left, before.right - before.left);
  EXPECT_GE(after.right - after.left, f->FTitleWidth);
  GetWindowRect(button, &b);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&b), 2);
  EXPECT_LE(std::abs((b.left + b.right) / 2 - c.right / 2), 1);
  DestroyWindow(dialog);
}
