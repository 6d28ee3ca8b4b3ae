#include "forms/format/unit_type_descriptors.h"

#include <map>

#include "forms/format/unit_ids.h"
#include "forms/format/unit_properties.h"

namespace velmora::forms {
namespace {

struct TypeFacts {
  uint32_t typeCode;
  const char* name;  // GBK
  uint32_t state;
};

constexpr TypeFacts kTypeFacts[] = {
    {kWindowType, "\xb4\xb0\xbf\xda", kTypeRaisesEvents | kTypeNeverRecreated},  // 窗口
    {kLabelType, "\xb1\xea\xc7\xa9", kTypeRaisesEvents},                         // 标签
    {kEditBoxType, "\xb1\xe0\xbc\xad\xbf\xf2", kTypeRaisesEvents},               // 编辑框
    {kPicBoxType, "\xcd\xbc\xc6\xac\xbf\xf2", kTypeRaisesEvents},                // 图片框
    {kShapeBoxType, "\xcd\xe2\xd0\xce\xbf\xf2", kTypeRaisesEvents | kTypeMovesChildren},  // 外形框
    {kGroupBoxType, "\xb7\xd6\xd7\xe9\xbf\xf2", kTypeRaisesEvents | kTypeMovesChildren},  // 分组框
    {kCheckBoxType, "\xd1\xa1\xd4\xf1\xbf\xf2", kTypeRaisesEvents},            // 选择框
    {kComboBoxType, "\xd7\xe9\xba\xcf\xbf\xf2", kTypeRaisesEvents},            // 组合框
    {kTransLabelType, "\xcd\xb8\xc3\xf7\xb1\xea\xc7\xa9", kTypeRaisesEvents},  // 透明标签
    {kSuperBtnType, "\xb3\xac\xbc\xb6\xb0\xb4\xc5\xa5", kTypeRaisesEvents},    // 超级按钮
    {kCartoonBoxType, "\xb6\xaf\xbb\xad\xbf\xf2",
     kTypeRaisesEvents | kTypeStopsOnWindowEnd},  // 动画框
};

// Property descriptors per type, made once from the property tables.
const std::vector<PropertyDescriptor>& propertyDescriptors(uint32_t typeCode) {
  static std::map<uint32_t, std::vector<PropertyDescriptor>> made;
  auto [place, isNew] = made.try_emplace(typeCode);
  if (isNew) {
    for (PropertyKind kind : kCommonPropertyKinds) {
      place->second.push_back({.valueType = static_cast<uint16_t>(kind)});
    }
    for (const PropertyInfo& info : ownProperties(typeCode)) {
      place->second.push_back({.valueType = static_cast<uint16_t>(info.kind)});
    }
  }
  return place->second;
}

}  // namespace

UnitTypeDescriptor unitTypeDescriptor(uint32_t typeCode, UnitTypeInterface interfaceFunction) {
  for (const TypeFacts& facts : kTypeFacts) {
    if (facts.typeCode != typeCode) continue;
    const auto& properties = propertyDescriptors(typeCode);
    return {.name = facts.name,
            .englishName = unitTypeName(typeCode),
            .state = facts.state,
            .propertyCount = static_cast<uint32_t>(properties.size()),
            .properties = properties.data(),
            .interfaceFunction = interfaceFunction};
  }
  return {};
}

}  // namespace velmora::forms
