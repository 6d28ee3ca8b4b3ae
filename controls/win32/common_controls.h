// The common controls library, for the up-down and tooltip controls some units make, loaded when
// a unit first needs one of its classes (see runtime/win32/system_library.h).
#pragma once

#include <windows.h>

namespace velmora::controls {

// Registers the common control classes named by `classes` (ICC_ flags); false when the library
// cannot be loaded or refuses.
bool registerCommonControls(DWORD classes);

}  // namespace velmora::controls
