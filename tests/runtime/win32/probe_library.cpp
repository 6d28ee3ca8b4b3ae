// A library for the DLL command scenarios of the runtime probe: a function exported by name and
// by ordinal 12, one whose declaration in the probe's table does not match it, and a notice of
// its unloading by FreeLibrary.
#include <windows.h>

namespace {

void (*unloadNotice)() = nullptr;

}  // namespace

extern "C" {

int __stdcall addTwo(int first, int second) {
  return first + second;
}

// Takes one argument; the probe declares it with two.
int __stdcall misdeclared(int only) {
  return only;
}

void setUnloadNotice(void (*notice)()) {
  unloadNotice = notice;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void* reserved) {
  // A null reserved pointer means FreeLibrary, not the end of the process.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr && unloadNotice) unloadNotice();
  return TRUE;
}
}
