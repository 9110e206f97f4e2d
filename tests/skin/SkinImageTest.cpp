#include "SkinImage.h"

#include <gtest/gtest.h>

namespace {
// A 2-image strip, each image 10 x 10: a frame of distinct colours per part
// (corners, edges, middle), margins 3, so every target pixel shows which part
// of which image it came from.
const TColor kCorner[2] = {RGBColor(255, 0, 0), RGBColor(128, 0, 0)};
const TColor kEdge[2] = {RGBColor(0, 255, 0), RGBColor(0, 128, 0)};
const TColor kMiddle[2] = {RGBColor(0, 0, 255), RGBColor(0, 0, 128)};

TPixelBuffer Strip() {
  TPixelBuffer b(20, 10);
  for (int i = 0; i < 2; i++)
    for (int y = 0; y < 10; y++)
      for (int x = 0; x < 10; x++) {
        bool ex = x < 3 || x >= 7, ey = y < 3 || y >= 7;
        b.SetPixel(10 * i + x, y, ex && ey ? kCorner[i] : ex || ey ? kEdge[i] : kMiddle[i]);
      }
  return b;
}
const TSkinRect kMargins = SkinRect(3, 3, 3, 3);

TPixelBuffer Nine(int w, int h, const TSkinPixels& src, const TSkinRect& margins, bool tile, int count, int n) {
  TPixelBuffer out(w, h);
  MakeSkinImage(out, src, margins, false, tile, count, n);
  return out;
}
TPixelBuffer Bar(int w, int h, const TSkinPixels& src, int count, int n, bool stretched = false) {
  TPixelBuffer out(w, h);
  if (stretched)
    MakeStretchedH3(out, src, false, count, n, kMargins);
  else
    MakeSkinImageH3(out, src, false, count, n, kMargins);
  return out;
}
}  // namespace

TEST(SkinImage, NinePartKeepsCornersAndStretchesTheRest) {
  TPixelBuffer img = Nine(40, 30, Strip(), kMargins, false, 2, 2);
  ASSERT_EQ(img.Width(), 40);
  EXPECT_EQ(img.Pixel(0, 0), kCorner[1]);
  EXPECT_EQ(img.Pixel(2, 2), kCorner[1]);
  EXPECT_EQ(img.Pixel(37, 27), kCorner[1]);
  EXPECT_EQ(img.Pixel(3, 0), kEdge[1]);
  EXPECT_EQ(img.Pixel(36, 1), kEdge[1]);
  EXPECT_EQ(img.Pixel(0, 15), kEdge[1]);
  EXPECT_EQ(img.Pixel(3, 3), kMiddle[1]);
  EXPECT_EQ(img.Pixel(36, 26), kMiddle[1]);
}

TEST(SkinImage, MarginsThatDoNotFitAreDroppedInPairs) {
  // Narrower than left + right: the whole width is stretched, corners and all.
  TPixelBuffer img = Nine(5, 30, Strip(), kMargins, false, 2, 1);
  EXPECT_EQ(img.Pixel(0, 0), kCorner[0]);   // top-left of the stretched image
  EXPECT_EQ(img.Pixel(2, 1), kEdge[0]);     // top edge now spans the middle
  EXPECT_EQ(img.Pixel(2, 15), kMiddle[0]);
}

// A description may give any margin up to the int limit: it is taken as a
// margin that does not fit (nine parts) or as a cap wider than the target
// and the image (bars), never as arithmetic that overflows.
TEST(SkinImage, MarginsNearTheIntLimit) {
  const TPixelBuffer strip = Strip();
  const int big = 2147483647;
  EXPECT_TRUE(Nine(40, 30, strip, SkinRect(big, 3, 1, 3), false, 2, 2)
                  .SamePixels(Nine(40, 30, strip, SkinRect(0, 3, 0, 3), false, 2, 2)));
  EXPECT_TRUE(Nine(40, 30, strip, SkinRect(3, big, 3, 1), true, 2, 2)
                  .SamePixels(Nine(40, 30, strip, SkinRect(3, 0, 3, 0), true, 2, 2)));
  for (bool stretched : {false, true}) {
    for (const TSkinRect& caps : {SkinRect(big, 0, 2, 0), SkinRect(2, 0, big, 0), SkinRect(big, 0, big, 0)}) {
      TPixelBuffer huge(30, 6), wide(30, 6);
      const TSkinRect asWide = SkinRect(caps.Left == big ? 30 : caps.Left, 0, caps.Right == big ? 30 : caps.Right, 0);
      if (stretched) {
        MakeStretchedH3(huge, strip, false, 2, 2, caps);
        MakeStretchedH3(wide, strip, false, 2, 2, asWide);
      } else {
        MakeSkinImageH3(huge, strip, false, 2, 2, caps);
        MakeSkinImageH3(wide, strip, false, 2, 2, asWide);
      }
      EXPECT_TRUE(huge.SamePixels(wide));
    }
  }
}

TEST(SkinImage, AZeroMarginDropsItsEdgeAndCorners) {
  TPixelBuffer img = Nine(40, 30, Strip(), SkinRect(0, 3, 3, 3), false, 2, 1);
  // The left column is the top edge stretched from image column 0 (a corner
  // pixel of the source), not a fixed corner part.
  EXPECT_EQ(img.Pixel(0, 15), kEdge[0]);   // middle band, source column 0 is edge
  EXPECT_EQ(img.Pixel(39, 0), kCorner[0]);
}

TEST(SkinImage, TiledMiddleRepeatsAtItsOwnSize) {
  TPixelBuffer b(10, 10, RGBColor(9, 9, 9));
  b.FillRect(3, 3, 7, 7, RGBColor(1, 1, 1));
  b.SetPixel(3, 3, RGBColor(2, 2, 2));  // marks the top-left of each tile
  TPixelBuffer img = Nine(20, 20, b, kMargins, true, 1, 1);
  EXPECT_EQ(img.Pixel(3, 3), RGBColor(2, 2, 2));
  EXPECT_EQ(img.Pixel(7, 7), RGBColor(2, 2, 2));
  EXPECT_EQ(img.Pixel(11, 3), RGBColor(2, 2, 2));
  EXPECT_EQ(img.Pixel(8, 8), RGBColor(1, 1, 1));
  // The last tile runs past the middle and is covered by the right edge.
  EXPECT_EQ(img.Pixel(17, 10), RGBColor(9, 9, 9));
}

TEST(SkinImage, ImageWithoutRoomForItsMarginsDrawsNoMirroredParts) {
  // Image 4 pixels wide with margins 3 + 3: the source middle has negative
  // width. That part is left out rather than drawn mirrored.
  TPixelBuffer b(4, 10, RGBColor(50, 50, 50));
  TPixelBuffer img = Nine(20, 20, b, kMargins, false, 1, 1);
  EXPECT_EQ(img.Pixel(10, 10), kMagenta);
  EXPECT_EQ(img.Pixel(0, 0), RGBColor(50, 50, 50));
}

TEST(SkinImage, ThreePartBar) {
  TPixelBuffer bar = Bar(30, 6, Strip(), 2, 1);
  EXPECT_EQ(bar.Pixel(0, 5), kCorner[0]);
  EXPECT_EQ(bar.Pixel(29, 0), kCorner[0]);
  EXPECT_EQ(bar.Pixel(3, 0), kEdge[0]);   // middle columns keep their width
  EXPECT_EQ(bar.Pixel(12, 3), kMiddle[0]);
  EXPECT_EQ(bar.Pixel(26, 3), kMiddle[0]);  // the last repeat runs up to the cap
  EXPECT_EQ(bar.Pixel(27, 3), kEdge[0]);    // right cap
  // With no middle (image no wider than its caps) only the caps are drawn.
  TPixelBuffer narrow(6, 4, RGBColor(1, 2, 3));
  TPixelBuffer capped = Bar(30, 6, narrow, 1, 1);
  EXPECT_EQ(capped.Pixel(1, 1), RGBColor(1, 2, 3));
  EXPECT_EQ(capped.Pixel(15, 1), kMagenta);
  TPixelBuffer stretched = Bar(30, 6, Strip(), 2, 2, true);
  EXPECT_EQ(stretched.Pixel(15, 0), kEdge[1]);
  EXPECT_EQ(stretched.Pixel(1, 0), kCorner[1]);
}

TEST(SkinImage, CellsAndTransparency) {
  TPixelBuffer strip(4, 2, kMagenta);
  strip.SetPixel(2, 0, RGBColor(1, 1, 1));
  // Image 2 of two, unscaled, placed with its key colour left out.
  TPixelBuffer cell(2, 2);
  MakeSkinCell(cell, strip, 2, 2);
  TPixelBuffer dst(6, 6, RGBColor(9, 9, 9));
  PutImage(dst, 2, 2, cell, true);
  EXPECT_EQ(dst.Pixel(2, 2), RGBColor(1, 1, 1));
  EXPECT_EQ(dst.Pixel(3, 2), RGBColor(9, 9, 9));
  // Count 1 stretches the whole strip; placed opaque, the key colour stays.
  TPixelBuffer whole(6, 6);
  MakeSkinCell(whole, strip, 1, 1);
  PutImage(dst, 0, 0, whole, false);
  EXPECT_EQ(dst.Pixel(0, 0), kMagenta);
  EXPECT_EQ(dst.Pixel(3, 1), RGBColor(1, 1, 1));
  // Placing past the edges copies only what lies inside.
  PutImage(dst, -5, 5, whole, false);
  EXPECT_EQ(dst.Pixel(0, 5), kMagenta);
  // A frame count below 1 reads as 1.
  EXPECT_EQ(SkinImageRect(strip, false, 0, 1), SkinRect(0, 0, 4, 2));
}

TEST(SkinImage, OpaqueRuns) {
  TPixelBuffer b(5, 2, kMagenta);
  b.SetPixel(1, 0, 0);
  b.SetPixel(2, 0, 0);
  b.SetPixel(4, 0, RGBColor(250, 3, 250));  // within a tolerance of 5 of the key
  auto runs = OpaqueRuns(b, 10, 20, 0, 0, 0, kMagenta);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], SkinRect(11, 20, 13, 21));
  EXPECT_EQ(runs[1], SkinRect(14, 20, 15, 21));
  runs = OpaqueRuns(b, 0, 0, 5, 5, 5, RGBColor(250, 0, 250));
  EXPECT_EQ(runs.size(), 1u);
  TPixelBuffer solid(3, 2, 0);
  EXPECT_EQ(OpaqueRuns(solid, 0, 0, 0, 0, 0, kMagenta).size(), 2u);
}
