// The number panel's steps: a number handed out for a project and charged, its SMS read, the
// number given back or blacklisted, and numbers that ran out settled. The text endpoints and the
// JSON API both go through here.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "service/database.h"
#include "service/money.h"
#include "service/password_check.h"
#include "service/records.h"

namespace velmora::service {

struct NumberTimes {
  std::chrono::milliseconds smsDelay = std::chrono::seconds(5);  // from getnum to its SMS
  std::chrono::milliseconds expiry = std::chrono::minutes(10);   // from getnum to its end
};

using Clock = std::function<Instant()>;
Instant systemTime();

enum class NumberStatus {
  kDone,
  kWrongCredentials,
  kBalanceTooLow,
  kNoNumberFree,
  kNoSuchProject,
  kAskedNumberUnavailable,
  kNoEarlierNumber,
  kSmsNotYet,
  kNotHeld,
  kNoneHeld,  // heldNumber: the account holds no number
};

// What a step gave; the texts are filled in when it is done.
struct NumberOutcome {
  NumberStatus status = NumberStatus::kWrongCredentials;
  std::string number;
  std::string balance;  // after the step, two decimals
  std::string sms;      // readSms
  std::string code;     // readSms: the verification code inside the SMS
};

struct Credentials {
  std::string name;
  std::string password;
};

// Credentials a request has proved before it took the database lock, where verifying a password
// hash would hold up every other request: the stored hash they matched, which must still be the
// account's when the request's step runs. An empty hash proves nothing.
struct Proof {
  Credentials credentials;
  std::string passwordHash;
};

struct NumberRequest {
  std::string project;  // a project's name as getxm.php lists it
  std::string region;   // empty: any
  std::string carrier;  // empty: any
  // Set when the user asks for a particular number again: the last one they got, empty when
  // there was none.
  std::optional<std::string> askedNumber;
};

// Every step is one transaction that first settles the leases that ran out by the clock, so
// expiry refunds are made exactly once, whenever the state is next touched, also after a restart.
// Each step throws DatabaseError when the store fails, and then changes nothing.
class NumberDesk {
 public:
  // `verify` checks a password against its stored hash (tests put their own in).
  NumberDesk(Database& database, NumberTimes times, Clock clock = systemTime,
             PasswordCheck::Verify verify = hashMatches);

  Database& database() { return database_; }
  // Where requests prove their credentials ahead of their steps.
  PasswordCheck& passwords() { return passwords_; }

  // The proof of the request about to be answered, for all of its steps: they sign in only with
  // the credentials it proved. Set for every request, before its steps, under the lock that
  // keeps the requests' steps apart.
  void acceptProof(Proof proof) { proof_ = std::move(proof); }

  // The account when the credentials are the proved ones, its balance current.
  std::optional<Account> signIn(const Credentials& credentials);

  NumberOutcome getNumber(const Credentials& credentials, const NumberRequest& request);
  NumberOutcome readSms(const Credentials& credentials, const std::string& number);
  // Refunded when its SMS has not come.
  NumberOutcome release(const Credentials& credentials, const std::string& number);
  // Released as above, and never again handed to this user.
  NumberOutcome blacklist(const Credentials& credentials, const std::string& number);
  // The number the account was handed last among those it holds, with its SMS once it has come:
  // what a client that lost its number (restarted, or its getnum reply lost) shows again.
  NumberOutcome heldNumber(const Credentials& credentials);

 private:
  using Step = std::function<NumberOutcome(const Account&, Instant now)>;
  NumberOutcome serve(const Credentials& credentials, const Step& step);
  std::optional<Account> settleAndSignIn(const Credentials& credentials, Instant now);
  bool proved(const Credentials& credentials);
  void settleExpired(Instant now);
  Hundredths refund(const Lease& lease);
  NumberOutcome handOut(const Account& account, const NumberRequest& request, Instant now);
  std::optional<std::string> pickNumber(const Account& account, const NumberRequest& request);
  NumberOutcome giveBack(const Account& account, const std::string& number, Instant now);

  Database& database_;
  NumberTimes times_;
  Clock clock_;
  PasswordCheck passwords_;
  Proof proof_;
};

}  // namespace velmora::service
