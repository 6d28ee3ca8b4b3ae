// The program's call stubs on hosts without the i686 register conventions: the register slots
// are plain functions there (see portable_entry).
#include "runtime/entry_stubs.h"

using namespace velmora::runtime;

extern "C" {

void velmora_invoke_command_entry(EntryCode entry, Command command, int32_t library,
                                  int32_t argCount, const ArgRecord* args, ResultRecord* result) {
  reinterpret_cast<portable_entry::CommandEntry>(entry)(command, library, argCount, args, result);
}

uint32_t velmora_invoke_dll_command(const EntryTable* runtime, int32_t index, const uint32_t* words,
                                    int32_t wordCount, int32_t, int32_t) {
  return reinterpret_cast<portable_entry::DllCommandEntry>(runtime->callDllCommand)(index, words,
                                                                                    wordCount);
}

uintptr_t velmora_invoke_runtime_service(EntryCode entry, int32_t service, uintptr_t argument) {
  return reinterpret_cast<portable_entry::ServiceEntry>(entry)(service, argument);
}

// Doubles use SSE on these hosts: no x87 state to reset.
void velmora_reset_floating_point() {}

}  // extern "C"
