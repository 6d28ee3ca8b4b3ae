// The runtime entry table and the entries that are plain functions.
#include "runtime/entry_table.h"

#include "runtime/memory.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_error_texts.h"
#include "runtime/win32/dll_commands.h"
#include "runtime/win32/runtime.h"

extern "C" void velmora_command_entry();
extern "C" void velmora_runtime_service_entry();

namespace velmora::runtime {
namespace {

// Slot 0: a failed check in the program's code.
void reportProgramError(int32_t code, int32_t sourceId, int32_t position) {
  raiseRuntimeError(codedErrorMessage(code), code, sourceId, position);
}

// Slot 11.
void loadStartWindow(uint32_t windowId) {
  if (!windowRegistry().loadStartWindow(windowId)) {
    raiseRuntimeError(error_texts::kStartWindowNotLoaded, 0, static_cast<int32_t>(windowId), 0);
  }
}

// Slots 4 and 5: unit properties, served by the window registry.
uint64_t readProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t part) {
  return windowRegistry().readProperty(windowId, unitId, property, part);
}

void writeProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t part, uint32_t low,
                   uint32_t high) {
  windowRegistry().writeProperty(windowId, unitId, property, part, low, high);
}

}  // namespace

const EntryTable runtimeEntryTable = {
    reportProgramError,
    velmora_dll_command_entry,
    velmora_command_entry,
    velmora_command_entry,
    readProperty,
    writeProperty,
    allocate,
    reallocate,
    freeBlock,
    exitProgram,
    runMessageLoop,
    loadStartWindow,
    velmora_runtime_service_entry,
};

}  // namespace velmora::runtime
