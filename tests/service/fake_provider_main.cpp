// fake-provider: the tests' provider of numbers as a program, for end-to-end runs. Prints
// "listening on 127.0.0.1:PORT" and serves until it is killed.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tests/service/fake_provider.h"

namespace {

std::string fileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace velmora::testing;
  FakeProviderSettings settings;
  std::string port = "0";
  std::string certificatePath;
  std::string keyPath;
  for (int i = 1; i < argc; i += 2) {
    const std::string_view option = argv[i];
    if (!option.starts_with("--") || i + 1 == argc) {
      std::fputs(kFakeProviderUsage, stderr);
      return 2;
    }
    const std::string_view value = argv[i + 1];
    if (option == "--port") {
      port = value;
    } else if (option == "--tls-cert") {
      certificatePath = value;
    } else if (option == "--tls-key") {
      keyPath = value;
    } else if (!setFakeProviderSetting(settings, option.substr(2), value)) {
      std::fputs(kFakeProviderUsage, stderr);
      return 2;
    }
  }
  try {
    if (!certificatePath.empty()) settings.certificate = fileText(certificatePath);
    if (!keyPath.empty()) settings.privateKey = fileText(keyPath);
    FakeProvider provider(settings, std::stoi(port));
    std::printf("listening on 127.0.0.1:%d\n", provider.port());
    std::fflush(stdout);
    for (;;) pause();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "fake-provider: %s\n", error.what());
    return 1;
  }
}
