// The program's seven windows inside a test or benchmark process. The runtime starts as the
// program starts it, with the program's libraries and window data, but without the client's
// handler code: loading a window runs no handler, so nothing asks the service.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>

namespace velmora::testing {

struct ProgramWindow {
  uint32_t id;
  const char* name;  // for reports
};

extern const ProgramWindow kProgramWindows[7];

inline void PrintTo(const ProgramWindow& window, std::ostream* out) {
  *out << window.name;
}

// Initialises the runtime once for the process; later calls do nothing. Under Wine on a display
// without a window manager, closing a window is quick only for the programs that
// scripts/wine-env.sh names.
void startProgramRuntime();

// Loads the window as the program loads its start window (no parent, not modal), runs the
// messages that follow, its first painting among them, and returns its window, or null when it
// did not load.
HWND openProgramWindow(uint32_t windowId);

// Closes the window at once, as the close window command does when told not to wait, and runs
// the messages that follow; true when the window is gone.
bool closeProgramWindow(uint32_t windowId);

}  // namespace velmora::testing
