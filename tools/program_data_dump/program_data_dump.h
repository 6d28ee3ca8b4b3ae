// Built program data as readable text: windows, units, properties, bindings and constants.
#pragma once

#include <string>

#include "tools/program_data/program_data_file.h"

namespace velmora::tools {

// The whole dump; a stream that does not read is reported in the text, not dumped further.
std::string dumpProgramData(const BuiltProgramData& data);

}  // namespace velmora::tools
