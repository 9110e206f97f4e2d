// The library's view of time: a millisecond tick count for the read loops,
// the time of day for the bus polling rules, and sleeping. The DLL uses the
// system clock; the tests drive a fake one.
#pragma once
#include <cstdint>

namespace halvin {

constexpr uint32_t kMsPerDay = 24u * 60u * 60u * 1000u;

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since some fixed moment; wraps like a 32-bit tick count.
  virtual uint32_t Ticks() = 0;
  // Milliseconds since local midnight: ((h * 60 + m) * 60 + s) * 1000 + ms.
  virtual uint32_t TimeOfDay() = 0;
  virtual void Sleep(uint32_t ms) = 0;
};

// Milliseconds from `earlier` to `later`, both times of day, counting over
// midnight: 23:59:59.990 to 00:00:00.005 is 15 ms.
inline uint32_t DayTimeSince(uint32_t earlier, uint32_t later) {
  return (later + kMsPerDay - earlier % kMsPerDay) % kMsPerDay;
}

}  // namespace halvin
