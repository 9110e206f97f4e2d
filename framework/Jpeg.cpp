// JPEG decoding into a 24-bit bitmap: the rows are decoded by
// DecodeJpegRows (JpegRows.h) straight into the bitmap's own.
#include "Bitmap.h"
#include "JpegRows.h"

namespace fw {

namespace {

bool BeginBitmap(void* context, int width, int height) {
  auto* bitmap = static_cast<TBitmap*>(context);
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  return bitmap->ScanLine(0) != nullptr;
}

uint8_t* BitmapRow(void* context, int y) { return static_cast<TBitmap*>(context)->ScanLine(y); }

}  // namespace

bool DecodeJpeg(const TBytes& data, TBitmap& bitmap) {
  if (data.size() < 4) return false;
  TBitmap decoded;
  if (!DecodeJpegRows(data.data(), data.size(), TJpegRows{BeginBitmap, BitmapRow, &decoded})) return false;
  return bitmap.Assign(decoded);
}

}  // namespace fw
