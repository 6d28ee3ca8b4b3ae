// Loading a window: the window unit, then every other unit in its container, given its pointer,
// with no event reaching a handler meanwhile; the window shows once all are in place.
#include <windows.h>

#include <optional>
#include <vector>

#include "forms/event_numbers.h"
#include "forms/format/unit_ids.h"
#include "forms/live/win32/event_dispatch.h"
#include "forms/live/win32/unit_slots.h"
#include "forms/live/win32/window_lifecycle.h"
#include "runtime/win32/runtime.h"

namespace velmora::forms {
namespace {

constexpr int32_t kAfterCreatedEvents[] = {window_event::kFirstAfterCreated,
                                           window_event::kSecondAfterCreated};
constexpr uint32_t kFirstControlId = 100;
constexpr uint32_t kControlIdStep = 10;
constexpr int32_t kStartMinimized = 2;
constexpr int32_t kStartMaximized = 3;

void raiseLoadingDepth() {
  runtime::processPendingMessages();
  runtime::runtimeState().loadingDepth += 1;
}

void lowerLoadingDepth() {
  runtime::processPendingMessages();
  if (runtime::runtimeState().loadingDepth >= 1) runtime::runtimeState().loadingDepth -= 1;
}

uint32_t creationStyle(uint32_t flags) {
  uint32_t style = 0;
  if (flags & kUnitDisabled) style |= WS_DISABLED;
  if (flags & kUnitTabStop) style |= WS_TABSTOP;
  return style;
}

LiveUnit* createUnit(const UnitRecord& unit, uint32_t style, HWND parent, uintptr_t controlId,
                     uint32_t windowId, uint32_t unitId) {
  const UnitTypeDescriptor* type = unitTypeDescriptorOf(unit.type);
  if (!type || !type->interfaceFunction) return nullptr;
  auto create = reinterpret_cast<CreateUnitFunction>(type->interfaceFunction(kCreateUnit));
  if (!create) return nullptr;
  LiveUnit* live = create(
      unit.propertyBlock.data(), static_cast<uint32_t>(unit.propertyBlock.size()), style, parent,
      controlId, unit.left, unit.top, unit.width, unit.height, windowId, unitId, nullptr, 0);
  return live && IsWindow(live->window) ? live : nullptr;
}

// A load that failed after the window was created: everything made so far goes, and the
// window's end restores its tables without ending the program.
bool abandonLoad(WindowObject& window, LiveUnit* windowUnit) {
  FormRegistry& registry = formRegistry();
  registry.abandoningLoad = true;
  if (windowUnit) DestroyWindow(windowUnit->window);
  registry.abandoningLoad = false;
  window.backup = UnitTable();
  if (runtime::runtimeState().loadingDepth >= 1) runtime::runtimeState().loadingDepth -= 1;
  return false;
}

// The live window of the unit's container; null for a unit of the window itself or a container
// not made yet.
HWND containerWindow(WindowObject& window, const UnitRecord& unit) {
  if (unit.container == 0) return nullptr;
  const auto container = window.live.indexOf(unit.container);
  LiveUnit* live = container ? formRegistry().liveUnit(window, *container) : nullptr;
  return live ? live->window : nullptr;
}

// Whether units of the type may show at all: a known type that does not start hidden.
bool typeMayShow(uint32_t typeCode) {
  const UnitTypeDescriptor* type = unitTypeDescriptorOf(typeCode);
  return type && !(type->state & kTypeStartsHidden);
}

// Whether each unit shows once its window does: its type may show, its flags say visible, and it
// is not on a page of a page container after the first.
std::vector<bool> unitsShown(const std::vector<UnitRecord>& units, const UnitTable& table) {
  std::vector<bool> shown(units.size(), false);
  for (uint32_t i = 1; i < units.size(); ++i) {
    shown[i] =
        !units[i].isMenuItem() && typeMayShow(units[i].type) && (units[i].flags & kUnitVisible);
  }
  for (uint32_t i = 1; i < units.size(); ++i) {
    const UnitTypeDescriptor* type =
        units[i].isMenuItem() ? nullptr : unitTypeDescriptorOf(units[i].type);
    if (!type || !(type->state & kTypePageContainer)) continue;
    bool laterPage = false;
    for (uint32_t child : units[i].children) {
      if (child == 0) laterPage = true;
      const auto index = child ? table.indexOf(child) : std::nullopt;
      if (laterPage && index) shown[*index] = false;
    }
  }
  return shown;
}

// Control ids count from the last stored unit to the first, menu items left out.
std::vector<uint32_t> controlIds(const std::vector<UnitRecord>& units) {
  std::vector<uint32_t> ids(units.size(), 0);
  uint32_t next = kFirstControlId;
  for (uint32_t i = static_cast<uint32_t>(units.size()); i-- > 1;) {
    if (units[i].isMenuItem()) continue;
    ids[i] = next;
    next += kControlIdStep;
  }
  return ids;
}

// The index of the unit's container; 0 for the window, nothing when no unit has its id.
std::optional<uint32_t> containerIndex(const UnitTable& table, const UnitRecord& unit) {
  return unit.container == 0 ? std::optional<uint32_t>(0) : table.indexOf(unit.container);
}

// The units, each made in its container, visible or not as it will show. A new child window
// lies below its siblings, so units made in their stored order, pass after pass, each once its
// container was made in an earlier pass, stack with the first stored unit of a container on top
// and need no restacking. When a pass makes nothing, the units left (their container a menu
// item, themselves, or a cycle) are made in the window.
bool createUnits(WindowObject& window, HWND handle, const std::vector<UnitRecord>& units) {
  const uint32_t count = window.live.count();
  const std::vector<bool> shown = unitsShown(units, window.live);
  const std::vector<uint32_t> ids = controlIds(units);
  std::vector<bool> made(count, false);
  made[0] = true;
  for (bool containersFirst = true;;) {
    const std::vector<bool> madeBefore = made;
    bool madeAny = false;
    bool unitsLeft = false;
    for (uint32_t i = 1; i < count; ++i) {
      if (made[i] || units[i].isMenuItem()) continue;
      const auto container = containerIndex(window.live, units[i]);
      if (containersFirst && !(container && madeBefore[*container])) {
        unitsLeft = true;
        continue;
      }
      HWND parent = containerWindow(window, units[i]);
      const uint32_t style = creationStyle(units[i].flags) | (shown[i] ? WS_VISIBLE : 0);
      LiveUnit* live = createUnit(units[i], style, parent ? parent : handle, ids[i], window.id,
                                  window.live.idAt(i));
      if (!live) return false;
      storeLiveObject(window.live, i, live);
      made[i] = true;
      madeAny = true;
    }
    if (!unitsLeft) return true;
    containersFirst = madeAny;
  }
}

void sendToUnits(WindowObject& window, UINT message) {
  for (uint32_t i = window.live.count(); i-- > 0;) {
    if (LiveUnit* live = formRegistry().liveUnit(window, i))
      SendMessageW(live->window, message, 0, 0);
  }
}

void makePointers(WindowObject& window, const std::vector<UnitRecord>& units) {
  for (uint32_t i = 0; i < units.size(); ++i) {
    if (!units[i].isMenuItem()) storePointer(window.live, i, pointerFromData(units[i].pointerData));
  }
}

// The unit that holds the focus: the innermost unit whose window is the focus or holds it (the
// edit part of a combo box counts as the combo box), never a container around it; 0 for the
// window itself.
uint32_t focusedUnitId(const WindowObject& window, HWND windowHandle, HWND focus) {
  for (HWND at = focus; at != nullptr && at != windowHandle; at = GetParent(at)) {
    for (uint32_t i = 1; i < window.live.count(); ++i) {
      LiveUnit* unit = formRegistry().liveUnit(window, i);
      if (unit && unit->window == at) return window.live.idAt(i);
    }
  }
  return 0;
}

void showWindow(LiveWindow& window) {
  int command = SW_SHOW;
  if (runtime::runtimeState().hiddenOwner) {
    const int32_t position = window.windowProperties().position;
    if (position == kStartMaximized) command = SW_SHOWMAXIMIZED;
    if (position == kStartMinimized) command = SW_SHOWMINIMIZED;
  }
  ShowWindow(window.window, command);
  HWND focus = GetFocus();
  if (focus && (focus == window.window || IsChild(window.window, focus))) {
    const WindowObject* object = formRegistry().find(window.windowId);
    eventRefused(window.windowId, object ? focusedUnitId(*object, window.window, focus) : 0,
                 unit_event::kGotFocus);
  }
}

void disableOtherWindows(LiveWindow& modal) {
  FormRegistry& registry = formRegistry();
  for (const WindowObject& other : registry.windows()) {
    LiveWindow* live = registry.liveWindow(other);
    if (!live || live == &modal || live->hasParent) continue;
    modal.disabledWindows.push_back({live->window, IsWindowEnabled(live->window) != FALSE});
    EnableWindow(live->window, FALSE);
  }
}

// Once the window and its units exist: the window's created events, then the window shown if it
// is visible, the other windows disabled while a modal one is up, and every unit told that the
// load is over, the focus staying where it was. A handler may close the window on the way; what
// follows is then skipped.
void finishLoad(WindowObject& window, LiveWindow& live, bool modal) {
  FormRegistry& registry = formRegistry();
  eventRefused(window.id, 0, window_event::kCreated);
  for (int32_t event : kAfterCreatedEvents) {
    if (registry.liveWindow(window) != &live) return;
    eventRefused(window.id, 0, event);
  }
  if (registry.liveWindow(window) != &live) return;
  if (unitFlags(window.live, 0) & kUnitVisible) showWindow(live);
  if (registry.liveWindow(window) != &live) return;
  if (modal) {
    live.modal = true;
    disableOtherWindows(live);
  }
  HWND focus = GetFocus();
  sendToUnits(window, kKeepFocus);
  if (GetFocus() != focus && IsWindow(focus)) SetFocus(focus);
  live.loaded = true;
}

// A window that is live already is only brought to the front (true); one that is closing is
// destroyed, and false tells the caller to load it anew.
bool bringToFront(LiveWindow& live) {
  if (live.closing) {
    DestroyWindow(live.window);
    return false;
  }
  if (IsIconic(live.window)) {
    ShowWindow(live.window, SW_RESTORE);
  } else {
    SetActiveWindow(live.window);
  }
  return true;
}

}  // namespace

void showLoadedWindow(WindowObject& window) {
  LiveWindow* live = formRegistry().liveWindow(window);
  if (!live) return;
  showWindow(*live);
  if (live->modal && formRegistry().liveWindow(window) == live)
    runtime::runModalMessageLoop(window.id);
}

bool unitMayShow(const WindowObject& window, uint32_t index) {
  return typeMayShow(storedType(window.live, index));
}

bool loadWindow(WindowObject& window, HWND parent, bool modal) {
  FormRegistry& registry = formRegistry();
  if (LiveWindow* live = registry.liveWindow(window)) {
    if (bringToFront(*live)) return true;
  }
  if (modal) parent = nullptr;
  if (parent && !IsWindow(parent)) return false;
  raiseLoadingDepth();
  window.backup = window.live;
  // Every record is read once: they hold the units' property blocks, pictures among them.
  std::vector<UnitRecord> units(window.live.count());
  for (uint32_t i = 0; i < units.size(); ++i) units[i] = window.live.unitAt(i);
  const UnitRecord& windowUnit = units[0];
  registry.loadingModally = modal;
  LiveUnit* created = createUnit(windowUnit, creationStyle(windowUnit.flags), parent, 0, window.id,
                                 window.live.idAt(0));
  registry.loadingModally = false;
  if (!created) return abandonLoad(window, nullptr);
  storeLiveObject(window.live, 0, created);
  if (!createUnits(window, created->window, units)) return abandonLoad(window, created);
  makePointers(window, units);
  for (uint32_t i = window.live.count(); i-- > 1;) {
    if (LiveUnit* live = registry.liveUnit(window, i))
      SendMessageW(live->window, kUnitsCreated, 0, 0);
  }
  SendMessageW(created->window, kUnitsArranged, 0, 0);
  lowerLoadingDepth();
  finishLoad(window, *static_cast<LiveWindow*>(created), modal);
  return registry.liveWindow(window) == created;
}

int32_t handleLoadRequest(const LoadRequest& request) {
  FormRegistry& registry = formRegistry();
  WindowObject* window = registry.find(request.windowId);
  if (!window) return -1;
  LiveWindow* before = registry.liveWindow(*window);
  const bool alreadyLive = before && !before->closing;
  HWND parent = request.parent ? request.parent->window : nullptr;
  if (!loadWindow(*window, parent, request.modal != 0)) return -1;
  LiveWindow* live = registry.liveWindow(*window);
  if (alreadyLive || !live || !(unitFlags(window->live, 0) & kUnitVisible)) return 0;
  live->loaded = false;
  if (live->modal) {
    if (request.parent && request.parent->topmost) {
      live->topmost = true;
      SetWindowPos(live->window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    runtime::runModalMessageLoop(window->id);
  }
  return 0;
}

}  // namespace velmora::forms
