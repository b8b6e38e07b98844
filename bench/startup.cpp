// Start-up benchmark driver: starts each given command line in turn, RUNS rounds interleaved,
// each with " --startup-event NAME" appended, and times process creation to the event the
// program sets at its first paint. Prints "startup_<label>_ms <median>" per command line, in
// the order given, then "startup_<label>_over_<next label> <median of the rounds' ratios>" for
// each command line against the next, and every sample on standard error.
// Usage: startup.exe RUNS LABEL COMMANDLINE [LABEL COMMANDLINE ...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Milliseconds from CreateProcess to the first paint of the started program; -1 on failure.
double TimeToFirstPaint(const std::wstring& commandLine, int run) {
  const std::wstring name = L"SealboxStartup_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(run);
  HANDLE painted = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  std::wstring cmd = commandLine + L" --startup-event " + name;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER freq, t0, t1;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&t0);
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(painted);
    return -1;
  }
  const HANDLE both[] = {painted, pi.hProcess};
  const DWORD which = WaitForMultipleObjects(2, both, FALSE, 60000);
  QueryPerformanceCounter(&t1);
  double ms = which == WAIT_OBJECT_0 ? 1000.0 * double(t1.QuadPart - t0.QuadPart) / double(freq.QuadPart) : -1;
  // The program closes itself after its first paint; give it time, then make sure.
  if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(painted);
  return ms;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4 || (argc - 2) % 2 != 0) {
    std::fprintf(stderr, "usage: startup RUNS LABEL COMMANDLINE [LABEL COMMANDLINE ...]\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  struct TProgram {
    std::wstring Label, CommandLine;
    std::vector<double> Samples;
  };
  std::vector<TProgram> programs;
  for (int i = 2; i + 1 < argc; i += 2) programs.push_back({argv[i], argv[i + 1], {}});

  int serial = 0;
  // One unmeasured start of each warms the file cache and the system's own set-up.
  for (TProgram& p : programs) TimeToFirstPaint(p.CommandLine, serial++);
  for (int i = 0; i < runs; ++i) {
    for (TProgram& p : programs) {
      const double ms = TimeToFirstPaint(p.CommandLine, serial++);
      if (ms < 0) {
        std::fprintf(stderr, "run %d: %ls did not paint\n", i + 1, p.Label.c_str());
        return 1;
      }
      p.Samples.push_back(ms);
    }
  }
  for (const TProgram& p : programs) {
    std::fprintf(stderr, "%ls:", p.Label.c_str());
    for (double s : p.Samples) std::fprintf(stderr, " %.1f", s);
    std::fprintf(stderr, "\n");
  }
  for (const TProgram& p : programs) std::printf("startup_%ls_ms %.1f\n", p.Label.c_str(), Median(p.Samples));
  // Each program against the next one: the median of the rounds' own ratios (a round starts them
  // back to back, so a busy moment of the machine weighs on both sides of it).
  for (size_t k = 0; k + 1 < programs.size(); ++k) {
    std::vector<double> ratios;
    for (size_t i = 0; i < programs[k].Samples.size(); ++i)
      if (programs[k + 1].Samples[i] > 0) ratios.push_back(programs[k].Samples[i] / programs[k + 1].Samples[i]);
    std::printf("startup_%ls_over_%ls %.2f\n", programs[k].Label.c_str(), programs[k + 1].Label.c_str(),
                Median(ratios));
  }
  return 0;
}
