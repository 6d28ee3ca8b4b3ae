// Start-up, orderly exit and runtime errors as a separate process shows them: the probe program
// plays a scenario; its message boxes, events and exit code are checked here.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ProbeRun {
  DWORD exitCode = 0;
  std::vector<std::string> events;  // message boxes as "box", caption, text in UTF-8
};

std::wstring directoryOfThisProgram() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory = path;
  return directory.substr(0, directory.rfind(L'\\'));
}

std::string fromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return bytes;
}

// "box CAPTION TEXT" lines become three entries: "box", the caption and the text.
std::vector<std::string> readEvents(const std::wstring& path) {
  std::vector<std::string> events;
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return events;
  std::string content;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) content.append(buffer, n);
  std::fclose(file);
  std::istringstream lines(content);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("box ", 0) == 0) {
      const size_t space = line.find(' ', 4);
      events.push_back("box");
      events.push_back(fromHex(line.substr(4, space - 4)));
      events.push_back(fromHex(line.substr(space + 1)));
    } else {
      events.push_back(line);
    }
  }
  return events;
}

ProbeRun runProbe(const std::wstring& scenario) {
  wchar_t temporaryDirectory[MAX_PATH];
  GetTempPathW(MAX_PATH, temporaryDirectory);
  const std::wstring output = std::wstring(temporaryDirectory) + L"runtime_probe_" + scenario +
                              L"_" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  DeleteFileW(output.c_str());
  std::wstring commandLine = L"\"" + directoryOfThisProgram() + L"\\runtime_probe.exe\" " +
                             scenario + L" \"" + output + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ProbeRun run;
  // Started elsewhere than in its own directory, which initialisation makes current.
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      temporaryDirectory, &startup, &process)) {
    ADD_FAILURE() << "the probe did not start: " << GetLastError();
    return run;
  }
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0) << "the probe hangs";
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  run.events = readEvents(output);
  DeleteFileW(output.c_str());
  return run;
}

using Events = std::vector<std::string>;

TEST(RuntimeProcess, ProgramCheckFailureShowsOneErrorBoxAndEndsWithMinusOne) {
  const ProbeRun run = runProbe(L"program-error");
  EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
  EXPECT_EQ(run.events, (Events{"library notify 1", "box", "错误",
                                "运行时出错!\r\n"
                                "\r\n错误代码：1\r\n"
                                "\r\n错误信息：数组成员引用下标超出定义范围\r\n"
                                "\r\n67185411, 1034\r\n",
                                "library notify 6"}));
}

TEST(RuntimeProcess, NormalEndRunsTheExitRoutineOnceThenStopsTheLibraries) {
  const ProbeRun run = runProbe(L"normal");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.events, (Events{"library notify 1", "message loop returned", "exit routine",
                                "library notify 6"}));
}

TEST(RuntimeProcess, InitialisationMakesTheOwnerWindowAndEntersTheProgramDirectory) {
  const ProbeRun run = runProbe(L"initialised");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.events,
            (Events{"library notify 1", "hidden owner window", "in the program's directory",
                    "message loop returned", "exit routine", "library notify 6"}));
}

TEST(RuntimeProcess, RefusedAllocationNamesTheSize) {
  const ProbeRun run = runProbe(L"allocation");
  EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
  EXPECT_EQ(run.events, (Events{"library notify 1", "box", "错误",
                                "运行时出错!\r\n"
                                "\r\n错误信息：分配 2147483632 字节内存失败!\r\n"
                                "\r\n0, 0\r\n",
                                "library notify 6"}));
}

TEST(RuntimeProcess, MissingStartWindowEndsBeforeAnyMessageLoop) {
  const ProbeRun run = runProbe(L"start-window");
  EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
  EXPECT_EQ(run.events, (Events{"library notify 1", "box", "错误",
                                "运行时出错!\r\n"
                                "\r\n错误信息：载入启动窗口失败\r\n"
                                "\r\n1375797249, 0\r\n未找到所指定的窗口\r\n",
                                "library notify 6"}));
}

TEST(RuntimeProcess, ExitProgramRunsTheOrderlyExitWithItsCode) {
  const ProbeRun run = runProbe(L"exit-code");
  EXPECT_EQ(run.exitCode, 7u);
  EXPECT_EQ(run.events, (Events{"library notify 1", "exit routine", "library notify 6"}));
}

TEST(RuntimeProcess, ExitFromAnotherThreadEndsAtOnce) {
  const ProbeRun run = runProbe(L"other-thread");
  EXPECT_EQ(run.exitCode, 5u);
  EXPECT_EQ(run.events, (Events{"library notify 1"}));
}

TEST(RuntimeProcess, LibrariesReachMemoryAndExitThroughTheNotifyEntry) {
  const ProbeRun run = runProbe(L"library-memory");
  EXPECT_EQ(run.exitCode, 9u);
  EXPECT_EQ(run.events, (Events{"library notify 1", "reallocated kept", "quiet allocation refused",
                                "exit routine", "library notify 6"}));
}

}  // namespace
