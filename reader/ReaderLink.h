// The reader's serial link: the one port the library keeps open, the
// open-and-close frame of the exports, and the single request/reply exchange
// that carries every reader command.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "SerialPort.h"

namespace dorvex {

// Line settings and time-outs of the link.
constexpr uint32_t kMinPort = 1;
constexpr uint32_t kMaxPort = 99;
constexpr uint32_t kReadIntervalMs = 50;
constexpr uint32_t kReadPerByteMs = 20;
constexpr uint32_t kReadConstantMs = 500;
constexpr uint32_t kReadLoopLimitMs = 1000;

// "COMn" for n = 1-9, "\\.\COMn" for n = 10-99 (the platform reaches ports
// above 9 only through the device namespace).
std::string ComDeviceName(uint32_t n);

class ReaderLink {
 public:
  ReaderLink(SerialPort& port, Clock& clock) : port_(port), clock_(clock) {}

  // Opens COMn at `baud`. A port still open is closed first, so its handle
  // is never lost. Returns 1 or 0; n outside 1-99 touches no device.
  int Open(uint32_t n, uint32_t baud);
  // Purges and closes the open port: 1 when the close succeeded, 0 when no
  // port was open or the close failed.
  int Close();
  bool IsOpen() const { return open_; }

  // Clears both queues, then writes all n bytes. Fails on a closed port.
  bool ComWriteFrame(const uint8_t* bytes, size_t n);
  // Reads exactly n bytes within the read loop's limit.
  bool ComReadExact(uint8_t* buf, size_t n);
  // One command: frames `payload` (code first), writes it, reads the reply of
  // `replyLen` bytes and accepts it (length, checksum, start and address
  // bytes, the echoed code, the success status). `reply` is scratch until the
  // exchange succeeds.
  bool Exchange(const uint8_t* payload, size_t n, uint8_t* reply, size_t replyLen);

 private:
  SerialPort& port_;
  Clock& clock_;
  bool open_ = false;
};

// The calling frame of every card and reader export: with a nonzero flag the
// export opens the port itself and closes it on every way out; with 0 it uses
// the port opened before, and port and baud are ignored.
class LinkSession {
 public:
  LinkSession(ReaderLink& link, int32_t flag, int32_t port, int32_t baud);
  ~LinkSession();
  LinkSession(const LinkSession&) = delete;
  LinkSession& operator=(const LinkSession&) = delete;
  // False when the flag asked for an open and it failed.
  bool Ready() const { return ready_; }

 private:
  ReaderLink& link_;
  bool opened_ = false;
  bool ready_ = true;
};

}  // namespace dorvex
