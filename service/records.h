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
  Instant smsAt = 0;  // its SMS has come from then on
  Instant expiresAt = 0;
  std::string code;  // the verification code inside the SMS
  std::string sms;

  bool operator==(const Lease&) const = default;
};

}  // namespace velmora::service
