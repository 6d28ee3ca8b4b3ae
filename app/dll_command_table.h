// The program's DLL commands: three code-page functions of the system's kernel, called through
// the runtime by their index in this table.
#pragma once

#include <cstdint>

namespace velmora::app {

namespace dll_command {
inline constexpr int32_t kMultiByteToWideChar = 0;
inline constexpr int32_t kLstrlenW = 1;
inline constexpr int32_t kWideCharToMultiByte = 2;
}  // namespace dll_command

inline constexpr uint32_t kDllCommandCount = 3;
// An empty file name lets the runtime look in its list of system libraries.
inline constexpr const char* kDllFileNames[kDllCommandCount] = {"", "kernel32", "kernel32.dll"};
inline constexpr const char* kDllCommandNames[kDllCommandCount] = {
    "MultiByteToWideChar", "lstrlenW", "WideCharToMultiByte"};

}  // namespace velmora::app
