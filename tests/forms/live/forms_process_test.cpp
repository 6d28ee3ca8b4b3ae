// The form runtime in a whole process: the probe's scenarios, their events and exit codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/probe_process.h"

namespace velmora::forms {
namespace {

TEST(FormsProcess, ReadingAnOwnPropertyOfAWindowNeverLoadedEndsTheProgram) {
  const testing::ProbeRun run = testing::runProbe(L"forms_probe", L"read-unloaded");
  EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
  const std::vector<std::string> expected = {"width 77", "box", "错误",
                                             "运行时出错!\r\n"
                                             "\r\n错误信息：读取组件属性时发现指定窗口尚未载入\r\n"
                                             "\r\n1375731715, 369098801\r\n\"\"\r\n\"\"\r\n"};
  EXPECT_EQ(run.events, expected);
}

TEST(FormsProcess, ClosingTheLastWindowEndsTheProgramWithExitCodeZero) {
  const testing::ProbeRun run = testing::runProbe(L"forms_probe", L"last-window");
  EXPECT_EQ(run.exitCode, 0u);
  const std::vector<std::string> expected = {"close requested", "message loop returned",
                                             "exit routine"};
  EXPECT_EQ(run.events, expected);
}

TEST(FormsProcess, AStartWindowThatCannotBeLoadedEndsTheProgram) {
  const testing::ProbeRun run = testing::runProbe(L"forms_probe", L"broken-start");
  EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
  ASSERT_EQ(run.events.size(), 3u);
  EXPECT_EQ(run.events[2].rfind("运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n", 0), 0u);
}

}  // namespace
}  // namespace velmora::forms
