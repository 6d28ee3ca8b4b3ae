// The picture service's Windows side: a decoded picture as a 32-bit bitmap, drawn with its
// transparency in the display modes the units share.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "controls/picture_service.h"

namespace velmora::controls {

enum class PictureMode {
  kNaturalTopLeft = 0,
  kTiled = 1,  // the label's mode 1
  kCentredFit = 2,
  kStretched = 3,  // the picture box's modes 1 and 3
};

class PictureBitmap {
 public:
  PictureBitmap() = default;
  ~PictureBitmap();
  PictureBitmap(const PictureBitmap&) = delete;
  PictureBitmap& operator=(const PictureBitmap&) = delete;
  PictureBitmap(PictureBitmap&& other) noexcept;
  PictureBitmap& operator=(PictureBitmap&& other) noexcept;

  // Decodes the bytes of a picture file; bytes that are no picture leave it empty.
  void load(std::span<const uint8_t> bytes);
  // Takes a decoded picture.
  void assign(const Picture& picture);
  bool empty() const { return bitmap_ == nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  HBITMAP handle() const { return bitmap_; }

  void draw(HDC dc, const RECT& area, PictureMode mode) const;

 private:
  void blend(HDC dc, int x, int y, int width, int height) const;
  void release();

  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Where a picture of the given size lies in `area` in mode 2: centred at natural size when it
// fits, else scaled down by the smaller ratio and centred.
RECT centredFitRect(int pictureWidth, int pictureHeight, const RECT& area);

// A 32-bit top-down DIB section of a decoded picture or of the decoded bytes (premultiplied), or
// null.
HBITMAP bitmapFromPicture(const Picture& picture);
HBITMAP bitmapFromPictureBytes(std::span<const uint8_t> bytes, int* width, int* height);

// Notify code 1003: first points to {bytes, length}, second to {bitmap, width, height}, which is
// filled; returns 1 when a picture was made, else 0.
inline constexpr int32_t kNotifyPictureBitmap = 1003;
intptr_t pictureServiceNotify(uintptr_t request, uintptr_t result);

}  // namespace velmora::controls
