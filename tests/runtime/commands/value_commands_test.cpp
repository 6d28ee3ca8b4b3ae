// Blank texts and byte sets, byte set length, and the order of the core command table.
#include <gtest/gtest.h>

#include "runtime/commands/commands.h"
#include "runtime/commands/core_commands.h"
#include "runtime/memory.h"
#include "runtime/value_blocks.h"
#include "tests/runtime/commands/command_call.h"
#include "tests/support/test_heap.h"

namespace velmora::runtime {
namespace {

using namespace velmora::testing;

TEST(BlankText, IsSpacesInAnExactBlock) {
  TestHeap heap;
  EXPECT_EQ(takeText(call(blankText, {integerArgument(3)})), "   ");
  EXPECT_EQ(heap.requestedSizes, std::vector<size_t>{4});
}

TEST(BlankText, OfNoneOrFewerIsEmpty) {
  TestHeap heap;
  EXPECT_EQ(call(blankText, {integerArgument(0)}).value.asPointer(), nullptr);
  EXPECT_EQ(call(blankText, {integerArgument(-1)}).value.asPointer(), nullptr);
  EXPECT_TRUE(heap.requestedSizes.empty());
}

TEST(BlankText, TooLargeForTheAllocatorIsAnAllocationFailure) {
  TestHeap heap;
  heap.refuseNext = true;
  EXPECT_THROW(call(blankText, {integerArgument(2147483647)}), RaisedRuntimeError);
  EXPECT_EQ(heap.requestedSizes, std::vector<size_t>{2147483647});
}

TEST(BlankByteSet, IsZeroBytes) {
  TestHeap heap;
  void* byteSet = call(blankByteSet, {integerArgument(5)}).value.asPointer();
  ASSERT_EQ(byteSetLength(byteSet), 5);
  EXPECT_EQ(arrayDimensionCount(byteSet), 1);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(byteSetData(byteSet)[i], 0);
  EXPECT_EQ(heap.requestedSizes, std::vector<size_t>{13});
  freeBlock(byteSet);
  EXPECT_EQ(call(blankByteSet, {integerArgument(-3)}).value.asPointer(), nullptr);
}

TEST(ByteSetLength, IsTheLengthFieldOrZero) {
  TestHeap heap;
  const char bytes[] = "abcd";
  void* byteSet = byteSetFromBytes(bytes, 4);
  EXPECT_EQ(call(byteSetLengthCommand, {pointerArgument(types::kByteSet, byteSet)}).value.asInt(),
            4);
  EXPECT_EQ(call(byteSetLengthCommand, {pointerArgument(types::kByteSet, nullptr)}).value.asInt(),
            0);
  freeBlock(byteSet);
}

TEST(CoreCommandTable, KeepsEachCommandAtItsNumber) {
  using namespace core_command;
  const std::pair<int, Command> placed[] = {
      {kToText, toText},
      {kToNumber, toNumber},
      {kSplitText, splitText},
      {kSleep, sleep},
      {kByteSetLength, byteSetLengthCommand},
      {kBlankByteSet, blankByteSet},
      {kBlankText, blankText},
      {kFindText, findText},
      {kSeedRandomNumbers, seedRandomNumbers},
      {kNow, now},
      {kYearOf, yearOf},
      {kMonthOf, monthOf},
      {kDayOf, dayOf},
      {kRandomNumber, randomNumber},
  };
  for (const auto& [number, command] : placed) EXPECT_EQ(coreCommands[number], command) << number;
}

}  // namespace
}  // namespace velmora::runtime
