#include <gtest/gtest.h>

#include "KvGrafx.h"
#include "PixelRaster.h"

using namespace kv;
using kvtest::kUnpainted;
using kvtest::PixelRaster;

namespace {

const TColor kGrey = Rgb(128, 128, 128);

// The bands cover first..last without gap or overlap, painted from the
// bottom up.
void ExpectContiguous(const std::vector<TGradientBand>& bands, int first, int last) {
  ASSERT_FALSE(bands.empty());
  EXPECT_EQ(bands.front().last, last);
  for (size_t i = 1; i < bands.size(); ++i) EXPECT_EQ(bands[i].last, bands[i - 1].first - 1);
  EXPECT_EQ(bands.back().first, first);
}

}  // namespace

TEST(LinearGradient, OneRowPerBandFromTheFarEnd) {
  const auto bands = FillLinearGradient(100, kGrey, clWhite, 1);
  ExpectContiguous(bands, 0, 99);
  EXPECT_EQ(bands.front().colour, kGrey);  // row 99
  int prev = 127;
  for (const auto& b : bands) {
    EXPECT_EQ(b.first, b.last);  // every step changes the colour here
    EXPECT_GT(RedOf(b.colour), prev);
    prev = RedOf(b.colour);
  }
  // The top row is colour 2 itself, not a level or two short of it.
  EXPECT_EQ(bands.back().colour, clWhite);
  // Falling ramps end exactly too.
  EXPECT_EQ(FillLinearGradient(100, clWhite, kGrey, 1).back().colour, kGrey);
  EXPECT_EQ(FillLinearGradient(37, Rgb(3, 200, 90), Rgb(250, 7, 91), 1).back().colour, Rgb(250, 7, 91));
  // One row is colour 1.
  const auto one = FillLinearGradient(1, kGrey, clWhite, 1);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].colour, kGrey);
}

TEST(LinearGradient, EqualNeighbourColoursMerge) {
  // Levels 0..10 over 200 rows, 199 steps of 10/199 level rounded to the
  // nearest: half a level (10 rows) at each end, about 20 rows between.
  const auto bands = FillLinearGradient(200, Rgb(0, 0, 0), Rgb(10, 10, 10), 1);
  ExpectContiguous(bands, 0, 199);
  ASSERT_EQ(bands.size(), 11u);
  EXPECT_EQ(bands[0].first, 190);
  EXPECT_EQ(bands[1].first, 170);
  EXPECT_EQ(bands[10].colour, Rgb(10, 10, 10));
  EXPECT_EQ(bands[10].last, 9);
  const auto solid = FillLinearGradient(50, clRed, clRed, 1);
  ASSERT_EQ(solid.size(), 1u);
  EXPECT_EQ(solid[0].first, 0);
  EXPECT_EQ(solid[0].last, 49);
}

TEST(LinearGradient, BandParameterSetsTheLeastBandHeight) {
  EXPECT_EQ(MinBandLength(1, false), 1);
  EXPECT_EQ(MinBandLength(8, false), 8);
  EXPECT_EQ(MinBandLength(16, false), 16);  // 255 div 16 + 1
  EXPECT_EQ(MinBandLength(16, true), 17);   // 256 div 16 + 1
  const auto bands = FillLinearGradient(100, clBlack, clWhite, 16);
  ExpectContiguous(bands, 0, 99);
  for (size_t i = 0; i + 1 < bands.size(); ++i) EXPECT_GE(bands[i].last - bands[i].first + 1, 16);
}

TEST(LinearGradient, SplitHasColourTwoAtBothEdges) {
  const auto bands = FillSplitGradient(21, 10, kGrey, clWhite, 1);
  // rows 10..0, then rows 20..11
  ASSERT_FALSE(bands.empty());
  EXPECT_EQ(bands.front().last, 10);
  EXPECT_EQ(bands.front().colour, kGrey);
  bool sawBottom = false;
  for (const auto& b : bands)
    if (b.last == 20) {
      EXPECT_EQ(b.colour, clWhite);
      sawBottom = true;
    }
  EXPECT_TRUE(sawBottom);
}

TEST(TileFill, DoublesTheCoveredPart) {
  const auto copies = TileBitmapFill(100, 8);
  ASSERT_EQ(copies.size(), 4u);
  EXPECT_EQ(copies[0].offset, 8);
  EXPECT_EQ(copies[1].offset, 16);
  EXPECT_EQ(copies[2].offset, 32);
  EXPECT_EQ(copies[3].offset, 64);
  EXPECT_EQ(copies[3].length, 36);
  EXPECT_TRUE(TileBitmapFill(8, 8).empty());
}

TEST(GradientBitmap, HorizontalEndEveryColumnAlike) {
  PixelRaster r(50, 100);
  FillGradientBitmap(r, 50, 100, gdHorizontalEnd, 1, kGrey, clWhite);
  EXPECT_FALSE(r.AnyUnpainted());
  EXPECT_EQ(r.At(0, 99), kGrey);
  EXPECT_EQ(r.At(0, 0), clWhite);
  for (int y = 0; y < 100; ++y)
    for (int x = 1; x < 50; ++x) ASSERT_EQ(r.At(x, y), r.At(0, y)) << x << "," << y;
}

TEST(GradientBitmap, VerticalCenterIsLightestAtTheSides) {
  PixelRaster r(41, 20);
  FillGradientBitmap(r, 41, 20, gdVerticalCenter, 1, clBlack, clWhite);
  EXPECT_FALSE(r.AnyUnpainted());
  EXPECT_EQ(r.At(20, 5), clBlack);
  EXPECT_EQ(r.At(40, 5), clWhite);
  EXPECT_EQ(r.At(0, 5), clWhite);
  for (int y = 1; y < 20; ++y) EXPECT_EQ(r.At(7, y), r.At(7, 0));
}

TEST(GradientBitmap, EmptyRectangleDrawsNothing) {
  PixelRaster r(10, 10);
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
    FillGradientBitmap(r, 0, 10, static_cast<TGradientDirection>(d), 1, clBlack, clWhite);
    FillGradientBitmap(r, 10, 0, static_cast<TGradientDirection>(d), 1, clBlack, clWhite);
  }
  EXPECT_EQ(r.Count(kUnpainted), 100);
}

TEST(GradientBitmap, BoxInsetsStretchTheCentre) {
  // An inset of a quarter of the width (or height) stretches colour 1 along
  // the middle half of the centre rows (or columns); the square box has it
  // only at the centre.
  PixelRaster wide(40, 20), square(40, 20), tall(20, 40);
  FillGradientBitmap(wide, 40, 20, gdHorizontalBox, 1, clBlack, clWhite);
  FillGradientBitmap(square, 40, 20, gdSquareBox, 1, clBlack, clWhite);
  FillGradientBitmap(tall, 20, 40, gdVerticalBox, 1, clBlack, clWhite);
  EXPECT_EQ(wide.At(10, 9), clBlack);
  EXPECT_EQ(wide.At(29, 9), clBlack);
  EXPECT_NE(square.At(10, 9), clBlack);
  EXPECT_EQ(tall.At(9, 10), clBlack);
  EXPECT_EQ(tall.At(9, 29), clBlack);
}

TEST(GradientBitmap, FlatBoxesAreSolid) {
  for (int d : {gdHorizontalBox, gdVerticalBox, gdSquareBox, gdBigSquareBox}) {
    PixelRaster r(30, 4);
    FillGradientBitmap(r, 30, 4, static_cast<TGradientDirection>(d), 1, clBlack, clRed);
    EXPECT_EQ(r.Count(clRed), 120) << d;
  }
}

TEST(GradientBitmap, SquareBoxDarkCentreLightCorners) {
  PixelRaster r(40, 40);
  FillGradientBitmap(r, 40, 40, gdSquareBox, 1, clBlack, clWhite);
  EXPECT_FALSE(r.AnyUnpainted());
  EXPECT_EQ(r.At(19, 19), clBlack);
  for (auto p : {TPoint{0, 0}, TPoint{39, 0}, TPoint{0, 39}, TPoint{39, 39}})
    EXPECT_GT(RedOf(r.At(p.x, p.y)), 220) << p.x << "," << p.y;
  // Colour grows outwards along the diagonal of the top-left quarter.
  for (int i = 1; i < 19; ++i) EXPECT_GE(RedOf(r.At(i - 1, i - 1)), RedOf(r.At(i, i)));
}

TEST(BoxGradient, QuarterBandsCoverTheQuarter) {
  for (auto in : {TPoint{0, 0}, TPoint{10, 0}, TPoint{0, 7}, TPoint{10, 7}}) {
    const auto bands = FillBoxGradient(41, 31, in.x, in.y, clBlack, clWhite, 1);
    ASSERT_FALSE(bands.empty());
    EXPECT_EQ(bands.front().colour, clBlack);
    PixelRaster q(21, 16);  // hx + 1 by hy + 1
    for (const auto& b : bands) {
      q.FillRect(b.a, b.colour);
      q.FillRect(b.b, b.colour);
    }
    EXPECT_FALSE(q.AnyUnpainted()) << in.x << "," << in.y;
    EXPECT_EQ(q.At(20, 15), clBlack);
  }
  EXPECT_TRUE(FillBoxGradient(4, 30, 0, 0, clBlack, clWhite, 1).empty());
  EXPECT_TRUE(FillBoxGradient(30, 30, 0, 0, clRed, clRed, 1).empty());
}

TEST(DiagonalGradient, FromTheStartingCornerToTheFarOne) {
  const auto bands = FillDiagonalGradient(60, 30, clWhite, clBlack, 1);
  ASSERT_FALSE(bands.empty());
  EXPECT_EQ(bands.front().colour, clWhite);
  for (size_t i = 1; i < bands.size(); ++i) EXPECT_LE(RedOf(bands[i].colour), RedOf(bands[i - 1].colour));
  PixelRaster r(60, 30);
  FillGradientBitmap(r, 60, 30, gdDiagonalUp, 1, clBlack, clWhite);
  EXPECT_FALSE(r.AnyUnpainted());
  EXPECT_GT(RedOf(r.At(0, 29)), 240);  // colour2 at the lower left
  EXPECT_LT(RedOf(r.At(59, 0)), 15);   // colour1 at the upper right
  PixelRaster m(60, 30);
  FillGradientBitmap(m, 60, 30, gdDiagonalDown, 1, clBlack, clWhite);
  EXPECT_FALSE(m.AnyUnpainted());
  EXPECT_GT(RedOf(m.At(0, 0)), 240);   // colour2 at the upper left
  EXPECT_LT(RedOf(m.At(59, 29)), 15);  // colour1 at the lower right
}

TEST(DiagonalGradient, EqualColoursAreOneRectangle) {
  PixelRaster r(17, 9);
  FillGradientBitmap(r, 17, 9, gdDiagonalDown, 1, clGreen, clGreen);
  EXPECT_EQ(r.Count(clGreen), 17 * 9);
}
