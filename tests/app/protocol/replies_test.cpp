#include "app/protocol/replies.h"

#include <gtest/gtest.h>

#include <ctime>
#include <tuple>

#include "app/protocol/request_values.h"
#include "app/protocol/verification_code.h"
#include "app/runtime_calls.h"
#include "tests/support/fake_runtime.h"
#include "tests/support/gbk.h"

namespace velmora::protocol {
namespace {

using testing::gbk;

class Replies : public ::testing::Test {
 protected:
  Replies() { app::useEntryTable(&runtime.table()); }
  ~Replies() override {
    EXPECT_EQ(runtime.heap.liveBlocks(), 0u) << "a reading leaked runtime blocks";
    app::useEntryTable(nullptr);
  }

  testing::FakeRuntime runtime;
};

TEST_F(Replies, LoginFailsOnTheNumber25) {
  for (const char* reply : {"25", "25.0", " 25", "25abc", "25.00000001"}) {
    EXPECT_TRUE(isLoginFailure(reply)) << '"' << reply << '"';
  }
  for (const char* reply : {"250", "2.5", "", "demo,pw,12,T,code,x,y,m@x"}) {
    EXPECT_FALSE(isLoginFailure(reply)) << '"' << reply << '"';
  }
  EXPECT_FALSE(isLoginFailure(nullptr));
}

TEST_F(Replies, AccountRecordNeedsEightFields) {
  const auto record = readAccountRecord("demo,demo123,12,TAddr,VM8K2Q,a,b,demo@example.com");
  ASSERT_TRUE(record);
  EXPECT_EQ((*record)[0], "demo");
  EXPECT_EQ((*record)[2], "12");
  EXPECT_EQ((*record)[7], "demo@example.com");

  // A ninth field and anything after it are dropped.
  const auto longer = readAccountRecord("1,2,3,4,5,6,7,8,9,10");
  ASSERT_TRUE(longer);
  EXPECT_EQ((*longer)[7], "8");

  // An empty field between separators stays; an empty last one is dropped.
  const auto inner = readAccountRecord("u,,3,4,5,6,7,8");
  ASSERT_TRUE(inner);
  EXPECT_EQ((*inner)[1], "");
  EXPECT_FALSE(readAccountRecord("u,p,3,4,5,6,"));
  EXPECT_FALSE(readAccountRecord(""));
  EXPECT_FALSE(readAccountRecord(nullptr));
}

TEST_F(Replies, AnAccountWithoutEMailStillLogsIn) {
  // Seven separators and a trailing one: the eighth field, the e-mail, is empty.
  const auto record = readAccountRecord("u,p,12,TAddr,code,a,b,");
  ASSERT_TRUE(record);
  EXPECT_EQ((*record)[6], "b");
  EXPECT_EQ((*record)[7], "");
  const auto twoEmpty = readAccountRecord("u,p,12,TAddr,code,a,,");
  ASSERT_TRUE(twoEmpty);
  EXPECT_EQ((*twoEmpty)[6], "");
  EXPECT_EQ((*twoEmpty)[7], "");
}

TEST_F(Replies, StatusRepliesMatchTheWholeTextExactly) {
  EXPECT_EQ(readRegistrationStatus("0"), RegistrationStatus::kIncomplete);
  EXPECT_EQ(readRegistrationStatus("1"), RegistrationStatus::kNameTaken);
  EXPECT_EQ(readRegistrationStatus("2"), RegistrationStatus::kRegistered);
  EXPECT_EQ(readRegistrationStatus("3"), RegistrationStatus::kFailed);
  for (const char* reply : {"4", "2 ", "1\r\n", "", "02"}) {
    EXPECT_EQ(readRegistrationStatus(reply), RegistrationStatus::kUnknown) << reply;
  }
  EXPECT_TRUE(isStatus("1", "1"));
  EXPECT_FALSE(isStatus("1\r\n", "1"));
  EXPECT_FALSE(isStatus(nullptr, "1"));
}

TEST_F(Replies, ProjectListAndItems) {
  const std::string list = gbk(u8"微信-0.5,抖音-1.2,,QQ-0.8,");
  EXPECT_EQ(readProjectList(list.c_str()),
            (std::vector<std::string>{gbk(u8"微信-0.5"), gbk(u8"抖音-1.2"), "", "QQ-0.8"}));
  EXPECT_TRUE(readProjectList("").empty());

  const std::string item = gbk(u8"微信-0.5");
  const ProjectItem wechat = readProjectItem(item.c_str());
  EXPECT_EQ(wechat.name, gbk(u8"微信"));
  EXPECT_EQ(wechat.price, "0.5");
  const ProjectItem bare = readProjectItem("Telegram");
  EXPECT_EQ(bare.name, "Telegram");
  EXPECT_EQ(bare.price, "");
  EXPECT_EQ(readProjectItem("a-1-extra").price, "1");
}

TEST_F(Replies, PendingOrder) {
  EXPECT_FALSE(readPendingOrder("0", "demo"));
  const auto order = readPendingOrder("demo-10-2025123456789012-2025/3/7", "demo");
  ASSERT_TRUE(order);
  EXPECT_EQ(order->user, "demo");
  EXPECT_EQ(order->amount, "10");
  EXPECT_EQ(order->orderNumber, "2025123456789012");
  EXPECT_EQ(order->time, "2025/3/7");
  // Anything that is neither "0" nor four pieces is no order.
  EXPECT_FALSE(readPendingOrder("demo-10-123", "demo"));
  EXPECT_FALSE(readPendingOrder("", "demo"));
  EXPECT_FALSE(readPendingOrder("0\r\n", "demo"));
}

TEST_F(Replies, AUserNameWithADashKeepsTheOrderFieldsInPlace) {
  const auto order = readPendingOrder("vip-5-20-2025123456789012-2025/3/7", "vip-5");
  ASSERT_TRUE(order);
  EXPECT_EQ(order->user, "vip-5");
  EXPECT_EQ(order->amount, "20");
  EXPECT_EQ(order->orderNumber, "2025123456789012");
  EXPECT_EQ(order->time, "2025/3/7");
  // A record of another user is read piece by piece as before.
  EXPECT_EQ(readPendingOrder("demo-10-1-2025/3/7", "vip-5")->amount, "10");
  EXPECT_FALSE(readPendingOrder("vip-5-20-1", "vip-5"));
}

TEST_F(Replies, RequestValuesFollowTheClockAndTheRandomNumbers) {
  const std::time_t seconds = std::time(nullptr);
  const std::tm today = *std::localtime(&seconds);
  const std::string year = std::to_string(today.tm_year + 1900);

  EXPECT_EQ(currentDate(),
            year + "/" + std::to_string(today.tm_mon + 1) + "/" + std::to_string(today.tm_mday));
  for (int i = 0; i < 50; ++i) {
    const std::string number = newOrderNumber();
    EXPECT_EQ(number.rfind(year, 0), 0u) << number;
    EXPECT_GE(number.size(), 16u) << number;
    EXPECT_LE(number.size(), 17u) << number;
    EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos) << number;

    const int code = std::stoi(newRegistrationCode());
    EXPECT_GE(code, 11111);
    EXPECT_LE(code, 11111 + 32767);
  }
}

}  // namespace
}  // namespace velmora::protocol

namespace velmora::protocol {
namespace {

TEST_F(Replies, NumberRepliesGrantOnlyWithANumberAndABalance) {
  const auto granted = readGrantedNumber("1,13800138000,10.50");
  ASSERT_TRUE(granted);
  EXPECT_EQ(granted->number, "13800138000");
  EXPECT_EQ(granted->balance, "10.50");
  for (const char* reply : {"0", "1", "1,", "1,138", "1,,10", "1,138,10,x", "11,138,10", ""})
    EXPECT_FALSE(readGrantedNumber(reply)) << '"' << reply << '"';
  EXPECT_FALSE(readGrantedNumber(nullptr));
}

TEST_F(Replies, AHeldNumberComesWithAllOfItsSmsOrNone) {
  const std::tuple<const char*, const char*, const char*> kHeld[] = {
      {"1,13800138000", "13800138000", ""},
      {"1,13800138000,", "13800138000", ""},
      {"1,13800138000,a,b,,c", "13800138000", "a,b,,c"},
  };
  for (const auto& [reply, number, sms] : kHeld) {
    const auto held = readHeldNumber(reply);
    ASSERT_TRUE(held) << reply;
    EXPECT_EQ(held->number, number);
    EXPECT_EQ(held->sms, sms);
  }
  for (const char* reply : {"0", "9", "1", "1,", "1,,sms", "11,138", "<html>404</html>", ""})
    EXPECT_FALSE(readHeldNumber(reply)) << '"' << reply << '"';
  EXPECT_FALSE(readHeldNumber(nullptr));
}

TEST_F(Replies, AnSmsIsAllOfTheReplyAfterItsStatus) {
  EXPECT_EQ(readSms("1,a,b,,c"), "a,b,,c");
  for (const char* reply : {"0", "2", "1,", "1", "10,x", ""})
    EXPECT_FALSE(readSms(reply)) << '"' << reply << '"';
  EXPECT_EQ(readBalanceAfter("1,12.00"), "12.00");
  EXPECT_FALSE(readBalanceAfter("9"));
}

TEST_F(Replies, TheVerificationCodeIsTheOneBesideItsWordAndNoOtherNumber) {
  const std::pair<const char8_t*, const char*> kCodes[] = {
      // Chinese apps: the code after its word, or just before it.
      {u8"【某外卖】验证码 317702，请于5分钟内完成验证", "317702"},
      {u8"【微信】您的验证码是：482913，5分钟内有效，请勿泄露给他人。", "482913"},
      {u8"【淘宝】校验码 7731，订单号 202612081234567", "7731"},
      {u8"【某视频】517304（登录验证码），10分钟内有效。", "517304"},
      {u8"660218是你的某音验证码，请勿告诉他人", "660218"},
      {u8"尊敬的用户：2026年12月8日您的取件码为 443322", "443322"},
      {u8"您的包裹SF1234567890已到驿站，取件码 6631", "6631"},
      {u8"订单20261208已发货，验证码：5520", "5520"},
      {u8"【某平台】验证码：５８３１０２（有效期5分钟）", "583102"},
      {u8"【某App】验证码 482913 120秒内有效", "482913"},
      {u8"验证码为【８６２１】", "8621"},
      {u8"【某证券】动态口令 731905，60秒内有效", "731905"},
      {u8"【铁路12306】尊敬的旅客，请输入 602817 完成身份核验。", "602817"},
      {u8"请于123456789之前输入 4821", "4821"},
      {u8"验证码123，备用号码 90817", "90817"},
      {u8"验证码是一个很长很长的说明 8888", "8888"},
      {u8"【某超市】会员号码 88126 本次积分验证码 730195", "730195"},
      {u8"【某政务】您于2026年12月08日提交的申请已受理，请凭 738205 办理。", "738205"},
      // Chinese banks and carriers: tails, dates, times and amounts stand before the code.
      {u8"【某银行】您尾号5521的卡于12月08日09:15支出人民币1,356.00元，动态码：809134，请勿泄露。",
       "809134"},
      {u8"您尾号3307的账户于11月02日消费356.00元，确认码7314", "7314"},
      {u8"【某银行】2025年12月08日您正在登录网上银行，动态密码为246810，切勿告知他人。", "246810"},
      {u8"【某银行】您的卡6222****1234于12月08日消费￥1280，交易码 550917", "550917"},
      {u8"【某运营商】您的服务密码重置验证码为 906315，客服热线10086", "906315"},
      {u8"【某银行】您的一次性密码为 550128，请在10分钟内使用。如非本人操作请致电95588。",
       "550128"},
      {u8"【某游戏】账号 881265 的密码已修改，如非本人操作请用验证码 482913 找回", "482913"},
      // English services.
      {u8"G-730215 is your Google verification code.", "730215"},
      {u8"FB-48213 is your Facebook confirmation code", "48213"},
      {u8"Your WhatsApp code: 615-204. You can also tap this link: v.example.com/615204", "615204"},
      {u8"WhatsApp code 573 106", "573106"},
      {u8"[Telegram] Your login code is 48291. Do not share it.", "48291"},
      {u8"Code: 12345678 expires in 10 minutes", "12345678"},
      {u8"660218 is your verification code", "660218"},
      {u8"Your Amazon OTP is 482913. Do not share it with anyone.", "482913"},
      {u8"Your PIN is 7703. Call 800-555-0199 if you did not ask for it.", "7703"},
      {u8"Use PASSCODE 9132 to sign in", "9132"},
      // Digits in a link and the parts of an English date stand beside the code, never for it.
      {u8"【某平台】验证链接 https://m.example.cn/code/551903 ，或输入验证码 482913", "482913"},
      {u8"Open example.com/l/883201 or enter 482913 to sign in.", "482913"},
      {u8"Your sign-in code for December 8 2024 is 4821", "4821"},
      {u8"On Dec 8, 2024 a new device signed in. If this was you, enter 551903.", "551903"},
      {u8"Your code for 8 Dec. 2024 is 4821", "4821"},
      {u8"Your code is 482913.Valid for 5 min, help at example.com", "482913"},
      // Letters and digits make a code only right after its word.
      {u8"Your login code is K8P3M", "K8P3M"},
      {u8"【某游戏】您的验证码为：A7K9Q2，请勿泄露", "A7K9Q2"},
      {u8"Your code for account XX4821 is K9P2", "K9P2"},
      {u8"Your promo code is SAVEBIG", ""},
      {u8"Your parcel 1Z999AA10123456784 has shipped", ""},
      // No code at all: nothing is copied.
      {u8"包裹已签收，如有疑问请致电95311。", ""},
      {u8"【某银行】您尾号5521的卡登录密码已修改，如非本人操作请致电95588。", ""},
      {u8"【某银行】您尾号8841的卡消费￥2680元，余额12,450.00元。", ""},
      {u8"【某银行】您的卡6222****1234已成功绑定。", ""},
      {u8"【某运营商】尊敬的客户，您本月话费余额为128.50元，如需帮助请拨打10086。", ""},
      {u8"【某电商】您的订单202612081234已发货，实付￥1280，客服热线400-820-8820。", ""},
      {u8"【铁路12306】尊敬的旅客，您购买的12月10日G1234次列车车票已出票。", ""},
      {u8"【12306】尊敬的旅客，您的候补订单已兑现。", ""},
      {u8"Your card ending 4821 was charged USD 1500.00", ""},
      {u8"Your appointment is on 2026/12/08 at 09:15.", ""},
      {u8"Contact: 138 1234 5678", ""},
      {u8"【某快递】您的包裹已到达，物流详情 https://m.example.cn/t/883201 回TD退订", ""},
      {u8"【某银行】您有一笔交易待确认，详情：https://m.example-bank.com?id=20261208", ""},
      {u8"Your order has shipped. Track it at site.co/s/7731", ""},
      {u8"Your payment of $25.00 was received on Dec 8, 2024 at 10:32.", ""},
      {u8"Your subscription renews on Jan. 15th, 2025. Reply STOP to cancel.", ""},
      {u8"Reminder: your visit is on 8 December 2024 at 14:30.", ""},
      {u8"您的账户已登录", ""},
      {u8"code 123", ""},
      {u8"", ""},
  };
  for (const auto& [sms, code] : kCodes) {
    EXPECT_EQ(verificationCode(gbk(sms)), code) << gbk(sms);
  }
  // A byte of a double-byte character is never read as a letter of "code": 獵 is 0xAB 0x63.
  EXPECT_EQ(verificationCode("2026 code 5678"), "5678");
  EXPECT_EQ(verificationCode("2026 \xab"
                             "code 5678"),
            "2026");
  EXPECT_EQ(verificationCode("x\xab"), "");  // a lead byte at the end
  EXPECT_EQ(verificationCode("\xb0"
                             "12345"),
            "12345");  // a lead byte without a trail byte keeps the digit after it
}

}  // namespace
}  // namespace velmora::protocol
