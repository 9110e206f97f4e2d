// A memory device context over a 32-bit top-down DIB section, so that
// painting can be read back pixel by pixel.
#pragma once

#include <windows.h>

#include "KvColors.h"

namespace kvtest {

class DibSurface {
 public:
  DibSurface(int w, int h, kv::TColor fill) : w_(w), h_(h) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bmp_);
    RECT r = {0, 0, w, h};
    HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(kv::ColorToRGB(fill)));
    FillRect(dc_, &r, b);
    DeleteObject(b);
  }
  ~DibSurface() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  HDC Dc() const { return dc_; }
  int Width() const { return w_; }
  int Height() const { return h_; }
  // The pixel as a colour value (red in the low byte).
  kv::TColor At(int x, int y) const {
    GdiFlush();
    const DWORD p = bits_[y * w_ + x];
    return kv::Rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
  DWORD* bits_ = nullptr;
};

}  // namespace kvtest
