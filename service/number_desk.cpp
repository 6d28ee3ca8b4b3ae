#include "service/number_desk.h"

#include <random>
#include <utility>

#include "service/sms_text.h"

namespace velmora::service {

namespace {

// One generator per thread: steps on separate connections may run at once.
std::mt19937& randomGenerator() {
  thread_local std::mt19937 generator{std::random_device{}()};
  return generator;
}

std::string newVerificationCode() {
  std::uniform_int_distribution<int> digit(0, 9);
  std::string code;
  for (int i = 0; i < 6; ++i) code += static_cast<char>('0' + digit(randomGenerator()));
  return code;
}

NumberOutcome outcome(NumberStatus status) {
  NumberOutcome result;
  result.status = status;
  return result;
}

NumberOutcome done(const std::string& number, const std::string& balance) {
  NumberOutcome result = outcome(NumberStatus::kDone);
  result.number = number;
  result.balance = balance;
  return result;
}

// The outcome with the lease's SMS and its code.
NumberOutcome withSms(NumberOutcome outcome, const Lease& lease) {
  outcome.sms = lease.sms;
  outcome.code = lease.code;
  return outcome;
}

}  // namespace

Instant systemTime() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

NumberDesk::NumberDesk(Database& database, NumberTimes times, Clock clock,
                       PasswordCheck::Verify verify)
    : database_(database),
      times_(times),
      clock_(std::move(clock)),
      passwords_({}, std::chrono::steady_clock::now, std::move(verify)) {}

std::optional<Account> NumberDesk::signIn(const Credentials& credentials) {
  std::optional<Account> account;
  database_.inTransaction([&] { account = settleAndSignIn(credentials, clock_()); });
  return account;
}

NumberOutcome NumberDesk::getNumber(const Credentials& credentials, const NumberRequest& request) {
  return serve(credentials,
               [&](const Account& account, Instant now) { return handOut(account, request, now); });
}

NumberOutcome NumberDesk::readSms(const Credentials& credentials, const std::string& number) {
  return serve(credentials, [&](const Account& account, Instant now) {
    const std::optional<Lease> lease = database_.findLease(number);
    if (!lease || lease->user != account.name) return outcome(NumberStatus::kNotHeld);
    if (now < lease->smsAt) return outcome(NumberStatus::kSmsNotYet);
    return withSms(done(number, amountText(storedAmount(account.balance))), *lease);
  });
}

NumberOutcome NumberDesk::heldNumber(const Credentials& credentials) {
  return serve(credentials, [&](const Account& account, Instant now) {
    const std::optional<Lease> lease = database_.lastLeaseOf(account.name);
    if (!lease) return outcome(NumberStatus::kNoneHeld);
    NumberOutcome held = done(lease->number, amountText(storedAmount(account.balance)));
    return now < lease->smsAt ? held : withSms(std::move(held), *lease);
  });
}

NumberOutcome NumberDesk::release(const Credentials& credentials, const std::string& number) {
  return serve(credentials,
               [&](const Account& account, Instant now) { return giveBack(account, number, now); });
}

NumberOutcome NumberDesk::blacklist(const Credentials& credentials, const std::string& number) {
  return serve(credentials, [&](const Account& account, Instant now) {
    NumberOutcome given = giveBack(account, number, now);
    if (given.status == NumberStatus::kDone) database_.addToBlacklist(account.name, number);
    return given;
  });
}

NumberOutcome NumberDesk::serve(const Credentials& credentials, const Step& step) {
  NumberOutcome result = outcome(NumberStatus::kWrongCredentials);
  database_.inTransaction([&] {
    // Read inside the transaction, so that the steps' times are in the order they are made.
    const Instant now = clock_();
    const std::optional<Account> account = settleAndSignIn(credentials, now);
    if (account) result = step(*account, now);
  });
  return result;
}

std::optional<Account> NumberDesk::settleAndSignIn(const Credentials& credentials, Instant now) {
  settleExpired(now);
  if (!proved(credentials)) return std::nullopt;
  return database_.findAccount(credentials.name);
}

// The store is asked first, so that a failing store fails the step rather than the sign-in.
bool NumberDesk::proved(const Credentials& credentials) {
  const std::optional<std::string> hash = database_.passwordHash(credentials.name);
  return hash && *hash == proof_.passwordHash && credentials.name == proof_.credentials.name &&
         credentials.password == proof_.credentials.password;
}

void NumberDesk::settleExpired(Instant now) {
  for (const Lease& lease : database_.leasesExpiredBy(now)) {
    // The SMS could be read only before the end: one due at the end itself never could.
    if (lease.smsAt >= lease.expiresAt) refund(lease);
    database_.removeLease(lease.number);
  }
}

// The holder's balance after it.
Hundredths NumberDesk::refund(const Lease& lease) {
  const std::optional<Account> holder = database_.findAccount(lease.user);
  if (!holder) throw DatabaseError("a number held by no account: " + lease.number);
  const Hundredths balance = storedAmount(holder->balance) + storedAmount(lease.price);
  database_.setBalance(lease.user, amountText(balance));
  return balance;
}

NumberOutcome NumberDesk::handOut(const Account& account, const NumberRequest& request,
                                  Instant now) {
  const std::optional<std::string> price = database_.projectPrice(request.project);
  if (!price) return outcome(NumberStatus::kNoSuchProject);
  if (request.askedNumber && request.askedNumber->empty()) {
    return outcome(NumberStatus::kNoEarlierNumber);
  }
  const Hundredths cost = storedAmount(*price);
  const Hundredths balance = storedAmount(account.balance);
  if (balance < cost) return outcome(NumberStatus::kBalanceTooLow);
  const std::optional<std::string> number = pickNumber(account, request);
  if (!number) {
    return outcome(request.askedNumber ? NumberStatus::kAskedNumberUnavailable
                                       : NumberStatus::kNoNumberFree);
  }
  const std::string code = newVerificationCode();
  database_.addLease({
      .number = *number,
      .user = account.name,
      .price = amountText(cost),
      .smsAt = now + times_.smsDelay.count(),
      .expiresAt = now + times_.expiry.count(),
      .code = code,
      .sms = smsText(request.project, code, static_cast<unsigned>(randomGenerator()())),
  });
  const std::string left = amountText(balance - cost);
  database_.setBalance(account.name, left);
  return done(*number, left);
}

// An asked number ignores the region and the operator: the user wants that one.
std::optional<std::string> NumberDesk::pickNumber(const Account& account,
                                                  const NumberRequest& request) {
  if (!request.askedNumber) {
    return database_.freeNumber(account.name, request.region, request.carrier);
  }
  if (!database_.numberFreeFor(account.name, *request.askedNumber)) return std::nullopt;
  return request.askedNumber;
}

NumberOutcome NumberDesk::giveBack(const Account& account, const std::string& number, Instant now) {
  const std::optional<Lease> lease = database_.findLease(number);
  if (!lease || lease->user != account.name) return outcome(NumberStatus::kNotHeld);
  Hundredths balance = storedAmount(account.balance);
  if (now < lease->smsAt) balance = refund(*lease);
  database_.removeLease(number);
  return done(number, amountText(balance));
}

}  // namespace velmora::service
