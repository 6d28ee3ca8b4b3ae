#include "forms/format/unit_properties.h"

#include <utility>

namespace velmora::forms {
namespace {

// One default value of every alternative, in variant order, to look types up by code.
const std::vector<UnitProperties>& defaultsOfEveryType() {
  static const std::vector<UnitProperties> all = [] {
    std::vector<UnitProperties> list;
    [&]<size_t... I>(std::index_sequence<I...>) {
      (list.emplace_back(std::in_place_index<I>), ...);
    }
    (std::make_index_sequence<std::variant_size_v<UnitProperties>>{});
    return list;
  }();
  return all;
}

const UnitProperties* findDefaults(uint32_t typeCode) {
  for (const auto& properties : defaultsOfEveryType()) {
    if (unitTypeCodeOf(properties) == typeCode) return &properties;
  }
  return nullptr;
}

template <class Block>
PropertyRef refTo(Block& block, const PropertyMember<Block>& member) {
  return std::visit(
      [&](auto m) -> PropertyRef {
        if constexpr (std::is_same_v<decltype(m), std::monostate>) {
          return std::monostate{};
        } else {
          return &(block.*m);
        }
      },
      member);
}

}  // namespace

uint32_t unitTypeCodeOf(const UnitProperties& properties) {
  return std::visit([](const auto& p) { return std::decay_t<decltype(p)>::table.typeCode; },
                    properties);
}

std::optional<UnitProperties> defaultUnitProperties(uint32_t typeCode) {
  const UnitProperties* found = findDefaults(typeCode);
  if (found == nullptr) return std::nullopt;
  return *found;
}

ReadStatus readUnitProperties(uint32_t typeCode, std::span<const uint8_t> block,
                              UnitProperties& out) {
  auto defaults = defaultUnitProperties(typeCode);
  if (!defaults) return ReadStatus::kMalformed;
  out = std::move(*defaults);
  return std::visit([&](auto& p) { return readPropertyBlock(block, p); }, out);
}

Bytes writeUnitProperties(const UnitProperties& properties, uint32_t version) {
  return std::visit([&](const auto& p) { return writePropertyBlock(p, version); }, properties);
}

std::optional<uint32_t> firstUnreadablePropertyBlock(const UnitTable& units) {
  for (uint32_t i = 0; i < units.count(); ++i) {
    const UnitRecord unit = units.unitAt(i);
    UnitProperties properties;
    if (findDefaults(unit.type) != nullptr &&
        readUnitProperties(unit.type, unit.propertyBlock, properties) != ReadStatus::kOk)
      return i;
  }
  return std::nullopt;
}

const char* unitTypeName(uint32_t typeCode) {
  const UnitProperties* found = findDefaults(typeCode);
  if (found == nullptr) return nullptr;
  return std::visit([](const auto& p) { return std::decay_t<decltype(p)>::table.typeName; },
                    *found);
}

std::optional<uint32_t> unitTypeCodeByName(std::string_view englishName) {
  for (const auto& properties : defaultsOfEveryType()) {
    uint32_t code = unitTypeCodeOf(properties);
    if (englishName == unitTypeName(code)) return code;
  }
  return std::nullopt;
}

uint32_t highestBlockVersion(uint32_t typeCode) {
  const UnitProperties* found = findDefaults(typeCode);
  if (found == nullptr) return 0;
  return std::visit([](const auto& p) { return std::decay_t<decltype(p)>::table.highestVersion; },
                    *found);
}

std::vector<PropertyInfo> ownProperties(uint32_t typeCode) {
  std::vector<PropertyInfo> infos;
  auto defaults = defaultUnitProperties(typeCode);
  if (defaults)
    forEachProperty(*defaults,
                    [&](const PropertyInfo& info, PropertyRef) { infos.push_back(info); });
  return infos;
}

void forEachProperty(UnitProperties& properties,
                     const std::function<void(const PropertyInfo&, PropertyRef)>& visit) {
  std::visit(
      [&](auto& block) {
        for (const auto& field : std::decay_t<decltype(block)>::table.fields) {
          bool stored = !std::holds_alternative<std::monostate>(field.member);
          visit(PropertyInfo{propertyIndex(field.index), field.kind, field.name, stored},
                refTo(block, field.member));
        }
      },
      properties);
}

}  // namespace velmora::forms
