#include "tests/forms/format/sample_window_data.h"

#include "forms/event_numbers.h"
#include "forms/format/property_blocks.h"
#include "forms/format/unit_ids.h"

namespace velmora::testing {
namespace {

forms::UnitRecord unitOf(uint32_t type, const char* name, uint32_t flags,
                         std::initializer_list<int32_t> rect) {
  forms::UnitRecord unit;
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

std::vector<forms::WindowRecord> sampleWindows() {
  forms::WindowProperties windowProperties;
  windowProperties.caption = "Sample";
  forms::UnitRecord window = unitOf(forms::kWindowType, "", forms::kUnitVisible, {0, 0, 300, 200});
  window.events = {{forms::window_event::kCreated, 0}};
  window.propertyBlock = forms::writePropertyBlock(windowProperties);

  forms::GroupBoxProperties groupProperties;
  groupProperties.caption = "Group";
  forms::UnitRecord group =
      unitOf(forms::kGroupBoxType, "group", forms::kUnitVisible, {8, 8, 200, 100});
  group.children = {kSampleButtonId};
  group.propertyBlock = writePropertyBlock(groupProperties);

  forms::UnitRecord button = unitOf(forms::kSuperBtnType, "button",
                                    forms::kUnitVisible | forms::kUnitTabStop, {10, 20, 80, 24});
  button.container = kSampleGroupId;
  button.events = {{forms::super_btn_event::kClicked, 4},
                   {forms::unit_event::kGotFocus, forms::kNoHandler}};
  button.propertyBlock = writePropertyBlock(forms::SuperBtnProperties{});

  forms::UnitRecord menuItem;
  menuItem.type = forms::kMenuItemType;
  menuItem.name = "menu";
  menuItem.flags = 4;
  menuItem.caption = "Open";
  menuItem.menuHandler = 8;

  forms::WindowRecord first;
  first.id = kSampleWindowId;
  first.reserved2 = 0x19000001;
  first.units =
      forms::UnitTable::build({0x06010000, kSampleGroupId, kSampleButtonId, kSampleMenuItemId},
                              {forms::writeUnitRecord(window), forms::writeUnitRecord(group),
                               forms::writeUnitRecord(button), forms::writeUnitRecord(menuItem)});

  forms::UnitRecord emptyWindow =
      unitOf(forms::kWindowType, "", forms::kUnitVisible, {0, 0, 100, 80});
  emptyWindow.propertyBlock = forms::writePropertyBlock(forms::WindowProperties{}, 1);
  forms::WindowRecord second;
  second.id = 0x52000002;
  second.units = forms::UnitTable::build({0x06000001}, {forms::writeUnitRecord(emptyWindow)});
  return {first, second};
}

}  // namespace velmora::testing
