// The bus polling rules on a fake clock: poll addresses and parity, the poll
// answer, the 60 ms gap, the 10 ms wait and the 3 s age of an answer.
#include <gtest/gtest.h>

#include "BusPolling.h"
#include "FakeLink.h"

using namespace halvin;
using namespace halvin::test;

namespace {

Bytes Answer(std::initializer_list<uint8_t> head) {
  Bytes a(head);
  uint8_t x = 0;
  for (uint8_t b : a) x ^= b;
  a.push_back(x);
  return a;
}

struct BusPolling : ::testing::Test {
  FakeLink f;
  int32_t device = -1, card = -1, status = -1, first = -1, second = -1;
  std::vector<uint8_t> polled;  // addresses polled, in order

  void SetUp() override { ASSERT_EQ(f.link.Open(), 1); }

  // Terminals that answer at `address` with `answer`; others stay silent.
  void Terminal(uint8_t address, Bytes answer) {
    f.serial.respond = [this, address, answer](const Bytes& w, char parity) {
      std::vector<Chunk> out;
      if (w.size() == 3 && w[0] == 0x88) {
        polled.push_back(w[1]);
        if (w[1] == address && parity == 'M') out.push_back({answer});
      }
      return out;
    };
  }
  int Poll(int32_t max) { return GetCardInfo(f.link, max, &device, &card, &status, &first, &second); }
  int Balance(int32_t dev) {
    const int32_t amounts[2] = {100, 200};
    return SendAddressedFrame(f.link, kSetBalanceCode, dev, 1, amounts, 2);
  }
  int DecMoney(int32_t dev) {
    const int32_t amounts[3] = {1, 2, 3};
    return SendAddressedFrame(f.link, kSetDecMoneyCode, dev, 9, amounts, 3);
  }
  // Device `dev` answers a poll now.
  void Answered(uint8_t dev) {
    Terminal(dev, Answer({0x64, 0, 0, 1, dev}));
    f.link.Poll().nextAddress = dev;
    ASSERT_EQ(Poll(dev), 1);
  }
};

}  // namespace

TEST_F(BusPolling, PollRequestsGoWithMarkParity) {
  Terminal(3, Answer({0x64, 0x00, 0x00, 0x2A, 0x03}));
  EXPECT_EQ(Poll(5), 1);
  EXPECT_EQ(polled, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(f.serial.writes[2], (Bytes{0x88, 0x03, 0x8B}));
  EXPECT_EQ(f.serial.writeParity[2], 'M');
  EXPECT_EQ(f.link.Parity(), 'M');  // left as it is
  EXPECT_FALSE(f.link.Poll().polling);
  // Poll writes keep the queues; each is flushed before the answer is read.
  EXPECT_EQ(std::count(f.serial.log.begin(), f.serial.log.end(), "purge"), 1);
  EXPECT_EQ(std::count(f.serial.log.begin(), f.serial.log.end(), "flush"), 3);
}

TEST_F(BusPolling, ShortAnswerLeavesTheValuesAlone) {
  Terminal(3, Answer({0x64, 0x00, 0x00, 0x2A, 0x03}));  // 64 00 00 2A 03 4D
  ASSERT_EQ(Answer({0x64, 0x00, 0x00, 0x2A, 0x03}).back(), 0x4D);
  f.link.Poll().nextAddress = 3;
  EXPECT_EQ(Poll(5), 1);
  EXPECT_EQ(card, 42);
  EXPECT_EQ(device, 3);
  EXPECT_EQ(status, 0x64);
  EXPECT_EQ(first, -1);
  EXPECT_EQ(second, -1);
  EXPECT_TRUE(f.link.Poll().answered[3]);
  EXPECT_EQ(f.link.Poll().answerTime[3], f.clock.TimeOfDay());
  EXPECT_EQ(f.link.Poll().nextAddress, 4u);
}

TEST_F(BusPolling, ValueAnswers) {
  for (uint8_t s : {0x65, 0x66}) {
    Terminal(2, Answer({s, 0x01, 0x02, 0x03, 0x02, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0xFF}));
    f.link.Poll().nextAddress = 2;
    EXPECT_EQ(Poll(2), 1);
    EXPECT_EQ(status, s);
    EXPECT_EQ(card, 0x010203);
    EXPECT_EQ(first, 256);
    EXPECT_EQ(second, 0xFFFFFF);
    f.clock.Advance(100);
  }
}

TEST_F(BusPolling, AnswerDeviceByteAboveNinetyNineIsKept) {
  Terminal(1, Answer({0x64, 0, 0, 5, 200}));
  EXPECT_EQ(Poll(1), 1);
  EXPECT_EQ(device, 200);
  EXPECT_TRUE(f.link.Poll().answered[200]);
}

TEST_F(BusPolling, WrapsToAddressOneAndTriesEachAddressOnce) {
  Terminal(0xFF, {});  // nobody answers
  f.link.Poll().nextAddress = 7;
  EXPECT_EQ(Poll(5), 0);
  EXPECT_EQ(polled, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_FALSE(f.link.Poll().polling);
  polled.clear();
  EXPECT_EQ(Poll(3), 0);
  EXPECT_EQ(polled, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(status, -1);
}

TEST_F(BusPolling, OtherBytesAreNoAnswer) {
  f.serial.respond = [this](const Bytes& w, char) {
    polled.push_back(w[1]);
    return std::vector<Chunk>{{Bytes{0x63}}};
  };
  EXPECT_EQ(Poll(2), 0);
  EXPECT_EQ(polled.size(), 2u);
}

TEST_F(BusPolling, BadXorPollsTheSameAddressFirstNextTime) {
  Bytes bad = Answer({0x64, 0, 0, 0x2A, 3});
  bad.back() ^= 1;
  Terminal(3, bad);
  f.link.Poll().nextAddress = 3;
  EXPECT_EQ(Poll(5), 0);
  EXPECT_EQ(status, -1);  // outputs only on success
  EXPECT_FALSE(f.link.Poll().answered[3]);
  EXPECT_EQ(f.link.Poll().nextAddress, 3u);
  EXPECT_FALSE(f.link.Poll().polling);
}

TEST_F(BusPolling, RefusedArguments) {
  EXPECT_EQ(Poll(0), 0);
  EXPECT_EQ(Poll(256), 0);
  EXPECT_EQ(GetCardInfo(f.link, 5, nullptr, &card, &status, &first, &second), 0);
  EXPECT_EQ(Balance(0), 0);
  EXPECT_EQ(Balance(256), 0);  // above the table of address bytes
  EXPECT_TRUE(f.serial.writes.empty());
  const int32_t big[3] = {0x1000000, 0, 0};
  const int32_t negative[3] = {0, -1, 0};
  Answered(4);
  EXPECT_EQ(SendAddressedFrame(f.link, kSetAddMoneyCode, 4, 0, big, 3), 0);
  EXPECT_EQ(SendAddressedFrame(f.link, kSetAddMoneyCode, 4, 0, negative, 3), 0);
  const int32_t fine[3] = {0xFFFFFF, 0, 0};
  EXPECT_EQ(SendAddressedFrame(f.link, kSetAddMoneyCode, 4, 256, fine, 3), 0);
  f.clock.Advance(20);
  EXPECT_EQ(SendAddressedFrame(f.link, kSetAddMoneyCode, 4, 255, fine, 3), 1);
}

TEST_F(BusPolling, NoPollingOverTcp) {
  f.link.SetConnNetParam(1, 0, 0, "127.0.0.1", 9566);
  ASSERT_EQ(f.link.Open(), 1);
  EXPECT_EQ(Poll(5), 0);
  EXPECT_EQ(Balance(1), 0);
  EXPECT_TRUE(f.socket.writes.empty());
}

TEST_F(BusPolling, AddressedFrameLayout) {
  Answered(3);
  f.clock.Advance(20);
  f.serial.writes.clear();
  EXPECT_EQ(Balance(3), 1);
  ASSERT_EQ(f.serial.writes.size(), 1u);
  const Bytes& w = f.serial.writes[0];
  EXPECT_EQ(w, (Bytes{0x5E, 0x5E, 0x7F, 0x00, 0x03, 0x00, 0x08, 0x49, 0x01, 0x00, 0x00, 100, 0x00,
                      0x00, 200, 0x49 ^ 0x01 ^ 100 ^ 200}));
  EXPECT_EQ(f.serial.writeParity.back(), 'S');
  EXPECT_EQ(f.serial.log.back(), "flush");

  f.clock.Advance(100);
  f.serial.writes.clear();
  EXPECT_EQ(DecMoney(3), 1);
  ASSERT_EQ(f.serial.writes[0].size(), 19u);
  EXPECT_EQ(f.serial.writes[0][6], 11);
  EXPECT_EQ(f.serial.writes[0][7], 0x4A);
}

TEST_F(BusPolling, PollSoonAfterAnAddressedFrameWaits) {
  Answered(1);
  f.clock.Advance(20);
  ASSERT_EQ(Balance(1), 1);
  f.clock.Advance(30);
  f.serial.writes.clear();
  const uint32_t before = f.clock.slept_;
  EXPECT_EQ(Poll(5), 0);
  EXPECT_EQ(f.clock.slept_ - before, 10u);
  EXPECT_TRUE(f.serial.writes.empty());
  f.clock.Advance(30);  // 60 ms now
  Terminal(1, Answer({0x64, 0, 0, 1, 1}));
  EXPECT_EQ(Poll(5), 1);
}

TEST_F(BusPolling, FrameWaitsTenMillisecondsAfterTheAnswer) {
  Answered(2);
  const uint32_t answeredAt = f.link.Poll().answerTime[2];
  f.clock.Advance(2);
  EXPECT_EQ(Balance(2), 1);
  EXPECT_GE(DayTimeSince(answeredAt, f.serial.writeTimes.back()), 10u);
  EXPECT_LE(DayTimeSince(answeredAt, f.serial.writeTimes.back()), 15u);
  EXPECT_EQ(f.serial.writes.back().size(), 16u);
}

TEST_F(BusPolling, StaleAnswerRefusesTheFrame) {
  Answered(2);
  f.clock.Advance(5000);
  f.serial.writes.clear();
  EXPECT_EQ(Balance(2), 0);
  EXPECT_TRUE(f.serial.writes.empty());
  EXPECT_EQ(f.link.Parity(), 'S');  // a refused frame leaves space parity
  // Exactly 3 s is still fine.
  Answered(2);
  f.clock.Advance(3000);
  EXPECT_EQ(Balance(2), 1);
}

TEST_F(BusPolling, DeviceThatNeverAnsweredGetsNoFrame) {
  // Whatever the time of day: an empty entry is no answer at midnight.
  f.clock.SetTimeOfDay(5 * 3600 * 1000);
  EXPECT_EQ(Balance(2), 0);
  f.clock.SetTimeOfDay(0);
  EXPECT_EQ(Balance(2), 0);
  EXPECT_TRUE(f.serial.writes.empty());
  // Opening the port again forgets every answer.
  Answered(2);
  ASSERT_EQ(f.link.Open(), 1);
  f.clock.Advance(20);
  EXPECT_EQ(Balance(2), 0);
}

TEST_F(BusPolling, AgeCountsOverMidnight) {
  f.clock.SetTimeOfDay(kMsPerDay - 500);
  Answered(6);
  f.clock.Advance(1000);  // 00:00:00.500 and a bit
  EXPECT_LT(f.clock.TimeOfDay(), 1000u);
  EXPECT_EQ(Balance(6), 1);

  f.clock.SetTimeOfDay(kMsPerDay - 2000);
  ASSERT_EQ(f.link.Open(), 1);
  Answered(6);
  f.clock.Advance(4000);  // 4 s later, over midnight
  EXPECT_EQ(Balance(6), 0);
}

TEST_F(BusPolling, GapBetweenFramesToDifferentDevices) {
  Answered(1);
  f.clock.Advance(1);
  Answered(2);
  f.clock.Advance(20);
  ASSERT_EQ(DecMoney(1), 1);
  const uint32_t first = f.serial.writeTimes.back();
  // Device 2 right after: waits out the 60 ms.
  EXPECT_EQ(DecMoney(2), 1);
  EXPECT_GE(DayTimeSince(first, f.serial.writeTimes.back()), 60u);
  EXPECT_LE(DayTimeSince(first, f.serial.writeTimes.back()), 62u);
  // Device 2 again: no wait.
  const uint32_t second = f.serial.writeTimes.back();
  EXPECT_EQ(DecMoney(2), 1);
  EXPECT_LE(DayTimeSince(second, f.serial.writeTimes.back()), 1u);
}

TEST_F(BusPolling, CommandAfterPollGoesWithoutParityAndPollAfterCommandWithMark) {
  Answered(1);
  EXPECT_EQ(f.link.Parity(), 'M');
  f.link.SetComParity('N');  // as a command would
  f.clock.Advance(100);
  Terminal(1, Answer({0x64, 0, 0, 1, 1}));
  EXPECT_EQ(Poll(1), 1);
  EXPECT_EQ(f.serial.writeParity.back(), 'M');
}
