// The runtime error report on Windows: one message box captioned 错误, then the end of the
// process with exit code -1 and without the program's exit routines.
#include <windows.h>

#include <atomic>

#include "runtime/runtime_error.h"
#include "runtime/win32/runtime.h"
#include "runtime/win32/wide_text.h"

namespace velmora::runtime {
namespace {

std::atomic<bool> reporting = false;

}  // namespace

bool runtimeErrorReported() {
  return reporting;
}

void reportToPlatform(const RuntimeErrorReport& report) {
  // A second error while the first is shown, on this thread or another.
  if (reporting.exchange(true)) ExitProcess(static_cast<UINT>(-1));
  runtimeState().loadingDepth += 1;
  const std::wstring text = wideFromGbk(runtimeErrorText(report, windowRegistry()));
  MessageBoxW(nullptr, text.c_str(), L"错误", MB_ICONHAND | MB_OK);
  forgetExitRoutines();
  exitProgram(-1);
}

}  // namespace velmora::runtime
