#include "tools/program_data_builder/source_lines.h"

#include <cctype>
#include <charconv>

namespace velmora::tools {
namespace {

char escaped(const SourceLine& line, char c) {
  switch (c) {
    case 'r':
      return '\r';
    case 'n':
      return '\n';
    case 't':
      return '\t';
    case '"':
      return '"';
    case '\\':
      return '\\';
  }
  line.fail(std::string("unknown escape \\") + c);
}

// A colour is `#` and six hexadecimal digits standing alone; any other `#` starts a comment.
bool isColourAt(const std::string& text, size_t i) {
  size_t end = i + 7;
  if (end > text.size() ||
      (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\r')) {
    return false;
  }
  for (size_t k = i + 1; k < end; ++k) {
    if (!std::isxdigit(static_cast<unsigned char>(text[k]))) return false;
  }
  return true;
}

std::vector<Token> tokenize(const SourceLine& line, const std::string& text) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#' && !isColourAt(text, i)) {
      break;
    } else if (c == '"') {
      Token token{"", true};
      for (++i;; ++i) {
        if (i >= text.size()) line.fail("a quoted text does not end");
        if (text[i] == '"') break;
        if (text[i] == '\\') {
          if (++i >= text.size()) line.fail("a quoted text does not end");
          token.text += escaped(line, text[i]);
        } else {
          token.text += text[i];
        }
      }
      ++i;
      tokens.push_back(std::move(token));
    } else {
      size_t end = text.find_first_of(" \t\r\"", i);
      if (end == std::string::npos) end = text.size();
      tokens.push_back({text.substr(i, end - i), false});
      i = end;
    }
  }
  return tokens;
}

}  // namespace

void SourceLine::fail(const std::string& message) const {
  throw SourceError(file + ":" + std::to_string(number) + ": " + message);
}

const std::string& SourceLine::word(size_t index, const char* what) const {
  if (index >= tokens.size() || tokens[index].quoted) fail(std::string("expected ") + what);
  return tokens[index].text;
}

const std::string& SourceLine::quoted(size_t index, const char* what) const {
  if (index >= tokens.size() || !tokens[index].quoted) {
    fail(std::string("expected a quoted ") + what);
  }
  return tokens[index].text;
}

void SourceLine::expectCount(size_t count) const {
  if (tokens.size() != count) fail("unexpected words at the end of the line");
}

std::vector<SourceLine> readSourceLines(const std::string& file, const std::string& content) {
  std::vector<SourceLine> lines;
  size_t start = 0;
  for (int number = 1; start <= content.size(); ++number) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    SourceLine line{file, number, {}};
    line.tokens = tokenize(line, content.substr(start, end - start));
    if (!line.tokens.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

long long parseInteger(const SourceLine& line, const std::string& word) {
  bool negative = !word.empty() && word[0] == '-';
  std::string_view digits(word);
  if (negative) digits.remove_prefix(1);
  int base = 10;
  if (digits.starts_with("0x") || digits.starts_with("0X")) {
    digits.remove_prefix(2);
    base = 16;
  }
  long long value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    line.fail("not a number: " + word);
  }
  return negative ? -value : value;
}

}  // namespace velmora::tools
