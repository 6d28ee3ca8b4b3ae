#include "runtime/runtime_error.h"

#include <gtest/gtest.h>

#include <map>

#include "runtime/window_registry.h"
#include "tests/support/gbk.h"

namespace velmora::runtime {
namespace {

using testing::gbk;

// A registry with one window of two units, by name only.
class NamedWindows final : public WindowRegistry {
 public:
  std::optional<std::string_view> windowName(uint32_t windowId) const override {
    if (windowId != kWindow) return std::nullopt;
    return windowName_;
  }
  std::optional<std::string_view> unitName(uint32_t windowId, uint32_t unitId) const override {
    if (windowId != kWindow) return std::nullopt;
    auto unit = units_.find(unitId == 0 ? kWindowUnit : unitId);
    if (unit == units_.end()) return std::nullopt;
    return unit->second;
  }
  bool anyWindowLive() const override { return false; }
  bool loadStartWindow(uint32_t) override { return false; }
  bool raiseIdleEvents(uint32_t, bool) override { return false; }
  bool preTranslateMessage(tagMSG*) override { return false; }
  void releaseAllWindows() override {}

  static constexpr uint32_t kWindow = 0x52010001;
  static constexpr uint32_t kWindowUnit = 0x06010000;
  static constexpr uint32_t kButton = 0x16010005;

 private:
  std::string windowName_ = gbk(u8"登录窗口");
  std::map<uint32_t, std::string> units_ = {{kWindowUnit, gbk(u8"_启动窗口")},
                                            {kButton, gbk(u8"登录")}};
};

std::string textOf(RuntimeErrorReport report) {
  return runtimeErrorText(report, NamedWindows{});
}

TEST(RuntimeErrorText, ProgramCheckShowsCodeMessageAndLocation) {
  RuntimeErrorReport report{std::string(codedErrorMessage(1)), 1, 67185411, 1034};
  EXPECT_EQ(textOf(report), gbk(u8"运行时出错!\r\n"
                                u8"\r\n错误代码：1\r\n"
                                u8"\r\n错误信息：数组成员引用下标超出定义范围\r\n"
                                u8"\r\n67185411, 1034\r\n"));
}

TEST(RuntimeErrorText, BareErrorShowsHeadingAndNumbersOnly) {
  EXPECT_EQ(textOf({}), gbk(u8"运行时出错!\r\n\r\n0, 0\r\n"));
  EXPECT_EQ(textOf({"", 0, -1, -2147483647 - 1}), gbk(u8"运行时出错!\r\n\r\n-1, -2147483648\r\n"));
}

TEST(RuntimeErrorText, WindowLocationsNameTheWindowAndUnit) {
  const int32_t window = static_cast<int32_t>(NamedWindows::kWindow);
  const std::string message = gbk(u8"载入启动窗口失败");
  EXPECT_EQ(textOf({message, 0, window, 0}),
            gbk(u8"运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"
                u8"\r\n1375797249, 0\r\n\"登录窗口\"\r\n\"_启动窗口\"\r\n"));
  EXPECT_EQ(textOf({"", 0, window, static_cast<int32_t>(NamedWindows::kButton)}),
            gbk(u8"运行时出错!\r\n\r\n1375797249, 369164293\r\n\"登录窗口\"\r\n\"登录\"\r\n"));
}

TEST(RuntimeErrorText, MissingWindowsAndUnitsAreSaidSo) {
  EXPECT_EQ(textOf({"", 0, 0x52012B38, 0}),
            gbk(u8"运行时出错!\r\n\r\n1375808312, 0\r\n未找到所指定的窗口\r\n"));
  const int32_t window = static_cast<int32_t>(NamedWindows::kWindow);
  EXPECT_EQ(textOf({"", 0, window, 0x16019999}),
            gbk(u8"运行时出错!\r\n\r\n1375797249, 369203609\r\n\"登录窗口\"\r\n"
                u8"未找到所指定的窗口组件\r\n"));
  // A menu item is never named, even when an entry of that id exists.
  EXPECT_EQ(textOf({"", 0, window, 0x26010005}),
            gbk(u8"运行时出错!\r\n\r\n1375797249, 637599749\r\n\"登录窗口\"\r\n"
                u8"未找到所指定的窗口组件\r\n"));
  // Ids of other kinds are numbers only.
  EXPECT_EQ(textOf({"", 0, 0x16010005, 0}), gbk(u8"运行时出错!\r\n\r\n369164293, 0\r\n"));
}

TEST(RuntimeErrorText, CodedMessages) {
  const char8_t* expected[] = {
      u8"数组成员引用下标超出定义范围",
      u8"未得到所需要的数值型数据",
      u8"引用数组成员时维数不为1且不等于该数组目前所具有的维数",
      u8"数组成员引用下标必须大于等于1",
      u8"数据或数组类型不匹配",
      u8"调用DLL命令后发现堆栈错误",
      u8"子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
      u8"被比较数据只能使用等于或不等于命令比较",
      u8"“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
      u8"“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
      u8"所提供参数的数据类型不符合要求",
  };
  for (int code = 1; code <= 11; ++code) {
    EXPECT_EQ(codedErrorMessage(code), gbk(expected[code - 1])) << code;
  }
  EXPECT_TRUE(codedErrorMessage(0).empty());
  EXPECT_TRUE(codedErrorMessage(12).empty());
  EXPECT_TRUE(codedErrorMessage(-1).empty());
}

// The crash report's message; the whole box of an access violation in the program's own code is
// checked in a crashing process (forms_process_test.cpp).
TEST(RuntimeErrorText, CrashMessages) {
  EXPECT_EQ(crashMessage({0xC0000094, "user32.dll", 0x1A2B, "1.0.0"}),
            gbk(u8"程序异常 0xC0000094 EXCEPTION_INT_DIVIDE_BY_ZERO\r\n"
                u8"异常地址：user32.dll+0x00001A2B\r\n程序版本：1.0.0"));
  // A code of no documented name; a jump to an address in no module; no version resource.
  EXPECT_EQ(crashMessage({0xE06D7363, "", 0, ""}),
            gbk(u8"程序异常 0xE06D7363\r\n异常地址：0x00000000"));
}

}  // namespace
}  // namespace velmora::runtime
