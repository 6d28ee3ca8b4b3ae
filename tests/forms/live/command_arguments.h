// Argument records for calling commands in the form runtime's tests.
#pragma once

#include <cstdint>

#include "runtime/tagged_value.h"

namespace velmora::testing {

inline runtime::ArgRecord windowReference(uint32_t windowId, uint32_t unitId = 0) {
  runtime::ArgRecord record;
  record.value.low = windowId;
  record.value.high = unitId;
  record.type = runtime::types::kWindowRef;
  return record;
}

inline runtime::ArgRecord integerRecord(int32_t value) {
  runtime::ArgRecord record;
  record.value.setInt(value);
  record.type = runtime::types::kInt;
  return record;
}

inline runtime::ArgRecord logicalRecord(bool value) {
  runtime::ArgRecord record;
  record.value.setLogical(value);
  record.type = runtime::types::kLogical;
  return record;
}

inline runtime::ArgRecord textRecord(const char* text) {
  runtime::ArgRecord record;
  record.value.setPointer(text);
  record.type = runtime::types::kText;
  return record;
}

}  // namespace velmora::testing
