#include "tests/service/scratch_store.h"

#include <cstdlib>
#include <random>
#include <stdexcept>

#include "service/store/postgres_connection.h"
#include "service/store/sqlite_connection.h"

namespace velmora::service {

namespace {

std::string testDatabase() {
  const char* uri = std::getenv("VELMORA_TEST_POSTGRES_URI");
  if (uri == nullptr) {
    throw std::runtime_error(
        "VELMORA_TEST_POSTGRES_URI is not set: run the tests with ctest, whose postgres_cluster "
        "fixture starts the database");
  }
  return uri;
}

std::string newSchemaName() {
  static std::mt19937_64 generator{std::random_device{}()};
  return "test_" + std::to_string(generator());
}

}  // namespace

std::string storeName(StoreKind kind) {
  return kind == StoreKind::kSqlite ? "SQLite" : "PostgreSQL";
}

ScratchStore::ScratchStore(StoreKind kind) {
  if (kind == StoreKind::kSqlite) {
    location_ = folder_.path("service.db");
    return;
  }
  const std::string database = testDatabase();
  schema_ = newSchemaName();
  openPostgres(database)->execute("CREATE SCHEMA " + schema_);
  location_ = database + "?options=-csearch_path%3D" + schema_;
}

ScratchStore::~ScratchStore() {
  if (schema_.empty()) return;
  try {
    openPostgres(testDatabase())->execute("DROP SCHEMA " + schema_ + " CASCADE");
  } catch (const DatabaseError&) {
    // The cluster is gone with everything in it.
  }
}

void ScratchStore::run(const std::string& sql) const {
  (schema_.empty() ? openSqlite(location_) : openPostgres(location_))->execute(sql);
}

}  // namespace velmora::service
