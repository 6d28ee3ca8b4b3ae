// The combo box and the check box: their events.
#include <gtest/gtest.h>

#include "forms/event_numbers.h"
#include "tests/controls/win32/input.h"
#include "tests/controls/win32/unit_host.h"

namespace velmora::controls {
namespace {

using testing::pumpMessages;
using testing::recorder;
using testing::UnitHost;

TEST(ComboBox, DropDownCreatedLowOpensToAHeightOf160) {
  UnitHost host;
  forms::ComboBoxProperties properties;
  for (char c = 'a'; c <= 't'; ++c) properties.items.push_back(std::string(1, c));
  HWND combo = UnitHost::windowOf(host.create(properties, {20, 20, 220, 44}));  // 24 high
  RECT field;
  GetWindowRect(combo, &field);
  EXPECT_LT(field.bottom - field.top, 160) << "the closed box keeps its field height";
  SetForegroundWindow(host.window());
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  pumpMessages();
  // Down the middle of the list, from the field's top: the open box ends where the host's
  // background shows again.
  const testing::ScreenCapture screen(host.window(), testing::Capture::asShown);
  int end = 20;
  while (end < screen.height() && screen.at(120, end) != testing::kHostBackground) ++end;
  EXPECT_EQ(end - 20, 160) << "field and list together, with no part of an item cut away";
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  pumpMessages();
}

TEST(ComboBox, ChoosingFromTheListRaisesEventZeroAfterItClosed) {
  UnitHost host;
  forms::ComboBoxProperties properties;
  properties.items = {"first", "second", "third"};
  properties.text = "hint";
  HWND combo = UnitHost::windowOf(host.create(properties, {20, 20, 220, 44}));
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), -1);
  struct AtEvent {
    LRESULT dropped;
    LRESULT current;
  };
  std::vector<AtEvent> seen;
  recorder().onEvent = [&](const EventRecord&) {
    seen.push_back(
        {SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), SendMessageW(combo, CB_GETCURSEL, 0, 0)});
  };
  SetForegroundWindow(host.window());
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  pumpMessages();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  RECT list;
  GetWindowRect(info.hwndList, &list);
  const int itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  testing::clickAt({list.left + 10, list.top + itemHeight + itemHeight / 2});
  ASSERT_EQ(recorder().events.size(), 1u);
  EXPECT_EQ(recorder().events[0].event, forms::combo_box_event::kItemChosen);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].dropped, FALSE) << "the list had closed";
  EXPECT_EQ(seen[0].current, 1) << "the choice was final";
}

TEST(ComboBox, EditingTheTextRaisesTheTextEditedEvent) {
  UnitHost host;
  HWND combo = UnitHost::windowOf(host.create(forms::ComboBoxProperties{}, {20, 20, 220, 44}));
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  SendMessageW(info.hwndItem, WM_CHAR, 'k', 1);
  pumpMessages();
  ASSERT_EQ(recorder().events.size(), 1u);
  EXPECT_EQ(recorder().events[0].event, forms::combo_box_event::kTextEdited);
}

TEST(CheckBox, ClickRaisesTheClickedEventAndChecksTheBox) {
  UnitHost host;
  forms::CheckBoxProperties properties;
  forms::LiveUnit* unit = host.create(properties, {20, 20, 220, 44});
  HWND box = UnitHost::windowOf(unit);
  EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & BS_AUTOCHECKBOX);
  SendMessageW(box, BM_CLICK, 0, 0);
  pumpMessages();
  ASSERT_EQ(recorder().events.size(), 1u);
  EXPECT_EQ(recorder().events[0].event, forms::check_box_event::kClicked);
  auto read = testing::unitFunction<forms::ReadPropertyFunction>(forms::kCheckBoxType,
                                                                 forms::kReadProperty);
  forms::PropertyValue checked{};
  ASSERT_EQ(read(unit, forms::ownIndexOf(forms::CheckBoxProperty::kChecked), &checked), 1);
  EXPECT_EQ(checked.first, 1u);

  const auto unitId = static_cast<uint32_t>(0x16000000 + GetDlgCtrlID(box));
  DestroyWindow(box);
  ASSERT_EQ(recorder().goneUnits.size(), 1u) << "the unit tells the runtime that it is gone";
  EXPECT_EQ(recorder().goneUnits[0], unitId);
}

}  // namespace
}  // namespace velmora::controls
