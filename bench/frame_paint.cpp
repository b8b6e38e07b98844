// Frame benchmark: two top-level windows made like the main window (its size, style, caption,
// icon and a three-item menu bar), one skinned by the skin manager with the built-in skin as the
// main window's stored form carries it, the other left to the system. Measured in turn, in
// interleaved rounds, each window active while it is measured:
//   - a full frame repaint, SendMessage(WM_NCPAINT, 1, 0), averaged over REPEATS;
//   - a whole-window redraw, RedrawWindow(RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW), likewise;
//   - 200 interactive-size steps (SetWindowPos growing, then shrinking back), the message queue
//     emptied after each step.
// Prints the median over the rounds of each figure and of the rounds' skinned/unskinned ratios,
// one per line, and every round on standard error. Usage: frame_paint.exe [ROUNDS [REPEATS]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "StoredSkin.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

namespace {

constexpr int kWidth = 881, kHeight = 490;  // the main window's form
constexpr int kResizeSteps = 200;
const wchar_t* const kTitle = L"专用文件加密工具";

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1e6 * double(t.QuadPart) / double(f.QuadPart);  // microseconds
}

void PumpQueue() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    PumpQueue();
    Sleep(1);
  } while (GetTickCount() - start < ms);
}

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(wnd, &ps);
    EndPaint(wnd, &ps);
    return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

// A window made like the main window, shown at (left, top); destroyed with its menu.
class TMainLikeWindow {
public:
  TMainLikeWindow(int left, int top) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    static const ATOM kClass = [instance] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = WindowProc;
      wc.hInstance = instance;
      wc.hIcon = LoadIconW(instance, L"MAINICON");
      wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = L"FramePaintWindow";
      return RegisterClassW(&wc);
    }();
    HMENU menu = CreateMenu();
    for (const wchar_t* item : {L"文件(&F)", L"帮助(&H)", L"退出(&X)"}) AppendMenuW(menu, MF_STRING, 100, item);
    Handle = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(kClass)), kTitle,
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, left, top, kWidth, kHeight, nullptr, menu,
                             instance, nullptr);
    if (Handle) ShowWindow(Handle, SW_SHOWNORMAL);
    else DestroyMenu(menu);
  }
  ~TMainLikeWindow() {
    if (Handle) DestroyWindow(Handle);  // the window's menu goes with it
  }
  TMainLikeWindow(const TMainLikeWindow&) = delete;
  TMainLikeWindow& operator=(const TMainLikeWindow&) = delete;

  HWND Handle = nullptr;
};

void Activate(HWND wnd) {
  SetForegroundWindow(wnd);
  SetActiveWindow(wnd);
  PumpFor(20);
}

// Microseconds per call of paint, averaged over repeats.
double PerCall(HWND wnd, int repeats, const std::function<void(HWND)>& paint) {
  Activate(wnd);
  paint(wnd);  // the first one builds what is kept between paints
  const double t0 = Now();
  for (int i = 0; i < repeats; ++i) paint(wnd);
  return (Now() - t0) / repeats;
}

// Milliseconds for kResizeSteps size steps: growing by (4, 2) pixels per step for half of them,
// then shrinking back to the start, the queue emptied after each step.
double ResizeSteps(HWND wnd) {
  Activate(wnd);
  RECT r{};
  GetWindowRect(wnd, &r);
  const int w0 = r.right - r.left, h0 = r.bottom - r.top;
  const double t0 = Now();
  for (int i = 1; i <= kResizeSteps; ++i) {
    const int k = i <= kResizeSteps / 2 ? i : kResizeSteps - i;
    SetWindowPos(wnd, nullptr, 0, 0, w0 + 4 * k, h0 + 2 * k, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpQueue();
  }
  return (Now() - t0) / 1000.0;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void Print(const char* name, const std::vector<double>& skinned, const std::vector<double>& unskinned,
           const char* unit) {
  for (const auto& [side, v] : {std::pair{"skinned", &skinned}, std::pair{"unskinned", &unskinned}}) {
    std::fprintf(stderr, "%s_%s_%s:", name, side, unit);
    for (double x : *v) std::fprintf(stderr, " %.1f", x);
    std::fprintf(stderr, "\n");
  }
  // The ratio is the median of each round's own ratio: a round measures both windows back to
  // back, so a busy moment of the machine weighs on both sides of it.
  std::vector<double> ratios;
  for (size_t i = 0; i < skinned.size() && i < unskinned.size(); ++i)
    if (unskinned[i] > 0) ratios.push_back(skinned[i] / unskinned[i]);
  std::printf("%s_skinned_%s %.1f\n", name, unit, Median(skinned));
  std::printf("%s_unskinned_%s %.1f\n", name, unit, Median(unskinned));
  std::printf("%s_ratio %.2f\n", name, Median(ratios));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
  const int repeats = argc > 2 ? std::max(1, _wtoi(argv[2])) : 200;

  // The built-in skin, loaded as the main window's skin data component loads it.
  const std::vector<uint8_t> block = bench::StoredSkinBlock();
  auto data = std::make_unique<skin::TSkinData>(nullptr);
  data->ReadSkinStream(block);
  if (data->NoSkin()) {
    std::fprintf(stderr, "the built-in skin did not load\n");
    return 1;
  }
  using skin::SetOf;
  data->SkinControls = SetOf(skin::xcMainMenu) | SetOf(skin::xcPopupMenu) | SetOf(skin::xcSystemMenu);
  skin::TSkinManage& manager = skin::EnsureSkinManager();
  manager.AddSkinData(data.get());
  manager.FEnabled = true;
  manager.FState = skin::msRunning;

  int result = 0;
  {
    // One above the other, apart, so that neither covers the other while they grow (the screen
    // of frame_paint.sh is 1600 x 1600).
    TMainLikeWindow skinned(0, 0), unskinned(0, 720);
    if (!skinned.Handle || !unskinned.Handle) {
      std::fprintf(stderr, "the windows could not be made\n");
      return 1;
    }
    PumpFor(50);
    manager.SkinWindow(skinned.Handle);
    PumpFor(100);
    skin::TWinSkinForm* form = manager.FindSkinForm(skinned.Handle);
    if (!form || form->FState != skin::fsRunning || manager.FindSkinForm(unskinned.Handle)) {
      std::fprintf(stderr, "the skin did not go on the first window only\n");
      return 1;
    }
    RECT w{}, c{};
    GetWindowRect(skinned.Handle, &w);
    GetClientRect(skinned.Handle, &c);
    std::fprintf(stderr, "skinned frame: %ld x %ld around a client of %ld x %ld (skin: %d %d %d %d, menu %d)\n",
                 w.right - w.left, w.bottom - w.top, c.right, c.bottom, form->FBorderLeft, form->FCaptionHeight,
                 form->FBorderRight, form->FBorderBottom, form->FMenuHeight);

    const auto ncPaint = [](HWND h) { SendMessageW(h, WM_NCPAINT, 1, 0); };
    const auto redraw = [](HWND h) { RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW); };
    std::vector<double> paintS, paintU, redrawS, redrawU, resizeS, resizeU;
    // One unmeasured round settles caches and the windows' first size changes.
    PerCall(skinned.Handle, 10, ncPaint);
    PerCall(unskinned.Handle, 10, ncPaint);
    ResizeSteps(skinned.Handle);
    ResizeSteps(unskinned.Handle);
    for (int round = 0; round < rounds; ++round) {
      paintS.push_back(PerCall(skinned.Handle, repeats, ncPaint));
      paintU.push_back(PerCall(unskinned.Handle, repeats, ncPaint));
      redrawS.push_back(PerCall(skinned.Handle, repeats, redraw));
      redrawU.push_back(PerCall(unskinned.Handle, repeats, redraw));
      resizeS.push_back(ResizeSteps(skinned.Handle));
      resizeU.push_back(ResizeSteps(unskinned.Handle));
    }
    if (manager.FindSkinForm(skinned.Handle) != form || form->FState != skin::fsRunning) {
      std::fprintf(stderr, "the skin came off during the run\n");
      result = 1;
    }
    Print("frame_repaint", paintS, paintU, "us");
    Print("window_redraw", redrawS, redrawU, "us");
    Print("resize", resizeS, resizeU, "ms");
  }
  PumpFor(20);
  skin::FreeSkinManager();
  return result;
}
