// Framework messages: the TMessage record every window procedure of the framework receives,
// the framework's own message numbers (CM_*) and the reflected control notifications (CN_*).
#pragma once
#include <windows.h>

namespace fw {

// One window message as it travels through WindowProc, WndProc and DefaultHandler.
// Result is what the window procedure returns to the system (or to Perform's caller).
struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

// Framework messages, sent with Perform (through WindowProc, not through the window).
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;          // WParam virtual key; Result 1 = handled
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;         // WParam character (Alt+letter); Result 1 = handled
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;       // LParam the TWinControl* that got the focus
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;           // LParam client point (MAKELPARAM); Result 0 = transparent
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;        // LParam the TControl* entered
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;        // LParam the TControl* left
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_RELEASE = CM_BASE + 33;           // posted to a form by Release: the form frees itself
constexpr UINT CM_RECREATEWND = CM_BASE + 51;

// Reflected notifications: a parent that receives one of these messages from a child
// window sends it back to the child's control as CN_BASE + msg.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// The reflected range also carries private messages of the skin engine, CN_PRIVATE_FIRST to
// CN_PRIVATE_LAST (the last is numerically CN_NOTIFY), whose lParam is CN_PRIVATE_SIGNATURE.
// That lParam is a number, never a pointer: a handler of the reflected range must not take it
// for the original message's argument, and the default handling answers these messages 0.
constexpr UINT CN_PRIVATE_FIRST = CN_BASE + 0x4A;
constexpr UINT CN_PRIVATE_LAST = CN_BASE + 0x4E;
constexpr LPARAM CN_PRIVATE_SIGNATURE = 0x41A2;

// The notification header of a reflected WM_NOTIFY; nullptr for any other message, for a
// private message carrying the signature, and for a missing header.
inline const NMHDR* ReflectedNotifyHeader(const TMessage& m) {
  if (m.Msg != CN_NOTIFY || m.LParam == 0 || m.LParam == CN_PRIVATE_SIGNATURE) return nullptr;
  return reinterpret_cast<const NMHDR*>(m.LParam);
}

}  // namespace fw
