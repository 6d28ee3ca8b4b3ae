// The program data header: the constant block and the window data built from forms/data, the
// handler table, the libraries and the DLL command table.
#include "app/dll_command_table.h"
#include "app/handlers/handler_table.h"
#include "app/libraries.h"
#include "program_data_generated.h"
#include "runtime/program_image.h"

namespace velmora {

const runtime::ProgramHeader runtime::programHeader = {
    .runMode = 3,
    .version = 0,
    .buildNumber = 111502,
    .codeBase = app::handlerTable,
    .constants = program_data::constants,
    .constantsLength = program_data::kConstantsLength,
    .windowData = program_data::windowData,
    .windowDataLength = program_data::kWindowDataLength,
    .libraryCount = app::kProgramLibraryCount,
    .libraries = app::programLibraries,
    .dllCommandCount = app::kDllCommandCount,
    .dllFileNames = app::kDllFileNames,
    .dllCommandNames = app::kDllCommandNames,
};

}  // namespace velmora
