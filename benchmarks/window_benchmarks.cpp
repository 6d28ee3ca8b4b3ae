// The program's windows under Wine: each of the seven loaded (with its first painting) and
// destroyed in this process, with the program's libraries and window data and no handler code,
// and the program itself started until its login window shows.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/protocol/requests.h"
#include "benchmarks/ratio_report.h"
#include "benchmarks/raw_controls.h"
#include "program_data_generated.h"
#include "tests/support/program_windows.h"

namespace velmora {
namespace {

using testing::closeProgramWindow;
using testing::kProgramWindows;
using testing::openProgramWindow;
using testing::ProgramWindow;
using testing::startProgramRuntime;

constexpr DWORD kStartTimeout = 30000;
constexpr DWORD kExitTimeout = 10000;
// Between two starts, untimed: a start that follows the previous instance's exit at once shares
// the machine with that instance's teardown in the window server, which a user's start does not.
constexpr DWORD kSettleTime = 300;

// The load request and the messages that follow it; the close is not timed.
void openWindow(benchmark::State& state, const ProgramWindow& window) {
  startProgramRuntime();
  for (auto _ : state) {
    if (!openProgramWindow(window.id)) return state.SkipWithError("the window did not load");
    state.PauseTiming();
    const bool closed = closeProgramWindow(window.id);
    state.ResumeTiming();
    if (!closed) return state.SkipWithError("the window did not close");
  }
}

// The close and the messages that follow it; the load is not timed.
void closeWindow(benchmark::State& state, const ProgramWindow& window) {
  startProgramRuntime();
  for (auto _ : state) {
    state.PauseTiming();
    const bool opened = openProgramWindow(window.id) != nullptr;
    state.ResumeTiming();
    if (!opened) return state.SkipWithError("the window did not load");
    if (!closeProgramWindow(window.id)) return state.SkipWithError("the window did not close");
  }
}

// The same window's controls made with plain Win32 calls, shown and painted; the close is not
// timed.
void rawControls(benchmark::State& state, const ProgramWindow& window) {
  startProgramRuntime();
  HWND program = openProgramWindow(window.id);
  if (!program) return state.SkipWithError("the window did not load");
  const RawWindow raw = rawCopyOf(program);
  closeProgramWindow(window.id);
  state.counters["controls"] = static_cast<double>(raw.controls.size());
  std::vector<HFONT> fonts;
  for (auto _ : state) {
    HWND made = openRaw(raw, fonts);
    state.PauseTiming();
    closeRaw(made, fonts);
    state.ResumeTiming();
    if (!made) return state.SkipWithError("the plain window was not made");
  }
}

// Benchmark names write words apart with hyphens.
std::string benchmarkName(const char* windowName) {
  std::string name = windowName;
  for (char& c : name) {
    if (c == '_') c = '-';
  }
  return name;
}

bool hasRawCounterpart(const std::string& name) {
  return name == "main" || name == "top-up";
}

const bool windowBenchmarks = [] {
  for (const ProgramWindow& window : kProgramWindows) {
    const std::string name = benchmarkName(window.name);
    benchmark::RegisterBenchmark(("openWindow/" + name).c_str(), openWindow, window)
        ->Unit(benchmark::kMillisecond);
    if (hasRawCounterpart(name)) {
      benchmark::RegisterBenchmark(("rawControls/" + name).c_str(), rawControls, window)
          ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark(("closeWindow/" + name).c_str(), closeWindow, window)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

struct TopLevelSearch {
  DWORD processId;
  const wchar_t* className;
  HWND found = nullptr;
};

BOOL CALLBACK findShownWindow(HWND window, LPARAM search) {
  auto& s = *reinterpret_cast<TopLevelSearch*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (owner != s.processId || !IsWindowVisible(window) || std::wstring(className) != s.className)
    return TRUE;
  s.found = window;
  return FALSE;
}

// The program's first shown window of the class, polled for every millisecond.
HWND waitForShownWindow(const PROCESS_INFORMATION& process, const wchar_t* className) {
  const ULONGLONG start = GetTickCount64();
  TopLevelSearch search{process.dwProcessId, className};
  while (GetTickCount64() - start < kStartTimeout) {
    EnumWindows(findShownWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

void endProgram(const PROCESS_INFORMATION& process, HWND window) {
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, kExitTimeout) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

double secondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

std::wstring windowsPath(const wchar_t* path) {
  std::wstring windows = path;
  for (wchar_t& c : windows) {
    if (c == L'/') c = L'\\';
  }
  return windows;
}

// A program from process creation to its first window of the class shown, then closed.
void timeStartToShown(benchmark::State& state, const wchar_t* path, const wchar_t* className,
                      const std::wstring& argument = {}) {
  const std::wstring program = windowsPath(path);
  for (auto _ : state) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!argument.empty()) commandLine += L" " + argument;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
      return state.SkipWithError("the program did not start");
    HWND shown = waitForShownWindow(process, className);
    state.SetIterationTime(secondsSince(start));
    endProgram(process, shown);
    if (!shown) return state.SkipWithError("the window did not show");
    Sleep(kSettleTime);
  }
}

// velmora.exe until its login window shows. The window's created handler asks the service for
// the support contact before the window shows, so the time holds that request.
void programStartToLoginShown(benchmark::State& state) {
  timeStartToShown(state, VELMORA_PROGRAM, L"NVWindow");
}
BENCHMARK(programStartToLoginShown)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// A minimal Win32 program that shows one window of the login window's size.
void rawStart(benchmark::State& state) {
  timeStartToShown(state, RAW_START_PROGRAM, L"RawStartWindow");
}
BENCHMARK(rawStart)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The plain copy of the login window (taken from the live window once, before timing, and handed
// over in a file) shown by a plain program: with `url`, after the rest of what the program does
// before its login window shows, made with plain calls (OLE, a hidden window, the GET of `url`).
void timeRawLoginStart(benchmark::State& state, const std::string& url) {
  startProgramRuntime();
  HWND login = openProgramWindow(kProgramWindows[0].id);
  if (!login) return state.SkipWithError("the login window did not load");
  const RawWindow raw = rawCopyOf(login);
  closeProgramWindow(kProgramWindows[0].id);
  state.counters["controls"] = static_cast<double>(raw.controls.size());
  wchar_t folder[MAX_PATH];
  wchar_t path[MAX_PATH];
  if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"raw", 0, path) ||
      !writeRaw(raw, path))
    return state.SkipWithError("the copy was not written");
  std::wstring arguments = L"\"" + std::wstring(path) + L"\"";
  if (!url.empty()) arguments += L" \"" + std::wstring(url.begin(), url.end()) + L"\"";
  timeStartToShown(state, RAW_COPY_START_PROGRAM, L"RawControlsWindow", arguments);
  DeleteFileW(path);
}

// What the login window's own controls cost a plain program's start.
void rawLoginStart(benchmark::State& state) {
  timeRawLoginStart(state, {});
}
BENCHMARK(rawLoginStart)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The least any program needs that does, with plain calls, what the program's start does before
// its login window shows; the request goes to the service the program asks.
void rawProgramStart(benchmark::State& state) {
  timeRawLoginStart(state, protocol::supportContactUrl(
                               {program_data::serviceScheme(), program_data::serviceHost()}));
}
BENCHMARK(rawProgramStart)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// clang-format off
constexpr RatioPair kPairs[] = {
    {"openWindow/main", "rawControls/main"},
    {"openWindow/top-up", "rawControls/top-up"},
    {"programStartToLoginShown", "rawStart"},
    {"rawLoginStart", "rawStart"},
    {"programStartToLoginShown", "rawProgramStart"},
};
// clang-format on

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  return velmora::runWithRatios(argc, argv, velmora::kPairs);
}
