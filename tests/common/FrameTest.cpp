#include "Frame.h"

#include <gtest/gtest.h>

#include <vector>

using namespace frame;

namespace {
std::vector<uint8_t> Build(std::vector<uint8_t> payload) {
  std::vector<uint8_t> out(payload.size() + kOverhead);
  EXPECT_EQ(BuildFrame(out.data(), out.size(), payload.data(), payload.size()), out.size());
  return out;
}
}  // namespace

TEST(FrameEnvelope, BuildsKnownRequests) {
  EXPECT_EQ(Build({0x05}), (std::vector<uint8_t>{0x5E, 0x5E, 0x7F, 0x00, 0x01, 0x05, 0x05}));
  // Terminal command 0x22 to device 1.
  EXPECT_EQ(Build({0x22, 0x00, 0x01}),
            (std::vector<uint8_t>{0x5E, 0x5E, 0x7F, 0x00, 0x03, 0x22, 0x00, 0x01, 0x23}));
  // Reader acknowledgement of command 0x06.
  EXPECT_EQ(Build({0x06, 0x01}),
            (std::vector<uint8_t>{0x5E, 0x5E, 0x7F, 0x00, 0x02, 0x06, 0x01, 0x07}));
}

TEST(FrameEnvelope, BuildRefusesWhatDoesNotFit) {
  uint8_t out[8];
  uint8_t payload[3] = {1, 2, 3};
  EXPECT_EQ(BuildFrame(out, sizeof out, payload, 3), 0u);
  EXPECT_EQ(BuildFrame(out, sizeof out, payload, 2), 8u);
}

TEST(FrameEnvelope, CheckFrameNeedsLengthAndChecksum) {
  auto f = Build({0x06, 0x01});
  EXPECT_EQ(CheckFrame(f.data(), 8), 1);
  EXPECT_EQ(CheckFrame(f.data(), 7), 0);  // announced N does not match, checksum right
  EXPECT_EQ(CheckFrame(f.data(), 9), 0);
  f[7] ^= 1;
  EXPECT_EQ(CheckFrame(f.data(), 8), 0);
  const uint8_t empty[6] = {0x5E, 0x5E, 0x7F, 0, 0, 0};
  EXPECT_EQ(CheckFrame(empty, 6), 1);
  EXPECT_EQ(CheckFrame(empty, 5), 0);
  // N near the top of the range does not wrap the comparison.
  const uint8_t big[6] = {0x5E, 0x5E, 0x7F, 0xFF, 0xFF, 0};
  EXPECT_EQ(CheckFrame(big, 5), 0);
}

TEST(FrameEnvelope, AcceptReplyTestsEveryHeadByte) {
  const auto ack = Build({0x06, 0x01});
  EXPECT_TRUE(AcceptReply(ack.data(), ack.size(), 0x06, kReaderOk));
  EXPECT_FALSE(AcceptReply(ack.data(), ack.size(), 0x05, kReaderOk));  // other code echoed
  EXPECT_FALSE(AcceptReply(ack.data(), ack.size(), 0x06, kTerminalOk));
  const auto status0 = Build({0x06, 0x00});
  EXPECT_FALSE(AcceptReply(status0.data(), status0.size(), 0x06, kReaderOk));
  for (size_t i : {0u, 1u, 2u}) {
    auto bad = ack;
    bad[i] = 0x00;
    EXPECT_FALSE(AcceptReply(bad.data(), bad.size(), 0x06, kReaderOk)) << i;
  }
}

TEST(HexText, DigitsAndPairs) {
  EXPECT_EQ(HexCharToNibble('7'), 7);
  EXPECT_EQ(HexCharToNibble('a'), 10);
  EXPECT_EQ(HexCharToNibble('F'), 15);
  EXPECT_EQ(HexCharToNibble('g'), 0);
  EXPECT_EQ(NibbleToHexChar(0), '0');
  EXPECT_EQ(NibbleToHexChar(9), '9');
  EXPECT_EQ(NibbleToHexChar(11), 'B');
  EXPECT_EQ(NibbleToHexChar(0x10), '0');
  EXPECT_EQ(NibbleToHexChar(0x10B), 'B');  // only the low 8 bits count
  uint8_t b;
  HexTextToBytes("g1", &b, 1);
  EXPECT_EQ(b, 0x01);
  EXPECT_EQ(DigitPairToByte('1', 'A'), 20);
  char pair[2];
  ByteToDigitPair(123, pair);
  EXPECT_EQ(pair[0], 'C');
  EXPECT_EQ(pair[1], '3');
  uint8_t key[6];
  HexTextToBytes("A0a1B2c3D4e5", key, 6);
  char text[12];
  BytesToHexText(key, 6, text);
  EXPECT_EQ(std::string(text, 12), "A0A1B2C3D4E5");
}

TEST(HexText, HasCharsStopsAtTheTerminator) {
  EXPECT_FALSE(HasChars(nullptr, 0));
  EXPECT_TRUE(HasChars("", 0));
  EXPECT_TRUE(HasChars("FFFFFFFFFFFF", 12));
  EXPECT_FALSE(HasChars("FFFFFFFFFFF", 12));
}

TEST(Fields, BigEndianOfTwoThreeFourBytes) {
  uint8_t out[4];
  PutBE(out, 0x12345678, 3);
  EXPECT_EQ(out[0], 0x34);
  EXPECT_EQ(out[2], 0x78);
  EXPECT_EQ(GetBE(out, 3), 0x345678u);
  PutBE(out, 0xA1B2, 2);
  EXPECT_EQ(GetBE(out, 2), 0xA1B2u);
  EXPECT_EQ(XorRange(0, 1, out), 0xA1 ^ 0xB2);
  const uint8_t af[] = {0, 0, 0, 0, 0, 0, 2, 0x11, 0x22};
  EXPECT_EQ(AddressedFrameChecksum(af), 0x33);
  EXPECT_EQ(BytesEqual(af, af + 1, 0), 1);
}
