// The clock on Windows: local time, tick count and sleep of the kernel.
#include <windows.h>

#include "runtime/commands/clock.h"

namespace velmora::runtime {

LocalTime localTimeNow() {
  SYSTEMTIME time;
  GetLocalTime(&time);
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

uint32_t tickCount() {
  return GetTickCount();
}

void sleepMilliseconds(uint32_t milliseconds) {
  Sleep(milliseconds);
}

}  // namespace velmora::runtime
