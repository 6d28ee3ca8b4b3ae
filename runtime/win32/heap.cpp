// The process heap, the runtime's heap on Windows.
#include <windows.h>

#include "runtime/memory.h"

namespace velmora::runtime {

const Heap& processHeap() {
  static const Heap processHeap{
      [](size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); },
      [](void* block, size_t size) { return HeapReAlloc(GetProcessHeap(), 0, block, size); },
      [](void* block) { HeapFree(GetProcessHeap(), 0, block); },
  };
  return processHeap;
}

}  // namespace velmora::runtime
