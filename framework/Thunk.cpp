// Subclassing thunks from one executable heap, and hidden utility windows bound to an object.
#include "Thunk.h"

#include <cstring>
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
  FThunk.Init(&TUtilWindow::StaticProc, this);
  FOldProc = SubclassWindow(FHandle, FThunk.Proc());
}

TUtilWindow::~TUtilWindow() {
  if (FHandle) {
    RestoreWindowProc(FHandle, FThunk.Proc(), FOldProc);
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
