// The search shared by find text and split text: a sought text matches only where a character of
// the searched text starts, so a byte inside a double-byte character never begins a match.
#pragma once

#include <cstddef>
#include <string_view>

namespace velmora::runtime {

inline constexpr size_t kNotFound = std::string_view::npos;

// The offset of the first match of sought (not empty) that starts a character at or after from,
// itself a character start; kNotFound when there is none. foldCase compares ASCII letters
// without regard to case, and the bytes of a double-byte character exactly.
size_t findAtCharacterStart(std::string_view text, size_t from, std::string_view sought,
                            bool foldCase);

}  // namespace velmora::runtime
