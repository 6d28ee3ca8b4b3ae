#include "tests/support/probe_events.h"

#include <cstdio>

namespace velmora::testing {
namespace {

std::wstring outputPath;

std::string hexUtf8(const std::wstring& text) {
  std::string utf8(text.size() * 4, '\0');
  utf8.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr)));
  std::string hex;
  for (unsigned char c : utf8) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", c);
    hex += digits;
  }
  return hex;
}

}  // namespace

std::wstring readProbeCommandLine() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::wstring scenario;
  if (count >= 3) {
    scenario = arguments[1];
    outputPath = arguments[2];
  }
  LocalFree(arguments);
  return scenario;
}

void writeEvent(const std::string& event) {
  if (FILE* file = _wfopen(outputPath.c_str(), L"ab")) {
    std::fprintf(file, "%s\n", event.c_str());
    std::fclose(file);
  }
}

void writeMessageBox(const ShownMessageBox& box) {
  writeEvent("box " + hexUtf8(box.caption) + " " + hexUtf8(box.text));
}

}  // namespace velmora::testing
