// The number panel against a service that grants numbers: getting one, the SMS by polling and by
// hand, a further SMS, copying the SMS and its code, releasing and blacklisting, finding a held
// number again when the window opens or a getnum.php reply went missing, and asking for no number
// while the account may hold one unseen.
#include "tests/app/client/client_test.h"

namespace velmora::testing {
namespace {

using namespace app;
using namespace app::main_window;

constexpr char kNumberQuery[] = "username=demo&password=demo123&xm=WeChat&dq=&yys=";
constexpr char kHeldQuery[] = "held.php?username=demo&password=demo123";
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
  static std::string numberRequest() { return request(std::string("getnum.php?") + kNumberQuery); }
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
  const struct {
    const char8_t* reply;
    const char8_t* notice;
    bool asksHeld;  // a grant that cannot be read may have granted a number all the same
  } kRefusals[] = {
      {u8"0", u8"可用余额不足，请充值", false},
      {u8"2", u8"暂无可用号码，请稍后再试", false},
      {u8"3", u8"请先选择项目", false},
      {u8"5", u8"该号码暂不可用", false},
      {u8"6", u8"你还没有获取号码，请先获取号码", false},
      {u8"9", u8"账号或密码错误，请重新登录", false},
      {u8"1,13800138000", u8"可用余额不足，请充值", true},  // a grant without its balance
      {u8"1,,3.00", u8"可用余额不足，请充值", true},        // a grant without a number
      {u8"10", u8"可用余额不足，请充值", false},
      {u8"<html><body>404 Not Found</body></html>", u8"可用余额不足，请充值", false},
  };
  fake.reply("held.php", {u8"0"});
  for (const auto& [reply, notice, asksHeld] : kRefusals) {
    fake.reply("getnum.php", {reply});
    for (void (*clicked)() : {getNumberClicked, chooseNumberClicked}) {
      fake.log.clear();
      clicked();
      ASSERT_EQ(fake.log.size(), asksHeld ? 3u : 2u) << gbk(reply);
      if (asksHeld) {
        EXPECT_EQ(fake.log[1], request(kHeldQuery));
      }
      EXPECT_EQ(fake.log.back(), ClientFake::message(notice)) << gbk(reply);
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

// A request that carried the password a profile save has replaced since is refused by the service
// after the save: the account is fine, and the step is taken again with the password saved.
TEST_F(NumberPanel, ARefusalOfAPasswordSavedOverIsNoWrongAccount) {
  const auto save = [](const char8_t* password) {
    profileWindowCreated();
    ClientFake::current().setText(profile::kPassword, password);
    profileSaveClicked();
  };
  fake.reply("update.php", {u8"1"});
  fake.reply("getxm.php", {u8"WeChat-1.5"});
  fake.reply("held.php", {u8"9", u8"1,13900139000"});
  fake.reply("getsms.php", {u8"9", u8"1,Your code is 7731"});
  mainWindowCreated();
  save(u8"pass2");
  fake.log.clear();
  fake.endRequests();  // held.php: asked again at once
  fake.endRequests();
  fake.tick();
  save(u8"pass3");
  fake.endRequests();  // the poll goes on
  fake.tick();
  fake.endRequests();
  const std::string poll = "getsms.php?username=demo&password=pass";
  EXPECT_EQ(fake.log,
            (Log{request("held.php?username=demo&password=pass2"),
                 ClientFake::timerStarted(kWindow, 2000), request(poll + "2&hm=13900139000"),
                 request("update.php?username=demo&password=pass3&email=demo%40example.com&d2="
                         "TAddr&oldpassword=pass2"),
                 ClientFake::message(u8"更新成功"), request(poll + "3&hm=13900139000"),
                 ClientFake::timerStopped(kWindow), ClientFake::flashed(kWindow)}));
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

// Once the SMS has come, "手动刷新" asks again.php for a further one. A reply it does not know (a
// service without again.php) leaves "手动刷新" as it always was: the SMS is read again.
TEST_F(NumberPanel, RefreshingAfterTheSmsAsksForAnother) {
  const struct {
    const char8_t* reply;
    Log after;  // after the again.php request
    const char8_t* sms;
  } kRows[] = {
      {u8"1",
       {ClientFake::timerStarted(kWindow, 2000), ClientFake::message(u8"已请求新短信，请稍候")},
       kSmsText},
      {u8"0", {ClientFake::message(u8"暂时无法获取新短信")}, kSmsText},
      {u8"2", {ClientFake::message(u8"号码已失效，请重新获取")}, u8""},
      {u8"9", {ClientFake::message(u8"账号或密码错误，请重新登录")}, kSmsText},
      {u8"", {smsRequest(), ClientFake::flashed(kWindow)}, kSmsText},
      {u8"<html><body>404 Not Found</body></html>",
       {smsRequest(), ClientFake::flashed(kWindow)},
       kSmsText},
  };
  for (const auto& row : kRows) {
    resetNumberPanel();
    holdNumber();
    receiveSms();
    fake.reply("again.php", {row.reply});
    fake.reply("getsms.php", {u8"1," + std::u8string(kSmsText)});
    refreshSmsClicked();
    Log expected{smsRequest("again.php")};
    expected.insert(expected.end(), row.after.begin(), row.after.end());
    EXPECT_EQ(fake.log, expected) << gbk(row.reply);
    EXPECT_EQ(fake.text(kSms), gbk(row.sms)) << gbk(row.reply);
    EXPECT_EQ(fake.timerRuns(kWindow), row.reply == std::u8string_view(u8"1"));
    fake.log.clear();
  }
}

// While the further SMS is awaited the box keeps the last one, and "手动刷新" reads the SMS as for
// a new number.
TEST_F(NumberPanel, AFurtherSmsIsPolledForWhileTheLastStays) {
  holdNumber();
  receiveSms();
  fake.reply("again.php", {u8"1"});
  fake.reply("getsms.php", {u8"0", u8"1,Your code is 7731"});
  refreshSmsClicked();
  refreshSmsClicked();
  EXPECT_EQ(fake.text(kSms), gbk(kSmsText));
  fake.tick();
  fake.endRequests();
  EXPECT_EQ(fake.log, (Log{smsRequest("again.php"), ClientFake::timerStarted(kWindow, 2000),
                           ClientFake::message(u8"已请求新短信，请稍候"), smsRequest(),
                           ClientFake::message(u8"暂未收到短信，请稍后刷新"), smsRequest(),
                           ClientFake::timerStopped(kWindow), ClientFake::flashed(kWindow)}));
  EXPECT_EQ(fake.text(kSms), "Your code is 7731");
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

// What held.php names when the main window opens is shown, with its SMS or polled for it; any
// other reply, a documented service's 404 page or a failure among them, shows and says nothing.
TEST_F(NumberPanel, TheMainWindowShowsTheNumberTheServiceHolds) {
  const struct {
    const char8_t* reply;
    const char* number;  // shown; null for none
    const char8_t* sms;
    Log log;  // once the request has ended
  } kRows[] = {
      {u8"1,13900139000,【WeChat】验证码：482913，5分钟内有效",
       "13900139000",
       u8"【WeChat】验证码：482913，5分钟内有效",
       {ClientFake::flashed(kWindow)}},
      {u8"1,13900139000", "13900139000", u8"", {ClientFake::timerStarted(kWindow, 2000)}},
      {u8"0", nullptr, u8"", {}},
      {u8"9", nullptr, u8"", {}},
      {u8"", nullptr, u8"", {}},
      {u8"<html><head><title>404 Not Found</title></head></html>", nullptr, u8"", {}},
  };
  fake.reply("getxm.php", {u8"WeChat-1.5"});
  for (const auto& row : kRows) {
    resetNumberPanel();
    fake.setText(kNumber, u8"请获取号码");
    fake.reply("held.php", {row.reply});
    mainWindowCreated();
    EXPECT_EQ(fake.log[0], request(kHeldQuery));
    fake.log.clear();
    fake.endRequests();
    EXPECT_EQ(fake.log, row.log) << gbk(row.reply);
    EXPECT_EQ(fake.text(kNumber), row.number ? row.number : gbk(u8"请获取号码"));
    EXPECT_EQ(fake.text(kSms), gbk(row.sms));
    fake.log.clear();
    releaseButtonClicked();
    EXPECT_EQ(fake.log[0], row.number ? request("release.php?username=demo&password=demo123&hm=" +
                                                std::string(row.number))
                                      : ClientFake::message(u8"暂无释放对像"));
    fake.log.clear();
  }
}

// A getnum.php reply that went missing or cannot be read may hide a granted and charged number:
// held.php names it. A failed held.php, or "0" after a missing reply, says the request failed; any
// other reply keeps the fixed notice.
TEST_F(NumberPanel, AMissingGrantIsFoundThroughHeld) {
  const struct {
    const char8_t* grant;
    const char8_t* held;
    Log after;  // after the two requests
    const char* number;
  } kRows[] = {
      {u8"", u8"1,13900139000,Your code is 7731", {ClientFake::flashed(kWindow)}, "13900139000"},
      {u8"", u8"1,13900139000", {ClientFake::timerStarted(kWindow, 2000)}, "13900139000"},
      {u8"1,13900139000",
       u8"1,13900139000",
       {ClientFake::timerStarted(kWindow, 2000)},
       "13900139000"},
      {u8"", u8"0", {ClientFake::message(u8"获取号码失败，请稍后重试")}, nullptr},
      {u8"", u8"9", {ClientFake::message(u8"可用余额不足，请充值")}, nullptr},
      {u8"", u8"", {ClientFake::message(u8"获取号码失败，请稍后重试")}, nullptr},
      {u8"", u8"<html>404</html>", {ClientFake::message(u8"可用余额不足，请充值")}, nullptr},
      {u8"1,13900139000", u8"0", {ClientFake::message(u8"可用余额不足，请充值")}, nullptr},
      {u8"1,13900139000", u8"", {ClientFake::message(u8"获取号码失败，请稍后重试")}, nullptr},
  };
  for (const auto& row : kRows) {
    resetNumberPanel();
    fake.setText(kNumber, u8"请获取号码");
    fake.reply("getnum.php", {row.grant});
    fake.reply("held.php", {row.held});
    getNumberClicked();
    Log expected{numberRequest(), request(kHeldQuery)};
    expected.insert(expected.end(), row.after.begin(), row.after.end());
    EXPECT_EQ(fake.log, expected) << gbk(row.grant) << " / " << gbk(row.held);
    EXPECT_EQ(fake.text(kNumber), row.number ? row.number : gbk(u8"请获取号码"));
    EXPECT_EQ(fake.text(kBalance), "") << "held.php tells no balance";
    fake.log.clear();
  }
}

// A click that comes before the window's held.php request has ended asks it again first: a number
// the account holds is never replaced unseen.
TEST_F(NumberPanel, AClickBeforeTheWindowsHeldReplyAsksForItFirst) {
  fake.reply("getxm.php", {u8"WeChat-1.5"});
  fake.reply("held.php", {u8"0", u8"1,13900139000"});
  mainWindowCreated();
  fake.log.clear();
  fake.reply("getnum.php", {u8"1,13800138000,10.50"});
  getNumberClicked();
  EXPECT_EQ(fake.log, (Log{ClientFake::cancelled(url(kHeldQuery)), request(kHeldQuery),
                           ClientFake::timerStarted(kWindow, 2000),
                           ClientFake::message(u8"请先释放或拉黑当前号码")}));
  EXPECT_EQ(fake.text(kNumber), "13900139000");
  EXPECT_TRUE(fake.timerRuns(kWindow));
  fake.endRequests();

  fake.reply("held.php", {u8"<html>404</html>"});
  resetNumberPanel();
  mainWindowCreated();
  fake.log.clear();
  getNumberClicked();
  EXPECT_EQ(fake.log, (Log{ClientFake::cancelled(url(kHeldQuery)), request(kHeldQuery),
                           numberRequest(), ClientFake::timerStarted(kWindow, 2000)}));
  EXPECT_EQ(fake.text(kNumber), "13800138000");
}

// Until held.php has answered, the account may hold a number the panel does not show: after the
// window's held.php failed, or a getnum.php reply went missing (its grant may come after held.php
// answered), a click asks held.php first and asks for no number while held.php fails.
TEST_F(NumberPanel, NoNumberIsAskedForWhileTheAccountMayHoldOneUnseen) {
  const std::string failed = ClientFake::message(u8"获取号码失败，请稍后重试");
  fake.reply("getxm.php", {u8"WeChat-1.5"});
  fake.reply("held.php", {u8""});
  mainWindowCreated();
  fake.endRequests();
  fake.log.clear();
  getNumberClicked();
  chooseNumberClicked();
  EXPECT_EQ(fake.log, (Log{request(kHeldQuery), failed, request(kHeldQuery), failed}));

  fake.reply("held.php", {u8"0", u8"0", u8"1,13900139000"});
  fake.reply("getnum.php", {u8""});
  fake.log.clear();
  getNumberClicked();
  getNumberClicked();
  EXPECT_EQ(fake.log, (Log{request(kHeldQuery), numberRequest(), request(kHeldQuery), failed,
                           request(kHeldQuery), ClientFake::timerStarted(kWindow, 2000),
                           ClientFake::message(u8"请先释放或拉黑当前号码")}));
  EXPECT_EQ(fake.text(kNumber), "13900139000");
}

}  // namespace
}  // namespace velmora::testing
