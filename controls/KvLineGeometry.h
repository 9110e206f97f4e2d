// Where the line control's line, arrow heads and end points lie, and which
// points count as on the line (so that clicks beside it pass through).
#pragma once

#include "KvColors.h"

namespace kv {

enum TKvLineSlope { lsDown, lsUp };
enum TKvShowArrows { saNone, saStart, saEnd, saBoth };

constexpr int kDefaultArrowLength = 10;

// The geometry of one line control: its size, its settings and the margin
// m and end points derived from them.
struct TKvLineShape {
  int width = 0, height = 0;
  int arrowLength = kDefaultArrowLength;
  int lineWidth = 1;
  TKvLineSlope slope = lsDown;
  TKvShowArrows arrows = saNone;
  int margin = kDefaultArrowLength;  // m: 10 at creation, then arrowLength div 2
  TPoint p1, p2;                     // (x1, y1), (x2, y2)

  // The end points from the size, the margin and the slope.
  void ComputeEndPoints();
  // Width and height at least 2m; returns whether the size changed.
  bool EnforceMinimumSize();
  // A new arrow length: the margin follows, the size and end points too.
  void SetArrowLength(int value);
};

// The width rule: while arrows are shown an even new width becomes odd (up
// when growing, down when shrinking). Negative widths are refused (the old
// width stays), and a width that the rule would make negative becomes 1.
int AdjustedLineWidth(int oldWidth, int newWidth, TKvShowArrows arrows);

// The painted parts: the (shortened) line and the arrow heads at the
// unshortened end points.
struct TKvLinePaint {
  TPoint start, end;
  bool startHead = false, endHead = false;
  TPoint startTriangle[3], endTriangle[3];
};
TKvLinePaint LinePaintGeometry(const TKvLineShape& s);

// Whether a point of the control's client area is on or near the line.
bool HitTestLine(const TKvLineShape& s, int x, int y);

}  // namespace kv
