#include "Timer.h"

#include <map>

#include "Internal.h"

namespace fw {

namespace {
std::map<UINT_PTR, TTimer*>& Timers() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}
UINT_PTR NextTimerId() {
  static UINT_PTR id = 1000;
  return ++id;
}
}  // namespace

bool DispatchTimer(UINT_PTR id) { return TTimer::Dispatch(id); }

const TClassInfo& TTimer::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TTimer>("TTimer", &TComponent::StaticClass())
                                     .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
                                     .Int("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000)
                                     .Event("OnTimer", &TTimer::OnTimer);
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner), id_(NextTimerId()) { Timers()[id_] = this; }

void TTimer::BeforeDestruction() {
  TComponent::BeforeDestruction();
  if (running_) KillTimer(UtilityWindow(), id_);
  running_ = false;
  Timers().erase(id_);
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Update();
}

void TTimer::SetInterval(int32_t ms) {
  if (ms == interval_ || ms < 0) return;
  interval_ = ms;
  Update();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  Update();
}

void TTimer::Update() {
  if (IsLoading() || IsDestroying()) return;
  HWND w = UtilityWindow();
  if (running_) KillTimer(w, id_);
  running_ = false;
  if (enabled_ && interval_ > 0) running_ = SetTimer(w, id_, static_cast<UINT>(interval_), nullptr) != 0;
}

bool TTimer::Dispatch(UINT_PTR id) {
  auto it = Timers().find(id);
  if (it == Timers().end()) return false;
  TTimer* t = it->second;
  if (!t->enabled_ || !t->OnTimer) return true;
  // A copy runs: the handler may free the timer (and its handler) itself.
  const TNotifyEvent handler = t->OnTimer;
  handler(t);
  return true;
}

}  // namespace fw
