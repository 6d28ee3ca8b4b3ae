#include "service/password_check.h"

#include <sodium.h>

#include <cstdint>
#include <stdexcept>

namespace velmora::service {

namespace {

// A hash of a password nobody has, made once with the limits of every other hash: verifying a
// password against it costs what verifying against an account's hash costs.
const std::optional<std::string>& fixedHash() {
  static const std::optional<std::string> hash = [] {
    std::array<unsigned char, 32> password;
    randombytes_buf(password.data(), password.size());
    return hashPassword(
        std::string_view(reinterpret_cast<const char*>(password.data()), password.size()));
  }();
  return hash;
}

// Each part with its length in front, so that no two different triples hash alike.
void addPart(crypto_generichash_state& state, std::string_view part) {
  const std::uint64_t length = part.size();
  crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(&length), sizeof length);
  crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(part.data()),
                            part.size());
}

}  // namespace

PasswordCheck::PasswordCheck(RememberedCredentials bounds, Clock clock, Verify verify)
    : bounds_(bounds), clock_(std::move(clock)), verify_(std::move(verify)) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
  randombytes_buf(secret_.data(), secret_.size());
  fixedHash();  // made now, so that not even the first unknown name costs more than a check
}

PasswordCheck::~PasswordCheck() {
  sodium_memzero(secret_.data(), secret_.size());
}

bool PasswordCheck::matches(const std::string& name, std::string_view password,
                            const std::optional<std::string>& storedHash) {
  if (!storedHash) {
    if (fixedHash()) verify_(*fixedHash(), password);
    return false;
  }
  const Tag tag = tagOf(name, password, *storedHash);
  if (remembered(name, tag)) return true;
  if (!verify_(*storedHash, password)) return false;
  remember(name, tag);
  return true;
}

void PasswordCheck::forget(const std::string& name) {
  std::lock_guard lock(mutex_);
  verified_.erase(name);
}

PasswordCheck::Tag PasswordCheck::tagOf(std::string_view name, std::string_view password,
                                        std::string_view storedHash) const {
  static_assert(sizeof(Tag) >= crypto_generichash_BYTES_MIN &&
                sizeof(Tag) <= crypto_generichash_BYTES_MAX);
  crypto_generichash_state state;
  crypto_generichash_init(&state, secret_.data(), secret_.size(), sizeof(Tag));
  addPart(state, name);
  addPart(state, password);
  addPart(state, storedHash);
  Tag tag;
  crypto_generichash_final(&state, tag.data(), tag.size());
  sodium_memzero(&state, sizeof state);
  return tag;
}

bool PasswordCheck::remembered(const std::string& name, const Tag& tag) {
  std::lock_guard lock(mutex_);
  const auto found = verified_.find(name);
  if (found == verified_.end()) return false;
  if (clock_() - found->second.at >= bounds_.age) {
    verified_.erase(found);
    return false;
  }
  return sodium_memcmp(found->second.tag.data(), tag.data(), tag.size()) == 0;
}

void PasswordCheck::remember(const std::string& name, const Tag& tag) {
  std::lock_guard lock(mutex_);
  const auto now = clock_();
  if (!verified_.contains(name)) makeRoom(now);
  verified_[name] = {tag, now};
}

// Called with the lock held: drops what has aged and, when still full, the oldest.
void PasswordCheck::makeRoom(std::chrono::steady_clock::time_point now) {
  if (verified_.size() < bounds_.entries) return;
  std::erase_if(verified_, [&](const auto& entry) { return now - entry.second.at >= bounds_.age; });
  if (verified_.size() < bounds_.entries) return;
  auto oldest = verified_.begin();
  for (auto entry = verified_.begin(); entry != verified_.end(); ++entry) {
    if (entry->second.at < oldest->second.at) oldest = entry;
  }
  verified_.erase(oldest);
}

}  // namespace velmora::service
