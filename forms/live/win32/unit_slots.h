// The words of a unit record that change at run time, read and written in place in a window's
// live unit table: the live object, the pointer handle, the flags and the rectangle.
#pragma once

#include <windows.h>

#include <cstdint>

#include "forms/format/unit_table.h"
#include "forms/unit_type_interface.h"

namespace velmora::forms {

enum class RectField { kLeft = 0, kTop = 1, kWidth = 2, kHeight = 3 };

uint32_t storedType(const UnitTable& table, uint32_t index);
bool isMenuItemAt(const UnitTable& table, uint32_t index);
// The container's id; 0 for the window itself and for menu items.
uint32_t storedContainer(const UnitTable& table, uint32_t index);
// The words below belong to units other than menu items; a menu item has none of them.
LiveUnit* storedLiveObject(const UnitTable& table, uint32_t index);
void storeLiveObject(UnitTable& table, uint32_t index, LiveUnit* unit);
HCURSOR storedPointer(const UnitTable& table, uint32_t index);
void storePointer(UnitTable& table, uint32_t index, HCURSOR pointer);
uint32_t unitFlags(const UnitTable& table, uint32_t index);
void storeUnitFlags(UnitTable& table, uint32_t index, uint32_t flags);
int32_t storedRect(const UnitTable& table, uint32_t index, RectField field);
void storeRect(UnitTable& table, uint32_t index, RectField field, int32_t value);

// The pointer that pointer data names: a shared system cursor, which is never destroyed; none
// for empty data or the default pointer.
HCURSOR pointerFromData(const Bytes& data);

// Replaces a record by a changed copy of it, keeping its live object and pointer handle.
void rewriteRecord(UnitTable& table, uint32_t index, const UnitRecord& changed);

}  // namespace velmora::forms
