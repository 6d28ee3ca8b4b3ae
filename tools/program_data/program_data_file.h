// Built program data as a file, written by the builder beside the generated sources and read by
// the dumper: the window data, the constant block, the constants' names and the handler names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "forms/format/archive.h"

namespace velmora::tools {

enum class ConstantKind : uint32_t { kText = 1, kNumber = 2 };

struct NamedConstant {
  std::string name;
  ConstantKind kind = ConstantKind::kText;
  uint32_t offset = 0;  // in the constant block
};

struct BuiltProgramData {
  forms::Bytes windowData;
  forms::Bytes constants;
  std::vector<NamedConstant> namedConstants;
  // Handler i is bound through the handler offset 4 * i.
  std::vector<std::string> handlerNames;
};

forms::Bytes writeProgramDataFile(const BuiltProgramData& data);
std::optional<BuiltProgramData> readProgramDataFile(std::span<const uint8_t> file);

}  // namespace velmora::tools
