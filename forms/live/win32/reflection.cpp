#include "forms/live/win32/reflection.h"

#include <unordered_map>

namespace velmora::forms {
namespace {

// Units live on the user-interface thread only, so the marks are kept here rather than as
// window properties, which cost the window system a round trip on every reflected message.
std::unordered_map<HWND, HWND>& unitWindows() {
  static std::unordered_map<HWND, HWND> marks;
  return marks;
}

HWND unitWindowOf(HWND window) {
  const auto found = unitWindows().find(window);
  return found == unitWindows().end() ? nullptr : found->second;
}

// The window that sent the message, as the message names it.
HWND senderOf(HWND container, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
      return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM:
      return reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
    case WM_MEASUREITEM:
      return GetDlgItem(container, static_cast<int>(wParam));
    default:
      return nullptr;
  }
}

}  // namespace

void markUnitWindow(HWND window, HWND unitWindow) {
  unitWindows()[window] = unitWindow;
}

void unmarkUnitWindow(HWND window) {
  unitWindows().erase(window);
}

bool reflectToUnit(HWND container, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // A control inside a unit (the edit part of a combo box) counts as the unit.
  for (HWND sender = senderOf(container, message, wParam, lParam);
       sender != nullptr && sender != container; sender = GetParent(sender)) {
    if (HWND unit = unitWindowOf(sender)) {
      result = SendMessageW(unit, message + kReflectedMessageOffset, wParam, lParam);
      return true;
    }
  }
  return false;
}

}  // namespace velmora::forms
