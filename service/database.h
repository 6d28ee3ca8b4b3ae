// The demo service's SQLite store: accounts, pending orders, projects and the service's settings.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "service/records.h"

struct sqlite3;

namespace velmora::service {

// Any failure of the store itself (cannot open, disk full, broken file).
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One open database. A new file gets the tables and the demo data once; opening it again keeps
// whatever it holds. Not thread-safe: callers serialise access.
class Database {
 public:
  explicit Database(const std::string& path);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  std::optional<Account> findAccount(const std::string& name);
  bool invitationCodeInUse(const std::string& code);
  // False when the name is taken.
  bool addAccount(const Account& account);
  // False when there is no such account.
  bool updateAccount(const std::string& name, const std::string& password, const std::string& email,
                     const std::string& address);

  std::optional<Order> pendingOrder(const std::string& user);
  // False when the user already has a pending order.
  bool addOrder(const Order& order);
  // False when there was none.
  bool deleteOrder(const std::string& user);

  std::vector<Project> projects();
  std::string setting(const std::string& key);

 private:
  void execute(const char* sql);
  void createAndSeed();

  sqlite3* connection_ = nullptr;
};

}  // namespace velmora::service
