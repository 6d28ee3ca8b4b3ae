#include "app/protocol/replies.h"

#include <cstring>
#include <string_view>

#include "app/runtime_calls.h"

namespace velmora::protocol {

using app::splitText;
using app::TextArray;

bool isLoginFailure(const char* reply) {
  return app::sameNumber(app::toNumber(reply), 25);
}

std::optional<AccountRecord> readAccountRecord(const char* reply) {
  const TextArray fields = splitText(reply, ",", 8);
  if (fields.size() != 8) return std::nullopt;
  AccountRecord record;
  for (int32_t i = 0; i < 8; ++i) record[i] = fields[i];
  return record;
}

bool isStatus(const char* reply, const char* status) {
  return std::strcmp(reply ? reply : "", status) == 0;
}

RegistrationStatus readRegistrationStatus(const char* reply) {
  constexpr const char* kStatuses[] = {"0", "1", "2", "3"};
  constexpr RegistrationStatus kMeanings[] = {
      RegistrationStatus::kIncomplete, RegistrationStatus::kNameTaken,
      RegistrationStatus::kRegistered, RegistrationStatus::kFailed};
  for (int i = 0; i < 4; ++i) {
    if (isStatus(reply, kStatuses[i])) return kMeanings[i];
  }
  return RegistrationStatus::kUnknown;
}

std::vector<std::string> readProjectList(const char* reply) {
  const TextArray items = splitText(reply, ",");
  std::vector<std::string> list;
  for (int32_t i = 0; i < items.size(); ++i) list.emplace_back(items[i]);
  return list;
}

ProjectItem readProjectItem(const char* item) {
  const TextArray pieces = splitText(item, "-");
  return {std::string(pieces.size() > 0 ? pieces[0] : ""),
          std::string(pieces.size() > 1 ? pieces[1] : "")};
}

std::optional<PendingOrder> readPendingOrder(const char* reply) {
  if (isStatus(reply, "0")) return std::nullopt;
  const TextArray pieces = splitText(reply, "-");
  if (pieces.size() < 4) return std::nullopt;
  return PendingOrder{std::string(pieces[0]), std::string(pieces[1]), std::string(pieces[2]),
                      std::string(pieces[3])};
}

}  // namespace velmora::protocol
