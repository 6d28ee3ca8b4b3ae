// The program's windows under Wine: each of the seven loaded (with its first painting) and
// destroyed in this process, with the program's libraries and window data and no handler code,
// and the program itself started until its login window shows.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <string>

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

const bool windowBenchmarks = [] {
  for (const ProgramWindow& window : kProgramWindows) {
    const std::string name = window.name;
    benchmark::RegisterBenchmark(("openWindow/" + name).c_str(), openWindow, window)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("closeWindow/" + name).c_str(), closeWindow, window)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

struct TopLevelSearch {
  DWORD processId;
  HWND found = nullptr;
};

BOOL CALLBACK findShownWindow(HWND window, LPARAM search) {
  auto& s = *reinterpret_cast<TopLevelSearch*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (owner != s.processId || !IsWindowVisible(window) || std::wstring(className) != L"NVWindow")
    return TRUE;
  s.found = window;
  return FALSE;
}

// The program's first shown window, polled for every millisecond.
HWND waitForShownWindow(const PROCESS_INFORMATION& process) {
  const ULONGLONG start = GetTickCount64();
  TopLevelSearch search{process.dwProcessId};
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

// velmora.exe from process creation to its login window shown. The window's created handler asks
// the service for the support contact before the window shows, so the time holds that request.
void programStartToLoginShown(benchmark::State& state) {
  std::wstring program = VELMORA_PROGRAM;
  for (wchar_t& c : program) {
    if (c == L'/') c = L'\\';
  }
  for (auto _ : state) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
      return state.SkipWithError("the program did not start");
    HWND login = waitForShownWindow(process);
    state.SetIterationTime(secondsSince(start));
    endProgram(process, login);
    if (!login) return state.SkipWithError("the login window did not show");
  }
}
BENCHMARK(programStartToLoginShown)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
