// Argument access shared by the commands.
#include "runtime/commands/arguments.h"

#include <cmath>
#include <limits>

namespace velmora::runtime {
namespace {

const ArgRecord kOmittedArgument{};

int32_t truncatedInteger(double value) {
  if (std::isnan(value)) return 0;
  if (value <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  if (value >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

}  // namespace

const ArgRecord& Arguments::record(int32_t n) const {
  return given(n) ? records_[n - 1] : kOmittedArgument;
}

int32_t Arguments::integer(int32_t n) const {
  const ArgRecord& argument = record(n);
  switch (argument.type) {
    case types::kByte:
      return static_cast<uint8_t>(argument.value.low);
    case types::kShort:
      return static_cast<int16_t>(argument.value.low);
    case types::kInt:
    case types::kLogical:
      return argument.value.asInt();
    case types::kLong:
      return static_cast<int32_t>(argument.value.asLong());
    case types::kFloat:
      return truncatedInteger(argument.value.asFloat());
    case types::kDouble:
      return truncatedInteger(argument.value.asDouble());
    default:
      return 0;
  }
}

const char* Arguments::text(int32_t n) const {
  const ArgRecord& argument = record(n);
  if (argument.type != types::kText || argument.value.asText() == nullptr) return "";
  return argument.value.asText();
}

const void* Arguments::byteSet(int32_t n) const {
  const ArgRecord& argument = record(n);
  return argument.type == types::kByteSet ? argument.value.asPointer() : nullptr;
}

}  // namespace velmora::runtime
