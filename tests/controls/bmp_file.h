// BMP files of pictures drawn by a function, for tests that need pictures of known colours.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace velmora::testing {

// A 24-bit BMP file; `colourAt(x, y)` gives each pixel as 0xRRGGBB, rows from the top.
inline std::vector<uint8_t> bmpFile(int width, int height,
                                    const std::function<uint32_t(int x, int y)>& colourAt) {
  const int rowLength = (width * 3 + 3) / 4 * 4;
  const uint32_t fileLength = 54 + rowLength * height;
  std::vector<uint8_t> bytes(fileLength, 0);
  auto put = [&](size_t at, uint32_t value, int length) {
    for (int i = 0; i < length; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, fileLength, 4);
  put(10, 54, 4);  // where the pixels start
  put(14, 40, 4);  // the info header's length
  put(18, width, 4);
  put(22, height, 4);  // positive: rows from the bottom
  put(26, 1, 2);
  put(28, 24, 2);
  for (int y = 0; y < height; ++y) {
    const size_t row = 54 + size_t(height - 1 - y) * rowLength;
    for (int x = 0; x < width; ++x) {
      const uint32_t colour = colourAt(x, y);
      bytes[row + x * 3] = colour & 0xFF;
      bytes[row + x * 3 + 1] = colour >> 8 & 0xFF;
      bytes[row + x * 3 + 2] = colour >> 16 & 0xFF;
    }
  }
  return bytes;
}

}  // namespace velmora::testing
