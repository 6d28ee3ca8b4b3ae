// The provider client against the fake provider over HTTP: every answer of the handler protocol
// and the faults seen in the field, what goes on the wire, the bounds of an exchange, the rate,
// and the key's secrecy.
#include "service/numbers/provider.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "tests/service/fake_provider.h"
#include "tests/service/service_test_support.h"

namespace velmora::testing {
namespace {

using namespace service;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

enum class Step { kBalance, kGetNumber, kStatus, kSetStatus, kPrice };

constexpr const char* kActions[] = {"getBalance", "getNumber", "getStatus", "setStatus",
                                    "getPrices"};

// What a step's answer holds, as one text: its word and its non-empty fields, " | " between.
std::string outcome(Provider& provider, Step step) {
  std::string text;
  const auto add = [&](std::string_view part) {
    if (!part.empty()) text += (text.empty() ? "" : " | ") + std::string(part);
  };
  switch (step) {
    case Step::kBalance: {
      const BalanceAnswer answer = provider.balance();
      add(providerWordText(answer.word)), add(answer.amount);
      break;
    }
    case Step::kGetNumber: {
      const GrantAnswer answer = provider.getNumber({"wx", 3, "cmcc", "0.60"});
      add(providerWordText(answer.word)), add(answer.id), add(answer.phone), add(answer.detail);
      break;
    }
    case Step::kStatus: {
      const StatusAnswer answer = provider.status("5000000001");
      add(providerWordText(answer.word)), add(answer.code), add(answer.smsText);
      break;
    }
    case Step::kSetStatus:
      add(providerWordText(provider.setStatus("5000000001", ActivationStep::kCancel)));
      break;
    case Step::kPrice: {
      const PriceAnswer answer = provider.price("wx", 3);
      add(answer.read ? answer.cost + " | " + std::to_string(answer.count) : "none");
      break;
    }
  }
  return text;
}

// Settings for the provider at `url`, without a cap on the rate unless given.
ProviderSettings settingsFor(const std::string& url,
                             const std::string& key = FakeProviderSettings().key,
                             double requestsPerSecond = 0) {
  ProviderSettings settings;
  settings.url = url;
  settings.key = key;
  settings.requestsPerSecond = requestsPerSecond;
  return settings;
}

TEST(ProviderTest, ReadsEveryAnswerAsAWholeWordWhateverTheHttpStatus) {
  const struct {
    Step step;
    std::string body;
    unsigned status;
    std::string outcome;
    std::string statusV2 = {};  // the getStatusV2 body after a STATUS_OK
  } rows[] = {
      {Step::kBalance, "ACCESS_BALANCE:12.34", 200, "ACCESS_BALANCE | 12.34"},
      {Step::kBalance, "  ACCESS_BALANCE:0\r\n", 200, "ACCESS_BALANCE | 0"},
      {Step::kBalance,
       "\xEF\xBB\xBF"
       "ACCESS_BALANCE:7.5\n",
       200, "ACCESS_BALANCE | 7.5"},
      {Step::kBalance, "ACCESS_BALANCE", 200, "unknown answer"},
      {Step::kBalance, "ACCESS_BALANCE:12,34", 200, "unknown answer"},
      {Step::kBalance, "BAD_KEY", 401, "BAD_KEY"},
      {Step::kBalance, "BAD_KEYS", 200, "unknown answer"},
      {Step::kBalance, "ERROR_SQL", 500, "ERROR_SQL"},
      {Step::kBalance, "ACCESS_CANCEL", 200, "unknown answer"},  // another step's word
      {Step::kBalance, "access_balance:1", 200, "unknown answer"},
      {Step::kBalance, "", 200, "unknown answer"},
      {Step::kBalance, "<html><body><h1>502 Bad Gateway</h1></body></html>", 502, "unknown answer"},
      {Step::kGetNumber, "ACCESS_NUMBER:98765432101234:+8613800000001", 200,
       "ACCESS_NUMBER | 98765432101234 | 8613800000001"},
      {Step::kGetNumber, "ACCESS_NUMBER:4294967297:79161234567\n", 200,
       "ACCESS_NUMBER | 4294967297 | 79161234567"},
      {Step::kGetNumber, "ACCESS_NUMBER:123", 200, "unknown answer"},
      {Step::kGetNumber, "ACCESS_NUMBER:123:", 200, "unknown answer"},
      {Step::kGetNumber, "ACCESS_NUMBER::8613800000001", 200, "unknown answer"},
      {Step::kGetNumber, "ACCESS_NUMBER:12a:8613800000001", 200, "unknown answer"},
      {Step::kGetNumber, "ACCESS_NUMBER:12:86138:01", 200, "unknown answer"},
      {Step::kGetNumber, "ACCESS_NUMBERS:12:8613800000001", 200, "unknown answer"},
      {Step::kGetNumber, "NO_NUMBERS", 200, "NO_NUMBERS"},
      {Step::kGetNumber, "NO_NUMBERS", 404, "NO_NUMBERS"},
      {Step::kGetNumber, "NO_NUMBERS:", 200, "unknown answer"},
      {Step::kGetNumber, "NO_BALANCE", 200, "NO_BALANCE"},
      {Step::kGetNumber, "NO_BALANCE_FORWARD", 200, "unknown answer"},
      {Step::kGetNumber, "BAD_SERVICE", 200, "BAD_SERVICE"},
      {Step::kGetNumber, "BAD_KEY", 403, "BAD_KEY"},
      {Step::kGetNumber, "BAD_ACTION", 200, "BAD_ACTION"},
      {Step::kGetNumber, "ERROR_SQL", 500, "ERROR_SQL"},
      {Step::kGetNumber, "BANNED:'2026-12-09 16-00-00'", 403, "BANNED | '2026-12-09 16-00-00'"},
      {Step::kGetNumber, "BANNED", 200, "BANNED"},
      {Step::kGetNumber, "WRONG_MAX_PRICE:0.75", 200, "WRONG_MAX_PRICE | 0.75"},
      {Step::kGetNumber, "STATUS_OK:1", 200, "unknown answer"},
      {Step::kStatus, "STATUS_WAIT_CODE", 200, "STATUS_WAIT_CODE"},
      {Step::kStatus, "STATUS_WAIT_CODES", 200, "unknown answer"},
      {Step::kStatus, "STATUS_WAIT_RETRY:4411", 200, "STATUS_WAIT_RETRY | 4411"},
      {Step::kStatus, "STATUS_WAIT_RESEND", 200, "STATUS_WAIT_RESEND"},
      {Step::kStatus, "STATUS_OK:12:34", 200, "STATUS_OK | 12:34 | 12:34", "BAD_ACTION"},
      {Step::kStatus, "STATUS_OK:7788", 500, "STATUS_OK | 7788 | 7788", "<html></html>"},
      {Step::kStatus, "STATUS_OK:5531", 200, "STATUS_OK | 5531 | 【店】验证码 5531 有效",
       R"({"sms":{"code":"5531","text":"【店】验证码 5531\n有效"}})"},
      {Step::kStatus, "STATUS_OK:5531", 200, "STATUS_OK | 5531 | 5531",
       R"({"verificationType":0,"sms":null,"call":null})"},
      {Step::kStatus,
       "STATUS_OK:\xFF"
       "42",
       200, "STATUS_OK | \uFFFD42 | \uFFFD42", "{}"},
      {Step::kStatus, "STATUS_OK", 200, "unknown answer"},
      {Step::kStatus, "STATUS_OK: ", 200, "unknown answer"},
      {Step::kStatus, "STATUS_CANCEL", 200, "STATUS_CANCEL"},
      {Step::kStatus, "NO_ACTIVATION", 404, "NO_ACTIVATION"},
      {Step::kSetStatus, "ACCESS_RETRY_GET", 200, "ACCESS_RETRY_GET"},
      {Step::kSetStatus, "ACCESS_ACTIVATION", 200, "ACCESS_ACTIVATION"},
      {Step::kSetStatus, "ACCESS_CANCEL", 200, "ACCESS_CANCEL"},
      {Step::kSetStatus, "ACCESS_CANCEL_ALREADY", 200, "unknown answer"},
      {Step::kSetStatus, "EARLY_CANCEL_DENIED", 200, "EARLY_CANCEL_DENIED"},
      {Step::kSetStatus, "NO_ACTIVATION", 200, "NO_ACTIVATION"},
      {Step::kSetStatus, "BAD_STATUS", 200, "BAD_STATUS"},
      {Step::kSetStatus, "ALREADY_FINISH", 200, "ALREADY_FINISH"},
      {Step::kSetStatus, "ALREADY_CANCEL", 200, "ALREADY_CANCEL"},
      {Step::kSetStatus, "ACCESS_READY", 200, "unknown answer"},
      {Step::kPrice, R"({"3":{"wx":{"cost":0.5,"count":120}}})", 200, "0.5 | 120"},
      {Step::kPrice, R"({"3":{"wx":{"cost":"1.20","count":"7"}}})", 200, "1.20 | 7"},
      {Step::kPrice, R"({"3":{"tg":{"cost":0.5,"count":1}}})", 200, "none"},
      {Step::kPrice, R"({"0":{"wx":{"cost":0.5,"count":1}}})", 200, "none"},
      {Step::kPrice, R"({"3":{"wx":{"cost":0.5,"count":-1}}})", 200, "none"},
      {Step::kPrice, "BAD_KEY", 200, "none"},
  };
  FakeProvider fake;
  Provider provider(settingsFor(fake.url()));
  for (const auto& row : rows) {
    fake.script(kActions[static_cast<int>(row.step)], {.body = row.body, .status = row.status});
    if (!row.statusV2.empty()) fake.script("getStatusV2", {.body = row.statusV2});
    EXPECT_EQ(outcome(provider, row.step), row.outcome) << row.body << " (" << row.status << ")";
  }
}

TEST(ProviderTest, SendsTheKeyTheActionAndPercentEncodedValues) {
  FakeProvider fake({.key = "k&y=1 2"});
  Provider provider(settingsFor(fake.url(), "k&y=1 2"));
  provider.balance();
  provider.getNumber({"w x&y=z", 3, "中国", "0.50"});
  provider.getNumber({"wx", 0, "", ""});
  provider.setStatus("98765432101234", ActivationStep::kAnotherSms);
  const std::string key = "api_key=k%26y%3D1%202";
  const std::vector<std::string> expected = {
      key + "&action=getBalance",
      key +
          "&action=getNumber&service=w%20x%26y%3Dz&country=3&operator=%E4%B8%AD%E5%9B%BD"
          "&maxPrice=0.50",
      key + "&action=getNumber&service=wx&country=0",
      key + "&action=setStatus&id=98765432101234&status=3",
  };
  const std::vector<ReceivedRequest> requests = fake.requests();
  ASSERT_EQ(requests.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(requests[i].query, expected[i]);
  EXPECT_EQ(requests[1].parameter("service"), "w x&y=z");
  EXPECT_EQ(requests[1].parameter("operator"), "中国");
}

// A port nothing listens on.
int closedPort() {
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(listener, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  close(listener);
  return ntohs(address.sin_port);
}

// A certificate for 127.0.0.1 and its key, PEM texts.
struct Certificate {
  std::string certificatePath;
  std::string certificate;
  std::string key;
};

Certificate makeCertificate(const TemporaryFolder& folder) {
  const std::string certificate = folder.path("provider.pem");
  const std::string key = folder.path("provider.key");
  const CommandResult made = runCommand(
      "openssl req -x509 -days 1 -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 "
      "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout " +
      key + " -out " + certificate + " 2>/dev/null");
  EXPECT_EQ(made.status, 0);
  return {certificate, fileText(certificate), fileText(key)};
}

// Each bound ends the exchange as no answer, and nothing is asked twice or elsewhere.
TEST(ProviderTest, AnExchangeBeyondItsBoundsIsNoAnswer) {
  TemporaryFolder folder;
  const Certificate certificate = makeCertificate(folder);
  FakeProvider fake;
  FakeProvider secure({.certificate = certificate.certificate, .privateKey = certificate.key});
  const std::string key = FakeProviderSettings().key;
  const std::string padding(kMaxProviderReplyBytes - 16, ' ');
  const struct {
    std::string name;
    std::string url;
    ScriptedAnswer answer;
    std::string outcome;
    std::string certificateAuthorities = {};
  } rows[] = {
      {"fits", fake.url(), {.body = "ACCESS_BALANCE:1" + padding}, "ACCESS_BALANCE | 1"},
      {"too long", fake.url(), {.body = "ACCESS_BALANCE:1" + padding + " "}, "no answer"},
      {"redirected",
       fake.url(),
       {.status = 302, .location = fake.url() + "?api_key=" + key + "&action=getBalance"},
       "no answer"},
      {"moved with a word",
       fake.url(),
       {.body = "ACCESS_BALANCE:5", .status = 301, .location = fake.url()},
       "no answer"},
      {"stalled", fake.url(), {.body = "ACCESS_BALANCE:1", .delay = 3s}, "no answer"},
      {"refused", "http://127.0.0.1:" + std::to_string(closedPort()) + "/", {}, "no answer"},
      {"not http", "file:///etc/hostname", {}, "no answer"},
      {"untrusted", secure.url(), {}, "no answer"},
      {"trusted", secure.url(), {}, "ACCESS_BALANCE | 100.00", certificate.certificatePath},
  };
  for (const auto& row : rows) {
    const size_t before = fake.count("getBalance");
    if (!row.answer.body.empty() || row.answer.status != 200) fake.script("getBalance", row.answer);
    ProviderSettings settings = settingsFor(row.url, key);
    settings.connectTimeout = 1s;
    settings.exchangeTimeout = 500ms;
    settings.certificateAuthorities = row.certificateAuthorities;
    Provider provider(settings);
    const auto started = Clock::now();
    EXPECT_EQ(outcome(provider, Step::kBalance), row.outcome) << row.name;
    EXPECT_LT(Clock::now() - started, 2s) << row.name;  // the stalled peer waits 3 s
    if (row.url == fake.url()) {
      EXPECT_EQ(fake.count("getBalance"), before + 1) << row.name;
    }
  }
  EXPECT_EQ(secure.count("getBalance"), 1u);  // the untrusted exchange sent nothing
}

TEST(ProviderTest, RequestsFromManyThreadsKeepToTheRate) {
  FakeProvider fake;
  Provider provider(settingsFor(fake.url(), FakeProviderSettings().key, 20));
  std::vector<std::thread> threads;
  std::atomic<int> read = 0;
  const auto started = Clock::now();
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&] {
      for (int j = 0; j < 4; ++j) read += provider.balance().word == ProviderWord::kAccessBalance;
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(read, 16);
  EXPECT_GE(Clock::now() - started, 750ms);  // 15 intervals of 50 ms after the first
}

// Whatever a provider echoes, the key comes back in no text, and the rest of the text does.
TEST(ProviderTest, NoTextAnAnswerHoldsContainsTheKey) {
  FakeProvider fake;
  Provider provider(settingsFor(fake.url()));
  const std::string key = FakeProviderSettings().key;
  fake.script("getNumber", {.body = "BANNED:key " + key + " banned"});
  fake.script("getStatus", {.body = "STATUS_OK:" + key});
  fake.script("getStatusV2", {.body = R"({"sms":{"text":"for )" + key + R"("}})"});
  fake.script("getStatus", {.body = "STATUS_WAIT_RETRY:" + key + "1"});
  EXPECT_EQ(outcome(provider, Step::kGetNumber), "BANNED | key *** banned");
  EXPECT_EQ(outcome(provider, Step::kStatus), "STATUS_OK | *** | for ***");
  EXPECT_EQ(outcome(provider, Step::kStatus), "STATUS_WAIT_RETRY | ***1");
}

}  // namespace
}  // namespace velmora::testing
