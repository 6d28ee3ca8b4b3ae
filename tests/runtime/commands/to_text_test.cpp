// To text over every kind of value, and to number over values and texts.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/commands/commands.h"
#include "runtime/date_time.h"
#include "runtime/value_blocks.h"
#include "tests/runtime/commands/command_call.h"
#include "tests/support/gbk.h"
#include "tests/support/test_heap.h"

namespace velmora::runtime {
namespace {

using namespace velmora::testing;

ArgRecord floatArgument(float value) {
  ArgRecord record;
  record.value.setFloat(value);
  record.type = types::kFloat;
  return record;
}

ArgRecord dateTimeArgument(int year, int month, int day, int hour, int minute, int second) {
  return doubleArgument(dateTimeFromFields(year, month, day, hour, minute, second),
                        types::kDateTime);
}

struct ToTextCase {
  const char* name;
  ArgRecord argument;
  std::optional<std::string> expected;
};

void PrintTo(const ToTextCase& c, std::ostream* os) {
  *os << c.name;
}

class ToText : public ::testing::TestWithParam<ToTextCase> {};

TEST_P(ToText, WritesTheValue) {
  TestHeap heap;
  EXPECT_EQ(takeText(call(toText, {GetParam().argument})), GetParam().expected);
  EXPECT_EQ(heap.liveBlocks(), 0u);
}

const ToTextCase kToTextCases[] = {
    {"integer zero is a digit, not the empty text", integerArgument(0), "0"},
    {"negative integer", integerArgument(-2147483647 - 1), "-2147483648"},
    {"byte is unsigned", valueArgument(types::kByte, 0xFFFFFFC8), "200"},
    {"short integer is signed", valueArgument(types::kShort, 0xFFFE), "-2"},
    {"long integer", valueArgument(types::kLong, 0xFFFFFFFF, 0x7FFFFFFF), "9223372036854775807"},
    {"double with thirteen digits", doubleArgument(1.0 / 3), "0.3333333333333"},
    {"double without a tail", doubleArgument(0.1), "0.1"},
    {"large double in exponent form", doubleArgument(1e20), "1e+20"},
    {"float loses its binary tail", floatArgument(0.1f), "0.1"},
    // 1234565 lies exactly half-way; "%.6g" alone would round it to even.
    {"float half rounds away from zero", floatArgument(1234565.0f), "1.23457e+06"},
    {"negative float half", floatArgument(-1234565.0f), "-1.23457e+06"},
    {"true", valueArgument(types::kLogical, 5), gbk(u8"真")},
    {"false", valueArgument(types::kLogical, 0), gbk(u8"假")},
    {"text is copied", textArgument("abc"), "abc"},
    {"empty text stays empty", textArgument(""), std::nullopt},
    {"date and hour", dateTimeArgument(2025, 4, 15, 13, 0, 0), gbk(u8"2025年4月15日13时")},
    {"date, hour and minute", dateTimeArgument(2025, 4, 15, 13, 5, 0),
     gbk(u8"2025年4月15日13时5分")},
    {"seconds bring every time field", dateTimeArgument(2025, 4, 15, 0, 0, 7),
     gbk(u8"2025年4月15日0时0分7秒")},
    {"midnight is the date alone", dateTimeArgument(2025, 4, 15, 0, 0, 0), gbk(u8"2025年4月15日")},
    {"date-time beyond year 9999 is clamped", doubleArgument(3000000.0, types::kDateTime),
     gbk(u8"9999年12月31日")},
    {"window reference has no text", valueArgument(types::kWindowRef, 0x52010001, 0x06010001),
     std::nullopt},
    {"omitted argument", kOmitted, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Values, ToText, ::testing::ValuesIn(kToTextCases));

TEST(ToTextOfBlocks, ByteSetStopsAtItsFirstZeroByte) {
  TestHeap heap;
  const uint8_t bytes[] = {0x41, 0x42, 0x00, 0x43};
  void* byteSet = byteSetFromBytes(bytes, 4);
  EXPECT_EQ(takeText(call(toText, {pointerArgument(types::kByteSet, byteSet)})), "AB");
  freeBlock(byteSet);
  EXPECT_EQ(takeText(call(toText, {pointerArgument(types::kByteSet, nullptr)})), std::nullopt);
}

TEST(ToTextOfBlocks, NumericArrayGivesItsBytesAndTextArrayNothing) {
  TestHeap heap;
  void* integers = newArray(types::kInt, 2);
  const int32_t values[2] = {0x44434241, 0x00004645};  // "ABCDEF" and zero bytes
  std::memcpy(arrayElements(integers), values, sizeof values);
  EXPECT_EQ(takeText(call(toText, {pointerArgument(types::kInt | types::kArrayFlag, integers)})),
            "ABCDEF");
  freeArray(integers, types::kInt);

  void* texts = newArray(types::kText, 1);
  static_cast<char**>(arrayElements(texts))[0] = textFromString("x");
  EXPECT_EQ(takeText(call(toText, {pointerArgument(types::kText | types::kArrayFlag, texts)})),
            std::nullopt);
  freeArray(texts, types::kText);
  EXPECT_EQ(heap.liveBlocks(), 0u);
}

struct ToNumberCase {
  const char* name;
  ArgRecord argument;
  double expected;
};

void PrintTo(const ToNumberCase& c, std::ostream* os) {
  *os << c.name;
}

class ToNumber : public ::testing::TestWithParam<ToNumberCase> {};

TEST_P(ToNumber, ReadsTheValue) {
  EXPECT_EQ(call(toNumber, {GetParam().argument}).value.asDouble(), GetParam().expected);
}

const std::string kFullWidth = gbk(u8"１２．５");
const std::string kFullWidthSpaceAndSign = gbk(u8"　－７");

const ToNumberCase kToNumberCases[] = {
    {"leading spaces, exponent and trailing letters", textArgument("  -12.5e1xyz"), -125},
    {"letters only", textArgument("abc"), 0},
    {"empty text", textArgument(""), 0},
    {"point without digits", textArgument("-.e3"), 0},
    {"fraction without integer part", textArgument(".5"), 0.5},
    {"exponent without digits is left out", textArgument("7e+"), 7},
    {"no hexadecimal form", textArgument("0x1A"), 0},
    {"no infinity", textArgument("inf"), 0},
    {"full-width digits and point", textArgument(kFullWidth.c_str()), 12.5},
    {"full-width space and minus", textArgument(kFullWidthSpaceAndSign.c_str()), -7},
    {"a lead byte at the end ends the text", textArgument("5\xa3"), 5},
    {"other double-byte characters end the number", textArgument("3\xb0\xa1"), 3},
    {"logical 1", valueArgument(types::kLogical, 1), 1},
    {"logical is signed", valueArgument(types::kLogical, 0xFFFFFFFF), -1},
    {"byte is unsigned", valueArgument(types::kByte, 0xFF), 255},
    {"short integer is signed", valueArgument(types::kShort, 0xFFFF), -1},
    {"long integer", valueArgument(types::kLong, 0, 1), 4294967296.0},
    {"subroutine pointer is unsigned", valueArgument(types::kSubroutine, 0xFFFFFFFF), 4294967295.0},
    {"double", doubleArgument(2.75), 2.75},
    {"date-time is not a number", doubleArgument(45000.5, types::kDateTime), 0},
};

INSTANTIATE_TEST_SUITE_P(Values, ToNumber, ::testing::ValuesIn(kToNumberCases));

}  // namespace
}  // namespace velmora::runtime
