// The one subclassing-thunk facility of the process: TWndProcThunk, a window-procedure stub
// bound to one object (x86: mov dword ptr [esp+4], this; jmp proc) in executable memory, and
// TUtilWindow, a hidden message-only-style window whose procedure is such a stub.
//
// Every framework window and every skin object that takes over a window uses TWndProcThunk:
//   FThunk.Init(&MyClass::StaticProc, this);
//   FOldProc = SubclassWindow(hwnd, FThunk.Proc());
//   ...
//   RestoreWindowProc(hwnd, FThunk.Proc(), FOldProc);   // only while ours is still installed
// StaticProc is declared as `static LRESULT CALLBACK StaticProc(void* self, UINT, WPARAM, LPARAM)`:
// the stub replaces the window handle argument by the object, so the object must keep its handle.
#pragma once
#include <windows.h>

#include <string>

#include "Classes.h"
#include "Messages.h"

namespace fw {

// Window procedure that receives the bound object instead of the window handle.
using TThunkProc = LRESULT(CALLBACK*)(void* self, UINT msg, WPARAM wParam, LPARAM lParam);

// A callable stub (13 bytes) allocated from the process's one executable heap; freed with its owner.
class TWndProcThunk {
public:
  TWndProcThunk();
  ~TWndProcThunk();
  TWndProcThunk(const TWndProcThunk&) = delete;
  TWndProcThunk& operator=(const TWndProcThunk&) = delete;

  // Binds the stub to self and proc (may be called again to rebind); flushes the instruction cache.
  void Init(TThunkProc proc, void* self);
  // The stub as a window procedure.
  WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(FCode); }

private:
  void* FCode = nullptr;
};

// Installs proc as the window procedure of wnd (Unicode); returns the previous procedure.
WNDPROC SubclassWindow(HWND wnd, WNDPROC proc);
// Puts old back only while ours is still the window's procedure (someone may have subclassed
// on top of us); returns whether it did.
bool RestoreWindowProc(HWND wnd, WNDPROC ours, WNDPROC old);

// A hidden top-level window (no parent, never shown) whose messages go to a method reference:
// the application window, timers and other non-visual components use it. Unhandled messages
// must be passed to DefWindowProcW by the handler (Default()).
class TUtilWindow {
public:
  using THandler = TMethod<void(TMessage&)>;
  // className: window class registered on first use (DefWindowProcW as class procedure).
  TUtilWindow(THandler handler, const wchar_t* className = L"TPUtilWindow", const wchar_t* title = L"");
  ~TUtilWindow();
  TUtilWindow(const TUtilWindow&) = delete;
  TUtilWindow& operator=(const TUtilWindow&) = delete;
  HWND Handle() const { return FHandle; }
  // Default processing of a message of this window.
  LRESULT Default(const TMessage& m) const { return DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam); }

private:
  static LRESULT CALLBACK StaticProc(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND FHandle = nullptr;
  WNDPROC FOldProc = nullptr;
  THandler FHandler;
  TWndProcThunk FThunk;
};

// Routes an exception caught at a Win32 callback boundary to the application's exception
// report (TApplication::HandleException, or a plain error box when there is no application).
void HandleCallbackException(TObject* sender) noexcept;

}  // namespace fw
