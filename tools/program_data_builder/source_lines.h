// The line syntax shared by the window sources and the constants: UTF-8, one statement a line,
// bare words and quoted texts, `#` comments outside quotes.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::tools {

// A fault in a source, with its place: "file:line: message".
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Token {
  std::string text;  // a quoted text without its quotes, escapes resolved
  bool quoted = false;
};

struct SourceLine {
  std::string file;
  int number = 0;
  std::vector<Token> tokens;

  [[noreturn]] void fail(const std::string& message) const;
  // The text of a bare token; fails on a quoted one or a missing one.
  const std::string& word(size_t index, const char* what) const;
  const std::string& quoted(size_t index, const char* what) const;
  void expectCount(size_t count) const;
};

// The lines of a source that hold statements, comments and blank lines left out.
std::vector<SourceLine> readSourceLines(const std::string& file, const std::string& content);

// Integers written in decimal (with an optional minus) or in hexadecimal with 0x.
long long parseInteger(const SourceLine& line, const std::string& word);

}  // namespace velmora::tools
