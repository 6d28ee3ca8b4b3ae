// Numbers from a provider, through the endpoints the client calls, against the scripted fake
// provider over HTTP: what each answer of the provider gives the client, and that money moves
// once whatever the provider, a restart or a client at the same moment does.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "service/numbers/provider_poller.h"
#include "tests/service/endpoint_fixture.h"
#include "tests/service/fake_provider.h"
#include "tests/service/service_process.h"

namespace velmora::service {
namespace {

using namespace std::chrono_literals;

const std::u8string kPhone = u8"8613800000001";  // the fake's first grant, "+" dropped

testing::FakeProviderSettings fakeSettings() {
  testing::FakeProviderSettings settings;
  settings.smsAfterPolls = 1;  // the second status asked brings the SMS
  return settings;
}

class ProviderNumbersTest : public EndpointTest {
 protected:
  ProviderNumbersTest() { restart(); }

  void restart() {
    open({5s, 20min}, Upstream{provider, catalogue,
                               [this](std::string_view line) { notes.emplace_back(line); }});
  }

  std::string getNumber(std::u8string project = u8"微信", std::u8string carrier = u8"",
                        std::u8string password = u8"demo123") {
    return ask("getnum.php", {{"username", u8"demo"},
                              {"password", password},
                              {"xm", project},
                              {"dq", u8"北京"},
                              {"yys", carrier}});
  }

  // getsms.php, release.php, blacklist.php, again.php or held.php on the number.
  std::string step(std::string_view file, std::u8string number = kPhone,
                   std::u8string password = u8"demo123") {
    return ask(file, {{"username", u8"demo"}, {"password", password}, {"hm", number}});
  }

  void poll() {
    NumberDesk desk = pollerDesk();
    pollProvider(desk, provider, [] { return false; });
  }

  // The setStatus steps the provider was sent, in order.
  std::vector<std::string> stepsSent() const {
    std::vector<std::string> steps;
    for (const testing::ReceivedRequest& request : fake.requests()) {
      if (request.parameter("action") == "setStatus") steps.push_back(request.parameter("status"));
    }
    return steps;
  }

  testing::FakeProvider fake{fakeSettings()};
  Provider provider{{.url = fake.url(), .key = "fake-provider-key", .requestsPerSecond = 0}};
  const UpstreamCatalogue catalogue{
      .projects = {{"微信", "wx", 3, "1.20", "0.80"}, {"Steam", "st", 0, "7.00", ""}},
      .operators = {{"中国移动号段", "cmcc"}},
  };
  std::vector<std::string> notes;
};

TEST_P(ProviderNumbersTest, TheProjectListIsTheFilesAndGetnumAsksTheProviderForIt) {
  EXPECT_EQ(ask("getxm.php"), "微信-1.20,Steam-7.00");
  ASSERT_EQ(getNumber(u8"微信", u8"中国移动号段"), "1,8613800000001,10.80");
  EXPECT_EQ(step("held.php"), "1,8613800000001");
  const testing::ReceivedRequest sent = fake.requests().back();
  EXPECT_EQ(sent.parameter("service"), "wx");
  EXPECT_EQ(sent.parameter("country"), "3");
  EXPECT_EQ(sent.parameter("operator"), "cmcc");
  EXPECT_EQ(sent.parameter("maxPrice"), "0.80");
  EXPECT_FALSE(sent.parameters.contains("dq"));
  // An operator the file does not map is not sent; a project without max_price sends none.
  fake.script("getNumber", {.body = "ACCESS_NUMBER:2:8613800000002"});
  ASSERT_EQ(getNumber(u8"Steam", u8"广电号段"), "1,8613800000002,3.80");
  EXPECT_FALSE(fake.requests().back().parameters.contains("operator"));
  EXPECT_FALSE(fake.requests().back().parameters.contains("maxPrice"));
}

// How each answer reads is the provider client's own table; here, what the desk makes of them.
TEST_P(ProviderNumbersTest, WhatGetnumAnswersForEachAnswerOfTheProvider) {
  struct Row {
    std::string body;
    unsigned status;
    bool noted;  // the operator hears of it
  };
  for (const Row& row : std::vector<Row>{
           {"NO_NUMBERS", 200, false},
           {"WRONG_MAX_PRICE:0.95", 200, false},
           {"NO_BALANCE", 200, true},
           {"BANNED:'2026-12-10 10:00:00'", 200, true},
           {"<html><body>Bad gateway</body></html>", 502, true},
           {"", 500, true},
       }) {
    notes.clear();
    fake.script("getNumber", {.body = row.body, .status = row.status});
    EXPECT_EQ(getNumber(), "2") << row.body;
    EXPECT_EQ(notes.size(), row.noted ? 1u : 0u) << row.body;
    EXPECT_EQ(balance(), "12") << row.body;
  }
  EXPECT_EQ(step("held.php"), "0");
  // What getnum refuses before it asks: a project not in the file, a particular number (which a
  // provider cannot be asked for), no earlier number, a balance below the price.
  const size_t asked = fake.count("getNumber");
  EXPECT_EQ(getNumber(u8"抖音"), "3");
  for (const auto& [asked, reply] : {std::pair{u8"13800000000", "5"}, std::pair{u8"", "6"}}) {
    EXPECT_EQ(ask("getnum.php", {{"username", u8"demo"},
                                 {"password", u8"demo123"},
                                 {"xm", u8"微信"},
                                 {"dq", u8""},
                                 {"yys", u8""},
                                 {"hm", asked}}),
              reply);
  }
  EXPECT_EQ(getNumber(u8"微信", u8"", u8"wrong"), "9");
  ASSERT_EQ(getNumber(u8"Steam"), "1,8613800000001,5.00");
  EXPECT_EQ(getNumber(u8"Steam"), "0");
  EXPECT_EQ(fake.count("getNumber"), asked + 1);
}

TEST_P(ProviderNumbersTest, TheSmsComesByThePollerAndAClientPollCostsNoProviderRequest) {
  ASSERT_EQ(getNumber(), "1,8613800000001,10.80");
  poll();
  EXPECT_EQ(step("getsms.php"), "0");
  poll();
  // The SMS taken is delivered, even when the clock steps back before the time it came.
  now -= std::chrono::milliseconds(1h).count();
  const size_t asked = fake.requests().size();
  const std::string sms = step("getsms.php");
  ASSERT_TRUE(sms.starts_with("1,")) << sms;
  const std::string apiReply =
      askApi("username=demo&password=demo123&action=getsms&hm=8613800000001");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(step("getsms.php"), sms);
  EXPECT_EQ(step("held.php"), "1,8613800000001," + sms.substr(2));
  EXPECT_EQ(fake.requests().size(), asked);
  // The whole text of getStatusV2, which holds the code getStatus gave.
  const size_t codeAt = apiReply.find("\"code\":\"");
  ASSERT_NE(codeAt, std::string::npos) << apiReply;
  const std::string given = apiReply.substr(codeAt + 8, 6);
  EXPECT_NE(sms.find(given), std::string::npos);
  EXPECT_GT(sms.size(), given.size() + 2);
  // Released after its SMS: the price stays, and the provider is told the activation is done.
  EXPECT_EQ(step("release.php"), "1,10.80");
  poll();
  EXPECT_EQ(stepsSent(), std::vector<std::string>{"6"});
  EXPECT_EQ(fake.count("getStatus"), 2u);
}

TEST_P(ProviderNumbersTest, WithoutGetStatusV2TheCodeIsTheSms) {
  fake.set("status-v2", "no");
  ASSERT_EQ(getNumber(), "1,8613800000001,10.80");
  poll();
  poll();
  const std::string sms = step("getsms.php");
  EXPECT_EQ(sms.size(), 8u) << sms;  // "1," and six digits
}

TEST_P(ProviderNumbersTest, AReleaseBeforeTheSmsIsRefundedOnceAndCancelledAfterARefusal) {
  fake.set("early-refusals", "1");
  ASSERT_EQ(getNumber(), "1,8613800000001,10.80");
  EXPECT_EQ(step("release.php"), "1,12.00");
  poll();  // EARLY_CANCEL_DENIED: the cancel stays pending
  restart();
  poll();  // taken
  poll();
  EXPECT_EQ(stepsSent(), (std::vector<std::string>{"8", "8"}));
  // The SMS that came meanwhile is never asked for, charged nor shown.
  EXPECT_EQ(fake.count("getStatus"), 0u);
  EXPECT_EQ(step("getsms.php"), "2");
  EXPECT_EQ(step("held.php"), "0");
  EXPECT_EQ(balance(), "12.00");
}

TEST_P(ProviderNumbersTest, ABlacklistedPhoneIsNeverTakenAgain) {
  ASSERT_EQ(getNumber(), "1,8613800000001,10.80");
  EXPECT_EQ(step("blacklist.php"), "1,12.00");
  fake.script("getNumber", {.body = "ACCESS_NUMBER:99000000001:+8613800000001"});
  EXPECT_EQ(getNumber(), "2");
  EXPECT_EQ(balance(), "12.00");
  poll();
  EXPECT_EQ(stepsSent(), (std::vector<std::string>{"8", "8"}));
  EXPECT_EQ(fake.requests().back().parameter("id"), "99000000001");
}

TEST_P(ProviderNumbersTest, TheProviderEndingOrTheNumberRunningOutRefundsOnce) {
  ASSERT_EQ(getNumber(), "1,8613800000001,10.80");
  fake.script("getStatus", {.body = "STATUS_CANCEL"});
  poll();
  EXPECT_EQ(step("getsms.php"), "2");
  EXPECT_EQ(balance(), "12.00");
  EXPECT_TRUE(stepsSent().empty());

  fake.script("getNumber", {.body = "ACCESS_NUMBER:8:8613800000002"});
  ASSERT_EQ(getNumber(), "1,8613800000002,10.80");
  pass(20min);
  EXPECT_EQ(balance(), "12.00");
  poll();
  poll();
  EXPECT_EQ(stepsSent(), std::vector<std::string>{"8"});
  EXPECT_EQ(balance(), "12.00");
}

TEST_P(ProviderNumbersTest, TwoRequestsAtOnceNeverOverdrawAndTheGrantNotTakenIsCancelled) {
  fake.script("getNumber", {.body = "ACCESS_NUMBER:1:8613800000001", .delay = 300ms});
  fake.script("getNumber", {.body = "ACCESS_NUMBER:2:8613800000002", .delay = 300ms});
  std::string first;
  std::thread other([&] { first = getNumber(u8"Steam"); });
  const std::string second = getNumber(u8"Steam");
  other.join();
  EXPECT_EQ((first == "0") + (second == "0"), 1) << first << " " << second;
  EXPECT_EQ(balance(), "5.00");
  poll();
  EXPECT_EQ(stepsSent(), std::vector<std::string>{"8"});
}

TEST_P(ProviderNumbersTest, AnotherSmsOnANumberWhoseSmsCame) {
  ASSERT_EQ(getNumber(), "1,8613800000001,10.80");
  EXPECT_EQ(step("again.php"), "0");  // its SMS has not come
  std::vector<Lease> beforeTheSms;
  beforeTheSms = pollerDesk().providerRound().awaitingSms;
  poll();
  poll();
  const std::string firstSms = step("getsms.php");
  EXPECT_EQ(step("again.php"), "1");
  EXPECT_EQ(stepsSent(), std::vector<std::string>{"3"});
  EXPECT_EQ(step("getsms.php"), "0");
  EXPECT_EQ(step("held.php"), "1,8613800000001");
  // A status read before the first SMS is not taken for the second.
  pollerDesk().takeStatus(beforeTheSms.at(0), {ProviderWord::kStatusOk, "111111", "111111"});
  EXPECT_EQ(step("getsms.php"), "0");
  poll();  // STATUS_WAIT_RETRY
  poll();
  const std::string secondSms = step("getsms.php");
  ASSERT_TRUE(secondSms.starts_with("1,")) << secondSms;
  EXPECT_NE(secondSms, firstSms);
  // The price stays earned while another SMS is awaited.
  EXPECT_EQ(step("again.php"), "1");
  EXPECT_EQ(step("release.php"), "1,10.80");
  EXPECT_EQ(step("again.php"), "2");
  EXPECT_EQ(step("again.php", kPhone, u8"wrong"), "9");
  fake.script("getNumber", {.body = "ACCESS_NUMBER:5:8613800000005"});
  ASSERT_EQ(getNumber(), "1,8613800000005,9.60");
  poll();
  poll();
  fake.script("setStatus", {.body = "BAD_STATUS"});
  EXPECT_EQ(step("again.php", u8"8613800000005"), "0");
}

// The real program against the fake provider: killed while it holds numbers and owes the
// provider a cancel, started again, it finishes both, moves no money twice, and its key shows
// nowhere.
TEST(ProviderServiceTest, AKilledServiceResumesAndItsKeyShowsNowhere) {
  testing::TemporaryFolder folder;
  testing::FakeProviderSettings settings;
  settings.key = "k3y-never-shown";
  settings.smsDelay = 3s;
  settings.earlyCancelRefusals = 1;
  testing::FakeProvider fake(settings);
  const std::string keyFile = folder.path("key").string();
  const std::string projects = folder.path("projects.json").string();
  std::FILE* key = std::fopen(keyFile.c_str(), "w");
  std::fputs("k3y-never-shown\n", key);
  std::fclose(key);
  std::filesystem::permissions(keyFile, std::filesystem::perms::owner_read);
  std::FILE* file = std::fopen(projects.c_str(), "w");
  std::fputs(R"({"projects": [{"name": "wx", "service": "wx", "country": 3, "price": "1.20"}]})",
             file);
  std::fclose(file);
  const std::string database = folder.path("service.db").string();
  const std::string log = folder.path("service.log").string();
  const std::vector<std::string> options{
      "--upstream",          fake.url(), "--upstream-key-file", keyFile,
      "--upstream-projects", projects,   "--upstream-poll",     "1"};
  const std::string account = "username=demo&password=demo123";
  auto service = std::make_unique<testing::ServiceProcess>(database, log, "0", options);
  ASSERT_GT(service->port(), 0) << service->firstLine();
  EXPECT_EQ(service->firstLine(), "upstream balance: 100.00\n");
  std::vector<std::string> replies{
      service->get("/E/qx/getnum.php?" + account + "&xm=wx&dq=&yys="),
      service->get("/E/qx/getnum.php?" + account + "&xm=wx&dq=&yys="),
      service->get("/E/qx/release.php?" + account + "&hm=8613800000001"),
  };
  EXPECT_EQ(replies,
            (std::vector<std::string>{"1,8613800000001,10.80", "1,8613800000002,9.60", "1,10.80"}));
  kill(service->pid(), SIGKILL);
  service.reset();
  service = std::make_unique<testing::ServiceProcess>(database, log, "0", options);
  std::string sms;
  for (int i = 0; i < 100 && !sms.starts_with("1,"); ++i) {
    std::this_thread::sleep_for(100ms);
    sms = service->get("/E/qx/getsms.php?" + account + "&hm=8613800000002");
    replies.push_back(sms);
  }
  EXPECT_TRUE(sms.starts_with("1,")) << sms;
  size_t cancels = 0;
  for (const testing::ReceivedRequest& request : fake.requests()) {
    cancels += request.parameter("action") == "setStatus" && request.parameter("status") == "8";
  }
  EXPECT_GE(cancels, 2u);
  replies.push_back(service->get("/E/qx/login.php?" + account));
  EXPECT_TRUE(replies.back().starts_with("demo,demo123,10.80,")) << replies.back();
  std::string cmdline = testing::fileText("/proc/" + std::to_string(service->pid()) + "/cmdline");
  for (const std::string& text : replies) EXPECT_EQ(text.find("k3y"), std::string::npos);
  EXPECT_EQ(cmdline.find("k3y"), std::string::npos);
  service.reset();
  EXPECT_EQ(testing::fileText(log).find("k3y"), std::string::npos);
}

// Of the processes that share a PostgreSQL store, the first to poll does, until its connection
// ends; a SQLite file has one service, which always polls.
TEST_P(ProviderNumbersTest, OneProcessPollsTheProviderAtATime) {
  auto first = std::make_unique<Database>(store.location());
  Database second(store.location());
  EXPECT_TRUE(first->leadsProviderPolling());
  EXPECT_TRUE(first->leadsProviderPolling());
  EXPECT_EQ(second.leadsProviderPolling(), GetParam() == StoreKind::kSqlite);
  ASSERT_EQ(getNumber(), "1,8613800000001,10.80");
  NumberDesk secondDesk(second, *office);
  pollProvider(secondDesk, provider, [] { return false; });
  EXPECT_EQ(fake.count("getStatus") > 0, GetParam() == StoreKind::kSqlite);
  // The server lets the lock go once the first connection's backend has ended, a moment later.
  first.reset();
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!second.leadsProviderPolling() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_TRUE(second.leadsProviderPolling());
}

INSTANTIATE_TEST_SUITE_P(Stores, ProviderNumbersTest, kBothStores, storeTestName);

}  // namespace
}  // namespace velmora::service
