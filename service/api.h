// /E/qx/Api_PC, the JSON API the client's API window advertises: the account, and the number
// steps for programs, answered as {"code": …, "msg": …, "data": …}.
#pragma once

#include <string>
#include <string_view>

#include "service/number_desk.h"
#include "service/query.h"

namespace velmora::service {

inline constexpr std::string_view kApiContentType = "application/json; charset=utf-8";

// The JSON text of the reply; a failure of the store gets its own code.
std::string answerApi(NumberDesk& desk, const Query& query);

}  // namespace velmora::service
