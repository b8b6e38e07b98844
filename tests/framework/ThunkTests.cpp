// Window takeover on real windows: the window's flavour and texts, message order, refused
// restores (a raw subclass on top, a hook below another), removal during nested messages,
// windows destroyed while hooked; and the private messages sharing the reflected range.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "Forms.h"
#include "Grids.h"
#include "StdCtrls.h"
#include "Thunk.h"

using namespace fw;

namespace {

constexpr UINT kPing = WM_APP + 1;     // answered by the class procedures with 100 + wParam
constexpr UINT kOuter = WM_APP + 2;    // a message during which the hook sends kInner
constexpr UINT kInner = WM_APP + 3;    // a message during which the hook removes itself

// The messages of interest, in the order the procedures saw them: "who message".
std::vector<std::string> gLog;

const char* MsgName(UINT msg) {
  switch (msg) {
    case kPing: return "ping";
    case kOuter: return "outer";
    case kInner: return "inner";
    case WM_NCDESTROY: return "ncdestroy";
    default: return nullptr;
  }
}

void Log(const std::string& who, UINT msg) {
  if (const char* name = MsgName(msg)) gLog.push_back(who + " " + name);
}

// Returns the log since the last call and clears it.
std::vector<std::string> TakeLog() {
  std::vector<std::string> v;
  v.swap(gLog);
  return v;
}

using TLog = std::vector<std::string>;

LRESULT CALLBACK ClassProcW(HWND h, UINT msg, WPARAM w, LPARAM l) {
  Log("class", msg);
  if (msg == kPing) return 100 + static_cast<LRESULT>(w);
  return DefWindowProcW(h, msg, w, l);
}

LRESULT CALLBACK ClassProcA(HWND h, UINT msg, WPARAM w, LPARAM l) {
  Log("class", msg);
  if (msg == kPing) return 100 + static_cast<LRESULT>(w);
  return DefWindowProcA(h, msg, w, l);
}

// A raw subclass in the old style: SetWindowLongPtr and CallWindowProc, no checks.
WNDPROC gForeignOld = nullptr;

LRESULT CALLBACK ForeignProcW(HWND h, UINT msg, WPARAM w, LPARAM l) {
  Log("foreign", msg);
  return CallWindowProcW(gForeignOld, h, msg, w, l);
}

LRESULT CALLBACK ForeignProcA(HWND h, UINT msg, WPARAM w, LPARAM l) {
  Log("foreign", msg);
  return CallWindowProcA(gForeignOld, h, msg, w, l);
}

LONG_PTR GetProc(HWND h, bool unicode) {
  return unicode ? GetWindowLongPtrW(h, GWLP_WNDPROC) : GetWindowLongPtrA(h, GWLP_WNDPROC);
}

void SetProc(HWND h, bool unicode, LONG_PTR p) {
  if (unicode) SetWindowLongPtrW(h, GWLP_WNDPROC, p);
  else SetWindowLongPtrA(h, GWLP_WNDPROC, p);
}

void ForeignSubclass(HWND h, bool unicode) {
  gForeignOld = reinterpret_cast<WNDPROC>(GetProc(h, unicode));
  SetProc(h, unicode, reinterpret_cast<LONG_PTR>(unicode ? &ForeignProcW : &ForeignProcA));
}

// The raw subclass leaves by putting back what it saw, whatever is installed now.
void ForeignUnsubclass(HWND h, bool unicode) { SetProc(h, unicode, reinterpret_cast<LONG_PTR>(gForeignOld)); }

// A skin-object-like owner of a hook: logs, passes every message on, and unhooks after passing
// WM_NCDESTROY on.
struct TOwner {
  std::string Name;
  TWindowHook Hook;
  bool RemoveAtNcDestroy = true;
  bool RemoveOnInner = false;
  std::wstring TextW;  // last WM_SETTEXT as the hook received it
  std::string TextA;

  explicit TOwner(std::string name) : Name(std::move(name)) {}
  bool Install(HWND h) { return Hook.Install(h, &TOwner::Proc, this); }

  static LRESULT CALLBACK Proc(void* self, UINT msg, WPARAM w, LPARAM l) {
    auto* o = static_cast<TOwner*>(self);
    Log(o->Name, msg);
    if (msg == WM_SETTEXT && l) {
      if (o->Hook.Unicode()) o->TextW = reinterpret_cast<const wchar_t*>(l);
      else o->TextA = reinterpret_cast<const char*>(l);
    }
    if (msg == kOuter) SendMessageW(o->Hook.Handle(), kInner, 0, 0);
    if (msg == kInner && o->RemoveOnInner) o->Hook.Remove();
    LRESULT r = o->Hook.CallOld(msg, w, l);
    if (msg == WM_NCDESTROY && o->RemoveAtNcDestroy) o->Hook.Remove();
    if (msg == kPing) r += 1000;
    return r;
  }
};

// The test's own W and A window classes, registered once.
const wchar_t* const kClassW = L"ThunkTestW";
const char* const kClassA = "ThunkTestA";

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSW w{};
  w.lpfnWndProc = &ClassProcW;
  w.hInstance = GetModuleHandleW(nullptr);
  w.lpszClassName = kClassW;
  RegisterClassW(&w);
  WNDCLASSA a{};
  a.lpfnWndProc = &ClassProcA;
  a.hInstance = GetModuleHandleW(nullptr);
  a.lpszClassName = kClassA;
  RegisterClassA(&a);
}

HWND MakeWindow(bool unicode) {
  RegisterClasses();
  return unicode ? CreateWindowExW(0, kClassW, L"w", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr)
                 : CreateWindowExA(0, kClassA, "a", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
}

struct TWindowKind {
  const char* Name;
  bool Unicode;
  bool Logs;  // its procedure writes to the log (the test's classes)
  HWND (*Make)();
};

HWND MakeEditA() { return CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr); }
HWND MakeEditW() { return CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr); }

// An empty system dialog ("#32770") created with the A call.
HWND MakeDialogA() {
  struct alignas(4) {
    DLGTEMPLATE T;
    WORD Menu, Class, Title;
  } tpl{};
  tpl.T.style = WS_POPUP | DS_MODALFRAME;
  tpl.T.cx = 80;
  tpl.T.cy = 40;
  return CreateDialogIndirectParamA(GetModuleHandleW(nullptr), &tpl.T, nullptr, nullptr, 0);
}

const TWindowKind kKinds[] = {
    {"W class", true, true, [] { return MakeWindow(true); }},
    {"A class", false, true, [] { return MakeWindow(false); }},
    {"EDIT (A)", false, false, &MakeEditA},
    {"EDIT (W)", true, false, &MakeEditW},
    {"#32770 (A)", false, false, &MakeDialogA},
};

std::wstring TextW(HWND h) {
  wchar_t buf[128] = {};
  GetWindowTextW(h, buf, 128);
  return buf;
}

std::string TextA(HWND h) {
  char buf[128] = {};
  GetWindowTextA(h, buf, 128);
  return buf;
}

const wchar_t* const kChinese = L"中文标题 Ω";

}  // namespace

TEST(WindowHook, KeepsTheWindowsFlavourAndItsTextsThroughInstallAndRemove) {
  const std::size_t parked = TWindowHook::ParkedStubCount();
  for (const TWindowKind& k : kKinds) {
    SCOPED_TRACE(k.Name);
    HWND h = k.Make();
    ASSERT_TRUE(h);
    ASSERT_EQ(IsWindowUnicode(h) != FALSE, k.Unicode);
    LONG_PTR original = GetProc(h, k.Unicode);
    if (k.Unicode) SetWindowTextW(h, kChinese);

    TOwner o("hook");
    ASSERT_TRUE(o.Install(h));
    EXPECT_TRUE(o.Hook.Installed());
    EXPECT_EQ(o.Hook.Handle(), h);
    EXPECT_EQ(o.Hook.Unicode(), k.Unicode);
    EXPECT_EQ(IsWindowUnicode(h) != FALSE, k.Unicode);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(o.Hook.OldProc()), original);
    EXPECT_FALSE(o.Install(h)) << "installed twice";

    if (k.Unicode) {
      EXPECT_EQ(TextW(h), kChinese);
      SetWindowTextW(h, L"新的 标题");
      EXPECT_EQ(o.TextW, L"新的 标题");  // the stub gets wide text, the window keeps it
      EXPECT_EQ(TextW(h), L"新的 标题");
    } else {
      SetWindowTextA(h, "caf\xe9");
      EXPECT_EQ(o.TextA, "caf\xe9");  // the stub gets ANSI text
      EXPECT_EQ(TextA(h), "caf\xe9");
    }

    o.Hook.Remove();
    EXPECT_FALSE(o.Hook.Installed());
    EXPECT_EQ(IsWindowUnicode(h) != FALSE, k.Unicode);
    EXPECT_EQ(GetProc(h, k.Unicode), original);
    if (k.Unicode) {
      SetWindowTextW(h, kChinese);
      EXPECT_EQ(TextW(h), kChinese);
    }
    o.Hook.Remove();  // twice: nothing happens
    EXPECT_EQ(GetProc(h, k.Unicode), original);
    DestroyWindow(h);
  }
  EXPECT_EQ(TWindowHook::ParkedStubCount(), parked);
  TakeLog();
}

TEST(WindowHook, MessagesReachTheObjectThenThePreviousProcedureOnlyWhileInstalled) {
  for (bool unicode : {true, false}) {
    SCOPED_TRACE(unicode ? "W" : "A");
    HWND h = MakeWindow(unicode);
    TakeLog();
    TOwner o("hook");
    ASSERT_TRUE(o.Install(h));
    EXPECT_EQ(SendMessageW(h, kPing, 5, 0), 1105);
    EXPECT_EQ(TakeLog(), (TLog{"hook ping", "class ping"}));
    EXPECT_EQ(o.Hook.CallOld(kPing, 7, 0), 107);  // straight to the class procedure
    EXPECT_EQ(TakeLog(), (TLog{"class ping"}));
    o.Hook.Remove();
    EXPECT_EQ(SendMessageW(h, kPing, 5, 0), 105);
    EXPECT_EQ(TakeLog(), (TLog{"class ping"}));
    DestroyWindow(h);
    TakeLog();
  }
}

TEST(WindowHook, RefusedRestoreUnderARawSubclassParksThePassThroughUntilNcDestroy) {
  const std::size_t parked = TWindowHook::ParkedStubCount();
  for (bool unicode : {true, false})
    for (bool foreignLeavesFirst : {true, false}) {
      SCOPED_TRACE(std::string(unicode ? "W" : "A") + (foreignLeavesFirst ? ", foreign leaves" : ", foreign stays"));
      HWND h = MakeWindow(unicode);
      auto o = std::make_unique<TOwner>("hook");
      ASSERT_TRUE(o->Install(h));
      ForeignSubclass(h, unicode);
      TakeLog();
      EXPECT_EQ(SendMessageW(h, kPing, 1, 0), 1101);
      EXPECT_EQ(TakeLog(), (TLog{"foreign ping", "hook ping", "class ping"}));

      o->Hook.Remove();
      EXPECT_FALSE(o->Hook.Installed());
      EXPECT_EQ(TWindowHook::ParkedStubCount(), parked + 1);
      EXPECT_EQ(GetProc(h, unicode), reinterpret_cast<LONG_PTR>(unicode ? &ForeignProcW : &ForeignProcA));
      o.reset();  // the object goes; the parked stub must not call it

      EXPECT_EQ(SendMessageW(h, kPing, 2, 0), 102);
      EXPECT_EQ(TakeLog(), (TLog{"foreign ping", "class ping"}));
      EXPECT_EQ(IsWindowUnicode(h) != FALSE, unicode);
      if (unicode) {
        SetWindowTextW(h, kChinese);  // through the pass-through in the W flavour
        EXPECT_EQ(TextW(h), kChinese);
      }
      if (foreignLeavesFirst) {
        ForeignUnsubclass(h, unicode);  // puts the parked stub back as the window's procedure
        EXPECT_EQ(SendMessageW(h, kPing, 3, 0), 103);
        EXPECT_EQ(TakeLog(), (TLog{"class ping"}));
      }
      EXPECT_EQ(TWindowHook::ParkedStubCount(), parked + 1);
      DestroyWindow(h);
      EXPECT_EQ(TWindowHook::ParkedStubCount(), parked) << "freed after WM_NCDESTROY";
      TLog expected{"class ncdestroy"};
      if (!foreignLeavesFirst) expected.insert(expected.begin(), "foreign ncdestroy");
      EXPECT_EQ(TakeLog(), expected);
    }
}

TEST(WindowHook, RemovingTheHookBelowAnotherKeepsTheChainAndTheTopOneRestoresIt) {
  const std::size_t parked = TWindowHook::ParkedStubCount();
  for (bool unicode : {true, false}) {
    SCOPED_TRACE(unicode ? "W" : "A");
    // Below first: its restore is refused and it stays in the chain as a pass-through.
    HWND h = MakeWindow(unicode);
    LONG_PTR original = GetProc(h, unicode);
    auto lower = std::make_unique<TOwner>("lower");
    auto upper = std::make_unique<TOwner>("upper");
    ASSERT_TRUE(lower->Install(h));
    ASSERT_TRUE(upper->Install(h));
    TakeLog();
    SendMessageW(h, kPing, 0, 0);
    EXPECT_EQ(TakeLog(), (TLog{"upper ping", "lower ping", "class ping"}));
    lower->Hook.Remove();
    lower.reset();
    EXPECT_EQ(TWindowHook::ParkedStubCount(), parked + 1);
    EXPECT_EQ(SendMessageW(h, kPing, 4, 0), 1104);
    EXPECT_EQ(TakeLog(), (TLog{"upper ping", "class ping"}));
    upper->Hook.Remove();
    EXPECT_EQ(GetProc(h, unicode), reinterpret_cast<LONG_PTR>(upper->Hook.OldProc()));  // the parked stub
    upper.reset();
    EXPECT_EQ(SendMessageW(h, kPing, 4, 0), 104);
    EXPECT_EQ(TakeLog(), (TLog{"class ping"}));
    EXPECT_EQ(IsWindowUnicode(h) != FALSE, unicode);
    DestroyWindow(h);
    EXPECT_EQ(TWindowHook::ParkedStubCount(), parked);

    // Top first: both restores succeed and the window gets its own procedure back.
    h = MakeWindow(unicode);
    original = GetProc(h, unicode);
    TOwner a("lower"), b("upper");
    ASSERT_TRUE(a.Install(h));
    ASSERT_TRUE(b.Install(h));
    b.Hook.Remove();
    a.Hook.Remove();
    EXPECT_EQ(GetProc(h, unicode), original);
    EXPECT_EQ(TWindowHook::ParkedStubCount(), parked);
    DestroyWindow(h);
    TakeLog();
  }
}

TEST(WindowHook, RemovalDuringANestedMessageLetsTheOuterOneFinish) {
  const std::size_t parked = TWindowHook::ParkedStubCount();
  for (bool foreignOnTop : {false, true}) {
    SCOPED_TRACE(foreignOnTop ? "foreign on top" : "alone");
    HWND h = MakeWindow(true);
    LONG_PTR original = GetProc(h, true);
    TOwner o("hook");
    o.RemoveOnInner = true;
    ASSERT_TRUE(o.Install(h));
    if (foreignOnTop) ForeignSubclass(h, true);
    TakeLog();
    SendMessageW(h, kOuter, 0, 0);
    TLog expected{"hook outer", "hook inner", "class inner", "class outer"};
    if (foreignOnTop) expected = {"foreign outer", "hook outer", "foreign inner", "hook inner", "class inner", "class outer"};
    EXPECT_EQ(TakeLog(), expected);
    EXPECT_FALSE(o.Hook.Installed());
    EXPECT_EQ(TWindowHook::ParkedStubCount(), parked + (foreignOnTop ? 1 : 0));
    if (!foreignOnTop) {
      EXPECT_EQ(GetProc(h, true), original);
    }
    SendMessageW(h, kOuter, 0, 0);  // the hook is out of the chain: no nested send any more
    expected = {"class outer"};
    if (foreignOnTop) expected.insert(expected.begin(), "foreign outer");
    EXPECT_EQ(TakeLog(), expected);
    DestroyWindow(h);
    EXPECT_EQ(TWindowHook::ParkedStubCount(), parked);
    TakeLog();
  }
}

TEST(WindowHook, WindowDestroyedWhileInstalledFreesTheStubWithoutRestoring) {
  const std::size_t parked = TWindowHook::ParkedStubCount();
  for (bool foreignOnTop : {false, true})
    for (bool removeAtNcDestroy : {true, false}) {
      SCOPED_TRACE(std::string(foreignOnTop ? "foreign on top" : "alone") +
                   (removeAtNcDestroy ? ", removed at WM_NCDESTROY" : ", removed later"));
      HWND h = MakeWindow(true);
      auto o = std::make_unique<TOwner>("hook");
      o->RemoveAtNcDestroy = removeAtNcDestroy;
      ASSERT_TRUE(o->Install(h));
      if (foreignOnTop) ForeignSubclass(h, true);
      TakeLog();
      DestroyWindow(h);
      TLog expected{"hook ncdestroy", "class ncdestroy"};
      if (foreignOnTop) expected.insert(expected.begin(), "foreign ncdestroy");
      EXPECT_EQ(TakeLog(), expected);
      EXPECT_EQ(o->Hook.Installed(), !removeAtNcDestroy);
      o->Hook.Remove();
      o->Hook.Remove();
      EXPECT_FALSE(o->Hook.Installed());
      EXPECT_EQ(TWindowHook::ParkedStubCount(), parked);
      EXPECT_FALSE(o->Install(h)) << "a destroyed window";
      o.reset();
    }
  TWindowHook hook;
  EXPECT_FALSE(hook.Install(nullptr, &TOwner::Proc, nullptr));
  EXPECT_FALSE(hook.Installed());
  EXPECT_EQ(hook.CallOld(kPing, 0, 0), 0);
}

// The skin engine's private messages in the reflected range carry the signature as lParam. A
// framework window answers them 0 when nothing handles them and never hands them on as the
// notifications they are numerically (CN_BASE + WM_KEYF1 made the parent's default procedure
// send WM_HELP; CN_NOTIFY with the signature is not a notification header).
TEST(ReflectedRange, PrivateMessagesWithTheSignatureAreAnsweredZeroAndGoNowhere) {
  TForm form(nullptr);
  form.SetBounds(60, 60, 420, 320);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  auto* status = new TStatusBar(&form);
  status->SetParent(&form);
  status->Panels()->Add()->SetWidth(100);
  auto* grid = new TValueListEditor(&form);
  grid->SetParent(&form);
  grid->SetBounds(10, 40, 300, 150);
  form.Show();
  Application->ProcessMessages();

  struct THelpWatch {
    TWindowHook Hook;
    int Help = 0;
    static LRESULT CALLBACK Proc(void* self, UINT msg, WPARAM w, LPARAM l) {
      auto* t = static_cast<THelpWatch*>(self);
      if (msg == WM_HELP) ++t->Help;
      return t->Hook.CallOld(msg, w, l);
    }
  } watch;
  ASSERT_TRUE(watch.Hook.Install(form.Handle(), &THelpWatch::Proc, &watch));

  const std::pair<const char*, TWinControl*> targets[] = {
      {"form", &form}, {"button", button}, {"status bar", status}, {"grid", grid}};
  for (auto [name, c] : targets) {
    SCOPED_TRACE(name);
    for (UINT msg = CN_PRIVATE_FIRST; msg <= CN_PRIVATE_LAST; ++msg) {
      SCOPED_TRACE(msg);
      EXPECT_EQ(SendMessageW(c->Handle(), msg, 0, CN_PRIVATE_SIGNATURE), 0);
      EXPECT_EQ(c->Perform(msg, 0, CN_PRIVATE_SIGNATURE), 0);
    }
  }
  Application->ProcessMessages();
  EXPECT_EQ(watch.Help, 0);
  watch.Hook.Remove();
}
