// The clock of the running system: tick count, local time of day, Sleep.
#pragma once
#include "Clock.h"

namespace halvin {

class SystemClock : public Clock {
 public:
  uint32_t Ticks() override;
  uint32_t TimeOfDay() override;
  void Sleep(uint32_t ms) override;
};

}  // namespace halvin
