// A routine of the program that no binding in the window data names: the tick of a timer the
// program started, or the end of a request it started off the user-interface thread. It takes no
// arguments and gives no result, and runs on the user-interface thread as an event of a loaded
// window, so it sees the same world as any handler.
#pragma once

#include <cstdint>

namespace velmora::runtime {

using ProgramRoutine = void (*)();

// What became of a call of a program routine.
enum class RoutineCall : int32_t {
  kWindowGone = 0,  // the window is not loaded: nothing ran, and nothing will for it
  kCalled = 1,
  kHeld = 2,  // the window is loading or a handler waits in a message box: try again later
};

// Runtime notify code: first the window id, second the routine; answers a RoutineCall.
inline constexpr int32_t kNotifyCallProgramRoutine = 2100;
// Runtime notify codes around a wait of a handler that keeps the windows painting (a request):
// the program's routines are held while it lasts.
inline constexpr int32_t kNotifyHandlerWaits = 2101;
inline constexpr int32_t kNotifyHandlerGoesOn = 2102;

}  // namespace velmora::runtime
