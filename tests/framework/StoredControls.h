// What the framework's control tests share: pumping, a window's class and style, and a test form
// of class F read from a stored form text and shown.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "Buttons.h"
#include "ComCtrls.h"
#include "FormReader.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace fwtest {

inline void Pump() { fw::Application->ProcessMessages(); }

inline std::wstring WindowClass(HWND h) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  return cls;
}

inline LONG Style(fw::TWinControl* c) { return GetWindowLongW(c->Handle(), GWL_STYLE); }

// Sends a notification of a child to its parent as the child window would.
inline void NotifyParent(fw::TWinControl* c, UINT code) {
  NMHDR h{c->Handle(), static_cast<UINT_PTR>(GetDlgCtrlID(c->Handle())), code};
  SendMessageW(GetParent(c->Handle()), WM_NOTIFY, h.idFrom, reinterpret_cast<LPARAM>(&h));
}

// The text of tab i of a tab window.
inline std::wstring TabText(HWND tab, int i) {
  wchar_t buf[64] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buf;
  item.cchTextMax = 64;
  SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  return buf;
}

// Reads a stored form into a new form of class F and shows it.
template <class F>
struct TStoredFormOf {
  F Form{nullptr};
  explicit TStoredFormOf(const char* text) {
    fw::RegisterStdControls();
    fw::RegisterButtons();
    fw::RegisterComCtrls();
    fw::ReadComponentTree(&Form, fw::ParseFormText(text));
    Form.Show();
    Pump();
  }
};

}  // namespace fwtest
