// Pixels of real windows for GUI tests, as 0xRRGGBB: read from the window's own DC (what the
// screen shows), never from a print of the window.
#pragma once
#include <windows.h>

#include <cstdint>

namespace pixels {

inline std::uint32_t Rgb(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

// A pixel of the client area.
inline std::uint32_t ClientPixel(HWND wnd, int x, int y) {
  HDC dc = GetDC(wnd);
  const std::uint32_t c = Rgb(GetPixel(dc, x, y));
  ReleaseDC(wnd, dc);
  return c;
}

}  // namespace pixels
