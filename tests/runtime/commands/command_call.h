// Calling commands in tests: argument records from plain values, results taken back as C++
// values (and their blocks freed).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "runtime/tagged_value.h"

namespace velmora::testing {

inline constexpr runtime::ArgRecord kOmitted{};

runtime::ResultRecord call(runtime::Command command,
                           std::initializer_list<runtime::ArgRecord> args = {});

// The text of a result, its block freed; nullopt for the empty text (a null pointer).
std::optional<std::string> takeText(const runtime::ResultRecord& result);
// The elements of a one-dimensional text array result, the array freed; null elements as nullopt.
std::vector<std::optional<std::string>> takeTextArray(const runtime::ResultRecord& result);

}  // namespace velmora::testing
