// The internet library's session: the root handle every exchange goes through, opened once with
// the settings all exchanges share, and the waits each exchange may make.
#pragma once

#include <windows.h>
#include <wininet.h>

namespace velmora::net {

// A new root handle with the request form's user agent and the session's settings: connections
// through the system's configured proxy, and waits of 15 seconds at most. Null when the platform
// cannot open one.
HINTERNET openInternetSession();

// The process's session, opened by the first call that can open it and closed at exit; null
// while it cannot be opened.
HINTERNET internetSession();

// Limits each wait of the handle's calls (for a connection, for sending, for the peer's bytes)
// to 15 seconds, and to the time left before the deadline.
void limitWaits(HINTERNET handle, DWORD deadline);

}  // namespace velmora::net
