#include "tools/program_data_dump/program_data_dump.h"

#include <cstdio>
#include <cstring>

#include "forms/format/unit_ids.h"
#include "forms/format/unit_properties.h"
#include "forms/format/window_data.h"
#include "tools/program_data/gbk_conversion.h"

namespace velmora::tools {
namespace {

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// A GBK text as a quoted UTF-8 text, control characters escaped.
std::string quoted(const std::string& gbk) {
  std::string utf8 = gbkToUtf8(gbk).value_or("<not GBK>");
  std::string out = "\"";
  for (char c : utf8) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else if (c == '"' || c == '\\')
      out += std::string("\\") + c;
    else
      out += c;
  }
  return out + "\"";
}

std::string colour(int32_t value) {
  if (value == forms::kDefaultColour) return "default";
  auto bgr = static_cast<uint32_t>(value);
  char text[16];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", bgr & 0xFF, bgr >> 8 & 0xFF, bgr >> 16 & 0xFF);
  return bgr >> 24 ? hex(bgr) : text;
}

std::string font(const forms::Bytes& bytes) {
  if (bytes.empty()) return "default";
  if (bytes.size() != forms::kFontRecordSize)
    return std::to_string(bytes.size()) + " bytes (not a font)";
  int32_t height = static_cast<int32_t>(forms::loadWord(bytes.data()));
  uint32_t weight = forms::loadWord(bytes.data() + 16);
  std::string face(reinterpret_cast<const char*>(bytes.data() + 28), 32);
  face = face.substr(0, face.find('\0'));
  return (face.empty() ? "" : quoted(face) + " ") + std::to_string(height) +
         (weight >= 700 ? " bold" : " normal") + " charset " + std::to_string(bytes[23]);
}

std::string picture(const forms::Bytes& bytes) {
  if (bytes.empty()) return "empty";
  std::string size = std::to_string(bytes.size()) + " bytes";
  auto be = [&](size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 | bytes[at + 2] << 8 |
           bytes[at + 3];
  };
  if (bytes.size() >= 24 && std::memcmp(bytes.data(), "\x89PNG", 4) == 0) {
    return size + ", PNG " + std::to_string(be(16)) + "x" + std::to_string(be(20));
  }
  if (bytes.size() >= 10 && std::memcmp(bytes.data(), "GIF", 3) == 0) {
    return size + ", GIF " + std::to_string(bytes[6] | bytes[7] << 8) + "x" +
           std::to_string(bytes[8] | bytes[9] << 8);
  }
  return size;
}

std::string valueText(const forms::PropertyInfo& info, forms::PropertyRef ref) {
  return std::visit(
      [&](auto place) -> std::string {
        using T = std::remove_pointer_t<decltype(place)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return "(not stored)";
        } else if constexpr (std::is_same_v<T, int32_t>) {
          switch (info.kind) {
            case forms::PropertyKind::kColour:
            case forms::PropertyKind::kBackgroundColour:
            case forms::PropertyKind::kColourOrTransparent:
              return colour(*place);
            default:
              return std::to_string(*place);
          }
        } else if constexpr (std::is_same_v<T, uint16_t>) {
          std::string character{static_cast<char>(*place & 0xFF)};
          if (*place >> 8) character += static_cast<char>(*place >> 8);
          return quoted(character);
        } else if constexpr (std::is_same_v<T, std::string>) {
          return quoted(*place);
        } else if constexpr (std::is_same_v<T, forms::Bytes>) {
          return info.kind == forms::PropertyKind::kFont ? font(*place) : picture(*place);
        } else {
          std::string out = "list of " + std::to_string(place->size());
          for (const auto& item : *place) out += " " + quoted(item);
          return out;
        }
      },
      ref);
}

std::string flagsText(uint32_t flags) {
  std::string out;
  if (flags & forms::kUnitVisible) out += " visible";
  if (flags & forms::kUnitDisabled) out += " disabled";
  if (flags & forms::kUnitTabStop) out += " tabstop";
  if (flags & ~7u) out += " other " + hex(flags & ~7u);
  return out.empty() ? " none" : out;
}

std::string handlerText(int32_t offset, const BuiltProgramData& data) {
  if (offset == forms::kNoHandler) return "no handler";
  uint32_t index = static_cast<uint32_t>(offset) / 4;
  std::string name = offset % 4 == 0 && index < data.handlerNames.size()
                         ? data.handlerNames[index]
                         : "<outside the handler table>";
  return name + " (offset " + std::to_string(offset) + ")";
}

std::string unitText(const forms::UnitTable& units, uint32_t index, const BuiltProgramData& data) {
  forms::UnitRecord unit = units.unitAt(index);
  const char* typeName = forms::unitTypeName(unit.type);
  std::string out = "  unit " + std::to_string(index) + " " + hex(units.idAt(index)) + " " +
                    (typeName            ? typeName
                     : unit.isMenuItem() ? "menu-item"
                                         : hex(unit.type)) +
                    " " + quoted(unit.name) + "\n";
  if (unit.link != 0) out += "    link " + hex(unit.link) + "\n";
  out += "    flags" + flagsText(unit.flags) + "\n";
  if (unit.isMenuItem()) {
    return out + "    caption " + quoted(unit.caption) + "\n    handler " +
           handlerText(unit.menuHandler, data) + "\n";
  }
  out += "    rect " + std::to_string(unit.left) + ", " + std::to_string(unit.top) + ", " +
         std::to_string(unit.width) + " x " + std::to_string(unit.height) + "\n";
  if (unit.container != 0) {
    auto container = units.indexOf(unit.container);
    out += "    in " + hex(unit.container) +
           (container ? " " + quoted(units.unitAt(*container).name) : " (not in this window)") +
           "\n";
  }
  if (!unit.children.empty()) {
    out += "    children";
    for (uint32_t child : unit.children) out += " " + hex(child);
    out += "\n";
  }
  if (unit.pointerData != forms::Bytes(4, 0))
    out += "    pointer " + picture(unit.pointerData) + "\n";
  if (!unit.tag.empty()) out += "    tag " + quoted(unit.tag) + "\n";
  for (const auto& event : unit.events) {
    out += "    event " + std::to_string(event.event) + " -> " + handlerText(event.handler, data) +
           "\n";
  }
  forms::UnitProperties properties;
  forms::ReadStatus status = readUnitProperties(unit.type, unit.propertyBlock, properties);
  if (status != forms::ReadStatus::kOk) {
    return out + "    property block of " + std::to_string(unit.propertyBlock.size()) +
           " bytes does not read\n";
  }
  out +=
      "    properties (block version " +
      std::to_string(unit.propertyBlock.empty() ? 0 : forms::loadWord(unit.propertyBlock.data())) +
      ")\n";
  forEachProperty(properties, [&](const forms::PropertyInfo& info, forms::PropertyRef ref) {
    if (!info.stored) return;
    out += "      P" + std::to_string(info.index) + " " + info.name + " (" +
           propertyKindName(info.kind) + ") = " + valueText(info, ref) + "\n";
  });
  return out;
}

std::string constantsText(const BuiltProgramData& data) {
  std::string out = "constants: " + std::to_string(data.constants.size()) + " bytes\n";
  for (const auto& constant : data.namedConstants) {
    out += "  " + constant.name + " at " + std::to_string(constant.offset) + " = ";
    if (constant.offset >= data.constants.size()) {
      out += "<outside the block>\n";
    } else if (constant.kind == ConstantKind::kText) {
      const char* text = reinterpret_cast<const char*>(data.constants.data() + constant.offset);
      out +=
          quoted(std::string(text, strnlen(text, data.constants.size() - constant.offset))) + "\n";
    } else if (constant.offset + 8 <= data.constants.size()) {
      double value;
      std::memcpy(&value, data.constants.data() + constant.offset, sizeof value);
      out += std::to_string(value) + "\n";
    } else {
      out += "<outside the block>\n";
    }
  }
  return out;
}

}  // namespace

std::string dumpProgramData(const BuiltProgramData& data) {
  std::string out = constantsText(data);
  out += "handlers: " + std::to_string(data.handlerNames.size()) + "\n";
  for (size_t i = 0; i < data.handlerNames.size(); ++i) {
    out += "  " + std::to_string(i * 4) + " " + data.handlerNames[i] + "\n";
  }
  forms::WindowDataFault fault;
  auto windows = forms::readWindowData(data.windowData, &fault);
  if (!windows) {
    return out + "window data: " + std::to_string(data.windowData.size()) +
           " bytes that do not read (" +
           (fault.status == forms::ReadStatus::kTruncated ? "truncated" : "malformed") + ") at " +
           (fault.windowId != 0 ? "window " + hex(fault.windowId) : "the window index") + "\n";
  }
  out += "windows: " + std::to_string(windows->size()) + "\n";
  for (const auto& window : *windows) {
    out += "window " + hex(window.id) + ", reserved " + hex(window.reserved1) + " " +
           hex(window.reserved2) + ", " + std::to_string(window.units.count()) + " units\n";
    for (uint32_t i = 0; i < window.units.count(); ++i) out += unitText(window.units, i, data);
  }
  return out;
}

}  // namespace velmora::tools
