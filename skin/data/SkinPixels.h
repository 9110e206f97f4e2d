// Skin images as pixels: 32 bits per pixel, bytes blue, green, red and one
// unused byte, as a 32-bit device-independent bitmap holds them. The skin
// objects keep their images in framework bitmaps (DIB sections); the pixel
// routines of the engine work on a view of such a bitmap's rows, so they
// need no device context and are the same on every platform. Work that has
// no bitmap at hand (the skin generator, tests) keeps its pixels in a
// TPixelBuffer, which is such a view over its own memory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Colors.h"

using fw::TColor;

constexpr TColor kMagenta = 0xFF00FF;  // the key colour of transparent pixels
constexpr TColor kWhite = 0xFFFFFF;

using fw::RGBColor;
inline int RedOf(TColor c) { return c & 0xFF; }
inline int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
inline int BlueOf(TColor c) { return (c >> 16) & 0xFF; }

// Pixels compare by their colour bytes; the fourth byte is left out.
constexpr uint32_t kPixelRGB = 0xFFFFFF;
inline uint32_t ColorToPixel(TColor c) {
  return static_cast<uint32_t>(BlueOf(c) | GreenOf(c) << 8 | RedOf(c) << 16);
}
inline TColor PixelToColor(uint32_t p) { return RGBColor((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

// The rows of an image held elsewhere. Copying a view copies no pixels;
// writing through any copy changes the image.
class TSkinPixels {
 public:
  TSkinPixels() = default;
  // `top` is the first pixel of the top row; `rowStep` the distance in
  // pixels from one row to the next below it (negative for bottom-up rows).
  TSkinPixels(uint32_t* top, int width, int height, ptrdiff_t rowStep)
      : top_(top), width_(width), height_(height), step_(rowStep) {
    if (!top_ || width_ <= 0 || height_ <= 0) top_ = nullptr, width_ = height_ = 0;
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  uint32_t* ScanLine(int y) const { return top_ + static_cast<ptrdiff_t>(y) * step_; }

  // Pixel access by colour value; coordinates outside read 0 and write nothing.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor c) const;
  // The rectangle clipped to the image.
  void FillRect(int left, int top, int right, int bottom, TColor c) const;
  void Fill(TColor c) const { FillRect(0, 0, width_, height_, c); }
  // Same size and the same colour in every pixel.
  bool SamePixels(const TSkinPixels& other) const;

 protected:
  uint32_t* top_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  ptrdiff_t step_ = 0;
};

// Pixels in memory, top row first.
class TPixelBuffer : public TSkinPixels {
 public:
  TPixelBuffer() = default;
  TPixelBuffer(int width, int height, TColor fill = 0) { SetSize(width, height, fill); }
  TPixelBuffer(const TPixelBuffer& other) : TSkinPixels() { *this = other; }
  TPixelBuffer& operator=(const TPixelBuffer& other);
  TPixelBuffer(TPixelBuffer&& other) noexcept { *this = std::move(other); }
  TPixelBuffer& operator=(TPixelBuffer&& other) noexcept;

  // New size, every pixel `fill`. A size with no area, or one beyond
  // kMaxPixels, leaves the buffer empty.
  void SetSize(int width, int height, TColor fill = 0);
  void Clear() { SetSize(0, 0); }

  static constexpr int64_t kMaxPixels = 16 * 1024 * 1024;

 private:
  void Point();
  std::vector<uint32_t> pixels_;
};
