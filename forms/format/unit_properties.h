// The own properties of any unit type, chosen by unit type code: for the tools and for code that
// handles every type alike.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "forms/format/property_blocks.h"
#include "forms/format/unit_table.h"

namespace velmora::forms {

using UnitProperties =
    std::variant<WindowProperties, LabelProperties, EditBoxProperties, PicBoxProperties,
                 ShapeBoxProperties, GroupBoxProperties, CheckBoxProperties, ComboBoxProperties,
                 TransLabelProperties, SuperBtnProperties, CartoonBoxProperties>;

struct PropertyInfo {
  int index;
  PropertyKind kind;
  const char* name;
  bool stored;  // false for a value only a live unit has
};

// A property's place in a UnitProperties value; monostate when it is not stored.
using PropertyRef =
    std::variant<std::monostate, int32_t*, uint16_t*, std::string*, Bytes*, TextList*>;

// The defaults of the type with this code; nothing for a code of no known type.
std::optional<UnitProperties> defaultUnitProperties(uint32_t typeCode);
// Reads a block of the type with this code; malformed for an unknown type.
ReadStatus readUnitProperties(uint32_t typeCode, std::span<const uint8_t> block,
                              UnitProperties& out);
Bytes writeUnitProperties(const UnitProperties& properties, uint32_t version = 0);
// The index of the first unit in the table whose property block does not read; nothing when
// every block reads. Menu items hold no block, and the block of a type the format does not know
// is read by its own library.
std::optional<uint32_t> firstUnreadablePropertyBlock(const UnitTable& units);

uint32_t unitTypeCodeOf(const UnitProperties& properties);
// The English name of a type, or nullptr for an unknown code.
const char* unitTypeName(uint32_t typeCode);
std::optional<uint32_t> unitTypeCodeByName(std::string_view englishName);
uint32_t highestBlockVersion(uint32_t typeCode);
// The own properties of a type in index order; empty for an unknown code.
std::vector<PropertyInfo> ownProperties(uint32_t typeCode);

void forEachProperty(UnitProperties& properties,
                     const std::function<void(const PropertyInfo&, PropertyRef)>& visit);

}  // namespace velmora::forms
