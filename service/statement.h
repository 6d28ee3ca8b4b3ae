// A prepared SQLite statement with text and integer parameters and columns.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::service {

class Statement {
 public:
  Statement(sqlite3* connection, const char* sql);
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
  sqlite3_stmt* statement_ = nullptr;
  int boundCount_ = 0;
};

}  // namespace velmora::service
