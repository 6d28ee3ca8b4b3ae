#include "controls/win32/picture_bitmap.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "controls/picture_service.h"
#include "runtime/win32/system_library.h"

namespace velmora::controls {

HBITMAP bitmapFromPicture(const Picture& picture) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(picture.width);
  info.bmiHeader.biHeight = -static_cast<LONG>(picture.height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(uint32_t));
  return bitmap;
}

HBITMAP bitmapFromPictureBytes(std::span<const uint8_t> bytes, int* width, int* height) {
  auto picture = decodePicture(bytes);
  if (!picture) return nullptr;
  HBITMAP bitmap = bitmapFromPicture(*picture);
  if (bitmap == nullptr) return nullptr;
  *width = static_cast<int>(picture->width);
  *height = static_cast<int>(picture->height);
  return bitmap;
}

intptr_t pictureServiceNotify(uintptr_t request, uintptr_t result) {
  struct Request {
    const uint8_t* bytes;
    uint32_t length;
  };
  struct Result {
    HBITMAP bitmap;
    int32_t width;
    int32_t height;
  };
  const auto* asked = reinterpret_cast<const Request*>(request);
  auto* made = reinterpret_cast<Result*>(result);
  if (asked == nullptr || made == nullptr) return 0;
  *made = Result{};
  if (asked->bytes == nullptr) return 0;
  made->bitmap = bitmapFromPictureBytes({asked->bytes, asked->length}, &made->width, &made->height);
  return made->bitmap != nullptr;
}

RECT centredFitRect(int pictureWidth, int pictureHeight, const RECT& area) {
  const int areaWidth = area.right - area.left;
  const int areaHeight = area.bottom - area.top;
  int width = pictureWidth;
  int height = pictureHeight;
  if (width > areaWidth || height > areaHeight) {
    // Scale by the smaller ratio: compare areaWidth / pictureWidth with areaHeight / pictureHeight.
    if (int64_t{areaWidth} * pictureHeight <= int64_t{areaHeight} * pictureWidth) {
      width = areaWidth;
      height = static_cast<int>(int64_t{pictureHeight} * areaWidth / pictureWidth);
    } else {
      height = areaHeight;
      width = static_cast<int>(int64_t{pictureWidth} * areaHeight / pictureHeight);
    }
  }
  const int left = area.left + (areaWidth - width) / 2;
  const int top = area.top + (areaHeight - height) / 2;
  return RECT{left, top, left + width, top + height};
}

PictureBitmap::~PictureBitmap() {
  release();
}

PictureBitmap::PictureBitmap(PictureBitmap&& other) noexcept {
  *this = std::move(other);
}

PictureBitmap& PictureBitmap::operator=(PictureBitmap&& other) noexcept {
  if (this == &other) return *this;
  release();
  std::swap(bitmap_, other.bitmap_);
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  return *this;
}

void PictureBitmap::release() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  width_ = height_ = 0;
}

void PictureBitmap::load(std::span<const uint8_t> bytes) {
  release();
  bitmap_ = bitmapFromPictureBytes(bytes, &width_, &height_);
}

void PictureBitmap::assign(const Picture& picture) {
  release();
  bitmap_ = bitmapFromPicture(picture);
  if (bitmap_ == nullptr) return;
  width_ = static_cast<int>(picture.width);
  height_ = static_cast<int>(picture.height);
}

namespace {

// AlphaBlend, from the system folder's MSIMG32 at the first picture drawn (see
// runtime/win32/system_library.h).
BOOL alphaBlend(HDC target, int x, int y, int width, int height, HDC source, int sourceWidth,
                int sourceHeight, BLENDFUNCTION function) {
  static const auto blend =
      runtime::systemLibraryFunction<decltype(&::AlphaBlend)>(L"msimg32.dll", "AlphaBlend");
  return blend != nullptr &&
         blend(target, x, y, width, height, source, 0, 0, sourceWidth, sourceHeight, function);
}

}  // namespace

void PictureBitmap::blend(HDC dc, int x, int y, int width, int height) const {
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(source, bitmap_);
  BLENDFUNCTION function{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const int oldMode = SetStretchBltMode(dc, HALFTONE);
  alphaBlend(dc, x, y, width, height, source, width_, height_, function);
  SetStretchBltMode(dc, oldMode);
  SelectObject(source, previous);
  DeleteDC(source);
}

void PictureBitmap::draw(HDC dc, const RECT& area, PictureMode mode) const {
  if (empty()) return;
  switch (mode) {
    case PictureMode::kNaturalTopLeft:
      blend(dc, area.left, area.top, width_, height_);
      return;
    case PictureMode::kTiled: {
      const int saved = SaveDC(dc);
      IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
      for (int y = area.top; y < area.bottom; y += height_) {
        for (int x = area.left; x < area.right; x += width_) blend(dc, x, y, width_, height_);
      }
      RestoreDC(dc, saved);
      return;
    }
    case PictureMode::kCentredFit: {
      const RECT place = centredFitRect(width_, height_, area);
      blend(dc, place.left, place.top, place.right - place.left, place.bottom - place.top);
      return;
    }
    case PictureMode::kStretched:
      blend(dc, area.left, area.top, area.right - area.left, area.bottom - area.top);
      return;
  }
}

}  // namespace velmora::controls
