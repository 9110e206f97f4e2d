#include <gtest/gtest.h>

#include "KvCommon.h"
#include "PixelRaster.h"

using namespace kv;
using kvtest::kUnpainted;
using kvtest::PixelRaster;

namespace {
TColor Rgb_(TColor c) { return ColorToRGB(c); }
}  // namespace

TEST(SideLines, NoSidesDrawNothing) {
  PixelRaster r(10, 10);
  EXPECT_EQ(DrawSideLines(r, Rect(0, 0, 10, 10), clRed, clBlue, 0), Rect(0, 0, 10, 10));
  EXPECT_EQ(r.Count(kUnpainted), 100);
}

TEST(SideLines, UpperLeftThenLowerRight) {
  PixelRaster r(10, 10);
  EXPECT_EQ(DrawSideLines(r, Rect(0, 0, 10, 10), clRed, clBlue, kAllSides), Rect(1, 1, 9, 9));
  EXPECT_EQ(r.At(0, 0), clRed);
  EXPECT_EQ(r.At(0, 8), clRed);
  EXPECT_EQ(r.At(8, 0), clRed);
  EXPECT_EQ(r.At(9, 0), clBlue);  // the lower-right lines are drawn last
  EXPECT_EQ(r.At(0, 9), clBlue);
  EXPECT_EQ(r.At(9, 9), clBlue);
  EXPECT_EQ(r.At(1, 1), kUnpainted);
  // clNone skips its sides but still shrinks them.
  PixelRaster s(10, 10);
  EXPECT_EQ(DrawSideLines(s, Rect(0, 0, 10, 10), clNone, clBlue, sdLeft | sdRight), Rect(1, 0, 9, 10));
  EXPECT_EQ(s.At(0, 5), kUnpainted);
  EXPECT_EQ(s.At(9, 5), clBlue);
}

TEST(StyledFrame, GrooveIsEtched) {
  PixelRaster r(10, 10);
  EXPECT_EQ(DrawStyledFrame(r, Rect(0, 0, 10, 10), fsGroove, kAllSides), Rect(2, 2, 8, 8));
  const TColor shadow = Rgb_(clBtnShadow), light = Rgb_(clBtnHighlight);
  EXPECT_EQ(r.At(0, 0), shadow);
  EXPECT_EQ(r.At(1, 1), light);
  EXPECT_EQ(r.At(8, 8), shadow);
  EXPECT_EQ(r.At(9, 9), light);
  EXPECT_EQ(r.At(9, 0), light);
  EXPECT_EQ(r.At(0, 9), light);
  EXPECT_EQ(r.At(2, 2), kUnpainted);
}

TEST(StyledFrame, GrooveEndsOfOpenSides) {
  // Right without bottom: the right line's lower end is the upper-left colour.
  PixelRaster r(10, 10);
  DrawStyledFrame(r, Rect(0, 0, 10, 10), fsGroove, sdRight);
  EXPECT_EQ(r.At(8, 9), Rgb_(clBtnShadow));
  EXPECT_EQ(r.At(9, 9), Rgb_(clBtnHighlight));
  EXPECT_EQ(r.At(9, 0), Rgb_(clBtnHighlight));
}

TEST(StyledFrame, GrooveOnTheTopSideOnly) {
  PixelRaster r(10, 10);
  EXPECT_EQ(DrawStyledFrame(r, Rect(0, 0, 10, 10), fsGroove, sdTop), Rect(0, 2, 10, 10));
  for (int x = 0; x < 10; ++x) EXPECT_NE(r.At(x, 0), kUnpainted) << x;
  for (int y = 3; y < 10; ++y) {
    EXPECT_EQ(r.At(0, y), kUnpainted);
    EXPECT_EQ(r.At(9, y), kUnpainted);
  }
}

TEST(StyledFrame, EveryStyleShrinksByItsWidth) {
  const struct {
    TFrameStyleEx style;
    int width;
  } cases[] = {{fsNone, 0},       {fsFlat, 1},       {fsGroove, 2},   {fsBump, 2},
               {fsLowered, 2},    {fsButtonDown, 2}, {fsRaised, 2},   {fsButtonUp, 2},
               {fsStatus, 1},     {fsPopup, 1},      {fsFlatBold, 2}, {fsFlatRounded, 2}};
  for (const auto& c : cases) {
    PixelRaster r(20, 20);
    EXPECT_EQ(DrawStyledFrame(r, Rect(0, 0, 20, 20), c.style, sdLeft | sdBottom),
              Rect(c.width, 0, 20, 20 - c.width))
        << c.style;
    EXPECT_EQ(r.At(19, 0), kUnpainted) << c.style;  // the right and top stay untouched
  }
  // A value past the styles draws nothing and reads no table past its end.
  PixelRaster r(20, 20);
  EXPECT_EQ(DrawStyledFrame(r, Rect(0, 0, 20, 20), static_cast<TFrameStyleEx>(40), kAllSides), Rect(0, 0, 20, 20));
  EXPECT_EQ(FrameStyleColors(static_cast<TFrameStyleEx>(40)).upperLeft, cl3DDkShadow);
}

TEST(StyledFrame, RaisedRings) {
  PixelRaster r(10, 10);
  DrawStyledFrame(r, Rect(0, 0, 10, 10), fsRaised, kAllSides);
  EXPECT_EQ(r.At(0, 5), Rgb_(cl3DLight));
  EXPECT_EQ(r.At(9, 5), Rgb_(cl3DDkShadow));
  EXPECT_EQ(r.At(1, 5), Rgb_(clBtnHighlight));
  EXPECT_EQ(r.At(8, 5), Rgb_(clBtnShadow));
}

TEST(CutCorner, CornersAreCut) {
  PixelRaster r(10, 10);
  EXPECT_EQ(DrawCutCornerBorder(r, Rect(0, 0, 10, 10), clRed, kAllSides), Rect(2, 2, 8, 8));
  EXPECT_EQ(r.At(0, 0), kUnpainted);
  EXPECT_EQ(r.At(1, 0), kUnpainted);
  EXPECT_EQ(r.At(2, 0), clRed);
  EXPECT_EQ(r.At(7, 0), clRed);
  EXPECT_EQ(r.At(8, 0), kUnpainted);
  EXPECT_EQ(r.At(1, 1), clRed);
  EXPECT_EQ(r.At(8, 8), clRed);
  EXPECT_EQ(r.At(9, 7), clRed);
  EXPECT_EQ(r.At(9, 8), kUnpainted);
  // Without the top side the left line runs up to the top.
  PixelRaster s(10, 10);
  DrawCutCornerBorder(s, Rect(0, 0, 10, 10), clRed, sdLeft);
  EXPECT_EQ(s.At(0, 0), clRed);
  EXPECT_EQ(s.At(0, 9), clRed);
  EXPECT_EQ(s.At(1, 1), kUnpainted);
}

TEST(FrameBorders, RaisedOuterShrinksByTwo) {
  for (TSides sides : {kAllSides, TSides(sdTop | sdRight), TSides(0)}) {
    PixelRaster r(30, 20);
    TFrameBorders f;
    f.outer = fsRaised;
    f.sides = sides;
    EXPECT_EQ(DrawFrameBorders(r, Rect(0, 0, 30, 20), f), ShrinkSides(Rect(0, 0, 30, 20), sides, 2)) << sides;
  }
}

TEST(FrameBorders, FlatOuterBorderRingAndInnerBevel) {
  PixelRaster r(30, 30);
  TFrameBorders f;
  f.outer = fsFlat;
  f.flatColor = Rgb(0x7E, 0xAE, 0xD5);
  f.flatColorAdjustment = 30;
  f.borderWidth = 2;
  f.borderColor = clGreen;
  f.inner = fsStatus;
  f.bevelWidth = 3;
  EXPECT_EQ(DrawFrameBorders(r, Rect(0, 0, 30, 30), f), Rect(6, 6, 24, 24));
  EXPECT_EQ(r.At(0, 10), LightenColor(f.flatColor, 30));
  EXPECT_EQ(r.At(1, 10), clGreen);
  EXPECT_EQ(r.At(2, 10), clGreen);
  EXPECT_EQ(r.At(3, 10), Rgb_(clBtnShadow));
  EXPECT_EQ(r.At(5, 10), Rgb_(clBtnShadow));
  EXPECT_EQ(r.At(26, 10), Rgb_(clBtnHighlight));
  EXPECT_EQ(r.At(6, 10), kUnpainted);
}

TEST(FrameBorders, FlatRoundedFillsItsCorners) {
  PixelRaster r(20, 20);
  TFrameBorders f;
  f.outer = fsFlatRounded;
  f.parentColor = clRed;
  f.controlColor = clBlue;
  f.flatColor = clGreen;
  EXPECT_EQ(DrawFrameBorders(r, Rect(0, 0, 20, 20), f), Rect(2, 2, 18, 18));
  EXPECT_EQ(r.At(0, 0), clRed);    // the parent shows in the cut corner
  EXPECT_EQ(r.At(1, 0), clRed);
  EXPECT_EQ(r.At(1, 1), clGreen);  // the corner pixel of the border
  EXPECT_EQ(r.At(2, 0), clGreen);
  EXPECT_EQ(r.At(2, 1), clBlue);   // the control's colour inside
  // With a border ring (or an inner style) the cut corners show the border
  // colour instead of the control's.
  PixelRaster b(20, 20);
  f.borderWidth = 1;
  f.borderColor = clYellow;
  DrawFrameBorders(b, Rect(0, 0, 20, 20), f);
  EXPECT_EQ(b.At(1, 0), clRed);
  EXPECT_EQ(b.At(2, 1), clYellow);
  f.borderWidth = 0;
  // Transparent: the parent ring is left alone, and without a border or an
  // inner style the inner ring too.
  PixelRaster t(20, 20);
  f.transparent = true;
  DrawFrameBorders(t, Rect(0, 0, 20, 20), f);
  EXPECT_EQ(t.At(0, 0), kUnpainted);
  EXPECT_EQ(t.At(2, 1), kUnpainted);
  EXPECT_EQ(t.At(2, 0), clGreen);
}
