// Argument records for calling commands in the form runtime's tests.
#pragma once

#include <cstdint>

#include "runtime/tagged_value.h"

namespace velmora::testing {

inline ArgRecord windowReference(uint32_t windowId, uint32_t unitId = 0) {
  ArgRecord record;
  record.value.low = windowId;
  record.value.high = unitId;
  record.type = types::kWindowRef;
  return record;
}

inline ArgRecord integerRecord(int32_t value) {
  ArgRecord record;
  record.value.setInt(value);
  record.type = types::kInt;
  return record;
}

inline ArgRecord logicalRecord(bool value) {
  ArgRecord record;
  record.value.setLogical(value);
  record.type = types::kLogical;
  return record;
}

inline ArgRecord textRecord(const char* text) {
  ArgRecord record;
  record.value.setPointer(text);
  record.type = types::kText;
  return record;
}

}  // namespace velmora::testing
