#include "service/statement.h"

#include <sqlite3.h>

#include "service/database.h"

namespace velmora::service {

namespace {

sqlite3_stmt* prepared(sqlite3* connection, const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    throw DatabaseError(sqlite3_errmsg(connection));
  }
  return statement;
}

}  // namespace

StatementCache::~StatementCache() {
  for (auto& [sql, kept] : kept_) sqlite3_finalize(kept.statement);
}

Statement::Statement(StatementCache& cache, const std::string& sql)
    : connection_(cache.connection()) {
  StatementCache::Kept& kept = cache.kept_[sql];
  if (kept.statement == nullptr) kept.statement = prepared(connection_, sql);
  if (kept.inUse) {
    statement_ = prepared(connection_, sql);
    return;
  }
  kept.inUse = true;
  kept_ = &kept;
  statement_ = kept.statement;
}

// A kept statement is left reset and without bindings, as a new one is.
Statement::~Statement() {
  if (kept_ == nullptr) {
    sqlite3_finalize(statement_);
    return;
  }
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
  kept_->inUse = false;
}

Statement& Statement::bind(const std::string& text) {
  ++boundCount_;
  if (sqlite3_bind_text(statement_, boundCount_, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK) {
    throw DatabaseError(sqlite3_errmsg(connection_));
  }
  return *this;
}

Statement& Statement::bind(std::int64_t number) {
  ++boundCount_;
  if (sqlite3_bind_int64(statement_, boundCount_, number) != SQLITE_OK) {
    throw DatabaseError(sqlite3_errmsg(connection_));
  }
  return *this;
}

int Statement::advance() {
  const int status = sqlite3_step(statement_);
  if (status != SQLITE_ROW && status != SQLITE_DONE && status != SQLITE_CONSTRAINT) {
    throw DatabaseError(sqlite3_errmsg(connection_));
  }
  return status;
}

bool Statement::step() {
  const int status = advance();
  if (status == SQLITE_CONSTRAINT) throw DatabaseError(sqlite3_errmsg(connection_));
  return status == SQLITE_ROW;
}

bool Statement::stepUnlessDuplicate() {
  const int status = advance();
  if (status != SQLITE_CONSTRAINT) return true;
  if (sqlite3_extended_errcode(connection_) == SQLITE_CONSTRAINT_PRIMARYKEY ||
      sqlite3_extended_errcode(connection_) == SQLITE_CONSTRAINT_UNIQUE) {
    return false;
  }
  throw DatabaseError(sqlite3_errmsg(connection_));
}

std::string Statement::text(int column) {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  if (bytes == nullptr) return {};
  return std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(statement_, column)));
}

std::int64_t Statement::integer(int column) {
  return sqlite3_column_int64(statement_, column);
}

}  // namespace velmora::service
