// The BMP header checks, natively and under Wine: what a picture's layout
// is read as, and that damaged or hostile headers are refused.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "BmpLayout.h"

using namespace fw;

namespace {

void Put16(std::vector<uint8_t>& d, size_t at, uint16_t v) {
  d[at] = static_cast<uint8_t>(v);
  d[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(std::vector<uint8_t>& d, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A BMP file of the given size and depth with a plain header, a full
// colour table up to 8 bits and zeroed pixels.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint16_t bits) {
  const size_t colours = bits <= 8 ? (size_t{1} << bits) : 0;
  const size_t rows = static_cast<size_t>(height < 0 ? -static_cast<int64_t>(height) : height);
  const size_t offBits = 14 + 40 + colours * 4;
  std::vector<uint8_t> d(offBits + BmpStride(width, bits) * rows, 0);
  d[0] = 'B';
  d[1] = 'M';
  Put32(d, 2, static_cast<uint32_t>(d.size()));
  Put32(d, 10, static_cast<uint32_t>(offBits));
  Put32(d, 14, 40);
  Put32(d, 18, static_cast<uint32_t>(width));
  Put32(d, 22, static_cast<uint32_t>(height));
  Put16(d, 26, 1);
  Put16(d, 28, bits);
  return d;
}

TEST(BmpLayout, PlainAndTopDownPicturesRead) {
  std::vector<uint8_t> d = MakeBmp(5, 3, 24);
  TBmpLayout l;
  ASSERT_TRUE(ReadBmpLayout(d.data(), d.size(), l));
  EXPECT_EQ(l.width, 5);
  EXPECT_EQ(l.height, 3);
  EXPECT_FALSE(l.topDown);
  EXPECT_EQ(l.stride, 16u);
  EXPECT_EQ(l.pixelsAt, 54u);
  EXPECT_EQ(l.colours, 0u);
  d = MakeBmp(2, -2, 8);
  ASSERT_TRUE(ReadBmpLayout(d.data(), d.size(), l));
  EXPECT_TRUE(l.topDown);
  EXPECT_EQ(l.height, 2);
  EXPECT_EQ(l.colours, 256u);
  EXPECT_EQ(l.coloursAt, 54u);
}

TEST(BmpLayout, BitFieldMasksAfterAPlainHeaderOrInsideALongerOne) {
  std::vector<uint8_t> d = MakeBmp(1, 1, 32);
  Put32(d, 30, 3);  // bit fields
  d.insert(d.begin() + 54, 12, 0);
  Put32(d, 10, 54 + 12);
  TBmpLayout l;
  ASSERT_TRUE(ReadBmpLayout(d.data(), d.size(), l));
  EXPECT_TRUE(l.bitFields);
  EXPECT_EQ(l.masksAt, 54u);
  Put32(d, 14, 52);  // the masks are the header's last fields
  ASSERT_TRUE(ReadBmpLayout(d.data(), d.size(), l));
  EXPECT_EQ(l.masksAt, 54u);
  Put32(d, 14, 44);  // a header too short to hold them
  EXPECT_FALSE(ReadBmpLayout(d.data(), d.size(), l));
}

TEST(BmpLayout, HostileHeadersAreRefused) {
  const std::vector<uint8_t> good = MakeBmp(4, 4, 8);
  TBmpLayout l;
  ASSERT_TRUE(ReadBmpLayout(good.data(), good.size(), l));
  auto refused = [&](size_t at, uint32_t value, bool wide) {
    std::vector<uint8_t> d = good;
    if (wide) Put32(d, at, value);
    else Put16(d, at, static_cast<uint16_t>(value));
    TBmpLayout out;
    return !ReadBmpLayout(d.data(), d.size(), out);
  };
  // A height of INT_MIN has no positive counterpart; nor has a width.
  EXPECT_TRUE(refused(22, static_cast<uint32_t>(INT_MIN), true));
  EXPECT_TRUE(refused(18, static_cast<uint32_t>(INT_MIN), true));
  EXPECT_TRUE(refused(22, static_cast<uint32_t>(-kMaxBmpSide - 1), true));
  EXPECT_TRUE(refused(22, 0, true));
  EXPECT_TRUE(refused(18, kMaxBmpSide + 1, true));
  EXPECT_TRUE(refused(14, 39, true));          // info header too short
  EXPECT_TRUE(refused(14, 0xFFFFFFF0u, true));  // or longer than the file
  EXPECT_TRUE(refused(28, 7, false));          // unknown depth
  EXPECT_TRUE(refused(30, 1, true));           // run-length compression
  EXPECT_TRUE(refused(30, 3, true));           // bit fields at 8 bits
  EXPECT_TRUE(refused(26, 2, false));          // two planes
  EXPECT_TRUE(refused(46, 257, true));         // more colours than values
  EXPECT_TRUE(refused(10, 0xFFFFFFFFu, true));  // pixels past the end
  EXPECT_TRUE(refused(10, static_cast<uint32_t>(good.size() - 1), true));
  EXPECT_FALSE(ReadBmpLayout(good.data(), good.size() - 1, l));  // the last row cut
  EXPECT_FALSE(ReadBmpLayout(good.data(), 53, l));
  EXPECT_FALSE(ReadBmpLayout(nullptr, 0, l));
}

}  // namespace
