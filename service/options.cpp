#include "service/options.h"

#include <charconv>
#include <string_view>

#include "service/http_daemon.h"

namespace velmora::service {

namespace {

constexpr int kMaxPort = 65535;
constexpr int kOneDay = 24 * 60 * 60;  // longest time the number options take
// A provider's numbers may wait longer for their SMS than the simulation's.
constexpr int kProviderNumberExpirySeconds = 1200;
constexpr int kMaxPollSeconds = 60;
constexpr int kMaxProviderRate = 100;

std::optional<int> integerIn(std::string_view text, int lowest, int highest) {
  int value = lowest - 1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
      value > highest) {
    return std::nullopt;
  }
  return value;
}

// Sets `field` from `text`; false when it is not a number in range.
bool setInteger(int& field, std::string_view text, int lowest, int highest) {
  const std::optional<int> value = integerIn(text, lowest, highest);
  if (value) field = *value;
  return value.has_value();
}

}  // namespace

std::optional<Options> parseOptions(int argc, const char* const* argv) {
  Options options;
  bool expiryGiven = false;
  bool providerTuned = false;  // --upstream-poll or --upstream-rate given
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (name == "--upstream-check") {  // the one option without a value
      options.upstreamCheck = true;
      continue;
    }
    if (i + 1 >= argc) return std::nullopt;
    const std::string_view value = argv[++i];
    bool understood = true;
    if (name == "--port") {
      understood = setInteger(options.port, value, 0, kMaxPort);
    } else if (name == "--sms-delay") {
      understood = setInteger(options.smsDelaySeconds, value, 0, kOneDay);
    } else if (name == "--number-expiry") {
      understood = setInteger(options.numberExpirySeconds, value, 1, kOneDay);
      expiryGiven = true;
    } else if (name == "--connections-per-address") {
      understood =
          setInteger(options.connectionsPerAddress, value, 1, static_cast<int>(kConnectionLimit));
    } else if (name == "--database" && !value.empty()) {
      options.databasePath = value;
    } else if (name == "--log" && !value.empty()) {
      options.logPath = value;
    } else if (name == "--tls-cert" && !value.empty()) {
      options.tlsCertificatePath = value;
    } else if (name == "--tls-key" && !value.empty()) {
      options.tlsKeyPath = value;
    } else if (name == "--upstream" && !value.empty()) {
      options.upstreamUrl = value;
    } else if (name == "--upstream-key-file" && !value.empty()) {
      options.upstreamKeyFile = value;
    } else if (name == "--upstream-projects" && !value.empty()) {
      options.upstreamProjectsFile = value;
    } else if (name == "--copy-to" && !value.empty()) {
      options.copyTarget = value;
    } else if (name == "--upstream-poll") {
      understood = setInteger(options.upstreamPollSeconds, value, 1, kMaxPollSeconds);
      providerTuned = true;
    } else if (name == "--upstream-rate") {
      understood = setInteger(options.upstreamRate, value, 1, kMaxProviderRate);
      providerTuned = true;
    } else {
      understood = false;
    }
    if (!understood) return std::nullopt;
  }
  if (options.tlsCertificatePath.empty() != options.tlsKeyPath.empty()) return std::nullopt;
  const bool provider = !options.upstreamUrl.empty();
  if (options.upstreamKeyFile.empty() == provider ||
      options.upstreamProjectsFile.empty() == provider) {
    return std::nullopt;
  }
  if (!provider && (providerTuned || options.upstreamCheck)) return std::nullopt;
  // Each of the two does its work and exits.
  if (options.upstreamCheck && !options.copyTarget.empty()) return std::nullopt;
  if (provider && !expiryGiven) options.numberExpirySeconds = kProviderNumberExpirySeconds;
  return options;
}

}  // namespace velmora::service
