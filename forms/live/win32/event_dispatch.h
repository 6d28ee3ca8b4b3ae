// Events from units to the program's handlers: the event records of notify codes 2008 and 2031,
// the handler lookup, and the current event source.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/program_routine.h"

namespace velmora::forms {

struct EventRecord {
  uint32_t windowId = 0;
  uint32_t unitId = 0;
  int32_t event = 0;
  int32_t argCount = 0;  // 0 to 5
  uint32_t args[5] = {};
  uint32_t resultFlag = 0;  // 1 when the handler answered
  uint32_t result = 0;
};

struct TypedArgument {
  uint32_t low = 0;
  uint32_t high = 0;
  uint32_t type = 0;   // a value type code
  uint32_t flags = 0;  // bit 0: the low word only; bit 1: both words
};

struct TypedEventRecord {
  uint32_t windowId = 0;
  uint32_t unitId = 0;
  int32_t event = 0;
  int32_t argCount = 0;  // 0 to 12
  TypedArgument args[12] = {};
  uint32_t resultFlag = 0;
  uint32_t resultLow = 0;
  uint32_t resultHigh = 0;
};

// Notify 2008 and 2031: 1 when a handler was called, else 0.
int32_t dispatchEvent(EventRecord& record);
int32_t dispatchTypedEvent(TypedEventRecord& record);

// Notify 2017: 1 and the source of the event whose handler runs, or 0 when none runs.
int32_t currentEventSource(uint32_t* source);

// Raises an event of a unit (unit id 0: the window) with word arguments; true when a handler
// answered logical false, which refuses the unit's default action.
bool eventRefused(uint32_t windowId, uint32_t unitId, int32_t event,
                  std::initializer_list<uint32_t> args = {});

// Runs a program routine as an event of a loaded window (the window as its source); held while a
// load runs or a handler waits in a message box.
runtime::RoutineCall callProgramRoutine(uint32_t windowId, runtime::ProgramRoutine routine);

}  // namespace velmora::forms
