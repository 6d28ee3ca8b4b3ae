// The service's HTTP(S) layer: reads requests within fixed bounds of memory and time, hands each
// GET's target to the answerer and sends its reply back.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "service/request_answer.h"
#include "service/request_log.h"
#include "service/tls_credentials.h"

struct MHD_Daemon;

namespace velmora::service {

// The longest request target and header lines read; longer ones are answered 414 and 431.
inline constexpr size_t kMaxTargetBytes = 4 * 1024;
inline constexpr size_t kMaxHeaderBytes = 8 * 1024;
// What one connection may hold at once: its request line and header lines, and the head of its
// reply. A request that does not fit gets 414 or 431 from the HTTP library, or, when it nearly
// fits, its connection closed.
inline constexpr size_t kConnectionMemoryBytes = 16 * 1024;
// Connections open at once; more wait to be taken. One client address may hold only a share of
// them, which the service's options set.
inline constexpr unsigned kConnectionLimit = 512;
// A connection that sends nothing for this long is closed.
inline constexpr unsigned kIdleTimeoutSeconds = 10;
// A connection whose request head (over HTTPS, the handshake too) is not in this long after it
// opened is closed, however steadily its bytes come.
inline constexpr unsigned kHeadTimeoutSeconds = 10;
// Threads that wait on the connections, each for its share of them, so a slow client holds up
// no one.
inline constexpr unsigned kNetworkThreads = 4;

// What the server answers with; it must outlive the server.
struct RequestServing {
  RequestAnswerer& answerer;
  RequestLog& log;
};

// The HTTP(S) server. Its end stops it: closes every connection, once a request being answered is
// finished.
class HttpDaemon {
 public:
  // Serves on `listeningSocket`, which the server owns from then on, over HTTPS with `tls` when
  // given, with at most `connectionsPerAddress` connections open at once from one client address.
  // Throws std::runtime_error when the server cannot start.
  HttpDaemon(int listeningSocket, const std::optional<TlsCredentials>& tls,
             unsigned connectionsPerAddress, RequestServing& serving);
  ~HttpDaemon();
  HttpDaemon(const HttpDaemon&) = delete;
  HttpDaemon& operator=(const HttpDaemon&) = delete;

  // What the HTTP library's calls reach.
  struct Calls;

 private:
  std::unique_ptr<Calls> calls_;  // outlives the library's server, which calls into it to its end
  MHD_Daemon* daemon_ = nullptr;
};

}  // namespace velmora::service
