// The C++ sources that embed built program data in the program.
#pragma once

#include <string>

#include "tools/program_data/program_data_file.h"

namespace velmora::tools {

// The header declares the blocks, the named constants and the handler list; the source defines
// the blocks. `headerName` is how the source includes the header.
std::string generatedHeader(const BuiltProgramData& data);
std::string generatedSource(const BuiltProgramData& data, const std::string& headerName);

}  // namespace velmora::tools
