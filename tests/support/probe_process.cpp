#include "tests/support/probe_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace velmora::testing {
namespace {

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

}  // namespace

ProbeRun runProbe(const std::wstring& program, const std::wstring& scenario) {
  wchar_t temporaryDirectory[MAX_PATH];
  GetTempPathW(MAX_PATH, temporaryDirectory);
  const std::wstring output = std::wstring(temporaryDirectory) + program + L"_" + scenario + L"_" +
                              std::to_wstring(GetCurrentProcessId()) + L".txt";
  DeleteFileW(output.c_str());
  std::wstring commandLine = L"\"" + directoryOfThisProgram() + L"\\" + program + L".exe\" " +
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
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "the probe hangs";
    TerminateProcess(process.hProcess, 0xDEAD);  // so that it does not outlive the test
    WaitForSingleObject(process.hProcess, 5000);
  }
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  run.events = readEvents(output);
  DeleteFileW(output.c_str());
  return run;
}

}  // namespace velmora::testing
