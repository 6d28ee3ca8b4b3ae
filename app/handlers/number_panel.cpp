// The main window's number and SMS panel. "获取号码" and "指定号码" ask the service for a number;
// while a number is held and no SMS has come, a timer asks for its SMS every 2 seconds, off the
// user-interface thread, so a slow service never holds up the window. Once the SMS has come,
// "手动刷新" asks for a further one. The SMS or its code can be copied, and the number released or
// blacklisted. A number the service holds for the account is never lost: the panel asks for it
// when the window opens and when a getnum.php reply went missing, and asks for no number while it
// does not know whether the account holds one. A service that grants no numbers gets the panel's
// fixed notices.
#include <optional>
#include <string>
#include <utility>

#include "app/account.h"
#include "app/client_texts.h"
#include "app/handlers/common_steps.h"
#include "app/handlers/handlers.h"
#include "app/handlers/number_panel.h"
#include "app/protocol/replies.h"
#include "app/protocol/requests.h"
#include "app/protocol/verification_code.h"
#include "app/protocol/vocabulary.h"
#include "app/service_calls.h"
#include "app/window_calls.h"

namespace velmora::app {
namespace {

using namespace main_window;
using protocol::NumberAction;

constexpr int32_t kPollInterval = 2000;

// A request on its way off the window's thread, and the password it proves the account with: a
// profile save may replace that password before the reply comes.
struct RequestOnItsWay {
  int32_t id = 0;  // 0 for none
  std::string password;
};

// What the panel holds between events.
struct NumberPanel {
  std::string number;          // the number the account holds; empty for none
  std::string lastNumber;      // the last number held in this run, for asking for it again
  std::string sms;             // the last SMS that came for the number
  bool awaitingSms = false;    // the number waits for an SMS (its first, or a further one)
  bool mayHoldUnseen = false;  // the account may hold a number the panel does not show
  RequestOnItsWay poll;        // the SMS request on its way
  RequestOnItsWay heldCheck;   // the window's held.php request on its way
};

NumberPanel panel;

const char* password() {
  return accountField(AccountField::kPassword);
}

protocol::Credentials credentials() {
  return {accountField(AccountField::kUserName), password()};
}

RequestOnItsWay startRequest(const std::string& url, void (*ended)()) {
  return {startServiceRequest(url, kWindow, ended), password()};
}

// The reply of a request that has ended. Nothing when the service refused it as a wrong account
// while a profile save had replaced the password it carried: the service checked the old password
// after the save, and the account is fine, so the step is taken again with the password saved.
std::optional<Text> takeReply(RequestOnItsWay& request) {
  Text reply = takeServiceReply(request.id);
  const bool passwordReplaced = request.password != password();
  request = {};
  if (passwordReplaced && protocol::isStatus(reply.get(), protocol::status::kWrongAccount))
    return std::nullopt;
  return reply;
}

protocol::NumberChoice choice(const Text& project, const Text& region, const Text& carrier) {
  return {project.view(), region.view(), carrier.view()};
}

std::string numberActionUrl(NumberAction action) {
  return protocol::numberActionUrl(serviceAddress(), action, credentials(), panel.number);
}

void showBalanceAfter(const std::string& balance) {
  setAccountField(AccountField::kBalance, balance);
  showBalance(kBalance);
}

void pollEnded();

void pollTick() {
  if (!panel.awaitingSms || panel.poll.id != 0) return;
  panel.poll = startRequest(numberActionUrl(NumberAction::kReadSms), pollEnded);
}

void stopPolling() {
  stopTimer(kWindow, pollTick);
  if (panel.poll.id != 0) cancelServiceRequest(panel.poll.id);
  panel.poll = {};
}

void showNumber(const std::string& number) {
  panel.number = number;
  panel.lastNumber = number;
  setUnitText(kNumber, number.c_str());
}

// The number waits for an SMS: the polling starts. The box keeps what it shows until the SMS
// comes.
void awaitSms() {
  panel.awaitingSms = true;
  startTimer(kWindow, kPollInterval, pollTick);
}

// A number whose SMS has not come: the box is emptied and the polling starts.
void awaitFirstSms() {
  panel.sms.clear();
  setUnitText(kSms, nullptr);
  awaitSms();
}

// The SMS has come: the polling ends, and a user who is elsewhere is called back.
void showSms(const std::string& sms) {
  stopPolling();
  panel.awaitingSms = false;
  panel.sms = sms;
  setUnitText(kSms, panel.sms.c_str());
  flashWindow(kWindow);
}

void holdNumber(const protocol::GrantedNumber& granted) {
  showNumber(granted.number);
  awaitFirstSms();
  showBalanceAfter(granted.balance);
}

// A number held.php named: shown with its SMS, or polled for it.
void holdNumber(const protocol::HeldNumber& held) {
  showNumber(held.number);
  if (held.sms.empty()) return awaitFirstSms();
  showSms(held.sms);
}

// The number is no longer the account's: the panel shows none.
void dropNumber() {
  stopPolling();
  panel.awaitingSms = false;
  panel.number.clear();
  panel.sms.clear();
  setUnitText(kNumber, texts::kGetNumberPrompt);
  setUnitText(kSms, nullptr);
}

// A getsms.php reply: an SMS, a number gone or a wrong account end the polling; false for any
// other reply, which leaves everything as it was. A wrong account keeps the number, which the
// service still holds: "手动刷新" asks again.
bool tookSmsReply(const char* reply) {
  if (auto sms = protocol::readSms(reply)) {
    showSms(*sms);
    return true;
  }
  if (protocol::isStatus(reply, protocol::status::kNumberNotHeld)) {
    dropNumber();
    showMessage(texts::kNumberExpired);
    return true;
  }
  if (protocol::isStatus(reply, protocol::status::kWrongAccount)) {
    stopPolling();
    showMessage(texts::kWrongAccount);
    return true;
  }
  return false;
}

// A poll refused for a password replaced meanwhile polls again at the next tick.
void pollEnded() {
  if (const auto reply = takeReply(panel.poll)) tookSmsReply(reply->get());
}

std::string heldNumberUrl() {
  return protocol::heldNumberUrl(serviceAddress(), credentials());
}

// A held.php reply: the number it names is shown. Any reply but a failed request (empty) tells
// whether the account holds a number, a documented service's error page too (it holds none).
void tookHeldReply(const Text& reply) {
  panel.mayHoldUnseen = reply.empty();
  if (const auto held = protocol::readHeldNumber(reply.get())) holdNumber(*held);
}

void heldCheckEnded();

void startHeldCheck() {
  panel.heldCheck = startRequest(heldNumberUrl(), heldCheckEnded);
}

// A check refused for a password replaced meanwhile is made again at once.
void heldCheckEnded() {
  const auto reply = takeReply(panel.heldCheck);
  if (!reply) return startHeldCheck();
  tookHeldReply(*reply);
}

// held.php while the handler waits.
Text askHeldNumber() {
  Text reply = askService(heldNumberUrl());
  tookHeldReply(reply);
  return reply;
}

// A number is asked for only while the panel knows that the account holds none: else the service
// would grant and charge a second one and the first would never be shown. While the window's
// held.php request is on its way, or after a held.php or a getnum.php request failed, held.php is
// asked first. False when no number may be asked for now, with the notice said.
bool mayAskForNumber() {
  if (panel.heldCheck.id != 0) cancelServiceRequest(panel.heldCheck.id);
  panel.heldCheck = {};
  if (!panel.mayHoldUnseen) return true;
  askHeldNumber();
  if (!panel.number.empty())
    showMessage(texts::kReleaseFirst);
  else if (panel.mayHoldUnseen)
    showMessage(texts::kGetNumberFailed);
  return panel.number.empty() && !panel.mayHoldUnseen;
}

// getnum.php's reply went missing (empty) or cannot be read, while the service may have granted
// a number all the same: held.php names it. When held.php fails too, or names none after a
// missing reply from a service that knows it, the request failed; any other service keeps its
// fixed notice. A request whose reply went missing may still be granted after held.php answered,
// so the next one asks held.php first again.
void findGrantedNumber(bool replyMissing) {
  const Text reply = askHeldNumber();
  if (!panel.number.empty()) return;
  panel.mayHoldUnseen = panel.mayHoldUnseen || replyMissing;
  const bool noneHeld = protocol::isStatus(reply.get(), protocol::status::kNoNumberHeld);
  const bool failed = reply.empty() || (replyMissing && noneHeld);
  showMessage(failed ? texts::kGetNumberFailed : texts::kBalanceTooLow);
}

// The notice for a getnum.php reply that grants no number; a reply the panel does not know
// means a service without numbers, whose answer is that the balance is too low.
const char* numberRefusal(const char* reply) {
  static constexpr std::pair<const char*, const char*> kRefusals[] = {
      {protocol::status::kNoNumberFree, texts::kNoNumberFree},
      {protocol::status::kNoSuchProject, texts::kChooseProjectFirst},
      {protocol::status::kAskedNumberUnavailable, texts::kNumberUnavailable},
      {protocol::status::kNoEarlierNumber, texts::kNoNumberYet},
      {protocol::status::kWrongAccount, texts::kWrongAccount},
  };
  for (const auto& [status, notice] : kRefusals) {
    if (protocol::isStatus(reply, status)) return notice;
  }
  return texts::kBalanceTooLow;
}

// getnum.php, for any free number or (asked) for the last one again.
void askForNumber(bool again) {
  if (!panel.number.empty()) return showMessage(texts::kReleaseFirst);
  if (!mayAskForNumber()) return;
  const Text project = unitText(kProjectName);
  const Text region = unitText(kRegion);
  const Text carrier = unitText(kOperator);
  const auto picked = choice(project, region, carrier);
  const Text reply = askService(
      again ? protocol::numberAgainUrl(serviceAddress(), credentials(), picked, panel.lastNumber)
            : protocol::numberUrl(serviceAddress(), credentials(), picked));
  if (const auto granted = protocol::readGrantedNumber(reply.get())) return holdNumber(*granted);
  if (reply.empty() || reply.view().starts_with(protocol::status::kDonePrefix))
    return findGrantedNumber(reply.empty());
  showMessage(numberRefusal(reply.get()));
}

// again.php for the number whose SMS has come: "1" the service waits for a further SMS, which is
// polled for while the box keeps the last one. False for a reply the panel does not know (a
// service without again.php), which leaves "手动刷新" to read the SMS again as it always has.
bool askedForAnotherSms() {
  const Text reply = askService(numberActionUrl(NumberAction::kAnotherSms));
  if (protocol::isStatus(reply.get(), protocol::status::kDone)) {
    awaitSms();
    showMessage(texts::kAnotherSmsAsked);
  } else if (protocol::isStatus(reply.get(), protocol::status::kAnotherSmsRefused)) {
    showMessage(texts::kNoAnotherSms);
  } else if (protocol::isStatus(reply.get(), protocol::status::kNumberNotHeld)) {
    dropNumber();
    showMessage(texts::kNumberExpired);
  } else if (protocol::isStatus(reply.get(), protocol::status::kWrongAccount)) {
    showMessage(texts::kWrongAccount);
  } else {
    return false;
  }
  return true;
}

struct LetGo {
  NumberAction action;
  const char* nothingHeld;
  const char* done;
  const char* failed;
};

// release.php or blacklist.php for the number held.
void letNumberGo(const LetGo& letGo) {
  if (panel.number.empty()) return showMessage(letGo.nothingHeld);
  const Text reply = askService(numberActionUrl(letGo.action));
  if (const auto balance = protocol::readBalanceAfter(reply.get())) {
    dropNumber();
    showBalanceAfter(*balance);
    return showMessage(letGo.done);
  }
  if (protocol::isStatus(reply.get(), protocol::status::kNumberNotHeld)) {
    dropNumber();
    return showMessage(texts::kNumberExpired);
  }
  if (protocol::isStatus(reply.get(), protocol::status::kWrongAccount))
    return showMessage(texts::kWrongAccount);
  showMessage(letGo.failed);
}

}  // namespace

void resetNumberPanel() {
  panel = NumberPanel{};
}

void findHeldNumber() {
  panel.mayHoldUnseen = true;
  startHeldCheck();
}

void getNumberClicked() {
  askForNumber(false);
}

void chooseNumberClicked() {
  askForNumber(true);
}

void refreshSmsClicked() {
  if (panel.number.empty()) return showMessage(texts::kNoNumberYet);
  if (!panel.awaitingSms && askedForAnotherSms()) return;
  const Text reply = askService(numberActionUrl(NumberAction::kReadSms));
  if (!tookSmsReply(reply.get())) showMessage(texts::kNoSmsYet);
}

void copySmsClicked() {
  if (panel.sms.empty()) return showMessage(texts::kNoSms);
  copyText(panel.sms.c_str(), texts::kCopied, texts::kHintCaption);
}

void copyVerificationCodeClicked() {
  if (panel.sms.empty()) return showMessage(texts::kNoSms);
  const std::string code = protocol::verificationCode(panel.sms);
  if (code.empty()) return showMessage(texts::kNoCodeFound);
  copyText(code.c_str(), texts::kCopied, texts::kHintCaption);
}

void blacklistButtonClicked() {
  letNumberGo({NumberAction::kBlacklist, texts::kNothingToBlacklist, texts::kBlacklisted,
               texts::kBlacklistFailed});
}

void releaseButtonClicked() {
  letNumberGo(
      {NumberAction::kRelease, texts::kNothingToRelease, texts::kReleased, texts::kReleaseFailed});
}

void autoCodeCheckClicked() {
  setVisible(kCopyCode, isTicked(kAutoCode));
}

}  // namespace velmora::app
