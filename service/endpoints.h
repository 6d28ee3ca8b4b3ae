// The text endpoints under /E/qx/, the client's nine and the five number endpoints: each turns a
// decoded query into the reply text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/number_desk.h"
#include "service/query.h"

namespace velmora::service {

// The user name and password a request to the endpoint `file` claims to act for, which it must
// prove; nothing for the endpoints anyone may call and for names of no endpoint.
std::optional<Credentials> claimedCredentials(std::string_view file, const Query& query);

// The reply of the endpoint `file` ("login.php"); nothing when there is no such endpoint. A
// failure of the store gets the endpoint's negative reply, or throws DatabaseError where the
// endpoint has none that is not a verdict on the account.
std::optional<std::string> answer(NumberDesk& desk, std::string_view file, const Query& query);

}  // namespace velmora::service
