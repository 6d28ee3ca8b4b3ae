// The common controls library, for the up-down and tooltip controls some units make. It is loaded
// when a unit first needs one of its classes, not at start: loading it registers all its classes
// and sets up theming, which the windows without such controls (the login window among them)
// would wait for.
#pragma once

#include <windows.h>

namespace velmora::controls {

// Registers the common control classes named by `classes` (ICC_ flags), loading the library from
// the system folder on first use; false when it cannot be loaded or refuses.
bool registerCommonControls(DWORD classes);

}  // namespace velmora::controls
