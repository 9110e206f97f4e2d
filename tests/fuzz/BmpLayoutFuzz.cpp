// The BMP layout reader (framework/BmpLayout): the file and info headers,
// the colour masks, the colour table and the pixel rows of a picture from
// form data or a skin archive.
//
// Checked besides the absence of faults: a layout that is accepted lies
// wholly inside the data (masks, colour table, every pixel row), its sizes
// are within the limits, and its rows are long enough for the width.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "BmpLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  const std::vector<uint8_t> bytes(data, data + size);
  fw::TBmpLayout layout;
  layout.width = -1;
  if (!fw::ReadBmpLayout(bytes.data(), bytes.size(), layout)) {
    if (layout.width != -1) abort();  // a refusal leaves the layout as it was
    return 0;
  }
  const fw::TBmpLayout& l = layout;
  if (l.width < 1 || l.height < 1 || l.width > fw::kMaxBmpSide || l.height > fw::kMaxBmpSide) abort();
  if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 && l.bits != 32) abort();
  if (l.bitFields && l.bits != 16 && l.bits != 32) abort();
  if (l.bitFields && (l.masksAt < fw::kBmpFileHeaderSize + fw::kBmpInfoHeaderSize ||
                      l.masksAt + fw::kBmpMasksSize > size))
    abort();
  if (l.bits > 8 && l.colours != 0) abort();
  if (l.bits <= 8 && (l.colours < 1 || l.colours > (size_t{1} << l.bits))) abort();
  if (l.coloursAt + l.colours * fw::kBmpColourSize > size) abort();
  if (l.stride % 4 != 0 || l.stride * 8 < static_cast<size_t>(l.width) * static_cast<size_t>(l.bits)) abort();
  const size_t image = l.stride * static_cast<size_t>(l.height);
  if (image > fw::kMaxBmpImageBytes || l.pixelsAt > size || size - l.pixelsAt < image) abort();

  // Every byte the bitmap class copies from: the masks, the table, the rows.
  unsigned sum = 0;
  if (l.bitFields)
    for (size_t i = 0; i < fw::kBmpMasksSize; ++i) sum += bytes[l.masksAt + i];
  for (size_t i = 0; i < l.colours * fw::kBmpColourSize; ++i) sum += bytes[l.coloursAt + i];
  for (int y = 0; y < l.height; ++y) sum += bytes[l.pixelsAt + static_cast<size_t>(y) * l.stride + l.stride - 1];
  return static_cast<int>(sum & 0);
}
