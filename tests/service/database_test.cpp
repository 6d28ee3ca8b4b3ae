// The store refuses duplicates without failing, and an older database gains what it lacks; the
// service tests cover the rest end to end.
#include "service/database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

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

// A database of the first version: no number pool, and the support contact it was seeded with
// or one set by hand.
TEST(DatabaseTest, AnOlderDatabaseGainsTheNumberPoolAndKeepsItsData) {
  const struct {
    const char* contact;
    const char* contactAfter;
  } rows[] = {{kFormerSupportContact, kSupportContact}, {"@someone_else", "@someone_else"}};
  for (const auto& row : rows) {
    testing::TemporaryFolder folder;
    const std::string path = folder.path("service.db");
    Database(path).setBalance("demo", "7.5");
    sqlite3* older = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &older), SQLITE_OK);
    const std::string downgrade =
        "DROP TABLE blacklist; DROP TABLE leases; DROP TABLE numbers; PRAGMA user_version = 1;"
        "UPDATE settings SET value = '" +
        std::string(row.contact) + "' WHERE key = 'support_contact';";
    ASSERT_EQ(sqlite3_exec(older, downgrade.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(older);

    Database upgraded(path);
    EXPECT_EQ(upgraded.setting("support_contact"), row.contactAfter);
    EXPECT_EQ(upgraded.findAccount("demo")->balance, "7.5");
    EXPECT_EQ(upgraded.projects().size(), demoProjects().size());
    EXPECT_TRUE(upgraded.freeNumber("demo", "北京", "广电号段"));
  }
}

}  // namespace
}  // namespace velmora::service
