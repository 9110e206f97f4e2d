// The frame, grid and gradient routines on a real device context: the same
// pixels as on the plain raster the native tests use, and probes where the
// rules fix the colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "DibSurface.h"
#include "KvCommon.h"
#include "KvGdiTarget.h"
#include "KvGrafx.h"
#include "KvPanelLayout.h"
#include "PixelRaster.h"

using namespace kv;
using kvtest::DibSurface;
using kvtest::kUnpainted;
using kvtest::PixelRaster;

namespace {

// Paints the same thing on both surfaces and compares every pixel.
::testing::AssertionResult SameOnBoth(int w, int h, const std::function<void(PaintTarget&)>& paint) {
  PixelRaster raster(w, h);
  DibSurface dib(w, h, kUnpainted);
  GdiPaintTarget gdi(dib.Dc());
  paint(raster);
  paint(gdi);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (raster.At(x, y) != dib.At(x, y))
        return ::testing::AssertionFailure() << "pixel " << x << "," << y << ": raster " << std::hex
                                             << raster.At(x, y) << ", device " << dib.At(x, y);
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST(GdiFrames, EveryStyleAndSideSetAsOnTheRaster) {
  for (int style = fsNone; style <= fsFlatRounded; ++style)
    for (TSides sides : {kAllSides, TSides(sdLeft | sdTop), TSides(sdRight | sdBottom), TSides(sdTop)})
      EXPECT_TRUE(SameOnBoth(16, 12, [&](PaintTarget& t) {
        DrawStyledFrame(t, Rect(1, 1, 15, 11), static_cast<TFrameStyleEx>(style), sides);
      })) << "style " << style << " sides " << sides;
}

TEST(GdiFrames, PanelBordersAsOnTheRaster) {
  for (int outer : {fsFlat, fsFlatBold, fsFlatRounded, fsStatus, fsPopup, fsRaised})
    for (int inner : {fsNone, fsFlatRounded, fsLowered})
      for (bool transparent : {false, true}) {
        TFrameBorders f;
        f.outer = static_cast<TFrameStyleEx>(outer);
        f.inner = static_cast<TFrameStyleEx>(inner);
        f.transparent = transparent;
        f.borderWidth = 1;
        f.bevelWidth = 2;
        f.parentColor = clRed;
        f.flatColor = Rgb(0x7E, 0xAE, 0xD5);
        f.flatColorAdjustment = 30;
        EXPECT_TRUE(SameOnBoth(24, 20, [&](PaintTarget& t) { DrawFrameBorders(t, Rect(0, 0, 24, 20), f); }))
            << outer << "/" << inner << "/" << transparent;
      }
}

TEST(GdiGrid, AsOnTheRaster) {
  for (int style : {gsDots, gsDottedLines, gsSolidLines})
    EXPECT_TRUE(SameOnBoth(40, 30, [&](PaintTarget& t) {
      PaintGrid(t, Rect(2, 3, 38, 29), static_cast<TKvGridStyle>(style), 8, 6, clGreen);
    })) << style;
}

TEST(GdiGradients, StraightGradientsAsOnTheRaster) {
  for (int d : {gdHorizontalEnd, gdHorizontalCenter, gdVerticalEnd, gdVerticalCenter})
    for (auto size : {TPoint{50, 40}, TPoint{5, 3}, TPoint{100, 9}})
      EXPECT_TRUE(SameOnBoth(size.x, size.y, [&](PaintTarget& t) {
        FillGradientBitmap(t, size.x, size.y, static_cast<TGradientDirection>(d), 1, Rgb(128, 128, 128), clWhite);
      })) << d << " " << size.x << "x" << size.y;
}

TEST(GdiGradients, HorizontalEndWhiteAtTopGreyAtBottom) {
  DibSurface dib(60, 100, clBlack);
  GdiPaintTarget t(dib.Dc());
  FillGradientBitmap(t, 60, 100, gdHorizontalEnd, 1, Rgb(128, 128, 128), clWhite);
  EXPECT_EQ(dib.At(0, 99), Rgb(128, 128, 128));
  EXPECT_EQ(dib.At(0, 0), clWhite);
  for (int x = 0; x < 60; x += 7) {
    EXPECT_EQ(dib.At(x, 0), dib.At(0, 0));
    EXPECT_EQ(dib.At(x, 50), dib.At(0, 50));
  }
}

TEST(GdiGradients, BoxesMirrorTheQuarter) {
  for (int d : {gdHorizontalBox, gdVerticalBox, gdSquareBox, gdBigSquareBox})
    for (auto size : {TPoint{40, 30}, TPoint{41, 31}}) {
      DibSurface dib(size.x, size.y, kUnpainted);
      GdiPaintTarget t(dib.Dc());
      FillGradientBitmap(t, size.x, size.y, static_cast<TGradientDirection>(d), 1, clBlack, clWhite);
      const int w = size.x, h = size.y;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_NE(dib.At(x, y), kUnpainted) << d << ": " << x << "," << y;
      EXPECT_LT(RedOf(dib.At(w / 2, h / 2)), 40) << d;  // colour1 at the centre
      EXPECT_GT(RedOf(dib.At(0, 0)), 200) << d;         // colour2 at the corners
      EXPECT_GT(RedOf(dib.At(w - 1, h - 1)), 200) << d;
      // Mirrored: rows and columns near the edges match their mirror images.
      EXPECT_EQ(dib.At(1, 1), dib.At(1, h - 2)) << d;
      EXPECT_EQ(dib.At(1, 1), dib.At(w - 2, 1)) << d;
    }
}

TEST(GdiGradients, DiagonalCorners) {
  DibSurface up(60, 30, kUnpainted);
  GdiPaintTarget tu(up.Dc());
  FillGradientBitmap(tu, 60, 30, gdDiagonalUp, 1, clBlack, clWhite);
  DibSurface down(60, 30, kUnpainted);
  GdiPaintTarget td(down.Dc());
  FillGradientBitmap(td, 60, 30, gdDiagonalDown, 1, clBlack, clWhite);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      ASSERT_NE(up.At(x, y), kUnpainted) << x << "," << y;
      ASSERT_NE(down.At(x, y), kUnpainted) << x << "," << y;
    }
  EXPECT_GT(RedOf(up.At(0, 29)), 240);
  EXPECT_LT(RedOf(up.At(59, 0)), 15);
  EXPECT_GT(RedOf(down.At(0, 0)), 240);
  EXPECT_LT(RedOf(down.At(59, 29)), 15);
}

TEST(ThemeColourName, ReadFromTheCurrentUsersRegistry) {
  // The current user's hive is redirected to a scratch key for the test.
  HKEY scratch;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\CardInitTest\\ThemeScheme", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &scratch, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch), ERROR_SUCCESS);
  EXPECT_EQ(ReadThemeColorName(), "");
  EXPECT_EQ(GetXpColorScheme(), xcsNormal);
  HKEY tm;
  ASSERT_EQ(RegCreateKeyExA(scratch, "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &tm, nullptr),
            ERROR_SUCCESS);
  const char metallic[] = "metallic";
  RegSetValueExA(tm, "ColorName", 0, REG_SZ, reinterpret_cast<const BYTE*>(metallic), sizeof metallic);
  EXPECT_EQ(ReadThemeColorName(), "metallic");
  EXPECT_EQ(GetXpColorScheme(), xcsMetallic);
  // A value stored without its terminating zero is still read safely.
  const char homestead[] = "HomeStead";
  RegSetValueExA(tm, "ColorName", 0, REG_SZ, reinterpret_cast<const BYTE*>(homestead), sizeof homestead - 1);
  EXPECT_EQ(GetXpColorScheme(), xcsHomestead);
  // Not a string: no name.
  DWORD number = 5;
  RegSetValueExA(tm, "ColorName", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  EXPECT_EQ(ReadThemeColorName(), "");
  RegCloseKey(tm);
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(scratch);
  // Remove the scratch keys, innermost first.
  std::string path = "Software\\CardInitTest\\ThemeScheme\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
  for (;;) {
    RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    const size_t cut = path.rfind('\\');
    if (cut == std::string::npos) break;
    path.resize(cut);
  }
}

TEST(GdiGradients, DrawnOnceAtTheRectanglesCorner) {
  DibSurface dib(40, 40, clRed);
  DrawGradient(dib.Dc(), Rect(5, 7, 35, 37), gdVerticalEnd, 1, clBlack, clWhite);
  EXPECT_EQ(dib.At(4, 20), clRed);
  EXPECT_EQ(dib.At(35, 20), clRed);
  EXPECT_EQ(dib.At(20, 6), clRed);
  EXPECT_EQ(dib.At(20, 37), clRed);
  EXPECT_GT(RedOf(dib.At(5, 7)), 240);   // colour2 at the left
  EXPECT_EQ(dib.At(34, 36), clBlack);    // colour1 at the right
  DrawGradient(dib.Dc(), Rect(0, 0, 0, 40), gdVerticalEnd, 1, clBlack, clWhite);
  DrawGradient(dib.Dc(), Rect(0, 0, 40, 0), gdSquareBox, 1, clBlack, clWhite);
  EXPECT_EQ(dib.At(0, 0), clRed);
}
