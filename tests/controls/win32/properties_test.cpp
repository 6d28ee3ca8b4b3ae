// Every stored property of every standard unit type reads back what was written, through a live
// unit, and a unit made from its serialised block serialises the same.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "controls/win32/font.h"
#include "controls/win32/stored_properties.h"
#include "forms/format/unit_ids.h"
#include "forms/live/win32/window_lifecycle.h"
#include "tests/controls/picture_files.h"
#include "tests/controls/win32/unit_host.h"
#include "tests/support/gbk.h"

namespace velmora::controls {
namespace {

using testing::UnitHost;

forms::Bytes fontRecord() {
  LOGFONTA font{};
  font.lfHeight = -14;
  font.lfWeight = FW_BOLD;
  font.lfCharSet = GB2312_CHARSET;
  std::strcpy(font.lfFaceName, "\xcb\xce\xcc\xe5");  // 宋体
  forms::Bytes record(sizeof font);
  std::memcpy(record.data(), &font, sizeof font);
  return record;
}

// Values that differ from the defaults and stay valid once the unit has applied them.
struct SampleValues {
  // Keyed by property index.
  std::map<int, int32_t> integerOverrides;
  std::map<int, std::string> texts;
  std::map<int, forms::Bytes> bytes;

  template <class Block>
  static int key(const forms::PropertyField<Block>& field) {
    return forms::propertyIndex(field.index);
  }

  template <class Block>
  forms::PropertyValue valueFor(const forms::PropertyField<Block>& field) {
    return std::visit(
        Visitors{
            [](std::monostate) { return forms::PropertyValue{}; },
            [&](int32_t Block::*) {
              auto found = integerOverrides.find(key(field));
              if (found != integerOverrides.end())
                return forms::PropertyValue{static_cast<uint32_t>(found->second), 0};
              switch (field.kind) {
                case forms::PropertyKind::kChoice:
                case forms::PropertyKind::kLogical:
                  return forms::PropertyValue{1, 0};
                case forms::PropertyKind::kInteger:
                  return forms::PropertyValue{7, 0};
                default:
                  return forms::PropertyValue{0x123456, 0};
              }
            },
            [&](uint16_t Block::*) { return text(key(field), "#"); },
            [&](std::string Block::*) {
              return text(key(field), "property text " + std::to_string(key(field)));
            },
            [&](forms::Bytes Block::*) {
              if (!bytes.count(key(field))) {
                bytes[key(field)] = field.kind == forms::PropertyKind::kFont ? fontRecord()
                                    : field.kind == forms::PropertyKind::kPicture
                                        ? testing::pictureFile("logo.png")
                                        : forms::Bytes{11, 0, 0, 0, 22, 0, 0, 0};
              }
              return forms::PropertyValue{reinterpret_cast<uintptr_t>(bytes[key(field)].data()),
                                          bytes[key(field)].size()};
            },
            [&](forms::TextList Block::*) {
              forms::ArchiveWriter list;
              list.writeTextList({"one", testing::gbk(u8"第二项")});
              bytes[key(field)] = list.take();
              return forms::PropertyValue{reinterpret_cast<uintptr_t>(bytes[key(field)].data()),
                                          bytes[key(field)].size()};
            },
        },
        field.member);
  }

  forms::PropertyValue text(int index, const std::string& value) {
    if (!texts.count(index)) texts[index] = value;
    return {reinterpret_cast<uintptr_t>(texts[index].c_str()), 0};
  }
};

forms::Bytes serialised(uint32_t typeCode, forms::LiveUnit* unit) {
  auto serialise =
      testing::unitFunction<forms::SerialiseUnitFunction>(typeCode, forms::kSerialiseUnit);
  forms::SerialisedBlock out;
  EXPECT_EQ(serialise(unit, &out), 1);
  EXPECT_NE(out.block, nullptr);
  EXPECT_EQ(GlobalSize(out.block), out.length);
  const auto* bytes = static_cast<const uint8_t*>(GlobalLock(out.block));
  forms::Bytes block(bytes, bytes + out.length);
  GlobalUnlock(out.block);
  GlobalFree(out.block);
  return block;
}

// What the form runtime does when a change asks for it: a new unit from the old one's block.
forms::LiveUnit* createdAnew(UnitHost& host, uint32_t typeCode, forms::LiveUnit* unit, RECT rect) {
  forms::LiveUnit* again = host.create(typeCode, serialised(typeCode, unit), rect);
  DestroyWindow(UnitHost::windowOf(unit));
  return again;
}

template <class Block>
void checkRoundTrips(SampleValues samples) {
  const uint32_t type = Block::table.typeCode;
  SCOPED_TRACE(Block::table.typeName);
  auto changed =
      testing::unitFunction<forms::PropertyChangedFunction>(type, forms::kPropertyChanged);
  auto read = testing::unitFunction<forms::ReadPropertyFunction>(type, forms::kReadProperty);
  UnitHost host;
  const RECT rect{20, 20, 260, 60};
  forms::LiveUnit* unit = host.create(Block{}, rect);
  ASSERT_NE(unit, nullptr);
  // Twice, so that properties that depend on later ones (a current item on the items) hold.
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& field : Block::table.fields) {
      if (std::holds_alternative<std::monostate>(field.member)) continue;
      const forms::PropertyValue value = samples.valueFor(field);
      if (changed(unit, forms::ownIndexOf(field.index), &value, 0) == 1)
        unit = createdAnew(host, type, unit, rect);
      ASSERT_NE(unit, nullptr) << field.name;
    }
  }
  for (const auto& field : Block::table.fields) {
    if (std::holds_alternative<std::monostate>(field.member)) continue;
    const forms::PropertyValue written = samples.valueFor(field);
    forms::PropertyValue got{};
    ASSERT_EQ(read(unit, forms::ownIndexOf(field.index), &got), 1) << field.name;
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
                     EXPECT_EQ(forms::Bytes(a, a + got.second), forms::Bytes(b, b + written.second))
                         << field.name;
                   },
               },
               field.member);
  }
  const forms::Bytes block = serialised(type, unit);
  forms::LiveUnit* copy = host.create(type, block, {20, 80, 260, 120});
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(serialised(type, copy), block);
  Block stored;
  ASSERT_EQ(forms::readPropertyBlock(block, stored), forms::ReadStatus::kOk);
  EXPECT_NE(stored, Block{});
}

TEST(UnitProperties, LabelReadsBackEveryProperty) {
  checkRoundTrips<forms::LabelProperties>({});
}

TEST(UnitProperties, EditBoxReadsBackEveryProperty) {
  SampleValues samples;
  samples.texts[forms::propertyIndex(forms::EditBoxProperty::kContent)] =
      testing::gbk(u8"编辑框的内容, read back from the box");
  checkRoundTrips<forms::EditBoxProperties>(samples);
}

TEST(UnitProperties, PicBoxReadsBackEveryProperty) {
  checkRoundTrips<forms::PicBoxProperties>({});
}

TEST(UnitProperties, GroupBoxReadsBackEveryProperty) {
  checkRoundTrips<forms::GroupBoxProperties>({});
}

TEST(UnitProperties, ComboBoxReadsBackEveryProperty) {
  SampleValues samples;
  // A drop-down list, on the second item.
  samples.integerOverrides = {{forms::propertyIndex(forms::ComboBoxProperty::kKind), 2},
                              {forms::propertyIndex(forms::ComboBoxProperty::kCurrentItem), 1}};
  checkRoundTrips<forms::ComboBoxProperties>(samples);
}

TEST(UnitProperties, CheckBoxReadsBackEveryProperty) {
  checkRoundTrips<forms::CheckBoxProperties>({});
}

TEST(UnitProperties, ShapeBoxReadsBackEveryProperty) {
  checkRoundTrips<forms::ShapeBoxProperties>({});
}

TEST(UnitProperties, CartoonBoxReadsBackEveryProperty) {
  checkRoundTrips<forms::CartoonBoxProperties>({});
}

TEST(UnitProperties, SuperBtnReadsBackEveryProperty) {
  checkRoundTrips<forms::SuperBtnProperties>({});
}

TEST(UnitProperties, TransLabelReadsBackEveryProperty) {
  checkRoundTrips<forms::TransLabelProperties>({});
}

// The messages the form runtime sends units while it loads a window or makes a unit anew mean
// nothing to these unit types: they answer 0 and stay as they were.
template <class Block>
void checkIgnoresLoadingMessages() {
  const uint32_t type = Block::table.typeCode;
  SCOPED_TRACE(Block::table.typeName);
  UnitHost host;
  forms::LiveUnit* unit = host.create(Block{}, {20, 20, 260, 60});
  ASSERT_NE(unit, nullptr);
  HWND window = UnitHost::windowOf(unit);
  const forms::Bytes before = serialised(type, unit);
  for (UINT message : {forms::kUnitsCreated, forms::kUnitsArranged, forms::kKeepFocus})
    EXPECT_EQ(SendMessageW(window, message, 0, 0), 0);
  testing::pumpMessages();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(serialised(type, unit), before);
  EXPECT_TRUE(testing::recorder().events.empty());
}

TEST(UnitProperties, EveryUnitTypeIgnoresTheLoadingMessages) {
  checkIgnoresLoadingMessages<forms::LabelProperties>();
  checkIgnoresLoadingMessages<forms::EditBoxProperties>();
  checkIgnoresLoadingMessages<forms::PicBoxProperties>();
  checkIgnoresLoadingMessages<forms::GroupBoxProperties>();
  checkIgnoresLoadingMessages<forms::ComboBoxProperties>();
  checkIgnoresLoadingMessages<forms::CheckBoxProperties>();
  checkIgnoresLoadingMessages<forms::ShapeBoxProperties>();
  checkIgnoresLoadingMessages<forms::CartoonBoxProperties>();
  checkIgnoresLoadingMessages<forms::SuperBtnProperties>();
  checkIgnoresLoadingMessages<forms::TransLabelProperties>();
}

TEST(UnitProperties, ABlockOfAHigherVersionCreatesNoUnit) {
  UnitHost host;
  forms::Bytes block = forms::writePropertyBlock(forms::LabelProperties{});
  block[0] = 3;
  EXPECT_EQ(host.create(forms::kLabelType, block, {0, 0, 10, 10}), nullptr);
  block = forms::writePropertyBlock(forms::EditBoxProperties{});
  block.resize(block.size() - 3);
  EXPECT_EQ(host.create(forms::kEditBoxType, block, {0, 0, 10, 10}), nullptr);
}

TEST(UnitProperties, AFontRecordOfTheWrongSizeGivesTheDefaultGuiFont) {
  UnitHost host;
  forms::EditBoxProperties properties;
  properties.font = forms::Bytes(59, 1);
  HWND edit = UnitHost::windowOf(host.create(properties, {20, 20, 220, 50}));
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)),
            GetStockObject(DEFAULT_GUI_FONT));
}

// The set-up maps 宋体 and SimSun to the installed CJK font under Wine; no font has the third name.
TEST(UnitProperties, AFaceTheSystemLacksIsAskedForByItsOtherNameWhenThatOneIsInstalled) {
  constexpr wchar_t kMissing[] = L"Velmora Missing Face";
  EXPECT_EQ(installedFace(L"宋体", kMissing), L"宋体");
  EXPECT_EQ(installedFace(kMissing, L"SimSun"), L"SimSun");
  EXPECT_EQ(installedFace(kMissing, L"Velmora Missing Too"), kMissing);
}

}  // namespace
}  // namespace velmora::controls
