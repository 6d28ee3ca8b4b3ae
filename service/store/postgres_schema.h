// The store's tables in a PostgreSQL database, and the version they are at: made once, by the
// first process that opens a new database, or by the copy from a SQLite file.
#pragma once

#include "service/store/sql_connection.h"

namespace velmora::service {

// Bumped when the schema changes; 0 is a database we have not set up yet, 1 one without the
// number pool, 2 one that keeps passwords in clear, 3 one whose leases are the pool's alone, 4 one
// whose leases know no delivery. A SQLite file keeps it as its user_version, a PostgreSQL
// database in its schema_version table.
inline constexpr int kSchemaVersion = 5;

// Lets one process at a time set a PostgreSQL database up, from before its transaction begins
// to after it ends: a transaction that waited for the lock begins after the other's commit, so
// it sees the tables and the version that one made.
class PostgresSetUpLock {
 public:
  explicit PostgresSetUpLock(StatementCache& statements);
  ~PostgresSetUpLock();
  PostgresSetUpLock(const PostgresSetUpLock&) = delete;
  PostgresSetUpLock& operator=(const PostgresSetUpLock&) = delete;

 private:
  StatementCache& statements_;
};

// The version the database records; 0 for a database not set up yet.
int postgresSchemaVersion(StatementCache& statements);

// Makes the tables of the current version and records that version, in the transaction in
// progress.
void createPostgresSchema(SqlConnection& connection, StatementCache& statements);

}  // namespace velmora::service
