// Optional user32 entries of the skin engine and its text output.
//
// Some 32-bit Windows versions lack GetScrollBarInfo, TrackMouseEvent or GetComboBoxInfo.
// They are looked up at run time, once per process, on the first call of any function
// below (a function-local static, so before the first form skin paints; forms created
// earlier do not need them). The call-throughs answer false or do nothing when an entry is
// missing. The text routines draw through the wide system calls on the NT family, so
// Chinese captions show whatever the ANSI code page is.
#pragma once
#include <windows.h>

#include <string>

namespace skin {

// The optional entries as resolved from user32 (null when missing).
struct TSysEntries {
  using TGetScrollBarInfo = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
  using TTrackMouseEvent = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
  using TGetComboBoxInfo = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);
  TGetScrollBarInfo GetScrollBarInfo = nullptr;
  TTrackMouseEvent TrackMouseEvent = nullptr;
  TGetComboBoxInfo GetComboBoxInfo = nullptr;
  bool NT = true;  // the platform is the NT family (Win32 platform id 2)
};

// The entries in force (resolved on first use).
const TSysEntries& SysEntries();
// Test seam: replaces the entries in force and returns the previous ones, so that a test
// can run the "entry missing" and non-NT paths and then put the real ones back.
TSysEntries SetSysEntriesForTest(const TSysEntries& entries);

// The user32 module loaded for the lookups; released at process end.
HMODULE User32Module();
// True on the NT family (Win32 platform id 2).
bool IsNT();
// The code page of ANSI text: 0, the system's ANSI code page.
UINT TextCodePage();

// True when GetScrollBarInfo exists; without it the skin data drops scroll-bar skinning.
bool HasScrollBarInfoEntry();
// A new font of the system's caption font (non-client metrics), or null when they cannot be read.
HFONT CreateCaptionFont();
// The system is exactly Windows 2000 (5.0), whose caption needs a work-around.
bool IsWindows2000();

// GetScrollBarInfo for idObject (OBJID_VSCROLL, OBJID_HSCROLL, OBJID_CLIENT). Sets
// info.cbSize itself. False when the entry is missing (nothing is called) or the call fails.
bool QueryScrollBarInfo(HWND wnd, LONG idObject, SCROLLBARINFO& info);
// Asks for WM_MOUSELEAVE when the mouse leaves wnd (TrackMouseEvent with TME_LEAVE).
// False when the entry is missing (nothing is asked) or the call fails.
bool TrackMouseLeave(HWND wnd);
// GetComboBoxInfo; sets info.cbSize itself. False when the entry is missing or the call fails.
bool QueryComboBoxInfo(HWND wnd, COMBOBOXINFO& info);

// DrawTextW with the text's length on NT; elsewhere the text in the text code page and
// DrawTextA with -1. Returns what the call returns (the text height, 0 on failure). The
// caller's text is never written: with DT_MODIFYSTRING the call works on a copy.
int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format);
// ANSI text in the text code page as wide text.
std::wstring AnsiToWide(const std::string& text);
// The first count characters of a wide buffer, stopping early at a zero. A negative count
// (-1) takes everything up to the zero; a null buffer or a count of 0 gives "".
std::wstring WideFromBuffer(const wchar_t* buffer, int count);
// A window's class name, read with the wide call (names of system classes such as "#32770"
// included); "" for no window.
std::wstring ClassNameOf(HWND wnd);

}  // namespace skin
