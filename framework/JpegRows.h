// JPEG decoding through libjpeg into rows of 24-bit pixels (blue, green,
// red, as a 24-bit DIB holds them), without Win32: the bitmap class decodes
// its pictures through this (Jpeg.cpp), and the fuzz target of pictures
// runs the same routine natively.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fw {

// The largest side of a picture that is decoded.
constexpr unsigned kMaxJpegSide = 16384;

// Where the decoded picture goes.
struct TJpegRows {
  // Makes room for a picture of width x height; false refuses it.
  bool (*begin)(void* context, int width, int height);
  // Row y, counted from the top: width x 3 bytes.
  uint8_t* (*row)(void* context, int y);
  void* context;
};

// Decodes the JPEG file in data into `rows`. False on any error: a damaged
// or unsupported file, a side above the limit, a picture `begin` refused.
bool DecodeJpegRows(const uint8_t* data, size_t size, const TJpegRows& rows);

}  // namespace fw
