// A prepared SQLite statement with text and integer parameters and columns, and the cache that
// keeps each connection's statements prepared.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::service {

// The statements of one connection, each prepared at its first use and kept for the connection's
// life: preparing a statement costs more than running any of the service's, and a client polls
// for its SMS every two seconds. The connection must be closed with sqlite3_close_v2, which lets
// it end when the cache finalizes its statements.
class StatementCache {
 public:
  explicit StatementCache(sqlite3* connection) : connection_(connection) {}
  ~StatementCache();
  StatementCache(const StatementCache&) = delete;
  StatementCache& operator=(const StatementCache&) = delete;

  sqlite3* connection() const { return connection_; }

 private:
  friend class Statement;
  struct Kept {
    sqlite3_stmt* statement = nullptr;
    bool inUse = false;
  };

  sqlite3* connection_;
  std::unordered_map<std::string, Kept> kept_;
};

// One use of a statement: its cached one, or one of its own while the cached one is in use.
class Statement {
 public:
  Statement(StatementCache& cache, const std::string& sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(const std::string& text);
  Statement& bind(std::int64_t number);
  // True while a row is available; throws DatabaseError on failure.
  bool step();
  // False when the statement broke a uniqueness rule; throws on any other failure.
  bool stepUnlessDuplicate();
  std::string text(int column);
  std::int64_t integer(int column);

 private:
  int advance();

  sqlite3* connection_;
  StatementCache::Kept* kept_ = nullptr;  // none: the statement is its own
  sqlite3_stmt* statement_ = nullptr;
  int boundCount_ = 0;
};

}  // namespace velmora::service
