#include "forms/live/win32/form_registry.h"

#include <algorithm>
#include <cstdio>

#include "forms/event_numbers.h"
#include "forms/format/unit_ids.h"
#include "forms/format/unit_properties.h"
#include "forms/format/window_data.h"
#include "forms/live/form_error_texts.h"
#include "forms/live/win32/event_dispatch.h"
#include "forms/live/win32/form_commands.h"
#include "forms/live/win32/property_entries.h"
#include "forms/live/win32/unit_slots.h"
#include "forms/live/win32/window_lifecycle.h"
#include "runtime/runtime_error.h"
#include "runtime/win32/runtime.h"

namespace velmora::forms {
namespace {

enum NotifyCode : int32_t {
  kRegistry = 1001,
  kTypeDescriptor = 1002,
  kUnitDestroyed = 2000,
  kLoadWindow = 2005,
  kFindLive = 2006,
  kFindLiveStrictly = 2007,
  kRaiseEvent = 2008,
  kEventSource = 2017,
  kUnitType = 2022,
  kRaiseTypedEvent = 2031,
  kWindowHandle = 2033,
};

intptr_t pointerResult(const void* pointer) {
  return reinterpret_cast<intptr_t>(pointer);
}

using namespace error_texts;

std::string hexId(uint32_t id) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(id));
  return text;
}

// Window data that does not read ends the program at once, naming where it is broken; the
// registry holds no window it could name later.
[[noreturn]] void raiseBrokenWindowData(const std::string& where) {
  runtime::raiseRuntimeError(kBrokenWindowData + where, 0, 0, 0);
}

std::string windowPlace(uint32_t windowId) {
  return windowId != 0 ? kInWindow + hexId(windowId) : std::string();
}

std::string unitPlace(const WindowRecord& window, uint32_t index) {
  return windowPlace(window.id) + kOfUnit + hexId(window.units.idAt(index)) + " \"" +
         window.units.unitAt(index).name + "\"" + kPropertiesUnreadable;
}

}  // namespace

FormRegistry& formRegistry() {
  static FormRegistry registry;
  return registry;
}

std::optional<uint32_t> unitIndex(const WindowObject& window, uint32_t unitId) {
  if (unitId == 0) return window.live.count() > 0 ? std::optional<uint32_t>(0) : std::nullopt;
  return window.live.indexOf(unitId);
}

const UnitTypeDescriptor* unitTypeDescriptorOf(uint32_t typeCode) {
  const auto& libraries = runtime::runtimeState().libraries;
  const uint32_t library = typeCode >> 16;
  const uint32_t slot = (typeCode & 0xFFFF) - 1;
  if (library == 0 || library > libraries.size() || (typeCode & 0xFFFF) == 0) return nullptr;
  const runtime::LibraryDescriptor* descriptor = libraries[library - 1];
  if (slot >= descriptor->unitTypeCount || descriptor->unitTypes == nullptr) return nullptr;
  const auto* type = static_cast<const UnitTypeDescriptor*>(descriptor->unitTypes) + slot;
  return type->name != nullptr || type->interfaceFunction != nullptr ? type : nullptr;
}

void FormRegistry::loadWindowData(const uint8_t* data, uint32_t length, const void* codeBase) {
  windows_.clear();
  WindowDataFault fault;
  auto records = readWindowData(std::span(data, length), &fault);
  if (!records) raiseBrokenWindowData(windowPlace(fault.windowId));
  // A unit's block is read when the unit is made; one that can't be would only show as a window
  // that fails to load.
  for (const WindowRecord& record : *records) {
    if (auto unit = firstUnreadablePropertyBlock(record.units))
      raiseBrokenWindowData(unitPlace(record, *unit));
  }
  for (WindowRecord& record : *records) {
    record.units.relocateHandlers(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(codeBase)));
    windows_.push_back(WindowObject{.id = record.id,
                                    .reserved1 = record.reserved1,
                                    .reserved2 = record.reserved2,
                                    .reservedText1 = record.reservedText1,
                                    .reservedText2 = record.reservedText2,
                                    .live = std::move(record.units),
                                    .backup = {}});
  }
}

WindowObject* FormRegistry::find(uint32_t windowId) {
  if (!isWellFormedId(windowId)) return nullptr;
  for (WindowObject& window : windows_) {
    if (window.id == windowId) return &window;
  }
  return nullptr;
}

const WindowObject* FormRegistry::find(uint32_t windowId) const {
  return const_cast<FormRegistry*>(this)->find(windowId);
}

LiveUnit* FormRegistry::liveUnit(const WindowObject& window, uint32_t index) const {
  if (index >= window.live.count() || isMenuItemAt(window.live, index)) return nullptr;
  LiveUnit* unit = storedLiveObject(window.live, index);
  return unit && IsWindow(unit->window) ? unit : nullptr;
}

LiveWindow* FormRegistry::liveWindow(const WindowObject& window) const {
  return static_cast<LiveWindow*>(liveUnit(window, 0));
}

LiveUnit* FormRegistry::findLive(uint32_t windowId, uint32_t unitId, bool strict) {
  LiveUnit* found = nullptr;
  if (const WindowObject* window = find(windowId)) {
    if (const auto index = unitIndex(*window, unitId)) found = liveUnit(*window, *index);
  }
  if (!found && strict) {
    runtime::raiseRuntimeError(kUnitNotLoaded, 0, static_cast<int32_t>(windowId),
                               static_cast<int32_t>(unitId));
  }
  return found;
}

std::optional<std::string_view> FormRegistry::windowName(uint32_t windowId) const {
  return unitName(windowId, 0);
}

std::optional<std::string_view> FormRegistry::unitName(uint32_t windowId, uint32_t unitId) const {
  const WindowObject* window = find(windowId);
  const auto index = window ? unitIndex(*window, unitId) : std::nullopt;
  if (!index) return std::nullopt;
  // The name follows the type, the link and four reserved words.
  const auto record = window->live.recordAt(*index);
  return std::string_view(reinterpret_cast<const char*>(record.data() + 24));
}

bool FormRegistry::anyWindowLive() const {
  for (const WindowObject& window : windows_) {
    if (liveWindow(window)) return true;
  }
  return false;
}

bool FormRegistry::loadStartWindow(uint32_t windowId) {
  WindowObject* window = find(windowId);
  return window && loadWindow(*window, nullptr, false);
}

bool FormRegistry::raiseIdleEvents(uint32_t idleMilliseconds, bool periodStart) {
  static std::vector<uint32_t> finished;
  if (periodStart) finished.clear();
  bool more = false;
  for (const WindowObject& window : windows_) {
    if (!liveWindow(window) ||
        std::find(finished.begin(), finished.end(), window.id) != finished.end()) {
      continue;
    }
    EventRecord record{
        .windowId = window.id, .unitId = 0, .event = window_event::kIdle, .argCount = 1};
    record.args[0] = idleMilliseconds;
    if (dispatchEvent(record) == 1 && record.resultFlag == 1 && record.result == 1) {
      more = true;
    } else {
      finished.push_back(window.id);
    }
  }
  return more;
}

bool FormRegistry::preTranslateMessage(MSG* message) {
  for (const WindowObject& window : windows_) {
    LiveWindow* live = liveWindow(window);
    if (live && live->accelerators &&
        (message->hwnd == live->window || IsChild(live->window, message->hwnd)) &&
        TranslateAcceleratorW(live->window, live->accelerators, message)) {
      return true;
    }
  }
  return false;
}

void FormRegistry::releaseAllWindows() {
  for (WindowObject& window : windows_) {
    if (LiveWindow* live = liveWindow(window)) DestroyWindow(live->window);
  }
}

uint64_t FormRegistry::readProperty(uint32_t windowId, uint32_t unitId, int32_t property,
                                    int32_t part) {
  return readUnitProperty(*this, windowId, unitId, property, part);
}

void FormRegistry::writeProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t part,
                                 uint32_t low, uint32_t high) {
  writeUnitProperty(*this, windowId, unitId, property, part, low, high);
}

std::optional<intptr_t> FormRegistry::notify(int32_t code, uintptr_t first, uintptr_t second) {
  const auto windowId = static_cast<uint32_t>(first);
  const auto unitId = static_cast<uint32_t>(second);
  switch (code) {
    case kRegistry:
      return pointerResult(this);
    case kTypeDescriptor:
      return pointerResult(unitTypeDescriptorOf(windowId));
    case kUnitDestroyed:
      unitDestroyed(windowId, unitId);
      return 0;
    case kLoadWindow:
      return handleLoadRequest(*reinterpret_cast<const LoadRequest*>(first));
    case kFindLive:
    case kFindLiveStrictly:
      return pointerResult(findLive(windowId, unitId, code == kFindLiveStrictly));
    case kRaiseEvent:
      return dispatchEvent(*reinterpret_cast<EventRecord*>(first));
    case kRaiseTypedEvent:
      return dispatchTypedEvent(*reinterpret_cast<TypedEventRecord*>(first));
    case runtime::kNotifyCallProgramRoutine:
      return static_cast<intptr_t>(
          callProgramRoutine(windowId, reinterpret_cast<runtime::ProgramRoutine>(second)));
    case kEventSource:
      return currentEventSource(reinterpret_cast<uint32_t*>(first));
    case kUnitType: {
      const WindowObject* window = find(windowId);
      const auto index = window ? unitIndex(*window, unitId) : std::nullopt;
      return index ? static_cast<intptr_t>(storedType(window->live, *index)) : 0;
    }
    case kWindowHandle: {
      const WindowObject* window = find(windowId);
      LiveWindow* live = window ? liveWindow(*window) : nullptr;
      return pointerResult(live ? live->window : nullptr);
    }
    default:
      return std::nullopt;
  }
}

void installFormRuntime() {
  runtime::setWindowRegistry(&formRegistry());
  installFormCommands();
}

}  // namespace velmora::forms
