// The tagged value that passes between the program and the runtime: an 8-byte value slot beside
// a 32-bit type code.
//
//   argument record                          result record
//   +-----------+------------+-----------+   +-----------+------------+------------+
//   | value low | value high | type code |   | value low | value high | third word |
//   +-----------+------------+-----------+   +-----------+------------+------------+
//    0           4            8        12     0           4            8         12
//
// A pointer lies in the low word on the 32-bit target and fills both words on a 64-bit host,
// where the platform-neutral parts are built for tests and tools.
#pragma once

#include <cstdint>
#include <cstring>

namespace velmora::runtime {

using TypeCode = uint32_t;

namespace types {
inline constexpr TypeCode kOmitted = 0;
inline constexpr TypeCode kByte = 0x80000101;
inline constexpr TypeCode kShort = 0x80000201;
inline constexpr TypeCode kInt = 0x80000301;
inline constexpr TypeCode kLong = 0x80000401;
inline constexpr TypeCode kFloat = 0x80000501;
inline constexpr TypeCode kDouble = 0x80000601;
inline constexpr TypeCode kLogical = 0x80000002;
inline constexpr TypeCode kDateTime = 0x80000003;
inline constexpr TypeCode kText = 0x80000004;
inline constexpr TypeCode kByteSet = 0x80000005;
inline constexpr TypeCode kSubroutine = 0x80000006;
inline constexpr TypeCode kWindowRef = 0x00010001;
inline constexpr TypeCode kComboBoxRef = 0x0001000E;
inline constexpr TypeCode kArrayFlag = 0x20000000;
}  // namespace types

enum class TypeCategory { kOmitted, kBasic, kLibraryDefined, kComposite };

constexpr TypeCategory typeCategory(TypeCode code) {
  if (code == types::kOmitted) return TypeCategory::kOmitted;
  switch (code & 0xC0000000u) {
    case 0x80000000u:
      return TypeCategory::kBasic;
    case 0x40000000u:
      return TypeCategory::kLibraryDefined;
    default:
      return TypeCategory::kComposite;
  }
}

constexpr bool isNumericType(TypeCode code) {
  return typeCategory(code) == TypeCategory::kBasic && (code & 0xFFu) == 0x01;
}

// Byte size of a numeric value as an array element; 0 for every other code.
constexpr uint32_t typeSize(TypeCode code) {
  switch (code) {
    case types::kByte:
      return 1;
    case types::kShort:
      return 2;
    case types::kInt:
      return 4;
    case types::kLong:
      return 8;
    case types::kFloat:
      return 4;
    case types::kDouble:
      return 8;
    default:
      return 0;
  }
}

constexpr bool isArrayType(TypeCode code) {
  return (code & types::kArrayFlag) != 0;
}
constexpr TypeCode arrayElementType(TypeCode code) {
  return code & ~types::kArrayFlag;
}

// The reference type of a unit type: library number (1 = core) and the type's 1-based position
// in that library's type list.
constexpr TypeCode unitReferenceType(uint32_t library, uint32_t position) {
  return (library << 16) + position;
}

// The 8-byte value slot shared by argument and result records.
struct ValueSlot {
  uint32_t low = 0;
  uint32_t high = 0;

  int32_t asInt() const { return static_cast<int32_t>(low); }
  int64_t asLong() const { return static_cast<int64_t>((uint64_t{high} << 32) | low); }
  float asFloat() const { return read<float>(); }
  double asDouble() const { return read<double>(); }
  bool asLogical() const { return low != 0; }
  void* asPointer() const { return read<void*>(); }
  const char* asText() const { return static_cast<const char*>(asPointer()); }

  void setInt(int32_t value) { low = static_cast<uint32_t>(value); }
  void setLong(int64_t value) {
    low = static_cast<uint32_t>(value);
    high = static_cast<uint32_t>(static_cast<uint64_t>(value) >> 32);
  }
  void setFloat(float value) { write(value); }
  void setDouble(double value) { write(value); }
  void setLogical(bool value) { low = value ? 1 : 0; }
  void setPointer(const void* value) { write(value); }

 private:
  template <class T>
  T read() const {
    static_assert(sizeof(T) <= 8);
    T value;
    std::memcpy(&value, this, sizeof(T));
    return value;
  }
  template <class T>
  void write(T value) {
    static_assert(sizeof(T) <= 8);
    std::memcpy(this, &value, sizeof(T));
  }
};

// One argument of a command. The caller fills every declared argument it does not give with
// zeros, so an argument is present when its type code is non-zero, whatever the count says.
struct ArgRecord {
  ValueSlot value;
  TypeCode type = types::kOmitted;

  bool given() const { return type != types::kOmitted; }
};

// Argument records as a caller makes them; a null text is the empty text.
inline ArgRecord valueArgument(TypeCode type, uint32_t low, uint32_t high = 0) {
  return ArgRecord{{low, high}, type};
}
inline ArgRecord integerArgument(int32_t value) {
  ArgRecord argument;
  argument.value.setInt(value);
  argument.type = types::kInt;
  return argument;
}
inline ArgRecord logicalArgument(bool value) {
  ArgRecord argument;
  argument.value.setLogical(value);
  argument.type = types::kLogical;
  return argument;
}
inline ArgRecord doubleArgument(double value, TypeCode type = types::kDouble) {
  ArgRecord argument;
  argument.value.setDouble(value);
  argument.type = type;
  return argument;
}
inline ArgRecord pointerArgument(TypeCode type, const void* block) {
  ArgRecord argument;
  argument.value.setPointer(block);
  argument.type = type;
  return argument;
}
inline ArgRecord textArgument(const char* text) {
  return pointerArgument(types::kText, text);
}
inline ArgRecord subroutineArgument(void (*routine)()) {
  return pointerArgument(types::kSubroutine, reinterpret_cast<const void*>(routine));
}

// What a command hands back. The calling entry zeroes it before the command runs.
struct ResultRecord {
  ValueSlot value;
  uint32_t third = 0;
};

static_assert(sizeof(ValueSlot) == 8);
static_assert(sizeof(ArgRecord) == 12);
static_assert(sizeof(ResultRecord) == 12);

// Every command of every library has this one signature.
using Command = void (*)(ResultRecord* result, int32_t argCount, const ArgRecord* args);

}  // namespace velmora::runtime
