#include "controls/win32/common_controls.h"

#include <commctrl.h>

#include <string>

namespace velmora::controls {
namespace {

using InitCommonControlsFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

// From the system folder by its full path, so that no file of that name beside the program or in
// the current folder is loaded instead. The library stays loaded: its windows live until exit.
InitCommonControlsFunction loadCommonControls() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\comctl32.dll";
  HMODULE library = LoadLibraryW(path.c_str());
  if (library == nullptr) return nullptr;
  FARPROC function = GetProcAddress(library, "InitCommonControlsEx");
  return reinterpret_cast<InitCommonControlsFunction>(reinterpret_cast<void*>(function));
}

}  // namespace

bool registerCommonControls(DWORD classes) {
  static const InitCommonControlsFunction initCommonControls = loadCommonControls();
  INITCOMMONCONTROLSEX request{sizeof request, classes};
  return initCommonControls != nullptr && initCommonControls(&request) != FALSE;
}

}  // namespace velmora::controls
