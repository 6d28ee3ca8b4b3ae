#include "controls/win32/runtime_link.h"

#include <algorithm>

namespace velmora::controls {
namespace {

runtime::NotifyFunction runtimeNotifyOfUnits = nullptr;

}  // namespace

void setUnitsRuntimeNotify(runtime::NotifyFunction notify) {
  runtimeNotifyOfUnits = notify;
}

bool raiseEvent(const StandardUnit& unit, int32_t event, std::initializer_list<int32_t> arguments) {
  if (runtimeNotifyOfUnits == nullptr) return false;
  EventRecord record{};
  record.windowId = unit.windowId;
  record.unitId = unit.unitId;
  record.event = event;
  record.argumentCount = static_cast<int32_t>(std::min<size_t>(arguments.size(), 5));
  std::copy_n(arguments.begin(), record.argumentCount, record.arguments);
  const intptr_t called =
      runtimeNotifyOfUnits(kNotifyRaiseEvent, reinterpret_cast<uintptr_t>(&record), 0);
  return called == 1 && record.resultFlag == 1 && record.result == 0;
}

void reportUnitGone(const StandardUnit& unit) {
  if (runtimeNotifyOfUnits != nullptr)
    runtimeNotifyOfUnits(kNotifyUnitGone, unit.windowId, unit.unitId);
}

}  // namespace velmora::controls
