// GIF through giflib, read record by record so that nothing beyond the frames wanted is decoded.
// Each frame is laid on a canvas of the logical screen's size, transparent at first, so that a
// frame shows what the ones before it left, as the frames' disposal methods say.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "controls/picture_service.h"

namespace velmora::controls::picture_decoding {
namespace {

struct GifSource {
  std::span<const uint8_t> bytes;
  size_t position = 0;
};

int readGifBytes(GifFileType* gif, GifByteType* into, int wanted) {
  auto* source = static_cast<GifSource*>(gif->UserData);
  size_t count = std::min<size_t>(std::max(wanted, 0), source->bytes.size() - source->position);
  std::memcpy(into, source->bytes.data() + source->position, count);
  source->position += count;
  return static_cast<int>(count);
}

// What a graphic control extension says of the frame after it.
struct FrameControl {
  int transparentIndex = -1;
  int disposal = 0;  // 2: the frame's area is cleared after it, 3: the canvas goes back
  int delayCentiseconds = 0;
};

constexpr int kDisposeToBackground = 2;
constexpr int kDisposeToPrevious = 3;
// A delay of 0 or 1 hundredths is meant as "as fast as possible", which viewers show as a tenth.
constexpr uint32_t kDelayForNoDelay = 100;

FrameControl frameControlOf(const GifByteType* extension) {
  FrameControl control;
  if (extension == nullptr || extension[0] < 4) return control;
  control.disposal = extension[1] >> 2 & 7;
  control.delayCentiseconds = extension[2] | extension[3] << 8;
  if (extension[1] & 1) control.transparentIndex = extension[4];
  return control;
}

bool readExtension(GifFileType* gif, FrameControl& control) {
  int code = 0;
  GifByteType* extension = nullptr;
  if (DGifGetExtension(gif, &code, &extension) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE) control = frameControlOf(extension);
  while (extension != nullptr) {
    if (DGifGetExtensionNext(gif, &extension) == GIF_ERROR) return false;
  }
  return true;
}

// The order in which an interlaced frame's rows arrive.
std::vector<int> rowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr int kStart[] = {0, 4, 2, 1};
  constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
  }
  return rows;
}

// The part of the canvas a frame covers.
struct CanvasArea {
  uint32_t left = 0;
  uint32_t top = 0;
  uint32_t right = 0;
  uint32_t bottom = 0;
};

CanvasArea canvasAreaOf(const GifImageDesc& frame, const Picture& canvas) {
  auto within = [](int64_t value, uint32_t limit) {
    return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, limit));
  };
  return {within(frame.Left, canvas.width), within(frame.Top, canvas.height),
          within(int64_t{frame.Left} + frame.Width, canvas.width),
          within(int64_t{frame.Top} + frame.Height, canvas.height)};
}

bool readFrame(GifFileType* gif, int transparentIndex, Picture& canvas, CanvasArea& covered) {
  if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
  const GifImageDesc& frame = gif->Image;
  const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  if (colours == nullptr || frame.Width <= 0 || frame.Height <= 0) return false;
  covered = canvasAreaOf(frame, canvas);
  std::vector<GifPixelType> line(frame.Width);
  for (int y : rowOrder(frame.Height, frame.Interlace)) {
    if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return false;
    const int64_t canvasY = int64_t{frame.Top} + y;
    if (canvasY < 0 || canvasY >= canvas.height) continue;
    for (int x = 0; x < frame.Width; ++x) {
      const int64_t canvasX = int64_t{frame.Left} + x;
      const int index = line[x];
      if (canvasX < 0 || canvasX >= canvas.width || index == transparentIndex ||
          index >= colours->ColorCount) {
        continue;
      }
      const GifColorType& colour = colours->Colors[index];
      canvas.pixels[canvasY * canvas.width + canvasX] =
          premultiplied(0xFF, colour.Red, colour.Green, colour.Blue);
    }
  }
  return true;
}

uint32_t frameMilliseconds(int delayCentiseconds) {
  return delayCentiseconds <= 1 ? kDelayForNoDelay : delayCentiseconds * 10u;
}

void clearArea(Picture& canvas, const CanvasArea& area) {
  for (uint32_t y = area.top; y < area.bottom; ++y) {
    std::fill_n(canvas.pixels.begin() + size_t{y} * canvas.width + area.left,
                area.right - area.left, 0u);
  }
}

// Reads frames until the file ends, `mostFrames` are read, or one more would pass the pixel
// limit. A frame that breaks ends the reading with the frames before it.
void readFrames(GifFileType* gif, size_t mostFrames, std::vector<AnimationFrame>& frames) {
  Picture canvas = blankPicture(gif->SWidth, gif->SHeight);
  const uint64_t framePixels = uint64_t{canvas.width} * canvas.height;
  FrameControl control;
  GifRecordType record = UNDEFINED_RECORD_TYPE;
  while (frames.size() < mostFrames && (frames.size() + 1) * framePixels <= kLargestPicturePixels &&
         DGifGetRecordType(gif, &record) != GIF_ERROR && record != TERMINATE_RECORD_TYPE) {
    if (record == EXTENSION_RECORD_TYPE && !readExtension(gif, control)) break;
    if (record != IMAGE_DESC_RECORD_TYPE) continue;
    const Picture before = control.disposal == kDisposeToPrevious ? canvas : Picture{};
    CanvasArea covered;
    if (!readFrame(gif, control.transparentIndex, canvas, covered)) break;
    frames.push_back({canvas, frameMilliseconds(control.delayCentiseconds)});
    if (control.disposal == kDisposeToBackground) clearArea(canvas, covered);
    if (control.disposal == kDisposeToPrevious) canvas = before;
    control = FrameControl{};
  }
}

}  // namespace

std::vector<AnimationFrame> decodeGifFrames(std::span<const uint8_t> bytes, size_t mostFrames) {
  GifSource source{bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&source, readGifBytes, &error);
  if (gif == nullptr) return {};
  std::vector<AnimationFrame> frames;
  if (sizeAllowed(gif->SWidth, gif->SHeight)) readFrames(gif, mostFrames, frames);
  DGifCloseFile(gif, &error);
  return frames;
}

std::optional<Picture> decodeGif(std::span<const uint8_t> bytes) {
  std::vector<AnimationFrame> frames = decodeGifFrames(bytes, 1);
  if (frames.empty()) return std::nullopt;
  return std::move(frames.front().picture);
}

}  // namespace velmora::controls::picture_decoding
