// Logging in and registering: what the user is told, what the service receives, and what the
// account holds afterwards.
#include "tests/app/client/client_test.h"

namespace velmora::testing {
namespace {

using namespace app;

class Login : public ClientTest {
 protected:
  void typeCredentials(std::u8string_view user, std::u8string_view password) {
    fake.setText(login::kUserName, user);
    fake.setText(login::kPassword, password);
  }
};

TEST_F(Login, ShowsTheSupportContactWhenCreated) {
  fake.reply("getkf.php", {u8"@velmora_support"});
  loginWindowCreated();
  EXPECT_EQ(fake.text(login::kSupportContact), "@velmora_support");

  fake.reply("getkf.php", {});
  loginWindowCreated();
  EXPECT_EQ(fake.text(login::kSupportContact), "") << "a failed request shows the empty text";
}

TEST_F(Login, AsksForTheUserNameFirstThenThePassword) {
  loginButtonClicked();
  typeCredentials(u8"", u8"pw");
  loginButtonClicked();
  typeCredentials(u8"demo", u8"");
  loginButtonClicked();
  EXPECT_EQ(fake.log,
            (Log{ClientFake::message(u8"请输入用户名"), ClientFake::message(u8"请输入用户名"),
                 ClientFake::message(u8"请输入密码")}))
      << "nothing is sent without both";
}

TEST_F(Login, TakesTheRecordPausesAndOpensTheMainWindow) {
  typeCredentials(u8"demo", u8"demo123");
  fake.reply("login.php", {u8"demo,demo123,12,TAddr,VM8K2Q,f6,f7,demo@example.com"});
  loginButtonClicked();
  EXPECT_EQ(fake.log, (Log{request("login.php?username=demo&password=demo123"),
                           ClientFake::message(u8"登入成功"), ClientFake::pause(200),
                           ClientFake::opened(main_window::kWindow)}));
  EXPECT_STREQ(accountField(AccountField::kUserName), "demo");
  EXPECT_STREQ(accountField(AccountField::kPassword), "demo123");
  EXPECT_STREQ(accountField(AccountField::kBalance), "12");
  EXPECT_STREQ(accountField(AccountField::kReceivingAddress), "TAddr");
  EXPECT_STREQ(accountField(AccountField::kInvitationCode), "VM8K2Q");
  EXPECT_STREQ(accountField(AccountField::kEmail), "demo@example.com");
}

TEST_F(Login, TheNumber25IsWrongCredentials) {
  typeCredentials(u8"demo", u8"wrong");
  for (const char8_t* reply : {u8"25", u8"25.0", u8" 25"}) {
    fake.log.clear();
    fake.reply("login.php", {reply});
    loginButtonClicked();
    EXPECT_EQ(fake.log, (Log{request("login.php?username=demo&password=wrong"),
                             ClientFake::message(u8"请检查信息")}));
  }
  EXPECT_STREQ(accountField(AccountField::kUserName), "");
}

TEST_F(Login, AFailedRequestOrAShortRecordIsReportedAsAFailure) {
  typeCredentials(u8"demo", u8"demo123");
  for (const std::vector<std::u8string>& replies :
       {std::vector<std::u8string>{}, {u8"demo,demo123,12"}, {u8"<html>error</html>"}}) {
    fake.log.clear();
    fake.reply("login.php", replies);
    loginButtonClicked();
    EXPECT_EQ(fake.log, (Log{request("login.php?username=demo&password=demo123"),
                             ClientFake::message(u8"登录失败，请稍后重试")}));
  }
  EXPECT_STREQ(accountField(AccountField::kUserName), "");
}

TEST_F(Login, AUserNameBeginningWith25LogsIn) {
  typeCredentials(u8"25abc", u8"pw");
  fake.reply("login.php", {u8"25abc,pw,3,TAddr,CODE,f6,f7,m@x"});
  loginButtonClicked();
  ASSERT_EQ(fake.log.size(), 4u);
  EXPECT_EQ(fake.log[1], ClientFake::message(u8"登入成功"));
  EXPECT_STREQ(accountField(AccountField::kUserName), "25abc");
}

TEST_F(Login, AnAccountWithoutEmailLogsInWithAnEmptyEmail) {
  typeCredentials(u8"nomail", u8"pw");
  fake.reply("login.php", {u8"nomail,pw,0,TAddr,CODE,f6,f7,"});
  loginButtonClicked();
  EXPECT_EQ(fake.log.back(), ClientFake::opened(main_window::kWindow));
  EXPECT_STREQ(accountField(AccountField::kInvitationCode), "CODE");
  EXPECT_STREQ(accountField(AccountField::kEmail), "");
}

TEST_F(Login, TypedValuesReachTheServiceAsTyped) {
  typeCredentials(u8"a&b c", u8"p=1#");
  loginButtonClicked();
  EXPECT_EQ(fake.log.front(), request("login.php?username=a%26b%20c&password=p%3D1%23"));
}

TEST_F(Login, ALaterLoginReplacesEveryField) {
  typeCredentials(u8"demo", u8"demo123");
  fake.reply("login.php", {u8"demo,demo123,12,TAddr,VM8K2Q,f6,f7,demo@example.com",
                           u8"other,pw2,5,TOther,CODE2,g6,g7,"});
  loginButtonClicked();
  loginButtonClicked();
  EXPECT_STREQ(accountField(AccountField::kUserName), "other");
  EXPECT_STREQ(accountField(AccountField::kEmail), "");
}

class Registration : public ClientTest {
 protected:
  void typeForm(std::u8string_view user, std::u8string_view password,
                std::u8string_view passwordAgain, std::u8string_view email) {
    fake.setText(registration::kUserName, user);
    fake.setText(registration::kPassword, password);
    fake.setText(registration::kPasswordAgain, passwordAgain);
    fake.setText(registration::kEmail, email);
  }
};

TEST_F(Registration, PasswordsThatDifferOnlyInCaseAreRefusedLocally) {
  typeForm(u8"newuser", u8"Secret", u8"secret", u8"");
  registrationSubmitClicked();
  EXPECT_EQ(fake.log, (Log{ClientFake::message(u8"两次输入密码不一致，请检查")}));
}

TEST_F(Registration, SendsTheFormWithACodeAndAnswersEachStatus) {
  typeForm(u8"newuser", u8"pw", u8"pw", u8"n@x.com");
  const std::pair<const char8_t*, const char8_t*> kAnswers[] = {
      {u8"0", u8"请检查注册信息，是否填写完整"},
      {u8"1", u8"用户名已存在，请重新设置用户名"},
      {u8"2", u8"注册成功"},
      {u8"3", u8"注册失败，请重新尝试"},
  };
  for (const auto& [reply, message] : kAnswers) {
    fake.log.clear();
    fake.reply("restuser.php", {reply});
    registrationSubmitClicked();
    ASSERT_EQ(fake.log.size(), 2u);
    EXPECT_EQ(fake.log[1], ClientFake::message(message));
  }
  const std::string sent = fake.log[0];
  const std::string prefix = request("restuser.php?username=newuser&password=pw&sj=");
  ASSERT_EQ(sent.substr(0, prefix.size()), prefix);
  const size_t codeEnd = sent.find("&email=");
  ASSERT_NE(codeEnd, std::string::npos);
  const int code = std::stoi(sent.substr(prefix.size(), codeEnd - prefix.size()));
  EXPECT_GE(code, 11111);
  EXPECT_LE(code, 43878);
  EXPECT_EQ(sent.substr(codeEnd), "&email=n%40x.com");
  EXPECT_STREQ(accountField(AccountField::kUserName), "") << "registering does not log in";
}

TEST_F(Registration, AnyOtherReplyOrAFailedRequestSaysNothing) {
  typeForm(u8"", u8"", u8"", u8"");
  fake.reply("restuser.php", {u8"2\r\n"});
  registrationSubmitClicked();
  fake.reply("restuser.php", {});
  registrationSubmitClicked();
  ASSERT_EQ(fake.log.size(), 2u);
  EXPECT_NE(fake.log[0].find("username=&password=&sj="), std::string::npos)
      << "empty fields are the service's to judge";
}

TEST_F(Registration, ValuesHoldingACommaAreRefusedBeforeAnythingIsSent) {
  for (const auto& form : {std::array<const char8_t*, 3>{u8"a,b", u8"pw", u8""},
                           {u8"user", u8"p,w", u8""},
                           {u8"user", u8"pw", u8"a,b@x.com"}}) {
    fake.log.clear();
    typeForm(form[0], form[1], form[1], form[2]);
    registrationSubmitClicked();
    EXPECT_EQ(fake.log,
              (Log{ClientFake::message(u8"用户名、密码、邮箱和地址不能包含英文逗号“,”")}));
  }
}

TEST_F(Registration, TheLinksMoveBetweenTheTwoWindows) {
  registerLinkClicked();
  backToLoginClicked();
  EXPECT_EQ(fake.log,
            (Log{ClientFake::opened(registration::kWindow), ClientFake::opened(login::kWindow),
                 ClientFake::pause(100), ClientFake::closed(registration::kWindow)}));
}

}  // namespace
}  // namespace velmora::testing
