// The main window: its header, the project list and search, the choices, the window buttons and
// the fixed notices of the number panel.
#include "tests/app/client/client_test.h"

namespace velmora::testing {
namespace {

using namespace app;
using namespace app::main_window;

class MainWindow : public ClientTest {
 protected:
  MainWindow() {
    logInAsDemo();
    fake.reply("getxm.php", {u8"WeChat-1.5,Telegram-2,whatsapp-3,Google-0.8,Facebook-1"});
  }
  std::vector<std::string> fullList() const {
    return {"WeChat-1.5", "Telegram-2", "whatsapp-3", "Google-0.8", "Facebook-1"};
  }
};

TEST_F(MainWindow, CreatedFillsTheHeaderAndTheListThenClosesTheLoginWindow) {
  fake.reply("getkf.php", {u8"@velmora_support"});
  mainWindowCreated();
  EXPECT_EQ(fake.log, (Log{request("held.php?username=demo&password=demo123"), request("getxm.php"),
                           request("getkf.php"), ClientFake::pause(100),
                           ClientFake::closed(login::kWindow)}));
  EXPECT_EQ(fake.items(kProjects), fullList());
  EXPECT_EQ(fake.comboBoxText(kProjects), gbk(u8">>请选择项目<<"));
  EXPECT_EQ(fake.text(kUserName), "demo");
  EXPECT_EQ(fake.text(kBalance), "12.00");
  EXPECT_EQ(fake.text(kSupportContact), "@velmora_support");
}

TEST_F(MainWindow, AFailedListLeavesTheListEmptyWithItsPrompt) {
  fake.reply("getxm.php", {});
  fake.setItems(kProjects, {u8"stale-1"});
  mainWindowCreated();
  EXPECT_TRUE(fake.items(kProjects).empty());
  EXPECT_EQ(fake.comboBoxText(kProjects), gbk(u8">>请选择项目<<"));
}

TEST_F(MainWindow, TheBalanceGetsTwoDecimalsOnlyWhenItHasNone) {
  const std::pair<const char*, const char*> kShown[] = {
      {"15", "15.00"}, {"12.5", "12.5"}, {"0.75", "0.75"}, {"0", "0.00"},
      {"-3", "0.00"},  {"abc", "0.00"},  {"", "0.00"},
  };
  for (const auto& [balance, shown] : kShown) {
    setAccountField(AccountField::kBalance, balance);
    mainWindowCreated();
    EXPECT_EQ(fake.text(kBalance), shown) << "balance \"" << balance << '"';
  }
}

TEST_F(MainWindow, APickedItemShowsItsNameAndPrice) {
  const std::tuple<const char8_t*, const char8_t*, const char8_t*> kItems[] = {
      {u8"微信-1.5", u8"微信", u8"1.5"},
      {u8"A-B-C", u8"A", u8"B"},
      {u8"NoPrice", u8"NoPrice", u8""},
  };
  for (const auto& [item, name, price] : kItems) {
    fake.setComboBoxText(kProjects, item);
    projectSelected();
    EXPECT_EQ(fake.text(kProjectName), gbk(name));
    EXPECT_EQ(fake.text(kUnitPrice), gbk(price));
  }
}

TEST_F(MainWindow, RegionAndOperatorChoicesAreCopiedToTheirLabels) {
  fake.setComboBoxText(kRegions, u8"广东");
  fake.setComboBoxText(kOperators, u8"中国移动号段");
  regionSelected();
  operatorSelected();
  EXPECT_EQ(fake.text(kRegion), gbk(u8"广东"));
  EXPECT_EQ(fake.text(kOperator), gbk(u8"中国移动号段"));
}

TEST_F(MainWindow, SearchNeedsAKeyword) {
  searchButtonClicked();
  EXPECT_EQ(fake.log, (Log{ClientFake::message(u8"请输入关键字")}));
}

TEST_F(MainWindow, SearchIgnoresCaseAndNarrowsTheList) {
  fake.setItems(kProjects,
                {u8"WeChat-1.5", u8"Telegram-2", u8"whatsapp-3", u8"Google-0.8", u8"Facebook-1"});
  fake.setText(kKeyword, u8"A");
  searchButtonClicked();
  EXPECT_EQ(fake.items(kProjects),
            (std::vector<std::string>{"WeChat-1.5", "Telegram-2", "whatsapp-3", "Facebook-1"}));
  EXPECT_EQ(fake.comboBoxText(kProjects), gbk(u8"请选择结果（4）项"));

  fake.log.clear();
  fake.setText(kKeyword, u8"at");
  searchButtonClicked();
  EXPECT_EQ(fake.items(kProjects), (std::vector<std::string>{"WeChat-1.5", "whatsapp-3"}))
      << "a narrowed list is searched as it is";
  EXPECT_EQ(fake.comboBoxText(kProjects), gbk(u8"请选择结果（2）项"));
  EXPECT_EQ(fake.log, (Log{ClientFake::messageOf("WeChat-1.5\r\nwhatsapp-3\r\n", u8"符合2项")}))
      << "no request while something matches";
}

TEST_F(MainWindow, ThreeMatchesAreCountedInTheListAndTheCaption) {
  fake.setItems(kProjects, {u8"微信-1", u8"QQ-2", u8"微信国际-3", u8"微信海外-4"});
  fake.setText(kKeyword, u8"微信");
  searchButtonClicked();
  EXPECT_EQ(fake.comboBoxText(kProjects), gbk(u8"请选择结果（3）项"));
  EXPECT_EQ(
      fake.log,
      (Log{ClientFake::messageOf(gbk(u8"微信-1\r\n微信国际-3\r\n微信海外-4\r\n"), u8"符合3项")}));
}

TEST_F(MainWindow, NoMatchBringsTheFullListBack) {
  fake.setItems(kProjects, {u8"WeChat-1.5"});
  fake.setText(kKeyword, u8"zzz");
  searchButtonClicked();
  EXPECT_EQ(fake.log,
            (Log{request("getxm.php"), ClientFake::message(u8"无符合项目", u8"符合0项")}));
  EXPECT_EQ(fake.items(kProjects), fullList());
  EXPECT_EQ(fake.comboBoxText(kProjects), gbk(u8">>请选择项目<<"));
}

TEST_F(MainWindow, EmptyingTheKeywordReloadsTheList) {
  fake.setText(kKeyword, u8"we");
  keywordChanged();
  EXPECT_TRUE(fake.log.empty());
  fake.setText(kKeyword, u8"");
  keywordChanged();
  EXPECT_EQ(fake.log, (Log{request("getxm.php")}));
  EXPECT_EQ(fake.items(kProjects), fullList());
}

TEST_F(MainWindow, TheFourButtonsOpenTheirWindows) {
  topUpButtonClicked();
  profileButtonClicked();
  apiButtonClicked();
  promotionButtonClicked();
  EXPECT_EQ(fake.log,
            (Log{ClientFake::opened(top_up::kWindow), ClientFake::opened(profile::kWindow),
                 ClientFake::opened(api::kWindow), ClientFake::opened(promotion::kWindow)}));
}

// A service of the nine endpoints answers the panel's requests with an error page: every button
// keeps its fixed notice. An empty reply is a failed request, which may hide a grant: held.php is
// asked, and while it fails too no further number is asked for.
TEST_F(MainWindow, AServiceWithoutNumbersGetsThePanelsFixedNotices) {
  const std::string numberQuery = "getnum.php?username=demo&password=demo123&xm=&dq=&yys=";
  const std::string heldRequest = request("held.php?username=demo&password=demo123");
  const std::string failed = ClientFake::message(u8"获取号码失败，请稍后重试");
  const std::string tooLow = ClientFake::message(u8"可用余额不足，请充值");
  const struct {
    const char8_t* page;
    Log numbers;  // what the two number buttons send and say
  } kRows[] = {
      {u8"<html><body>404 Not Found</body></html>",
       {request(numberQuery), tooLow, request(numberQuery + "&hm="), tooLow}},
      {u8"", {request(numberQuery), heldRequest, failed, heldRequest, failed}},
  };
  for (const auto& row : kRows) {
    resetNumberPanel();
    for (const char* endpoint :
         {"getnum.php", "getsms.php", "release.php", "blacklist.php", "held.php", "again.php"})
      fake.reply(endpoint, {row.page});
    fake.log.clear();
    getNumberClicked();
    chooseNumberClicked();
    refreshSmsClicked();
    copySmsClicked();
    copyVerificationCodeClicked();
    blacklistButtonClicked();
    releaseButtonClicked();
    Log expected = row.numbers;
    for (const char8_t* notice : {u8"你还没有获取号码，请先获取号码", u8"暂无短信内容",
                                  u8"暂无短信内容", u8"暂无拉黑对像", u8"暂无释放对像"})
      expected.push_back(ClientFake::message(notice));
    EXPECT_EQ(fake.log, expected) << gbk(row.page);
    EXPECT_EQ(fake.clipboard, "") << "the copy buttons copy nothing";
    EXPECT_FALSE(fake.timerRuns(kWindow));
  }
}

TEST_F(MainWindow, TheCheckBoxShowsAndHidesTheCopyCodeButton) {
  fake.setTicked(kAutoCode, true);
  autoCodeCheckClicked();
  EXPECT_TRUE(fake.visible(kCopyCode));
  fake.setTicked(kAutoCode, false);
  autoCodeCheckClicked();
  EXPECT_TRUE(fake.visibilitySet(kCopyCode));
  EXPECT_FALSE(fake.visible(kCopyCode));
}

}  // namespace
}  // namespace velmora::testing
