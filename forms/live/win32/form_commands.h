// The core library's commands that need the window registry: the combo box commands and the
// load, close and flash window commands. installFormCommands puts them into the core command table.
#pragma once

#include <windows.h>

#include "runtime/tagged_value.h"

namespace velmora::forms {

void comboBoxItemCount(runtime::ResultRecord* result, int32_t argCount,
                       const runtime::ArgRecord* args);
void comboBoxItemText(runtime::ResultRecord* result, int32_t argCount,
                      const runtime::ArgRecord* args);
void addComboBoxItem(runtime::ResultRecord* result, int32_t argCount,
                     const runtime::ArgRecord* args);
void clearComboBox(runtime::ResultRecord* result, int32_t argCount, const runtime::ArgRecord* args);
void loadWindowCommand(runtime::ResultRecord* result, int32_t argCount,
                       const runtime::ArgRecord* args);
void closeWindowCommand(runtime::ResultRecord* result, int32_t argCount,
                        const runtime::ArgRecord* args);
// flashWindow(window reference): the window's taskbar button flashes until the user comes back to
// the window, when the user works in another program; nothing when the window in front is one of
// this program's, or the window is not loaded.
void flashWindowCommand(runtime::ResultRecord* result, int32_t argCount,
                        const runtime::ArgRecord* args);
// How a window is flashed: FlashWindowEx; tests record the calls instead.
using WindowFlasher = BOOL(WINAPI*)(PFLASHWINFO flash);
WindowFlasher& windowFlasher();

void installFormCommands();

}  // namespace velmora::forms
