#include "service/password_hash.h"

#include <sodium.h>

namespace velmora::service {

namespace {

// Argon2id over 19 MiB with 2 passes, the least that common guidance for password storage
// (OWASP's) accepts: about 12 ms a hash on our build machines, where libsodium's interactive
// limits (64 MiB) take about 60 ms and made the service's tests five times slower. Every sign-in
// (each login, each number step and SMS poll) verifies a hash.
constexpr unsigned long long kOperationsLimit = 2;
constexpr size_t kMemoryLimit = 19u << 20;

// Safe to call from several threads and more than once.
bool sodiumReady() {
  static const bool ready = sodium_init() >= 0;
  return ready;
}

}  // namespace

std::optional<std::string> hashPassword(std::string_view password) {
  char hash[crypto_pwhash_STRBYTES];
  if (!sodiumReady() || crypto_pwhash_str(hash, password.data(), password.size(), kOperationsLimit,
                                          kMemoryLimit) != 0) {
    return std::nullopt;
  }
  return std::string(hash);
}

bool hashMatches(const std::string& hash, std::string_view password) {
  return sodiumReady() &&
         crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

}  // namespace velmora::service
