// The live object of a window's own unit: the window system's window and what the form runtime
// keeps about it while it is loaded.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "forms/format/unit_properties.h"
#include "forms/unit_type_interface.h"
#include "runtime/program_routine.h"

namespace velmora::forms {

// A window that a modal load disabled, and whether it was enabled before.
struct DisabledWindow {
  HWND window = nullptr;
  bool wasEnabled = false;
};

// A timer the program started on the window: its routine runs at every tick while the window
// lives.
struct ProgramTimer {
  UINT_PTR id = 0;
  runtime::ProgramRoutine routine = nullptr;
};

struct LiveWindow : LiveUnit {
  uint32_t windowId = 0;
  uint32_t unitId = 0;
  bool closing = false;  // a close was requested and its message is on its way
  bool loaded = false;   // a load completed; cleared when the window is first shown
  bool modal = false;
  bool hasParent = false;
  bool topmost = false;  // made topmost because its modal owner was
  std::vector<DisabledWindow> disabledWindows;
  HACCEL accelerators = nullptr;
  std::vector<ProgramTimer> timers;
  UnitProperties properties = WindowProperties{};

  const WindowProperties& windowProperties() const {
    return std::get<WindowProperties>(properties);
  }
};

}  // namespace velmora::forms
