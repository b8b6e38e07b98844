// The one entry point for message boxes of the whole program, so that tests can observe them.
#pragma once
#include <functional>
#include <string>

namespace fw {

struct TMessageBoxRequest {
  void* Owner;             // HWND or nullptr
  std::wstring Text;
  std::wstring Caption;
  unsigned Flags;          // MB_* flags
};

// Shows a real modal message box (MessageBoxW) unless a hook is installed; returns the button id.
int ShowMessageBox(void* owner, const std::wstring& text, const std::wstring& caption, unsigned flags);

// Test and automation hook: sees every request first. Returning a non-zero id answers the
// box without showing it; returning 0 lets the real box appear. Returns the previous hook.
using TMessageBoxHook = std::function<int(const TMessageBoxRequest&)>;
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);

}  // namespace fw
