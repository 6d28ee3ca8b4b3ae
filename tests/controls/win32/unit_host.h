// A top-level window for unit tests: units are created in it through their interface
// functions, it reflects their messages, and it can be captured from the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "controls/win32/runtime_link.h"
#include "controls/win32/standard_units.h"
#include "forms/format/property_blocks.h"
#include "forms/format/unit_ids.h"
#include "forms/unit_type_interface.h"

namespace velmora::testing {

inline constexpr COLORREF kHostBackground = RGB(200, 40, 40);

// Records what the units tell the runtime; `onEvent` runs while an event is raised.
struct RuntimeRecorder {
  std::vector<controls::EventRecord> events;
  std::vector<uint32_t> goneUnits;
  std::function<void(const controls::EventRecord&)> onEvent;
};
RuntimeRecorder& recorder();

class UnitHost {
 public:
  UnitHost();
  ~UnitHost();
  HWND window() const { return window_; }

  // Creates a unit of the type from a property block; null when it refuses.
  forms::LiveUnit* create(uint32_t typeCode, const forms::Bytes& block, RECT rect,
                          HWND parent = nullptr);
  template <class Block>
  forms::LiveUnit* create(const Block& properties, RECT rect, HWND parent = nullptr) {
    return create(Block::table.typeCode, forms::writePropertyBlock(properties), rect, parent);
  }

  static HWND windowOf(void* unit) { return *static_cast<HWND*>(unit); }

 private:
  HWND window_ = nullptr;
  uint32_t nextControlId_ = 100;
};

// Processes every pending message.
void pumpMessages();

// The window's client area as the screen shows it.
// Either what the window shows once it has been redrawn whole, or what it shows as it is.
enum class Capture { redrawn, asShown };

class ScreenCapture {
 public:
  explicit ScreenCapture(HWND window, Capture mode = Capture::redrawn);
  COLORREF at(int x, int y) const;
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

// The smallest rectangle, right and bottom included, that holds every pixel of `area` that passes
// `test`; empty (right below left) when none does.
RECT pixelBounds(const ScreenCapture& screen, RECT area, bool (*test)(COLORREF));

}  // namespace velmora::testing

namespace velmora::testing {

// Function `number` of the unit type with this code.
template <class Function>
Function unitFunction(uint32_t typeCode, int32_t number) {
  return reinterpret_cast<Function>(controls::standardUnitTypeInterface(typeCode)(number));
}

}  // namespace velmora::testing
