#include "forms/live/win32/unit_slots.h"

#include "forms/format/unit_ids.h"

namespace velmora::forms {
namespace {

uint32_t wordAt(const UnitTable& table, uint32_t index, size_t place) {
  return loadWord(table.recordAt(index).data() + place);
}

void setWordAt(UnitTable& table, uint32_t index, size_t place, uint32_t value) {
  storeWord(table.recordAt(index).data() + place, value);
}

// The live object word follows the type, the link, four reserved words and the two texts; found
// without reading the whole record, whose property block may hold pictures.
constexpr size_t kNamePlace = 24;
size_t liveObjectPlace(const UnitTable& table, uint32_t index) {
  const auto record = table.recordAt(index);
  size_t place = kNamePlace;
  for (int text = 0; text < 2; ++text) {
    while (place < record.size() && record[place] != 0) ++place;
    ++place;
  }
  return place;
}

constexpr size_t kCursorOffset = 20;  // after the live object and the rectangle
constexpr size_t kContainerOffset = 24;

size_t rectPlace(const UnitTable& table, uint32_t index, RectField field) {
  return liveObjectPlace(table, index) + 4 + 4 * static_cast<size_t>(field);
}

bool hasControlPart(const UnitTable& table, uint32_t index) {
  return index < table.count() && storedType(table, index) != kMenuItemType;
}

}  // namespace

uint32_t storedType(const UnitTable& table, uint32_t index) {
  return index < table.count() ? wordAt(table, index, 0) : 0;
}

bool isMenuItemAt(const UnitTable& table, uint32_t index) {
  return storedType(table, index) == kMenuItemType;
}

uint32_t storedContainer(const UnitTable& table, uint32_t index) {
  if (!hasControlPart(table, index)) return 0;
  return wordAt(table, index, liveObjectPlace(table, index) + kContainerOffset);
}

LiveUnit* storedLiveObject(const UnitTable& table, uint32_t index) {
  if (!hasControlPart(table, index)) return nullptr;
  return reinterpret_cast<LiveUnit*>(
      static_cast<uintptr_t>(wordAt(table, index, liveObjectPlace(table, index))));
}

void storeLiveObject(UnitTable& table, uint32_t index, LiveUnit* unit) {
  if (!hasControlPart(table, index)) return;
  setWordAt(table, index, liveObjectPlace(table, index),
            static_cast<uint32_t>(reinterpret_cast<uintptr_t>(unit)));
}

HCURSOR storedPointer(const UnitTable& table, uint32_t index) {
  if (!hasControlPart(table, index)) return nullptr;
  return reinterpret_cast<HCURSOR>(
      static_cast<uintptr_t>(wordAt(table, index, liveObjectPlace(table, index) + kCursorOffset)));
}

void storePointer(UnitTable& table, uint32_t index, HCURSOR pointer) {
  if (!hasControlPart(table, index)) return;
  setWordAt(table, index, liveObjectPlace(table, index) + kCursorOffset,
            static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)));
}

uint32_t unitFlags(const UnitTable& table, uint32_t index) {
  if (index >= table.count()) return 0;
  return wordAt(table, index, table.placesAt(index).flags);
}

void storeUnitFlags(UnitTable& table, uint32_t index, uint32_t flags) {
  if (index >= table.count()) return;
  setWordAt(table, index, table.placesAt(index).flags, flags);
}

int32_t storedRect(const UnitTable& table, uint32_t index, RectField field) {
  if (!hasControlPart(table, index)) return 0;
  return static_cast<int32_t>(wordAt(table, index, rectPlace(table, index, field)));
}

void storeRect(UnitTable& table, uint32_t index, RectField field, int32_t value) {
  if (!hasControlPart(table, index)) return;
  setWordAt(table, index, rectPlace(table, index, field), static_cast<uint32_t>(value));
}

HCURSOR pointerFromData(const Bytes& data) {
  if (data.size() < 4) return nullptr;
  const uint32_t id = loadWord(data.data());
  if (id == 0) return nullptr;
  return LoadCursorW(nullptr, MAKEINTRESOURCEW(id));
}

void rewriteRecord(UnitTable& table, uint32_t index, const UnitRecord& changed) {
  LiveUnit* unit = storedLiveObject(table, index);
  HCURSOR pointer = storedPointer(table, index);
  if (!table.replaceRecord(index, writeUnitRecord(changed))) return;
  storeLiveObject(table, index, unit);
  storePointer(table, index, pointer);
}

}  // namespace velmora::forms
