// The core runtime on Windows: its state, start-up, message loop and orderly exit. The form
// runtime and the unit types build on these.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/program_image.h"
#include "runtime/window_registry.h"

namespace velmora::runtime {

struct RuntimeState {
  bool initialised = false;
  uint32_t runMode = 0;
  uint32_t version = 0;
  uint32_t buildNumber = 0;
  std::wstring programDirectory;
  std::wstring programFileName;
  bool oleInitialised = false;
  HWND hiddenOwner = nullptr;
  DWORD mainThreadId = 0;
  // While above zero no events reach the program's handlers.
  int loadingDepth = 0;
  // While above zero a handler waits in a message box: the program's timers and finished
  // requests hold their routines, so that none runs in the middle of a handler.
  int waitingDepth = 0;
  // The window whose modal message loop runs innermost; 0 for none.
  uint32_t modalWindowId = 0;
  bool messageLoopStarted = false;
  bool shuttingDown = false;
  // The libraries that received their start notification.
  std::vector<const LibraryDescriptor*> libraries;
};

RuntimeState& runtimeState();

WindowRegistry& windowRegistry();
// The form runtime installs the registry it filled from the window data.
void setWindowRegistry(WindowRegistry* registry);

// Runtime service 6.
void initialiseRuntime(const ProgramHeader& header);
void registerExitRoutine(void (*routine)());
// Empties the exit-routine list without running it (after a runtime error).
void forgetExitRoutines();

// Notify code 1003 turns picture file bytes into a bitmap; the library that holds the unit types
// provides the service at start.
using PictureService = intptr_t (*)(uintptr_t request, uintptr_t result);
void setPictureService(PictureService service);

// The runtime notify entry handed to every library.
intptr_t VELMORA_STDCALL runtimeNotify(int32_t code, uintptr_t first, uintptr_t second);

// Library code's idle work, run by the message loop while the queue is empty.
using IdleCallback = void(VELMORA_STDCALL*)(uintptr_t argument);
struct IdleCallbackRecord {
  HWND window;
  IdleCallback callback;
  uintptr_t argument;
};

// Notify codes 1012 and 1013: an entry is added only for a live window not yet in the list.
void addIdleCallback(const IdleCallbackRecord& record);
void removeIdleCallback(HWND window);
void dropIdleCallbacks();

// Dispatches every message waiting in the queue; a quit message stays for the message loop.
void processPendingMessages();

// Slot 10: runs until the quit message; returns at once when no window is live.
void runMessageLoop();
// Runs the loop for a modal window until that window's modal state ends (its id is no longer
// the modal window id) or a quit message is next, which stays in the queue for the outer loop.
void runModalMessageLoop(uint32_t windowId);

// From process start on, a crash ends the program with the runtime error box (crash_report.cpp).
void installCrashReport();
// Whether a runtime error report has begun; the process ends with it.
bool runtimeErrorReported();

// The orderly exit: windows, exit routines, libraries, then the runtime's own resources.
void shutdownRuntime(int32_t exitCode);
// Slot 9: the orderly exit, then the end of the process.
[[noreturn]] void exitProgram(int32_t exitCode);

}  // namespace velmora::runtime

// Calls a routine of the program with every general register saved around it; returns its eax.
extern "C" int velmora_call_preserving_registers(const void* routine);
