#include "controls/picture_service.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>

#include "tests/controls/picture_files.h"

namespace velmora::controls {
namespace {

using testing::pictureFile;

uint32_t alphaOf(uint32_t pixel) {
  return pixel >> 24;
}

std::vector<uint8_t> solidJpeg(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long length = 0;
  jpeg_mem_dest(&info, &out, &length);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row;
  for (int x = 0; x < width; ++x) row.insert(row.end(), {red, green, blue});
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(out, out + length);
  jpeg_destroy_compress(&info);
  free(out);
  return bytes;
}

// A 3 x 2 BMP of 24 bits, bottom-up: bottom row red, green, blue; top row white.
std::vector<uint8_t> smallBmp() {
  std::vector<uint8_t> bytes = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                                0,   0,   0, 3, 0, 0, 0, 2, 0, 0, 0,  1, 0, 24, 0};
  bytes.resize(54, 0);
  const uint8_t bottom[] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0};
  const uint8_t top[] = {255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0};
  bytes.insert(bytes.end(), std::begin(bottom), std::end(bottom));
  bytes.insert(bytes.end(), std::begin(top), std::end(top));
  return bytes;
}

TEST(PictureService, DecodesThePngPicturesOfTheWindows) {
  auto logo = decodePicture(pictureFile("logo.png"));
  ASSERT_TRUE(logo);
  EXPECT_EQ(logo->width, 90u);
  EXPECT_EQ(logo->height, 90u);
  EXPECT_EQ(logo->pixels[0], 0u) << "the corner of the logo is transparent";
  bool hasOpaqueRed = false;
  for (uint32_t pixel : logo->pixels) {
    hasOpaqueRed |= alphaOf(pixel) == 0xFF && (pixel >> 16 & 0xFF) > 0xC0 && (pixel & 0xFF) < 0x60;
    EXPECT_LE(pixel >> 16 & 0xFF, alphaOf(pixel)) << "colours are premultiplied";
  }
  EXPECT_TRUE(hasOpaqueRed);

  auto code = decodePicture(pictureFile("deposit-code.png"));
  ASSERT_TRUE(code);
  EXPECT_EQ(code->width, 132u);
  EXPECT_EQ(code->height, 134u);
}

TEST(PictureService, DecodesTheFirstFrameOfTheGifAnimation) {
  auto animation = decodePicture(pictureFile("payment-animation.gif"));
  ASSERT_TRUE(animation);
  EXPECT_EQ(animation->width, 200u);
  EXPECT_EQ(animation->height, 200u);
  size_t opaque = 0;
  for (uint32_t pixel : animation->pixels) opaque += alphaOf(pixel) == 0xFF;
  EXPECT_GT(opaque, 1000u) << "the first frame shows a coin";
}

TEST(PictureService, DecodesJpegAndBmp) {
  auto jpeg = decodePicture(solidJpeg(16, 8, 200, 30, 30));
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->width, 16u);
  EXPECT_EQ(jpeg->height, 8u);
  const uint32_t middle = jpeg->pixels[4 * 16 + 8];
  EXPECT_EQ(alphaOf(middle), 0xFFu);
  EXPECT_NEAR(static_cast<int>(middle >> 16 & 0xFF), 200, 6);
  EXPECT_NEAR(static_cast<int>(middle & 0xFF), 30, 6);

  auto bmp = decodePicture(smallBmp());
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->width, 3u);
  EXPECT_EQ(bmp->height, 2u);
  EXPECT_EQ(bmp->pixels[0], 0xFFFFFFFFu);
  EXPECT_EQ(bmp->pixels[3], 0xFFFF0000u) << "bottom-up rows: the last stored row is the top";
  EXPECT_EQ(bmp->pixels[4], 0xFF00FF00u);
  EXPECT_EQ(bmp->pixels[5], 0xFF0000FFu);
}

TEST(PictureService, BrokenFilesGiveNoPicture) {
  auto truncated = [](std::vector<uint8_t> bytes, size_t keep) {
    bytes.resize(keep);
    return bytes;
  };
  auto png = pictureFile("logo.png");
  EXPECT_FALSE(decodePicture(truncated(png, png.size() / 2)));
  auto damagedPng = png;
  damagedPng[png.size() / 2] ^= 0x5A;  // breaks the data's checksum
  EXPECT_FALSE(decodePicture(damagedPng));

  auto jpeg = solidJpeg(32, 32, 10, 200, 10);
  EXPECT_FALSE(decodePicture(truncated(jpeg, jpeg.size() - 40)));
  EXPECT_FALSE(decodePicture(truncated(jpeg, 20)));

  auto gif = pictureFile("payment-animation.gif");
  EXPECT_FALSE(decodePicture(truncated(gif, 40)));
  EXPECT_FALSE(decodePicture(truncated(gif, 13)));

  auto bmp = smallBmp();
  EXPECT_FALSE(decodePicture(truncated(bmp, bmp.size() - 1)));
  EXPECT_FALSE(decodePicture(std::vector<uint8_t>{'B', 'M'}));
  EXPECT_FALSE(decodePicture(std::vector<uint8_t>{}));
  EXPECT_FALSE(decodePicture(std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(PictureService, RefusesPicturesLargerThanTheLimit) {
  auto bmp = smallBmp();
  bmp[18] = 0x01;
  bmp[19] = 0x40;  // 16385 pixels wide
  EXPECT_FALSE(decodePicture(bmp));

  auto gif = pictureFile("payment-animation.gif");
  gif[6] = 0xFF;
  gif[7] = 0xFF;  // a logical screen 65535 wide
  EXPECT_FALSE(decodePicture(gif));
}

}  // namespace
}  // namespace velmora::controls
