// Subclassing thunks from one executable heap, window takeover in the window's own flavour
// with the parking list of refused restores, and hidden utility windows bound to an object.
#include "Thunk.h"

#include <cstring>
#include <mutex>
#include <new>

#include "MsgBox.h"

namespace fw {

namespace {

// The process's one executable heap; never destroyed (thunks may outlive static destruction order).
HANDLE ThunkHeap() {
  static HANDLE heap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
  return heap;
}

#pragma pack(push, 1)
struct TThunkCode {
  uint32_t MovEsp4;  // C7 44 24 04: mov dword ptr [esp+4], imm32
  uint32_t This;
  uint8_t Jmp;       // E9: jmp rel32
  int32_t Rel;
};
#pragma pack(pop)
static_assert(sizeof(TThunkCode) == 13);

}  // namespace

TWndProcThunk::TWndProcThunk() {
  FCode = HeapAlloc(ThunkHeap(), HEAP_ZERO_MEMORY, sizeof(TThunkCode));
  if (!FCode) throw std::bad_alloc();
}

TWndProcThunk::~TWndProcThunk() {
  if (FCode) HeapFree(ThunkHeap(), 0, FCode);
}

void TWndProcThunk::Init(TThunkProc proc, void* self) {
  auto* code = static_cast<TThunkCode*>(FCode);
  code->MovEsp4 = 0x042444C7;
  code->This = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(self));
  code->Jmp = 0xE9;
  code->Rel = static_cast<int32_t>(reinterpret_cast<intptr_t>(proc) -
                                   (reinterpret_cast<intptr_t>(FCode) + static_cast<intptr_t>(sizeof(TThunkCode))));
  FlushInstructionCache(GetCurrentProcess(), FCode, sizeof(TThunkCode));
}

WNDPROC SubclassWindow(HWND wnd, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

bool RestoreWindowProc(HWND wnd, WNDPROC ours, WNDPROC old) {
  if (!IsWindow(wnd)) return false;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)) != ours) return false;
  SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
  return true;
}

// ---------------------------------------------------------------------------
// TWindowHook
// ---------------------------------------------------------------------------

// The stub of one installation, with what it needs to live on as a pass-through after a refused
// restore. Allocated whole by Install, so that parking never allocates (Remove runs in
// destructors and must not fail half-way with the window still calling the stub).
namespace detail {
struct THookStub {
  TWndProcThunk Thunk;
  HWND Wnd = nullptr;
  WNDPROC Old = nullptr;
  bool Unicode = true;
  THookStub* Prev = nullptr;  // links in the parking list while parked
  THookStub* Next = nullptr;
};
}  // namespace detail

namespace {

using TStub = detail::THookStub;

// The process's parking list of stubs whose restore was refused. Never destroyed, like the
// thunk heap: windows can still call a parked stub while static objects are being destroyed.
struct TParking {
  std::mutex Lock;
  TStub* Head = nullptr;
  std::size_t Count = 0;

  void Link(TStub* s) {
    s->Prev = nullptr;
    s->Next = Head;
    if (Head) Head->Prev = s;
    Head = s;
    ++Count;
  }
  void Unlink(TStub* s) {
    if (s->Prev) s->Prev->Next = s->Next; else Head = s->Next;
    if (s->Next) s->Next->Prev = s->Prev;
    s->Prev = s->Next = nullptr;
    --Count;
  }
  bool Holds(const TStub* s) const {
    for (const TStub* p = Head; p; p = p->Next)
      if (p == s) return true;
    return false;
  }
};

TParking& Parking() {
  static TParking* parking = new TParking;
  return *parking;
}

// A parked stub: forwards every message to the previous procedure in the window's flavour and
// frees itself once the window's WM_NCDESTROY has been passed on. Nothing of the stub is read
// after the forward except on WM_NCDESTROY, where it is looked up again in the list (a nested
// message may have destroyed the window, and a sweep may have freed it).
LRESULT CALLBACK ParkedProc(void* self, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* stub = static_cast<TStub*>(self);
  HWND wnd = stub->Wnd;
  WNDPROC old = stub->Old;
  LRESULT r = stub->Unicode ? CallWindowProcW(old, wnd, msg, wParam, lParam)
                            : CallWindowProcA(old, wnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    TParking& p = Parking();
    bool mine = false;
    {
      std::lock_guard<std::mutex> g(p.Lock);
      if ((mine = p.Holds(stub))) p.Unlink(stub);
    }
    if (mine) delete stub;  // the stub's code is no longer running: it jumped here
  }
  return r;
}

// Parks a stub: rebinds it as a pass-through and moves it to the parking list. Stubs of windows
// that no longer exist (their WM_NCDESTROY never came through the stub, e.g. a raw subclass
// below us was taken out of the chain) are freed on the way: no window can call them.
void Park(TStub* stub) noexcept {
  stub->Thunk.Init(&ParkedProc, stub);
  TParking& p = Parking();
  TStub* dead = nullptr;
  {
    std::lock_guard<std::mutex> g(p.Lock);
    for (TStub* s = p.Head; s;) {
      TStub* next = s->Next;
      if (!IsWindow(s->Wnd)) {
        p.Unlink(s);
        s->Next = dead;
        dead = s;
      }
      s = next;
    }
    p.Link(stub);
  }
  while (dead) {
    TStub* next = dead->Next;
    delete dead;
    dead = next;
  }
}

}  // namespace

TWindowHook::TWindowHook() = default;

TWindowHook::~TWindowHook() { Remove(); }

bool TWindowHook::Install(HWND wnd, TThunkProc proc, void* self) {
  if (FInstalled || !wnd || !proc || !IsWindow(wnd)) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid != GetCurrentProcessId()) return false;  // another process's window cannot run our stub
  auto stub = std::make_unique<detail::THookStub>();
  stub->Thunk.Init(proc, self);
  bool unicode = IsWindowUnicode(wnd) != FALSE;
  auto ours = reinterpret_cast<LONG_PTR>(stub->Thunk.Proc());
  SetLastError(0);
  LONG_PTR old = unicode ? SetWindowLongPtrW(wnd, GWLP_WNDPROC, ours) : SetWindowLongPtrA(wnd, GWLP_WNDPROC, ours);
  if (!old && GetLastError() != 0) return false;
  stub->Wnd = wnd;
  stub->Old = reinterpret_cast<WNDPROC>(old);
  stub->Unicode = unicode;
  FStub = std::move(stub);
  FHandle = wnd;
  FOldProc = reinterpret_cast<WNDPROC>(old);
  FUnicode = unicode;
  FWindowGone = false;
  FInstalled = true;
  return true;
}

LRESULT TWindowHook::CallOld(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!FOldProc) return 0;
  // Marked before the call: the owner (and this hook) may be gone when the old procedure returns.
  if (msg == WM_NCDESTROY && FInstalled) FWindowGone = true;
  return FUnicode ? CallWindowProcW(FOldProc, FHandle, msg, wParam, lParam)
                  : CallWindowProcA(FOldProc, FHandle, msg, wParam, lParam);
}

void TWindowHook::Remove() {
  if (!FInstalled) return;
  FInstalled = false;
  std::unique_ptr<detail::THookStub> stub = std::move(FStub);
  // The window is gone: nobody can call the stub any more.
  if (!IsWindow(FHandle)) return;
  auto ours = reinterpret_cast<LONG_PTR>(stub->Thunk.Proc());
  LONG_PTR current = FUnicode ? GetWindowLongPtrW(FHandle, GWLP_WNDPROC) : GetWindowLongPtrA(FHandle, GWLP_WNDPROC);
  if (current == ours) {
    // Still the window's procedure: give the window its previous one back (also while it is
    // being destroyed, so that no window ever holds a freed stub).
    auto old = reinterpret_cast<LONG_PTR>(FOldProc);
    if (FUnicode) SetWindowLongPtrW(FHandle, GWLP_WNDPROC, old);
    else SetWindowLongPtrA(FHandle, GWLP_WNDPROC, old);
    return;
  }
  // Someone subclassed on top of us and may call the stub. Once the window's WM_NCDESTROY has
  // gone through us there is nothing left to call it with; otherwise it lives on as a pass-through.
  if (FWindowGone) return;
  Park(stub.release());
}

std::size_t TWindowHook::ParkedStubCount() {
  TParking& p = Parking();
  std::lock_guard<std::mutex> g(p.Lock);
  return p.Count;
}

// ---------------------------------------------------------------------------
// TUtilWindow
// ---------------------------------------------------------------------------

TUtilWindow::TUtilWindow(THandler handler, const wchar_t* className, const wchar_t* title) : FHandler(handler) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(inst, className, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = inst;
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
  }
  FHandle = CreateWindowExW(WS_EX_TOOLWINDOW, className, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, inst, nullptr);
  if (!FHandle) throw EWin32Error(L"CreateWindowEx: " + SysErrorMessage(GetLastError()));
  if (!FHook.Install(FHandle, &TUtilWindow::StaticProc, this)) {
    DWORD err = GetLastError();
    DestroyWindow(FHandle);
    throw EWin32Error(L"SetWindowLongPtr: " + SysErrorMessage(err));
  }
}

TUtilWindow::~TUtilWindow() {
  if (FHandle) {
    FHook.Remove();
    DestroyWindow(FHandle);
  }
}

LRESULT CALLBACK TUtilWindow::StaticProc(void* self, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* w = static_cast<TUtilWindow*>(self);
  TMessage m{msg, wParam, lParam, 0};
  try {
    if (w->FHandler)
      w->FHandler(m);
    else
      m.Result = w->Default(m);
  } catch (...) {
    HandleCallbackException(nullptr);
  }
  return m.Result;
}

}  // namespace fw
