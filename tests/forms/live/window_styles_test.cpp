#include "forms/live/window_styles.h"

#include <gtest/gtest.h>

namespace velmora::forms {
namespace {

using namespace window_style;

WindowCreation creation() {
  return WindowCreation{.left = 10,
                        .top = 20,
                        .width = 300,
                        .height = 200,
                        .screenWidth = 1280,
                        .screenHeight = 1024};
}

WindowProperties properties(int32_t border, const char* caption, int32_t controlButton) {
  WindowProperties p;
  p.border = border;
  p.caption = caption;
  p.controlButton = controlButton;
  p.minimizeButton = 0;
  p.position = 0;
  return p;
}

TEST(WindowStyles, BordersGiveFramesCaptionsAndExtendedStyles) {
  struct Case {
    int32_t border;
    const char* caption;
    int32_t controlButton;
    uint32_t style;
    uint32_t extended;
  };
  const Case cases[] = {
      {0, "title", 1, kClipChildren, 0},
      {1, "title", 0, kClipChildren | kCaption | kDialogFrame | kThickFrame, 0},
      {2, "", 0, kClipChildren | kDialogFrame, 0},
      {2, "", 1, kClipChildren | kCaption | kSystemMenu | kDialogFrame, 0},
      {3, "t", 0, kClipChildren | kCaption | kDialogFrame | kThickFrame, kToolWindow},
      {4, "t", 0, kClipChildren | kCaption | kDialogFrame, kToolWindow},
      {5, "t", 0, kClipChildren | kCaption | kDialogFrame | kThickFrame, kClientEdge},
      {6, "t", 0, kClipChildren | kCaption | kDialogFrame, kClientEdge},
  };
  for (const Case& c : cases) {
    const WindowPlacement placement =
        windowPlacement(properties(c.border, c.caption, c.controlButton), creation());
    EXPECT_EQ(placement.style, c.style) << "border " << c.border;
    EXPECT_EQ(placement.extendedStyle, c.extended) << "border " << c.border;
  }
}

TEST(WindowStyles, ButtonsPositionAndParent) {
  WindowProperties p = properties(1, "t", 1);
  p.maximizeButton = 1;
  p.minimizeButton = 1;
  p.position = 1;
  WindowCreation at = creation();
  at.callerStyle = kDisabled;
  WindowPlacement placement = windowPlacement(p, at);
  EXPECT_TRUE(placement.style & kMaximizeBox);
  EXPECT_TRUE(placement.style & kMinimizeBox);
  EXPECT_TRUE(placement.style & kDisabled);
  EXPECT_EQ(placement.left, 490);
  EXPECT_EQ(placement.top, 412);
  p.position = 3;
  EXPECT_TRUE(windowPlacement(p, at).style & kMaximized);
  p.border = 2;  // no thick frame: no maximized start
  EXPECT_FALSE(windowPlacement(p, at).style & kMaximized);
  p.position = 2;
  EXPECT_TRUE(windowPlacement(p, at).style & kMinimized);
  at.callerStyle = kChild;
  at.hasParent = true;
  placement = windowPlacement(p, at);
  EXPECT_TRUE(placement.style & kPopup);
  EXPECT_FALSE(placement.style & kChild);
  EXPECT_EQ(placement.left, 10);
}

TEST(WindowStyles, TheHiddenOwnerOwnsModalWindowsAndWindowsOutsideTheTaskBar) {
  WindowProperties p = properties(2, "t", 1);
  WindowCreation at = creation();
  at.hiddenOwnerExists = true;
  EXPECT_FALSE(windowPlacement(p, at).ownedByHiddenOwner);
  EXPECT_FALSE(windowPlacement(p, at).extendedStyle & kAppWindow);
  at.loadingModally = true;
  EXPECT_TRUE(windowPlacement(p, at).ownedByHiddenOwner);
  // Owned, it still asks the task bar for its button.
  EXPECT_TRUE(windowPlacement(p, at).extendedStyle & kAppWindow);
  p.showInTaskBar = 0;
  EXPECT_FALSE(windowPlacement(p, at).extendedStyle & kAppWindow);
  at.loadingModally = false;
  EXPECT_TRUE(windowPlacement(p, at).ownedByHiddenOwner);
  at.hasParent = true;
  EXPECT_FALSE(windowPlacement(p, at).ownedByHiddenOwner);
  at.hasParent = false;
  at.hiddenOwnerExists = false;
  EXPECT_FALSE(windowPlacement(p, at).ownedByHiddenOwner);
}

}  // namespace
}  // namespace velmora::forms
