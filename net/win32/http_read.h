// The internet library's HTTP read command: one GET of a URL, the whole body as a byte set.
// Failures show only as the empty byte set: a body that did not arrive whole (a failed read, a
// body shorter than announced, over 16 MiB, or an exchange over 30 seconds) is never returned.
// The exchange runs on a thread of its own: while the caller waits, at most 30 seconds whatever
// the peer does, its windows go on painting and keyboard and mouse input waits in the queue.
#pragma once

#include "runtime/tagged_value.h"

namespace velmora::net {

// httpRead(URL text) -> byte set
void httpRead(runtime::ResultRecord* result, int32_t argCount, const runtime::ArgRecord* args);

}  // namespace velmora::net
