// Loading a window from its record into live windows and units, and taking it down again.
#pragma once

#include <windows.h>

#include <cstdint>

#include "forms/live/win32/form_registry.h"

namespace velmora::forms {

// Private messages the runtime sends.
inline constexpr UINT kUnitsCreated = 0x806F;   // to every unit once all exist
inline constexpr UINT kUnitsArranged = 0x8004;  // to the window once its units are in place
inline constexpr UINT kKeepFocus = 0x8076;      // to every unit at the end of a load
inline constexpr UINT kCloseRequest = 0x8065;   // posted by the close window command

// The record of notify 2005.
struct LoadRequest {
  uint32_t windowId = 0;
  LiveWindow* parent = nullptr;
  uint32_t modal = 0;
};

// Loads a window (or brings a live one to the front); false when it was not loaded.
bool loadWindow(WindowObject& window, HWND parent, bool modal);
// Notify 2005: loads, then for a window that was created and is visible runs its modal loop
// when it is modal. 0 when loaded, -1 when not.
int32_t handleLoadRequest(const LoadRequest& request);

// Shows a loaded window as at the end of its load, running its modal loop when it is modal.
void showLoadedWindow(WindowObject& window);
// Whether a unit that is set visible may show: not when its type starts hidden.
bool unitMayShow(const WindowObject& window, uint32_t index);

// The close window command on a window: at once, or by the posted close request.
void requestClose(LiveWindow& window, bool immediately);
// The close request arrived: a window marked closing goes.
void closeRequested(LiveWindow& window);
// The close box or the system asked to close: either close query may refuse it.
bool closeAllowed(LiveWindow& window);
// The window's own window is being destroyed: its units are told and the destroying event is
// raised.
void windowDestroying(LiveWindow& window);
// The window's own window is gone: pointer handles, tables, the modal state, the quit message.
void windowGone(LiveWindow* window);
// Notify 2000 for a unit that is not the window: its pointer handle and live object go.
void unitDestroyed(uint32_t windowId, uint32_t unitId);
// The close window command on a unit inside a window.
void closeUnit(WindowObject& window, uint32_t index);

}  // namespace velmora::forms
