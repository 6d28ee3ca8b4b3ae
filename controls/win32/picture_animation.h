// A picture that may be an animation: its frames as bitmaps, and the one that shows now.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "controls/win32/picture_bitmap.h"

namespace velmora::controls {

class PictureAnimation {
 public:
  // Decodes the bytes of a picture file: every frame of an animation when `allFrames`, else its
  // first. Bytes that are no picture leave it empty.
  void load(std::span<const uint8_t> bytes, bool allFrames);
  bool empty() const { return frames_.empty(); }
  bool animated() const { return frames_.size() > 1; }

  // Draws the frame that shows now.
  void draw(HDC dc, const RECT& area, PictureMode mode) const;
  // How long the frame that shows now stays.
  UINT milliseconds() const;
  // Moves on to the next frame; after the last one the animation starts again.
  void advance();

 private:
  std::vector<PictureBitmap> frames_;
  std::vector<UINT> milliseconds_;
  size_t current_ = 0;
};

}  // namespace velmora::controls
