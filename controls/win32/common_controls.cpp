#include "controls/win32/common_controls.h"

#include <commctrl.h>

#include "runtime/win32/system_library.h"

namespace velmora::controls {

bool registerCommonControls(DWORD classes) {
  using InitCommonControlsFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const auto initCommonControls = runtime::systemLibraryFunction<InitCommonControlsFunction>(
      L"comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX request{sizeof request, classes};
  return initCommonControls != nullptr && initCommonControls(&request) != FALSE;
}

}  // namespace velmora::controls
