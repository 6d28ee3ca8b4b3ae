// The functions a unit type answers through its interface function (interface(n), see
// forms/format/unit_type_descriptors.h): 1 create, 4 property changed, 5 serialise, 6 read. The
// form runtime reaches a unit type only through these; the unit types implement them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/program_image.h"

namespace velmora::forms {

// The live object of a unit: whatever the unit type keeps for a unit that exists, beginning with
// this record. The runtime reads the window handle and nothing else of a unit's object; only the
// window type's objects (forms/live/win32/live_window.h) are read further, by the form runtime
// itself.
struct LiveUnit {
  HWND window = nullptr;
};

// The numbers of the interface functions the runtime calls.
inline constexpr int32_t kCreateUnit = 1;
inline constexpr int32_t kPropertyChanged = 4;
inline constexpr int32_t kSerialiseUnit = 5;
inline constexpr int32_t kReadProperty = 6;

// A property value as it passes between the runtime and a unit type: the value in `first` (a
// double or date-time in both words), or for texts a pointer to the zero-terminated text, and for
// data kinds (pictures, icons, sounds, pointers, fonts, byte data) a pointer to the bytes in
// `first` and their length in `second`. What a read function hands out stays the unit's: the
// runtime copies it before the unit changes again.
struct PropertyValue {
  uintptr_t first = 0;
  uint32_t second = 0;
};

// 1: creates a unit from its stored property block with the window system's style bits, parent
// window, control id (or menu handle for a window), rectangle and ids. The runtime passes null and
// 0 for the design handle and flag. Null when the block is refused (a newer version, a block that
// ends early) or the window system refuses the window.
using CreateUnitFunction = LiveUnit*(VELMORA_STDCALL*)(const uint8_t* block, uint32_t blockLength,
                                                       uint32_t style, HWND parent,
                                                       uintptr_t controlIdOrMenu, int32_t x,
                                                       int32_t y, int32_t width, int32_t height,
                                                       uint32_t windowId, uint32_t unitId,
                                                       HWND designHandle, int32_t designFlag);

// 4: own property ownIndex (see ownIndexOf in forms/format/property_indices.h) was written; the
// unit stores and shows it. The value is lent for the call. Answers 1 when the unit must be created
// anew to show the change, else 0. The last argument is always 0.
using PropertyChangedFunction = int32_t(VELMORA_STDCALL*)(LiveUnit* unit, int32_t ownIndex,
                                                          const PropertyValue* value,
                                                          int32_t reserved);

// 5: writes all of the unit's current properties as a property block at the highest version into
// a new movable global memory block, which the caller releases with GlobalFree. False (and no
// block) when it cannot.
struct SerialisedBlock {
  HGLOBAL block = nullptr;
  uint32_t length = 0;
};
using SerialiseUnitFunction = int32_t(VELMORA_STDCALL*)(LiveUnit* unit, SerialisedBlock* out);

// 6: reads own property ownIndex into out; answers 1 when the unit has the property, else 0.
using ReadPropertyFunction = int32_t(VELMORA_STDCALL*)(LiveUnit* unit, int32_t ownIndex,
                                                       PropertyValue* out);

}  // namespace velmora::forms
