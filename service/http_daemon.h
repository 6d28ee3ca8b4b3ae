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
// Connections open at once; more are closed as soon as they come.
inline constexpr unsigned kConnectionLimit = 512;
// A connection that sends nothing for this long is closed.
inline constexpr unsigned kIdleTimeoutSeconds = 10;
// Threads that wait on the connections, each for its share of them, so a slow client holds up
// no one.
inline constexpr unsigned kNetworkThreads = 4;

// What the server answers with; it must outlive the server.
struct RequestServing {
  RequestAnswerer& answerer;
  RequestLog& log;
};

// Stops the server: closes every connection, once a request being answered is finished.
struct HttpDaemonStop {
  void operator()(MHD_Daemon* daemon) const;
};
using HttpDaemon = std::unique_ptr<MHD_Daemon, HttpDaemonStop>;

// Serves on `listeningSocket`, which the server owns from then on, over HTTPS with `tls` when
// given. Throws std::runtime_error when the server cannot start.
HttpDaemon startHttpDaemon(int listeningSocket, const std::optional<TlsCredentials>& tls,
                           RequestServing& serving);

}  // namespace velmora::service
