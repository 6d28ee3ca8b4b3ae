#include "runtime/win32/system_library.h"

#include <string>

namespace velmora::runtime {
namespace {

// Whether every library is looked for in the system folder alone (set once, at start).
bool searchRestricted = false;

}  // namespace

void restrictLibrarySearch() {
  // Looked up rather than imported: a Windows 7 without the update lacks it, and the program must
  // start there all the same.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  searchRestricted =
      setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE loadSystemLibrary(const wchar_t* library) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + library;
  // Unrestricted, a library's imports are looked for beside the program first; with
  // LOAD_WITH_ALTERED_SEARCH_PATH the library's own folder takes the program's place.
  return LoadLibraryExW(path.c_str(), nullptr,
                        searchRestricted ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

FARPROC systemLibraryFunction(const wchar_t* library, const char* function) {
  HMODULE module = loadSystemLibrary(library);
  return module ? GetProcAddress(module, function) : nullptr;
}

}  // namespace velmora::runtime
