#include "runtime/win32/system_library.h"

#include <string>

namespace velmora::runtime {

FARPROC systemLibraryFunction(const wchar_t* library, const char* function) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + library;
  HMODULE module = LoadLibraryW(path.c_str());
  return module ? GetProcAddress(module, function) : nullptr;
}

}  // namespace velmora::runtime
