// Scripted stand-ins for the serial port, the socket and the clock, so that
// the terminal link, the command cycle and the polling run without a device.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "Clock.h"
#include "Link.h"
#include "NetSocket.h"
#include "SerialPort.h"
#include "TerminalReply.h"

namespace halvin::test {

using Bytes = std::vector<uint8_t>;

// Time moves only when something sleeps or a read waits out its time-out.
class FakeClock : public Clock {
 public:
  uint32_t Ticks() override { return ticks_; }
  uint32_t TimeOfDay() override { return day_ % kMsPerDay; }
  void Sleep(uint32_t ms) override {
    slept_ += ms;
    Advance(ms);
  }
  void Advance(uint32_t ms) {
    ticks_ += ms;
    day_ = (day_ + ms) % kMsPerDay;
  }
  void SetTimeOfDay(uint32_t ms) { day_ = ms % kMsPerDay; }
  uint32_t slept_ = 0;

 private:
  uint32_t ticks_ = 1000000;
  uint32_t day_ = 12 * 3600 * 1000;  // noon
};

// A chunk of input becomes readable once the clock reaches its time.
struct Chunk {
  Bytes bytes;
  uint32_t delayMs = 0;  // after the write that caused it
};

// What the far end does with one written frame: the chunks it sends back.
using Responder = std::function<std::vector<Chunk>(const Bytes& written, char parity)>;

// What the far end has sent: chunks that become readable once the clock
// reaches their time.
class TimedInput {
 public:
  explicit TimedInput(FakeClock& clock) : clock_(clock) {}

  void Feed(Bytes bytes, uint32_t delayMs = 0) {
    chunks_.push_back({std::move(bytes), clock_.Ticks() + delayMs});
  }
  // The chunks `respond` sends back for a written frame.
  void Answer(const Responder& respond, const Bytes& written, char parity) {
    if (respond)
      for (Chunk& c : respond(written, parity)) Feed(std::move(c.bytes), c.delayMs);
  }
  bool AnyDue() const { return !chunks_.empty() && chunks_.front().due <= clock_.Ticks(); }
  // The bytes readable now.
  size_t Due() const {
    size_t n = 0;
    for (const Pending& p : chunks_)
      if (p.due <= clock_.Ticks()) n += p.bytes.size();
    return n;
  }
  // Takes up to n readable bytes, from the first chunk only when `oneChunk`.
  size_t Take(uint8_t* buffer, size_t n, bool oneChunk) {
    size_t got = 0;
    while (got < n && AnyDue()) {
      Pending& p = chunks_.front();
      const size_t take = std::min(n - got, p.bytes.size());
      std::copy(p.bytes.begin(), p.bytes.begin() + take, buffer + got);
      p.bytes.erase(p.bytes.begin(), p.bytes.begin() + take);
      got += take;
      if (p.bytes.empty()) chunks_.pop_front();
      if (oneChunk) break;
    }
    return got;
  }
  void Clear() { chunks_.clear(); }

 private:
  struct Pending {
    Bytes bytes;
    uint32_t due;
  };
  FakeClock& clock_;
  std::deque<Pending> chunks_;
};

class FakeSerialPort : public SerialPort {
 public:
  explicit FakeSerialPort(FakeClock& clock) : clock_(clock), input(clock) {}

  bool Open(const char* device, uint32_t baud) override {
    log.push_back("open " + std::string(device) + " " + std::to_string(baud));
    if (failOpen) return false;
    open = true;
    parity = 'N';
    return true;
  }
  bool Close() override {
    log.push_back("close");
    open = false;
    input.Clear();
    return closeResult;
  }
  bool SetParity(char letter) override {
    log.push_back(std::string("parity ") + letter);
    if (failParity) return false;
    parity = letter;
    return true;
  }
  void Purge() override {
    log.push_back("purge");
    input.Clear();
  }
  bool Write(const uint8_t* b, size_t n) override {
    Bytes w(b, b + n);
    writes.push_back(w);
    writeParity.push_back(parity);
    writeTimes.push_back(clock_.TimeOfDay());
    log.push_back("write " + std::to_string(n));
    if (failWrite) return false;
    input.Answer(respond, w, parity);
    return true;
  }
  bool Flush() override {
    log.push_back("flush");
    return true;
  }
  bool BeginRead(const ReadTimeouts& t) override {
    timeouts = t;
    reads.push_back(t);
    return !failTimeouts;
  }
  // Hands over what is due now; waits out the time-out when short.
  size_t Read(uint8_t* buffer, size_t n) override {
    const size_t got = input.Take(buffer, n, false);
    if (got < n) clock_.Advance(timeouts.constant + timeouts.perByte * static_cast<uint32_t>(n));
    return got;
  }
  void EndRead() override { ++restored; }

  // Bytes the far end sends without being asked.
  void Feed(Bytes b, uint32_t delayMs = 0) { input.Feed(std::move(b), delayMs); }

  Responder respond;
  bool failOpen = false, failParity = false, failWrite = false, failTimeouts = false;
  bool closeResult = true;
  bool open = false;
  char parity = 'N';
  std::vector<std::string> log;
  std::vector<Bytes> writes;
  std::vector<char> writeParity;
  std::vector<uint32_t> writeTimes;
  std::vector<ReadTimeouts> reads;
  ReadTimeouts timeouts = {0, 0, 0};
  int restored = 0;

 private:
  FakeClock& clock_;
  TimedInput input;
};

class FakeSocket : public NetSocket {
 public:
  explicit FakeSocket(FakeClock& clock) : clock_(clock), input(clock) {}

  bool Startup() override {
    ++startups;
    return !failStartup;
  }
  void Cleanup() override { ++cleanups; }
  bool Connect(uint32_t address, uint16_t port, uint32_t connectMs, uint32_t receiveMs) override {
    connectedTo = address;
    connectedPort = port;
    this->connectMs = connectMs;
    this->receiveMs = receiveMs;
    if (failConnect) return false;
    connected = true;
    return true;
  }
  void Close() override {
    ++closes;
    connected = false;
  }
  long Send(const uint8_t* b, size_t n) override {
    Bytes w(b, b + n);
    writes.push_back(w);
    if (shortSend) return static_cast<long>(n) - 1;
    input.Answer(respond, w, 'N');
    return static_cast<long>(n);
  }
  long Receive(uint8_t* buffer, size_t n) override {
    ++receives;
    if (!input.AnyDue()) {
      // Nothing there: a receive waits out its time-out and fails.
      clock_.Advance(receiveWaitMs);
      return -1;
    }
    const size_t take = input.Take(buffer, n, true);  // one segment at a time
    received += take;
    // A flooding peer: every receive brings as many bytes again.
    if (floods > 0) {
      --floods;
      input.Feed(Bytes(take, 0xEE));
    }
    return static_cast<long>(take);
  }
  size_t Waiting() override { return input.Due(); }
  void Feed(Bytes b, uint32_t delayMs = 0) { input.Feed(std::move(b), delayMs); }

  Responder respond;
  bool failStartup = false, failConnect = false, shortSend = false;
  bool connected = false;
  uint32_t connectedTo = 0;
  uint16_t connectedPort = 0;
  uint32_t connectMs = 0, receiveMs = 0;
  uint32_t receiveWaitMs = 50;
  int startups = 0, cleanups = 0, closes = 0, receives = 0;
  size_t received = 0;  // bytes taken by receives
  int floods = 0;       // receives still to be answered with more input
  std::vector<Bytes> writes;

 private:
  FakeClock& clock_;
  TimedInput input;
};

// A link over the fakes.
struct FakeLink {
  FakeClock clock;
  FakeSerialPort serial{clock};
  FakeSocket socket{clock};
  Link link{serial, socket, clock};
};

// Reply frames as a terminal sends them.
using terminalsim::TerminalReply;

}  // namespace halvin::test
