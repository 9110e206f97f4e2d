// The link settings, opening and closing, and the serial and TCP transports
// over scripted fakes.
#include <gtest/gtest.h>

#include "FakeLink.h"

using namespace halvin;
using namespace halvin::test;

namespace {
struct LinkTest : ::testing::Test {
  FakeLink f;
};
}  // namespace

TEST_F(LinkTest, DefaultsOpenCom1At9600) {
  EXPECT_EQ(f.link.Open(), 1);
  EXPECT_EQ(f.serial.log.front(), "open COM1 9600");
  EXPECT_TRUE(f.link.SerialOpen());
  EXPECT_EQ(f.link.Parity(), 'N');
}

TEST_F(LinkTest, PortNamesAndRange) {
  f.link.SetConnNetParam(0, 9, 19200, nullptr, 0);
  EXPECT_EQ(f.link.Open(), 1);
  EXPECT_EQ(f.serial.log.back(), "open COM9 19200");
  f.link.SetConnNetParam(0, 10, 9600, nullptr, 0);
  EXPECT_EQ(f.link.Open(), 1);
  EXPECT_EQ(f.serial.log.back(), "open \\\\.\\COM10 9600");
  f.link.Close();
  for (int port : {0, 100, -1}) {
    f.serial.log.clear();
    f.link.SetConnNetParam(0, port, 9600, nullptr, 0);
    EXPECT_EQ(f.link.Open(), 0) << port;
    EXPECT_TRUE(f.serial.log.empty()) << port;
  }
}

TEST_F(LinkTest, SettingsOfOneModeKeepTheOther) {
  EXPECT_EQ(f.link.SetConnNetParam(1, 5, 19200, "10.1.2.3", 8000), 1);
  EXPECT_EQ(f.link.Mode(), 1);
  EXPECT_STREQ(f.link.Address(), "10.1.2.3");
  EXPECT_EQ(f.link.TcpPort(), 8000);
  EXPECT_EQ(f.link.SerialPortNumber(), 1);
  EXPECT_EQ(f.link.Baud(), 9600);
  EXPECT_EQ(f.link.SetConnNetParam(0, 5, 19200, "1.1.1.1", 1), 1);
  EXPECT_EQ(f.link.SerialPortNumber(), 5);
  EXPECT_EQ(f.link.Baud(), 19200);
  EXPECT_STREQ(f.link.Address(), "10.1.2.3");
  EXPECT_EQ(f.link.TcpPort(), 8000);
}

TEST_F(LinkTest, AddressTextIsBounded) {
  EXPECT_EQ(f.link.SetConnNetParam(1, 0, 0, "255.255.255.255", 1), 1);  // 15 characters
  EXPECT_EQ(f.link.SetConnNetParam(1, 0, 0, "1255.255.255.255", 2), 0);
  EXPECT_EQ(f.link.SetConnNetParam(1, 0, 0, nullptr, 3), 0);
  EXPECT_STREQ(f.link.Address(), "255.255.255.255");
  EXPECT_EQ(f.link.TcpPort(), 1);
  EXPECT_EQ(f.link.SetConnNetParam(0, 2, 9600, nullptr, 0), 1);  // serial needs no address
}

TEST_F(LinkTest, AddressesThatDoNotParseAreRefusedBeforeTheSocket) {
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.x", "a.b.c.d", " 1.2.3.4",
                          "1..2.3", "0001.2.3.4"}) {
    f.link.SetConnNetParam(1, 0, 0, bad, 9566);
    EXPECT_EQ(f.link.Open(), 0) << bad;
  }
  f.link.SetConnNetParam(1, 0, 0, "1.2.3.4", 0);  // no port 0
  EXPECT_EQ(f.link.Open(), 0);
  f.link.SetConnNetParam(1, 0, 0, "1.2.3.4", 65536);
  EXPECT_EQ(f.link.Open(), 0);
  EXPECT_EQ(f.socket.startups, 0);
  uint32_t ip = 0;
  EXPECT_TRUE(ParseIPv4("192.168.0.254", &ip));
  EXPECT_EQ(ip, 0xC0A800FEu);
}

TEST_F(LinkTest, TcpOpenAndClose) {
  f.link.SetConnNetParam(1, 0, 0, "127.0.0.1", 9566);
  EXPECT_EQ(f.link.Open(), 1);
  EXPECT_EQ(f.socket.connectedTo, 0x7F000001u);
  EXPECT_EQ(f.socket.connectedPort, 9566);
  EXPECT_EQ(f.socket.connectMs, 3000u);
  EXPECT_EQ(f.socket.receiveMs, 3000u);
  const uint32_t before = f.clock.slept_;
  EXPECT_EQ(f.link.Close(), 1);
  EXPECT_EQ(f.socket.closes, 1);
  EXPECT_EQ(f.socket.cleanups, 1);
  EXPECT_EQ(f.clock.slept_ - before, 200u);
}

TEST_F(LinkTest, FailedTcpOpenLeavesNothingBehind) {
  f.link.SetConnNetParam(1, 0, 0, "127.0.0.1", 9566);
  f.socket.failConnect = true;
  EXPECT_EQ(f.link.Open(), 0);
  EXPECT_EQ(f.socket.startups, 1);
  EXPECT_EQ(f.socket.cleanups, 1);
  f.socket.failStartup = true;
  EXPECT_EQ(f.link.Open(), 0);
  EXPECT_EQ(f.socket.cleanups, 1);  // a refused start-up is not ended again
  EXPECT_FALSE(f.link.IsOpen());
  EXPECT_EQ(f.link.Close(), 0);
  EXPECT_EQ(f.socket.cleanups, 1);
}

TEST_F(LinkTest, ClosingAClosedLinkDoesNothing) {
  EXPECT_EQ(f.link.Close(), 0);
  f.link.SetConnNetParam(1, 0, 0, "127.0.0.1", 9566);
  EXPECT_EQ(f.link.Close(), 0);
  EXPECT_EQ(f.socket.cleanups, 0);
  EXPECT_EQ(f.socket.closes, 0);
  EXPECT_TRUE(f.serial.log.empty());
}

TEST_F(LinkTest, OpeningAgainClosesTheOpenLinkFirst) {
  EXPECT_EQ(f.link.Open(), 1);
  EXPECT_EQ(f.link.Open(), 1);
  EXPECT_EQ(f.serial.log, (std::vector<std::string>{"open COM1 9600", "close", "open COM1 9600"}));
  f.link.SetConnNetParam(1, 0, 0, "127.0.0.1", 9566);
  EXPECT_EQ(f.link.Open(), 1);  // serial closed, TCP opened
  EXPECT_EQ(f.serial.log.back(), "close");
  EXPECT_TRUE(f.link.TcpOpen());
  EXPECT_EQ(f.link.Open(), 1);
  EXPECT_EQ(f.socket.startups, 2);
  EXPECT_EQ(f.socket.cleanups, 1);
}

TEST_F(LinkTest, CloseClosesTheOpenLinkWhateverTheSettingsSayNow) {
  EXPECT_EQ(f.link.Open(), 1);
  f.link.SetConnNetParam(1, 0, 0, "127.0.0.1", 9566);
  EXPECT_EQ(f.link.Close(), 1);
  EXPECT_EQ(f.serial.log.back(), "close");
  EXPECT_EQ(f.socket.cleanups, 0);

  EXPECT_EQ(f.link.Open(), 1);  // TCP now
  f.link.SetConnNetParam(0, 1, 9600, nullptr, 0);
  EXPECT_EQ(f.link.Close(), 1);
  EXPECT_EQ(f.socket.closes, 1);
  EXPECT_EQ(f.socket.cleanups, 1);
}

TEST_F(LinkTest, SerialCloseResultAndParityReset) {
  EXPECT_EQ(f.link.Open(), 1);
  EXPECT_TRUE(f.link.SetComParity('S'));
  f.serial.closeResult = false;
  EXPECT_EQ(f.link.Close(), 0);
  const std::vector<std::string> tail(f.serial.log.end() - 2, f.serial.log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"parity N", "close"}));
  EXPECT_FALSE(f.link.IsOpen());
}

TEST_F(LinkTest, ParityIsSetOnlyWhenItChanges) {
  EXPECT_FALSE(f.link.SetComParity('M'));  // no port open
  EXPECT_EQ(f.link.Open(), 1);
  f.serial.log.clear();
  EXPECT_TRUE(f.link.SetComParity('N'));
  EXPECT_TRUE(f.serial.log.empty());
  EXPECT_TRUE(f.link.SetComParity('M'));
  EXPECT_TRUE(f.link.SetComParity('M'));
  EXPECT_EQ(f.serial.log, (std::vector<std::string>{"parity M"}));
  f.serial.failParity = true;
  EXPECT_FALSE(f.link.SetComParity('S'));
  EXPECT_EQ(f.link.Parity(), 'M');
  // Opening again starts without parity.
  f.serial.failParity = false;
  EXPECT_EQ(f.link.Open(), 1);
  EXPECT_EQ(f.link.Parity(), 'N');
}

TEST_F(LinkTest, SerialWriteClearsQueuesExceptWhilePolling) {
  EXPECT_EQ(f.link.Open(), 1);
  f.serial.log.clear();
  const uint8_t b[3] = {1, 2, 3};
  EXPECT_TRUE(f.link.Write(b, 3));
  EXPECT_EQ(f.serial.log, (std::vector<std::string>{"purge", "write 3"}));
  f.serial.log.clear();
  f.link.Poll().polling = true;
  EXPECT_TRUE(f.link.Write(b, 3));
  EXPECT_EQ(f.serial.log, (std::vector<std::string>{"write 3"}));
  f.serial.failWrite = true;
  EXPECT_FALSE(f.link.Write(b, 3));
}

TEST_F(LinkTest, SerialReadTimeouts) {
  EXPECT_EQ(f.link.Open(), 1);
  uint8_t buf[4];
  f.serial.Feed({1, 2});
  f.serial.Feed({3, 4}, 300);
  EXPECT_TRUE(f.link.ReadExact(buf, 4));
  EXPECT_EQ(f.serial.reads.back().interval, 50u);
  EXPECT_EQ(f.serial.reads.back().perByte, 20u);
  EXPECT_EQ(f.serial.reads.back().constant, 500u);
  EXPECT_EQ(f.serial.restored, 1);
  // Incomplete after a second: 0.
  f.serial.Feed({1, 2});
  const uint32_t start = f.clock.Ticks();
  EXPECT_FALSE(f.link.ReadExact(buf, 4));
  EXPECT_GT(f.clock.Ticks() - start, 1000u);
  EXPECT_EQ(f.serial.restored, 2);
  // While polling: short time-outs and a single pass.
  f.link.Poll().polling = true;
  f.serial.Feed({9}, 5);
  EXPECT_FALSE(f.link.ReadExact(buf, 1));
  EXPECT_EQ(f.serial.reads.back().interval, 6u);
  EXPECT_EQ(f.serial.reads.back().constant, 6u);
  // Time-outs that cannot be set fail the read.
  f.serial.failTimeouts = true;
  f.serial.Feed({1});
  EXPECT_FALSE(f.link.ReadExact(buf, 1));
  EXPECT_TRUE(f.link.ReadExact(buf, 0));
}

TEST_F(LinkTest, TcpReadAndWrite) {
  f.link.SetConnNetParam(1, 0, 0, "127.0.0.1", 9566);
  ASSERT_EQ(f.link.Open(), 1);
  // Input still waiting before a request is dropped: a late reply never
  // answers the next command.
  f.socket.Feed({0xAA, 0xBB});
  const uint8_t req[2] = {1, 2};
  EXPECT_TRUE(f.link.Write(req, 2));
  EXPECT_EQ(f.socket.Waiting(), 0u);
  uint8_t buf[4] = {};
  f.socket.Feed({1, 2, 3});
  f.socket.Feed({4}, 200);
  EXPECT_TRUE(f.link.ReadExact(buf, 4));
  EXPECT_EQ(Bytes(buf, buf + 4), (Bytes{1, 2, 3, 4}));
  // Failed receives add nothing; after a second the read gives up.
  f.socket.Feed({1, 2});
  EXPECT_FALSE(f.link.ReadExact(buf, 4));
  f.socket.shortSend = true;
  EXPECT_FALSE(f.link.Write(req, 2));
}

// A peer that keeps sending cannot hold a request up: only the input waiting
// when the request goes out is dropped, then the request is sent.
TEST_F(LinkTest, TcpDropsOnlyTheInputWaitingBeforeARequest) {
  f.link.SetConnNetParam(1, 0, 0, "127.0.0.1", 9566);
  ASSERT_EQ(f.link.Open(), 1);
  f.socket.Feed(Bytes(600, 0xAA));
  f.socket.floods = 100000;
  const uint8_t req[2] = {1, 2};
  EXPECT_TRUE(f.link.Write(req, 2));
  EXPECT_EQ(f.socket.received, 600u);
  EXPECT_EQ(f.socket.receives, 3);  // 256 + 256 + 88
  EXPECT_EQ(f.socket.writes.size(), 1u);
}
