// The runtime notify entry: how the libraries reach the runtime.
#include "runtime/memory.h"
#include "runtime/program_routine.h"
#include "runtime/win32/runtime.h"

namespace velmora::runtime {
namespace {

enum NotifyCode : int32_t {
  kAddIdleCallback = 1012,
  kRaiseLoadingDepth = 2009,
  kLowerLoadingDepth = 2010,
  kRemoveIdleCallback = 1013,
  kPictureBitmap = 1003,
  kAllocate = 2024,
  kFree = 2025,
  kReallocate = 2026,
  kExitProgram = 2028,
};

void* pointer(uintptr_t value) {
  return reinterpret_cast<void*>(value);
}
intptr_t result(void* block) {
  return reinterpret_cast<intptr_t>(block);
}

PictureService pictureService = nullptr;

}  // namespace

void setPictureService(PictureService service) {
  pictureService = service;
}

intptr_t VELMORA_STDCALL runtimeNotify(int32_t code, uintptr_t first, uintptr_t second) {
  switch (code) {
    case kAddIdleCallback:
      addIdleCallback(*static_cast<const IdleCallbackRecord*>(pointer(first)));
      return 0;
    case kRemoveIdleCallback:
      removeIdleCallback(static_cast<HWND>(pointer(first)));
      return 0;
    case kAllocate: {
      const auto size = static_cast<int32_t>(first);
      return result(second == 0 ? allocate(size) : allocateQuietly(size));
    }
    case kFree:
      freeBlock(pointer(first));
      return 0;
    case kReallocate:
      return result(reallocate(pointer(first), static_cast<int32_t>(second)));
    case kRaiseLoadingDepth:
      processPendingMessages();
      runtimeState().loadingDepth += 1;
      return 0;
    case kLowerLoadingDepth:
      processPendingMessages();
      if (runtimeState().loadingDepth >= 1) runtimeState().loadingDepth -= 1;
      return 0;
    case kNotifyHandlerWaits:
      runtimeState().waitingDepth += 1;
      return 0;
    case kNotifyHandlerGoesOn:
      if (runtimeState().waitingDepth >= 1) runtimeState().waitingDepth -= 1;
      return 0;
    case kPictureBitmap:
      return pictureService ? pictureService(first, second) : 0;
    case kExitProgram:
      exitProgram(static_cast<int32_t>(first));
    default:
      // The codes that concern windows and units go to the window registry.
      return windowRegistry().notify(code, first, second).value_or(0);
  }
}

}  // namespace velmora::runtime
