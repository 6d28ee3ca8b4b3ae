// The core library's commands that need the window registry: the combo box commands and the
// load and close window commands. installFormCommands puts them into the core command table.
#pragma once

#include "runtime/tagged_value.h"

namespace velmora::forms {

void comboBoxItemCount(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void comboBoxItemText(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void addComboBoxItem(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void clearComboBox(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void loadWindowCommand(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void closeWindowCommand(ResultRecord* result, int32_t argCount, const ArgRecord* args);

void installFormCommands();

}  // namespace velmora::forms
