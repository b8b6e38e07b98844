// Optional user32 entries on real windows (scroll bars, combo boxes, mouse-leave tracking),
// with the entries removed through the test seam, and the wide text output checked by pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "framework/GdiHandles.h"
#include "framework/Graphics.h"
#include "skin/data/SysEntries.h"

namespace {

int gMouseLeaves = 0;

LRESULT CALLBACK CountingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MOUSELEAVE) ++gMouseLeaves;
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

// A visible top-level window at (300, 300), destroyed with the object.
class TTestWindow {
public:
  explicit TTestWindow(DWORD style = 0) {
    static const ATOM cls = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = CountingProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"SysEntriesTestWindow";
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      return RegisterClassW(&wc);
    }();
    FWnd = CreateWindowExW(0, MAKEINTATOM(cls), L"加密", WS_POPUP | WS_VISIBLE | style, 300, 300, 200, 150,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~TTestWindow() { DestroyWindow(FWnd); }
  TTestWindow(const TTestWindow&) = delete;
  TTestWindow& operator=(const TTestWindow&) = delete;
  HWND Handle() const { return FWnd; }

private:
  HWND FWnd = nullptr;
};

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(10);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// Puts another set of entries in force for one scope.
class TEntriesOverride {
public:
  explicit TEntriesOverride(const skin::TSysEntries& entries) : FPrevious(skin::SetSysEntriesForTest(entries)) {}
  ~TEntriesOverride() { skin::SetSysEntriesForTest(FPrevious); }
  TEntriesOverride(const TEntriesOverride&) = delete;
  TEntriesOverride& operator=(const TEntriesOverride&) = delete;
  const skin::TSysEntries& Previous() const { return FPrevious; }

private:
  skin::TSysEntries FPrevious;
};

// A white 24-bit surface with a Chinese-capable font selected, black text, no background.
class TTextSurface {
public:
  TTextSurface(int w = 160, int h = 40) : FBitmap(w, h) {
    FBitmap.Canvas().Brush().SetColor(fw::clWhite);
    FBitmap.Canvas().FillRect({0, 0, w, h});
    FFont.Reset(CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体"));
    FSelected.emplace(DC(), FFont.Get());
    SetTextColor(DC(), RGB(0, 0, 0));
    SetBkMode(DC(), TRANSPARENT);
  }
  HDC DC() { return FBitmap.Canvas().Handle(); }
  RECT Rect() const { return {0, 0, FBitmap.Width(), FBitmap.Height()}; }
  int LineHeight() {
    TEXTMETRICW tm{};
    GetTextMetricsW(DC(), &tm);
    return tm.tmHeight;
  }
  int DarkPixels() {
    GdiFlush();
    int n = 0;
    for (int y = 0; y < FBitmap.Height(); ++y) {
      const auto* row = static_cast<const uint8_t*>(FBitmap.ScanLine(y));
      for (int x = 0; x < FBitmap.Width(); ++x) n += row[3 * x] < 128 && row[3 * x + 1] < 128 && row[3 * x + 2] < 128;
    }
    return n;
  }
  // The picture's pixels, for comparing two drawings.
  std::string Pixels() {
    GdiFlush();
    std::string all;
    for (int y = 0; y < FBitmap.Height(); ++y)
      all.append(static_cast<const char*>(FBitmap.ScanLine(y)), static_cast<size_t>(FBitmap.RowBytes()));
    return all;
  }

private:
  fw::TBitmap FBitmap;
  fw::TFontHandle FFont;
  std::optional<fw::TSelectObject> FSelected;
};

}  // namespace

TEST(SysEntries, ResolvedFromUser32OnTheNTFamily) {
  EXPECT_NE(skin::User32Module(), nullptr);
  EXPECT_EQ(skin::User32Module(), GetModuleHandleW(L"user32.dll"));
  const skin::TSysEntries& e = skin::SysEntries();
  EXPECT_NE(e.GetScrollBarInfo, nullptr);
  EXPECT_NE(e.TrackMouseEvent, nullptr);
  EXPECT_NE(e.GetComboBoxInfo, nullptr);
  EXPECT_TRUE(skin::HasScrollBarInfoEntry());
  EXPECT_TRUE(skin::IsNT());
  EXPECT_EQ(skin::TextCodePage(), 0u);
}

TEST(SysEntries, ScrollBarInfoOfARealWindow) {
  TTestWindow w(WS_VSCROLL);
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE, 0, 100, 10, 0, 0};
  SetScrollInfo(w.Handle(), SB_VERT, &si, TRUE);

  SCROLLBARINFO info{};  // cbSize left 0: the call-through sets it
  ASSERT_TRUE(skin::QueryScrollBarInfo(w.Handle(), OBJID_VSCROLL, info));
  EXPECT_EQ(info.cbSize, sizeof(SCROLLBARINFO));
  EXPECT_EQ(info.rcScrollBar.right - info.rcScrollBar.left, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(info.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
  // The window has no horizontal bar: the call succeeds and says so.
  ASSERT_TRUE(skin::QueryScrollBarInfo(w.Handle(), OBJID_HSCROLL, info));
  EXPECT_NE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);

  HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  EXPECT_FALSE(skin::QueryScrollBarInfo(gone, OBJID_VSCROLL, info));
}

TEST(SysEntries, ComboBoxInfoOfARealCombo) {
  TTestWindow parent;
  HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 10, 120, 100,
                               parent.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(combo, nullptr);
  COMBOBOXINFO info{};
  ASSERT_TRUE(skin::QueryComboBoxInfo(combo, info));
  EXPECT_EQ(info.cbSize, sizeof(COMBOBOXINFO));
  EXPECT_EQ(info.hwndCombo, combo);
  EXPECT_NE(info.hwndItem, nullptr);  // the edit of a drop-down combo
  EXPECT_NE(info.hwndList, nullptr);
  EXPECT_FALSE(skin::QueryComboBoxInfo(parent.Handle(), info));  // not a combo box
}

TEST(SysEntries, MouseLeaveArrivesWhenTheMouseMovesAway) {
  TTestWindow w;
  SetCursorPos(400, 375);  // inside the window
  Pump(100);
  gMouseLeaves = 0;
  ASSERT_TRUE(skin::TrackMouseLeave(w.Handle()));
  TRACKMOUSEEVENT query{sizeof(query), TME_QUERY, nullptr, 0};
  ASSERT_TRUE(TrackMouseEvent(&query));
  EXPECT_EQ(query.hwndTrack, w.Handle());
  EXPECT_NE(query.dwFlags & TME_LEAVE, 0u);
  Pump(50);
  EXPECT_EQ(gMouseLeaves, 0);
  SetCursorPos(5, 5);
  Pump(500);
  EXPECT_EQ(gMouseLeaves, 1);
}

TEST(SysEntries, MissingEntriesAnswerFalseAndCallNothing) {
  TTestWindow w(WS_VSCROLL);
  SetCursorPos(400, 375);  // inside the window
  Pump(100);
  gMouseLeaves = 0;
  {
    TEntriesOverride none(skin::TSysEntries{nullptr, nullptr, nullptr, true});
    EXPECT_FALSE(skin::HasScrollBarInfoEntry());

    SCROLLBARINFO sb{};
    sb.rcScrollBar = {1, 2, 3, 4};
    EXPECT_FALSE(skin::QueryScrollBarInfo(w.Handle(), OBJID_VSCROLL, sb));
    EXPECT_EQ(sb.rcScrollBar.right, 3);  // nothing filled it in

    EXPECT_FALSE(skin::TrackMouseLeave(w.Handle()));
    TRACKMOUSEEVENT query{sizeof(query), TME_QUERY, nullptr, 0};
    TrackMouseEvent(&query);
    EXPECT_NE(query.hwndTrack, w.Handle());  // nothing asked for it
    SetCursorPos(5, 5);
    Pump(300);
    EXPECT_EQ(gMouseLeaves, 0);

    COMBOBOXINFO cb{};
    EXPECT_FALSE(skin::QueryComboBoxInfo(w.Handle(), cb));
    EXPECT_EQ(cb.hwndCombo, nullptr);

    // The seam hands back what it replaced.
    skin::TSysEntries inForce = skin::SetSysEntriesForTest(none.Previous());
    EXPECT_EQ(inForce.GetScrollBarInfo, nullptr);
    EXPECT_TRUE(skin::HasScrollBarInfoEntry());
    skin::SetSysEntriesForTest(inForce);
  }
  // The real entries are back in force.
  SCROLLBARINFO sb{};
  EXPECT_TRUE(skin::QueryScrollBarInfo(w.Handle(), OBJID_VSCROLL, sb));
}

TEST(DrawTextWide, ChineseTextDrawsGlyphsAndReturnsTheLineHeight) {
  const UINT format = DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX;
  TTextSurface chinese;
  RECT r = chinese.Rect();
  EXPECT_EQ(skin::DrawTextWide(chinese.DC(), L"加密", r, format), chinese.LineHeight());
  EXPECT_GT(chinese.DarkPixels(), 20);

  // The same characters pushed through the ANSI code page of this system would arrive as
  // question marks when that page has no Chinese: the wide call draws something else.
  TTextSurface marks;
  r = marks.Rect();
  skin::DrawTextWide(marks.DC(), L"??", r, format);
  EXPECT_GT(marks.DarkPixels(), 0);
  EXPECT_NE(chinese.Pixels(), marks.Pixels());
}

TEST(DrawTextWide, EmptyTextDrawsNothing) {
  const UINT format = DT_SINGLELINE | DT_LEFT | DT_TOP;
  TTextSurface s;
  RECT r = s.Rect(), direct = s.Rect();
  const int expected = DrawTextW(s.DC(), L"", 0, &direct, format);
  EXPECT_EQ(skin::DrawTextWide(s.DC(), L"", r, format), expected);
  EXPECT_EQ(s.DarkPixels(), 0);
}

TEST(DrawTextWide, ShorteningFlagsLeaveTheCallersTextAlone) {
  const UINT format = DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX;
  const std::wstring original = L"加密文件保存到目标文件夹";
  std::wstring text = original;
  TTextSurface s(60, 30);
  RECT r = s.Rect();
  EXPECT_GT(skin::DrawTextWide(s.DC(), text, r, format), 0);
  EXPECT_EQ(text, original);
  EXPECT_EQ(text.size(), original.size());
  EXPECT_GT(s.DarkPixels(), 0);

  // A text shorter than the ellipsis itself: the longest rewrite, still on the copy.
  text = L"加";
  TTextSurface tiny(4, 30);
  r = tiny.Rect();
  skin::DrawTextWide(tiny.DC(), text, r, format);
  EXPECT_EQ(text, L"加");
}

TEST(DrawTextWide, OutsideTheNTFamilyTheTextGoesThroughTheCodePage) {
  const UINT format = DT_SINGLELINE | DT_LEFT | DT_TOP;
  const std::wstring text = L"Encrypt 42 files";
  TTextSurface wide;
  RECT r = wide.Rect();
  const int wideHeight = skin::DrawTextWide(wide.DC(), text, r, format);

  skin::TSysEntries entries = skin::SysEntries();
  entries.NT = false;
  TEntriesOverride ansi(entries);
  EXPECT_FALSE(skin::IsNT());
  TTextSurface narrow;
  r = narrow.Rect();
  EXPECT_EQ(skin::DrawTextWide(narrow.DC(), text, r, format), wideHeight);
  EXPECT_EQ(narrow.Pixels(), wide.Pixels());

  std::wstring shortened = text;
  TTextSurface small(30, 30);
  r = small.Rect();
  EXPECT_GT(skin::DrawTextWide(small.DC(), shortened, r, format | DT_END_ELLIPSIS | DT_MODIFYSTRING), 0);
  EXPECT_EQ(shortened, text);
}

TEST(TextConversion, AnsiTextInTheSystemCodePage) {
  EXPECT_EQ(skin::AnsiToWide(""), L"");
  EXPECT_EQ(skin::AnsiToWide("Skin 1.0"), L"Skin 1.0");
  if (GetACP() == 1252) {
    EXPECT_EQ(skin::AnsiToWide("\xE9t\xE9"), L"\u00E9t\u00E9");
  }
  if (GetACP() == 936) {
    EXPECT_EQ(skin::AnsiToWide("\xBC\xD3\xC3\xDC"), L"加密");
  }
}

TEST(TextConversion, WideFromBufferStopsAtTheZeroAndAtTheCount) {
  const wchar_t buffer[] = L"abc\0def";
  EXPECT_EQ(skin::WideFromBuffer(buffer, 0), L"");
  EXPECT_EQ(skin::WideFromBuffer(nullptr, 5), L"");
  EXPECT_EQ(skin::WideFromBuffer(nullptr, -1), L"");
  EXPECT_EQ(skin::WideFromBuffer(buffer, -1), L"abc");
  EXPECT_EQ(skin::WideFromBuffer(buffer, 2), L"ab");
  EXPECT_EQ(skin::WideFromBuffer(buffer, 3), L"abc");
  EXPECT_EQ(skin::WideFromBuffer(buffer, 8), L"abc");  // the count reaches past the zero

  // Three characters without a zero, right before a page that may not be read: the count
  // alone must stop the copy.
  SYSTEM_INFO sys{};
  GetSystemInfo(&sys);
  auto* pages = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * sys.dwPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(pages + sys.dwPageSize, sys.dwPageSize, PAGE_NOACCESS, &old));
  auto* edge = reinterpret_cast<wchar_t*>(pages + sys.dwPageSize) - 3;
  edge[0] = L'x';
  edge[1] = L'y';
  edge[2] = L'z';
  EXPECT_EQ(skin::WideFromBuffer(edge, 3), L"xyz");
  EXPECT_EQ(skin::WideFromBuffer(edge, 2), L"xy");
  VirtualFree(pages, 0, MEM_RELEASE);
}
