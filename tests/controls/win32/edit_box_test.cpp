// The edit box: its text band, input modes, adjuster and content event.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "forms/event_numbers.h"
#include "tests/controls/win32/input.h"
#include "tests/controls/win32/unit_host.h"

namespace velmora::controls {
namespace {

using testing::clickAt;
using testing::pumpMessages;
using testing::recorder;
using testing::UnitHost;

forms::Bytes fontRecord(int height) {
  LOGFONTA font{};
  font.lfHeight = -height;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = GB2312_CHARSET;
  forms::Bytes record(sizeof font);
  std::memcpy(record.data(), &font, sizeof font);
  return record;
}

std::wstring textOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

void type(HWND window, const wchar_t* keys) {
  for (const wchar_t* key = keys; *key != 0; ++key) SendMessageW(window, WM_CHAR, *key, 1);
}

int textHeightIn(HWND window, const wchar_t* text) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size.cy;
}

TEST(EditBox, SingleLineTextBandIsCentredAndOnlyItTakesClicks) {
  UnitHost host;
  forms::EditBoxProperties properties;
  properties.font = fontRecord(16);
  properties.content = "abc";
  HWND edit = UnitHost::windowOf(host.create(properties, {20, 20, 220, 52}));  // 32 high
  RECT window;
  GetWindowRect(edit, &window);
  ASSERT_EQ(window.bottom - window.top, 32);
  RECT client;
  GetClientRect(edit, &client);
  const int band = textHeightIn(edit, L"W");
  EXPECT_EQ(client.bottom, band);
  POINT origin{0, 0};
  ClientToScreen(edit, &origin);
  EXPECT_EQ(origin.y - window.top, (32 - band) / 2);

  SetForegroundWindow(host.window());
  SetFocus(host.window());
  clickAt({origin.x + 20, window.top + 2});
  EXPECT_NE(GetFocus(), edit) << "a click above the band places no caret";
  clickAt({origin.x + 20, window.bottom - 2});
  EXPECT_NE(GetFocus(), edit) << "nor one below it";
  clickAt({origin.x + 20, origin.y + band / 2});
  EXPECT_EQ(GetFocus(), edit) << "a click on the band does";
}

TEST(EditBox, AFontWriteSizesAndCentresTheTextBandAnew) {
  UnitHost host;
  forms::EditBoxProperties properties;
  properties.font = fontRecord(16);
  forms::LiveUnit* unit =
      host.create(properties, {20, 20, 220, 80});  // high enough for either font
  HWND edit = UnitHost::windowOf(unit);
  const int smallBand = textHeightIn(edit, L"W");
  const forms::Bytes bigFont = fontRecord(28);
  const forms::PropertyValue font{reinterpret_cast<uintptr_t>(bigFont.data()),
                                  static_cast<uint32_t>(bigFont.size())};
  auto changed = testing::unitFunction<forms::PropertyChangedFunction>(forms::kEditBoxType,
                                                                       forms::kPropertyChanged);
  EXPECT_EQ(changed(unit, forms::ownIndexOf(forms::EditBoxProperty::kFont), &font, 0), 0);
  RECT window;
  GetWindowRect(edit, &window);
  ASSERT_EQ(window.bottom - window.top, 60) << "the box keeps its size";
  RECT client;
  GetClientRect(edit, &client);
  const int band = textHeightIn(edit, L"W");
  ASSERT_GT(band, smallBand);
  EXPECT_EQ(client.bottom, band) << "the text band holds the new font";
  POINT origin{0, 0};
  ClientToScreen(edit, &origin);
  EXPECT_EQ(origin.y - window.top, (60 - band) / 2);
}

TEST(EditBox, DrawsInItsStoredFontFromTheStart) {
  UnitHost host;
  forms::EditBoxProperties properties;
  properties.font = fontRecord(30);
  properties.multiLine = 1;
  HWND edit = UnitHost::windowOf(host.create(properties, {20, 20, 220, 120}));
  LOGFONTW font{};
  ASSERT_NE(
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof font, &font),
      0);
  EXPECT_EQ(font.lfHeight, -30);
}

TEST(EditBox, SingleLineBoxIsAtLeastAsHighAsItsText) {
  UnitHost host;
  forms::EditBoxProperties properties;
  properties.font = fontRecord(16);
  HWND edit = UnitHost::windowOf(host.create(properties, {20, 20, 220, 30}));
  RECT window;
  GetWindowRect(edit, &window);
  EXPECT_EQ(window.bottom - window.top,
            textHeightIn(edit, L"\u5434") + 2 * GetSystemMetrics(SM_CYEDGE));
  EXPECT_EQ(window.right - window.left, 200) << "the width stays";
}

TEST(EditBox, NumericModesFilterTypingAndClampBeforeTheLostFocusEvent) {
  UnitHost host;
  forms::EditBoxProperties properties;
  properties.inputMode = 7;  // integer
  HWND integer = UnitHost::windowOf(host.create(properties, {20, 20, 220, 50}));
  type(integer, L"1a2-b");
  EXPECT_EQ(textOf(integer), L"12-");

  properties.inputMode = 5;  // byte
  HWND byte = UnitHost::windowOf(host.create(properties, {20, 60, 220, 90}));
  SetFocus(byte);
  type(byte, L"3x00");
  EXPECT_EQ(textOf(byte), L"300");
  const size_t typedEvents = recorder().events.size();
  std::wstring textOnLeaving;
  recorder().onEvent = [&](const EventRecord&) { textOnLeaving = textOf(byte); };
  SetFocus(integer);
  pumpMessages();
  EXPECT_EQ(textOf(byte), L"255");
  ASSERT_EQ(recorder().events.size(), typedEvents + 1) << "clamping is the unit's own change";
  EXPECT_EQ(recorder().events.back().event, forms::unit_event::kLostFocus)
      << "leaving raises the lost-focus event";
  EXPECT_EQ(recorder().events.back().unitId, 0x16000000u + GetDlgCtrlID(byte));
  EXPECT_EQ(textOnLeaving, L"255") << "after the clamp";
}

TEST(EditBox, PasswordModeMasksWithItsCharacter) {
  UnitHost host;
  forms::EditBoxProperties properties;
  properties.inputMode = 2;
  properties.passwordCharacter = '#';
  HWND edit = UnitHost::windowOf(host.create(properties, {20, 20, 220, 50}));
  EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), '#');
  EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_PASSWORD);
}

TEST(EditBox, ContentEventsComeFromTypingNotFromTheUnitsOwnChanges) {
  UnitHost host;
  forms::EditBoxProperties properties;
  forms::LiveUnit* unit = host.create(properties, {20, 20, 220, 50});
  HWND edit = UnitHost::windowOf(unit);
  EXPECT_TRUE(recorder().events.empty()) << "creation raises nothing";
  type(edit, L"x");
  ASSERT_EQ(recorder().events.size(), 1u);
  EXPECT_EQ(recorder().events[0].event, forms::edit_box_event::kContentChanged);
  EXPECT_EQ(recorder().events[0].unitId, 0x16000000u + GetDlgCtrlID(edit));

  auto changed = testing::unitFunction<forms::PropertyChangedFunction>(forms::kEditBoxType,
                                                                       forms::kPropertyChanged);
  const forms::PropertyValue content{reinterpret_cast<uintptr_t>("written"), 0};
  EXPECT_EQ(changed(unit, forms::ownIndexOf(forms::EditBoxProperty::kContent), &content, 0), 0);
  EXPECT_EQ(textOf(edit), L"written");
  EXPECT_EQ(recorder().events.size(), 1u) << "writing the content raises no event";
}

TEST(EditBox, NotificationsReachABoxInsideAGroupBox) {
  UnitHost host;
  HWND group = UnitHost::windowOf(host.create(forms::GroupBoxProperties{}, {10, 10, 300, 200}));
  HWND edit = UnitHost::windowOf(host.create(forms::EditBoxProperties{}, {20, 30, 200, 60}, group));
  type(edit, L"y");
  ASSERT_EQ(recorder().events.size(), 1u);
  EXPECT_EQ(recorder().events[0].event, forms::edit_box_event::kContentChanged);
}

TEST(EditBox, AutomaticAdjusterStepsTheValueWithinItsRange) {
  UnitHost host;
  forms::EditBoxProperties properties;
  properties.content = "99";
  properties.adjuster = 1;
  properties.adjusterLowest = 100;  // the range runs from the smaller to the larger
  properties.adjusterHighest = 0;
  HWND edit = UnitHost::windowOf(host.create(properties, {20, 20, 220, 50}));
  SendMessageW(edit, WM_KEYDOWN, VK_UP, 0);
  pumpMessages();
  EXPECT_EQ(textOf(edit), L"100");
  SendMessageW(edit, WM_KEYDOWN, VK_UP, 0);
  pumpMessages();
  EXPECT_EQ(textOf(edit), L"100") << "kept within the range";
  SendMessageW(edit, WM_KEYDOWN, VK_DOWN, 0);
  pumpMessages();
  EXPECT_EQ(textOf(edit), L"99");
  EXPECT_EQ(GetFocus(), edit);
}

}  // namespace
}  // namespace velmora::controls
