// Message boxes through one entry point.
#include "MsgBox.h"

#include <windows.h>

namespace fw {

namespace {
TMessageBoxHook& Hook() {
  static TMessageBoxHook hook;
  return hook;
}
}  // namespace

int ShowMessageBox(void* owner, const std::wstring& text, const std::wstring& caption, unsigned flags) {
  if (Hook()) {
    int answer = Hook()({owner, text, caption, flags});
    if (answer) return answer;
  }
  return MessageBoxW(static_cast<HWND>(owner), text.c_str(), caption.c_str(), flags);
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook) {
  TMessageBoxHook old = std::move(Hook());
  Hook() = std::move(hook);
  return old;
}

}  // namespace fw
