#include "tests/support/test_heap.h"

#include <cstdlib>

namespace velmora::testing {
namespace {

TestHeap* current = nullptr;

[[noreturn]] void throwRuntimeError(const runtime::RuntimeErrorReport& report) {
  throw RaisedRuntimeError(report);
}

}  // namespace

TestHeap::TestHeap() : heap_{allocateBlock, reallocateBlock, releaseBlock} {
  current = this;
  runtime::useHeap(heap_);
  runtime::setRuntimeErrorReporter(throwRuntimeError);
}

TestHeap::~TestHeap() {
  for (void* block : live_) std::free(block);
  runtime::useHeap(runtime::processHeap());
  runtime::setRuntimeErrorReporter(nullptr);
  current = nullptr;
}

bool TestHeap::refuse(size_t size) {
  current->requestedSizes.push_back(size);
  const bool refused = current->refuseNext;
  current->refuseNext = false;
  return refused;
}

void* TestHeap::allocateBlock(size_t size) {
  if (refuse(size)) return nullptr;
  void* block = std::malloc(size == 0 ? 1 : size);
  current->live_.insert(block);
  return block;
}

void* TestHeap::reallocateBlock(void* block, size_t size) {
  if (refuse(size)) return nullptr;
  void* moved = std::realloc(block, size == 0 ? 1 : size);
  current->live_.erase(block);
  current->live_.insert(moved);
  return moved;
}

void TestHeap::releaseBlock(void* block) {
  current->releaseCount += 1;
  current->live_.erase(block);
  std::free(block);
}

}  // namespace velmora::testing
