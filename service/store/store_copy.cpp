#include "service/store/store_copy.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <string_view>

#include "service/database.h"
#include "service/store/postgres_connection.h"
#include "service/store/postgres_schema.h"
#include "service/store/sqlite_connection.h"

namespace velmora::service {

namespace {

// Leases and tasks go in the order they were made, which their new `rowid` keeps; the others in
// the order of their keys, so that two copies of one file are alike.
constexpr CopiedTable kTables[] = {
    {"accounts",
     "name, password_hash, balance, address, invitation_code, registration_code, registered_on, "
     "email",
     "name"},
    {"orders", "\"user\", amount, number, time", "\"user\""},
    {"projects", "position, name, price", "position"},
    {"settings", "key, value", "key"},
    {"numbers", "number, region, operator", "number"},
    {"leases",
     "number, \"user\", price, sms_at, expires_at, code, sms, activation, sms_seen, round, "
     "delivered",
     "rowid"},
    {"blacklist", "\"user\", number", "\"user\", number"},
    {"provider_tasks", "activation, step, give_up_at", "rowid"},
};

// The first bytes of every SQLite database file.
constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};

// A missing file is not one: opening it would make a new store.
bool isSqliteFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string header(kSqliteHeader.size(), '\0');
  return file.read(header.data(), static_cast<std::streamsize>(header.size())) &&
         header == kSqliteHeader;
}

// Any table, view or sequence in the schema that new tables go to.
bool schemaHoldsRelations(StatementCache& statements) {
  return Statement(statements,
                   "SELECT 1 FROM pg_class JOIN pg_namespace ON pg_namespace.oid = relnamespace "
                   "WHERE nspname = current_schema() LIMIT 1")
      .step();
}

// Each value goes as the text SQLite gives of it; PostgreSQL reads it as its column's type.
std::int64_t copyTable(const CopiedTable& table, StatementCache& source, StatementCache& target) {
  const std::string columns = table.columns;
  const auto columnCount = static_cast<int>(std::count(columns.begin(), columns.end(), ',') + 1);
  std::string insert = "INSERT INTO " + std::string(table.name) + " (" + columns + ") VALUES (?";
  for (int column = 1; column < columnCount; ++column) insert += ", ?";
  insert += ")";
  Statement rows(source, "SELECT " + columns + " FROM " + table.name + " ORDER BY " + table.order);
  std::int64_t copied = 0;
  while (rows.step()) {
    Statement write(target, insert);
    for (int column = 0; column < columnCount; ++column) write.bind(rows.text(column));
    write.run();
    ++copied;
  }
  return copied;
}

}  // namespace

std::span<const CopiedTable> copiedTables() {
  return kTables;
}

std::vector<CopiedRows> copyStore(const std::string& sqlitePath, const std::string& postgresUri) {
  // Neither value is repeated: either may carry a password.
  if (!isPostgresUri(postgresUri)) {
    throw CopyRefused("--copy-to takes a PostgreSQL URI (postgresql://… or postgres://…)");
  }
  if (isPostgresUri(sqlitePath) || !isSqliteFile(sqlitePath)) {
    throw CopyRefused("--database names no SQLite file to copy from");
  }
  { const Database upToDate(sqlitePath); }

  const std::unique_ptr<SqlConnection> source = openSqlite(sqlitePath);
  const std::unique_ptr<SqlConnection> target = openPostgres(postgresUri);
  StatementCache sourceStatements(*source);
  StatementCache targetStatements(*target);
  // A service that starts on the new database meanwhile waits, then finds it complete.
  const PostgresSetUpLock setUp(targetStatements);
  std::vector<CopiedRows> copied;
  source->begin(Access::kRead);
  target->begin(Access::kWrite);
  try {
    if (schemaHoldsRelations(targetStatements)) {
      throw CopyRefused(
          "the PostgreSQL database is not empty: the copy goes only into a schema without "
          "tables");
    }
    createPostgresSchema(*target, targetStatements);
    for (const CopiedTable& table : kTables) {
      copied.push_back({table.name, copyTable(table, sourceStatements, targetStatements)});
    }
    target->commit();
  } catch (...) {
    target->rollback();
    source->rollback();
    throw;
  }
  source->rollback();
  return copied;
}

int runStoreCopy(const std::string& sqlitePath, const std::string& postgresUri, std::FILE* out,
                 std::FILE* errors) {
  try {
    std::string summary = "copied to PostgreSQL:";
    for (const CopiedRows& table : copyStore(sqlitePath, postgresUri)) {
      summary +=
          (summary.back() == ':' ? " " : ", ") + table.table + " " + std::to_string(table.rows);
    }
    std::fprintf(out, "%s\n", summary.c_str());
    return 0;
  } catch (const DatabaseError& error) {
    std::fprintf(errors, "velmora-service: nothing copied: %s\n", error.what());
    return 1;
  }
}

}  // namespace velmora::service
