// One unit record of a window's unit table: the common properties, container and children,
// event bindings and the type's property block; or, for a menu item, its caption and handler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "forms/format/archive.h"

namespace velmora::forms {

inline constexpr uint32_t kUnitVisible = 1;  // menu items: hidden
inline constexpr uint32_t kUnitDisabled = 2;
inline constexpr uint32_t kUnitTabStop = 4;  // menu items: check mark shown

// A handler offset of this value binds no handler.
inline constexpr int32_t kNoHandler = -1;

struct EventBinding {
  int32_t event = 0;
  int32_t handler = kNoHandler;  // offset from the code base
  bool operator==(const EventBinding&) const = default;
};

struct UnitRecord {
  uint32_t type = 0;
  uint32_t link = 0;  // a unit of the same type whose handlers this one shares; 0 none
  std::string name;
  std::string remark;
  uint32_t flags = 0;
  // Units other than menu items.
  int32_t left = 0, top = 0, width = 0, height = 0;
  uint32_t container = 0;  // 0: the window itself
  std::vector<uint32_t> children;
  Bytes pointerData = Bytes(4, 0);  // one zero word: the default pointer
  std::string tag;
  std::vector<EventBinding> events;
  Bytes propertyBlock;
  // Menu items.
  std::string caption;
  int32_t menuHandler = kNoHandler;

  bool isMenuItem() const;
  bool operator==(const UnitRecord&) const = default;
};

// Where the fields that change at run time sit inside a stored record, as byte offsets.
struct UnitRecordPlaces {
  size_t liveObject = 0;
  size_t cursor = 0;
  size_t flags = 0;
  size_t textStart = 0, textEnd = 0;  // the tag (menu item: caption), its zero byte included
  size_t handlers = 0;                // first handler word; events: first pair
  size_t handlerCount = 0;
  size_t handlerStride = 0;  // bytes from one handler word to the next
};

// Reads a whole record; places, when given, receives where its run-time fields are.
std::optional<UnitRecord> readUnitRecord(std::span<const uint8_t> record,
                                         UnitRecordPlaces* places = nullptr);
Bytes writeUnitRecord(const UnitRecord& unit);

}  // namespace velmora::forms
