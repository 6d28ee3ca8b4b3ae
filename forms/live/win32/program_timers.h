// Timers the program starts on a loaded window: its routine runs at each tick, as an event of the
// window, until the program stops the timer or the window goes. A periodic job of the program
// needs no unit in the window data for it.
#pragma once

#include <windows.h>

#include "forms/live/win32/live_window.h"
#include "runtime/tagged_value.h"

namespace velmora::forms {

// startTimer(window reference, milliseconds, routine) -> logical: false when the window is not
// loaded or the interval is below 1. Starting a routine that already ticks on the window only
// sets its interval anew.
void startTimerCommand(runtime::ResultRecord* result, int32_t argCount,
                       const runtime::ArgRecord* args);
// stopTimer(window reference, routine): nothing when it does not tick there.
void stopTimerCommand(runtime::ResultRecord* result, int32_t argCount,
                      const runtime::ArgRecord* args);

// WM_TIMER on the window: true when the timer was the program's.
bool programTimerTicked(LiveWindow& window, UINT_PTR id);

}  // namespace velmora::forms
