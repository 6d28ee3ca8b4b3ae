// Mouse pointer codes as the program sees them, and the system cursor ids behind them; the
// first word of a unit's pointer data holds the system id. Platform-neutral.
#pragma once

#include <cstdint>

#include "forms/format/archive.h"

namespace velmora::forms {

// Values in neither table pass unchanged.
uint32_t pointerIdFromCode(uint32_t code);
uint32_t pointerCodeFromId(uint32_t id);

// Pointer data with its first word converted; data shorter than a word passes unchanged.
Bytes pointerDataWithId(const uint8_t* data, uint32_t length);
Bytes pointerDataWithCode(const Bytes& data);

}  // namespace velmora::forms
