// What the process holds at a moment, for tests that look for leaks: its heaps' blocks in use,
// its working set, its thread's windows, and its USER and GDI objects where the system counts
// them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::testing {

struct ProcessResources {
  size_t heapBytes = 0;   // bytes in use in every heap of the process
  size_t heapBlocks = 0;  // blocks in use in every heap of the process
  size_t workingSet = 0;  // bytes
  size_t windows = 0;     // this thread's windows, children included
  // 0 where the system does not count them (Wine's GetGuiResources reports nothing).
  uint32_t userObjects = 0;
  uint32_t gdiObjects = 0;
};

ProcessResources processResources();

}  // namespace velmora::testing
