// A scripted serial port on a virtual clock for the native tests of the
// reader protocol. Each frame written pops the next scripted reply, whose
// pieces arrive at given times after the write; reads block like the
// platform's under the read time-outs, advancing the virtual clock.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "Frame.h"
#include "SerialPort.h"

namespace dorvex_test {

using Bytes = std::vector<uint8_t>;

class FakeClock : public dorvex::Clock {
 public:
  uint32_t TickMs() override { return now; }
  void SleepMs(uint32_t ms) override { now += ms; }
  uint32_t now = 1000;
};

struct Piece {
  uint32_t atMs;  // after the write
  Bytes bytes;
};
using Reply = std::vector<Piece>;

// A reply frame for a payload (code, status, data).
inline Bytes Framed(const Bytes& payload) {
  Bytes f(payload.size() + frame::kOverhead);
  frame::BuildFrame(f.data(), f.size(), payload.data(), payload.size());
  return f;
}
inline Reply Now(const Bytes& payload) { return {{0, Framed(payload)}}; }
inline Reply Silence() { return {}; }

class FakePort : public dorvex::SerialPort {
 public:
  explicit FakePort(FakeClock& clock) : clock_(clock) {}

  bool Open(const std::string& device, uint32_t baud) override {
    opened.push_back(device);
    if (failOpen) return false;
    isOpen = true;
    this->baud = baud;
    return true;
  }
  bool Close() override {
    ++closes;
    isOpen = false;
    return true;
  }
  bool Purge() override {
    ++purges;
    inbox_.clear();
    return true;
  }
  bool Write(const uint8_t* data, size_t n, size_t* written) override {
    writes.emplace_back(data, data + n);
    *written = shortWrite ? n - 1 : n;
    if (shortWrite) return true;
    if (!replies.empty()) {
      for (const Piece& p : replies.front()) inbox_.push_back({clock_.now + p.atMs, p.bytes});
      replies.pop_front();
    }
    return true;
  }
  void ClearError() override { ++errorsCleared; }
  bool GetTimeouts(dorvex::PortTimeouts* out) override {
    *out = timeouts;
    return true;
  }
  bool SetTimeouts(const dorvex::PortTimeouts& t) override {
    timeouts = t;
    timeoutHistory.push_back(t);
    return true;
  }
  // Returns what has arrived; with nothing there, waits for the next piece
  // up to the total time-out, as a platform read with time-outs does.
  bool Read(uint8_t* buf, size_t n, size_t* got) override {
    *got = 0;
    ++reads;
    const uint32_t limit = clock_.now + timeouts.readTotalConstant + timeouts.readTotalPerByte * n;
    if (!inbox_.empty() && inbox_.front().at > clock_.now) {
      if (inbox_.front().at > limit) {
        clock_.now = limit;
        return true;
      }
      clock_.now = inbox_.front().at;
    } else if (inbox_.empty()) {
      clock_.now = limit;
      return true;
    }
    while (!inbox_.empty() && inbox_.front().at <= clock_.now && *got < n) {
      Bytes& b = inbox_.front().bytes;
      const size_t take = std::min(b.size(), n - *got);
      std::copy(b.begin(), b.begin() + take, buf + *got);
      *got += take;
      b.erase(b.begin(), b.begin() + take);
      if (b.empty()) inbox_.pop_front();
    }
    return true;
  }

  // Script and record.
  std::deque<Reply> replies;
  std::vector<Bytes> writes;
  std::vector<std::string> opened;
  std::vector<dorvex::PortTimeouts> timeoutHistory;
  dorvex::PortTimeouts timeouts{1, 2, 3, 4, 5};
  bool isOpen = false, failOpen = false, shortWrite = false;
  uint32_t baud = 0;
  int closes = 0, purges = 0, errorsCleared = 0, reads = 0;

 private:
  struct Arrival {
    uint32_t at;
    Bytes bytes;
  };
  FakeClock& clock_;
  std::deque<Arrival> inbox_;
};

}  // namespace dorvex_test
