// The store keeps its data across restarts and seeds a new file only once.
#include "service/database.h"

#include <gtest/gtest.h>

#include <fstream>

#include "service/seed_data.h"
#include "tests/service/service_test_support.h"

namespace velmora::service {
namespace {

TEST(DatabaseTest, DataSurvivesReopeningWithoutReseeding) {
  testing::TemporaryFolder folder;
  const std::string path = folder.path("service.db");
  Account account = demoAccount();
  account.name = "alice";
  account.invitationCode = "ALICE1";
  {
    Database database(path);
    ASSERT_TRUE(database.addAccount(account));
    ASSERT_TRUE(database.addOrder({"alice", "10", "2026123412345678", "2026/1/2"}));
    ASSERT_TRUE(database.updateAccount("demo", "changed", "0", "0"));
  }
  Database database(path);
  EXPECT_EQ(database.findAccount("alice"), account);
  EXPECT_EQ(database.findAccount("demo")->password, "changed");
  EXPECT_EQ(database.pendingOrder("alice")->amount, "10");
  EXPECT_EQ(database.projects().size(), demoProjects().size());
  EXPECT_EQ(database.setting("deposit_address"), kDepositAddress);
}

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

TEST(DatabaseTest, AFileThatIsNotADatabaseIsAnError) {
  testing::TemporaryFolder folder;
  const std::string path = folder.path("service.db");
  std::ofstream(path) << "this is not a database, just some text that fills a page or so\n";
  EXPECT_THROW(Database{path}, DatabaseError);
  EXPECT_THROW(Database{folder.path("missing/service.db")}, DatabaseError);
}

}  // namespace
}  // namespace velmora::service
