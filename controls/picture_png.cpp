// PNG through libpng's simplified reader, which keeps its error jumps inside libpng and reports
// any broken data as a failed read.
#include <png.h>

#include "controls/picture_service.h"

namespace velmora::controls::picture_decoding {

std::optional<Picture> decodePng(std::span<const uint8_t> bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
  if (!sizeAllowed(image.width, image.height)) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  Picture picture = blankPicture(image.width, image.height);
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  for (uint32_t& pixel : picture.pixels) {
    pixel = premultiplied(pixel >> 24, pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
  }
  return picture;
}

}  // namespace velmora::controls::picture_decoding
