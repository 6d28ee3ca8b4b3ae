// The orderly exit and the exit routines of the program.
#include <ole2.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "runtime/win32/dll_commands.h"
#include "runtime/win32/runtime.h"

namespace velmora::runtime {
namespace {

// Posted to the hidden owner window when another thread ends the program.
constexpr UINT kExitFromOtherThread = 0x83E7;

std::vector<void (*)()> exitRoutines;

void runExitRoutines() {
  for (auto routine : exitRoutines)
    velmora_call_preserving_registers(reinterpret_cast<const void*>(routine));
  exitRoutines.clear();
}

void stopLibraries(RuntimeState& state) {
  for (const LibraryDescriptor* library : state.libraries) {
    if (library->notify) library->notify(kLibraryNotifyShutdown, 0, 0);
  }
  state.libraries.clear();
}

void releaseRuntimeResources(RuntimeState& state) {
  if (state.hiddenOwner) {
    DestroyWindow(state.hiddenOwner);
    state.hiddenOwner = nullptr;
  }
  if (state.oleInitialised) {
    OleUninitialize();
    state.oleInitialised = false;
  }
}

}  // namespace

void registerExitRoutine(void (*routine)()) {
  if (std::find(exitRoutines.begin(), exitRoutines.end(), routine) == exitRoutines.end()) {
    exitRoutines.push_back(routine);
  }
}

void forgetExitRoutines() {
  exitRoutines.clear();
}

void shutdownRuntime(int32_t exitCode) {
  RuntimeState& state = runtimeState();
  if (state.mainThreadId != 0 && GetCurrentThreadId() != state.mainThreadId) {
    if (state.hiddenOwner && IsWindow(state.hiddenOwner)) {
      PostMessageW(state.hiddenOwner, kExitFromOtherThread, static_cast<WPARAM>(exitCode), 0);
    }
    ExitProcess(static_cast<UINT>(exitCode));
  }
  if (state.shuttingDown) return;  // an exit routine or a library asked to exit again
  state.loadingDepth += 1;
  state.shuttingDown = true;
  dropIdleCallbacks();
  windowRegistry().releaseAllWindows();
  runExitRoutines();
  stopLibraries(state);
  releaseDllCommands();
  releaseRuntimeResources(state);
}

void exitProgram(int32_t exitCode) {
  shutdownRuntime(exitCode);
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace velmora::runtime
