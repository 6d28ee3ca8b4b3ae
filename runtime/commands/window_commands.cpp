#include "runtime/commands/window_commands.h"

#include "runtime/commands/core_commands.h"

namespace velmora {
namespace {

Command installed[kCoreCommandCount] = {};

template <int kNumber>
void callInstalled(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  if (Command command = installed[kNumber]) command(result, argCount, args);
}

}  // namespace

void installCoreCommand(int number, Command command) {
  if (number >= 0 && number < kCoreCommandCount) installed[number] = command;
}

void messageBoxEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  callInstalled<core_command::kMessageBox>(result, argCount, args);
}
void loadWindowEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  callInstalled<core_command::kLoadWindow>(result, argCount, args);
}
void closeWindowEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  callInstalled<core_command::kCloseWindow>(result, argCount, args);
}
void clearComboBoxEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  callInstalled<core_command::kClearComboBox>(result, argCount, args);
}
void addComboBoxItemEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  callInstalled<core_command::kAddComboBoxItem>(result, argCount, args);
}
void comboBoxItemCountEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  callInstalled<core_command::kComboBoxItemCount>(result, argCount, args);
}
void comboBoxItemTextEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  callInstalled<core_command::kComboBoxItemText>(result, argCount, args);
}
void setClipboardTextEntry(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  callInstalled<core_command::kSetClipboardText>(result, argCount, args);
}

}  // namespace velmora
