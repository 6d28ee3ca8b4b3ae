// The core library's commands that reach the window system: message box, clipboard, combo boxes,
// loading and closing windows. They live with the window system's side of the runtime and with
// the form runtime, which install them here at start; until then they return the neutral value.
#pragma once

#include "runtime/value.h"

namespace velmora {

// Puts a command behind its number in the core library's command table; null takes it away.
void installCoreCommand(int number, Command command);

// The table entries: each calls what is installed behind its number.
void messageBoxEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void loadWindowEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void closeWindowEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void clearComboBoxEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void addComboBoxItemEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void comboBoxItemCountEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void comboBoxItemTextEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void setClipboardTextEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args);

}  // namespace velmora
