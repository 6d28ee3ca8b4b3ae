// JPEG through libjpeg. Its errors, and its warnings about damaged data (which it would
// otherwise paper over with grey), jump back here and give no picture.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "controls/picture_service.h"

namespace velmora::controls::picture_decoding {
namespace {

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void stopDecoding(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

void onMessage(j_common_ptr info, int level) {
  if (level < 0) stopDecoding(info);  // a warning: the data is damaged
}

// Holds no object with a destructor, so the jump back from libjpeg skips nothing.
bool readJpeg(std::span<const uint8_t> bytes, Picture& out) {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = stopDecoding;
  errors.manager.emit_message = onMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!sizeAllowed(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&info);
  out = blankPicture(info.output_width, info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row =
        reinterpret_cast<JSAMPROW>(&out.pixels[size_t{info.output_scanline} * info.output_width]);
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<Picture> decodeJpeg(std::span<const uint8_t> bytes) {
  Picture picture;
  if (!readJpeg(bytes, picture)) return std::nullopt;
  return picture;
}

}  // namespace velmora::controls::picture_decoding
