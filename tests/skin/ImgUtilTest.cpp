#include "ImgUtil.h"

#include <gtest/gtest.h>

#include <stdexcept>


namespace {
TPixelBuffer Numbered(int w, int h) {
  TPixelBuffer b(w, h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) b.SetPixel(x, y, RGBColor(x, y, 7));
  return b;
}
}  // namespace

TEST(ImgUtil, ReplaceMagentaOnlyExactKey) {
  TPixelBuffer b(3, 1, kMagenta);
  b.SetPixel(1, 0, RGBColor(255, 1, 255));
  ReplaceMagenta(b, RGBColor(10, 20, 30));
  EXPECT_EQ(b.Pixel(0, 0), RGBColor(10, 20, 30));
  EXPECT_EQ(b.Pixel(1, 0), RGBColor(255, 1, 255));
  // A system colour value is not resolved: its low three bytes are used.
  ReplaceMagenta(b, fw::clBtnFace);  // nothing magenta left
  TPixelBuffer c(1, 1, kMagenta);
  ReplaceMagenta(c, fw::clBtnFace);
  EXPECT_EQ(c.Pixel(0, 0), 0x00000F);
}

TEST(ImgUtil, MirrorsAndRotations) {
  TPixelBuffer b = Numbered(4, 3);
  TPixelBuffer h = b;
  FlipHorizontal(h);
  EXPECT_EQ(h.Pixel(0, 1), RGBColor(3, 1, 7));
  TPixelBuffer v = b;
  FlipVertical(v);
  EXPECT_EQ(v.Pixel(1, 0), RGBColor(1, 2, 7));

  TPixelBuffer l(3, 4);
  ASSERT_TRUE(RotateLeftInto(l, b));
  // (x, y) moves to (y, width - 1 - x).
  EXPECT_EQ(l.Pixel(2, 4 - 1 - 1), RGBColor(1, 2, 7));
  TPixelBuffer r(3, 4);
  ASSERT_TRUE(RotateRightInto(r, b));
  // (x, y) moves to (height - 1 - y, x).
  EXPECT_EQ(r.Pixel(3 - 1 - 2, 1), RGBColor(1, 2, 7));
  TPixelBuffer back(4, 3);
  ASSERT_TRUE(RotateRightInto(back, l));
  EXPECT_TRUE(back.SamePixels(b));
  // A target of the wrong size is refused untouched.
  TPixelBuffer wrong(4, 3, kWhite);
  EXPECT_FALSE(RotateLeftInto(wrong, b));
  EXPECT_EQ(wrong.Pixel(0, 0), kWhite);
}

TEST(ImgUtil, BlendWeights) {
  const TColor a = RGBColor(200, 100, 0), b = RGBColor(0, 50, 100);
  EXPECT_EQ(Blend(a, b, 0), b);
  EXPECT_EQ(Blend(a, b, 99), RGBColor(198, 100, 1));   // (0*1 + 200*99 + 50) / 100
  EXPECT_EQ(Blend(a, b, 100), RGBColor(20, 55, 90));   // 10 % of a
  EXPECT_EQ(Blend(a, b, 150), RGBColor(30, 58, 85));   // 15 % of a
}

TEST(ImgUtil, GradientRampsAndCache) {
  const TColor c1 = RGBColor(0, 100, 200), c2 = RGBColor(30, 40, 50);
  const std::vector<TColor>& two = GradientRamp(GetGradient(2, c1, c2));
  EXPECT_EQ(two, (std::vector<TColor>{c1, c2}));
  // Four entries: (i * d + 1) / 3 per channel, truncated toward zero, with
  // d = (30, -60, -150): i = 1 gives (10, -19, -49), i = 2 (20, -39, -99).
  const std::vector<TColor>& four = GradientRamp(GetGradient(4, c1, c2));
  EXPECT_EQ(four[1], RGBColor(10, 81, 151));
  EXPECT_EQ(four[2], RGBColor(20, 61, 101));
  EXPECT_EQ(four.back(), c2);
  // One entry is the midpoint and never found again.
  int one = GetGradient(1, c1, c2);
  EXPECT_EQ(GradientRamp(one)[0], RGBColor(15, 70, 125));
  EXPECT_NE(GetGradient(1, c1, c2), one);
  // Found again while still cached; a 17th distinct ramp takes the oldest slot.
  int slot = GetGradient(5, c1, c2);
  EXPECT_EQ(GetGradient(5, c1, c2), slot);
  for (int n = 100; n < 115; n++) GetGradient(n, c1, c2);
  EXPECT_EQ(GetGradient(5, c1, c2), slot);  // 15 new ramps: still there
  GetGradient(200, c1, c2);
  EXPECT_NE(GetGradient(5, c1, c2), -1);
  EXPECT_THROW(GetGradient(0, c1, c2), std::invalid_argument);
}

TEST(ImgUtil, ColorSaturation) {
  EXPECT_EQ(ColorSaturation(RGBColor(100, 150, 159)), 200);  // no channel reaches 160
  EXPECT_EQ(ColorSaturation(RGBColor(255, 255, 255)), 0);
  EXPECT_EQ(ColorSaturation(RGBColor(200, 100, 0)), 255);
  EXPECT_EQ(ColorSaturation(RGBColor(160, 120, 80)), 128);    // 0.5 * 255 = 127.5
}
