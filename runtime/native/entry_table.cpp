// The entry table on hosts without the window system (native tools and tests): runtime errors,
// the command slots and memory work; the DLL, property, window and service entries are absent.
#include "runtime/entry_stubs.h"
#include "runtime/memory.h"
#include "runtime/runtime_error.h"

#include <cstdlib>

namespace velmora::runtime {
namespace {

void reportProgramError(int32_t code, int32_t sourceId, int32_t position) {
  raiseRuntimeError(codedErrorMessage(code), code, sourceId, position);
}

void callCommand(Command command, int32_t, int32_t argCount, const ArgRecord* args,
                 ResultRecord* result) {
  *result = {};
  command(result, argCount, args);
}

[[noreturn]] void exitProgram(int32_t exitCode) {
  std::exit(exitCode);
}

}  // namespace

const EntryTable runtimeEntryTable = {
    .reportRuntimeError = reportProgramError,
    .callLibraryCommand = reinterpret_cast<EntryCode>(&callCommand),
    .callCoreCommand = reinterpret_cast<EntryCode>(&callCommand),
    .allocate = allocate,
    .reallocate = reallocate,
    .free = freeBlock,
    .exitProgram = exitProgram,
};

}  // namespace velmora::runtime
