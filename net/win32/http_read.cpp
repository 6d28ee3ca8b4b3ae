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
#include "runtime/program_routine.h"
#include "runtime/value_blocks.h"

namespace velmora {
namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kAcceptType[] = "Accept: */* \r\n";
constexpr char kAdditionalHeaders[] = "Accept: */*\r\n\r\n";
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
constexpr DWORD kCanonicalBufferSize = 2084;
constexpr DWORD kTimeoutMilliseconds = 15000;
constexpr DWORD kDefaultChunkSize = 10240;
constexpr DWORD kLargestChunkSize = 102400;
// A runaway reply must not end the program with an allocation error: bodies above 16 MiB give
// nothing.
constexpr size_t kLargestBody = 16u << 20;

// A service that accepts and then stalls must not freeze the window for long: one connection
// attempt, and 15 seconds for each step. Handles inherit the root's settings on Windows; some
// implementations read them from the request handle only.
void setTimeouts(HINTERNET handle) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    DWORD timeout = kTimeoutMilliseconds;
    InternetSetOptionA(handle, option, &timeout, sizeof timeout);
  }
  DWORD retries = 1;
  InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
}

// The library's process-wide state: the root handle, opened on first use and kept until exit,
// and the proxy settings, which nothing in this program sets.
class InternetState {
 public:
  ~InternetState() {
    if (root_) InternetCloseHandle(root_);
  }

  HINTERNET root() {
    if (root_ == nullptr) open();
    return root_;
  }
  HINTERNET opened() const { return root_; }
  const std::string& proxy() const { return proxy_; }
  const std::string& proxyUserName() const { return proxyUserName_; }
  const std::string& proxyPassword() const { return proxyPassword_; }

 private:
  void open() {
    root_ = proxy_.empty()
                ? InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)
                : InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PROXY, proxy_.c_str(), nullptr, 0);
    if (root_ != nullptr) setTimeouts(root_);
  }

  HINTERNET root_ = nullptr;
  std::string proxy_;
  std::string proxyUserName_;
  std::string proxyPassword_;
};

InternetState internetState;

struct UrlParts {
  std::string host;
  std::string path;  // with the query and any fragment
  std::string userName;
  std::string password;
  INTERNET_PORT port = 0;
  DWORD service = 0;
  bool secure = false;
};

// The URL as the platform writes it, with nothing percent-encoded.
bool canonicalise(const char* url, std::string& canonical) {
  DWORD size = kCanonicalBufferSize;
  canonical.assign(size, '\0');
  if (!InternetCanonicalizeUrlA(url, canonical.data(), &size, ICU_NO_ENCODE)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    canonical.assign(size, '\0');
    if (!InternetCanonicalizeUrlA(url, canonical.data(), &size, ICU_NO_ENCODE)) return false;
  }
  canonical.resize(size);
  return true;
}

DWORD serviceOf(INTERNET_SCHEME scheme) {
  switch (scheme) {
    case INTERNET_SCHEME_HTTP:
    case INTERNET_SCHEME_HTTPS:
      return INTERNET_SERVICE_HTTP;
    case INTERNET_SCHEME_FTP:
      return INTERNET_SERVICE_FTP;
    case INTERNET_SCHEME_GOPHER:
      return INTERNET_SERVICE_GOPHER;
    default:
      return 0;  // refused by the platform
  }
}

bool parseUrl(const char* url, UrlParts& parts) {
  std::string canonical;
  if (!canonicalise(url, canonical)) return false;
  std::vector<char> host(256), path(2048), userName(128), password(128);
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
  parts.host.assign(host.data(), components.dwHostNameLength);
  parts.path.assign(path.data(), components.dwUrlPathLength);
  parts.userName.assign(userName.data(), components.dwUserNameLength);
  parts.password.assign(password.data(), components.dwPasswordLength);
  parts.port = components.nPort;
  parts.service = serviceOf(components.nScheme);
  parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
  return true;
}

// The proxy record and the proxy credentials; their results do not matter.
void setProxyOptions(HINTERNET root, HINTERNET connection) {
  INTERNET_PROXY_INFO proxyInfo{};
  if (internetState.proxy().empty()) {
    proxyInfo.dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
  } else {
    proxyInfo.dwAccessType = INTERNET_OPEN_TYPE_PROXY;
    proxyInfo.lpszProxy = internetState.proxy().c_str();
  }
  InternetSetOptionA(root, INTERNET_OPTION_PROXY, &proxyInfo, sizeof proxyInfo);
  const std::string& userName = internetState.proxyUserName();
  const std::string& password = internetState.proxyPassword();
  InternetSetOptionA(connection, INTERNET_OPTION_PROXY_USERNAME,
                     const_cast<char*>(userName.c_str()), static_cast<DWORD>(userName.size() + 1));
  InternetSetOptionA(connection, INTERNET_OPTION_PROXY_PASSWORD,
                     const_cast<char*>(password.c_str()), static_cast<DWORD>(password.size() + 1));
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

// Reads the body to its end. False when the body is not whole: a read failed, the body ended
// before its announced length, it outgrew the largest body, or the exchange outlasted its
// deadline; a caller must not take such a body for the reply. Each read waits for a whole chunk
// (asking first what has arrived made a 1 MiB reply three times slower than the platform's own
// reading): a peer that trickles holds only this thread, as whoever waits for the exchange gives
// it up when its time is up.
bool readBody(HINTERNET request, DWORD deadline, ByteBuffer& body) {
  const DWORD announced = announcedLength(request);
  const DWORD size = chunkSize(announced);
  ByteBuffer chunk;
  if (!chunk.reserve(size)) return false;
  // Room for the announced body at once, rather than a larger block for every chunk.
  if (announced <= kLargestBody && !body.reserve(announced)) return false;
  for (;;) {
    DWORD read = 0;
    if (!InternetReadFile(request, chunk.data(), size, &read)) return false;
    if (read == 0) return body.length() >= announced;
    if (body.length() + read > kLargestBody || !body.append(chunk.data(), read)) return false;
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
  }
}

// Runs a handler's wait for its reply: the windows go on painting and their timers run, and
// messages other threads send are answered so that they never wait on this one, while keyboard
// and mouse input waits in the queue until the handler has its reply, so nothing re-enters a
// handler. False when the deadline came first.
bool waitPainting(HANDLE ended, DWORD deadline) {
  NotifyFunction notify = internetRuntimeNotify();
  if (notify) notify(kNotifyHandlerWaits, 0, 0);
  bool done = false;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE) ||
           PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
      DispatchMessageW(&message);
    }
    const auto left = static_cast<LONG>(deadline - GetTickCount());
    if (left <= 0) break;
    const DWORD woken = MsgWaitForMultipleObjects(1, &ended, FALSE, static_cast<DWORD>(left),
                                                  QS_PAINT | QS_TIMER | QS_SENDMESSAGE);
    if (woken == WAIT_OBJECT_0) {
      done = true;
      break;
    }
    if (woken != WAIT_OBJECT_0 + 1) break;
  }
  if (notify) notify(kNotifyHandlerGoesOn, 0, 0);
  return done;
}

}  // namespace

bool ExchangeWatch::watch(HINTERNET request) {
  EnterCriticalSection(&lock_);
  const bool givenUp = givenUp_;
  if (!givenUp) request_ = request;
  LeaveCriticalSection(&lock_);
  if (givenUp) InternetCloseHandle(request);
  return !givenUp;
}

void ExchangeWatch::closeRequest() {
  EnterCriticalSection(&lock_);
  HINTERNET request = request_;
  request_ = nullptr;
  LeaveCriticalSection(&lock_);
  if (request != nullptr) InternetCloseHandle(request);
}

void ExchangeWatch::giveUp() {
  EnterCriticalSection(&lock_);
  givenUp_ = true;
  HINTERNET request = request_;
  request_ = nullptr;
  LeaveCriticalSection(&lock_);
  if (request != nullptr) InternetCloseHandle(request);
}

bool openInternetRoot() {
  return internetState.root() != nullptr;
}

bool fetch(const char* url, ByteBuffer& body, ExchangeWatch* watch) {
  const DWORD deadline = GetTickCount() + kLongestRequest;
  UrlParts parts;
  if (!parseUrl(url, parts)) return false;
  const DWORD flags = parts.secure ? kRequestFlags | INTERNET_FLAG_SECURE : kRequestFlags;
  HINTERNET root = internetState.root();
  if (root == nullptr) return false;
  HINTERNET connection =
      InternetConnectA(root, parts.host.c_str(), parts.port, parts.userName.c_str(),
                       parts.password.c_str(), parts.service, 0, 0);
  if (connection == nullptr) return false;
  setProxyOptions(root, connection);
  const std::string object = parts.path.substr(0, parts.path.find('#'));
  const char* acceptTypes[] = {kAcceptType, nullptr};
  HINTERNET request = HttpOpenRequestA(connection, "GET", object.c_str(), "HTTP/1.0", nullptr,
                                       acceptTypes, flags, 0);
  bool whole = false;
  if (request != nullptr) {
    ExchangeWatch unwatched;
    if (watch == nullptr) watch = &unwatched;
    if (watch->watch(request)) {
      setTimeouts(request);
      whole = HttpSendRequestA(request, kAdditionalHeaders, sizeof kAdditionalHeaders - 1, nullptr,
                               0) &&
              readBody(request, deadline, body);
      watch->closeRequest();
    }
  }
  InternetCloseHandle(connection);
  return whole;
}

void* internetRootHandle() {
  return internetState.opened();
}

void httpRead(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  const char* url = argCount >= 1 && args[0].given() ? args[0].value.asText() : nullptr;
  if (url == nullptr || url[0] == '\0') return;  // the empty byte set
  const DWORD deadline = GetTickCount() + kLongestRequest;
  HeldExchange exchange = startExchange(url);
  if (!exchange) return;
  if (!waitPainting(exchange->ended, deadline)) {
    exchange->watch.giveUp();
    return;
  }
  if (!exchange->whole) return;
  const ByteBuffer& body = exchange->body;
  result->value.setPointer(byteSetFromBytes(body.data(), static_cast<int32_t>(body.length())));
}

}  // namespace velmora
