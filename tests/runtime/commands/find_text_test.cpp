// Find text: start positions, case folding and double-byte characters.
#include <gtest/gtest.h>

#include "runtime/commands/commands.h"
#include "tests/runtime/commands/command_call.h"

namespace velmora::runtime {
namespace {

using namespace velmora::testing;

struct FindCase {
  const char* name;
  const char* searched;
  const char* sought;
  ArgRecord start;
  ArgRecord foldCase;
  int32_t expected;
};

void PrintTo(const FindCase& c, std::ostream* os) {
  *os << c.name;
}

class FindText : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindText, FindsTheFirstMatchAtACharacterBoundary) {
  const FindCase& c = GetParam();
  const ResultRecord result =
      call(findText, {textArgument(c.searched), textArgument(c.sought), c.start, c.foldCase});
  EXPECT_EQ(result.value.asInt(), c.expected);
}

const ArgRecord kFold = valueArgument(types::kLogical, 1);

const FindCase kCases[] = {
    {"first match", "xxabab", "ab", kOmitted, kOmitted, 3},
    {"from a later start", "xxabab", "ab", integerArgument(4), kOmitted, 5},
    {"start beyond the last match", "xxabab", "ab", integerArgument(7), kOmitted, -1},
    {"start below 1 counts as 1", "xxabab", "ab", integerArgument(-5), kOmitted, 3},
    {"start beyond the text", "abc", "c", integerArgument(4), kOmitted, -1},
    {"match at the very end", "abc", "c", integerArgument(3), kOmitted, 3},
    {"empty sought text in a non-empty range", "abc", "", integerArgument(2), kOmitted, 1},
    {"empty sought text in an empty range", "abc", "", integerArgument(4), kOmitted, -1},
    {"empty searched text", "", "", kOmitted, kOmitted, -1},
    {"sought text longer than the text", "ab", "abc", kOmitted, kOmitted, -1},
    {"case matters by default", "xab", "AB", kOmitted, kOmitted, -1},
    {"case folded with 1", "xab", "AB", kOmitted, kFold, 2},
    {"only exactly 1 folds", "xab", "AB", kOmitted, valueArgument(types::kLogical, 2), -1},
    {"never a match on a trail byte", "\x81\x41", "A", kOmitted, kOmitted, -1},
    {"the next character after a double-byte one",
     "\x81\x41"
     "A",
     "A", kOmitted, kOmitted, 3},
    {"double-byte character found whole", "a\xb0\xa1\xb0\xa2", "\xb0\xa2", kOmitted, kOmitted, 4},
    {"folding leaves trail bytes alone", "\x81\x61", "\x81\x41", kOmitted, kFold, -1},
    {"folded letters after a double-byte character", "\x81\x41xY", "Xy", kOmitted, kFold, 3},
    {"a lead byte without its trail byte ends the search", "a\x81", "b", kOmitted, kOmitted, -1},
    {"a trail byte after a run of double-byte characters",
     "\xb0\xa1\x81"
     "AA",
     "A", kOmitted, kOmitted, 5},
    {"bytes across two characters never match", "\xb0\xa1\xb0\xa2", "\xa1\xb0", kOmitted, kOmitted,
     -1},
    {"a folded match never starts on a trail byte",
     "\x81\x41"
     "b-",
     "Ab-", kOmitted, kFold, -1},
    {"a folded match found by its first byte that is no letter",
     "\x81\x41"
     "b-Ab-",
     "aB-", kOmitted, kFold, 5},
};

INSTANTIATE_TEST_SUITE_P(Cases, FindText, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace velmora::runtime
