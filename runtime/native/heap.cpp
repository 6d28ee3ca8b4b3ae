// The C heap stands in for the process heap on hosts other than Windows.
#include <cstdlib>

#include "runtime/memory.h"

namespace velmora::runtime {

const Heap& processHeap() {
  static const Heap cHeap{
      [](size_t size) { return std::malloc(size == 0 ? 1 : size); },
      [](void* block, size_t size) { return std::realloc(block, size == 0 ? 1 : size); },
      [](void* block) { std::free(block); },
  };
  return cHeap;
}

}  // namespace velmora::runtime
