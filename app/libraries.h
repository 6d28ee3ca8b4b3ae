// The five libraries the program is linked with, in the order its program data lists them; the
// list index plus one is the library number in unit type codes.
#pragma once

#include <cstdint>

#include "runtime/program_image.h"

namespace velmora {

inline constexpr uint32_t kProgramLibraryCount = 5;
extern const LibraryDescriptor* const programLibraries[kProgramLibraryCount];

}  // namespace velmora
