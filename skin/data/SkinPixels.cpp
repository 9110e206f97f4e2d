#include "SkinPixels.h"

#include <algorithm>

TColor TSkinPixels::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return PixelToColor(ScanLine(y)[x]);
}

void TSkinPixels::SetPixel(int x, int y, TColor c) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  ScanLine(y)[x] = ColorToPixel(c);
}

void TSkinPixels::FillRect(int left, int top, int right, int bottom, TColor c) const {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  const uint32_t p = ColorToPixel(c);
  for (int y = top; y < bottom; y++) std::fill(ScanLine(y) + left, ScanLine(y) + std::max(left, right), p);
}

bool TSkinPixels::SamePixels(const TSkinPixels& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (int y = 0; y < height_; y++) {
    const uint32_t* a = ScanLine(y);
    const uint32_t* b = other.ScanLine(y);
    for (int x = 0; x < width_; x++)
      if ((a[x] ^ b[x]) & kPixelRGB) return false;
  }
  return true;
}

void TPixelBuffer::Point() {
  if (pixels_.empty()) {
    top_ = nullptr;
    width_ = height_ = 0;
    step_ = 0;
  } else {
    top_ = pixels_.data();
    step_ = width_;
  }
}

TPixelBuffer& TPixelBuffer::operator=(const TPixelBuffer& other) {
  if (this == &other) return *this;
  pixels_ = other.pixels_;
  width_ = other.width_;
  height_ = other.height_;
  Point();
  return *this;
}

TPixelBuffer& TPixelBuffer::operator=(TPixelBuffer&& other) noexcept {
  if (this == &other) return *this;
  pixels_ = std::move(other.pixels_);
  width_ = other.width_;
  height_ = other.height_;
  Point();
  other.pixels_.clear();
  other.Point();
  return *this;
}

void TPixelBuffer::SetSize(int width, int height, TColor fill) {
  if (width <= 0 || height <= 0 || int64_t(width) * height > kMaxPixels) {
    pixels_.clear();
  } else {
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * height, ColorToPixel(fill));
  }
  Point();
}
