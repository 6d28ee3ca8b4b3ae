#include "app/window_calls.h"

#include "forms/format/property_indices.h"
#include "runtime/commands/core_commands.h"

namespace velmora::app {
namespace {

// Edit boxes and labels hold their text in the same place.
constexpr int32_t kText = forms::propertyIndex(forms::EditBoxProperty::kContent);
static_assert(kText == forms::propertyIndex(forms::LabelProperty::kCaption));
static_assert(kText == forms::propertyIndex(forms::TransLabelProperty::kCaption));
constexpr int32_t kComboBoxText = forms::propertyIndex(forms::ComboBoxProperty::kText);
constexpr int32_t kTicked = forms::propertyIndex(forms::CheckBoxProperty::kChecked);
constexpr int32_t kVisible = forms::propertyIndex(forms::CommonProperty::kVisible);
constexpr int32_t kWholeValue = -1;

uint64_t readProperty(UnitRef unit, int32_t property) {
  return entryTable().readProperty(unit.window, unit.unit, property, kWholeValue);
}

void writeProperty(UnitRef unit, int32_t property, runtime::ValueSlot value) {
  entryTable().writeProperty(unit.window, unit.unit, property, kWholeValue, value.low, value.high);
}

Text readTextProperty(UnitRef unit, int32_t property) {
  return Text(reinterpret_cast<char*>(static_cast<uintptr_t>(readProperty(unit, property))));
}

void writeTextProperty(UnitRef unit, int32_t property, const char* text) {
  runtime::ValueSlot value;
  value.setPointer(text);
  writeProperty(unit, property, value);
}

runtime::ArgRecord windowArgument(uint32_t window) {
  return runtime::valueArgument(runtime::types::kWindowRef, window);
}

runtime::ArgRecord comboBoxArgument(UnitRef comboBox) {
  return runtime::valueArgument(runtime::types::kComboBoxRef, comboBox.window, comboBox.unit);
}

}  // namespace

Text unitText(UnitRef unit) {
  return readTextProperty(unit, kText);
}

void setUnitText(UnitRef unit, const char* text) {
  writeTextProperty(unit, kText, text);
}

Text comboBoxText(UnitRef unit) {
  return readTextProperty(unit, kComboBoxText);
}

void setComboBoxText(UnitRef unit, const char* text) {
  writeTextProperty(unit, kComboBoxText, text);
}

bool isTicked(UnitRef checkBox) {
  return static_cast<uint32_t>(readProperty(checkBox, kTicked)) == 1;
}

void setVisible(UnitRef unit, bool visible) {
  runtime::ValueSlot value;
  value.setLogical(visible);
  writeProperty(unit, kVisible, value);
}

void openWindow(uint32_t window) {
  callCoreCommand(runtime::core_command::kLoadWindow,
                  {windowArgument(window), {}, runtime::logicalArgument(true)});
}

void closeWindow(uint32_t window) {
  callCoreCommand(runtime::core_command::kCloseWindow, {windowArgument(window)});
}

void clearComboBox(UnitRef comboBox) {
  callCoreCommand(runtime::core_command::kClearComboBox, {comboBoxArgument(comboBox)});
}

void addComboBoxItem(UnitRef comboBox, const char* item) {
  callCoreCommand(runtime::core_command::kAddComboBoxItem,
                  {comboBoxArgument(comboBox), runtime::textArgument(item)});
}

int32_t comboBoxItemCount(UnitRef comboBox) {
  return callCoreCommand(runtime::core_command::kComboBoxItemCount, {comboBoxArgument(comboBox)})
      .value.asInt();
}

Text comboBoxItemText(UnitRef comboBox, int32_t index) {
  const runtime::ResultRecord result =
      callCoreCommand(runtime::core_command::kComboBoxItemText,
                      {comboBoxArgument(comboBox), runtime::integerArgument(index)});
  return Text(static_cast<char*>(result.value.asPointer()));
}

void showMessage(const char* text, const char* caption) {
  constexpr int32_t kOneOkButton = 0;
  if (caption) {
    callCoreCommand(runtime::core_command::kMessageBox,
                    {runtime::textArgument(text), runtime::integerArgument(kOneOkButton),
                     runtime::textArgument(caption)});
  } else {
    callCoreCommand(runtime::core_command::kMessageBox,
                    {runtime::textArgument(text), runtime::integerArgument(kOneOkButton)});
  }
}

bool setClipboardText(const char* text) {
  return callCoreCommand(runtime::core_command::kSetClipboardText, {runtime::textArgument(text)})
      .value.asLogical();
}

void pause(int32_t milliseconds) {
  callCoreCommand(runtime::core_command::kSleep, {runtime::integerArgument(milliseconds)});
}

void startTimer(uint32_t window, int32_t milliseconds, void (*routine)()) {
  callCoreCommand(runtime::core_command::kStartTimer,
                  {windowArgument(window), runtime::integerArgument(milliseconds),
                   runtime::subroutineArgument(routine)});
}

void stopTimer(uint32_t window, void (*routine)()) {
  callCoreCommand(runtime::core_command::kStopTimer,
                  {windowArgument(window), runtime::subroutineArgument(routine)});
}

void flashWindow(uint32_t window) {
  callCoreCommand(runtime::core_command::kFlashWindow, {windowArgument(window)});
}

}  // namespace velmora::app
