// Split text: delimiters, limits, empty pieces and double-byte characters.
#include <gtest/gtest.h>

#include "runtime/commands/commands.h"
#include "runtime/value_blocks.h"
#include "tests/runtime/commands/command_call.h"
#include "tests/support/test_heap.h"

namespace velmora::runtime {
namespace {

using namespace velmora::testing;
using Pieces = std::vector<std::optional<std::string>>;
constexpr std::nullopt_t kEmpty = std::nullopt;

struct SplitCase {
  const char* name;
  const char* text;
  ArgRecord delimiter;
  ArgRecord limit;
  Pieces expected;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << c.name;
}

class SplitText : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitText, GivesThePieces) {
  TestHeap heap;
  const SplitCase& c = GetParam();
  const ResultRecord result = call(splitText, {textArgument(c.text), c.delimiter, c.limit});
  ASSERT_NE(result.value.asPointer(), nullptr);
  EXPECT_EQ(arrayDimensionCount(result.value.asPointer()), 1);
  EXPECT_EQ(takeTextArray(result), c.expected);
  EXPECT_EQ(heap.liveBlocks(), 0u);
}

const SplitCase kCases[] = {
    {"empty piece in the middle is null", "a,,b", kOmitted, kOmitted, {"a", kEmpty, "b"}},
    {"empty first piece", ",a", kOmitted, kOmitted, {kEmpty, "a"}},
    {"empty last piece is dropped", "a,", kOmitted, kOmitted, {"a"}},
    {"limit drops the rest", "a,b,c", kOmitted, integerArgument(2), {"a", "b"}},
    {"limit above the piece count", "a,b", kOmitted, integerArgument(5), {"a", "b"}},
    {"limit 0", "a,b", kOmitted, integerArgument(0), {}},
    {"negative limit counts as 0", "a,b", kOmitted, integerArgument(-1), {}},
    {"empty text gives an empty array", "", kOmitted, kOmitted, {}},
    {"empty delimiter gives the whole text", "a,b", textArgument(""), kOmitted, {"a,b"}},
    {"longer delimiter", "1--2--", textArgument("--"), kOmitted, {"1", "2"}},
    {"no delimiter in the text", "abc", kOmitted, kOmitted, {"abc"}},
    {"delimiter never matches a trail byte",
     "\x81\x41"
     "A\x81\x41",
     textArgument("A"),
     kOmitted,
     {"\x81\x41", "\x81\x41"}},
    {"lead byte at the end stays in the last piece", "a,\x81", kOmitted, kOmitted, {"a", "\x81"}},
    {"a run of double-byte characters keeps a trail delimiter byte inside",
     "\xb0\xa1\x81,a,b",
     kOmitted,
     kOmitted,
     {"\xb0\xa1\x81,a", "b"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SplitText, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace velmora::runtime
