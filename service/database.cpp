#include "service/database.h"

#include <chrono>
#include <random>
#include <thread>

#include "service/password_hash.h"
#include "service/seed_data.h"
#include "service/store/postgres_connection.h"
#include "service/store/postgres_schema.h"
#include "service/store/sqlite_connection.h"

namespace velmora::service {

namespace {

// The tables of a SQLite file, made at its version: later versions change them.
constexpr const char* kSchema = R"sql(
CREATE TABLE accounts (
  name TEXT PRIMARY KEY,
  password_hash TEXT NOT NULL,
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
)sql";

// The pool of the simulation.
constexpr const char* kNumberTables = R"sql(
CREATE TABLE numbers (
  number TEXT PRIMARY KEY,
  region TEXT NOT NULL,
  operator TEXT NOT NULL
);
)sql";

// Who holds which number until when, which numbers each user refuses, and what a provider still
// has to be told. A number comes from the pool or from a provider, so neither a lease nor a
// blacklist entry refers to the pool.
constexpr const char* kLeaseTables = R"sql(
CREATE TABLE leases (
  number TEXT PRIMARY KEY,
  user TEXT NOT NULL REFERENCES accounts(name),
  price TEXT NOT NULL,
  sms_at INTEGER NOT NULL,
  expires_at INTEGER NOT NULL,
  code TEXT NOT NULL,
  sms TEXT NOT NULL,
  activation TEXT NOT NULL DEFAULT '',
  sms_seen INTEGER NOT NULL DEFAULT 0,
  round INTEGER NOT NULL DEFAULT 0,
  delivered INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX leases_by_expiry ON leases (expires_at);
CREATE TABLE blacklist (
  user TEXT NOT NULL REFERENCES accounts(name),
  number TEXT NOT NULL,
  PRIMARY KEY (user, number)
);
CREATE TABLE provider_tasks (
  activation TEXT PRIMARY KEY,
  step INTEGER NOT NULL,
  give_up_at INTEGER NOT NULL
);
)sql";

// Leases and blacklists of a database of version 2 or 3, whose tables referred to the pool, in
// the tables of today; a lease keeps its rowid, which orders the leases by when they were made.
constexpr const char* kLeasesOffThePool = R"sql(
DROP INDEX leases_by_expiry;
ALTER TABLE leases RENAME TO leases_of_the_pool;
ALTER TABLE blacklist RENAME TO blacklist_of_the_pool;
)sql";
constexpr const char* kLeasesCopied = R"sql(
INSERT INTO leases (rowid, number, user, price, sms_at, expires_at, code, sms)
  SELECT rowid, number, user, price, sms_at, expires_at, code, sms FROM leases_of_the_pool;
INSERT INTO blacklist SELECT user, number FROM blacklist_of_the_pool;
DROP TABLE leases_of_the_pool;
DROP TABLE blacklist_of_the_pool;
)sql";

// What the leases of a database of version 4 lack.
constexpr const char* kDeliveryColumn =
    "ALTER TABLE leases ADD COLUMN delivered INTEGER NOT NULL DEFAULT 0";
// An older lease whose SMS time has passed could be read then: it counts as delivered.
constexpr const char* kPastSmsDelivered =
    "UPDATE leases SET delivered = 1 WHERE sms_at <= CAST(strftime('%s', 'now') AS INTEGER) * 1000";

// A transaction that lost to another is run again, at most this many times in all.
constexpr int kTransactionAttempts = 10;

// All but the password hash, which never leaves the store.
constexpr const char* kAccountColumns =
    "name, balance, address, invitation_code, registration_code, registered_on, email";
constexpr const char* kLeaseColumns =
    "number, \"user\", price, sms_at, expires_at, code, sms, activation, sms_seen, round, "
    "delivered";

Lease leaseFrom(Statement& row) {
  return Lease{row.text(0),         row.text(1),    row.text(2),         row.integer(3),
               row.integer(4),      row.text(5),    row.text(6),         row.text(7),
               row.integer(8) != 0, row.integer(9), row.integer(10) != 0};
}

std::vector<Lease> leasesFrom(Statement& query) {
  std::vector<Lease> leases;
  while (query.step()) leases.push_back(leaseFrom(query));
  return leases;
}

std::string select(const char* columns, const char* rest) {
  return std::string("SELECT ") + columns + " " + rest;
}

std::string storedHash(std::string_view password) {
  std::optional<std::string> hash = hashPassword(password);
  if (!hash) throw DatabaseError("no memory to hash a password");
  return std::move(*hash);
}

std::unique_ptr<SqlConnection> openConnection(const std::string& location) {
  return isPostgresUri(location) ? openPostgres(location) : openSqlite(location);
}

// A short wait, longer after each attempt and different in each thread, so that transactions
// that clashed do not clash again at once.
void waitBeforeAttempt(int attempt) {
  thread_local std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<int> microseconds(0, 1000 * attempt);
  std::this_thread::sleep_for(std::chrono::microseconds(microseconds(generator)));
}

}  // namespace

Database::Database(const std::string& location)
    : postgres_(isPostgresUri(location)),
      connection_(openConnection(location)),
      statements_(*connection_) {
  if (postgres_) {
    upgradePostgres();
  } else {
    upgradeSqlite();
  }
}

void Database::inTransaction(const std::function<void()>& work) {
  transaction(Access::kWrite, work);
}

void Database::inReadTransaction(const std::function<void()>& work) {
  if (!postgres_) return transaction(Access::kRead, work);
  recover();
  work();
}

void Database::recover() {
  if (connection_->recover()) leadsPolling_ = false;
}

// `work` runs again after a conflict, so it must start from what it reads.
void Database::transaction(Access access, const std::function<void()>& work) {
  for (int attempt = 1;; ++attempt) {
    recover();
    connection_->begin(access);
    try {
      work();
      connection_->commit();
      return;
    } catch (const TransactionConflict&) {
      connection_->rollback();
      if (attempt == kTransactionAttempts) throw;
    } catch (...) {
      connection_->rollback();
      throw;
    }
    waitBeforeAttempt(attempt);
  }
}

// In one transaction, so a database is at one version or the next, and a second connection
// opening the same new file waits and then finds it complete.
void Database::upgradeSqlite() {
  inTransaction([&] {
    std::int64_t version = 0;
    {
      Statement query(statements_, "PRAGMA user_version");
      if (query.step()) version = query.integer(0);
    }
    if (version >= kSchemaVersion) return;
    // A new database is made with the current accounts table; older ones change theirs.
    if (version < 1) {
      createAndSeed();
    } else if (version < 3) {
      hashClearPasswords();
    }
    if (version < 2) {
      addNumberPool();
      connection_->execute(kLeaseTables);
    } else if (version < 4) {
      connection_->execute(kLeasesOffThePool);
      connection_->execute(kLeaseTables);
      connection_->execute(kLeasesCopied);
    } else if (version < 5) {
      connection_->execute(kDeliveryColumn);
    }
    connection_->execute(kPastSmsDelivered);
    connection_->execute("PRAGMA user_version = " + std::to_string(kSchemaVersion));
  });
}

// A new database is made at the current version; processes that start at once wait for the
// first to finish, and find the database it made.
void Database::upgradePostgres() {
  const PostgresSetUpLock setUp(statements_);
  inTransaction([&] {
    const int version = postgresSchemaVersion(statements_);
    if (version > kSchemaVersion) {
      throw DatabaseError("the database was made by a later version of the service");
    }
    if (version > 0) return;
    createPostgresSchema(*connection_, statements_);
    seedDemoData();
    seedNumberPool();
  });
}

void Database::createAndSeed() {
  connection_->execute(kSchema);
  seedDemoData();
}

void Database::seedDemoData() {
  addAccount(demoAccount(), kDemoPassword);
  int position = 0;
  for (const Project& project : demoProjects()) {
    Statement(statements_, "INSERT INTO projects VALUES (?, ?, ?)")
        .bind(std::to_string(++position))
        .bind(project.name)
        .bind(project.price)
        .run();
  }
  Statement insertSetting(statements_, "INSERT INTO settings VALUES (?, ?), (?, ?)");
  insertSetting.bind("support_contact").bind(kSupportContact);
  insertSetting.bind("deposit_address").bind(kDepositAddress);
  insertSetting.run();
}

void Database::seedNumberPool() {
  for (const PoolNumber& number : demoNumbers()) {
    Statement(statements_, "INSERT INTO numbers VALUES (?, ?, ?)")
        .bind(number.number)
        .bind(number.region)
        .bind(number.carrier)
        .run();
  }
}

// Also replaces the support contact that databases of version 1 were seeded with, which the
// client's login window cuts; a contact set by hand stays.
void Database::addNumberPool() {
  connection_->execute(kNumberTables);
  seedNumberPool();
  Statement(statements_,
            "UPDATE settings SET value = ? WHERE key = 'support_contact' AND value = ?")
      .bind(kSupportContact)
      .bind(kFormerSupportContact)
      .run();
}

// Nothing is lost: every account keeps its row and logs in with the password it had.
void Database::hashClearPasswords() {
  connection_->execute("ALTER TABLE accounts RENAME COLUMN password TO password_hash");
  std::vector<std::pair<std::string, std::string>> passwords;  // name, password
  {
    Statement query(statements_, "SELECT name, password_hash FROM accounts");
    while (query.step()) passwords.emplace_back(query.text(0), query.text(1));
  }
  for (const auto& [name, password] : passwords) {
    Statement(statements_, "UPDATE accounts SET password_hash = ? WHERE name = ?")
        .bind(storedHash(password))
        .bind(name)
        .run();
  }
}

std::optional<Account> Database::findAccount(const std::string& name) {
  Statement query(statements_, select(kAccountColumns, "FROM accounts WHERE name = ?"));
  if (!query.bind(name).step()) return std::nullopt;
  return Account{query.text(0), query.text(1), query.text(2), query.text(3),
                 query.text(4), query.text(5), query.text(6)};
}

std::optional<StoredAccount> Database::storedAccount(const std::string& name) {
  Statement query(statements_,
                  select(kAccountColumns, ", password_hash FROM accounts WHERE name = ?"));
  if (!query.bind(name).step()) return std::nullopt;
  return StoredAccount{{query.text(0), query.text(1), query.text(2), query.text(3), query.text(4),
                        query.text(5), query.text(6)},
                       query.text(7)};
}

bool Database::invitationCodeInUse(const std::string& code) {
  return Statement(statements_, "SELECT 1 FROM accounts WHERE invitation_code = ?")
      .bind(code)
      .step();
}

bool Database::addAccount(const Account& account, std::string_view password) {
  Statement insert(statements_, std::string("INSERT INTO accounts (password_hash, ") +
                                    kAccountColumns +
                                    ") VALUES (?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING");
  insert.bind(storedHash(password)).bind(account.name).bind(account.balance);
  insert.bind(account.address);
  insert.bind(account.invitationCode).bind(account.registrationCode);
  insert.bind(account.registeredOn).bind(account.email);
  return insert.run() > 0;
}

bool Database::updateAccount(const std::string& name, std::string_view password,
                             const std::string& email, const std::string& address) {
  return Statement(statements_,
                   "UPDATE accounts SET password_hash = ?, email = ?, address = ? WHERE name = ?")
             .bind(storedHash(password))
             .bind(email)
             .bind(address)
             .bind(name)
             .run() > 0;
}

void Database::setBalance(const std::string& name, const std::string& balance) {
  Statement(statements_, "UPDATE accounts SET balance = ? WHERE name = ?")
      .bind(balance)
      .bind(name)
      .run();
}

std::optional<Order> Database::pendingOrder(const std::string& user) {
  Statement query(statements_,
                  "SELECT \"user\", amount, number, time FROM orders WHERE \"user\" = ?");
  if (!query.bind(user).step()) return std::nullopt;
  return Order{query.text(0), query.text(1), query.text(2), query.text(3)};
}

bool Database::addOrder(const Order& order) {
  return Statement(statements_, "INSERT INTO orders VALUES (?, ?, ?, ?) ON CONFLICT DO NOTHING")
             .bind(order.user)
             .bind(order.amount)
             .bind(order.number)
             .bind(order.time)
             .run() > 0;
}

bool Database::deleteOrder(const std::string& user) {
  return Statement(statements_, "DELETE FROM orders WHERE \"user\" = ?").bind(user).run() > 0;
}

std::vector<Project> Database::projects() {
  Statement query(statements_, "SELECT name, price FROM projects ORDER BY position");
  std::vector<Project> projects;
  while (query.step()) projects.push_back({query.text(0), query.text(1)});
  return projects;
}

std::string Database::setting(const std::string& key) {
  Statement query(statements_, "SELECT value FROM settings WHERE key = ?");
  return query.bind(key).step() ? query.text(0) : std::string();
}

std::optional<std::string> Database::projectPrice(const std::string& name) {
  Statement query(statements_, "SELECT price FROM projects WHERE name = ? ORDER BY position");
  if (!query.bind(name).step()) return std::nullopt;
  return query.text(0);
}

std::optional<std::string> Database::freeNumber(const std::string& user, const std::string& region,
                                                const std::string& carrier) {
  Statement query(statements_, R"sql(
SELECT number FROM numbers
WHERE (?1 = '' OR region = ?1) AND (?2 = '' OR operator = ?2)
  AND number NOT IN (SELECT number FROM leases)
  AND number NOT IN (SELECT number FROM blacklist WHERE "user" = ?3)
ORDER BY random() LIMIT 1
)sql");
  if (!query.bind(region).bind(carrier).bind(user).step()) return std::nullopt;
  return query.text(0);
}

bool Database::numberFreeFor(const std::string& user, const std::string& number) {
  return Statement(statements_, R"sql(
SELECT 1 FROM numbers
WHERE number = ?1
  AND number NOT IN (SELECT number FROM leases)
  AND number NOT IN (SELECT number FROM blacklist WHERE "user" = ?2)
)sql")
      .bind(number)
      .bind(user)
      .step();
}

void Database::addLease(const Lease& lease) {
  Statement insert(statements_, std::string("INSERT INTO leases (") + kLeaseColumns +
                                    ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  insert.bind(lease.number).bind(lease.user).bind(lease.price);
  insert.bind(lease.smsAt).bind(lease.expiresAt).bind(lease.code).bind(lease.sms);
  insert.bind(lease.activation).bind(std::int64_t{lease.smsSeen}).bind(lease.round);
  insert.bind(std::int64_t{lease.delivered});
  insert.run();
}

void Database::updateLeaseSms(const Lease& lease) {
  Statement(statements_,
            "UPDATE leases SET sms_at = ?, code = ?, sms = ?, sms_seen = ?, round = ?, "
            "delivered = ? WHERE number = ?")
      .bind(lease.smsAt)
      .bind(lease.code)
      .bind(lease.sms)
      .bind(std::int64_t{lease.smsSeen})
      .bind(lease.round)
      .bind(std::int64_t{lease.delivered})
      .bind(lease.number)
      .run();
}

std::optional<Lease> Database::findLease(const std::string& number) {
  Statement query(statements_, select(kLeaseColumns, "FROM leases WHERE number = ?"));
  if (!query.bind(number).step()) return std::nullopt;
  return leaseFrom(query);
}

// A new row's rowid is above every rowid in the table (SQLite's: there is no AUTOINCREMENT and no
// VACUUM to renumber them; PostgreSQL's from a sequence), so the highest one is the lease made
// last.
std::optional<Lease> Database::lastLeaseOf(const std::string& user) {
  Statement query(
      statements_,
      select(kLeaseColumns, "FROM leases WHERE \"user\" = ? ORDER BY rowid DESC LIMIT 1"));
  if (!query.bind(user).step()) return std::nullopt;
  return leaseFrom(query);
}

void Database::removeLease(const std::string& number) {
  Statement(statements_, "DELETE FROM leases WHERE number = ?").bind(number).run();
}

std::vector<Lease> Database::leasesExpiredBy(Instant time) {
  Statement query(statements_,
                  select(kLeaseColumns, "FROM leases WHERE expires_at <= ? ORDER BY expires_at"));
  query.bind(time);
  return leasesFrom(query);
}

std::vector<Lease> Database::leasesAwaitingProvider() {
  Statement query(
      statements_,
      select(kLeaseColumns, "FROM leases WHERE activation != '' AND sms_at = ? ORDER BY rowid"));
  query.bind(kSmsAwaited);
  return leasesFrom(query);
}

bool Database::blacklisted(const std::string& user, const std::string& number) {
  return Statement(statements_, "SELECT 1 FROM blacklist WHERE \"user\" = ? AND number = ?")
      .bind(user)
      .bind(number)
      .step();
}

// The lock is the session's, held until the connection ends; one per schema, so that stores
// in separate schemas of one database have a poller each.
bool Database::leadsProviderPolling() {
  if (!postgres_ || leadsPolling_) return true;
  Statement claim(statements_,
                  "SELECT CAST(pg_try_advisory_lock(7351, hashtext(current_schema())) AS INTEGER)");
  leadsPolling_ = claim.step() && claim.integer(0) == 1;
  return leadsPolling_;
}

void Database::addProviderTask(const ProviderTask& task) {
  Statement(statements_, R"sql(
INSERT INTO provider_tasks (activation, step, give_up_at) VALUES (?, ?, ?)
ON CONFLICT (activation) DO UPDATE SET step = excluded.step, give_up_at = excluded.give_up_at
)sql")
      .bind(task.activation)
      .bind(std::int64_t{task.step})
      .bind(task.giveUpAt)
      .run();
}

std::vector<ProviderTask> Database::providerTasks() {
  Statement query(statements_,
                  "SELECT activation, step, give_up_at FROM provider_tasks ORDER BY rowid");
  std::vector<ProviderTask> tasks;
  while (query.step()) {
    tasks.push_back({query.text(0), static_cast<int>(query.integer(1)), query.integer(2)});
  }
  return tasks;
}

void Database::removeProviderTask(const std::string& activation) {
  Statement(statements_, "DELETE FROM provider_tasks WHERE activation = ?").bind(activation).run();
}

void Database::addToBlacklist(const std::string& user, const std::string& number) {
  Statement(statements_, "INSERT INTO blacklist VALUES (?, ?) ON CONFLICT DO NOTHING")
      .bind(user)
      .bind(number)
      .run();
}

}  // namespace velmora::service
