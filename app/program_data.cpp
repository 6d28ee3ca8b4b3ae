// The program data header. The program has no constants, windows, libraries or DLL commands yet.
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
    .dllCommandCount = 0,
    .dllFileNames = nullptr,
    .dllCommandNames = nullptr,
};

}  // namespace velmora
