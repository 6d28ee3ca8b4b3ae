// Creating a unit anew when its type cannot show a property change on the unit it has.
#pragma once

#include <cstdint>

#include "forms/live/win32/form_registry.h"

namespace velmora::forms {

// Replaces the live unit at index by a new one of the same type made from its current
// properties, in the same place, stacking, parent, ids, state and focus.
void recreateUnit(WindowObject& window, uint32_t index, const UnitTypeDescriptor& type);

}  // namespace velmora::forms
