// The interface functions of the standard unit types, for the library descriptors.
#pragma once

#include <cstdint>

namespace velmora::controls {

// The interface function of the unit type with this code; null for a type that is not one of
// the units of this library (the standard units, the super button and the transparent label). Its
// type is the descriptors' UnitTypeInterface, named here without their header, which can't follow
// <windows.h> (whose `interface` macro it would meet).
using StandardUnitInterface = void* (*)(int32_t number);
StandardUnitInterface standardUnitTypeInterface(uint32_t typeCode);

// The window is a unit type like the others, with its own interface function.
void* windowUnitInterface(int32_t number);
void* labelInterface(int32_t number);
void* editBoxInterface(int32_t number);
void* picBoxInterface(int32_t number);
void* groupBoxInterface(int32_t number);
void* comboBoxInterface(int32_t number);
void* checkBoxInterface(int32_t number);
void* shapeBoxInterface(int32_t number);
void* cartoonBoxInterface(int32_t number);
void* superButtonInterface(int32_t number);
void* transLabelInterface(int32_t number);

}  // namespace velmora::controls
