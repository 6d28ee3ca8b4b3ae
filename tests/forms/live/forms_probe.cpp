// A program on the runtime with the test windows, for what only a whole process shows: start-up
// loading the window data, the start window, the end of the message loop with the last window,
// and property errors that end the program. forms_probe.exe SCENARIO OUTPUT-FILE.
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
  testing::MessageBoxRecorder boxes(testing::writeMessageBox);
  const EntryTable& entries = runtimeEntryTable;
  callRuntimeService(entries.runtimeService, kServiceInitialiseRuntime);
  resetFloatingPoint();
  callRuntimeService(entries.runtimeService, kServiceRegisterExitRoutine,
                     reinterpret_cast<uintptr_t>(&forms::exitRoutine));
  forms::play(scenario);
  return 0;
}

}  // namespace velmora
