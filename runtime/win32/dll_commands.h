// DLL commands: functions of system libraries that the program declares in its program data and
// calls by index through the call-DLL-command entry. Each is bound on its first call.
#pragma once

#include <cstdint>

#include "runtime/program_image.h"

namespace velmora::runtime {

// Copies the program's DLL command table; every command starts unbound.
void copyDllCommandTable(const ProgramHeader& header);
// Frees every library loaded for a DLL command and empties the table.
void releaseDllCommands();
// Whether the command has been bound by a call.
bool dllCommandBound(int32_t index);

}  // namespace velmora::runtime

// The function of a DLL command, binding it first when necessary; a command that cannot be bound
// is a runtime error. Called by the call-DLL-command entry.
extern "C" void* velmora_bind_dll_command(int32_t index);
// Slot 1: the command's index in eax, its arguments on the stack as the function expects them.
extern "C" void velmora_dll_command_entry();
