// Painting of the form skin on real windows: the skinned client area, each border and frame by
// its colour, the caption band and its title, the inactive look, the window region cut from the
// magenta pixels, the minimised caption, the window icon, and the parent's image behind a control.
#include <gtest/gtest.h>

#include "Pixels.h"
#include "FormSkinFixture.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"

using namespace skin;
using namespace formtest;

namespace {

// Colours of this suite's skin (0xRRGGBB) besides the fixture's border colours.
constexpr std::uint32_t kBackActive = 0x2080F0, kBackInactive = 0x608090;  // text background
constexpr std::uint32_t kTextActive = 0xFFFF00, kTextInactive = 0x00FFFF;
constexpr std::uint32_t kFace = 0xECEEF2;
constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr int kRightClip = 10, kBackEnd = 6;

struct TPaintSkinOptions {
  bool trans = true;           // the borders' "Trans"
  bool magentaCorners = true;  // 2x2 magenta at the window's top corners
  bool magentaBottom = false;  // a bottom border wholly magenta
  int caption = kCaption;
};

// Borders 4 px wide with the window's top corners cut away, a caption of solid colour per frame,
// a text background of two frames, a 5 px bottom.
TestSkin PaintSkin(const TPaintSkinOptions& o = {}) {
  TestSkin s;
  const auto side = [&](bool right, std::uint32_t active, std::uint32_t inactive) {
    return TestSkin::Bmp(2 * kSide, 40, [=](int x, int y) -> std::uint32_t {
      const int fx = x % kSide;
      if (o.magentaCorners && y < 2 && (right ? fx >= kSide - 2 : fx < 2)) return kMagenta;
      return x < kSide ? active : inactive;
    });
  };
  s.Raw("left.bmp", side(false, kLeftActive, kLeftInactive));
  s.Raw("right.bmp", side(true, kRightActive, kRightInactive));
  s.Strip("top.bmp", 60, o.caption, {kTopActive, kTopInactive}, true);
  if (o.magentaBottom)
    s.Strip("bottom.bmp", 60, kBottom, {kMagenta, kMagenta}, true);
  else
    s.Strip("bottom.bmp", 60, kBottom, {kBottomActive, kBottomInactive}, true);
  s.Strip("tback.bmp", 30, 16, {kBackActive, kBackInactive}, true);
  const std::string trans = o.trans ? "1" : "0";
  s.Ini = "[Personality]\n"
          "Left=left.bmp\nLeftFrame=2\nLeftTopHeight=" + std::to_string(o.caption) + "\nLeftBotHeight=5\nLeftTrans=" + trans +
          "\nRight=right.bmp\nRightFrame=2\nRightTopHeight=" + std::to_string(o.caption) +
          "\nRightBotHeight=5\nRightTrans=" + trans +
          "\nTop=top.bmp\nTopFrame=2\nTopTopHeight=4\nTopBotHeight=4\nTopTrans=" + trans +
          "\nBottom=bottom.bmp\nBottomFrame=2\nBottomTrans=" + trans +
          "\nTextBack=tback.bmp\nTXTBackleft=" + std::to_string(kBackEnd) + "\nTXTBackRight=" +
          std::to_string(kBackEnd) + "\nTextShift=8\nTextRightClip=" + std::to_string(kRightClip) +
          "\n[Colours]\nButtonFace=236 238 242\nTitleTextActive=255 255 0\nTitleTextNoActive=0 255 255\n";
  return s;
}

std::unique_ptr<TSkinData> MakePaintData(const TPaintSkinOptions& o = {}) {
  auto d = std::make_unique<TSkinData>(nullptr);
  EXPECT_TRUE(LoadTestSkin(*d, PaintSkin(o)));
  return d;
}

// A plain window given its form skin directly, as the manager does, and activated.
struct TSkinnedWindow {
  TSkinnedWindow(TSkinData& data, const std::wstring& title, int width = 320, int height = 200,
                 DWORD style = WS_OVERLAPPEDWINDOW, const wchar_t* cls = nullptr)
      : Window(title, width, height, cls, style) {
    Form = new TWinSkinForm(nullptr);
    Form->FHandle = Window.Handle;
    Form->AttachWindow(&data);
    SendMessageW(Window.Handle, WM_SKIN_ACTIVATE, 0, kActivateSignature);
    Pump(20);
  }
  ~TSkinnedWindow() {
    if (IsWindow(Window.Handle)) Form->Unskin();
    delete Form;
  }
  HWND Handle() const { return Window.Handle; }
  SIZE Size() const {
    RECT r{};
    GetWindowRect(Window.Handle, &r);
    return {r.right - r.left, r.bottom - r.top};
  }
  TWindow Window;
  TWinSkinForm* Form = nullptr;
};

using pixels::Rgb;

// The frame as the window shows it, after a synchronous repaint of the non-client area.
struct TFramePixels {
  explicit TFramePixels(HWND wnd) : Wnd(wnd) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    DC = GetWindowDC(wnd);
  }
  ~TFramePixels() { ReleaseDC(Wnd, DC); }
  std::uint32_t operator()(int x, int y) const { return Rgb(GetPixel(DC, x, y)); }
  HWND Wnd;
  HDC DC;
};

// The frame painted by the form skin into a bitmap of the window's size, first filled with fill.
struct TPaintedFrame {
  TPaintedFrame(TWinSkinForm& f, int width, int height, std::uint32_t fill = 0x123456) : Bitmap(width, height) {
    HDC dc = Bitmap.Canvas().Handle();
    fw::TBrushHandle brush(CreateSolidBrush(RGB(fill >> 16, (fill >> 8) & 0xFF, fill & 0xFF)));
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    f.PaintFrame(dc);
  }
  std::uint32_t operator()(int x, int y) {
    const auto* p = static_cast<const std::uint8_t*>(Bitmap.ScanLine(y)) + 3 * x;
    return static_cast<std::uint32_t>(p[2] << 16 | p[1] << 8 | p[0]);
  }
  // Pixels of colour c in [x0, x1) x [y0, y1).
  int Count(std::uint32_t c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += (*this)(x, y) == c;
    return n;
  }
  // The rightmost column in [x0, x1) holding colour c in rows [y0, y1), or -1.
  int Rightmost(std::uint32_t c, int x0, int y0, int x1, int y1) {
    for (int x = x1 - 1; x >= x0; --x)
      for (int y = y0; y < y1; ++y)
        if ((*this)(x, y) == c) return x;
    return -1;
  }
  fw::TBitmap Bitmap;
};

struct TRegion {
  explicit TRegion(HWND wnd) : Handle(CreateRectRgn(0, 0, 0, 0)) { Kind = GetWindowRgn(wnd, Handle); }
  ~TRegion() { DeleteObject(Handle); }
  bool Has(int x, int y) const { return PtInRegion(Handle, x, y) != 0; }
  bool Equals(int w, int h) const {
    HRGN r = CreateRectRgn(0, 0, w, h);
    const bool same = EqualRgn(Handle, r) != 0;
    DeleteObject(r);
    return same;
  }
  HRGN Handle;
  int Kind = ERROR;
};

void Activate(HWND wnd) {
  SetForegroundWindow(wnd);
  SetActiveWindow(wnd);
  Pump(30);
}

}  // namespace

TEST(FramePaint, SkinnedClientAreaAndBorders) {
  TSkinnedWorld world;
  auto data = MakePaintData();
  TSkinnedWindow w(*data, L"边框");
  TWinSkinForm& f = *w.Form;
  ASSERT_EQ(f.FState, fsRunning);
  EXPECT_EQ(f.FBorderLeft, kSide);
  EXPECT_EQ(f.FBorderRight, kSide);
  EXPECT_EQ(f.FCaptionHeight, kCaption);
  EXPECT_EQ(f.FBorderBottom, kBottom);

  // The client area is the window less the skin's frame.
  RECT window{}, client{};
  GetWindowRect(w.Handle(), &window);
  GetClientRect(w.Handle(), &client);
  MapWindowPoints(w.Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(client.left - window.left, kSide);
  EXPECT_EQ(client.top - window.top, kCaption);
  EXPECT_EQ(window.right - client.right, kSide);
  EXPECT_EQ(window.bottom - client.bottom, kBottom);

  const SIZE s = w.Size();
  {
    TFramePixels px(w.Handle());
    EXPECT_EQ(px(1, s.cy / 2), kLeftActive);
    EXPECT_EQ(px(s.cx - 2, s.cy / 2), kRightActive);
    EXPECT_EQ(px(s.cx / 2, s.cy - 2), kBottomActive);
    EXPECT_EQ(px(s.cx - kSide - 2, kCaption / 2), kTopActive);  // right of the title's clip
    EXPECT_EQ(px(2, 0), kLeftActive);                           // the band's ends are the side borders'
    EXPECT_EQ(px(s.cx - 3, kCaption - 1), kRightActive);
    EXPECT_EQ(px(f.FTitleRect.left + 2, kCaption / 2), kBackActive);
  }
  // While the skin paints, the system has no system menu to draw caption buttons for.
  EXPECT_EQ(GetWindowLongW(w.Handle(), GWL_STYLE) & WS_SYSMENU, 0);

  // Moving and resizing keep the skinned frame.
  SetWindowPos(w.Handle(), nullptr, 80, 90, 260, 150, SWP_NOZORDER | SWP_NOACTIVATE);
  GetClientRect(w.Handle(), &client);
  EXPECT_EQ(client.right, 260 - 2 * kSide);
  EXPECT_EQ(client.bottom, 150 - kCaption - kBottom);
  TFramePixels px(w.Handle());
  EXPECT_EQ(px(259 - 1, 75), kRightActive);
  EXPECT_EQ(px(130, 148), kBottomActive);
}

TEST(FramePaint, MenuBandBelowTheCaption) {
  TSkinnedWorld world;
  auto data = MakePaintData();
  TSkinnedWindow w(*data, L"菜单带");
  TWinSkinForm& f = *w.Form;
  // Without a menu bar of the skin, the band is filled with the form colour.
  f.FMenuHeight = 10;
  f.FrameChanged();
  RECT window{}, client{};
  GetWindowRect(w.Handle(), &window);
  GetClientRect(w.Handle(), &client);
  MapWindowPoints(w.Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(client.top - window.top, kCaption + 10);
  const SIZE s = w.Size();
  TPaintedFrame p(f, s.cx, s.cy);
  EXPECT_EQ(p(kSide, kCaption), kFace);
  EXPECT_EQ(p(s.cx - kSide - 1, kCaption + 9), kFace);
  EXPECT_EQ(p(kSide - 1, kCaption + 5), kLeftActive);
  EXPECT_EQ(p(s.cx / 2, kCaption + 10), 0x123456u);  // the client area is left alone
}

TEST(FramePaint, NoInvertedClientArea) {
  TSkinnedWorld world;
  auto data = MakePaintData();
  TSkinnedWindow w(*data, L"很小");
  // The system keeps a top-level window from getting smaller than its minimum tracking size, so
  // the smallest sizes are asked of the skin directly, as the system asks while sizing.
  for (const SIZE size : {SIZE{6, 10}, SIZE{3, 40}, SIZE{100, 20}, SIZE{0, 0}, SIZE{200, 100}}) {
    SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
    WINDOWPOS pos{w.Handle(), nullptr, 100, 50, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE};
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = {100, 50, 100 + size.cx, 50 + size.cy};
    GetWindowRect(w.Handle(), &params.rgrc[1]);
    params.rgrc[2] = params.rgrc[1];
    params.lppos = &pos;
    SendMessageW(w.Handle(), WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    const RECT c = params.rgrc[0];
    // What is left inside the frame, empty where the frame is larger than the window.
    EXPECT_EQ(c.left, 100 + std::min<int>(kSide, size.cx));
    EXPECT_EQ(c.top, 50 + std::min<int>(kCaption, size.cy));
    EXPECT_EQ(c.right - c.left, std::max<int>(0, size.cx - 2 * kSide));
    EXPECT_EQ(c.bottom - c.top, std::max<int>(0, size.cy - kCaption - kBottom));
  }
  // The smallest size the system allows, and a minimised window.
  SetWindowPos(w.Handle(), nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT window{}, client{};
  GetWindowRect(w.Handle(), &window);
  GetClientRect(w.Handle(), &client);
  EXPECT_EQ(client.right, std::max<int>(0, window.right - window.left - 2 * kSide));
  EXPECT_EQ(client.bottom, std::max<int>(0, window.bottom - window.top - kCaption - kBottom));
  ShowWindow(w.Handle(), SW_MINIMIZE);
  Pump();
  GetClientRect(w.Handle(), &client);
  EXPECT_GE(client.right, 0);
  EXPECT_GE(client.bottom, 0);
}

TEST(FramePaint, InactiveFrameAfterAnotherWindowIsActivated) {
  TSkinnedWorld world;
  auto data = MakePaintData();
  TSkinnedWindow a(*data, L"甲窗口");
  TWindow b(L"乙窗口");
  SetWindowPos(b.Handle, nullptr, 600, 500, 200, 120, SWP_NOZORDER | SWP_NOACTIVATE);
  TWinSkinForm& f = *a.Form;
  const SIZE s = a.Size();

  Activate(a.Handle());
  ASSERT_TRUE(f.FActive);
  Activate(b.Handle);
  ASSERT_EQ(GetActiveWindow(), b.Handle);
  EXPECT_FALSE(f.FActive);
  {
    TFramePixels px(a.Handle());
    EXPECT_EQ(px(1, s.cy / 2), kLeftInactive);
    EXPECT_EQ(px(s.cx - 2, s.cy / 2), kRightInactive);
    EXPECT_EQ(px(s.cx / 2, s.cy - 2), kBottomInactive);
    EXPECT_EQ(px(s.cx - kSide - 2, kCaption / 2), kTopInactive);
    EXPECT_EQ(px(f.FTitleRect.left + 2, kCaption / 2), kBackInactive);
  }
  TPaintedFrame inactive(f, s.cx, s.cy);
  EXPECT_GT(inactive.Count(kTextInactive, f.FTitleRect.left, 0, f.FTitleRect.right, kCaption), 0);
  EXPECT_EQ(inactive.Count(kTextActive, 0, 0, s.cx, kCaption), 0);

  Activate(a.Handle());
  EXPECT_TRUE(f.FActive);
  TFramePixels px(a.Handle());
  EXPECT_EQ(px(1, s.cy / 2), kLeftActive);
  EXPECT_EQ(px(s.cx / 2, s.cy - 2), kBottomActive);
}

TEST(FramePaint, TitleTextInsideItsRectangleAndClipped) {
  TSkinnedWorld world;
  auto data = MakePaintData();
  TSkinnedWindow w(*data, L"MMMM Title");
  TWinSkinForm& f = *w.Form;
  const SIZE s = w.Size();
  {
    TPaintedFrame p(f, s.cx, s.cy);
    const RECT t = f.FTitleRect;
    EXPECT_EQ(t.left, kSide + 8);  // TextShift
    EXPECT_GT(p.Count(kTextActive, t.left, 0, t.right, kCaption), 0);
    EXPECT_EQ(p.Count(kTextActive, 0, 0, t.left, kCaption) + p.Count(kTextActive, t.right, 0, s.cx, kCaption), 0);
    // The text background spans the title rectangle only.
    EXPECT_EQ(p(t.left + 1, 2), kBackActive);
    EXPECT_EQ(p(t.right - 1, 2), kBackActive);
    EXPECT_EQ(p(t.right + 1, 2), kTopActive);
  }

  // The title is measured with the wide text call: Chinese text keeps its width.
  SetWindowTextW(w.Handle(), L"中文标题");
  {
    TPaintedFrame p(f, s.cx, s.cy);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, f.FCaptionFont.Get());
    const std::wstring shown = f.FTitlePrefix + L"中文标题" + f.FTitleSuffix;
    SIZE extent{};
    GetTextExtentPoint32W(screen, shown.c_str(), static_cast<int>(shown.size()), &extent);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(f.FTitleRect.right - f.FTitleRect.left, extent.cx + 2 * kBackEnd);
  }

  // A title wider than the caption ends in an ellipsis at "TextRightClip" from the band's end.
  SetWindowTextW(w.Handle(), std::wstring(120, L'W').c_str());
  {
    TPaintedFrame p(f, s.cx, s.cy);
    const int clip = s.cx - kSide - kRightClip;
    EXPECT_EQ(f.FTitleRect.right, clip);
    const int last = p.Rightmost(kTextActive, 0, 0, s.cx, kCaption);
    EXPECT_LT(last, clip - kBackEnd);
    EXPECT_GT(last, clip - kBackEnd - 30);  // the ellipsis reaches near the clip
    // The text ends in a dot, not in a cut letter.
    int top = kCaption, bottom = -1;
    for (int x = last - 1; x <= last; ++x)
      for (int y = 0; y < kCaption; ++y)
        if (p(x, y) == kTextActive) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    EXPECT_LE(bottom - top, 3);
    EXPECT_EQ(p(clip + 2, kCaption / 2), kTopActive);
  }

  // A pop-up window stops the text 5 pixels before its right-anchored caption buttons; without
  // such buttons it keeps the skin's right clip.
  TSkinnedWindow popup(*data, std::wstring(120, L'W'), 320, 200, WS_POPUP | WS_CAPTION | WS_SYSMENU);
  TWinSkinForm& g = *popup.Form;
  const SIZE ps = popup.Size();
  g.FButtonsLeft = 200;
  {
    TPaintedFrame p(g, ps.cx, ps.cy);
    EXPECT_EQ(g.FTitleRect.right, 195);
    EXPECT_LT(p.Rightmost(kTextActive, 0, 0, ps.cx, kCaption), 195 - kBackEnd);
  }
  g.FButtonsLeft = 0;
  TPaintedFrame p(g, ps.cx, ps.cy);
  EXPECT_EQ(g.FTitleRect.right, ps.cx - kSide - kRightClip);
}

TEST(WindowRegion, CutsTheMagentaCorners) {
  TSkinnedWorld world;
  auto data = MakePaintData();
  TSkinnedWindow w(*data, L"区域");
  const SIZE s = w.Size();
  ASSERT_TRUE(w.Form->FRegionSet);
  {
    TRegion r(w.Handle());
    ASSERT_NE(r.Kind, ERROR);
    EXPECT_FALSE(r.Has(0, 0));
    EXPECT_FALSE(r.Has(1, 1));
    EXPECT_FALSE(r.Has(s.cx - 1, 0));
    EXPECT_FALSE(r.Has(s.cx - 2, 1));
    EXPECT_TRUE(r.Has(2, 0));
    EXPECT_TRUE(r.Has(0, 2));
    EXPECT_TRUE(r.Has(s.cx - 3, 0));
    EXPECT_TRUE(r.Has(s.cx / 2, 0));
    EXPECT_TRUE(r.Has(s.cx / 2, s.cy / 2));
    EXPECT_TRUE(r.Has(0, s.cy - 1));
    EXPECT_TRUE(r.Has(s.cx - 1, s.cy - 1));
    EXPECT_FALSE(r.Has(s.cx, s.cy / 2));
  }
  // The region follows the window's size, also down again from a larger one (the border images
  // are kept in buffers that only grow: only their used part may count).
  SetWindowPos(w.Handle(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(w.Handle(), nullptr, 0, 0, 240, 130, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  TRegion r(w.Handle());
  EXPECT_FALSE(r.Has(239, 0));
  EXPECT_TRUE(r.Has(237, 0));
  EXPECT_TRUE(r.Has(239, 129));
  EXPECT_FALSE(r.Has(239, 130));
}

TEST(WindowRegion, PlainRectangleWhereNothingIsCut) {
  TSkinnedWorld world;
  struct Case {
    const char* what;
    TPaintSkinOptions options;
  };
  const Case cases[] = {{"Trans 0 everywhere", {false, true, false, kCaption}},
                        {"Trans set, no magenta", {true, false, false, kCaption}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto data = MakePaintData(c.options);
    TSkinnedWindow w(*data, L"矩形");
    const SIZE s = w.Size();
    TRegion r(w.Handle());
    ASSERT_NE(r.Kind, ERROR);
    EXPECT_TRUE(r.Equals(s.cx, s.cy));
  }
  // A border piece that is wholly transparent cuts its whole band away.
  auto data = MakePaintData({true, false, true, kCaption});
  TSkinnedWindow w(*data, L"无底边");
  const SIZE s = w.Size();
  TRegion r(w.Handle());
  ASSERT_NE(r.Kind, ERROR);
  EXPECT_FALSE(r.Has(s.cx / 2, s.cy - 1));
  EXPECT_TRUE(r.Has(s.cx / 2, s.cy - kBottom - 1));
  EXPECT_TRUE(r.Has(1, s.cy - 1));  // the side borders reach down to the bottom
}

namespace {
// Window-position changes that reach the window's own procedure, below the skin.
std::vector<UINT> gPositionFlags;
WNDPROC gBelowSkin = nullptr;
LRESULT CALLBACK RecordPositions(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_WINDOWPOSCHANGING) gPositionFlags.push_back(reinterpret_cast<WINDOWPOS*>(lp)->flags);
  return CallWindowProcW(gBelowSkin, h, m, wp, lp);
}
// Position changes that move and size nothing, as setting a window region makes.
int RegionSets() {
  int n = 0;
  for (UINT flags : gPositionFlags) n += (flags & (SWP_NOSIZE | SWP_NOMOVE)) == (SWP_NOSIZE | SWP_NOMOVE);
  return n;
}
}  // namespace

TEST(WindowRegion, OneRebuildPerSizeChange) {
  TSkinnedWorld world;
  auto data = MakePaintData();
  TWindow w(L"一次");
  gBelowSkin = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(w.Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordPositions)));
  auto* f = new TWinSkinForm(nullptr);
  f->FHandle = w.Handle;
  f->AttachWindow(data.get());
  gPositionFlags.clear();
  SendMessageW(w.Handle, WM_SKIN_ACTIVATE, 0, kActivateSignature);
  EXPECT_EQ(RegionSets(), 1);

  for (int step = 0; step < 3; ++step) {
    gPositionFlags.clear();
    SetWindowPos(w.Handle, nullptr, 0, 0, 250 + 10 * step, 160, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(RegionSets(), 1) << "step " << step;
  }
  // Moving, repainting and size messages without a new size keep the region.
  gPositionFlags.clear();
  SetWindowPos(w.Handle, nullptr, 90, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(w.Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  SendMessageW(w.Handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 100));
  EXPECT_EQ(RegionSets(), 0);

  f->Unskin();
  delete f;
  SetWindowLongPtrW(w.Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gBelowSkin));
}

TEST(FramePaint, MinimisedWindowPaintsOnlyTheCaption) {
  TSkinnedWorld world;
  auto data = MakePaintData({true, true, false, 12});
  TSkinnedWindow w(*data, L"最小化");
  TWinSkinForm& f = *w.Form;
  ShowWindow(w.Handle(), SW_MINIMIZE);
  Pump();
  ASSERT_EQ(f.FShowState, ssMinimized);
  const SIZE s = w.Size();
  ASSERT_GT(s.cx, 2 * kSide);
  const std::uint32_t sentinel = 0x123456;
  TPaintedFrame p(f, s.cx + 10, std::max<int>(s.cy, 40) + 10, sentinel);
  // The caption band runs across the whole width, with no side borders.
  const std::uint32_t top = f.FActive ? kTopActive : kTopInactive;
  EXPECT_EQ(p(1, 6), top);
  EXPECT_EQ(p(s.cx - 2, 6), top);
  for (std::uint32_t border : {kLeftActive, kLeftInactive, kRightActive, kRightInactive, kBottomActive, kBottomInactive})
    EXPECT_EQ(p.Count(border, 0, 0, s.cx, s.cy), 0);
  // Below the caption, the window shows the form colour.
  if (s.cy > 12) {
    EXPECT_EQ(p(1, s.cy - 1), kFace);
    EXPECT_EQ(p(s.cx / 2, 12), kFace);
  }
  // Nothing outside the window is touched.
  EXPECT_EQ(p(s.cx + 2, 2), sentinel);
  EXPECT_EQ(p(2, s.cy + 2), sentinel);
}

TEST(FrameIcon, ClassIconWhenTheWindowHasNone) {
  TSkinnedWorld world;
  auto data = MakePaintData();
  const HICON large = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  const HICON small = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_INFORMATION));
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SkinIconWindow";
  wc.hIcon = large;
  wc.hIconSm = small;
  RegisterClassExW(&wc);
  wc.lpszClassName = L"SkinNoIconWindow";
  wc.hIcon = wc.hIconSm = nullptr;
  RegisterClassExW(&wc);

  // Magenta-free pixels of the icon picture; a missing icon leaves none (and no white square).
  const auto shown = [](TWinSkinForm& f) {
    int n = 0;
    for (int y = 0; y < f.FIconBitmap.Height(); ++y)
      for (int x = 0; x < f.FIconBitmap.Width(); ++x) {
        const auto* p = static_cast<const std::uint8_t*>(f.FIconBitmap.ScanLine(y)) + 3 * x;
        n += !(p[0] == 0xFF && p[1] == 0 && p[2] == 0xFF);
      }
    return n;
  };
  {
    TSkinnedWindow w(*data, L"类图标", 320, 200, WS_OVERLAPPEDWINDOW, L"SkinIconWindow");
    EXPECT_EQ(w.Form->FIcon, small);
    EXPECT_EQ(w.Form->FIconSize, GetSystemMetrics(SM_CXSMICON));
    EXPECT_GT(shown(*w.Form), 0);
    // The window's own icon comes first.
    SendMessageW(w.Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    EXPECT_EQ(w.Form->FIcon, large);
  }
  TSkinnedWindow none(*data, L"无图标", 320, 200, WS_OVERLAPPEDWINDOW, L"SkinNoIconWindow");
  EXPECT_EQ(none.Form->FIcon, nullptr);
  EXPECT_EQ(shown(*none.Form), 0);
  UnregisterClassW(L"SkinIconWindow", GetModuleHandleW(nullptr));
  UnregisterClassW(L"SkinNoIconWindow", GetModuleHandleW(nullptr));
}

namespace {
// A graphic control of one colour; with drawParent, it first paints what its parent shows.
class TBlock : public fw::TGraphicControl {
public:
  TBlock(fw::TComponent* owner, std::uint32_t colour, bool drawParent = false)
      : fw::TGraphicControl(owner), Colour(colour), DrawParent(drawParent) {}
  std::uint32_t Colour;
  bool DrawParent;
  int Paints = 0;

protected:
  void Paint() override {
    ++Paints;
    if (DrawParent) DrawParentImage(this, PaintDC());
    fw::TBrushHandle brush(CreateSolidBrush(RGB(Colour >> 16, (Colour >> 8) & 0xFF, Colour & 0xFF)));
    const RECT dot{0, 0, 2, 2};
    FillRect(PaintDC(), &dot, brush);
  }
};
}  // namespace

TEST(DrawParentImage, PaintsWhatTheParentShowsBehindTheControl) {
  fw::TForm form(nullptr);
  form.SetBounds(10, 10, 200, 150);
  form.SetColor(0x00305070);  // 0x705030 as 0xRRGGBB
  TBlock behind(&form, 0x0000FF);
  behind.SetParent(&form);
  behind.SetBounds(20, 30, 10, 10);
  TBlock target(&form, 0xFF0000, true);
  target.SetParent(&form);
  target.SetBounds(15, 25, 40, 30);
  form.HandleNeeded();

  fw::TBitmap picture(60, 50);
  HDC dc = picture.Canvas().Handle();
  fw::TBrushHandle sentinel(CreateSolidBrush(RGB(0x12, 0x34, 0x56)));
  const RECT all{0, 0, 60, 50};
  FillRect(dc, &all, sentinel);
  POINT before{};
  GetViewportOrgEx(dc, &before);
  DrawParentImage(&target, dc);
  const auto at = [&](int x, int y) {
    const auto* p = static_cast<const std::uint8_t*>(picture.ScanLine(y)) + 3 * x;
    return static_cast<std::uint32_t>(p[2] << 16 | p[1] << 8 | p[0]);
  };
  EXPECT_EQ(at(30, 20), 0x705030u);  // the form's colour
  EXPECT_EQ(at(5, 5), 0x0000FFu);    // the graphic control behind, moved by the target's position
  EXPECT_EQ(at(10, 10), 0x705030u);  // its 2x2 dot only; the rest of it is the form's colour
  EXPECT_EQ(at(45, 5), 0x123456u);   // clipped to the target's size
  EXPECT_EQ(at(5, 35), 0x123456u);
  // The parent painting its graphic children asks the target to paint once, and that nested
  // paint does not ask the parent again.
  EXPECT_EQ(target.Paints, 1);
  POINT after{};
  GetViewportOrgEx(dc, &after);
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);

  TBlock orphan(nullptr, 0xFF0000);
  DrawParentImage(&orphan, dc);  // no parent: nothing
  DrawParentImage(nullptr, dc);
}
