#include "forms/live/win32/form_commands.h"

#include <windows.h>

#include "forms/live/win32/form_registry.h"
#include "forms/live/win32/program_timers.h"
#include "forms/live/win32/window_lifecycle.h"
#include "runtime/commands/arguments.h"
#include "runtime/commands/core_commands.h"
#include "runtime/commands/installed_commands.h"
#include "runtime/value_blocks.h"
#include "runtime/win32/wide_text.h"

namespace velmora::forms {
namespace {

// The window or unit a reference argument names; the program ends when it is not live.
LiveUnit* referencedUnit(const runtime::ArgRecord& reference) {
  return formRegistry().findLive(reference.value.low, reference.value.high, true);
}

HWND comboBoxOf(const runtime::Arguments& arguments) {
  return referencedUnit(arguments.record(1))->window;
}

// A unit id of 0, or one without a kind in its top four bits, names the window itself.
bool namesWindow(uint32_t unitId) {
  return unitId == 0 || (unitId & 0xF0000000) == 0;
}

WindowFlasher flasher = FlashWindowEx;

// Whether the user works in another program: the window in front, if any, is none of this
// process's. With a window of the program in front (one opened over the window that calls) the
// user is here already.
bool userIsInAnotherProgram() {
  DWORD process = 0;
  if (HWND foreground = GetForegroundWindow()) GetWindowThreadProcessId(foreground, &process);
  return process != GetCurrentProcessId();
}

}  // namespace

WindowFlasher& windowFlasher() {
  return flasher;
}

void comboBoxItemCount(runtime::ResultRecord* result, int32_t argCount,
                       const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  result->value.setInt(
      static_cast<int32_t>(SendMessageW(comboBoxOf(arguments), CB_GETCOUNT, 0, 0)));
}

void comboBoxItemText(runtime::ResultRecord* result, int32_t argCount,
                      const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  HWND box = comboBoxOf(arguments);
  const int32_t index = arguments.integer(2);
  result->value.setPointer(nullptr);
  if (index < 0 || index >= SendMessageW(box, CB_GETCOUNT, 0, 0)) return;
  const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  if (copied <= 0) return;
  text.resize(static_cast<size_t>(copied));
  result->value.setPointer(runtime::textFromString(runtime::gbkFromWide(text).c_str()));
}

void addComboBoxItem(runtime::ResultRecord* result, int32_t argCount,
                     const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  HWND box = comboBoxOf(arguments);
  const std::wstring text = runtime::wideFromGbk(arguments.text(2));
  const LRESULT index = SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (index < 0) {
    result->value.setInt(-1);
    return;
  }
  SendMessageW(box, CB_SETITEMDATA, static_cast<WPARAM>(index),
               static_cast<LPARAM>(arguments.integer(3)));
  result->value.setInt(static_cast<int32_t>(index));
}

void clearComboBox(runtime::ResultRecord*, int32_t argCount, const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  SendMessageW(comboBoxOf(arguments), CB_RESETCONTENT, 0, 0);
}

void loadWindowCommand(runtime::ResultRecord* result, int32_t argCount,
                       const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  result->value.setLogical(false);
  LiveWindow* parent = nullptr;
  if (arguments.given(2)) {
    parent =
        static_cast<LiveWindow*>(formRegistry().findLive(arguments.record(2).value.low, 0, false));
    if (!parent) return;
  }
  const LoadRequest request{.windowId = arguments.record(1).value.low,
                            .parent = parent,
                            .modal = static_cast<uint32_t>(arguments.integer(3))};
  result->value.setLogical(handleLoadRequest(request) == 0);
}

void closeWindowCommand(runtime::ResultRecord*, int32_t argCount, const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  const runtime::ArgRecord& reference = arguments.record(1);
  LiveUnit* unit = referencedUnit(reference);
  if (namesWindow(reference.value.high)) {
    requestClose(*static_cast<LiveWindow*>(unit), argCount >= 2 && arguments.integer(2) != 0);
    return;
  }
  WindowObject* window = formRegistry().find(reference.value.low);
  if (const auto index = window->live.indexOf(reference.value.high)) closeUnit(*window, *index);
}

void flashWindowCommand(runtime::ResultRecord*, int32_t argCount, const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  const WindowObject* object = formRegistry().find(arguments.record(1).value.low);
  const LiveWindow* window = object ? formRegistry().liveWindow(*object) : nullptr;
  if (window == nullptr || !userIsInAnotherProgram()) return;
  FLASHWINFO flash{};
  flash.cbSize = sizeof flash;
  flash.hwnd = window->window;
  flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
  flasher(&flash);
}

void installFormCommands() {
  runtime::installCoreCommand(runtime::core_command::kComboBoxItemCount, comboBoxItemCount);
  runtime::installCoreCommand(runtime::core_command::kComboBoxItemText, comboBoxItemText);
  runtime::installCoreCommand(runtime::core_command::kAddComboBoxItem, addComboBoxItem);
  runtime::installCoreCommand(runtime::core_command::kClearComboBox, clearComboBox);
  runtime::installCoreCommand(runtime::core_command::kLoadWindow, loadWindowCommand);
  runtime::installCoreCommand(runtime::core_command::kCloseWindow, closeWindowCommand);
  runtime::installCoreCommand(runtime::core_command::kStartTimer, startTimerCommand);
  runtime::installCoreCommand(runtime::core_command::kStopTimer, stopTimerCommand);
  runtime::installCoreCommand(runtime::core_command::kFlashWindow, flashWindowCommand);
}

}  // namespace velmora::forms
