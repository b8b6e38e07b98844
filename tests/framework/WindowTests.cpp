// Windowing half of the framework on real windows: thunks, window properties, WindowProc
// replacement, reflection, graphic children, keyboard navigation, alignment.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "Controls.h"
#include "Forms.h"

using namespace fw;

namespace {

// A framework-class windowed control (its own window class "TTestPanel").
class TTestPanel : public TCustomControl {
  FW_DECLARE_CLASS()
public:
  using TCustomControl::TCustomControl;
};
FW_DEFINE_CLASS(TTestPanel, TCustomControl)

// A control over the system BUTTON class, written as the header tells control writers to.
class TTestButton : public TWinControl {
public:
  explicit TTestButton(TComponent* owner) : TWinControl(owner) {
    ControlStyle &= ~csClickEvents;
    SetTabStop(true);
  }
  std::vector<UINT> Seen;
  int Clicks = 0;
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.WinClassName = L"BUTTON";
    p.Style |= BS_PUSHBUTTON;
  }
  void WndProc(TMessage& m) override {
    Seen.push_back(m.Msg);
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
      ++Clicks;
      Click();
      return;
    }
    TWinControl::WndProc(m);
  }
};

class TTestEdit : public TWinControl {
public:
  explicit TTestEdit(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.WinClassName = L"EDIT";
    p.ExStyle |= WS_EX_CLIENTEDGE;
  }
};

// Paints itself red; records its clicks and mouse positions.
class TRedBox : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;
  int Clicks = 0, Enters = 0, Leaves = 0;
  POINT LastDown{-1, -1};
  void Click() override {
    ++Clicks;
    TGraphicControl::Click();
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_MOUSEENTER) ++Enters;
    if (m.Msg == CM_MOUSELEAVE) ++Leaves;
    TGraphicControl::WndProc(m);
  }

protected:
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    LastDown = {x, y};
    TGraphicControl::MouseDown(b, s, x, y);
  }
  void Paint() override {
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect({0, 0, Width(), Height()});
  }
};

// Records the messages that pass a replaced WindowProc and passes them on.
struct TSpy {
  TWndMethod Old;
  std::vector<UINT> Seen;
  void Proc(TMessage& m) {
    Seen.push_back(m.Msg);
    Old(m);
  }
};

void Pump() { Application->ProcessMessages(); }

// A new control of class T, owned by and shown on parent at the given bounds.
template <class T>
T* Place(TWinControl* parent, int left, int top, int width, int height) {
  auto* c = new T(parent);
  c->SetParent(parent);
  c->SetBounds(left, top, width, height);
  return c;
}

// Counts the OnClick events of the control it is bound to.
struct TClickCounter {
  int Count = 0;
  void OnClick(TObject*) { ++Count; }
  TNotifyEvent Event() { return TNotifyEvent::Of<&TClickCounter::OnClick>(this); }
};

bool Contains(const std::vector<UINT>& v, UINT m) { return std::find(v.begin(), v.end(), m) != v.end(); }

struct TThunkTarget {
  int Id;
  static LRESULT CALLBACK Proc(void* self, UINT msg, WPARAM, LPARAM) {
    return static_cast<TThunkTarget*>(self)->Id * 1000 + static_cast<LRESULT>(msg);
  }
};

}  // namespace

TEST(Thunk, EachStubCallsItsOwnObjectWithTheHandleReplaced) {
  TThunkTarget a{1}, b{2};
  TWndProcThunk ta, tb;
  ta.Init(&TThunkTarget::Proc, &a);
  tb.Init(&TThunkTarget::Proc, &b);
  EXPECT_NE(ta.Proc(), tb.Proc());
  EXPECT_EQ(CallWindowProcW(ta.Proc(), reinterpret_cast<HWND>(0x1234), 7, 0, 0), 1007);
  EXPECT_EQ(CallWindowProcW(tb.Proc(), reinterpret_cast<HWND>(0x1234), 8, 0, 0), 2008);
  tb.Init(&TThunkTarget::Proc, &a);  // rebinding
  EXPECT_EQ(CallWindowProcW(tb.Proc(), nullptr, 9, 0, 0), 1009);
}

TEST(WinControl, WindowPropertyFindsTheControlAndGoesWithTheWindow) {
  TForm form(nullptr);
  auto* panel = Place<TTestPanel>(&form, 5, 6, 100, 50);
  HWND h = panel->Handle();
  ASSERT_TRUE(IsWindow(h));
  EXPECT_EQ(GetParent(h), form.Handle());
  wchar_t name[64];
  swprintf(name, 64, L"ControlOfs%.8X%.8X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
           static_cast<unsigned>(GetCurrentThreadId()));
  EXPECT_EQ(GetPropW(h, name), static_cast<void*>(panel));
  EXPECT_EQ(FindControl(h), panel);
  EXPECT_EQ(FindControl(form.Handle()), &form);
  wchar_t cls[64];
  GetClassNameW(h, cls, 64);
  EXPECT_STREQ(cls, L"TTestPanel");  // framework classes are registered under their class name
  panel->DestroyHandle();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(FindControl(h), nullptr);
  EXPECT_FALSE(panel->HandleAllocated());
  // Recreated with the same bounds.
  HWND h2 = panel->Handle();
  RECT r;
  GetWindowRect(h2, &r);
  MapWindowPoints(HWND_DESKTOP, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.right - r.left, 100);
}

TEST(WinControl, ReplacedWindowProcRunsFirstAndCanBeRestored) {
  TForm form(nullptr);
  auto* panel = new TTestPanel(&form);
  panel->SetParent(&form);
  panel->HandleNeeded();
  TSpy spy;
  spy.Old = panel->WindowProc;
  panel->WindowProc = TWndMethod::Of<&TSpy::Proc>(&spy);
  SendMessageW(panel->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
  ASSERT_FALSE(spy.Seen.empty());
  EXPECT_EQ(spy.Seen.front(), static_cast<UINT>(WM_SETTEXT));
  EXPECT_EQ(panel->Text(), L"abc");  // passed on to the default processing
  panel->Perform(CM_TEXTCHANGED);   // Perform goes through WindowProc too
  EXPECT_EQ(spy.Seen.back(), CM_TEXTCHANGED);
  panel->WindowProc = spy.Old;
  size_t n = spy.Seen.size();
  SendMessageW(panel->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
  EXPECT_EQ(spy.Seen.size(), n);
}

TEST(WinControl, SystemClassIsSubclassedBeforeItsFirstMessageAndGetsReflectedCommands) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* button = Place<TTestButton>(&form, 10, 10, 80, 24);
  button->SetCaption(L"确定");
  TClickCounter clicks;
  button->OnClick = clicks.Event();
  HWND bh = button->Handle();
  wchar_t cls[32];
  GetClassNameW(bh, cls, 32);
  EXPECT_EQ(_wcsicmp(cls, L"Button"), 0);
  EXPECT_TRUE(Contains(button->Seen, WM_NCCREATE));
  EXPECT_TRUE(Contains(button->Seen, WM_CREATE));
  EXPECT_EQ(button->Caption(), L"确定");
  EXPECT_TRUE(IsWindowUnicode(bh));
  form.Show();
  SendMessageW(bh, BM_CLICK, 0, 0);  // the button notifies its parent with WM_COMMAND
  EXPECT_EQ(button->Clicks, 1);
  EXPECT_EQ(clicks.Count, 1);
  // An unhandled reflected notification gets default processing (a CTLCOLOR brush).
  HDC dc = GetDC(bh);
  LRESULT brush = SendMessageW(form.Handle(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(bh));
  ReleaseDC(bh, dc);
  EXPECT_TRUE(Contains(button->Seen, CN_CTLCOLORBTN));
  EXPECT_NE(brush, 0);
}

TEST(GraphicControl, PaintedAndClickedThroughItsParent) {
  TForm form(nullptr);
  form.SetBounds(50, 50, 300, 200);
  auto* box = Place<TRedBox>(&form, 20, 30, 60, 40);
  TClickCounter clicks;
  box->OnClick = clicks.Event();
  form.Show();
  Pump();
  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(form.Handle());
  COLORREF inside = GetPixel(dc, 40, 50), outside = GetPixel(dc, 10, 10);
  ReleaseDC(form.Handle(), dc);
  EXPECT_EQ(inside, RGB(255, 0, 0));
  EXPECT_EQ(outside, GetSysColor(COLOR_BTNFACE));

  HWND fh = form.Handle();
  SendMessageW(fh, WM_MOUSEMOVE, 0, MAKELPARAM(25, 35));
  EXPECT_EQ(box->Enters, 1);
  SendMessageW(fh, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
  EXPECT_EQ(box->LastDown.x, 5);
  EXPECT_EQ(box->LastDown.y, 5);
  SendMessageW(fh, WM_LBUTTONUP, 0, MAKELPARAM(26, 36));
  EXPECT_EQ(box->Clicks, 1);
  EXPECT_EQ(clicks.Count, 1);
  // Down inside, up outside: no click.
  SendMessageW(fh, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
  SendMessageW(fh, WM_LBUTTONUP, 0, MAKELPARAM(200, 150));
  EXPECT_EQ(box->Clicks, 1);
  SendMessageW(fh, WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));
  EXPECT_EQ(box->Leaves, 1);
  // Hidden: no longer hit.
  box->Hide();
  SendMessageW(fh, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
  SendMessageW(fh, WM_LBUTTONUP, 0, MAKELPARAM(25, 35));
  EXPECT_EQ(box->Clicks, 1);
}

TEST(WinControl, AlignedChildrenFillTheClientAreaAndFollowResizes) {
  TForm form(nullptr);
  form.SetClientWidth(400);
  form.SetClientHeight(300);
  auto* top = new TTestPanel(&form);
  top->SetParent(&form);
  top->SetHeight(50);
  top->SetAlign(alTop);
  auto* left = new TTestPanel(&form);
  left->SetParent(&form);
  left->SetWidth(80);
  left->SetAlign(alLeft);
  auto* client = new TTestPanel(&form);
  client->SetParent(&form);
  client->SetAlign(alClient);
  form.HandleNeeded();
  EXPECT_EQ(form.ClientWidth(), 400);
  EXPECT_EQ(form.ClientHeight(), 300);
  EXPECT_EQ(top->Width(), 400);
  EXPECT_EQ(left->Top(), 50);
  EXPECT_EQ(left->Height(), 250);
  EXPECT_EQ(client->Left(), 80);
  EXPECT_EQ(client->Width(), 320);
  EXPECT_EQ(client->Height(), 250);
  form.SetClientWidth(500);
  EXPECT_EQ(top->Width(), 500);
  EXPECT_EQ(client->Width(), 420);
  RECT r;
  GetWindowRect(client->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 420);
}

TEST(WinControl, TabMovesTheFocusBetweenTabStopsInTabOrder) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* a = Place<TTestEdit>(&form, 10, 10, 100, 22);
  auto* b = Place<TTestButton>(&form, 10, 40, 100, 22);
  b->SetCaption(L"&Go");
  auto* c = Place<TTestEdit>(&form, 10, 70, 100, 22);
  c->SetTabOrder(1);  // a, c, b
  EXPECT_EQ(a->TabOrder(), 0);
  EXPECT_EQ(c->TabOrder(), 1);
  EXPECT_EQ(b->TabOrder(), 2);
  form.Show();
  Pump();
  a->SetFocus();
  ASSERT_TRUE(a->Focused());
  PostMessageW(a->Handle(), WM_KEYDOWN, VK_TAB, 0);
  Pump();
  EXPECT_TRUE(c->Focused());
  PostMessageW(c->Handle(), WM_KEYDOWN, VK_TAB, 0);
  Pump();
  EXPECT_TRUE(b->Focused());
  // Alt+G: the accelerator of "&Go" reaches the button through CM_DIALOGCHAR.
  int before = b->Clicks;
  (void)before;
  a->SetFocus();
  TClickCounter clicks;
  b->OnClick = clicks.Event();
  PostMessageW(a->Handle(), WM_SYSCHAR, L'g', 1 << 29);
  Pump();
  EXPECT_EQ(clicks.Count, 1);
  EXPECT_TRUE(b->Focused());
}

TEST(WinControl, KeyPreviewShowsKeysToTheFormFirst) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* a = Place<TTestEdit>(&form, 10, 10, 100, 22);
  struct H {
    std::vector<std::pair<TObject*, WORD>> Seen;
    void FormKey(TObject* s, WORD& key, TShiftState) {
      Seen.push_back({s, key});
      if (key == 'X') key = 0;  // the form eats X
    }
    void EditKey(TObject* s, WORD& key, TShiftState) { Seen.push_back({s, key}); }
  } h;
  form.OnKeyDown = TKeyEvent::Of<&H::FormKey>(&h);
  a->OnKeyDown = TKeyEvent::Of<&H::EditKey>(&h);
  form.HandleNeeded();
  SendMessageW(a->Handle(), WM_KEYDOWN, 'A', 0);
  ASSERT_EQ(h.Seen.size(), 1u);  // no preview yet
  EXPECT_EQ(h.Seen[0].first, a);
  form.KeyPreview = true;
  SendMessageW(a->Handle(), WM_KEYDOWN, 'A', 0);
  SendMessageW(a->Handle(), WM_KEYDOWN, 'X', 0);
  ASSERT_EQ(h.Seen.size(), 4u);
  EXPECT_EQ(h.Seen[1].first, &form);
  EXPECT_EQ(h.Seen[2].first, a);
  EXPECT_EQ(h.Seen[3].first, &form);
}
