#include "forms/live/win32/program_timers.h"

#include <algorithm>

#include "forms/live/win32/event_dispatch.h"
#include "forms/live/win32/form_registry.h"
#include "runtime/commands/arguments.h"

namespace velmora::forms {
namespace {

// The program's timer ids on a window start here, apart from any the window system uses.
constexpr UINT_PTR kFirstTimerId = 0x5600;

LiveWindow* loadedWindow(const runtime::ArgRecord& reference) {
  const WindowObject* window = formRegistry().find(reference.value.low);
  return window ? formRegistry().liveWindow(*window) : nullptr;
}

runtime::ProgramRoutine routineOf(const runtime::ArgRecord& argument) {
  return reinterpret_cast<runtime::ProgramRoutine>(argument.value.asPointer());
}

std::vector<ProgramTimer>::iterator timerOf(LiveWindow& window, runtime::ProgramRoutine routine) {
  return std::find_if(window.timers.begin(), window.timers.end(),
                      [&](const ProgramTimer& timer) { return timer.routine == routine; });
}

UINT_PTR freeTimerId(const LiveWindow& window) {
  UINT_PTR id = kFirstTimerId;
  while (std::any_of(window.timers.begin(), window.timers.end(),
                     [&](const ProgramTimer& timer) { return timer.id == id; })) {
    ++id;
  }
  return id;
}

}  // namespace

void startTimerCommand(runtime::ResultRecord* result, int32_t argCount,
                       const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  result->value.setLogical(false);
  LiveWindow* window = loadedWindow(arguments.record(1));
  const int32_t milliseconds = arguments.integer(2);
  const runtime::ProgramRoutine routine = routineOf(arguments.record(3));
  if (window == nullptr || milliseconds < 1 || routine == nullptr) return;
  auto timer = timerOf(*window, routine);
  const UINT_PTR id = timer != window->timers.end() ? timer->id : freeTimerId(*window);
  if (SetTimer(window->window, id, static_cast<UINT>(milliseconds), nullptr) == 0) return;
  if (timer == window->timers.end()) window->timers.push_back({id, routine});
  result->value.setLogical(true);
}

void stopTimerCommand(runtime::ResultRecord*, int32_t argCount, const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  LiveWindow* window = loadedWindow(arguments.record(1));
  if (window == nullptr) return;
  auto timer = timerOf(*window, routineOf(arguments.record(2)));
  if (timer == window->timers.end()) return;
  KillTimer(window->window, timer->id);
  window->timers.erase(timer);
}

bool programTimerTicked(LiveWindow& window, UINT_PTR id) {
  auto timer = std::find_if(window.timers.begin(), window.timers.end(),
                            [&](const ProgramTimer& t) { return t.id == id; });
  if (timer == window.timers.end()) return false;
  // A tick while a load runs or a handler waits is skipped: the next one comes soon enough.
  callProgramRoutine(window.windowId, timer->routine);
  return true;
}

}  // namespace velmora::forms
