// libFuzzer target over the picture service: any bytes either decode to a picture whose pixel
// count matches its size within the limits, or give no picture; an animation's frames together
// stay within the pixel limit.
#include <cstdlib>
#include <span>

#include "controls/picture_service.h"

namespace {

void checkConsistent(const velmora::controls::Picture& picture) {
  const bool consistent = picture.pixels.size() == size_t{picture.width} * picture.height &&
                          picture.width <= velmora::controls::kLargestPictureSide &&
                          picture.height <= velmora::controls::kLargestPictureSide;
  if (!consistent) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  auto picture = velmora::controls::decodePicture(bytes);
  if (picture) checkConsistent(*picture);
  uint64_t pixels = 0;
  for (const auto& frame : velmora::controls::decodeAnimation(bytes)) {
    checkConsistent(frame.picture);
    pixels += frame.picture.pixels.size();
  }
  if (pixels > velmora::controls::kLargestPicturePixels) std::abort();
  return 0;
}
