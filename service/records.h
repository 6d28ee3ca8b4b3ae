// The records the demo service keeps: accounts, pending top-up orders, projects and numbers.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::service {

// One account, without its password (the store keeps a hash of it). The client receives these
// fields in this order at login, with the password it logged in with after the name.
struct Account {
  std::string name;
  std::string balance;  // USDT, kept as the text the client shows
  std::string address;  // TRC20 receiving address for commissions, "0" when none
  std::string invitationCode;
  std::string registrationCode;  // the code the client drew at registration
  std::string registeredOn;      // year/month/day
  std::string email;             // "0" when none

  bool operator==(const Account&) const = default;
};

// The one pending top-up order an account may have.
struct Order {
  std::string user;
  std::string amount;  // as the user typed it
  std::string number;  // made by the client
  std::string time;    // year/month/day, made by the client

  bool operator==(const Order&) const = default;
};

struct Project {
  std::string name;
  std::string price;  // USDT per verification code
};

// Milliseconds since the epoch.
using Instant = std::int64_t;
// The time of an SMS that has no time yet: a provider's, which comes when the provider has it.
inline constexpr Instant kSmsAwaited = INT64_MAX;

// A number of the pool the service hands out.
struct PoolNumber {
  std::string number;   // 11 digits
  std::string region;   // a province as the client lists it ("北京")
  std::string carrier;  // the operator as the client lists it ("中国移动号段")
};

// A number held by a user, from getnum until it is released, blacklisted or runs out.
struct Lease {
  std::string number;
  std::string user;
  std::string price;  // what the user paid for it, refunded when no SMS came
  Instant smsAt = 0;  // its SMS has come from then on; kSmsAwaited: not yet
  Instant expiresAt = 0;
  std::string code;  // the verification code inside the SMS
  std::string sms;
  // The provider's id of the activation behind the number; empty for a number of the pool.
  std::string activation;
  // An SMS came before the one awaited now (another was asked for): the price is earned.
  bool smsSeen = false;
  // Counts the SMS asked for, so that a status read before another was asked is not taken for
  // the new one.
  std::int64_t round = 0;
  // The SMS awaited now was shown to the user or taken from the provider: it stays delivered
  // whatever the clock does afterwards.
  bool delivered = false;

  // Whether the SMS awaited now can be read at `time`.
  bool smsReadableAt(Instant time) const { return delivered || smsAt <= time; }
  // Whether the number has had an SMS by `time`, which makes its price earned.
  bool smsCameBy(Instant time) const { return smsSeen || smsReadableAt(time); }

  bool operator==(const Lease&) const = default;
};

// What the service still has to tell a provider about an activation it no longer leases: a
// cancel the provider refused so far, or a completion not yet taken. Kept in the store until the
// provider takes it, so that neither a refusal nor a restart loses it.
struct ProviderTask {
  std::string activation;
  int step = 0;          // the provider's setStatus step: 8 cancel, 6 complete
  Instant giveUpAt = 0;  // tried until then; the provider has ended the activation by that time

  bool operator==(const ProviderTask&) const = default;
};

}  // namespace velmora::service
