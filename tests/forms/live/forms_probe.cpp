// A program on the runtime with the test windows, for what only a whole process shows: start-up
// loading the window data, the start window, the end of the message loop with the last window,
// property errors that end the program, and a handler that crashes. forms_probe.exe SCENARIO
// OUTPUT-FILE.
#include <windows.h>

#include <iterator>
#include <string>

#include "forms/format/property_indices.h"
#include "forms/live/win32/form_registry.h"
#include "runtime/commands/core_commands.h"
#include "runtime/entry_stubs.h"
#include "runtime/program_image.h"
#include "tests/forms/live/command_arguments.h"
#include "tests/forms/live/test_forms.h"
#include "tests/support/probe_events.h"

namespace velmora::forms {
namespace {

using testing::writeEvent;

const runtime::LibraryDescriptor* const libraries[] = {&testing::testLibrary()};

void exitRoutine() {
  writeEvent("exit routine");
}

void CALLBACK closeMainWindow(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const runtime::ArgRecord args[] = {testing::windowReference(testing::kMainWindow)};
  runtime::callCommandEntry(runtime::runtimeEntryTable.callCoreCommand,
                            runtime::coreCommands[runtime::core_command::kCloseWindow], 0, args);
  writeEvent("close requested");
}

int* volatile nowhere = nullptr;  // read at run time, so that the write below is a real one

// Faults as a broken handler would, by writing through a null pointer.
[[gnu::noinline]] void writeThroughNull() {
  *nowhere = 1;
}

// Where the fault lies in the probe: the offset of the function from the image base.
std::string faultSite() {
  const auto function = reinterpret_cast<uintptr_t>(&writeThroughNull);
  const auto base = reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr));
  return "fault site " + std::to_string(function - base);
}

// The main window's upper label raises its event from its window procedure, and the event's
// handler faults.
void crashInHandler() {
  testing::handlerCalls().action[static_cast<int>(testing::Handler::labelEvent)] = writeThroughNull;
  runtime::runtimeEntryTable.loadStartWindow(testing::kMainWindow);
  const LiveUnit* label =
      formRegistry().findLive(testing::kMainWindow, testing::kUpperLabel, false);
  writeEvent(faultSite());
  PostMessageW(label->window, testing::kRaiseLabelEvent, 0, 0);
}

// What the probe does once a message box is shown: a second fault while the crash's box is up.
void boxShown(const std::wstring& scenario, const testing::ShownMessageBox& box) {
  testing::writeMessageBox(box);
  if (scenario != L"crash-twice") return;
  writeThroughNull();
  writeEvent("went on after the second fault");
}

void play(const std::wstring& scenario) {
  const runtime::EntryTable& entries = runtime::runtimeEntryTable;
  if (scenario == L"read-unloaded") {
    const uint64_t width = entries.readProperty(testing::kStoredWindow, testing::kStoredEditBox,
                                                propertyIndex(CommonProperty::kWidth), -1);
    writeEvent("width " + std::to_string(width));
    entries.readProperty(testing::kStoredWindow, testing::kStoredEditBox,
                         propertyIndex(EditBoxProperty::kContent), -1);
  } else if (scenario == L"last-window") {
    entries.loadStartWindow(testing::kMainWindow);
    SetTimer(nullptr, 0, 50, closeMainWindow);
  } else if (scenario == L"broken-start") {
    entries.loadStartWindow(testing::kBrokenWindow);
  } else if (scenario == L"crash" || scenario == L"crash-twice") {
    crashInHandler();
  }
  entries.runMessageLoop();
  writeEvent("message loop returned");
}

}  // namespace
}  // namespace velmora::forms

// The program the runtime starts: the probe's windows and its scenario.
namespace velmora {

const runtime::ProgramHeader runtime::programHeader = {
    .runMode = 3,
    .codeBase = testing::testCodeBase(),
    .windowData = testing::testWindowData().data(),
    .windowDataLength = static_cast<uint32_t>(testing::testWindowData().size()),
    .libraryCount = std::size(forms::libraries),
    .libraries = forms::libraries,
};

int runtime::programEntry() {
  const std::wstring scenario = testing::readProbeCommandLine();
  testing::MessageBoxRecorder boxes(
      [&](const testing::ShownMessageBox& box) { forms::boxShown(scenario, box); });
  const EntryTable& entries = runtimeEntryTable;
  callRuntimeService(entries.runtimeService, kServiceInitialiseRuntime);
  resetFloatingPoint();
  callRuntimeService(entries.runtimeService, kServiceRegisterExitRoutine,
                     reinterpret_cast<uintptr_t>(&forms::exitRoutine));
  forms::play(scenario);
  return 0;
}

}  // namespace velmora
