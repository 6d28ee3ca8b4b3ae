#include "service/request_answer.h"

#include <optional>

#include "app/protocol/vocabulary.h"
#include "service/api.h"
#include "service/endpoints.h"
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

}  // namespace

Reply RequestAnswerer::answer(std::string_view requestTarget) {
  const Target target = splitTarget(requestTarget);
  if (!target.path.starts_with(kEndpointFolder)) return notFound();
  const std::string_view file = target.path.substr(kEndpointFolder.size());
  std::lock_guard lock(databaseMutex_);
  if (file == protocol::endpoint::kApi) {
    return {200, answerApi(desk_, decodeQuery(target.query, QueryEncoding::kFormUtf8)),
            kApiContentType};
  }
  std::optional<std::string> text = service::answer(desk_, file, decodeQuery(target.query));
  if (!text) return notFound();
  return {200, std::move(*text), kTextContentType};
}

}  // namespace velmora::service
