// Taking windows and units down: close requests, the window's end, and the bookkeeping that
// drops every property change made while the window was loaded.
#include <windows.h>

#include <algorithm>

#include "forms/event_numbers.h"
#include "forms/live/win32/event_dispatch.h"
#include "forms/live/win32/unit_slots.h"
#include "forms/live/win32/window_lifecycle.h"
#include "runtime/win32/runtime.h"

namespace velmora::forms {
namespace {

// Enables again every window that a modal load of this window disabled, as it was before.
void enableDisabledWindows(LiveWindow& window) {
  for (const DisabledWindow& disabled : window.disabledWindows) {
    if (IsWindow(disabled.window)) EnableWindow(disabled.window, disabled.wasEnabled);
  }
  window.disabledWindows.clear();
  window.modal = false;
}

constexpr int32_t kCloseQueryEvents[] = {window_event::kCloseQuery, window_event::kClosing};

void forgetPointers(WindowObject& window) {
  for (uint32_t i = 0; i < window.live.count(); ++i) storePointer(window.live, i, nullptr);
}

// The live table goes back to the copy taken at the start of the load.
void restoreStoredTable(WindowObject& window) {
  std::swap(window.live, window.backup);
  window.backup = UnitTable();
}

}  // namespace

void requestClose(LiveWindow& window, bool immediately) {
  window.closing = true;
  if (immediately) {
    closeRequested(window);
  } else {
    PostMessageW(window.window, kCloseRequest, 0, 0);
  }
}

void closeRequested(LiveWindow& window) {
  if (!window.closing) return;
  window.closing = false;
  enableDisabledWindows(window);
  DestroyWindow(window.window);
}

bool closeAllowed(LiveWindow& window) {
  for (int32_t event : kCloseQueryEvents) {
    if (eventRefused(window.windowId, 0, event)) return false;
  }
  enableDisabledWindows(window);
  return true;
}

void windowDestroying(LiveWindow& window) {
  eventRefused(window.windowId, 0, window_event::kDestroying);
  if (HMENU menu = GetMenu(window.window)) {
    SetMenu(window.window, nullptr);
    DestroyMenu(menu);
  }
}

void windowGone(LiveWindow* window) {
  FormRegistry& registry = formRegistry();
  runtime::RuntimeState& state = runtime::runtimeState();
  if (window->accelerators) DestroyAcceleratorTable(window->accelerators);
  if (WindowObject* object = registry.find(window->windowId)) {
    forgetPointers(*object);
    restoreStoredTable(*object);
  }
  if (state.modalWindowId == window->windowId) state.modalWindowId = 0;
  if (!registry.abandoningLoad && !registry.anyWindowLive() && state.messageLoopStarted &&
      !state.shuttingDown) {
    PostQuitMessage(0);
  }
  delete window;
}

void unitDestroyed(uint32_t windowId, uint32_t unitId) {
  FormRegistry& registry = formRegistry();
  if (registry.recreatingUnit) return;
  WindowObject* window = registry.find(windowId);
  const auto index = window ? unitIndex(*window, unitId) : std::nullopt;
  if (!index || *index == 0 || isMenuItemAt(window->live, *index)) return;
  storePointer(window->live, *index, nullptr);
  storeLiveObject(window->live, *index, nullptr);
}

void closeUnit(WindowObject& window, uint32_t index) {
  LiveUnit* unit = formRegistry().liveUnit(window, index);
  if (!unit) return;
  const bool hadChildren = GetWindow(unit->window, GW_CHILD) != nullptr;
  const uint32_t unitId = window.live.idAt(index);
  DestroyWindow(unit->window);
  if (hadChildren) return;
  const uint32_t container = storedContainer(window.live, index);
  if (const auto containerIndex = container ? window.live.indexOf(container) : std::nullopt) {
    UnitRecord holder = window.live.unitAt(*containerIndex);
    std::erase(holder.children, unitId);
    rewriteRecord(window.live, *containerIndex, holder);
  }
  const auto current = window.live.indexOf(unitId);
  if (!current) return;
  std::vector<uint32_t> ids;
  std::vector<Bytes> records;
  for (uint32_t i = 0; i < window.live.count(); ++i) {
    if (i == *current) continue;
    ids.push_back(window.live.idAt(i));
    const auto record = window.live.recordAt(i);
    records.emplace_back(record.begin(), record.end());
  }
  window.live = UnitTable::build(ids, records);
}

}  // namespace velmora::forms
