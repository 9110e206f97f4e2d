// The command cycle over a scripted serial port and socket: open and close,
// attempts, reply acceptance, record downloads and outputs.
#include <gtest/gtest.h>

#include <cstring>

#include "CommandCycle.h"
#include "FakeLink.h"

using namespace halvin;
using namespace halvin::test;

namespace {

// A terminal that answers every request with `reply` (code echoed from the request).
Responder Answer(Bytes data, uint8_t status = 0x66) {
  return [=](const Bytes& w, char) { return std::vector<Chunk>{{TerminalReply(w[5], data, status)}}; };
}

// A record download reply announcing `len`, carrying `count` and len - 3 record bytes.
Bytes Download(uint8_t code, size_t len, uint8_t count) {
  Bytes data;
  data.push_back(count);
  for (size_t i = 0; i + 3 < len; ++i) data.push_back(static_cast<uint8_t>(i + 1));
  Bytes f = TerminalReply(code, data);
  f[3] = static_cast<uint8_t>(len >> 8);  // announce `len` whatever the payload
  f[4] = static_cast<uint8_t>(len);
  return f;
}

struct CommandCycle : ::testing::Test {
  FakeLink f;
  void OpenSerial() { ASSERT_EQ(f.link.Open(), 1); }
};

}  // namespace

TEST_F(CommandCycle, OpenAndCloseFlagWrapsTheExchange) {
  f.serial.respond = Answer({});
  EXPECT_EQ(RunCommand(f.link, Cmd::kSetDevNo, 1, 5, {7}), 1);
  ASSERT_EQ(f.serial.writes.size(), 1u);
  EXPECT_EQ(f.serial.writes[0],
            (Bytes{0x5E, 0x5E, 0x7F, 0x00, 0x05, 0x07, 0x00, 0x05, 0x00, 0x07, 0x05}));
  EXPECT_EQ(f.serial.log.front(), "open COM1 9600");
  EXPECT_EQ(f.serial.log.back(), "close");
  EXPECT_FALSE(f.link.IsOpen());
}

TEST_F(CommandCycle, FailureStillClosesWhatItOpened) {
  EXPECT_EQ(RunCommand(f.link, Cmd::kInitDev, 1, 1), 0);  // nobody answers
  EXPECT_EQ(f.serial.writes.size(), 3u);
  EXPECT_FALSE(f.link.IsOpen());
  EXPECT_EQ(f.serial.log.back(), "close");
}

TEST_F(CommandCycle, RefusedArgumentsNeverOpen) {
  EXPECT_EQ(RunCommand(f.link, Cmd::kInitDev, 1, 0), 0);
  EXPECT_EQ(RunCommand(f.link, Cmd::kInitDev, 1, 65536), 0);
  EXPECT_EQ(RunCommand(f.link, Cmd::kSetKeyMoney, 1, 1, {3, 100}), 0);
  EXPECT_EQ(RunCommand(f.link, Cmd::kSetSoundInfo, 1, 1, {2}), 0);
  int32_t t[15] = {};
  t[0] = 101;
  EXPECT_EQ(RunCommand(f.link, Cmd::kSetDiscount, 1, 1, {t}), 0);
  // A missing output is refused before any I/O too.
  EXPECT_EQ(RunCommand(f.link, Cmd::kGetCardSubsidy, 1, 1, {5, static_cast<void*>(nullptr)}), 0);
  EXPECT_EQ(RunCommand(f.link, Cmd::kGetAllMoneyInfo, 1, 1, {t, t}), 0);  // one output short
  EXPECT_TRUE(f.serial.log.empty());
}

TEST_F(CommandCycle, CountZeroIsDoneAtOnce) {
  EXPECT_EQ(RunCommand(f.link, Cmd::kDeleteRealRecord, 1, 1, {0}), 1);
  EXPECT_EQ(RunCommand(f.link, Cmd::kRegainDelRecord, 1, 1, {0}), 1);
  EXPECT_TRUE(f.serial.log.empty());
}

TEST_F(CommandCycle, NoLinkFailsAtTheWrite) {
  EXPECT_EQ(RunCommand(f.link, Cmd::kInitDev, 0, 1), 0);
  EXPECT_TRUE(f.serial.writes.empty());
}

TEST_F(CommandCycle, RejectedRepliesAreRetriedThenFail) {
  OpenSerial();
  struct Bad {
    const char* what;
    Responder respond;
  } bad[] = {
      {"status", Answer({0, 0, 0}, 0x00)},
      {"code", [](const Bytes&, char) { return std::vector<Chunk>{{TerminalReply(0x22, {0, 0, 0})}}; }},
      {"checksum",
       [](const Bytes& w, char) {
         Bytes r = TerminalReply(w[5], {0, 0, 0});
         r.back() ^= 0x01;
         return std::vector<Chunk>{{r}};
       }},
      {"short", [](const Bytes& w, char) { return std::vector<Chunk>{{TerminalReply(w[5], {0, 0})}}; }},
  };
  for (const Bad& b : bad) {
    f.serial.writes.clear();
    f.serial.respond = b.respond;
    int32_t amount = -1;
    EXPECT_EQ(RunCommand(f.link, Cmd::kGetCardSubsidy, 0, 1, {9, &amount}), 0) << b.what;
    EXPECT_EQ(f.serial.writes.size(), 3u) << b.what;
    EXPECT_EQ(amount, -1) << b.what;  // outputs only on success
  }
}

TEST_F(CommandCycle, AttemptCountsFollowTheCommand) {
  OpenSerial();
  int32_t count = 0;
  uint8_t records[1024];
  EXPECT_EQ(RunCommand(f.link, Cmd::kRealDownRecord, 0, 1, {&count, records}), 0);
  EXPECT_EQ(f.serial.writes.size(), 1u);
  EXPECT_EQ(RunCommand(f.link, Cmd::kDeleteRealRecord, 0, 1, {3}), 0);
  EXPECT_EQ(f.serial.writes.size(), 2u);
  EXPECT_EQ(RunCommand(f.link, Cmd::kSetDevNo, 0, 1, {2}), 0);
  EXPECT_EQ(f.serial.writes.size(), 5u);
}

TEST_F(CommandCycle, SecondAttemptCanSucceed) {
  OpenSerial();
  int calls = 0;
  f.serial.respond = [&](const Bytes& w, char) {
    return std::vector<Chunk>{{TerminalReply(w[5], {}, ++calls < 3 ? 0x01 : 0x66)}};
  };
  EXPECT_EQ(RunCommand(f.link, Cmd::kCheckFlash, 0, 1), 1);
  EXPECT_EQ(calls, 3);
}

TEST_F(CommandCycle, ReplyDataReachesTheOutputs) {
  OpenSerial();
  f.serial.respond = Answer({0x01, 0x02, 0x00, 0x00, 0x30, 0x39, 0xFF, 0xFE});
  int32_t a = 0, b = 0, c = 0;
  EXPECT_EQ(RunCommand(f.link, Cmd::kGetAllMoneyInfo, 0, 1, {&a, &b, &c}), 1);
  EXPECT_EQ(a, 0x0102);
  EXPECT_EQ(b, 12345);
  EXPECT_EQ(c, 0xFFFE);

  f.serial.respond = Answer({0x00, 0x07, 0x00, 0x01, 0x00, 0x02});
  EXPECT_EQ(RunCommand(f.link, Cmd::kGetDayMoneyInfo, 0, 1, {&a, &b}), 1);
  EXPECT_EQ(a, 7);
  EXPECT_EQ(b, 0x10002);

  f.serial.respond = Answer({24, 6, 30, 9, 5, 59});
  char time[14];
  std::memset(time, 'x', sizeof time);
  EXPECT_EQ(RunCommand(f.link, Cmd::kGetDevTime, 0, 1, {time}), 1);
  EXPECT_STREQ(time, "240630090559");
  f.serial.respond = Answer({123, 0, 0, 0, 0, 0});
  EXPECT_EQ(RunCommand(f.link, Cmd::kGetFactoryTime, 0, 1, {time}), 1);
  EXPECT_STREQ(time, "C30000000000");  // 123 does not make two decimal digits

  f.serial.respond = Answer({'V', '2', '.', '0', '1', ' ', 'A', 'B', 'C', 'D'});
  char version[11];
  EXPECT_EQ(RunCommand(f.link, Cmd::kGetDevVersion, 0, 1, {version}), 1);
  EXPECT_STREQ(version, "V2.01 ABCD");

  f.serial.respond = Answer({0x12, 0x34, 0x56});
  EXPECT_EQ(RunCommand(f.link, Cmd::kGetCardSubsidy, 0, 1, {77, &a}), 1);
  EXPECT_EQ(a, 0x123456);
  f.serial.respond = Answer({0x9C, 0x40});
  EXPECT_EQ(RunCommand(f.link, Cmd::kReadRegainDelRecordCnt, 0, 1, {&a}), 1);
  EXPECT_EQ(a, 40000);
}

TEST_F(CommandCycle, FlashReplyLengthFollowsTheRequest) {
  OpenSerial();
  Bytes data(5);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(0xA0 + i);
  f.serial.respond = Answer(data);
  uint8_t out[8];
  std::memset(out, 0xEE, sizeof out);
  EXPECT_EQ(RunCommand(f.link, Cmd::kGetFlashBuf, 0, 1, {0x123456, 5, out}), 1);
  EXPECT_EQ(Bytes(out, out + 7), (Bytes{0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0, 0xEE}));
  EXPECT_EQ(Bytes(f.serial.writes[0].begin() + 8, f.serial.writes[0].begin() + 12),
            (Bytes{0x12, 0x34, 0x56, 5}));
  // A reply of another length is not taken.
  EXPECT_EQ(RunCommand(f.link, Cmd::kGetFlashBuf, 0, 1, {0x123456, 4, out}), 0);
}

TEST_F(CommandCycle, RecordDownloadLengths) {
  OpenSerial();
  int32_t count = -1;
  uint8_t records[1024];
  // Len 5: the count byte and two record bytes, then a 0 byte.
  f.serial.respond = [](const Bytes& w, char) { return std::vector<Chunk>{{Download(w[5], 5, 9)}}; };
  std::memset(records, 0xEE, sizeof records);
  EXPECT_EQ(RunCommand(f.link, Cmd::kDownRecord, 0, 1, {0x000102, &count, records}), 1);
  EXPECT_EQ(count, 9);
  EXPECT_EQ(Bytes(records, records + 4), (Bytes{1, 2, 0, 0xEE}));
  EXPECT_EQ(f.serial.writes.back().size(), 12u);

  // Len 3: the count alone.
  f.serial.respond = [](const Bytes& w, char) { return std::vector<Chunk>{{Download(w[5], 3, 0)}}; };
  EXPECT_EQ(RunCommand(f.link, Cmd::kRealDownRecord, 0, 1, {&count, records}), 1);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(records[0], 0);

  // Len 1018 fills the 1024-byte frame exactly.
  f.serial.respond = [](const Bytes& w, char) { return std::vector<Chunk>{{Download(w[5], 1018, 50)}}; };
  EXPECT_EQ(RunCommand(f.link, Cmd::kRealDownRecord, 0, 1, {&count, records}), 1);
  EXPECT_EQ(count, 50);
  EXPECT_EQ(records[1014], static_cast<uint8_t>(1015));
  EXPECT_EQ(records[1015], 0);

  // Announced lengths outside 3-1018 fail the attempt, whatever follows.
  for (size_t len : {0u, 1u, 2u, 1019u, 0xFFFFu}) {
    count = -1;
    f.serial.respond = [len](const Bytes& w, char) {
      return std::vector<Chunk>{{Download(w[5], len, 1)}};
    };
    EXPECT_EQ(RunCommand(f.link, Cmd::kDownRecord, 0, 1, {0, &count, records}), 0) << len;
    EXPECT_EQ(count, -1);
  }
}

TEST_F(CommandCycle, RecordDownloadHeadAndChecksumAreTested) {
  OpenSerial();
  int32_t count = -1;
  uint8_t records[1024];
  for (int bad = 0; bad < 4; ++bad) {
    f.serial.respond = [bad](const Bytes& w, char) {
      Bytes r = Download(w[5], 6, 1);
      if (bad == 0) r[2] = 0x7E;
      if (bad == 1) r[5] = 0x27;
      if (bad == 2) r[6] = 0x65;
      if (bad == 3) r.back() ^= 0xFF;
      return std::vector<Chunk>{{r}};
    };
    EXPECT_EQ(RunCommand(f.link, Cmd::kDownRecord, 0, 1, {0, &count, records}), 0) << bad;
  }
  EXPECT_EQ(count, -1);
}

TEST_F(CommandCycle, SplitAndLateReplies) {
  OpenSerial();
  // In pieces within the second: joined.
  f.serial.respond = [](const Bytes& w, char) {
    Bytes r = TerminalReply(w[5]);
    return std::vector<Chunk>{{Bytes(r.begin(), r.begin() + 3), 0},
                              {Bytes(r.begin() + 3, r.end()), 400}};
  };
  EXPECT_EQ(RunCommand(f.link, Cmd::kInitDev, 0, 1), 1);
  // The rest only after the second: every attempt gives up.
  f.serial.respond = [](const Bytes& w, char) {
    Bytes r = TerminalReply(w[5]);
    return std::vector<Chunk>{{Bytes(r.begin(), r.begin() + 3), 0},
                              {Bytes(r.begin() + 3, r.end()), 1500}};
  };
  EXPECT_EQ(RunCommand(f.link, Cmd::kInitDev, 0, 1), 0);
}

TEST_F(CommandCycle, CommandsGoWithoutParityWhateverAPollLeft) {
  OpenSerial();
  ASSERT_TRUE(f.link.SetComParity('M'));
  f.serial.respond = Answer({});
  EXPECT_EQ(RunCommand(f.link, Cmd::kInitDev, 0, 1), 1);
  EXPECT_EQ(f.serial.writeParity.back(), 'N');
  EXPECT_EQ(f.link.Parity(), 'N');
}

TEST_F(CommandCycle, WorksOverTcpToo) {
  f.link.SetConnNetParam(1, 0, 0, "127.0.0.1", 9566);
  f.socket.respond = Answer({0x00, 0x2A});
  int32_t n = 0;
  EXPECT_EQ(RunCommand(f.link, Cmd::kReadRegainDelRecordCnt, 1, 3, {&n}), 1);
  EXPECT_EQ(n, 42);
  ASSERT_EQ(f.socket.writes.size(), 1u);
  EXPECT_EQ(f.socket.writes[0][7], 3);
  EXPECT_EQ(f.socket.cleanups, 1);
  EXPECT_TRUE(f.serial.log.empty());
}
