// The runtime error report on Windows: one message box captioned 错误, then the end of the
// process with exit code -1 and without the program's exit routines.
#include <windows.h>

#include "runtime/runtime_error.h"
#include "runtime/win32/runtime.h"
#include "runtime/win32/wide_text.h"

namespace velmora::runtime {

void reportToPlatform(const RuntimeErrorReport& report) {
  static bool reporting = false;
  if (reporting) ExitProcess(static_cast<UINT>(-1));  // a second error while the first is shown
  reporting = true;
  runtimeState().loadingDepth += 1;
  const std::wstring text = wideFromGbk(runtimeErrorText(report, windowRegistry()));
  MessageBoxW(nullptr, text.c_str(), L"错误", MB_ICONHAND | MB_OK);
  forgetExitRoutines();
  exitProgram(-1);
}

}  // namespace velmora::runtime
