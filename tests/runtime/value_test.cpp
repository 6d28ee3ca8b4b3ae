#include "runtime/tagged_value.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace velmora::runtime {
namespace {

TEST(TypeCodes, SizeFunctionCoversExactlyTheNumericTypes) {
  EXPECT_EQ(typeSize(types::kByte), 1u);
  EXPECT_EQ(typeSize(types::kShort), 2u);
  EXPECT_EQ(typeSize(types::kInt), 4u);
  EXPECT_EQ(typeSize(types::kLong), 8u);
  EXPECT_EQ(typeSize(types::kFloat), 4u);
  EXPECT_EQ(typeSize(types::kDouble), 8u);
  for (TypeCode other :
       {types::kOmitted, types::kLogical, types::kDateTime, types::kText, types::kByteSet,
        types::kSubroutine, types::kWindowRef, types::kDouble | types::kArrayFlag, 0x80000701u}) {
    EXPECT_EQ(typeSize(other), 0u) << std::hex << other;
  }
}

TEST(TypeCodes, CategoryComesFromTheTopTwoBits) {
  EXPECT_EQ(typeCategory(0), TypeCategory::kOmitted);
  EXPECT_EQ(typeCategory(types::kText), TypeCategory::kBasic);
  EXPECT_EQ(typeCategory(0x40000003), TypeCategory::kLibraryDefined);
  EXPECT_EQ(typeCategory(types::kWindowRef), TypeCategory::kComposite);
  EXPECT_EQ(typeCategory(0xC0000001), TypeCategory::kComposite);
  EXPECT_TRUE(isNumericType(types::kFloat));
  EXPECT_FALSE(isNumericType(types::kLogical));
  EXPECT_FALSE(isNumericType(0x40000101));  // a library type is never numeric
}

TEST(TypeCodes, UnitReferencesAndArrays) {
  EXPECT_EQ(unitReferenceType(1, 1), types::kWindowRef);
  EXPECT_EQ(unitReferenceType(1, 14), types::kComboBoxRef);
  EXPECT_EQ(unitReferenceType(5, 2), 0x00050002u);
  const TypeCode textArray = types::kText | types::kArrayFlag;
  EXPECT_TRUE(isArrayType(textArray));
  EXPECT_FALSE(isArrayType(types::kText));
  EXPECT_EQ(arrayElementType(textArray), types::kText);
}

TEST(Records, HaveTheTwelveByteLayout) {
  EXPECT_EQ(offsetof(ArgRecord, value), 0u);
  EXPECT_EQ(offsetof(ArgRecord, type), 8u);
  EXPECT_EQ(offsetof(ResultRecord, third), 8u);
  ArgRecord records[2];
  EXPECT_EQ(reinterpret_cast<char*>(&records[1]) - reinterpret_cast<char*>(&records[0]), 12);
}

TEST(Records, ValuesRoundTripThroughTheSlot) {
  ValueSlot slot;
  slot.setLong(-2);
  EXPECT_EQ(slot.low, 0xFFFFFFFEu);
  EXPECT_EQ(slot.high, 0xFFFFFFFFu);
  EXPECT_EQ(slot.asLong(), -2);

  slot = {};
  slot.setInt(-7);
  EXPECT_EQ(slot.asInt(), -7);
  EXPECT_EQ(slot.high, 0u);

  slot.setDouble(45717.5);
  EXPECT_EQ(slot.asDouble(), 45717.5);
  slot.setFloat(1.5f);
  EXPECT_EQ(slot.asFloat(), 1.5f);

  const char text[] = "abc";
  slot = {};
  slot.setPointer(text);
  EXPECT_EQ(slot.asText(), text);
  if (sizeof(void*) == 4) {
    EXPECT_EQ(slot.high, 0u);  // a pointer takes the low word only
  }
}

TEST(Records, AnArgumentIsGivenOnlyByItsTypeCode) {
  ArgRecord filler;  // what a caller writes for a declared argument it leaves out
  EXPECT_FALSE(filler.given());
  ArgRecord stray{{5, 0}, types::kOmitted};
  EXPECT_FALSE(stray.given());
  ArgRecord zero{{0, 0}, types::kInt};
  EXPECT_TRUE(zero.given());
}

}  // namespace
}  // namespace velmora::runtime
