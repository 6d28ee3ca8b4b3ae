#include "service/database.h"

#include <sqlite3.h>

#include "service/seed_data.h"
#include "service/statement.h"

namespace velmora::service {

namespace {

constexpr const char* kSchema = R"sql(
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
)sql";

// Bumped when the schema changes; 0 is a database we have not set up yet.
constexpr int kSchemaVersion = 1;

constexpr const char* kAccountColumns =
    "name, password, balance, address, invitation_code, registration_code, registered_on, email";

}  // namespace

Database::Database(const std::string& path) {
  if (sqlite3_open(path.c_str(), &connection_) != SQLITE_OK) {
    const std::string message = connection_ ? sqlite3_errmsg(connection_) : "out of memory";
    sqlite3_close(connection_);
    throw DatabaseError("cannot open " + path + ": " + message);
  }
  try {
    execute("PRAGMA foreign_keys = ON");
    Statement version(connection_, "PRAGMA user_version");
    version.step();
    if (version.text(0) == "0") createAndSeed();
  } catch (...) {
    sqlite3_close(connection_);
    throw;
  }
}

Database::~Database() {
  sqlite3_close(connection_);
}

void Database::execute(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(connection_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message ? message : "unknown failure";
    sqlite3_free(message);
    throw DatabaseError(text);
  }
}

// All in one transaction, so a database is either new or complete.
void Database::createAndSeed() {
  execute("BEGIN IMMEDIATE");
  try {
    execute(kSchema);
    addAccount(demoAccount());
    int position = 0;
    for (const Project& project : demoProjects()) {
      Statement(connection_, "INSERT INTO projects VALUES (?, ?, ?)")
          .bind(std::to_string(++position))
          .bind(project.name)
          .bind(project.price)
          .step();
    }
    Statement insertSetting(connection_, "INSERT INTO settings VALUES (?, ?), (?, ?)");
    insertSetting.bind("support_contact").bind(kSupportContact);
    insertSetting.bind("deposit_address").bind(kDepositAddress);
    insertSetting.step();
    execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    execute("COMMIT");
  } catch (...) {
    sqlite3_exec(connection_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

std::optional<Account> Database::findAccount(const std::string& name) {
  Statement query(
      connection_,
      (std::string("SELECT ") + kAccountColumns + " FROM accounts WHERE name = ?").c_str());
  if (!query.bind(name).step()) return std::nullopt;
  return Account{query.text(0), query.text(1), query.text(2), query.text(3),
                 query.text(4), query.text(5), query.text(6), query.text(7)};
}

bool Database::invitationCodeInUse(const std::string& code) {
  return Statement(connection_, "SELECT 1 FROM accounts WHERE invitation_code = ?")
      .bind(code)
      .step();
}

bool Database::addAccount(const Account& account) {
  Statement insert(connection_, (std::string("INSERT INTO accounts (") + kAccountColumns +
                                 ") VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                                    .c_str());
  insert.bind(account.name).bind(account.password).bind(account.balance).bind(account.address);
  insert.bind(account.invitationCode).bind(account.registrationCode);
  insert.bind(account.registeredOn).bind(account.email);
  return insert.stepUnlessDuplicate();
}

bool Database::updateAccount(const std::string& name, const std::string& password,
                             const std::string& email, const std::string& address) {
  Statement(connection_, "UPDATE accounts SET password = ?, email = ?, address = ? WHERE name = ?")
      .bind(password)
      .bind(email)
      .bind(address)
      .bind(name)
      .step();
  return sqlite3_changes(connection_) > 0;
}

std::optional<Order> Database::pendingOrder(const std::string& user) {
  Statement query(connection_, "SELECT user, amount, number, time FROM orders WHERE user = ?");
  if (!query.bind(user).step()) return std::nullopt;
  return Order{query.text(0), query.text(1), query.text(2), query.text(3)};
}

bool Database::addOrder(const Order& order) {
  return Statement(connection_, "INSERT INTO orders VALUES (?, ?, ?, ?)")
      .bind(order.user)
      .bind(order.amount)
      .bind(order.number)
      .bind(order.time)
      .stepUnlessDuplicate();
}

bool Database::deleteOrder(const std::string& user) {
  Statement(connection_, "DELETE FROM orders WHERE user = ?").bind(user).step();
  return sqlite3_changes(connection_) > 0;
}

std::vector<Project> Database::projects() {
  Statement query(connection_, "SELECT name, price FROM projects ORDER BY position");
  std::vector<Project> projects;
  while (query.step()) projects.push_back({query.text(0), query.text(1)});
  return projects;
}

std::string Database::setting(const std::string& key) {
  Statement query(connection_, "SELECT value FROM settings WHERE key = ?");
  return query.bind(key).step() ? query.text(0) : std::string();
}

}  // namespace velmora::service
