// The runtime entry table: the program's only door into the runtime. Thirteen code addresses in
// a fixed order, filled when the program is linked. Slots 1, 2, 3 and 12 take one value in a
// register and are called through the program's call stubs (entry_stubs.h); the others are plain
// functions.
#pragma once

#include <cstdint>

#include "runtime/tagged_value.h"

namespace velmora::runtime {

// The address of an entry with a register calling convention.
using EntryCode = void (*)();

struct EntryTable {
  void (*reportRuntimeError)(int32_t code, int32_t sourceId,
                             int32_t position) = nullptr;  // never returns
  EntryCode callDllCommand = nullptr;  // DLL command index in eax, the command's own arguments
  EntryCode callLibraryCommand =
      nullptr;                          // command in eax, library index in ecx; count and records
  EntryCode callCoreCommand = nullptr;  // command in eax; count and records
  uint64_t (*readProperty)(uint32_t windowId, uint32_t unitId, int32_t property,
                           int32_t part) = nullptr;
  void (*writeProperty)(uint32_t windowId, uint32_t unitId, int32_t property, int32_t part,
                        uint32_t low, uint32_t high) = nullptr;
  void* (*allocate)(int32_t size) = nullptr;
  void* (*reallocate)(void* block, int32_t size) = nullptr;
  void (*free)(void* block) = nullptr;
  void (*exitProgram)(int32_t exitCode) = nullptr;  // never returns
  void (*runMessageLoop)() = nullptr;
  void (*loadStartWindow)(uint32_t windowId) = nullptr;
  EntryCode runtimeService = nullptr;  // service number in eax, the service's arguments
};
static_assert(sizeof(EntryTable) == 13 * sizeof(void*));

// Runtime services (slot 12).
inline constexpr int32_t kServiceRegisterExitRoutine = 3;  // argument: the routine
inline constexpr int32_t kServiceInitialiseRuntime = 6;

// The runtime's table.
extern const EntryTable runtimeEntryTable;

}  // namespace velmora::runtime
