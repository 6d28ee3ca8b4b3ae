#include "service/store/postgres_schema.h"

#include <string>

namespace velmora::service {

namespace {

// The tables of the current version. They are those of a SQLite file, with 64-bit times, `user`
// quoted (a keyword here), and a serial column named `rowid` that orders leases and tasks by when
// they were made, as SQLite's own rowid does.
constexpr const char* kPostgresSchema = R"sql(
CREATE TABLE schema_version (version INTEGER NOT NULL);
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
  "user" TEXT PRIMARY KEY REFERENCES accounts(name),
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
  rowid BIGSERIAL UNIQUE,
  number TEXT PRIMARY KEY,
  "user" TEXT NOT NULL REFERENCES accounts(name),
  price TEXT NOT NULL,
  sms_at BIGINT NOT NULL,
  expires_at BIGINT NOT NULL,
  code TEXT NOT NULL,
  sms TEXT NOT NULL,
  activation TEXT NOT NULL DEFAULT '',
  sms_seen INTEGER NOT NULL DEFAULT 0,
  round BIGINT NOT NULL DEFAULT 0,
  delivered INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX leases_by_expiry ON leases (expires_at);
CREATE INDEX leases_by_user ON leases ("user", rowid);
CREATE TABLE blacklist (
  "user" TEXT NOT NULL REFERENCES accounts(name),
  number TEXT NOT NULL,
  PRIMARY KEY ("user", number)
);
CREATE TABLE provider_tasks (
  rowid BIGSERIAL UNIQUE,
  activation TEXT PRIMARY KEY,
  step INTEGER NOT NULL,
  give_up_at BIGINT NOT NULL
);
)sql";

// A key of this service's own among the database's advisory locks.
constexpr const char* kSetUpLockKey = "7351902214";

}  // namespace

// A session's lock, not a transaction's: a transaction's snapshot would be taken before it
// waited.
PostgresSetUpLock::PostgresSetUpLock(StatementCache& statements) : statements_(statements) {
  Statement(statements_, std::string("SELECT pg_advisory_lock(") + kSetUpLockKey + ")").run();
}

// A lock that cannot be given back ends with the connection that holds it.
PostgresSetUpLock::~PostgresSetUpLock() {
  try {
    Statement(statements_, std::string("SELECT pg_advisory_unlock(") + kSetUpLockKey + ")").run();
  } catch (const DatabaseError&) {
  }
}

// The version table is looked for in the schema that new tables go to, not anywhere on the
// search path.
int postgresSchemaVersion(StatementCache& statements) {
  Statement table(statements,
                  "SELECT 1 FROM pg_tables WHERE schemaname = current_schema() "
                  "AND tablename = 'schema_version'");
  if (!table.step()) return 0;
  Statement version(statements, "SELECT version FROM schema_version");
  return version.step() ? static_cast<int>(version.integer(0)) : 0;
}

void createPostgresSchema(SqlConnection& connection, StatementCache& statements) {
  connection.execute(kPostgresSchema);
  Statement(statements, "INSERT INTO schema_version VALUES (?)").bind(kSchemaVersion).run();
}

}  // namespace velmora::service
