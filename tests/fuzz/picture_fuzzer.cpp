// libFuzzer target over the picture service: any bytes either decode to a picture whose pixel
// count matches its size within the limits, or give no picture.
#include <cstdlib>
#include <span>

#include "controls/picture_service.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto picture = velmora::decodePicture(std::span<const uint8_t>(data, size));
  if (picture) {
    const bool consistent = picture->pixels.size() == size_t{picture->width} * picture->height &&
                            picture->width <= velmora::kLargestPictureSide &&
                            picture->height <= velmora::kLargestPictureSide;
    if (!consistent) std::abort();
  }
  return 0;
}
