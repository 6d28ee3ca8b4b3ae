// The program's side of the entry slots that take a value in a register: the caller pushes the
// records and the count, loads the register and calls the slot.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/entry_table.h"

extern "C" {
void velmora_invoke_command_entry(velmora::runtime::EntryCode entry,
                                  velmora::runtime::Command command, int32_t library,
                                  int32_t argCount, const velmora::runtime::ArgRecord* args,
                                  velmora::runtime::ResultRecord* result);
uint32_t velmora_invoke_dll_command(const velmora::runtime::EntryTable* runtime, int32_t index,
                                    const uint32_t* words, int32_t wordCount, int32_t sourceId,
                                    int32_t position);
uintptr_t velmora_invoke_runtime_service(velmora::runtime::EntryCode entry, int32_t service,
                                         uintptr_t argument);
void velmora_reset_floating_point();
}

namespace velmora::runtime {

// On hosts without the i686 conventions (native builds, where the program's code runs against a
// fake entry table in tests) the register slots hold plain functions of these types.
namespace portable_entry {
using CommandEntry = void (*)(Command command, int32_t library, int32_t argCount,
                              const ArgRecord* args, ResultRecord* result);
using DllCommandEntry = uint32_t (*)(int32_t index, const uint32_t* words, int32_t wordCount);
using ServiceEntry = uintptr_t (*)(int32_t service, uintptr_t argument);
}  // namespace portable_entry

// Calls a command through slot 2 (library commands) or slot 3 (core commands); the library
// index travels with slot 2 only, and nothing reads it.
inline ResultRecord callCommandEntry(EntryCode entry, Command command, int32_t library,
                                     std::span<const ArgRecord> args) {
  ResultRecord result;
  velmora_invoke_command_entry(entry, command, library, static_cast<int32_t>(args.size()),
                               args.data(), &result);
  return result;
}

// Calls DLL command index through slot 1 with its arguments as 32-bit words, argument 1 first.
// The stack pointer is compared before and after the call: a function that removed more or fewer
// bytes than were pushed is runtime error 6, reported through slot 0 at sourceId and position.
inline uint32_t callDllCommand(const EntryTable& entries, int32_t index,
                               std::span<const uint32_t> words, int32_t sourceId,
                               int32_t position) {
  return velmora_invoke_dll_command(&entries, index, words.data(),
                                    static_cast<int32_t>(words.size()), sourceId, position);
}

inline uintptr_t callRuntimeService(EntryCode entry, int32_t service, uintptr_t argument = 0) {
  return velmora_invoke_runtime_service(entry, service, argument);
}

// The floating-point unit in its default state and the direction flag cleared.
inline void resetFloatingPoint() {
  velmora_reset_floating_point();
}

}  // namespace velmora::runtime
