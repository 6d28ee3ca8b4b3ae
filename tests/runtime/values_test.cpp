#include "runtime/value_blocks.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/memory.h"
#include "tests/support/test_heap.h"

namespace velmora::runtime {
namespace {

using testing::RaisedRuntimeError;
using testing::TestHeap;

class Values : public ::testing::Test {
 protected:
  TestHeap heap;
};

TEST_F(Values, EmptyTextsAreNullPointers) {
  EXPECT_EQ(textFromString(nullptr), nullptr);
  EXPECT_EQ(textFromString(""), nullptr);
  EXPECT_EQ(textFromBytes("abc", 0), nullptr);
  EXPECT_EQ(textFromBytes("abc", -3), nullptr);
  EXPECT_TRUE(heap.requestedSizes.empty());
}

TEST_F(Values, TextBlocksAreExactlyLengthPlusOne) {
  char* text = textFromString("\xd6\xd0\xce\xc4");  // 中文
  EXPECT_STREQ(text, "\xd6\xd0\xce\xc4");
  EXPECT_EQ(heap.requestedSizes.back(), 5u);
  freeBlock(text);
  EXPECT_EQ(heap.liveBlocks(), 0u);
}

TEST_F(Values, TextFromBytesCopiesInnerZeros) {
  char* text = textFromBytes("a\0b", 3);
  EXPECT_EQ(std::memcmp(text, "a\0b\0", 4), 0);
  EXPECT_EQ(heap.requestedSizes.back(), 4u);
  freeBlock(text);
}

TEST_F(Values, ByteSetLayout) {
  EXPECT_EQ(byteSetFromBytes("x", 0), nullptr);
  EXPECT_EQ(byteSetLength(nullptr), 0);
  EXPECT_EQ(byteSetData(nullptr), nullptr);

  const uint8_t bytes[] = {0, 0xFF, 7};
  void* set = byteSetFromBytes(bytes, 3);
  EXPECT_EQ(heap.requestedSizes.back(), 11u);
  int32_t header[2];
  std::memcpy(header, set, sizeof header);
  EXPECT_EQ(header[0], 1);
  EXPECT_EQ(header[1], 3);
  EXPECT_EQ(byteSetLength(set), 3);
  EXPECT_EQ(std::memcmp(byteSetData(set), bytes, 3), 0);
  freeBlock(set);
}

TEST_F(Values, ArrayOfTextsStartsEmptyAndOwnsItsElements) {
  void* array = newArray(types::kText, 5);
  EXPECT_EQ(heap.requestedSizes.back(), 8 + 5 * sizeof(char*));  // 28 bytes on the 32-bit target
  EXPECT_EQ(arrayDimensionCount(array), 1);
  EXPECT_EQ(arrayElementCount(array), 5);
  auto** elements = static_cast<char**>(arrayElements(array));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(elements[i], nullptr);

  elements[1] = textFromString("one");
  elements[4] = textFromString("four");
  const size_t releasesBefore = heap.releaseCount;
  freeArray(array, types::kText);
  EXPECT_EQ(heap.releaseCount - releasesBefore, 3u);
  EXPECT_EQ(heap.liveBlocks(), 0u);
}

TEST_F(Values, NumericArraysUseTheSizeFunction) {
  void* array = newArray(types::kShort, 3);
  EXPECT_EQ(heap.requestedSizes.back(), 8u + 3 * 2);
  freeArray(array, types::kShort);
  EXPECT_EQ(arrayElementCount(nullptr), 0);
  EXPECT_THROW(newArray(types::kWindowRef, 1), RaisedRuntimeError);
}

TEST_F(Values, RefusedAllocationLeavesByTheRuntimeError) {
  heap.refuseNext = true;
  EXPECT_THROW(textFromString("abc"), RaisedRuntimeError);
  EXPECT_EQ(heap.liveBlocks(), 0u);
}

}  // namespace
}  // namespace velmora::runtime
