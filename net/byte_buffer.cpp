#include "net/byte_buffer.h"

#include <cstring>

#include "runtime/memory.h"

namespace velmora::net {

void* BlockPool::take() {
  for (size_t i = 0; i < kBlockCount; ++i) {
    bool free = false;
    if (used_[i].compare_exchange_strong(free, true)) {
      usedCount_ += 1;
      return blocks_[i];
    }
  }
  return nullptr;
}

void BlockPool::give(void* block) {
  const size_t index = static_cast<size_t>(static_cast<uint8_t*>(block) - blocks_[0]) / kBlockSize;
  used_[index] = false;
  usedCount_ -= 1;
}

bool BlockPool::owns(const void* block) const {
  const auto* byte = static_cast<const uint8_t*>(block);
  return byte >= blocks_[0] && byte < blocks_[0] + sizeof blocks_;
}

BlockPool& internetBlockPool() {
  static BlockPool pool;
  return pool;
}

ByteBuffer::~ByteBuffer() {
  release();
}

void ByteBuffer::release() {
  if (data_ == nullptr) return;
  if (pool_.owns(data_)) {
    pool_.give(data_);
  } else {
    runtime::processHeap().release(data_);
  }
  data_ = nullptr;
  capacity_ = 0;
}

bool ByteBuffer::reserve(size_t size) {
  if (size < length_) size = length_;
  const bool pooled = data_ != nullptr && pool_.owns(data_);
  if (data_ != nullptr && capacity_ >= size && (pooled || capacity_ - size <= kKeptSpareRoom)) {
    return true;
  }
  if (data_ == nullptr && size <= BlockPool::kBlockSize) {
    if (void* block = pool_.take()) {
      data_ = static_cast<uint8_t*>(block);
      capacity_ = BlockPool::kBlockSize;
      return true;
    }
  }
  const size_t newCapacity = size + kHeapSpare;
  if (data_ != nullptr && !pooled) {
    void* moved = runtime::processHeap().reallocate(data_, newCapacity);
    if (moved == nullptr) return false;
    data_ = static_cast<uint8_t*>(moved);
  } else {
    auto* block = static_cast<uint8_t*>(runtime::processHeap().allocate(newCapacity));
    if (block == nullptr) return false;
    if (length_ > 0) std::memcpy(block, data_, length_);
    release();
    data_ = block;
  }
  capacity_ = newCapacity;
  return true;
}

bool ByteBuffer::append(const void* bytes, size_t count) {
  if (count == 0) return true;
  if (!reserve(length_ + count)) return false;
  std::memcpy(data_ + length_, bytes, count);
  length_ += count;
  return true;
}

}  // namespace velmora::net
