// What an account's SMS poll costs the demo service beside a plain request: the real service on a
// loopback port, asked over HTTP by several client threads at once, each request on a connection
// of its own as the client's HTTP layer makes them. The poll is getsms.php for a number the demo
// account holds, whose SMS does not come during the run (each poll answers "0", as while a
// client waits); the plain request is getkf.php, which reads one setting.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "benchmarks/ratio_report.h"
#include "tests/service/service_process.h"
#include "tests/service/service_test_support.h"
#include "tests/support/gbk.h"

namespace velmora {
namespace {

constexpr int kClients = 4;

// One service for the whole run, started at the first benchmark, stopped at the program's end.
struct RunningService {
  testing::TemporaryFolder folder;
  testing::ServiceProcess process{folder.path("service.db"),
                                  folder.path("requests.log"),
                                  "0",
                                  {"--sms-delay", "86400", "--number-expiry", "86400"}};
  std::string poll;

  RunningService() {
    const std::string account = "username=demo&password=demo123";
    const std::string given =
        process.get("/E/qx/getnum.php?" + account +
                    "&xm=" + testing::percentEncoded(testing::gbk(u8"微信")) + "&dq=&yys=");
    if (!given.starts_with("1,")) {
      std::fprintf(stderr, "the service gave no number: %s\n", given.c_str());
      std::exit(1);
    }
    poll = "/E/qx/getsms.php?" + account + "&hm=" + given.substr(2, 11);
  }
};

const RunningService& service() {
  static const RunningService running;
  return running;
}

void expectReply(benchmark::State& state, const std::string& reply, std::string_view expected) {
  if (reply != expected) state.SkipWithError(("unexpected reply: " + reply).c_str());
}

void plainRequest(benchmark::State& state) {
  const RunningService& running = service();
  for (auto _ : state) expectReply(state, running.process.get("/E/qx/getkf.php"), "@velmora_kf");
}
BENCHMARK(plainRequest)->Threads(kClients)->UseRealTime();

void smsPoll(benchmark::State& state) {
  const RunningService& running = service();
  for (auto _ : state) expectReply(state, running.process.get(running.poll), "0");
}
BENCHMARK(smsPoll)->Threads(kClients)->UseRealTime();

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  // The poll's rate over the plain request's: the plain request's time over the poll's.
  const velmora::RatioPair pairs[] = {{"plainRequest", "smsPoll", "poll/plain"}};
  return velmora::runWithRatios(argc, argv, pairs);
}
