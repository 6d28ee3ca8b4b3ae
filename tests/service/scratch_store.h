// A new, empty store for one test: a SQLite file, or a schema of its own in the tests' PostgreSQL
// database (the cluster that ctest's postgres_cluster fixture starts), removed at the end.
#pragma once

#include <string>

#include "tests/service/service_test_support.h"

namespace velmora::service {

enum class StoreKind { kSqlite, kPostgres };

// "SQLite" or "PostgreSQL", for the names of parameterised tests.
std::string storeName(StoreKind kind);

class ScratchStore {
 public:
  explicit ScratchStore(StoreKind kind);
  ~ScratchStore();
  ScratchStore(const ScratchStore&) = delete;
  ScratchStore& operator=(const ScratchStore&) = delete;

  // What Database opens: the file's path, or a URI whose search path is the schema.
  const std::string& location() const { return location_; }
  // Runs `sql` on a connection of its own, as another program would.
  void run(const std::string& sql) const;

 private:
  testing::TemporaryFolder folder_;
  std::string schema_;  // PostgreSQL's; empty for SQLite
  std::string location_;
};

}  // namespace velmora::service
