// The client's program entry: the start sequence, run through the runtime entry table.
#include "app/account.h"
#include "app/window_units.h"
#include "runtime/entry_stubs.h"
#include "runtime/program_image.h"

namespace velmora {
namespace {

void initialiseProgram() {}
// The exit routine: the orderly exit releases the account fields.
void releaseProgram() {
  app::releaseAccount();
}
int startUp() {
  return 0;
}

}  // namespace

int runtime::programEntry() {
  const EntryTable& entries = runtimeEntryTable;
  callRuntimeService(entries.runtimeService, kServiceInitialiseRuntime);
  resetFloatingPoint();
  initialiseProgram();
  callRuntimeService(entries.runtimeService, kServiceRegisterExitRoutine,
                     reinterpret_cast<uintptr_t>(&releaseProgram));
  startUp();
  entries.loadStartWindow(app::login::kWindow);
  entries.runMessageLoop();
  return 0;
}

}  // namespace velmora
