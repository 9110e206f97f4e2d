// Band computations of the gradients and the fill of the off-screen bitmap.
#include "KvGrafx.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kv {

namespace {

constexpr int kStripSize = 8;  // straight gradients compute one strip this wide

// A colour stepped per channel in 16.16 fixed point: channel << 16 plus a
// signed increment per step (a truncating division); the colour is the
// integer part of each channel.
class ColourRamp {
 public:
  // The box and diagonal fills: `divisions` equal steps from `from`
  // towards `to`.
  static ColourRamp Truncating(TColor from, TColor to, int divisions) { return ColourRamp(from, to, divisions, 0); }
  // The straight fills: after `steps` steps the ramp is `to` itself. Each
  // channel starts half a level up so that its integer part is the nearest
  // level; a truncating ramp of steps + 1 divisions would end a level or
  // two short of `to` (a grey-to-white fill of 100 rows topped at 253).
  static ColourRamp Landing(TColor from, TColor to, int steps) { return ColourRamp(from, to, steps, kHalfLevel); }

  void Step() {
    for (int i = 0; i < 3; ++i) ch_[i] += inc_[i];
  }
  TColor Colour() const { return Rgb(ch_[0] >> 16, ch_[1] >> 16, ch_[2] >> 16); }

 private:
  static constexpr int kHalfLevel = 1 << 15;
  ColourRamp(TColor from, TColor to, int divisions, int offset) {
    const int a[3] = {RedOf(from), GreenOf(from), BlueOf(from)};
    const int b[3] = {RedOf(to), GreenOf(to), BlueOf(to)};
    for (int i = 0; i < 3; ++i) {
      ch_[i] = (a[i] << 16) + offset;
      inc_[i] = divisions > 0 ? (b[i] - a[i]) * 65536 / divisions : 0;
    }
  }
  int ch_[3], inc_[3];
};

}  // namespace

int MinBandLength(int s, bool boxFill) {
  s &= 0xFF;
  if (s <= 8) return s;
  return (boxFill ? 256 : 255) / s + 1;
}

std::vector<TGradientBand> LinearGradientBands(int top, int bottom, TColor startColour, TColor targetColour,
                                               int s) {
  std::vector<TGradientBand> bands;
  const int n = bottom - top + 1;
  if (n <= 0) return bands;
  const int minLen = MinBandLength(s, false);
  ColourRamp cur = ColourRamp::Landing(startColour, targetColour, n - 1);  // the far row is n - 1 steps away
  int row = bottom;
  while (row >= top) {
    const TColor band = cur.Colour();
    const int last = row;
    int len = 0;
    do {
      cur.Step();
      --row;
      ++len;
    } while (row >= top && (len < minLen || cur.Colour() == band));
    bands.push_back(TGradientBand{row + 1, last, band});
  }
  return bands;
}

std::vector<TGradientBand> FillLinearGradient(int n, TColor colour1, TColor colour2, int s) {
  return LinearGradientBands(0, n - 1, colour1, colour2, s);
}

std::vector<TGradientBand> FillSplitGradient(int n, int split, TColor colour1, TColor colour2, int s) {
  std::vector<TGradientBand> bands = LinearGradientBands(0, std::min(split, n - 1), colour1, colour2, s);
  const std::vector<TGradientBand> second = LinearGradientBands(split + 1, n - 1, colour2, colour1, s);
  bands.insert(bands.end(), second.begin(), second.end());
  return bands;
}

std::vector<TBoxBand> FillBoxGradient(int w, int h, int ix, int iy, TColor colour1, TColor colour2, int s) {
  std::vector<TBoxBand> bands;
  if (colour1 == colour2 || w < 5 || h <= 4) return bands;
  const int hx = (w - 1) / 2, hy = (h - 1) / 2;
  const int rx = std::max(hx - ix, 0), ry = std::max(hy - iy, 0);
  const int n = std::max(rx, ry) + 1;
  const int minLen = MinBandLength(s, true);
  ColourRamp cur = ColourRamp::Truncating(colour1, colour2, n);
  const int stepX = (rx << 16) / n, stepY = (ry << 16) / n;
  int cx = rx << 16, cy = ry << 16;
  // The first band reaches to the quarter's inner edges, so the centre is
  // painted in colour1 with it.
  int prevX = hx + 1, prevY = hy + 1;
  int step = 0;
  while (step < n) {
    const TColor band = cur.Colour();
    int len = 0;
    do {
      cur.Step();
      cx -= stepX;
      cy -= stepY;
      ++step;
      ++len;
    } while (step < n && (len < minLen || cur.Colour() == band));
    const int nx = cx >> 16, ny = cy >> 16;
    TBoxBand b;
    b.colour = band;
    // The L between the new corner and the previous one: the rows above the
    // previous corner, then the columns left of it below.
    b.a = Rect(nx, ny, hx + 1, prevY);
    b.b = Rect(nx, prevY, prevX, hy + 1);
    if (b.a.Width() <= 0 || b.a.Height() <= 0) std::swap(b.a, b.b);
    if (b.b.Width() <= 0 || b.b.Height() <= 0) b.b = TRect{};
    if (b.a.Width() > 0 && b.a.Height() > 0) bands.push_back(b);
    prevX = nx;
    prevY = ny;
  }
  return bands;
}

std::vector<TDiagonalBand> FillDiagonalGradient(int w, int h, TColor startColour, TColor endColour, int s) {
  std::vector<TDiagonalBand> bands;
  const bool mirrored = w < 0;
  const int W = std::abs(w), H = std::abs(h);
  if (W == 0 || H == 0) return bands;
  const int n = static_cast<int>(std::sqrt(double(W) * W + double(H) * H)) + 1;
  const int half = std::max(n / 2, 1);
  const int minLen = MinBandLength(s, false);
  ColourRamp cur = ColourRamp::Truncating(startColour, endColour, n);
  const int stepX = (W << 16) / half, stepY = (H << 16) / half;
  auto mx = [&](TPoint p) { return mirrored ? TPoint{W - p.x, p.y} : p; };
  auto emit = [&](TPoint a0, TPoint b0, TPoint b1, TPoint a1, TColor c) {
    TDiagonalBand band;
    band.p[0] = mx(a0);
    band.p[1] = mx(b0);
    band.p[2] = mx(b1);
    band.p[3] = mx(a1);
    band.colour = c;
    bands.push_back(band);
  };
  // The edge runs from a point A to a point B. First sweep: A climbs the
  // left side and B runs along the bottom, away from the starting corner;
  // second sweep: A runs along the top and B climbs the right side.
  for (int sweep = 0; sweep < 2; ++sweep) {
    auto pointA = [&](int dx, int dy) {
      return sweep == 0 ? TPoint{0, H - std::min(dy, H)} : TPoint{std::min(dx, W), 0};
    };
    auto pointB = [&](int dx, int dy) {
      return sweep == 0 ? TPoint{std::min(dx, W), H} : TPoint{W, H - std::min(dy, H)};
    };
    int kx = 0, ky = 0, step = 0;
    TPoint prevA = pointA(0, 0), prevB = pointB(0, 0);
    while (step < half) {
      const TColor band = cur.Colour();
      int len = 0;
      do {
        cur.Step();
        kx += stepX;
        ky += stepY;
        ++step;
        ++len;
      } while (step < half && (len < minLen || cur.Colour() == band));
      const TPoint a = pointA(kx >> 16, ky >> 16), b = pointB(kx >> 16, ky >> 16);
      if (!(a == prevA) || !(b == prevB)) {
        emit(prevA, prevB, b, a, band);
        prevA = a;
        prevB = b;
      }
    }
    // Close the sweep at the bitmap's edge.
    const TPoint endA = pointA(W, H), endB = pointB(W, H);
    if (!(endA == prevA) || !(endB == prevB)) emit(prevA, prevB, endB, endA, cur.Colour());
  }
  return bands;
}

std::vector<TTileCopy> TileBitmapFill(int extent, int strip) {
  std::vector<TTileCopy> copies;
  if (strip <= 0) return copies;
  for (int covered = strip; covered < extent; covered *= 2)
    copies.push_back(TTileCopy{covered, std::min(covered, extent - covered)});
  return copies;
}

namespace {

void PaintBoxGradient(PaintTarget& t, int w, int h, int ix, int iy, TColor c1, TColor c2, int s, bool prefill) {
  if (prefill) t.FillRect(Rect(0, 0, w, h), c2);
  const std::vector<TBoxBand> bands = FillBoxGradient(w, h, ix, iy, c1, c2, s);
  if (bands.empty()) {
    t.FillRect(Rect(0, 0, w + 1, h + 1), c2);
    return;
  }
  for (const TBoxBand& b : bands) {
    t.FillRect(b.a, b.colour);
    if (b.b.Width() > 0 && b.b.Height() > 0) t.FillRect(b.b, b.colour);
  }
  // MirrorBitmapQuadrant: the top-left quarter upside down into the bottom
  // left, then the left half mirrored into the right.
  const int k = (w / 2) % 2;
  t.Copy(0, h - 1, w / 2 + 1, -(h / 2), 0, 0, w / 2, h / 2);
  t.Copy(w - 1, 0, -(w / 2 + k), h, 0, 0, w / 2 - k, h);
}

}  // namespace

void FillGradientBitmap(PaintTarget& t, int w, int h, TGradientDirection direction, int s, TColor colour1,
                        TColor colour2) {
  w = std::abs(w);
  h = std::abs(h);
  if (w == 0 || h == 0) return;
  const TColor c1 = ColorToRGB(colour1), c2 = ColorToRGB(colour2);
  switch (direction) {
    case gdDiagonalUp:
    case gdDiagonalDown: {
      if (c1 == c2) {
        t.FillRect(Rect(0, 0, w, h), c2);
        break;
      }
      const std::vector<TDiagonalBand> bands = direction == gdDiagonalUp
                                                   ? FillDiagonalGradient(w, h, c2, c1, s)
                                                   : FillDiagonalGradient(-w, h, c1, c2, s);
      for (const TDiagonalBand& b : bands) t.Polygon(b.p, 4, b.colour);
      break;
    }
    case gdHorizontalEnd:
    case gdHorizontalCenter: {
      const int strip = std::min(kStripSize, w);
      const std::vector<TGradientBand> bands = direction == gdHorizontalEnd
                                                   ? FillLinearGradient(h, c1, c2, s)
                                                   : FillSplitGradient(h, h / 2, c1, c2, s);
      for (const TGradientBand& b : bands) t.FillRect(Rect(0, b.first, strip, b.last + 1), b.colour);
      for (const TTileCopy& c : TileBitmapFill(w, strip)) t.Copy(c.offset, 0, c.length, h, 0, 0, c.length, h);
      break;
    }
    case gdVerticalEnd:
    case gdVerticalCenter: {
      const int strip = std::min(kStripSize, h);
      const std::vector<TGradientBand> bands = direction == gdVerticalEnd
                                                   ? FillLinearGradient(w, c1, c2, s)
                                                   : FillSplitGradient(w, w / 2, c1, c2, s);
      for (const TGradientBand& b : bands) t.FillRect(Rect(b.first, 0, b.last + 1, strip), b.colour);
      for (const TTileCopy& c : TileBitmapFill(h, strip)) t.Copy(0, c.offset, w, c.length, 0, 0, w, c.length);
      break;
    }
    case gdHorizontalBox: PaintBoxGradient(t, w, h, w / 4, 0, c1, c2, s, true); break;
    case gdVerticalBox: PaintBoxGradient(t, w, h, 0, h / 4, c1, c2, s, false); break;
    case gdSquareBox: PaintBoxGradient(t, w, h, 0, 0, c1, c2, s, true); break;
    case gdBigSquareBox: PaintBoxGradient(t, w, h, w / 4, h / 4, c1, c2, s, false); break;
  }
}

}  // namespace kv
