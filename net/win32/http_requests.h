// The internet library's requests that do not block the user-interface thread: the GET runs on a
// thread of its own, and when it ends the program's routine runs on the user-interface thread as
// an event of the window that started it, where it takes the reply. A request that the program no
// longer wants, or whose window has gone, is dropped with its reply.
#pragma once

#include "runtime/program_image.h"
#include "runtime/tagged_value.h"

namespace velmora::net {

// startHttpRead(URL text, window reference, routine) -> request number, above 0; 0 when no
// request could start. The routine runs once, when the request has ended, whatever its outcome:
// a reply, a failure, or 30 seconds gone.
void startHttpRead(runtime::ResultRecord* result, int32_t argCount, const runtime::ArgRecord* args);
// takeHttpReply(request number) -> byte set: the whole body of an ended request, once; the empty
// byte set for a failed request, one still running, or one unknown.
void takeHttpReply(runtime::ResultRecord* result, int32_t argCount, const runtime::ArgRecord* args);
// cancelHttpRead(request number): the request is given up; its routine will not run.
void cancelHttpRead(runtime::ResultRecord* result, int32_t argCount,
                    const runtime::ArgRecord* args);

// The runtime's notify function, through which the routines are called; null at shutdown, which
// gives up every request.
void setInternetRuntimeNotify(runtime::NotifyFunction notify);

}  // namespace velmora::net
