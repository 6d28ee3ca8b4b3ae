// The number steps' parameters, read alike for the text endpoints and the JSON API.
#pragma once

#include <string>

#include "service/number_desk.h"
#include "service/query.h"

namespace velmora::service {

// username and password; a missing or unreadable one is empty, which no account has.
Credentials credentialsIn(const Query& query);

// xm, dq and yys, and hm when it is present (an unreadable hm is no number of the pool).
NumberRequest numberRequestIn(const Query& query);

// hm: the number a step is about.
std::string heldNumberIn(const Query& query);

}  // namespace velmora::service
