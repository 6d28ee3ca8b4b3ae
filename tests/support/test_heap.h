// A heap for tests of memory code: it records what is asked of it and can be made to refuse.
// While installed, runtime errors leave by a RaisedRuntimeError exception instead of ending the
// process.
#pragma once

#include <cstddef>
#include <set>
#include <stdexcept>
#include <vector>

#include "runtime/memory.h"
#include "runtime/runtime_error.h"

namespace velmora::testing {

struct RaisedRuntimeError : std::runtime_error {
  explicit RaisedRuntimeError(runtime::RuntimeErrorReport raised)
      : std::runtime_error("runtime error"), report(std::move(raised)) {}
  runtime::RuntimeErrorReport report;
};

class TestHeap {
 public:
  TestHeap();
  ~TestHeap();
  TestHeap(const TestHeap&) = delete;
  TestHeap& operator=(const TestHeap&) = delete;

  // Sizes of every allocation and reallocation, in order.
  std::vector<size_t> requestedSizes;
  size_t releaseCount = 0;
  // The next request is refused.
  bool refuseNext = false;

  // Blocks handed out and not yet released.
  size_t liveBlocks() const { return live_.size(); }

 private:
  static void* allocateBlock(size_t size);
  static void* reallocateBlock(void* block, size_t size);
  static void releaseBlock(void* block);
  static bool refuse(size_t size);

  std::set<void*> live_;
  const runtime::Heap heap_;
};

}  // namespace velmora::testing
