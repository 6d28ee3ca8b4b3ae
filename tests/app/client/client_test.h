// What every handler test shares: the client fake, an account logged in as the service's demo
// user, and the check that a handler leaves no runtime block behind.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/account.h"
#include "app/handlers/handlers.h"
#include "app/handlers/number_panel.h"
#include "app/handlers/common_steps.h"
#include "program_data_generated.h"
#include "tests/app/client/client_fake.h"
#include "tests/support/gbk.h"

namespace velmora::testing {

class ClientTest : public ::testing::Test {
 protected:
  ClientTest() { app::resetNumberPanel(); }
  ~ClientTest() override {
    app::releaseAccount();
    EXPECT_EQ(fake.heap.liveBlocks(), 0u) << "runtime blocks left behind";
  }

  // The account fields as a login reply of these fields would leave them.
  static void logIn(const protocol::AccountRecord& record) { app::storeAccount(record); }
  static void logInAsDemo() {
    logIn({"demo", "demo123", "12", "TAddr", "VM8K2Q", "f6", "f7", "demo@example.com"});
  }

  static std::string url(const std::string& endpointAndQuery) {
    return std::string(program_data::serviceScheme()) + "://" + program_data::serviceHost() +
           "/E/qx/" + endpointAndQuery;
  }
  static std::string request(const std::string& endpointAndQuery) {
    return ClientFake::request(url(endpointAndQuery));
  }

  ClientFake fake;
};

using Log = std::vector<std::string>;

}  // namespace velmora::testing
