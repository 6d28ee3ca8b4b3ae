// The API window's code samples, run as a user would run them against the real service: the
// Python sample with Debian's Python and requests, the C++ sample's URL with curl.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <string>

#include "tests/service/service_process.h"
#include "tests/service/service_test_support.h"
#include "tools/program_data_builder/window_source.h"

namespace velmora::testing {
namespace {

constexpr const char* kAccountJson =
    R"({"code":0,"msg":"ok","data":{"username":"demo","balance":"12.00","invitation_code":"VM8K2Q"}})";
constexpr const char* kSampleHost = "127.0.0.1:8765";

// The content of an edit box of the API window, as its window source holds it.
std::string sampleText(const std::string& unitName) {
  const std::string file = VELMORA_FORMS_DATA_DIR "/07_api.win";
  for (const tools::SourceWindow& window :
       tools::readWindowSource(file, fileText(file), VELMORA_FORMS_DATA_DIR "/pictures")) {
    for (const tools::SourceUnit& unit : window.units) {
      if (unit.name == unitName) return std::get<std::string>(unit.properties.at(8).value);
    }
  }
  ADD_FAILURE() << "no unit " << unitName;
  return {};
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// The sample with the demo account and the test service in place of its placeholders.
std::string forTheTestService(std::string sample, int port) {
  sample = replaced(sample, "your_username", "demo");
  sample = replaced(sample, "your_password", "demo123");
  return replaced(sample, kSampleHost, "127.0.0.1:" + std::to_string(port));
}

class ApiSampleTest : public ::testing::Test {
 protected:
  TemporaryFolder folder;
  ServiceProcess service{folder.path("service.db"), folder.path("requests.log")};
};

TEST_F(ApiSampleTest, ThePythonSamplePrintsTheAccount) {
  const std::string sample = sampleText("代1");
  ASSERT_NE(sample.find(kSampleHost), std::string::npos) << sample;
  const std::string script = folder.path("sample.py");
  std::ofstream(script) << forTheTestService(sample, service.port());
  const CommandResult result = runCommand("/usr/bin/python3 " + script + " 2>&1");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output, std::string(kAccountJson) + "\n");
}

TEST_F(ApiSampleTest, TheCppSamplesUrlAnswersTheAccountAsJson) {
  const std::string sample = forTheTestService(sampleText("代4"), service.port());
  const auto variable = [&](const char* name) {
    std::smatch match;
    const bool found =
        std::regex_search(sample, match, std::regex(std::string(name) + R"re( = "([^"]*)")re"));
    EXPECT_TRUE(found) << name << " in " << sample;
    return found ? match[1].str() : std::string();
  };
  const std::string fullUrl = variable("baseUrl") + "?username=" + variable("username") +
                              "&password=" + variable("password");
  const CommandResult result = runCommand("curl -s -w '\\n%{content_type}' '" + fullUrl + "'");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output, std::string(kAccountJson) + "\napplication/json; charset=utf-8");
}

}  // namespace
}  // namespace velmora::testing
