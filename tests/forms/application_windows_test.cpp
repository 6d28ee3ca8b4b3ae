// The program's built window data holds the client's seven windows as the windows table gives
// them: ids, captions, sizes, unit counts and order, the properties all windows share, and font
// faces that Windows finds in any language.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "forms/event_numbers.h"
#include "forms/format/property_blocks.h"
#include "forms/format/unit_ids.h"
#include "forms/format/unit_properties.h"
#include "forms/format/window_data.h"
#include "forms/live/font_values.h"
#include "program_data_generated.h"
#include "tests/support/gbk.h"

namespace velmora::forms {
namespace {

using testing::gbk;

struct ExpectedWindow {
  uint32_t id;
  uint32_t unitId;
  const char8_t* caption;
  int32_t width;
  int32_t height;
  uint32_t units;  // besides the window's own unit
  uint32_t firstUnit;
  uint32_t lastUnit;
};

constexpr ExpectedWindow kWindows[] = {
    {0x52010001, 0x06010000, u8"Velmora", 300, 450, 11, 0x16012FA8, 0x16012BE9},
    {0x52012B38, 0x06012B37, u8"用户注册", 304, 414, 13, 0x16012F8C, 0x16012F57},
    {0x52012C48, 0x06012C47, u8"用户信息", 271, 433, 12, 0x16012F55, 0x16012F4A},
    {0x52012C57, 0x06012C56, u8"Velmora-海量优质号源", 750, 543, 48, 0x16012FCA, 0x16012D3B},
    {0x52012D7A, 0x06012D79, u8"充值", 803, 442, 34, 0x16012F34, 0x16012E85},
    {0x52012E18, 0x06012E17, u8"推广中心", 390, 431, 10, 0x16012F74, 0x16012E58},
    {0x52012E1A, 0x06012E19, u8"API", 588, 494, 23, 0x16012FCD, 0x16012F76},
};

class ApplicationWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (program_data::kWindowDataLength == 0) GTEST_SKIP() << "no window sources in forms/data";
    auto read = readWindowData({program_data::windowData, program_data::kWindowDataLength});
    ASSERT_TRUE(read.has_value());
    windows = std::move(*read);
  }

  std::vector<WindowRecord> windows;
};

TEST_F(ApplicationWindowsTest, SevenWindowsWithTheirIdsCaptionsSizesAndUnitCounts) {
  ASSERT_EQ(windows.size(), std::size(kWindows));
  for (size_t i = 0; i < windows.size(); ++i) {
    const ExpectedWindow& expected = kWindows[i];
    const UnitTable& units = windows[i].units;
    SCOPED_TRACE(::testing::Message() << "window " << std::hex << expected.id);
    EXPECT_EQ(windows[i].id, expected.id);
    ASSERT_EQ(units.count(), expected.units + 1);
    EXPECT_EQ(units.idAt(0), expected.unitId);
    EXPECT_EQ(units.idAt(1), expected.firstUnit);
    EXPECT_EQ(units.idAt(expected.units), expected.lastUnit);
    UnitRecord own = units.unitAt(0);
    EXPECT_EQ(own.type, kWindowType);
    EXPECT_EQ(own.width, expected.width);
    EXPECT_EQ(own.height, expected.height);
    WindowProperties properties;
    ASSERT_EQ(readPropertyBlock(own.propertyBlock, properties), ReadStatus::kOk);
    EXPECT_EQ(properties.caption, gbk(expected.caption));
  }
}

TEST_F(ApplicationWindowsTest, UnitsOfTheLoginAndPromotionWindowsInStoredOrder) {
  ASSERT_EQ(windows.size(), std::size(kWindows));
  auto idsOf = [](const UnitTable& units) {
    std::vector<uint32_t> ids;
    for (uint32_t i = 1; i < units.count(); ++i) ids.push_back(units.idAt(i));
    return ids;
  };
  EXPECT_EQ(
      idsOf(windows[0].units),
      (std::vector<uint32_t>{0x16012FA8, 0x16012FA4, 0x16012FA3, 0x16012FA2, 0x16012FA0, 0x16012F9F,
                             0x16012F9E, 0x16012F8F, 0x16012BEC, 0x16012BEB, 0x16012BE9}));
  EXPECT_EQ(idsOf(windows[5].units),
            (std::vector<uint32_t>{0x16012F74, 0x16012F73, 0x16012F72, 0x16012F6B, 0x16012F6C,
                                   0x16012F6D, 0x16012F6A, 0x16012E60, 0x16012E5F, 0x16012E58}));
  EXPECT_EQ(windows[0].units.unitAt(1).name, gbk(u8"标签4"));
  EXPECT_EQ(windows[0].units.unitAt(11).name, "kf1");
}

TEST_F(ApplicationWindowsTest, EveryWindowSharesTheSameWindowProperties) {
  for (const WindowRecord& window : windows) {
    SCOPED_TRACE(::testing::Message() << "window " << std::hex << window.id);
    UnitRecord own = window.units.unitAt(0);
    EXPECT_EQ(own.flags & (kUnitVisible | kUnitDisabled), kUnitVisible);
    ASSERT_EQ(own.events.size(), 1u);
    EXPECT_EQ(own.events[0].event, window_event::kCreated);
    EXPECT_NE(own.events[0].handler, kNoHandler);
    WindowProperties p;
    ASSERT_EQ(readPropertyBlock(own.propertyBlock, p), ReadStatus::kOk);
    EXPECT_EQ((std::vector<int32_t>{p.border, p.controlButton, p.maximizeButton, p.minimizeButton,
                                    p.position, p.movable, p.showInTaskBar, p.backgroundColour,
                                    p.shape, p.alwaysOnTop}),
              (std::vector<int32_t>{2, 1, 0, 1, 1, 1, 1, 0xFFFFFF, 0, 0}));
    EXPECT_EQ((std::vector<int32_t>{p.pictureMode, p.soundRepetition, p.reservedFlag21,
                                    p.reservedFlag22, p.reservedFlag23, p.helpContext,
                                    p.reservedFlag27, p.keepCaptionActive}),
              (std::vector<int32_t>{1, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(p.backgroundPicture.empty() && p.icon.empty() && p.backgroundSound.empty());
    EXPECT_TRUE(p.helpFile.empty() && p.className.empty());
  }
}

// Every face a unit's font names is one a Windows in another language finds by its English name.
TEST_F(ApplicationWindowsTest, EveryNamedFontFaceHasItsEnglishFamilyName) {
  std::set<std::string> faces;
  for (const WindowRecord& window : windows) {
    for (uint32_t i = 0; i < window.units.count(); ++i) {
      const UnitRecord unit = window.units.unitAt(i);
      if (unit.isMenuItem()) continue;
      UnitProperties properties;
      ASSERT_EQ(readUnitProperties(unit.type, unit.propertyBlock, properties), ReadStatus::kOk);
      forEachProperty(properties, [&](const PropertyInfo& info, PropertyRef ref) {
        const auto* record = std::get_if<Bytes*>(&ref);
        if (info.kind != PropertyKind::kFont || !record || (*record)->size() != sizeof(LogicalFont))
          return;
        LogicalFont font;
        std::memcpy(&font, (*record)->data(), sizeof font);
        const std::string face(font.faceName, strnlen(font.faceName, sizeof font.faceName));
        if (!face.empty()) faces.insert(face);
      });
    }
  }
  EXPECT_EQ(faces.size(), 2u) << "黑体 and 微软雅黑";
  for (const std::string& face : faces) EXPECT_FALSE(englishFontFamily(face).empty()) << face;
}

}  // namespace
}  // namespace velmora::forms
