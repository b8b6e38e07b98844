// Benchmark program: encrypts one file as the batch does (built-in key, stream mode, derived-key
// form, a progress handler after every chunk) and prints the time taken and the throughput, one
// figure per line.
//   batch_throughput SOURCE DESTINATION [--blocking|--overlapped]
//     TCryptoApi alone, its handler computing the percentage. --blocking and --overlapped choose
//     the engine's chunk loop (TCryptoApi::SetOverlappedIo); without either, its default.
//   batch_throughput SOURCE FOLDER --window
//     The same file as a batch of the main window, skinned with its built-in skin and shown:
//     its own engine (default loop) and progress handler, which sets the skinned progress bar
//     and the percentage panel and handles the window's messages (the bar's repaint) after every
//     chunk. The output is FOLDER\NAME.sbx. Needs a display.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "CryApi.h"
#include "Forms.h"
#include "Pump.h"
#include "MsgBox.h"
#include "MyStatusBar.h"
#include "SysUtils.h"
#include "mainForm.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinStatus.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

namespace {

// Stands in for the main window's progress handler: the percentage of the file done.
struct TProgress {
  uint32_t Percent = 0;
  void Solution(fw::TObject* sender, uint64_t position, bool&) {
    Percent = crypto::ProgressPercent(position, static_cast<crypto::TCryptoApi*>(sender)->SourceSize());
  }
};

using bench::PumpFor;

template <class F>
bool PumpUntil(F done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    PumpFor(5);
  }
  return true;
}

// Forwards each progress event to the window's handler and adds up the time spent in it.
struct TTimedHandler {
  app::TFormSealbox* Form = nullptr;
  double Seconds = 0;
  int Calls = 0;
  void Solution(fw::TObject* sender, uint64_t position, bool& stop) {
    const auto start = std::chrono::steady_clock::now();
    Form->DecryptSolution(sender, position, stop);
    Seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++Calls;
  }
};

// The batch of one file through the skinned main window.
int RunWindow(const std::wstring& source, const std::wstring& folder, bool skinned) {
  // A message box would wait for a click: each is answered and reported.
  fw::SetMessageBoxHook([](const fw::TMessageBoxRequest& r) {
    std::fprintf(stderr, "message box: %s\n", fw::WideToUtf8(r.Text).c_str());
    return IDOK;
  });
  fw::Application->Initialize();
  app::RegisterAppClasses();
  auto* form = new app::TFormSealbox(fw::Application);
  form->AfterConstruction();
  form->Show();
  const HWND window = form->Handle();
  auto* data = dynamic_cast<skin::TSkinData*>(form->FindComponent(L"SkinData1"));
  if (!data || data->NoSkin()) {
    std::fprintf(stderr, "the main window has no skin\n");
    return 1;
  }
  data->SetActive(true);
  if (!skinned) data->SetActive(false);
  fw::TProgressBar* bar = form->MyStatusBar1->ProgressBar();
  const auto barSkinned = [&] {
    skin::TWinSkinForm* f = skin::SkinManager ? skin::SkinManager->FindSkinForm(window) : nullptr;
    HWND h = bar->Parent() ? bar->HandleIfAllocated() : nullptr;
    return !skinned || (f && h && dynamic_cast<skin::TSkinProgress*>(f->FindControlByHandle(h)) != nullptr);
  };
  if (!PumpUntil(barSkinned, 5000)) {
    std::fprintf(stderr, "the main window's progress bar did not come up skinned\n");
    return 1;
  }
  SetForegroundWindow(window);
  PumpFor(100);
  form->AddSourceFiles({source});
  form->LEDest->SetText(folder);
  const std::wstring output =
      folder + (folder.ends_with(L'\\') ? L"" : L"\\") + fw::ExtractFileName(source) + L".sbx";
  DeleteFileW(output.c_str());
  PumpFor(20);

  // One repaint of the bar, drawn by the skin and by the system (the skin switched off for it).
  const auto repaint = [&](int repeats) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i)
      RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / repeats;
  };
  double skinPaint = 0, systemPaint = 0;
  if (skinned) {
    bar->SetPosition(50);
    repaint(20);
    skinPaint = repaint(200);
    SendMessageW(bar->Handle(), skin::WM_SKIN_ENABLE, 0, 0);
    repaint(20);
    systemPaint = repaint(200);
    SendMessageW(bar->Handle(), skin::WM_SKIN_ENABLE, 1, 0);
    bar->SetPosition(0);
    PumpFor(20);
  }

  TTimedHandler timed;
  timed.Form = form;
  form->Encrypt->onSolution = crypto::TSolutionEvent::Of<&TTimedHandler::Solution>(&timed);
  const auto start = std::chrono::steady_clock::now();
  form->CifraClick(form);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::vector<std::wstring> log = form->MemoDest->Lines()->ToVector();
  const int shown = static_cast<int>(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0));
  if (log != std::vector<std::wstring>{output} || shown != 100 || !barSkinned()) {
    std::fprintf(stderr, "the window's batch failed (log %s, bar at %d)\n",
                 log.empty() ? "empty" : fw::WideToUtf8(log[0]).c_str(), shown);
    return 1;
  }
  const uint64_t size = form->Encrypt->SourceSize();
  std::printf("window_loop %s\n", form->Encrypt->OverlappedIo() ? "overlapped" : "blocking");
  std::printf("window_bytes %llu\n", static_cast<unsigned long long>(size));
  std::printf("window_seconds %.3f\n", seconds);
  std::printf("window_handler_seconds %.3f\n", timed.Seconds);
  std::printf("window_handler_calls %d\n", timed.Calls);
  if (skinned) {
    std::printf("bar_repaint_skinned_ms %.3f\n", skinPaint);
    std::printf("bar_repaint_system_ms %.3f\n", systemPaint);
  }
  std::printf("window_MBps %.1f\n", static_cast<double>(size) / seconds / 1e6);
  delete form;
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring loop = argc == 4 ? argv[3] : L"";
  if ((argc != 3 && argc != 4) ||
      (argc == 4 && loop != L"--blocking" && loop != L"--overlapped" && loop != L"--window" && loop != L"--window-unskinned")) {
    std::fprintf(stderr, "usage: batch_throughput SOURCE DESTINATION [--blocking|--overlapped]\n"
                         "       batch_throughput SOURCE FOLDER --window\n");
    return 2;
  }
  if (loop == L"--window" || loop == L"--window-unskinned") {
    try {
      return RunWindow(argv[1], argv[2], loop == L"--window");
    } catch (const fw::Exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
  }
  crypto::TCryptoApi engine(nullptr);
  if (!loop.empty()) engine.SetOverlappedIo(loop == L"--overlapped");
  engine.SetSource(argv[1]);
  engine.SetDestination(argv[2]);
  engine.SetPassword("470913");
  engine.SetMode(crypto::cmStream);
  TProgress progress;
  engine.onSolution = crypto::TSolutionEvent::Of<&TProgress::Solution>(&progress);
  try {
    const auto start = std::chrono::steady_clock::now();
    const bool ok = engine.EncryptFile();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!ok || progress.Percent != 100) {
      std::fprintf(stderr, "EncryptFile failed\n");
      return 1;
    }
    std::printf("engine_loop %s\n", engine.OverlappedIo() ? "overlapped" : "blocking");
    std::printf("engine_bytes %llu\n", static_cast<unsigned long long>(engine.SourceSize()));
    std::printf("engine_seconds %.3f\n", seconds);
    std::printf("engine_MBps %.1f\n", static_cast<double>(engine.SourceSize()) / seconds / 1e6);
  } catch (const fw::Exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
