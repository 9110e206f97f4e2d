// Canvas drawing and bitmaps under Wine: BMP round trips, refusal of
// damaged pictures, clipping, stretching and text, read back by pixel;
// the screen's fonts.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "Application.h"
#include "Bitmap.h"

using namespace fw;

namespace {

COLORREF At(TBitmap& b, int x, int y) { return GetPixel(b.Canvas()->Handle(), x, y); }

void Fill(TBitmap& b, TColor c) {
  b.Canvas()->Brush()->SetColor(c);
  RECT r = {0, 0, b.Width(), b.Height()};
  b.Canvas()->FillRect(r);
}

TEST(Bitmaps, BmpRoundTripKeepsPixels) {
  TBitmap a(5, 3);
  Fill(a, clWhite);
  a.Canvas()->SetPixel(0, 0, clRed);
  a.Canvas()->SetPixel(4, 2, clBlue);
  TBytes data;
  ASSERT_TRUE(a.SaveToBytes(data));
  EXPECT_EQ(data[0], 'B');
  TBitmap b;
  ASSERT_TRUE(b.LoadFromBytes(data));
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(At(b, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(At(b, 4, 2), RGB(0, 0, 255));
  EXPECT_EQ(At(b, 2, 1), RGB(255, 255, 255));
}

TEST(Bitmaps, PaletteAndTopDownPicturesRead) {
  // A 2 x 2 8-bit picture stored top-down, two palette entries.
  std::vector<uint8_t> bmp(14 + 40 + 8 + 8, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&bmp[at], &v, 4); };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<uint32_t>(bmp.size()));
  put32(10, 14 + 40 + 8);
  put32(14, 40);
  put32(18, 2);
  put32(22, static_cast<uint32_t>(-2));
  bmp[26] = 1;
  bmp[28] = 8;
  put32(46, 2);
  bmp[54] = 0; bmp[55] = 0; bmp[56] = 255;   // index 0: red (B, G, R)
  bmp[58] = 255; bmp[59] = 0; bmp[60] = 0;   // index 1: blue
  bmp[62] = 1; bmp[63] = 0;                  // top row: blue, red
  bmp[66] = 0; bmp[67] = 1;                  // bottom row: red, blue
  TBitmap b;
  ASSERT_TRUE(b.LoadFromBytes(bmp));
  EXPECT_EQ(b.PixelFormat(), pf8bit);
  EXPECT_EQ(At(b, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(At(b, 1, 0), RGB(255, 0, 0));
  EXPECT_EQ(At(b, 0, 1), RGB(255, 0, 0));
}

TEST(Bitmaps, DamagedPicturesAreRefusedAndLeaveTheOldOne) {
  TBitmap good(3, 3);
  Fill(good, clLime);
  TBytes data;
  ASSERT_TRUE(good.SaveToBytes(data));
  TBitmap b;
  ASSERT_TRUE(b.LoadFromBytes(data));
  TBytes truncated(data.begin(), data.end() - 5);
  EXPECT_FALSE(b.LoadFromBytes(truncated));
  TBytes huge = data;
  int32_t side = 100000;
  std::memcpy(&huge[18], &side, 4);
  EXPECT_FALSE(b.LoadFromBytes(huge));
  TBytes lowest = data;
  side = INT32_MIN;
  std::memcpy(&lowest[22], &side, 4);
  EXPECT_FALSE(b.LoadFromBytes(lowest));
  TBytes rle = data;
  rle[30] = 1;  // compressed pixel data is not read
  EXPECT_FALSE(b.LoadFromBytes(rle));
  EXPECT_FALSE(b.LoadFromBytes(TBytes{'B', 'M'}));
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(At(b, 1, 1), RGB(0, 255, 0));
  TJPEGImage jpeg;
  EXPECT_FALSE(jpeg.LoadFromBytes(TBytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0}));
  TPicture picture;
  EXPECT_FALSE(picture.LoadFromBytes(TBytes{1, 2, 3}));
  EXPECT_EQ(picture.Graphic(), nullptr);
}

TEST(Canvas, ClippingStretchingAndText) {
  TBitmap b(40, 20);
  Fill(b, clWhite);
  TCanvas* c = b.Canvas();
  RECT clip = {0, 0, 20, 20};
  c->IntersectClip(clip);
  c->Brush()->SetColor(clBlack);
  RECT all = {0, 0, 40, 20};
  c->FillRect(all);
  EXPECT_EQ(At(b, 10, 10), RGB(0, 0, 0));
  EXPECT_EQ(At(b, 30, 10), RGB(255, 255, 255));  // outside the clip
  c->ClearClip();
  // Stretch a 2 x 1 picture over the right half.
  TBitmap src(2, 1);
  src.Canvas()->SetPixel(0, 0, clRed);
  src.Canvas()->SetPixel(1, 0, clBlue);
  RECT dest = {20, 0, 40, 20}, from = {0, 0, 2, 1};
  c->CopyRect(dest, *src.Canvas(), from);
  EXPECT_EQ(At(b, 22, 5), RGB(255, 0, 0));
  EXPECT_EQ(At(b, 38, 15), RGB(0, 0, 255));
  // Text in the system colours, drawn with a clear background.
  TBitmap t(60, 20);
  Fill(t, clWhite);
  t.Canvas()->Font()->SetColor(clBlack);
  t.Canvas()->Brush()->SetStyle(bsClear);
  RECT tr = {0, 0, 60, 20};
  int h = t.Canvas()->DrawText("\xB2\xE2\xCA\xD4", tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);  // 测试
  EXPECT_GT(h, 0);
  int dark = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x)
      if (GetRValue(At(t, x, y)) < 128) ++dark;
  EXPECT_GT(dark, 10);
  EXPECT_EQ(At(t, 0, 0), RGB(255, 255, 255));
}

TEST(Canvas, TransparentBitmapsLeaveTheKeyColourOut) {
  TBitmap glyph(4, 4);
  Fill(glyph, clFuchsia);
  glyph.Canvas()->SetPixel(1, 1, clGreen);
  glyph.SetTransparent(true);
  glyph.SetTransparentColor(clFuchsia);
  TBitmap dest(4, 4);
  Fill(dest, clYellow);
  dest.Canvas()->Draw(0, 0, glyph);
  EXPECT_EQ(At(dest, 1, 1), RGB(0, 128, 0));
  EXPECT_EQ(At(dest, 3, 3), RGB(255, 255, 0));
}

TEST(Canvas, ChangedPensAndBrushesLeaveTheContextAndAreDeleted) {
  // A GDI object still selected into a device context cannot be deleted:
  // a canvas whose brush or pen changes must put the old one out first,
  // or every colour change in a paint loop leaves one object behind.
  TBitmap b(8, 8);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clRed);
  c->Pen()->SetColor(clRed);
  RECT r = {0, 0, 8, 8};
  c->FillRect(r);
  c->MoveTo(0, 7);
  c->LineTo(8, 7);
  HGDIOBJ redBrush = c->Brush()->Handle();
  HGDIOBJ redPen = c->Pen()->Handle();
  ASSERT_EQ(GetCurrentObject(c->Handle(), OBJ_BRUSH), redBrush);
  c->Brush()->SetColor(clBlue);
  c->Pen()->SetColor(clBlue);
  EXPECT_EQ(GetObjectType(redBrush), 0u);
  EXPECT_EQ(GetObjectType(redPen), 0u);
  c->FillRect(r);
  c->MoveTo(0, 0);
  c->LineTo(8, 0);
  EXPECT_EQ(At(b, 4, 4), RGB(0, 0, 255));
  EXPECT_EQ(At(b, 4, 0), RGB(0, 0, 255));
}

TEST(ScreenFonts, MenuAndCaptionFontsAreTheSystemsOwn) {
  Application();
  NONCLIENTMETRICSW m = {};
  m.cbSize = sizeof m;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0));
  TFont* menuFont = Screen().MenuFont();
  ASSERT_NE(menuFont, nullptr);
  EXPECT_EQ(Screen().MenuFont(), menuFont);
  // The font made from the attributes is the system's menu font.
  LOGFONTW made = {};
  ASSERT_TRUE(GetObjectW(menuFont->Handle(), sizeof made, &made));
  EXPECT_STREQ(made.lfFaceName, m.lfMenuFont.lfFaceName);
  EXPECT_EQ(made.lfHeight, m.lfMenuFont.lfHeight);
  EXPECT_EQ(made.lfWeight >= FW_BOLD, m.lfMenuFont.lfWeight >= FW_BOLD);
  TFont* caption = Screen().CaptionFont();
  ASSERT_TRUE(GetObjectW(caption->Handle(), sizeof made, &made));
  EXPECT_STREQ(made.lfFaceName, m.lfCaptionFont.lfFaceName);
  EXPECT_EQ(made.lfHeight, m.lfCaptionFont.lfHeight);
  EXPECT_EQ(made.lfWeight >= FW_BOLD, m.lfCaptionFont.lfWeight >= FW_BOLD);
}

}  // namespace
