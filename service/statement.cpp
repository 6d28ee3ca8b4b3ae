#include "service/statement.h"

#include <sqlite3.h>

#include "service/database.h"

namespace velmora::service {

Statement::Statement(sqlite3* connection, const char* sql) : connection_(connection) {
  if (sqlite3_prepare_v2(connection, sql, -1, &statement_, nullptr) != SQLITE_OK) {
    throw DatabaseError(sqlite3_errmsg(connection));
  }
}

Statement::~Statement() {
  sqlite3_finalize(statement_);
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
