// The super button's pictures: where they go beside the caption, their transparent colour, the
// pressed offset, the grayed picture of a disabled button, and the rounded face.
#include <gtest/gtest.h>

#include "tests/controls/bmp_file.h"
#include "tests/controls/win32/super_btn_sample.h"
#include "tests/controls/win32/unit_host.h"

namespace velmora::controls {
namespace {

using testing::Capture;
using testing::flatButton;
using testing::kHoverBackground;
using testing::kNormalBackground;
using testing::pixelBounds;
using testing::pumpMessages;
using testing::ScreenCapture;
using testing::UnitHost;

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kRed = RGB(230, 20, 20);
constexpr COLORREF kGreen = RGB(20, 160, 20);
// A button 120 x 40, at (20, 20) of the host.
constexpr RECT kWide{20, 20, 140, 60};

uint32_t asRgb(COLORREF colour) {
  return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

// A square of one colour, `side` pixels, inside a border of the key colour `border` wide.
forms::Bytes framedSquare(int side, int border, COLORREF colour) {
  const int whole = side + 2 * border;
  return testing::bmpFile(whole, whole, [=](int x, int y) {
    const bool inside = x >= border && y >= border && x < border + side && y < border + side;
    return asRgb(inside ? colour : kKey);
  });
}

bool isRed(COLORREF pixel) {
  return pixel == kRed;
}

// The white caption, smoothed edges left out.
bool isCaption(COLORREF pixel) {
  return GetRValue(pixel) > 200 && GetGValue(pixel) > 200 && GetBValue(pixel) > 200;
}

int countOf(const ScreenCapture& screen, RECT area, COLORREF colour) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += screen.at(x, y) == colour;
  }
  return count;
}

// Inside the button's edge, where only its face, picture and caption are.
RECT insideEdge(RECT button) {
  return {button.left + 2, button.top + 2, button.right - 2, button.bottom - 2};
}

void press(forms::LiveUnit* unit) {
  SendMessageW(UnitHost::windowOf(unit), BM_SETSTATE, TRUE, 0);
  pumpMessages();
}

TEST(SuperBtnPictures, TheTransparentColourLetsTheFaceShowThrough) {
  struct Case {
    int32_t transparent;
    bool keyShows;
  };
  // The default marker takes the top-left pixel, which is the key colour here.
  const Case cases[] = {
      {forms::kDefaultColour, false}, {int32_t(kKey), false}, {RGB(1, 2, 3), true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.transparent);
    UnitHost host;
    testing::moveAway(host.window());
    forms::SuperBtnProperties properties = flatButton();
    properties.caption = "";
    properties.normalPicture = framedSquare(10, 3, kRed);
    properties.normalTransparentColour = c.transparent;
    host.create(properties, kWide);
    ScreenCapture screen(host.window());
    EXPECT_EQ(countOf(screen, kWide, kRed), 100);
    EXPECT_EQ(countOf(screen, kWide, kKey), c.keyShows ? 16 * 16 - 100 : 0);
  }
}

TEST(SuperBtnPictures, AnEmptyOrUndecodablePictureRemovesThePicture) {
  const forms::Bytes undecodable = {'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
  for (const forms::Bytes& written : {forms::Bytes{}, undecodable}) {
    SCOPED_TRACE(written.size());
    UnitHost host;
    testing::moveAway(host.window());
    forms::SuperBtnProperties properties = flatButton();
    properties.caption = "";
    properties.normalPicture = framedSquare(10, 3, kRed);
    forms::LiveUnit* unit = host.create(properties, kWide);
    ASSERT_EQ(countOf(ScreenCapture(host.window()), kWide, kRed), 100);
    auto changed = testing::unitFunction<forms::PropertyChangedFunction>(forms::kSuperBtnType,
                                                                         forms::kPropertyChanged);
    const forms::PropertyValue picture{reinterpret_cast<uintptr_t>(written.data()),
                                       static_cast<uint32_t>(written.size())};
    EXPECT_EQ(
        changed(unit, forms::ownIndexOf(forms::SuperBtnProperty::kNormalPicture), &picture, 0), 0);
    pumpMessages();
    ScreenCapture screen(host.window());
    EXPECT_EQ(countOf(screen, kWide, kRed), 0);
    EXPECT_EQ(screen.at(kWide.left + 60, kWide.top + 20), kNormalBackground) << "the plain face";
  }
}

TEST(SuperBtnPictures, ThePicturePositionPlacesThePictureAndMovesTheCaption) {
  struct Case {
    int position;
    bool caption;
    POINT picture;       // top-left, from the button's top-left
    POINT captionShift;  // against a caption without a picture
  };
  // A 10 x 10 picture in a 120 x 40 button, with margins of 3.
  const Case cases[] = {
      {0, true, {3, 15}, {6, 0}}, {0, false, {55, 15}, {}},      {1, true, {55, 3}, {0, 5}},
      {1, false, {55, 15}, {}},   {2, true, {107, 15}, {-5, 0}}, {2, false, {55, 0}, {}},
      {3, true, {0, 0}, {0, 0}},  {3, false, {0, 0}, {}},
  };
  UnitHost host;
  testing::moveAway(host.window());
  forms::SuperBtnProperties plain = flatButton();
  plain.caption = "W";
  plain.font = testing::boldFont(20);
  host.create(plain, kWide);
  const RECT captionAlone = pixelBounds(ScreenCapture(host.window()), insideEdge(kWide), isCaption);
  DestroyWindow(GetWindow(host.window(), GW_CHILD));
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "position " << c.position << (c.caption ? " with" : " without") << " caption");
    forms::SuperBtnProperties properties = plain;
    if (!c.caption) properties.caption = "";
    properties.normalPicture = framedSquare(10, 0, kRed);
    properties.normalTransparentColour = kKey;  // none of its pixels
    properties.picturePosition = c.position;
    forms::LiveUnit* unit = host.create(properties, kWide);
    ScreenCapture screen(host.window());
    const RECT picture = pixelBounds(screen, kWide, isRed);
    EXPECT_EQ(picture.left - kWide.left, c.picture.x);
    EXPECT_EQ(picture.top - kWide.top, c.picture.y);
    EXPECT_EQ(picture.right - picture.left, 9) << "the whole picture";
    if (c.caption) {
      const RECT caption = pixelBounds(screen, insideEdge(kWide), isCaption);
      EXPECT_NEAR(caption.left - captionAlone.left, c.captionShift.x, 1);
      EXPECT_EQ(caption.top - captionAlone.top, c.captionShift.y);
    }
    DestroyWindow(UnitHost::windowOf(unit));
  }
}

TEST(SuperBtnPictures, PressingMovesCaptionAndPictureByThePressedOffset) {
  struct Case {
    int offset;
    POINT shift;
  };
  const Case cases[] = {{0, {1, 1}}, {1, {0, 2}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    UnitHost host;
    testing::moveAway(host.window());
    forms::SuperBtnProperties properties = flatButton();
    properties.caption = "W";
    properties.font = testing::boldFont(20);
    properties.normalPicture = framedSquare(10, 0, kRed);
    properties.normalTransparentColour = kKey;
    properties.pressedOffset = c.offset;
    forms::LiveUnit* unit = host.create(properties, kWide);
    ScreenCapture up(host.window());
    press(unit);
    ScreenCapture down(host.window(), Capture::asShown);
    const RECT captionUp = pixelBounds(up, insideEdge(kWide), isCaption);
    const RECT captionDown = pixelBounds(down, insideEdge(kWide), isCaption);
    EXPECT_EQ(captionDown.left - captionUp.left, c.shift.x);
    EXPECT_EQ(captionDown.top - captionUp.top, c.shift.y);
    const RECT pictureUp = pixelBounds(up, kWide, isRed);
    const RECT pictureDown = pixelBounds(down, kWide, isRed);
    EXPECT_EQ(pictureDown.left - pictureUp.left, c.shift.x);
    EXPECT_EQ(pictureDown.top - pictureUp.top, c.shift.y);
  }
}

TEST(SuperBtnPictures, ADisabledButtonWithoutADisabledPictureDrawsItsPictureGrayed) {
  UnitHost host;
  testing::moveAway(host.window());
  forms::SuperBtnProperties properties = flatButton();
  properties.caption = "";
  properties.normalPicture = framedSquare(12, 2, kRed);
  forms::LiveUnit* unit = host.create(properties, kWide);
  // Centred: the 16 x 16 picture at (52, 12), its red square at (54, 14).
  const RECT square{kWide.left + 54, kWide.top + 14, kWide.left + 66, kWide.top + 26};
  {
    ScreenCapture screen(host.window());
    EXPECT_EQ(countOf(screen, square, kRed), 144);
  }
  EnableWindow(UnitHost::windowOf(unit), FALSE);
  pumpMessages();
  ScreenCapture screen(host.window());
  EXPECT_EQ(countOf(screen, kWide, kRed), 0) << "no colour of the picture";
  EXPECT_EQ(countOf(screen, kWide, kKey), 0);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  EXPECT_EQ(countOf(screen, square, shadow), 144) << "the picture's shape in the shadow colour";
  EXPECT_EQ(screen.at(square.right, square.bottom), GetSysColor(COLOR_BTNHIGHLIGHT))
      << "its highlight copy, one pixel below and right";
  EXPECT_EQ(screen.at(square.left - 1, square.top - 1), kNormalBackground);
}

TEST(SuperBtnPictures, ADisabledButtonShowsItsDisabledPictureAsItIs) {
  UnitHost host;
  testing::moveAway(host.window());
  forms::SuperBtnProperties properties = flatButton();
  properties.caption = "";
  properties.normalPicture = framedSquare(12, 2, kRed);
  properties.disabledPicture = framedSquare(12, 2, kGreen);
  forms::LiveUnit* unit = host.create(properties, kWide);
  EnableWindow(UnitHost::windowOf(unit), FALSE);
  pumpMessages();
  ScreenCapture screen(host.window());
  EXPECT_EQ(countOf(screen, kWide, kGreen), 144);
  EXPECT_EQ(countOf(screen, kWide, kRed), 0);
}

TEST(SuperBtnPictures, TheRoundedStyleDrawsAnOutlinedRoundFaceWithoutTheFlatEdge) {
  const COLORREF black = RGB(0, 0, 0);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  for (int style : {2, 0}) {
    SCOPED_TRACE(style);
    UnitHost host;
    testing::moveAway(host.window());
    forms::SuperBtnProperties properties = flatButton();
    properties.caption = "";
    properties.style = style;
    press(host.create(properties, kWide));
    ScreenCapture screen(host.window(), Capture::asShown);
    const int middleX = (kWide.left + kWide.right) / 2;
    const int middleY = (kWide.top + kWide.bottom) / 2;
    EXPECT_EQ(screen.at(middleX, middleY), kHoverBackground);
    if (style == 2) {
      EXPECT_EQ(screen.at(middleX, kWide.top), black) << "the outline";
      EXPECT_EQ(screen.at(kWide.left, middleY), black);
      EXPECT_EQ(screen.at(kWide.left, kWide.top), kNormalBackground) << "a round corner";
    } else {
      EXPECT_EQ(screen.at(middleX, kWide.top), shadow) << "the sunken flat edge";
      EXPECT_EQ(screen.at(kWide.left, kWide.top), shadow);
    }
  }
}

}  // namespace
}  // namespace velmora::controls
