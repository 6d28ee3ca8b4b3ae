// The program's calls on its windows and units, through the runtime entry table: unit
// properties, windows opened, closed and flashed, combo box lists, messages, the clipboard and
// pauses.
#pragma once

#include <cstdint>

#include "app/runtime_calls.h"
#include "app/unit_ref.h"

namespace velmora::app {

// A label's or edit box's text.
Text unitText(UnitRef unit);
void setUnitText(UnitRef unit, const char* text);
// A combo box's text.
Text comboBoxText(UnitRef unit);
void setComboBoxText(UnitRef unit, const char* text);
bool isTicked(UnitRef checkBox);
void setVisible(UnitRef unit, bool visible);

// Windows open modally and without a parent; opening a window that is open brings it to the front.
void openWindow(uint32_t window);
// Asks the window to close: it closes when the message loop reaches the request.
void closeWindow(uint32_t window);

void clearComboBox(UnitRef comboBox);
void addComboBoxItem(UnitRef comboBox, const char* item);
int32_t comboBoxItemCount(UnitRef comboBox);
// Item index, 0-based.
Text comboBoxItemText(UnitRef comboBox, int32_t index);

// A message box with one OK button; the caption is the runtime's default when none is given.
void showMessage(const char* text, const char* caption = nullptr);
// False when the clipboard did not take the text.
bool setClipboardText(const char* text);
void pause(int32_t milliseconds);

// routine runs every so many milliseconds as an event of the window, until it is stopped or the
// window goes.
void startTimer(uint32_t window, int32_t milliseconds, void (*routine)());
void stopTimer(uint32_t window, void (*routine)());

// Asks for the user's attention: the window's taskbar button flashes until the user comes back
// to it, when the user works in another program (not when a window of this one is in front).
void flashWindow(uint32_t window);

}  // namespace velmora::app
