// Benchmark program: encrypts one file with TCryptoApi as the batch does (built-in key, stream
// mode, derived-key form, a progress handler computing the percentage after every chunk) and
// prints the time taken and the throughput, one figure per line. --blocking and --overlapped
// choose the engine's chunk loop (TCryptoApi::SetOverlappedIo); without either, its default.
//   batch_throughput SOURCE DESTINATION [--blocking|--overlapped]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "CryApi.h"
#include "SysUtils.h"

namespace {

// Stands in for the main window's progress handler: the percentage of the file done.
struct TProgress {
  uint32_t Percent = 0;
  void Solution(fw::TObject* sender, uint64_t position, bool&) {
    Percent = crypto::ProgressPercent(position, static_cast<crypto::TCryptoApi*>(sender)->SourceSize());
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring loop = argc == 4 ? argv[3] : L"";
  if ((argc != 3 && argc != 4) || (argc == 4 && loop != L"--blocking" && loop != L"--overlapped")) {
    std::fprintf(stderr, "usage: batch_throughput SOURCE DESTINATION [--blocking|--overlapped]\n");
    return 2;
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
