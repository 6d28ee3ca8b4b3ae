// The platform's clock and pause, chosen at build time: the Windows kernel's local time, tick
// count and sleep, or the C++ clock elsewhere.
#pragma once

#include <cstdint>

namespace velmora::runtime {

struct LocalTime {
  int32_t year, month, day, hour, minute, second;
};

LocalTime localTimeNow();
// Milliseconds since the system started, wrapping at 2^32.
uint32_t tickCount();
void sleepMilliseconds(uint32_t milliseconds);

}  // namespace velmora::runtime
