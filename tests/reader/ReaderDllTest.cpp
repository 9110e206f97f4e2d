// Dorvex.dll end to end: every reader command through the real library
// under Wine against the simulated reader on a pty, with the faults of a
// real line and the refusals that must never reach the port.
#include <windows.h>

#include <cstring>
#include <string>

#include "SimReader.h"

using namespace dorvex_test;

namespace {
const char* kFactory = "FFFFFFFFFFFF";
const char* kNewKey = "A0A1A2A3A4A5";

// 48 bytes with every value a line could eat or translate.
std::string Awkward() {
  const unsigned char tricky[] = {0x00, 0x0A, 0x0D, 0x11, 0x13, 0x5E, 0x7F, 0xFF, 0x03, 0x1A, 0x08, 0x7E};
  std::string s;
  for (int i = 0; i < 48; ++i) s += static_cast<char>(tricky[i % sizeof tricky] ^ (i / 12));
  return s;
}

std::string HexOf(const std::string& bytes) {
  static const char* d = "0123456789ABCDEF";
  std::string h;
  for (unsigned char c : bytes) {
    h += d[c >> 4];
    h += d[c & 15];
  }
  return h;
}

using ReaderDll = SimReaderTest;
}  // namespace

TEST_F(ReaderDll, OpenSetsUpAnEightBitCleanLineAndCloseReleasesIt) {
  ASSERT_EQ(OpenComPort(port, kBaud), 1);
  EXPECT_EQ(Value("get line"), "baud=9600 bits=8N1 xonxoff=0 raw=1");
  // Opening again closes the first handle: the port is opened unshared, so
  // with the old handle still open the second open could not succeed.
  EXPECT_EQ(OpenComPort(port, 19200), 1);
  EXPECT_EQ(Value("get line"), "baud=19200 bits=8N1 xonxoff=0 raw=1");
  EXPECT_EQ(CloseComPort(), 1);
  EXPECT_EQ(CloseComPort(), 0);  // nothing open any more
  EXPECT_EQ(Opens(), opensAtStart + 2);
}

TEST_F(ReaderDll, OpenRefusesPortsOutsideTheRangeOrMissing) {
  EXPECT_EQ(OpenComPort(0, kBaud), 0);
  EXPECT_EQ(OpenComPort(100, kBaud), 0);
  EXPECT_EQ(OpenComPort(-1, kBaud), 0);
  EXPECT_EQ(OpenComPort(port == 99 ? 98 : 99, kBaud), 0);  // no such device in the prefix
  EXPECT_EQ(CloseComPort(), 0);
  EXPECT_EQ(Opens(), opensAtStart);
}

TEST_F(ReaderDll, EveryByteValuePassesBothWays) {
  const std::string data = Awkward();
  ASSERT_EQ(WriteCardBlock(1, port, kBaud, 8, 3, reinterpret_cast<const unsigned char*>(data.data())), 1);
  EXPECT_EQ(Value("get block 8") + Value("get block 9") + Value("get block 10"), HexOf(data));
  unsigned char out[DORVEX_BLOCK_BUFFER(3)];
  std::memset(out, 0xEE, sizeof out);
  ASSERT_EQ(ReadCardBlock(1, port, kBaud, 8, 3, out), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 48), data);
  EXPECT_EQ(out[48], 0);
  EXPECT_EQ(Frames().size(), 3u);  // write, read-back, read
  EXPECT_EQ(CloseComPort(), 0);    // the flagged calls closed the port
}

TEST_F(ReaderDll, SectorKeysWithTheReadersKey) {
  ASSERT_EQ(OpenComPort(port, kBaud), 1);
  EXPECT_EQ(SetOneCardPassWord(0, 0, 0, 0, kNewKey), 1);
  EXPECT_EQ(SetOneCardPassWord(0, 0, 0, 15, kNewKey), 1);
  EXPECT_EQ(Value("get key 0"), kNewKey);
  EXPECT_EQ(Value("get key 15"), kNewKey);
  // The reader now holds the wrong key for sector 0: refused.
  EXPECT_EQ(SetOneCardPassWord(0, 0, 0, 0, kFactory), 0);
  EXPECT_EQ(SetDevPassWord(0, 0, 0, kNewKey), 1);
  EXPECT_EQ(Value("get devkey"), kNewKey);
  EXPECT_EQ(SetOneCardPassWord(0, 0, 0, 0, "b0b1b2b3b4b5"), 1);
  EXPECT_EQ(Value("get key 0"), "B0B1B2B3B4B5");
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 5u);
  EXPECT_EQ(frames[0], "5E5E7F00080200A0A1A2A3A4A503");
  EXPECT_EQ(frames[3], "5E5E7F000701A0A1A2A3A4A500");
}

TEST_F(ReaderDll, SetAllCardPassWordStopsAtTheFirstFailedSector) {
  ASSERT_EQ(SetAllCardPassWord(1, port, kBaud, kNewKey), 1);
  std::string all;
  for (int i = 0; i < 16; ++i) all += (i ? " " : "") + std::string(kNewKey);
  EXPECT_EQ(Value("get keys"), all);
  ASSERT_TRUE(Ok("card new 55667788"));
  ASSERT_TRUE(Ok("log clear"));
  ASSERT_TRUE(Ok("fault silence 1 code=02 skip=5"));  // sector 5 gets no answer
  EXPECT_EQ(SetAllCardPassWord(1, port, kBaud, kNewKey), 0);
  for (int s = 0; s < 16; ++s) EXPECT_EQ(Value("get key " + std::to_string(s)), s < 5 ? kNewKey : kFactory) << s;
  EXPECT_EQ(Frames().size(), 6u);
}

TEST_F(ReaderDll, WriteCardBlockSendsAgainUntilTheCardHoldsTheData) {
  const std::string data(16, '\x42');
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  ASSERT_EQ(OpenComPort(port, kBaud), 1);
  // The card loses the first write: the read-back differs, the second sticks.
  ASSERT_TRUE(Ok("fault nowrite 1"));
  EXPECT_EQ(WriteCardBlock(0, 0, 0, 1, 1, bytes), 1);
  EXPECT_EQ(Count("03"), 2u);
  EXPECT_EQ(Count("04"), 2u);
  EXPECT_EQ(Value("get block 1"), HexOf(data));
  // The read-back gets no answer once: not reported done, tried again.
  ASSERT_TRUE(Ok("log clear"));
  ASSERT_TRUE(Ok("fault silence 1 code=04"));
  EXPECT_EQ(WriteCardBlock(0, 0, 0, 2, 1, bytes), 1);
  EXPECT_EQ(Count("03"), 2u);
  // Lost three times: three attempts, then 0.
  ASSERT_TRUE(Ok("log clear"));
  ASSERT_TRUE(Ok("fault nowrite 3"));
  EXPECT_EQ(WriteCardBlock(0, 0, 0, 4, 1, bytes), 0);
  EXPECT_EQ(Count("03"), 3u);
  EXPECT_EQ(Value("get block 4"), std::string(32, '0'));
}

TEST_F(ReaderDll, WriteCardBlockNeverReportsAnUnverifiedWrite) {
  const std::string data(32, '\x17');
  ASSERT_TRUE(Ok("fault silence always code=04"));
  EXPECT_EQ(WriteCardBlock(1, port, kBaud, 5, 2, reinterpret_cast<const unsigned char*>(data.data())), 0);
  EXPECT_EQ(Count("03"), 3u);
}

TEST_F(ReaderDll, ReadCardSerNumVotesOnTornReads) {
  char out[DORVEX_SERIAL_BUFFER];
  ASSERT_EQ(ReadCardSerNum(1, port, kBaud, out), 1);
  EXPECT_STREQ(out, "11223344");
  EXPECT_EQ(Frames().size(), 2u);
  ASSERT_TRUE(Ok("serials AAAAAAAA BBBBBBBB AAAAAAAA"));
  ASSERT_EQ(ReadCardSerNum(1, port, kBaud, out), 1);
  EXPECT_STREQ(out, "AAAAAAAA");
  ASSERT_TRUE(Ok("serials AAAAAAAA BBBBBBBB BBBBBBBB"));
  ASSERT_EQ(ReadCardSerNum(1, port, kBaud, out), 1);
  EXPECT_STREQ(out, "BBBBBBBB");
  ASSERT_TRUE(Ok("serials AAAAAAAA BBBBBBBB CCCCCCCC"));
  std::strcpy(out, "unchang");
  EXPECT_EQ(ReadCardSerNum(1, port, kBaud, out), 0);
  EXPECT_STREQ(out, "unchang");
  // No card in the field: no serial, the buffer left alone.
  ASSERT_TRUE(Ok("card present 0"));
  EXPECT_EQ(ReadCardSerNum(1, port, kBaud, out), 0);
  EXPECT_STREQ(out, "unchang");
}

TEST_F(ReaderDll, BeepAndTheAutomaticKeySetting) {
  EXPECT_EQ(SendBeep(1, port, kBaud, 0x101), 1);
  EXPECT_EQ(Value("get beeps"), "1 1");  // the low byte of the value
  EXPECT_EQ(SetAutoEditPW(1, port, kBaud, -1, 8, kFactory, 0, kNewKey, 5), 1);
  EXPECT_EQ(Value("get auto"), "mode=1 sector=8 old=FFFFFFFFFFFF oldflag=0 new=A0A1A2A3A4A5 newflag=1");
  EXPECT_EQ(CancelAutoEditPW(1, port, kBaud), 1);
  EXPECT_EQ(Value("get auto"), "off");
  EXPECT_EQ(Frames().back(), "5E5E7F00015454");
}

TEST_F(ReaderDll, ChangeCardPassWordDoesNoIo) {
  char out[DORVEX_KEY_BUFFER];
  EXPECT_EQ(ChangeCardPassWord("000000000000", "00000000", out), 1);
  EXPECT_STREQ(out, "3AC55C936EA1");
  EXPECT_EQ(Opens(), opensAtStart);
}

// A reply is taken only whole, in time and right in every head byte. The
// read gives up about 1.3 s after the request (its 1000 ms loop, then the
// last read's own time-out); the late bytes come a second after that, so a
// slow machine cannot let them in, and the next case waits for them to pass.
TEST_F(ReaderDll, RepliesOnAFaultyLine) {
  ASSERT_EQ(OpenComPort(port, kBaud), 1);
  struct Case {
    const char* fault;
    int expected;
    DWORD settleMs;  // until a late reply has come and gone
  } cases[] = {
      {"fault late 1 ms=300", 1, 0},
      {"fault split 1 pieces=4 ms=150", 1, 0},
      {"fault silence 1", 0, 0},
      {"fault late 1 ms=2500", 0, 1500},
      {"fault split 1 pieces=2 ms=2500", 0, 1500},
      {"fault checksum 1", 0, 0},
      {"fault code 1", 0, 0},
      {"fault status 1", 0, 0},
      {"fault address 1", 0, 0},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Ok(c.fault)) << c.fault;
    EXPECT_EQ(SendBeep(0, 0, 0, 1), c.expected) << c.fault;
    Sleep(c.settleMs);
  }
  // The line is usable again afterwards: each write purges what came late.
  EXPECT_EQ(SendBeep(0, 0, 0, 1), 1);
}

TEST_F(ReaderDll, FlaggedCallsCloseThePortOnEveryWayOut) {
  ASSERT_TRUE(Ok("fault status 1"));
  EXPECT_EQ(SetDevPassWord(1, port, kBaud, kNewKey), 0);
  EXPECT_EQ(CloseComPort(), 0);
  EXPECT_EQ(SetDevPassWord(1, port, kBaud, kNewKey), 1);
  EXPECT_EQ(CloseComPort(), 0);
  EXPECT_EQ(Opens(), opensAtStart + 2);
}

TEST_F(ReaderDll, CallsWithoutAnOpenPortFailWithoutTouchingIt) {
  char serial[DORVEX_SERIAL_BUFFER];
  EXPECT_EQ(SendBeep(0, port, kBaud, 1), 0);
  EXPECT_EQ(ReadCardSerNum(0, port, kBaud, serial), 0);
  EXPECT_EQ(SetAllCardPassWord(0, port, kBaud, kNewKey), 0);
  EXPECT_EQ(Opens(), opensAtStart);
  EXPECT_TRUE(Frames().empty());
}

TEST_F(ReaderDll, RefusedArgumentsNeverOpenThePort) {
  unsigned char out[DORVEX_BLOCK_BUFFER(3)];
  std::memset(out, 0xEE, sizeof out);
  const unsigned char data[48] = {};
  char serial[DORVEX_SERIAL_BUFFER] = "unchang";
  EXPECT_EQ(SetOneCardPassWord(1, port, kBaud, 16, kNewKey), 0);
  EXPECT_EQ(SetOneCardPassWord(1, port, kBaud, -1, kNewKey), 0);
  EXPECT_EQ(SetDevPassWord(1, port, kBaud, "A0A1A2A3A4A"), 0);
  EXPECT_EQ(SetDevPassWord(1, port, kBaud, nullptr), 0);
  EXPECT_EQ(SetAllCardPassWord(1, port, kBaud, "A0"), 0);
  EXPECT_EQ(ReadCardBlock(1, port, kBaud, 2, 2, out), 0);
  EXPECT_EQ(ReadCardBlock(1, port, kBaud, 63, 1, out), 0);
  EXPECT_EQ(ReadCardBlock(1, port, kBaud, -4, 1, out), 0);
  EXPECT_EQ(ReadCardBlock(1, port, kBaud, 4, 0, out), 0);
  EXPECT_EQ(WriteCardBlock(1, port, kBaud, 0, 1, data), 0);
  EXPECT_EQ(WriteCardBlock(1, port, kBaud, 3, 1, data), 0);
  EXPECT_EQ(WriteCardBlock(1, port, kBaud, 4, 1, nullptr), 0);
  EXPECT_EQ(SetAutoEditPW(1, port, kBaud, 0, 0, kFactory, 0, kNewKey, 0), 0);
  EXPECT_EQ(SetAutoEditPW(1, port, kBaud, 0, 14, kFactory, 0, kNewKey, 0), 0);
  EXPECT_EQ(SetAutoEditPW(1, port, kBaud, 0, 8, kFactory, 0, nullptr, 0), 0);
  EXPECT_EQ(ReadCardSerNum(1, port, kBaud, nullptr), 0);
  EXPECT_EQ(SetOneCardPassWord(1, 0, kBaud, 1, kNewKey), 0);  // bad port number
  EXPECT_EQ(Opens(), opensAtStart);
  EXPECT_TRUE(Frames().empty());
  EXPECT_EQ(out[0], 0xEE);
  EXPECT_STREQ(serial, "unchang");
}

TEST_F(ReaderDll, OutputsAreLeftAloneWhenTheReadFails) {
  unsigned char out[DORVEX_BLOCK_BUFFER(1)];
  std::memset(out, 0xEE, sizeof out);
  ASSERT_TRUE(Ok("fault checksum 1 code=04"));
  EXPECT_EQ(ReadCardBlock(1, port, kBaud, 4, 1, out), 0);
  for (unsigned char c : out) EXPECT_EQ(c, 0xEE);
}

TEST_F(ReaderDll, PacedAtTheLinesBaudTheLongestReplyArrivesInTime) {
  ASSERT_TRUE(Ok("pace line"));
  unsigned char out[DORVEX_BLOCK_BUFFER(3)];
  EXPECT_EQ(ReadCardBlock(1, port, kBaud, 0, 3, out), 1);
  EXPECT_EQ(out[0], 0x11);  // the serial number opens block 0
}
