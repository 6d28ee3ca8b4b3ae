// Turns the read window sources into window data: GBK texts, property blocks at their highest
// versions, container ids and child lists, and handler offsets.
#pragma once

#include <string>
#include <vector>

#include "forms/format/window_data.h"
#include "tools/program_data_builder/window_source.h"

namespace velmora::tools {

struct AssembledWindows {
  std::vector<forms::WindowRecord> windows;
  // Every distinct handler name in order of first use; handler i has the offset 4 * i.
  std::vector<std::string> handlerNames;
};

AssembledWindows assembleWindows(const std::vector<SourceWindow>& sources);

}  // namespace velmora::tools
