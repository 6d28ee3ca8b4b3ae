// Functions of Windows libraries that only some units or commands need, loaded at their first use
// rather than imported: an imported library is loaded, with everything it needs, before the
// program's entry runs, and the login window would wait for libraries it never calls. And a
// library the system does not keep among its known DLLs is looked for beside the program first
// when imported: a file of its name in the folder the program was started from would be loaded.
#pragma once

#include <windows.h>

namespace velmora::runtime {

// The named function of a library in the system folder, loading the library on first use (by its
// full path, so that no file of that name beside the program is taken instead); null when the
// library or the function is missing. The library stays loaded until the process ends.
FARPROC systemLibraryFunction(const wchar_t* library, const char* function);

// The same, as a pointer of the function's own type.
template <typename Function>
Function systemLibraryFunction(const wchar_t* library, const char* function) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(systemLibraryFunction(library, function)));
}

}  // namespace velmora::runtime
