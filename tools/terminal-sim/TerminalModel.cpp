#include "TerminalModel.h"

#include <algorithm>

namespace terminalsim {

namespace {

uint32_t BE(const Bytes& b, size_t at, size_t n) {
  uint32_t v = 0;
  for (size_t i = 0; i < n; ++i) v = (v << 8) | b[at + i];
  return v;
}

void PutBE(Bytes* out, uint32_t v, size_t n) {
  for (size_t i = 0; i < n; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * (n - 1 - i))));
}

// Six plain-number bytes YY MM DD hh mm ss <-> a time.
std::time_t ClockToTime(const uint8_t* b) {
  std::tm t{};
  t.tm_year = 100 + b[0];
  t.tm_mon = b[1] - 1;
  t.tm_mday = b[2];
  t.tm_hour = b[3];
  t.tm_min = b[4];
  t.tm_sec = b[5];
  return timegm(&t);
}

Bytes TimeToClock(std::time_t when) {
  std::tm t{};
  gmtime_r(&when, &t);
  return {static_cast<uint8_t>(t.tm_year % 100), static_cast<uint8_t>(t.tm_mon + 1),
          static_cast<uint8_t>(t.tm_mday), static_cast<uint8_t>(t.tm_hour),
          static_cast<uint8_t>(t.tm_min), static_cast<uint8_t>(t.tm_sec)};
}

}  // namespace

TerminalModel::TerminalModel(uint16_t device) : device_(device) {
  const uint8_t start[6] = {24, 1, 1, 8, 0, 0};
  clockBase_ = ClockToTime(start);
  version_ = {'H', 'V', '-', '1', '.', '0', '0', ' ', ' ', ' '};
}

Bytes TerminalModel::Reply(uint8_t code, const Bytes& data) const { return TerminalReply(code, data); }

void TerminalModel::AddRecords(size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const uint32_t k = static_cast<uint32_t>(records_.size() + 1);
    Bytes r;
    PutBE(&r, 100000 + k, 4);                 // card
    PutBE(&r, 50 + k % 700, 3);               // amount
    PutBE(&r, 20000 - k % 20000, 3);          // balance
    const Bytes when = TimeToClock(clockBase_ + k * 60);
    r.insert(r.end(), when.begin(), when.end());
    records_.push_back(r);
  }
}

// As many records from `from` as one reply carries.
Bytes TerminalModel::Records(uint8_t code, size_t from) const {
  Bytes data = {0};
  size_t n = 0;
  for (size_t i = from; i < records_.size() && data.size() - 1 + kRecordSize <= kMaxRecordData; ++i, ++n)
    data.insert(data.end(), records_[i].begin(), records_[i].end());
  data[0] = static_cast<uint8_t>(n);
  return Reply(code, data);
}

uint8_t TerminalModel::FlashByte(uint32_t address) const {
  auto it = flash_.find(address);
  if (it != flash_.end()) return it->second;
  return static_cast<uint8_t>(address * 7 + (address >> 8));
}

std::string TerminalModel::Setting(uint8_t code) const {
  auto it = settings_.find(code);
  return it == settings_.end() ? "" : sim::Hex(it->second);
}

uint32_t TerminalModel::Subsidy(uint32_t card) const {
  auto it = subsidy_.find(card);
  return it == subsidy_.end() ? 0 : it->second;
}

std::string TerminalModel::Clock(double nowMs) const {
  const Bytes b = TimeToClock(clockBase_ + static_cast<std::time_t>((nowMs - clockSetMs_) / 1000));
  std::string s;
  for (uint8_t v : b) {
    s += static_cast<char>('0' + v / 10);
    s += static_cast<char>('0' + v % 10);
  }
  return s;
}

Bytes TerminalModel::Handle(const Bytes& req, double nowMs) {
  const uint8_t code = req[5];
  const Bytes data(req.begin() + 8, req.end() - 1);  // after code and device
  const Bytes ack = Reply(code);
  switch (code) {
    case 0x07:  // new device number
      if (data.size() != 2) return {};
      settings_[code] = data;
      device_ = static_cast<uint16_t>(BE(data, 0, 2));
      return ack;
    case 0x09:  // clock: six digit-pair bytes and the weekday
      if (data.size() != 7) return {};
      settings_[code] = data;
      clockBase_ = ClockToTime(data.data());
      clockSetMs_ = nowMs;
      return ack;
    case 0x0A: {
      const std::string now = Clock(nowMs);
      Bytes b;
      for (size_t i = 0; i < 6; ++i) b.push_back(static_cast<uint8_t>((now[2 * i] - '0') * 10 + (now[2 * i + 1] - '0')));
      return Reply(code, b);
    }
    case 0x22:
      black_.clear();
      return ack;
    case 0x23: {
      Bytes b;
      PutBE(&b, money_[0], 2);
      PutBE(&b, money_[1], 4);
      PutBE(&b, money_[2], 2);
      return Reply(code, b);
    }
    case 0x24:
      if (data.size() != 4) return {};
      black_.insert(BE(data, 0, 4));
      return ack;
    case 0x25:
      if (data.size() != 4) return {};
      black_.erase(BE(data, 0, 4));
      return ack;
    case 0x26:  // stored records from an index
      if (data.size() != 3) return {};
      return Records(code, BE(data, 0, 3));
    case 0x27:  // delete every record; they can be regained
      deleted_.insert(deleted_.end(), records_.begin(), records_.end());
      records_.clear();
      collected_ = 0;
      return ack;
    case 0x28:  // records not collected yet
      return Records(code, collected_);
    case 0x29:  // mark records collected
      if (data.size() != 1) return {};
      collected_ = std::min(records_.size(), collected_ + data[0]);
      return ack;
    case 0x2D: {  // regain deleted records
      if (data.size() != 2) return {};
      const size_t n = std::min<size_t>(deleted_.size(), BE(data, 0, 2));
      records_.insert(records_.begin(), deleted_.end() - n, deleted_.end());
      deleted_.erase(deleted_.end() - n, deleted_.end());
      return ack;
    }
    case 0x2E: {
      if (data.size() != 4) return {};
      Bytes b;
      PutBE(&b, Subsidy(BE(data, 0, 4)), 3);
      return Reply(code, b);
    }
    case 0x2F:
    case 0x30: {
      if (data.size() != 7) return {};
      const uint32_t card = BE(data, 0, 4), amount = BE(data, 4, 3);
      uint32_t& have = subsidy_[card];
      if (code == 0x2F) {
        if (have + amount > 0xFFFFFF) return TerminalReply(code, {}, 0x01);  // would overflow
        have += amount;
      } else {
        if (amount > have) return TerminalReply(code, {}, 0x01);  // not enough: refused
        have -= amount;
      }
      return ack;
    }
    case 0x31:
      subsidy_.clear();
      return ack;
    case 0x35:
      if (data.size() != 10) return {};
      version_ = data;
      settings_[code] = data;
      return ack;
    case 0x36:
      return Reply(code, version_);
    case 0x41: {  // flash: address (3), length (1)
      if (data.size() != 4) return {};
      const uint32_t at = BE(data, 0, 3);
      Bytes b;
      for (uint32_t i = 0; i < data[3]; ++i) b.push_back(FlashByte(at + i));
      return Reply(code, b);
    }
    case 0x42:  // back to the terminal's defaults
      settings_.clear();
      subsidy_.clear();
      black_.clear();
      return ack;
    case 0x43:
      return ack;
    case 0x44: {
      Bytes b;
      PutBE(&b, static_cast<uint32_t>(deleted_.size()), 2);
      return Reply(code, b);
    }
    case 0x45:
      if (data.size() != 6) return {};
      factoryTime_ = data;
      settings_[code] = data;
      return ack;
    case 0x46:
      return Reply(code, factoryTime_);
    case 0x47: {
      Bytes b;
      PutBE(&b, day_[0], 2);
      PutBE(&b, day_[1], 4);
      return Reply(code, b);
    }
    case 0x4C: {  // font bytes into flash: address (3), n (2), bytes
      if (data.size() < 5 || data.size() != 5 + BE(data, 3, 2)) return {};
      const uint32_t at = BE(data, 0, 3);
      for (size_t i = 5; i < data.size(); ++i) flash_[at + static_cast<uint32_t>(i - 5)] = data[i];
      settings_[code] = data;
      return ack;
    }
    default:
      break;
  }
  // Every other known command sets something and is acknowledged.
  static const std::set<uint8_t> kSettings = {
      0x08, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17,
      0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x32, 0x33, 0x34, 0x37,
      0x38, 0x39, 0x40, 0x48, 0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x55, 0x56, 0x57};
  if (!kSettings.count(code)) return {};
  settings_[code] = data;
  return ack;
}

Bytes TerminalModel::PollAnswer(double nowMs) {
  if (!hasEvent_) return {};  // kept until a money frame serves it
  lastAnswerMs_ = nowMs;
  Bytes a = {event_.status};
  PutBE(&a, event_.card, 3);
  a.push_back(static_cast<uint8_t>(device_));
  if (event_.status != 0x64) {
    PutBE(&a, event_.first, 3);
    PutBE(&a, event_.second, 3);
  }
  uint8_t x = 0;
  for (uint8_t b : a) x ^= b;
  a.push_back(x);
  return a;
}

void TerminalModel::MoneyFrame(const Bytes& frame, double nowMs) {
  (void)nowMs;
  lastMoney_ = sim::Hex(frame);
  ++moneyFrames_;
  hasEvent_ = false;
}

}  // namespace terminalsim
