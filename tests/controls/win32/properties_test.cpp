// Every stored property of every standard unit type reads back what was written, through a live
// unit, and a unit made from its serialised block serialises the same.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "controls/win32/stored_properties.h"
#include "forms/format/unit_ids.h"
#include "forms/live/win32/window_lifecycle.h"
#include "tests/controls/picture_files.h"
#include "tests/controls/win32/unit_host.h"
#include "tests/support/gbk.h"

namespace velmora::controls {
namespace {

using testing::UnitHost;

Bytes fontRecord() {
  LOGFONTA font{};
  font.lfHeight = -14;
  font.lfWeight = FW_BOLD;
  font.lfCharSet = GB2312_CHARSET;
  std::strcpy(font.lfFaceName, "\xcb\xce\xcc\xe5");  // 宋体
  Bytes record(sizeof font);
  std::memcpy(record.data(), &font, sizeof font);
  return record;
}

// Values that differ from the defaults and stay valid once the unit has applied them.
struct SampleValues {
  // Keyed by property index.
  std::map<int, int32_t> integerOverrides;
  std::map<int, std::string> texts;
  std::map<int, Bytes> bytes;

  template <class Block>
  static int key(const PropertyField<Block>& field) {
    return propertyIndex(field.index);
  }

  template <class Block>
  PropertyValue valueFor(const PropertyField<Block>& field) {
    return std::visit(
        Visitors{
            [](std::monostate) { return PropertyValue{}; },
            [&](int32_t Block::*) {
              auto found = integerOverrides.find(key(field));
              if (found != integerOverrides.end())
                return PropertyValue{static_cast<uint32_t>(found->second), 0};
              switch (field.kind) {
                case PropertyKind::kChoice:
                case PropertyKind::kLogical:
                  return PropertyValue{1, 0};
                case PropertyKind::kInteger:
                  return PropertyValue{7, 0};
                default:
                  return PropertyValue{0x123456, 0};
              }
            },
            [&](uint16_t Block::*) { return text(key(field), "#"); },
            [&](std::string Block::*) {
              return text(key(field), "property text " + std::to_string(key(field)));
            },
            [&](Bytes Block::*) {
              if (!bytes.count(key(field))) {
                bytes[key(field)] = field.kind == PropertyKind::kFont ? fontRecord()
                                    : field.kind == PropertyKind::kPicture
                                        ? testing::pictureFile("logo.png")
                                        : Bytes{11, 0, 0, 0, 22, 0, 0, 0};
              }
              return PropertyValue{reinterpret_cast<uintptr_t>(bytes[key(field)].data()),
                                   bytes[key(field)].size()};
            },
            [&](TextList Block::*) {
              ArchiveWriter list;
              list.writeTextList({"one", testing::gbk(u8"第二项")});
              bytes[key(field)] = list.take();
              return PropertyValue{reinterpret_cast<uintptr_t>(bytes[key(field)].data()),
                                   bytes[key(field)].size()};
            },
        },
        field.member);
  }

  PropertyValue text(int index, const std::string& value) {
    if (!texts.count(index)) texts[index] = value;
    return {reinterpret_cast<uintptr_t>(texts[index].c_str()), 0};
  }
};

Bytes serialised(uint32_t typeCode, LiveUnit* unit) {
  auto serialise = testing::unitFunction<SerialiseUnitFunction>(typeCode, kSerialiseUnit);
  SerialisedBlock out;
  EXPECT_EQ(serialise(unit, &out), 1);
  EXPECT_NE(out.block, nullptr);
  EXPECT_EQ(GlobalSize(out.block), out.length);
  const auto* bytes = static_cast<const uint8_t*>(GlobalLock(out.block));
  Bytes block(bytes, bytes + out.length);
  GlobalUnlock(out.block);
  GlobalFree(out.block);
  return block;
}

// What the form runtime does when a change asks for it: a new unit from the old one's block.
LiveUnit* createdAnew(UnitHost& host, uint32_t typeCode, LiveUnit* unit, RECT rect) {
  LiveUnit* again = host.create(typeCode, serialised(typeCode, unit), rect);
  DestroyWindow(UnitHost::windowOf(unit));
  return again;
}

template <class Block>
void checkRoundTrips(SampleValues samples) {
  const uint32_t type = Block::table.typeCode;
  SCOPED_TRACE(Block::table.typeName);
  auto changed = testing::unitFunction<PropertyChangedFunction>(type, kPropertyChanged);
  auto read = testing::unitFunction<ReadPropertyFunction>(type, kReadProperty);
  UnitHost host;
  const RECT rect{20, 20, 260, 60};
  LiveUnit* unit = host.create(Block{}, rect);
  ASSERT_NE(unit, nullptr);
  // Twice, so that properties that depend on later ones (a current item on the items) hold.
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& field : Block::table.fields) {
      if (std::holds_alternative<std::monostate>(field.member)) continue;
      const PropertyValue value = samples.valueFor(field);
      if (changed(unit, ownIndexOf(field.index), &value, 0) == 1)
        unit = createdAnew(host, type, unit, rect);
      ASSERT_NE(unit, nullptr) << field.name;
    }
  }
  for (const auto& field : Block::table.fields) {
    if (std::holds_alternative<std::monostate>(field.member)) continue;
    const PropertyValue written = samples.valueFor(field);
    PropertyValue got{};
    ASSERT_EQ(read(unit, ownIndexOf(field.index), &got), 1) << field.name;
    std::visit(Visitors{
                   [](std::monostate) {},
                   [&](int32_t Block::*) { EXPECT_EQ(got.first, written.first) << field.name; },
                   [&](uint16_t Block::*) {
                     EXPECT_STREQ(textPointer(got.first), textPointer(written.first)) << field.name;
                   },
                   [&](std::string Block::*) {
                     EXPECT_STREQ(textPointer(got.first), textPointer(written.first)) << field.name;
                   },
                   [&](auto) {
                     const auto* a = reinterpret_cast<const uint8_t*>(got.first);
                     const auto* b = reinterpret_cast<const uint8_t*>(written.first);
                     EXPECT_EQ(Bytes(a, a + got.second), Bytes(b, b + written.second))
                         << field.name;
                   },
               },
               field.member);
  }
  const Bytes block = serialised(type, unit);
  LiveUnit* copy = host.create(type, block, {20, 80, 260, 120});
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(serialised(type, copy), block);
  Block stored;
  ASSERT_EQ(readPropertyBlock(block, stored), ReadStatus::kOk);
  EXPECT_NE(stored, Block{});
}

TEST(UnitProperties, LabelReadsBackEveryProperty) {
  checkRoundTrips<LabelProperties>({});
}

TEST(UnitProperties, EditBoxReadsBackEveryProperty) {
  SampleValues samples;
  samples.texts[propertyIndex(EditBoxProperty::kContent)] =
      testing::gbk(u8"编辑框的内容, read back from the box");
  checkRoundTrips<EditBoxProperties>(samples);
}

TEST(UnitProperties, PicBoxReadsBackEveryProperty) {
  checkRoundTrips<PicBoxProperties>({});
}

TEST(UnitProperties, GroupBoxReadsBackEveryProperty) {
  checkRoundTrips<GroupBoxProperties>({});
}

TEST(UnitProperties, ComboBoxReadsBackEveryProperty) {
  SampleValues samples;
  // A drop-down list, on the second item.
  samples.integerOverrides = {{propertyIndex(ComboBoxProperty::kKind), 2},
                              {propertyIndex(ComboBoxProperty::kCurrentItem), 1}};
  checkRoundTrips<ComboBoxProperties>(samples);
}

TEST(UnitProperties, CheckBoxReadsBackEveryProperty) {
  checkRoundTrips<CheckBoxProperties>({});
}

TEST(UnitProperties, ShapeBoxReadsBackEveryProperty) {
  checkRoundTrips<ShapeBoxProperties>({});
}

TEST(UnitProperties, CartoonBoxReadsBackEveryProperty) {
  checkRoundTrips<CartoonBoxProperties>({});
}

TEST(UnitProperties, SuperBtnReadsBackEveryProperty) {
  checkRoundTrips<SuperBtnProperties>({});
}

TEST(UnitProperties, TransLabelReadsBackEveryProperty) {
  checkRoundTrips<TransLabelProperties>({});
}

// The messages the form runtime sends units while it loads a window or makes a unit anew mean
// nothing to these unit types: they answer 0 and stay as they were.
template <class Block>
void checkIgnoresLoadingMessages() {
  const uint32_t type = Block::table.typeCode;
  SCOPED_TRACE(Block::table.typeName);
  UnitHost host;
  LiveUnit* unit = host.create(Block{}, {20, 20, 260, 60});
  ASSERT_NE(unit, nullptr);
  HWND window = UnitHost::windowOf(unit);
  const Bytes before = serialised(type, unit);
  for (UINT message : {kUnitsCreated, kUnitsArranged, kKeepFocus})
    EXPECT_EQ(SendMessageW(window, message, 0, 0), 0);
  testing::pumpMessages();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(serialised(type, unit), before);
  EXPECT_TRUE(testing::recorder().events.empty());
}

TEST(UnitProperties, EveryUnitTypeIgnoresTheLoadingMessages) {
  checkIgnoresLoadingMessages<LabelProperties>();
  checkIgnoresLoadingMessages<EditBoxProperties>();
  checkIgnoresLoadingMessages<PicBoxProperties>();
  checkIgnoresLoadingMessages<GroupBoxProperties>();
  checkIgnoresLoadingMessages<ComboBoxProperties>();
  checkIgnoresLoadingMessages<CheckBoxProperties>();
  checkIgnoresLoadingMessages<ShapeBoxProperties>();
  checkIgnoresLoadingMessages<CartoonBoxProperties>();
  checkIgnoresLoadingMessages<SuperBtnProperties>();
  checkIgnoresLoadingMessages<TransLabelProperties>();
}

TEST(UnitProperties, ABlockOfAHigherVersionCreatesNoUnit) {
  UnitHost host;
  Bytes block = writePropertyBlock(LabelProperties{});
  block[0] = 3;
  EXPECT_EQ(host.create(kLabelType, block, {0, 0, 10, 10}), nullptr);
  block = writePropertyBlock(EditBoxProperties{});
  block.resize(block.size() - 3);
  EXPECT_EQ(host.create(kEditBoxType, block, {0, 0, 10, 10}), nullptr);
}

TEST(UnitProperties, AFontRecordOfTheWrongSizeGivesTheDefaultGuiFont) {
  UnitHost host;
  EditBoxProperties properties;
  properties.font = Bytes(59, 1);
  HWND edit = UnitHost::windowOf(host.create(properties, {20, 20, 220, 50}));
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)),
            GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace
}  // namespace velmora::controls
