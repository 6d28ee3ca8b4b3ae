// The window sources (`NN_name.win`) read into windows and units, values still as written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "forms/format/archive.h"
#include "tools/program_data_builder/source_lines.h"

namespace velmora::tools {

// A property value as written: an integer (also colours and choices), a UTF-8 text, bytes
// (fonts, files, `empty`), or a list of UTF-8 texts.
using SourceValue = std::variant<int32_t, std::string, forms::Bytes, forms::TextList>;

struct SourceProperty {
  SourceLine line;
  SourceValue value;
};

struct SourceEvent {
  int32_t number = 0;
  std::string handler;
};

struct SourceUnit {
  SourceLine line;  // the statement that starts it
  uint32_t id = 0;
  uint32_t type = 0;
  std::string name;  // UTF-8
  // The C++ name the client's handlers use for it (a window's namespace, a unit's constant);
  // empty for the windows and units the handlers do not name.
  std::string code;
  int32_t rect[4] = {0, 0, 0, 0};
  std::string container;  // UTF-8 name; empty: the window itself
  uint32_t flags = 0;
  std::string tag;  // UTF-8
  std::vector<SourceEvent> events;
  std::map<int, SourceProperty> properties;
};

struct SourceWindow {
  uint32_t id = 0;
  uint32_t reserved[2] = {0, 0};
  SourceUnit own;  // the window's own unit
  std::vector<SourceUnit> units;
};

// Reads one window source; pictures named by `file` are read from picturesDir.
std::vector<SourceWindow> readWindowSource(const std::string& file, const std::string& content,
                                           const std::filesystem::path& picturesDir);

// The 60-byte font record of a face (GBK), a height and a weight; character set 134.
forms::Bytes fontRecord(const std::string& faceGbk, int32_t height, bool bold);

}  // namespace velmora::tools
