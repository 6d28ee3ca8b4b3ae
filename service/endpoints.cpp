#include "service/endpoints.h"

#include <array>
#include <ctime>
#include <random>

#include "app/protocol/vocabulary.h"
#include "service/field_rules.h"
#include "service/number_parameters.h"

namespace velmora::service {

namespace {

namespace endpoint = protocol::endpoint;
namespace parameter = protocol::parameter;
namespace status = protocol::status;
using protocol::kListSeparator;
using protocol::kPartSeparator;

bool unreadable(const Query& query, std::string_view name) {
  const auto found = query.find(name);
  return found != query.end() && !found->second;
}

std::string join(std::initializer_list<std::string_view> fields, std::string_view separator) {
  std::string joined;
  bool first = true;
  for (const std::string_view field : fields) {
    if (!first) joined += separator;
    joined += field;
    first = false;
  }
  return joined;
}

std::string today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return std::to_string(local.tm_year + 1900) + "/" + std::to_string(local.tm_mon + 1) + "/" +
         std::to_string(local.tm_mday);
}

std::string newInvitationCode(Database& database) {
  static constexpr std::string_view kSymbols = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, kSymbols.size() - 1);
  std::string code;
  do {
    code.clear();
    for (int i = 0; i < 6; ++i) code += kSymbols[pick(generator)];
  } while (database.invitationCodeInUse(code));
  return code;
}

// "25" or the eight account fields separated by ",", the password as the request carried it. No
// stored field is empty, so the record never ends in a separator, which would cost it its last
// field on the client.
std::string login(NumberDesk& desk, const Query& query) {
  const Credentials credentials = credentialsIn(query);
  const std::optional<Account> account = desk.signIn(credentials);
  if (!account) return status::kLoginRefused;
  return join(
      {account->name, credentials.password, account->balance, account->address,
       account->invitationCode, account->registrationCode, account->registeredOn, account->email},
      kListSeparator);
}

// "0" incomplete, "1" name taken, "2" registered, "3" refused or failed.
std::string registerUser(Database& database, const Query& query) {
  for (const char* name : {parameter::kUserName, parameter::kPassword, parameter::kRegistrationCode,
                           parameter::kEmail}) {
    if (unreadable(query, name)) return status::kRegistrationFailed;
  }
  const std::string name = queryValue(query, parameter::kUserName).value_or("");
  const std::string password = queryValue(query, parameter::kPassword).value_or("");
  if (name.empty() || password.empty()) return status::kRegistrationIncomplete;
  Account account{
      .name = name,
      .balance = "0",
      .address = protocol::kNoValue,
      .invitationCode = newInvitationCode(database),
      .registrationCode =
          storedOptional(queryValue(query, parameter::kRegistrationCode).value_or("")),
      .registeredOn = today(),
      // The e-mail is optional: an account without one logs in with an empty last field.
      .email = queryValue(query, parameter::kEmail).value_or(""),
  };
  const bool emailFits = account.email.empty() || fitsRecord(account.email, kListSeparator);
  if (!acceptableUserName(account.name) || !fitsRecord(password, kListSeparator) ||
      !fitsRecord(account.registrationCode, kListSeparator) || !emailFits) {
    return status::kRegistrationFailed;
  }
  // Only a request that would register tells whether the name is taken, and a taken name costs
  // no hash: nobody learns which names exist from refused fields.
  if (database.findAccount(name)) return status::kNameTaken;
  return database.addAccount(account, password) ? status::kRegistered : status::kNameTaken;
}

std::string supportContact(Database& database, const Query&) {
  return database.setting("support_contact");
}

std::string depositAddress(Database& database, const Query&) {
  return database.setting("deposit_address");
}

// "name-price" items separated by ",".
std::string projectList(NumberDesk& desk, const Query&) {
  std::string list;
  for (const Project& project : desk.projects()) {
    if (!list.empty()) list += kListSeparator;
    list += join({project.name, project.price}, kPartSeparator);
  }
  return list;
}

// The account named by username when the request proved its password, sent as `password` or,
// by update.php, as `oldpassword`.
std::optional<Account> provedAccount(NumberDesk& desk, const Query& query,
                                     std::string_view passwordParameter = parameter::kPassword) {
  return desk.signIn({queryValue(query, parameter::kUserName).value_or(""),
                      queryValue(query, passwordParameter).value_or("")});
}

// "0" or "user-amount-order number-time".
std::string pendingOrder(NumberDesk& desk, const Query& query) {
  const std::optional<Account> account = provedAccount(desk, query);
  if (!account) return status::kNoPendingOrder;
  const std::optional<Order> order = desk.database().pendingOrder(account->name);
  if (!order) return status::kNoPendingOrder;
  return join({order->user, order->amount, order->number, order->time}, kPartSeparator);
}

std::string deleteOrder(NumberDesk& desk, const Query& query) {
  const std::optional<Account> account = provedAccount(desk, query);
  return account && desk.database().deleteOrder(account->name) ? status::kDone : status::kNotDone;
}

// One pending order per account: a second one is refused, so an order that may already be paid
// is never replaced behind the user's back.
std::string submitOrder(NumberDesk& desk, const Query& query) {
  const std::optional<Account> account = provedAccount(desk, query);
  if (!account) return status::kNotDone;
  const Order order{
      .user = account->name,
      .amount = queryValue(query, parameter::kAmount).value_or(""),
      .number = queryValue(query, parameter::kOrderNumber).value_or(""),
      .time = queryValue(query, parameter::kOrderDate).value_or(""),
  };
  if (!acceptableAmount(order.amount) || !fitsRecord(order.number, kPartSeparator) ||
      !fitsRecord(order.time, kPartSeparator)) {
    return status::kNotDone;
  }
  return desk.database().addOrder(order) ? status::kDone : status::kNotDone;
}

// The client sends "0" for an empty e-mail or address; a missing one counts the same. The
// password the account has now comes as `oldpassword`, the new one as `password`.
std::string updateAccount(NumberDesk& desk, const Query& query) {
  for (const char* name : {parameter::kPassword, parameter::kEmail, parameter::kReceivingAddress}) {
    if (unreadable(query, name)) return status::kNotDone;
  }
  const std::optional<Account> account = provedAccount(desk, query, parameter::kCurrentPassword);
  if (!account) return status::kNotDone;
  const std::string password = queryValue(query, parameter::kPassword).value_or("");
  const std::string email = storedOptional(queryValue(query, parameter::kEmail).value_or(""));
  const std::string address =
      storedOptional(queryValue(query, parameter::kReceivingAddress).value_or(""));
  if (!fitsRecord(password, kListSeparator) || !fitsRecord(email, kListSeparator) ||
      !fitsRecord(address, kListSeparator)) {
    return status::kNotDone;
  }
  if (!desk.database().updateAccount(account->name, password, email, address)) {
    return status::kNotDone;
  }
  desk.passwords().forget(account->name);
  return status::kDone;
}

// The number endpoints' replies other than success: one text per status, whichever endpoint.
std::string statusReply(NumberStatus status) {
  switch (status) {
    case NumberStatus::kBalanceTooLow:
      return status::kBalanceTooLow;
    case NumberStatus::kSmsNotYet:
      return status::kSmsNotYet;
    case NumberStatus::kNoNumberFree:
      return status::kNoNumberFree;
    case NumberStatus::kNotHeld:
      return status::kNumberNotHeld;
    case NumberStatus::kNoneHeld:
      return status::kNoNumberHeld;
    case NumberStatus::kNoSuchProject:
      return status::kNoSuchProject;
    case NumberStatus::kAskedNumberUnavailable:
      return status::kAskedNumberUnavailable;
    case NumberStatus::kNoEarlierNumber:
      return status::kNoEarlierNumber;
    case NumberStatus::kAnotherSmsRefused:
      return status::kAnotherSmsRefused;
    case NumberStatus::kDone:
      return status::kDone;
    case NumberStatus::kWrongCredentials:
      break;
  }
  return status::kWrongAccount;
}

// "1," and the fields when the step was done, its status reply otherwise.
std::string numberReply(const NumberOutcome& outcome,
                        std::initializer_list<std::string_view> doneFields) {
  if (outcome.status != NumberStatus::kDone) return statusReply(outcome.status);
  return status::kDonePrefix + join(doneFields, kListSeparator);
}

// "1," number "," balance.
std::string getNumber(NumberDesk& desk, const Query& query) {
  const NumberOutcome outcome = desk.getNumber(credentialsIn(query), numberRequestIn(query));
  return numberReply(outcome, {outcome.number, outcome.balance});
}

// "1," SMS text; the text may hold ",".
std::string readSms(NumberDesk& desk, const Query& query) {
  const NumberOutcome outcome = desk.readSms(credentialsIn(query), heldNumberIn(query));
  return numberReply(outcome, {outcome.sms});
}

// "1," balance, for release.php and blacklist.php.
template <NumberOutcome (NumberDesk::*step)(const Credentials&, const std::string&)>
std::string giveBack(NumberDesk& desk, const Query& query) {
  const NumberOutcome outcome = (desk.*step)(credentialsIn(query), heldNumberIn(query));
  return numberReply(outcome, {outcome.balance});
}

// "1," number, and "," SMS text once it has come; "0" when the account holds no number.
std::string heldNumber(NumberDesk& desk, const Query& query) {
  const NumberOutcome outcome = desk.heldNumber(credentialsIn(query));
  if (outcome.sms.empty()) return numberReply(outcome, {outcome.number});
  return numberReply(outcome, {outcome.number, outcome.sms});
}

// "1" when the service waits for another SMS on the number.
std::string anotherSms(NumberDesk& desk, const Query& query) {
  return statusReply(desk.anotherSms(credentialsIn(query), heldNumberIn(query)).status);
}

// The endpoints that read and write the store directly.
template <std::string (*reply)(Database&, const Query&)>
std::string fromStore(NumberDesk& desk, const Query& query) {
  return reply(desk.database(), query);
}

struct Endpoint {
  std::string_view file;
  std::string (*reply)(NumberDesk&, const Query&);
  // When the store fails: a reply that says the step failed or is to be tried again. None where
  // any reply would be a verdict (a wrong password, no order, no number held): the request then
  // fails as a whole.
  std::optional<std::string_view> failureReply;
  // The parameter that carries the password of the account the request acts for; none for the
  // endpoints anyone may call.
  const char* passwordParameter = parameter::kPassword;
};

constexpr std::array kEndpoints{
    Endpoint{endpoint::kLogin, login, std::nullopt},
    Endpoint{endpoint::kRegister, fromStore<registerUser>, status::kRegistrationFailed, nullptr},
    Endpoint{endpoint::kSupportContact, fromStore<supportContact>, std::nullopt, nullptr},
    Endpoint{endpoint::kProjectList, projectList, std::nullopt, nullptr},
    Endpoint{endpoint::kPendingOrder, pendingOrder, std::nullopt},
    Endpoint{endpoint::kDeleteOrder, deleteOrder, status::kNotDone},
    Endpoint{endpoint::kSubmitOrder, submitOrder, status::kNotDone},
    Endpoint{endpoint::kUpdateProfile, updateAccount, status::kNotDone,
             parameter::kCurrentPassword},
    Endpoint{endpoint::kDepositAddress, fromStore<depositAddress>, std::nullopt, nullptr},
    // A failed store is a moment without numbers, an SMS not yet read, a step to try again.
    Endpoint{endpoint::kGetNumber, getNumber, status::kNoNumberFree},
    Endpoint{endpoint::kReadSms, readSms, status::kSmsNotYet},
    Endpoint{endpoint::kRelease, giveBack<&NumberDesk::release>, status::kNotDone},
    Endpoint{endpoint::kBlacklist, giveBack<&NumberDesk::blacklist>, status::kNotDone},
    Endpoint{endpoint::kHeldNumber, heldNumber, std::nullopt},
    Endpoint{endpoint::kAnotherSms, anotherSms, status::kAnotherSmsRefused},
};

const Endpoint* endpointNamed(std::string_view file) {
  for (const Endpoint& known : kEndpoints) {
    if (known.file == file) return &known;
  }
  return nullptr;
}

}  // namespace

std::optional<Credentials> claimedCredentials(std::string_view file, const Query& query) {
  const Endpoint* known = endpointNamed(file);
  if (!known || !known->passwordParameter) return std::nullopt;
  return Credentials{queryValue(query, parameter::kUserName).value_or(""),
                     queryValue(query, known->passwordParameter).value_or("")};
}

std::optional<std::string> answer(NumberDesk& desk, std::string_view file, const Query& query) {
  const Endpoint* known = endpointNamed(file);
  if (!known) return std::nullopt;
  try {
    return known->reply(desk, query);
  } catch (const DatabaseError&) {
    if (!known->failureReply) throw;
    return std::string(*known->failureReply);
  }
}

}  // namespace velmora::service
