// The layout of a BMP file (headers, colour table, pixel rows), read and
// checked without Win32 so that the checks run natively too. The bitmap
// class builds its DIB section from a layout this reader accepted.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fw {

// The largest side and pixel area a picture may have.
constexpr int kMaxBmpSide = 32767;
constexpr size_t kMaxBmpImageBytes = 256u * 1024 * 1024;

constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpInfoHeaderSize = 40;  // the plain info header
constexpr size_t kBmpMasksSize = 12;       // red, green and blue bit masks
constexpr size_t kBmpColourSize = 4;       // one colour table entry

struct TBmpLayout {
  int width = 0;
  int height = 0;          // always positive
  bool topDown = false;    // the rows are stored from the top
  int bits = 0;            // 1, 4, 8, 16, 24 or 32
  bool bitFields = false;  // 16 or 32 bits with colour masks
  size_t masksAt = 0;      // where the masks are (bitFields only)
  size_t colours = 0;      // colour table entries (up to 8 bits)
  size_t coloursAt = 0;    // where the colour table is
  size_t stride = 0;       // bytes of one pixel row
  size_t pixelsAt = 0;     // where the pixel rows are
};

// Bytes of a pixel row of the given width and depth (rows end on 4 bytes).
size_t BmpStride(int width, int bits);

// Reads the layout of the BMP file in data; false when the file is not an
// uncompressed BMP this program reads in full (unknown depth or
// compression, a side of zero or beyond the limits, a header, table or
// pixel rows running past the end of the data).
bool ReadBmpLayout(const uint8_t* data, size_t size, TBmpLayout& layout);

}  // namespace fw
