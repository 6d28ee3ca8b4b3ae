#include "service/number_desk.h"

#include <algorithm>
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

// After the end of its activation, a provider answers a cancel or a completion no more: a task
// is told until this long after the number's end.
constexpr Instant kProviderTaskGrace = 10 * 60 * 1000;

// The longest SMS text kept (the provider's answers come as one line of UTF-8): a longer one
// gives way to its code.
constexpr size_t kMaxSmsBytes = 2048;

// Whether a provider's answer to setStatus ends what the service had to tell it: taken, or the
// activation is over (or never was) so that nothing is left to tell.
bool endsTask(ProviderWord answer) {
  switch (answer) {
    case ProviderWord::kAccessCancel:
    case ProviderWord::kAccessActivation:
    case ProviderWord::kAlreadyCancel:
    case ProviderWord::kAlreadyFinish:
    case ProviderWord::kNoActivation:
    case ProviderWord::kBadStatus:
      return true;
    default:
      return false;
  }
}

// A refusal of getNumber the operator must hear of: the provider's key, balance or service, or no
// reading answer at all. Running out of numbers is the provider's everyday answer.
bool worthANote(ProviderWord refusal) {
  return refusal != ProviderWord::kNoNumbers && refusal != ProviderWord::kWrongMaxPrice;
}

}  // namespace

Instant systemTime() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::optional<Account> NumberDesk::signIn(const Credentials& credentials) {
  std::optional<Account> account;
  readOrWrite([&](Instant now) { account = settleAndSignIn(credentials, now); });
  return account;
}

// A transaction's work that found something to write while it ran as a read.
struct NumberDesk::WriteNeeded {};

void NumberDesk::readOrWrite(const std::function<void(Instant now)>& work) {
  try {
    reading_ = true;
    database_.inReadTransaction([&] { work(office_.clock()); });
    reading_ = false;
    return;
  } catch (const WriteNeeded&) {
    reading_ = false;
  } catch (...) {
    reading_ = false;
    throw;
  }
  database_.inTransaction([&] { work(office_.clock()); });
}

void NumberDesk::needWrite() const {
  if (reading_) throw WriteNeeded{};
}

std::vector<Project> NumberDesk::projects() {
  if (!office_.upstream) return database_.projects();
  std::vector<Project> projects;
  for (const UpstreamProject& project : office_.upstream->catalogue.projects) {
    projects.push_back({project.name, project.price});
  }
  return projects;
}

NumberOutcome NumberDesk::getNumber(const Credentials& credentials, const NumberRequest& request) {
  if (office_.upstream) return getProviderNumber(credentials, request);
  return serve(credentials,
               [&](const Account& account, Instant now) { return handOut(account, request, now); });
}

NumberOutcome NumberDesk::readSms(const Credentials& credentials, const std::string& number) {
  return serveReading(credentials, [&](const Account& account, Instant now) {
    std::optional<Lease> lease = heldLease(account, number);
    if (!lease) return outcome(NumberStatus::kNotHeld);
    if (!lease->smsReadableAt(now)) return outcome(NumberStatus::kSmsNotYet);
    deliver(*lease);
    return withSms(done(number, amountText(storedAmount(account.balance))), *lease);
  });
}

NumberOutcome NumberDesk::heldNumber(const Credentials& credentials) {
  return serveReading(credentials, [&](const Account& account, Instant now) {
    std::optional<Lease> lease = database_.lastLeaseOf(account.name);
    if (!lease) return outcome(NumberStatus::kNoneHeld);
    NumberOutcome held = done(lease->number, amountText(storedAmount(account.balance)));
    if (!lease->smsReadableAt(now)) return held;
    deliver(*lease);
    return withSms(std::move(held), *lease);
  });
}

// The SMS is shown: from now on the number has had it, whatever the clock says later.
void NumberDesk::deliver(Lease& lease) {
  if (lease.delivered) return;
  needWrite();
  lease.delivered = true;
  database_.updateLeaseSms(lease);
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
  // The time is read inside the transaction, so that the steps' times are in the order they are
  // made.
  database_.inTransaction([&] { result = signedInStep(credentials, step, office_.clock()); });
  return result;
}

NumberOutcome NumberDesk::serveReading(const Credentials& credentials, const Step& step) {
  NumberOutcome result = outcome(NumberStatus::kWrongCredentials);
  readOrWrite([&](Instant now) { result = signedInStep(credentials, step, now); });
  return result;
}

NumberOutcome NumberDesk::signedInStep(const Credentials& credentials, const Step& step,
                                       Instant now) {
  const std::optional<Account> account = settleAndSignIn(credentials, now);
  return account ? step(*account, now) : outcome(NumberStatus::kWrongCredentials);
}

// The store is asked first, so that a failing store fails the step rather than the sign-in. A
// read answers with the account as the proof read it a moment before; a write reads it again in
// its transaction.
std::optional<Account> NumberDesk::settleAndSignIn(const Credentials& credentials, Instant now) {
  settleExpired(now);
  const bool claimed = !proof_.passwordHash.empty() &&
                       credentials.name == proof_.credentials.name &&
                       credentials.password == proof_.credentials.password;
  if (reading_) return claimed ? std::optional(proof_.account) : std::nullopt;
  std::optional<StoredAccount> stored = database_.storedAccount(credentials.name);
  if (!stored || !claimed || stored->passwordHash != proof_.passwordHash) return std::nullopt;
  return std::move(stored->account);
}

void NumberDesk::settleExpired(Instant now) {
  const std::vector<Lease> expired = database_.leasesExpiredBy(now);
  if (!expired.empty()) needWrite();
  for (const Lease& lease : expired) {
    // The SMS could be read only before the end: one due at the end itself never could.
    const bool smsCame = lease.smsCameBy(lease.expiresAt - 1);
    if (!smsCame) refund(lease);
    endAtProvider(lease, smsCame, now);
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

std::optional<Lease> NumberDesk::heldLease(const Account& account, const std::string& number) {
  std::optional<Lease> lease = database_.findLease(number);
  if (!lease || lease->user != account.name) return std::nullopt;
  return lease;
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
  Lease lease = newLease(account, *number, cost, now);
  lease.smsAt = now + office_.times.smsDelay.count();
  lease.code = newVerificationCode();
  lease.sms = smsText(request.project, lease.code, static_cast<unsigned>(randomGenerator()()));
  database_.addLease(lease);
  const std::string left = amountText(balance - cost);
  database_.setBalance(account.name, left);
  return done(*number, left);
}

// A lease of the number to the account from `now` on, charged `price`, without its SMS.
Lease NumberDesk::newLease(const Account& account, const std::string& number, Hundredths price,
                           Instant now) {
  Lease lease;
  lease.number = number;
  lease.user = account.name;
  lease.price = amountText(price);
  lease.expiresAt = now + office_.times.expiry.count();
  return lease;
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
  const std::optional<Lease> lease = heldLease(account, number);
  if (!lease) return outcome(NumberStatus::kNotHeld);
  Hundredths balance = storedAmount(account.balance);
  const bool smsCame = lease->smsCameBy(now);
  if (!smsCame) balance = refund(*lease);
  endAtProvider(*lease, smsCame, now);
  database_.removeLease(number);
  return done(number, amountText(balance));
}

// A provider's activation that the service leases no more: cancelled when it brought no SMS (an
// SMS it brings later is never charged nor shown, as no lease is left to take it), completed
// otherwise. The poller tells the provider.
void NumberDesk::endAtProvider(const Lease& lease, bool smsCame, Instant now) {
  if (lease.activation.empty()) return;
  const ActivationStep step = smsCame ? ActivationStep::kComplete : ActivationStep::kCancel;
  database_.addProviderTask({lease.activation, static_cast<int>(step),
                             std::max(now, lease.expiresAt) + kProviderTaskGrace});
}

NumberOutcome NumberDesk::anotherSms(const Credentials& credentials, const std::string& number) {
  std::optional<Lease> asked;  // a provider's number, to ask the provider about
  const NumberOutcome checked = serve(credentials, [&](const Account& account, Instant now) {
    asked.reset();
    std::optional<Lease> lease = heldLease(account, number);
    if (!lease) return outcome(NumberStatus::kNotHeld);
    if (!lease->smsReadableAt(now)) return outcome(NumberStatus::kAnotherSmsRefused);
    if (!lease->activation.empty()) {
      asked = std::move(lease);
      return outcome(NumberStatus::kDone);
    }
    return awaitAnotherSms(account, std::move(*lease), now);
  });
  if (checked.status != NumberStatus::kDone || !asked) return checked;
  return anotherProviderSms(credentials, *asked);
}

// The lease waits for its next SMS: the simulation's comes after the SMS delay, in the wording of
// the first with a new code; a provider's when the poller has it.
NumberOutcome NumberDesk::awaitAnotherSms(const Account& account, Lease lease, Instant now) {
  lease.smsSeen = true;
  lease.delivered = false;
  ++lease.round;
  if (lease.activation.empty()) {
    lease.smsAt = now + office_.times.smsDelay.count();
    const std::string code = newVerificationCode();
    const size_t at = lease.sms.find(lease.code);
    lease.sms = at == std::string::npos ? code : lease.sms.replace(at, lease.code.size(), code);
    lease.code = code;
  } else {
    lease.smsAt = kSmsAwaited;
  }
  database_.updateLeaseSms(lease);
  return done(lease.number, amountText(storedAmount(account.balance)));
}

NumberOutcome NumberDesk::getProviderNumber(const Credentials& credentials,
                                            const NumberRequest& request) {
  const NumberOutcome checked = serve(credentials, [&](const Account& account, Instant) {
    return checkProviderRequest(account, request);
  });
  if (checked.status != NumberStatus::kDone) return checked;
  const Upstream& upstream = *office_.upstream;
  const UpstreamProject& project = *upstream.catalogue.project(request.project);
  const GrantAnswer grant = upstream.provider.getNumber({
      .service = project.service,
      .country = project.country,
      .carrier = upstream.catalogue.providerOperator(request.carrier),
      .maxPrice = project.maxPrice,
  });
  if (grant.word != ProviderWord::kAccessNumber) {
    if (worthANote(grant.word)) {
      upstream.note("provider refused a number for " + project.service + ": " +
                    std::string(providerWordText(grant.word)));
    }
    return outcome(NumberStatus::kNoNumberFree);
  }
  return takeGrant(credentials, project, grant);
}

// What getnum checks before it asks the provider, in the order the pool's numbers are checked.
// A provider cannot be asked for a particular number.
NumberOutcome NumberDesk::checkProviderRequest(const Account& account,
                                               const NumberRequest& request) {
  const UpstreamProject* project = office_.upstream->catalogue.project(request.project);
  if (!project) return outcome(NumberStatus::kNoSuchProject);
  if (request.askedNumber) {
    return outcome(request.askedNumber->empty() ? NumberStatus::kNoEarlierNumber
                                                : NumberStatus::kAskedNumberUnavailable);
  }
  if (storedAmount(account.balance) < storedAmount(project->price)) {
    return outcome(NumberStatus::kBalanceTooLow);
  }
  return outcome(NumberStatus::kDone);
}

// Charges the account and leases it the number in one transaction. A grant the account cannot
// take (its balance spent meanwhile, its password changed, a phone it blacklisted or one leased
// already) is cancelled at the provider instead, and nothing is charged.
NumberOutcome NumberDesk::takeGrant(const Credentials& credentials, const UpstreamProject& project,
                                    const GrantAnswer& grant) {
  NumberOutcome result;
  try {
    database_.inTransaction([&] {
      result = outcome(NumberStatus::kWrongCredentials);
      const Instant now = office_.clock();
      const std::optional<Account> account = settleAndSignIn(credentials, now);
      const Hundredths price = storedAmount(project.price);
      if (account && storedAmount(account->balance) < price) {
        result = outcome(NumberStatus::kBalanceTooLow);
      } else if (account && (database_.findLease(grant.phone) ||
                             database_.blacklisted(account->name, grant.phone))) {
        result = outcome(NumberStatus::kNoNumberFree);
      } else if (account) {
        Lease lease = newLease(*account, grant.phone, price, now);
        lease.smsAt = kSmsAwaited;
        lease.activation = grant.id;
        database_.addLease(lease);
        const std::string left = amountText(storedAmount(account->balance) - price);
        database_.setBalance(account->name, left);
        result = done(grant.phone, left);
        return;
      }
      database_.addProviderTask(
          {grant.id, static_cast<int>(ActivationStep::kCancel), now + kProviderTaskGrace});
    });
  } catch (const DatabaseError&) {
    // Nothing was charged, and the store cannot keep the cancel: it is told at once.
    office_.upstream->provider.setStatus(grant.id, ActivationStep::kCancel);
    throw;
  }
  return result;
}

NumberOutcome NumberDesk::anotherProviderSms(const Credentials& credentials, const Lease& asked) {
  const ProviderWord answer =
      office_.upstream->provider.setStatus(asked.activation, ActivationStep::kAnotherSms);
  if (answer != ProviderWord::kAccessRetryGet) return outcome(NumberStatus::kAnotherSmsRefused);
  return serve(credentials, [&](const Account& account, Instant now) {
    std::optional<Lease> lease = heldLease(account, asked.number);
    if (!lease || lease->activation != asked.activation) return outcome(NumberStatus::kNotHeld);
    if (lease->round != asked.round) return outcome(NumberStatus::kAnotherSmsRefused);
    return awaitAnotherSms(account, std::move(*lease), now);
  });
}

ProviderRound NumberDesk::providerRound() {
  ProviderRound round;
  database_.inTransaction([&] {
    settleExpired(office_.clock());
    round = {database_.leasesAwaitingProvider(), database_.providerTasks()};
  });
  return round;
}

void NumberDesk::takeStatus(const Lease& asked, const StatusAnswer& answer) {
  if (answer.word != ProviderWord::kStatusOk && answer.word != ProviderWord::kStatusCancel) return;
  database_.inTransaction([&] {
    const Instant now = office_.clock();
    settleExpired(now);
    std::optional<Lease> lease = database_.findLease(asked.number);
    if (!lease || lease->activation != asked.activation || lease->round != asked.round ||
        lease->smsAt != kSmsAwaited) {
      return;
    }
    if (answer.word == ProviderWord::kStatusCancel) {
      // The provider ended it: nothing is left to tell it.
      if (!lease->smsSeen) refund(*lease);
      database_.removeLease(lease->number);
      return;
    }
    const std::string& sms = answer.smsText.size() > kMaxSmsBytes ? answer.code : answer.smsText;
    if (sms.empty()) return;  // an SMS of nothing is no SMS
    lease->smsAt = now;
    lease->delivered = true;
    lease->code = answer.code;
    lease->sms = sms;
    database_.updateLeaseSms(*lease);
  });
}

void NumberDesk::takeTaskAnswer(const ProviderTask& task, ProviderWord answer) {
  const bool givenUp = !endsTask(answer) && office_.clock() >= task.giveUpAt;
  if (!endsTask(answer) && !givenUp) return;
  database_.inTransaction([&] { database_.removeProviderTask(task.activation); });
  if (givenUp) {
    office_.upstream->note("provider task given up for activation " + task.activation + ": " +
                           std::string(providerWordText(answer)));
  }
}

}  // namespace velmora::service
