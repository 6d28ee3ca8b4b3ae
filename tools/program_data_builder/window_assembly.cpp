#include "tools/program_data_builder/window_assembly.h"

#include <algorithm>
#include <set>

#include "forms/format/unit_properties.h"
#include "forms/format/unit_record.h"
#include "tools/program_data/gbk_conversion.h"

namespace velmora::tools {
namespace {

// Handler offsets index the program's table of handler entry points, four bytes an entry.
constexpr int32_t kHandlerEntrySize = 4;

std::string gbkOf(const SourceLine& line, const std::string& utf8) {
  auto gbk = utf8ToGbk(utf8);
  if (!gbk) line.fail("a text that has no GBK form: " + utf8);
  return *gbk;
}

// A one-character text stored as 16 bits: its bytes, the first one low.
uint16_t characterOf(const SourceLine& line, const std::string& utf8) {
  std::string gbk = gbkOf(line, utf8);
  if (gbk.empty() || gbk.size() > 2) line.fail("expected a single character");
  return static_cast<uint16_t>(static_cast<uint8_t>(gbk[0]) |
                               (gbk.size() == 2 ? static_cast<uint8_t>(gbk[1]) << 8 : 0));
}

void assign(const SourceProperty& property, forms::PropertyRef target, const char* name) {
  const SourceLine& line = property.line;
  auto mismatch = [&] { line.fail(std::string("a value of the wrong kind for ") + name); };
  std::visit(
      [&](auto place) {
        using T = std::remove_pointer_t<decltype(place)>;
        const SourceValue& value = property.value;
        if constexpr (std::is_same_v<T, std::monostate>) {
          line.fail(std::string("property ") + name + " is not stored");
        } else if constexpr (std::is_same_v<T, int32_t>) {
          if (!std::holds_alternative<int32_t>(value)) mismatch();
          *place = std::get<int32_t>(value);
        } else if constexpr (std::is_same_v<T, uint16_t>) {
          if (auto* text = std::get_if<std::string>(&value))
            *place = characterOf(line, *text);
          else if (auto* number = std::get_if<int32_t>(&value))
            *place = static_cast<uint16_t>(*number);
          else
            mismatch();
        } else if constexpr (std::is_same_v<T, std::string>) {
          if (!std::holds_alternative<std::string>(value)) mismatch();
          *place = gbkOf(line, std::get<std::string>(value));
        } else if constexpr (std::is_same_v<T, forms::Bytes>) {
          if (!std::holds_alternative<forms::Bytes>(value)) mismatch();
          *place = std::get<forms::Bytes>(value);
        } else if constexpr (std::is_same_v<T, forms::TextList>) {
          if (!std::holds_alternative<forms::TextList>(value)) mismatch();
          place->clear();
          for (const auto& item : std::get<forms::TextList>(value))
            place->push_back(gbkOf(line, item));
        }
      },
      target);
}

forms::Bytes propertyBlockOf(const SourceUnit& unit) {
  forms::UnitProperties properties = *forms::defaultUnitProperties(unit.type);
  std::set<int> used;
  forEachProperty(properties, [&](const forms::PropertyInfo& info, forms::PropertyRef target) {
    auto given = unit.properties.find(info.index);
    if (given == unit.properties.end()) return;
    used.insert(info.index);
    assign(given->second, target, info.name);
  });
  for (const auto& [index, property] : unit.properties) {
    if (!used.contains(index)) {
      property.line.fail(std::string(forms::unitTypeName(unit.type)) + " has no property P" +
                         std::to_string(index));
    }
  }
  return forms::writeUnitProperties(properties);
}

class Assembler {
 public:
  forms::WindowRecord window(const SourceWindow& source) {
    std::vector<uint32_t> ids{source.own.id};
    std::vector<forms::UnitRecord> units{unitRecord(source.own)};
    for (const SourceUnit& unit : source.units) {
      if (std::find(ids.begin(), ids.end(), unit.id) != ids.end()) {
        unit.line.fail("a second unit of this window with this id");
      }
      ids.push_back(unit.id);
      forms::UnitRecord record = unitRecord(unit);
      record.container = containerId(source, unit);
      units.push_back(std::move(record));
    }
    // A container's children are the units that name it, in stored order.
    for (size_t child = 1; child < units.size(); ++child) {
      if (units[child].container == 0) continue;
      auto parent = std::find(ids.begin(), ids.end(), units[child].container) - ids.begin();
      units[parent].children.push_back(ids[child]);
    }
    forms::WindowRecord window;
    window.id = source.id;
    window.reserved1 = source.reserved[0];
    window.reserved2 = source.reserved[1];
    std::vector<forms::Bytes> records;
    for (const auto& unit : units) records.push_back(forms::writeUnitRecord(unit));
    window.units = forms::UnitTable::build(ids, records);
    return window;
  }

  std::vector<std::string> takeHandlerNames() { return std::move(handlerNames_); }

 private:
  forms::UnitRecord unitRecord(const SourceUnit& source) {
    forms::UnitRecord unit;
    unit.type = source.type;
    unit.name = gbkOf(source.line, source.name);
    unit.left = source.rect[0];
    unit.top = source.rect[1];
    unit.width = source.rect[2];
    unit.height = source.rect[3];
    unit.flags = source.flags;
    unit.tag = gbkOf(source.line, source.tag);
    for (const SourceEvent& event : source.events) {
      unit.events.push_back({event.number, handlerOffset(event.handler)});
    }
    unit.propertyBlock = propertyBlockOf(source);
    return unit;
  }

  int32_t handlerOffset(const std::string& name) {
    auto found = std::find(handlerNames_.begin(), handlerNames_.end(), name);
    if (found == handlerNames_.end()) found = handlerNames_.insert(found, name);
    return static_cast<int32_t>(found - handlerNames_.begin()) * kHandlerEntrySize;
  }

  static uint32_t containerId(const SourceWindow& window, const SourceUnit& unit) {
    if (unit.container.empty()) return 0;
    uint32_t found = 0;
    for (const SourceUnit& other : window.units) {
      if (other.name != unit.container) continue;
      if (found != 0) unit.line.fail("more than one unit is named " + unit.container);
      if (&other == &unit) unit.line.fail("a unit cannot contain itself");
      found = other.id;
    }
    if (found == 0) unit.line.fail("no unit is named " + unit.container);
    return found;
  }

  std::vector<std::string> handlerNames_;
};

}  // namespace

AssembledWindows assembleWindows(const std::vector<SourceWindow>& sources) {
  Assembler assembler;
  AssembledWindows assembled;
  for (const SourceWindow& source : sources) {
    for (const auto& other : assembled.windows) {
      if (other.id == source.id) source.own.line.fail("a second window with this id");
    }
    assembled.windows.push_back(assembler.window(source));
  }
  assembled.handlerNames = assembler.takeHandlerNames();
  return assembled;
}

}  // namespace velmora::tools
