// The five number endpoints: charges, refunds, expiry, blacklists, asked numbers, restarts and
// simultaneous requests, on a clock the test moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <latch>
#include <regex>
#include <set>
#include <thread>

#include "service/request_answer.h"
#include "service/seed_data.h"
#include "tests/service/endpoint_fixture.h"
#include "tests/support/gbk.h"

namespace velmora::service {
namespace {

using namespace std::chrono_literals;

std::u8string utf8(std::string_view text) {
  return std::u8string(text.begin(), text.end());
}

std::string plain(std::u8string_view text) {
  return std::string(text.begin(), text.end());
}

const PoolNumber* poolEntry(const std::string& number) {
  static const std::vector<PoolNumber> pool = demoNumbers();
  for (const PoolNumber& entry : pool) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}

// "1," number "," balance.
const std::regex kNumberGiven(R"(1,(1[3-9]\d{9}),(\d+\.\d\d))");

struct Filter {
  std::u8string region;
  std::u8string carrier;
};

class NumberEndpointTest : public EndpointTest {
 protected:
  // demo's password, or the one registerUser gives.
  static std::u8string passwordOf(const std::u8string& user) {
    return user == u8"demo" ? u8"demo123" : u8"secret";
  }

  std::string getNumber(std::u8string project, std::u8string user = u8"demo", Filter filter = {}) {
    return ask("getnum.php", {{"username", user},
                              {"password", passwordOf(user)},
                              {"xm", project},
                              {"dq", filter.region},
                              {"yys", filter.carrier}});
  }

  // getnum.php as "指定号码" sends it.
  std::string askAgain(std::u8string hm, std::u8string user = u8"demo",
                       std::u8string project = u8"微信") {
    return ask("getnum.php", {{"username", user},
                              {"password", passwordOf(user)},
                              {"xm", project},
                              {"dq", u8""},
                              {"yys", u8""},
                              {"hm", hm}});
  }

  // getsms.php, release.php or blacklist.php.
  std::string onNumber(std::string_view file, const std::string& number,
                       std::u8string user = u8"demo") {
    return ask(file, {{"username", user}, {"password", passwordOf(user)}, {"hm", utf8(number)}});
  }

  void addUser(std::u8string name, const std::string& balance) {
    EXPECT_EQ(registerUser(name), "2");
    database->setBalance(plain(name), balance);
  }

  // The number of a reply that gave one; the test fails on any other reply.
  static std::string numberIn(const std::string& reply) {
    std::smatch match;
    if (!std::regex_match(reply, match, kNumberGiven)) {
      ADD_FAILURE() << "no number given: " << reply;
      return "<none>";
    }
    return match[1];
  }
};

TEST_P(NumberEndpointTest, ChargesThePriceOrRefusesWhenTheBalanceIsShort) {
  const struct {
    const char* balance;
    std::u8string project;
    const char* reply;  // N stands for the number
    const char* balanceAfter;
  } rows[] = {
      {"12", u8"微信", "1,N,10.80", "10.80"}, {"1.2", u8"微信", "1,N,0.00", "0.00"},
      {"1.19", u8"微信", "0", "1.19"},        {"0", u8"淘宝", "0", "0"},
      {"12", u8"微信支付", "3", "12"},        {"12", u8"", "3", "12"},
  };
  for (const auto& row : rows) {
    database->setBalance("demo", row.balance);
    const std::string reply = getNumber(row.project);
    EXPECT_EQ(std::regex_replace(reply, std::regex(R"(^1,\d{11},)"), "1,N,"), row.reply);
    EXPECT_EQ(balance(), row.balanceAfter) << row.balance;
  }
}

TEST_P(NumberEndpointTest, WrongCredentialsGet9OnEveryNumberEndpoint) {
  const std::string held = numberIn(getNumber(u8"微信"));
  const std::pair<std::u8string, std::u8string> strangers[] = {
      {u8"demo", u8"demo12"}, {u8"nobody", u8"demo123"}, {u8"demo", u8""}, {u8"", u8""}};
  for (const auto& [user, password] : strangers) {
    for (const char* file :
         {"getnum.php", "getsms.php", "release.php", "blacklist.php", "held.php", "again.php"}) {
      EXPECT_EQ(
          ask(file,
              {{"username", user}, {"password", password}, {"xm", u8"微信"}, {"hm", utf8(held)}}),
          "9")
          << file;
    }
  }
  EXPECT_EQ(askRaw("release.php", "hm=" + held), "9");
  EXPECT_EQ(balance(), "10.80");
  EXPECT_EQ(onNumber("getsms.php", held), "0");  // still held
}

TEST_P(NumberEndpointTest, TheSmsComesAfterTheDelayAndOnlyAReleaseBeforeItRefunds) {
  const std::string first = numberIn(getNumber(u8"微信"));
  EXPECT_EQ(onNumber("getsms.php", first), "0");
  pass(4999ms);
  EXPECT_EQ(onNumber("getsms.php", first), "0");
  pass(1ms);
  const std::string sms = onNumber("getsms.php", first);
  EXPECT_TRUE(std::regex_match(sms, std::regex(R"(1,【微信】(.*\D)?\d{6}\D.*)"))) << sms;
  // Another SMS: in the wording of the first with a new code, after the delay again; the price
  // stays earned while it is awaited.
  EXPECT_EQ(onNumber("again.php", first), "1");
  EXPECT_EQ(onNumber("again.php", first), "0");
  EXPECT_EQ(onNumber("getsms.php", first), "0");
  EXPECT_EQ(onNumber("held.php", first), "1," + first);
  pass(5s);
  const std::string another = onNumber("getsms.php", first);
  EXPECT_EQ(std::regex_replace(another, std::regex(R"(\d{6})"), "C"),
            std::regex_replace(sms, std::regex(R"(\d{6})"), "C"));
  EXPECT_NE(another, sms);
  EXPECT_EQ(onNumber("again.php", first), "1");
  EXPECT_EQ(onNumber("release.php", first), "1,10.80");
  EXPECT_EQ(onNumber("again.php", first), "2");
  EXPECT_EQ(onNumber("getsms.php", first), "2");
  EXPECT_EQ(onNumber("release.php", first), "2");

  const std::string english = numberIn(getNumber(u8"Steam"));
  pass(5s);
  const std::string text = onNumber("getsms.php", english);
  EXPECT_TRUE(std::regex_match(text, std::regex(R"(1,\[Steam\] [ -~]*\b\d{6}\b[ -~]*)"))) << text;
  EXPECT_EQ(onNumber("release.php", english), "1,8.80");

  const std::string unused = numberIn(getNumber(u8"淘宝"));
  EXPECT_EQ(balance(), "8.00");
  EXPECT_EQ(onNumber("release.php", unused), "1,8.80");
  EXPECT_EQ(onNumber("release.php", unused), "2");
  EXPECT_EQ(onNumber("getsms.php", unused), "2");
  EXPECT_EQ(balance(), "8.80");
}

// An SMS once shown stays delivered, and earned, when the clock steps back before its time.
TEST_P(NumberEndpointTest, AClockStepBackNeverUndoesAShownSms) {
  const auto held = [this] {
    return ask("held.php", {{"username", u8"demo"}, {"password", u8"demo123"}});
  };
  const std::string read = numberIn(getNumber(u8"微信"));
  const std::string shown = numberIn(getNumber(u8"淘宝"));
  pass(5s);
  const std::string sms = onNumber("getsms.php", read);
  ASSERT_TRUE(sms.starts_with("1,")) << sms;
  ASSERT_EQ(pieces(held(), ',').size(), 3u);
  now -= std::chrono::milliseconds(1h).count();
  EXPECT_EQ(onNumber("getsms.php", read), sms);
  EXPECT_EQ(pieces(held(), ',').size(), 3u);
  EXPECT_EQ(onNumber("again.php", read), "1");
  EXPECT_EQ(onNumber("release.php", read), "1,10.00");
  EXPECT_EQ(onNumber("release.php", shown), "1,10.00");
}

// Each number is checked after a restart, and its end is touched again after another one: the
// refund comes exactly once.
TEST_P(NumberEndpointTest, ANumberRunsOutAtItsExpiryRefundedOnlyWithoutItsSms) {
  const struct {
    NumberTimes times;
    const char* lastReply;  // just before the end
    const char* balanceAfter;
  } rows[] = {
      {{.smsDelay = 5s, .expiry = 2s}, "0", "12.00"},
      // The SMS would come at the very end, when the number is no longer there to read it.
      {{.smsDelay = 2s, .expiry = 2s}, "0", "12.00"},
      {{.smsDelay = 5s, .expiry = 10min}, "1,", "10.80"},
  };
  for (const auto& row : rows) {
    open(row.times);
    database->setBalance("demo", "12");
    const std::string number = numberIn(getNumber(u8"微信"));
    open(row.times);
    pass(row.times.expiry - 1ms);
    EXPECT_TRUE(onNumber("getsms.php", number).starts_with(row.lastReply));
    pass(1ms);
    EXPECT_EQ(onNumber("getsms.php", number), "2");
    EXPECT_EQ(balance(), row.balanceAfter);
    EXPECT_EQ(onNumber("release.php", number), "2");
    EXPECT_EQ(onNumber("blacklist.php", number), "2");
    open(row.times);
    pass(1h);
    EXPECT_EQ(balance(), row.balanceAfter);
  }
}

TEST_P(NumberEndpointTest, RegionAndOperatorChooseAmongThePool) {
  const struct {
    Filter filter;
    bool found;
  } rows[] = {
      {{u8"北京", u8"中国移动号段"}, true},
      {{u8"新疆", u8""}, true},
      {{u8"", u8"虚拟运营商号段"}, true},
      {{u8"", u8""}, true},
      {{u8"香港", u8""}, false},
      {{u8"上海", u8"移动"}, false},
  };
  for (const auto& row : rows) {
    const std::string reply = getNumber(u8"淘宝", u8"demo", row.filter);
    if (!row.found) {
      EXPECT_EQ(reply, "2");
      continue;
    }
    const PoolNumber* entry = poolEntry(numberIn(reply));
    ASSERT_NE(entry, nullptr) << reply;
    if (!row.filter.region.empty()) {
      EXPECT_EQ(entry->region, plain(row.filter.region));
    }
    if (!row.filter.carrier.empty()) {
      EXPECT_EQ(entry->carrier, plain(row.filter.carrier));
    }
  }
  // Each kind has one number, which demo holds now.
  addUser(u8"bob", "5");
  EXPECT_EQ(getNumber(u8"淘宝", u8"bob", {u8"北京", u8"中国移动号段"}), "2");
}

TEST_P(NumberEndpointTest, ABlacklistedNumberNeverComesBackToThatUser) {
  const Filter onlyOne{u8"北京", u8"广电号段"};
  const std::string number = numberIn(getNumber(u8"微信", u8"demo", onlyOne));
  EXPECT_EQ(onNumber("blacklist.php", number), "1,12.00");
  EXPECT_EQ(getNumber(u8"微信", u8"demo", onlyOne), "2");
  EXPECT_EQ(askAgain(utf8(number)), "5");
  addUser(u8"bob", "5");
  EXPECT_EQ(getNumber(u8"微信", u8"bob", onlyOne), "1," + number + ",3.80");
  EXPECT_EQ(onNumber("release.php", number, u8"bob"), "1,5.00");
  EXPECT_EQ(getNumber(u8"微信", u8"demo", onlyOne), "2");

  // After its SMS, a blacklisted number keeps its charge, as a released one does.
  const std::string used = numberIn(getNumber(u8"微信"));
  pass(5s);
  EXPECT_EQ(onNumber("blacklist.php", used), "1,10.80");
  EXPECT_EQ(onNumber("getsms.php", used), "2");
}

TEST_P(NumberEndpointTest, AskingForTheLastNumberAgain) {
  EXPECT_EQ(askAgain(u8""), "6");
  const std::string last = numberIn(getNumber(u8"微信"));
  EXPECT_EQ(askAgain(utf8(last)), "5");  // still held
  EXPECT_EQ(onNumber("release.php", last), "1,12.00");
  EXPECT_EQ(askAgain(utf8(last), u8"demo", u8"没有的项目"), "3");
  EXPECT_EQ(askAgain(u8"12345678901"), "5");  // not in the pool
  EXPECT_EQ(askRaw("getnum.php", "username=demo&password=demo123&xm=QQ&hm=%FF"), "5");
  database->setBalance("demo", "1");
  EXPECT_EQ(askAgain(utf8(last)), "0");
  database->setBalance("demo", "12");
  EXPECT_EQ(askAgain(utf8(last)), "1," + last + ",10.80");
  addUser(u8"bob", "5");
  EXPECT_EQ(askAgain(utf8(last), u8"bob"), "5");  // demo's now
  EXPECT_EQ(onNumber("getsms.php", last, u8"bob"), "2");
  EXPECT_EQ(onNumber("release.php", last, u8"bob"), "2");
}

TEST_P(NumberEndpointTest, ARestartKeepsNumbersTheirSmsBalancesAndBlacklists) {
  const std::string held = numberIn(getNumber(u8"微信"));
  const std::string refused = numberIn(getNumber(u8"淘宝"));
  EXPECT_EQ(onNumber("blacklist.php", refused), "1,10.80");
  open();
  EXPECT_EQ(balance(), "10.80");
  EXPECT_EQ(askAgain(utf8(refused)), "5");
  EXPECT_EQ(onNumber("getsms.php", held), "0");
  pass(5s);
  const std::string sms = onNumber("getsms.php", held);
  EXPECT_TRUE(sms.starts_with("1,【微信】")) << sms;
  open();
  EXPECT_EQ(onNumber("getsms.php", held), sms);
  EXPECT_EQ(onNumber("release.php", held), "1,10.80");
}

// held.php names the number handed out last among those the account still holds, with its SMS
// once it has come, so a client that lost it finds it again.
TEST_P(NumberEndpointTest, HeldNamesTheLastNumberStillHeldWithItsSms) {
  const auto held = [this](std::u8string user = u8"demo") {
    return ask("held.php", {{"username", user}, {"password", passwordOf(user)}});
  };
  EXPECT_EQ(held(), "0");
  const std::string first = numberIn(getNumber(u8"微信"));
  EXPECT_EQ(held(), "1," + first);
  pass(5s);
  const std::string sms = onNumber("getsms.php", first);
  EXPECT_EQ(held(), "1," + first + sms.substr(1));  // the SMS as getsms.php gives it, "," and all
  const std::string second = numberIn(getNumber(u8"淘宝"));
  EXPECT_EQ(held(), "1," + second);
  open();
  EXPECT_EQ(held(), "1," + second) << "the last granted, also after a restart";
  addUser(u8"bob", "5");
  EXPECT_EQ(held(u8"bob"), "0");
  EXPECT_EQ(onNumber("release.php", second), "1,10.80");
  EXPECT_EQ(held(), "1," + first + sms.substr(1));
  pass(10min);
  EXPECT_EQ(held(), "0") << "ended";
  EXPECT_EQ(balance(), "10.80");
}

// Every client on its own connection to the file, as with several services on one database:
// only the store's transactions keep them apart.
TEST_P(NumberEndpointTest, SimultaneousRequestsNeverShareANumberNorOverdraw) {
  const struct {
    const char* what;
    int accounts;
    const char* balance;
    Filter filter;
    size_t numbersGiven;
  } races[] = {
      {"one account with money for three", 1, "3.60", {u8"", u8"中国移动号段"}, 3},
      {"eight accounts, one number", 8, "12", {u8"北京", u8"广电号段"}, 1},
  };
  constexpr int kRequests = 8;
  for (const auto& race : races) {
    const auto user = [&](int i) {
      return "r" + std::to_string(race.numbersGiven) + "u" + std::to_string(i % race.accounts);
    };
    for (int i = 0; i < race.accounts; ++i) addUser(utf8(user(i)), race.balance);
    const std::string query =
        "&password=secret&xm=" + testing::percentEncoded(testing::gbk(u8"微信")) +
        "&dq=" + testing::percentEncoded(testing::gbk(race.filter.region)) +
        "&yys=" + testing::percentEncoded(testing::gbk(race.filter.carrier));
    std::vector<std::string> replies(kRequests);
    std::latch start(kRequests);
    std::vector<std::thread> clients;
    for (int i = 0; i < kRequests; ++i) {
      clients.emplace_back([&, i] {
        StorePool stores(store.location());
        NumberOffice office({}, [this] { return now; });
        RequestAnswerer answerer(stores, office);
        start.arrive_and_wait();
        replies[i] = answerer.answer("/E/qx/getnum.php?username=" + user(i) + query).body;
      });
    }
    for (std::thread& client : clients) client.join();
    std::set<std::string> numbers;
    for (const std::string& reply : replies) {
      if (reply.starts_with("1,")) numbers.insert(numberIn(reply));
    }
    const auto given = std::count_if(replies.begin(), replies.end(), [](const std::string& reply) {
      return reply.starts_with("1,");
    });
    EXPECT_EQ(static_cast<size_t>(given), race.numbersGiven) << race.what;
    EXPECT_EQ(numbers.size(), race.numbersGiven) << race.what;
    if (race.accounts == 1) {
      EXPECT_EQ(balance(utf8(user(0)), u8"secret"), "0.00");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Stores, NumberEndpointTest, kBothStores, storeTestName);

}  // namespace
}  // namespace velmora::service
