// Reading and writing unit properties by window id, unit id and property index (entry slots 4
// and 5): the common properties 0 to 7 from the record or the live window, the type's own
// properties through its interface functions, and menu items.
#pragma once

#include <cstdint>

namespace velmora::forms {

class FormRegistry;

uint64_t readUnitProperty(FormRegistry& registry, uint32_t windowId, uint32_t unitId,
                          int32_t property, int32_t part);
void writeUnitProperty(FormRegistry& registry, uint32_t windowId, uint32_t unitId, int32_t property,
                       int32_t part, uint32_t low, uint32_t high);

}  // namespace velmora::forms
