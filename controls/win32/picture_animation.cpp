#include "controls/win32/picture_animation.h"

#include "controls/picture_service.h"

namespace velmora::controls {

void PictureAnimation::load(std::span<const uint8_t> bytes, bool allFrames) {
  frames_.clear();
  milliseconds_.clear();
  current_ = 0;
  if (!allFrames) {
    PictureBitmap still;
    still.load(bytes);
    if (!still.empty()) frames_.push_back(std::move(still));
    milliseconds_.resize(frames_.size(), 0);
    return;
  }
  for (const AnimationFrame& frame : decodeAnimation(bytes)) {
    PictureBitmap bitmap;
    bitmap.assign(frame.picture);
    if (bitmap.empty()) break;  // the window system is out of bitmaps: play what was made
    frames_.push_back(std::move(bitmap));
    milliseconds_.push_back(frame.milliseconds);
  }
}

void PictureAnimation::draw(HDC dc, const RECT& area, PictureMode mode) const {
  if (!empty()) frames_[current_].draw(dc, area, mode);
}

UINT PictureAnimation::milliseconds() const {
  return empty() ? 0 : milliseconds_[current_];
}

void PictureAnimation::advance() {
  if (!empty()) current_ = (current_ + 1) % frames_.size();
}

}  // namespace velmora::controls
