// The program's requests to the service: one HTTP read of a complete URL, its reply body turned
// into local text.
#pragma once

#include <string>

#include "app/runtime_calls.h"

namespace velmora::app {

// The reply as local text; the empty text when the request failed.
Text askService(const std::string& url);

}  // namespace velmora::app
