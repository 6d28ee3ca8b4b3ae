// The demo service's store, a SQLite file or a PostgreSQL database: accounts, pending orders,
// projects, the service's settings, the number pool, the leases and blacklists of numbers from
// the pool or a provider, and what a provider still has to be told.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/records.h"
#include "service/store/sql_connection.h"

namespace velmora::service {

// One connection to the store. A new store gets the tables and the demo data once; an older
// SQLite file gets what it lacks, and the clear passwords that older versions kept become hashes;
// opening it again keeps whatever it holds. One object is not thread-safe: callers serialise
// access. Several objects, in one process or several, may share a store: a transaction waits for
// another's end, or runs again when it lost to one.
struct StoredAccount {
  Account account;
  std::string passwordHash;
};

class Database {
 public:
  // `location` is a SQLite file's path, or a PostgreSQL connection URI ("postgresql://…").
  explicit Database(const std::string& location);
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Connects again when the server or the network broke the connection (PostgreSQL's).
  void recover();

  // Runs `work` as one write transaction: all of its changes are kept, or none when it throws.
  void inTransaction(const std::function<void()>& work);
  // Runs `work`, which only reads. It waits for no writer, in this process or another: on SQLite
  // it reads one snapshot; on PostgreSQL each statement reads the last commit, with no
  // transaction around them, which would cost two more round trips to the server.
  void inReadTransaction(const std::function<void()>& work);

  std::optional<Account> findAccount(const std::string& name);
  // The account with its password hash (service/password_hash.h), in one read, for a request to
  // check its password against; nothing when there is no such account.
  std::optional<StoredAccount> storedAccount(const std::string& name);
  bool invitationCodeInUse(const std::string& code);
  // Passwords come in clear and are kept as their hashes (service/password_hash.h): the store
  // never holds a password. Making a hash can fail for want of memory, and throws DatabaseError.
  //
  // False when the name is taken.
  bool addAccount(const Account& account, std::string_view password);
  // False when there is no such account.
  bool updateAccount(const std::string& name, std::string_view password, const std::string& email,
                     const std::string& address);
  void setBalance(const std::string& name, const std::string& balance);

  std::optional<Order> pendingOrder(const std::string& user);
  // False when the user already has a pending order.
  bool addOrder(const Order& order);
  // False when there was none.
  bool deleteOrder(const std::string& user);

  std::vector<Project> projects();
  std::optional<std::string> projectPrice(const std::string& name);
  std::string setting(const std::string& key);

  // A number of the pool that nobody holds and `user` has not blacklisted, picked at random among
  // those of `region` and `carrier` (empty: any).
  std::optional<std::string> freeNumber(const std::string& user, const std::string& region,
                                        const std::string& carrier);
  // Whether `number` is in the pool, held by nobody and not blacklisted by `user`.
  bool numberFreeFor(const std::string& user, const std::string& number);
  void addLease(const Lease& lease);
  // Writes the lease's SMS, its time, its round and whether it was delivered.
  void updateLeaseSms(const Lease& lease);
  std::optional<Lease> findLease(const std::string& number);
  // The number `user` was handed last among those they still hold.
  std::optional<Lease> lastLeaseOf(const std::string& user);
  void removeLease(const std::string& number);
  std::vector<Lease> leasesExpiredBy(Instant time);
  // A provider's numbers whose SMS has not come, in the order they were handed out.
  std::vector<Lease> leasesAwaitingProvider();
  void addToBlacklist(const std::string& user, const std::string& number);
  bool blacklisted(const std::string& user, const std::string& number);

  // Whether this connection's process is the one that polls the provider, of all those that
  // share the store: the first to ask, until its connection ends (with the process, or broken).
  // A SQLite file has one service, which always does.
  bool leadsProviderPolling();

  // A task replaces any earlier one for its activation.
  void addProviderTask(const ProviderTask& task);
  std::vector<ProviderTask> providerTasks();
  void removeProviderTask(const std::string& activation);

 private:
  void transaction(Access access, const std::function<void()>& work);
  void upgradeSqlite();
  void upgradePostgres();
  void createAndSeed();
  void seedDemoData();
  void seedNumberPool();
  void addNumberPool();
  void hashClearPasswords();

  const bool postgres_;
  bool leadsPolling_ = false;
  std::unique_ptr<SqlConnection> connection_;
  StatementCache statements_;
};

}  // namespace velmora::service
