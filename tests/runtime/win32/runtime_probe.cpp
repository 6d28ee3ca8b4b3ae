// A program on the runtime that plays one scenario of start-up, exit, DLL commands or runtime
// error and writes
// what happened, one event a line, to a file: runtime_probe.exe SCENARIO OUTPUT-FILE.
// The runtime tests start it as a separate process and read the file and its exit code.
#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>

#include "runtime/entry_stubs.h"
#include "runtime/program_image.h"
#include "runtime/win32/system_library.h"
#include "tests/runtime/win32/lookalike_mpr.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/probe_events.h"

namespace velmora::runtime {
namespace {

using testing::writeEvent;

std::wstring scenario;
NotifyFunction runtimeNotifyForLibrary = nullptr;

intptr_t VELMORA_STDCALL libraryNotify(int32_t code, uintptr_t first, uintptr_t) {
  writeEvent("library notify " + std::to_string(code));
  if (code == kLibraryNotifyStart)
    runtimeNotifyForLibrary = reinterpret_cast<NotifyFunction>(first);
  return 0;
}

const LibraryDescriptor library = {.magic = kLibraryMagic, .notify = libraryNotify};
const LibraryDescriptor* const libraries[] = {&library};

void exitRoutine() {
  writeEvent("exit routine");
}

DWORD WINAPI exitFromOtherThread(void*) {
  runtimeEntryTable.exitProgram(5);
  return 0;
}

// The probe's DLL commands; the exact path of the probe library is filled in before the runtime
// copies the table.
char probeLibraryPath[MAX_PATH];
const char* const dllFileNames[] = {
    "",         "kernel32", "probe_library", probeLibraryPath, "probe_library", "probe_library",
    "kernel32", "",         "lz32",
};
const char* const dllCommandNames[] = {
    "MultiByteToWideChar", "lstrlenW",     "#12",     "addTwo", "misdeclared", "#13",
    "NoSuchExport",        "NoSuchExport", "LZStart",
};
enum DllCommandIndex {
  kMultiByteToWideChar,
  kLstrlenW,
  kOrdinal12,
  kByExactPath,
  kMisdeclared,
  kMissingOrdinal,
  kMissingNamed,
  kMissingUnnamed,
  kSystemLibrary,
};

void findProbeLibrary() {
  GetModuleFileNameA(nullptr, probeLibraryPath, MAX_PATH);
  lstrcpyA(std::strrchr(probeLibraryPath, '\\') + 1, "probe_library.dll");
}

uint32_t callDll(int32_t index, std::initializer_list<uint32_t> words) {
  return callDllCommand(runtimeEntryTable, index, words, 67185411, 77);
}

uint32_t address(const void* pointer) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

void noteUnload() {
  writeEvent("probe library unloaded");
}

// Each kind of binding once, then the unload of the probe library at the orderly exit.
void dllCalls() {
  writeEvent("MultiByteToWideChar " +
             std::to_string(callDll(kMultiByteToWideChar, {65001, 0, address("ab"), 2, 0, 0})));
  writeEvent("lstrlenW " + std::to_string(callDll(kLstrlenW, {address(L"abc")})));
  writeEvent("ordinal 12 " + std::to_string(callDll(kOrdinal12, {2, 3})));
  writeEvent("exact path " + std::to_string(callDll(kByExactPath, {4, 5})));
  writeEvent("again " + std::to_string(callDll(kOrdinal12, {6, 7})));
  using SetNotice = void (*)(void (*)());
  const FARPROC setNotice =
      GetProcAddress(GetModuleHandleW(L"probe_library.dll"), "setUnloadNotice");
  reinterpret_cast<SetNotice>(reinterpret_cast<void*>(setNotice))(noteUnload);
}

// Memory through the notify entry, as a library reaches it.
void libraryMemory() {
  const auto notify = [](int32_t code, uintptr_t first, uintptr_t second) {
    return runtimeNotifyForLibrary(code, first, second);
  };
  auto* block = reinterpret_cast<char*>(notify(2024, 16, 0));
  lstrcpyA(block, "kept");
  block = reinterpret_cast<char*>(notify(2026, reinterpret_cast<uintptr_t>(block), 4096));
  writeEvent(std::string("reallocated ") + block);
  notify(2025, reinterpret_cast<uintptr_t>(block), 0);
  const bool refused = notify(2024, 0x7FFFFFF0, 1) == 0;
  writeEvent(refused ? "quiet allocation refused" : "quiet allocation granted");
  notify(2028, 9, 0);
}

// What initialisation left behind: the hidden owner window and the current directory.
void describeInitialisedRuntime() {
  const HWND owner = FindWindowW(L"_QV_HideOwner", nullptr);
  const bool toolWindow = owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  writeEvent(toolWindow && !IsWindowVisible(owner) ? "hidden owner window" : "no hidden owner");
  wchar_t program[MAX_PATH];
  wchar_t current[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  *wcsrchr(program, L'\\') = L'\0';
  GetCurrentDirectoryW(MAX_PATH, current);
  writeEvent(lstrcmpiW(program, current) == 0 ? "in the program's directory" : "elsewhere");
}

void play() {
  const EntryTable& entries = runtimeEntryTable;
  if (scenario == L"initialised") {
    describeInitialisedRuntime();
  } else if (scenario == L"program-error") {
    entries.reportRuntimeError(1, 67185411, 1034);
  } else if (scenario == L"allocation") {
    entries.allocate(0x7FFFFFF0);
  } else if (scenario == L"start-window") {
    entries.loadStartWindow(0x52010001);
  } else if (scenario == L"exit-code") {
    entries.exitProgram(7);
  } else if (scenario == L"other-thread") {
    WaitForSingleObject(CreateThread(nullptr, 0, exitFromOtherThread, nullptr, 0, nullptr),
                        INFINITE);
  } else if (scenario == L"library-memory") {
    libraryMemory();
  } else if (scenario == L"dll-calls") {
    dllCalls();
  } else if (scenario == L"dll-system-first") {
    // A look-alike lz32.dll lies beside the probe; its LZStart answers 77, the system's 1.
    writeEvent("LZStart " + std::to_string(callDll(kSystemLibrary, {})));
  } else if (scenario == L"system-library") {
    using LzStart = INT(WINAPI*)();
    const auto start = systemLibraryFunction<LzStart>(L"lz32.dll", "LZStart");
    writeEvent(start ? "LZStart " + std::to_string(start()) : "no LZStart");
  } else if (scenario == L"library-by-name") {
    LoadLibraryW(L"mpr.dll");
    writeEvent(testing::mprInProcess());
  } else if (scenario == L"system-library-imports") {
    // WinINet imports MPR.DLL, and a look-alike of it lies beside the probe.
    writeEvent(testing::mprInProcess());
    const bool found = systemLibraryFunction(L"wininet.dll", "InternetOpenW") != nullptr;
    writeEvent(found ? "InternetOpenW found" : "no InternetOpenW");
    writeEvent(testing::mprInProcess());
  } else if (scenario == L"dll-stack") {
    callDll(kMisdeclared, {1, 2});
    writeEvent("the stack check let it pass");
  } else if (scenario == L"dll-missing-ordinal") {
    callDll(kMissingOrdinal, {});
  } else if (scenario == L"dll-missing-named") {
    callDll(kMissingNamed, {});
  } else if (scenario == L"dll-missing-unnamed") {
    callDll(kMissingUnnamed, {});
  }
  entries.runMessageLoop();
  writeEvent("message loop returned");
}

}  // namespace

const ProgramHeader programHeader = {
    .runMode = 3,
    .buildNumber = 111502,
    .libraryCount = 1,
    .libraries = libraries,
    .dllCommandCount = std::size(dllCommandNames),
    .dllFileNames = dllFileNames,
    .dllCommandNames = dllCommandNames,
};

int programEntry() {
  scenario = testing::readProbeCommandLine();
  findProbeLibrary();
  testing::MessageBoxRecorder boxes(testing::writeMessageBox);
  const EntryTable& entries = runtimeEntryTable;
  callRuntimeService(entries.runtimeService, kServiceInitialiseRuntime);
  resetFloatingPoint();
  callRuntimeService(entries.runtimeService, kServiceRegisterExitRoutine,
                     reinterpret_cast<uintptr_t>(&exitRoutine));
  callRuntimeService(entries.runtimeService, kServiceRegisterExitRoutine,
                     reinterpret_cast<uintptr_t>(&exitRoutine));
  play();
  return 0;
}

}  // namespace velmora::runtime
