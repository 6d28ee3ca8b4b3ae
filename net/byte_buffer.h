// The internet library's growable byte buffers. Small buffers come from a pool of 96 blocks of
// 512 bytes shared by the library, whose requests may run on several threads at once; larger
// ones from the process heap, with 128 bytes to spare.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace velmora::net {

class BlockPool {
 public:
  static constexpr size_t kBlockCount = 96;
  static constexpr size_t kBlockSize = 512;

  // A free block, or null when all are in use.
  void* take();
  void give(void* block);
  bool owns(const void* block) const;
  size_t used() const { return usedCount_.load(); }

 private:
  alignas(8) uint8_t blocks_[kBlockCount][kBlockSize];
  std::atomic<bool> used_[kBlockCount] = {};
  std::atomic<size_t> usedCount_ = 0;
};

// The pool of the internet library.
BlockPool& internetBlockPool();

class ByteBuffer {
 public:
  explicit ByteBuffer(BlockPool& pool = internetBlockPool()) : pool_(pool) {}
  ~ByteBuffer();
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;

  // Makes room for size bytes in all, keeping what is held; false when memory runs out, and
  // then the buffer is unchanged.
  bool reserve(size_t size);
  // Appends bytes; false when memory runs out, and then nothing is appended.
  bool append(const void* bytes, size_t count);

  uint8_t* data() const { return data_; }
  size_t length() const { return length_; }
  size_t capacity() const { return capacity_; }

 private:
  static constexpr size_t kHeapSpare = 128;
  static constexpr size_t kKeptSpareRoom = 256;

  void release();

  BlockPool& pool_;
  uint8_t* data_ = nullptr;
  size_t capacity_ = 0;
  size_t length_ = 0;
};

}  // namespace velmora::net
