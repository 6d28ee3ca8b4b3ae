#include "service/endpoints.h"

#include <array>
#include <ctime>
#include <random>

#include "service/field_rules.h"
#include "service/number_parameters.h"

namespace velmora::service {

namespace {

bool unreadable(const Query& query, std::string_view name) {
  const auto found = query.find(name);
  return found != query.end() && !found->second;
}

std::string join(std::initializer_list<std::string_view> fields, char separator) {
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
  if (!account) return "25";
  return join(
      {account->name, credentials.password, account->balance, account->address,
       account->invitationCode, account->registrationCode, account->registeredOn, account->email},
      ',');
}

// "0" incomplete, "1" name taken, "2" registered, "3" refused or failed.
std::string registerUser(Database& database, const Query& query) {
  for (const char* name : {"username", "password", "sj", "email"}) {
    if (unreadable(query, name)) return "3";
  }
  const std::string name = queryValue(query, "username").value_or("");
  const std::string password = queryValue(query, "password").value_or("");
  if (name.empty() || password.empty()) return "0";
  if (database.findAccount(name)) return "1";
  Account account{
      .name = name,
      .balance = "0",
      .address = "0",
      .invitationCode = newInvitationCode(database),
      .registrationCode = storedOptional(queryValue(query, "sj").value_or("")),
      .registeredOn = today(),
      // The e-mail is optional: an account without one logs in with an empty last field.
      .email = queryValue(query, "email").value_or(""),
  };
  const bool emailFits = account.email.empty() || fitsRecord(account.email, ",");
  if (!acceptableUserName(account.name) || !fitsRecord(password, ",") ||
      !fitsRecord(account.registrationCode, ",") || !emailFits) {
    return "3";
  }
  return database.addAccount(account, password) ? "2" : "1";
}

std::string supportContact(Database& database, const Query&) {
  return database.setting("support_contact");
}

std::string depositAddress(Database& database, const Query&) {
  return database.setting("deposit_address");
}

// "name-price" items separated by ",".
std::string projectList(Database& database, const Query&) {
  std::string list;
  for (const Project& project : database.projects()) {
    if (!list.empty()) list += ',';
    list += join({project.name, project.price}, '-');
  }
  return list;
}

// "0" or "user-amount-order number-time".
std::string pendingOrder(Database& database, const Query& query) {
  const auto user = queryValue(query, "username");
  if (!user) return "0";
  const std::optional<Order> order = database.pendingOrder(*user);
  if (!order) return "0";
  return join({order->user, order->amount, order->number, order->time}, '-');
}

std::string deleteOrder(Database& database, const Query& query) {
  const auto user = queryValue(query, "username");
  return user && database.deleteOrder(*user) ? "1" : "0";
}

// One pending order per account: a second one is refused, so an order that may already be paid
// is never replaced behind the user's back.
std::string submitOrder(Database& database, const Query& query) {
  const Order order{
      .user = queryValue(query, "username").value_or(""),
      .amount = queryValue(query, "qt").value_or(""),
      .number = queryValue(query, "cd").value_or(""),
      .time = queryValue(query, "time").value_or(""),
  };
  if (!acceptableAmount(order.amount) || !fitsRecord(order.number, "-") ||
      !fitsRecord(order.time, "-") || !database.findAccount(order.user)) {
    return "0";
  }
  return database.addOrder(order) ? "1" : "0";
}

// The client sends "0" for an empty e-mail or address; a missing one counts the same.
std::string updateAccount(Database& database, const Query& query) {
  for (const char* name : {"username", "password", "email", "d2"}) {
    if (unreadable(query, name)) return "0";
  }
  const std::string name = queryValue(query, "username").value_or("");
  const std::string password = queryValue(query, "password").value_or("");
  const std::string email = storedOptional(queryValue(query, "email").value_or(""));
  const std::string address = storedOptional(queryValue(query, "d2").value_or(""));
  if (!fitsRecord(password, ",") || !fitsRecord(email, ",") || !fitsRecord(address, ",")) {
    return "0";
  }
  return database.updateAccount(name, password, email, address) ? "1" : "0";
}

// The number endpoints' replies other than success: one text per status, whichever endpoint.
std::string statusReply(NumberStatus status) {
  switch (status) {
    case NumberStatus::kBalanceTooLow:
    case NumberStatus::kSmsNotYet:
      return "0";
    case NumberStatus::kNoNumberFree:
    case NumberStatus::kNotHeld:
      return "2";
    case NumberStatus::kNoSuchProject:
      return "3";
    case NumberStatus::kAskedNumberUnavailable:
      return "5";
    case NumberStatus::kNoEarlierNumber:
      return "6";
    case NumberStatus::kDone:
      return "1";
    case NumberStatus::kWrongCredentials:
      break;
  }
  return "9";
}

// "1," and the fields when the step was done, its status reply otherwise.
std::string numberReply(const NumberOutcome& outcome,
                        std::initializer_list<std::string_view> doneFields) {
  if (outcome.status != NumberStatus::kDone) return statusReply(outcome.status);
  return "1," + join(doneFields, ',');
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

// The endpoints that read and write the store directly.
template <std::string (*reply)(Database&, const Query&)>
std::string fromStore(NumberDesk& desk, const Query& query) {
  return reply(desk.database(), query);
}

struct Endpoint {
  std::string_view file;
  std::string (*reply)(NumberDesk&, const Query&);
  std::string_view failureReply;  // when the store fails
};

constexpr std::array kEndpoints{
    Endpoint{"login.php", login, "25"},
    Endpoint{"restuser.php", fromStore<registerUser>, "3"},
    Endpoint{"getkf.php", fromStore<supportContact>, ""},
    Endpoint{"getxm.php", fromStore<projectList>, ""},
    Endpoint{"getpay.php", fromStore<pendingOrder>, "0"},
    Endpoint{"delpay.php", fromStore<deleteOrder>, "0"},
    Endpoint{"restpay.php", fromStore<submitOrder>, "0"},
    Endpoint{"update.php", fromStore<updateAccount>, "0"},
    Endpoint{"getadd.php", fromStore<depositAddress>, ""},
    // A failed store is a moment without numbers, an SMS not yet read, a step to try again.
    Endpoint{"getnum.php", getNumber, "2"},
    Endpoint{"getsms.php", readSms, "0"},
    Endpoint{"release.php", giveBack<&NumberDesk::release>, "0"},
    Endpoint{"blacklist.php", giveBack<&NumberDesk::blacklist>, "0"},
};

}  // namespace

std::optional<std::string> answer(NumberDesk& desk, std::string_view file, const Query& query) {
  for (const Endpoint& endpoint : kEndpoints) {
    if (endpoint.file != file) continue;
    try {
      return endpoint.reply(desk, query);
    } catch (const DatabaseError&) {
      return std::string(endpoint.failureReply);
    }
  }
  return std::nullopt;
}

}  // namespace velmora::service
