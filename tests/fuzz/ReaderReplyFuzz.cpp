// The card reader library's commands (reader/ReaderCommands,
// CardRecordCommands) against a reader that answers with the fuzzer's
// bytes: every reply is read, checked and taken apart by the library's own
// code, over a port that hands the bytes out in pieces.
//
// Input: a count of commands and two bytes per command (which command, and
// a byte its arguments are made from), then the bytes the reader sends.
//
// Checked besides the absence of faults: every request the library writes is
// a well-formed frame, and a command that fails leaves the caller's outputs
// as they were (the outputs are written only once the whole command worked).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "CardRecordCommands.h"
#include "Frame.h"
#include "ReaderCommands.h"

namespace {

using namespace dorvex;

class FuzzClock : public Clock {
 public:
  uint32_t TickMs() override { return ticks; }
  void SleepMs(uint32_t ms) override { ticks += ms; }
  uint32_t ticks = 5000;
};

// The reader's side of the line: the fuzzer's bytes, at most `chunk` per
// read; a read that comes short waits out its time-out.
class FuzzPort : public SerialPort {
 public:
  FuzzPort(FuzzClock& clock, const uint8_t* bytes, size_t size, size_t chunk)
      : clock_(clock), bytes_(bytes), size_(size), chunk_(chunk) {}

  bool Open(const std::string&, uint32_t) override { return true; }
  bool Close() override { return true; }
  bool Purge() override { return true; }
  bool Write(const uint8_t* data, size_t n, size_t* written) override {
    if (frame::CheckFrame(data, static_cast<uint32_t>(n)) != 1) abort();
    *written = n;
    return true;
  }
  void ClearError() override {}
  bool GetTimeouts(PortTimeouts* out) override {
    *out = timeouts_;
    return true;
  }
  bool SetTimeouts(const PortTimeouts& t) override {
    timeouts_ = t;
    return true;
  }
  bool Read(uint8_t* buf, size_t n, size_t* got) override {
    size_t take = n < chunk_ ? n : chunk_;
    if (take > size_ - at_) take = size_ - at_;
    if (take) std::memcpy(buf, bytes_ + at_, take);
    at_ += take;
    *got = take;
    if (take < n) clock_.ticks += timeouts_.readTotalConstant + timeouts_.readTotalPerByte * static_cast<uint32_t>(n);
    return true;
  }
  bool Exhausted() const { return at_ == size_; }

 private:
  FuzzClock& clock_;
  const uint8_t* bytes_;
  size_t size_;
  size_t chunk_;
  size_t at_ = 0;
  PortTimeouts timeouts_;
};

// Output buffers of exactly the size the exports document, filled with a
// pattern that a failed command must leave in place.
struct Outputs {
  explicit Outputs(size_t n) : bytes(n, 0xA5) {}
  bool Untouched() const {
    for (uint8_t b : bytes)
      if (b != 0xA5) return false;
    return true;
  }
  std::vector<uint8_t> bytes;
};

const char kKey[] = "A5C3E7B91D2F";
const char kDate[] = "260101";
const char kDigits[] = "123456789012";

void ReadCardChecked(CardRecordCommands& records, int32_t sector) {
  int32_t ints[17];
  for (int32_t& v : ints) v = -7;
  char text[9], date[7], limit[7], subsidyDate[7], d32[13], d16[13];
  std::memset(text, 'x', sizeof text);
  std::memset(date, 'x', sizeof date);
  std::memset(limit, 'x', sizeof limit);
  std::memset(subsidyDate, 'x', sizeof subsidyDate);
  std::memset(d32, 'x', sizeof d32);
  std::memset(d16, 'x', sizeof d16);
  const CardReading out{&ints[0], &ints[1], text, &ints[2], &ints[3], date, limit, &ints[4], &ints[5],
                        &ints[6], &ints[7], &ints[8], &ints[9], &ints[10], &ints[11], subsidyDate, d32,
                        &ints[12], d16, &ints[13]};
  const int ok = records.ReadCard(0, 0, 0, sector, out);
  bool intsUntouched = true;
  for (int i = 1; i < 14; ++i) intsUntouched = intsUntouched && ints[i] == -7;
  if (!ok && (ints[0] != -7 || !intsUntouched || text[0] != 'x' || d16[0] != 'x')) abort();
  if (ok && ints[0] != 0 && ints[0] != 1) abort();
  if (ok && ints[0] == 0 && (!intsUntouched || text[0] != 'x')) abort();
  if (ok && ints[0] == 1 && (text[8] != '\0' || date[6] != '\0' || d32[12] != '\0')) abort();
}

void Run(Reader& reader, CardRecordCommands& records, uint8_t which, uint8_t arg) {
  const int32_t sector = 1 + arg % 13;
  const int32_t block = arg % 64;
  const int32_t count = 1 + (arg >> 6) % 3;
  switch (which % 22) {
    case 0: reader.SetDevPassWord(0, 0, 0, kKey); break;
    case 1: reader.SetOneCardPassWord(0, 0, 0, arg % 16, kKey); break;
    case 2: reader.SetAllCardPassWord(0, 0, 0, kKey); break;
    case 3: {
      const uint8_t data[48] = {arg};
      reader.WriteCardBlock(0, 0, 0, block, count, data);
      break;
    }
    case 4: {
      if (!BlockRangeOk(static_cast<uint32_t>(block), static_cast<uint32_t>(count), 0)) break;
      Outputs out(static_cast<size_t>(count) * kBlockBytes + 1);
      if (!reader.ReadCardBlock(0, 0, 0, block, count, out.bytes.data()) && !out.Untouched()) abort();
      break;
    }
    case 5: {
      Outputs out(2 * kSerialBytes + 1);
      const int ok = reader.ReadCardSerNum(0, 0, 0, reinterpret_cast<char*>(out.bytes.data()));
      if (!ok && !out.Untouched()) abort();
      if (ok) {
        for (size_t i = 0; i < 2 * kSerialBytes; ++i) {
          const uint8_t c = out.bytes[i];
          if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) abort();
        }
        if (out.bytes[2 * kSerialBytes] != 0) abort();
      }
      break;
    }
    case 6: reader.SendBeep(0, 0, 0, arg); break;
    case 7: reader.SetAutoEditPW(0, 0, 0, arg & 1, sector, kKey, arg & 2, kKey, arg & 4); break;
    case 8: reader.CancelAutoEditPW(0, 0, 0); break;
    case 9: {
      const CardOpening card{1 + arg, "card", arg, 1 + arg % 255, kDate, kDate, arg * 100, arg, arg, arg,
                             arg, arg, arg, arg, kDate, kDigits, arg, kDigits, arg};
      records.OpenCard(0, 0, 0, sector, card);
      break;
    }
    case 10: ReadCardChecked(records, sector); break;
    case 11: records.EditCard(0, 0, 0, sector, "edited", arg, 1 + arg % 255, kDate, kDate); break;
    case 12: records.EditELimitDate(0, 0, 0, sector, kDate); break;
    case 13: records.ReviseCardInfo(0, 0, 0, sector); break;
    case 14: records.AddMoney(0, 0, 0, sector, arg & 1, arg * 1000, arg); break;
    case 15: records.AddSubsidy(0, 0, 0, sector, arg & 1, 1 + arg, arg); break;
    case 16: records.AddCount(0, 0, 0, sector, arg & 1, 1 + arg, arg); break;
    case 17: records.AddSubsidy_ClearSubTime(0, 0, 0, sector, arg & 1, 1 + arg, arg, kDate); break;
    case 18: records.LogoutCard(0, 0, 0, sector); break;
    case 19: records.ClearAllCardInfo(0, 0, 0); break;
    case 20: {
      char out[13];
      ChangeCardPassWord(kKey, "1A2B3C4D", out);
      break;
    }
    default: {
      // A record read with the card's maximum values around it.
      Outputs out(3 * kBlockBytes + 1);
      reader.ReadCardBlock(0, 0, 0, 4 * sector, 3, out.bytes.data());
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 8192) return 0;
  const size_t commands = 1 + data[0] % 6;
  const size_t chunk = 1 + data[1] % 64;
  const size_t head = 2 + 2 * commands;
  if (size < head) return 0;
  const std::vector<uint8_t> stream(data + head, data + size);

  FuzzClock clock;
  FuzzPort port(clock, stream.data(), stream.size(), chunk);
  Reader reader(port, clock);
  CardRecordCommands records(reader);
  if (reader.OpenComPort(3, 9600) != 1) abort();
  for (size_t i = 0; i < commands; ++i) Run(reader, records, data[2 + 2 * i], data[3 + 2 * i]);
  reader.CloseComPort();
  return 0;
}
