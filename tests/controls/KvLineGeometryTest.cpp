#include <gtest/gtest.h>

#include "KvLineGeometry.h"

using namespace kv;

namespace {
TKvLineShape Shape(int w, int h, TKvLineSlope slope = lsDown) {
  TKvLineShape s;
  s.width = w;
  s.height = h;
  s.slope = slope;
  s.EnforceMinimumSize();
  s.ComputeEndPoints();
  return s;
}
}  // namespace

TEST(LineShape, SeparatorRunsAlongTheCentre) {
  const TKvLineShape s = Shape(343, 20);
  EXPECT_EQ(s.p1, (TPoint{10, 10}));
  EXPECT_EQ(s.p2, (TPoint{333, 10}));
  const TKvLinePaint p = LinePaintGeometry(s);
  EXPECT_EQ(p.start, s.p1);
  EXPECT_EQ(p.end, s.p2);
  EXPECT_FALSE(p.startHead || p.endHead);
}

TEST(LineShape, MinimumSizeIsTwiceTheMargin) {
  TKvLineShape s = Shape(5, 5);
  EXPECT_EQ(s.width, 20);
  EXPECT_EQ(s.height, 20);
  s = Shape(40, 20);
  s.SetArrowLength(30);
  EXPECT_EQ(s.margin, 15);
  EXPECT_EQ(s.width, 40);
  EXPECT_EQ(s.height, 30);
  EXPECT_EQ(s.p2, (TPoint{25, 15}));
}

TEST(LineShape, RisingVerticalLineArrowsPointOutward) {
  TKvLineShape s = Shape(20, 60, lsUp);
  s.arrows = saBoth;
  ASSERT_EQ(s.p1, (TPoint{10, 50}));
  ASSERT_EQ(s.p2, (TPoint{10, 10}));
  const TKvLinePaint p = LinePaintGeometry(s);
  EXPECT_EQ(p.start, (TPoint{10, 45}));  // shortened by half the arrow length
  EXPECT_EQ(p.end, (TPoint{10, 15}));
  // The start head's base lies above its tip at the bottom, the end head's below its tip at the top.
  EXPECT_EQ(p.startTriangle[0], s.p1);
  EXPECT_LT(p.startTriangle[1].y, s.p1.y);
  EXPECT_LT(p.startTriangle[2].y, s.p1.y);
  EXPECT_EQ(p.endTriangle[0], s.p2);
  EXPECT_GT(p.endTriangle[1].y, s.p2.y);
  EXPECT_GT(p.endTriangle[2].y, s.p2.y);
  EXPECT_EQ(p.startTriangle[1].x + p.startTriangle[2].x, 2 * s.p1.x);  // symmetric about the line
}

TEST(LineShape, FallingLineHeads) {
  TKvLineShape s = Shape(100, 20);
  s.arrows = saEnd;
  const TKvLinePaint p = LinePaintGeometry(s);
  EXPECT_EQ(p.start, s.p1);
  EXPECT_EQ(p.end, (TPoint{85, 10}));
  EXPECT_FALSE(p.startHead);
  ASSERT_TRUE(p.endHead);
  // cos(pi/8) x 10 = 9.24, sin(pi/8) x 10 = 3.83
  EXPECT_EQ(p.endTriangle[1], (TPoint{81, 6}));
  EXPECT_EQ(p.endTriangle[2], (TPoint{81, 14}));
}

TEST(LineWidth, EvenWidthsBecomeOddWithArrows) {
  EXPECT_EQ(AdjustedLineWidth(1, 2, saBoth), 3);
  EXPECT_EQ(AdjustedLineWidth(3, 2, saBoth), 1);
  EXPECT_EQ(AdjustedLineWidth(1, 2, saNone), 2);
  EXPECT_EQ(AdjustedLineWidth(1, 4, saStart), 5);
  // Never negative: refused outright, or held at 1 when the rule would go below.
  EXPECT_EQ(AdjustedLineWidth(3, -2, saNone), 3);
  EXPECT_EQ(AdjustedLineWidth(1, 0, saEnd), 1);
  EXPECT_EQ(AdjustedLineWidth(1, 0, saNone), 0);
}

TEST(LineHitTest, ClicksBesideTheLinePass) {
  const TKvLineShape s = Shape(100, 60);  // (10,10) to (90,50), slope 1/2
  EXPECT_TRUE(HitTestLine(s, 50, 30));
  EXPECT_TRUE(HitTestLine(s, 50, 28));
  EXPECT_TRUE(HitTestLine(s, 50, 32));
  EXPECT_FALSE(HitTestLine(s, 50, 33));
  EXPECT_FALSE(HitTestLine(s, 50, 50));  // 20 pixels below a 1-pixel line
  // Outside the client area moved in by m - t.
  EXPECT_FALSE(HitTestLine(s, 5, 7));
  EXPECT_TRUE(HitTestLine(s, 6, 8));
  // A thick line widens the band.
  TKvLineShape thick = s;
  thick.lineWidth = 20;
  EXPECT_TRUE(HitTestLine(thick, 50, 35));
  EXPECT_FALSE(HitTestLine(thick, 50, 36));
}

TEST(LineHitTest, VerticalLine) {
  const TKvLineShape s = Shape(20, 80, lsUp);
  // x = 10; within 4 pixels, and inside the client area moved in by 6.
  EXPECT_TRUE(HitTestLine(s, 13, 40));
  EXPECT_FALSE(HitTestLine(s, 14, 40));
  EXPECT_TRUE(HitTestLine(s, 6, 40));
  EXPECT_FALSE(HitTestLine(s, 5, 40));
}
