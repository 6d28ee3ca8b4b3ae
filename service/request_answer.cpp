#include "service/request_answer.h"

#include <optional>

#include "app/protocol/vocabulary.h"
#include "service/api.h"
#include "service/endpoints.h"
#include "service/number_parameters.h"
#include "service/query.h"

namespace velmora::service {
namespace {

constexpr std::string_view kEndpointFolder = protocol::kEndpointFolder;
constexpr std::string_view kTextContentType = "text/plain; charset=utf-8";

// The request target as it came, split at the first "?".
struct Target {
  std::string_view path;
  std::string_view query;
};

Target splitTarget(std::string_view target) {
  const size_t mark = target.find('?');
  if (mark == std::string_view::npos) return {target, {}};
  return {target.substr(0, mark), target.substr(mark + 1)};
}

Reply notFound() {
  return {404, {}, kTextContentType};
}

// The store failed: the request may be sent again, and nothing is said about the account.
Reply storeFailed(bool api) {
  if (api) return {200, apiStoreFailure(), kApiContentType};
  return {503, {}, kTextContentType};
}

}  // namespace

Reply RequestAnswerer::answer(std::string_view requestTarget) {
  const Target target = splitTarget(requestTarget);
  if (!target.path.starts_with(kEndpointFolder)) return notFound();
  const std::string_view file = target.path.substr(kEndpointFolder.size());
  const bool api = file == protocol::endpoint::kApi;
  const Query query =
      decodeQuery(target.query, api ? QueryEncoding::kFormUtf8 : QueryEncoding::kClientGbk);
  try {
    const StorePool::Lent database = stores_.take();
    NumberDesk desk(*database, office_,
                    prove(*database, api ? credentialsIn(query) : claimedCredentials(file, query)));
    if (api) return {200, answerApi(desk, query), kApiContentType};
    std::optional<std::string> text = service::answer(desk, file, query);
    if (!text) return notFound();
    return {200, std::move(*text), kTextContentType};
  } catch (const DatabaseError&) {
    return storeFailed(api);
  }
}

// No name has nothing to prove, and is refused at once: that tells nobody anything. A store that
// cannot tell the hash fails the request: an unproved request would read as a wrong password.
Proof RequestAnswerer::prove(Database& database, const std::optional<Credentials>& claimed) {
  if (!claimed || claimed->name.empty()) return {};
  std::optional<StoredAccount> stored = database.storedAccount(claimed->name);
  std::optional<std::string> hash;
  if (stored) hash = stored->passwordHash;
  if (!office_.passwords.matches(claimed->name, claimed->password, hash)) return {};
  return {*claimed, std::move(*hash), std::move(stored->account)};
}

}  // namespace velmora::service
