// The window data stream: the window index, then one record per window holding its unit table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "forms/format/archive.h"
#include "forms/format/unit_table.h"

namespace velmora {

struct WindowRecord {
  uint32_t id = 0;
  uint32_t reserved1 = 0;
  uint32_t reserved2 = 0;
  std::string reservedText1;
  std::string reservedText2;
  UnitTable units;
};

// Reads the whole stream; an empty stream holds no windows. On failure, `why` (when given)
// tells the reason: truncated for a stream that ends early.
std::optional<std::vector<WindowRecord>> readWindowData(std::span<const uint8_t> data,
                                                        ReadStatus* why = nullptr);
Bytes writeWindowData(const std::vector<WindowRecord>& windows);

}  // namespace velmora
