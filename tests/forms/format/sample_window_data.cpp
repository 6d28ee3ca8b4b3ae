#include "tests/forms/format/sample_window_data.h"

#include "forms/event_numbers.h"
#include "forms/format/property_blocks.h"
#include "forms/format/unit_ids.h"

namespace velmora::testing {
namespace {

UnitRecord unitOf(uint32_t type, const char* name, uint32_t flags,
                  std::initializer_list<int32_t> rect) {
  UnitRecord unit;
  unit.type = type;
  unit.name = name;
  unit.flags = flags;
  auto value = rect.begin();
  unit.left = value[0];
  unit.top = value[1];
  unit.width = value[2];
  unit.height = value[3];
  return unit;
}

}  // namespace

std::vector<WindowRecord> sampleWindows() {
  WindowProperties windowProperties;
  windowProperties.caption = "Sample";
  UnitRecord window = unitOf(kWindowType, "", kUnitVisible, {0, 0, 300, 200});
  window.events = {{window_event::kCreated, 0}};
  window.propertyBlock = writePropertyBlock(windowProperties);

  GroupBoxProperties groupProperties;
  groupProperties.caption = "Group";
  UnitRecord group = unitOf(kGroupBoxType, "group", kUnitVisible, {8, 8, 200, 100});
  group.children = {kSampleButtonId};
  group.propertyBlock = writePropertyBlock(groupProperties);

  UnitRecord button =
      unitOf(kSuperBtnType, "button", kUnitVisible | kUnitTabStop, {10, 20, 80, 24});
  button.container = kSampleGroupId;
  button.events = {{super_btn_event::kClicked, 4}, {unit_event::kGotFocus, kNoHandler}};
  button.propertyBlock = writePropertyBlock(SuperBtnProperties{});

  UnitRecord menuItem;
  menuItem.type = kMenuItemType;
  menuItem.name = "menu";
  menuItem.flags = 4;
  menuItem.caption = "Open";
  menuItem.menuHandler = 8;

  WindowRecord first;
  first.id = kSampleWindowId;
  first.reserved2 = 0x19000001;
  first.units = UnitTable::build({0x06010000, kSampleGroupId, kSampleButtonId, kSampleMenuItemId},
                                 {writeUnitRecord(window), writeUnitRecord(group),
                                  writeUnitRecord(button), writeUnitRecord(menuItem)});

  UnitRecord emptyWindow = unitOf(kWindowType, "", kUnitVisible, {0, 0, 100, 80});
  emptyWindow.propertyBlock = writePropertyBlock(WindowProperties{}, 1);
  WindowRecord second;
  second.id = 0x52000002;
  second.units = UnitTable::build({0x06000001}, {writeUnitRecord(emptyWindow)});
  return {first, second};
}

}  // namespace velmora::testing
