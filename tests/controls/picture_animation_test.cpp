// The frames of an animated picture: what each frame shows, for how long, and how many there can
// be.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include "controls/picture_service.h"
#include "tests/controls/picture_files.h"

namespace velmora::controls {
namespace {

using testing::pictureFile;

// Colour indices of the palette of the GIF files made here.
constexpr uint8_t kBlack = 0;
constexpr uint8_t kRed = 1;
constexpr uint8_t kBlue = 2;
constexpr uint8_t kWhite = 3;

struct GifFrame {
  int left;
  int top;
  int width;
  int height;
  std::vector<uint8_t> indices;  // rows from the top
  int disposal = 0;
  int delayCentiseconds = 0;
};

int appendToVector(GifFileType* gif, const GifByteType* bytes, int count) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + count);
  return count;
}

// A GIF file of the frames, written with giflib's encoder.
std::vector<uint8_t> gifFile(int width, int height, const std::vector<GifFrame>& frames) {
  std::vector<uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, appendToVector, &error);
  EGifSetGifVersion(gif, true);
  const GifColorType colours[] = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {255, 255, 255}};
  ColorMapObject* palette = GifMakeMapObject(4, colours);
  EGifPutScreenDesc(gif, width, height, 8, 0, palette);
  GifFreeMapObject(palette);
  for (const GifFrame& frame : frames) {
    GraphicsControlBlock control{frame.disposal, false, frame.delayCentiseconds,
                                 NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension);
    EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, false, nullptr);
    std::vector<GifPixelType> indices(frame.indices.begin(), frame.indices.end());
    for (int y = 0; y < frame.height; ++y) EGifPutLine(gif, &indices[y * frame.width], frame.width);
  }
  EGifCloseFile(gif, &error);
  return bytes;
}

constexpr uint32_t kOpaqueRed = 0xFFFF0000;
constexpr uint32_t kOpaqueBlue = 0xFF0000FF;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;

TEST(PictureAnimation, PlaysEveryFrameOfTheProgramsAnimation) {
  const auto bytes = pictureFile("payment-animation.gif");
  const auto frames = decodeAnimation(bytes);
  ASSERT_EQ(frames.size(), 30u);
  size_t changes = 0;
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].picture.width, 200u);
    EXPECT_EQ(frames[i].picture.height, 200u);
    EXPECT_EQ(frames[i].milliseconds, 60u) << "six hundredths a frame";
    if (i > 0) changes += frames[i].picture.pixels != frames[i - 1].picture.pixels;
  }
  EXPECT_GE(changes, 25u) << "the coin turns from frame to frame";
  EXPECT_EQ(frames[0].picture.pixels, decodePicture(bytes)->pixels) << "the still picture";
}

// A white screen; then red on the left half, disposed as the case says; then blue on the right.
TEST(PictureAnimation, TheDisposalOfAFrameDecidesWhatTheNextOneBuildsOn) {
  struct Case {
    int disposal;
    uint32_t leftAfterwards;
  };
  const Case cases[] = {{1, kOpaqueRed}, {2, 0u}, {3, kOpaqueWhite}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.disposal);
    const auto bytes = gifFile(4, 1,
                               {{0, 0, 4, 1, {kWhite, kWhite, kWhite, kWhite}},
                                {0, 0, 2, 1, {kRed, kRed}, c.disposal},
                                {2, 0, 2, 1, {kBlue, kBlue}}});
    const auto frames = decodeAnimation(bytes);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1].picture.pixels,
              (std::vector<uint32_t>{kOpaqueRed, kOpaqueRed, kOpaqueWhite, kOpaqueWhite}));
    EXPECT_EQ(frames[2].picture.pixels[0], c.leftAfterwards);
    EXPECT_EQ(frames[2].picture.pixels[3], kOpaqueBlue);
  }
}

TEST(PictureAnimation, FramesShowForTheirDelayAndANoDelayFrameForATenth) {
  const auto bytes = gifFile(1, 1, {{0, 0, 1, 1, {kBlack}, 0, 0}, {0, 0, 1, 1, {kRed}, 0, 7}});
  const auto frames = decodeAnimation(bytes);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].milliseconds, 100u);
  EXPECT_EQ(frames[1].milliseconds, 70u);
}

TEST(PictureAnimation, ABrokenAnimationKeepsTheFramesBeforeTheBreak) {
  auto bytes = pictureFile("payment-animation.gif");
  bytes.resize(bytes.size() * 2 / 3);
  const auto frames = decodeAnimation(bytes);
  EXPECT_GE(frames.size(), 1u);
  EXPECT_LT(frames.size(), 30u);
  EXPECT_TRUE(decodeAnimation(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 40)).empty());
}

TEST(PictureAnimation, AllFramesTogetherStayWithinThePixelLimit) {
  // Each frame is a whole 2048 x 2048 picture: four of them reach the limit.
  std::vector<GifFrame> frames(6, GifFrame{0, 0, 1, 1, {kRed}});
  const auto decoded = decodeAnimation(gifFile(2048, 2048, frames));
  EXPECT_EQ(decoded.size(), 4u);
}

TEST(PictureAnimation, AStillPictureIsOneFrameAndNoPictureNone) {
  const auto logo = decodeAnimation(pictureFile("logo.png"));
  ASSERT_EQ(logo.size(), 1u);
  EXPECT_EQ(logo[0].picture.width, 90u);
  EXPECT_TRUE(decodeAnimation(std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}).empty());
}

}  // namespace
}  // namespace velmora::controls
