#include "controls/win32/unit_window.h"

#include <algorithm>

namespace velmora::controls {

void attachUnit(HWND window, StandardUnit* unit) {
  unit->window = window;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(unit));
  forms::markUnitWindow(window, window);
}

void detachUnit(HWND window) {
  forms::unmarkUnitWindow(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

LRESULT defaultProcessing(const StandardUnit& unit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (unit.standardProcedure != nullptr)
    return CallWindowProcW(unit.standardProcedure, unit.window, message, wParam, lParam);
  return DefWindowProcW(unit.window, message, wParam, lParam);
}

void registerUnitClass(const wchar_t* className, WNDPROC procedure) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW known{};
  known.cbSize = sizeof known;
  if (GetClassInfoExW(instance, className, &known)) return;
  WNDCLASSEXW unitClass{};
  unitClass.cbSize = sizeof unitClass;
  unitClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  unitClass.lpfnWndProc = procedure;
  unitClass.hInstance = instance;
  unitClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  unitClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  unitClass.lpszClassName = className;
  RegisterClassExW(&unitClass);
}

int clampChoice(int value, int highest) {
  return std::clamp(value, 0, highest);
}

}  // namespace velmora::controls
