// The transparent label: what lies behind it is repainted before its text changes, and its
// effects.
#include <gtest/gtest.h>

#include "tests/controls/win32/unit_host.h"

namespace velmora::controls {
namespace {

using testing::Capture;
using testing::kHostBackground;
using testing::pixelBounds;
using testing::pumpMessages;
using testing::ScreenCapture;
using testing::UnitHost;

constexpr COLORREF kTextColour = RGB(20, 40, 220);

// Text is drawn smoothed: its pixels are the text colour mixed with what lies behind.
bool isMostlyTextColour(COLORREF pixel) {
  return GetBValue(pixel) > GetRValue(pixel) + 100;
}

bool isWhitish(COLORREF pixel) {
  return GetRValue(pixel) > 180 && GetGValue(pixel) > 180 && GetBValue(pixel) > 180;
}

void setCaption(forms::LiveUnit* unit, const char* caption) {
  auto changed = testing::unitFunction<forms::PropertyChangedFunction>(forms::kTransLabelType,
                                                                       forms::kPropertyChanged);
  const forms::PropertyValue value{reinterpret_cast<uintptr_t>(caption), 0};
  EXPECT_EQ(changed(unit, forms::ownIndexOf(forms::TransLabelProperty::kCaption), &value, 0), 0);
  pumpMessages();
}

TEST(TransLabel, ShorterCaptionLeavesNoTraceOfTheLongerOne) {
  UnitHost host;
  forms::TransLabelProperties label;
  label.caption = "WWWWWWWWWWWWWWWW";
  label.textColour = kTextColour;
  label.horizontalAlignment = 0;
  const RECT rect{20, 20, 300, 50};
  forms::LiveUnit* unit = host.create(label, rect);
  ASSERT_NE(unit, nullptr);
  const RECT rightPart{120, 20, 300, 50};
  {
    ScreenCapture screen(host.window());
    ASSERT_LE(pixelBounds(screen, rightPart, isMostlyTextColour).left, 200)
        << "the long text is drawn";
    EXPECT_EQ(screen.at(21, 21), kHostBackground) << "no background of its own";
  }
  setCaption(unit, "W");
  ScreenCapture screen(host.window(), Capture::asShown);
  const RECT left = pixelBounds(screen, {20, 20, 120, 50}, isMostlyTextColour);
  EXPECT_LE(left.left, left.right) << "the short text is drawn";
  const RECT right = pixelBounds(screen, rightPart, isMostlyTextColour);
  EXPECT_GT(right.left, right.right) << "no pixel of the long text remains";
}

TEST(TransLabel, ShorterCaptionOnAShapeBoxLeavesTheShapeWhole) {
  UnitHost host;
  forms::ShapeBoxProperties shape;
  shape.fillColour = RGB(250, 250, 40);
  shape.backgroundColour = RGB(250, 250, 40);
  HWND box = UnitHost::windowOf(host.create(shape, {10, 10, 330, 70}));
  forms::TransLabelProperties label;
  label.caption = "WWWWWWWWWWWWWWWW";
  label.textColour = kTextColour;
  forms::LiveUnit* unit = host.create(label, {10, 10, 290, 40}, box);
  ASSERT_NE(unit, nullptr);
  setCaption(unit, "W");
  ScreenCapture screen(host.window(), Capture::asShown);
  const RECT right = pixelBounds(screen, {130, 20, 310, 50}, isMostlyTextColour);
  EXPECT_GT(right.left, right.right) << "no pixel of the long text remains";
  EXPECT_EQ(screen.at(250, 35), RGB(250, 250, 40)) << "the shape shows again";
}

TEST(TransLabel, MovingTheLabelLeavesNoTextBehind) {
  UnitHost host;
  forms::TransLabelProperties label;
  label.caption = "WWWWWW";
  label.textColour = kTextColour;
  HWND window = UnitHost::windowOf(host.create(label, {20, 20, 200, 50}));
  SetWindowPos(window, nullptr, 20, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pumpMessages();
  ScreenCapture screen(host.window(), Capture::asShown);
  const RECT before = pixelBounds(screen, {20, 20, 200, 50}, isMostlyTextColour);
  EXPECT_GT(before.left, before.right) << "the old place shows the background";
  const RECT after = pixelBounds(screen, {20, 120, 200, 150}, isMostlyTextColour);
  EXPECT_LE(after.left, after.right);
}

TEST(TransLabel, EmptyCaptionShowsTheBackgroundWhole) {
  UnitHost host;
  forms::TransLabelProperties label;
  label.textColour = kTextColour;
  forms::LiveUnit* unit = host.create(label, {20, 20, 200, 50});
  setCaption(unit, "");
  ScreenCapture screen(host.window(), Capture::asShown);
  const RECT drawn = pixelBounds(screen, {20, 20, 200, 50}, isMostlyTextColour);
  EXPECT_GT(drawn.left, drawn.right);
}

TEST(TransLabel, SunkenEffectShiftsTheTextOnePixelDownAndRight) {
  UnitHost host;
  forms::TransLabelProperties label;
  label.caption = "Wq";
  label.textColour = kTextColour;
  host.create(label, {20, 20, 200, 50});
  label.effect = 2;
  host.create(label, {20, 80, 200, 110});
  ScreenCapture screen(host.window());
  const RECT plain = pixelBounds(screen, {20, 20, 200, 50}, isMostlyTextColour);
  const RECT sunken = pixelBounds(screen, {20, 80, 200, 110}, isMostlyTextColour);
  ASSERT_LE(plain.left, plain.right);
  EXPECT_EQ(sunken.left, plain.left + 1);
  EXPECT_EQ(sunken.top, plain.top + 60 + 1);
  EXPECT_EQ(sunken.right, plain.right + 1);
  EXPECT_EQ(sunken.bottom, plain.bottom + 60 + 1);
  const RECT white = pixelBounds(screen, {20, 80, 200, 110}, isWhitish);
  EXPECT_LT(white.left, sunken.left) << "the white copy stays in place";
  EXPECT_LT(white.top, sunken.top);
}

TEST(TransLabel, AlignmentChoicesAreClamped) {
  UnitHost host;
  forms::TransLabelProperties label;
  label.horizontalAlignment = 7;
  label.verticalAlignment = -1;
  forms::LiveUnit* unit = host.create(label, {20, 20, 200, 50});
  auto read = testing::unitFunction<forms::ReadPropertyFunction>(forms::kTransLabelType,
                                                                 forms::kReadProperty);
  forms::PropertyValue got{};
  ASSERT_EQ(read(unit, forms::ownIndexOf(forms::TransLabelProperty::kHorizontalAlignment), &got),
            1);
  EXPECT_EQ(got.first, 2u);
  ASSERT_EQ(read(unit, forms::ownIndexOf(forms::TransLabelProperty::kVerticalAlignment), &got), 1);
  EXPECT_EQ(got.first, 0u);
}

}  // namespace
}  // namespace velmora::controls
