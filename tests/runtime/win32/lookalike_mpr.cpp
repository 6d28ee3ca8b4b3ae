// The look-alike of MPR.DLL (lookalike_mpr.h): it exports nothing, and marks the environment of
// the process that loads it.
#include "tests/runtime/win32/lookalike_mpr.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetEnvironmentVariableW(velmora::testing::kLookalikeMprMark,
                            std::to_wstring(GetCurrentProcessId()).c_str());
  }
  return TRUE;
}
