// One connection to the service's store, SQLite or PostgreSQL, seen through one interface: the
// store's steps are written once, in the SQL both understand, with `?` for each parameter in
// order (`?N` for the N-th, where one is used twice).
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velmora::service {

// Any failure of the store itself (cannot connect, disk full, broken file, a rule broken).
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A transaction that lost to another running at the same time, and changed nothing: it may be
// run again.
class TransactionConflict : public DatabaseError {
 public:
  using DatabaseError::DatabaseError;
};

// One run of a prepared statement at a time: parameters bound from 1, then its rows.
class SqlCursor {
 public:
  virtual ~SqlCursor() = default;
  virtual void bind(int index, std::string_view text) = 0;
  virtual void bind(int index, std::int64_t number) = 0;
  // Runs the statement at the first call; true while a row is available.
  virtual bool step() = 0;
  virtual std::string text(int column) = 0;
  virtual std::int64_t integer(int column) = 0;
  // The rows the run inserted, changed or deleted.
  virtual std::int64_t changes() = 0;
  // Ready for a new run, without bindings.
  virtual void reset() = 0;
};

enum class Access { kRead, kWrite };

// Not thread-safe: one thread uses a connection at a time. Every call throws DatabaseError on
// failure.
class SqlConnection {
 public:
  virtual ~SqlConnection() = default;
  // Connects again when the server or the network broke the connection, outside any
  // transaction; true when it did, and what lived with the connection (session locks) is gone.
  virtual bool recover() = 0;
  // Runs statements without parameters or rows: schema changes, settings.
  virtual void execute(const std::string& sql) = 0;
  // A transaction of the strictest isolation the store has: writes wait for each other, or one
  // of two that clash fails with TransactionConflict. A read waits for no writer.
  virtual void begin(Access access) = 0;
  virtual void commit() = 0;
  virtual void rollback() noexcept = 0;
  virtual std::unique_ptr<SqlCursor> prepare(const std::string& sql) = 0;
};

// The statements of one connection, each prepared at its first use and kept for the connection's
// life: preparing a statement costs more than running any of the service's, and a client polls
// for its SMS every two seconds.
class StatementCache {
 public:
  explicit StatementCache(SqlConnection& connection) : connection_(connection) {}

 private:
  friend class Statement;
  struct Kept {
    std::unique_ptr<SqlCursor> cursor;
    bool inUse = false;
  };

  SqlConnection& connection_;
  std::unordered_map<std::string, Kept> kept_;
};

// One use of a statement: its cached one, or one of its own while the cached one is in use.
class Statement {
 public:
  Statement(StatementCache& cache, const std::string& sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(std::string_view text);
  Statement& bind(std::int64_t number);
  // True while a row is available.
  bool step() { return cursor_->step(); }
  std::string text(int column) { return cursor_->text(column); }
  std::int64_t integer(int column) { return cursor_->integer(column); }
  // Runs the statement, and gives the rows it inserted, changed or deleted.
  std::int64_t run();

 private:
  StatementCache::Kept* kept_ = nullptr;  // none: the cursor is its own
  std::unique_ptr<SqlCursor> own_;
  SqlCursor* cursor_ = nullptr;
  int boundCount_ = 0;
};

}  // namespace velmora::service
