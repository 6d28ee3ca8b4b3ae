// The units the handlers name are the ones of the window data: a wrong id would write to no unit
// and read an empty text.
#include <gtest/gtest.h>

#include "app/window_units.h"
#include "forms/format/window_data.h"
#include "program_data_generated.h"
#include "tests/support/gbk.h"

namespace velmora::testing {
namespace {

using namespace app;

struct NamedUnit {
  UnitRef unit;
  const char8_t* name;
};

constexpr NamedUnit kUnits[] = {
    {login::kUserName, u8"用户名"},
    {login::kPassword, u8"密码"},
    {login::kSupportContact, u8"kf1"},
    {registration::kUserName, u8"用户名"},
    {registration::kPassword, u8"密码"},
    {registration::kPasswordAgain, u8"密码1"},
    {registration::kEmail, u8"邮箱"},
    {profile::kUser, u8"用户"},
    {profile::kPassword, u8"密码"},
    {profile::kEmail, u8"邮箱"},
    {profile::kAddress, u8"地址"},
    {main_window::kUserName, u8"用户名"},
    {main_window::kBalance, u8"my"},
    {main_window::kSupportContact, u8"kf1"},
    {main_window::kProjects, u8"组合框1"},
    {main_window::kKeyword, u8"搜"},
    {main_window::kProjectName, u8"项目名称"},
    {main_window::kUnitPrice, u8"单价"},
    {main_window::kRegions, u8"组合框2"},
    {main_window::kRegion, u8"地区"},
    {main_window::kOperators, u8"组合框3"},
    {main_window::kOperator, u8"号段"},
    {main_window::kAutoCode, u8"选择框1"},
    {main_window::kCopyCode, u8"复2"},
    {main_window::kNumber, u8"标签14"},
    {main_window::kSms, u8"编辑框1"},
    {top_up::kBalance, u8"my"},
    {top_up::kUserName, u8"用户名"},
    {top_up::kAmount, u8"数量"},
    {top_up::kOrderUser, u8"j户"},
    {top_up::kOrderAmount, u8"j量"},
    {top_up::kOrderTime, u8"tm"},
    {top_up::kOrderNumber, u8"j单号"},
    {top_up::kOrderFrame, u8"外形框1"},
    {top_up::kDeleteOrder, u8"删"},
    {top_up::kDepositAddress, u8"ad"},
    {top_up::kSupportContact, u8"kf1"},
    {promotion::kInvitationCode, u8"请码"},
    {api::kAddress, u8"编辑框1"},
    {api::kPythonSample, u8"代1"},
    {api::kJavaSample, u8"代2"},
    {api::kJsSample, u8"代3"},
    {api::kCppSample, u8"代4"},
    {api::kSupportContact, u8"kf"},
};

TEST(WindowUnits, EveryUnitTheHandlersNameIsInItsWindowUnderItsName) {
  const auto windows = readWindowData({program_data::windowData, program_data::kWindowDataLength});
  ASSERT_TRUE(windows.has_value());
  for (const NamedUnit& expected : kUnits) {
    SCOPED_TRACE(::testing::Message()
                 << std::hex << expected.unit.window << " " << expected.unit.unit);
    auto window = std::find_if(windows->begin(), windows->end(),
                               [&](const WindowRecord& w) { return w.id == expected.unit.window; });
    ASSERT_NE(window, windows->end());
    const auto index = window->units.indexOf(expected.unit.unit);
    ASSERT_TRUE(index.has_value());
    EXPECT_EQ(window->units.unitAt(*index).name, gbk(expected.name));
  }
}

}  // namespace
}  // namespace velmora::testing
