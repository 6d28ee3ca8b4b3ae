// The unit type descriptors the libraries publish.
#include "forms/format/unit_type_descriptors.h"

#include <gtest/gtest.h>

#include "forms/format/property_indices.h"
#include "forms/format/unit_ids.h"
#include "tests/support/gbk.h"

namespace velmora::forms {
namespace {

using testing::gbk;

TEST(UnitTypeDescriptorTest, CountsAndKindsFollowThePropertyTables) {
  struct Expected {
    uint32_t type;
    const char8_t* name;
    const char* englishName;
    uint32_t propertyCount;
  };
  const Expected all[] = {
      {kWindowType, u8"窗口", "window", 32},
      {kLabelType, u8"标签", "Label", 29},
      {kEditBoxType, u8"编辑框", "EditBox", 29},
      {kPicBoxType, u8"图片框", "PicBox", 15},
      {kShapeBoxType, u8"外形框", "ShapeBox", 15},
      {kGroupBoxType, u8"分组框", "GroupBox", 13},
      {kCheckBoxType, u8"选择框", "CheckBox", 21},
      {kComboBoxType, u8"组合框", "ComboBox", 25},
      {kTransLabelType, u8"透明标签", "TransLabel", 15},
      {kSuperBtnType, u8"超级按钮", "SuperBtn", 35},
      {kCartoonBoxType, u8"动画框", "CartoonBox", 21},
  };
  for (const auto& expected : all) {
    UnitTypeDescriptor type = unitTypeDescriptor(expected.type, nullptr);
    EXPECT_EQ(type.name, gbk(expected.name));
    EXPECT_STREQ(type.englishName, expected.englishName);
    EXPECT_EQ(type.propertyCount, expected.propertyCount) << expected.englishName;
    EXPECT_NE(type.state & kTypeRaisesEvents, 0u);
    EXPECT_EQ(type.properties[propertyIndex(CommonProperty::kPointer)].valueType, 1011);
  }
  UnitTypeDescriptor edit = unitTypeDescriptor(kEditBoxType, nullptr);
  EXPECT_EQ(edit.properties[propertyIndex(EditBoxProperty::kFont)].valueType, 1013);
  // The password character is a text.
  EXPECT_EQ(edit.properties[propertyIndex(EditBoxProperty::kPasswordCharacter)].valueType, 1005);
  UnitTypeDescriptor button = unitTypeDescriptor(kSuperBtnType, nullptr);
  EXPECT_EQ(button.properties[propertyIndex(SuperBtnProperty::kBackgroundColour)].valueType, 1017);
  EXPECT_EQ(button.properties[propertyIndex(SuperBtnProperty::kHoverSound)].valueType, 1012);
}

TEST(UnitTypeDescriptorTest, UnusedSlotsAreZero) {
  UnitTypeDescriptor slot = unitTypeDescriptor(0x00010002, nullptr);
  EXPECT_EQ(slot.name, nullptr);
  EXPECT_EQ(slot.propertyCount, 0u);
  EXPECT_EQ(slot.state, 0u);
}

}  // namespace
}  // namespace velmora::forms
