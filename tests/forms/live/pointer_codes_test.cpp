#include "forms/live/pointer_codes.h"

#include <gtest/gtest.h>

namespace velmora::forms {
namespace {

TEST(PointerCodes, CodesAndSystemIdsConvertBothWaysAndOthersPassUnchanged) {
  EXPECT_EQ(pointerIdFromCode(0), 0u);
  EXPECT_EQ(pointerIdFromCode(1), 0x7F00u);
  EXPECT_EQ(pointerIdFromCode(14), 0x7F89u);
  EXPECT_EQ(pointerIdFromCode(15), 15u);
  for (uint32_t code = 0; code <= 14; ++code)
    EXPECT_EQ(pointerCodeFromId(pointerIdFromCode(code)), code);
  EXPECT_EQ(pointerCodeFromId(0x7F8C), 0x7F8Cu);
}

TEST(PointerCodes, OnlyTheFirstWordOfDataAWordLongOrMoreIsConverted) {
  const uint8_t data[] = {3, 0, 0, 0, 9, 9};
  const Bytes withId = pointerDataWithId(data, 6);
  EXPECT_EQ(loadWord(withId.data()), 0x7F01u);
  EXPECT_EQ(withId[4], 9);
  EXPECT_EQ(pointerDataWithCode(withId), Bytes(data, data + 6));
  const Bytes shortData = {3, 0};
  EXPECT_EQ(pointerDataWithCode(shortData), shortData);
  EXPECT_EQ(pointerDataWithId(data, 2), Bytes(data, data + 2));
  EXPECT_TRUE(pointerDataWithId(nullptr, 0).empty());
}

}  // namespace
}  // namespace velmora::forms
