// Salted password hashes: the service keeps these, never a password.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::service {

// A hash of the password with a fresh random salt, in libsodium's self-describing text form
// (Argon2id with its limits and salt written in). Nothing when the memory for it cannot be had.
std::optional<std::string> hashPassword(std::string_view password);

// Whether the hash was made of this password; false for a hash that cannot be read.
bool hashMatches(const std::string& hash, std::string_view password);

}  // namespace velmora::service
