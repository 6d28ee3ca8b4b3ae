// A look-alike of MPR.DLL beside the runtime's tests: WinINet imports MPR.DLL, which is not one of
// Windows' known DLLs, so a file of that name beside the program would be loaded with WinINet
// unless the search for WinINet's imports is kept to the system folder. Loaded, the look-alike
// marks the process's environment with the process's id (a process it starts inherits the mark,
// not the id).
#pragma once

#include <windows.h>

#include <iterator>
#include <string>

namespace velmora::testing {

inline constexpr wchar_t kLookalikeMprMark[] = L"VELMORA_LOOKALIKE_MPR_LOADED";

// Which MPR.DLL the process holds: "no mpr", "look-alike mpr" or "mpr" (the system's).
inline std::string mprInProcess() {
  wchar_t mark[16];
  const DWORD markLength = GetEnvironmentVariableW(kLookalikeMprMark, mark, std::size(mark));
  if (markLength > 0 && markLength < std::size(mark) &&
      mark == std::to_wstring(GetCurrentProcessId())) {
    return "look-alike mpr";
  }
  return GetModuleHandleW(L"mpr.dll") ? "mpr" : "no mpr";
}

}  // namespace velmora::testing
