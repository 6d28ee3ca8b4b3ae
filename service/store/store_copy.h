// The copy of a SQLite store into a new PostgreSQL database, for an operator who started on the
// demo's file and moves to a database that several service processes share.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "service/store/sql_connection.h"

namespace velmora::service {

// One table as the copy moves it: every column the store keeps, in an order that keeps what the
// order of rows means (a serial `rowid` is the new database's own, given in that order).
struct CopiedTable {
  const char* name;
  const char* columns;
  const char* order;
};

// Every table of the store, those that others refer to first.
std::span<const CopiedTable> copiedTables();

struct CopiedRows {
  std::string table;
  std::int64_t rows = 0;

  bool operator==(const CopiedRows&) const = default;
};

// The copy was refused before anything changed: a source that is not a SQLite file, a target
// that is not a PostgreSQL URI or not empty.
class CopyRefused : public DatabaseError {
 public:
  using DatabaseError::DatabaseError;
};

// Brings the SQLite file at `sqlitePath` up to the current version, then copies every row of it,
// in one transaction, into the schema of the PostgreSQL database at `postgresUri` that new
// tables go to, which must hold no table. The new database is at the current version, and a
// service that opens it finds it set up. Throws CopyRefused, or DatabaseError when either store
// fails (then the target is left as it was); no message holds a password of the URI.
std::vector<CopiedRows> copyStore(const std::string& sqlitePath, const std::string& postgresUri);

// --copy-to: the rows of each table on one line of `out`, or what went wrong on `errors`; the
// exit code, 0 or 1.
int runStoreCopy(const std::string& sqlitePath, const std::string& postgresUri, std::FILE* out,
                 std::FILE* errors);

}  // namespace velmora::service
