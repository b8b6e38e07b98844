// Message pumping for the window benchmarks: the program's own loop for a while, or until a
// condition holds.
#pragma once
#include <windows.h>

#include "Forms.h"

namespace bench {

inline void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    fw::Application->ProcessMessages();
    Sleep(1);
  } while (GetTickCount() - start < ms);
}

}  // namespace bench
