// The C++ sources that embed built program data in the program.
#pragma once

#include <string>
#include <vector>

#include "tools/program_data/program_data_file.h"
#include "tools/program_data_builder/window_source.h"

namespace velmora::tools {

// The header declares the blocks, the named constants and the handler list; the source defines
// the blocks. `headerName` is how the source includes the header.
std::string generatedHeader(const BuiltProgramData& data);
std::string generatedSource(const BuiltProgramData& data, const std::string& headerName);

// The header that gives the client's handlers the windows and units they use, by the code names
// of the window sources: a namespace per named window with its id as kWindow, and a UnitRef
// constant per named unit. Fails on a code name that is not a C++ name of its kind, a name given
// twice, or a named unit in a window without a name.
std::string generatedUnitsHeader(const std::vector<SourceWindow>& windows);

}  // namespace velmora::tools
