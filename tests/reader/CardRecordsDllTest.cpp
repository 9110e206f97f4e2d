// Card records end to end: the eleven record exports of Dorvex.dll under
// Wine against the simulated reader, with the line cut or a write failed
// after each block write of an update.
#include <cstring>
#include <string>

#include "CardRecords.h"
#include "SimReader.h"

using namespace dorvex;
using namespace dorvex_test;

namespace {
constexpr int kS = 9;  // header in sector 9, main in 10, backup in 11

struct Outputs {
  int opened, cardNumber, byte4, byte13, cash, subsidy, count, counter, value22, value24, value27, value29,
      byte38, value14;
  char text[DORVEX_TEXT_BUFFER], date[DORVEX_DATE_BUFFER], limitDate[DORVEX_DATE_BUFFER],
      subsidyDate[DORVEX_DATE_BUFFER], digits32[DORVEX_DIGITS_BUFFER], digits16[DORVEX_DIGITS_BUFFER];
  Outputs() { std::memset(this, 0x7A, sizeof *this); }
};
constexpr int kSentinel = 0x7A7A7A7A;

class CardRecordsDll : public SimReaderTest {
 protected:
  int Open(int cash = 5000) {
    return OpenCard(1, port, kBaud, kS, 4321, "HOLDER01", 3, 200, "240131", "261231", cash, 300, 12, 77,
                    0x1234, 0x123456, 0x4321, 0x654321, "240215", "123456789012", 0x42, "210987654321",
                    0x5555);
  }
  int Read(Outputs& o) {
    return ReadCard(1, port, kBaud, kS, &o.opened, &o.cardNumber, o.text, &o.byte4, &o.byte13, o.date,
                    o.limitDate, &o.cash, &o.subsidy, &o.count, &o.counter, &o.value22, &o.value24,
                    &o.value27, &o.value29, o.subsidyDate, o.digits32, &o.byte38, o.digits16, &o.value14);
  }
  // A record as the card holds it, read from the simulator.
  Record OnCard(uint32_t firstBlock) {
    Record r{};
    for (uint32_t i = 0; i < 3; ++i) {
      const std::string hex = Value("get block " + std::to_string(firstBlock + i));
      for (size_t j = 0; j < 16 && hex.size() == 32; ++j)
        r[16 * i + j] = static_cast<uint8_t>(std::stoi(hex.substr(2 * j, 2), nullptr, 16));
    }
    return r;
  }
  uint32_t Main(Field f) { return GetNumber(OnCard(MainBlock(kS)).data(), f); }
  bool CopiesAgree() { return OnCard(MainBlock(kS)) == OnCard(BackupBlock(kS)); }
};
}  // namespace

TEST_F(CardRecordsDll, OpenAndReadACard) {
  ASSERT_EQ(Open(), 1);
  // Backup, main, header: three verified writes of three blocks.
  EXPECT_EQ(Count("03"), 3u);
  const Record h = OnCard(HeaderBlock(kS));
  EXPECT_EQ(h[CardHeaderRecord::kMark.offset], CardHeaderRecord::kOpened);
  EXPECT_EQ(h[CardHeaderRecord::kRepairMark.offset], CardHeaderRecord::kRepaired);
  EXPECT_EQ(GetNumber(h.data(), CardHeaderRecord::kCardNumber), 4321u);
  EXPECT_TRUE(CopiesAgree());

  Outputs o;
  ASSERT_EQ(Read(o), 1);
  EXPECT_EQ(o.opened, 1);
  EXPECT_EQ(o.cardNumber, 4321);
  EXPECT_STREQ(o.text, "HOLDER01");
  EXPECT_EQ(o.byte4, 3);
  EXPECT_EQ(o.byte13, 200);
  EXPECT_STREQ(o.date, "240131");
  EXPECT_STREQ(o.limitDate, "261231");
  EXPECT_EQ(o.cash, 5000);
  EXPECT_EQ(o.subsidy, 300);
  EXPECT_EQ(o.count, 12);
  EXPECT_EQ(o.counter, 77);
  EXPECT_EQ(o.value22, 0x1234);
  EXPECT_EQ(o.value24, 0x123456);
  EXPECT_EQ(o.value27, 0x4321);
  EXPECT_EQ(o.value29, 0x654321);
  EXPECT_STREQ(o.subsidyDate, "240215");
  EXPECT_STREQ(o.digits32, "123456789012");
  EXPECT_EQ(o.byte38, 0x42);
  EXPECT_STREQ(o.digits16, "210987654321");
  EXPECT_EQ(o.value14, 0x5555);
}

TEST_F(CardRecordsDll, AnUnopenedCardReadsAsSuchAndCannotBeEdited) {
  Outputs o;
  ASSERT_EQ(Read(o), 1);
  EXPECT_EQ(o.opened, 0);
  EXPECT_EQ(o.cardNumber, kSentinel);
  EXPECT_EQ(o.text[0], 0x7A);
  ASSERT_TRUE(Ok("log clear"));
  EXPECT_EQ(EditCard(1, port, kBaud, kS, "X", 1, 1, "240101", "240101"), 0);
  EXPECT_EQ(Count("03"), 0u);
  EXPECT_EQ(EditELimitDate(1, port, kBaud, kS, "271231"), 1);
  EXPECT_EQ(OnCard(HeaderBlock(kS))[CardHeaderRecord::kLimitDate.offset], 27);
}

TEST_F(CardRecordsDll, CreditDebitLogoutAndWipe) {
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(AddMoney(1, port, kBaud, kS, 0, 1000, 8), 1);
  EXPECT_EQ(AddMoney(1, port, kBaud, kS, 1, 6000, 9), 1);
  EXPECT_EQ(Main(CardAccountRecord::kCash), 0u);
  EXPECT_EQ(Main(CardAccountRecord::kCounter), 9u);
  ASSERT_TRUE(Ok("log clear"));
  EXPECT_EQ(AddMoney(1, port, kBaud, kS, 1, 1, 10), 0);  // below zero: nothing written
  EXPECT_EQ(Count("03"), 0u);
  EXPECT_EQ(AddCount(1, port, kBaud, kS, 0, 3, 11), 1);
  EXPECT_EQ(AddSubsidy_ClearSubTime(1, port, kBaud, kS, 1, 300, 12, "250630"), 1);
  Outputs o;
  ASSERT_EQ(Read(o), 1);
  EXPECT_EQ(o.count, 15);
  EXPECT_EQ(o.subsidy, 0);
  EXPECT_STREQ(o.subsidyDate, "250630");
  EXPECT_TRUE(CopiesAgree());
  EXPECT_EQ(EditCard(1, port, kBaud, kS, "NEW", 9, 9, "250101", "290101"), 1);
  ASSERT_EQ(Read(o), 1);
  EXPECT_EQ(std::string(o.text, 8), std::string("NEW\0\0\0\0\0", 8));  // zero-filled
  EXPECT_STREQ(o.limitDate, "290101");

  EXPECT_EQ(LogoutCard(1, port, kBaud, kS), 1);
  EXPECT_EQ(OnCard(HeaderBlock(kS)), Record{});
  const std::string keyBlock = Value("get block 11");
  EXPECT_EQ(ClearAllCardInfo(1, port, kBaud), 1);
  EXPECT_EQ(OnCard(MainBlock(kS)), Record{});
  EXPECT_EQ(Value("get block 11"), keyBlock);
  EXPECT_EQ(Value("get block 0").substr(0, 8), "11223344");
}

TEST_F(CardRecordsDll, RefusedArgumentsNeverOpenThePort) {
  Outputs o;
  EXPECT_EQ(OpenCard(1, port, kBaud, 14, 1, "T", 0, 1, "240101", "240101", 0, 0, 0, 0, 0, 0, 0, 0, "240101",
                     "123456789012", 0, "123456789012", 0), 0);
  EXPECT_EQ(OpenCard(1, port, kBaud, kS, 300001, "T", 0, 1, "240101", "240101", 0, 0, 0, 0, 0, 0, 0, 0,
                     "240101", "123456789012", 0, "123456789012", 0), 0);
  EXPECT_EQ(OpenCard(1, port, kBaud, kS, 1, "T", 0, 1, "24010", "240101", 0, 0, 0, 0, 0, 0, 0, 0, "240101",
                     "123456789012", 0, "123456789012", 0), 0);
  EXPECT_EQ(ReadCard(1, port, kBaud, kS, &o.opened, nullptr, o.text, &o.byte4, &o.byte13, o.date, o.limitDate,
                     &o.cash, &o.subsidy, &o.count, &o.counter, &o.value22, &o.value24, &o.value27, &o.value29,
                     o.subsidyDate, o.digits32, &o.byte38, o.digits16, &o.value14), 0);
  EXPECT_EQ(AddMoney(1, port, kBaud, 0, 0, 1, 0), 0);
  EXPECT_EQ(AddMoney(1, port, kBaud, kS, 0, 15000001, 0), 0);
  EXPECT_EQ(AddSubsidy(1, port, kBaud, kS, 0, 0, 0), 0);
  EXPECT_EQ(AddCount(1, port, kBaud, kS, 0, 1, -1), 0);
  EXPECT_EQ(AddSubsidy_ClearSubTime(1, port, kBaud, kS, 0, 1, 0, nullptr), 0);
  EXPECT_EQ(EditCard(1, port, kBaud, kS, "T", 0, 256, "240101", "240101"), 0);
  EXPECT_EQ(EditELimitDate(1, port, kBaud, kS, "2401"), 0);
  EXPECT_EQ(ReviseCardInfo(1, port, kBaud, 14), 0);
  EXPECT_EQ(LogoutCard(1, port, kBaud, 0), 0);
  EXPECT_EQ(Opens(), opensAtStart);
  EXPECT_TRUE(Frames().empty());
  EXPECT_EQ(o.opened, kSentinel);
}

TEST_F(CardRecordsDll, ReviseCardInfoRepairsACardChangedBehindItsBack) {
  ASSERT_EQ(Open(), 1);
  // The backup differs and the mark is there: the main copy is put back.
  ASSERT_TRUE(Ok("set block " + std::to_string(BackupBlock(kS)) + " 00000001" + std::string(24, '0')));
  EXPECT_EQ(ReviseCardInfo(1, port, kBaud, kS), 1);
  EXPECT_TRUE(CopiesAgree());
  EXPECT_EQ(Main(CardAccountRecord::kCash), 5000u);
  // The mark is gone: the backup is trusted and the mark written again.
  ASSERT_TRUE(Ok("set block " + std::to_string(BackupBlock(kS)) + " 00000002" + std::string(24, '0')));
  ASSERT_TRUE(Ok("set block " + std::to_string(HeaderBlock(kS) + 2) + " " + std::string(32, '0')));
  Outputs o;
  ASSERT_EQ(Read(o), 1);  // reads through the repair
  EXPECT_EQ(o.cash, 2);
  EXPECT_TRUE(CopiesAgree());
  EXPECT_EQ(OnCard(HeaderBlock(kS))[CardHeaderRecord::kRepairMark.offset], CardHeaderRecord::kRepaired);
}

// The line is cut once the n-th block write of an update is on the card
// (its answer lost, or only the read-back's). Once it is back, the account
// is the old one or the new one, never a mix.
TEST_F(CardRecordsDll, TornCreditsLeaveAConsistentAccount) {
  struct Case {
    const char* fault;
    bool completed;  // the main copy was written before the cut
  } cases[] = {
      {"fault cut 1 code=03", false},
      {"fault cut 1 code=03 skip=1", true},
      {"fault cut 1 code=03 reply=1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    ASSERT_TRUE(Ok("card new 11223344"));
    ASSERT_EQ(Open(), 1);
    ASSERT_TRUE(Ok(c.fault));
    EXPECT_EQ(AddMoney(1, port, kBaud, kS, 0, 250, 1), 0);
    ASSERT_TRUE(Ok("link up"));
    Outputs o;
    ASSERT_EQ(Read(o), 1);
    EXPECT_EQ(o.cash, c.completed ? 5250 : 5000);
    EXPECT_TRUE(CopiesAgree());
  }
  // A whole-record update (subsidy and its date) cut after the backup.
  ASSERT_TRUE(Ok("card new 11223344"));
  ASSERT_EQ(Open(), 1);
  ASSERT_TRUE(Ok("fault cut 1 code=03 reply=1"));
  EXPECT_EQ(AddSubsidy_ClearSubTime(1, port, kBaud, kS, 0, 5, 2, "250101"), 0);
  ASSERT_TRUE(Ok("link up"));
  EXPECT_EQ(ReviseCardInfo(1, port, kBaud, kS), 1);
  EXPECT_TRUE(CopiesAgree());
  EXPECT_EQ(Main(CardAccountRecord::kSubsidy), 300u);
  Outputs o;
  ASSERT_EQ(Read(o), 1);
  EXPECT_STREQ(o.subsidyDate, "240215");
}

TEST_F(CardRecordsDll, AFailedWriteLeavesTheOldBalance) {
  for (int failAt : {1, 2}) {
    SCOPED_TRACE(failAt);
    ASSERT_TRUE(Ok("card new 11223344"));
    ASSERT_EQ(Open(), 1);
    // All three attempts at the n-th block write are refused.
    ASSERT_TRUE(Ok("fault writefail 3 skip=" + std::to_string(failAt - 1)));
    EXPECT_EQ(AddMoney(1, port, kBaud, kS, 1, 700, 1), 0);
    Outputs o;
    ASSERT_EQ(Read(o), 1);
    EXPECT_EQ(o.cash, 5000);
    EXPECT_TRUE(CopiesAgree());
  }
}
