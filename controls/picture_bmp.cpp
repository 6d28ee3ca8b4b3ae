// BMP: uncompressed pictures of 1, 4, 8, 24 or 32 bits per pixel with an information header of
// at least 40 bytes, every offset and length checked against the file.
#include <cstdlib>

#include "controls/picture_service.h"

namespace velmora::controls::picture_decoding {
namespace {

class BmpFile {
 public:
  explicit BmpFile(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool has(uint64_t offset, uint64_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  uint32_t word(uint64_t offset) const {
    return has(offset, 4) ? bytes_[offset] | bytes_[offset + 1] << 8 | bytes_[offset + 2] << 16 |
                                uint32_t{bytes_[offset + 3]} << 24
                          : 0;
  }
  uint16_t half(uint64_t offset) const {
    return has(offset, 2) ? static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8) : 0;
  }
  uint8_t byte(uint64_t offset) const { return has(offset, 1) ? bytes_[offset] : 0; }

 private:
  std::span<const uint8_t> bytes_;
};

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kUncompressed = 0;

// The colour of pixel x of a row: from the palette for 8 bits and fewer, else the stored blue,
// green, red bytes. The alpha byte of 32-bit pixels is not reliably written, so all are opaque.
uint32_t pixelAt(const BmpFile& file, uint64_t row, uint32_t x, uint32_t bitsPerPixel,
                 uint64_t palette, uint32_t paletteCount) {
  if (bitsPerPixel >= 24) {
    const uint64_t at = row + uint64_t{x} * (bitsPerPixel / 8);
    return premultiplied(0xFF, file.byte(at + 2), file.byte(at + 1), file.byte(at));
  }
  const uint64_t bit = uint64_t{x} * bitsPerPixel;
  const uint32_t shift = 8 - bitsPerPixel - bit % 8;
  const uint32_t index = file.byte(row + bit / 8) >> shift & ((1u << bitsPerPixel) - 1);
  if (index >= paletteCount) return premultiplied(0xFF, 0, 0, 0);
  const uint64_t entry = palette + uint64_t{index} * 4;
  return premultiplied(0xFF, file.byte(entry + 2), file.byte(entry + 1), file.byte(entry));
}

}  // namespace

std::optional<Picture> decodeBmp(std::span<const uint8_t> bytes) {
  BmpFile file(bytes);
  const uint32_t headerSize = file.word(14);
  if (!file.has(0, kFileHeaderSize + 40) || headerSize < 40) return std::nullopt;
  const int64_t width = static_cast<int32_t>(file.word(18));
  const int64_t storedHeight = static_cast<int32_t>(file.word(22));
  const uint32_t bitsPerPixel = file.half(28);
  const bool supportedDepth = bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 ||
                              bitsPerPixel == 24 || bitsPerPixel == 32;
  const uint64_t height = std::llabs(storedHeight);
  if (file.word(30) != kUncompressed || !supportedDepth || width <= 0 ||
      !sizeAllowed(width, height)) {
    return std::nullopt;
  }
  const uint64_t stride = (uint64_t(width) * bitsPerPixel + 31) / 32 * 4;
  const uint64_t pixelData = file.word(10);
  if (!file.has(pixelData, stride * height)) return std::nullopt;
  const uint64_t palette = uint64_t{kFileHeaderSize} + headerSize;
  uint32_t paletteCount =
      bitsPerPixel <= 8 ? (file.word(46) ? file.word(46) : 1u << bitsPerPixel) : 0;
  if (!file.has(palette, uint64_t{paletteCount} * 4)) return std::nullopt;

  Picture picture = blankPicture(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
  for (uint64_t y = 0; y < height; ++y) {
    const uint64_t storedRow = storedHeight < 0 ? y : height - 1 - y;
    const uint64_t row = pixelData + storedRow * stride;
    for (uint32_t x = 0; x < picture.width; ++x) {
      picture.pixels[y * picture.width + x] =
          pixelAt(file, row, x, bitsPerPixel, palette, paletteCount);
    }
  }
  return picture;
}

}  // namespace velmora::controls::picture_decoding
