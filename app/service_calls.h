// The program's requests to the service: one HTTP read of a complete URL, its reply body turned
// into local text.
#pragma once

#include <string>

#include "app/runtime_calls.h"

namespace velmora::app {

// The reply as local text; the empty text when the request failed.
Text askService(const std::string& url);

// A request that does not hold up the window: `ended` runs as an event of the window once the
// request has ended, as long as the window is loaded. 0 when no request could start.
int32_t startServiceRequest(const std::string& url, uint32_t window, void (*ended)());
// The reply of an ended request as local text, once; the empty text when it failed.
Text takeServiceReply(int32_t request);
// The request is given up: its routine will not run.
void cancelServiceRequest(int32_t request);

}  // namespace velmora::app
