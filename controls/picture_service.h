// The picture service: the bytes of a picture file (PNG, JPEG, GIF or BMP) decoded into 32-bit
// pixels. Data that cannot be decoded gives no picture; nothing in the bytes can crash it or make
// it allocate more than a picture of the largest allowed size.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velmora::controls {

// Rows from the top, each pixel 0xAARRGGBB with the colour premultiplied by its alpha (the form
// the window system blends).
struct Picture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint32_t> pixels;
};

inline constexpr uint32_t kLargestPictureSide = 8192;
inline constexpr uint64_t kLargestPicturePixels = 16u * 1024 * 1024;

// The still picture the bytes hold: an animation gives its first frame. Nothing for bytes that
// are no picture, a broken picture, or one larger than the limits above.
std::optional<Picture> decodePicture(std::span<const uint8_t> bytes);

// One step of an animation: the whole picture as it shows, and for how long.
struct AnimationFrame {
  Picture picture;
  uint32_t milliseconds = 0;
};

// The frames of an animated picture in the order they show; a still picture gives one frame,
// bytes that are no picture none. An animation that breaks after its first frame gives the
// frames before the break. All frames together hold no more pixels than the largest allowed
// picture: the frames beyond are left out.
std::vector<AnimationFrame> decodeAnimation(std::span<const uint8_t> bytes);

namespace picture_decoding {

bool sizeAllowed(uint64_t width, uint64_t height);
// A picture of that size, every pixel transparent.
Picture blankPicture(uint32_t width, uint32_t height);
uint32_t premultiplied(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue);

std::optional<Picture> decodePng(std::span<const uint8_t> bytes);
std::optional<Picture> decodeJpeg(std::span<const uint8_t> bytes);
std::optional<Picture> decodeGif(std::span<const uint8_t> bytes);
// At most `mostFrames` frames of a GIF, within the pixel limit.
std::vector<AnimationFrame> decodeGifFrames(std::span<const uint8_t> bytes, size_t mostFrames);
std::optional<Picture> decodeBmp(std::span<const uint8_t> bytes);

}  // namespace picture_decoding
}  // namespace velmora::controls
