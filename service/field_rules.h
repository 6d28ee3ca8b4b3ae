// What the service accepts into its records, so that every reply still reads as the client expects.
#pragma once

#include <string>
#include <string_view>

namespace velmora::service {

// Longest text accepted for any field, in UTF-8 bytes.
inline constexpr size_t kMaxFieldBytes = 128;

// The leading number of a text as the client reads it: white space, full-width forms of digits,
// signs, points and letters count like their ASCII forms; no leading number gives 0.
double leadingNumber(std::string_view text);

// A field of a record whose fields are separated by `separators`: not empty, not too long and
// free of every separator.
bool fitsRecord(std::string_view text, std::string_view separators);

// A user name the client can log in with: it fits both the account and the order record, and the
// client would not take an account record starting with it for the failure reply 25.
bool acceptableUserName(std::string_view name);

// The amount of a top-up order: digits with at most two decimals (full-width forms count like
// their ASCII forms, as the client reads them), from 5, the client's least amount, to 1,000,000.
// Anything else, even with such a number in front ("10abc", "5,000", "1e999"), is refused.
bool acceptableAmount(std::string_view amount);

// An optional field: empty becomes "0", which the client itself sends for "none".
std::string storedOptional(std::string text);

}  // namespace velmora::service
