// The five libraries the program is linked with, in the order its program data lists them; the
// list index plus one is the library number in unit type codes.
#pragma once

#include <cstdint>

#include "runtime/program_image.h"

namespace velmora::app {

inline constexpr uint32_t kProgramLibraryCount = 5;
extern const runtime::LibraryDescriptor* const programLibraries[kProgramLibraryCount];

// The internet library's place in the list, and its commands in the order it lists them.
inline constexpr uint32_t kInternetLibrary = 2;
enum InternetCommand : uint32_t {
  kHttpReadCommand,
  kStartHttpReadCommand,
  kTakeHttpReplyCommand,
  kCancelHttpReadCommand,
  kInternetCommandCount,
};

}  // namespace velmora::app
