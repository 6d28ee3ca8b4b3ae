// Functions of Windows libraries that only some units or commands need, loaded at their first use
// rather than imported: an imported library is loaded, with everything it needs, before the
// program's entry runs, and the login window would wait for libraries it never calls. And a
// library the system does not keep among its known DLLs is looked for beside the program first
// when imported: a file of its name in the folder the program was started from would be loaded.
// The same holds for the libraries that a library loaded from the system folder imports in turn,
// unless the search for them is kept to the system folder too.
#pragma once

#include <windows.h>

namespace velmora::runtime {

// Keeps the search for every library loaded from now on, and for the libraries each one imports,
// to the system folder, where the system can (Windows 8 on, Windows 7 with update KB2533623):
// called first at start, before any library is loaded.
void restrictLibrarySearch();

// A library of the system folder, loaded by its full path, so that no file of that name beside the
// program is taken instead, and with the libraries it imports looked for in the system folder
// first (where the search is not restricted, from the library's own folder); null when missing.
// Each load is a reference to the library, which FreeLibrary gives back.
HMODULE loadSystemLibrary(const wchar_t* library);

// The named function of a library in the system folder, loading the library on first use; null
// when the library or the function is missing. The library stays loaded until the process ends.
FARPROC systemLibraryFunction(const wchar_t* library, const char* function);

// The same, as a pointer of the function's own type.
template <typename Function>
Function systemLibraryFunction(const wchar_t* library, const char* function) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(systemLibraryFunction(library, function)));
}

}  // namespace velmora::runtime
