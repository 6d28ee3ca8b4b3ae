// The program data of a test executable that has none of its own: no windows, libraries or DLL
// commands. Linking the runtime's entry table needs a program header.
#include "runtime/program_image.h"

namespace velmora {

const runtime::ProgramHeader runtime::programHeader = {};

}  // namespace velmora
