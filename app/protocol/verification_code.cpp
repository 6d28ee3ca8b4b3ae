#include "app/protocol/verification_code.h"

#include <vector>

namespace velmora::protocol {
namespace {

// The words after which a code stands.
constexpr std::string_view kCodeWords[] = {
    "\xd1\xe9\xd6\xa4\xc2\xeb",  // 验证码
    "\xd0\xa3\xd1\xe9\xc2\xeb",  // 校验码
    "code",
    "Code",
};
// Between the word and the code: at most this many characters, such as "是", "：" or " ".
constexpr size_t kMostSkipped = 6;
constexpr size_t kShortestCode = 4;
constexpr size_t kLongestCode = 8;

// One character of the text: where it starts, and its digit value (-1: not a digit).
struct Character {
  size_t start = 0;
  int digit = -1;
};

int digitOf(std::string_view text, size_t start, size_t length) {
  const auto first = static_cast<unsigned char>(text[start]);
  if (length == 1) return first >= '0' && first <= '9' ? first - '0' : -1;
  const auto second = static_cast<unsigned char>(text[start + 1]);
  const bool fullWidth = first == 0xA3 && second >= 0xB0 && second <= 0xB9;  // ０ to ９
  return fullWidth ? second - 0xB0 : -1;
}

// The text's characters: a byte from 0x81 up leads a double-byte character; a lead byte at the
// end stands alone.
std::vector<Character> charactersOf(std::string_view text) {
  std::vector<Character> characters;
  for (size_t i = 0; i < text.size();) {
    const bool doubleByte = static_cast<unsigned char>(text[i]) >= 0x81 && i + 1 < text.size();
    const size_t length = doubleByte ? 2 : 1;
    characters.push_back({i, digitOf(text, i, length)});
    i += length;
  }
  return characters;
}

class CodeReader {
 public:
  explicit CodeReader(std::string_view text) : text_(text), characters_(charactersOf(text)) {}

  std::string afterCodeWord() const {
    for (size_t i = 0; i < characters_.size(); ++i) {
      const size_t after = afterWordAt(i);
      if (after == 0) continue;
      for (size_t k = after; k < characters_.size() && k <= after + kMostSkipped; ++k) {
        if (isDigit(k)) {
          if (std::string code = codeAt(k); !code.empty()) return code;
          break;
        }
      }
    }
    return {};
  }

  std::string standingAlone() const {
    for (size_t i = 0; i < characters_.size(); ++i) {
      if (!isDigit(i) || (i > 0 && isDigit(i - 1))) continue;
      if (std::string code = codeAt(i); !code.empty()) return code;
    }
    return {};
  }

 private:
  bool isDigit(size_t i) const { return characters_[i].digit >= 0; }

  // The index of the character after a code word that starts at character i; 0 for none.
  size_t afterWordAt(size_t i) const {
    const std::string_view rest = text_.substr(characters_[i].start);
    for (const std::string_view word : kCodeWords) {
      if (!rest.starts_with(word)) continue;
      size_t next = i;
      while (next < characters_.size() &&
             characters_[next].start < characters_[i].start + word.size())
        ++next;
      return next;
    }
    return 0;
  }

  // The run of digits from character i when it is a code's length, else empty.
  std::string codeAt(size_t i) const {
    std::string code;
    for (size_t k = i; k < characters_.size() && isDigit(k); ++k)
      code += static_cast<char>('0' + characters_[k].digit);
    const bool codeLength = code.size() >= kShortestCode && code.size() <= kLongestCode;
    return codeLength ? code : std::string();
  }

  std::string_view text_;
  std::vector<Character> characters_;
};

}  // namespace

std::string verificationCode(std::string_view sms) {
  const CodeReader reader(sms);
  std::string code = reader.afterCodeWord();
  return code.empty() ? reader.standingAlone() : code;
}

}  // namespace velmora::protocol
