#include "net/byte_buffer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace velmora::net {
namespace {

TEST(ByteBuffer, SmallBuffersComeFromThePoolAndGoBack) {
  BlockPool pool;
  {
    ByteBuffer buffer(pool);
    ASSERT_TRUE(buffer.append("abc", 3));
    EXPECT_TRUE(pool.owns(buffer.data()));
    EXPECT_EQ(buffer.capacity(), 512u);
    EXPECT_EQ(pool.used(), 1u);
    // Growing within the block keeps it.
    const std::string more(509, 'x');
    ASSERT_TRUE(buffer.append(more.data(), more.size()));
    EXPECT_TRUE(pool.owns(buffer.data()));
  }
  EXPECT_EQ(pool.used(), 0u);
}

TEST(ByteBuffer, OutgrowingAPoolBlockMovesToTheHeapWithItsBytes) {
  BlockPool pool;
  ByteBuffer buffer(pool);
  const std::string first(500, 'a');
  const std::string second(100, 'b');
  ASSERT_TRUE(buffer.append(first.data(), first.size()));
  ASSERT_TRUE(buffer.append(second.data(), second.size()));
  EXPECT_FALSE(pool.owns(buffer.data()));
  EXPECT_EQ(pool.used(), 0u);
  EXPECT_EQ(buffer.capacity(), 600u + 128);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer.data()), buffer.length()), first + second);
}

TEST(ByteBuffer, LargeRequestsTakeTheHeapWithSpare) {
  BlockPool pool;
  ByteBuffer buffer(pool);
  ASSERT_TRUE(buffer.reserve(10240));
  EXPECT_FALSE(pool.owns(buffer.data()));
  EXPECT_EQ(buffer.capacity(), 10240u + 128);
  // Room that fits with at most 256 bytes to spare is kept; more spare room is given back.
  ASSERT_TRUE(buffer.reserve(10240 + 100));
  EXPECT_EQ(buffer.capacity(), 10240u + 128);
  ASSERT_TRUE(buffer.reserve(2000));
  EXPECT_EQ(buffer.capacity(), 2000u + 128);
}

TEST(ByteBuffer, AFullPoolSendsSmallBuffersToTheHeap) {
  BlockPool pool;
  std::vector<std::unique_ptr<ByteBuffer>> buffers;
  for (size_t i = 0; i < BlockPool::kBlockCount; ++i) {
    buffers.push_back(std::make_unique<ByteBuffer>(pool));
    ASSERT_TRUE(buffers.back()->reserve(16));
  }
  EXPECT_EQ(pool.used(), BlockPool::kBlockCount);
  ByteBuffer overflow(pool);
  ASSERT_TRUE(overflow.reserve(16));
  EXPECT_FALSE(pool.owns(overflow.data()));
  EXPECT_EQ(overflow.capacity(), 16u + 128);
  buffers.erase(buffers.begin() + 40);
  ByteBuffer again(pool);
  ASSERT_TRUE(again.reserve(16));
  EXPECT_TRUE(pool.owns(again.data()));  // the freed block is taken again
}

}  // namespace
}  // namespace velmora::net
