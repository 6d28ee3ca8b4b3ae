// The core library's commands that reach the window system: message box, clipboard, combo boxes,
// loading and closing windows. They live with the window system's side of the runtime and with
// the form runtime, which install them here at start; until then they return the neutral value.
#pragma once

#include "runtime/tagged_value.h"

namespace velmora::runtime {

// Puts a command behind its number in the core library's command table; null takes it away.
void installCoreCommand(int number, Command command);

// What is installed behind a number, or null.
Command installedCoreCommand(int number);

// The table entry of command kNumber: it calls what is installed behind that number.
template <int kNumber>
void installedCommandEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  if (Command command = installedCoreCommand(kNumber)) command(result, argCount, args);
}

}  // namespace velmora::runtime
