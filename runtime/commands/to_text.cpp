// To text: any value as text.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "runtime/commands/arguments.h"
#include "runtime/commands/commands.h"
#include "runtime/date_time.h"
#include "runtime/value_blocks.h"

namespace velmora::runtime {
namespace {

// The bytes of a byte set or numeric array up to the first zero byte.
char* textOfBlockData(TypeCode type, const void* block) {
  if (block == nullptr) return nullptr;
  const uint32_t elementSize = type == types::kByteSet ? 1 : typeSize(arrayElementType(type));
  const auto* data = static_cast<const char*>(arrayElements(block));
  const int64_t count = int64_t{arrayElementCount(block)} * elementSize;
  const void* zero = std::memchr(data, 0, static_cast<size_t>(count));
  const int64_t length = zero ? static_cast<const char*>(zero) - data : count;
  return textFromBytes(data, static_cast<int32_t>(length));
}

// Six significant digits, a remaining half rounding away from zero, before "%.6g".
double roundedToSixDigits(double value) {
  if (value == 0 || !std::isfinite(value)) return value;
  const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  const double scale = std::pow(10.0, 5 - exponent);
  const double rounded = std::round(value * scale) / scale;
  return std::isfinite(rounded) ? rounded : value;
}

char* formatted(const char* format, auto value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return textFromString(buffer);
}

char* textOfValue(const ArgRecord& argument) {
  const ValueSlot& value = argument.value;
  switch (argument.type) {
    case types::kByte:
      return formatted("%u", static_cast<unsigned>(static_cast<uint8_t>(value.low)));
    case types::kShort:
      return formatted("%d", static_cast<int>(static_cast<int16_t>(value.low)));
    case types::kInt:
      return formatted("%d", value.asInt());
    case types::kLong:
      return formatted("%" PRId64, value.asLong());
    case types::kDouble:
      return formatted("%.13g", value.asDouble());
    case types::kFloat:
      return formatted("%.6g", roundedToSixDigits(value.asFloat()));
    case types::kText:
      return textFromString(value.asText());
    case types::kLogical:
      return textFromString(value.asLogical() ? "\xd5\xe6" : "\xbc\xd9");  // 真, 假
    case types::kDateTime:
      return dateTimeText(value.asDouble());
    default:
      return nullptr;
  }
}

}  // namespace

char* dateTimeText(double dateTime) {
  const CalendarFields fields = calendarFields(dateTime);
  char buffer[64];
  // 年 月 日
  int length = std::snprintf(buffer, sizeof buffer, "%d\xc4\xea%d\xd4\xc2%d\xc8\xd5", fields.year,
                             fields.month, fields.day);
  char* end = buffer + length;
  const size_t room = sizeof buffer - static_cast<size_t>(length);
  // 时 分 秒
  if (fields.second != 0) {
    std::snprintf(end, room, "%d\xca\xb1%d\xb7\xd6%d\xc3\xeb", fields.hour, fields.minute,
                  fields.second);
  } else if (fields.minute != 0) {
    std::snprintf(end, room, "%d\xca\xb1%d\xb7\xd6", fields.hour, fields.minute);
  } else if (fields.hour != 0) {
    std::snprintf(end, room, "%d\xca\xb1", fields.hour);
  }
  return textFromString(buffer);
}

void toText(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  const ArgRecord& argument = Arguments(argCount, args).record(1);
  const TypeCode type = argument.type;
  char* text = nullptr;
  if (isArrayType(type)) {
    if (isNumericType(arrayElementType(type)))
      text = textOfBlockData(type, argument.value.asPointer());
  } else if (type == types::kByteSet) {
    text = textOfBlockData(type, argument.value.asPointer());
  } else {
    text = textOfValue(argument);
  }
  setPointerResult(result, text);
}

}  // namespace velmora::runtime
