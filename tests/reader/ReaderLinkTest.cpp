// The serial link's rules on a scripted port: device names, opening and
// closing, purge before each write, the exact-length read loop and the
// acceptance of replies.
#include <gtest/gtest.h>

#include "FakePort.h"
#include "ReaderLink.h"

using namespace dorvex;
using namespace dorvex_test;

namespace {
struct LinkTest : ::testing::Test {
  FakeClock clock;
  FakePort port{clock};
  ReaderLink link{port, clock};
};
const Bytes kBeepAck = {0x06, 0x01};
}  // namespace

TEST(ComDeviceName, ShortFormBelowTenDeviceNamespaceFromTen) {
  EXPECT_EQ(ComDeviceName(1), "COM1");
  EXPECT_EQ(ComDeviceName(9), "COM9");
  EXPECT_EQ(ComDeviceName(10), "\\\\.\\COM10");
  EXPECT_EQ(ComDeviceName(99), "\\\\.\\COM99");
}

TEST_F(LinkTest, OpenRefusesNumbersOutsideOneToNinetyNine) {
  EXPECT_EQ(link.Open(0, 9600), 0);
  EXPECT_EQ(link.Open(100, 9600), 0);
  EXPECT_EQ(link.Open(static_cast<uint32_t>(-1), 9600), 0);
  EXPECT_TRUE(port.opened.empty());
  EXPECT_EQ(link.Open(10, 9600), 1);
  EXPECT_EQ(port.opened.back(), "\\\\.\\COM10");
  EXPECT_EQ(port.baud, 9600u);
}

TEST_F(LinkTest, OpeningAgainClosesTheOpenPortFirst) {
  ASSERT_EQ(link.Open(3, 9600), 1);
  ASSERT_EQ(link.Open(4, 19200), 1);
  EXPECT_EQ(port.closes, 1);
  EXPECT_TRUE(link.IsOpen());
  // A failed open leaves nothing open.
  port.failOpen = true;
  EXPECT_EQ(link.Open(5, 9600), 0);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(port.closes, 2);
}

TEST_F(LinkTest, CloseGivesExactlyOneOrZero) {
  EXPECT_EQ(link.Close(), 0);  // nothing open: nothing to close
  EXPECT_EQ(port.closes, 0);
  link.Open(1, 9600);
  EXPECT_EQ(link.Close(), 1);
  EXPECT_EQ(link.Close(), 0);
}

TEST_F(LinkTest, WritePurgesFirstAndFailsOnAClosedPortOrAShortWrite) {
  const uint8_t bytes[3] = {1, 2, 3};
  EXPECT_FALSE(link.ComWriteFrame(bytes, 3));
  EXPECT_TRUE(port.writes.empty());
  link.Open(1, 9600);
  EXPECT_TRUE(link.ComWriteFrame(bytes, 3));
  EXPECT_EQ(port.purges, 1);
  port.shortWrite = true;
  EXPECT_FALSE(link.ComWriteFrame(bytes, 3));
  EXPECT_EQ(port.errorsCleared, 1);
}

TEST_F(LinkTest, ReadSetsItsTimeoutsAndRestoresTheCallers) {
  link.Open(1, 9600);
  port.replies.push_back(Now(kBeepAck));
  const uint8_t payload[2] = {0x06, 0x01};
  uint8_t reply[8];
  ASSERT_TRUE(link.Exchange(payload, 2, reply, 8));
  ASSERT_EQ(port.timeoutHistory.size(), 2u);
  EXPECT_EQ(port.timeoutHistory[0].readInterval, 50u);
  EXPECT_EQ(port.timeoutHistory[0].readTotalPerByte, 20u);
  EXPECT_EQ(port.timeoutHistory[0].readTotalConstant, 500u);
  EXPECT_EQ(port.timeoutHistory[1].readInterval, 1u);  // the saved ones again
  EXPECT_EQ(port.timeoutHistory[1].writeTotalConstant, 5u);
  // The request went out framed.
  EXPECT_EQ(port.writes.back(), (Bytes{0x5E, 0x5E, 0x7F, 0x00, 0x02, 0x06, 0x01, 0x07}));
}

TEST_F(LinkTest, ReplyInPiecesWithinTheLimitIsJoined) {
  link.Open(1, 9600);
  const Bytes ack = Framed(kBeepAck);
  port.replies.push_back({{100, Bytes(ack.begin(), ack.begin() + 3)},
                          {500, Bytes(ack.begin() + 3, ack.begin() + 6)},
                          {950, Bytes(ack.begin() + 6, ack.end())}});
  const uint8_t payload[2] = {0x06, 0x01};
  uint8_t reply[8];
  EXPECT_TRUE(link.Exchange(payload, 2, reply, 8));
}

TEST_F(LinkTest, ReplyStillIncompleteAfterTheLimitFails) {
  link.Open(1, 9600);
  const Bytes ack = Framed(kBeepAck);
  port.replies.push_back({{0, Bytes(ack.begin(), ack.begin() + 7)}, {1700, Bytes(ack.begin() + 7, ack.end())}});
  const uint8_t payload[2] = {0x06, 0x01};
  uint8_t reply[8];
  const uint32_t start = clock.now;
  EXPECT_FALSE(link.Exchange(payload, 2, reply, 8));
  EXPECT_GT(clock.now - start, 1000u);
  EXPECT_LT(clock.now - start, 1700u);
}

TEST_F(LinkTest, ExchangeRejectsEveryBadHeadByte) {
  link.Open(1, 9600);
  const uint8_t payload[2] = {0x06, 0x01};
  uint8_t reply[8];
  Bytes good = Framed(kBeepAck);
  port.replies.push_back({{0, good}});
  EXPECT_TRUE(link.Exchange(payload, 2, reply, 8));
  for (size_t at : {0u, 1u, 2u, 4u, 5u, 6u, 7u}) {
    Bytes bad = good;
    bad[at] ^= 0x40;
    port.replies.push_back({{0, bad}});
    EXPECT_FALSE(link.Exchange(payload, 2, reply, 8)) << "byte " << at;
  }
  // Status 0 with a right checksum, and another code echoed.
  port.replies.push_back(Now({0x06, 0x00}));
  EXPECT_FALSE(link.Exchange(payload, 2, reply, 8));
  port.replies.push_back(Now({0x05, 0x01}));
  EXPECT_FALSE(link.Exchange(payload, 2, reply, 8));
}

TEST_F(LinkTest, SessionOpensAndClosesOnlyWhenFlagged) {
  {
    LinkSession s(link, 0, 3, 9600);
    EXPECT_TRUE(s.Ready());
    EXPECT_TRUE(port.opened.empty());
  }
  {
    LinkSession s(link, -1, 3, 9600);
    EXPECT_TRUE(s.Ready());
    EXPECT_TRUE(link.IsOpen());
  }
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(port.closes, 1);
  {
    LinkSession s(link, 1, 0, 9600);  // bad port number: no open, no close
    EXPECT_FALSE(s.Ready());
  }
  EXPECT_EQ(port.closes, 1);
}
