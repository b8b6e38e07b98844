// What a framework control is told by its scroll bars: the scroll request codes of WM_VSCROLL
// (or WM_HSCROLL), in order, seen in front of the control's own WindowProc.
#pragma once
#include <windows.h>

#include <vector>

#include "Controls.h"

namespace testspy {

struct TScrollSpy {
  explicit TScrollSpy(fw::TWinControl* c, UINT msg = WM_VSCROLL) : Control(c), Msg(msg), Previous(c->WindowProc) {
    c->WindowProc = fw::TWndMethod::Of<&TScrollSpy::Proc>(this);
  }
  ~TScrollSpy() {
    if (Control->WindowProc == fw::TWndMethod::Of<&TScrollSpy::Proc>(this)) Control->WindowProc = Previous;
  }
  TScrollSpy(const TScrollSpy&) = delete;
  TScrollSpy& operator=(const TScrollSpy&) = delete;
  void Proc(fw::TMessage& m) {
    if (m.Msg == Msg) Codes.push_back(LOWORD(m.WParam));
    Previous(m);
  }
  fw::TWinControl* Control;
  UINT Msg;
  fw::TWndMethod Previous;
  std::vector<int> Codes;
};

}  // namespace testspy
