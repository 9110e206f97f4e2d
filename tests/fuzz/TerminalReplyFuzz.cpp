// The payment terminal library (terminal/CommandCycle, BusPolling, Link)
// against terminals that answer with the fuzzer's bytes, over the serial bus
// or TCP: command replies of every reply kind (acknowledgements, numbers,
// digits, texts, flash reads, the transaction record downloads) and the
// answers to bus polls, all read and taken apart by the library's own code.
//
// Input: a byte of link settings (TCP or serial, the size of the pieces the
// line hands out), a count of commands and two bytes per command (which
// command, a byte its arguments are made from), then the terminal's bytes.
//
// Checked besides the absence of faults: every request is a well-formed
// frame; outputs are buffers of exactly the size the exports document
// (AddressSanitizer sees any write past them); a failed command leaves them
// as they were; a record download never reports more record bytes than fit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "BusPolling.h"
#include "CommandCycle.h"
#include "CommandTable.h"
#include "Frame.h"
#include "Link.h"

namespace {

using namespace halvin;

class FuzzClock : public Clock {
 public:
  uint32_t Ticks() override { return ticks; }
  uint32_t TimeOfDay() override { return day % kMsPerDay; }
  void Sleep(uint32_t ms) override { Advance(ms); }
  void Advance(uint32_t ms) {
    ticks += ms;
    day += ms;
  }
  uint32_t ticks = 100000;
  uint32_t day = 12u * 3600u * 1000u;
};

// The far end's bytes, handed out at most `chunk` at a time.
class FuzzLine {
 public:
  FuzzLine(const uint8_t* bytes, size_t size, size_t chunk) : bytes_(bytes), size_(size), chunk_(chunk) {}
  size_t Take(uint8_t* out, size_t n) {
    size_t take = n < chunk_ ? n : chunk_;
    if (take > size_ - at_) take = size_ - at_;
    if (take) std::memcpy(out, bytes_ + at_, take);
    at_ += take;
    return take;
  }
  size_t Left() const { return size_ - at_; }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t chunk_;
  size_t at_ = 0;
};

// A frame of the command cycle, or one of the polling's frames (a poll
// request of three bytes, an addressed frame with its own checksum).
void CheckWritten(const uint8_t* bytes, size_t n) {
  if (frame::CheckFrame(bytes, static_cast<uint32_t>(n)) == 1) return;
  if (n == 3 && bytes[0] == kPollByte && (bytes[1] ^ kPollByte) == bytes[2]) return;
  if (n >= 8 && n == 8 + frame::GetBE(bytes + 5, 2) && bytes[7] >= kSetBalanceCode &&
      bytes[7] <= kSetAddMoneyCode && frame::AddressedFrameChecksum(bytes) == bytes[n - 1])
    return;
  abort();
}

class FuzzSerial : public SerialPort {
 public:
  FuzzSerial(FuzzClock& clock, FuzzLine& line) : clock_(clock), line_(line) {}
  bool Open(const char*, uint32_t) override { return true; }
  bool Close() override { return true; }
  bool SetParity(char) override { return true; }
  void Purge() override {}
  bool Write(const uint8_t* bytes, size_t n) override {
    CheckWritten(bytes, n);
    return true;
  }
  bool Flush() override { return true; }
  bool BeginRead(const ReadTimeouts& t) override {
    timeouts_ = t;
    return true;
  }
  size_t Read(uint8_t* buffer, size_t n) override {
    const size_t got = line_.Take(buffer, n);
    if (got < n) clock_.Advance(timeouts_.constant + timeouts_.perByte * static_cast<uint32_t>(n));
    return got;
  }
  void EndRead() override {}

 private:
  FuzzClock& clock_;
  FuzzLine& line_;
  ReadTimeouts timeouts_{0, 0, 0};
};

class FuzzSocket : public NetSocket {
 public:
  FuzzSocket(FuzzClock& clock, FuzzLine& line) : clock_(clock), line_(line) {}
  bool Startup() override { return true; }
  void Cleanup() override {}
  bool Connect(uint32_t, uint16_t, uint32_t, uint32_t) override { return true; }
  void Close() override {}
  long Send(const uint8_t* bytes, size_t n) override {
    CheckWritten(bytes, n);
    return static_cast<long>(n);
  }
  long Receive(uint8_t* buffer, size_t n) override {
    const size_t got = line_.Take(buffer, n);
    if (got == 0) {
      clock_.Advance(Link::kReceiveMs);
      return -1;
    }
    return static_cast<long>(got);
  }
  // Nothing waits before a request: the bytes answer the requests in turn.
  size_t Waiting() override { return 0; }

 private:
  FuzzClock& clock_;
  FuzzLine& line_;
};

// A heap buffer of exactly n bytes, filled with a pattern.
struct Output {
  explicit Output(size_t n) : size(n), bytes(new uint8_t[n]) { std::memset(bytes.get(), 0xA5, n); }
  bool Untouched() const {
    for (size_t i = 0; i < size; ++i)
      if (bytes[i] != 0xA5) return false;
    return true;
  }
  size_t size;
  std::unique_ptr<uint8_t[]> bytes;
};

// Valid arguments for a command's request fields, then its outputs.
struct Arguments {
  std::vector<Arg> args;
  std::vector<std::unique_ptr<Output>> outputs;
  int32_t table[kTableEntries] = {};
  int32_t grid[kGridColumns * kTableEntries] = {};
  MenuMoneyRecord menu{};
  uint8_t bytes[600] = {};

  Arguments(const Command& cmd, uint8_t arg) {
    for (const FieldLayout& f : cmd.fields) AddField(f, arg);
    switch (cmd.reply.kind) {
      case Reply::kAck:
        break;
      case Reply::kNumbers:
        for (uint8_t i = 0; i < cmd.reply.count; ++i) AddOutput(sizeof(int32_t));
        break;
      case Reply::kDigits:
        AddOutput(2u * cmd.reply.size + 1);
        break;
      case Reply::kText:
        AddOutput(cmd.reply.size + 1u);
        break;
      case Reply::kFlash:
        AddOutput(static_cast<size_t>(args[1].value) + 1);
        break;
      case Reply::kRecords:
        AddOutput(sizeof(int32_t));
        AddOutput(1015 + 1);  // the records, at most 1015 bytes, and a 0 byte
        break;
    }
  }
  void AddOutput(size_t n) {
    outputs.emplace_back(new Output(n));
    args.emplace_back(static_cast<const void*>(outputs.back()->bytes.get()));
  }
  void AddField(const FieldLayout& f, uint8_t arg) {
    switch (f.kind) {
      case Field::kNone:
        break;
      case Field::kNumber:
        for (uint8_t i = 0; i < f.repeat; ++i)
          args.emplace_back(static_cast<int32_t>(f.lo + (f.hi - f.lo) * arg / 255));
        break;
      case Field::kFlag:
        args.emplace_back(arg & 1);
        break;
      case Field::kBytes:
      case Field::kText:
        args.emplace_back(static_cast<const void*>("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        break;
      case Field::kDigits:
        args.emplace_back(static_cast<const void*>("123456789012345678901234567890123456789012345678901"));
        break;
      case Field::kHexKey:
        args.emplace_back(static_cast<const void*>("A5C3E7B91D2F"));
        break;
      case Field::kClock:
        args.emplace_back(static_cast<const void*>("2601011200003"));
        break;
      case Field::kTable:
      case Field::kFlagTable:
        args.emplace_back(static_cast<const void*>(table));
        break;
      case Field::kGrid:
        args.emplace_back(static_cast<const void*>(grid));
        break;
      case Field::kMenu:
        args.emplace_back(1 + arg % 9);
        args.emplace_back(static_cast<const void*>(&menu));
        break;
      case Field::kBlock:
        args.emplace_back(static_cast<int32_t>(f.hi * arg / 255));
        args.emplace_back(static_cast<const void*>(bytes));
        break;
    }
  }
};

void RunOne(Link& link, Cmd id, uint8_t arg, int32_t openAndClose) {
  const Command& cmd = CommandFor(id);
  Arguments a(cmd, arg);
  const int ok = RunCommand(link, id, openAndClose, 1 + arg, a.args.data(), a.args.size());
  for (const auto& out : a.outputs)
    if (!ok && !out->Untouched()) abort();
  if (ok && cmd.reply.kind == Reply::kRecords) {
    const Output& records = *a.outputs[1];
    int32_t count = 0;
    std::memcpy(&count, a.outputs[0]->bytes.get(), sizeof count);
    if (count < 0 || count > 255) abort();
    // The 0 byte after the records lies inside the buffer.
    bool terminated = false;
    for (size_t i = 0; i < records.size && !terminated; ++i) terminated = records.bytes[i] == 0;
    if (!terminated) abort();
  }
}

void Poll(Link& link, uint8_t arg) {
  int32_t out[5] = {-1, -1, -1, -1, -1};
  const int ok = GetCardInfo(link, 1 + arg % 16, &out[0], &out[1], &out[2], &out[3], &out[4]);
  if (!ok) {
    for (int32_t v : out)
      if (v != -1) abort();
    return;
  }
  if (out[0] < 0 || out[0] > 255 || out[1] < 0 || out[1] > 0xFFFFFF) abort();
  if (out[2] != 0x64 && out[2] != 0x65 && out[2] != 0x66) abort();
  // The money frames that answer a poll.
  const int32_t amounts[3] = {arg, 2 * arg, 3 * arg};
  SendAddressedFrame(link, kSetBalanceCode + arg % 3, out[0], arg, amounts, arg % 3 == 0 ? 2 : 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 16384) return 0;
  const bool tcp = data[0] & 1;
  const size_t chunk = 1 + (data[0] >> 1);
  const size_t commands = 1 + data[1] % 6;
  const size_t head = 2 + 2 * commands;
  if (size < head) return 0;
  const std::vector<uint8_t> stream(data + head, data + size);

  FuzzClock clock;
  FuzzLine line(stream.data(), stream.size(), chunk);
  FuzzSerial serial(clock, line);
  FuzzSocket socket(clock, line);
  Link link(serial, socket, clock);
  if (tcp && link.SetConnNetParam(1, 0, 0, "127.0.0.1", 9566) != 1) abort();
  if (link.Open() != 1) abort();
  for (size_t i = 0; i < commands; ++i) {
    const uint8_t which = data[2 + 2 * i], arg = data[3 + 2 * i];
    if (which % (kCommandCount + 1) == kCommandCount)
      Poll(link, arg);
    else
      RunOne(link, static_cast<Cmd>(which % (kCommandCount + 1)), arg, 0);
  }
  link.Close();
  return 0;
}
