#include "SystemClock.h"

#include <windows.h>

namespace halvin {

uint32_t SystemClock::Ticks() { return GetTickCount(); }

uint32_t SystemClock::TimeOfDay() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return ((t.wHour * 60u + t.wMinute) * 60u + t.wSecond) * 1000u + t.wMilliseconds;
}

void SystemClock::Sleep(uint32_t ms) { ::Sleep(ms); }

}  // namespace halvin
