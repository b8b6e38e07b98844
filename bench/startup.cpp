// Start-up benchmark driver: starts the program and the reference window alternately, each
// with "--startup-event NAME", and times process creation to the event its first paint sets.
// Prints the median of each side and their ratio. Usage: startup.exe PROGRAM REFERENCE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Milliseconds from CreateProcess to the first paint of the started program; -1 on failure.
double TimeToFirstPaint(const std::wstring& exe, int run) {
  const std::wstring name = L"SealboxStartup_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(run);
  HANDLE painted = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  std::wstring cmd = L"\"" + exe + L"\" --startup-event " + name;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER freq, t0, t1;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&t0);
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
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
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup PROGRAM REFERENCE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 7;
  std::vector<double> program, reference;
  // One unmeasured start of each warms the file cache and the system's own set-up.
  TimeToFirstPaint(argv[1], -1);
  TimeToFirstPaint(argv[2], -2);
  for (int i = 0; i < runs; ++i) {
    const double p = TimeToFirstPaint(argv[1], 2 * i);
    const double r = TimeToFirstPaint(argv[2], 2 * i + 1);
    if (p < 0 || r < 0) {
      std::fprintf(stderr, "run %d: a program did not paint\n", i + 1);
      return 1;
    }
    program.push_back(p);
    reference.push_back(r);
  }
  const double mp = Median(program), mr = Median(reference);
  std::printf("startup_program_ms %.1f\n", mp);
  std::printf("startup_reference_ms %.1f\n", mr);
  std::printf("startup_ratio %.2f\n", mr > 0 ? mp / mr : 0.0);
  return 0;
}
