// The geometry of docked clients: frames shared along the site, the
// grabber band each keeps free, and where a dropped client goes.
#include <gtest/gtest.h>

#include "DockLayout.h"

using namespace fw;

namespace {
TDockBox Box(int l, int t, int r, int b) { return TDockBox{l, t, r, b}; }
}  // namespace

TEST(DockLayout, FramesShareTheLengthAndTheLastTakesTheRest) {
  const std::vector<TDockBox> stacked = DockFrames(Box(2, 2, 98, 302), 3, false);
  ASSERT_EQ(stacked.size(), 3u);
  EXPECT_EQ(stacked[0], Box(2, 2, 98, 102));
  EXPECT_EQ(stacked[1], Box(2, 102, 98, 202));
  EXPECT_EQ(stacked[2], Box(2, 202, 98, 302));
  const std::vector<TDockBox> sides = DockFrames(Box(0, 0, 100, 40), 3, true);
  EXPECT_EQ(sides[0], Box(0, 0, 33, 40));
  EXPECT_EQ(sides[1], Box(33, 0, 66, 40));
  EXPECT_EQ(sides[2], Box(66, 0, 100, 40));  // the remainder
  EXPECT_TRUE(DockFrames(Box(0, 0, 100, 40), 0, true).empty());
  // An area turned inside out gives empty frames, never negative ones.
  for (const TDockBox& f : DockFrames(Box(10, 10, 5, 5), 2, false)) EXPECT_GE(f.Height(), 0);
}

TEST(DockLayout, GrabberBandIsKeptFreeOnTheRightSide) {
  const TDockBox frame = Box(10, 20, 110, 80);
  EXPECT_EQ(DockGrabberBand(frame, false, 12), Box(10, 20, 110, 32));
  EXPECT_EQ(DockClientArea(frame, false, 12), Box(10, 32, 110, 80));
  EXPECT_EQ(DockGrabberBand(frame, true, 12), Box(10, 20, 22, 80));
  EXPECT_EQ(DockClientArea(frame, true, 12), Box(22, 20, 110, 80));
  // The close box sits in the band, at its far end.
  const TDockBox top = DockCloseBox(frame, false, 12);
  EXPECT_EQ(top, Box(100, 22, 108, 30));
  const TDockBox left = DockCloseBox(frame, true, 12);
  EXPECT_EQ(left, Box(12, 22, 20, 30));
  // A frame smaller than the band: the band is the frame, the client empty.
  EXPECT_EQ(DockClientArea(Box(0, 0, 50, 8), false, 12), Box(0, 8, 50, 8));
}

TEST(DockLayout, DropPlaceFollowsTheNearerHalf) {
  const std::vector<TDockBox> frames = DockFrames(Box(0, 0, 100, 300), 3, false);
  TDockDropPlace p = DockDropPlaceAt(frames, 50, 120, false);
  EXPECT_EQ(p.index, 1);
  EXPECT_TRUE(p.before);
  p = DockDropPlaceAt(frames, 50, 180, false);
  EXPECT_EQ(p.index, 1);
  EXPECT_FALSE(p.before);
  EXPECT_EQ(DockDropPlaceAt(frames, 50, 400, false).index, -1);
  const std::vector<TDockBox> sides = DockFrames(Box(0, 0, 300, 40), 2, true);
  p = DockDropPlaceAt(sides, 160, 10, true);
  EXPECT_EQ(p.index, 1);
  EXPECT_TRUE(p.before);
  // Insertion: before or after the client, last without one.
  EXPECT_EQ(DockInsertIndex(3, 1, true), 1);
  EXPECT_EQ(DockInsertIndex(3, 1, false), 2);
  EXPECT_EQ(DockInsertIndex(3, -1, true), 3);
  EXPECT_EQ(DockInsertIndex(3, 7, false), 3);
}
