// To number: any value as a double; texts are read as decimal numbers, full-width forms too.
#include <cstdlib>
#include <string>

#include "runtime/commands/arguments.h"
#include "runtime/commands/commands.h"

namespace velmora::runtime {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Full-width ASCII forms (lead byte 0xA3), the full-width space, tilde and asterisks become their
// single-byte forms; every other character stays as it is.
std::string normalisedNumberText(const char* text) {
  std::string normalised;
  for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p != 0;) {
    if (*p < 0x80) {
      normalised += static_cast<char>(*p++);
      continue;
    }
    const unsigned char lead = p[0];
    const unsigned char trail = p[1];
    if (trail == 0) break;
    p += 2;
    if (lead == 0xA3 && trail > 0xA0 && trail < 0xFF) {
      normalised += static_cast<char>(trail & 0x7F);
    } else if (lead == 0xA1 && trail == 0xA1) {
      normalised += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      normalised += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      normalised += '*';
    } else {
      normalised += static_cast<char>(lead);
      normalised += static_cast<char>(trail);
    }
  }
  return normalised;
}

// The length of the decimal number at the start of text: sign, digits with at most one point,
// an optional exponent; 0 when there is none.
size_t decimalNumberLength(const char* text) {
  const char* p = text;
  if (*p == '+' || *p == '-') ++p;
  const char* digits = p;
  while (isDigit(*p)) ++p;
  bool anyDigit = p != digits;
  if (*p == '.') {
    const char* fraction = ++p;
    while (isDigit(*p)) ++p;
    anyDigit = anyDigit || p != fraction;
  }
  if (!anyDigit) return 0;
  if (*p == 'e' || *p == 'E') {
    const char* exponent = p + 1;
    if (*exponent == '+' || *exponent == '-') ++exponent;
    if (isDigit(*exponent)) {
      p = exponent;
      while (isDigit(*p)) ++p;
    }
  }
  return static_cast<size_t>(p - text);
}

bool isAscii(const char* text) {
  for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    if (*p >= 0x80) return false;
  }
  return true;
}

double numberOfText(const char* text) {
  // Most texts are plain ASCII replies, read in place; others are normalised first.
  const bool ascii = isAscii(text);
  const std::string normalised = ascii ? std::string() : normalisedNumberText(text);
  const char* number = ascii ? text : normalised.c_str();
  while (isSpace(*number)) ++number;
  const size_t length = decimalNumberLength(number);
  if (length == 0) return 0;
  char* end = nullptr;
  const double value = std::strtod(number, &end);
  if (end == number + length) return value;
  // The conversion read on (a hexadecimal form): only the decimal number itself counts.
  return std::strtod(std::string(number, length).c_str(), nullptr);
}

double numberOfValue(const ArgRecord& argument) {
  const ValueSlot& value = argument.value;
  switch (argument.type) {
    case types::kByte:
      return static_cast<uint8_t>(value.low);
    case types::kShort:
      return static_cast<int16_t>(value.low);
    case types::kInt:
    case types::kLogical:
      return value.asInt();
    case types::kLong:
      return static_cast<double>(value.asLong());
    case types::kFloat:
      return value.asFloat();
    case types::kDouble:
      return value.asDouble();
    case types::kSubroutine:
      return value.low;
    case types::kText:
      return value.asText() ? numberOfText(value.asText()) : 0;
    default:
      return 0;
  }
}

}  // namespace

void toNumber(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  result->value.setDouble(numberOfValue(Arguments(argCount, args).record(1)));
}

}  // namespace velmora::runtime
