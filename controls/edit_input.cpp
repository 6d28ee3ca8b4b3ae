#include "controls/edit_input.h"

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace velmora::controls {
namespace {

bool isDigit(unsigned character) {
  return character >= '0' && character <= '9';
}

struct Range {
  int64_t lowest;
  int64_t highest;
};

std::optional<Range> integerRange(int mode) {
  switch (mode) {
    case kByteInput:
      return Range{0, 255};
    case kShortInput:
      return Range{INT16_MIN, INT16_MAX};
    case kIntegerInput:
      return Range{INT32_MIN, INT32_MAX};
    case kLongIntegerInput:
      return Range{INT64_MIN, INT64_MAX};
    default:
      return std::nullopt;
  }
}

// The leading integer of the text, saturated to the 64-bit range; nothing without digits.
std::optional<int64_t> leadingInteger(std::string_view text) {
  size_t at = 0;
  const bool negative = at < text.size() && text[at] == '-';
  if (negative) ++at;
  if (at >= text.size() || !isDigit(static_cast<unsigned char>(text[at]))) return std::nullopt;
  // Accumulate as a negative number, which reaches INT64_MIN.
  int64_t value = 0;
  for (; at < text.size() && isDigit(static_cast<unsigned char>(text[at])); ++at) {
    const int digit = text[at] - '0';
    value = value < (INT64_MIN + digit) / 10 ? INT64_MIN : value * 10 - digit;
  }
  if (!negative) return value == INT64_MIN ? INT64_MAX : -value;
  return value;
}

std::optional<std::string> clampedDecimal(double highest, std::string_view text) {
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (end == copy.c_str() || (value >= -highest && value <= highest)) return std::nullopt;
  char printed[64];
  std::snprintf(printed, sizeof printed, "%.17g", value < 0 ? -highest : highest);
  return std::string(printed);
}

}  // namespace

bool acceptsTypedCharacter(int mode, unsigned character) {
  if (character < 0x20) return true;
  switch (mode) {
    case kIntegerTextInput:
    case kShortInput:
    case kIntegerInput:
    case kLongIntegerInput:
      return isDigit(character) || character == '-';
    case kDecimalTextInput:
    case kFloatInput:
    case kDoubleInput:
      return isDigit(character) || character == '-' || character == '.';
    case kByteInput:
      return isDigit(character);
    default:
      return true;
  }
}

std::optional<std::string> clampedNumericText(int mode, std::string_view text) {
  if (mode == kFloatInput) return clampedDecimal(FLT_MAX, text);
  if (mode == kDoubleInput) return clampedDecimal(DBL_MAX, text);
  const auto range = integerRange(mode);
  if (!range) return std::nullopt;
  const auto value = leadingInteger(text);
  if (!value) return std::nullopt;
  const std::string clamped = std::to_string(std::clamp(*value, range->lowest, range->highest));
  if (clamped == text) return std::nullopt;
  return clamped;
}

}  // namespace velmora::controls
