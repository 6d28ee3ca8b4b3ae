#include "forms/live/win32/unit_recreation.h"

#include <windows.h>

#include <vector>

#include "forms/live/win32/unit_slots.h"
#include "forms/live/win32/window_lifecycle.h"
#include "runtime/win32/runtime.h"

namespace velmora::forms {
namespace {

BOOL CALLBACK collectChild(HWND child, LPARAM list) {
  auto& children = *reinterpret_cast<std::vector<HWND>*>(list);
  if (GetParent(child) == children.front()) children.push_back(child);
  return TRUE;
}

// The old unit's direct children move to the new one.
void moveChildren(HWND from, HWND to) {
  std::vector<HWND> children{from};
  EnumChildWindows(from, collectChild, reinterpret_cast<LPARAM>(&children));
  for (size_t i = 1; i < children.size(); ++i) SetParent(children[i], to);
}

LiveUnit* createFrom(const SerialisedBlock& block, const UnitTypeDescriptor& type, HWND old,
                     uint32_t windowId, uint32_t unitId) {
  auto create = reinterpret_cast<CreateUnitFunction>(type.interfaceFunction(kCreateUnit));
  if (!create) return nullptr;
  RECT rect;
  GetWindowRect(old, &rect);
  HWND parent = GetParent(old);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  const uint32_t style = IsWindowEnabled(old) ? 0 : WS_DISABLED;
  const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block.block));
  LiveUnit* created = create(
      bytes, block.length, style, parent, static_cast<uintptr_t>(GetDlgCtrlID(old)), rect.left,
      rect.top, rect.right - rect.left, rect.bottom - rect.top, windowId, unitId, nullptr, 0);
  GlobalUnlock(block.block);
  return created && IsWindow(created->window) ? created : nullptr;
}

void replaceUnit(WindowObject& window, uint32_t index, const UnitTypeDescriptor& type,
                 LiveUnit* old, const SerialisedBlock& block) {
  LiveUnit* created = createFrom(block, type, old->window, window.id, window.live.idAt(index));
  if (!created) return;
  if (type.state & kTypeMovesChildren) moveChildren(old->window, created->window);
  storeLiveObject(window.live, index, created);
  SetWindowPos(created->window, old->window, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(created->window, kUnitsCreated, 0, 0);
  SendMessageW(created->window, kKeepFocus, 0, 0);
  if (type.state & kTypeNotifiesParent)
    SendMessageW(GetParent(created->window), kUnitsArranged, 0, 0);
  if (IsWindowVisible(old->window)) ShowWindow(created->window, SW_SHOWNA);
  const bool hadFocus = GetFocus() == old->window;
  FormRegistry& registry = formRegistry();
  registry.recreatingUnit = true;
  DestroyWindow(old->window);
  registry.recreatingUnit = false;
  if (hadFocus) SetFocus(created->window);
}

}  // namespace

void recreateUnit(WindowObject& window, uint32_t index, const UnitTypeDescriptor& type) {
  if (type.state & kTypeNeverRecreated) return;
  LiveUnit* old = formRegistry().liveUnit(window, index);
  auto serialise = reinterpret_cast<SerialiseUnitFunction>(type.interfaceFunction(kSerialiseUnit));
  if (!old || !serialise) return;
  runtime::processPendingMessages();
  runtime::runtimeState().loadingDepth += 1;
  SerialisedBlock block;
  if (serialise(old, &block) && block.block) {
    replaceUnit(window, index, type, old, block);
    GlobalFree(block.block);
  }
  runtime::processPendingMessages();
  if (runtime::runtimeState().loadingDepth >= 1) runtime::runtimeState().loadingDepth -= 1;
}

}  // namespace velmora::forms
