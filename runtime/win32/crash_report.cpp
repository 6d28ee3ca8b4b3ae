// Crashes as runtime errors: an exception that nothing handles ends the program with the runtime's
// error box, which says what happened, where and in which version of the program, instead of
// Windows' own crash dialog, which tells a user nothing to pass on.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "runtime/runtime_error.h"
#include "runtime/win32/runtime.h"
#include "runtime/win32/wide_text.h"

namespace velmora::runtime {
namespace {

struct Place {
  std::string module;  // GBK file name; empty for an address in no module
  uint32_t address = 0;
};

// The module an address lies in; null for none.
HMODULE moduleOf(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      static_cast<LPCWSTR>(address), &module);
  return module;
}

// The module an address lies in, and the address relative to that module's image base: the
// number its debug file knows, wherever the system loaded the module.
Place placeOf(const void* address) {
  const auto absolute = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
  HMODULE module = moduleOf(address);
  if (!module) return {"", absolute};
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  const wchar_t* slash = wcsrchr(path, L'\\');
  const auto base = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(module));
  return {gbkFromWide(slash ? slash + 1 : path), absolute - base};
}

// The program's version from its version resource, as "major.minor.patch". The resource begins
// with three words and the key "VS_VERSION_INFO" with its null, padded to 40 bytes; the fixed file
// information follows.
std::string programVersion() {
  constexpr size_t kFixedInfoOffset = 40;
  HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
  const auto* bytes =
      resource ? static_cast<const char*>(LockResource(LoadResource(nullptr, resource))) : nullptr;
  if (!bytes || SizeofResource(nullptr, resource) < kFixedInfoOffset + sizeof(VS_FIXEDFILEINFO))
    return "";
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, bytes + kFixedInfoOffset, sizeof fixed);
  if (fixed.dwSignature != VS_FFI_SIGNATURE) return "";
  char version[32];
  std::snprintf(version, sizeof version, "%u.%u.%u", HIWORD(fixed.dwFileVersionMS),
                LOWORD(fixed.dwFileVersionMS), HIWORD(fixed.dwFileVersionLS));
  return version;
}

[[noreturn]] void reportCrash(const EXCEPTION_RECORD& exception) {
  // A fault while a report is under way, its box up or the program ending after it: nothing more
  // can be shown, and going on could only do harm.
  if (runtimeErrorReported()) TerminateProcess(GetCurrentProcess(), static_cast<UINT>(-1));
  Place place = placeOf(exception.ExceptionAddress);
  const std::string message = crashMessage(
      {exception.ExceptionCode, std::move(place.module), place.address, programVersion()});
  reportToPlatform({message, 0, 0, 0});
  ExitProcess(static_cast<UINT>(-1));  // the report ends the process; this only says so
}

bool isFailure(DWORD code) {
  return (code & 0xC0000000u) == 0xC0000000u;  // severity "error": no warning or information
}

// Raised by the program's own code: in the program's image, or at an address in no module at all,
// where only a call through a broken pointer leads (the program generates no code).
bool raisedByProgramCode(const void* address) {
  HMODULE module = moduleOf(address);
  return !module || module == GetModuleHandleW(nullptr);
}

// Sees every exception first, before any handler of the stack. The system's own handlers around
// window procedures, timer routines and hooks would swallow a fault of the program's code there
// (the timer dispatch does so on every Windows, and a 64-bit Windows does so for every callback
// from the kernel), and the program would go on in a broken state; the program's code itself has
// no handlers, so a failure raised in it is a crash wherever it happens.
LONG CALLBACK programCodeFailure(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  if (!isFailure(record.ExceptionCode) || !raisedByProgramCode(record.ExceptionAddress))
    return EXCEPTION_CONTINUE_SEARCH;
  reportCrash(record);
}

// Any other exception that reaches the end of a thread's handlers unhandled, such as a fault in a
// system library given a broken argument.
LONG WINAPI unhandledException(EXCEPTION_POINTERS* exception) {
  reportCrash(*exception->ExceptionRecord);
}

}  // namespace

void installCrashReport() {
  AddVectoredExceptionHandler(1, programCodeFailure);
  SetUnhandledExceptionFilter(unhandledException);
}

}  // namespace velmora::runtime
