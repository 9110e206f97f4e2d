#include "SkinBitmap.h"

#include <algorithm>
#include <cstring>

void TSkinBitmap::SetSize(int width, int height, TColor fill) {
  if (width <= 0 || height <= 0 || int64_t(width) * height > kMaxSkinBitmapPixels) {
    Clear();
    return;
  }
  FWidth = width;
  FHeight = height;
  FPixels.assign(static_cast<size_t>(width) * height, ColorToPixel(fill));
}

TColor TSkinBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  return PixelToColor(FPixels[static_cast<size_t>(y) * FWidth + x]);
}

void TSkinBitmap::SetPixel(int x, int y, TColor c) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  FPixels[static_cast<size_t>(y) * FWidth + x] = ColorToPixel(c);
}

void TSkinBitmap::FillRect(int left, int top, int right, int bottom, TColor c) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, FWidth);
  bottom = std::min(bottom, FHeight);
  uint32_t p = ColorToPixel(c);
  for (int y = top; y < bottom; y++)
    for (int x = left; x < right; x++) FPixels[static_cast<size_t>(y) * FWidth + x] = p;
}

namespace {

uint32_t U16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Shift and width of a contiguous colour mask; false for an empty or split mask.
bool MaskShape(uint32_t mask, int& shift, int& bits) {
  if (mask == 0) return false;
  shift = 0;
  while (!(mask & 1)) { mask >>= 1; shift++; }
  bits = 0;
  while (mask & 1) { mask >>= 1; bits++; }
  return mask == 0;
}

uint32_t Scale(uint32_t v, int bits) {
  if (bits >= 8) return v >> (bits - 8);
  uint32_t maxv = (1u << bits) - 1;
  return (v * 255 + maxv / 2) / maxv;
}

}  // namespace

bool TSkinBitmap::LoadFromStream(TSkinMemoryStream& stream) {
  size_t pos = std::min(stream.Position(), stream.Size());
  bool ok = LoadFromBytes(stream.Data() + pos, stream.Size() - pos);
  stream.Seek(stream.Size());
  return ok;
}

bool TSkinBitmap::LoadFromBytes(const uint8_t* data, size_t size) {
  Clear();
  // File header (14) and at least the smallest info header (12).
  if (!data || size < 26 || data[0] != 'B' || data[1] != 'M') return false;
  const uint32_t offBits = U32(data + 10);
  const uint8_t* info = data + 14;
  const uint32_t infoSize = U32(info);
  if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 &&
      infoSize != 108 && infoSize != 124)
    return false;
  if (14 + size_t(infoSize) > size) return false;

  int64_t width, height;
  uint32_t bitCount, compression = 0, clrUsed = 0;
  size_t paletteEntry = 4;
  if (infoSize == 12) {
    width = U16(info + 4);
    height = static_cast<int16_t>(U16(info + 6));
    if (U16(info + 8) != 1) return false;
    bitCount = U16(info + 10);
    paletteEntry = 3;
  } else {
    width = static_cast<int32_t>(U32(info + 4));
    height = static_cast<int32_t>(U32(info + 8));
    if (U16(info + 12) != 1) return false;
    bitCount = U16(info + 14);
    compression = U32(info + 16);
    clrUsed = U32(info + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width * height > kMaxSkinBitmapPixels) return false;

  uint32_t masks[3] = {0, 0, 0};
  size_t paletteAt = 14 + size_t(infoSize);
  if (compression == 3) {  // bit fields
    if (bitCount != 16 && bitCount != 32) return false;
    if (infoSize >= 52) {
      for (int i = 0; i < 3; i++) masks[i] = U32(info + 40 + 4 * i);
    } else {
      if (paletteAt + 12 > size) return false;
      for (int i = 0; i < 3; i++) masks[i] = U32(data + paletteAt + 4 * i);
      paletteAt += 12;
    }
  } else if (compression != 0) {
    return false;  // run-length and embedded formats are not skin images
  } else if (bitCount == 16) {
    masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
  } else if (bitCount == 32) {
    masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    return false;

  std::vector<uint32_t> palette;
  if (bitCount <= 8) {
    uint32_t maxColours = 1u << bitCount;
    uint32_t colours = clrUsed ? clrUsed : maxColours;
    if (colours > maxColours) return false;
    if (paletteAt + colours * paletteEntry > size) return false;
    if (offBits < paletteAt + colours * paletteEntry) return false;
    palette.resize(maxColours, 0);
    for (uint32_t i = 0; i < colours; i++) {
      const uint8_t* e = data + paletteAt + i * paletteEntry;
      palette[i] = uint32_t(e[0]) | uint32_t(e[1]) << 8 | uint32_t(e[2]) << 16;
    }
  }
  int shift[3] = {0, 0, 0}, bits[3] = {8, 8, 8};
  if (bitCount == 16 || bitCount == 32)
    for (int i = 0; i < 3; i++)
      if (!MaskShape(masks[i], shift[i], bits[i])) return false;

  const uint64_t stride = ((uint64_t(width) * bitCount + 31) / 32) * 4;
  if (offBits < 14 + infoSize || offBits > size || stride * uint64_t(height) > size - offBits)
    return false;

  FWidth = static_cast<int>(width);
  FHeight = static_cast<int>(height);
  FPixels.assign(static_cast<size_t>(width * height), 0);
  for (int y = 0; y < FHeight; y++) {
    const uint8_t* row = data + offBits + stride * static_cast<uint64_t>(topDown ? y : FHeight - 1 - y);
    uint32_t* out = ScanLine(y);
    for (int x = 0; x < FWidth; x++) {
      uint32_t p;
      switch (bitCount) {
        case 1: p = palette[(row[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: p = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
        case 8: p = palette[row[x]]; break;
        case 24: p = uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16; break;
        default: {
          uint32_t v = bitCount == 16 ? U16(row + 2 * x) : U32(row + 4 * x);
          uint32_t r = Scale((v & masks[0]) >> shift[0], bits[0]);
          uint32_t g = Scale((v & masks[1]) >> shift[1], bits[1]);
          uint32_t b = Scale((v & masks[2]) >> shift[2], bits[2]);
          p = b | g << 8 | r << 16;
        }
      }
      out[x] = p & 0xFFFFFF;
    }
  }
  return true;
}

std::vector<uint8_t> TSkinBitmap::SaveToBytes() const {
  const uint32_t stride = ((uint32_t(FWidth) * 24 + 31) / 32) * 4;
  const uint32_t imageSize = stride * uint32_t(FHeight);
  std::vector<uint8_t> out(54 + imageSize, 0);
  auto put16 = [&](size_t at, uint32_t v) { out[at] = uint8_t(v); out[at + 1] = uint8_t(v >> 8); };
  auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(FWidth));
  put32(22, static_cast<uint32_t>(FHeight));
  put16(26, 1);
  put16(28, 24);
  put32(34, imageSize);
  put32(38, 2835);
  put32(42, 2835);
  for (int y = 0; y < FHeight; y++) {
    uint8_t* row = out.data() + 54 + size_t(stride) * (FHeight - 1 - y);
    const uint32_t* in = ScanLine(y);
    for (int x = 0; x < FWidth; x++) {
      row[3 * x] = uint8_t(in[x]);
      row[3 * x + 1] = uint8_t(in[x] >> 8);
      row[3 * x + 2] = uint8_t(in[x] >> 16);
    }
  }
  return out;
}
