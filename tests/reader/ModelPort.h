// A serial port whose far end is the simulated reader itself (no pty, no
// timing): every request frame is answered at once by the reader model, so
// that the card record logic runs natively under the sanitizers against a
// real card image. The line can be cut after the n-th block write reaches
// the card, as when the card leaves the field or the cable is pulled.
#pragma once
#include <deque>
#include <string>

#include "FakePort.h"
#include "ReaderModel.h"

namespace dorvex_test {

class ModelPort : public dorvex::SerialPort {
 public:
  explicit ModelPort(FakeClock& clock) : clock_(clock) {}

  bool Open(const std::string&, uint32_t) override {
    ++opens;
    return true;
  }
  bool Close() override { return true; }
  bool Purge() override {
    inbox_.clear();
    return true;
  }
  bool Write(const uint8_t* data, size_t n, size_t* written) override {
    *written = n;
    ++frames;
    if (n < 7 || lineCut) return true;
    const Bytes payload(data + 5, data + n - 1);
    bool wrote = false;
    const Bytes reply = model.Handle(payload, sim::ReaderModel::WriteMode::Store, &wrote);
    if (wrote && ++writesSeen == cutAfterWrite) {
      lineCut = true;
      if (!ackBeforeCut) return true;
    }
    Bytes f(reply.size() + 6);
    frame::BuildFrame(f.data(), f.size(), reply.data(), reply.size());
    inbox_.insert(inbox_.end(), f.begin(), f.end());
    return true;
  }
  void ClearError() override {}
  bool GetTimeouts(dorvex::PortTimeouts* t) override {
    *t = {};
    return true;
  }
  bool SetTimeouts(const dorvex::PortTimeouts&) override { return true; }
  bool Read(uint8_t* buf, size_t n, size_t* got) override {
    *got = 0;
    if (inbox_.empty()) {
      clock_.now += 600;  // a read that times out
      return true;
    }
    while (*got < n && !inbox_.empty()) {
      buf[(*got)++] = inbox_.front();
      inbox_.pop_front();
    }
    return true;
  }

  // Cuts the line once the n-th block write from now is on the card; with
  // `ack`, its acknowledgement still gets through.
  void CutAfterWrite(int n, bool ack) {
    writesSeen = 0;
    cutAfterWrite = n;
    ackBeforeCut = ack;
  }
  void Reconnect() {
    lineCut = false;
    cutAfterWrite = 0;
  }

  sim::ReaderModel model;
  int opens = 0, frames = 0;
  bool lineCut = false;

 private:
  FakeClock& clock_;
  std::deque<uint8_t> inbox_;
  int writesSeen = 0, cutAfterWrite = 0;
  bool ackBeforeCut = false;
};

}  // namespace dorvex_test
