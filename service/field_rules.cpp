#include "service/field_rules.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "app/protocol/vocabulary.h"
#include "service/money.h"

namespace velmora::service {

namespace {

constexpr double kTolerance = 1e-7;  // the client's tolerance for comparing numbers
// Top-up orders: the client's least amount, and far beyond any top-up a person makes.
constexpr Hundredths kMinimumAmount = 5'00;
constexpr Hundredths kMaximumAmount = 1'000'000'00;

// U+3000 becomes a space and U+FF01 to U+FF5E their ASCII forms; other bytes stay.
std::string withAsciiForms(std::string_view text) {
  std::string ascii;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
    if (i + 2 < text.size() && byte(i) >= 0xE0 && byte(i) < 0xF0) {
      const unsigned codePoint =
          ((byte(i) & 0x0Fu) << 12) | ((byte(i + 1) & 0x3Fu) << 6) | (byte(i + 2) & 0x3Fu);
      if (codePoint == 0x3000 || (codePoint >= 0xFF01 && codePoint <= 0xFF5E)) {
        ascii += codePoint == 0x3000 ? ' ' : static_cast<char>(codePoint - 0xFEE0);
        i += 2;
        continue;
      }
    }
    ascii += text[i];
  }
  return ascii;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

size_t skipDigits(const std::string& text, size_t at) {
  while (at < text.size() && isDigit(text[at])) ++at;
  return at;
}

// The decimal number at the start of `text` (sign, digits with one point, exponent), which is
// what the client's conversion reads; hexadecimal and "inf" are not numbers to it.
std::string numberPrefix(const std::string& text) {
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return {};
  size_t at = start;
  if (text[at] == '+' || text[at] == '-') ++at;
  const size_t integerEnd = skipDigits(text, at);
  size_t end = integerEnd;
  if (end < text.size() && text[end] == '.') end = skipDigits(text, end + 1);
  if (end == integerEnd + 1 && integerEnd == at) return {};  // a point without digits
  if (end == at) return {};
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const size_t exponentEnd = skipDigits(text, exponent);
    if (exponentEnd > exponent) end = exponentEnd;
  }
  return text.substr(start, end - start);
}

}  // namespace

double leadingNumber(std::string_view text) {
  const std::string prefix = numberPrefix(withAsciiForms(text));
  return prefix.empty() ? 0 : std::strtod(prefix.c_str(), nullptr);
}

bool fitsRecord(std::string_view text, std::string_view separators) {
  return !text.empty() && text.size() <= kMaxFieldBytes &&
         text.find_first_of(separators) == std::string_view::npos;
}

bool acceptableUserName(std::string_view name) {
  static const std::string kSeparators =
      std::string(protocol::kListSeparator) + protocol::kPartSeparator;
  return fitsRecord(name, kSeparators) &&
         std::fabs(leadingNumber(name) - protocol::status::kLoginRefusedNumber) > kTolerance;
}

bool acceptableAmount(std::string_view amount) {
  const std::optional<Hundredths> hundredths = readAmount(withAsciiForms(amount));
  return hundredths && *hundredths >= kMinimumAmount && *hundredths <= kMaximumAmount;
}

std::string storedOptional(std::string text) {
  return text.empty() ? protocol::kNoValue : text;
}

}  // namespace velmora::service
