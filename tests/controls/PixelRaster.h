// A plain pixel array that the frame, grid and gradient routines can paint
// on, with the drawing rules of the platform's device contexts: lines
// exclude their end point, rectangles their right and bottom edges, and a
// negative copy extent mirrors (covering x + extent + 1 .. x).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "KvColors.h"

namespace kvtest {

constexpr kv::TColor kUnpainted = 0x123456;

class PixelRaster : public kv::PaintTarget {
 public:
  PixelRaster(int w, int h, kv::TColor fill = kUnpainted) : w_(w), h_(h), px_(size_t(w) * h, fill) {}

  int Width() const { return w_; }
  int Height() const { return h_; }
  kv::TColor At(int x, int y) const { return Inside(x, y) ? px_[size_t(y) * w_ + x] : kUnpainted; }
  int Count(kv::TColor c) const { return int(std::count(px_.begin(), px_.end(), c)); }
  bool AnyUnpainted() const { return Count(kUnpainted) > 0; }

  void Line(int x1, int y1, int x2, int y2, kv::TColor c) override {
    if (c == kv::clNone) return;
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy, x = x1, y = y1;
    while (!(x == x2 && y == y2)) {
      Set(x, y, c);
      const int e2 = 2 * err;
      if (e2 >= dy) err += dy, x += sx;
      if (e2 <= dx) err += dx, y += sy;
    }
  }
  void Pixel(int x, int y, kv::TColor c) override {
    if (c != kv::clNone) Set(x, y, c);
  }
  void FillRect(const kv::TRect& r, kv::TColor c) override {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) Set(x, y, c);
  }
  // Pixels whose centre lies inside the polygon (even-odd rule).
  void Polygon(const kv::TPoint* p, int n, kv::TColor c) override {
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) {
        const double cx = x + 0.5, cy = y + 0.5;
        bool in = false;
        for (int i = 0, j = n - 1; i < n; j = i++) {
          if ((p[i].y > cy) != (p[j].y > cy) &&
              cx < double(p[j].x - p[i].x) * (cy - p[i].y) / double(p[j].y - p[i].y) + p[i].x)
            in = !in;
        }
        if (in) Set(x, y, c);
      }
  }
  void Copy(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) override {
    const std::vector<kv::TColor> src = px_;
    const int aw = std::abs(dw), ah = std::abs(dh);
    for (int j = 0; j < ah; ++j)
      for (int i = 0; i < aw; ++i) {
        const int x = dw < 0 ? dx - i : dx + i, y = dh < 0 ? dy - j : dy + j;
        const int u = sx + i * std::abs(sw) / aw, v = sy + j * std::abs(sh) / ah;
        if (Inside(u, v)) Set(x, y, src[size_t(v) * w_ + u]);
      }
  }

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
  void Set(int x, int y, kv::TColor c) {
    if (Inside(x, y)) px_[size_t(y) * w_ + x] = kv::ColorToRGB(c);
  }
  int w_, h_;
  std::vector<kv::TColor> px_;
};

}  // namespace kvtest
