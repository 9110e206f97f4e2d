// The request frames the command table makes from export arguments, and the
// arguments it refuses before any I/O.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "CommandCycle.h"
#include "CommandTable.h"

using namespace halvin;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes Request(Cmd id, int32_t device, std::initializer_list<Arg> args) {
  uint8_t out[kMaxRequest];
  size_t used = 0;
  const size_t n = BuildRequest(CommandFor(id), device, args.begin(), args.size(), out,
                                sizeof out, &used);
  return Bytes(out, out + n);
}

bool Refused(Cmd id, int32_t device, std::initializer_list<Arg> args) {
  return Request(id, device, args).empty();
}

// The request data: everything after code and device, before the checksum.
Bytes Data(const Bytes& frame) {
  EXPECT_GE(frame.size(), 9u);
  return Bytes(frame.begin() + 8, frame.end() - 1);
}

std::vector<int32_t> Grid(int32_t base) {
  std::vector<int32_t> g(8 * 15);
  for (int c = 0; c < 8; ++c)
    for (int i = 0; i < 15; ++i) g[c * 15 + i] = base + c * 16 + i;
  return g;
}

}  // namespace

TEST(CommandTable, SixtySevenCommandsWithDistinctCodes) {
  ASSERT_EQ(kCommandCount, 67u);
  std::set<uint8_t> codes;
  std::set<std::string> names;
  for (size_t i = 0; i < kCommandCount; ++i) {
    codes.insert(CommandTable()[i].code);
    names.insert(CommandTable()[i].name);
  }
  EXPECT_EQ(codes.size(), 67u);
  EXPECT_EQ(names.size(), 67u);
  for (uint8_t unused : {0x2A, 0x2B, 0x2C, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x53, 0x54})
    EXPECT_EQ(codes.count(unused), 0u) << static_cast<int>(unused);
  EXPECT_STREQ(CommandFor(Cmd::kSetMonthCount).name, "SetMonthCount");
  EXPECT_EQ(CommandFor(Cmd::kSetMonthCount).code, 0x57);
  EXPECT_EQ(CommandFor(Cmd::kDownFont).code, 0x4C);
}

TEST(CommandRequest, KnownFrames) {
  EXPECT_EQ(Request(Cmd::kClearBlackCard, 1, {}),
            (Bytes{0x5E, 0x5E, 0x7F, 0x00, 0x03, 0x22, 0x00, 0x01, 0x23}));
  EXPECT_EQ(Request(Cmd::kSetDevNo, 5, {7}),
            (Bytes{0x5E, 0x5E, 0x7F, 0x00, 0x05, 0x07, 0x00, 0x05, 0x00, 0x07, 0x05}));
  // Device numbers travel big-endian in two bytes.
  const Bytes f = Request(Cmd::kInitDev, 0x1234, {});
  EXPECT_EQ(f[6], 0x12);
  EXPECT_EQ(f[7], 0x34);
}

TEST(CommandRequest, NumbersAndFlags) {
  EXPECT_EQ(Data(Request(Cmd::kSetMAGCard, 1, {300000})), (Bytes{0x00, 0x04, 0x93, 0xE0}));
  EXPECT_EQ(Data(Request(Cmd::kSetFixedMoney, 1, {0xABCDEF})), (Bytes{0xAB, 0xCD, 0xEF}));
  EXPECT_EQ(Data(Request(Cmd::kSetAutoPrint, 1, {-5})), (Bytes{1}));
  EXPECT_EQ(Data(Request(Cmd::kSetAutoPrint, 1, {0})), (Bytes{0}));
  EXPECT_EQ(Data(Request(Cmd::kAddSubsidy, 1, {0x01020304, 0x0A0B0C})),
            (Bytes{1, 2, 3, 4, 0x0A, 0x0B, 0x0C}));
  // Card numbers take all 32 bits.
  EXPECT_EQ(Data(Request(Cmd::kLoseCard, 1, {-1})), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Data(Request(Cmd::kSetKeyMoney, 1, {2, 0x1234})), (Bytes{2, 0x12, 0x34}));
  EXPECT_EQ(Data(Request(Cmd::kAddMoneyUnit, 1, {1, 0xBEEF})), (Bytes{0, 1, 0xBE, 0xEF}));
  EXPECT_EQ(Data(Request(Cmd::kGetFlashBuf, 1, {0x123456, 200})), (Bytes{0x12, 0x34, 0x56, 200}));
  EXPECT_EQ(Data(Request(Cmd::kDownRecord, 1, {0x010203})), (Bytes{1, 2, 3}));
  EXPECT_EQ(Data(Request(Cmd::kSetTcpNetParam, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 255})),
            (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 255}));
}

TEST(CommandRequest, TextsAndDigits) {
  // Digit pairs are plain numbers; the clock's 13th character is one hex digit.
  EXPECT_EQ(Data(Request(Cmd::kSetDevTime, 1, {"2406301259597"})),
            (Bytes{24, 6, 30, 12, 59, 59, 7}));
  EXPECT_EQ(Data(Request(Cmd::kSetFactoryTime, 1, {"1A0102030405"})), (Bytes{20, 1, 2, 3, 4, 5}));
  const Bytes period = Data(Request(Cmd::kSetPeriod, 1, {"000102030405060708091011121314151617181920212223"}));
  ASSERT_EQ(period.size(), 24u);
  for (size_t i = 0; i < 24; ++i) EXPECT_EQ(period[i], i);
  EXPECT_EQ(Data(Request(Cmd::kSetDevPassWord, 1, {"A1b2C3d4E5f6"})),
            (Bytes{0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6}));
  // A text shorter than its field is sent with zero bytes after it, never
  // with whatever lies beyond its end.
  EXPECT_EQ(Data(Request(Cmd::kSetScreen, 1, {"HELLO"})),
            (Bytes{'H', 'E', 'L', 'L', 'O', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Data(Request(Cmd::kSetDevVersion, 1, {"V1.23456789XYZ"})),
            (Bytes{'V', '1', '.', '2', '3', '4', '5', '6', '7', '8'}));
  const uint8_t password[4] = {0, 0xFF, 0, 7};  // raw bytes, zeros included
  EXPECT_EQ(Data(Request(Cmd::kSetMenuPassWord, 1, {password})), (Bytes{0, 0xFF, 0, 7}));
}

TEST(CommandRequest, DigitTextsMustBeLongEnough) {
  EXPECT_TRUE(Refused(Cmd::kSetDevTime, 1, {"240630125959"}));  // 12 of 13
  EXPECT_TRUE(Refused(Cmd::kSetFactoryTime, 1, {"12345"}));
  EXPECT_TRUE(Refused(Cmd::kSetDevPassWord, 1, {"FFFFFFFFFFF"}));
  EXPECT_TRUE(Refused(Cmd::kSetPeriod, 1, {"0001"}));
  EXPECT_TRUE(Refused(Cmd::kSetScreen, 1, {static_cast<const char*>(nullptr)}));
  EXPECT_TRUE(Refused(Cmd::kSetDevPassWord, 1, {static_cast<const char*>(nullptr)}));
}

TEST(CommandRequest, TablesGoInIndexOrder) {
  int32_t t[15];
  for (int i = 0; i < 15; ++i) t[i] = 0x100 * i + 1;
  const Bytes two = Data(Request(Cmd::kSetLimitTime, 1, {t}));
  ASSERT_EQ(two.size(), 30u);
  EXPECT_EQ(two[2], 0x01);
  EXPECT_EQ(two[3], 0x01);
  // SetSaveMoney: entries up to 0xFFFF, each in 3 bytes.
  const Bytes three = Data(Request(Cmd::kSetSaveMoney, 1, {t}));
  ASSERT_EQ(three.size(), 45u);
  EXPECT_EQ((Bytes{three[42], three[43], three[44]}), (Bytes{0x00, 0x0E, 0x01}));
  int32_t flags[15] = {0, 5, -1};
  const Bytes f = Data(Request(Cmd::kSetIsMonthCount, 1, {flags}));
  ASSERT_EQ(f.size(), 15u);
  EXPECT_EQ((Bytes{f[0], f[1], f[2], f[3]}), (Bytes{0, 1, 1, 0}));
}

TEST(CommandRequest, TableRanges) {
  int32_t t[15] = {};
  t[14] = 101;
  EXPECT_TRUE(Refused(Cmd::kSetDiscount, 1, {t}));
  t[14] = 100;
  EXPECT_FALSE(Refused(Cmd::kSetDiscount, 1, {t}));
  t[3] = 0x10000;
  EXPECT_TRUE(Refused(Cmd::kSetSaveMoney, 1, {t}));  // 3 bytes on the wire, 0xFFFF at most
  EXPECT_TRUE(Refused(Cmd::kSetMonthCount, 1, {t}));
  EXPECT_FALSE(Refused(Cmd::kSetLimitMoney, 1, {t}));
  t[3] = 0x1000000;
  EXPECT_TRUE(Refused(Cmd::kSetLimitMoney, 1, {t}));
  EXPECT_TRUE(Refused(Cmd::kSetOneLimitMoney, 1, {t}));
  t[3] = -1;
  EXPECT_TRUE(Refused(Cmd::kSetLimitTime, 1, {t}));
  EXPECT_TRUE(Refused(Cmd::kSetLimitTime, 1, {static_cast<const int32_t*>(nullptr)}));
}

TEST(CommandRequest, GridRecordsTakeColumnsInTheirOrder) {
  std::vector<int32_t> g = Grid(0x10);
  const Bytes limit = Data(Request(Cmd::kSetPeriodLimit, 1, {g.data()}));
  ASSERT_EQ(limit.size(), 15u * 20u);
  // Record 1: c0 (2), c4 (3), c1 (2), c5 (3), c2 (2), c6 (3), c3 (2), c7 (3).
  auto entry = [&](int c, int i) { return static_cast<uint32_t>(g[c * 15 + i]); };
  const uint8_t* r = limit.data() + 20;
  EXPECT_EQ((r[0] << 8) | r[1], entry(0, 1));
  EXPECT_EQ((r[2] << 16) | (r[3] << 8) | r[4], entry(4, 1));
  EXPECT_EQ((r[5] << 8) | r[6], entry(1, 1));
  EXPECT_EQ((r[17] << 16) | (r[18] << 8) | r[19], entry(7, 1));

  const Bytes timeMoney = Data(Request(Cmd::kSetTimeMoney, 1, {g.data()}));
  ASSERT_EQ(timeMoney.size(), 15u * 14u);
  const uint8_t* t = timeMoney.data() + 14 * 2;  // record 2: c0 (1), c1 (3), c2 (1), c3 (1), c4 (3) ...
  EXPECT_EQ(t[0], entry(0, 2));
  EXPECT_EQ((t[1] << 16) | (t[2] << 8) | t[3], entry(1, 2));
  EXPECT_EQ(t[4], entry(2, 2));
  EXPECT_EQ(t[5], entry(3, 2));
  EXPECT_EQ(t[13], entry(7, 2) & 0xFF);

  const Bytes periodMoney = Data(Request(Cmd::kSetPeriodMoney, 1, {g.data()}));
  ASSERT_EQ(periodMoney.size(), 15u * 24u);
  const uint8_t* p = periodMoney.data() + 24 * 14;
  EXPECT_EQ((p[21] << 16) | (p[22] << 8) | p[23], entry(7, 14));
}

TEST(CommandRequest, GridRanges) {
  std::vector<int32_t> g(8 * 15, 0);
  g[2 * 15 + 3] = 0x10000;  // column 2 travels in 2 bytes
  EXPECT_TRUE(Refused(Cmd::kSetPeriodLimit, 1, {g.data()}));
  g[2 * 15 + 3] = 0;
  g[5 * 15 + 3] = 0x10000;  // column 5 in 3 bytes
  EXPECT_FALSE(Refused(Cmd::kSetPeriodLimit, 1, {g.data()}));
  g[5 * 15 + 3] = 0x1000000;
  EXPECT_TRUE(Refused(Cmd::kSetPeriodMoney, 1, {g.data()}));
  // SetTimeMoney cuts nothing either: a one-byte column takes 0-255.
  std::vector<int32_t> tm(8 * 15, 0);
  tm[3 * 15] = 256;
  EXPECT_TRUE(Refused(Cmd::kSetTimeMoney, 1, {tm.data()}));
  tm[3 * 15] = 255;
  EXPECT_FALSE(Refused(Cmd::kSetTimeMoney, 1, {tm.data()}));
}

TEST(CommandRequest, MenuSendsNineEntriesWhateverTheCount) {
  MenuMoneyRecord m;
  std::memset(&m, 0, sizeof m);
  for (int i = 0; i < 9; ++i) {
    m.firstByte[i] = i + 1;
    m.secondByte[i] = 0x20 + i;
    std::memcpy(m.shortText[i], "ABCDEFG", 7);
    std::memcpy(m.longText[i], "0123456789abcdef", 16);
    m.price[i] = 0x010203 * (i + 1);
  }
  m.price[8] = -7;  // past the count: not looked at
  const Bytes d = Data(Request(Cmd::kSetMenuMoney, 1, {2, &m}));
  ASSERT_EQ(d.size(), 1u + 9u * 28u);
  EXPECT_EQ(d[0], 2);
  const uint8_t* e = d.data() + 1 + 28;  // entry 1
  EXPECT_EQ(e[0], 2);
  EXPECT_EQ(e[1], 0x21);
  EXPECT_EQ(std::memcmp(e + 2, "ABCDEFG", 7), 0);
  EXPECT_EQ(std::memcmp(e + 9, "0123456789abcdef", 16), 0);
  EXPECT_EQ((Bytes{e[25], e[26], e[27]}), (Bytes{0x02, 0x04, 0x06}));
  EXPECT_TRUE(Refused(Cmd::kSetMenuMoney, 1, {0, &m}));
  EXPECT_TRUE(Refused(Cmd::kSetMenuMoney, 1, {10, &m}));
  EXPECT_TRUE(Refused(Cmd::kSetMenuMoney, 1, {9, &m}));  // entry 9 is now in use
  EXPECT_TRUE(Refused(Cmd::kSetMenuMoney, 1, {1, static_cast<const void*>(nullptr)}));
}

TEST(CommandRequest, BlocksCarryTheirLength) {
  Bytes bytes(600, 0xAA);
  const Bytes gprs = Request(Cmd::kSetGPRSNetParam, 1, {9, 41, bytes.data()});
  ASSERT_EQ(gprs.size(), 41u + 11u);
  EXPECT_EQ((gprs[3] << 8) | gprs[4], 41 + 5);
  EXPECT_EQ(gprs[8], 9);
  EXPECT_EQ(gprs[9], 41);
  EXPECT_TRUE(Refused(Cmd::kSetGPRSNetParam, 1, {9, 42, bytes.data()}));
  EXPECT_TRUE(Refused(Cmd::kSetGPRSNetParam, 1, {9, -1, bytes.data()}));

  const Bytes font = Request(Cmd::kDownFont, 1, {0x123456, 586, bytes.data()});
  ASSERT_EQ(font.size(), 586u + 14u);
  EXPECT_EQ((font[3] << 8) | font[4], 586 + 8);
  EXPECT_EQ((Bytes{font[8], font[9], font[10], font[11], font[12]}),
            (Bytes{0x12, 0x34, 0x56, 0x02, 0x4A}));
  EXPECT_TRUE(Refused(Cmd::kDownFont, 1, {0, 587, bytes.data()}));
  EXPECT_TRUE(Refused(Cmd::kDownFont, 1, {0x1000000, 1, bytes.data()}));
  EXPECT_TRUE(Refused(Cmd::kDownFont, 1, {0, 1, static_cast<const void*>(nullptr)}));
  EXPECT_FALSE(Refused(Cmd::kDownFont, 1, {0, 0, static_cast<const void*>(nullptr)}));
}

TEST(CommandRequest, RangesOfSingleValues) {
  struct Case {
    Cmd id;
    int32_t low, high;  // the outermost values taken
  } cases[] = {
      {Cmd::kSetDevNo, 1, 65535},        {Cmd::kSetBaud, 0, 4},
      {Cmd::kSetMAGCard, 1, 300000},     {Cmd::kSetWorkType, 0, 8},
      {Cmd::kSetDoorType, 0, 2},         {Cmd::kSetSleep, 0, 255},
      {Cmd::kSetAllowLeave, 0, 32767},   {Cmd::kSetFixedMoney, 0, 0xFFFFFF},
      {Cmd::kDeleteRealRecord, 0, 255},  {Cmd::kRegainDelRecord, 0, 40000},
      {Cmd::kSetStartBlock, 1, 13},      {Cmd::kSetSoundInfo, 0, 1},
      {Cmd::kDecMoneySpeed, 1, 255},     {Cmd::kAddMoneySpeed, 1, 255},
      {Cmd::kDecMoneyUnit, 1, 65535},    {Cmd::kSetRelayOpenTime, 0, 0xFFFF},
      {Cmd::kDownRecord, 0, 0xFFFFFF},
  };
  for (const Case& c : cases) {
    const char* name = CommandFor(c.id).name;
    EXPECT_FALSE(Refused(c.id, 1, {c.low})) << name;
    EXPECT_FALSE(Refused(c.id, 1, {c.high})) << name;
    EXPECT_TRUE(Refused(c.id, 1, {c.low - 1})) << name;
    EXPECT_TRUE(Refused(c.id, 1, {c.high + 1})) << name;
  }
  EXPECT_TRUE(Refused(Cmd::kSetKeyMoney, 1, {0, 5}));
  EXPECT_TRUE(Refused(Cmd::kSetKeyMoney, 1, {3, 5}));
  EXPECT_TRUE(Refused(Cmd::kSetKeyMoney, 1, {1, 65536}));
  EXPECT_TRUE(Refused(Cmd::kGetFlashBuf, 1, {0x123456, 256}));
  EXPECT_TRUE(Refused(Cmd::kGetFlashBuf, 1, {0, 1}));
  EXPECT_TRUE(Refused(Cmd::kGetFlashBuf, 1, {0x400001, 1}));
  // Amounts that do not fit their field are refused, not cut.
  EXPECT_TRUE(Refused(Cmd::kAddSubsidy, 1, {1, -1}));
  EXPECT_TRUE(Refused(Cmd::kDecSubsidy, 1, {1, 0x1000000}));
  EXPECT_FALSE(Refused(Cmd::kDecSubsidy, 1, {1, 0xFFFFFF}));
  EXPECT_TRUE(Refused(Cmd::kAddMoneyUnit, 1, {1, 0x10000}));
  EXPECT_TRUE(Refused(Cmd::kSetTcpNetParam, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 256}));
}

TEST(CommandRequest, DeviceNumberIsTestedForEveryCommand) {
  for (size_t i = 0; i < kCommandCount; ++i) {
    uint8_t out[kMaxRequest];
    EXPECT_EQ(BuildRequest(CommandTable()[i], 0, nullptr, 0, out, sizeof out, nullptr), 0u);
    EXPECT_EQ(BuildRequest(CommandTable()[i], 65536, nullptr, 0, out, sizeof out, nullptr), 0u);
  }
}
