#include <gtest/gtest.h>

#include "KvPanelLayout.h"
#include "PixelRaster.h"

using namespace kv;
using kvtest::kUnpainted;
using kvtest::PixelRaster;

TEST(PanelFrame, DefaultRaisedPanelChildrenTwoInside) {
  TPanelFrame f;
  EXPECT_EQ(ShrinkByFrame(Rect(0, 0, 100, 40), f, true), Rect(2, 2, 98, 38));
  f.outer = fsFlat;
  f.sides = sdLeft | sdRight | sdBottom;
  EXPECT_EQ(ShrinkByFrame(Rect(0, 0, 100, 40), f, true), Rect(1, 0, 99, 39));
  f.outer = fsStatus;
  f.inner = fsFlatRounded;
  f.bevelWidth = 3;
  f.borderWidth = 4;
  f.sides = kAllSides;
  EXPECT_EQ(ShrinkByFrame(Rect(0, 0, 100, 40), f, true), Rect(9, 9, 91, 31));
  EXPECT_EQ(ShrinkByFrame(Rect(0, 0, 100, 40), f, false), Rect(5, 5, 95, 35));
}

TEST(PanelGrid, DotsAndLines) {
  PixelRaster r(20, 20);
  PaintGrid(r, Rect(0, 0, 20, 20), gsDots, 8, 8, clRed);
  EXPECT_EQ(r.Count(clRed), 4);
  EXPECT_EQ(r.At(7, 7), clRed);
  EXPECT_EQ(r.At(15, 15), clRed);
  PixelRaster s(20, 20);
  PaintGrid(s, Rect(0, 0, 20, 20), gsSolidLines, 8, 10, clRed);
  EXPECT_EQ(s.At(7, 0), clRed);
  EXPECT_EQ(s.At(7, 19), clRed);
  EXPECT_EQ(s.At(0, 9), clRed);
  EXPECT_EQ(s.At(0, 19), clRed);
  PixelRaster d(20, 20);
  PaintGrid(d, Rect(0, 0, 20, 20), gsDottedLines, 8, 0, clRed);
  EXPECT_EQ(d.At(7, 0), kUnpainted);
  EXPECT_EQ(d.At(7, 1), clRed);
  EXPECT_EQ(d.At(7, 2), kUnpainted);
  EXPECT_EQ(d.At(7, 19), clRed);
  EXPECT_EQ(d.Count(clRed), 2 * 10);
}

TEST(PanelGrid, ZeroSizeDrawsNothing) {
  PixelRaster r(20, 20);
  PaintGrid(r, Rect(0, 0, 20, 20), gsDots, 0, 8, clRed);
  PaintGrid(r, Rect(0, 0, 20, 20), gsSolidLines, 0, 0, clRed);
  EXPECT_EQ(r.Count(clRed), 0);
}

TEST(PanelCaption, VerticalPlacement) {
  EXPECT_EQ(PlaceCaption(Rect(0, 10, 50, 50), 12, avTop), Rect(0, 10, 50, 22));
  EXPECT_EQ(PlaceCaption(Rect(0, 10, 50, 50), 12, avCenter), Rect(0, 24, 50, 36));
  EXPECT_EQ(PlaceCaption(Rect(0, 10, 50, 50), 12, avBottom), Rect(0, 37, 50, 50));
  // Shorter than the text: avBottom keeps the top.
  EXPECT_EQ(PlaceCaption(Rect(0, 10, 50, 15), 12, avBottom), Rect(0, 10, 50, 15));
  // Centring divides towards zero.
  EXPECT_EQ(PlaceCaption(Rect(0, -5, 50, 0), 12, avCenter).top, -8);
}

TEST(PanelBounds, AlignedEdgeStays) {
  EXPECT_EQ(KeepAlignedEdge(aeBottom, Rect(0, 100, 200, 140), Rect(0, 100, 200, 160)), Rect(0, 80, 200, 140));
  EXPECT_EQ(KeepAlignedEdge(aeRight, Rect(100, 0, 150, 80), Rect(100, 0, 170, 80)), Rect(80, 0, 150, 80));
  EXPECT_EQ(KeepAlignedEdge(aeTop, Rect(0, 0, 200, 40), Rect(0, 0, 200, 60)), Rect(0, 0, 200, 60));
}

TEST(PanelResize, StripsAtTheGrowingEdges) {
  const auto strips = ResizeRepaintStrips(Rect(0, 0, 100, 40), Rect(2, 2, 98, 38), 120, 40, TPoint{1, 1});
  ASSERT_EQ(strips.size(), 1u);
  EXPECT_EQ(strips[0], Rect(97, 0, 100, 40));
  EXPECT_EQ(ResizeRepaintStrips(Rect(0, 0, 100, 40), Rect(2, 2, 98, 38), 90, 50, TPoint{1, 1}).size(), 2u);
}

TEST(GroupBox, ClientAreaBelowTheCaption) {
  // Font height 12: children start at 12 + 1.
  EXPECT_EQ(GroupClientRect(Rect(0, 0, 185, 105), gsFlat, 12, 0, false), Rect(1, 13, 184, 104));
  EXPECT_EQ(GroupClientRect(Rect(0, 0, 185, 105), gsStandard, 12, 0, false), Rect(2, 14, 183, 103));
  EXPECT_EQ(GroupClientRect(Rect(0, 0, 185, 105), gsFlat, 12, 8, false).top, 6);  // a = 5 < 8
  EXPECT_EQ(GroupClientRect(Rect(0, 0, 185, 105), gsCustom, 12, 0, true), Rect(2, 2, 183, 103));
  EXPECT_EQ(GroupClientRect(Rect(0, 0, 185, 105), gsCustom, 12, 0, false).top, 14);
  EXPECT_EQ(GroupClientRect(Rect(0, 0, 185, 105), gsTopLine, 12, 0, false).top, 12);
  EXPECT_EQ(GroupClientRect(Rect(0, 0, 185, 105), gsBanner, 12, 0, false).top, 20);
  EXPECT_EQ(GroupClientRect(Rect(0, 0, 185, 105), gsUnderline, 12, 0, false).top, 16);
  EXPECT_EQ(GroupFrameTop(12), 5);
}

TEST(GroupBox, CaptionBoxes) {
  EXPECT_EQ(GroupCaptionBox(gsFlat, 40, 12, 185, false), Rect(8, 0, 48, 12));
  EXPECT_EQ(GroupCaptionBox(gsStandard, 40, 12, 185, true), Rect(137, 0, 177, 12));
  EXPECT_EQ(GroupCaptionBox(gsTopLine, 40, 12, 185, false), Rect(0, 0, 44, 12));
  EXPECT_EQ(GroupCaptionBox(gsBanner, 40, 12, 185, false), Rect(0, 0, 185, 18));
  EXPECT_EQ(GroupCaptionBox(gsUnderline, 40, 12, 185, false), Rect(0, 0, 185, 14));
  EXPECT_EQ(GroupCaptionBox(gsCustom, 40, 12, 185, false), TRect{});
}

TEST(GroupBox, FlatFrameHasRoundedCorners) {
  PixelRaster r(40, 30);
  TGroupFrame g;
  g.flatColor = clRed;
  DrawGroupFrame(r, g, Rect(0, 5, 40, 30), TRect{});
  EXPECT_EQ(r.At(0, 5), kUnpainted);
  EXPECT_EQ(r.At(1, 6), clRed);
  EXPECT_EQ(r.At(2, 5), clRed);
  EXPECT_EQ(r.At(0, 7), clRed);
  EXPECT_EQ(r.At(39, 27), clRed);
  EXPECT_EQ(r.At(38, 28), clRed);
  EXPECT_EQ(r.At(39, 29), kUnpainted);
}

TEST(GroupBox, TopLineDrawsOnlyTheTop) {
  for (TFrameStyleEx outer : {fsNone, fsFlat, fsFlatBold, fsRaised, fsFlatRounded}) {
    PixelRaster r(40, 30);
    TGroupFrame g;
    g.style = gsTopLine;
    g.borderOuter = outer;
    g.flatColor = clRed;
    DrawGroupFrame(r, g, Rect(0, 5, 40, 30), TRect{});
    EXPECT_NE(r.At(10, 5), kUnpainted) << outer;
    for (int y = 8; y < 30; ++y) {
      EXPECT_EQ(r.At(0, y), kUnpainted) << outer;
      EXPECT_EQ(r.At(39, y), kUnpainted) << outer;
    }
    for (int x = 0; x < 40; ++x) EXPECT_EQ(r.At(x, 29), kUnpainted) << outer;
  }
}

TEST(GroupBox, StandardWithoutOuterStyleIsEtched) {
  PixelRaster r(40, 30);
  TGroupFrame g;
  g.style = gsStandard;
  DrawGroupFrame(r, g, Rect(0, 5, 40, 30), TRect{});
  EXPECT_EQ(r.At(0, 15), ColorToRGB(clBtnShadow));
  EXPECT_EQ(r.At(1, 15), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(r.At(39, 15), ColorToRGB(clBtnHighlight));
}

TEST(PanelDocking, GrabberAtTheTopOrTheLeft) {
  const TDockGrabber top = DockClientGrabber(Rect(10, 20, 110, 80), false);
  EXPECT_EQ(top.grabber, Rect(10, 20, 110, 34));
  EXPECT_EQ(top.closeBox, Rect(95, 21, 108, 32));
  EXPECT_EQ(top.caption, (TPoint{12, 20}));
  EXPECT_EQ(DockClientArea(Rect(10, 20, 110, 80), false), Rect(10, 34, 110, 80));
  const TDockGrabber left = DockClientGrabber(Rect(10, 20, 110, 80), true);
  EXPECT_TRUE(left.vertical);
  EXPECT_EQ(left.grabber, Rect(10, 20, 24, 80));
  EXPECT_EQ(left.closeBox, Rect(11, 21, 22, 32));
  EXPECT_EQ(left.caption, (TPoint{22, 77}));
  EXPECT_EQ(DockClientArea(Rect(10, 20, 110, 80), true), Rect(24, 20, 110, 80));
}
