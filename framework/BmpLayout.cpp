#include "BmpLayout.h"

namespace fw {

namespace {

// Fields of the headers, little-endian at their offsets in the file.
constexpr size_t kOffBitsAt = 10;
constexpr size_t kInfoSizeAt = 14;
constexpr size_t kWidthAt = 18;
constexpr size_t kHeightAt = 22;
constexpr size_t kPlanesAt = 26;
constexpr size_t kBitCountAt = 28;
constexpr size_t kCompressionAt = 30;
constexpr size_t kClrUsedAt = 46;

constexpr uint32_t kCompressionNone = 0;       // BI_RGB
constexpr uint32_t kCompressionBitFields = 3;  // BI_BITFIELDS

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

int32_t ReadSigned32(const uint8_t* p) { return static_cast<int32_t>(Read32(p)); }

bool IsKnownDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

size_t BmpStride(int width, int bits) {
  return ((static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32) * 4;
}

bool ReadBmpLayout(const uint8_t* data, size_t size, TBmpLayout& layout) {
  if (!data || size < kBmpFileHeaderSize + kBmpInfoHeaderSize || data[0] != 'B' || data[1] != 'M') return false;
  const uint32_t infoSize = Read32(data + kInfoSizeAt);
  if (infoSize < kBmpInfoHeaderSize || infoSize > size - kBmpFileHeaderSize) return false;

  TBmpLayout l;
  l.bits = Read16(data + kBitCountAt);
  if (!IsKnownDepth(l.bits)) return false;
  const uint32_t compression = Read32(data + kCompressionAt);
  l.bitFields = compression == kCompressionBitFields;
  if (compression != kCompressionNone && !(l.bitFields && (l.bits == 16 || l.bits == 32))) return false;
  if (Read16(data + kPlanesAt) != 1) return false;

  l.width = ReadSigned32(data + kWidthAt);
  const int32_t height = ReadSigned32(data + kHeightAt);
  // A negative height marks rows stored from the top; the most negative
  // value has no positive counterpart and is refused before negating.
  if (height == INT32_MIN) return false;
  l.topDown = height < 0;
  l.height = l.topDown ? -height : height;
  if (l.width <= 0 || l.height <= 0 || l.width > kMaxBmpSide || l.height > kMaxBmpSide) return false;

  // The colour table: as many entries as the header says, at most one per
  // value of a pixel; none above 8 bits.
  if (l.bits <= 8) {
    const uint32_t used = Read32(data + kClrUsedAt);
    const size_t most = size_t{1} << l.bits;
    if (used > most) return false;
    l.colours = used ? used : most;
  }
  // The masks follow a plain header; a longer header holds them itself.
  const size_t afterHeader = kBmpFileHeaderSize + infoSize;
  size_t masksAfterHeader = 0;
  if (l.bitFields) {
    if (infoSize == kBmpInfoHeaderSize) {
      masksAfterHeader = kBmpMasksSize;
      l.masksAt = afterHeader;
    } else if (infoSize >= kBmpInfoHeaderSize + kBmpMasksSize) {
      l.masksAt = kBmpFileHeaderSize + kBmpInfoHeaderSize;
    } else {
      return false;
    }
  }
  l.coloursAt = afterHeader + masksAfterHeader;
  if (l.coloursAt + l.colours * kBmpColourSize > size) return false;

  l.stride = BmpStride(l.width, l.bits);
  const size_t imageBytes = l.stride * static_cast<size_t>(l.height);
  l.pixelsAt = Read32(data + kOffBitsAt);
  if (imageBytes > kMaxBmpImageBytes || l.pixelsAt > size || size - l.pixelsAt < imageBytes) return false;
  layout = l;
  return true;
}

}  // namespace fw
