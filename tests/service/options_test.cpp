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
  EXPECT_EQ(defaults->tlsCertificatePath, "");
  const std::optional<Options> given =
      parse({"--log", "l.txt", "--port", "0", "--database", "d", "--sms-delay", "0",
             "--number-expiry", "2", "--tls-key", "k.pem", "--tls-cert", "c.pem"});
  ASSERT_TRUE(given);
  EXPECT_EQ(given->port, 0);
  EXPECT_EQ(given->databasePath, "d");
  EXPECT_EQ(given->logPath, "l.txt");
  EXPECT_EQ(given->smsDelaySeconds, 0);
  EXPECT_EQ(given->numberExpirySeconds, 2);
  EXPECT_EQ(given->tlsCertificatePath, "c.pem");
  EXPECT_EQ(given->tlsKeyPath, "k.pem");
}

TEST(OptionsTest, RefusedArguments) {
  for (const std::vector<const char*>& arguments :
       std::vector<std::vector<const char*>>{{"--port"},
                                             {"--port", "65536"},
                                             {"--port", "-1"},
                                             {"--port", "80x"},
                                             {"--database", ""},
                                             {"--sms-delay", "-1"},
                                             {"--sms-delay", "5s"},
                                             {"--number-expiry", "0"},
                                             {"--number-expiry", "86401"},
                                             {"--verbose", "1"},
                                             {"--tls-cert", "c.pem"},
                                             {"--tls-key", "k.pem"},
                                             {"--tls-cert", "", "--tls-key", "k.pem"},
                                             {"8765"}}) {
    EXPECT_FALSE(parse(arguments)) << arguments[0];
  }
}

}  // namespace
}  // namespace velmora::service
