// TMyStatusBar: the owner-drawn panel that carries the progress bar, and the PIndex rules.
#include "MyStatusBar.h"

namespace app {

using namespace fw;

namespace {
// Room left free for the size grip when the progress bar sits in the last panel.
constexpr int kGripRoom = 12;
}  // namespace

const TClassInfo& TMyStatusBar::StaticClassInfo() {
  static const TClassInfo info{
      "TMyStatusBar",
      &TStatusBar::StaticClassInfo(),
      [](TComponent* owner) -> TComponent* { return new TMyStatusBar(owner); },
      {{"PIndex", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TMyStatusBar>(o)->PIndex()); },
        [](TObject* o, const TPropValue& v) { As<TMyStatusBar>(o)->SetPIndex(static_cast<int>(PropInt(v))); }}},
      {}};
  return info;
}

TMyStatusBar::TMyStatusBar(TComponent* owner) : TStatusBar(owner) {
  SetSimplePanel(false);
  Panels()->Clear();
  Panels()->Add()->SetStyle(psText);
  Panels()->Add()->SetStyle(psText);
  Panels()->Add()->SetStyle(psOwnerDraw);
  // Owned by the status bar, so that it goes with it and is not one of the form's stored parts.
  FProgressBar = new TProgressBar(this);
  FProgressBar->SetName(L"ProgressBar");
  FProgressBar->SetPosition(0);
  FPIndex = 2;
}

TMyStatusBar::~TMyStatusBar() {
  delete FProgressBar;
  FProgressBar = nullptr;
}

void TMyStatusBar::SetPIndex(int value) {
  const int count = Panels()->Count();
  if (value < 0 || value >= count) return;
  if (FPIndex > count - 1) FPIndex = count - 1;
  if (FPIndex >= 0) Panels()->Items(FPIndex)->SetStyle(psText);
  TStatusPanel* target = Panels()->Items(value);
  if (target->Style() != psOwnerDraw) target->SetStyle(psOwnerDraw);
  FPIndex = value;
  FProgressBar->SetParent(nullptr);
  Invalidate();
}

void TMyStatusBar::DrawPanel(TStatusPanel* panel, const RECT& rect) {
  TStatusBar::DrawPanel(panel, rect);
  if (panel->Index() != FPIndex) return;
  const int right = FPIndex == Panels()->Count() - 1 ? rect.right - kGripRoom : rect.right;
  FProgressBar->SetBounds(rect.left - 1, rect.top - 1, right - (rect.left - 1), rect.bottom + 1 - (rect.top - 1));
  FProgressBar->SetParent(this);
}

}  // namespace app
