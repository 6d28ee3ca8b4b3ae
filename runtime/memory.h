// The runtime allocator. Blocks come from one heap (the process heap on Windows); the program's
// literals lie in the read-only constant-data region, which free ignores and reallocate copies
// out of.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::runtime {

// The heap under the allocator. Tests swap in one that can be made to fail.
struct Heap {
  void* (*allocate)(size_t size);
  void* (*reallocate)(void* block, size_t size);
  void (*release)(void* block);
};

// The platform's own heap: the process heap on Windows, the C heap elsewhere.
const Heap& processHeap();
void useHeap(const Heap& heap);

void setConstantRegion(const void* start, size_t length);
bool isConstant(const void* pointer);

// A block of size bytes; a refusal is the allocation-failure runtime error, so callers never see
// a null result.
void* allocate(int32_t size);
// The same, but null on failure.
void* allocateQuietly(int32_t size);
// Null behaves as allocate; a constant gives a new block holding what of it fits; on failure the
// allocation-failure runtime error.
void* reallocate(void* block, int32_t size);
// Null and constants are ignored.
void freeBlock(void* block);

}  // namespace velmora::runtime
