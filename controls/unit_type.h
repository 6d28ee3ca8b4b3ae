// The interface functions every unit type publishes (interface(n) gives function n) and the value
// pair they exchange with the form runtime.
#pragma once

#include <cstdint>

#include "runtime/program_image.h"

namespace velmora {

// A property value as the unit type functions pass it: an integer, colour, choice or logical in
// `first`; a text as a pointer to its zero-terminated GBK characters in `first`; picture, font
// and other byte data as a pointer to the bytes in `first` and their length in `second`. Values
// a unit hands out stay valid until the next call on that unit.
struct PropertyValuePair {
  uintptr_t first;
  uintptr_t second;
};

enum UnitTypeFunctionNumber : int32_t {
  kCreateUnitFunction = 1,
  kPropertyChangedFunction = 4,
  kSerialiseUnitFunction = 5,
  kReadPropertyFunction = 6,
};

// 1: creates a unit from its stored property block; returns its live object (whose first member
// is its window handle), or null when the block can't be read or the window can't be made.
using CreateUnitFunction = void*(VELMORA_STDCALL*)(const uint8_t* block, uint32_t blockLength,
                                                   uint32_t style, void* parent,
                                                   uintptr_t controlIdOrMenu, int32_t x, int32_t y,
                                                   int32_t width, int32_t height, uint32_t windowId,
                                                   uint32_t unitId, uintptr_t designHandle,
                                                   int32_t designFlag);

// 4: own property `ownIndex` (index - 8) was written; returns 1 when the unit must be created
// anew to show it, else 0.
using PropertyChangedFunction = int32_t(VELMORA_STDCALL*)(void* live, int32_t ownIndex,
                                                          const PropertyValuePair* value,
                                                          int32_t reserved);

// 5: the unit's current properties as a new property block: a movable global memory block of
// exactly `*blockLength` bytes, which the caller frees with GlobalFree.
using SerialiseUnitFunction = void*(VELMORA_STDCALL*)(void* live, uint32_t* blockLength);

// 6: reads own property `ownIndex`; returns 1 (logical true) when the unit has it.
using ReadPropertyFunction = int32_t(VELMORA_STDCALL*)(void* live, int32_t ownIndex,
                                                       PropertyValuePair* value);

}  // namespace velmora
