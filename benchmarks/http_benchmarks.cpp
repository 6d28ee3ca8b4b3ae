// The HTTP read command under Wine against plain WinINet doing the same GET, both against one
// in-process peer on loopback that answers every request with the same reply.
// clang-format off
#include <winsock2.h>  // before windows.h, for the loopback peer
#include <windows.h>
#include <wininet.h>
// clang-format on

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "benchmarks/ratio_report.h"
#include "benchmarks/raw_http.h"
#include "net/win32/http_read.h"
#include "runtime/entry_stubs.h"
#include "runtime/entry_table.h"
#include "runtime/memory.h"
#include "runtime/value_blocks.h"
#include "tests/net/win32/loopback_server.h"
#include "tests/support/program_windows.h"

namespace velmora::net {
namespace {

using testing::LoopbackServer;
using testing::startProgramRuntime;

// The internet library's place in the program's list of libraries; the entry passes it on
// unread.
constexpr int32_t kInternetLibrary = 2;

constexpr char kPath[] = "/E/qx/balance.php?user=demo";

// One peer per reply size for the whole run, answering with a body of that many bytes.
LoopbackServer& peerFor(size_t bodySize) {
  static std::vector<std::pair<size_t, std::unique_ptr<LoopbackServer>>> peers;
  for (auto& [size, peer] : peers) {
    if (size == bodySize) return *peer;
  }
  const std::string response = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(bodySize) +
                               "\r\n\r\n" + std::string(bodySize, '7');
  peers.emplace_back(bodySize, std::make_unique<LoopbackServer>(
                                   [response](const std::string&) { return response; }));
  return *peers.back().second;
}

// The program's HTTP read, called through the runtime entry table as the client calls it.
void httpReadCommand(benchmark::State& state, size_t bodySize) {
  startProgramRuntime();
  const std::string url = peerFor(bodySize).url(kPath);
  const runtime::ArgRecord argument = runtime::textArgument(url.c_str());
  for (auto _ : state) {
    const runtime::ResultRecord result = runtime::callCommandEntry(
        runtime::runtimeEntryTable.callLibraryCommand, httpRead, kInternetLibrary, {&argument, 1});
    void* body = result.value.asPointer();
    const bool whole =
        body != nullptr && runtime::byteSetLength(body) == static_cast<int32_t>(bodySize);
    runtime::freeBlock(body);
    if (!whole) return state.SkipWithError("the reply did not arrive whole");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bodySize));
}

// The same GET with plain WinINet on the caller's thread: one root handle for the run, then
// connect, open the request, send it, read the body and close.
void rawWinInetGet(benchmark::State& state, size_t bodySize) {
  const unsigned short port = peerFor(bodySize).port();
  static HINTERNET root = openRawInternet();
  for (auto _ : state) {
    std::string body;
    if (!rawGet(root, "127.0.0.1", port, kPath, body) || body.size() != bodySize)
      return state.SkipWithError("the reply did not arrive whole");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bodySize));
}

constexpr size_t kSmallReply = 200;
constexpr size_t kLargeReply = 1 << 20;

const bool httpBenchmarks = [] {
  for (auto [name, size] : {std::pair{"loopback", kSmallReply}, std::pair{"1MiB", kLargeReply}}) {
    benchmark::RegisterBenchmark((std::string("httpRead/") + name).c_str(), httpReadCommand, size)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("rawWinInetGet/") + name).c_str(), rawWinInetGet,
                                 size)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

constexpr RatioPair kPairs[] = {
    {"httpRead/loopback", "rawWinInetGet/loopback"},
    {"httpRead/1MiB", "rawWinInetGet/1MiB"},
};

}  // namespace
}  // namespace velmora::net

int main(int argc, char** argv) {
  return velmora::runWithRatios(argc, argv, velmora::net::kPairs);
}
