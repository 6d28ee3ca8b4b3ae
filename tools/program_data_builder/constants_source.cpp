#include "tools/program_data_builder/constants_source.h"

#include <cctype>
#include <cstring>

#include "tools/program_data/gbk_conversion.h"
#include "tools/program_data_builder/source_lines.h"

namespace velmora::tools {
namespace {

std::string expandDefinitions(const SourceLine& line, const std::string& text,
                              const std::map<std::string, std::string>& definitions) {
  std::string out;
  size_t at = 0;
  for (size_t start; (start = text.find("${", at)) != std::string::npos;) {
    size_t end = text.find('}', start);
    if (end == std::string::npos) line.fail("a ${ without its }");
    std::string name = text.substr(start + 2, end - start - 2);
    auto value = definitions.find(name);
    if (value == definitions.end()) line.fail("no value given for " + name);
    out += text.substr(at, start - at) + value->second;
    at = end + 1;
  }
  return out + text.substr(at);
}

bool isIdentifier(const std::string& name) {
  if (name.empty() || !std::islower(static_cast<unsigned char>(name[0]))) return false;
  for (char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

class ConstantsBuilder {
 public:
  explicit ConstantsBuilder(const std::map<std::string, std::string>& definitions)
      : definitions_(definitions) {}

  void statement(const SourceLine& line) {
    if (line.tokens[0].quoted) return continueText(line);
    finishText();
    const std::string& kind = line.word(0, "text or number");
    line.expectCount(3);
    const std::string& name = line.word(1, "a name");
    if (!isIdentifier(name)) line.fail("a name must be a lowerCamelCase identifier: " + name);
    for (const auto& known : block_.names) {
      if (known.name == name) line.fail("a second constant named " + name);
    }
    if (kind == "text") {
      pendingLine_ = line;
      pending_ = line.quoted(2, "text");
      pendingName_ = name;
    } else if (kind == "number") {
      double value = static_cast<double>(parseInteger(line, line.word(2, "an integer")));
      align(8);
      block_.names.push_back(
          {name, ConstantKind::kNumber, static_cast<uint32_t>(block_.bytes.size())});
      uint8_t bytes[8];
      std::memcpy(bytes, &value, sizeof bytes);
      block_.bytes.insert(block_.bytes.end(), bytes, bytes + 8);
    } else {
      line.fail("expected text or number: " + kind);
    }
  }

  ConstantBlock finish() {
    finishText();
    return std::move(block_);
  }

 private:
  void continueText(const SourceLine& line) {
    if (!pendingName_) line.fail("a quoted text that continues nothing");
    line.expectCount(1);
    *pending_ += line.tokens[0].text;
  }

  // A text is stored as GBK with a terminating zero.
  void finishText() {
    if (!pendingName_) return;
    auto gbk = utf8ToGbk(expandDefinitions(pendingLine_, *pending_, definitions_));
    if (!gbk) pendingLine_.fail("a text that has no GBK form");
    if (gbk->find('\0') != std::string::npos) pendingLine_.fail("a text with a zero byte");
    align(4);
    block_.names.push_back(
        {*pendingName_, ConstantKind::kText, static_cast<uint32_t>(block_.bytes.size())});
    block_.bytes.insert(block_.bytes.end(), gbk->begin(), gbk->end());
    block_.bytes.push_back(0);
    pending_.reset();
    pendingName_.reset();
  }

  void align(size_t boundary) {
    while (block_.bytes.size() % boundary != 0) block_.bytes.push_back(0);
  }

  const std::map<std::string, std::string>& definitions_;
  ConstantBlock block_;
  SourceLine pendingLine_;
  std::optional<std::string> pending_;
  std::optional<std::string> pendingName_;
};

}  // namespace

ConstantBlock buildConstants(const std::string& file, const std::string& content,
                             const std::map<std::string, std::string>& definitions) {
  ConstantsBuilder builder(definitions);
  for (const SourceLine& line : readSourceLines(file, content)) builder.statement(line);
  return builder.finish();
}

}  // namespace velmora::tools
