// A small HTTP peer on 127.0.0.1 for the tests of the HTTP read command: it records each request
// it receives and answers with the response the test gives it, each connection on a thread of its
// own.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmora::testing {

// How a response goes out: all at once, or from byte trickleFrom on one byte per interval, until
// the client goes away or the server ends.
struct Pacing {
  size_t trickleFrom = std::string::npos;
  unsigned intervalMilliseconds = 0;
};

class LoopbackServer {
 public:
  // respond gets the request text (head only) and returns the raw response bytes.
  explicit LoopbackServer(std::function<std::string(const std::string& request)> respond,
                          Pacing pacing = {});
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  unsigned short port() const { return port_; }
  std::string url(const std::string& pathAndQuery) const;
  std::vector<std::string> requests() const;

  // A port on which nothing listens.
  static unsigned short closedPort();

 private:
  void serve();
  void answer(SOCKET client);

  std::function<std::string(const std::string&)> respond_;
  Pacing pacing_;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::atomic<bool> ending_ = false;
  std::thread thread_;
  std::vector<std::thread> answering_;  // touched by the serving thread alone until it has ended
};

}  // namespace velmora::testing
