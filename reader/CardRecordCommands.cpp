#include "CardRecordCommands.h"

#include <cstring>

#include "Frame.h"

namespace dorvex {

namespace {
constexpr uint32_t kMaxByte = 255;

// Copies the caller's text into the 8-byte field: up to its NUL, never past
// the field, zeros after it.
void PutText(uint8_t* record, const char* text) {
  uint8_t* field = record + CardHeaderRecord::kText.offset;
  std::memset(field, 0, CardHeaderRecord::kText.size);
  for (size_t i = 0; i < CardHeaderRecord::kText.size && text[i] != '\0'; ++i)
    field[i] = static_cast<uint8_t>(text[i]);
}

bool InRange(int32_t v, uint32_t lo, uint32_t hi) {
  const uint32_t u = static_cast<uint32_t>(v);
  return u >= lo && u <= hi;
}
}  // namespace

bool CardRecordCommands::ReadRecord(uint32_t block, Record* r) {
  return reader_.ReadBlocks(block, kRecordBlocks, r->data());
}

bool CardRecordCommands::WriteRecord(uint32_t block, const Record& r) {
  return reader_.WriteBlocks(block, kRecordBlocks, r.data());
}

// The account record goes to the backup first and to the main copy next,
// and the header that marks the card opened comes last: a card cut off half
// way is never taken for an opened card with a half-written account.
int CardRecordCommands::OpenCard(int32_t flag, int32_t port, int32_t baud, int32_t s, const CardOpening& c) {
  const uint32_t sector = static_cast<uint32_t>(s);
  if (!RecordSectorOk(sector) || !InRange(c.cardNumber, 1, CardHeaderRecord::kMaxCardNumber) || !c.text ||
      !InRange(c.byte4, 0, kMaxByte) || !InRange(c.byte13, 1, kMaxByte) || !InRange(c.byte38, 0, kMaxByte) ||
      !DigitsOk(c.date, CardHeaderRecord::kDate) || !DigitsOk(c.limitDate, CardHeaderRecord::kLimitDate) ||
      !DigitsOk(c.subsidyDate, CardAccountRecord::kSubsidyDate) ||
      !DigitsOk(c.digits32, CardAccountRecord::kDigits32) ||
      !DigitsOk(c.digits16, CardAccountRecord::kDigits16))
    return 0;

  // The account fields take the low bits of their arguments, unchecked.
  Record a{};
  PutNumber(a.data(), CardAccountRecord::kCash, static_cast<uint32_t>(c.cash));
  PutNumber(a.data(), CardAccountRecord::kSubsidy, static_cast<uint32_t>(c.subsidy));
  PutNumber(a.data(), CardAccountRecord::kCount, static_cast<uint32_t>(c.count));
  PutNumber(a.data(), CardAccountRecord::kCounter, static_cast<uint32_t>(c.counter));
  PutNumber(a.data(), CardAccountRecord::kValue14, static_cast<uint32_t>(c.value14));
  PutDigits(a.data(), CardAccountRecord::kDigits16, c.digits16);
  PutNumber(a.data(), CardAccountRecord::kValue22, static_cast<uint32_t>(c.value22));
  PutNumber(a.data(), CardAccountRecord::kValue24, static_cast<uint32_t>(c.value24));
  PutNumber(a.data(), CardAccountRecord::kValue27, static_cast<uint32_t>(c.value27));
  PutNumber(a.data(), CardAccountRecord::kValue29, static_cast<uint32_t>(c.value29));
  PutDigits(a.data(), CardAccountRecord::kDigits32, c.digits32);
  PutNumber(a.data(), CardAccountRecord::kByte38, static_cast<uint32_t>(c.byte38));
  PutDigits(a.data(), CardAccountRecord::kSubsidyDate, c.subsidyDate);

  Record h{};
  PutNumber(h.data(), CardHeaderRecord::kMark, CardHeaderRecord::kOpened);
  PutNumber(h.data(), CardHeaderRecord::kCardNumber, static_cast<uint32_t>(c.cardNumber));
  PutNumber(h.data(), CardHeaderRecord::kByte4, static_cast<uint32_t>(c.byte4));
  PutText(h.data(), c.text);
  PutNumber(h.data(), CardHeaderRecord::kByte13, static_cast<uint32_t>(c.byte13));
  PutDigits(h.data(), CardHeaderRecord::kDate, c.date);
  PutDigits(h.data(), CardHeaderRecord::kLimitDate, c.limitDate);
  PutNumber(h.data(), CardHeaderRecord::kRepairMark, CardHeaderRecord::kRepaired);

  LinkSession session(reader_.Link(), flag, port, baud);
  return session.Ready() && WriteRecord(BackupBlock(sector), a) && WriteRecord(MainBlock(sector), a) &&
                 WriteRecord(HeaderBlock(sector), h)
             ? 1
             : 0;
}

// Makes main and backup agree after an interrupted update. With the repair
// mark set, the main copy is the one to trust (every update writes the
// backup first, so a main copy that differs was never reached and the backup
// is rolled back to it). Without the mark, the backup is trusted and the
// mark written afterwards.
bool CardRecordCommands::Revise(uint32_t s) {
  Record h, main, backup;
  if (!ReadRecord(HeaderBlock(s), &h)) return false;
  if (h[CardHeaderRecord::kMark.offset] != CardHeaderRecord::kOpened) return true;
  if (!ReadRecord(MainBlock(s), &main) || !ReadRecord(BackupBlock(s), &backup)) return false;
  const bool same = frame::BytesEqual(main.data(), backup.data(), kRecordBytes) == 1;
  if (h[CardHeaderRecord::kRepairMark.offset] == CardHeaderRecord::kRepaired)
    return same || WriteRecord(BackupBlock(s), main);
  if (!same && !WriteRecord(MainBlock(s), backup)) return false;
  uint8_t markBlock[kBlockBytes] = {CardHeaderRecord::kRepaired};
  return reader_.WriteBlocks(HeaderBlock(s) + CardHeaderRecord::kRepairBlockIndex, 1, markBlock);
}

int CardRecordCommands::ReviseCardInfo(int32_t flag, int32_t port, int32_t baud, int32_t s) {
  const uint32_t sector = static_cast<uint32_t>(s);
  if (!RecordSectorOk(sector)) return 0;
  LinkSession session(reader_.Link(), flag, port, baud);
  return session.Ready() && Revise(sector) ? 1 : 0;
}

// Reads the header, repairs the account copies, reads the main copy; the
// caller's outputs are written only once all of it succeeded. A card that
// is not opened gives 1 with only `opened` (0) written.
int CardRecordCommands::ReadCard(int32_t flag, int32_t port, int32_t baud, int32_t s, const CardReading& o) {
  const uint32_t sector = static_cast<uint32_t>(s);
  if (!RecordSectorOk(sector) || !o.opened || !o.cardNumber || !o.text || !o.byte4 || !o.byte13 || !o.date ||
      !o.limitDate || !o.cash || !o.subsidy || !o.count || !o.counter || !o.value22 || !o.value24 ||
      !o.value27 || !o.value29 || !o.subsidyDate || !o.digits32 || !o.byte38 || !o.digits16 || !o.value14)
    return 0;
  LinkSession session(reader_.Link(), flag, port, baud);
  Record h, a;
  if (!session.Ready() || !ReadRecord(HeaderBlock(sector), &h)) return 0;
  if (h[CardHeaderRecord::kMark.offset] != CardHeaderRecord::kOpened) {
    *o.opened = 0;
    return 1;
  }
  if (!Revise(sector) || !ReadRecord(MainBlock(sector), &a)) return 0;

  *o.opened = 1;
  *o.cardNumber = static_cast<int32_t>(GetNumber(h.data(), CardHeaderRecord::kCardNumber));
  std::memcpy(o.text, h.data() + CardHeaderRecord::kText.offset, CardHeaderRecord::kText.size);
  o.text[CardHeaderRecord::kText.size] = '\0';
  *o.byte4 = static_cast<int32_t>(GetNumber(h.data(), CardHeaderRecord::kByte4));
  *o.byte13 = static_cast<int32_t>(GetNumber(h.data(), CardHeaderRecord::kByte13));
  GetDigits(h.data(), CardHeaderRecord::kDate, o.date);
  GetDigits(h.data(), CardHeaderRecord::kLimitDate, o.limitDate);
  *o.cash = static_cast<int32_t>(GetNumber(a.data(), CardAccountRecord::kCash));
  *o.subsidy = static_cast<int32_t>(GetNumber(a.data(), CardAccountRecord::kSubsidy));
  *o.count = static_cast<int32_t>(GetNumber(a.data(), CardAccountRecord::kCount));
  *o.counter = static_cast<int32_t>(GetNumber(a.data(), CardAccountRecord::kCounter));
  *o.value22 = static_cast<int32_t>(GetNumber(a.data(), CardAccountRecord::kValue22));
  *o.value24 = static_cast<int32_t>(GetNumber(a.data(), CardAccountRecord::kValue24));
  *o.value27 = static_cast<int32_t>(GetNumber(a.data(), CardAccountRecord::kValue27));
  *o.value29 = static_cast<int32_t>(GetNumber(a.data(), CardAccountRecord::kValue29));
  GetDigits(a.data(), CardAccountRecord::kSubsidyDate, o.subsidyDate);
  GetDigits(a.data(), CardAccountRecord::kDigits32, o.digits32);
  *o.byte38 = static_cast<int32_t>(GetNumber(a.data(), CardAccountRecord::kByte38));
  GetDigits(a.data(), CardAccountRecord::kDigits16, o.digits16);
  *o.value14 = static_cast<int32_t>(GetNumber(a.data(), CardAccountRecord::kValue14));
  return 1;
}

// Rewrites the caller's header fields of an opened card. A card that is not
// opened is left alone and the call fails: there is nothing to edit.
int CardRecordCommands::EditCard(int32_t flag, int32_t port, int32_t baud, int32_t s, const char* text,
                                 int32_t byte4, int32_t byte13, const char* date, const char* limitDate) {
  const uint32_t sector = static_cast<uint32_t>(s);
  if (!RecordSectorOk(sector) || !text || !InRange(byte4, 0, kMaxByte) || !InRange(byte13, 1, kMaxByte) ||
      !DigitsOk(date, CardHeaderRecord::kDate) || !DigitsOk(limitDate, CardHeaderRecord::kLimitDate))
    return 0;
  LinkSession session(reader_.Link(), flag, port, baud);
  uint8_t h[2 * kBlockBytes];  // the header's first two blocks hold every field edited
  if (!session.Ready() || !reader_.ReadBlocks(HeaderBlock(sector), 2, h)) return 0;
  if (h[CardHeaderRecord::kMark.offset] != CardHeaderRecord::kOpened) return 0;
  PutNumber(h, CardHeaderRecord::kByte4, static_cast<uint32_t>(byte4));
  PutText(h, text);
  PutNumber(h, CardHeaderRecord::kByte13, static_cast<uint32_t>(byte13));
  PutDigits(h, CardHeaderRecord::kDate, date);
  PutDigits(h, CardHeaderRecord::kLimitDate, limitDate);
  return reader_.WriteBlocks(HeaderBlock(sector), 2, h) ? 1 : 0;
}

int CardRecordCommands::EditELimitDate(int32_t flag, int32_t port, int32_t baud, int32_t s, const char* limitDate) {
  const uint32_t sector = static_cast<uint32_t>(s);
  if (!RecordSectorOk(sector) || !DigitsOk(limitDate, CardHeaderRecord::kLimitDate)) return 0;
  LinkSession session(reader_.Link(), flag, port, baud);
  uint8_t block[kBlockBytes];  // header bytes 16-31
  if (!session.Ready() || !reader_.ReadBlocks(HeaderBlock(sector) + 1, 1, block)) return 0;
  const Field inBlock{CardHeaderRecord::kLimitDate.offset - kBlockBytes, CardHeaderRecord::kLimitDate.size};
  PutDigits(block, inBlock, limitDate);
  return reader_.WriteBlocks(HeaderBlock(sector) + 1, 1, block) ? 1 : 0;
}

// A credit or debit: computed in 64 bits, refused with nothing written when
// the result leaves its range; the backup is written before the main copy.
int CardRecordCommands::Apply(const Change& c, int32_t flag, int32_t port, int32_t baud, int32_t s,
                              int32_t subtract, int32_t amount, int32_t counter, const char* subsidyDate) {
  const uint32_t sector = static_cast<uint32_t>(s);
  const bool withDate = subsidyDate != nullptr;
  if (!RecordSectorOk(sector) || !InRange(amount, c.minAmount, c.maxAmount) ||
      !InRange(counter, 0, CardAccountRecord::kMaxCounter))
    return 0;
  LinkSession session(reader_.Link(), flag, port, baud);
  if (!session.Ready()) return 0;
  Record r;
  const uint32_t blocks = withDate ? kRecordBlocks : 1;
  if (!reader_.ReadBlocks(MainBlock(sector), blocks, r.data())) return 0;
  const int64_t old = GetNumber(r.data(), c.field);
  const int64_t value = subtract ? old - amount : old + amount;
  if (value < 0 || value > c.maxResult) return 0;
  PutNumber(r.data(), c.field, static_cast<uint32_t>(value));
  PutNumber(r.data(), CardAccountRecord::kCounter, static_cast<uint32_t>(counter));
  if (withDate) PutDigits(r.data(), CardAccountRecord::kSubsidyDate, subsidyDate);
  return reader_.WriteBlocks(BackupBlock(sector), blocks, r.data()) &&
                 reader_.WriteBlocks(MainBlock(sector), blocks, r.data())
             ? 1
             : 0;
}

int CardRecordCommands::AddMoney(int32_t flag, int32_t port, int32_t baud, int32_t s, int32_t subtract,
                                 int32_t amount, int32_t counter) {
  const Change cash{CardAccountRecord::kCash, 0, CardAccountRecord::kMaxBalance,
                    CardAccountRecord::kMaxBalance};
  return Apply(cash, flag, port, baud, s, subtract, amount, counter, nullptr);
}

int CardRecordCommands::AddSubsidy(int32_t flag, int32_t port, int32_t baud, int32_t s, int32_t subtract,
                                   int32_t amount, int32_t counter) {
  const Change subsidy{CardAccountRecord::kSubsidy, 1, CardAccountRecord::kMaxBalance,
                       CardAccountRecord::kMaxBalance};
  return Apply(subsidy, flag, port, baud, s, subtract, amount, counter, nullptr);
}

int CardRecordCommands::AddCount(int32_t flag, int32_t port, int32_t baud, int32_t s, int32_t subtract,
                                 int32_t amount, int32_t counter) {
  const Change count{CardAccountRecord::kCount, 1, CardAccountRecord::kMaxCount,
                     CardAccountRecord::kMaxCount};
  return Apply(count, flag, port, baud, s, subtract, amount, counter, nullptr);
}

int CardRecordCommands::AddSubsidy_ClearSubTime(int32_t flag, int32_t port, int32_t baud, int32_t s,
                                                int32_t subtract, int32_t amount, int32_t counter,
                                                const char* subsidyDate) {
  if (!DigitsOk(subsidyDate, CardAccountRecord::kSubsidyDate)) return 0;
  const Change subsidy{CardAccountRecord::kSubsidy, 1, CardAccountRecord::kMaxBalance,
                       CardAccountRecord::kMaxBalance};
  return Apply(subsidy, flag, port, baud, s, subtract, amount, counter, subsidyDate);
}

int CardRecordCommands::LogoutCard(int32_t flag, int32_t port, int32_t baud, int32_t s) {
  const uint32_t sector = static_cast<uint32_t>(s);
  if (!RecordSectorOk(sector)) return 0;
  LinkSession session(reader_.Link(), flag, port, baud);
  return session.Ready() && WriteRecord(HeaderBlock(sector), Record{}) ? 1 : 0;
}

// Zeros every data block but block 0 (the card's maker data); key blocks are
// never touched.
int CardRecordCommands::ClearAllCardInfo(int32_t flag, int32_t port, int32_t baud) {
  LinkSession session(reader_.Link(), flag, port, baud);
  if (!session.Ready()) return 0;
  const Record zeros{};
  if (!reader_.WriteBlocks(1, 2, zeros.data())) return 0;
  for (uint32_t sector = 1; sector < kSectors; ++sector)
    if (!WriteRecord(4 * sector, zeros)) return 0;
  return 1;
}

}  // namespace dorvex
