// Message reflection: a container hands the notifications, owner-draw and colour messages its
// child controls send it back to the unit they came from, so that every unit handles its own,
// whatever container it lies in. The unit receives the message number plus the offset below.
#pragma once

#include <windows.h>

namespace velmora::forms {

inline constexpr UINT kReflectedMessageOffset = 0x2000;

// Marks `window` as belonging to the unit whose window is `unitWindow`: reflected messages
// that come from `window` go to `unitWindow`.
void markUnitWindow(HWND window, HWND unitWindow);
void unmarkUnitWindow(HWND window);

// For WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_HSCROLL, WM_VSCROLL and the
// WM_CTLCOLOR messages received by `container`: sends the reflected message to the unit the
// message came from and gives its answer. False when the message is not one of these or did not
// come from a unit.
bool reflectToUnit(HWND container, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace velmora::forms
