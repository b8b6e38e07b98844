// Forms, the application and timers on real windows: close protocol, resize veto, modal
// loop, message pumping, the default exception report and a real modal message box.
#include <gtest/gtest.h>
#include <windows.h>

#include "Forms.h"
#include "MsgBox.h"
#include "Timers.h"

using namespace fw;

namespace {

// Restores the message box hook at the end of a test.
struct THookScope {
  TMessageBoxHook Old;
  explicit THookScope(TMessageBoxHook h) : Old(SetMessageBoxHook(std::move(h))) {}
  ~THookScope() { SetMessageBoxHook(std::move(Old)); }
};

// Pumps until done() or the time is up.
template <class F>
bool PumpUntil(F done, DWORD ms = 3000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    Application->ProcessMessages();
    Sleep(5);
  }
  return true;
}

class TRecordingForm : public TForm {
public:
  using TForm::TForm;
  std::vector<UINT> Seen;
  void WndProc(TMessage& m) override {
    Seen.push_back(m.Msg);
    TForm::WndProc(m);
  }
};

}  // namespace

TEST(Form, CloseQueryRefusalKeepsTheWindowAndOnCloseDecides) {
  TForm form(nullptr);
  form.SetCaption(L"关闭测试");
  form.SetBounds(100, 100, 300, 200);
  struct H {
    bool Allow = false;
    int Queries = 0, Closes = 0;
    TCloseAction Action = caHide;
    void Query(TObject*, bool& can) {
      ++Queries;
      can = Allow;
    }
    void Close(TObject*, TCloseAction& a) {
      ++Closes;
      EXPECT_EQ(a, caHide);  // the default for a form that is not the main form
      a = Action;
    }
  } h;
  form.OnCloseQuery = TCloseQueryEvent::Of<&H::Query>(&h);
  form.OnClose = TCloseEvent::Of<&H::Close>(&h);
  form.Show();
  HWND wnd = form.Handle();
  SendMessageW(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(h.Queries, 1);
  EXPECT_EQ(h.Closes, 0);
  EXPECT_TRUE(IsWindowVisible(wnd));
  h.Allow = true;
  h.Action = caNone;
  SendMessageW(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(h.Closes, 1);
  EXPECT_TRUE(IsWindowVisible(wnd));
  h.Action = caHide;
  SendMessageW(wnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(wnd));
  EXPECT_TRUE(IsWindow(wnd));  // hidden, not destroyed
  EXPECT_FALSE(form.Visible());
}

TEST(Form, CaFreeReleasesTheFormAfterTheMessage) {
  auto* form = new TForm(Application);
  form->Show();
  HWND wnd = form->Handle();
  struct H {
    void Close(TObject*, TCloseAction& a) { a = caFree; }
  } h;
  form->OnClose = TCloseEvent::Of<&H::Close>(&h);
  int before = Screen->FormCount();
  form->Close();
  EXPECT_TRUE(IsWindow(wnd));
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(wnd); }));
  EXPECT_EQ(Screen->FormCount(), before - 1);
}

TEST(Form, CanResizeRefusalKeepsTheSize) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  struct H {
    bool Allow = false;
    int Calls = 0;
    void CanResize(TObject*, int& w, int& h, bool& resize) {
      ++Calls;
      if (Allow) {
        w = std::min(w, 500);  // the handler may also adjust the size
        h = std::max(h, 150);
      } else {
        resize = false;
      }
    }
  } h;
  form.OnCanResize = TCanResizeEvent::Of<&H::CanResize>(&h);
  form.Show();
  HWND wnd = form.Handle();
  SetWindowPos(wnd, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
  RECT r;
  GetWindowRect(wnd, &r);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 200);
  EXPECT_GE(h.Calls, 1);
  // Dragging the border: WM_SIZING's rectangle is put back.
  RECT drag{r.left, r.top, r.right + 50, r.bottom + 40};
  SendMessageW(wnd, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&drag));
  EXPECT_EQ(drag.right - drag.left, 300);
  EXPECT_EQ(drag.bottom - drag.top, 200);
  h.Allow = true;
  SetWindowPos(wnd, nullptr, 0, 0, 600, 100, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(form.Width(), 500);
  EXPECT_EQ(form.Height(), 150);
}

TEST(Form, ShowModalRunsUntilModalResultAndDisablesOtherWindows) {
  TForm owner(nullptr);
  owner.SetBounds(50, 50, 300, 200);
  owner.Show();
  TForm dialog(nullptr);
  dialog.SetBorderStyle(bsDialog);
  dialog.SetPosition(poScreenCenter);
  dialog.SetClientWidth(200);
  dialog.SetClientHeight(100);
  TTimer timer(nullptr);
  timer.SetInterval(50);
  struct H {
    TForm* Dialog;
    TForm* Owner;
    int Ticks = 0;
    bool OwnerWasDisabled = false, DialogWasVisible = false;
    void Tick(TObject*) {
      ++Ticks;
      OwnerWasDisabled = !IsWindowEnabled(Owner->Handle());
      DialogWasVisible = IsWindowVisible(Dialog->Handle());
      Dialog->SetModalResult(mrOk);
    }
  } h{&dialog, &owner};
  timer.OnTimer = TNotifyEvent::Of<&H::Tick>(&h);
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  timer.SetEnabled(false);
  EXPECT_GE(h.Ticks, 1);
  EXPECT_TRUE(h.OwnerWasDisabled);
  EXPECT_TRUE(h.DialogWasVisible);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
  EXPECT_EQ(dialog.ClientWidth(), 200);
  EXPECT_EQ(dialog.Left(), (Screen->Width() - dialog.Width()) / 2);  // poScreenCenter
  // Close during the modal loop gives mrCancel.
  struct C {
    TForm* Dialog;
    void Tick(TObject*) { PostMessageW(Dialog->Handle(), WM_CLOSE, 0, 0); }
  } c{&dialog};
  timer.OnTimer = TNotifyEvent::Of<&C::Tick>(&c);
  timer.SetEnabled(true);
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST(Application, ProcessMessagesRunsPostedMessages) {
  TRecordingForm form(nullptr);
  form.HandleNeeded();
  PostMessageW(form.Handle(), WM_APP + 5, 1, 2);
  EXPECT_FALSE(std::count(form.Seen.begin(), form.Seen.end(), WM_APP + 5));
  Application->ProcessMessages();
  EXPECT_EQ(std::count(form.Seen.begin(), form.Seen.end(), WM_APP + 5), 1);
  EXPECT_EQ(Application->Title().empty(), false);
  wchar_t cls[32];
  GetClassNameW(Application->Handle(), cls, 32);
  EXPECT_STREQ(cls, L"TApplication");
}

TEST(Application, ExceptionInAnEventHandlerShowsTheDefaultReport) {
  std::vector<TMessageBoxRequest> boxes;
  THookScope hook([&](const TMessageBoxRequest& r) {
    boxes.push_back(r);
    return IDOK;
  });
  TForm form(nullptr);
  form.SetBounds(100, 100, 200, 100);
  struct H {
    void Click(TObject*) { throw EConvertError(L"“abc”不是有效的整数"); }
  } h;
  form.OnClick = TNotifyEvent::Of<&H::Click>(&h);
  HWND wnd = form.Handle();
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));  // the exception stops at the window procedure
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, L"“abc”不是有效的整数");
  EXPECT_EQ(boxes[0].Caption, Application->Title());
  EXPECT_TRUE(boxes[0].Flags & MB_ICONERROR);
  // EAbort is silent.
  struct A {
    void Click(TObject*) { throw EAbort(L"silent"); }
  } a;
  form.OnClick = TNotifyEvent::Of<&A::Click>(&a);
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(boxes.size(), 1u);
}

TEST(Timer, FiresWhileEnabledAndStopsWhenDisabled) {
  TTimer timer(nullptr);
  timer.SetInterval(20);
  int ticks = 0;
  struct H {
    int* n;
    void Tick(TObject*) { ++*n; }
  } h{&ticks};
  timer.SetOnTimer(TNotifyEvent::Of<&H::Tick>(&h));
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  timer.SetEnabled(false);
  int seen = ticks;
  Sleep(80);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, seen);
}

TEST(MessageBox, RealModalBoxIsShownAndDismissedFromATimer) {
  TTimer timer(nullptr);
  timer.SetInterval(100);
  struct H {
    bool Found = false;
    void Tick(TObject*) {
      HWND box = FindWindowW(L"#32770", L"sbx 测试");
      if (box) {
        Found = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
    }
  } h;
  timer.SetOnTimer(TNotifyEvent::Of<&H::Tick>(&h));
  int answer = ShowMessageBox(nullptr, L"真实的消息框", L"sbx 测试", MB_OKCANCEL | MB_ICONINFORMATION);
  timer.SetEnabled(false);
  EXPECT_TRUE(h.Found);
  EXPECT_EQ(answer, IDOK);
}

TEST(Screen, ListsFormsAndTracksTheActiveOne) {
  int before = Screen->FormCount();
  {
    TForm a(nullptr), b(nullptr);
    EXPECT_EQ(Screen->FormCount(), before + 2);
    EXPECT_EQ(Screen->Forms(before), &a);  // creation order
    a.SetBounds(10, 10, 200, 100);
    b.SetBounds(30, 30, 200, 100);
    a.Show();
    b.Show();
    SetActiveWindow(a.Handle());
    Application->ProcessMessages();
    EXPECT_EQ(Screen->ActiveForm(), &a);
    EXPECT_EQ(Screen->Forms(0), &a);  // the active form comes first
  }
  EXPECT_EQ(Screen->FormCount(), before);
  EXPECT_GT(Screen->Width(), 0);
}

TEST(Form, PublishedPropertiesReachTheForm) {
  TForm form(nullptr);
  const TClassInfo& ci = form.ClassInfo();
  for (const char* p : {"Left", "Top", "Width", "Height", "Caption", "Visible", "Enabled", "Color", "Align", "TabOrder",
                        "TabStop", "Tag", "Name", "ClientWidth", "ClientHeight", "Position", "BorderStyle", "OnClick",
                        "OnCreate", "OnShow", "OnCloseQuery", "OnCanResize", "OnKeyUp"})
    EXPECT_NE(ci.FindProp(p), nullptr) << p;
  ci.FindProp("Caption")->Set(&form, std::wstring(L"sbx 文件加密工具"));
  ci.FindProp("Position")->Set(&form, int64_t(static_cast<int>(poScreenCenter)));
  ci.FindProp("ClientWidth")->Set(&form, int64_t(881));
  struct H {
    int n = 0;
    void Show(TObject*) { ++n; }
  } h;
  ci.FindProp("OnShow")->Set(&form, TNotifyEvent::Of<&H::Show>(&h).Ref());
  form.Show();
  wchar_t text[64];
  GetWindowTextW(form.Handle(), text, 64);
  EXPECT_STREQ(text, L"sbx 文件加密工具");
  EXPECT_EQ(form.ClientWidth(), 881);
  EXPECT_EQ(h.n, 1);
  EXPECT_EQ(FindClass("TForm"), nullptr == FindClass("TForm") ? nullptr : &TForm::StaticClassInfo());
}
