#include "app/protocol/replies.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "app/protocol/vocabulary.h"
#include "app/runtime_calls.h"

namespace velmora::protocol {

using app::splitText;
using app::TextArray;

bool isLoginFailure(const char* reply) {
  return app::sameNumber(app::toNumber(reply), status::kLoginRefusedNumber);
}

namespace {

// Whether a record of exactly seven separators ends in one: its eighth field is empty. The
// separator never occurs inside a GBK character, so bytes can be counted.
bool endsInEmptyEighthField(std::string_view reply) {
  constexpr char kSeparator = kListSeparator[0];
  return !reply.empty() && reply.back() == kSeparator &&
         std::count(reply.begin(), reply.end(), kSeparator) == 7;
}

}  // namespace

std::optional<AccountRecord> readAccountRecord(const char* reply) {
  const TextArray fields = splitText(reply, kListSeparator, 8);
  const bool emptyEighth = fields.size() == 7 && endsInEmptyEighthField(reply ? reply : "");
  if (fields.size() != 8 && !emptyEighth) return std::nullopt;
  AccountRecord record;
  for (int32_t i = 0; i < fields.size(); ++i) record[i] = fields[i];
  return record;
}

bool isStatus(const char* reply, const char* status) {
  return std::strcmp(reply ? reply : "", status) == 0;
}

RegistrationStatus readRegistrationStatus(const char* reply) {
  static constexpr std::pair<const char*, RegistrationStatus> kStatuses[] = {
      {status::kRegistrationIncomplete, RegistrationStatus::kIncomplete},
      {status::kNameTaken, RegistrationStatus::kNameTaken},
      {status::kRegistered, RegistrationStatus::kRegistered},
      {status::kRegistrationFailed, RegistrationStatus::kFailed},
  };
  for (const auto& [text, meaning] : kStatuses) {
    if (isStatus(reply, text)) return meaning;
  }
  return RegistrationStatus::kUnknown;
}

std::vector<std::string> readProjectList(const char* reply) {
  const TextArray items = splitText(reply, kListSeparator);
  std::vector<std::string> list;
  for (int32_t i = 0; i < items.size(); ++i) list.emplace_back(items[i]);
  return list;
}

ProjectItem readProjectItem(const char* item) {
  const TextArray pieces = splitText(item, kPartSeparator);
  return {std::string(pieces.size() > 0 ? pieces[0] : ""),
          std::string(pieces.size() > 1 ? pieces[1] : "")};
}

std::optional<PendingOrder> readPendingOrder(const char* reply, std::string_view user) {
  if (isStatus(reply, status::kNoPendingOrder)) return std::nullopt;
  const std::string_view text = reply ? reply : "";
  // A user name that holds "-" itself is taken whole when the record starts with it.
  const bool startsWithUser = !user.empty() && text.size() > user.size() &&
                              text.substr(0, user.size()) == user &&
                              text[user.size()] == kPartSeparator[0];
  if (startsWithUser) {
    const std::string rest(text.substr(user.size() + 1));
    const TextArray pieces = splitText(rest.c_str(), kPartSeparator);
    if (pieces.size() < 3) return std::nullopt;
    return PendingOrder{std::string(user), std::string(pieces[0]), std::string(pieces[1]),
                        std::string(pieces[2])};
  }
  const TextArray pieces = splitText(reply, kPartSeparator);
  if (pieces.size() < 4) return std::nullopt;
  return PendingOrder{std::string(pieces[0]), std::string(pieces[1]), std::string(pieces[2]),
                      std::string(pieces[3])};
}

namespace {

// What follows the "1," of a success reply; nothing when the reply is not one.
std::optional<std::string_view> afterSuccess(const char* reply) {
  constexpr std::string_view kPrefix = status::kDonePrefix;
  const std::string_view text = reply ? reply : "";
  if (!text.starts_with(kPrefix)) return std::nullopt;
  return text.substr(kPrefix.size());
}

}  // namespace

std::optional<GrantedNumber> readGrantedNumber(const char* reply) {
  const auto rest = afterSuccess(reply);
  if (!rest) return std::nullopt;
  const TextArray fields = splitText(std::string(*rest).c_str(), kListSeparator);
  if (fields.size() != 2 || fields[0].empty()) return std::nullopt;
  return GrantedNumber{std::string(fields[0]), std::string(fields[1])};
}

std::optional<std::string> readSms(const char* reply) {
  const auto rest = afterSuccess(reply);
  if (!rest || rest->empty()) return std::nullopt;
  return std::string(*rest);
}

std::optional<HeldNumber> readHeldNumber(const char* reply) {
  const auto rest = afterSuccess(reply);
  if (!rest) return std::nullopt;
  const size_t separator = rest->find(kListSeparator[0]);
  const std::string_view number = rest->substr(0, separator);
  if (number.empty()) return std::nullopt;
  const std::string_view sms =
      separator == std::string_view::npos ? std::string_view() : rest->substr(separator + 1);
  return HeldNumber{std::string(number), std::string(sms)};
}

std::optional<std::string> readBalanceAfter(const char* reply) {
  const auto rest = afterSuccess(reply);
  if (!rest) return std::nullopt;
  return std::string(*rest);
}

}  // namespace velmora::protocol
