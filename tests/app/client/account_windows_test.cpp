// The profile, promotion and API windows, and the handler table that binds every handler.
#include "app/handlers/handler_table.h"
#include "tests/app/client/client_test.h"

namespace velmora::testing {
namespace {

using namespace app;

class Profile : public ClientTest {
 protected:
  Profile() {
    logInAsDemo();
    profileWindowCreated();
  }
};

TEST_F(Profile, CreatedShowsTheAccountFields) {
  EXPECT_EQ(fake.text(profile::kUser), "demo");
  EXPECT_EQ(fake.text(profile::kPassword), "demo123");
  EXPECT_EQ(fake.text(profile::kEmail), "demo@example.com");
  EXPECT_EQ(fake.text(profile::kAddress), "TAddr");
}

TEST_F(Profile, APasswordIsRequired) {
  fake.setText(profile::kPassword, u8"");
  profileSaveClicked();
  EXPECT_EQ(fake.log, (Log{ClientFake::message(u8"请输入密码")}));
}

TEST_F(Profile, EmptyEmailAndAddressAreSentAsZero) {
  fake.setText(profile::kEmail, u8"");
  fake.setText(profile::kAddress, u8"");
  profileSaveClicked();
  EXPECT_EQ(
      fake.log,
      (Log{request("update.php?username=demo&password=demo123&email=0&d2=0&oldpassword=demo123"),
           ClientFake::message(u8"未更新")}))
      << "a failed request is not an update";
}

TEST_F(Profile, AnUpdateIsWhatTheWindowShowsNextTime) {
  fake.setText(profile::kPassword, u8"newpass");
  fake.setText(profile::kEmail, u8"");
  fake.setText(profile::kAddress, u8"TNew");
  fake.reply("update.php", {u8"1"});
  profileSaveClicked();
  EXPECT_EQ(fake.log, (Log{request("update.php?username=demo&password=newpass&email=0&d2=TNew"
                                   "&oldpassword=demo123"),
                           ClientFake::message(u8"更新成功")}));

  fake.setText(profile::kPassword, u8"typed but not saved");
  profileWindowCreated();
  EXPECT_EQ(fake.text(profile::kPassword), "newpass");
  EXPECT_EQ(fake.text(profile::kEmail), "") << "the box left empty, not the 0 sent for it";
  EXPECT_EQ(fake.text(profile::kAddress), "TNew");

  // The next requests prove the account with the password saved.
  fake.log.clear();
  profileSaveClicked();
  fake.reply("getpay.php", {u8"0"});
  topUpWindowCreated();
  EXPECT_EQ(fake.log[0], request("update.php?username=demo&password=newpass&email=0&d2=TNew"
                                 "&oldpassword=newpass"));
  EXPECT_EQ(fake.log.back(), request("getpay.php?username=demo&password=newpass"));
}

TEST_F(Profile, ARefusedUpdateKeepsTheAccountFields) {
  fake.setText(profile::kPassword, u8"newpass");
  fake.reply("update.php", {u8"0"});
  profileSaveClicked();
  EXPECT_EQ(fake.log.back(), ClientFake::message(u8"未更新"));
  EXPECT_STREQ(accountField(AccountField::kPassword), "demo123");
  fake.log.clear();
  profileSaveClicked();
  EXPECT_EQ(fake.log[0],
            request("update.php?username=demo&password=newpass&email=demo%40example.com"
                    "&d2=TAddr&oldpassword=demo123"));
}

TEST_F(Profile, ValuesHoldingACommaAreRefusedBeforeAnythingIsSent) {
  for (const UnitRef unit : {profile::kPassword, profile::kEmail, profile::kAddress}) {
    profileWindowCreated();
    fake.log.clear();
    fake.setText(unit, u8"a,b");
    profileSaveClicked();
    EXPECT_EQ(fake.log,
              (Log{ClientFake::message(u8"用户名、密码、邮箱和地址不能包含英文逗号“,”")}));
  }
}

class InformationWindows : public ClientTest {
 protected:
  InformationWindows() { logInAsDemo(); }

  std::vector<bool> visibleSamples() const {
    return {fake.visible(api::kPythonSample), fake.visible(api::kJavaSample),
            fake.visible(api::kJsSample), fake.visible(api::kCppSample)};
  }
};

TEST_F(InformationWindows, PromotionShowsTheInvitationCodeAndRefreshesAfterAPause) {
  promotionWindowCreated();
  EXPECT_EQ(fake.text(promotion::kInvitationCode), "VM8K2Q");
  promotionRefreshClicked();
  EXPECT_EQ(fake.log, (Log{ClientFake::pause(300), ClientFake::message(u8"已刷新")}));
  EXPECT_EQ(fake.text(promotion::kInvitationCode), "VM8K2Q");
}

TEST_F(InformationWindows, ApiWindowShowsTheSupportContact) {
  fake.reply("getkf.php", {u8"@velmora_support"});
  apiWindowCreated();
  EXPECT_EQ(fake.text(api::kSupportContact), "@velmora_support");
}

TEST_F(InformationWindows, EachSampleButtonLeavesOnlyItsSampleVisible) {
  jsSampleClicked();
  jsSampleClicked();
  EXPECT_EQ(visibleSamples(), (std::vector<bool>{false, false, true, false}));
  javaSampleClicked();
  EXPECT_EQ(visibleSamples(), (std::vector<bool>{false, true, false, false}));
  cppSampleClicked();
  EXPECT_EQ(visibleSamples(), (std::vector<bool>{false, false, false, true}));
  pythonSampleClicked();
  EXPECT_EQ(visibleSamples(), (std::vector<bool>{true, false, false, false}));
}

TEST_F(InformationWindows, BothCopyButtonsCopyTheApiAddress) {
  fake.setText(api::kAddress, u8"url:http://127.0.0.1:8765/qx/Api_PC");
  fake.setText(api::kJsSample, u8"$.ajax({type: 'GET'})");
  jsSampleClicked();
  copyCodeButtonClicked();
  EXPECT_EQ(fake.clipboard, "url:http://127.0.0.1:8765/qx/Api_PC");
  fake.clipboard.clear();
  copyApiAddressClicked();
  EXPECT_EQ(fake.clipboard, "url:http://127.0.0.1:8765/qx/Api_PC");
  fake.clipboardTakesText = false;
  copyApiAddressClicked();
  EXPECT_EQ(fake.log, (Log{ClientFake::message(u8"复制成功", u8"提示"),
                           ClientFake::message(u8"复制成功", u8"提示"),
                           ClientFake::message(u8"复制失败，剪贴板不可用", u8"提示")}));
}

TEST_F(InformationWindows, TableEntriesRunTheirHandlerAndGiveNoAnswer) {
  // promotionRefreshClicked's place among the handlers bound in the window data.
  size_t index = 0;
  size_t found = 0;
#define VELMORA_FIND_HANDLER(name)                                         \
  if (std::string_view(#name) == "promotionRefreshClicked") found = index; \
  ++index;
  VELMORA_PROGRAM_HANDLERS(VELMORA_FIND_HANDLER)
#undef VELMORA_FIND_HANDLER
  ASSERT_EQ(index, program_data::kHandlerCount);
  EXPECT_EQ(handlerTable[found](), runtime::kNoAnswer);
  EXPECT_EQ(fake.log, (Log{ClientFake::pause(300), ClientFake::message(u8"已刷新")}));
}

}  // namespace
}  // namespace velmora::testing
