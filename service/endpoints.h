// The nine endpoints under /E/qx/: each turns a decoded query into the reply text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/database.h"
#include "service/query.h"

namespace velmora::service {

// The reply of the endpoint `file` ("login.php"); nothing when there is no such endpoint. A
// failure of the store gets the endpoint's negative reply.
std::optional<std::string> answer(Database& database, std::string_view file, const Query& query);

}  // namespace velmora::service
