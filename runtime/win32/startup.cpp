// Process start: the runtime's application object runs the program entry, then the orderly exit.
#include <windows.h>

#include "runtime/program_image.h"
#include "runtime/win32/runtime.h"
#include "runtime/win32/system_library.h"

namespace velmora::runtime {
namespace {

// The runtime's single application object. Its initialisation runs the program, whose entry
// returns 0 once its message loop has ended: there is no further loop to run, so the exit path
// follows at once.
class Application {
 public:
  int run() {
    const int result = initialise();
    exit();
    return result;
  }

 private:
  int initialise() {
    return velmora_call_preserving_registers(reinterpret_cast<const void*>(&programEntry));
  }
  void exit() { shutdownRuntime(0); }
};

Application application;

}  // namespace
}  // namespace velmora::runtime

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  velmora::runtime::restrictLibrarySearch();
  velmora::runtime::installCrashReport();
  return velmora::runtime::application.run();
}
