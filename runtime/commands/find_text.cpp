// Find text: a forward search that sees texts as characters, never matching on a trail byte.
#include <algorithm>
#include <cstring>

#include "runtime/commands/arguments.h"
#include "runtime/commands/commands.h"

namespace velmora {
namespace {

bool isLeadByte(unsigned char c) {
  return c >= 0x80;
}

unsigned char foldedLetter(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// ASCII letters compare without regard to case; both bytes of a double-byte character of the
// candidate must match exactly, so a trail byte that looks like a letter is never folded.
bool equalFoldingLetters(const unsigned char* candidate, const unsigned char* sought,
                         size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (isLeadByte(candidate[i])) {
      if (candidate[i] != sought[i]) return false;
      if (++i < length && candidate[i] != sought[i]) return false;
    } else if (foldedLetter(candidate[i]) != foldedLetter(sought[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

int32_t findTextPosition(std::string_view searched, std::string_view sought, int32_t start,
                         bool foldCase) {
  const auto* text = reinterpret_cast<const unsigned char*>(searched.data());
  const auto* target = reinterpret_cast<const unsigned char*>(sought.data());
  const size_t length = searched.size();
  const size_t soughtLength = sought.size();
  size_t position = start > 0 ? static_cast<size_t>(start) : 0;
  if (position >= length) return -1;
  if (soughtLength == 0) return 1;
  while (length - position >= soughtLength) {
    const unsigned char* candidate = text + position;
    const bool match =
        foldCase ? equalFoldingLetters(candidate, target, soughtLength)
                 : candidate[0] == target[0] && std::memcmp(candidate, target, soughtLength) == 0;
    if (match) return static_cast<int32_t>(position + 1);
    if (isLeadByte(*candidate)) {
      if (position + 1 >= length) return -1;  // a lead byte without its trail byte
      position += 2;
    } else {
      position += 1;
    }
  }
  return -1;
}

void findText(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  const Arguments arguments(argCount, args);
  const int64_t start = arguments.given(3) ? int64_t{arguments.integer(3)} - 1 : 0;
  const bool foldCase = arguments.given(4) && arguments.record(4).value.low == 1;
  result->value.setInt(findTextPosition(arguments.text(1), arguments.text(2),
                                        static_cast<int32_t>(std::max<int64_t>(start, 0)),
                                        foldCase));
}

}  // namespace velmora
