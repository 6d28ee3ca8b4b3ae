// The real velmora-service program on a free loopback port, spoken to as the client does.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <latch>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "service/request_log.h"
#include "tests/service/service_process.h"
#include "tests/service/service_test_support.h"
#include "tests/support/gbk.h"

namespace velmora::testing {
namespace {

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
  EXPECT_EQ(service.stop(), 0);
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
