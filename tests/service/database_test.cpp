// The store refuses duplicates without failing, an older database gains what it lacks, a new
// PostgreSQL database is set up once and no message shows its password; the service tests cover
// the rest end to end.
#include "service/database.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <latch>
#include <thread>

#include "service/password_hash.h"
#include "service/seed_data.h"
#include "service/store/postgres_connection.h"
#include "tests/service/endpoint_fixture.h"
#include "tests/service/service_test_support.h"

namespace velmora::service {
namespace {

// A database as version 2 of the store made it, passwords in clear, with rows of every kind. The
// schema is a copy of that version's, kept as it was.
constexpr const char* kVersion2Database = R"sql(
CREATE TABLE accounts (
  name TEXT PRIMARY KEY,
  password TEXT NOT NULL,
  balance TEXT NOT NULL,
  address TEXT NOT NULL,
  invitation_code TEXT NOT NULL UNIQUE,
  registration_code TEXT NOT NULL,
  registered_on TEXT NOT NULL,
  email TEXT NOT NULL
);
CREATE TABLE orders (
  user TEXT PRIMARY KEY REFERENCES accounts(name),
  amount TEXT NOT NULL,
  number TEXT NOT NULL,
  time TEXT NOT NULL
);
CREATE TABLE projects (
  position INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  price TEXT NOT NULL
);
CREATE TABLE settings (
  key TEXT PRIMARY KEY,
  value TEXT NOT NULL
);
CREATE TABLE numbers (
  number TEXT PRIMARY KEY,
  region TEXT NOT NULL,
  operator TEXT NOT NULL
);
CREATE TABLE leases (
  number TEXT PRIMARY KEY REFERENCES numbers(number),
  user TEXT NOT NULL REFERENCES accounts(name),
  price TEXT NOT NULL,
  sms_at INTEGER NOT NULL,
  expires_at INTEGER NOT NULL,
  code TEXT NOT NULL,
  sms TEXT NOT NULL
);
CREATE INDEX leases_by_expiry ON leases (expires_at);
CREATE TABLE blacklist (
  user TEXT NOT NULL REFERENCES accounts(name),
  number TEXT NOT NULL REFERENCES numbers(number),
  PRIMARY KEY (user, number)
);
INSERT INTO accounts VALUES
  ('demo', 'demo123', '12', 'TQn9Y2khEsLJW1ChVWFMSMeRDow5KcbLSE', 'VM8K2Q', '20815', '2026/1/1',
   'demo@example.com'),
  ('zed', 'Secr3tPw', '7.50', '0', 'ZD7KQ3', '31337', '2026/5/7', '');
INSERT INTO orders VALUES ('zed', '10', '2026512343217890', '2026/5/7');
INSERT INTO projects VALUES (1, '微信', '1.2'), (2, 'Steam', '2.0');
INSERT INTO settings VALUES ('support_contact', '@velmora_support'),
  ('deposit_address', 'TDhNQAT8YrjBAUhj9G48CDS3qTqVTNTxe3');
INSERT INTO numbers VALUES ('13800000001', '北京', '中国移动号段'),
  ('13800000002', '上海', '中国移动号段');
INSERT INTO leases VALUES ('13800000001', 'zed', '1.20', 1800000005000, 1800000600000, '482913',
  '【微信】您的验证码是 482913，5分钟内有效，请勿泄露给他人。');
INSERT INTO blacklist VALUES ('zed', '13800000002');
PRAGMA user_version = 2;
)sql";

// Version 1 had no number pool.
constexpr const char* kToVersion1 =
    "DROP TABLE blacklist; DROP TABLE leases; DROP TABLE numbers; PRAGMA user_version = 1;";

// Whether the account exists and its stored hash is that of `password`.
bool hasPassword(Database& database, const std::string& name, std::string_view password) {
  const std::optional<StoredAccount> stored = database.storedAccount(name);
  return stored && hashMatches(stored->passwordHash, password);
}

void runSql(const std::string& path, const std::string& sql) {
  sqlite3* connection = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &connection), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(connection);
}

TEST_P(EndpointTest, DuplicatesAreRefusedNotFatal) {
  Account account = demoAccount();
  EXPECT_FALSE(database->addAccount(account, "pw"));  // the name is taken
  account.name = "other";
  EXPECT_FALSE(database->addAccount(account, "pw"));  // so is the invitation code
  EXPECT_TRUE(database->addOrder({"demo", "5", "1", "2026/1/1"}));
  EXPECT_FALSE(database->addOrder({"demo", "6", "2", "2026/1/1"}));
  EXPECT_THROW(database->addOrder({"nobody", "6", "2", "2026/1/1"}), DatabaseError);
  // The transaction goes on after a refusal.
  database->inTransaction([&] {
    EXPECT_FALSE(database->addOrder({"demo", "7", "3", "2026/1/1"}));
    EXPECT_TRUE(database->deleteOrder("demo"));
  });
  EXPECT_FALSE(database->pendingOrder("demo"));
}

// Every row stays, every account logs in with the password it had, and no password is left in the
// file, not even in its free space; a second start hashes nothing again.
TEST(DatabaseTest, ADatabaseWithClearPasswordsKeepsOnlyTheirHashes) {
  testing::TemporaryFolder folder;
  const std::string path = folder.path("service.db");
  runSql(path, kVersion2Database);
  for (int start = 0; start < 2; ++start) {
    Database upgraded(path);
    EXPECT_TRUE(hasPassword(upgraded, "zed", "Secr3tPw"));
    EXPECT_TRUE(hasPassword(upgraded, "demo", "demo123"));
    EXPECT_FALSE(hasPassword(upgraded, "zed", "demo123"));
    EXPECT_EQ(upgraded.findAccount("zed"),
              (Account{"zed", "7.50", "0", "ZD7KQ3", "31337", "2026/5/7", ""}));
    EXPECT_EQ(upgraded.findAccount("demo"), demoAccount());
    EXPECT_EQ(upgraded.pendingOrder("zed"), (Order{"zed", "10", "2026512343217890", "2026/5/7"}));
    EXPECT_EQ(upgraded.findLease("13800000001")->code, "482913");
    EXPECT_FALSE(upgraded.numberFreeFor("zed", "13800000002"));  // blacklisted
    EXPECT_EQ(upgraded.projects().size(), 2u);
  }
  const std::string file = testing::fileText(path);
  EXPECT_EQ(file.find("Secr3tPw"), std::string::npos);
  EXPECT_EQ(file.find("demo123"), std::string::npos);
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
    runSql(path, kVersion2Database);
    runSql(path, std::string(kToVersion1) + "UPDATE settings SET value = '" + row.contact +
                     "' WHERE key = 'support_contact';");

    Database upgraded(path);
    EXPECT_EQ(upgraded.setting("support_contact"), row.contactAfter);
    EXPECT_EQ(upgraded.findAccount("zed")->balance, "7.50");
    EXPECT_TRUE(hasPassword(upgraded, "zed", "Secr3tPw"));
    EXPECT_EQ(upgraded.projects().size(), 2u);
    EXPECT_TRUE(upgraded.freeNumber("demo", "北京", "广电号段"));
  }
}

// libpq repeats what it could not read of a URI, a password too; the service shows none.
TEST(DatabaseTest, NoMessageShowsAPasswordOfTheUri) {
  const struct {
    const char* uri;
    const char* text;
    const char* shown;
  } rows[] = {
      {"postgresql://u:s3cr3t@h/db", "at postgresql://u:s3cr3t@h/db s3cr3t",
       "at postgresql://u:***@h/db ***"},
      {"postgres://u:s3%41cr3t@h/db", "\"s3%41cr3t\" or s3Acr3t", "\"***\" or ***"},
      {"postgresql://u@h/db?sslmode=x&password=hush%zz", "token: \"hush%zz\"", "token: \"***\""},
      // libpq stops at a `/` or `@` that the password should have encoded.
      {"postgresql://u:pa/ss@h/db", "invalid integer value \"pa\"",
       "invalid integer value \"***\""},
      {"postgresql://u:pa@ss@h/db", "host name \"ss@h\"", "host name \"***@h\""},
      // Nothing to hide: the port and an `@` of the query are no password.
      {"postgresql://u@h:5432/db", "u@h:5432", "u@h:5432"},
      {"postgresql://u:pw@h/db?options=a@b", "h/db a@b", "h/db a@b"},
  };
  for (const auto& row : rows) EXPECT_EQ(withoutPasswords(row.text, row.uri), row.shown) << row.uri;
  try {
    Database("postgresql://velmora:s3cr3t@[::1/velmora");
    ADD_FAILURE() << "connected";
  } catch (const DatabaseError& error) {
    EXPECT_EQ(std::string(error.what()).find("s3cr3t"), std::string::npos) << error.what();
  }
}

// A connection the server ended fails what runs on it, and is made again, with its settings,
// before the next transaction.
TEST(DatabaseTest, APostgresConnectionTheServerEndedIsMadeAgain) {
  const ScratchStore store(StoreKind::kPostgres);
  const std::string name = "reconnected_" + std::to_string(::getpid());
  Database database(store.location() + "&application_name=" + name);
  ASSERT_TRUE(database.leadsProviderPolling());
  const std::unique_ptr<SqlConnection> other = openPostgres(store.location());
  const std::unique_ptr<SqlCursor> ended = other->prepare(
      "SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity WHERE application_name = ?");
  ended->bind(1, name);
  ASSERT_TRUE(ended->step());
  EXPECT_THROW(database.findAccount("demo"), DatabaseError);
  std::optional<Account> demo;
  database.inTransaction([&] { demo = database.findAccount("demo"); });
  EXPECT_TRUE(demo);
  // The provider's poller's lock went with the session, and is taken again.
  EXPECT_TRUE(database.leadsProviderPolling());
  EXPECT_FALSE(Database(store.location()).leadsProviderPolling());
}

// A server that takes the connection and never answers fails the start in seconds.
TEST(DatabaseTest, AServerThatNeverAnswersIsGivenUpOn) {
  const int listening = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listening, 4), 0);
  ASSERT_EQ(getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_THROW(Database("postgresql://velmora@127.0.0.1:" +
                        std::to_string(ntohs(address.sin_port)) + "/velmora?sslmode=disable"),
               DatabaseError);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(8));
  close(listening);
}

// Processes that start at once on a new PostgreSQL database: one sets it up, the others wait and
// find it set up, and none fails.
TEST(DatabaseTest, ServicesStartingAtOnceOnANewDatabaseAllStart) {
  const ScratchStore store(StoreKind::kPostgres);
  constexpr int kServices = 4;
  std::latch start(kServices);
  std::vector<std::string> failures(kServices);
  std::vector<std::thread> services;
  for (int service = 0; service < kServices; ++service) {
    services.emplace_back([&, service] {
      start.arrive_and_wait();
      try {
        EXPECT_EQ(Database(store.location()).projects().size(), demoProjects().size());
      } catch (const DatabaseError& error) {
        failures[service] = error.what();
      }
    });
  }
  for (std::thread& service : services) service.join();
  EXPECT_EQ(failures, std::vector<std::string>(kServices));
}

}  // namespace
}  // namespace velmora::service
