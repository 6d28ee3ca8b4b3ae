// GIF through giflib: the first frame, read record by record so that nothing beyond it is
// decoded, laid on a transparent canvas of the logical screen's size.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "controls/picture_service.h"

namespace velmora::picture_decoding {
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

// The transparent colour index of a graphic control extension, or -1.
int transparentIndexOf(const GifByteType* extension) {
  if (extension == nullptr || extension[0] < 4 || (extension[1] & 1) == 0) return -1;
  return extension[4];
}

bool skipExtension(GifFileType* gif, int& transparentIndex) {
  int code = 0;
  GifByteType* extension = nullptr;
  if (DGifGetExtension(gif, &code, &extension) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE) transparentIndex = transparentIndexOf(extension);
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

bool readFrame(GifFileType* gif, int transparentIndex, Picture& canvas) {
  if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
  const GifImageDesc& frame = gif->Image;
  const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  if (colours == nullptr || frame.Width <= 0 || frame.Height <= 0) return false;
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

bool readFirstFrame(GifFileType* gif, Picture& canvas) {
  int transparentIndex = -1;
  GifRecordType record = UNDEFINED_RECORD_TYPE;
  while (DGifGetRecordType(gif, &record) != GIF_ERROR) {
    if (record == IMAGE_DESC_RECORD_TYPE) return readFrame(gif, transparentIndex, canvas);
    if (record == EXTENSION_RECORD_TYPE && !skipExtension(gif, transparentIndex)) return false;
    if (record == TERMINATE_RECORD_TYPE) return false;
  }
  return false;
}

}  // namespace

std::optional<Picture> decodeGif(std::span<const uint8_t> bytes) {
  GifSource source{bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&source, readGifBytes, &error);
  if (gif == nullptr) return std::nullopt;
  std::optional<Picture> picture;
  if (sizeAllowed(gif->SWidth, gif->SHeight)) {
    Picture canvas = blankPicture(gif->SWidth, gif->SHeight);
    if (readFirstFrame(gif, canvas)) picture = std::move(canvas);
  }
  DGifCloseFile(gif, &error);
  return picture;
}

}  // namespace velmora::picture_decoding
