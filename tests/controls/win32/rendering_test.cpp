// Units drawn on the screen, checked at chosen pixels.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/picture_service.h"
#include "tests/controls/picture_files.h"
#include "tests/controls/win32/unit_host.h"

namespace velmora::controls {
namespace {

using testing::kHostBackground;
using testing::ScreenCapture;
using testing::UnitHost;

constexpr COLORREF kBlue = RGB(20, 40, 220);

TEST(UnitRendering, LabelFillsItsBackgroundUnlessItsEffectIsTransparent) {
  UnitHost host;
  forms::LabelProperties label;
  label.caption = "";
  label.backgroundColour = kBlue;
  host.create(label, {10, 10, 110, 50});
  label.effect = 4;
  host.create(label, {10, 60, 110, 100});
  ScreenCapture screen(host.window());
  EXPECT_EQ(screen.at(50, 30), kBlue);
  EXPECT_EQ(screen.at(50, 80), kHostBackground) << "effect 4 shows the window behind the label";
}

TEST(UnitRendering, LabelDrawsAGradientOnlyWithTwoColoursSet) {
  UnitHost host;
  forms::LabelProperties label;
  label.caption = "";
  label.backgroundColour = kBlue;
  label.gradientMode = 1;  // left to right
  label.gradientColour1 = RGB(0, 0, 0);
  label.gradientColour2 = RGB(255, 255, 255);
  label.gradientColour3 = forms::kDefaultColour;
  host.create(label, {10, 10, 110, 50});
  label.gradientColour2 = forms::kDefaultColour;
  host.create(label, {10, 60, 110, 100});
  ScreenCapture screen(host.window());
  EXPECT_EQ(screen.at(10, 30), RGB(0, 0, 0));
  EXPECT_EQ(screen.at(109, 30), RGB(255, 255, 255));
  EXPECT_EQ(screen.at(60, 80), kBlue) << "one colour set: no gradient";
}

TEST(UnitRendering, LabelCaptionFollowsItsAlignment) {
  UnitHost host;
  forms::LabelProperties label;
  label.caption = "WWW";
  label.backgroundColour = RGB(0, 0, 0);
  label.textColour = RGB(255, 255, 255);
  label.horizontalAlignment = 2;  // right
  host.create(label, {10, 10, 210, 40});
  ScreenCapture screen(host.window());
  int left = 0;
  int right = 0;
  for (int y = 10; y < 40; ++y) {
    for (int x = 10; x < 210; ++x) {
      if (GetGValue(screen.at(x, y)) < 128) continue;  // the bright text, smoothed or not
      (x < 110 ? left : right) += 1;
    }
  }
  EXPECT_EQ(left, 0);
  EXPECT_GT(right, 20) << "the caption drawn at the right";
}

TEST(UnitRendering, PaintedFrameOfTheLabel) {
  UnitHost host;
  forms::LabelProperties label;
  label.caption = "";
  label.border = 6;
  label.frameWidth = 8;
  label.frameColour1 = RGB(0, 0, 0);
  label.frameColour2 = RGB(255, 255, 255);
  label.frameColour3 = forms::kDefaultColour;
  label.backgroundColour = kBlue;
  host.create(label, {10, 10, 110, 60});
  ScreenCapture screen(host.window());
  EXPECT_EQ(screen.at(10, 30), RGB(0, 0, 0)) << "outer edge";
  EXPECT_EQ(screen.at(17, 30), RGB(255, 255, 255)) << "inner edge";
  EXPECT_EQ(screen.at(18, 30), kBlue) << "inside the frame";
}

bool clearlyDiffers(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
             std::abs(GetBValue(a) - GetBValue(b)) >
         160;
}

// The bounding box of the pixels that clearly differ from `background` in a rectangle (the
// soft edges of a scaled picture left out).
RECT drawnBounds(const ScreenCapture& screen, RECT within, COLORREF background) {
  RECT bounds{within.right, within.bottom, within.left, within.top};
  for (int y = within.top; y < within.bottom; ++y) {
    for (int x = within.left; x < within.right; ++x) {
      if (!clearlyDiffers(screen.at(x, y), background)) continue;
      bounds = {std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                std::max<LONG>(bounds.right, x + 1), std::max<LONG>(bounds.bottom, y + 1)};
    }
  }
  return bounds;
}

TEST(UnitRendering, PictureBoxScalesALargePictureDownToFitAndCentresIt) {
  const forms::Bytes logo = testing::pictureFile("logo.png");
  auto decoded = decodePicture(logo);
  ASSERT_TRUE(decoded);
  // The logo's own visible extent, at natural size.
  RECT visible{90, 90, 0, 0};
  for (int y = 0; y < 90; ++y) {
    for (int x = 0; x < 90; ++x) {
      // Clearly visible on white: dark enough after blending.
      const uint32_t pixel = decoded->pixels[y * 90 + x];
      const int alpha = pixel >> 24;
      const int shown =
          3 * (255 - alpha) + (pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF);
      if (3 * 255 - shown <= 160) continue;
      visible = {std::min<LONG>(visible.left, x), std::min<LONG>(visible.top, y),
                 std::max<LONG>(visible.right, x + 1), std::max<LONG>(visible.bottom, y + 1)};
    }
  }
  UnitHost host;
  forms::PicBoxProperties box;
  box.backgroundColour = RGB(255, 255, 255);
  box.picture = logo;
  box.displayMode = 2;
  host.create(box, {100, 13, 200, 85});  // 100 x 72, as on the login window
  ScreenCapture screen(host.window());
  const RECT drawn = drawnBounds(screen, {100, 13, 200, 85}, RGB(255, 255, 255));
  // 72 / 90 = 0.8, placed at x = 100 + (100 - 72) / 2 = 114, y = 13.
  auto expected = [](int at, int offset) { return offset + at * 4 / 5; };
  EXPECT_NEAR(drawn.left, expected(visible.left, 114), 2);
  EXPECT_NEAR(drawn.right, expected(visible.right, 114), 2);
  EXPECT_NEAR(drawn.top, expected(visible.top, 13), 2);
  EXPECT_NEAR(drawn.bottom, expected(visible.bottom, 13), 2);
}

TEST(UnitRendering, PictureBoxShowsASmallPictureAtNaturalSize) {
  UnitHost host;
  forms::PicBoxProperties box;
  box.backgroundColour = RGB(255, 255, 255);
  box.picture = testing::pictureFile("support-badge.png");
  box.displayMode = 0;
  host.create(box, {40, 40, 64, 64});
  ScreenCapture screen(host.window());
  const RECT drawn = drawnBounds(screen, {40, 40, 64, 64}, RGB(255, 255, 255));
  EXPECT_GE(drawn.left, 40);
  EXPECT_LE(drawn.right, 60) << "the 20 x 20 badge stays at the top-left";
  EXPECT_LE(drawn.bottom, 60);
  EXPECT_GT(drawn.right, drawn.left);
}

// The pixels of a part of the host that differ between two captures.
int changedPixels(const ScreenCapture& before, const ScreenCapture& after, RECT within) {
  int count = 0;
  for (int y = within.top; y < within.bottom; ++y) {
    for (int x = within.left; x < within.right; ++x) count += before.at(x, y) != after.at(x, y);
  }
  return count;
}

TEST(UnitRendering, PictureBoxPlaysAnAnimationInModeThreeOnly) {
  UnitHost host;
  forms::PicBoxProperties box;
  box.backgroundColour = RGB(255, 255, 255);
  box.picture = testing::pictureFile("payment-animation.gif");
  box.displayMode = 3;
  host.create(box, {20, 20, 84, 76});
  box.displayMode = 1;  // stretched, still
  host.create(box, {120, 20, 184, 76});
  const ScreenCapture first(host.window(), testing::Capture::asShown);
  int playing = 0;
  int still = 0;
  for (int sample = 0; sample < 4; ++sample) {
    Sleep(150);
    const ScreenCapture later(host.window(), testing::Capture::asShown);
    playing = std::max(playing, changedPixels(first, later, {20, 20, 84, 76}));
    still = std::max(still, changedPixels(first, later, {120, 20, 184, 76}));
  }
  EXPECT_GT(playing, 100) << "the coin turns";
  EXPECT_EQ(still, 0);
}

TEST(UnitRendering, AnimationBoxShowsTheFirstFrameOfItsPicture) {
  UnitHost host;
  forms::CartoonBoxProperties box;
  box.backgroundColour = RGB(255, 255, 255);
  box.backgroundPicture = testing::pictureFile("payment-animation.gif");
  host.create(box, {20, 20, 84, 76});  // 64 x 56
  ScreenCapture screen(host.window());
  const RECT drawn = drawnBounds(screen, {20, 20, 84, 76}, RGB(255, 255, 255));
  EXPECT_GT(drawn.right - drawn.left, 20) << "a coin shows in the top-left cell";
}

TEST(UnitRendering, ShapeBoxDrawsAFilledRectangleWithItsLine) {
  UnitHost host;
  forms::ShapeBoxProperties shape;
  shape.backgroundColour = kBlue;
  shape.lineColour = RGB(255, 255, 255);
  shape.fillColour = RGB(0, 200, 0);
  host.create(shape, {10, 10, 110, 60});
  shape.shape = 3;  // a circle, in a centred square
  shape.fillColour = forms::kDefaultColour;
  host.create(shape, {10, 100, 110, 140});
  ScreenCapture screen(host.window());
  EXPECT_EQ(screen.at(10, 30), RGB(255, 255, 255)) << "the line along the edge";
  EXPECT_EQ(screen.at(60, 35), RGB(0, 200, 0)) << "the fill";
  EXPECT_EQ(screen.at(20, 120), kBlue) << "outside the circle";
  EXPECT_EQ(screen.at(60, 120), kBlue) << "no fill";
  EXPECT_EQ(screen.at(60, 100), RGB(255, 255, 255)) << "the top of the circle";
}

}  // namespace
}  // namespace velmora::controls
