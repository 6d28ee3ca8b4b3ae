// The window data stream: the window index, then one record per window holding its unit table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "forms/format/archive.h"
#include "forms/format/unit_table.h"

namespace velmora::forms {

struct WindowRecord {
  uint32_t id = 0;
  uint32_t reserved1 = 0;
  uint32_t reserved2 = 0;
  std::string reservedText1;
  std::string reservedText2;
  UnitTable units;
};

// Where a stream stopped reading and why: truncated for a stream that ends early.
struct WindowDataFault {
  ReadStatus status = ReadStatus::kOk;
  uint32_t windowId = 0;  // the window whose record does not read; 0 for the window index
};

// Reads the whole stream; an empty stream holds no windows. On failure, `fault` (when given)
// tells where and why.
std::optional<std::vector<WindowRecord>> readWindowData(std::span<const uint8_t> data,
                                                        WindowDataFault* fault = nullptr);
Bytes writeWindowData(const std::vector<WindowRecord>& windows);

}  // namespace velmora::forms
