#include "runtime/commands/installed_commands.h"

#include "runtime/commands/core_commands.h"

namespace velmora::runtime {
namespace {

Command installed[kCoreCommandCount] = {};

}  // namespace

void installCoreCommand(int number, Command command) {
  if (number >= 0 && number < kCoreCommandCount) installed[number] = command;
}

Command installedCoreCommand(int number) {
  return number >= 0 && number < kCoreCommandCount ? installed[number] : nullptr;
}

}  // namespace velmora::runtime
