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

// A handler that writes through a null pointer ends the program with the runtime's error box, which
// names the exception, the probe's module with the fault's offset from its image base (inside the
// faulting function, whose offset the probe wrote first) and the probe's version.
TEST(FormsProcess, AFaultInAHandlerEndsTheProgramWithTheErrorBox) {
  const testing::ProbeRun run = testing::runProbe(L"forms_probe", L"crash");
  EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
  ASSERT_EQ(run.events.size(), 4u);
  const std::string site = "fault site ";
  ASSERT_EQ(run.events[0].rfind(site, 0), 0u);
  const unsigned long function = std::stoul(run.events[0].substr(site.size()));
  EXPECT_EQ(run.events[1], "box");
  EXPECT_EQ(run.events[2], "错误");
  const std::string& text = run.events[3];
  const std::string before =
      "运行时出错!\r\n"
      "\r\n错误信息：程序异常 0xC0000005 EXCEPTION_ACCESS_VIOLATION\r\n"
      "异常地址：forms_probe.exe+0x";
  ASSERT_EQ(text.substr(0, before.size()), before) << text;
  const unsigned long offset = std::stoul(text.substr(before.size(), 8), nullptr, 16);
  EXPECT_GE(offset, function);
  EXPECT_LT(offset, function + 32);
  EXPECT_EQ(text.substr(before.size() + 8), "\r\n程序版本：3.1.4\r\n\r\n0, 0\r\n");
}

// A second fault while the box is up ends the process at once: the probe does not go on, and the
// box it no longer answers does not keep the process alive.
TEST(FormsProcess, ASecondFaultWhileTheBoxIsUpEndsTheProgramAtOnce) {
  const testing::ProbeRun run = testing::runProbe(L"forms_probe", L"crash-twice");
  EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
  ASSERT_EQ(run.events.size(), 4u);
  EXPECT_EQ(run.events[1], "box");
}

}  // namespace
}  // namespace velmora::forms
