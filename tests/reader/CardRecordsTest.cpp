// Card records against the reader model: the record layout on the card,
// argument checks before any I/O, credits and debits with their limits, the
// repair of torn updates, and the line cut after every block write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "CardRecordCommands.h"
#include "ModelPort.h"

using namespace dorvex;
using namespace dorvex_test;

namespace {
constexpr int kS = 5;  // header in sector 5, main in 6, backup in 7

CardOpening Sample() {
  return {123456, "ABCDEFGH", 7,   9,        "240131",       "251231",       5000,
          300,    12,         77,  0x1234,   0x123456,       0x4321,         0x654321,
          "240215", "123456789012", 0x42, "210987654321", 0x5555};
}

// Every output of ReadCard, filled with a sentinel before each call.
struct Outputs {
  int32_t opened, cardNumber, byte4, byte13, cash, subsidy, count, counter, value22, value24, value27,
      value29, byte38, value14;
  char text[9], date[7], limitDate[7], subsidyDate[7], digits32[13], digits16[13];
  Outputs() { std::memset(this, 0x7A, sizeof *this); }
  CardReading Reading() {
    return {&opened, &cardNumber, text,    &byte4,   &byte13,   date,     limitDate,
            &cash,   &subsidy,    &count,  &counter, &value22,  &value24, &value27,
            &value29, subsidyDate, digits32, &byte38, digits16, &value14};
  }
};
constexpr int32_t kSentinel = 0x7A7A7A7A;

// A 48-byte record written out as hex, three blocks of 16 bytes.
Record RecordOf(const std::string& hex) {
  std::string digits;
  for (char c : hex)
    if (c != ' ') digits += c;
  Record r{};
  EXPECT_EQ(digits.size(), 2 * r.size());
  frame::HexTextToBytes(digits.c_str(), r.data(), std::min(digits.size() / 2, r.size()));
  return r;
}

struct CardsTest : ::testing::Test {
  FakeClock clock;
  ModelPort port{clock};
  Reader reader{port, clock};
  CardRecordCommands cards{reader};

  Record Image(uint32_t firstBlock) const {
    Record r;
    for (uint32_t i = 0; i < 3; ++i)
      std::memcpy(r.data() + 16 * i, port.model.card.blocks[firstBlock + i].data(), 16);
    return r;
  }
  void SetImage(uint32_t firstBlock, const Record& r) {
    for (uint32_t i = 0; i < 3; ++i)
      std::memcpy(port.model.card.blocks[firstBlock + i].data(), r.data() + 16 * i, 16);
  }
  uint32_t MainCash() const { return GetNumber(Image(MainBlock(kS)).data(), CardAccountRecord::kCash); }
  bool CopiesAgree() const { return Image(MainBlock(kS)) == Image(BackupBlock(kS)); }
  void Open(int32_t cash = 5000) {
    CardOpening c = Sample();
    c.cash = cash;
    ASSERT_EQ(cards.OpenCard(1, 1, 9600, kS, c), 1);
  }
  void SetCash(uint32_t cash) {
    for (uint32_t b : {MainBlock(kS), BackupBlock(kS)}) {
      Record r = Image(b);
      PutNumber(r.data(), CardAccountRecord::kCash, cash);
      SetImage(b, r);
    }
  }
};
}  // namespace

TEST_F(CardsTest, ReadCardGivesBackWhatOpenCardWrote) {
  Open();
  Outputs o;
  ASSERT_EQ(cards.ReadCard(1, 1, 9600, kS, o.Reading()), 1);
  EXPECT_EQ(o.opened, 1);
  EXPECT_EQ(o.cardNumber, 123456);
  EXPECT_STREQ(o.text, "ABCDEFGH");
  EXPECT_EQ(o.byte4, 7);
  EXPECT_EQ(o.byte13, 9);
  EXPECT_STREQ(o.date, "240131");
  EXPECT_STREQ(o.limitDate, "251231");
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

// The records as other programs reading the card find them, byte for byte.
TEST_F(CardsTest, RecordsLieOnTheCardByteForByte) {
  Open();
  EXPECT_EQ(Image(HeaderBlock(kS)),
            RecordOf("66 01E240 07 4142434445464748 09 0000"        // mark, number, byte, text, byte
                     "18011F 190C1F 00000000000000000000"            // 240131, 251231
                     "55 000000000000000000000000000000"));           // repair mark
  const Record account =
      RecordOf("00001388 0000012C 000C 004D 0000 5555"               // cash, subsidy, count, counter, 14
               "150957412B15 1234 123456 4321 654321"                // 210987654321, 22, 24, 27, 29
               "0C22384E5A0C 42 18020F 000000000000");               // 123456789012, 38, 240215
  EXPECT_EQ(Image(MainBlock(kS)), account);
  EXPECT_EQ(Image(BackupBlock(kS)), account);
  // A credit rewrites the balance and the counter in the first block only.
  ASSERT_EQ(cards.AddMoney(1, 1, 9600, kS, 0, 500, 0x0102), 1);
  Record credited = account;
  const Record changed = RecordOf("0000157C 0000012C 000C 0102 0000 5555" + std::string(64, '0'));
  std::copy(changed.begin(), changed.begin() + 16, credited.begin());
  EXPECT_EQ(Image(MainBlock(kS)), credited);
  EXPECT_EQ(Image(BackupBlock(kS)), credited);
}

TEST_F(CardsTest, ShortTextIsZeroFilledAndNeverReadPastItsNul) {
  CardOpening c = Sample();
  c.text = "AB";  // a buffer of 3 bytes: nothing after its NUL may be read
  ASSERT_EQ(cards.OpenCard(1, 1, 9600, 13, c), 1);  // sectors 13, 14, 15
  const Record h = Image(HeaderBlock(13));
  EXPECT_EQ(h[5], 'A');
  EXPECT_EQ(h[6], 'B');
  for (int i = 7; i < 13; ++i) EXPECT_EQ(h[i], 0) << i;
  EXPECT_TRUE(Image(MainBlock(13)) == Image(BackupBlock(13)));
}

TEST_F(CardsTest, BadArgumentsAreRefusedBeforeAnyIo) {
  auto Refused = [&](CardOpening c) { return cards.OpenCard(1, 1, 9600, kS, c) == 0; };
  CardOpening c = Sample();
  c.cardNumber = 0;
  EXPECT_TRUE(Refused(c));
  c.cardNumber = 300001;
  EXPECT_TRUE(Refused(c));
  c = Sample(), c.byte13 = 0;
  EXPECT_TRUE(Refused(c));
  c = Sample(), c.byte4 = 256;
  EXPECT_TRUE(Refused(c));
  c = Sample(), c.byte38 = -1;
  EXPECT_TRUE(Refused(c));
  c = Sample(), c.text = nullptr;
  EXPECT_TRUE(Refused(c));
  c = Sample(), c.date = "24013";
  EXPECT_TRUE(Refused(c));
  c = Sample(), c.digits32 = "12345678901";
  EXPECT_TRUE(Refused(c));
  c = Sample(), c.subsidyDate = nullptr;
  EXPECT_TRUE(Refused(c));
  EXPECT_EQ(cards.OpenCard(1, 1, 9600, 0, Sample()), 0);
  EXPECT_EQ(cards.OpenCard(1, 1, 9600, 14, Sample()), 0);
  Outputs o;
  CardReading r = o.Reading();
  r.digits16 = nullptr;
  EXPECT_EQ(cards.ReadCard(1, 1, 9600, kS, r), 0);
  EXPECT_EQ(cards.AddMoney(1, 1, 9600, kS, 0, 15000001, 0), 0);
  EXPECT_EQ(cards.AddMoney(1, 1, 9600, kS, 0, -1, 0), 0);
  EXPECT_EQ(cards.AddMoney(1, 1, 9600, kS, 0, 1, 65536), 0);
  EXPECT_EQ(cards.AddSubsidy(1, 1, 9600, kS, 0, 0, 0), 0);
  EXPECT_EQ(cards.AddCount(1, 1, 9600, kS, 0, 0, 0), 0);
  EXPECT_EQ(cards.AddCount(1, 1, 9600, kS, 0, 65536, 0), 0);
  EXPECT_EQ(cards.AddSubsidy_ClearSubTime(1, 1, 9600, kS, 0, 1, 0, "2401"), 0);
  EXPECT_EQ(cards.EditCard(1, 1, 9600, kS, "x", 0, 0, "240101", "240101"), 0);
  EXPECT_EQ(cards.EditELimitDate(1, 1, 9600, kS, nullptr), 0);
  EXPECT_EQ(cards.ReviseCardInfo(1, 1, 9600, -1), 0);
  EXPECT_EQ(cards.LogoutCard(1, 1, 9600, 14), 0);
  EXPECT_EQ(port.opens, 0);
  EXPECT_EQ(port.frames, 0);
}

TEST_F(CardsTest, ReadCardOfAnUnopenedCardGivesOnlyTheMark) {
  Outputs o;
  ASSERT_EQ(cards.ReadCard(1, 1, 9600, kS, o.Reading()), 1);
  EXPECT_EQ(o.opened, 0);
  EXPECT_EQ(o.cardNumber, kSentinel);
  EXPECT_EQ(o.cash, kSentinel);
  EXPECT_EQ(o.text[0], 0x7A);
}

TEST_F(CardsTest, ReadCardWritesNothingWhenAnyReadFails) {
  Open();
  Outputs o;
  // The main copy's sector has another key: the header reads, the account
  // does not.
  port.model.card.SetSectorKey(kS + 1, {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(cards.ReadCard(1, 1, 9600, kS, o.Reading()), 0);
  EXPECT_EQ(o.opened, kSentinel);
  EXPECT_EQ(o.cardNumber, kSentinel);
  EXPECT_EQ(o.text[0], 0x7A);
  EXPECT_EQ(o.date[0], 0x7A);
}

TEST_F(CardsTest, CreditsAndDebitsStayInTheirRangeWithoutWrapping) {
  Open(1000);
  EXPECT_EQ(cards.AddMoney(1, 1, 9600, kS, 0, 500, 3), 1);
  EXPECT_EQ(MainCash(), 1500u);
  EXPECT_TRUE(CopiesAgree());
  EXPECT_EQ(GetNumber(Image(MainBlock(kS)).data(), CardAccountRecord::kCounter), 3u);
  EXPECT_EQ(cards.AddMoney(1, 1, 9600, kS, 1, 1500, 4), 1);
  EXPECT_EQ(MainCash(), 0u);
  const int writes = port.model.blockWrites;
  EXPECT_EQ(cards.AddMoney(1, 1, 9600, kS, 1, 1, 5), 0);  // below zero
  EXPECT_EQ(cards.AddMoney(1, 1, 9600, kS, 0, 0, 6), 1);  // amount 0 rewrites the counter
  EXPECT_EQ(GetNumber(Image(MainBlock(kS)).data(), CardAccountRecord::kCounter), 6u);
  SetCash(15000000);
  EXPECT_EQ(cards.AddMoney(1, 1, 9600, kS, 0, 1, 7), 0);  // above the limit
  // A stored balance near 2^32 (written by another program) never wraps
  // round to a small value.
  SetCash(0xFFFFFFF0u);
  EXPECT_EQ(cards.AddMoney(1, 1, 9600, kS, 0, 0x20, 8), 0);
  EXPECT_EQ(cards.AddMoney(1, 1, 9600, kS, 1, 0x10, 8), 0);
  EXPECT_EQ(MainCash(), 0xFFFFFFF0u);
  EXPECT_EQ(port.model.blockWrites, writes + 2);  // only the amount-0 update wrote

  EXPECT_EQ(cards.AddCount(1, 1, 9600, kS, 0, 65535 - 12, 9), 1);
  EXPECT_EQ(cards.AddCount(1, 1, 9600, kS, 0, 1, 9), 0);
  EXPECT_EQ(cards.AddSubsidy(1, 1, 9600, kS, 1, 301, 9), 0);
  EXPECT_EQ(cards.AddSubsidy(1, 1, 9600, kS, 1, 300, 9), 1);
  EXPECT_EQ(cards.AddSubsidy_ClearSubTime(1, 1, 9600, kS, 0, 25, 10, "250301"), 1);
  Outputs o;
  ASSERT_EQ(cards.ReadCard(1, 1, 9600, kS, o.Reading()), 1);
  EXPECT_EQ(o.count, 65535);
  EXPECT_EQ(o.subsidy, 25);
  EXPECT_STREQ(o.subsidyDate, "250301");
  EXPECT_EQ(o.counter, 10);
  EXPECT_TRUE(CopiesAgree());
}

TEST_F(CardsTest, ReviseCardInfoRepairsEitherWay) {
  Open();
  const int writes = port.model.blockWrites;
  EXPECT_EQ(cards.ReviseCardInfo(1, 1, 9600, kS), 1);
  EXPECT_EQ(port.model.blockWrites, writes);  // nothing to repair
  // With the mark: the main copy wins.
  Record b = Image(BackupBlock(kS));
  PutNumber(b.data(), CardAccountRecord::kCash, 99);
  SetImage(BackupBlock(kS), b);
  EXPECT_EQ(cards.ReviseCardInfo(1, 1, 9600, kS), 1);
  EXPECT_EQ(GetNumber(Image(BackupBlock(kS)).data(), CardAccountRecord::kCash), 5000u);
  // Without the mark: the backup wins, then the mark is written as a whole
  // block, 0x55 and zeros.
  SetImage(BackupBlock(kS), b);
  Record h = Image(HeaderBlock(kS));
  h[32] = 0;
  h[40] = 0xAA;
  SetImage(HeaderBlock(kS), h);
  EXPECT_EQ(cards.ReviseCardInfo(1, 1, 9600, kS), 1);
  EXPECT_EQ(MainCash(), 99u);
  EXPECT_TRUE(CopiesAgree());
  Record marked = h;
  std::fill(marked.begin() + 32, marked.end(), 0);
  marked[32] = 0x55;
  EXPECT_EQ(Image(HeaderBlock(kS)), marked);
  // ReadCard reads through the repair.
  SetImage(BackupBlock(kS), Image(MainBlock(kS)));
  PutNumber(b.data(), CardAccountRecord::kCash, 42);
  SetImage(BackupBlock(kS), b);
  h[32] = 0;
  SetImage(HeaderBlock(kS), h);
  Outputs o;
  ASSERT_EQ(cards.ReadCard(1, 1, 9600, kS, o.Reading()), 1);
  EXPECT_EQ(o.cash, 42);
}

TEST_F(CardsTest, ReviseCardInfoLeavesAnUnopenedCardAlone) {
  Record b{};
  b[0] = 0x12;
  SetImage(BackupBlock(kS), b);  // the copies differ, the header has no mark
  EXPECT_EQ(cards.ReviseCardInfo(1, 1, 9600, kS), 1);
  EXPECT_EQ(port.model.blockWrites, 0);
  EXPECT_EQ(Image(BackupBlock(kS)), b);
  EXPECT_EQ(Image(HeaderBlock(kS)), Record{});
}

TEST_F(CardsTest, EditsAndLogout) {
  const int writes = port.model.blockWrites;
  EXPECT_EQ(cards.EditCard(1, 1, 9600, kS, "NEWTEXT1", 1, 2, "200101", "300101"), 0);  // not opened
  EXPECT_EQ(port.model.blockWrites, writes);
  EXPECT_EQ(cards.EditELimitDate(1, 1, 9600, kS, "991231"), 1);  // writes even so
  EXPECT_EQ(Image(HeaderBlock(kS))[19], 99);
  Open();
  EXPECT_EQ(cards.EditCard(1, 1, 9600, kS, "NEWTEXT1", 1, 2, "200101", "300101"), 1);
  Outputs o;
  ASSERT_EQ(cards.ReadCard(1, 1, 9600, kS, o.Reading()), 1);
  EXPECT_STREQ(o.text, "NEWTEXT1");
  EXPECT_EQ(o.byte4, 1);
  EXPECT_EQ(o.byte13, 2);
  EXPECT_STREQ(o.limitDate, "300101");
  EXPECT_EQ(o.cardNumber, 123456);  // untouched fields stay
  EXPECT_EQ(cards.LogoutCard(1, 1, 9600, kS), 1);
  EXPECT_EQ(Image(HeaderBlock(kS)), Record{});
  ASSERT_EQ(cards.ReadCard(1, 1, 9600, kS, o.Reading()), 1);
  EXPECT_EQ(o.opened, 0);
}

TEST_F(CardsTest, ClearAllCardInfoSparesBlockZeroAndTheKeys) {
  for (auto& b : port.model.card.blocks)
    if (&b - &port.model.card.blocks[0] > 0 && (&b - &port.model.card.blocks[0]) % 4 != 3) b.fill(0xAB);
  const auto block0 = port.model.card.blocks[0];
  const auto keyBlock = port.model.card.blocks[7];
  EXPECT_EQ(cards.ClearAllCardInfo(1, 1, 9600), 1);
  EXPECT_EQ(port.model.card.blocks[0], block0);
  for (int b = 1; b < 64; ++b) {
    if (b % 4 == 3) EXPECT_EQ(port.model.card.blocks[b], b == 7 ? keyBlock : port.model.card.blocks[b]);
    else EXPECT_EQ(port.model.card.blocks[b], sim::Block{}) << b;
  }
  EXPECT_EQ(port.model.blockWrites, 16);
}

// Cut the line after each block write of an update (with the write's
// acknowledgement lost, or received and only the read-back lost); once the
// line is back, the account reads as the old balance or the new one, both
// copies agree, and a reported success is never undone.
TEST_F(CardsTest, TornUpdatesLeaveTheOldOrTheNewBalance) {
  struct Op {
    const char* name;
    std::function<int(CardRecordCommands&)> run;
    Field field;
    uint32_t before, after;
  };
  const std::vector<Op> ops = {
      {"credit", [](CardRecordCommands& c) { return c.AddMoney(1, 1, 9600, kS, 0, 250, 1); },
       CardAccountRecord::kCash, 5000, 5250},
      {"debit", [](CardRecordCommands& c) { return c.AddMoney(1, 1, 9600, kS, 1, 250, 1); },
       CardAccountRecord::kCash, 5000, 4750},
      {"subsidy", [](CardRecordCommands& c) { return c.AddSubsidy(1, 1, 9600, kS, 0, 5, 1); },
       CardAccountRecord::kSubsidy, 300, 305},
      {"count", [](CardRecordCommands& c) { return c.AddCount(1, 1, 9600, kS, 1, 2, 1); },
       CardAccountRecord::kCount, 12, 10},
      {"subsidy and date",
       [](CardRecordCommands& c) { return c.AddSubsidy_ClearSubTime(1, 1, 9600, kS, 0, 7, 1, "250101"); },
       CardAccountRecord::kSubsidy, 300, 307},
  };
  for (const Op& op : ops) {
    for (int cutAt : {1, 2}) {
      for (bool ack : {false, true}) {
        SCOPED_TRACE(std::string(op.name) + " cut after write " + std::to_string(cutAt) + (ack ? " (acked)" : ""));
        port.model.card = sim::Card::Factory(0x11223344);
        port.Reconnect();
        Open();
        port.CutAfterWrite(cutAt, ack);
        EXPECT_EQ(op.run(cards), 0);
        port.Reconnect();
        Outputs o;
        ASSERT_EQ(cards.ReadCard(1, 1, 9600, kS, o.Reading()), 1);
        const uint32_t v = GetNumber(Image(MainBlock(kS)).data(), op.field);
        // The backup is written first: cut after it, the update is undone;
        // cut after the main copy, it is complete.
        EXPECT_EQ(v, cutAt == 1 ? op.before : op.after);
        EXPECT_TRUE(CopiesAgree());
        EXPECT_EQ(cards.ReviseCardInfo(1, 1, 9600, kS), 1);
      }
    }
  }
  // Without a cut the update is reported and stays.
  port.model.card = sim::Card::Factory(0x11223344);
  Open();
  EXPECT_EQ(cards.AddMoney(1, 1, 9600, kS, 0, 1, 1), 1);
  Outputs o;
  ASSERT_EQ(cards.ReadCard(1, 1, 9600, kS, o.Reading()), 1);
  EXPECT_EQ(o.cash, 5001);
}

TEST_F(CardsTest, TornOpeningIsNeverAnOpenedCardWithAHalfAccount) {
  for (int cutAt : {1, 2, 3}) {
    SCOPED_TRACE("cut after write " + std::to_string(cutAt));
    port.model.card = sim::Card::Factory(0x11223344);
    port.Reconnect();
    port.CutAfterWrite(cutAt, false);
    EXPECT_EQ(cards.OpenCard(1, 1, 9600, kS, Sample()), 0);
    port.Reconnect();
    Outputs o;
    ASSERT_EQ(cards.ReadCard(1, 1, 9600, kS, o.Reading()), 1);
    EXPECT_EQ(o.opened, cutAt == 3 ? 1 : 0);
    if (o.opened) {
      EXPECT_EQ(o.cash, 5000);
      EXPECT_TRUE(CopiesAgree());
    }
  }
}
