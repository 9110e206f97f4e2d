// JPEG pictures (framework/JpegRows: DecodeJpegRows, the decoding of the
// bitmap class's pictures from form data), through libjpeg built natively.
//
// Checked besides the absence of faults: every row buffer is exactly as long
// as the picture is wide (AddressSanitizer sees any write past it); rows are
// asked for once each, from the top; a decoded picture has every row and
// sides within the limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "JpegRows.h"

namespace {

struct Picture {
  int width = 0;
  int height = 0;
  int next = 0;
  std::vector<std::unique_ptr<uint8_t[]>> rows;
};

bool Begin(void* context, int width, int height) {
  auto* p = static_cast<Picture*>(context);
  if (width < 1 || height < 1 || width > static_cast<int>(fw::kMaxJpegSide) ||
      height > static_cast<int>(fw::kMaxJpegSide) || !p->rows.empty())
    abort();
  // Room for a few million pixels, as a bitmap of the program would refuse
  // what does not fit its memory.
  if (int64_t(width) * height > 4 * 1024 * 1024) return false;
  p->width = width;
  p->height = height;
  for (int y = 0; y < height; ++y) p->rows.emplace_back(new uint8_t[static_cast<size_t>(width) * 3]);
  return true;
}

uint8_t* Row(void* context, int y) {
  auto* p = static_cast<Picture*>(context);
  if (y != p->next || y >= p->height) abort();
  ++p->next;
  return p->rows[static_cast<size_t>(y)].get();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const std::vector<uint8_t> bytes(data, data + size);
  Picture picture;
  if (fw::DecodeJpegRows(bytes.data(), bytes.size(), fw::TJpegRows{Begin, Row, &picture}) &&
      picture.next != picture.height)
    abort();
  return 0;
}
