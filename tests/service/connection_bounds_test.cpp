// The real service under hostile clients: floods, oversized requests, clients that trickle bytes
// and a stop in the middle of them. Peak memory is the process's own (VmHWM).
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "service/http_daemon.h"
#include "tests/service/service_process.h"
#include "tests/service/service_test_support.h"

namespace velmora::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr size_t kMegabyte = 1 << 20;

// The most memory the process has held, in bytes.
size_t peakMemory(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stoul(line.substr(6)) * 1024;
  }
  ADD_FAILURE() << "no VmHWM for " << pid;
  return 0;
}

// Sends `head`, then `unit` until `total` bytes are sent or the service stops taking them, and
// returns the status line of what came back.
std::string flood(const ServiceProcess& service, const std::string& head, const std::string& unit,
                  size_t total) {
  const int connection = service.connect();
  const timeval patience{5, 0};  // a service that neither reads nor closes fails the send
  setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
  setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
  bool sending = send(connection, head.data(), head.size(), MSG_NOSIGNAL) > 0;
  for (size_t sent = 0; sending && sent < total; sent += unit.size()) {
    sending = send(connection, unit.data(), unit.size(), MSG_NOSIGNAL) ==
              static_cast<ssize_t>(unit.size());
  }
  char reply[64] = {};
  const ssize_t got = recv(connection, reply, sizeof reply - 1, 0);
  close(connection);
  const std::string text(reply, got > 0 ? static_cast<size_t>(got) : 0);
  return text.substr(0, text.find('\r'));
}

class ConnectionBoundsTest : public ::testing::Test {
 protected:
  TemporaryFolder folder;
  const std::string database = folder.path("service.db");
  ServiceProcess service{database, folder.path("requests.log")};
};

TEST_F(ConnectionBoundsTest, OnlyShortGetAndHeadRequestsAreRead) {
  struct Case {
    std::string request;
    std::string statusLine;
  };
  const std::string get = "GET /E/qx/getkf.php";
  // A target of "/E/qx/getkf.php?" and its query; a header line "X: " and its value.
  const auto query = [](size_t targetBytes) { return std::string(targetBytes - 16, 'a'); };
  const auto value = [](size_t headerBytes) { return std::string(headerBytes - 5, 'h'); };
  const std::vector<Case> cases = {
      {"HEAD /E/qx/getkf.php HTTP/1.0\r\n\r\n", "HTTP/1.1 200 OK"},
      {"POST /E/qx/getkf.php HTTP/1.0\r\nContent-Length: 3\r\n\r\nabc",
       "HTTP/1.1 405 Method Not Allowed"},
      {"PUT /E/qx/getkf.php HTTP/1.0\r\n\r\n", "HTTP/1.1 405 Method Not Allowed"},
      {get + "?" + query(service::kMaxTargetBytes) + " HTTP/1.0\r\n\r\n", "HTTP/1.1 200 OK"},
      {get + "?" + query(service::kMaxTargetBytes + 1) + " HTTP/1.0\r\n\r\n",
       "HTTP/1.1 414 URI Too Long"},
      {get + "?" + std::string(40000, 'a') + " HTTP/1.0\r\n\r\n", "HTTP/1.1 414 URI Too Long"},
      {get + " HTTP/1.0\r\nX: " + value(service::kMaxHeaderBytes) + "\r\n\r\n", "HTTP/1.1 200 OK"},
      {get + " HTTP/1.0\r\nX: " + value(service::kMaxHeaderBytes + 1) + "\r\n\r\n",
       "HTTP/1.1 431 Request Header Fields Too Large"},
      {get + " HTTP/1.0\r\n" + std::string(40000, 'h') + "\r\n\r\n",
       "HTTP/1.1 431 Request Header Fields Too Large"},
  };
  for (const Case& c : cases) {
    const std::string reply = service.exchange(c.request);
    EXPECT_EQ(reply.substr(0, reply.find('\r')), c.statusLine) << c.request.substr(0, 60);
  }
  EXPECT_EQ(service.exchange("HEAD /E/qx/getkf.php HTTP/1.0\r\n\r\n").find("@velmora_kf"),
            std::string::npos);
}

// A body, a request line and header lines of 100 MB each, all at once: the service reads none of
// them whole, and answers as before.
TEST_F(ConnectionBoundsTest, FloodsGrowTheServiceByLessThan64Megabytes) {
  ASSERT_GT(service.port(), 0);
  const size_t before = peakMemory(service.pid());
  const std::string chunk(kMegabyte, 'x');
  char chunkSize[16];
  std::snprintf(chunkSize, sizeof chunkSize, "%zx\r\n", chunk.size());
  std::string body, line, headers;
  std::vector<std::thread> floods;
  floods.emplace_back([&] {
    body = flood(service, "POST /E/qx/getkf.php HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n",
                 chunkSize + chunk + "\r\n", 100 * kMegabyte);
  });
  floods.emplace_back([&] { line = flood(service, "GET /", chunk, 100 * kMegabyte); });
  floods.emplace_back([&] {
    std::string header;
    while (header.size() < kMegabyte) header += "X-Filler: " + std::string(90, 'f') + "\r\n";
    headers = flood(service, "GET / HTTP/1.1\r\n", header, 100 * kMegabyte);
  });
  for (std::thread& sender : floods) sender.join();

  EXPECT_EQ(body, "HTTP/1.1 405 Method Not Allowed");
  EXPECT_EQ(line, "HTTP/1.1 414 URI Too Long");
  EXPECT_EQ(headers, "HTTP/1.1 431 Request Header Fields Too Large");
  EXPECT_LT(peakMemory(service.pid()) - before, 64 * kMegabyte);
  EXPECT_EQ(service.get("/E/qx/getkf.php"), "@velmora_kf");
  EXPECT_EQ(service.stop(), 0);
}

// Whether the service still holds `connection` open: it has neither closed nor reset it.
bool heldOpen(int connection) {
  char byte = 0;
  return recv(connection, &byte, 1, MSG_PEEK | MSG_DONTWAIT) < 0 && errno == EAGAIN;
}

// 512 clients of one address that send a byte of a request every few seconds hold no more than
// their address's share of the connections, and hold up neither a client of another address nor
// the stop.
TEST_F(ConnectionBoundsTest, TricklingClientsHoldUpNeitherOtherAddressesNorTheStop) {
  const std::string request = "GET /E/qx/getkf.php HTTP/1.1\r\nHost: x\r\nX-Slow: ";
  std::vector<int> tricklers;
  for (int i = 0; i < 512; ++i) tricklers.push_back(service.connect());
  for (size_t at = 0; at < 2; ++at) {
    for (const int trickler : tricklers) send(trickler, &request[at], 1, MSG_NOSIGNAL);
    std::this_thread::sleep_for(3s);
  }
  EXPECT_EQ(std::ranges::count_if(tricklers, heldOpen), 64);

  const auto asked = Clock::now();
  EXPECT_EQ(service.get("/E/qx/getkf.php", "127.0.0.2"), "@velmora_kf");
  EXPECT_LT(Clock::now() - asked, 1s);

  const auto stopped = Clock::now();
  EXPECT_EQ(service.stop(), 0);
  EXPECT_LT(Clock::now() - stopped, 1s);
  for (const int trickler : tricklers) close(trickler);
}

// A client that sends a byte of its request every 3 seconds, well within the idle bound, has its
// connection closed once its head has taken longer than its bound.
TEST_F(ConnectionBoundsTest, AHeadTrickledForTooLongIsCutOff) {
  const std::string request = "GET /E/qx/getkf.php HTTP/1.1\r\nHost: x\r\nX-Slow: slow\r\n\r\n";
  const auto opened = Clock::now();
  const int trickler = service.connect();
  const timeval pause{3, 0};
  setsockopt(trickler, SOL_SOCKET, SO_RCVTIMEO, &pause, sizeof pause);
  const auto bound = std::chrono::seconds(service::kHeadTimeoutSeconds);
  char byte = 0;
  bool held = true;
  for (size_t at = 0; held && Clock::now() - opened < bound + 4s; ++at) {
    send(trickler, &request[at], 1, MSG_NOSIGNAL);
    held = recv(trickler, &byte, 1, 0) < 0 && errno == EAGAIN;
  }
  EXPECT_FALSE(held);
  EXPECT_GT(Clock::now() - opened, bound);
  EXPECT_LT(Clock::now() - opened, bound + 2s);
  close(trickler);
}

// A stop waits for the request being answered, but not for long: here the request waits for the
// database, which another process holds.
class StopTest : public ConnectionBoundsTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(database.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    waiting = std::thread([this] { service.get("/E/qx/getxm.php"); });
    std::this_thread::sleep_for(300ms);  // the request is in
  }
  void TearDown() override {
    sqlite3_close(holder);
    waiting.join();
  }

  sqlite3* holder = nullptr;
  std::thread waiting;
};

TEST_F(StopTest, EndsWithinFiveSecondsOfASignal) {
  const auto stopped = Clock::now();
  const int status = service.stop();
  EXPECT_LT(Clock::now() - stopped, 5s);
  EXPECT_TRUE(WIFEXITED(status)) << status;
}

TEST_F(StopTest, EndsAtOnceOnASecondSignal) {
  const auto stopped = Clock::now();
  kill(service.pid(), SIGINT);
  std::this_thread::sleep_for(100ms);
  const int status = service.stop();
  EXPECT_LT(Clock::now() - stopped, 1s);
  EXPECT_TRUE(WIFEXITED(status)) << status;
}

}  // namespace
}  // namespace velmora::testing
