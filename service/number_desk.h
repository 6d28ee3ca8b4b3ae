// The number panel's steps: a number handed out for a project and charged, its SMS read, the
// number given back or blacklisted, and numbers that ran out settled. The text endpoints and the
// JSON API both go through here.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/database.h"
#include "service/money.h"
#include "service/numbers/provider.h"
#include "service/numbers/upstream_config.h"
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
  kNoneHeld,           // heldNumber: the account holds no number
  kAnotherSmsRefused,  // anotherSms: the SMS has not come, or the provider refused another
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

// Credentials a request has proved before its steps, outside their transactions, where verifying
// a password hash would hold up every other request: the stored hash they matched, which must
// still be the account's when a step that writes runs, and the account as it was read with it,
// which a step that only reads answers with. An empty hash proves nothing.
struct Proof {
  Credentials credentials;
  std::string passwordHash;
  Account account;
};

struct NumberRequest {
  std::string project;  // a project's name as getxm.php lists it
  std::string region;   // empty: any
  std::string carrier;  // empty: any
  // Set when the user asks for a particular number again: the last one they got, empty when
  // there was none.
  std::optional<std::string> askedNumber;
};

// What the provider's poller asks about in one round: the numbers waiting for their SMS, and what
// the provider still has to be told.
struct ProviderRound {
  std::vector<Lease> awaitingSms;
  std::vector<ProviderTask> tasks;
};

// Where the numbers come from when not from the simulated pool: a provider, the projects it
// sells under the names the client lists, and where the operator is told of its failures.
struct Upstream {
  Provider& provider;
  const UpstreamCatalogue& catalogue;
  std::function<void(std::string_view line)> note;
};

// What every desk of a process shares: when numbers get their SMS and end, the clock, the check
// of passwords with what it remembers, and where the numbers come from.
struct NumberOffice {
  // `verify` checks a password against its stored hash (tests put their own in). Without
  // `upstream` the numbers come from the simulated pool.
  explicit NumberOffice(NumberTimes times, Clock clock = systemTime,
                        PasswordCheck::Verify verify = hashMatches,
                        std::optional<Upstream> upstream = std::nullopt)
      : times(times),
        clock(std::move(clock)),
        passwords({}, std::chrono::steady_clock::now, std::move(verify)),
        upstream(std::move(upstream)) {}

  NumberTimes times;
  Clock clock;
  PasswordCheck passwords;  // safe from any number of threads
  std::optional<Upstream> upstream;
};

// The number steps of one request, or of the provider's poller, on a connection of their own to
// the store. Every step is one transaction that first settles the leases that ran out by the
// clock, so expiry refunds are made exactly once, whenever the state is next touched, also after
// a restart, whatever other desks, in this process or another, do at the same time. Each step
// throws DatabaseError when the store fails, and then changes nothing.
//
// A step that asks the provider does it outside its transactions, and moves money only in its
// transactions before and after: what the provider may not have taken (a cancel refused, a
// completion not answered) is kept as a ProviderTask and told again by the poller.
class NumberDesk {
 public:
  // The steps sign in only with the credentials `proof` proved; the poller's desk has none.
  NumberDesk(Database& database, NumberOffice& office, Proof proof = {})
      : database_(database), office_(office), proof_(std::move(proof)) {}

  Database& database() { return database_; }
  PasswordCheck& passwords() { return office_.passwords; }

  // The account when the credentials are the proved ones, its balance current.
  std::optional<Account> signIn(const Credentials& credentials);

  // The projects getxm.php lists: the provider's catalogue, or the store's.
  std::vector<Project> projects();

  NumberOutcome getNumber(const Credentials& credentials, const NumberRequest& request);
  NumberOutcome readSms(const Credentials& credentials, const std::string& number);
  // Refunded when its SMS has not come.
  NumberOutcome release(const Credentials& credentials, const std::string& number);
  // Released as above, and never again handed to this user.
  NumberOutcome blacklist(const Credentials& credentials, const std::string& number);
  // The number the account was handed last among those it holds, with its SMS once it has come:
  // what a client that lost its number (restarted, or its getnum reply lost) shows again.
  NumberOutcome heldNumber(const Credentials& credentials);
  // A further SMS on a held number whose SMS has come: until it comes, the number reads as
  // waiting for its SMS. The price stays earned.
  NumberOutcome anotherSms(const Credentials& credentials, const std::string& number);

  // The provider's poller: what it asks about, and what it was answered. Each is a transaction
  // that settles the leases that ran out first.
  ProviderRound providerRound();
  // Stores the SMS of STATUS_OK, or ends the lease on STATUS_CANCEL (refunded when no SMS came),
  // when the lease is still the one asked about; any other answer changes nothing.
  void takeStatus(const Lease& asked, const StatusAnswer& answer);
  // Drops the task once the provider took it or the activation has ended, or when it is past its
  // time.
  void takeTaskAnswer(const ProviderTask& task, ProviderWord answer);

 private:
  using Step = std::function<NumberOutcome(const Account&, Instant now)>;
  struct WriteNeeded;
  // A step as one write transaction.
  NumberOutcome serve(const Credentials& credentials, const Step& step);
  // A step that mostly only reads (an SMS poll before its SMS), served as readOrWrite serves it.
  NumberOutcome serveReading(const Credentials& credentials, const Step& step);
  NumberOutcome signedInStep(const Credentials& credentials, const Step& step, Instant now);
  // Runs `work` as a read, which waits for no writer and on PostgreSQL costs no transaction;
  // work that finds something to write (a lease that ran out, an SMS shown the first time) says
  // so with needWrite, and then runs again as a write transaction.
  void readOrWrite(const std::function<void(Instant now)>& work);
  void needWrite() const;
  // The account, when the credentials are those proved and its password is still the one they
  // proved, after the leases that ran out are settled.
  std::optional<Account> settleAndSignIn(const Credentials& credentials, Instant now);
  void settleExpired(Instant now);
  Hundredths refund(const Lease& lease);
  std::optional<Lease> heldLease(const Account& account, const std::string& number);
  void deliver(Lease& lease);
  NumberOutcome handOut(const Account& account, const NumberRequest& request, Instant now);
  Lease newLease(const Account& account, const std::string& number, Hundredths price, Instant now);
  std::optional<std::string> pickNumber(const Account& account, const NumberRequest& request);
  NumberOutcome giveBack(const Account& account, const std::string& number, Instant now);
  void endAtProvider(const Lease& lease, bool smsCame, Instant now);
  NumberOutcome awaitAnotherSms(const Account& account, Lease lease, Instant now);

  // The provider's side of the steps.
  NumberOutcome getProviderNumber(const Credentials& credentials, const NumberRequest& request);
  NumberOutcome checkProviderRequest(const Account& account, const NumberRequest& request);
  NumberOutcome takeGrant(const Credentials& credentials, const UpstreamProject& project,
                          const GrantAnswer& grant);
  NumberOutcome anotherProviderSms(const Credentials& credentials, const Lease& lease);

  Database& database_;
  NumberOffice& office_;
  const Proof proof_;
  bool reading_ = false;  // inside readOrWrite's read: every write must call needWrite first
};

}  // namespace velmora::service
