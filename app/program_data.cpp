// The program data header. The program has no constants, windows or libraries yet.
#include "app/dll_command_table.h"
#include "runtime/program_image.h"

namespace velmora {

const ProgramHeader programHeader = {
    .runMode = 3,
    .version = 0,
    .buildNumber = 111502,
    .codeBase = nullptr,
    .constants = nullptr,
    .constantsLength = 0,
    .windowData = nullptr,
    .windowDataLength = 0,
    .libraryCount = 0,
    .libraries = nullptr,
    .dllCommandCount = kDllCommandCount,
    .dllFileNames = kDllFileNames,
    .dllCommandNames = kDllCommandNames,
};

}  // namespace velmora
