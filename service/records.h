// The records the demo service keeps: accounts, pending top-up orders and projects.
#pragma once

#include <string>

namespace velmora::service {

// One account; the client receives these eight fields in this order at login.
struct Account {
  std::string name;
  std::string password;
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

}  // namespace velmora::service
