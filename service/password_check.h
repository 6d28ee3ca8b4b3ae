// Checking a request's password against its account's stored hash, so that only the first request
// of an account pays for the hash: credentials verified a moment ago are remembered, each as a
// keyed hash of the name, the password and the stored hash under a secret made at start that
// lives only in this object's memory. An account's repeated requests (an SMS poll every two
// seconds) then cost what a plain request costs, while logins of other accounts, right or wrong,
// still pay for a full Argon2id verification.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "service/password_hash.h"

namespace velmora::service {

// How much a PasswordCheck remembers: at most `entries` accounts, each for `age` after its
// verification.
struct RememberedCredentials {
  size_t entries = 10000;
  std::chrono::seconds age = std::chrono::minutes(10);
};

class PasswordCheck {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  // Whether a stored hash was made of a password: service/password_hash.h's hashMatches.
  using Verify = std::function<bool(const std::string& hash, std::string_view password)>;

  explicit PasswordCheck(RememberedCredentials bounds = {},
                         Clock clock = std::chrono::steady_clock::now, Verify verify = hashMatches);
  ~PasswordCheck();
  PasswordCheck(const PasswordCheck&) = delete;
  PasswordCheck& operator=(const PasswordCheck&) = delete;

  // Whether `password` is the one `storedHash` was made of. Without a stored hash (no such
  // account) the password is verified against a fixed hash all the same and refused, so that
  // a name that does not exist takes as long to refuse as a wrong password. Safe to call from
  // any number of threads; the verification itself holds no lock.
  bool matches(const std::string& name, std::string_view password,
               const std::optional<std::string>& storedHash);

  // Drops what is remembered of the account, as its password has changed.
  void forget(const std::string& name);

 private:
  using Tag = std::array<unsigned char, 32>;
  struct Verified {
    Tag tag;
    std::chrono::steady_clock::time_point at;
  };

  Tag tagOf(std::string_view name, std::string_view password, std::string_view storedHash) const;
  bool remembered(const std::string& name, const Tag& tag);
  void remember(const std::string& name, const Tag& tag);
  void makeRoom(std::chrono::steady_clock::time_point now);

  RememberedCredentials bounds_;
  Clock clock_;
  Verify verify_;
  std::array<unsigned char, 32> secret_;
  std::mutex mutex_;  // guards verified_
  std::unordered_map<std::string, Verified> verified_;
};

}  // namespace velmora::service
