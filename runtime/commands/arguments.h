// Reading a command's arguments: 1-based, an argument is given when its type code is non-zero,
// and anything missing or of another type reads as a neutral value.
#pragma once

#include <cstdint>

#include "runtime/tagged_value.h"

namespace velmora::runtime {

class Arguments {
 public:
  Arguments(int32_t count, const ArgRecord* records) : count_(count), records_(records) {}

  bool given(int32_t n) const { return n >= 1 && n <= count_ && records_[n - 1].given(); }
  // The record of a given argument; an omitted one reads as three zero words.
  const ArgRecord& record(int32_t n) const;

  // A numeric or logical argument as a 32-bit integer (doubles truncated); 0 otherwise.
  int32_t integer(int32_t n) const;
  // The text of a text argument; "" when it is omitted, null or of another type.
  const char* text(int32_t n) const;
  // The block of a byte-set argument; null when omitted or of another type.
  const void* byteSet(int32_t n) const;
  // The value slot read as a double (date-times and doubles).
  double number(int32_t n) const { return record(n).value.asDouble(); }

 private:
  int32_t count_;
  const ArgRecord* records_;
};

// Results: commands hand back new blocks; a null pointer is the empty value.
inline void setPointerResult(ResultRecord* result, const void* block) {
  result->value.setPointer(block);
}

}  // namespace velmora::runtime
