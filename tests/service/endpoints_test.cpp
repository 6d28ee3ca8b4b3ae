// The nine endpoints against a scratch database, with queries encoded as the client sends them.
#include "service/endpoints.h"

#include <gtest/gtest.h>

#include <future>
#include <latch>
#include <vector>

#include "service/password_hash.h"
#include "service/seed_data.h"
#include "tests/service/endpoint_fixture.h"

namespace velmora::service {
namespace {

TEST_P(EndpointTest, DemoAccountLogsInWithItsEightFields) {
  EXPECT_EQ(login(u8"demo", u8"demo123"),
            "demo,demo123,12,TQn9Y2khEsLJW1ChVWFMSMeRDow5KcbLSE,VM8K2Q,20815,2026/1/1,"
            "demo@example.com");
}

TEST_P(EndpointTest, LoginFailsWith25) {
  EXPECT_EQ(login(u8"demo", u8"demo12"), "25");
  EXPECT_EQ(login(u8"demo", u8"DEMO123"), "25");
  EXPECT_EQ(login(u8"nobody", u8"demo123"), "25");
  EXPECT_EQ(askRaw("login.php", "username=demo"), "25");
  EXPECT_EQ(askRaw("login.php", ""), "25");
  EXPECT_EQ(askRaw("login.php", "username=demo&password=demo1%"), "25");
}

TEST_P(EndpointTest, RegistrationStatuses) {
  EXPECT_EQ(askRaw("restuser.php", "password=x&sj=1&email="), "0");
  EXPECT_EQ(registerUser(u8""), "0");
  EXPECT_EQ(registerUser(u8"alice", u8""), "0");
  EXPECT_EQ(registerUser(u8"alice"), "2");
  EXPECT_EQ(registerUser(u8"alice", u8"other"), "1");
  EXPECT_EQ(registerUser(u8"demo"), "1");
  EXPECT_EQ(askRaw("restuser.php", "username=%FF%FE&password=x&sj=1&email="), "3");
  EXPECT_EQ(askRaw("restuser.php", "username=bob&password=x&sj=1&email=%D5"), "3");
  // Refused fields say nothing of the name: taken or not, the answer is the same.
  EXPECT_EQ(askRaw("restuser.php", "username=demo&password=x&sj=1&email=%D5"), "3");
  EXPECT_EQ(registerUser(u8"demo", u8"p,w"), "3");
}

TEST_P(EndpointTest, RegistrationRefusesWhatWouldBreakTheReplies) {
  EXPECT_EQ(registerUser(u8"a,b"), "3");  // login record
  EXPECT_EQ(registerUser(u8"a-b"), "3");  // order record
  EXPECT_EQ(registerUser(u8"carol", u8"p,w"), "3");
  EXPECT_EQ(registerUser(u8"carol", u8"pw", u8"c@x,y"), "3");
  EXPECT_EQ(registerUser(std::u8string(129, u8'n')), "3");
  // The client reads a record starting with 25 as the failure reply.
  EXPECT_EQ(registerUser(u8"25"), "3");
  EXPECT_EQ(registerUser(u8"25abc"), "3");
  EXPECT_EQ(registerUser(u8" 2.5e1"), "3");
  EXPECT_EQ(registerUser(u8"２５号"), "3");
  EXPECT_EQ(registerUser(u8"250"), "2");
  EXPECT_EQ(registerUser(u8"x25"), "2");
}

TEST_P(EndpointTest, RegisteredChineseAccountLogsInWithAFullRecord) {
  ASSERT_EQ(registerUser(u8"张三", u8"密码１", u8""), "2");
  const std::string reply = login(u8"张三", u8"密码１");
  // An account without e-mail: its record ends in the separator before the empty eighth field.
  ASSERT_EQ(reply.back(), ',') << reply;
  const std::vector<std::string> fields = pieces(reply + "end", ',');
  ASSERT_EQ(fields.size(), 8u) << reply;
  EXPECT_EQ(fields[0], "张三");
  EXPECT_EQ(fields[1], "密码１");
  EXPECT_EQ(fields[2], "0");
  EXPECT_EQ(fields[3], "0");
  EXPECT_EQ(fields[4].size(), 6u);
  EXPECT_EQ(fields[5], "23456");
  EXPECT_NE(fields[6].find('/'), std::string::npos);
  EXPECT_EQ(fields[7], "end");
  EXPECT_EQ(login(u8"张三", u8"密码1"), "25");
}

TEST_P(EndpointTest, NewAccountsGetTheirOwnInvitationCodes) {
  ASSERT_EQ(registerUser(u8"first"), "2");
  ASSERT_EQ(registerUser(u8"second"), "2");
  const auto code = [&](std::u8string name) { return pieces(login(name, u8"secret"), ',')[4]; };
  EXPECT_NE(code(u8"first"), code(u8"second"));
  EXPECT_NE(code(u8"first"), demoAccount().invitationCode);
}

TEST_P(EndpointTest, FreeTexts) {
  EXPECT_EQ(ask("getkf.php"), "@velmora_kf");
  EXPECT_EQ(ask("getadd.php"), "TDhNQAT8YrjBAUhj9G48CDS3qTqVTNTxe3");
  EXPECT_EQ(askRaw("getkf.php", "junk=%FF"), "@velmora_kf");
}

TEST_P(EndpointTest, ProjectListItemsAreNameDashPrice) {
  const std::string reply = ask("getxm.php");
  const std::vector<std::string> items = pieces(reply, ',');
  ASSERT_EQ(items.size(), demoProjects().size());
  EXPECT_EQ(items.front(), "微信-1.2");
  for (const std::string& item : items) {
    const std::vector<std::string> parts = pieces(item, '-');
    ASSERT_EQ(parts.size(), 2u) << item;
    EXPECT_GT(std::stod(parts[1]), 0) << item;
  }
  EXPECT_NE(reply.find("芒果TV-"), std::string::npos);
}

TEST_P(EndpointTest, OneOrderFromSubmissionToDeletion) {
  EXPECT_EQ(onOrder("getpay.php"), "0");
  EXPECT_EQ(submitOrder(u8"demo", u8"10.5"), "1");
  EXPECT_EQ(onOrder("getpay.php"), "demo-10.5-2026512343217890-2026/5/7");
  // A second order is refused and the first one stays.
  EXPECT_EQ(submitOrder(u8"demo", u8"20", u8"2026111111111111"), "0");
  EXPECT_EQ(onOrder("getpay.php"), "demo-10.5-2026512343217890-2026/5/7");
  EXPECT_EQ(onOrder("delpay.php"), "1");
  EXPECT_EQ(onOrder("delpay.php"), "0");
  EXPECT_EQ(onOrder("getpay.php"), "0");
  EXPECT_EQ(submitOrder(u8"demo", u8"5"), "1");
}

TEST_P(EndpointTest, OrdersOfAChineseUserName) {
  ASSERT_EQ(registerUser(u8"李四"), "2");
  EXPECT_EQ(submitOrder(u8"李四", u8"５０", u8"2026512343217890", u8"secret"), "1");
  EXPECT_EQ(onOrder("getpay.php", u8"李四", u8"secret"), "李四-５０-2026512343217890-2026/5/7");
  EXPECT_EQ(onOrder("getpay.php"), "0");
}

TEST_P(EndpointTest, RefusedOrders) {
  for (const char8_t* amount : {u8"4.99", u8"abc", u8"", u8"6-1", u8"10abc", u8"5,000", u8"1e999",
                                u8"12.345", u8"2000000"}) {
    EXPECT_EQ(submitOrder(u8"demo", amount), "0") << reinterpret_cast<const char*>(amount);
  }
  EXPECT_EQ(submitOrder(u8"demo", u8"10", u8""), "0");
  EXPECT_EQ(submitOrder(u8"nobody", u8"10"), "0");
  EXPECT_EQ(askRaw("restpay.php", "username=demo&qt=10&cd=1&password=demo123"), "0");
  EXPECT_EQ(askRaw("restpay.php", "username=demo&qt=10&cd=1&time=%FF&password=demo123"), "0");
  EXPECT_EQ(onOrder("getpay.php"), "0");
  EXPECT_EQ(askRaw("getpay.php", ""), "0");
  EXPECT_EQ(askRaw("delpay.php", "username=%FF&password=demo123"), "0");
}

// getpay, restpay, delpay and update.php act for the account only with its password: without it,
// with a wrong one or with another account's, each is refused and changes nothing.
TEST_P(EndpointTest, OrdersAndTheProfileNeedTheAccountsPassword) {
  ASSERT_EQ(registerUser(u8"mallory", u8"malpw"), "2");
  ASSERT_EQ(registerUser(u8"alice"), "2");
  ASSERT_EQ(submitOrder(u8"demo", u8"10"), "1");
  const std::u8string order = u8"2026111111111111";
  for (const char8_t* password : {u8"", u8"demo12", u8"malpw"}) {
    const std::string shown = reinterpret_cast<const char*>(password);
    EXPECT_EQ(onOrder("getpay.php", u8"demo", password), "0") << shown;
    EXPECT_EQ(onOrder("delpay.php", u8"demo", password), "0") << shown;
    EXPECT_EQ(onOrder("delpay.php", u8"nobody", password), "0") << shown;
    EXPECT_EQ(submitOrder(u8"alice", u8"10", order, password), "0") << shown;
    EXPECT_EQ(ask("update.php", {{"username", u8"demo"},
                                 {"password", u8"taken"},
                                 {"email", u8"0"},
                                 {"d2", u8"TMallory"},
                                 {"oldpassword", password}}),
              "0")
        << shown;
  }
  EXPECT_EQ(askRaw("getpay.php", "username=demo"), "0");
  EXPECT_EQ(askRaw("update.php", "username=demo&password=taken&email=0&d2=TMallory"), "0");
  EXPECT_EQ(onOrder("getpay.php"), "demo-10-2026512343217890-2026/5/7");
  EXPECT_EQ(onOrder("getpay.php", u8"alice", u8"secret"), "0");
  EXPECT_EQ(login(u8"demo", u8"demo123"),
            "demo,demo123,12,TQn9Y2khEsLJW1ChVWFMSMeRDow5KcbLSE,VM8K2Q,20815,2026/1/1,"
            "demo@example.com");
}

TEST_P(EndpointTest, UpdateChangesPasswordEmailAndAddress) {
  const auto update = [&](std::u8string current) {
    return ask("update.php", {{"username", u8"demo"},
                              {"password", u8"新密码"},
                              {"email", u8"0"},
                              {"d2", u8"TAddressOfDemo"},
                              {"oldpassword", current}});
  };
  EXPECT_EQ(update(u8"demo123"), "1");
  EXPECT_EQ(login(u8"demo", u8"demo123"), "25");
  EXPECT_EQ(login(u8"demo", u8"新密码"), "demo,新密码,12,TAddressOfDemo,VM8K2Q,20815,2026/1/1,0");
  // The password it had proves nothing any more, however recently it was checked.
  EXPECT_EQ(update(u8"demo123"), "0");
  EXPECT_EQ(onOrder("getpay.php", u8"demo", u8"demo123"), "0");
  EXPECT_EQ(submitOrder(u8"demo", u8"10", u8"2026512343217890", u8"新密码"), "1");
  EXPECT_EQ(update(u8"新密码"), "1");
}

// Another process on the store remembers the old password as checked; its next request is
// refused all the same.
TEST_P(EndpointTest, APasswordChangedThroughOneProcessIsRefusedByEveryOther) {
  StorePool otherStores(store.location());
  NumberOffice otherOffice({}, [this] { return now; });
  RequestAnswerer other(otherStores, otherOffice);
  const auto loginAtOther = [&](std::string_view password) {
    return other.answer("/E/qx/login.php?username=demo&password=" + std::string(password)).body;
  };
  ASSERT_TRUE(loginAtOther("demo123").starts_with("demo,"));
  ASSERT_EQ(askRaw("update.php", "username=demo&password=fresh&email=0&d2=0&oldpassword=demo123"),
            "1");
  EXPECT_EQ(loginAtOther("demo123"), "25");
  EXPECT_TRUE(loginAtOther("fresh").starts_with("demo,fresh,"));
}

TEST_P(EndpointTest, RefusedUpdates) {
  const auto update = [&](std::u8string user, std::u8string password, std::u8string email) {
    return ask("update.php", {{"username", user},
                              {"password", password},
                              {"email", email},
                              {"d2", u8"0"},
                              {"oldpassword", u8"demo123"}});
  };
  EXPECT_EQ(update(u8"nobody", u8"pw", u8"0"), "0");
  EXPECT_EQ(update(u8"demo", u8"", u8"0"), "0");
  EXPECT_EQ(update(u8"demo", u8"pw", u8"a,b"), "0");
  EXPECT_EQ(askRaw("update.php", "username=demo&email=0&d2=0&oldpassword=demo123"), "0");
  EXPECT_EQ(askRaw("update.php", "username=demo&password=pw&email=%81&d2=0&oldpassword=demo123"),
            "0");
  EXPECT_EQ(login(u8"demo", u8"demo123").substr(0, 5), "demo,");
}

// A password is verified outside the store's transactions: while one verification is held up,
// other requests, logins among them, are answered.
TEST_P(EndpointTest, AHashBeingVerifiedHoldsUpNoOtherRequest) {
  using namespace std::chrono_literals;
  std::latch verifying(1);
  std::promise<void> release;
  const std::shared_future<void> released = release.get_future().share();
  NumberOffice office(
      {}, [this] { return now; },
      [&](const std::string& hash, std::string_view password) {
        if (password == "held up") {
          verifying.count_down();
          released.wait();
        }
        return hashMatches(hash, password);
      });
  RequestAnswerer answerer(*stores, office);
  auto heldUp = std::async(std::launch::async, [&] {
    return answerer.answer("/E/qx/login.php?username=demo&password=held%20up").body;
  });
  verifying.wait();
  auto others = std::async(std::launch::async, [&] {
    return std::vector<std::string>{
        answerer.answer("/E/qx/getkf.php").body,
        answerer.answer("/E/qx/login.php?username=demo&password=demo123").body.substr(0, 5),
        answerer.answer("/E/qx/login.php?username=nobody&password=x").body};
  });
  const bool answered = others.wait_for(10s) == std::future_status::ready;
  release.set_value();
  EXPECT_TRUE(answered);
  EXPECT_EQ(others.get(), (std::vector<std::string>{"@velmora_kf", "demo,", "25"}));
  EXPECT_EQ(heldUp.get(), "25");
}

TEST_P(EndpointTest, UnknownEndpointHasNoReply) {
  EXPECT_EQ(askRaw("index.php", ""), "<no endpoint>");
  EXPECT_EQ(askRaw("login", ""), "<no endpoint>");
}

// A broken store gives each endpoint's negative reply, not a crash or a half answer; where any
// reply would be a verdict on the account, and where the password cannot be checked, the request
// fails as a whole.
TEST_P(EndpointTest, BrokenStoreGivesNegativeRepliesOrFails) {
  const std::string failed = "<status 503>";
  const std::string busy = R"({"code":10,"msg":"服务繁忙，请稍后再试"})";
  const std::u8string hm = u8"13800138000";
  const auto getNumber = [this] {
    return ask("getnum.php", {{"username", u8"demo"}, {"password", u8"demo123"}, {"xm", u8"微信"}});
  };
  store.run("DROP TABLE orders; DROP TABLE projects; DROP TABLE leases;");
  EXPECT_EQ(login(u8"demo", u8"demo123"), failed);
  EXPECT_EQ(ask("getxm.php"), failed);
  EXPECT_EQ(onOrder("getpay.php"), failed);
  EXPECT_EQ(submitOrder(u8"demo", u8"10"), "0");
  EXPECT_EQ(onOrder("delpay.php"), "0");
  EXPECT_EQ(ask("getkf.php"), "@velmora_kf");
  EXPECT_EQ(getNumber(), "2");
  for (const char* file : {"getsms.php", "release.php", "blacklist.php"}) {
    EXPECT_EQ(ask(file, {{"username", u8"demo"}, {"password", u8"demo123"}, {"hm", hm}}), "0")
        << file;
  }
  EXPECT_EQ(ask("held.php", {{"username", u8"demo"}, {"password", u8"demo123"}}), failed);
  EXPECT_EQ(askApi("username=demo&password=demo123"), busy);

  store.run("DROP TABLE blacklist; DROP TABLE accounts;");
  EXPECT_EQ(registerUser(u8"alice"), "3");
  EXPECT_EQ(getNumber(), failed);
  EXPECT_EQ(askApi("username=demo&password=demo123&action=getnum&xm=微信"), busy);
}

INSTANTIATE_TEST_SUITE_P(Stores, EndpointTest, kBothStores, storeTestName);

}  // namespace
}  // namespace velmora::service
