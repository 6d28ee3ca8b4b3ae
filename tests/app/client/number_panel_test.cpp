// The number panel against a service that grants numbers: getting one, the SMS by polling and by
// hand, copying the SMS and its code, releasing and blacklisting.
#include "tests/app/client/client_test.h"

namespace velmora::testing {
namespace {

using namespace app;
using namespace app::main_window;

constexpr char kNumberQuery[] = "username=demo&password=demo123&xm=WeChat&dq=&yys=";
constexpr char8_t kSmsText[] = u8"【WeChat】验证码：482913，5分钟内有效";

class NumberPanel : public ClientTest {
 protected:
  NumberPanel() {
    logInAsDemo();
    fake.setText(kProjectName, u8"WeChat");
  }

  // Gets 13800138000 and leaves the log empty.
  void holdNumber() {
    fake.reply("getnum.php", {u8"1,13800138000,10.50"});
    getNumberClicked();
    fake.log.clear();
  }
  // The SMS arrives by a poll; the log is left empty.
  void receiveSms(const char8_t* sms = kSmsText) {
    fake.reply("getsms.php", {u8"1," + std::u8string(sms)});
    fake.tick();
    fake.endRequests();
    fake.log.clear();
  }
  static std::string smsRequest(const std::string& endpoint = "getsms.php") {
    return request(endpoint + "?username=demo&password=demo123&hm=13800138000");
  }
  void expectNoNumber() {
    EXPECT_EQ(fake.text(kNumber), gbk(u8"请获取号码"));
    EXPECT_EQ(fake.text(kSms), "");
    EXPECT_FALSE(fake.timerRuns(kWindow));
    EXPECT_EQ(fake.requestsOnTheirWay(), 0u);
  }
};

TEST_F(NumberPanel, AGrantedNumberIsShownChargedAndPolled) {
  fake.setText(kSms, u8"old");
  fake.reply("getnum.php", {u8"1,13800138000,10.50"});
  getNumberClicked();
  EXPECT_EQ(fake.log, (Log{request(std::string("getnum.php?") + kNumberQuery),
                           ClientFake::timerStarted(kWindow, 2000)}));
  EXPECT_EQ(fake.text(kNumber), "13800138000");
  EXPECT_EQ(fake.text(kSms), "");
  EXPECT_EQ(fake.text(kBalance), "10.50");
  EXPECT_STREQ(accountField(AccountField::kBalance), "10.50");
}

TEST_F(NumberPanel, EveryRefusalHasItsNotice) {
  const std::pair<const char8_t*, const char8_t*> kRefusals[] = {
      {u8"0", u8"可用余额不足，请充值"},
      {u8"2", u8"暂无可用号码，请稍后再试"},
      {u8"3", u8"请先选择项目"},
      {u8"5", u8"该号码暂不可用"},
      {u8"6", u8"你还没有获取号码，请先获取号码"},
      {u8"9", u8"账号或密码错误，请重新登录"},
      {u8"1,13800138000", u8"可用余额不足，请充值"},  // a grant without its balance
      {u8"1,,3.00", u8"可用余额不足，请充值"},        // a grant without a number
      {u8"10", u8"可用余额不足，请充值"},
  };
  for (const auto& [reply, notice] : kRefusals) {
    fake.reply("getnum.php", {reply});
    for (void (*clicked)() : {getNumberClicked, chooseNumberClicked}) {
      fake.log.clear();
      clicked();
      ASSERT_EQ(fake.log.size(), 2u);
      EXPECT_EQ(fake.log[1], ClientFake::message(notice)) << gbk(reply);
    }
    EXPECT_FALSE(fake.timerRuns(kWindow));
    EXPECT_EQ(fake.text(kBalance), "");
  }
}

TEST_F(NumberPanel, AHeldNumberMustGoBeforeAnother) {
  holdNumber();
  getNumberClicked();
  chooseNumberClicked();
  EXPECT_EQ(fake.log, (Log{ClientFake::message(u8"请先释放或拉黑当前号码"),
                           ClientFake::message(u8"请先释放或拉黑当前号码")}));
}

TEST_F(NumberPanel, AskingForTheNumberAgainSendsTheLastOneGranted) {
  holdNumber();
  fake.reply("release.php", {u8"1,12.00"});
  releaseButtonClicked();
  fake.log.clear();
  fake.reply("getnum.php", {u8"5"});
  chooseNumberClicked();
  EXPECT_EQ(fake.log[0], request(std::string("getnum.php?") + kNumberQuery + "&hm=13800138000"));
}

TEST_F(NumberPanel, PollsOneAtATimeUntilTheSmsArrives) {
  holdNumber();
  fake.reply("getsms.php", {u8"0", u8"", u8"1,【WeChat】验证码：482913，5分钟内有效,请勿泄露"});
  fake.tick();
  fake.tick();  // the first poll is still on its way
  EXPECT_EQ(fake.log, (Log{smsRequest()}));
  fake.endRequests();  // "0"
  fake.tick();
  fake.endRequests();  // a failed request: keep polling
  fake.tick();
  fake.endRequests();
  EXPECT_EQ(fake.log, (Log{smsRequest(), smsRequest(), smsRequest(),
                           ClientFake::timerStopped(kWindow), ClientFake::flashed(kWindow)}));
  EXPECT_EQ(fake.text(kSms), gbk(u8"【WeChat】验证码：482913，5分钟内有效,请勿泄露"));
  EXPECT_EQ(fake.text(kNumber), "13800138000");
  fake.tick();
  EXPECT_EQ(fake.requestsOnTheirWay(), 0u);
}

TEST_F(NumberPanel, AGoneNumberStopsThePollingAndIsDropped) {
  holdNumber();
  fake.reply("getsms.php", {u8"2"});
  fake.tick();
  fake.endRequests();
  EXPECT_EQ(fake.log, (Log{smsRequest(), ClientFake::timerStopped(kWindow),
                           ClientFake::message(u8"号码已失效，请重新获取")}));
  expectNoNumber();
  fake.log.clear();
  refreshSmsClicked();
  EXPECT_EQ(fake.log, (Log{ClientFake::message(u8"你还没有获取号码，请先获取号码")}));
}

// The service still holds the number: it stays, and "手动刷新" may ask again.
TEST_F(NumberPanel, AWrongAccountStopsThePollingOnceAndKeepsTheNumber) {
  holdNumber();
  fake.reply("getsms.php", {u8"9", u8"9", u8"1,Your code is 7731"});
  fake.tick();
  fake.endRequests();
  fake.tick();
  EXPECT_EQ(fake.log, (Log{smsRequest(), ClientFake::timerStopped(kWindow),
                           ClientFake::message(u8"账号或密码错误，请重新登录")}));
  EXPECT_EQ(fake.text(kNumber), "13800138000");
  EXPECT_FALSE(fake.timerRuns(kWindow));
  fake.log.clear();
  refreshSmsClicked();
  refreshSmsClicked();
  EXPECT_EQ(fake.log, (Log{smsRequest(), ClientFake::message(u8"账号或密码错误，请重新登录"),
                           smsRequest(), ClientFake::flashed(kWindow)}));
  EXPECT_EQ(fake.text(kSms), "Your code is 7731");
}

TEST_F(NumberPanel, RefreshingByHandAsksOnceAndSaysWhatCame) {
  holdNumber();
  fake.reply("getsms.php", {u8"0", u8"", u8"1,Your code is 7731"});
  refreshSmsClicked();
  refreshSmsClicked();
  EXPECT_EQ(fake.log, (Log{smsRequest(), ClientFake::message(u8"暂未收到短信，请稍后刷新"),
                           smsRequest(), ClientFake::message(u8"暂未收到短信，请稍后刷新")}));
  fake.log.clear();
  fake.tick();  // a poll on its way when the SMS comes by hand is given up
  refreshSmsClicked();
  EXPECT_EQ(fake.log,
            (Log{smsRequest(), smsRequest(), ClientFake::timerStopped(kWindow),
                 ClientFake::cancelled(smsRequest().substr(8)), ClientFake::flashed(kWindow)}));
  EXPECT_EQ(fake.text(kSms), "Your code is 7731");
  EXPECT_EQ(fake.requestsOnTheirWay(), 0u);
}

TEST_F(NumberPanel, TheCopyButtonsCopyTheSmsAndItsCode) {
  holdNumber();
  copySmsClicked();
  copyVerificationCodeClicked();
  EXPECT_EQ(fake.log,
            (Log{ClientFake::message(u8"暂无短信内容"), ClientFake::message(u8"暂无短信内容")}));
  receiveSms();
  copySmsClicked();
  EXPECT_EQ(fake.clipboard, gbk(kSmsText));
  copyVerificationCodeClicked();
  EXPECT_EQ(fake.clipboard, "482913");
  EXPECT_EQ(fake.log, (Log{ClientFake::message(u8"复制成功", u8"提示"),
                           ClientFake::message(u8"复制成功", u8"提示")}));
}

TEST_F(NumberPanel, AnSmsWithoutACodeOrARefusingClipboardIsSaidSo) {
  holdNumber();
  receiveSms(u8"您的账户已登录，如非本人操作请忽略");
  copyVerificationCodeClicked();
  fake.clipboardTakesText = false;
  copySmsClicked();
  EXPECT_EQ(fake.log, (Log{ClientFake::message(u8"未识别到验证码"),
                           ClientFake::message(u8"复制失败，剪贴板不可用", u8"提示")}));
  EXPECT_EQ(fake.clipboard, "");
}

TEST_F(NumberPanel, ReleaseAndBlacklistLetTheNumberGo) {
  struct Row {
    void (*clicked)();
    const char* endpoint;
    const char8_t* done;
    const char8_t* failed;
  };
  const Row kRows[] = {
      {releaseButtonClicked, "release.php", u8"号码已释放", u8"释放失败，请稍后重试"},
      {blacklistButtonClicked, "blacklist.php", u8"已拉黑该号码", u8"拉黑失败，请稍后重试"},
  };
  for (const Row& row : kRows) {
    holdNumber();
    fake.tick();  // a poll on its way
    fake.log.clear();
    fake.reply(row.endpoint, {u8"", u8"9", u8"1,11.5"});
    row.clicked();
    row.clicked();
    EXPECT_EQ(fake.text(kNumber), "13800138000") << "kept while the service refuses";
    row.clicked();
    EXPECT_EQ(fake.log,
              (Log{smsRequest(row.endpoint), ClientFake::message(row.failed),
                   smsRequest(row.endpoint), ClientFake::message(u8"账号或密码错误，请重新登录"),
                   smsRequest(row.endpoint), ClientFake::timerStopped(kWindow),
                   ClientFake::cancelled(smsRequest().substr(8)), ClientFake::message(row.done)}));
    expectNoNumber();
    EXPECT_EQ(fake.text(kBalance), "11.5");
    fake.endRequests();
  }
}

// After its SMS the number is no longer polled: when it ends, or a release reached the service but
// its reply did not come back, the service answers "2", and the panel lets the number go.
TEST_F(NumberPanel, ANumberTheServiceNoLongerHoldsCanStillGo) {
  for (void (*clicked)() : {releaseButtonClicked, blacklistButtonClicked}) {
    holdNumber();
    receiveSms();
    fake.reply("release.php", {u8"2"});
    fake.reply("blacklist.php", {u8"2"});
    clicked();
    EXPECT_EQ(fake.log.back(), ClientFake::message(u8"号码已失效，请重新获取"));
    expectNoNumber();
    EXPECT_EQ(fake.text(kBalance), "10.50");
    fake.log.clear();
    fake.reply("getnum.php", {u8"1,13700137000,9.30"});
    getNumberClicked();
    EXPECT_EQ(fake.text(kNumber), "13700137000");
    releaseButtonClicked();
  }
}

TEST_F(NumberPanel, ANewMainWindowStartsWithAnEmptyPanel) {
  holdNumber();
  receiveSms();
  fake.reply("getxm.php", {u8"WeChat-1.5"});
  mainWindowCreated();
  fake.log.clear();
  copySmsClicked();
  releaseButtonClicked();
  EXPECT_EQ(fake.log,
            (Log{ClientFake::message(u8"暂无短信内容"), ClientFake::message(u8"暂无释放对像")}));
}

}  // namespace
}  // namespace velmora::testing
