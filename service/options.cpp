#include "service/options.h"

#include <charconv>
#include <string_view>

namespace velmora::service {

namespace {

std::optional<int> portNumber(std::string_view text) {
  int port = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (error != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535) {
    return std::nullopt;
  }
  return port;
}

}  // namespace

std::optional<Options> parseOptions(int argc, const char* const* argv) {
  Options options;
  for (int i = 1; i < argc; i += 2) {
    if (i + 1 >= argc) return std::nullopt;
    const std::string_view name = argv[i];
    const std::string_view value = argv[i + 1];
    if (name == "--port") {
      const std::optional<int> port = portNumber(value);
      if (!port) return std::nullopt;
      options.port = *port;
    } else if (name == "--database" && !value.empty()) {
      options.databasePath = value;
    } else if (name == "--log" && !value.empty()) {
      options.logPath = value;
    } else {
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace velmora::service
