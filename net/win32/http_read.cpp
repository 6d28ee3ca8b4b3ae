// The HTTP read command on WinINet.
#include "net/win32/http_read.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/byte_buffer.h"
#include "net/win32/http_exchange.h"
#include "net/win32/http_request_form.h"
#include "net/win32/internet_session.h"
#include "runtime/program_routine.h"
#include "runtime/value_blocks.h"

namespace velmora::net {
namespace {

constexpr DWORD kDefaultChunkSize = 10240;
constexpr DWORD kLargestChunkSize = 102400;
// A runaway reply must not end the program with an allocation error: bodies above 16 MiB give
// nothing.
constexpr size_t kLargestBody = 16u << 20;
// Windows takes a window whose thread has not looked at its message queue for 5 seconds for one
// that does not respond: it ghosts it and offers to close the program. A handler's wait looks
// far more often than that.
constexpr DWORD kQueueLookInterval = 250;

struct UrlParts {
  std::string host;
  std::string path;  // with the query and any fragment
  std::string userName;
  std::string password;
  INTERNET_PORT port = INTERNET_INVALID_PORT_NUMBER;
  bool secure = false;
};

// The URL as the platform writes it, with nothing percent-encoded.
bool canonicalise(const char* url, std::string& canonical) {
  DWORD size = INTERNET_MAX_URL_LENGTH;
  canonical.assign(size, '\0');
  if (!InternetCanonicalizeUrlA(url, canonical.data(), &size, ICU_NO_ENCODE)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    canonical.assign(size, '\0');
    if (!InternetCanonicalizeUrlA(url, canonical.data(), &size, ICU_NO_ENCODE)) return false;
  }
  canonical.resize(size);
  return true;
}

// The parts of an http or https URL; false for a URL the platform cannot read or of any other
// scheme.
bool parseUrl(const char* url, UrlParts& parts) {
  std::string canonical;
  if (!canonicalise(url, canonical)) return false;
  std::vector<char> host(INTERNET_MAX_HOST_NAME_LENGTH), path(INTERNET_MAX_PATH_LENGTH),
      userName(INTERNET_MAX_USER_NAME_LENGTH), password(INTERNET_MAX_PASSWORD_LENGTH);
  URL_COMPONENTSA components{};
  components.dwStructSize = sizeof components;
  components.lpszHostName = host.data();
  components.dwHostNameLength = static_cast<DWORD>(host.size());
  components.lpszUrlPath = path.data();
  components.dwUrlPathLength = static_cast<DWORD>(path.size());
  components.lpszUserName = userName.data();
  components.dwUserNameLength = static_cast<DWORD>(userName.size());
  components.lpszPassword = password.data();
  components.dwPasswordLength = static_cast<DWORD>(password.size());
  if (!InternetCrackUrlA(canonical.c_str(), 0, 0, &components)) return false;
  if (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS)
    return false;
  parts.host.assign(host.data(), components.dwHostNameLength);
  parts.path.assign(path.data(), components.dwUrlPathLength);
  parts.userName.assign(userName.data(), components.dwUserNameLength);
  parts.password.assign(password.data(), components.dwPasswordLength);
  parts.port = components.nPort;
  parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
  return true;
}

// The Content-Length the server announced, or 0 when it gave none that reads as a number above 0.
DWORD announcedLength(HINTERNET request) {
  char text[32] = {};
  DWORD size = sizeof text;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return 0;
  const long length = std::strtol(text, nullptr, 10);
  return length > 0 ? static_cast<DWORD>(length) : 0;
}

// The announced length plus one, at most 102400; 10240 when none is announced.
DWORD chunkSize(DWORD announced) {
  if (announced == 0) return kDefaultChunkSize;
  return announced >= kLargestChunkSize ? kLargestChunkSize : announced + 1;
}

// Whether the exchange may make its next call that waits for the peer.
bool goesOn(ExchangeWatch& watch, DWORD deadline) {
  return !watch.givenUp() && static_cast<LONG>(deadline - GetTickCount()) > 0;
}

// Sends the GET and reads the head of the reply.
bool sendRequest(HINTERNET request, DWORD deadline, ExchangeWatch& watch) {
  if (!goesOn(watch, deadline)) return false;
  limitWaits(request, deadline);
  return HttpSendRequestA(request, kAdditionalHeaders, sizeof kAdditionalHeaders - 1, nullptr, 0);
}

// Waits until some of the body has arrived, and says how much: 0 once the body has ended. False
// when the wait failed, as when the peer was quiet for the whole receive wait.
bool awaitArrival(HINTERNET request, DWORD& arrived) {
  return InternetQueryDataAvailable(request, &arrived, 0, 0);
}

// Reads the body to its end. False when the body is not whole: a read failed, the body ended
// before its announced length, it outgrew the largest body, or the exchange was given up or
// outlasted its deadline; a caller must not take such a body for the reply. Each read takes only
// what has arrived, so a peer that trickles its body holds the exchange at most one byte's
// interval past its deadline, where a read of a whole chunk would wait for the whole chunk. (Wine
// tells of at most 8 KiB arrived at a time, so there a 1 MiB reply takes 128 reads or more and
// is slower than one read in whole chunks.)
bool readBody(HINTERNET request, DWORD deadline, ExchangeWatch& watch, ByteBuffer& body) {
  const DWORD announced = announcedLength(request);
  const DWORD size = chunkSize(announced);
  ByteBuffer chunk;
  if (!chunk.reserve(size)) return false;
  // Room for the announced body at once, rather than a larger block for every chunk.
  if (announced <= kLargestBody && !body.reserve(announced)) return false;
  for (;;) {
    DWORD arrived = 0;
    if (!goesOn(watch, deadline) || !awaitArrival(request, arrived)) return false;
    if (arrived == 0) return body.length() >= announced;
    DWORD read = 0;
    if (!goesOn(watch, deadline) ||
        !InternetReadFile(request, chunk.data(), std::min(arrived, size), &read)) {
      return false;
    }
    if (body.length() + read > kLargestBody || !body.append(chunk.data(), read)) return false;
  }
}

// Runs a handler's wait for its reply: the windows go on painting and their timers run, and
// messages other threads send are answered so that they never wait on this one, while keyboard
// and mouse input waits in the queue until the handler has its reply, so nothing re-enters a
// handler. The thread looks at its queue at least every quarter second, so that Windows never
// takes its windows for ones that do not respond. False when the deadline came first.
bool waitPainting(HANDLE ended, DWORD deadline) {
  runtime::NotifyFunction notify = internetRuntimeNotify();
  if (notify) notify(runtime::kNotifyHandlerWaits, 0, 0);
  bool done = false;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE) ||
           PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
      DispatchMessageW(&message);
    }
    // The look Windows watches for: a peek at the queue, which leaves what is there.
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    const auto left = static_cast<LONG>(deadline - GetTickCount());
    if (left <= 0) break;
    // Woken by painting or a timer already in the queue too: one that came during the looks
    // above counts as seen, and would otherwise wait for the reply.
    const DWORD woken = MsgWaitForMultipleObjectsEx(
        1, &ended, std::min(static_cast<DWORD>(left), kQueueLookInterval),
        QS_PAINT | QS_TIMER | QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) {
      done = true;
      break;
    }
    if (woken != WAIT_OBJECT_0 + 1 && woken != WAIT_TIMEOUT) break;
  }
  if (notify) notify(runtime::kNotifyHandlerGoesOn, 0, 0);
  return done;
}

}  // namespace

bool fetch(const char* url, DWORD deadline, ExchangeWatch& watch, ByteBuffer& body) {
  UrlParts parts;
  if (!parseUrl(url, parts)) return false;
  const DWORD flags = parts.secure ? kRequestFlags | INTERNET_FLAG_SECURE : kRequestFlags;
  HINTERNET session = internetSession();
  if (session == nullptr) return false;
  HINTERNET connection =
      InternetConnectA(session, parts.host.c_str(), parts.port, parts.userName.c_str(),
                       parts.password.c_str(), INTERNET_SERVICE_HTTP, 0, 0);
  if (connection == nullptr) return false;
  const std::string object = parts.path.substr(0, parts.path.find('#'));
  const char* acceptTypes[] = {kAcceptType, nullptr};
  HINTERNET request = HttpOpenRequestA(connection, "GET", object.c_str(), "HTTP/1.0", nullptr,
                                       acceptTypes, flags, 0);
  bool whole = false;
  if (request != nullptr && watch.watch(request)) {
    whole = sendRequest(request, deadline, watch) && readBody(request, deadline, watch, body);
    watch.closeRequest();
  }
  InternetCloseHandle(connection);
  return whole;
}

void httpRead(runtime::ResultRecord* result, int32_t argCount, const runtime::ArgRecord* args) {
  const char* url = argCount >= 1 && args[0].given() ? args[0].value.asText() : nullptr;
  if (url == nullptr || url[0] == '\0') return;  // the empty byte set
  HeldExchange exchange = startExchange(url);
  if (!exchange) return;
  if (!waitPainting(exchange->ended, exchange->deadline)) {
    exchange->watch.giveUp();
    return;
  }
  if (!exchange->whole) return;
  const ByteBuffer& body = exchange->body;
  result->value.setPointer(
      runtime::byteSetFromBytes(body.data(), static_cast<int32_t>(body.length())));
}

}  // namespace velmora::net
