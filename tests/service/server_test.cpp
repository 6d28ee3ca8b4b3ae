// The real velmora-service program on a free loopback port, spoken to as the client does.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <latch>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "service/request_log.h"
#include "tests/service/fake_provider.h"
#include "tests/service/service_process.h"
#include "tests/service/service_test_support.h"
#include "tests/support/gbk.h"

namespace velmora::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A pipe for a service's standard error: the service writes into it, the test reads it, or not.
class ErrorPipe {
 public:
  ErrorPipe() {
    if (pipe2(ends_, O_CLOEXEC) != 0) ADD_FAILURE() << "no pipe";
  }
  ~ErrorPipe() {
    closeWriteEnd();
    closeReadEnd();
  }
  ErrorPipe(const ErrorPipe&) = delete;
  ErrorPipe& operator=(const ErrorPipe&) = delete;

  int writeEnd() const { return ends_[1]; }
  // Once the service has it: from then on the pipe ends when the service does.
  void closeWriteEnd() { closeEnd(ends_[1]); }
  void closeReadEnd() { closeEnd(ends_[0]); }
  // Writes as much as the pipe holds, so that the next write waits for a reader.
  void fill() {
    const std::string bytes(static_cast<size_t>(fcntl(ends_[1], F_GETPIPE_SZ)), 'x');
    EXPECT_EQ(write(ends_[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  // Everything written into the pipe until the service ended.
  std::string text() {
    closeWriteEnd();
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(ends_[0], buffer, sizeof buffer)) > 0;) {
      text.append(buffer, static_cast<size_t>(got));
    }
    return text;
  }

 private:
  static void closeEnd(int& end) {
    if (end >= 0) close(end);
    end = -1;
  }

  int ends_[2] = {-1, -1};
};

size_t occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class ServerTest : public ::testing::Test {
 protected:
  TemporaryFolder folder;
  const std::string database = folder.path("service.db");
  const std::string log = folder.path("requests.log");
};

TEST_F(ServerTest, AnswersEveryEndpointAndLogsEachRequestLine) {
  ServiceProcess service(database, log);
  ASSERT_GT(service.port(), 0) << service.firstLine();
  const std::string name = percentEncoded(gbk(u8"王五"));

  EXPECT_EQ(service.get("/E/qx/getkf.php"), "@velmora_kf");
  EXPECT_NE(service.exchange("GET /E/qx/getkf.php HTTP/1.0\r\n\r\n")
                .find("\r\nContent-Type: text/plain; charset=utf-8\r\n"),
            std::string::npos);
  EXPECT_EQ(service.get("/E/qx/getadd.php"), "TDhNQAT8YrjBAUhj9G48CDS3qTqVTNTxe3");
  EXPECT_TRUE(service.get("/E/qx/getxm.php").starts_with("微信-1.2,支付宝-1.5,"));
  EXPECT_TRUE(
      service.get("/E/qx/login.php?username=demo&password=demo123").starts_with("demo,demo123,"));
  EXPECT_EQ(service.get("/E/qx/restuser.php?username=" + name + "&password=pw&sj=12345&email="),
            "2");
  EXPECT_TRUE(
      service.get("/E/qx/login.php?username=" + name + "&password=pw").starts_with("王五,pw,0,0,"));
  EXPECT_EQ(service.get("/E/qx/restpay.php?username=" + name +
                        "&qt=8&cd=2026123412345678&time=2026/12/7&password=pw"),
            "1");
  EXPECT_EQ(service.get("/E/qx/getpay.php?username=" + name + "&password=pw"),
            "王五-8-2026123412345678-2026/12/7");
  EXPECT_EQ(service.get("/E/qx/update.php?username=" + name +
                        "&password=pw2&email=0&d2=0&oldpassword=pw"),
            "1");
  EXPECT_TRUE(
      service.get("/E/qx/login.php?username=" + name + "&password=pw2").starts_with("王五,pw2,"));
  EXPECT_EQ(service.get("/E/qx/delpay.php?username=" + name + "&password=pw2"), "1");
  EXPECT_EQ(service.get("/E/qx/delpay.php?username=" + name + "&password=pw2"), "0");
  EXPECT_EQ(service.stop(), 0);

  const std::string logged = fileText(log);
  EXPECT_NE(logged.find("GET /E/qx/getkf.php HTTP/1.0\n"), std::string::npos) << logged;
  EXPECT_NE(logged.find("GET /E/qx/login.php?username=%CD%F5%CE%E5&password=*** HTTP/1.0\n"),
            std::string::npos)
      << logged;
  EXPECT_NE(logged.find("GET /E/qx/update.php?username=%CD%F5%CE%E5&password=***&email=0&d2=0"
                        "&oldpassword=*** "),
            std::string::npos)
      << logged;
  EXPECT_EQ(logged.find("password=pw"), std::string::npos) << logged;
}

// The log holds printable ASCII only, one bounded line per request, so that no request can forge
// a line or drive the terminal that shows it; it and the database are their owner's alone.
TEST_F(ServerTest, LogsPrintableBoundedLinesInFilesOfTheOwnerAlone) {
  ServiceProcess service(database, log);
  EXPECT_EQ(service.get("/E/qx/getkf.php?a=\x1B[2J\r\b\x7F\xC2\x9B%41"), "@velmora_kf");
  EXPECT_EQ(service.get("/E/qx/getkf.php?b=" + std::string(3000, 'b')), "@velmora_kf");
  EXPECT_EQ(service.stop(), 0);

  const std::string logged = fileText(log);
  EXPECT_NE(logged.find("GET /E/qx/getkf.php?a=%1B[2J%0D%08%7F%C2%9B%41 HTTP/1.0\n"),
            std::string::npos)
      << logged;
  const std::string longLine =
      "GET /E/qx/getkf.php?b=" + std::string(service::kMaxLoggedLineBytes - 22, 'b') + "...\n";
  EXPECT_NE(logged.find(longLine), std::string::npos) << logged;
  for (const std::string& file : {database, log}) {
    struct stat status {};
    ASSERT_EQ(stat(file.c_str(), &status), 0) << file;
    EXPECT_EQ(status.st_mode & 0777, 0600u) << file;
  }
}

// A password is checked against its hash wherever it is sent, and neither the database file nor
// the log ever holds it, also when the parameter's name is percent-encoded.
TEST_F(ServerTest, NoPasswordReachesTheDatabaseFileOrTheLog) {
  ServiceProcess service(database, log);
  ASSERT_EQ(service.get("/E/qx/restuser.php?username=zed&password=Secr3tPw&sj=11111&email="), "2");
  EXPECT_TRUE(service.get("/E/qx/login.php?username=zed&password=Secr3tPw")
                  .starts_with("zed,Secr3tPw,0,0,"));
  EXPECT_EQ(service.get("/E/qx/login.php?username=zed&password=Secr3tPx"), "25");
  EXPECT_EQ(service.get("/E/qx/getsms.php?username=zed&password=Secr3tPw&hm=1"), "2");
  EXPECT_EQ(service.get("/E/qx/getsms.php?username=zed&password=secr3tpw&hm=1"), "9");
  EXPECT_TRUE(
      service.get("/E/qx/Api_PC?username=zed&password=Secr3tPw").starts_with(R"({"code":0,)"));
  EXPECT_TRUE(
      service.get("/E/qx/login.php?username=zed&pass%77ord=Secr3tPw").starts_with("zed,Secr3tPw,"));
  EXPECT_EQ(service.get("/E/qx/update.php?username=zed&password=Secr3tPw2&email=0&d2=0"
                        "&oldpassword=Secr3tPw"),
            "1");
  EXPECT_TRUE(
      service.get("/E/qx/login.php?username=zed&password=Secr3tPw2").starts_with("zed,Secr3tPw2,"));
  EXPECT_EQ(service.stop(), 0);

  EXPECT_EQ(fileText(database).find("Secr3tPw"), std::string::npos);
  const std::string logged = fileText(log);
  EXPECT_EQ(logged.find("Secr3tPw"), std::string::npos) << logged;
  EXPECT_NE(logged.find("GET /E/qx/login.php?username=zed&pass%77ord=*** HTTP/1.0\n"),
            std::string::npos)
      << logged;
}

TEST_F(ServerTest, BadRequestsDoNotStopTheService) {
  ServiceProcess service(database, log);
  EXPECT_EQ(service.get("/E/qx/login.php?username=\xCD\xF5\xFF&password=%"), "25");
  EXPECT_EQ(service.get("/E/qx/restuser.php?username=%FF%FF&password=x"), "3");
  EXPECT_EQ(service.get("/E/qx/nothing.php"), "");
  EXPECT_EQ(service.get("/elsewhere"), "");
  service.exchange("GARBAGE\r\n\r\n", false);
  service.exchange("GET /E/qx/getkf.php", false);  // cut off
  EXPECT_EQ(service.get("/E/qx/getkf.php"), "@velmora_kf");
  EXPECT_EQ(service.stop(), 0);
}

TEST_F(ServerTest, DataSurvivesARestart) {
  {
    ServiceProcess service(database, log);
    ASSERT_EQ(service.get("/E/qx/restuser.php?username=keeper&password=pw&sj=1&email=k%40x.y"),
              "2");
    ASSERT_EQ(service.get("/E/qx/restpay.php?username=keeper&qt=6&cd=1&time=2026/1/1&password=pw"),
              "1");
  }
  ServiceProcess service(database, log);
  EXPECT_NE(service.get("/E/qx/login.php?username=keeper&password=pw").find(",k@x.y"),
            std::string::npos);
  EXPECT_EQ(service.get("/E/qx/getpay.php?username=keeper&password=pw"), "keeper-6-1-2026/1/1");
  const std::string projects = service.get("/E/qx/getxm.php");
  EXPECT_EQ(std::count(projects.begin(), projects.end(), ','), 39);  // not seeded twice
}

TEST_F(ServerTest, NumbersFollowTheSmsDelayAndExpiryOptions) {
  using namespace std::chrono_literals;
  ServiceProcess service(database, log, "0", {"--sms-delay", "1", "--number-expiry", "3"});
  const std::string demo = "username=demo&password=demo123";
  const std::string given = service.get("/E/qx/getnum.php?" + demo +
                                        "&xm=" + percentEncoded(gbk(u8"微信")) + "&dq=&yys=");
  const auto givenBy = std::chrono::steady_clock::now();
  ASSERT_TRUE(given.starts_with("1,")) << given;
  const std::string getsms = "/E/qx/getsms.php?" + demo + "&hm=" + given.substr(2, 11);
  EXPECT_EQ(service.get(getsms), "0");
  std::this_thread::sleep_until(givenBy + 1300ms);
  EXPECT_TRUE(service.get(getsms).starts_with("1,【微信】"));
  std::this_thread::sleep_until(givenBy + 3300ms);
  EXPECT_EQ(service.get(getsms), "2");
  // Its SMS came, so its end refunds nothing.
  EXPECT_TRUE(service.get("/E/qx/login.php?" + demo).starts_with("demo,demo123,10.80,"));
}

// The service answers on several threads: demo's 12.00 pays for six Steam numbers at 2.0, however
// many clients ask at once.
TEST_F(ServerTest, SimultaneousClientsNeverShareANumberNorOverdraw) {
  ServiceProcess service(database, log);
  constexpr int kClients = 10;
  std::vector<std::string> replies(kClients);
  std::latch start(kClients);
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&, i] {
      start.arrive_and_wait();
      replies[i] = service.get("/E/qx/getnum.php?username=demo&password=demo123&xm=Steam&dq=&yys=");
    });
  }
  for (std::thread& client : clients) client.join();
  std::set<std::string> numbers;
  for (const std::string& reply : replies) {
    if (reply.starts_with("1,")) {
      numbers.insert(reply.substr(2, 11));
    } else {
      EXPECT_EQ(reply, "0");
    }
  }
  EXPECT_EQ(numbers.size(), 6u);
  EXPECT_TRUE(service.get("/E/qx/login.php?username=demo&password=demo123")
                  .starts_with("demo,demo123,0.00,"));
}

// Another process holding the store's write lock (a second service, a backup) holds up no login:
// it never reads as a wrong password.
TEST_F(ServerTest, ALoginWaitsForNoOnesWrite) {
  ServiceProcess service(database, log);
  const std::string login = "/E/qx/login.php?username=demo&password=demo123";
  ASSERT_TRUE(service.get(login).starts_with("demo,demo123,12,"));
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(database.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; UPDATE accounts SET balance = '99';", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  const auto asked = std::chrono::steady_clock::now();
  EXPECT_TRUE(service.get(login).starts_with("demo,demo123,12,"));
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(1));
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
}

// A log that nobody reads, on standard error: the requests are answered well past what the pipe
// and the log's queue hold, and a stop ends the process in time. A reader that goes away does not
// end it; one that wakes up reads every line that was not lost, and how many were.
TEST_F(ServerTest, ALogNobodyReadsHoldsUpNeitherRequestsNorTheStop) {
  enum class Reader { kSleeps, kGoes, kWakes };
  const std::string target = "/E/qx/getkf.php?pad=" + std::string(2000, 'p');
  const int requests = 40 + static_cast<int>(service::kMaxWaitingLogLines) + 100;
  for (const Reader reader : {Reader::kSleeps, Reader::kGoes, Reader::kWakes}) {
    SCOPED_TRACE(static_cast<int>(reader));
    ErrorPipe errors;
    ServiceProcess service(database, "", "0", {}, errors.writeEnd());
    errors.closeWriteEnd();
    ASSERT_GT(service.port(), 0);
    const auto asked = Clock::now();
    for (int i = 0; i < requests; ++i) ASSERT_EQ(service.get(target), "@velmora_kf") << i;
    EXPECT_LT(Clock::now() - asked, 10s);
    if (reader == Reader::kGoes) {
      errors.closeReadEnd();
      for (int i = 0; i < 10; ++i) ASSERT_EQ(service.get(target), "@velmora_kf") << i;
    }
    std::string read;
    std::thread wakes;
    if (reader == Reader::kWakes) wakes = std::thread([&] { read = errors.text(); });
    const auto stopped = Clock::now();
    EXPECT_EQ(service.stop(), 0);
    EXPECT_LT(Clock::now() - stopped, 3s);
    if (reader != Reader::kWakes) continue;
    wakes.join();
    const std::string lost = "velmora-service: log lines lost (not written or dropped): ";
    const size_t lostAt = read.find(lost);
    ASSERT_NE(lostAt, std::string::npos) << read.substr(read.size() - 200);
    const int lines = static_cast<int>(occurrences(read, "GET " + target + " HTTP/1.0\n"));
    EXPECT_EQ(lines + std::stoi(read.substr(lostAt + lost.size())), requests);
    EXPECT_GT(lines, static_cast<int>(service::kMaxWaitingLogLines));
  }
}

// When the stop outlasts its grace the process ends all the same, standard error full or not:
// here a request waits to write to the database, whose write lock another process holds.
TEST_F(ServerTest, AStopPastItsGraceEndsWhateverStandardErrorDoes) {
  ErrorPipe errors;
  ServiceProcess service(database, log, "0", {}, errors.writeEnd());
  ASSERT_GT(service.port(), 0);
  errors.fill();
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(database.c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::thread waiting(
      [&] { service.get("/E/qx/getnum.php?username=demo&password=demo123&xm=Steam&dq=&yys="); });
  std::this_thread::sleep_for(300ms);  // the request is in

  const auto stopped = Clock::now();
  const int status = service.stop();
  EXPECT_LT(Clock::now() - stopped, 4s);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  sqlite3_close(holder);
  waiting.join();
}

// A log file that cannot grow (here its size limit; a full disk alike) keeps whole lines only,
// and the service says so once on standard error, and at its stop how many lines were lost.
TEST_F(ServerTest, AFullLogKeepsWholeLinesAndSaysSoOnce) {
  ErrorPipe errors;
  ServiceProcess service(database, log, "0", {}, errors.writeEnd());
  errors.closeWriteEnd();
  const std::string first = "GET /E/qx/getkf.php HTTP/1.0\n";
  ASSERT_EQ(service.get("/E/qx/getkf.php"), "@velmora_kf");
  for (int i = 0; i < 200 && fileText(log) != first; ++i) std::this_thread::sleep_for(10ms);
  ASSERT_EQ(fileText(log), first);

  const auto line = [](int n) {
    return "GET /E/qx/getkf.php?n=" + std::to_string(n) + " HTTP/1.0\n";
  };
  // Room for two more lines and half of a third.
  const rlimit limit{first.size() + 2 * line(0).size() + line(0).size() / 2, RLIM_INFINITY};
  ASSERT_EQ(prlimit(service.pid(), RLIMIT_FSIZE, &limit, nullptr), 0);
  for (int n = 0; n < 6; ++n) {
    ASSERT_EQ(service.get("/E/qx/getkf.php?n=" + std::to_string(n)), "@velmora_kf") << n;
  }
  EXPECT_EQ(service.stop(), 0);

  EXPECT_EQ(fileText(log), first + line(0) + line(1));
  const std::string said = errors.text();
  EXPECT_EQ(occurrences(said, "velmora-service: cannot write the log"), 1u) << said;
  EXPECT_NE(said.find("velmora-service: log lines lost (not written or dropped): 4\n"),
            std::string::npos)
      << said;
}

// A start that cannot serve, as its log cannot be opened or its port is taken, ends before it
// makes a database or asks the provider anything.
TEST_F(ServerTest, AStartThatCannotServeLeavesNoDatabaseAndAsksTheProviderNothing) {
  FakeProvider provider;
  const std::string keyFile = folder.path("provider.key");
  std::ofstream(keyFile) << "fake-provider-key\n";
  std::filesystem::permissions(keyFile, std::filesystem::perms::owner_read);
  const std::string projects = folder.path("projects.json");
  std::ofstream(projects) << R"({"projects": [{"name": "wx", "service": "wx", "country": 3,)"
                          << R"( "price": "1.20"}]})";
  const std::vector<std::string> upstream{"--upstream",          provider.url(),
                                          "--upstream-key-file", keyFile,
                                          "--upstream-projects", projects};

  ServiceProcess holder(database, log);
  ASSERT_GT(holder.port(), 0);
  const std::string refusedDatabase = folder.path("refused.db");
  struct Start {
    std::string log;
    std::string port;
  };
  for (const Start& start : {Start{folder.path("no-folder/requests.log"), "0"},
                             Start{log, std::to_string(holder.port())}}) {
    for (const bool withProvider : {false, true}) {
      SCOPED_TRACE(start.log + " " + start.port + (withProvider ? " with the provider" : ""));
      ServiceProcess refused(refusedDatabase, start.log, start.port,
                             withProvider ? upstream : std::vector<std::string>{});
      EXPECT_EQ(refused.firstLine(), "");
      EXPECT_EQ(WEXITSTATUS(refused.stop()), 1);
      EXPECT_FALSE(std::filesystem::exists(refusedDatabase));
    }
  }
  EXPECT_EQ(provider.requests().size(), 0u);
  // The same options serve once the log and the port are good.
  ServiceProcess served(refusedDatabase, log, "0", upstream);
  EXPECT_EQ(served.firstLine(), "upstream balance: 100.00\n");
}

TEST_F(ServerTest, APortInUseIsNotShared) {
  ServiceProcess first(database, log);
  ServiceProcess second(folder.path("other.db"), log, std::to_string(first.port()));
  EXPECT_EQ(second.firstLine(), "");
  EXPECT_EQ(WEXITSTATUS(second.stop()), 1);
  EXPECT_EQ(first.get("/E/qx/getkf.php"), "@velmora_kf");
}

// With a certificate and its key the service speaks HTTPS alone, with forward secrecy only, also
// in the handshakes of Windows 7 (TLS 1.2, ECDHE on P-256 or P-384, RSA signatures without PSS,
// its AES-GCM and AES-CBC suites); a key that is not the certificate's stops it, with a message
// that says so.
TEST_F(ServerTest, ServesHttpsWithTheCertificateGiven) {
  const std::string certificate = folder.path("service.pem");
  const std::string key = folder.path("service.key");
  const std::string otherKey = folder.path("other.key");
  const std::string ecKey = folder.path("ec.key");
  ASSERT_EQ(runCommand("openssl req -x509 -days 1 -subj /CN=localhost -newkey rsa:2048 -nodes "
                       "-addext subjectAltName=DNS:localhost -keyout " +
                       key + " -out " + certificate + " 2>/dev/null && openssl genpkey " +
                       "-algorithm RSA -out " + otherKey + " && openssl genpkey -algorithm EC " +
                       "-pkeyopt ec_paramgen_curve:prime256v1 -out " + ecKey)
                .status,
            0);

  ServiceProcess service(database, log, "0", {"--tls-cert", certificate, "--tls-key", key});
  ASSERT_GT(service.port(), 0) << service.firstLine();
  const std::string address = "localhost:" + std::to_string(service.port());
  EXPECT_EQ(
      runCommand("curl -s --cacert " + certificate + " https://" + address + "/E/qx/getkf.php")
          .output,
      "@velmora_kf");
  struct Handshake {
    std::string options;
    bool served;
  };
  const std::string windows7 = "-tls1_2 -sigalgs RSA+SHA256:RSA+SHA1 -curves ";
  for (const Handshake& handshake : std::vector<Handshake>{
           {windows7 + "P-256 -cipher ECDHE-RSA-AES128-GCM-SHA256", true},
           {windows7 + "P-384 -cipher ECDHE-RSA-AES256-GCM-SHA384", true},
           {windows7 + "P-256 -cipher ECDHE-RSA-AES128-SHA", true},
           {windows7 + "P-384 -cipher ECDHE-RSA-AES256-SHA", true},
           // Without forward secrecy, or with finite-field Diffie-Hellman.
           {"-tls1_2 -cipher AES128-SHA", false},
           {"-tls1_3 -groups ffdhe2048", false},
       }) {
    const CommandResult client =
        runCommand("printf 'GET /E/qx/getkf.php HTTP/1.0\\r\\n\\r\\n' | openssl s_client -quiet " +
                   handshake.options + " -connect " + address + " -CAfile " + certificate +
                   " -verify_return_error 2>/dev/null");
    EXPECT_EQ(client.output.ends_with("\r\n\r\n@velmora_kf"), handshake.served)
        << handshake.options << client.output;
  }
  EXPECT_EQ(service.get("/E/qx/getkf.php"), "<no reply>");  // plain HTTP

  const std::string start = VELMORA_SERVICE_PROGRAM " --port 0 --database " +
                            folder.path("other.db").string() + " --tls-cert " + certificate +
                            " --tls-key ";
  for (const std::string& wrongKey : {otherKey, ecKey}) {
    const CommandResult refused = runCommand(start + wrongKey + " 2>&1");
    EXPECT_EQ(WEXITSTATUS(refused.status), 1);
    EXPECT_EQ(refused.output, "velmora-service: the key " + wrongKey +
                                  " does not belong to the certificate " + certificate + "\n");
  }
  const CommandResult missing = runCommand(start + folder.path("missing.key").string() + " 2>&1");
  EXPECT_EQ(WEXITSTATUS(missing.status), 1);
  EXPECT_TRUE(missing.output.starts_with("velmora-service: cannot read the key "))
      << missing.output;
}

TEST_F(ServerTest, RefusesAnUnusableDatabase) {
  std::ofstream(database) << "not a database, only text long enough to fill a page header.\n";
  ServiceProcess service(database, log);
  EXPECT_EQ(service.firstLine(), "");
  EXPECT_EQ(WEXITSTATUS(service.stop()), 1);
}

}  // namespace
}  // namespace velmora::testing
