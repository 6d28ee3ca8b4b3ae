#include "service/api.h"

#include <array>
#include <nlohmann/json.hpp>

#include "app/protocol/vocabulary.h"
#include "service/money.h"
#include "service/number_parameters.h"

namespace velmora::service {

namespace {

// Keys stay in the order they are written, as the API window's readers see them documented.
using Json = nlohmann::ordered_json;

struct ApiCode {
  int code;
  const char* message;
};

constexpr ApiCode kOk{0, "ok"};
constexpr ApiCode kWrongCredentials{1, "用户名或密码错误"};
constexpr ApiCode kBalanceTooLow{2, "余额不足"};
constexpr ApiCode kNoNumberFree{3, "暂无可用号码，请稍后再试"};
constexpr ApiCode kNoSuchProject{4, "项目不存在"};
constexpr ApiCode kAskedNumberUnavailable{5, "指定的号码不可用"};
constexpr ApiCode kNoEarlierNumber{6, "没有可指定的号码"};
constexpr ApiCode kSmsNotYet{7, "尚未收到短信，请稍后再试"};
constexpr ApiCode kNotHeld{8, "号码不存在或已释放"};
constexpr ApiCode kUnknownAction{9, "未知的操作"};
constexpr ApiCode kServiceBusy{10, "服务繁忙，请稍后再试"};
constexpr ApiCode kNoneHeld{11, "当前没有持有的号码"};
constexpr ApiCode kAnotherSmsRefused{12, "暂时无法获取新短信"};

ApiCode codeOf(NumberStatus status) {
  switch (status) {
    case NumberStatus::kDone:
      return kOk;
    case NumberStatus::kBalanceTooLow:
      return kBalanceTooLow;
    case NumberStatus::kNoNumberFree:
      return kNoNumberFree;
    case NumberStatus::kNoSuchProject:
      return kNoSuchProject;
    case NumberStatus::kAskedNumberUnavailable:
      return kAskedNumberUnavailable;
    case NumberStatus::kNoEarlierNumber:
      return kNoEarlierNumber;
    case NumberStatus::kSmsNotYet:
      return kSmsNotYet;
    case NumberStatus::kNotHeld:
      return kNotHeld;
    case NumberStatus::kNoneHeld:
      return kNoneHeld;
    case NumberStatus::kAnotherSmsRefused:
      return kAnotherSmsRefused;
    case NumberStatus::kWrongCredentials:
      break;
  }
  return kWrongCredentials;
}

Json failure(ApiCode code) {
  return {{"code", code.code}, {"msg", code.message}};
}

Json success(Json data) {
  return {{"code", kOk.code}, {"msg", kOk.message}, {"data", std::move(data)}};
}

Json account(NumberDesk& desk, const Query& query) {
  const std::optional<Account> account = desk.signIn(credentialsIn(query));
  if (!account) return failure(kWrongCredentials);
  return success({{"username", account->name},
                  {"balance", amountText(storedAmount(account->balance))},
                  {"invitation_code", account->invitationCode}});
}

// The number and the balance after the step; the SMS and its code too when there is one.
Json numberReply(const NumberOutcome& outcome) {
  if (outcome.status != NumberStatus::kDone) return failure(codeOf(outcome.status));
  Json data{{"number", outcome.number}};
  if (!outcome.sms.empty()) {
    data["sms"] = outcome.sms;
    data["code"] = outcome.code;
  }
  data["balance"] = outcome.balance;
  return success(std::move(data));
}

Json getNumber(NumberDesk& desk, const Query& query) {
  return numberReply(desk.getNumber(credentialsIn(query), numberRequestIn(query)));
}

Json heldNumber(NumberDesk& desk, const Query& query) {
  return numberReply(desk.heldNumber(credentialsIn(query)));
}

// getsms, release, blacklist and again: a step on the number in hm.
template <NumberOutcome (NumberDesk::*step)(const Credentials&, const std::string&)>
Json onHeldNumber(NumberDesk& desk, const Query& query) {
  return numberReply((desk.*step)(credentialsIn(query), heldNumberIn(query)));
}

struct Action {
  std::string_view name;
  Json (*reply)(NumberDesk&, const Query&);
};

constexpr std::array kActions{
    Action{protocol::api_action::kGetNumber, getNumber},
    Action{protocol::api_action::kReadSms, onHeldNumber<&NumberDesk::readSms>},
    Action{protocol::api_action::kRelease, onHeldNumber<&NumberDesk::release>},
    Action{protocol::api_action::kBlacklist, onHeldNumber<&NumberDesk::blacklist>},
    Action{protocol::api_action::kHeldNumber, heldNumber},
    Action{protocol::api_action::kAnotherSms, onHeldNumber<&NumberDesk::anotherSms>},
};

// Without an action: the account itself.
Json reply(NumberDesk& desk, const Query& query) {
  const auto action = query.find(protocol::parameter::kAction);
  if (action == query.end()) return account(desk, query);
  for (const Action& known : kActions) {
    if (action->second == known.name) return known.reply(desk, query);
  }
  return failure(kUnknownAction);
}

std::string text(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

std::string answerApi(NumberDesk& desk, const Query& query) {
  return text(reply(desk, query));
}

std::string apiStoreFailure() {
  return text(failure(kServiceBusy));
}

}  // namespace velmora::service
