// What an account's SMS poll costs the demo service beside a plain request: the real service on a
// loopback port, asked over HTTP by several client threads at once, each request on a connection
// of its own as the client's HTTP layer makes them. The poll is getsms.php for a number the demo
// account holds, whose SMS does not come during the run (each poll answers "0", as while a
// client waits); the plain request is getkf.php, which reads one setting.
//
// The same poll is measured again on a second service that resells the numbers of a provider
// (the tests' fake provider, in this process): the number comes from the provider, which keeps
// its SMS back, and the service's own poller asks for it every second while the clients poll.
// A client's poll must cost no provider request: the provider's requests are counted around
// each run, and one beyond the poller's fails it.
//
// With VELMORA_TEST_POSTGRES_URI set (tests/service/postgres_cluster.sh prints one), the poll and
// the plain request are measured again on a service whose store is a fresh schema of that
// PostgreSQL database; with nginx installed too, the poll is measured through the sample nginx
// configuration in front of one service process and in front of two on that database.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "benchmarks/ratio_report.h"
#include "tests/service/fake_provider.h"
#include "tests/service/scratch_store.h"
#include "tests/service/service_process.h"
#include "tests/service/service_test_support.h"
#include "tests/support/gbk.h"

namespace velmora {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClients = 4;
constexpr int kProviderPollSeconds = 1;

// Stops `process`, which the static being made would otherwise leave running, and the program.
[[noreturn]] void giveUp(testing::ServiceProcess& process, const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  process.stop();
  std::exit(1);
}

// A service on a fresh store whose numbers do not end during the run, and the getsms.php target
// of the number it gave the demo account. `options` tell where its numbers come from.
struct RunningService {
  service::ScratchStore store;
  testing::TemporaryFolder folder;
  testing::ServiceProcess process;
  std::string poll;

  explicit RunningService(std::vector<std::string> options,
                          service::StoreKind kind = service::StoreKind::kSqlite)
      : store(kind),
        process(store.location(), folder.path("requests.log"), "0",
                withExpiry(std::move(options))) {
    if (process.port() == 0) giveUp(process, "the service did not start");
    const std::string account = "username=demo&password=demo123";
    const std::string given =
        process.get("/E/qx/getnum.php?" + account +
                    "&xm=" + testing::percentEncoded(testing::gbk(u8"微信")) + "&dq=&yys=");
    if (!given.starts_with("1,")) giveUp(process, "the service gave no number: " + given);
    poll = "/E/qx/getsms.php?" + account + "&hm=" + given.substr(2, given.find(',', 2) - 2);
  }

  static std::vector<std::string> withExpiry(std::vector<std::string> options) {
    options.insert(options.end(), {"--number-expiry", "86400"});
    return options;
  }
};

const RunningService& service() {
  static const RunningService running({"--sms-delay", "86400"});
  return running;
}

const RunningService& postgresService() {
  static const RunningService running({"--sms-delay", "86400"}, service::StoreKind::kPostgres);
  return running;
}

// `text` in a new file of `folder` that only its owner may read, as the service asks of a key.
std::string privateFile(const testing::TemporaryFolder& folder, const char* name,
                        const std::string& text) {
  const std::filesystem::path path = folder.path(name);
  std::ofstream(path) << text;
  std::filesystem::permissions(
      path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  return path.string();
}

// The options that make a service resell `provider`'s numbers, its files written in `folder`.
std::vector<std::string> upstreamOptions(const testing::FakeProvider& provider,
                                         const testing::TemporaryFolder& folder) {
  const std::string key = privateFile(folder, "key", testing::FakeProviderSettings{}.key + "\n");
  const std::string projects = privateFile(
      folder, "projects.json",
      R"({"projects": [{"name": "微信", "service": "wx", "country": 3, "price": "1.20"}]})");
  return {"--upstream",          provider.url(),
          "--upstream-key-file", key,
          "--upstream-projects", projects,
          "--upstream-poll",     std::to_string(kProviderPollSeconds)};
}

// A provider that keeps every SMS back, and a service that resells its numbers, once its poller
// has asked the provider about the demo account's number.
struct ProviderService {
  testing::FakeProvider provider{{.smsDelay = std::chrono::days(1)}};
  testing::TemporaryFolder files;
  RunningService service{upstreamOptions(provider, files)};

  ProviderService() {
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
    while (provider.count("getStatus") == 0 && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (provider.count("getStatus") == 0) {
      giveUp(service.process, "the service's poller never asked the provider");
    }
  }
};

const ProviderService& providerService() {
  static const ProviderService running;
  return running;
}

// nginx with the sample configuration in front of `processes` service processes on a fresh
// schema of the tests' PostgreSQL database, whose numbers do not end during the run.
// tests/service/load_balancer_test.py --serve starts them, gets the demo account a number and
// keeps everything up until its standard input closes; then it stops them and drops the schema.
class NginxFront {
 public:
  explicit NginxFront(int processes) : processes_(processes) {
    int input[2];
    int output[2];
    // Close-on-exec, so that no other process started later holds the script's input open.
    if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) fail("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    std::vector<std::string> arguments{
        VELMORA_PYTHON, VELMORA_LOAD_BALANCER_SCRIPT, "--sample", VELMORA_NGINX_SAMPLE,
        "--service",    VELMORA_SERVICE_PROGRAM,      "--folder", folder_.path("").string(),
        "--serve",      std::to_string(processes)};
    pid_ = testing::startProgram(std::move(arguments), actions);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    input_ = input[1];
    if (pid_ == 0) fail("cannot start " VELMORA_LOAD_BALANCER_SCRIPT);
    // "PORT TARGET"
    FILE* served = fdopen(output[0], "r");
    char line[512] = {};
    const bool read = std::fgets(line, sizeof line, served) != nullptr;
    std::fclose(served);
    const std::string text = line;
    const size_t space = text.find(' ');
    port_ = read && space != std::string::npos ? std::atoi(text.c_str()) : 0;
    if (port_ <= 0) fail("nginx in front of the service did not start: " + text);
    poll_ = text.substr(space + 1, text.find_last_not_of("\r\n") - space);
  }

  // Closes the script's input and waits for its clean-up.
  ~NginxFront() {
    close(input_);
    if (pid_ <= 0) return;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(60);
    while (waitpid(pid_, nullptr, WNOHANG) == 0) {
      if (Clock::now() > deadline) {
        kill(pid_, SIGTERM);  // the script cleans up on it too
        waitpid(pid_, nullptr, 0);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  NginxFront(const NginxFront&) = delete;
  NginxFront& operator=(const NginxFront&) = delete;

  int processes() const { return processes_; }
  int port() const { return port_; }
  const std::string& poll() const { return poll_; }

 private:
  [[noreturn]] static void fail(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::exit(1);
  }

  testing::TemporaryFolder folder_;  // the script's record of what it started
  int processes_;
  pid_t pid_ = 0;
  int input_ = -1;
  int port_ = 0;
  std::string poll_;
};

std::unique_ptr<NginxFront>& nginxFront() {
  static std::unique_ptr<NginxFront> front;
  return front;
}

// Before each run: nginx in front of as many processes as the run names, any other front stopped
// first, so that one deployment at a time shares the machine with the clients.
void serveNginx(const benchmark::State& state) {
  std::unique_ptr<NginxFront>& front = nginxFront();
  const int processes = static_cast<int>(state.range(0));
  if (front && front->processes() == processes) return;
  front.reset();
  front = std::make_unique<NginxFront>(processes);
}

bool nginxInstalled() {
  return testing::runCommand("command -v nginx").status == 0;
}

void expectReply(benchmark::State& state, const std::string& reply, std::string_view expected) {
  if (reply != expected) state.SkipWithError(("unexpected reply: " + reply).c_str());
}

template <const RunningService& (*running)()>
void plainRequest(benchmark::State& state) {
  const RunningService& started = running();
  for (auto _ : state) expectReply(state, started.process.get("/E/qx/getkf.php"), "@velmora_kf");
}
BENCHMARK(plainRequest<service>)->Name("plainRequest")->Threads(kClients)->UseRealTime();

template <const RunningService& (*running)()>
void smsPoll(benchmark::State& state) {
  const RunningService& started = running();
  for (auto _ : state) expectReply(state, started.process.get(started.poll), "0");
}
BENCHMARK(smsPoll<service>)->Name("smsPoll")->Threads(kClients)->UseRealTime();

// The poll of a number from the provider. Over a run the provider may only have been asked the
// number's status by the service's poller, once a poll interval at most: `getStatus` is that rate
// a second, `providerOther` the provider's other requests (none).
void providerSmsPoll(benchmark::State& state) {
  const ProviderService& resold = providerService();
  const testing::FakeProvider& provider = resold.provider;
  const size_t statusBefore = provider.count("getStatus");
  const size_t requestsBefore = provider.requests().size();
  const Clock::time_point start = Clock::now();
  for (auto _ : state) expectReply(state, resold.service.process.get(resold.service.poll), "0");
  if (state.thread_index() != 0) return;
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const size_t status = provider.count("getStatus") - statusBefore;
  const size_t other = provider.requests().size() - requestsBefore - status;
  state.counters["getStatus"] =
      benchmark::Counter(static_cast<double>(status), benchmark::Counter::kIsRate);
  state.counters["providerOther"] = static_cast<double>(other);
  if (other > 0 || static_cast<double>(status) > seconds / kProviderPollSeconds + 1) {
    state.SkipWithError(("the polls cost provider requests: " + std::to_string(status) +
                         " statuses and " + std::to_string(other) + " other requests in " +
                         std::to_string(seconds) + " s")
                            .c_str());
  }
}
BENCHMARK(providerSmsPoll)->Threads(kClients)->UseRealTime();

// The poll through nginx; items_per_second is the requests answered a second over the clients.
void smsPollNginx(benchmark::State& state) {
  const NginxFront& front = *nginxFront();
  for (auto _ : state) {
    expectReply(state, testing::ServiceProcess::getFrom(front.port(), front.poll()), "0");
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  using namespace velmora;
  if (std::getenv("VELMORA_TEST_POSTGRES_URI") != nullptr) {
    benchmark::RegisterBenchmark("plainRequestPostgres", plainRequest<postgresService>)
        ->Threads(kClients)
        ->UseRealTime();
    benchmark::RegisterBenchmark("smsPollPostgres", smsPoll<postgresService>)
        ->Threads(kClients)
        ->UseRealTime();
    if (nginxInstalled()) {
      benchmark::RegisterBenchmark("smsPollNginx", smsPollNginx)
          ->ArgName("processes")
          ->Arg(1)
          ->Arg(2)
          ->Setup(serveNginx)
          ->Threads(kClients)
          ->UseRealTime();
    }
  }
  // Each poll's rate over the plain request's: the plain request's time over the poll's; and the
  // rate through nginx onto two processes over that onto one.
  const RatioPair pairs[] = {
      {"plainRequest", "smsPoll", "poll/plain"},
      {"plainRequest", "providerSmsPoll", "poll/plain (provider)"},
      {"plainRequestPostgres", "smsPollPostgres", "poll/plain (PostgreSQL)"},
      {"smsPollNginx/processes:1", "smsPollNginx/processes:2", "nginx two processes / one"},
  };
  return runWithRatios(argc, argv, pairs);
}
