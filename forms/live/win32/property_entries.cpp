#include "forms/live/win32/property_entries.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "forms/format/property_indices.h"
#include "forms/format/unit_ids.h"
#include "forms/live/font_values.h"
#include "forms/live/form_error_texts.h"
#include "forms/live/pointer_codes.h"
#include "forms/live/win32/form_registry.h"
#include "forms/live/win32/unit_recreation.h"
#include "forms/live/win32/unit_slots.h"
#include "forms/live/win32/window_lifecycle.h"
#include "runtime/memory.h"
#include "runtime/runtime_error.h"
#include "runtime/value_blocks.h"

namespace velmora::forms {
namespace {

// A menu item has four properties of its own in place of the common ones.
enum MenuProperty { kMenuCaption = 0, kMenuChecked, kMenuDisabled, kMenuVisible };
constexpr int32_t kPositionLimit = 32627;
constexpr uint32_t kMenuHidden = 1;
constexpr uint32_t kMenuDisabledFlag = 2;
constexpr uint32_t kMenuCheckedFlag = 4;

struct Target {
  WindowObject* window = nullptr;
  uint32_t index = 0;
  UnitRecord record;
};

[[noreturn]] void raiseAt(const char* message, uint32_t windowId, uint32_t unitId) {
  runtime::raiseRuntimeError(message, 0, static_cast<int32_t>(windowId),
                             static_cast<int32_t>(unitId));
}

using error_texts::kReadNotLoaded;
using error_texts::kWindowNotRegistered;
using error_texts::kWriteNotLoaded;

// The unit a property access names. A unit id the window does not have is no target.
std::optional<Target> findTarget(FormRegistry& registry, uint32_t windowId, uint32_t unitId) {
  WindowObject* window = registry.find(windowId);
  if (!window) raiseAt(kWindowNotRegistered, windowId, unitId);
  const auto index = unitIndex(*window, unitId);
  if (!index) return std::nullopt;
  return Target{window, *index, window->live.unitAt(*index)};
}

uint64_t pointerValue(const void* pointer) {
  return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
}

uint64_t newByteSet(const uint8_t* data, uint32_t length) {
  if (data == nullptr || length == 0) return 0;
  return pointerValue(runtime::byteSetFromBytes(data, static_cast<int32_t>(length)));
}

int32_t screenDotsPerInch() {
  HDC screen = GetDC(nullptr);
  const int32_t dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

LogicalFont defaultGuiFont() {
  LOGFONTA system{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof system, &system);
  LogicalFont font;
  std::memcpy(static_cast<void*>(&font), &system, sizeof font);
  return font;
}

PropertyKind kindOf(const UnitTypeDescriptor& type, int32_t property) {
  if (property < 0 || static_cast<uint32_t>(property) >= type.propertyCount || !type.properties)
    return PropertyKind::kInteger;
  // The second integer and byte data codes read as their kinds; the text codes all fall to the
  // default of the conversions.
  switch (const uint16_t code = type.properties[property].valueType) {
    case 1001:
      return PropertyKind::kInteger;
    case 1024:
      return PropertyKind::kByteData;
    default:
      return static_cast<PropertyKind>(code);
  }
}

// The live unit of a target, with its type, for own properties.
struct LiveTarget {
  LiveUnit* unit;
  const UnitTypeDescriptor* type;
};

LiveTarget liveTarget(FormRegistry& registry, const Target& target, const char* notLoaded,
                      uint32_t windowId, uint32_t unitId) {
  LiveUnit* unit = registry.liveUnit(*target.window, target.index);
  const UnitTypeDescriptor* type = unitTypeDescriptorOf(target.record.type);
  if (!unit || !type || !type->interfaceFunction) raiseAt(notLoaded, windowId, unitId);
  return {unit, type};
}

// The unit's current font, or the default GUI font when it has none.
LogicalFont currentFont(const LiveTarget& live, int32_t ownIndex) {
  auto read = reinterpret_cast<ReadPropertyFunction>(live.type->interfaceFunction(kReadProperty));
  PropertyValue value;
  if (read && read(live.unit, ownIndex, &value) && value.first && value.second == kFontRecordSize) {
    LogicalFont font;
    std::memcpy(static_cast<void*>(&font), reinterpret_cast<const void*>(value.first), sizeof font);
    return font;
  }
  return defaultGuiFont();
}

uint64_t fontReading(const LogicalFont& font, int32_t part) {
  const int32_t dpi = screenDotsPerInch();
  if (part == static_cast<int32_t>(FontElement::kFaceName))
    return pointerValue(runtime::textFromString(font.faceName));
  if (part >= 0 && part < static_cast<int32_t>(FontElement::kFaceName))
    return static_cast<uint32_t>(fontElement(font, static_cast<FontElement>(part), dpi));
  auto* record = static_cast<uint32_t*>(runtime::allocate(7 * 4));
  for (int i = 0; i < 6; ++i)
    record[i] = static_cast<uint32_t>(fontElement(font, static_cast<FontElement>(i), dpi));
  record[6] =
      static_cast<uint32_t>(reinterpret_cast<uintptr_t>(runtime::textFromString(font.faceName)));
  return pointerValue(record);
}

uint64_t convertedReading(PropertyKind kind, const PropertyValue& value, const LiveTarget& live,
                          int32_t ownIndex, int32_t part) {
  const auto* data = reinterpret_cast<const uint8_t*>(value.first);
  switch (kind) {
    case PropertyKind::kNumber:
    case PropertyKind::kDateTime:
      return uint64_t{value.second} << 32 | static_cast<uint32_t>(value.first);
    case PropertyKind::kLogical:
      return static_cast<uint32_t>(value.first) == 1 ? 1 : 0;
    case PropertyKind::kPicture:
    case PropertyKind::kIcon:
    case PropertyKind::kSound:
    case PropertyKind::kByteData:
      return newByteSet(data, value.second);
    case PropertyKind::kPointer: {
      const Bytes converted = pointerDataWithCode(Bytes(data, data + (data ? value.second : 0)));
      return newByteSet(converted.data(), static_cast<uint32_t>(converted.size()));
    }
    case PropertyKind::kFont:
      return fontReading(currentFont(live, ownIndex), part);
    case PropertyKind::kInteger:
    case PropertyKind::kChoice:
    case PropertyKind::kColour:
    case PropertyKind::kColourOrTransparent:
    case PropertyKind::kBackgroundColour:
      return static_cast<uint32_t>(value.first);
    default:  // the text kinds
      return pointerValue(runtime::textFromString(reinterpret_cast<const char*>(value.first)));
  }
}

RECT liveRect(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  HWND parent = GetParent(window);
  if (parent && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

uint64_t readCommon(FormRegistry& registry, const Target& target, CommonProperty property) {
  LiveUnit* live = registry.liveUnit(*target.window, target.index);
  const UnitRecord& unit = target.record;
  switch (property) {
    using enum CommonProperty;
    case kLeft:
    case kTop:
    case kWidth:
    case kHeight: {
      if (!live)
        return static_cast<uint32_t>(
            storedRect(target.window->live, target.index, static_cast<RectField>(property)));
      const RECT rect = liveRect(live->window);
      const LONG values[] = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
      return static_cast<uint32_t>(values[propertyIndex(property)]);
    }
    case kTag:
      return pointerValue(runtime::textFromString(unit.tag.c_str()));
    case kVisible:
      return live ? IsWindowVisible(live->window) != FALSE : (unit.flags & kUnitVisible) != 0;
    case kDisabled:
      return live ? IsWindowEnabled(live->window) == FALSE : (unit.flags & kUnitDisabled) != 0;
    case kPointer: {
      const Bytes converted = pointerDataWithCode(unit.pointerData);
      return newByteSet(converted.data(), static_cast<uint32_t>(converted.size()));
    }
  }
  return 0;
}

uint64_t readMenuItem(const UnitRecord& item, int32_t property) {
  switch (property) {
    case kMenuCaption:
      return pointerValue(runtime::textFromString(item.caption.c_str()));
    case kMenuChecked:
      return (item.flags & kMenuCheckedFlag) != 0;
    case kMenuDisabled:
      return (item.flags & kMenuDisabledFlag) != 0;
    case kMenuVisible:
      return (item.flags & kMenuHidden) == 0;
    default:
      return 0;
  }
}

void writeMenuItem(Target& target, int32_t property, uint32_t low) {
  UnitRecord item = target.record;
  const auto setFlag = [&](uint32_t flag, bool set) {
    item.flags = set ? item.flags | flag : item.flags & ~flag;
  };
  switch (property) {
    case kMenuCaption: {
      const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(low));
      item.caption = text ? text : "";
      break;
    }
    case kMenuChecked:
      setFlag(kMenuCheckedFlag, low != 0);
      break;
    case kMenuDisabled:
      setFlag(kMenuDisabledFlag, low != 0);
      break;
    case kMenuVisible:
      setFlag(kMenuHidden, low == 0);
      break;
    default:
      return;
  }
  if (item != target.record) rewriteRecord(target.window->live, target.index, item);
}

// The value pair handed to the unit type for a write; `kept` holds converted data.
PropertyValue writtenValue(PropertyKind kind, uint32_t low, uint32_t high, const LiveTarget& live,
                           int32_t ownIndex, int32_t part, Bytes& kept) {
  const auto* pointer = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(low));
  switch (kind) {
    case PropertyKind::kNumber:
    case PropertyKind::kDateTime:
      return {low, high};
    case PropertyKind::kLogical:
      return {low != 0 ? 1u : 0u, 0};
    case PropertyKind::kChoice:
      return {static_cast<int32_t>(low) < 0 ? 0u : low, 0};
    case PropertyKind::kPicture:
    case PropertyKind::kIcon:
    case PropertyKind::kSound:
    case PropertyKind::kByteData:
      if (!pointer) return {0, 0};
      return {reinterpret_cast<uintptr_t>(runtime::byteSetData(pointer)),
              static_cast<uint32_t>(runtime::byteSetLength(pointer))};
    case PropertyKind::kPointer:
      if (!pointer) return {0, 0};
      kept = pointerDataWithId(runtime::byteSetData(pointer),
                               static_cast<uint32_t>(runtime::byteSetLength(pointer)));
      return {reinterpret_cast<uintptr_t>(kept.data()), static_cast<uint32_t>(kept.size())};
    case PropertyKind::kFont: {
      const int32_t dpi = screenDotsPerInch();
      LogicalFont font;
      if (part < 0 || part > static_cast<int32_t>(FontElement::kFaceName)) {
        font = pointer ? fontFromRecord(*reinterpret_cast<const FontRecord*>(pointer), dpi)
                       : fontFromRecord(FontRecord{}, dpi);
      } else {
        const auto element = static_cast<FontElement>(part);
        const char* face =
            element == FontElement::kFaceName ? reinterpret_cast<const char*>(pointer) : nullptr;
        font = withFontElement(currentFont(live, ownIndex), element, static_cast<int32_t>(low),
                               face ? face : "", dpi);
      }
      kept.assign(reinterpret_cast<const uint8_t*>(&font),
                  reinterpret_cast<const uint8_t*>(&font) + sizeof font);
      return {reinterpret_cast<uintptr_t>(kept.data()), kFontRecordSize};
    }
    case PropertyKind::kInteger:
    case PropertyKind::kColour:
    case PropertyKind::kColourOrTransparent:
    case PropertyKind::kBackgroundColour:
      return {low, 0};
    default:  // the text kinds
      return {pointer ? low : reinterpret_cast<uintptr_t>(""), 0};
  }
}

void writeOwn(FormRegistry& registry, Target& target, int32_t property, int32_t part, uint32_t low,
              uint32_t high, uint32_t windowId, uint32_t unitId) {
  const LiveTarget live = liveTarget(registry, target, kWriteNotLoaded, windowId, unitId);
  Bytes kept;
  const int32_t ownIndex = ownIndexOf(property);
  const PropertyValue value =
      writtenValue(kindOf(*live.type, property), low, high, live, ownIndex, part, kept);
  auto changed =
      reinterpret_cast<PropertyChangedFunction>(live.type->interfaceFunction(kPropertyChanged));
  if (!changed || changed(live.unit, ownIndex, &value, 0) != 1) return;
  if (target.index != 0 && IsWindow(live.unit->window))
    recreateUnit(*target.window, target.index, *live.type);
}

void writeRect(FormRegistry& registry, Target& target, CommonProperty property, int32_t value) {
  using enum CommonProperty;
  const bool position = property == kLeft || property == kTop;
  value = position ? std::clamp(value, -kPositionLimit, kPositionLimit)
                   : std::clamp(value, 0, kPositionLimit);
  storeRect(target.window->live, target.index, static_cast<RectField>(property), value);
  LiveUnit* live = registry.liveUnit(*target.window, target.index);
  if (!live) return;
  RECT rect = liveRect(live->window);
  LONG* fields[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
  const LONG width = rect.right - rect.left;
  const LONG height = rect.bottom - rect.top;
  if (position) {
    *fields[propertyIndex(property)] = value;
    SetWindowPos(live->window, nullptr, rect.left, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(live->window, nullptr, 0, 0, property == kWidth ? value : width,
                 property == kHeight ? value : height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void writeVisible(FormRegistry& registry, Target& target, bool visible) {
  uint32_t flags = unitFlags(target.window->live, target.index);
  flags = visible ? flags | kUnitVisible : flags & ~kUnitVisible;
  storeUnitFlags(target.window->live, target.index, flags);
  LiveUnit* live = registry.liveUnit(*target.window, target.index);
  if (!live) return;
  if (!visible) {
    ShowWindow(live->window, SW_HIDE);
  } else if (target.index == 0) {
    showLoadedWindow(*target.window);
  } else if (unitMayShow(*target.window, target.index)) {
    ShowWindow(live->window, SW_SHOWNA);
  }
}

void writePointer(FormRegistry& registry, Target& target, uint32_t low) {
  const auto* byteSet = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(low));
  UnitRecord unit = target.record;
  unit.pointerData = byteSet
                         ? pointerDataWithId(runtime::byteSetData(byteSet),
                                             static_cast<uint32_t>(runtime::byteSetLength(byteSet)))
                         : Bytes();
  rewriteRecord(target.window->live, target.index, unit);
  storePointer(target.window->live, target.index, pointerFromData(unit.pointerData));
  if (registry.liveUnit(*target.window, target.index)) {
    POINT at;
    GetCursorPos(&at);
    SetCursorPos(at.x, at.y);
  }
}

void writeCommon(FormRegistry& registry, Target& target, CommonProperty property, uint32_t low) {
  switch (property) {
    using enum CommonProperty;
    case kLeft:
    case kTop:
    case kWidth:
    case kHeight:
      writeRect(registry, target, property, static_cast<int32_t>(low));
      break;
    case kTag: {
      const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(low));
      target.window->live.replaceText(target.index, text ? text : "");
      break;
    }
    case kVisible:
      writeVisible(registry, target, low != 0);
      break;
    case kDisabled: {
      uint32_t flags = unitFlags(target.window->live, target.index);
      flags = low ? flags | kUnitDisabled : flags & ~kUnitDisabled;
      storeUnitFlags(target.window->live, target.index, flags);
      if (LiveUnit* live = registry.liveUnit(*target.window, target.index))
        EnableWindow(live->window, low == 0);
      break;
    }
    case kPointer:
      writePointer(registry, target, low);
      break;
  }
}

}  // namespace

uint64_t readUnitProperty(FormRegistry& registry, uint32_t windowId, uint32_t unitId,
                          int32_t property, int32_t part) {
  auto target = findTarget(registry, windowId, unitId);
  if (!target) raiseAt(kReadNotLoaded, windowId, unitId);
  if (target->record.isMenuItem()) return readMenuItem(target->record, property);
  if (property < kFirstOwnProperty)
    return readCommon(registry, *target, static_cast<CommonProperty>(property));
  const LiveTarget live = liveTarget(registry, *target, kReadNotLoaded, windowId, unitId);
  const int32_t ownIndex = ownIndexOf(property);
  const PropertyKind kind = kindOf(*live.type, property);
  if (kind == PropertyKind::kFont) return fontReading(currentFont(live, ownIndex), part);
  auto read = reinterpret_cast<ReadPropertyFunction>(live.type->interfaceFunction(kReadProperty));
  PropertyValue value;
  if (!read || !read(live.unit, ownIndex, &value)) return 0;
  return convertedReading(kind, value, live, ownIndex, part);
}

void writeUnitProperty(FormRegistry& registry, uint32_t windowId, uint32_t unitId, int32_t property,
                       int32_t part, uint32_t low, uint32_t high) {
  auto target = findTarget(registry, windowId, unitId);
  if (!target) raiseAt(kWriteNotLoaded, windowId, unitId);
  if (target->record.isMenuItem()) return writeMenuItem(*target, property, low);
  if (property < kFirstOwnProperty)
    return writeCommon(registry, *target, static_cast<CommonProperty>(property), low);
  writeOwn(registry, *target, property, part, low, high, windowId, unitId);
}

}  // namespace velmora::forms
