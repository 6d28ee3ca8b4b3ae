// Reading the service's replies, once they are local text: status texts compared exactly with
// the whole reply, numbers read with the runtime's to number, records split on their separator.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::protocol {

// login.php answers the number 25 when the login failed.
bool isLoginFailure(const char* reply);

// The account record of a successful login: eight fields split on "," (anything after the
// eighth separator dropped); a record of exactly seven separators that ends in one has an empty
// eighth field (an account without e-mail); nothing when fewer fields arrive.
using AccountRecord = std::array<std::string, 8>;
std::optional<AccountRecord> readAccountRecord(const char* reply);

enum class RegistrationStatus { kIncomplete, kNameTaken, kRegistered, kFailed, kUnknown };
RegistrationStatus readRegistrationStatus(const char* reply);

// A status reply such as delpay.php's "1": the whole reply, exactly.
bool isStatus(const char* reply, const char* status);

// getxm.php: one line per item of the list.
std::vector<std::string> readProjectList(const char* reply);
// An item reads name "-" unit price; an item without "-" is all name, with an empty price.
struct ProjectItem {
  std::string name;
  std::string price;
};
ProjectItem readProjectItem(const char* item);

// getpay.php: "0" for no pending order, otherwise user "-" amount "-" order number "-" time. A
// reply of fewer pieces is no order either. When the reply starts with the account's user name
// and "-", that name is the user even if it holds "-" itself.
struct PendingOrder {
  std::string user;
  std::string amount;
  std::string orderNumber;
  std::string time;
};
std::optional<PendingOrder> readPendingOrder(const char* reply, std::string_view user);

// getnum.php: "1," number "," balance when a number was granted (the balance after its charge),
// otherwise a status: "0" balance too low, "2" no number free, "3" no such project, "5" the
// asked number is not available, "6" no earlier number to ask for, "9" wrong account. Nothing
// when the reply grants no number; the status is then the whole reply.
struct GrantedNumber {
  std::string number;
  std::string balance;
};
std::optional<GrantedNumber> readGrantedNumber(const char* reply);

// getsms.php: "1," and the SMS text, all of the rest of the reply ("," included); "0" nothing
// yet; "2" the number is no longer the account's. Nothing when no SMS came with the reply.
std::optional<std::string> readSms(const char* reply);

// held.php: "1," number when the account holds a number whose SMS has not come, "1," number ","
// SMS when it has (the SMS is all of the rest, "," included); "0" when it holds none, "9" wrong
// account. Nothing when the reply names no number.
struct HeldNumber {
  std::string number;
  std::string sms;  // empty until it has come
};
std::optional<HeldNumber> readHeldNumber(const char* reply);

// release.php and blacklist.php: "1," and the balance after the refund, if any.
std::optional<std::string> readBalanceAfter(const char* reply);

}  // namespace velmora::protocol
