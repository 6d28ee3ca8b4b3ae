// A library named like a system one, put beside the probe: the DLL commands must not bind to it.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI LZStart() {
  return 77;
}
