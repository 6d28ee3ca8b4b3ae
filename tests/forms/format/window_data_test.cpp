// The window data stream and the unit tables in it: reading, lookups, relocation of handlers,
// records changing length, and streams that end early.
#include "forms/format/window_data.h"

#include <gtest/gtest.h>

#include "forms/event_numbers.h"
#include "forms/format/unit_ids.h"
#include "tests/forms/format/sample_window_data.h"

namespace velmora::forms {
namespace {

using testing::kSampleButtonId;
using testing::kSampleGroupId;
using testing::kSampleMenuItemId;
using testing::kSampleWindowId;
using testing::sampleWindows;

std::vector<WindowRecord> readBack(const Bytes& data) {
  auto windows = readWindowData(data);
  EXPECT_TRUE(windows.has_value());
  return windows ? std::move(*windows) : std::vector<WindowRecord>{};
}

TEST(WindowDataTest, WindowsAndUnitsReadBackInStoredOrder) {
  auto windows = readBack(writeWindowData(sampleWindows()));
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[0].id, kSampleWindowId);
  EXPECT_EQ(windows[0].reserved2, 0x19000001u);
  EXPECT_EQ(windows[1].id, 0x52000002u);
  const UnitTable& units = windows[0].units;
  ASSERT_EQ(units.count(), 4u);
  EXPECT_EQ(units.idAt(0), 0x06010000u);
  UnitRecord button = units.unitAt(2);
  EXPECT_EQ(button.name, "button");
  EXPECT_EQ(button.container, kSampleGroupId);
  EXPECT_EQ((std::vector<int32_t>{button.left, button.top, button.width, button.height}),
            (std::vector<int32_t>{10, 20, 80, 24}));
  EXPECT_EQ(button.events, (std::vector<EventBinding>{{super_btn_event::kClicked, 4},
                                                      {unit_event::kGotFocus, kNoHandler}}));
  EXPECT_EQ(units.unitAt(1).children, std::vector<uint32_t>{kSampleButtonId});
  EXPECT_EQ(windows[1].units.count(), 1u);  // a window with only its own unit
}

TEST(WindowDataTest, MenuItemRecordsHoldFlagsCaptionAndOneHandler) {
  auto windows = readBack(writeWindowData(sampleWindows()));
  UnitRecord item = windows[0].units.unitAt(3);
  EXPECT_TRUE(item.isMenuItem());
  EXPECT_EQ(item.flags, 4u);
  EXPECT_EQ(item.caption, "Open");
  EXPECT_EQ(item.menuHandler, 8);
  EXPECT_TRUE(isMenuItemId(kSampleMenuItemId));
  EXPECT_FALSE(isMenuItemId(kSampleButtonId));
}

TEST(WindowDataTest, EmptyDataHoldsNoWindows) {
  auto windows = readWindowData({});
  ASSERT_TRUE(windows.has_value());
  EXPECT_TRUE(windows->empty());
}

TEST(WindowDataTest, AStreamCutAnywhereFailsAsTruncated) {
  Bytes data = writeWindowData(sampleWindows());
  for (size_t cut = 1; cut < data.size(); ++cut) {
    // A copy of exactly the cut length, so that the sanitizers catch any read beyond it.
    Bytes shortData(data.begin(), data.begin() + cut);
    WindowDataFault fault;
    EXPECT_FALSE(readWindowData(shortData, &fault).has_value()) << cut;
    EXPECT_EQ(fault.status, ReadStatus::kTruncated) << cut;
  }
}

TEST(WindowDataTest, EntriesOutsideTheirTableAreMalformed) {
  Bytes data = writeWindowData({sampleWindows()[1]});
  // Index (4 + 8), two reserved words, two empty texts, count and length: the offset follows
  // the single id.
  size_t offsetWord = 12 + 8 + 8 + 8 + 4;
  data[offsetWord] = 0x40;
  WindowDataFault fault;
  EXPECT_FALSE(readWindowData(data, &fault).has_value());
  EXPECT_EQ(fault.status, ReadStatus::kMalformed);
  EXPECT_EQ(fault.windowId, sampleWindows()[1].id) << "the window whose table is broken";
}

TEST(UnitTableTest, LookupByIdTakesTheFirstMatchAndNeverFindsIllFormedIds) {
  UnitRecord unit;
  unit.type = kLabelType;
  Bytes record = writeUnitRecord(unit);
  UnitTable table =
      UnitTable::build({0x06000001, 0x16000005, 0x16000005, 0x00000000, 0x10000000, 0x02000000},
                       {record, record, record, record, record, record});
  EXPECT_EQ(table.indexOf(0x06000001), 0u);
  EXPECT_EQ(table.indexOf(0x16000005), 1u);
  EXPECT_FALSE(table.indexOf(0x16000006));
  EXPECT_FALSE(table.indexOf(0x00000000));  // number and kind zero
  EXPECT_FALSE(table.indexOf(0x10000000));  // kind and number zero
  EXPECT_FALSE(table.indexOf(0x02000000));  // number zero
  EXPECT_FALSE(isWellFormedId(0x10000001));
  EXPECT_TRUE(isWellFormedId(0x52010001));
}

TEST(UnitTableTest, RelocationAddsTheCodeBaseAndTurnsNoHandlerIntoZero) {
  UnitTable units = sampleWindows()[0].units;
  units.relocateHandlers(0x00401000);
  EXPECT_EQ(units.unitAt(0).events,
            (std::vector<EventBinding>{{window_event::kCreated, 0x00401000}}));
  EXPECT_EQ(units.unitAt(2).events,
            (std::vector<EventBinding>{{super_btn_event::kClicked, 0x00401004},
                                       {unit_event::kGotFocus, 0}}));
  EXPECT_EQ(units.unitAt(3).menuHandler, 0x00401008);
  EXPECT_EQ(units.unitAt(1).events, std::vector<EventBinding>{});
}

TEST(UnitTableTest, WithoutHandlerCodeNoHandlerIsBound) {
  UnitTable units = sampleWindows()[0].units;
  units.relocateHandlers(0);
  EXPECT_EQ(units.unitAt(0).events, (std::vector<EventBinding>{{0, 0}}));
  EXPECT_EQ(units.unitAt(2).events, (std::vector<EventBinding>{{0, 0}, {-7, 0}}));
  EXPECT_EQ(units.unitAt(3).menuHandler, 0);
}

TEST(UnitTableTest, ANewTagResizesTheRecordAndMovesTheEntriesBehindIt) {
  UnitTable units = sampleWindows()[0].units;
  std::vector<UnitRecord> before;
  for (uint32_t i = 0; i < units.count(); ++i) before.push_back(units.unitAt(i));
  size_t bodySize = units.body().size();

  units.replaceText(1, "a much longer tag than before");
  EXPECT_EQ(units.body().size(), bodySize + 29);
  before[1].tag = "a much longer tag than before";
  for (uint32_t i = 0; i < units.count(); ++i) EXPECT_EQ(units.unitAt(i), before[i]) << i;

  units.replaceText(1, std::string_view("x\0y", 3));
  before[1].tag = "x";
  units.replaceText(3, "Close");
  before[3].caption = "Close";
  for (uint32_t i = 0; i < units.count(); ++i) EXPECT_EQ(units.unitAt(i), before[i]) << i;
  EXPECT_EQ(units.body().size(), bodySize + 1 + 1);

  // The changed table is still a well-formed table.
  ArchiveWriter writer;
  units.write(writer);
  ArchiveReader reader(writer.bytes());
  auto again = UnitTable::read(reader);
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->body(), units.body());
}

TEST(UnitTableTest, BadRecordsAndIndexesPastTheEndChangeNothing) {
  UnitTable units = sampleWindows()[0].units;
  Bytes body = units.body();
  EXPECT_FALSE(units.replaceRecord(2, Bytes{1, 2, 3}));
  EXPECT_FALSE(units.replaceRecord(4, writeUnitRecord(units.unitAt(1))));
  units.replaceText(4, "tag");
  EXPECT_EQ(units.body(), body);
  EXPECT_EQ(units.idAt(4), 0u);
  EXPECT_TRUE(units.recordAt(4).empty());
  EXPECT_EQ(units.unitAt(4).type, 0u);
}

TEST(UnitRecordTest, RecordsRoundTripAndEveryCutFails) {
  for (const UnitRecord& unit :
       {sampleWindows()[0].units.unitAt(2), sampleWindows()[0].units.unitAt(3)}) {
    Bytes record = writeUnitRecord(unit);
    EXPECT_EQ(readUnitRecord(record), unit);
    size_t fixedEnd = unit.isMenuItem() ? record.size() : record.size() - unit.propertyBlock.size();
    for (size_t cut = 0; cut < fixedEnd; ++cut) {
      Bytes shortRecord(record.begin(), record.begin() + cut);
      EXPECT_FALSE(readUnitRecord(shortRecord).has_value()) << cut;
    }
  }
}

}  // namespace
}  // namespace velmora::forms
