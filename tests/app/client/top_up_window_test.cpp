// The top-up window: the pending order, new orders, deleting an order and copying the address.
#include <cstring>

#include "tests/app/client/client_test.h"

namespace velmora::testing {
namespace {

using namespace app;
using namespace app::top_up;

class TopUp : public ClientTest {
 protected:
  TopUp() {
    logInAsDemo();
    fake.reply("getkf.php", {u8"@velmora_support"});
    fake.reply("getadd.php", {u8"TDepositAddress"});
  }

  std::vector<std::string> orderLabels() const {
    return {fake.text(kOrderUser), fake.text(kOrderAmount), fake.text(kOrderNumber),
            fake.text(kOrderTime)};
  }
  bool orderControlsVisible() const {
    EXPECT_EQ(fake.visible(kOrderFrame), fake.visible(kDeleteOrder));
    return fake.visible(kOrderFrame);
  }
  void openWithOrder() {
    fake.reply("getpay.php", {u8"demo-10-2026123456789012-2026/12/7"});
    topUpWindowCreated();
    fake.log.clear();
  }
};

TEST_F(TopUp, CreatedFillsTheFormAndShowsThePendingOrder) {
  fake.reply("getpay.php", {u8"demo-10-2026123456789012-2026/12/7"});
  topUpWindowCreated();
  EXPECT_EQ(fake.log, (Log{request("getkf.php"), request("getadd.php"),
                           request("getpay.php?username=demo&password=demo123")}));
  EXPECT_EQ(fake.text(kSupportContact), "@velmora_support");
  EXPECT_EQ(fake.text(kUserName), "demo");
  EXPECT_EQ(fake.text(kBalance), "12.00");
  EXPECT_EQ(fake.text(kDepositAddress), "TDepositAddress");
  EXPECT_EQ(orderLabels(),
            (std::vector<std::string>{"demo", "10", "2026123456789012", "2026/12/7"}));
  EXPECT_TRUE(orderControlsVisible());
}

TEST_F(TopUp, NoOrderOrAReplyThatIsNoOrderHidesTheOrderControls) {
  for (const std::vector<std::u8string>& replies :
       {std::vector<std::u8string>{u8"0"}, {}, {u8"demo-10"}, {u8"<html>502</html>"}}) {
    fake.reply("getpay.php", replies);
    topUpWindowCreated();
    EXPECT_EQ(orderLabels(), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_TRUE(fake.visibilitySet(kOrderFrame));
    EXPECT_FALSE(orderControlsVisible());
  }
}

TEST_F(TopUp, AUserNameWithAHyphenKeepsTheOrderFieldsInPlace) {
  logIn({"vip-5", "pw", "20", "TAddr", "CODE", "f6", "f7", "v@x"});
  fake.reply("getpay.php", {u8"vip-5-30-2026555566667777-2026/12/1"});
  topUpWindowCreated();
  EXPECT_EQ(fake.log.back(), request("getpay.php?username=vip-5&password=pw"));
  EXPECT_EQ(orderLabels(),
            (std::vector<std::string>{"vip-5", "30", "2026555566667777", "2026/12/1"}));
}

TEST_F(TopUp, AmountsBelowOneOrFiveAreRefused) {
  fake.reply("getpay.php", {u8"0"});
  topUpWindowCreated();
  const std::pair<const char8_t*, const char8_t*> kRefusals[] = {
      {u8"", u8"请输入有效数字"},  {u8"abc", u8"请输入有效数字"},  {u8"0.5", u8"请输入有效数字"},
      {u8"1", u8"最低充值金额5U"}, {u8"4.99", u8"最低充值金额5U"},
  };
  for (const auto& [amount, message] : kRefusals) {
    fake.log.clear();
    fake.setText(kAmount, amount);
    submitTopUpClicked();
    EXPECT_EQ(fake.log, (Log{ClientFake::message(message)}))
        << "amount " << reinterpret_cast<const char*>(amount);
  }
}

TEST_F(TopUp, SubmitsTheAmountAsTypedWithAnOrderNumberAndTheDate) {
  fake.reply("getpay.php", {u8"0", u8"demo-10abc-2026123456789012-2026/12/7"});
  topUpWindowCreated();
  fake.log.clear();
  fake.setText(kAmount, u8"10abc");
  fake.reply("restpay.php", {u8"1"});
  submitTopUpClicked();

  ASSERT_EQ(fake.log.size(), 4u);
  const std::string prefix = request("restpay.php?username=demo&qt=10abc&cd=");
  const std::string sent = fake.log[0];
  ASSERT_EQ(sent.substr(0, prefix.size()), prefix);
  const size_t numberEnd = sent.find("&time=");
  const size_t dateEnd = sent.find("&password=demo123");
  ASSERT_NE(numberEnd, std::string::npos);
  ASSERT_EQ(dateEnd, sent.size() - std::strlen("&password=demo123")) << sent;
  const std::string orderNumber = sent.substr(prefix.size(), numberEnd - prefix.size());
  EXPECT_TRUE(orderNumber.size() == 16 || orderNumber.size() == 17) << orderNumber;
  EXPECT_EQ(orderNumber.find_first_not_of("0123456789"), std::string::npos) << orderNumber;
  const std::string date = sent.substr(numberEnd + 6, dateEnd - numberEnd - 6);
  EXPECT_EQ(std::count(date.begin(), date.end(), '/'), 2) << date;
  EXPECT_EQ(orderNumber.substr(0, 4), date.substr(0, 4)) << "both start with the year";

  EXPECT_EQ(fake.log[1], ClientFake::message(u8"充值提交成功"));
  EXPECT_EQ(fake.log[2], ClientFake::pause(300));
  EXPECT_EQ(fake.log[3], request("getpay.php?username=demo&password=demo123"));
  EXPECT_TRUE(orderControlsVisible());
}

TEST_F(TopUp, EveryReplyToASubmissionIsFollowedByARefresh) {
  fake.reply("getpay.php", {u8"0"});
  topUpWindowCreated();
  fake.setText(kAmount, u8"5");
  const std::pair<std::vector<std::u8string>, Log> kOutcomes[] = {
      {{u8"0"}, {ClientFake::message(u8"提交失败")}},
      {{u8"2"}, {}},
      {{}, {}},
  };
  for (const auto& [replies, messages] : kOutcomes) {
    fake.log.clear();
    fake.reply("restpay.php", replies);
    submitTopUpClicked();
    Log expected = messages;
    expected.push_back(request("getpay.php?username=demo&password=demo123"));
    ASSERT_EQ(fake.log.size(), expected.size() + 1);
    EXPECT_EQ(Log(fake.log.begin() + 1, fake.log.end()), expected);
  }
}

TEST_F(TopUp, NoNewOrderWhileOneIsShown) {
  openWithOrder();
  fake.setText(kAmount, u8"20");
  submitTopUpClicked();
  EXPECT_EQ(fake.log,
            (Log{ClientFake::message(u8"请先完成未支付订单或删除未支付订单后重新发起充值")}));
}

TEST_F(TopUp, ARefreshWithoutAnOrderKeepsTheShownOrder) {
  openWithOrder();
  fake.reply("getpay.php", {u8"0"});
  topUpWindowCreated();  // the refresh, with the order's labels still filled
  EXPECT_EQ(orderLabels()[1], "10") << "only a deletion clears the order";
  EXPECT_TRUE(orderControlsVisible());
}

TEST_F(TopUp, ADeletionClearsTheOrderEvenWhenTheRefreshFails) {
  openWithOrder();
  fake.reply("delpay.php", {u8"1"});
  fake.reply("getpay.php", {});
  deleteOrderClicked();
  EXPECT_EQ(fake.log,
            (Log{request("delpay.php?username=demo&password=demo123"),
                 ClientFake::message(u8"订单已删除，现在可以重新创建订单"), ClientFake::pause(300),
                 request("getpay.php?username=demo&password=demo123")}));
  EXPECT_EQ(orderLabels(), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_FALSE(orderControlsVisible());
}

TEST_F(TopUp, ADeletionNotConfirmedChangesNothing) {
  openWithOrder();
  for (const std::vector<std::u8string>& replies :
       {std::vector<std::u8string>{u8"0"}, {u8"1\r\n"}, {}}) {
    fake.log.clear();
    fake.reply("delpay.php", replies);
    deleteOrderClicked();
    EXPECT_EQ(fake.log, (Log{request("delpay.php?username=demo&password=demo123")}));
    EXPECT_EQ(orderLabels()[0], "demo");
  }
}

TEST_F(TopUp, CopiesTheDepositAddressAndSaysWhenTheClipboardRefused) {
  fake.reply("getpay.php", {u8"0"});
  topUpWindowCreated();
  fake.log.clear();
  copyAddressClicked();
  EXPECT_EQ(fake.clipboard, "TDepositAddress");
  fake.clipboardTakesText = false;
  copyAddressClicked();
  EXPECT_EQ(fake.log, (Log{ClientFake::message(u8"编辑框内容已成功复制到剪贴板！", u8"提示信息"),
                           ClientFake::message(u8"复制失败，剪贴板不可用", u8"提示信息")}));
}

}  // namespace
}  // namespace velmora::testing
