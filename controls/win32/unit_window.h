// What every unit type shares: the live object with its properties, the window procedure that
// finds the unit again, creation of its window, and the four interface functions.
#pragma once

#include <windows.h>

#include <span>

#include "controls/win32/live_unit.h"
#include "controls/win32/runtime_link.h"
#include "controls/win32/stored_properties.h"
#include "forms/format/property_blocks.h"
#include "forms/live/win32/reflection.h"
#include "forms/unit_type_interface.h"

namespace velmora::controls {

// Where and how the runtime wants the unit's window.
struct CreateRequest {
  DWORD style;  // disabled and tab stop, from the unit's flags
  HWND parent;
  UINT_PTR controlId;
  int x;
  int y;
  int width;
  int height;
};

// The live object of a unit of one type, with the defaults of what a type may provide.
template <class Block>
struct UnitOf : StandardUnit {
  using Property = typename Block::Property;
  Block properties;
  ReadScratch scratch;

  // Brings the stored values into their ranges.
  void normalise() {}
  // Copies into `properties` what the live window holds (content, selection, checked state).
  void takeLiveValues() {}
  // A value only the live window has (a selected text); false for the stored ones.
  bool readLiveOnly(Property, forms::PropertyValue&) { return false; }
  // A message the unit handles itself; false lets the default processing run.
  bool handle(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
};

void attachUnit(HWND window, StandardUnit* unit);
void detachUnit(HWND window);
LRESULT defaultProcessing(const StandardUnit& unit, UINT message, WPARAM wParam, LPARAM lParam);
// Registers one of the units' own window classes on first use: double clicks, redraw on
// resizing, arrow cursor, no background brush.
void registerUnitClass(const wchar_t* className, WNDPROC procedure);
int clampChoice(int value, int highest);

template <class Unit>
LRESULT CALLBACK unitWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* unit = reinterpret_cast<Unit*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (unit == nullptr && message == WM_NCCREATE) {
    unit = static_cast<Unit*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (unit != nullptr) attachUnit(window, unit);
  }
  if (unit == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  if (!unit->handle(message, wParam, lParam, result))
    result = defaultProcessing(*unit, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    detachUnit(window);
    reportUnitGone(*unit);
    delete unit;
  }
  return result;
}

// Every unit is a child window that clips its siblings, so that a unit stored earlier, which lies
// above a later one, is never painted over by it.
inline constexpr DWORD kUnitWindowStyle = WS_CHILD | WS_CLIPSIBLINGS;

// A window of one of the units' own classes, attached to the unit.
template <class Unit>
bool createOwnClassWindow(Unit* unit, const wchar_t* className, const CreateRequest& request,
                          DWORD style, DWORD extendedStyle, const wchar_t* text = L"") {
  registerUnitClass(className, unitWindowProcedure<Unit>);
  return CreateWindowExW(extendedStyle, className, text, kUnitWindowStyle | request.style | style,
                         request.x, request.y, request.width, request.height, request.parent,
                         reinterpret_cast<HMENU>(request.controlId), GetModuleHandleW(nullptr),
                         unit) != nullptr;
}

// A standard control whose messages pass through the unit first.
template <class Unit>
bool createStandardControl(Unit* unit, const wchar_t* className, const CreateRequest& request,
                           DWORD style, DWORD extendedStyle, const wchar_t* text = L"") {
  HWND window = CreateWindowExW(
      extendedStyle, className, text, kUnitWindowStyle | request.style | style, request.x,
      request.y, request.width, request.height, request.parent,
      reinterpret_cast<HMENU>(request.controlId), GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return false;
  attachUnit(window, unit);
  unit->standardProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(unitWindowProcedure<Unit>)));
  return true;
}

// The interface functions of a unit type. A type provides `open` (makes its window) and
// `applyChange` (shows a written property; false when the unit must be created anew).
template <class Unit>
struct UnitTypeFunctions {
  static forms::LiveUnit* VELMORA_STDCALL create(const uint8_t* block, uint32_t blockLength,
                                                 uint32_t style, HWND parent, uintptr_t controlId,
                                                 int32_t x, int32_t y, int32_t width,
                                                 int32_t height, uint32_t windowId, uint32_t unitId,
                                                 HWND, int32_t) {
    auto* unit = new Unit();
    const std::span<const uint8_t> bytes(block, block != nullptr ? blockLength : 0);
    if (forms::readPropertyBlock(bytes, unit->properties) != forms::ReadStatus::kOk) {
      delete unit;
      return nullptr;
    }
    unit->windowId = windowId;
    unit->unitId = unitId;
    unit->normalise();
    const CreateRequest request{style, parent, controlId, x, y, width, height};
    if (!unit->open(request)) {
      if (unit->window != nullptr) {
        DestroyWindow(unit->window);  // its window procedure deletes the unit
      } else {
        delete unit;
      }
      return nullptr;
    }
    return unit;
  }

  static int32_t VELMORA_STDCALL changed(forms::LiveUnit* live, int32_t ownIndex,
                                         const forms::PropertyValue* value, int32_t) {
    auto* unit = static_cast<Unit*>(live);
    if (unit == nullptr || value == nullptr) return 0;
    unit->takeLiveValues();
    const auto property = forms::propertyOfOwnIndex<typename Unit::Property>(ownIndex);
    if (!writeStoredProperty(unit->properties, property, *value)) return 0;
    unit->normalise();
    return unit->applyChange(property) ? 0 : 1;
  }

  static int32_t VELMORA_STDCALL serialise(forms::LiveUnit* live, forms::SerialisedBlock* out) {
    auto* unit = static_cast<Unit*>(live);
    if (unit == nullptr || out == nullptr) return 0;
    unit->takeLiveValues();
    const forms::Bytes block = forms::writePropertyBlock(unit->properties);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, block.size());
    if (memory == nullptr) return 0;
    std::copy(block.begin(), block.end(), static_cast<uint8_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    *out = {memory, static_cast<uint32_t>(block.size())};
    return 1;
  }

  static int32_t VELMORA_STDCALL read(forms::LiveUnit* live, int32_t ownIndex,
                                      forms::PropertyValue* value) {
    auto* unit = static_cast<Unit*>(live);
    if (unit == nullptr || value == nullptr) return 0;
    unit->takeLiveValues();
    const auto property = forms::propertyOfOwnIndex<typename Unit::Property>(ownIndex);
    if (unit->readLiveOnly(property, *value)) return 1;
    return readStoredProperty(unit->properties, property, *value, unit->scratch);
  }

  static void* functionNumbered(int32_t number) {
    switch (number) {
      case forms::kCreateUnit:
        return reinterpret_cast<void*>(static_cast<forms::CreateUnitFunction>(create));
      case forms::kPropertyChanged:
        return reinterpret_cast<void*>(static_cast<forms::PropertyChangedFunction>(changed));
      case forms::kSerialiseUnit:
        return reinterpret_cast<void*>(static_cast<forms::SerialiseUnitFunction>(serialise));
      case forms::kReadProperty:
        return reinterpret_cast<void*>(static_cast<forms::ReadPropertyFunction>(read));
      default:
        return nullptr;
    }
  }
};

// The painting messages of a unit that paints its whole area itself: WM_PAINT and WM_PRINTCLIENT
// draw through unit.paint(dc), and the background is never erased apart. False for any other
// message.
template <class Unit>
bool handlePaintMessages(Unit& unit, UINT message, WPARAM wParam, LRESULT& result) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(unit.window, &ps);
      unit.paint(dc);
      EndPaint(unit.window, &ps);
      return true;
    }
    case WM_PRINTCLIENT:
      unit.paint(reinterpret_cast<HDC>(wParam));
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    default:
      return false;
  }
}

}  // namespace velmora::controls
