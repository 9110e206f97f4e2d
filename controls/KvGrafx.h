// The fills of the panel family: ten kinds of two-colour gradient.
//
// A gradient is computed as bands (rows, L-shaped areas or polygons) of one
// colour each, with the colour stepped per channel in 16.16 fixed point, and
// is painted into an off-screen bitmap which is then drawn in one blit.
// Straight gradients compute one 8-pixel strip and tile it by doubling
// copies; box gradients compute the top-left quarter and mirror it.
#pragma once

#include <vector>

#include "KvColors.h"

namespace kv {

enum TGradientDirection {
  gdDiagonalUp, gdDiagonalDown, gdHorizontalEnd, gdHorizontalCenter, gdHorizontalBox,
  gdVerticalEnd, gdVerticalCenter, gdVerticalBox, gdSquareBox, gdBigSquareBox
};

// Rows (or columns) first..last, both inclusive, of one colour.
struct TGradientBand {
  int first = 0, last = 0;
  TColor colour = 0;
};

// The least number of rows of a band for the band parameter s.
int MinBandLength(int s, bool boxFill);

// A linear run over rows top..bottom: the bottom row gets startColour and the
// colour steps towards targetColour row by row upwards, reaching it at the
// top row. Bands are listed in
// painting order (bottom first). Colours must be plain RGB.
std::vector<TGradientBand> LinearGradientBands(int top, int bottom, TColor startColour, TColor targetColour,
                                               int s);
// n rows with colour1 at row n - 1 and colour2 towards row 0.
std::vector<TGradientBand> FillLinearGradient(int n, TColor colour1, TColor colour2, int s);
// n rows split at `split`: colour2 at both outer rows, colour1 at the split.
std::vector<TGradientBand> FillSplitGradient(int n, int split, TColor colour1, TColor colour2, int s);

// One band of the box fill: up to two rectangles of the top-left quarter.
struct TBoxBand {
  TRect a, b;  // b may be empty
  TColor colour = 0;
};
// Bands of the top-left quarter of a w x h box gradient with insets
// (ix, iy): colour1 at the centre, colour2 at the outer corner. Empty when
// the picture is one solid colour2 (equal colours, w < 5 or h <= 4).
std::vector<TBoxBand> FillBoxGradient(int w, int h, int ix, int iy, TColor colour1, TColor colour2, int s);

// One band of the diagonal fill: a four-point polygon.
struct TDiagonalBand {
  TPoint p[4];
  TColor colour = 0;
};
// Polygons of a w x h diagonal fill from the lower-left corner (startColour)
// to the upper-right (endColour); a negative w mirrors it to start at the
// lower-right corner.
std::vector<TDiagonalBand> FillDiagonalGradient(int w, int h, TColor startColour, TColor endColour, int s);

// The copies of the doubling tile fill: the painted first `strip` pixels of
// an extent are copied onto the rest, doubling the covered part each time.
struct TTileCopy {
  int offset, length;  // destination start and length; the source starts at 0
};
std::vector<TTileCopy> TileBitmapFill(int extent, int strip);

// Fills a w x h bitmap (through its paint target) with the gradient of a
// direction; colour2 lies at the outer side, colour1 at the far side.
void FillGradientBitmap(PaintTarget& t, int w, int h, TGradientDirection direction, int s, TColor colour1,
                        TColor colour2);

}  // namespace kv
