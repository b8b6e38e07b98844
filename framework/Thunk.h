// The one subclassing facility of the process:
//   TWndProcThunk - a window-procedure stub bound to one object (x86: mov dword ptr [esp+4], this;
//                   jmp proc) in executable memory;
//   TWindowHook   - takes over a window it did not create with such a stub, in the window's own
//                   flavour (Unicode or ANSI), and gives it back safely: every skin object uses it;
//   TUtilWindow   - a hidden window whose procedure is such a stub.
//
// A skin object that takes over a window:
//   FHook.Install(wnd, &MyClass::StaticProc, this);
//   ... in StaticProc, messages it does not consume: return FHook.CallOld(msg, wParam, lParam);
//   FHook.Remove();   // unhooking; also done by the hook's destructor
// StaticProc is declared as `static LRESULT CALLBACK StaticProc(void* self, UINT, WPARAM, LPARAM)`:
// the stub replaces the window handle argument by the object, so the object must keep its handle.
// The framework's own windows (always Unicode) use the stub directly:
//   FThunk.Init(&MyClass::StaticProc, this);
//   FOldProc = SubclassWindow(hwnd, FThunk.Proc());
//   ...
//   RestoreWindowProc(hwnd, FThunk.Proc(), FOldProc);   // only while ours is still installed
#pragma once
#include <windows.h>

#include <cstddef>
#include <memory>
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

namespace detail {
struct THookStub;  // a TWindowHook's stub with what it needs to live on as a pass-through
}

// Takes over the procedure of one window with a stub bound to (proc, self), and gives it back.
// The window keeps its flavour: a Unicode window is subclassed, called and restored with the W
// calls, an ANSI window with the A calls, so its texts never pass through the code page. The
// stub receives the messages in that flavour (Unicode()). Install, CallOld and Remove belong to
// the window's thread.
//
// Remove puts the previous procedure back only while the window's procedure is still our stub.
// When someone subclassed on top of us, the restore is refused and the stub is parked instead:
// rebound to a pass-through to the previous procedure and kept, outside this object, until the
// window's WM_NCDESTROY has gone through it. So this object can be destroyed after Remove in
// every case, and a stub is never freed while a window can still call it.
//
// Window destroyed while installed: the owner passes WM_NCDESTROY on with CallOld and then calls
// Remove (in the same handler or later); nothing is restored and the stub is freed.
class TWindowHook {
public:
  TWindowHook();
  ~TWindowHook();
  TWindowHook(const TWindowHook&) = delete;
  TWindowHook& operator=(const TWindowHook&) = delete;

  // -- methods
  // Installs a stub calling proc(self, ...) as the procedure of wnd. False for a null or
  // destroyed window, a null proc, when this hook is already installed, or when the system
  // refuses the new procedure.
  bool Install(HWND wnd, TThunkProc proc, void* self);
  // Passes a message to the previous procedure in the window's flavour. Still usable after
  // Remove for a message that was in flight; 0 when there never was a window.
  LRESULT CallOld(UINT msg, WPARAM wParam, LPARAM lParam);
  // Unhooks: restores the previous procedure, or parks the stub (see above), or only frees the
  // stub when the window is gone. Does nothing when not installed.
  void Remove();

  // -- attributes
  // The window of the last Install (kept after Remove, as is OldProc).
  HWND Handle() const { return FHandle; }
  bool Installed() const { return FInstalled; }
  // Whether the window was a Unicode window when the hook was installed.
  bool Unicode() const { return FUnicode; }
  // The procedure the window had before Install.
  WNDPROC OldProc() const { return FOldProc; }

  // Number of parked stubs still waiting for their window's WM_NCDESTROY (for tests).
  static std::size_t ParkedStubCount();

private:
  HWND FHandle = nullptr;
  WNDPROC FOldProc = nullptr;
  bool FUnicode = true;
  bool FInstalled = false;
  bool FWindowGone = false;  // WM_NCDESTROY has been passed on through CallOld
  std::unique_ptr<detail::THookStub> FStub;  // the installed stub (allocated by Install)
};

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
  THandler FHandler;
  TWindowHook FHook;
};

// Routes an exception caught at a Win32 callback boundary to the application's exception
// report (TApplication::HandleException, or a plain error box when there is no application).
void HandleCallbackException(TObject* sender) noexcept;

}  // namespace fw
