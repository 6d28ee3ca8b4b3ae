// Start-up, orderly exit and runtime errors as a separate process shows them: the probe program
// plays a scenario; its message boxes, events and exit code are checked here.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/win32/system_library.h"
#include "tests/runtime/win32/lookalike_mpr.h"
#include "tests/support/probe_process.h"

namespace {

using velmora::testing::ProbeRun;

// Windows takes a library file beside a program over the system's own when asked for it by
// bare name; Wine does so only for the libraries its settings name, so tell it, as Windows
// would behave, for the look-alikes of lz32.dll and mpr.dll beside the program. Windows ignores
// the key.
void preferLibrariesBeside(const std::wstring& program) {
  HKEY key;
  const std::wstring path = L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides";
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  const wchar_t order[] = L"native,builtin";
  for (const wchar_t* library : {L"lz32", L"mpr"})
    RegSetValueExW(key, library, 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
  RegCloseKey(key);
}

using Events = std::vector<std::string>;

// One run of the probe: what it plays, and the exit code and events that must follow.
struct Scenario {
  const wchar_t* name;
  DWORD exitCode;
  Events events;
};

void PrintTo(const Scenario& scenario, std::ostream* os) {
  *os << std::string(scenario.name, scenario.name + wcslen(scenario.name));
}

class RuntimeProcess : public ::testing::TestWithParam<Scenario> {};

TEST_P(RuntimeProcess, EndsWithItsExitCodeAfterItsEvents) {
  const Scenario& scenario = GetParam();
  preferLibrariesBeside(L"runtime_probe.exe");
  const ProbeRun run = velmora::testing::runProbe(L"runtime_probe", scenario.name);
  EXPECT_EQ(run.exitCode, scenario.exitCode);
  EXPECT_EQ(run.events, scenario.events);
}

const Scenario kScenarios[] = {
    // A failed check of the program: one box, no exit routine, exit code -1.
    {L"program-error",
     0xFFFFFFFF,
     {"library notify 1", "box", "错误",
      "运行时出错!\r\n"
      "\r\n错误代码：1\r\n"
      "\r\n错误信息：数组成员引用下标超出定义范围\r\n"
      "\r\n67185411, 1034\r\n",
      "library notify 6"}},
    // The exit routine was registered twice and runs once, before the libraries stop.
    {L"normal",
     0,
     {"library notify 1", "message loop returned", "exit routine", "library notify 6"}},
    {L"initialised",
     0,
     {"library notify 1", "hidden owner window", "in the program's directory",
      "message loop returned", "exit routine", "library notify 6"}},
    {L"allocation",
     0xFFFFFFFF,
     {"library notify 1", "box", "错误",
      "运行时出错!\r\n"
      "\r\n错误信息：分配 2147483632 字节内存失败!\r\n"
      "\r\n0, 0\r\n",
      "library notify 6"}},
    // No message loop runs after the start window failed.
    {L"start-window",
     0xFFFFFFFF,
     {"library notify 1", "box", "错误",
      "运行时出错!\r\n"
      "\r\n错误信息：载入启动窗口失败\r\n"
      "\r\n1375797249, 0\r\n未找到所指定的窗口\r\n",
      "library notify 6"}},
    {L"exit-code", 7, {"library notify 1", "exit routine", "library notify 6"}},
    // Another thread ends the process at once, without the orderly exit.
    {L"other-thread", 5, {"library notify 1"}},
    {L"library-memory",
     9,
     {"library notify 1", "reallocated kept", "quiet allocation refused", "exit routine",
      "library notify 6"}},
    // Bound from the fallback libraries, by the system's search, by ordinal, by exact path; the
    // probe library, loaded twice, is freed at the orderly exit.
    {L"dll-calls",
     0,
     {"library notify 1", "MultiByteToWideChar 2", "lstrlenW 3", "ordinal 12 5", "exact path 9",
      "again 13", "message loop returned", "exit routine", "library notify 6",
      "probe library unloaded"}},
    // A system library wins over a file of the same name beside the program.
    {L"dll-system-first",
     0,
     {"library notify 1", "LZStart 1", "message loop returned", "exit routine",
      "library notify 6"}},
    // So does it for the runtime's own loading of system libraries.
    {L"system-library",
     0,
     {"library notify 1", "LZStart 1", "message loop returned", "exit routine",
      "library notify 6"}},
    // The program restricts the search for libraries at its start: a library loaded by bare name
    // comes from the system folder though a file of its name lies beside the program, and so do
    // the libraries that a system library imports.
    {L"library-by-name",
     0,
     {"library notify 1", "mpr", "message loop returned", "exit routine", "library notify 6"}},
    {L"system-library-imports",
     0,
     {"library notify 1", "no mpr", "InternetOpenW found", "mpr", "message loop returned",
      "exit routine", "library notify 6"}},
    // The function removes 4 bytes of the 8 that were pushed.
    {L"dll-stack",
     0xFFFFFFFF,
     {"library notify 1", "box", "错误",
      "运行时出错!\r\n"
      "\r\n错误代码：6\r\n"
      "\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"
      "\r\n67185411, 77\r\n",
      "library notify 6"}},
    {L"dll-missing-ordinal",
     0xFFFFFFFF,
     {"library notify 1", "box", "错误",
      "运行时出错!\r\n"
      "\r\n错误信息：无法找到指定DLL库文件“probe_library”中的输出命令“#13”\r\n"
      "\r\n0, 0\r\n",
      "library notify 6"}},
    {L"dll-missing-named",
     0xFFFFFFFF,
     {"library notify 1", "box", "错误",
      "运行时出错!\r\n"
      "\r\n错误信息：无法找到指定DLL库文件“kernel32”中的输出命令“NoSuchExport”\r\n"
      "\r\n0, 0\r\n",
      "library notify 6"}},
    {L"dll-missing-unnamed",
     0xFFFFFFFF,
     {"library notify 1", "box", "错误",
      "运行时出错!\r\n"
      "\r\n错误信息：无法找到指定DLL库文件中的输出命令“NoSuchExport”\r\n"
      "\r\n0, 0\r\n",
      "library notify 6"}},
};

INSTANTIATE_TEST_SUITE_P(Scenarios, RuntimeProcess, ::testing::ValuesIn(kScenarios));

// This test program never restricts the search, as on a Windows 7 without the update that can:
// a system library is loaded so that its imports are looked for in its own folder all the same.
TEST(SystemLibrary, TakesItsImportsFromTheSystemFolderWhereTheSearchIsNotRestricted) {
  preferLibrariesBeside(L"runtime_win32_tests.exe");
  ASSERT_EQ(velmora::testing::mprInProcess(), "no mpr");
  EXPECT_NE(velmora::runtime::systemLibraryFunction(L"wininet.dll", "InternetOpenW"), nullptr);
  EXPECT_EQ(velmora::testing::mprInProcess(), "mpr");
}

}  // namespace
