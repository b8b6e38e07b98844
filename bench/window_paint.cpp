// Window benchmark: the main window built from its stored form, its full repaint with every
// child (RedrawWindow with RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN |
// RDW_UPDATENOW) timed skinned and unskinned in interleaved rounds: each round switches the skin
// on, times REPEATS repaints, switches it off and times REPEATS more (the switches are not
// timed). Prints the medians over the rounds and the median of the rounds' own ratios, one per
// line; every round on standard error. Usage: window_paint.exe [ROUNDS [REPEATS]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Forms.h"
#include "Pump.h"
#include "mainForm.h"
#include "skin/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1e6 * double(t.QuadPart) / double(f.QuadPart);  // microseconds
}

using bench::PumpFor;

bool Skinned(HWND wnd) { return SendMessageW(wnd, skin::WM_SKIN_QUERY, 0, 0) == 1; }

// Switches the skin and waits until the window shows it.
bool SwitchSkin(skin::TSkinData& data, HWND wnd, bool on) {
  data.SetActive(on);
  for (int i = 0; i < 200 && Skinned(wnd) != on; ++i) PumpFor(5);
  PumpFor(40);
  return Skinned(wnd) == on;
}

double Repaints(HWND wnd, int repeats) {
  constexpr UINT kAll = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
  RedrawWindow(wnd, nullptr, nullptr, kAll);  // the first builds what later paints keep
  const double t0 = Now();
  for (int i = 0; i < repeats; ++i) RedrawWindow(wnd, nullptr, nullptr, kAll);
  return (Now() - t0) / repeats / 1000.0;  // milliseconds per repaint
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 7;
  const int repeats = argc > 2 ? std::max(1, _wtoi(argv[2])) : 30;
  fw::Application->Initialize();
  app::RegisterAppClasses();
  auto* form = new app::TFormSealbox(fw::Application);
  form->AfterConstruction();
  form->Show();
  PumpFor(200);
  HWND wnd = form->Handle();
  auto* data = dynamic_cast<skin::TSkinData*>(form->FindComponent(L"SkinData1"));
  if (!data || data->NoSkin() || !SwitchSkin(*data, wnd, true)) {
    std::fprintf(stderr, "the main window did not come up skinned\n");
    return 1;
  }
  skin::TWinSkinForm* skinForm = skin::SkinManager ? skin::SkinManager->FindSkinForm(wnd) : nullptr;
  std::fprintf(stderr, "skinned controls: %zu\n", skinForm ? skinForm->Controls().size() : 0u);
  std::vector<double> on, off, ratios;
  for (int r = 0; r < rounds; ++r) {
    if (!SwitchSkin(*data, wnd, true)) return 1;
    SetForegroundWindow(wnd);
    PumpFor(20);
    const double s = Repaints(wnd, repeats);
    if (!SwitchSkin(*data, wnd, false)) return 1;
    SetForegroundWindow(wnd);
    PumpFor(20);
    const double u = Repaints(wnd, repeats);
    on.push_back(s);
    off.push_back(u);
    ratios.push_back(u > 0 ? s / u : 0);
    std::fprintf(stderr, "round %d: skinned %.2f ms, unskinned %.2f ms\n", r + 1, s, u);
  }
  std::printf("window_paint_skinned_ms %.2f\n", Median(on));
  std::printf("window_paint_unskinned_ms %.2f\n", Median(off));
  std::printf("window_paint_ratio %.2f\n", Median(ratios));
  delete form;
  return 0;
}
