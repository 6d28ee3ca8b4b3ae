#include "tools/program_data_builder/window_source.h"

#include <fstream>
#include <iterator>

#include "forms/format/property_kind.h"
#include "forms/format/unit_ids.h"
#include "forms/format/unit_properties.h"
#include "forms/format/unit_record.h"
#include "tools/program_data/gbk_conversion.h"

namespace velmora::tools {
namespace {

constexpr uint8_t kChineseCharacterSet = 134;
constexpr size_t kFaceNameSize = 32;

uint32_t parseId(const SourceLine& line, size_t index, const char* what) {
  const std::string& word = line.word(index, what);
  if (!word.starts_with("0x")) line.fail(std::string(what) + " must be hexadecimal: " + word);
  long long id = parseInteger(line, word);
  if (id < 0 || id > 0xFFFFFFFF || !forms::isWellFormedId(static_cast<uint32_t>(id))) {
    line.fail(std::string("not a well-formed ") + what + ": " + word);
  }
  return static_cast<uint32_t>(id);
}

int32_t parseWord(const SourceLine& line, const std::string& word) {
  long long value = parseInteger(line, word);
  if (value < INT32_MIN || value > UINT32_MAX) line.fail("out of range: " + word);
  return static_cast<int32_t>(value);
}

std::string gbkOf(const SourceLine& line, const std::string& utf8) {
  auto gbk = utf8ToGbk(utf8);
  if (!gbk) line.fail("a text that has no GBK form: " + utf8);
  return *gbk;
}

forms::Bytes fileBytes(const SourceLine& line, const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) line.fail("cannot read " + path.string());
  return forms::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

forms::Bytes parseFont(const SourceLine& line, size_t at) {
  if (line.tokens.size() == at + 2 && line.word(at + 1, "font") == "default") return {};
  size_t next = at + 1;
  std::string face;
  if (next < line.tokens.size() && line.tokens[next].quoted)
    face = gbkOf(line, line.tokens[next++].text);
  if (face.size() >= kFaceNameSize) line.fail("a font face name longer than 31 bytes");
  int32_t height = parseWord(line, line.word(next++, "a font height"));
  bool bold = false;
  if (next < line.tokens.size()) {
    const std::string& weight = line.word(next++, "bold or normal");
    if (weight != "bold" && weight != "normal") line.fail("expected bold or normal: " + weight);
    bold = weight == "bold";
  }
  line.expectCount(next);
  return fontRecord(face, height, bold);
}

SourceValue parseValue(const SourceLine& line, size_t at, const std::filesystem::path& pictures) {
  if (at >= line.tokens.size()) line.fail("a property without a value");
  const Token& first = line.tokens[at];
  if (first.quoted) {
    line.expectCount(at + 1);
    return first.text;
  }
  const std::string& word = first.text;
  if (word == "list") {
    forms::TextList items;
    for (size_t i = at + 1; i < line.tokens.size(); ++i)
      items.push_back(line.quoted(i, "list item"));
    return items;
  }
  if (word == "font") return parseFont(line, at);
  if (word == "file") {
    line.expectCount(at + 2);
    return fileBytes(line, pictures / line.word(at + 1, "a file name"));
  }
  line.expectCount(at + 1);
  if (word == "empty") return forms::Bytes{};
  if (word == "default") return forms::kDefaultColour;
  if (word.size() == 7 && word[0] == '#') {
    uint32_t rgb = static_cast<uint32_t>(parseInteger(line, "0x" + word.substr(1)));
    return static_cast<int32_t>((rgb & 0xFF) << 16 | (rgb & 0xFF00) | rgb >> 16);
  }
  return parseWord(line, word);
}

uint32_t parseFlags(const SourceLine& line) {
  uint32_t flags = 0;
  for (size_t i = 1; i < line.tokens.size(); ++i) {
    const std::string& flag = line.word(i, "a flag");
    if (flag == "visible")
      flags |= forms::kUnitVisible;
    else if (flag == "disabled")
      flags |= forms::kUnitDisabled;
    else if (flag == "tabstop")
      flags |= forms::kUnitTabStop;
    else
      line.fail("unknown flag: " + flag);
  }
  return flags;
}

// Reads the statements of a window source one at a time.
class WindowSourceReader {
 public:
  explicit WindowSourceReader(std::filesystem::path pictures) : pictures_(std::move(pictures)) {}

  void statement(const SourceLine& line) {
    if (line.tokens[0].quoted) return continuation(line);
    continued_ = {};
    const std::string& keyword = line.word(0, "a statement");
    if (keyword == "window") return startWindow(line);
    if (windows_.empty()) line.fail("a statement before the first window");
    if (keyword == "unit") return startUnit(line);
    if (keyword == "reserved") return reserved(line);
    SourceUnit& unit = current();
    if (keyword == "rect") {
      line.expectCount(5);
      for (int i = 0; i < 4; ++i) unit.rect[i] = parseWord(line, line.word(1 + i, "a number"));
    } else if (keyword == "in" && isUnit()) {
      line.expectCount(2);
      unit.container = line.quoted(1, "container name");
    } else if (keyword == "flags") {
      unit.flags = parseFlags(line);
    } else if (keyword == "tag" && isUnit()) {
      line.expectCount(2);
      unit.tag = line.quoted(1, "tag");
      continued_ = &unit.tag;
    } else if (keyword == "code") {
      line.expectCount(2);
      if (!unit.code.empty()) line.fail("a second code name");
      unit.code = line.word(1, "a code name");
    } else if (keyword == "event") {
      line.expectCount(3);
      unit.events.push_back(
          {parseWord(line, line.word(1, "an event number")), line.word(2, "a handler name")});
    } else if (keyword.size() > 1 && keyword[0] == 'P') {
      property(line, unit, static_cast<int>(parseInteger(line, keyword.substr(1))));
    } else {
      line.fail("unknown statement: " + keyword);
    }
  }

  std::vector<SourceWindow> take() { return std::move(windows_); }

 private:
  bool isUnit() const { return !windows_.back().units.empty(); }
  SourceUnit& current() { return isUnit() ? windows_.back().units.back() : windows_.back().own; }

  void startWindow(const SourceLine& line) {
    line.expectCount(3);
    SourceWindow window;
    window.id = parseId(line, 1, "window id");
    window.own.line = line;
    window.own.id = parseId(line, 2, "window unit id");
    window.own.type = forms::kWindowType;
    windows_.push_back(std::move(window));
  }

  void startUnit(const SourceLine& line) {
    line.expectCount(4);
    SourceUnit unit;
    unit.line = line;
    unit.id = parseId(line, 1, "unit id");
    const std::string& typeName = line.word(2, "a unit type");
    auto type = forms::unitTypeCodeByName(typeName);
    if (!type || *type == forms::kWindowType) line.fail("unknown unit type: " + typeName);
    unit.type = *type;
    unit.name = line.quoted(3, "unit name");
    windows_.back().units.push_back(std::move(unit));
  }

  void reserved(const SourceLine& line) {
    if (isUnit()) line.fail("reserved words belong to the window");
    line.expectCount(3);
    for (int i = 0; i < 2; ++i) {
      windows_.back().reserved[i] =
          static_cast<uint32_t>(parseWord(line, line.word(1 + i, "a word")));
    }
  }

  void property(const SourceLine& line, SourceUnit& unit, int index) {
    if (unit.properties.contains(index))
      line.fail("property given twice: P" + std::to_string(index));
    SourceProperty& property =
        unit.properties.emplace(index, SourceProperty{line, parseValue(line, 1, pictures_)})
            .first->second;
    continued_ = {};
    if (auto* text = std::get_if<std::string>(&property.value)) continued_ = text;
    if (auto* list = std::get_if<forms::TextList>(&property.value)) continued_ = list;
  }

  // Quoted texts on a line of their own continue the text or list of the statement before.
  void continuation(const SourceLine& line) {
    if (auto* text = std::get_if<std::string*>(&continued_)) {
      line.expectCount(1);
      **text += line.tokens[0].text;
    } else if (auto* list = std::get_if<forms::TextList*>(&continued_)) {
      for (size_t i = 0; i < line.tokens.size(); ++i)
        (*list)->push_back(line.quoted(i, "list item"));
    } else {
      line.fail("a quoted text that continues nothing");
    }
  }

  std::filesystem::path pictures_;
  std::vector<SourceWindow> windows_;
  std::variant<std::monostate, std::string*, forms::TextList*> continued_;
};

}  // namespace

forms::Bytes fontRecord(const std::string& faceGbk, int32_t height, bool bold) {
  forms::ArchiveWriter writer;
  writer.writeInt(height);
  writer.writeInt(0);  // width
  writer.writeInt(0);  // escapement
  writer.writeInt(0);  // orientation
  writer.writeInt(bold ? 700 : 400);
  const uint8_t flags[8] = {0, 0, 0, kChineseCharacterSet, 0, 0, 0, 0};
  writer.writeBytes(flags);
  forms::Bytes face(kFaceNameSize, 0);
  std::copy(faceGbk.begin(), faceGbk.end(), face.begin());
  writer.writeBytes(face);
  return writer.take();
}

std::vector<SourceWindow> readWindowSource(const std::string& file, const std::string& content,
                                           const std::filesystem::path& picturesDir) {
  WindowSourceReader reader(picturesDir);
  for (const SourceLine& line : readSourceLines(file, content)) reader.statement(line);
  return reader.take();
}

}  // namespace velmora::tools
