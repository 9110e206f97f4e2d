#include "TerminalBus.h"

#include <cstdlib>
#include <sstream>

namespace terminalsim {

using sim::Bytes;
using sim::Words;

namespace {

// Fault kinds: the envelope ones, and record downloads whose reply announces
// a given length ("len0" ... "len1019"); "pollxor" spoils a poll answer.
const std::vector<std::string> kFaultKinds = {
    "silence", "late", "split", "checksum", "code", "status", "pollxor",
    "len0", "len2", "len5", "len1018", "len1019"};

constexpr double kPartialGapMs = 200;  // a partial frame older than this is dropped

bool Number(const std::string& s, long lo, long hi, long* out, int base = 10) {
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, base);
  if (s.empty() || *end || v < lo || v > hi) return false;
  *out = v;
  return true;
}

}  // namespace

TerminalBus::TerminalBus(sim::SimCore& core, const std::vector<uint16_t>& devices) : core_(core) {
  for (uint16_t d : devices) terminals_.push_back(std::make_unique<TerminalModel>(d));
}

TerminalModel* TerminalBus::Find(uint16_t device) {
  for (auto& t : terminals_)
    if (t->Device() == device) return t.get();
  return nullptr;
}

void TerminalBus::OnBytes(const uint8_t* data, size_t n) {
  switch (core_.RxParity()) {
    case 'N':
      commands_.Feed(data, n, sim::NowMs(), [this](const Bytes& f) { OnCommandFrame(f); },
                     [this](const Bytes& b) { core_.Log("stray", b); });
      break;
    case 'M':
      OnPollBytes(data, n);
      break;
    case 'S':
      OnMoneyBytes(data, n);
      break;
    default:
      core_.Log(std::string("parity-") + core_.RxParity(), Bytes(data, data + n));
      break;
  }
}

// A command frame, with no parity: the terminal with its device number answers.
void TerminalBus::OnCommandFrame(const Bytes& f) {
  if (f.size() < 9 || sim::PayloadXor(f) != f.back()) {
    core_.Log("bad", f);
    return;
  }
  core_.Log("frame", f);
  const uint8_t code = f[5];
  TerminalModel* t = Find(static_cast<uint16_t>((f[6] << 8) | f[7]));
  if (!t) return;  // nobody of that number on the bus
  const std::vector<sim::FaultRule> fired = faults_.Take(code);
  Bytes reply;
  double delay = 0, gap = 0;
  int pieces = 1;
  bool silent = false;
  for (const sim::FaultRule& r : fired) {
    if (r.kind == "silence") silent = true;
    if (r.kind.rfind("len", 0) == 0 && (code == 0x26 || code == 0x28))
      reply = RecordLengthReply(code, std::strtoul(r.kind.c_str() + 3, nullptr, 10));
  }
  if (reply.empty()) reply = t->Handle(f, sim::NowMs());
  if (silent || reply.empty()) return;
  for (const sim::FaultRule& r : fired) {
    sim::CorruptFrame(r.kind, &reply);
    if (r.kind == "late") delay += r.ms;
    if (r.kind == "split") {
      pieces = r.pieces;
      gap = r.ms;
    }
  }
  core_.Send(reply, delay, pieces, gap);
}

// A download reply announcing `len` whatever it carries: the count byte 1
// and len - 3 record bytes (as many as a frame of that length holds).
Bytes TerminalBus::RecordLengthReply(uint8_t code, size_t len) const {
  Bytes data;
  if (len >= 3) {
    data.push_back(1);
    for (size_t i = 0; i + 3 < len; ++i) data.push_back(static_cast<uint8_t>(i));
  }
  Bytes f = TerminalReply(code, data);
  f[3] = static_cast<uint8_t>(len >> 8);  // the length announced (the checksum does not cover it)
  f[4] = static_cast<uint8_t>(len);
  return f;
}

// Poll requests, with mark parity: 88, address, address ^ 88.
void TerminalBus::OnPollBytes(const uint8_t* data, size_t n) {
  const double now = sim::NowMs();
  if (!poll_.empty() && now - pollAt_ > kPartialGapMs) poll_.clear();
  pollAt_ = now;
  poll_.insert(poll_.end(), data, data + n);
  while (!poll_.empty()) {
    if (poll_[0] != 0x88) {
      core_.Log("stray", Bytes(poll_.begin(), poll_.begin() + 1));
      poll_.erase(poll_.begin());
      continue;
    }
    if (poll_.size() < 3) return;
    const Bytes req(poll_.begin(), poll_.begin() + 3);
    poll_.erase(poll_.begin(), poll_.begin() + 3);
    if ((req[1] ^ 0x88) != req[2]) {
      core_.Log("bad", req);
      continue;
    }
    core_.Log("poll", req);
    ++polls_;
    for (auto& t : terminals_) {
      if ((t->Device() & 0xFF) != req[1]) continue;
      Bytes answer = t->PollAnswer(now);
      if (answer.empty()) continue;
      bool silent = false;
      for (const sim::FaultRule& r : faults_.Take(0x88)) {
        if (r.kind == "pollxor") answer.back() ^= 0xFF;
        if (r.kind == "silence") silent = true;
      }
      if (!silent) core_.Send(answer);
    }
  }
}

// Addressed money frames, with space parity:
// 5E 5E 7F, device (2), Len (2), code, value, amounts, XOR of the Len bytes.
void TerminalBus::OnMoneyBytes(const uint8_t* data, size_t n) {
  const double now = sim::NowMs();
  if (!money_.empty() && now - moneyAt_ > kPartialGapMs) money_.clear();
  moneyAt_ = now;
  money_.insert(money_.end(), data, data + n);
  while (money_.size() >= 7) {
    if (money_[0] != 0x5E || money_[1] != 0x5E || money_[2] != 0x7F) {
      core_.Log("stray", Bytes(money_.begin(), money_.begin() + 1));
      money_.erase(money_.begin());
      continue;
    }
    const size_t len = static_cast<size_t>((money_[5] << 8) | money_[6]);
    if (money_.size() < 8 + len) return;
    const Bytes f(money_.begin(), money_.begin() + 8 + len);
    money_.erase(money_.begin(), money_.begin() + 8 + len);
    uint8_t x = 0;
    for (size_t i = 7; i < 7 + len; ++i) x ^= f[i];
    if (x != f.back()) {
      core_.Log("bad", f);
      continue;
    }
    core_.Log("money", f);
    if (TerminalModel* t = Find(static_cast<uint16_t>((f[3] << 8) | f[4]))) t->MoneyFrame(f, now);
  }
}

std::string TerminalBus::Help() const {
  return "devices                     the device numbers on the bus\n"
         "reset DEV                   the terminal as new: no settings, records or subsidies\n"
         "records DEV N               add N transaction records\n"
         "card DEV CARD [STATUS V1 V2]  a card to report at polls until a money frame comes (status 64, 65, 66)\n"
         "money DEV A B C | daymoney DEV A B   the figures GetAllMoneyInfo/GetDayMoneyInfo read\n"
         "get DEV setting HH          the data of the last request with code HH\n"
         "get DEV records             total collected\n"
         "get DEV subsidy CARD | get DEV black CARD | get DEV blacksize\n"
         "get DEV clock               YYMMDDhhmmss\n"
         "get DEV moneyframe          count and the last addressed money frame\n"
         "get DEV answered            ms since the terminal's last poll answer\n"
         "get polls                   poll requests received\n"
         "get tcp                     the TCP line's port (0 on a COM port)\n"
         "accept on|off               TCP line: take connections, or leave them pending\n"
         "fault KIND [N|always] [code=HH] [skip=N] [ms=N] [pieces=N]\n"
         "  KIND: silence late split checksum code status pollxor (code=88 for polls)\n"
         "        len0 len2 len5 len1018 len1019 (record downloads announcing that length)\n"
         "fault clear | get faults\n"
         "log | log clear             what came in: frame|poll|money|bad|stray|parity-X <hex>\n"
         "get line | get opens | pace off|line|BAUD | ping | help | quit\n";
}

std::string TerminalBus::OnCommand(const Words& w) {
  const size_t n = w.size();
  const std::string& c = w[0];
  long dev = 0, a = 0, b = 0, v = 0;
  if (c == "devices" && n == 1) {
    std::string r = "ok";
    for (auto& t : terminals_) r += " " + std::to_string(t->Device());
    return r;
  }
  if (c == "fault" && n == 2 && w[1] == "clear") {
    faults_.Clear();
    return "ok";
  }
  if (c == "fault") {
    const std::string e = faults_.Add(Words(w.begin() + 1, w.end()), kFaultKinds);
    return e.empty() ? "ok" : "err " + e;
  }
  if (c == "get" && n == 2 && w[1] == "faults") return faults_.Describe() + "ok";
  if (c == "get" && n == 2 && w[1] == "polls") return "ok " + std::to_string(polls_);
  if (c == "get" && n == 2 && w[1] == "tcp") return "ok " + std::to_string(core_.TcpPort());
  if (c == "accept" && n == 2 && (w[1] == "on" || w[1] == "off")) {
    core_.SetAccepting(w[1] == "on");
    return "ok";
  }
  if (n < 2 || !Number(w[c == "get" ? 1 : 1], 1, 65535, &dev)) return "err unknown command (try help)";
  TerminalModel* t = Find(static_cast<uint16_t>(dev));
  if (!t) return "err no terminal " + w[1];
  if (c == "reset" && n == 2) {
    for (auto& slot : terminals_)
      if (slot.get() == t) slot = std::make_unique<TerminalModel>(static_cast<uint16_t>(dev));
    return "ok";
  }
  if (c == "records" && n == 3 && Number(w[2], 0, 100000, &a)) {
    t->AddRecords(static_cast<size_t>(a));
    return "ok " + std::to_string(t->RecordCount());
  }
  if (c == "card" && (n == 3 || n == 6) && Number(w[2], 0, 0xFFFFFF, &a)) {
    CardEvent e;
    e.card = static_cast<uint32_t>(a);
    if (n == 6) {
      if (!Number(w[3], 0x64, 0x66, &v, 16) || !Number(w[4], 0, 0xFFFFFF, &a) ||
          !Number(w[5], 0, 0xFFFFFF, &b))
        return "err bad card event";
      e.status = static_cast<uint8_t>(v);
      e.first = static_cast<uint32_t>(a);
      e.second = static_cast<uint32_t>(b);
    }
    t->SetEvent(e);
    return "ok";
  }
  if (c == "money" && n == 5 && Number(w[2], 0, 0xFFFF, &a) && Number(w[3], 0, 0x7FFFFFFF, &b) &&
      Number(w[4], 0, 0xFFFF, &v)) {
    t->SetMoney(static_cast<uint32_t>(a), static_cast<uint32_t>(b), static_cast<uint32_t>(v));
    return "ok";
  }
  if (c == "daymoney" && n == 4 && Number(w[2], 0, 0xFFFF, &a) && Number(w[3], 0, 0x7FFFFFFF, &b)) {
    t->SetDayMoney(static_cast<uint32_t>(a), static_cast<uint32_t>(b));
    return "ok";
  }
  if (c != "get" || n < 3) return "err unknown command (try help)";
  const std::string& what = w[2];
  if (what == "setting" && n == 4 && Number(w[3], 0, 0xFF, &a, 16)) {
    const std::string s = t->Setting(static_cast<uint8_t>(a));
    return s.empty() ? "err nothing set" : "ok " + s;
  }
  if (what == "records" && n == 3)
    return "ok " + std::to_string(t->RecordCount()) + " " + std::to_string(t->Collected());
  if (what == "subsidy" && n == 4 && Number(w[3], 0, 0x7FFFFFFF, &a))
    return "ok " + std::to_string(t->Subsidy(static_cast<uint32_t>(a)));
  if (what == "black" && n == 4 && Number(w[3], 0, 0x7FFFFFFF, &a))
    return t->Blacklisted(static_cast<uint32_t>(a)) ? "ok 1" : "ok 0";
  if (what == "blacksize" && n == 3) return "ok " + std::to_string(t->BlacklistSize());
  if (what == "clock" && n == 3) return "ok " + t->Clock(sim::NowMs());
  if (what == "moneyframe" && n == 3)
    return "ok " + std::to_string(t->MoneyFrames()) + " " + (t->MoneyFrames() ? t->LastMoneyFrame() : "-");
  if (what == "answered" && n == 3)
    return "ok " + std::to_string(static_cast<long>(sim::NowMs() - t->LastPollAnswerMs()));
  return "err unknown command (try help)";
}

}  // namespace terminalsim
