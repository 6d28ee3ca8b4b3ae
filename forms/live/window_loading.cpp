// Loading a window: the window unit, then every other unit from the last record to the first,
// parented, stacked, given their pointers and shown, with no event reaching a handler meanwhile.
#include <windows.h>

#include <vector>

#include "forms/event_numbers.h"
#include "forms/format/unit_ids.h"
#include "forms/live/event_dispatch.h"
#include "forms/live/unit_slots.h"
#include "forms/live/window_lifecycle.h"
#include "runtime/win32/runtime.h"

namespace velmora {
namespace {

constexpr int32_t kAfterCreatedEvents[] = {window_event::kLoaded, window_event::kAboutToShow};
constexpr uint32_t kFirstControlId = 100;
constexpr uint32_t kControlIdStep = 10;
constexpr int32_t kStartMinimized = 2;
constexpr int32_t kStartMaximized = 3;

void raiseLoadingDepth() {
  processPendingMessages();
  runtimeState().loadingDepth += 1;
}

void lowerLoadingDepth() {
  processPendingMessages();
  if (runtimeState().loadingDepth >= 1) runtimeState().loadingDepth -= 1;
}

uint32_t creationStyle(uint32_t flags) {
  uint32_t style = 0;
  if (flags & kUnitDisabled) style |= 0x08000000;
  if (flags & kUnitTabStop) style |= 0x00010000;
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
  if (runtimeState().loadingDepth >= 1) runtimeState().loadingDepth -= 1;
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

// Steps 8 to 10: the units, the window's children first, each into its container.
bool createUnits(WindowObject& window, HWND handle, std::vector<bool>& visible) {
  FormRegistry& registry = formRegistry();
  const uint32_t count = window.live.count();
  uint32_t controlId = kFirstControlId;
  for (uint32_t i = count; i-- > 1;) {
    const UnitRecord unit = window.live.unitAt(i);
    if (unit.isMenuItem()) continue;
    // A container stored after its units already lives: they are made in it at once, which
    // spares the window system a change of parent for each.
    HWND parent = containerWindow(window, unit);
    LiveUnit* live = createUnit(unit, creationStyle(unit.flags), parent ? parent : handle,
                                controlId, window.id, window.live.idAt(i));
    if (!live) return false;
    controlId += kControlIdStep;
    storeLiveObject(window.live, i, live);
  }
  for (uint32_t i = 1; i < count; ++i) {
    const UnitRecord unit = window.live.unitAt(i);
    if (unit.isMenuItem()) continue;
    const UnitTypeDescriptor* type = unitTypeDescriptorOf(unit.type);
    visible[i] = !(type->state & kTypeStartsHidden) && (unit.flags & kUnitVisible);
    LiveUnit* live = registry.liveUnit(window, i);
    HWND parent = containerWindow(window, unit);
    if (parent && GetParent(live->window) != parent) SetParent(live->window, parent);
  }
  // The children of a page container after its first page start hidden.
  for (uint32_t i = 1; i < count; ++i) {
    const UnitRecord unit = window.live.unitAt(i);
    const UnitTypeDescriptor* type = unit.isMenuItem() ? nullptr : unitTypeDescriptorOf(unit.type);
    if (!type || !(type->state & kTypePageContainer)) continue;
    bool laterPage = false;
    for (uint32_t child : unit.children) {
      if (child == 0) laterPage = true;
      const auto index = child ? window.live.indexOf(child) : std::nullopt;
      if (laterPage && index) visible[*index] = false;
    }
  }
  return true;
}

// Step 11: the first stored unit of a container lies on top of its siblings.
void stackUnits(WindowObject& window) {
  FormRegistry& registry = formRegistry();
  const uint32_t count = window.live.count();
  for (uint32_t i = 1; i < count; ++i) {
    LiveUnit* live = registry.liveUnit(window, i);
    if (!live) continue;
    const uint32_t container = storedContainer(window.live, i);
    HWND above = HWND_TOP;
    for (uint32_t j = i; j-- > 1;) {
      LiveUnit* earlier = registry.liveUnit(window, j);
      if (earlier && storedContainer(window.live, j) == container) {
        above = earlier->window;
        break;
      }
    }
    // Units made from the last to the first mostly lie in this order already.
    const HWND now = GetWindow(live->window, GW_HWNDPREV);
    if (above == HWND_TOP ? now == nullptr : now == above) continue;
    SetWindowPos(live->window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void sendToUnits(WindowObject& window, UINT message) {
  for (uint32_t i = window.live.count(); i-- > 0;) {
    if (LiveUnit* live = formRegistry().liveUnit(window, i))
      SendMessageW(live->window, message, 0, 0);
  }
}

void makePointers(WindowObject& window) {
  for (uint32_t i = 0; i < window.live.count(); ++i) {
    const UnitRecord unit = window.live.unitAt(i);
    if (!unit.isMenuItem()) storePointer(window.live, i, pointerFromData(unit.pointerData));
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
  if (runtimeState().hiddenOwner) {
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

// Steps 17 to 21, once the window and its units exist.
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

// Step 2: a live window is only brought to the front; one that is closing goes first.
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
  if (live->modal && formRegistry().liveWindow(window) == live) runModalMessageLoop(window.id);
}

bool unitMayShow(const WindowObject& window, uint32_t index) {
  const UnitTypeDescriptor* type = unitTypeDescriptorOf(storedType(window.live, index));
  return type && !(type->state & kTypeStartsHidden);
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
  const UnitRecord windowUnit = window.live.unitAt(0);
  registry.loadingModally = modal;
  LiveUnit* created = createUnit(windowUnit, creationStyle(windowUnit.flags), parent, 0, window.id,
                                 window.live.idAt(0));
  registry.loadingModally = false;
  if (!created) return abandonLoad(window, nullptr);
  storeLiveObject(window.live, 0, created);
  std::vector<bool> visible(window.live.count(), false);
  if (!createUnits(window, created->window, visible)) return abandonLoad(window, created);
  stackUnits(window);
  makePointers(window);
  for (uint32_t i = window.live.count(); i-- > 1;) {
    if (LiveUnit* live = registry.liveUnit(window, i))
      SendMessageW(live->window, kUnitsCreated, 0, 0);
  }
  SendMessageW(created->window, kUnitsArranged, 0, 0);
  for (uint32_t i = 1; i < window.live.count(); ++i) {
    if (LiveUnit* live = registry.liveUnit(window, i))
      ShowWindow(live->window, visible[i] ? SW_SHOWNA : SW_HIDE);
  }
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
    runModalMessageLoop(window->id);
  }
  return 0;
}

}  // namespace velmora
