#include "service/server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <thread>
#include <tuple>

#include "service/database.h"
#include "service/http_daemon.h"
#include "service/number_desk.h"
#include "service/numbers/provider_poller.h"
#include "service/numbers/upstream_sale.h"
#include "service/request_answer.h"
#include "service/request_log.h"
#include "service/store/store_pool.h"
#include "service/tls_credentials.h"

namespace velmora::service {

namespace {

constexpr std::string_view kHost = "127.0.0.1";
// How long the orderly stop after SIGINT or SIGTERM may take before the process just ends.
constexpr std::chrono::seconds kStopGrace{3};
// How long the process, ending at once, gives its last word to get out.
constexpr std::chrono::milliseconds kLastWordGrace{100};

sigset_t stopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

struct Listener {
  int socket = -1;
  int port = 0;
};

// A socket listening on 127.0.0.1:port, any free port for 0. It does not share the port with
// another listener: a second service on the same port fails instead of taking half of the
// requests.
std::optional<Listener> listenOnLoopback(int port) {
  const int listening = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listening < 0) return std::nullopt;
  const int yes = 1;
  setsockopt(listening, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listening, SOMAXCONN) != 0 ||
      getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(listening);
    return std::nullopt;
  }
  return Listener{listening, ntohs(address.sin_port)};
}

NumberTimes numberTimes(const Options& options) {
  return {std::chrono::seconds(options.smsDelaySeconds),
          std::chrono::seconds(options.numberExpirySeconds)};
}

std::optional<TlsCredentials> tlsCredentials(const Options& options) {
  if (options.tlsCertificatePath.empty()) return std::nullopt;
  return readTlsCredentials(options.tlsCertificatePath, options.tlsKeyPath);
}

// The provider the options name, its address, key and projects read (not asked yet); none for the
// simulation.
std::optional<UpstreamSale> openSale(const Options& options) {
  if (options.upstreamUrl.empty()) return std::nullopt;
  return openUpstream(options);
}

std::optional<Upstream> upstreamOf(const std::optional<UpstreamSale>& sale, RequestLog& log) {
  if (!sale) return std::nullopt;
  return Upstream{*sale->provider, sale->catalogue,
                  [&log](std::string_view line) { log.write("upstream: " + std::string(line)); }};
}

// Waits for one of `signals` until `deadline`. Interruptions (a debugger, a sanitizer's leak
// check stopping every thread) do not end the wait.
void waitForSignalUntil(const sigset_t& signals, std::chrono::steady_clock::time_point deadline) {
  using namespace std::chrono;
  for (auto left = deadline - steady_clock::now(); left > 0s;
       left = deadline - steady_clock::now()) {
    const auto seconds = duration_cast<std::chrono::seconds>(left);
    const timespec wait{seconds.count(), duration_cast<nanoseconds>(left - seconds).count()};
    if (sigtimedwait(&signals, nullptr, &wait) >= 0 || errno != EINTR) return;
  }
}

// From the first stop signal on, a second one, or a stop that outlasts its grace, ends the
// process at once, whatever its clients, threads and standard error are doing: the note that
// says so is written by a thread of its own, which a pipe nobody reads may hold up forever.
void endAtASecondSignal(const sigset_t& signals) {
  const auto deadline = std::chrono::steady_clock::now() + kStopGrace;
  std::thread([signals, deadline] {
    waitForSignalUntil(signals, deadline);
    std::thread([] {
      static constexpr std::string_view kNote =
          "velmora-service: stopped before the requests in progress were answered\n";
      std::ignore = write(STDERR_FILENO, kNote.data(), kNote.size());
    }).detach();
    std::this_thread::sleep_for(kLastWordGrace);
    std::_Exit(1);
  }).detach();
}

}  // namespace

int runService(const Options& options) {
  // The files the service makes hold password hashes and what clients sent: its owner's alone.
  umask(S_IRWXG | S_IRWXO);
  // A log or standard error whose reader went away, or a file over its size limit, fails its
  // write instead of ending the process.
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
  // Every thread inherits the blocked signals; the main thread waits for them.
  const sigset_t signals = stopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  // Whatever can stop the start is checked before the database is made or the provider asked.
  const std::optional<TlsCredentials> tls = tlsCredentials(options);
  const std::optional<UpstreamSale> sale = openSale(options);
  RequestLog log(options.logPath);
  const std::optional<Listener> listener = listenOnLoopback(options.port);
  if (!listener) {
    std::fprintf(stderr, "velmora-service: cannot listen on %s:%d\n", kHost.data(), options.port);
    return 1;
  }
  if (sale) std::printf("upstream balance: %s\n", upstreamBalance(*sale->provider).c_str());

  StorePool stores(options.databasePath);
  NumberOffice office(numberTimes(options), systemTime, hashMatches, upstreamOf(sale, log));
  std::optional<Database> pollerStore;
  std::optional<ProviderPoller> poller;
  if (sale) {
    poller.emplace(pollerStore.emplace(options.databasePath), office, *sale->provider,
                   std::chrono::seconds(options.upstreamPollSeconds));
  }
  RequestAnswerer answerer(stores, office);
  RequestServing serving{answerer, log};
  const HttpDaemon daemon(listener->socket, tls,
                          static_cast<unsigned>(options.connectionsPerAddress), serving);
  std::printf("listening on %s:%d\n", kHost.data(), listener->port);
  std::fflush(stdout);

  int signal = 0;
  sigwait(&signals, &signal);
  endAtASecondSignal(signals);
  return 0;  // the daemon stops first, then the poller, then the store closes
}

}  // namespace velmora::service
