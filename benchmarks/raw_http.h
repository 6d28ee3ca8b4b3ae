// A GET made with plain WinINet on the calling thread, with the HTTP read command's user agent,
// flags, accept type and headers (the same constants): the baseline of the command and of the
// program's start.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

namespace velmora {

// The root handle such a GET is made through, opened with the command's user agent.
HINTERNET openRawInternet();

// Connects to the host, sends the GET for the path, reads the whole body into `body` and closes
// the request and the connection; false when any step fails.
bool rawGet(HINTERNET root, const char* host, INTERNET_PORT port, const char* path,
            std::string& body);

}  // namespace velmora
