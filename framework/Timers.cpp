// TTimer through SetTimer on its own hidden window.
#include "Timers.h"

namespace fw {

const TClassInfo& TTimer::StaticClassInfo() {
  static const TClassInfo info{
      "TTimer",
      &TComponent::StaticClassInfo(),
      [](TComponent* owner) -> TComponent* { return new TTimer(owner); },
      {{"Enabled", TPropKind::Boolean, [](TObject* o) -> TPropValue { return As<TTimer>(o)->Enabled(); },
        [](TObject* o, const TPropValue& v) { As<TTimer>(o)->SetEnabled(PropBool(v)); }},
       {"Interval", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TTimer>(o)->Interval()); },
        [](TObject* o, const TPropValue& v) { As<TTimer>(o)->SetInterval(static_cast<unsigned>(PropInt(v))); }},
       {"OnTimer", TPropKind::Method, [](TObject* o) -> TPropValue { return As<TTimer>(o)->OnTimer.Ref(); },
        [](TObject* o, const TPropValue& v) {
          As<TTimer>(o)->SetOnTimer(std::holds_alternative<TMethodRef>(v) ? TNotifyEvent(std::get<TMethodRef>(v))
                                                                         : TNotifyEvent());
        }}},
      {}};
  return info;
}

TTimer::TTimer(TComponent* owner)
    : TComponent(owner), FWindow(TUtilWindow::THandler::Of<&TTimer::WndProc>(this)) {}

TTimer::~TTimer() {
  FEnabled = false;
  UpdateTimer();
}

void TTimer::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == FInterval) return;
  FInterval = ms;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent e) {
  OnTimer = e;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

// The system timer runs only while enabled, with an interval and a handler, and not while
// the stored form is still being read.
void TTimer::UpdateTimer() {
  if (FRunning) {
    KillTimer(FWindow.Handle(), 1);
    FRunning = false;
  }
  if (FEnabled && FInterval > 0 && OnTimer.Assigned() && !IsLoading() && !IsDestroying()) {
    if (!SetTimer(FWindow.Handle(), 1, FInterval, nullptr)) throw EOutOfMemory(L"没有足够的定时器");
    FRunning = true;
  }
}

void TTimer::WndProc(TMessage& m) {
  if (m.Msg == WM_TIMER) {
    if (OnTimer.Assigned()) OnTimer(this);
    m.Result = 0;
    return;
  }
  m.Result = FWindow.Default(m);
}

}  // namespace fw
