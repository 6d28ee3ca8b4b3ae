// The real velmora-service program on a loopback port, for the tests that talk to it over HTTP.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>
#include <vector>

namespace velmora::testing {

// Longer than any stop or reply of a working service takes: a service that takes longer has
// stopped working, and the test goes on without it.
inline constexpr int kStopPatienceSeconds = 10;
inline constexpr int kReplyPatienceSeconds = 10;

// One running service; stopped with SIGTERM at the end.
class ServiceProcess {
 public:
  // `options` are further command-line options. An empty `log` leaves the log on standard error,
  // which is the descriptor `errorOutput` when given, else the tests' own.
  ServiceProcess(const std::string& database, const std::string& log, const std::string& port = "0",
                 const std::vector<std::string>& options = {}, int errorOutput = -1);
  ~ServiceProcess();
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;

  // The exit status after SIGTERM. A service still running kStopPatienceSeconds later is killed
  // with SIGKILL, and its status tells so.
  int stop();

  pid_t pid() const { return pid_; }
  int port() const { return port_; }
  // The first line the service printed: "listening on …", or what it printed before.
  const std::string& firstLine() const { return firstLine_; }

  // A new connection to the service from the loopback address `from` (a socket descriptor, -1
  // when refused), for the caller to close.
  int connect(const char* from = "127.0.0.1") const { return connectTo(port_, from); }

  // Sends `request` as it stands and returns everything the service sent back (what came within
  // kReplyPatienceSeconds of silence), or nothing when `awaitReply` is false and the connection is
  // closed at once.
  std::string exchange(const std::string& request, bool awaitReply = true,
                       const char* from = "127.0.0.1") const {
    return exchangeWith(port_, request, awaitReply, from);
  }

  // The body of the reply to a GET of `target`, sent like the client's requests, from the loopback
  // address `from`.
  std::string get(const std::string& target, const char* from = "127.0.0.1") const {
    return getFrom(port_, target, from);
  }

  // The same for whatever listens on 127.0.0.1:`port`, such as a proxy in front of services.
  static int connectTo(int port, const char* from = "127.0.0.1");
  static std::string exchangeWith(int port, const std::string& request, bool awaitReply = true,
                                  const char* from = "127.0.0.1");
  static std::string getFrom(int port, const std::string& target, const char* from = "127.0.0.1");

 private:
  pid_t pid_ = 0;
  FILE* output_ = nullptr;
  std::string firstLine_;
  int port_ = 0;
};

}  // namespace velmora::testing
