#include "service/store/sqlite_connection.h"

#include <sqlite3.h>

namespace velmora::service {

namespace {

// How long a statement waits for another connection's transaction before it fails.
constexpr int kBusyTimeoutMilliseconds = 10000;

class SqliteCursor final : public SqlCursor {
 public:
  SqliteCursor(sqlite3* connection, const std::string& sql) : connection_(connection) {
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK) {
      throw DatabaseError(sqlite3_errmsg(connection));
    }
  }
  ~SqliteCursor() override { sqlite3_finalize(statement_); }
  SqliteCursor(const SqliteCursor&) = delete;
  SqliteCursor& operator=(const SqliteCursor&) = delete;

  void bind(int index, std::string_view text) override {
    check(sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                            SQLITE_TRANSIENT));
  }
  void bind(int index, std::int64_t number) override {
    check(sqlite3_bind_int64(statement_, index, number));
  }
  bool step() override {
    const int status = sqlite3_step(statement_);
    if (status != SQLITE_ROW && status != SQLITE_DONE) fail();
    return status == SQLITE_ROW;
  }
  std::string text(int column) override {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    if (bytes == nullptr) return {};
    return std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(statement_, column)));
  }
  std::int64_t integer(int column) override { return sqlite3_column_int64(statement_, column); }
  std::int64_t changes() override { return sqlite3_changes64(connection_); }
  void reset() override {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }

 private:
  void check(int status) const {
    if (status != SQLITE_OK) fail();
  }
  [[noreturn]] void fail() const { throw DatabaseError(sqlite3_errmsg(connection_)); }

  sqlite3* connection_;
  sqlite3_stmt* statement_ = nullptr;
};

class SqliteConnection final : public SqlConnection {
 public:
  explicit SqliteConnection(const std::string& path) {
    if (sqlite3_open(path.c_str(), &connection_) != SQLITE_OK) {
      const std::string message = connection_ ? sqlite3_errmsg(connection_) : "out of memory";
      sqlite3_close_v2(connection_);
      throw DatabaseError("cannot open " + path + ": " + message);
    }
    try {
      sqlite3_busy_timeout(connection_, kBusyTimeoutMilliseconds);
      // The mode stays with the file.
      execute("PRAGMA journal_mode = WAL");
      execute("PRAGMA foreign_keys = ON");
      // What a change leaves behind is zeroed, not left in the file's free space (above all the
      // clear passwords of an older database once they are hashed), whatever the build's default.
      execute("PRAGMA secure_delete = ON");
    } catch (...) {
      sqlite3_close_v2(connection_);
      throw;
    }
  }
  // Closed with sqlite3_close_v2, the connection ends once a cursor that outlives it is
  // finalized.
  ~SqliteConnection() override { sqlite3_close_v2(connection_); }
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  void execute(const std::string& sql) override {
    char* message = nullptr;
    if (sqlite3_exec(connection_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
      const std::string text = message ? message : "unknown failure";
      sqlite3_free(message);
      throw DatabaseError(text);
    }
  }
  bool recover() override { return false; }
  // A write takes the file's write lock at once, so two never clash halfway; a read takes no
  // lock and sees the last commit.
  void begin(Access access) override {
    execute(access == Access::kWrite ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED");
  }
  void commit() override { execute("COMMIT"); }
  void rollback() noexcept override {
    sqlite3_exec(connection_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  std::unique_ptr<SqlCursor> prepare(const std::string& sql) override {
    return std::make_unique<SqliteCursor>(connection_, sql);
  }

 private:
  sqlite3* connection_ = nullptr;
};

}  // namespace

std::unique_ptr<SqlConnection> openSqlite(const std::string& path) {
  return std::make_unique<SqliteConnection>(path);
}

}  // namespace velmora::service
