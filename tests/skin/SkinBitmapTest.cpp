#include "SkinBitmap.h"

#include <gtest/gtest.h>

namespace {

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) { v[at] = uint8_t(x); v[at + 1] = uint8_t(x >> 8); }
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) { Put16(v, at, x & 0xFFFF); Put16(v, at + 2, x >> 16); }

// A 3 x 2 image with a 4-entry palette at 8 bits per pixel.
std::vector<uint8_t> PaletteBmp() {
  std::vector<uint8_t> v(14 + 40 + 16 + 8, 0);
  v[0] = 'B'; v[1] = 'M';
  Put32(v, 2, uint32_t(v.size()));
  Put32(v, 10, 14 + 40 + 16);
  Put32(v, 14, 40);
  Put32(v, 18, 3);
  Put32(v, 22, 2);
  Put16(v, 26, 1);
  Put16(v, 28, 8);
  Put32(v, 46, 4);  // colours used
  const uint8_t pal[16] = {0, 0, 0, 0, 255, 0, 255, 0, 0, 255, 0, 0, 255, 255, 255, 0};
  std::copy(pal, pal + 16, v.begin() + 54);
  // bottom row first: 3, 2, 1 | pad; top row: 0, 1, 2 | pad
  const uint8_t rows[8] = {3, 2, 1, 0, 0, 1, 2, 0};
  std::copy(rows, rows + 8, v.begin() + 70);
  return v;
}

}  // namespace

TEST(SkinBitmap, SaveAndLoadRoundTrip) {
  TSkinBitmap b(5, 3, kMagenta);
  b.SetPixel(0, 0, RGBColor(1, 2, 3));
  b.SetPixel(4, 2, RGBColor(200, 100, 50));
  TSkinBitmap c;
  auto bytes = b.SaveToBytes();
  ASSERT_TRUE(c.LoadFromBytes(bytes.data(), bytes.size()));
  EXPECT_EQ(c, b);
  EXPECT_EQ(c.Pixel(0, 0), RGBColor(1, 2, 3));
  EXPECT_EQ(c.Pixel(2, 1), kMagenta);
}

TEST(SkinBitmap, PaletteImagesBottomUp) {
  auto v = PaletteBmp();
  TSkinBitmap b;
  ASSERT_TRUE(b.LoadFromBytes(v.data(), v.size()));
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(b.Pixel(0, 0), 0);
  EXPECT_EQ(b.Pixel(1, 0), kMagenta);
  EXPECT_EQ(b.Pixel(2, 0), RGBColor(0, 255, 0));
  EXPECT_EQ(b.Pixel(0, 1), kWhite);
}

TEST(SkinBitmap, InvalidFilesGiveAnEmptyBitmap) {
  auto good = PaletteBmp();
  auto refused = [](std::vector<uint8_t> v) {
    TSkinBitmap b(2, 2);
    bool ok = b.LoadFromBytes(v.data(), v.size());
    return !ok && b.Empty();
  };
  EXPECT_FALSE(refused(good));
  auto v = good; v[0] = 'X'; EXPECT_TRUE(refused(v));                       // signature
  v = good; Put32(v, 14, 41); EXPECT_TRUE(refused(v));                      // header size
  v = good; Put32(v, 10, 5000); EXPECT_TRUE(refused(v));                    // pixel offset
  v = good; Put32(v, 10, 60); EXPECT_TRUE(refused(v));                      // offset inside the palette
  v = good; Put16(v, 28, 7); EXPECT_TRUE(refused(v));                       // bit count
  v = good; Put32(v, 46, 300); EXPECT_TRUE(refused(v));                     // palette too large
  v = good; Put32(v, 18, 0); EXPECT_TRUE(refused(v));                       // width
  v = good; Put32(v, 22, 0); EXPECT_TRUE(refused(v));                       // height
  v = good; Put32(v, 18, 0x40000000); EXPECT_TRUE(refused(v));              // dimensions
  v = good; Put32(v, 30, 1); EXPECT_TRUE(refused(v));                       // run-length
  v = good; Put16(v, 26, 2); EXPECT_TRUE(refused(v));                       // planes
  v = good; v.resize(v.size() - 1); EXPECT_TRUE(refused(v));                // file length
  v = good; v.resize(20); EXPECT_TRUE(refused(v));
  EXPECT_TRUE(refused({}));
}

TEST(SkinBitmap, TopDownAndBitFields) {
  // 2 x 2, 16 bits 565 bit fields, top-down.
  std::vector<uint8_t> v(14 + 40 + 12 + 8, 0);
  v[0] = 'B'; v[1] = 'M';
  Put32(v, 10, 66);
  Put32(v, 14, 40);
  Put32(v, 18, 2);
  Put32(v, 22, uint32_t(-2));
  Put16(v, 26, 1);
  Put16(v, 28, 16);
  Put32(v, 30, 3);
  Put32(v, 54, 0xF800); Put32(v, 58, 0x07E0); Put32(v, 62, 0x001F);
  Put16(v, 66, 0xF800);  // red, top left
  Put16(v, 68, 0x001F);  // blue
  Put16(v, 70, 0x07E0);  // green, bottom left
  Put16(v, 72, 0xFFFF);
  TSkinBitmap b;
  ASSERT_TRUE(b.LoadFromBytes(v.data(), v.size()));
  EXPECT_EQ(b.Pixel(0, 0), RGBColor(255, 0, 0));
  EXPECT_EQ(b.Pixel(1, 0), RGBColor(0, 0, 255));
  EXPECT_EQ(b.Pixel(0, 1), RGBColor(0, 255, 0));
  EXPECT_EQ(b.Pixel(1, 1), kWhite);
}
