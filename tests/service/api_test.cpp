// The JSON API: the account, each failure's code, and the number steps, which share their numbers
// with the text endpoints.
#include "service/api.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "tests/service/endpoint_fixture.h"

namespace velmora::service {
namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;

// A UTF-8 value as URL libraries send it.
std::string form(std::u8string_view text) {
  return testing::percentEncoded(std::string(text.begin(), text.end()));
}

const std::string kDemo = "username=demo&password=demo123";

TEST_P(EndpointTest, ApiRepliesWithoutANumber) {
  ASSERT_EQ(registerUser(u8"spacey", u8"a b+c"), "2");
  const std::string wechat = "&xm=" + form(u8"微信");
  const struct {
    std::string query;
    std::string reply;
  } rows[] = {
      {kDemo,
       R"({"code":0,"msg":"ok","data":{"username":"demo","balance":"12.00","invitation_code":"VM8K2Q"}})"},
      {"username=demo&password=demo12", R"({"code":1,"msg":"用户名或密码错误"})"},
      {"username=demo", R"({"code":1,"msg":"用户名或密码错误"})"},
      {"", R"({"code":1,"msg":"用户名或密码错误"})"},
      {"username=demo&password=x&action=getnum" + wechat, R"({"code":1,"msg":"用户名或密码错误"})"},
      // "+" is a space, "%2B" a plus.
      {"username=spacey&password=a+b%2Bc&action=getnum" + wechat, R"({"code":2,"msg":"余额不足"})"},
      {kDemo + "&action=getnum" + wechat + "&dq=" + form(u8"香港"),
       R"({"code":3,"msg":"暂无可用号码，请稍后再试"})"},
      {kDemo + "&action=getnum&xm=" + form(u8"不存在"), R"({"code":4,"msg":"项目不存在"})"},
      {kDemo + "&action=getnum" + wechat + "&hm=12345678901",
       R"({"code":5,"msg":"指定的号码不可用"})"},
      {kDemo + "&action=getnum" + wechat + "&hm=", R"({"code":6,"msg":"没有可指定的号码"})"},
      {kDemo + "&action=getsms&hm=13800138000", R"({"code":8,"msg":"号码不存在或已释放"})"},
      {kDemo + "&action=release", R"({"code":8,"msg":"号码不存在或已释放"})"},
      {kDemo + "&action=blacklist&hm=13800138000", R"({"code":8,"msg":"号码不存在或已释放"})"},
      {kDemo + "&action=held", R"({"code":11,"msg":"当前没有持有的号码"})"},
      {"username=demo&password=x&action=held", R"({"code":1,"msg":"用户名或密码错误"})"},
      {kDemo + "&action=dance", R"({"code":9,"msg":"未知的操作"})"},
      {kDemo + "&action=", R"({"code":9,"msg":"未知的操作"})"},
  };
  for (const auto& row : rows) EXPECT_EQ(askApi(row.query), row.reply) << row.query;
  EXPECT_EQ(balance(), "12");
}

TEST_P(EndpointTest, ApiNumberStepsShareTheTextEndpointsNumbers) {
  const Json given = Json::parse(askApi(kDemo + "&action=getnum&xm=" + form(u8"微信")));
  ASSERT_EQ(given["code"], 0) << given;
  const std::string number = given["data"]["number"];
  EXPECT_EQ(given["data"]["balance"], "10.80");
  const std::string getsms = kDemo + "&action=getsms&hm=" + number;
  EXPECT_EQ(askApi(getsms), R"({"code":7,"msg":"尚未收到短信，请稍后再试"})");

  EXPECT_EQ(askApi(kDemo + "&action=held"),
            R"({"code":0,"msg":"ok","data":{"number":")" + number + R"(","balance":"10.80"}})");

  pass(5s);
  const Json read = Json::parse(askApi(getsms));
  ASSERT_EQ(read["code"], 0) << read;
  const std::string sms = read["data"]["sms"];
  const std::string code = read["data"]["code"];
  EXPECT_TRUE(std::regex_match(code, std::regex(R"(\d{6})"))) << read;
  EXPECT_NE(sms.find(code), std::string::npos) << read;
  EXPECT_EQ(read["data"]["number"], number);
  EXPECT_EQ(read["data"]["balance"], "10.80");
  EXPECT_EQ(ask("getsms.php", {{"username", u8"demo"},
                               {"password", u8"demo123"},
                               {"hm", std::u8string(number.begin(), number.end())}}),
            "1," + sms);

  EXPECT_EQ(Json::parse(askApi(kDemo + "&action=held")), read);

  EXPECT_EQ(askApi(kDemo + "&action=blacklist&hm=" + number),
            R"({"code":0,"msg":"ok","data":{"number":")" + number + R"(","balance":"10.80"}})");
  EXPECT_EQ(askApi(kDemo + "&action=release&hm=" + number),
            R"({"code":8,"msg":"号码不存在或已释放"})");
  EXPECT_EQ(
      Json::parse(askApi(kDemo + "&action=getnum&xm=" + form(u8"微信") + "&hm=" + number))["code"],
      5);
}

}  // namespace
}  // namespace velmora::service
