// The system's own input for GUI tests: mouse and keys through SendInput, as a user gives them.
// Sent from a timer, they reach the system's modal loops (menus, moving and sizing) as well.
#pragma once
#include <windows.h>

namespace userinput {

// A mouse event at a point in screen coordinates (the pointer moves there first).
inline void Mouse(DWORD flags, POINT p) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((p.x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  in.mi.dy = static_cast<LONG>((p.y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &in, sizeof in);
}

inline void Click(POINT p, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
  Mouse(0, p);
  Mouse(down, p);
  Mouse(up, p);
}

inline void Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

inline void Press(WORD vk) {
  Key(vk, false);
  Key(vk, true);
}

}  // namespace userinput
