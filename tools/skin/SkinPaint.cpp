#include "SkinPaint.h"

#include <cmath>
#include <cstdlib>

namespace paint {

std::vector<uint8_t> BmpFile(const TSkinPixels& image) {
  const uint32_t width = uint32_t(image.Width()), height = uint32_t(image.Height());
  const uint32_t stride = ((width * 24 + 31) / 32) * 4;
  const uint32_t imageSize = stride * height;
  std::vector<uint8_t> out(54 + imageSize, 0);
  auto put16 = [&](size_t at, uint32_t v) { out[at] = uint8_t(v); out[at + 1] = uint8_t(v >> 8); };
  auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  put16(26, 1);
  put16(28, 24);
  put32(34, imageSize);
  put32(38, 2835);
  put32(42, 2835);
  for (uint32_t y = 0; y < height; y++) {
    uint8_t* row = out.data() + 54 + size_t(stride) * (height - 1 - y);
    const uint32_t* in = image.ScanLine(int(y));
    for (uint32_t x = 0; x < width; x++) {
      row[3 * x] = uint8_t(in[x]);
      row[3 * x + 1] = uint8_t(in[x] >> 8);
      row[3 * x + 2] = uint8_t(in[x] >> 16);
    }
  }
  return out;
}

TColor Mix(TColor a, TColor b, int p) {
  auto m = [p](int x, int y) { return (x * (100 - p) + y * p + 50) / 100; };
  return RGBColor(m(RedOf(a), RedOf(b)), m(GreenOf(a), GreenOf(b)), m(BlueOf(a), BlueOf(b)));
}
TColor Lighter(TColor c, int percent) { return Mix(c, kWhite, percent); }
TColor Darker(TColor c, int percent) { return Mix(c, 0, percent); }

void VGradient(TPixelBuffer& b, int l, int t, int r, int btm, TColor top, TColor bottom) {
  int n = btm - t;
  for (int y = t; y < btm; y++) b.FillRect(l, y, r, y + 1, Mix(top, bottom, n > 1 ? (y - t) * 100 / (n - 1) : 0));
}

void HGradient(TPixelBuffer& b, int l, int t, int r, int btm, TColor left, TColor right) {
  int n = r - l;
  for (int x = l; x < r; x++) b.FillRect(x, t, x + 1, btm, Mix(left, right, n > 1 ? (x - l) * 100 / (n - 1) : 0));
}

void Bevel(TPixelBuffer& b, int l, int t, int r, int btm, TColor light, TColor dark) {
  b.FillRect(l, t, r, t + 1, light);
  b.FillRect(l, t, l + 1, btm, light);
  b.FillRect(l, btm - 1, r, btm, dark);
  b.FillRect(r - 1, t, r, btm, dark);
}

void Frame(TPixelBuffer& b, int l, int t, int r, int btm, TColor c) { Bevel(b, l, t, r, btm, c, c); }

void RoundCorners(TPixelBuffer& b, int l, int t, int r, int btm, int radius, bool top, bool bottom) {
  // Pixels cut per row from the corner: radius 3 cuts 3, 1, 1.
  static const int cut[4][3] = {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 1, 1}};
  if (radius < 1) return;
  if (radius > 3) radius = 3;
  for (int i = 0; i < radius; i++) {
    int n = cut[radius][i];
    if (top) {
      b.FillRect(l, t + i, l + n, t + i + 1, kMagenta);
      b.FillRect(r - n, t + i, r, t + i + 1, kMagenta);
    }
    if (bottom) {
      b.FillRect(l, btm - 1 - i, l + n, btm - i, kMagenta);
      b.FillRect(r - n, btm - 1 - i, r, btm - i, kMagenta);
    }
  }
}

void ArrowDown(TPixelBuffer& b, int cx, int cy, int size, TColor c) {
  int top = cy - size / 2;
  for (int i = 0; i < size; i++) b.FillRect(cx - (size - 1 - i), top + i, cx + (size - 1 - i) + 1, top + i + 1, c);
}
void ArrowUp(TPixelBuffer& b, int cx, int cy, int size, TColor c) {
  int top = cy - size / 2;
  for (int i = 0; i < size; i++) b.FillRect(cx - i, top + i, cx + i + 1, top + i + 1, c);
}
void ArrowRight(TPixelBuffer& b, int cx, int cy, int size, TColor c) {
  int left = cx - size / 2;
  for (int i = 0; i < size; i++) b.FillRect(left + i, cy - (size - 1 - i), left + i + 1, cy + (size - 1 - i) + 1, c);
}
void ArrowLeft(TPixelBuffer& b, int cx, int cy, int size, TColor c) {
  int left = cx - size / 2;
  for (int i = 0; i < size; i++) b.FillRect(left + i, cy - i, left + i + 1, cy + i + 1, c);
}

void Line(TPixelBuffer& b, int x0, int y0, int x1, int y1, TColor c) {
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
  while (true) {
    b.SetPixel(x0, y0, c);
    if (x0 == x1 && y0 == y1) break;
    int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x0 += sx; }
    if (e2 <= dx) { err += dx; y0 += sy; }
  }
}

void Cross(TPixelBuffer& b, int cx, int cy, int half, TColor c) {
  for (int o = 0; o < 2; o++) {
    Line(b, cx - half + o, cy - half, cx + half + o, cy + half, c);
    Line(b, cx - half + o, cy + half, cx + half + o, cy - half, c);
  }
}

void CheckMark(TPixelBuffer& b, int l, int t, TColor c) {
  for (int o = 0; o < 3; o++) {
    Line(b, l, t + 2 + o, l + 2, t + 4 + o, c);
    Line(b, l + 2, t + 4 + o, l + 6, t + o, c);
  }
}

void Disc(TPixelBuffer& b, double cx, double cy, double radius, TColor c) {
  for (int y = static_cast<int>(cy - radius) - 1; y <= cy + radius + 1; y++)
    for (int x = static_cast<int>(cx - radius) - 1; x <= cx + radius + 1; x++) {
      double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      if (dx * dx + dy * dy <= radius * radius) b.SetPixel(x, y, c);
    }
}

}  // namespace paint
