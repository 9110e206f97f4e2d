// A timer component: OnTimer every Interval milliseconds while Enabled.
#pragma once

#include <windows.h>

#include "Component.h"

namespace fw {

class TTimer : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TTimer(TComponent* owner);
  void BeforeDestruction() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int32_t Interval() const { return interval_; }
  void SetInterval(int32_t ms);
  void Loaded() override;

  TNotifyEvent OnTimer;

  // A tick of the timer with this id (the application's hidden window).
  static bool Dispatch(UINT_PTR id);

 private:
  void Update();
  bool enabled_ = true;
  int32_t interval_ = 1000;
  UINT_PTR id_ = 0;
  bool running_ = false;
};

}  // namespace fw
