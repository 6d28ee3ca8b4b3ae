// The words of the protocol the client and the service speak: where the endpoints lie, their
// names, the names of their query parameters, the separators of their records and their status
// replies. The client's requests and reply readers and the demo service both take them from here,
// so the two sides cannot drift apart; docs/protocol.md says what each one means.
#pragma once

namespace velmora::protocol {

// Every endpoint lies in this folder of the service's address.
inline constexpr char kEndpointFolder[] = "/E/qx/";

namespace endpoint {

// The client's nine.
inline constexpr char kLogin[] = "login.php";
inline constexpr char kRegister[] = "restuser.php";
inline constexpr char kSupportContact[] = "getkf.php";
inline constexpr char kProjectList[] = "getxm.php";
inline constexpr char kPendingOrder[] = "getpay.php";
inline constexpr char kDeleteOrder[] = "delpay.php";
inline constexpr char kSubmitOrder[] = "restpay.php";
inline constexpr char kUpdateProfile[] = "update.php";
inline constexpr char kDepositAddress[] = "getadd.php";

// The number panel's four.
inline constexpr char kGetNumber[] = "getnum.php";
inline constexpr char kReadSms[] = "getsms.php";
inline constexpr char kRelease[] = "release.php";
inline constexpr char kBlacklist[] = "blacklist.php";
// The number the account holds, so that a restarted client or a lost getnum.php reply loses none.
inline constexpr char kHeldNumber[] = "held.php";
// A further SMS on a held number whose SMS has come.
inline constexpr char kAnotherSms[] = "again.php";

// The JSON API that the API window advertises to programs.
inline constexpr char kApi[] = "Api_PC";

}  // namespace endpoint

namespace parameter {

inline constexpr char kUserName[] = "username";
inline constexpr char kPassword[] = "password";
inline constexpr char kEmail[] = "email";
inline constexpr char kRegistrationCode[] = "sj";  // restuser.php
inline constexpr char kAmount[] = "qt";            // restpay.php
inline constexpr char kOrderNumber[] = "cd";
inline constexpr char kOrderDate[] = "time";
inline constexpr char kReceivingAddress[] = "d2";  // update.php
inline constexpr char kProject[] = "xm";           // getnum.php
inline constexpr char kRegion[] = "dq";
inline constexpr char kCarrier[] = "yys";
inline constexpr char kNumber[] = "hm";      // the number asked for again, or the one held
inline constexpr char kAction[] = "action";  // the JSON API's step
// update.php: the password the account logged in with, as proof of the account; `password`
// carries the new one there. getpay.php, restpay.php and delpay.php carry it as `password`.
inline constexpr char kCurrentPassword[] = "oldpassword";

}  // namespace parameter

// The JSON API's steps, as the values of `action`: the number endpoints' steps.
namespace api_action {

inline constexpr char kGetNumber[] = "getnum";
inline constexpr char kReadSms[] = "getsms";
inline constexpr char kRelease[] = "release";
inline constexpr char kBlacklist[] = "blacklist";
inline constexpr char kHeldNumber[] = "held";
inline constexpr char kAnotherSms[] = "again";

}  // namespace api_action

// Between the fields of the account record, the items of the project list and the fields of the
// number endpoints' replies.
inline constexpr char kListSeparator[] = ",";
// Between a project item's name and price, and the fields of the pending order.
inline constexpr char kPartSeparator[] = "-";
// An optional field of the account record that holds nothing (an e-mail, a receiving address);
// the client sends it so for a box left empty.
inline constexpr char kNoValue[] = "0";

namespace status {

// login.php: the name or the password is wrong. The client reads the reply as a number, so that
// number is part of the word too.
inline constexpr char kLoginRefused[] = "25";
inline constexpr int kLoginRefusedNumber = 25;

// restuser.php.
inline constexpr char kRegistrationIncomplete[] = "0";
inline constexpr char kNameTaken[] = "1";
inline constexpr char kRegistered[] = "2";
inline constexpr char kRegistrationFailed[] = "3";

// getpay.php, when the account has no pending order.
inline constexpr char kNoPendingOrder[] = "0";

// delpay.php, restpay.php and update.php; "not done" is also release.php's and blacklist.php's
// reply when the step could not be made now.
inline constexpr char kDone[] = "1";
inline constexpr char kNotDone[] = "0";

// The number endpoints: a step that was done answers this, then its fields.
inline constexpr char kDonePrefix[] = "1,";
// Their other replies.
inline constexpr char kBalanceTooLow[] = "0";  // getnum.php
inline constexpr char kSmsNotYet[] = "0";      // getsms.php
inline constexpr char kNoNumberFree[] = "2";   // getnum.php
inline constexpr char kNumberNotHeld[] = "2";  // getsms.php, release.php, blacklist.php, again.php
inline constexpr char kNoSuchProject[] = "3";
inline constexpr char kAskedNumberUnavailable[] = "5";
inline constexpr char kNoEarlierNumber[] = "6";
inline constexpr char kWrongAccount[] = "9";  // every number endpoint
inline constexpr char kNoNumberHeld[] = "0";  // held.php
// again.php: "1" (kDone) the service waits for another SMS; these otherwise.
inline constexpr char kAnotherSmsRefused[] = "0";

}  // namespace status

namespace detail {

constexpr int numberOf(const char* digits) {
  int number = 0;
  for (; *digits != '\0'; ++digits) number = number * 10 + (*digits - '0');
  return number;
}

}  // namespace detail

static_assert(detail::numberOf(status::kLoginRefused) == status::kLoginRefusedNumber);
static_assert(status::kDonePrefix[0] == status::kDone[0] &&
              status::kDonePrefix[1] == kListSeparator[0]);

}  // namespace velmora::protocol
