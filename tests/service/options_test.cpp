// The service's command line.
#include "service/options.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::service {
namespace {

std::optional<Options> parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "velmora-service");
  return parseOptions(static_cast<int>(arguments.size()), arguments.data());
}

TEST(OptionsTest, DefaultsAndGivenValues) {
  const std::optional<Options> defaults = parse({});
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->port, 8765);
  EXPECT_EQ(defaults->logPath, "");
  EXPECT_EQ(defaults->smsDelaySeconds, 5);
  EXPECT_EQ(defaults->numberExpirySeconds, 600);
  EXPECT_EQ(defaults->connectionsPerAddress, 64);
  EXPECT_EQ(defaults->tlsCertificatePath, "");
  EXPECT_EQ(defaults->upstreamUrl, "");
  EXPECT_FALSE(defaults->upstreamCheck);
  const std::optional<Options> given = parse(
      {"--log", "l.txt", "--port", "0", "--database", "d", "--sms-delay", "0", "--number-expiry",
       "2", "--tls-key", "k.pem", "--tls-cert", "c.pem", "--connections-per-address", "512"});
  ASSERT_TRUE(given);
  EXPECT_EQ(given->port, 0);
  EXPECT_EQ(given->databasePath, "d");
  EXPECT_EQ(given->logPath, "l.txt");
  EXPECT_EQ(given->smsDelaySeconds, 0);
  EXPECT_EQ(given->numberExpirySeconds, 2);
  EXPECT_EQ(given->connectionsPerAddress, 512);
  EXPECT_EQ(given->tlsCertificatePath, "c.pem");
  EXPECT_EQ(given->tlsKeyPath, "k.pem");
  EXPECT_EQ(given->copyTarget, "");
  const std::optional<Options> copy = parse({"--copy-to", "postgresql://u@h/d", "--database", "d"});
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->copyTarget, "postgresql://u@h/d");
  EXPECT_EQ(copy->databasePath, "d");
}

TEST(OptionsTest, ProviderOptions) {
  const std::vector<const char*> provider{
      "--upstream-projects", "p.json", "--upstream", "https://h/api", "--upstream-key-file", "k"};
  const std::optional<Options> defaults = parse(provider);
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->upstreamUrl, "https://h/api");
  EXPECT_EQ(defaults->upstreamKeyFile, "k");
  EXPECT_EQ(defaults->upstreamProjectsFile, "p.json");
  EXPECT_EQ(defaults->upstreamPollSeconds, 5);
  EXPECT_EQ(defaults->upstreamRate, 10);
  EXPECT_FALSE(defaults->upstreamCheck);
  EXPECT_EQ(defaults->numberExpirySeconds, 1200);
  // The flag takes no value, wherever it stands.
  std::vector<const char*> tuned = provider;
  tuned.insert(tuned.begin() + 2, "--upstream-check");
  tuned.insert(tuned.end(),
               {"--upstream-poll", "60", "--upstream-rate", "1", "--number-expiry", "30"});
  const std::optional<Options> given = parse(tuned);
  ASSERT_TRUE(given);
  EXPECT_EQ(given->upstreamPollSeconds, 60);
  EXPECT_EQ(given->upstreamRate, 1);
  EXPECT_TRUE(given->upstreamCheck);
  EXPECT_EQ(given->numberExpirySeconds, 30);
  EXPECT_EQ(given->upstreamProjectsFile, "p.json");
}

TEST(OptionsTest, RefusedArguments) {
  for (const std::vector<const char*>& arguments : std::vector<std::vector<const char*>>{
           {"--port"},
           {"--port", "65536"},
           {"--port", "-1"},
           {"--port", "80x"},
           {"--database", ""},
           {"--sms-delay", "-1"},
           {"--sms-delay", "5s"},
           {"--number-expiry", "0"},
           {"--number-expiry", "86401"},
           {"--connections-per-address", "0"},
           {"--connections-per-address", "513"},
           {"--verbose", "1"},
           {"--tls-cert", "c.pem"},
           {"--tls-key", "k.pem"},
           {"--tls-cert", "", "--tls-key", "k.pem"},
           {"8765"},
           {"--upstream", "https://h"},
           {"--upstream-key-file", "k", "--upstream-projects", "p"},
           {"--upstream", "https://h", "--upstream-key-file", "k", "--upstream-projects", ""},
           {"--upstream-poll", "5"},
           {"--upstream-rate", "10"},
           {"--upstream-check"},
           {"--upstream-check", "1"},
           {"--copy-to", ""},
           {"--copy-to"}}) {
    EXPECT_FALSE(parse(arguments)) << arguments[0];
  }
  // Out of range, or a value taken as a flag's.
  const std::vector<const char*> provider{
      "--upstream", "https://h", "--upstream-key-file", "k", "--upstream-projects", "p"};
  for (const std::vector<const char*>& extra :
       std::vector<std::vector<const char*>>{{"--upstream-poll", "0"},
                                             {"--upstream-poll", "61"},
                                             {"--upstream-rate", "0"},
                                             {"--upstream-rate", "101"},
                                             {"--upstream-rate", "1.5"},
                                             {"--upstream-check", "yes"},
                                             {"--upstream-check", "--copy-to", "postgres://h/d"},
                                             {"--number-expiry", "86401"}}) {
    std::vector<const char*> arguments = provider;
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    EXPECT_FALSE(parse(arguments)) << extra[0] << " " << extra[1];
  }
}

}  // namespace
}  // namespace velmora::service
