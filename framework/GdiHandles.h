// Small RAII holders for GDI handles: device contexts, bitmaps, fonts, brushes, pens, regions.
#pragma once
#include <windows.h>

#include <utility>

namespace fw {

// Owner of one GDI object (HBITMAP, HFONT, HBRUSH, HPEN, HRGN): DeleteObject on release.
template <class H>
class TGdiObject {
public:
  TGdiObject() = default;
  explicit TGdiObject(H h) : FHandle(h) {}
  ~TGdiObject() { Reset(); }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  TGdiObject(TGdiObject&& o) noexcept : FHandle(o.Release()) {}
  TGdiObject& operator=(TGdiObject&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }

  H Get() const { return FHandle; }
  operator H() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  // Gives up ownership without deleting.
  H Release() { return std::exchange(FHandle, nullptr); }
  // Deletes the held object and takes h.
  void Reset(H h = nullptr) {
    if (FHandle && FHandle != h) DeleteObject(FHandle);
    FHandle = h;
  }

private:
  H FHandle = nullptr;
};

using TBitmapHandle = TGdiObject<HBITMAP>;
using TFontHandle = TGdiObject<HFONT>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TPenHandle = TGdiObject<HPEN>;
using TRegionHandle = TGdiObject<HRGN>;

// A device context created with CreateDC/CreateCompatibleDC: DeleteDC on release.
class TOwnedDC {
public:
  TOwnedDC() = default;
  explicit TOwnedDC(HDC dc) : FDC(dc) {}
  ~TOwnedDC() { Reset(); }
  TOwnedDC(const TOwnedDC&) = delete;
  TOwnedDC& operator=(const TOwnedDC&) = delete;
  TOwnedDC(TOwnedDC&& o) noexcept : FDC(std::exchange(o.FDC, nullptr)) {}
  TOwnedDC& operator=(TOwnedDC&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.FDC, nullptr));
    return *this;
  }
  HDC Get() const { return FDC; }
  operator HDC() const { return FDC; }
  explicit operator bool() const { return FDC != nullptr; }
  void Reset(HDC dc = nullptr) {
    if (FDC && FDC != dc) DeleteDC(FDC);
    FDC = dc;
  }

private:
  HDC FDC = nullptr;
};

// A memory device context compatible with another one (the screen when dc is null).
class TMemoryDC : public TOwnedDC {
public:
  explicit TMemoryDC(HDC dc = nullptr) : TOwnedDC(CreateCompatibleDC(dc)) {}
};

// A window's device context from GetDC/GetWindowDC/GetDCEx: ReleaseDC on release.
class TWindowDC {
public:
  TWindowDC() = default;
  // GetDC(wnd): the client area (the screen when wnd is null).
  explicit TWindowDC(HWND wnd) : FWnd(wnd), FDC(GetDC(wnd)) {}
  // Adopts a DC already obtained for wnd (GetWindowDC, GetDCEx).
  TWindowDC(HWND wnd, HDC dc) : FWnd(wnd), FDC(dc) {}
  ~TWindowDC() { Reset(); }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  TWindowDC(TWindowDC&& o) noexcept : FWnd(o.FWnd), FDC(std::exchange(o.FDC, nullptr)) {}
  TWindowDC& operator=(TWindowDC&& o) noexcept {
    if (this != &o) {
      Reset();
      FWnd = o.FWnd;
      FDC = std::exchange(o.FDC, nullptr);
    }
    return *this;
  }
  static TWindowDC Whole(HWND wnd) { return TWindowDC(wnd, GetWindowDC(wnd)); }
  HDC Get() const { return FDC; }
  operator HDC() const { return FDC; }
  explicit operator bool() const { return FDC != nullptr; }
  void Reset() {
    if (FDC) ReleaseDC(FWnd, FDC);
    FDC = nullptr;
  }

private:
  HWND FWnd = nullptr;
  HDC FDC = nullptr;
};

// Selects an object into a DC and puts the previous one back when it goes out of scope.
class TSelectObject {
public:
  TSelectObject(HDC dc, HGDIOBJ obj) : FDC(dc), FOld(dc && obj ? SelectObject(dc, obj) : nullptr) {}
  ~TSelectObject() {
    if (FDC && FOld) SelectObject(FDC, FOld);
  }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;
  HGDIOBJ Previous() const { return FOld; }

private:
  HDC FDC;
  HGDIOBJ FOld;
};

// Saves the whole state of a DC (SaveDC) and restores it on scope exit.
class TSaveDC {
public:
  explicit TSaveDC(HDC dc) : FDC(dc), FId(dc ? SaveDC(dc) : 0) {}
  ~TSaveDC() {
    if (FId) RestoreDC(FDC, FId);
  }
  TSaveDC(const TSaveDC&) = delete;
  TSaveDC& operator=(const TSaveDC&) = delete;

private:
  HDC FDC;
  int FId;
};

}  // namespace fw
