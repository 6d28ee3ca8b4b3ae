#include "tools/gbk_texts/gbk_texts.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "tools/program_data/gbk_conversion.h"
#include "tools/program_data_builder/source_lines.h"

namespace velmora::tools {
namespace {

bool isConstantName(const std::string& name) {
  if (name.size() < 2 || name[0] != 'k' || !std::isupper(static_cast<unsigned char>(name[1])))
    return false;
  for (char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// The layout of the file between its texts, by line number: comments on lines of their own, as
// C++ comments, and blank lines.
std::map<int, std::string> layoutLines(const std::string& content) {
  std::map<int, std::string> layout;
  std::istringstream in(content);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    size_t start = line.find_first_not_of(" \t\r");
    if (start == std::string::npos) {
      layout[number] = "";
      continue;
    }
    if (line[start] != '#') continue;
    const size_t textStart = line.find_first_not_of(" \t", start + 1);
    std::string text = textStart == std::string::npos ? "" : line.substr(textStart);
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.pop_back();
    layout[number] = text.empty() ? "//" : "// " + text;
  }
  return layout;
}

struct Text {
  SourceLine line;
  std::string name;
  std::string utf8;
};

std::string definition(const Text& text) {
  std::optional<std::string> gbk = utf8ToGbk(text.utf8);
  if (!gbk) text.line.fail(text.name + ": a text that GBK cannot encode: \"" + text.utf8 + "\"");
  // The UTF-8 text as it reads; quoted, with escapes, when it holds a character that would not
  // show (or a backslash, which could continue the comment onto the next line).
  std::string comment = text.utf8;
  if (comment.find_first_of("\r\n\t\\\"") != std::string::npos) {
    comment = "\"";
    for (char c : text.utf8) {
      if (c == '\r')
        comment += "\\r";
      else if (c == '\n')
        comment += "\\n";
      else if (c == '\t')
        comment += "\\t";
      else if (c == '\\' || c == '"')
        comment += std::string("\\") + c;
      else
        comment += c;
    }
    comment += '"';
  }
  return "inline constexpr char " + text.name + "[] = " + cppLiteral(*gbk) + ";  // " + comment +
         "\n";
}

}  // namespace

std::string cppLiteral(std::string_view bytes) {
  std::string out = "\"";
  bool afterEscape = false;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 || byte < 0x20 || byte == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", byte);
      out += hex;
      afterEscape = true;
      continue;
    }
    // A hexadecimal digit would otherwise extend the escape before it.
    if (afterEscape && std::isxdigit(byte)) out += "\" \"";
    if (c == '"' || c == '\\') out += '\\';
    out += c;
    afterEscape = false;
  }
  return out + "\"";
}

std::string gbkTextsHeader(const std::string& file, const std::string& content,
                           const std::string& nameSpace) {
  std::vector<Text> texts;
  std::set<std::string> names;
  for (const SourceLine& line : readSourceLines(file, content)) {
    if (line.tokens[0].quoted) {
      if (texts.empty()) line.fail("a quoted text that continues nothing");
      line.expectCount(1);
      texts.back().utf8 += line.tokens[0].text;
      continue;
    }
    line.expectCount(3);
    const std::string& name = line.word(0, "a name");
    if (!isConstantName(name)) line.fail("a name must be a constant name like kName: " + name);
    if (line.word(1, "=") != "=") line.fail("expected = after " + name);
    if (!names.insert(name).second) line.fail("a second text named " + name);
    texts.push_back({line, name, line.quoted(2, "a text")});
  }

  std::string out = "// Generated from " + std::filesystem::path(file).filename().string() +
                    " at build time; do not edit.\n#pragma once\n\nnamespace " + nameSpace +
                    " {\n\n";
  // Comments and blank lines keep their places between the texts; blank lines do not pile up.
  const std::map<int, std::string> layout = layoutLines(content);
  auto next = layout.begin();
  auto addLayoutBefore = [&](int number) {
    for (; next != layout.end() && next->first < number; ++next) {
      if (!next->second.empty())
        out += next->second + "\n";
      else if (!out.ends_with("\n\n"))
        out += "\n";
    }
  };
  for (const Text& text : texts) {
    addLayoutBefore(text.line.number);
    out += definition(text);
  }
  addLayoutBefore(INT32_MAX);
  if (!out.ends_with("\n\n")) out += "\n";
  return out + "}  // namespace " + nameSpace + "\n";
}

}  // namespace velmora::tools
