// The internet library's session on WinINet.
#include "net/win32/internet_session.h"

#include <algorithm>

#include "net/win32/http_request_form.h"

namespace velmora::net {
namespace {

// A service that accepts and then stalls must not hold a request for long: 15 seconds for each
// step.
constexpr DWORD kLongestWait = 15000;

void setWaits(HINTERNET handle, DWORD milliseconds) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionA(handle, option, &milliseconds, sizeof milliseconds);
  }
}

// Requests go through the proxy the system is configured with (or directly when it names none).
// By WinINet's documentation a root opened with INTERNET_OPEN_TYPE_PRECONFIG would do the same,
// but under Wine such a root also sends loopback requests through a proxy that the environment or
// the registry names, where this record leaves them direct; the demo service is on loopback. The
// result of setting it does not matter (Wine refuses it).
void usePreconfiguredProxy(HINTERNET root) {
  INTERNET_PROXY_INFO proxyInfo{};
  proxyInfo.dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
  InternetSetOptionA(root, INTERNET_OPTION_PROXY, &proxyInfo, sizeof proxyInfo);
}

class SessionRoot {
 public:
  ~SessionRoot() {
    if (root_) InternetCloseHandle(root_);
  }

  HINTERNET get() {
    if (root_ == nullptr) root_ = openInternetSession();
    return root_;
  }

 private:
  HINTERNET root_ = nullptr;
};

SessionRoot sessionRoot;

}  // namespace

HINTERNET openInternetSession() {
  HINTERNET root = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (root == nullptr) return nullptr;
  usePreconfiguredProxy(root);
  // Handles inherit the root's waits on Windows. The number of connection attempts stays the
  // platform's: it counts the service's addresses, and one would try only the first (::1 for
  // localhost, though the service may listen on 127.0.0.1 alone).
  setWaits(root, kLongestWait);
  return root;
}

HINTERNET internetSession() {
  return sessionRoot.get();
}

void limitWaits(HINTERNET handle, DWORD deadline) {
  const auto left = static_cast<LONG>(deadline - GetTickCount());
  setWaits(handle, static_cast<DWORD>(std::clamp<LONG>(left, 1, kLongestWait)));
}

}  // namespace velmora::net
