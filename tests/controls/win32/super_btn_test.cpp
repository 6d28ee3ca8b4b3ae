// The super button: its flat look under the mouse, its click, its disabled caption, its colours
// and the changes that need a new unit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "controls/win32/colours.h"
#include "forms/event_numbers.h"
#include "tests/controls/picture_files.h"
#include "tests/controls/win32/input.h"
#include "tests/controls/win32/super_btn_sample.h"
#include "tests/controls/win32/unit_host.h"

namespace velmora::controls {
namespace {

using testing::Capture;
using testing::flatButton;
using testing::kButton;
using testing::kHoverBackground;
using testing::kNormalBackground;
using testing::moveAway;
using testing::pumpMessages;
using testing::recorder;
using testing::ScreenCapture;
using testing::screenPoint;
using testing::UnitHost;

// The embossed caption: its highlight copy is white, its shadow copy a mid grey; the smoothed
// edges mix with the background and count as neither.
bool isHighlight(COLORREF pixel) {
  return GetRValue(pixel) > 200 && GetGValue(pixel) > 200 && GetBValue(pixel) > 200;
}

bool isShadow(COLORREF pixel) {
  const int r = GetRValue(pixel);
  return r >= 100 && r <= 170 && std::abs(r - GetGValue(pixel)) < 20 &&
         std::abs(r - GetBValue(pixel)) < 20;
}

TEST(SuperBtn, FlatButtonShowsItsEdgeAndHoverColoursOnlyWhileTheMouseIsOver) {
  UnitHost host;
  moveAway(host.window());
  HWND button = UnitHost::windowOf(host.create(flatButton(), kButton));
  ASSERT_NE(button, nullptr);
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  {
    ScreenCapture screen(host.window(), Capture::asShown);
    EXPECT_EQ(screen.at(20, 20), kNormalBackground) << "no edge before the mouse comes";
    EXPECT_EQ(screen.at(139, 49), kNormalBackground);
    EXPECT_EQ(screen.at(24, 24), kNormalBackground);
  }
  testing::moveMouseTo(screenPoint(host.window(), {80, 35}));
  {
    ScreenCapture screen(host.window(), Capture::asShown);
    EXPECT_EQ(screen.at(20, 20), highlight) << "raised: light above and left";
    EXPECT_EQ(screen.at(139, 49), shadow) << "raised: dark below and right";
    EXPECT_EQ(screen.at(24, 24), kHoverBackground);
  }
  moveAway(host.window());
  {
    ScreenCapture screen(host.window(), Capture::asShown);
    EXPECT_EQ(screen.at(20, 20), kNormalBackground) << "the leave notification ends the hover";
    EXPECT_EQ(screen.at(24, 24), kNormalBackground);
  }
  testing::moveMouseTo(screenPoint(host.window(), {80, 35}));
  SendMessageW(button, WM_ACTIVATE, WA_INACTIVE, 0);  // as its window passes its deactivation on
  pumpMessages();
  {
    ScreenCapture screen(host.window(), Capture::asShown);
    EXPECT_EQ(screen.at(20, 20), kNormalBackground) << "switching away ends the hover";
    EXPECT_EQ(screen.at(24, 24), kNormalBackground);
  }
  moveAway(host.window());
}

TEST(SuperBtn, ButtonWithoutDrawBorderLightsUpWithoutAnEdge) {
  UnitHost host;
  moveAway(host.window());
  forms::SuperBtnProperties properties = flatButton();
  properties.drawBorder = 0;
  host.create(properties, kButton);
  testing::moveMouseTo(screenPoint(host.window(), {80, 35}));
  ScreenCapture screen(host.window(), Capture::asShown);
  EXPECT_EQ(screen.at(20, 20), kHoverBackground);
  moveAway(host.window());
}

TEST(SuperBtn, ClickRaisesTheClickedEventOnceAndFocusTheGotFocusEvent) {
  UnitHost host;
  HWND button = UnitHost::windowOf(host.create(flatButton(), kButton));
  SetForegroundWindow(host.window());
  testing::clickAt(screenPoint(host.window(), {80, 35}));
  const auto& events = recorder().events;
  EXPECT_EQ(std::count_if(events.begin(), events.end(),
                          [](auto& e) { return e.event == forms::super_btn_event::kClicked; }),
            1);
  EXPECT_EQ(std::count_if(events.begin(), events.end(),
                          [](auto& e) { return e.event == forms::unit_event::kGotFocus; }),
            1);
  EXPECT_EQ(GetFocus(), button);
  SetFocus(host.window());
  pumpMessages();
  EXPECT_EQ(events.back().event, forms::unit_event::kLostFocus) << "losing the focus";
  moveAway(host.window());
}

TEST(SuperBtn, DraggingOntoTheButtonWithTheButtonHeldStartsNoHover) {
  UnitHost host;
  moveAway(host.window());
  host.create(flatButton(), kButton);
  INPUT press{};
  press.type = INPUT_MOUSE;
  press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &press, sizeof press);
  pumpMessages();
  testing::moveMouseTo(screenPoint(host.window(), {80, 35}));
  {
    ScreenCapture screen(host.window(), Capture::asShown);
    EXPECT_EQ(screen.at(24, 24), kNormalBackground);
  }
  press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &press, sizeof press);
  pumpMessages();
  moveAway(host.window());
  EXPECT_TRUE(recorder().events.empty()) << "a press elsewhere is no click";
}

TEST(SuperBtn, DisablingTheFocusedButtonMovesTheFocusToTheNextOne) {
  UnitHost host;
  HWND first = UnitHost::windowOf(host.create(flatButton(), kButton));
  HWND second = UnitHost::windowOf(host.create(flatButton(), {20, 60, 140, 90}));
  SetForegroundWindow(host.window());
  SetFocus(first);
  pumpMessages();
  ASSERT_EQ(GetFocus(), first);
  EnableWindow(first, FALSE);
  pumpMessages();
  EXPECT_EQ(GetFocus(), second);
}

TEST(SuperBtn, OnlyTheNormalPictureShowsAlsoUnderTheMouse) {
  UnitHost host;
  moveAway(host.window());
  forms::SuperBtnProperties properties = flatButton();
  properties.caption = "";
  properties.normalPicture = testing::pictureFile("logo.png");
  ASSERT_FALSE(properties.normalPicture.empty());
  host.create(properties, {20, 20, 260, 200});
  auto changedPixels = [&](const ScreenCapture& screen, COLORREF background) {
    int count = 0;
    for (int y = 25; y < 195; ++y) {
      for (int x = 25; x < 255; ++x) count += screen.at(x, y) != background;
    }
    return count;
  };
  int normal = 0;
  {
    ScreenCapture screen(host.window());
    normal = changedPixels(screen, kNormalBackground);
  }
  EXPECT_GT(normal, 50) << "the picture is drawn";
  testing::moveMouseTo(screenPoint(host.window(), {140, 110}));
  ScreenCapture screen(host.window(), Capture::asShown);
  EXPECT_EQ(screen.at(24, 24), kHoverBackground);
  EXPECT_EQ(changedPixels(screen, kHoverBackground), normal) << "the same picture";
  moveAway(host.window());
}

TEST(SuperBtn, CheckBoxModeTogglesOnEachClick) {
  UnitHost host;
  forms::SuperBtnProperties properties = flatButton();
  properties.checkBoxMode = 1;
  HWND button = UnitHost::windowOf(host.create(properties, kButton));
  SetForegroundWindow(host.window());
  testing::clickAt(screenPoint(host.window(), {80, 35}));
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), 1);
  Sleep(GetDoubleClickTime() + 50);  // two clicks, not a double click
  testing::clickAt(screenPoint(host.window(), {80, 35}));
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), 0);
  moveAway(host.window());
}

TEST(SuperBtn, DisabledButtonDrawsItsCaptionEmbossed) {
  UnitHost host;
  moveAway(host.window());
  forms::SuperBtnProperties properties = flatButton();
  properties.caption = "WW";
  properties.font = testing::boldFont(26);
  HWND button = UnitHost::windowOf(host.create(properties, kButton));
  EnableWindow(button, FALSE);
  pumpMessages();
  ScreenCapture screen(host.window());
  ASSERT_TRUE(isHighlight(GetSysColor(COLOR_BTNHIGHLIGHT)));
  ASSERT_TRUE(isShadow(GetSysColor(COLOR_BTNSHADOW)));
  RECT lit{1000, 1000, -1, -1};
  RECT dark = lit;
  for (int y = kButton.top; y < kButton.bottom; ++y) {
    for (int x = kButton.left; x < kButton.right; ++x) {
      const COLORREF pixel = screen.at(x, y);
      RECT* box = isHighlight(pixel) ? &lit : isShadow(pixel) ? &dark : nullptr;
      if (box == nullptr) continue;
      box->left = std::min<LONG>(box->left, x);
      box->top = std::min<LONG>(box->top, y);
      box->right = std::max<LONG>(box->right, x);
      box->bottom = std::max<LONG>(box->bottom, y);
    }
  }
  ASSERT_GE(dark.right, dark.left) << "the caption in the shadow colour";
  ASSERT_GE(lit.right, lit.left) << "its copy in the highlight colour";
  // The highlight copy sticks out below and right of the shadow copy by the one-pixel shift (a
  // smoothed edge may add one more).
  EXPECT_GE(lit.right - dark.right, 1);
  EXPECT_LE(lit.right - dark.right, 2);
  EXPECT_GE(lit.bottom - dark.bottom, 1);
  EXPECT_LE(lit.bottom - dark.bottom, 2);
  EXPECT_EQ(screen.at(24, 24), kNormalBackground);
}

TEST(SuperBtn, SystemColoursHideTheOwnColoursAndTheHoverFaceIsLightened) {
  UnitHost host;
  moveAway(host.window());
  forms::SuperBtnProperties properties = flatButton();
  properties.useSystemColours = 1;
  host.create(properties, kButton);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  {
    ScreenCapture screen(host.window());
    EXPECT_EQ(screen.at(24, 24), face);
  }
  testing::moveMouseTo(screenPoint(host.window(), {80, 35}));
  ScreenCapture screen(host.window(), Capture::asShown);
  EXPECT_EQ(screen.at(24, 24), lightenColour(face, 32));
  moveAway(host.window());
}

// Every pixel of the button.
std::vector<COLORREF> buttonPixels(HWND host) {
  ScreenCapture screen(host);
  std::vector<COLORREF> pixels;
  for (int y = kButton.top; y < kButton.bottom; ++y) {
    for (int x = kButton.left; x < kButton.right; ++x) pixels.push_back(screen.at(x, y));
  }
  return pixels;
}

TEST(SuperBtn, WithSystemColoursTheOwnTextColourChangesNothingOnScreen) {
  auto changed = testing::unitFunction<forms::PropertyChangedFunction>(forms::kSuperBtnType,
                                                                       forms::kPropertyChanged);
  const forms::PropertyValue red{RGB(255, 0, 0), 0};
  for (int32_t systemColours : {1, 0}) {
    SCOPED_TRACE(systemColours);
    UnitHost host;
    moveAway(host.window());
    forms::SuperBtnProperties properties = flatButton();
    properties.caption = "WW";
    properties.font = testing::boldFont(26);
    properties.useSystemColours = systemColours;
    forms::LiveUnit* unit = host.create(properties, kButton);
    const std::vector<COLORREF> before = buttonPixels(host.window());
    EXPECT_EQ(changed(unit, forms::ownIndexOf(forms::SuperBtnProperty::kTextColour), &red, 0), 0);
    pumpMessages();
    const std::vector<COLORREF> after = buttonPixels(host.window());
    if (systemColours) {
      EXPECT_EQ(after, before);
    } else {
      EXPECT_NE(after, before) << "without system colours the caption turns red";
    }
  }
}

TEST(SuperBtn, AQuickSecondClickIsOneMoreClick) {
  UnitHost host;
  forms::SuperBtnProperties properties = flatButton();
  properties.checkBoxMode = 1;
  HWND button = UnitHost::windowOf(host.create(properties, kButton));
  SetForegroundWindow(host.window());
  const POINT middle = screenPoint(host.window(), {80, 35});
  testing::clickAt(middle);
  testing::clickAt(middle);  // well within the double-click time
  const auto& events = recorder().events;
  EXPECT_EQ(std::count_if(events.begin(), events.end(),
                          [](auto& e) { return e.event == forms::super_btn_event::kClicked; }),
            2);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), 0) << "checked and unchecked again";
  moveAway(host.window());
}

TEST(SuperBtn, LighteningMovesEveryChannelByTheSameStep) {
  EXPECT_EQ(lightenColour(RGB(100, 200, 240), 32), RGB(115, 215, 255));
  EXPECT_EQ(lightenColour(RGB(10, 50, 90), -32), RGB(0, 40, 80));
  EXPECT_EQ(lightenColour(RGB(10, 50, 90), 300), RGB(10, 50, 90));
}

TEST(SuperBtn, CheckBoxModeAndDefaultButtonChangesNeedANewUnit) {
  UnitHost host;
  forms::LiveUnit* unit = host.create(flatButton(), kButton);
  auto changed = testing::unitFunction<forms::PropertyChangedFunction>(forms::kSuperBtnType,
                                                                       forms::kPropertyChanged);
  const forms::PropertyValue off{0, 0};
  const forms::PropertyValue on{1, 0};
  EXPECT_EQ(changed(unit, forms::ownIndexOf(forms::SuperBtnProperty::kCheckBoxMode), &off, 0), 0)
      << "unchanged check-box mode";
  EXPECT_EQ(changed(unit, forms::ownIndexOf(forms::SuperBtnProperty::kCheckBoxMode), &on, 0), 1);
  EXPECT_EQ(changed(unit, forms::ownIndexOf(forms::SuperBtnProperty::kDefaultButton), &off, 0), 1)
      << "the default flag always";
  const forms::PropertyValue red{RGB(255, 0, 0), 0};
  EXPECT_EQ(changed(unit, forms::ownIndexOf(forms::SuperBtnProperty::kTextColour), &red, 0), 0);
  const forms::PropertyValue style{7, 0};
  EXPECT_EQ(changed(unit, forms::ownIndexOf(forms::SuperBtnProperty::kStyle), &style, 0), 0);
  auto read = testing::unitFunction<forms::ReadPropertyFunction>(forms::kSuperBtnType,
                                                                 forms::kReadProperty);
  forms::PropertyValue got{};
  ASSERT_EQ(read(unit, forms::ownIndexOf(forms::SuperBtnProperty::kStyle), &got), 1);
  EXPECT_EQ(got.first, 2u) << "the style is clamped";
}

TEST(SuperBtn, ABlockOfVersionThreeCreatesNoUnit) {
  UnitHost host;
  forms::Bytes block = forms::writePropertyBlock(forms::SuperBtnProperties{});
  block[0] = 3;
  EXPECT_EQ(host.create(forms::kSuperBtnType, block, kButton), nullptr);
}

}  // namespace
}  // namespace velmora::controls
