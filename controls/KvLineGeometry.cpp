// Line geometry: end points, arrow heads and the hit test.
#include "KvLineGeometry.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMinHitTolerance = 4;  // pixels either side of a thin line

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// The line's angle; a vertical line is pi/2 (its direction is fixed by the
// slope where it matters).
double LineAngle(const TKvLineShape& s) {
  if (s.p1.x == s.p2.x) return kPi / 2;
  return std::atan(double(s.p2.y - s.p1.y) / double(s.p2.x - s.p1.x));
}

}  // namespace

void TKvLineShape::ComputeEndPoints() {
  const int m = margin;
  if (slope == lsDown) {
    p1 = TPoint{m, m};
    p2 = TPoint{width - m, height - m};
  } else {
    p1 = TPoint{m, height - m};
    p2 = TPoint{width - m, m};
  }
}

bool TKvLineShape::EnforceMinimumSize() {
  bool changed = false;
  if (width < 2 * margin) width = 2 * margin, changed = true;
  if (height < 2 * margin) height = 2 * margin, changed = true;
  return changed;
}

void TKvLineShape::SetArrowLength(int value) {
  arrowLength = value;
  margin = value / 2;
  EnforceMinimumSize();
  ComputeEndPoints();
}

int AdjustedLineWidth(int oldWidth, int newWidth, TKvShowArrows arrows) {
  if (newWidth < 0) return oldWidth;
  int w = newWidth;
  if (arrows != saNone && w % 2 == 0) {
    if (w > oldWidth)
      ++w;
    else if (w < oldWidth)
      --w;
  }
  return w < 0 ? 1 : w;
}

TKvLinePaint LinePaintGeometry(const TKvLineShape& s) {
  TKvLinePaint p;
  const double a = LineAngle(s);
  const bool flip = s.slope == lsUp && s.p1.x == s.p2.x;  // vertical and rising
  p.start = s.p1;
  p.end = s.p2;
  if (s.arrows == saNone) return p;
  const int h = s.arrowLength / 2;
  int dx = RoundEven(std::cos(a) * h), dy = RoundEven(std::sin(a) * h);
  if (flip) dx = -dx, dy = -dy;
  p.startHead = s.arrows == saStart || s.arrows == saBoth;
  p.endHead = s.arrows == saEnd || s.arrows == saBoth;
  if (p.startHead) p.start = TPoint{p.start.x + dx, p.start.y + dy};
  if (p.endHead) p.end = TPoint{p.end.x - dx, p.end.y - dy};
  int c1 = RoundEven(std::cos(a - kPi / 8) * s.arrowLength), s1 = RoundEven(std::sin(a - kPi / 8) * s.arrowLength);
  int c2 = RoundEven(std::cos(a + kPi / 8) * s.arrowLength), s2 = RoundEven(std::sin(a + kPi / 8) * s.arrowLength);
  if (flip) c1 = -c1, s1 = -s1, c2 = -c2, s2 = -s2;
  const TPoint q1 = s.p1, q2 = s.p2;
  p.startTriangle[0] = q1;
  p.startTriangle[1] = TPoint{q1.x + c2, q1.y + s2};
  p.startTriangle[2] = TPoint{q1.x + c1, q1.y + s1};
  p.endTriangle[0] = q2;
  p.endTriangle[1] = TPoint{q2.x - c2, q2.y - s2};
  p.endTriangle[2] = TPoint{q2.x - c1, q2.y - s1};
  return p;
}

bool HitTestLine(const TKvLineShape& s, int x, int y) {
  const int t = std::max(s.lineWidth / 2, kMinHitTolerance);
  const int grow = t - s.margin;
  if (x < -grow || y < -grow || x >= s.width + grow || y >= s.height + grow) return false;
  if (s.p1.x == s.p2.x) return std::abs(x - s.p1.x) <= t;
  const double slope = double(s.p2.y - s.p1.y) / double(s.p2.x - s.p1.x);
  auto yAt = [&](int ox, int oy) { return RoundEven(slope * (x + ox - s.p1.x) + oy + s.p1.y); };
  int ya, yb;
  if (s.slope == lsDown) {
    ya = yAt(t, -t);
    yb = yAt(-t, t);
  } else {
    ya = yAt(-t, -t);
    yb = yAt(t, t);
  }
  if (ya > yb) std::swap(ya, yb);
  return ya <= y && y <= yb;
}

}  // namespace kv
