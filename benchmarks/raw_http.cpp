#include "benchmarks/raw_http.h"

#include "net/win32/http_request_form.h"

namespace velmora {
namespace {

using net::kAcceptType;
using net::kAdditionalHeaders;
using net::kRequestFlags;
using net::kUserAgent;

constexpr DWORD kReadChunk = 65536;

bool readWhole(HINTERNET request, std::string& body) {
  std::string chunk(kReadChunk, '\0');
  for (;;) {
    DWORD read = 0;
    if (!InternetReadFile(request, chunk.data(), kReadChunk, &read)) return false;
    if (read == 0) return true;
    body.append(chunk.data(), read);
  }
}

}  // namespace

HINTERNET openRawInternet() {
  return InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
}

bool rawGet(HINTERNET root, const char* host, INTERNET_PORT port, const char* path,
            std::string& body) {
  HINTERNET connection =
      InternetConnectA(root, host, port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  if (connection == nullptr) return false;
  const char* acceptTypes[] = {kAcceptType, nullptr};
  HINTERNET request =
      HttpOpenRequestA(connection, "GET", path, "HTTP/1.0", nullptr, acceptTypes, kRequestFlags, 0);
  const bool whole =
      request != nullptr &&
      HttpSendRequestA(request, kAdditionalHeaders, sizeof kAdditionalHeaders - 1, nullptr, 0) &&
      readWhole(request, body);
  if (request != nullptr) InternetCloseHandle(request);
  InternetCloseHandle(connection);
  return whole;
}

}  // namespace velmora
