// A skin image held as plain pixels: 32 bits per pixel laid out as a
// top-down device-independent bitmap (bytes blue, green, red, unused), so a
// DIB section can take it over unchanged. The skin objects keep their images
// in this form; the drawing routines blit them to device contexts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "SkinStream.h"

// Colour values are 0x00BBGGRR; a value with the top byte 0xFF names a system
// colour (its low byte is the index) and is resolved by SkinColorToRGB.
using TColor = int32_t;

constexpr TColor kMagenta = 0xFF00FF;  // the key colour of transparent pixels
constexpr TColor kWhite = 0xFFFFFF;

inline TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}
inline int RedOf(TColor c) { return c & 0xFF; }
inline int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
inline int BlueOf(TColor c) { return (c >> 16) & 0xFF; }

class TSkinBitmap {
 public:
  TSkinBitmap() = default;
  TSkinBitmap(int width, int height, TColor fill = 0) { SetSize(width, height, fill); }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
  void Clear() { FWidth = FHeight = 0; FPixels.clear(); }
  // New size, every pixel `fill`. A size with no area leaves the bitmap empty.
  void SetSize(int width, int height, TColor fill = 0);

  // Pixel access by colour value; coordinates outside read 0 and write nothing.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor c);
  void FillRect(int left, int top, int right, int bottom, TColor c);

  // Raw rows: 4 bytes per pixel, Width() * 4 bytes per row, top row first.
  uint32_t* Bits() { return FPixels.data(); }
  const uint32_t* Bits() const { return FPixels.data(); }
  uint32_t* ScanLine(int y) { return FPixels.data() + static_cast<size_t>(y) * FWidth; }
  const uint32_t* ScanLine(int y) const { return FPixels.data() + static_cast<size_t>(y) * FWidth; }

  // Loads a Windows BMP file from the stream's position to its end. Every
  // header field is checked before use; an invalid file leaves the bitmap
  // empty and returns false.
  bool LoadFromStream(TSkinMemoryStream& stream);
  bool LoadFromBytes(const uint8_t* data, size_t size);
  // A 24-bit bottom-up BMP file of the bitmap.
  std::vector<uint8_t> SaveToBytes() const;

  bool operator==(const TSkinBitmap& o) const {
    return FWidth == o.FWidth && FHeight == o.FHeight && FPixels == o.FPixels;
  }

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<uint32_t> FPixels;  // 0x00RRGGBB in memory order B, G, R, 0
};

// Largest image the loader accepts (pixels); skin strips are far smaller.
constexpr int64_t kMaxSkinBitmapPixels = 16 * 1024 * 1024;

inline uint32_t ColorToPixel(TColor c) {
  return static_cast<uint32_t>(BlueOf(c) | GreenOf(c) << 8 | RedOf(c) << 16);
}
inline TColor PixelToColor(uint32_t p) {
  return RGBColor((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
