#include "forms/live/win32/event_dispatch.h"

#include <algorithm>
#include <vector>

#include "forms/format/unit_ids.h"
#include "forms/live/form_error_texts.h"
#include "forms/live/win32/form_registry.h"
#include "runtime/event_handler.h"
#include "runtime/runtime_error.h"
#include "runtime/tagged_value.h"
#include "runtime/win32/runtime.h"

namespace velmora::forms {
namespace {

constexpr size_t kMostWords = 24;
constexpr uint32_t kTypeServesEvents = kTypeRaisesEvents | (1u << 6);

struct EventSource {
  uint32_t windowId = 0;
  uint32_t unitId = 0;
};
std::vector<EventSource> sources;

// The handler bound to an event: the relocated value names a table entry holding the handler.
runtime::EventHandler boundHandler(const UnitRecord& unit, int32_t event) {
  uint32_t entry = 0;
  if (unit.isMenuItem()) {
    entry = static_cast<uint32_t>(unit.menuHandler);
  } else {
    auto binding = std::find_if(unit.events.begin(), unit.events.end(),
                                [&](const EventBinding& b) { return b.event == event; });
    if (binding != unit.events.end()) entry = static_cast<uint32_t>(binding->handler);
  }
  if (entry == 0) return nullptr;
  return *reinterpret_cast<const runtime::EventHandler*>(static_cast<uintptr_t>(entry));
}

// The record whose handlers serve a unit: its link leads to another unit of the same type.
std::optional<UnitRecord> servingRecord(const WindowObject& window, uint32_t index) {
  UnitRecord unit = window.live.unitAt(index);
  for (uint32_t hops = 0; unit.link != 0 && hops < window.live.count(); ++hops) {
    const auto linked = window.live.indexOf(unit.link);
    if (!linked) break;
    UnitRecord next = window.live.unitAt(*linked);
    if (next.type != unit.type) break;
    unit = std::move(next);
  }
  return unit;
}

// Finds the handler, raising the dispatch's runtime errors; null when none is bound.
runtime::EventHandler findHandler(uint32_t windowId, uint32_t unitId, int32_t event) {
  const WindowObject* window = formRegistry().find(windowId);
  if (!window) {
    runtime::raiseRuntimeError(error_texts::kEventWindowNotFound, 0, static_cast<int32_t>(windowId),
                               0);
  }
  const auto index = unitIndex(*window, unitId);
  if (!index) {
    runtime::raiseRuntimeError(error_texts::kEventUnitNotFound, 0, static_cast<int32_t>(windowId),
                               static_cast<int32_t>(unitId));
  }
  const auto unit = servingRecord(*window, *index);
  const UnitTypeDescriptor* type = unitTypeDescriptorOf(unit->type);
  if (!unit->isMenuItem() && (type == nullptr || (type->state & kTypeServesEvents) == 0)) {
    runtime::raiseRuntimeError(error_texts::kEventUnitInvalid, 0, static_cast<int32_t>(windowId),
                               static_cast<int32_t>(unitId));
  }
  return boundHandler(*unit, event);
}

// Calls a handler with up to 24 words. With the caller-cleans convention a handler reads the
// words it declares and the caller removes them all, so one call form serves every handler.
uint64_t callHandler(runtime::EventHandler handler, const std::vector<uint32_t>& words) {
  uint32_t w[kMostWords] = {};
  std::copy_n(words.begin(), std::min(words.size(), kMostWords), w);
  using WideHandler =
      uint64_t (*)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                   uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                   uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
  auto wide = reinterpret_cast<WideHandler>(reinterpret_cast<void*>(handler));
  return wide(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8], w[9], w[10], w[11], w[12],
              w[13], w[14], w[15], w[16], w[17], w[18], w[19], w[20], w[21], w[22], w[23]);
}

// Steps shared by both record kinds; nothing when no handler ran.
std::optional<uint64_t> runHandler(uint32_t windowId, uint32_t unitId, int32_t event,
                                   const std::vector<uint32_t>& words) {
  if (runtime::runtimeState().loadingDepth >= 1) return std::nullopt;
  runtime::EventHandler handler = findHandler(windowId, unitId, event);
  if (!handler) return std::nullopt;
  const WindowObject* window = formRegistry().find(windowId);
  const uint32_t sourceUnit = unitId != 0 ? unitId : window->live.idAt(0);
  sources.push_back({windowId, sourceUnit});
  const uint64_t result = callHandler(handler, words);
  sources.pop_back();
  return result;
}

bool passesBothWords(const TypedArgument& argument) {
  if (argument.flags & 1) return false;
  if ((argument.flags & 2) || argument.type == 0x00010003) return true;
  switch (argument.type) {
    case runtime::types::kDateTime:
    case runtime::types::kLong:
    case runtime::types::kDouble:
    case 0x80000008:
      return true;
    default:
      return false;
  }
}

uint32_t narrowWord(const TypedArgument& argument) {
  if (argument.flags & 1) return argument.low;
  if (argument.type == runtime::types::kByte) return argument.low & 0xFF;
  if (argument.type == runtime::types::kShort)
    return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(argument.low)));
  return argument.low;
}

}  // namespace

int32_t dispatchEvent(EventRecord& record) {
  const int32_t count = std::clamp(record.argCount, 0, 5);
  const std::vector<uint32_t> words(record.args, record.args + count);
  const auto result = runHandler(record.windowId, record.unitId, record.event, words);
  if (!result) return 0;
  if (*result != runtime::kNoAnswer) {
    record.resultFlag = 1;
    record.result = static_cast<uint32_t>(*result);
  }
  return 1;
}

int32_t dispatchTypedEvent(TypedEventRecord& record) {
  std::vector<uint32_t> words;
  for (int32_t i = 0; i < std::clamp(record.argCount, 0, 12); ++i) {
    const TypedArgument& argument = record.args[i];
    if (passesBothWords(argument)) {
      words.push_back(argument.low);
      words.push_back(argument.high);
    } else {
      words.push_back(narrowWord(argument));
    }
  }
  const auto result = runHandler(record.windowId, record.unitId, record.event, words);
  if (!result) return 0;
  if (*result != runtime::kNoAnswer) {
    record.resultFlag = 1;
    record.resultLow = static_cast<uint32_t>(*result);
    record.resultHigh = static_cast<uint32_t>(*result >> 32);
  }
  return 1;
}

runtime::RoutineCall callProgramRoutine(uint32_t windowId, runtime::ProgramRoutine routine) {
  const WindowObject* window = formRegistry().find(windowId);
  if (window == nullptr || formRegistry().liveWindow(*window) == nullptr)
    return runtime::RoutineCall::kWindowGone;
  if (runtime::runtimeState().loadingDepth >= 1 || runtime::runtimeState().waitingDepth >= 1)
    return runtime::RoutineCall::kHeld;
  sources.push_back({windowId, window->live.idAt(0)});
  routine();
  sources.pop_back();
  return runtime::RoutineCall::kCalled;
}

int32_t currentEventSource(uint32_t* source) {
  if (sources.empty()) return 0;
  source[0] = sources.back().windowId;
  source[1] = sources.back().unitId;
  return 1;
}

bool eventRefused(uint32_t windowId, uint32_t unitId, int32_t event,
                  std::initializer_list<uint32_t> args) {
  EventRecord record{.windowId = windowId, .unitId = unitId, .event = event};
  record.argCount = static_cast<int32_t>(std::min<size_t>(args.size(), 5));
  std::copy_n(args.begin(), record.argCount, record.args);
  return dispatchEvent(record) == 1 && record.resultFlag == 1 && record.result == 0;
}

}  // namespace velmora::forms
