#include "forms/live/unit_slots.h"

namespace velmora {
namespace {

uint32_t wordAt(const UnitTable& table, uint32_t index, size_t place) {
  return loadWord(table.recordAt(index).data() + place);
}

void setWordAt(UnitTable& table, uint32_t index, size_t place, uint32_t value) {
  storeWord(table.recordAt(index).data() + place, value);
}

size_t rectPlace(const UnitTable& table, uint32_t index, RectField field) {
  return table.placesAt(index).liveObject + 4 + 4 * static_cast<size_t>(field);
}

}  // namespace

LiveUnit* storedLiveObject(const UnitTable& table, uint32_t index) {
  if (index >= table.count()) return nullptr;
  return reinterpret_cast<LiveUnit*>(
      static_cast<uintptr_t>(wordAt(table, index, table.placesAt(index).liveObject)));
}

void storeLiveObject(UnitTable& table, uint32_t index, LiveUnit* unit) {
  if (index >= table.count()) return;
  setWordAt(table, index, table.placesAt(index).liveObject,
            static_cast<uint32_t>(reinterpret_cast<uintptr_t>(unit)));
}

HCURSOR storedPointer(const UnitTable& table, uint32_t index) {
  if (index >= table.count()) return nullptr;
  return reinterpret_cast<HCURSOR>(
      static_cast<uintptr_t>(wordAt(table, index, table.placesAt(index).cursor)));
}

void storePointer(UnitTable& table, uint32_t index, HCURSOR pointer) {
  if (index >= table.count()) return;
  setWordAt(table, index, table.placesAt(index).cursor,
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
  if (index >= table.count()) return 0;
  return static_cast<int32_t>(wordAt(table, index, rectPlace(table, index, field)));
}

void storeRect(UnitTable& table, uint32_t index, RectField field, int32_t value) {
  if (index >= table.count()) return;
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

}  // namespace velmora
