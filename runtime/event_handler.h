// The program's event handlers as the form runtime calls them. The code base of the program data
// is a table of handler entry points, one 4-byte word each; a relocated handler value in a unit
// record is the address of its entry. A handler is called with the caller-cleans convention, with
// the event's arguments as 32-bit words (argument 1 first), and answers with a value or with
// kNoAnswer, which leaves the unit's default behaviour alone.
#pragma once

#include <cstdint>

namespace velmora::runtime {

using EventHandler = uint64_t (*)();

inline constexpr uint64_t kNoAnswer = 0x8000000000000000ull;

// An answer of a logical value.
constexpr uint64_t answer(bool value) {
  return value ? 1 : 0;
}

}  // namespace velmora::runtime
