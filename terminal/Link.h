// The terminal link: the library's process-wide link settings, the serial
// and TCP transports that carry every terminal frame, and the serial parity
// that the bus polling switches.
#pragma once
#include <cstddef>
#include <cstdint>

#include "Clock.h"
#include "NetSocket.h"
#include "SerialPort.h"

namespace halvin {

// What the bus polling keeps between calls; reset whenever the serial link opens.
struct PollState {
  static constexpr size_t kDevices = 256;  // one entry per address byte

  bool polling = false;       // writes keep the queues, reads make one short pass
  uint32_t nextAddress = 1;   // first address tried by the next poll
  bool framed = false;        // an addressed frame went out since the link opened
  uint32_t frameDevice = 1;   // device and time of day of the last addressed frame
  uint32_t frameTime = 0;
  bool answered[kDevices] = {};     // the device answered a poll since the link opened
  uint32_t answerTime[kDevices] = {};  // time of day of its last answer

  void Reset();
};

class Link {
 public:
  static constexpr int kRetryCount = 3;        // attempts of a terminal command
  static constexpr size_t kMaxAddress = 15;    // characters of the IPv4 address text
  static constexpr uint32_t kConnectMs = 3000;
  static constexpr uint32_t kReceiveMs = 3000;
  static constexpr uint32_t kReadLimitMs = 1000;
  static constexpr uint32_t kCloseSettleMs = 200;

  Link(SerialPort& serial, NetSocket& socket, Clock& clock);

  // Stores the link settings for the next Open: mode nonzero = TCP to
  // `address`:`tcpPort` (serial settings kept), 0 = serial port `port` at
  // `baud` (address kept). A missing address, or one longer than 15
  // characters, is refused with 0 and nothing changes.
  int SetConnNetParam(int32_t mode, int32_t port, int32_t baud, const char* address,
                      int32_t tcpPort);
  // Opens the link the settings name, closing an open one first. 1/0.
  int Open();
  // Closes the link that is open (not the one the settings name now).
  // 0 when nothing was open.
  int Close();

  bool IsOpen() const { return open_ != Kind::kNone; }
  bool SerialOpen() const { return open_ == Kind::kSerial; }
  bool TcpOpen() const { return open_ == Kind::kTcp; }

  // Writes a whole frame over the open link: on serial the queues are
  // cleared first (except while polling), on TCP the input already waiting
  // is dropped first (only that much) so that a late reply never answers
  // the next request.
  bool Write(const uint8_t* bytes, size_t n);
  // Reads exactly n bytes within about a second (one short pass while polling).
  bool ReadExact(uint8_t* buffer, size_t n);

  // Sets the serial parity by letter unless it is set already. 1/0.
  bool SetComParity(char letter);
  char Parity() const { return parity_; }
  void PurgeSerial();
  bool FlushSerial();

  PollState& Poll() { return poll_; }
  Clock& Time() { return clock_; }

  // The stored settings (for the tests and the polling).
  int32_t Mode() const { return mode_; }
  int32_t SerialPortNumber() const { return port_; }
  int32_t Baud() const { return baud_; }
  const char* Address() const { return address_; }
  int32_t TcpPort() const { return tcpPort_; }

 private:
  enum class Kind { kNone, kSerial, kTcp };

  bool ComOpen(int32_t n, int32_t baud);
  bool ComClose();
  bool ComWriteFrame(const uint8_t* bytes, size_t n);
  bool ComReadExact(uint8_t* buffer, size_t n);
  bool TcpOpenLink(const char* address, int32_t port);
  void TcpClose();
  void DrainTcpInput();
  bool TcpWriteFrame(const uint8_t* bytes, size_t n);
  bool TcpReadExact(uint8_t* buffer, size_t n);

  SerialPort& serial_;
  NetSocket& socket_;
  Clock& clock_;

  int32_t mode_ = 0;
  int32_t port_ = 1;
  int32_t baud_ = 9600;
  int32_t tcpPort_ = 9566;
  char address_[kMaxAddress + 1] = {};

  Kind open_ = Kind::kNone;
  char parity_ = 'N';
  PollState poll_;
};

// Parses a dotted IPv4 address of four decimal numbers 0-255 ("127.0.0.1")
// into a host-order number. False for anything else.
bool ParseIPv4(const char* text, uint32_t* address);

}  // namespace halvin
