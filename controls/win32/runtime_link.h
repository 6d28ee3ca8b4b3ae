// The units' way to the runtime: the runtime's notify function, which the library is handed at
// start, and the requests the units make through it.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "controls/win32/live_unit.h"
#include "runtime/program_image.h"

namespace velmora::controls {

inline constexpr int32_t kNotifyUnitGone = 2000;
inline constexpr int32_t kNotifyRaiseEvent = 2008;

// The eleven-word record of a raised event.
struct EventRecord {
  uint32_t windowId;
  uint32_t unitId;
  int32_t event;
  int32_t argumentCount;
  int32_t arguments[5];
  int32_t resultFlag;
  int32_t result;
};
static_assert(sizeof(EventRecord) == 11 * 4);

void setUnitsRuntimeNotify(runtime::NotifyFunction notify);

// Raises event `event` of the unit with up to five arguments. True when a handler ran and
// answered logical false: the unit then skips its default behaviour.
bool raiseEvent(const StandardUnit& unit, int32_t event,
                std::initializer_list<int32_t> arguments = {});

// Tells the runtime that the unit's window is gone.
void reportUnitGone(const StandardUnit& unit);

}  // namespace velmora::controls
