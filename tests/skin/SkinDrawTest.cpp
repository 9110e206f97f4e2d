// The drawing routines on memory device contexts and a window, read back and
// probed at points where the result is determined.
#include "SkinDraw.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "Application.h"
#include "Form.h"
#include "ImgUtilGdi.h"

namespace {

const TColor kBack = RGBColor(10, 20, 30);

// A framework bitmap holding the pixels given.
class Image : public fw::TBitmap {
 public:
  explicit Image(const TSkinPixels& pixels) {
    SetSkinBitmapSize(*this, pixels.Width(), pixels.Height());
    PutImage(PixelsOf(*this), 0, 0, pixels, false);
  }
};

// A 32-bit bitmap of w x h filled with kBack, drawn on through its canvas.
class Surface {
 public:
  Surface(int w, int h) { SetSkinBitmapSize(bitmap_, w, h, kBack); }
  HDC dc() { return bitmap_.Canvas()->Handle(); }
  fw::TCanvas& canvas() { return *bitmap_.Canvas(); }
  TColor At(int x, int y) { return PixelsOf(bitmap_).Pixel(x, y); }
  TPixelBuffer Pixels() {
    const TSkinPixels view = PixelsOf(bitmap_);
    TPixelBuffer copy(view.Width(), view.Height());
    PutImage(copy, 0, 0, view, false);
    return copy;
  }
 private:
  fw::TBitmap bitmap_;
};

// Two images of 10 x 10: red corners, green edges, blue middle (image 2 in
// darker shades); image 1 has a magenta middle pixel at (5, 5).
const TColor kCorner[2] = {RGBColor(255, 0, 0), RGBColor(128, 0, 0)};
const TColor kEdge[2] = {RGBColor(0, 255, 0), RGBColor(0, 128, 0)};
const TColor kMiddle[2] = {RGBColor(0, 0, 255), RGBColor(0, 0, 128)};
fw::TBitmap& Strip() {
  static Image* image = [] {
    TPixelBuffer b(20, 10);
    for (int i = 0; i < 2; i++)
      for (int y = 0; y < 10; y++)
        for (int x = 0; x < 10; x++) {
          bool ex = x < 3 || x >= 7, ey = y < 3 || y >= 7;
          b.SetPixel(10 * i + x, y, ex && ey ? kCorner[i] : ex || ey ? kEdge[i] : kMiddle[i]);
        }
    b.SetPixel(5, 5, kMagenta);
    return new Image(b);
  }();
  return *image;
}
const TSkinRect kMargins = SkinRect(3, 3, 3, 3);

}  // namespace

TEST(SkinDraw, NinePartImageAtItsRectangle) {
  Surface s(60, 50);
  DrawSkinImage(s.dc(), SkinRect(10, 5, 50, 45), Strip(), false, false, false, 2, 2, kMargins);
  TPixelBuffer p = s.Pixels();
  EXPECT_EQ(p.Pixel(9, 5), kBack);
  EXPECT_EQ(p.Pixel(10, 5), kCorner[1]);
  EXPECT_EQ(p.Pixel(49, 44), kCorner[1]);
  EXPECT_EQ(p.Pixel(50, 44), kBack);
  EXPECT_EQ(p.Pixel(30, 5), kEdge[1]);
  EXPECT_EQ(p.Pixel(10, 25), kEdge[1]);
  EXPECT_EQ(p.Pixel(30, 25), kMiddle[1]);
}

TEST(SkinDraw, TransparentDrawingKeepsTheBackgroundUnderTheKeyColour) {
  Surface s(40, 40);
  // Image 1 stretched 4 times: its magenta middle pixel covers (20..23, 20..23).
  DrawSkinImage(s.dc(), SkinRect(0, 0, 40, 40), Strip(), false, false, true, 2, 1, SkinRect(0, 0, 0, 0));
  TPixelBuffer p = s.Pixels();
  EXPECT_EQ(p.Pixel(21, 21), kBack);
  EXPECT_EQ(p.Pixel(17, 21), kMiddle[0]);
  EXPECT_EQ(p.Pixel(0, 0), kCorner[0]);
  Surface o(40, 40);
  DrawSkinImage(o.dc(), SkinRect(0, 0, 40, 40), Strip(), false, false, false, 2, 1, SkinRect(0, 0, 0, 0));
  EXPECT_EQ(o.At(21, 21), kMagenta);
}

TEST(SkinDraw, CellsBarsAndTiles) {
  Surface s(80, 40);
  DrawSkinCell(s.dc(), SkinRect(0, 0, 20, 20), Strip(), false, 2, 2);
  DrawSkinCellCentered(s.dc(), SkinRect(20, 0, 40, 20), Strip(), true, 2, 1);
  DrawSkinImageH3(s.canvas(), SkinRect(40, 0, 80, 10), Strip(), false, false, 2, 1, kMargins);
  TPixelBuffer p = s.Pixels();
  EXPECT_EQ(p.Pixel(0, 0), kCorner[1]);
  EXPECT_EQ(p.Pixel(10, 10), kMiddle[1]);
  EXPECT_EQ(p.Pixel(24, 4), kBack);        // centred 10 x 10 starts at (25, 5)
  EXPECT_EQ(p.Pixel(25, 5), kCorner[0]);
  EXPECT_EQ(p.Pixel(30, 10), kBack);       // key pixel left out
  EXPECT_EQ(p.Pixel(40, 0), kCorner[0]);
  EXPECT_EQ(p.Pixel(79, 9), kCorner[0]);
  EXPECT_EQ(p.Pixel(50, 0), kEdge[0]);

  Surface t(30, 30);
  TPixelBuffer tilePixels(30, 30, RGBColor(1, 2, 3));
  tilePixels.SetPixel(29, 29, RGBColor(9, 9, 9));
  Image tile(tilePixels);
  TileImage(t.canvas(), SkinRect(0, 0, 30, 30), tile, SkinRect(0, 0, 30, 30));
  EXPECT_EQ(t.At(29, 29), RGBColor(9, 9, 9));
  TileImage(t.canvas(), SkinRect(0, 0, 30, 30), tile, SkinRect(28, 28, 30, 30));
  EXPECT_EQ(t.At(0, 0), RGBColor(1, 2, 3));
  EXPECT_EQ(t.At(1, 1), RGBColor(9, 9, 9));
  EXPECT_EQ(t.At(29, 29), RGBColor(9, 9, 9));
}

TEST(SkinDraw, TransparentBarAndTheNinePartBitmap) {
  // A bar of image 1 drawn transparent: the middle columns repeat at their
  // own width of 4, so the key pixel of column 5 recurs every 4 pixels.
  Surface s(40, 10);
  DrawSkinImageH3(s.canvas(), SkinRect(0, 0, 40, 10), Strip(), false, true, 2, 1, kMargins);
  EXPECT_EQ(s.At(0, 0), kCorner[0]);
  EXPECT_EQ(s.At(4, 5), kMiddle[0]);
  EXPECT_EQ(s.At(5, 5), kBack);
  EXPECT_EQ(s.At(9, 5), kBack);
  EXPECT_EQ(s.At(10, 5), kMiddle[0]);
  EXPECT_EQ(s.At(39, 9), kCorner[0]);

  // The nine-part image as a bitmap of the target's size, for the caller.
  std::unique_ptr<fw::TBitmap> made(MakeSkinImage(SkinRect(5, 5, 45, 25), Strip(), kMargins, false, false, 2, 2));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Width(), 40);
  EXPECT_EQ(made->Height(), 20);
  EXPECT_EQ(PixelsOf(*made).Pixel(39, 19), kCorner[1]);
  EXPECT_EQ(PixelsOf(*made).Pixel(20, 10), kMiddle[1]);
  EXPECT_EQ(MakeSkinImage(SkinRect(5, 5, 0, 25), Strip(), kMargins, false, false, 2, 2), nullptr);
}

TEST(SkinDraw, BitmapRotationsAndMirrors) {
  TPixelBuffer pixels(4, 3);
  for (int y = 0; y < 3; y++)
    for (int x = 0; x < 4; x++) pixels.SetPixel(x, y, RGBColor(x, y, 7));
  Image b(pixels);
  RotateLeft(b);
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 4);
  EXPECT_EQ(PixelsOf(b).Pixel(2, 4 - 1 - 1), RGBColor(1, 2, 7));  // (1, 2) moved to (2, 2)
  RotateRight(b);
  EXPECT_TRUE(PixelsOf(b).SamePixels(pixels));
  FlipHorizontal(b);
  EXPECT_EQ(PixelsOf(b).Pixel(0, 1), RGBColor(3, 1, 7));
  FlipVertical(b);
  EXPECT_EQ(PixelsOf(b).Pixel(0, 0), RGBColor(3, 2, 7));
  // A palette-free 24-bit bitmap is made 32-bit and keyed exactly.
  fw::TBitmap deep(2, 1, fw::pf24bit);
  deep.Canvas()->SetPixel(0, 0, kMagenta);
  deep.Canvas()->SetPixel(1, 0, RGBColor(1, 2, 3));
  ReplaceMagenta(deep, RGBColor(9, 8, 7));
  EXPECT_EQ(deep.BitCount(), 32);
  EXPECT_EQ(PixelsOf(deep).Pixel(0, 0), RGBColor(9, 8, 7));
  EXPECT_EQ(PixelsOf(deep).Pixel(1, 0), RGBColor(1, 2, 3));
}

TEST(SkinDraw, StretchedBarWithoutRoomForTheMiddleDrawsNoMirror) {
  Surface s(40, 10);
  StretchSkinImageH3(s.dc(), SkinRect(0, 0, 40, 10), Strip(), false, 2, 2, kMargins);
  EXPECT_EQ(s.At(0, 0), kCorner[1]);
  EXPECT_EQ(s.At(20, 0), kEdge[1]);
  EXPECT_EQ(s.At(39, 0), kCorner[1]);
  // Margins wider than the image: the middle part has negative width on the
  // source side and is left out.
  Surface t(40, 10);
  StretchSkinImageH3(t.dc(), SkinRect(0, 0, 40, 10), Strip(), false, 2, 2, SkinRect(6, 0, 6, 0));
  EXPECT_EQ(t.At(20, 5), kBack);
  EXPECT_EQ(t.At(0, 0), kCorner[1]);
}

TEST(SkinDraw, StretchedBarMarginsNearTheIntLimitDrawAsTheWidestCaps) {
  // Caps as wide as the target draw the same as any wider ones, and the
  // coordinates never overflow.
  Surface wide(40, 10), limit(40, 10);
  StretchSkinImageH3(wide.dc(), SkinRect(0, 0, 40, 10), Strip(), false, 2, 2, SkinRect(40, 0, 40, 0));
  StretchSkinImageH3(limit.dc(), SkinRect(0, 0, 40, 10), Strip(), false, 2, 2, SkinRect(INT_MAX, 0, INT_MAX, 0));
  EXPECT_TRUE(limit.Pixels().SamePixels(wide.Pixels()));
  Surface one(40, 10);
  StretchSkinImageH3(one.dc(), SkinRect(0, 0, 40, 10), Strip(), false, 2, 2, SkinRect(3, 0, INT_MAX, 0));
  EXPECT_EQ(one.At(0, 0), kCorner[1]) << "the left cap is still drawn";
}

TEST(SkinDraw, InvertedRectanglesDrawNothing) {
  Surface s(20, 20);
  DrawSkinImage(s.dc(), SkinRect(15, 0, 5, 20), Strip(), false, false, false, 2, 1, kMargins);
  DrawSkinCell(s.dc(), SkinRect(0, 15, 20, 5), Strip(), false, 2, 1);
  DrawSkinImageH3(s.canvas(), SkinRect(15, 0, 5, 20), Strip(), false, false, 2, 1, kMargins);
  StretchSkinImageH3(s.dc(), SkinRect(15, 0, 5, 20), Strip(), false, 2, 1, kMargins);
  TPixelBuffer p = s.Pixels();
  for (int y = 0; y < 20; y++)
    for (int x = 0; x < 20; x++) ASSERT_EQ(p.Pixel(x, y), kBack);
}

TEST(SkinDraw, RegionFromBitmap) {
  TPixelBuffer pixels(6, 3, kMagenta);
  pixels.FillRect(1, 0, 3, 1, 0);
  pixels.FillRect(0, 2, 6, 3, 0);
  Image b(pixels);
  HRGN r = RegionFromBitmap(b, 10, 20, 0, 0, 0, kMagenta);
  EXPECT_TRUE(PtInRegion(r, 11, 20));
  EXPECT_FALSE(PtInRegion(r, 13, 20));
  EXPECT_FALSE(PtInRegion(r, 11, 21));
  EXPECT_TRUE(PtInRegion(r, 15, 22));
  RECT box;
  GetRgnBox(r, &box);
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 20);
  EXPECT_EQ(box.right, 16);
  EXPECT_EQ(box.bottom, 23);
  DeleteObject(r);

  Image keyed(TPixelBuffer(5, 5, kMagenta));
  HRGN empty = RegionFromBitmap(keyed, 0, 0, 0, 0, 0, kMagenta);
  EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
  DeleteObject(empty);

  // More runs than one block holds: a checkerboard of 2 x 1 cells.
  // 50 runs a row, 2200 in all.
  TPixelBuffer cells(200, 44, kMagenta);
  for (int y = 0; y < 44; y++)
    for (int x = (y & 1) * 2; x < 200; x += 4) cells.FillRect(x, y, x + 2, y + 1, 0);
  Image board(cells);
  HRGN big = RegionFromBitmap(board, 0, 0, 0, 0, 0, kMagenta);
  EXPECT_TRUE(PtInRegion(big, 0, 0));
  EXPECT_FALSE(PtInRegion(big, 2, 0));
  EXPECT_TRUE(PtInRegion(big, 196, 38));
  EXPECT_TRUE(PtInRegion(big, 3, 39));
  EXPECT_FALSE(PtInRegion(big, 197, 39));
  EXPECT_TRUE(PtInRegion(big, 199, 43));  // from the second block
  EXPECT_FALSE(PtInRegion(big, 196, 43));
  RECT all;
  GetRgnBox(big, &all);
  EXPECT_EQ(all.bottom, 44);
  DeleteObject(big);
}

TEST(SkinDraw, GradientFillPaintsOnlyInsideTheClipBox) {
  const TColor c1 = RGBColor(0, 0, 0), c2 = RGBColor(0, 200, 100);
  RECT r = {0, 0, 10, 21};
  Surface full(10, 21);
  GradientFill(full.dc(), r, c1, 1, c2);
  TPixelBuffer whole = full.Pixels();
  EXPECT_EQ(whole.Pixel(3, 0), c1);
  EXPECT_EQ(whole.Pixel(3, 20), c2);
  EXPECT_EQ(whole.Pixel(3, 10), RGBColor(0, 100, 50));

  Surface half(10, 21);
  IntersectClipRect(half.dc(), 0, 11, 10, 21);
  GradientFill(half.dc(), r, c1, 1, c2);
  TPixelBuffer lower = half.Pixels();
  EXPECT_EQ(lower.Pixel(5, 10), kBack);
  for (int y = 11; y < 21; y++) EXPECT_EQ(lower.Pixel(5, y), whole.Pixel(5, y)) << y;

  Surface across(21, 4);
  RECT h = {0, 0, 21, 4};
  GradientFill(across.dc(), h, c2, 0, c1);
  EXPECT_EQ(across.At(0, 2), c2);
  EXPECT_EQ(across.At(20, 2), c1);
}

TEST(SkinDraw, ParentBackgroundUnderAControl) {
  fw::Application();
  // A form that erases to one colour and paints a square at (20, 20), with
  // a control at (15, 15) on it.
  fw::TForm* form = new fw::TForm(nullptr);
  form->SetBorderStyle(fw::bsNone);
  form->SetBounds(0, 0, 100, 100);
  form->SetColor(RGBColor(200, 10, 10));
  form->OnPaint = [form](fw::TObject*) {
    form->Canvas()->Brush()->SetColor(RGBColor(10, 200, 10));
    form->Canvas()->FillRect(RECT{20, 20, 30, 30});
  };
  auto* child = new fw::TCustomControl(form);
  child->SetParent(form);
  child->SetBounds(15, 15, 30, 30);
  form->Handle();

  Surface s(30, 30);
  PaintParentBackground(child, s.dc());
  TPixelBuffer p = s.Pixels();
  EXPECT_EQ(p.Pixel(0, 0), RGBColor(200, 10, 10));
  EXPECT_EQ(p.Pixel(5, 5), RGBColor(10, 200, 10));    // form (20, 20)
  EXPECT_EQ(p.Pixel(14, 14), RGBColor(10, 200, 10));  // form (29, 29)
  EXPECT_EQ(p.Pixel(15, 15), RGBColor(200, 10, 10));
  EXPECT_EQ(p.Pixel(29, 29), RGBColor(200, 10, 10));
  // The DC comes back as it was: origin and clipping.
  POINT org;
  GetViewportOrgEx(s.dc(), &org);
  EXPECT_EQ(org.x, 0);
  EXPECT_EQ(org.y, 0);

  // A control without a parent, or none: nothing is drawn.
  Surface t(30, 30);
  fw::TCustomControl orphan(nullptr);
  PaintParentBackground(&orphan, t.dc());
  PaintParentBackground(nullptr, t.dc());
  EXPECT_EQ(t.At(0, 0), kBack);
  form->Free();
}
