// Every unit type's property block: round trips at every version, defaults of older versions,
// refused newer versions and blocks cut short.
#include <gtest/gtest.h>

#include <sstream>

#include "forms/format/unit_ids.h"
#include "forms/format/unit_properties.h"
#include "tests/support/gbk.h"

namespace velmora::forms {
namespace {

using testing::gbk;

constexpr uint32_t kAllTypes[] = {kWindowType,     kLabelType,    kEditBoxType,   kPicBoxType,
                                  kShapeBoxType,   kGroupBoxType, kCheckBoxType,  kComboBoxType,
                                  kTransLabelType, kSuperBtnType, kCartoonBoxType};

// Every stored property set to a value unlike its default and unlike its neighbours.
UnitProperties filledProperties(uint32_t typeCode) {
  UnitProperties properties = *defaultUnitProperties(typeCode);
  forEachProperty(properties, [](const PropertyInfo& info, PropertyRef ref) {
    std::visit(
        [&](auto value) {
          using T = std::remove_pointer_t<decltype(value)>;
          if constexpr (std::is_same_v<T, int32_t>) {
            *value = 1000 + info.index;
          } else if constexpr (std::is_same_v<T, uint16_t>) {
            *value = static_cast<uint16_t>(0x2000 + info.index);
          } else if constexpr (std::is_same_v<T, std::string>) {
            *value = "P" + std::to_string(info.index);
          } else if constexpr (std::is_same_v<T, Bytes>) {
            *value = Bytes(static_cast<size_t>(info.index), static_cast<uint8_t>(info.index));
          } else if constexpr (std::is_same_v<T, TextList>) {
            *value = {"first", "", "third"};
          }
        },
        ref);
  });
  return properties;
}

// The defaults, with the fields that a block of `version` holds taken from `filled`.
UnitProperties fieldsOfVersion(const UnitProperties& filled, uint32_t version) {
  UnitProperties expected = *defaultUnitProperties(unitTypeCodeOf(filled));
  std::visit(
      [&](auto& block) {
        using Block = std::decay_t<decltype(block)>;
        const Block& source = std::get<Block>(filled);
        for (const BlockStep<Block>& step : Block::table.block) {
          if (step.sinceVersion > version) continue;
          for (const auto& field : Block::table.fields) {
            if (field.index != step.index) continue;
            std::visit(
                [&](auto member) {
                  if constexpr (!std::is_same_v<decltype(member), std::monostate>) {
                    block.*member = source.*member;
                  }
                },
                field.member);
          }
        }
      },
      expected);
  return expected;
}

TEST(PropertyBlockTest, EveryTypeRoundTripsAtItsHighestVersion) {
  for (uint32_t type : kAllTypes) {
    UnitProperties written = filledProperties(type);
    Bytes block = writeUnitProperties(written);
    UnitProperties read;
    ASSERT_EQ(readUnitProperties(type, block, read), ReadStatus::kOk) << unitTypeName(type);
    EXPECT_EQ(read, written) << unitTypeName(type);
  }
}

TEST(PropertyBlockTest, EveryVersionReadsItsOwnFieldsAndLeavesTheRestAtDefaults) {
  for (uint32_t type : kAllTypes) {
    UnitProperties filled = filledProperties(type);
    for (uint32_t version = 1; version <= highestBlockVersion(type); ++version) {
      UnitProperties read;
      ASSERT_EQ(readUnitProperties(type, writeUnitProperties(filled, version), read),
                ReadStatus::kOk);
      EXPECT_EQ(read, fieldsOfVersion(filled, version))
          << unitTypeName(type) << " version " << version;
    }
  }
}

TEST(PropertyBlockTest, SuperBtnVersion1KeepsTheDisabledPictureAndItsColourAtDefaults) {
  auto filled = std::get<SuperBtnProperties>(filledProperties(kSuperBtnType));
  SuperBtnProperties read;
  ASSERT_EQ(readPropertyBlock(writePropertyBlock(filled, 1), read), ReadStatus::kOk);
  SuperBtnProperties expected = filled;
  expected.disabledPicture = {};
  expected.disabledTransparentColour = kDefaultColour;
  EXPECT_EQ(read, expected);
}

TEST(PropertyBlockTest, ComboBoxVersionsAddBindingTextsThenTheFlag) {
  auto filled = std::get<ComboBoxProperties>(filledProperties(kComboBoxType));
  ComboBoxProperties read;
  ASSERT_EQ(readPropertyBlock(writePropertyBlock(filled, 1), read), ReadStatus::kOk);
  ComboBoxProperties expected = filled;
  expected.bindingSource = expected.bindingField = "";
  expected.reservedFlag24 = 0;
  EXPECT_EQ(read, expected);

  ASSERT_EQ(readPropertyBlock(writePropertyBlock(filled, 2), read), ReadStatus::kOk);
  expected.bindingSource = "P22";
  expected.bindingField = "P23";
  EXPECT_EQ(read, expected);
}

TEST(PropertyBlockTest, CartoonBoxVersion1HoldsBorderColourModeAndPictureOnly) {
  auto filled = std::get<CartoonBoxProperties>(filledProperties(kCartoonBoxType));
  CartoonBoxProperties read;
  ASSERT_EQ(readPropertyBlock(writePropertyBlock(filled, 1), read), ReadStatus::kOk);
  CartoonBoxProperties expected;
  expected.border = filled.border;
  expected.backgroundColour = filled.backgroundColour;
  expected.pictureMode = filled.pictureMode;
  expected.backgroundPicture = filled.backgroundPicture;
  EXPECT_EQ(read, expected);
  EXPECT_EQ(writePropertyBlock(filled, 1).size(), 4 + 3 * 4 + 4 + filled.backgroundPicture.size());
}

// The stored field order of every type at its highest version, written out independently of the
// property tables: i int, s 16-bit, d data, t text, l list, each with its property index.
struct StoredLayout {
  uint32_t type;
  const char* fields;
};
constexpr StoredLayout kStoredLayouts[] = {
    {kWindowType,
     "i9 i12 i10 i16 i17 i15 i18 i19 i14 i21 i22 i23 i25 i26 i27 i28 i29 i30 t31 d11 d20 d13 t8 "
     "t24"},
    {kLabelType,
     "i9 i11 i10 i12 i13 i14 i16 i17 i19 i20 i21 i22 i23 i24 i26 i25 d15 d18 t8 t27 t28"},
    {kEditBoxType, "i9 i10 i11 i13 i14 i15 i16 i17 i18 s19 i20 i21 i22 i23 i24 i25 d12 t8 t27 t28"},
    {kPicBoxType, "i8 i9 i11 i12 d10 t13 t14"},
    {kShapeBoxType, "i8 i9 i10 i11 i12 i13 i14"},
    {kGroupBoxType, "i9 i10 i11 d12 t8"},
    {kCheckBoxType, "i9 i10 i12 i13 i14 i15 i16 i18 d8 d17 t11 t19 t20"},
    {kComboBoxType, "i8 i10 i11 i12 i14 i15 i16 i17 i19 d18 d21 t9 l20 t22 t23 i24"},
    {kTransLabelType, "i9 i11 i12 i14 i13 d10 t8"},
    {kSuperBtnType,
     "i8 i9 i10 i11 i12 i13 i14 i18 i16 i23 i30 i34 i24 i25 i26 i27 i28 i29 d17 d15 d21 d31 d32 "
     "t22 t33 i20 d19"},
    {kCartoonBoxType, "i8 i9 i11 i12 i13 i14 i15 i16 i17 i18 i19 d20 d10"},
};

TEST(PropertyBlockTest, EveryTypeStoresItsFieldsInTheStoredOrder) {
  for (const StoredLayout& layout : kStoredLayouts) {
    SCOPED_TRACE(unitTypeName(layout.type));
    Bytes block = writeUnitProperties(filledProperties(layout.type));
    ArchiveReader reader(block);
    EXPECT_EQ(reader.readWord(), highestBlockVersion(layout.type));
    std::istringstream fields(layout.fields);
    for (std::string field; fields >> field;) {
      int index = std::stoi(field.substr(1));
      switch (field[0]) {
        case 'i':
          EXPECT_EQ(reader.readInt(), 1000 + index) << field;
          break;
        case 's':
          EXPECT_EQ(reader.readShort(), 0x2000 + index) << field;
          break;
        case 'd':
          EXPECT_EQ(reader.readData(), Bytes(index, index)) << field;
          break;
        case 't':
          EXPECT_EQ(reader.readCountedText(), "P" + field.substr(1)) << field;
          break;
        case 'l':
          EXPECT_EQ(reader.readTextList(), (TextList{"first", "", "third"}));
          break;
      }
    }
    EXPECT_TRUE(reader.ok());
    EXPECT_TRUE(reader.atEnd());
  }
}

TEST(PropertyBlockTest, AnEmptyBlockGivesTheDefaults) {
  for (uint32_t type : kAllTypes) {
    UnitProperties read = filledProperties(type);
    EXPECT_EQ(readUnitProperties(type, {}, read), ReadStatus::kOk);
    EXPECT_EQ(read, *defaultUnitProperties(type));
  }
  SuperBtnProperties button;
  EXPECT_EQ(button.caption, gbk(u8"超级按钮"));
  EXPECT_EQ(button.drawBorder, 1);
  EXPECT_EQ(button.useSystemColours, 1);
  EXPECT_EQ(EditBoxProperties{}.adjusterHighest, 100);
  EXPECT_EQ(ComboBoxProperties{}.currentItem, -1);
}

TEST(PropertyBlockTest, ANewerVersionIsRefused) {
  for (uint32_t type : kAllTypes) {
    Bytes block = writeUnitProperties(filledProperties(type));
    block[0] = static_cast<uint8_t>(highestBlockVersion(type) + 1);
    UnitProperties read;
    EXPECT_EQ(readUnitProperties(type, block, read), ReadStatus::kVersionTooHigh);
    EXPECT_EQ(read, *defaultUnitProperties(type));
  }
}

TEST(PropertyBlockTest, ABlockCutAnywhereIsTruncated) {
  for (uint32_t type : kAllTypes) {
    Bytes block = writeUnitProperties(filledProperties(type));
    for (size_t cut = 1; cut < block.size(); ++cut) {
      Bytes shortBlock(block.begin(), block.begin() + cut);
      UnitProperties read;
      EXPECT_EQ(readUnitProperties(type, shortBlock, read), ReadStatus::kTruncated)
          << unitTypeName(type) << " cut at " << cut;
    }
  }
}

TEST(PropertyBlockTest, TheFirstUnitOfATableWhoseBlockDoesNotReadIsFound) {
  auto record = [](uint32_t type, Bytes block) {
    UnitRecord unit;
    unit.type = type;
    unit.propertyBlock = std::move(block);
    return writeUnitRecord(unit);
  };
  const std::vector<uint32_t> ids = {0x06000001, 0x16000002, 0x16000003, 0x16000004};
  // A menu item holds no block, and a type of another library reads its own.
  const UnitTable readable = UnitTable::build(
      ids, {record(kWindowType, {}), record(kMenuItemType, {}), record(0x00010002, {9, 9}),
            record(kLabelType, writeUnitProperties(filledProperties(kLabelType)))});
  EXPECT_EQ(firstUnreadablePropertyBlock(readable), std::nullopt);

  Bytes newer = writeUnitProperties(filledProperties(kEditBoxType));
  newer[0] = static_cast<uint8_t>(highestBlockVersion(kEditBoxType) + 1);
  const Bytes label = writeUnitProperties(filledProperties(kLabelType));
  const UnitTable broken = UnitTable::build(
      ids, {record(kWindowType, {}), record(kLabelType, label), record(kEditBoxType, newer),
            record(kLabelType, Bytes(label.begin(), label.begin() + 9))});
  EXPECT_EQ(firstUnreadablePropertyBlock(broken), 2u);
}

TEST(PropertyBlockTest, UnknownTypesHaveNoProperties) {
  UnitProperties read;
  EXPECT_EQ(readUnitProperties(kMenuItemType, {}, read), ReadStatus::kMalformed);
  EXPECT_EQ(unitTypeName(0x00010002), nullptr);
  EXPECT_EQ(unitTypeCodeByName("SuperBtn"), kSuperBtnType);
  EXPECT_FALSE(unitTypeCodeByName("superbtn"));
}

}  // namespace
}  // namespace velmora::forms
