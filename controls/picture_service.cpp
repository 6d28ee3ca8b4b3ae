// Chooses the decoder by the file's signature.
#include "controls/picture_service.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace velmora::controls {
namespace picture_decoding {

bool sizeAllowed(uint64_t width, uint64_t height) {
  return width > 0 && height > 0 && width <= kLargestPictureSide && height <= kLargestPictureSide &&
         width * height <= kLargestPicturePixels;
}

Picture blankPicture(uint32_t width, uint32_t height) {
  return Picture{width, height, std::vector<uint32_t>(size_t{width} * height, 0)};
}

uint32_t premultiplied(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) {
  auto scale = [alpha](uint8_t channel) -> uint32_t { return (channel * alpha + 127) / 255; };
  return uint32_t{alpha} << 24 | scale(red) << 16 | scale(green) << 8 | scale(blue);
}

}  // namespace picture_decoding

namespace {

bool startsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> signature) {
  return bytes.size() >= signature.size() &&
         std::equal(signature.begin(), signature.end(), bytes.begin());
}

constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::array<uint8_t, 3> kJpegSignature = {0xFF, 0xD8, 0xFF};
constexpr std::array<uint8_t, 4> kGifSignature = {'G', 'I', 'F', '8'};
constexpr std::array<uint8_t, 2> kBmpSignature = {'B', 'M'};

}  // namespace

std::optional<Picture> decodePicture(std::span<const uint8_t> bytes) {
  using namespace picture_decoding;
  if (startsWith(bytes, kPngSignature)) return decodePng(bytes);
  if (startsWith(bytes, kJpegSignature)) return decodeJpeg(bytes);
  if (startsWith(bytes, kGifSignature)) return decodeGif(bytes);
  if (startsWith(bytes, kBmpSignature)) return decodeBmp(bytes);
  return std::nullopt;
}

std::vector<AnimationFrame> decodeAnimation(std::span<const uint8_t> bytes) {
  using namespace picture_decoding;
  if (startsWith(bytes, kGifSignature)) return decodeGifFrames(bytes, SIZE_MAX);
  std::vector<AnimationFrame> frames;
  if (auto still = decodePicture(bytes)) frames.push_back({std::move(*still), 0});
  return frames;
}

}  // namespace velmora::controls
