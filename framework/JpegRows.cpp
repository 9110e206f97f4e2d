// libjpeg reports fatal errors through a callback that must not return; it
// jumps back to the decoder's start, which then refuses the picture.
#include "JpegRows.h"

#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

namespace fw {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnFatalError(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr) {}  // warnings are not shown

}  // namespace

// Kept free of objects with destructors, as an error leaves it through longjmp.
bool DecodeJpegRows(const uint8_t* data, size_t size, const TJpegRows& rows) {
  jpeg_decompress_struct info;
  ErrorManager err;
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnFatalError;
  err.base.output_message = OnMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width > kMaxJpegSide ||
      info.image_height > kMaxJpegSide) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_EXT_BGR;  // the byte order of a 24-bit DIB
  jpeg_start_decompress(&info);
  if (!rows.begin(rows.context, static_cast<int>(info.output_width), static_cast<int>(info.output_height)) ||
      info.output_components != 3) {
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    return false;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = rows.row(rows.context, static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace fw
