// The store refuses duplicates without failing; the service tests cover the rest end to end.
#include "service/database.h"

#include <gtest/gtest.h>

#include "service/seed_data.h"
#include "tests/service/service_test_support.h"

namespace velmora::service {
namespace {

TEST(DatabaseTest, DuplicatesAreRefusedNotFatal) {
  testing::TemporaryFolder folder;
  Database database(folder.path("service.db"));
  Account account = demoAccount();
  EXPECT_FALSE(database.addAccount(account));  // the name is taken
  account.name = "other";
  EXPECT_FALSE(database.addAccount(account));  // so is the invitation code
  EXPECT_TRUE(database.addOrder({"demo", "5", "1", "2026/1/1"}));
  EXPECT_FALSE(database.addOrder({"demo", "6", "2", "2026/1/1"}));
  EXPECT_THROW(database.addOrder({"nobody", "6", "2", "2026/1/1"}), DatabaseError);
}

}  // namespace
}  // namespace velmora::service
