// The copy of a SQLite store into an empty PostgreSQL database: the service on the copy goes on
// where it was, the copy goes only into an empty database, and no password of the URI is shown.
#include "service/store/store_copy.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "service/seed_data.h"
#include "service/store/postgres_connection.h"
#include "tests/service/endpoint_fixture.h"

namespace velmora::service {
namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;

const std::string kDemo = "username=demo&password=demo123";

std::u8string utf8(std::string_view text) {
  return std::u8string(text.begin(), text.end());
}

// The pool's numbers in order.
std::vector<std::string> poolNumbers() {
  std::vector<std::string> numbers;
  for (const PoolNumber& entry : demoNumbers()) numbers.push_back(entry.number);
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

// Filled on a SQLite file through the endpoints, copied, and opened on PostgreSQL.
class StoreCopyTest : public EndpointTest {
 protected:
  // The number `number` for demo, through the JSON API; the test fails when it is not given.
  void take(const std::string& number) {
    const Json given =
        Json::parse(askApi(kDemo + "&action=getnum&xm=%E5%BE%AE%E4%BF%A1&hm=" + number));
    ASSERT_EQ(given["code"], 0) << given;
  }
  std::string onNumber(std::string_view file, const std::string& number) {
    return ask(file, {{"username", u8"demo"}, {"password", u8"demo123"}, {"hm", utf8(number)}});
  }
  std::string held() {
    return ask("held.php", {{"username", u8"demo"}, {"password", u8"demo123"}});
  }
};

// The lease made last has the lowest number, so that a copy in the order of the numbers would
// have held.php name the other one; the tasks likewise.
TEST_P(StoreCopyTest, TheServiceGoesOnWhereItWasOnTheCopy) {
  const std::vector<std::string> pool = poolNumbers();
  const std::string first = pool.back(), last = pool.front(), refused = pool[1];
  ASSERT_EQ(registerUser(u8"zed", u8"Secr3tPw"), "2");
  database->setBalance("zed", "7.50");
  ASSERT_EQ(submitOrder(u8"zed", u8"10", u8"2026512343217890", u8"Secr3tPw"), "1");
  take(first);
  pass(5s);
  const std::string sms = onNumber("getsms.php", first);
  ASSERT_TRUE(sms.starts_with("1,")) << sms;
  take(refused);
  ASSERT_TRUE(onNumber("blacklist.php", refused).starts_with("1,"));
  take(last);
  ASSERT_EQ(held(), "1," + last);
  const std::vector<ProviderTask> tasks{{"activation-b", 8, now + 60'000},
                                        {"activation-a", 6, now + 120'000}};
  for (const ProviderTask& task : tasks) database->addProviderTask(task);
  const std::string demoBalance = balance();

  const ScratchStore target(StoreKind::kPostgres);
  const std::vector<CopiedRows> copied = copyStore(store.location(), target.location());
  EXPECT_EQ(copied, (std::vector<CopiedRows>{{"accounts", 2},
                                             {"orders", 1},
                                             {"projects", std::ssize(demoProjects())},
                                             {"settings", 2},
                                             {"numbers", std::ssize(pool)},
                                             {"leases", 2},
                                             {"blacklist", 1},
                                             {"provider_tasks", 2}}));
  location = target.location();
  open();
  EXPECT_EQ(balance(u8"zed", u8"Secr3tPw"), "7.50");
  EXPECT_EQ(balance(u8"zed", u8"demo123"), "<no login>");
  EXPECT_EQ(balance(), demoBalance);
  EXPECT_EQ(database->pendingOrder("zed"), (Order{"zed", "10", "2026512343217890", "2026/5/7"}));
  EXPECT_EQ(database->projects().size(), demoProjects().size());  // not seeded again
  EXPECT_EQ(held(), "1," + last);
  EXPECT_EQ(onNumber("getsms.php", first), sms);
  EXPECT_TRUE(database->blacklisted("demo", refused));
  for (const std::string& number : pool) {
    EXPECT_EQ(database->numberFreeFor("zed", number), number != first && number != last) << number;
  }
  EXPECT_EQ(database->providerTasks(), tasks);
  // A lease made on the copy comes after the copied ones.
  ASSERT_EQ(onNumber("release.php", last).substr(0, 2), "1,");
  take(pool[2]);
  EXPECT_EQ(held(), "1," + pool[2]);

  // A second copy changes nothing; neither does one into a database with a table of another's.
  const std::string balanceOnTheCopy = balance();
  EXPECT_THROW(copyStore(store.location(), target.location()), CopyRefused);
  EXPECT_EQ(held(), "1," + pool[2]);
  EXPECT_EQ(balance(), balanceOnTheCopy);
  const ScratchStore other(StoreKind::kPostgres);
  other.run("CREATE TABLE notes (line TEXT)");
  EXPECT_THROW(copyStore(store.location(), other.location()), CopyRefused);
  EXPECT_NO_THROW(other.run("CREATE TABLE accounts (name TEXT)"));
}

// Every column of every table the service makes is one the copy moves.
TEST_P(StoreCopyTest, CopiesEveryColumnOfTheSchema) {
  const ScratchStore target(StoreKind::kPostgres);
  copyStore(store.location(), target.location());
  std::set<std::string> listed;
  for (const CopiedTable& table : copiedTables()) {
    std::string columns = table.columns;
    std::erase(columns, '"');
    for (size_t start = 0; start < columns.size();) {
      const size_t end = std::min(columns.find(", ", start), columns.size());
      listed.insert(std::string(table.name) + "." + columns.substr(start, end - start));
      start = end + 2;
    }
  }
  std::set<std::string> made;
  const std::unique_ptr<SqlConnection> connection = openPostgres(target.location());
  StatementCache statements(*connection);
  Statement query(statements,
                  "SELECT table_name, column_name FROM information_schema.columns "
                  "WHERE table_schema = current_schema() AND table_name != 'schema_version' "
                  "AND column_name != 'rowid'");
  while (query.step()) made.insert(query.text(0) + "." + query.text(1));
  EXPECT_EQ(made, listed);
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreCopyTest, ::testing::Values(StoreKind::kSqlite),
                         storeTestName);

// The real program: its exit codes, and what it prints, which shows no password of the URI.
TEST(StoreCopyProcessTest, ExitsWithASummaryOrWhatWentWrong) {
  const ScratchStore source(StoreKind::kSqlite);
  { const Database made(source.location()); }
  const ScratchStore target(StoreKind::kPostgres);
  const std::string uri = target.location();
  const std::string secret = "s3cr3t-pw";
  const std::string withPassword =
      uri.substr(0, uri.find('@')) + ":" + secret + uri.substr(uri.find('@'));
  testing::TemporaryFolder folder;
  const std::string text = folder.path("notes.txt");
  std::ofstream(text) << "not a database, only text long enough to fill a page header.\n";
  const std::string missing = folder.path("missing.db");
  const auto copy = [](const std::string& from, const std::string& to) {
    return testing::runCommand(std::string(VELMORA_SERVICE_PROGRAM) + " --database '" + from +
                               "' --copy-to '" + to + "' 2>&1");
  };
  const struct {
    std::string from;
    std::string to;
    int status;
    std::string output;
  } rows[] = {
      {source.location(), withPassword, 0,
       "copied to PostgreSQL: accounts 1, orders 0, projects " +
           std::to_string(demoProjects().size()) + ", settings 2, numbers " +
           std::to_string(demoNumbers().size()) + ", leases 0, blacklist 0, provider_tasks 0\n"},
      {source.location(), withPassword, 1,
       "velmora-service: nothing copied: the PostgreSQL database is not empty: the copy goes only "
       "into a schema without tables\n"},
      {missing, withPassword, 1,
       "velmora-service: nothing copied: --database names no SQLite file to copy from\n"},
      {text, withPassword, 1,
       "velmora-service: nothing copied: --database names no SQLite file to copy from\n"},
      {withPassword, withPassword, 1,
       "velmora-service: nothing copied: --database names no SQLite file to copy from\n"},
      {source.location(), "mysql://u:" + secret + "@h/db", 1,
       "velmora-service: nothing copied: --copy-to takes a PostgreSQL URI (postgresql://… or "
       "postgres://…)\n"},
  };
  for (const auto& row : rows) {
    const testing::CommandResult result = copy(row.from, row.to);
    EXPECT_EQ(WEXITSTATUS(result.status), row.status) << row.from << " " << row.to;
    EXPECT_EQ(result.output, row.output);
  }
  EXPECT_FALSE(std::filesystem::exists(missing));
  // libpq repeats a URI it cannot read.
  const testing::CommandResult unreadable =
      copy(source.location(), "postgresql://velmora:" + secret + "@[::1/velmora");
  EXPECT_EQ(WEXITSTATUS(unreadable.status), 1);
  EXPECT_TRUE(unreadable.output.starts_with("velmora-service: nothing copied: cannot connect"))
      << unreadable.output;
  EXPECT_EQ(unreadable.output.find(secret), std::string::npos) << unreadable.output;
}

}  // namespace
}  // namespace velmora::service
