// /E/qx/Api_PC, the JSON API the client's API window advertises: the account, and the number
// steps for programs, answered as {"code": …, "msg": …, "data": …}.
#pragma once

#include <string>
#include <string_view>

#include "service/number_desk.h"
#include "service/query.h"

namespace velmora::service {

inline constexpr std::string_view kApiContentType = "application/json; charset=utf-8";

// The JSON text of the reply. Throws DatabaseError when the store fails.
std::string answerApi(NumberDesk& desk, const Query& query);
// The reply when the store failed: a code of its own, never a verdict on the account.
std::string apiStoreFailure();

}  // namespace velmora::service
