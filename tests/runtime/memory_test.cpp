#include "runtime/memory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/gbk.h"
#include "tests/support/test_heap.h"

namespace velmora::runtime {
namespace {

using testing::gbk;
using testing::RaisedRuntimeError;
using testing::TestHeap;

class Memory : public ::testing::Test {
 protected:
  void SetUp() override { setConstantRegion(constants, sizeof constants); }
  void TearDown() override { setConstantRegion(nullptr, 0); }

  RuntimeErrorReport failingAllocation(int32_t size) {
    try {
      allocate(size);
    } catch (const RaisedRuntimeError& error) {
      return error.report;
    }
    ADD_FAILURE() << "allocate(" << size << ") returned";
    return {};
  }

  TestHeap heap;
  char constants[16] = "literal\0\0empty";
};

TEST_F(Memory, RefusedAllocationIsARuntimeErrorNamingTheSize) {
  heap.refuseNext = true;
  const RuntimeErrorReport report = failingAllocation(4096);
  EXPECT_EQ(report.message, gbk(u8"分配 4096 字节内存失败!"));
  EXPECT_EQ(report.code, 0);
  EXPECT_EQ(report.sourceId, 0);
  EXPECT_EQ(report.position, 0);
}

TEST_F(Memory, QuietAllocationReturnsNullInstead) {
  heap.refuseNext = true;
  EXPECT_EQ(allocateQuietly(64), nullptr);
  EXPECT_EQ(allocateQuietly(-1), nullptr);
  void* block = allocateQuietly(64);
  ASSERT_NE(block, nullptr);
  freeBlock(block);
  EXPECT_EQ(heap.liveBlocks(), 0u);
}

TEST_F(Memory, NegativeSizesAreRefused) {
  EXPECT_EQ(failingAllocation(-5).message, gbk(u8"分配 -5 字节内存失败!"));
  EXPECT_TRUE(heap.requestedSizes.empty());  // the heap never sees a wrapped-around size
}

TEST_F(Memory, FreeIgnoresNullAndTheConstantRegion) {
  freeBlock(nullptr);
  freeBlock(constants);
  freeBlock(constants + 9);
  freeBlock(constants + sizeof constants - 1);
  EXPECT_EQ(heap.releaseCount, 0u);
  EXPECT_STREQ(constants, "literal");
}

TEST_F(Memory, RegionEndIsNotAConstant) {
  EXPECT_TRUE(isConstant(constants));
  EXPECT_TRUE(isConstant(constants + sizeof constants - 1));
  EXPECT_FALSE(isConstant(constants + sizeof constants));
  EXPECT_FALSE(isConstant(nullptr));
}

TEST_F(Memory, ReallocateOfNullAllocates) {
  void* block = reallocate(nullptr, 24);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(heap.requestedSizes, std::vector<size_t>{24});
  freeBlock(block);
}

TEST_F(Memory, ReallocateOfAConstantCopiesWhatFitsAndLeavesTheConstant) {
  auto* grown = static_cast<char*>(reallocate(constants, 40));
  EXPECT_EQ(std::memcmp(grown, constants, sizeof constants), 0);
  grown[0] = 'L';
  EXPECT_EQ(constants[0], 'l');

  // From inside the region only the bytes up to its end are copied.
  auto* tail = static_cast<char*>(reallocate(constants + 9, 3));
  EXPECT_EQ(std::memcmp(tail, "emp", 3), 0);
  freeBlock(grown);
  freeBlock(tail);
  EXPECT_EQ(heap.liveBlocks(), 0u);
}

TEST_F(Memory, ReallocateKeepsContentsAndReportsRefusal) {
  auto* block = static_cast<char*>(allocate(4));
  std::memcpy(block, "abc", 4);
  block = static_cast<char*>(reallocate(block, 1000));
  EXPECT_STREQ(block, "abc");
  heap.refuseNext = true;
  try {
    reallocate(block, 5000);
    ADD_FAILURE() << "reallocate returned";
  } catch (const RaisedRuntimeError& error) {
    EXPECT_EQ(error.report.message, gbk(u8"分配 5000 字节内存失败!"));
  }
  freeBlock(block);
}

}  // namespace
}  // namespace velmora::runtime
