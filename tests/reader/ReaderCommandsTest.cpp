// The reader commands on a scripted port: the bytes of every request, the
// argument checks before any open, the write-and-verify attempts, the
// serial number votes and key scrambling.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FakePort.h"
#include "ReaderCommands.h"

using namespace dorvex;
using namespace dorvex_test;

namespace {
const char* kKey = "A0a1B2c3D4e5";
const Bytes kKeyPacked = {0xA0, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5};

struct CommandsTest : ::testing::Test {
  FakeClock clock;
  FakePort port{clock};
  Reader reader{port, clock};
  void SetUp() override { ASSERT_EQ(reader.OpenComPort(1, 9600), 1); }
  // The payload of the i-th request written.
  Bytes Sent(size_t i) const {
    const Bytes& f = port.writes.at(i);
    return Bytes(f.begin() + 5, f.end() - 1);
  }
  Bytes Block(uint8_t fill, size_t blocks = 1) const { return Bytes(16 * blocks, fill); }
  Reply BlocksReply(const Bytes& data) const {
    Bytes p = {0x04, 0x01};
    p.insert(p.end(), data.begin(), data.end());
    return Now(p);
  }
};

Bytes Cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
}  // namespace

TEST_F(CommandsTest, RequestsCarryTheirCodeAndData) {
  for (int i = 0; i < 4; ++i) port.replies.push_back(Now({0x01, 0x01}));
  EXPECT_EQ(reader.SetDevPassWord(0, 0, 0, kKey), 1);
  EXPECT_EQ(Sent(0), Cat({0x01}, kKeyPacked));
  EXPECT_EQ(port.writes[0].size(), 13u);

  port.replies.clear();
  port.replies.push_back(Now({0x02, 0x01}));
  EXPECT_EQ(reader.SetOneCardPassWord(0, 0, 0, 15, kKey), 1);
  EXPECT_EQ(Sent(1), Cat({0x02, 15}, kKeyPacked));

  port.replies.push_back(Now({0x06, 0x01}));
  EXPECT_EQ(reader.SendBeep(0, 0, 0, 0x1234), 1);
  EXPECT_EQ(Sent(2), (Bytes{0x06, 0x34}));

  port.replies.push_back(Now({0x53, 0x01}));
  EXPECT_EQ(reader.SetAutoEditPW(0, 0, 0, -1, 13, kKey, -1, "FFFFFFFFFFFF", 7), 1);
  EXPECT_EQ(Sent(3), Cat(Cat({0x53, 1, 13}, kKeyPacked), Cat({1}, Cat(Bytes(6, 0xFF), {1}))));
  EXPECT_EQ(port.writes[3].size(), 23u);

  port.replies.push_back(Now({0x54, 0x01}));
  EXPECT_EQ(reader.CancelAutoEditPW(0, 0, 0), 1);
  EXPECT_EQ(port.writes[4], (Bytes{0x5E, 0x5E, 0x7F, 0x00, 0x01, 0x54, 0x54}));
}

TEST_F(CommandsTest, ArgumentChecksComeBeforeAnyOpenOrIo) {
  reader.CloseComPort();
  port.opened.clear();
  uint8_t out[49];
  const uint8_t data[48] = {};
  EXPECT_EQ(reader.SetOneCardPassWord(1, 1, 9600, 16, kKey), 0);
  EXPECT_EQ(reader.SetOneCardPassWord(1, 1, 9600, -1, kKey), 0);
  EXPECT_EQ(reader.SetDevPassWord(1, 1, 9600, "A0A1A2A3A4A"), 0);  // 11 characters
  EXPECT_EQ(reader.SetDevPassWord(1, 1, 9600, nullptr), 0);
  EXPECT_EQ(reader.SetAllCardPassWord(1, 1, 9600, ""), 0);
  EXPECT_EQ(reader.ReadCardBlock(1, 1, 9600, 2, 2, out), 0);  // (2 mod 4) + 2 > 3
  EXPECT_EQ(reader.ReadCardBlock(1, 1, 9600, 63, 1, out), 0);
  EXPECT_EQ(reader.ReadCardBlock(1, 1, 9600, -4, 1, out), 0);
  EXPECT_EQ(reader.ReadCardBlock(1, 1, 9600, 4, 0, out), 0);
  EXPECT_EQ(reader.ReadCardBlock(1, 1, 9600, 4, 1, nullptr), 0);
  EXPECT_EQ(reader.WriteCardBlock(1, 1, 9600, 0, 1, data), 0);
  EXPECT_EQ(reader.WriteCardBlock(1, 1, 9600, 4, 4, data), 0);
  EXPECT_EQ(reader.WriteCardBlock(1, 1, 9600, 4, 1, nullptr), 0);
  EXPECT_EQ(reader.SetAutoEditPW(1, 1, 9600, 0, 0, kKey, 0, kKey, 0), 0);
  EXPECT_EQ(reader.SetAutoEditPW(1, 1, 9600, 0, 14, kKey, 0, kKey, 0), 0);
  EXPECT_EQ(reader.SetAutoEditPW(1, 1, 9600, 0, 8, kKey, 0, "123", 0), 0);
  EXPECT_EQ(reader.ReadCardSerNum(1, 1, 9600, nullptr), 0);
  EXPECT_TRUE(port.opened.empty());
  EXPECT_TRUE(port.writes.empty());
  // Non-hex characters inside a full-length key still count 0.
  port.replies.push_back(Now({0x01, 0x01}));
  EXPECT_EQ(reader.SetDevPassWord(1, 1, 9600, "zz0102030405"), 1);
  EXPECT_EQ(Sent(0), (Bytes{0x01, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05}));
  EXPECT_EQ(port.closes, 2);  // the explicit close above, then the flagged call's
}

TEST_F(CommandsTest, BlockRangesStayInsideOneSectorsDataBlocks) {
  EXPECT_TRUE(BlockRangeOk(0, 3, 0));
  EXPECT_FALSE(BlockRangeOk(0, 3, 1));
  EXPECT_TRUE(BlockRangeOk(4, 3, 1));
  EXPECT_TRUE(BlockRangeOk(62, 1, 0));
  EXPECT_FALSE(BlockRangeOk(62, 2, 0));
  EXPECT_FALSE(BlockRangeOk(3, 1, 0));  // a key block
  EXPECT_FALSE(BlockRangeOk(0xFFFFFFFC, 1, 0));
}

TEST_F(CommandsTest, ReadCardBlockCopiesTheDataAndANulOnlyOnSuccess) {
  const Bytes data = Cat(Block(0x11), Cat(Block(0x22), Block(0x33)));
  port.replies.push_back(BlocksReply(data));
  uint8_t out[49];
  std::memset(out, 0xEE, sizeof out);
  ASSERT_EQ(reader.ReadCardBlock(0, 0, 0, 4, 3, out), 1);
  EXPECT_EQ(Sent(0), (Bytes{0x04, 4, 3}));
  EXPECT_EQ(Bytes(out, out + 48), data);
  EXPECT_EQ(out[48], 0);

  std::memset(out, 0xEE, sizeof out);
  port.replies.push_back(Now({0x04, 0x00}));  // refused: reply too short, never arrives whole
  EXPECT_EQ(reader.ReadCardBlock(0, 0, 0, 4, 1, out), 0);
  EXPECT_EQ(out[0], 0xEE);
  EXPECT_EQ(out[16], 0xEE);
}

TEST_F(CommandsTest, WriteCardBlockVerifiesAndTriesThreeTimes) {
  const Bytes data = Cat(Block(0x5E), Block(0x0A));
  // Acknowledged and read back equal: done in one attempt.
  port.replies.push_back(Now({0x03, 0x01}));
  port.replies.push_back(BlocksReply(data));
  EXPECT_EQ(reader.WriteCardBlock(0, 0, 0, 5, 2, data.data()), 1);
  EXPECT_EQ(Sent(0), Cat({0x03, 5, 2}, data));
  EXPECT_EQ(Sent(1), (Bytes{0x04, 5, 2}));
  EXPECT_EQ(port.writes[0].size(), 2 * 16 + 9u);

  // Read back different, then the read-back lost, then right.
  port.writes.clear();
  port.replies.push_back(Now({0x03, 0x01}));
  port.replies.push_back(BlocksReply(Cat(Block(0), Block(0))));
  port.replies.push_back(Now({0x03, 0x01}));
  port.replies.push_back(Silence());
  port.replies.push_back(Now({0x03, 0x01}));
  port.replies.push_back(BlocksReply(data));
  EXPECT_EQ(reader.WriteCardBlock(0, 0, 0, 5, 2, data.data()), 1);
  EXPECT_EQ(port.writes.size(), 6u);

  // An acknowledged write never read back is never reported done.
  port.writes.clear();
  for (int i = 0; i < 3; ++i) {
    port.replies.push_back(Now({0x03, 0x01}));
    port.replies.push_back(Silence());
  }
  EXPECT_EQ(reader.WriteCardBlock(0, 0, 0, 5, 2, data.data()), 0);
  EXPECT_EQ(port.writes.size(), 6u);

  // A refused write is not read back; three refusals give 0.
  port.writes.clear();
  for (int i = 0; i < 3; ++i) port.replies.push_back(Now({0x03, 0x00}));
  EXPECT_EQ(reader.WriteCardBlock(0, 0, 0, 5, 2, data.data()), 0);
  EXPECT_EQ(port.writes.size(), 3u);
}

TEST_F(CommandsTest, SetAllCardPassWordStopsAtTheFirstFailure) {
  for (int s = 0; s < 5; ++s) port.replies.push_back(Now({0x02, 0x01}));
  port.replies.push_back(Now({0x02, 0x00}));
  EXPECT_EQ(reader.SetAllCardPassWord(0, 0, 0, kKey), 0);
  ASSERT_EQ(port.writes.size(), 6u);
  for (uint8_t s = 0; s < 6; ++s) EXPECT_EQ(Sent(s), Cat({0x02, s}, kKeyPacked));

  port.writes.clear();
  for (int s = 0; s < 16; ++s) port.replies.push_back(Now({0x02, 0x01}));
  EXPECT_EQ(reader.SetAllCardPassWord(0, 0, 0, kKey), 1);
  EXPECT_EQ(port.writes.size(), 16u);
}

TEST_F(CommandsTest, SerialNumberTakesTwoAgreeingReads) {
  const Bytes a = {0x05, 0x01, 0xDE, 0xAD, 0xBE, 0xEF};
  const Bytes b = {0x05, 0x01, 0x01, 0x02, 0x03, 0x0A};
  const Bytes c = {0x05, 0x01, 0x99, 0x88, 0x77, 0x66};
  char out[9];
  auto Run = [&](std::vector<Bytes> reads) {
    port.writes.clear();
    port.replies.clear();
    for (const Bytes& r : reads) port.replies.push_back(Now(r));
    std::memset(out, 'x', sizeof out);
    return reader.ReadCardSerNum(0, 0, 0, out);
  };
  EXPECT_EQ(Run({a, a}), 1);
  EXPECT_STREQ(out, "DEADBEEF");
  EXPECT_EQ(port.writes.size(), 2u);
  EXPECT_EQ(port.writes[0], (Bytes{0x5E, 0x5E, 0x7F, 0x00, 0x01, 0x05, 0x05}));
  EXPECT_EQ(Run({a, b, a}), 1);
  EXPECT_STREQ(out, "DEADBEEF");
  EXPECT_EQ(Run({a, b, b}), 1);
  EXPECT_STREQ(out, "0102030A");
  EXPECT_EQ(Run({a, b, c}), 0);
  EXPECT_EQ(out[0], 'x');  // untouched on failure
  EXPECT_EQ(Run({a}), 0);
  EXPECT_EQ(out[0], 'x');
}

TEST_F(CommandsTest, CommandsOnAClosedPortFailWithoutWriting) {
  reader.CloseComPort();
  EXPECT_EQ(reader.SendBeep(0, 1, 9600, 1), 0);
  EXPECT_EQ(reader.CloseComPort(), 0);
  EXPECT_TRUE(port.writes.empty());
}

TEST_F(CommandsTest, FlaggedCallClosesThePortOnFailureToo) {
  reader.CloseComPort();
  port.closes = 0;
  port.replies.push_back(Silence());
  EXPECT_EQ(reader.SendBeep(1, 7, 9600, 1), 0);
  EXPECT_EQ(port.opened.back(), "COM7");
  EXPECT_EQ(port.closes, 1);
  EXPECT_FALSE(reader.Link().IsOpen());
}

TEST(KeyScrambling, EachOutputByteDependsOnItsOwnKeyByteAndValueByte) {
  char base[13], other[13];
  ASSERT_EQ(ChangeCardPassWord("0123456789AB", "11223344", base), 1);
  EXPECT_EQ(std::strlen(base), 12u);
  auto Diff = [&](const char* key, const char* value) {
    EXPECT_EQ(ChangeCardPassWord(key, value, other), 1);
    std::string changed;
    for (int i = 0; i < 6; ++i)
      if (std::memcmp(base + 2 * i, other + 2 * i, 2) != 0) changed += char('0' + i);
    return changed;
  };
  EXPECT_EQ(Diff("0123456789AB", "11223399"), "5");   // last two digits of P: byte 5 only
  EXPECT_EQ(Diff("0123456789AB", "99223344"), "13");  // first two digits: bytes 1 and 3
  EXPECT_EQ(Diff("0123456789AB", "11993344"), "2");
  EXPECT_EQ(Diff("0123456789AB", "11229944"), "04");
  for (int i = 0; i < 6; ++i) {
    char key[13] = "0123456789AB";
    key[2 * i] = key[2 * i] == 'F' ? 'E' : 'F';
    EXPECT_EQ(Diff(key, "11223344"), std::string(1, char('0' + i)));
  }
  // The fixed bytes are part of every card made: they must never change.
  char plain[13];
  ASSERT_EQ(ChangeCardPassWord("000000000000", "00000000", plain), 1);
  EXPECT_STREQ(plain, "3AC55C936EA1");
}

TEST(KeyScrambling, RefusesShortOrMissingTextsWithoutWriting) {
  char out[13] = "untouched";
  EXPECT_EQ(ChangeCardPassWord("0123456789A", "11223344", out), 0);
  EXPECT_EQ(ChangeCardPassWord("0123456789AB", "1122334", out), 0);
  EXPECT_EQ(ChangeCardPassWord(nullptr, "11223344", out), 0);
  EXPECT_EQ(ChangeCardPassWord("0123456789AB", nullptr, out), 0);
  EXPECT_EQ(ChangeCardPassWord("0123456789AB", "11223344", nullptr), 0);
  EXPECT_STREQ(out, "untouched");
  // Upper-case hex out, whatever the case in.
  char a[13], b[13];
  ChangeCardPassWord("abcdefabcdef", "a1b2c3d4", a);
  ChangeCardPassWord("ABCDEFABCDEF", "A1B2C3D4", b);
  EXPECT_STREQ(a, b);
  for (char ch : std::string(a)) EXPECT_TRUE((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F'));
}
