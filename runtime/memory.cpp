// The runtime allocator over the installed heap, and the constant-data region rules.
#include "runtime/memory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "runtime/runtime_error.h"
#include "runtime/runtime_error_texts.h"

namespace velmora::runtime {
namespace {

const Heap* installedHeap = nullptr;  // null until a heap is installed: the process heap

const Heap& heap() {
  return installedHeap ? *installedHeap : processHeap();
}
const uint8_t* constantsStart = nullptr;
const uint8_t* constantsEnd = nullptr;

[[noreturn]] void allocationFailed(int32_t size) {
  char message[64];
  std::snprintf(message, sizeof message, error_texts::kAllocationFailed, size);
  raiseRuntimeError(message, 0, 0, 0);
}

}  // namespace

void useHeap(const Heap& newHeap) {
  installedHeap = &newHeap;
}

void setConstantRegion(const void* start, size_t length) {
  constantsStart = static_cast<const uint8_t*>(start);
  constantsEnd = constantsStart ? constantsStart + length : nullptr;
}

bool isConstant(const void* pointer) {
  const auto* p = static_cast<const uint8_t*>(pointer);
  return p != nullptr && std::less_equal<>{}(constantsStart, p) && std::less<>{}(p, constantsEnd);
}

void* allocateQuietly(int32_t size) {
  if (size < 0) return nullptr;
  return heap().allocate(static_cast<size_t>(size));
}

void* allocate(int32_t size) {
  void* block = allocateQuietly(size);
  if (block == nullptr) allocationFailed(size);
  return block;
}

void* reallocate(void* block, int32_t size) {
  if (block == nullptr) return allocate(size);
  if (size < 0) allocationFailed(size);
  if (isConstant(block)) {
    void* copy = allocate(size);
    const auto available = static_cast<size_t>(constantsEnd - static_cast<const uint8_t*>(block));
    std::memcpy(copy, block, std::min(static_cast<size_t>(size), available));
    return copy;
  }
  void* moved = heap().reallocate(block, static_cast<size_t>(size));
  if (moved == nullptr) allocationFailed(size);
  return moved;
}

void freeBlock(void* block) {
  if (block == nullptr || isConstant(block)) return;
  heap().release(block);
}

}  // namespace velmora::runtime
