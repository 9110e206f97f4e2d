#include "ImgUtil.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "SkinColors.h"


void ReplaceMagenta(const TSkinPixels& bitmap, TColor colour) {
  const uint32_t key = ColorToPixel(kMagenta);
  const uint32_t with = ColorToPixel(colour & 0xFFFFFF);
  for (int y = 0; y < bitmap.Height(); y++) {
    uint32_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); x++)
      if ((row[x] & kPixelRGB) == key) row[x] = with;
  }
}

void FlipHorizontal(const TSkinPixels& bitmap) {
  for (int y = 0; y < bitmap.Height(); y++) {
    uint32_t* row = bitmap.ScanLine(y);
    std::reverse(row, row + bitmap.Width());
  }
}

void FlipVertical(const TSkinPixels& bitmap) {
  const int w = bitmap.Width();
  for (int y = 0, z = bitmap.Height() - 1; y < z; y++, z--)
    std::swap_ranges(bitmap.ScanLine(y), bitmap.ScanLine(y) + w, bitmap.ScanLine(z));
}

bool RotateLeftInto(const TSkinPixels& out, const TSkinPixels& in) {
  const int w = in.Width(), h = in.Height();
  if (out.Width() != h || out.Height() != w) return false;
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) out.ScanLine(w - 1 - x)[y] = in.ScanLine(y)[x];
  return true;
}

bool RotateRightInto(const TSkinPixels& out, const TSkinPixels& in) {
  const int w = in.Width(), h = in.Height();
  if (out.Width() != h || out.Height() != w) return false;
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) out.ScanLine(x)[h - 1 - y] = in.ScanLine(y)[x];
  return true;
}

TColor Blend(TColor c1, TColor c2, int weight) {
  c1 = SkinColorToRGB(c1);
  c2 = SkinColorToRGB(c2);
  const int s = weight < 100 ? 100 : 1000;
  auto mix = [&](int a, int b) { return (b * (s - weight) + a * weight + s / 2) / s; };
  return RGBColor(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)),
                  mix(BlueOf(c1), BlueOf(c2)));
}

namespace {
struct GradientCache {
  std::vector<TColor> slots[kGradientSlots];
  int next = 0;
};
GradientCache& Cache() {
  static GradientCache cache;
  return cache;
}
int Clamp255(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }
}  // namespace

int MakeGradient(int n, TColor c1, TColor c2) {
  if (n <= 0) throw std::invalid_argument("Assertion failure");
  GradientCache& cache = Cache();
  int slot = cache.next;
  cache.next = (cache.next + 1) % kGradientSlots;
  std::vector<TColor>& ramp = cache.slots[slot];
  ramp.assign(static_cast<size_t>(n), 0);
  const int dr = RedOf(c2) - RedOf(c1), dg = GreenOf(c2) - GreenOf(c1), db = BlueOf(c2) - BlueOf(c1);
  if (n == 1) {
    ramp[0] = RGBColor(RedOf(c1) + dr / 2, GreenOf(c1) + dg / 2, BlueOf(c1) + db / 2);
    return slot;
  }
  const int span = n - 1;
  for (int i = 0; i < n; i++) {
    auto step = [&](int d) { return (i * d + span / 2) / span; };
    ramp[i] = RGBColor(Clamp255(RedOf(c1) + step(dr)), Clamp255(GreenOf(c1) + step(dg)),
                       Clamp255(BlueOf(c1) + step(db)));
  }
  // The rounding term truncates toward zero, which can leave a falling
  // channel one short at the far end; the ramp must end on c2 exactly so the
  // cache finds it again.
  ramp[n - 1] = c2 & 0xFFFFFF;
  return slot;
}

int GetGradient(int n, TColor c1, TColor c2) {
  if (n <= 0) throw std::invalid_argument("Assertion failure");
  GradientCache& cache = Cache();
  for (int slot = kGradientSlots - 1; slot >= 0; slot--) {
    const std::vector<TColor>& r = cache.slots[slot];
    if (static_cast<int>(r.size()) == n && r.front() == c1 && r.back() == c2) return slot;
  }
  return MakeGradient(n, c1, c2);
}

const std::vector<TColor>& GradientRamp(int slot) { return Cache().slots[slot]; }

int ColorSaturation(TColor colour) {
  int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
  int mx = std::max({r, g, b}), mn = std::min({r, g, b});
  if (mx < 160) return 200;
  double saturation = mx == 0 ? 0.0 : double(mx - mn) / mx;
  return static_cast<int>(std::lround(saturation * 255));
}
