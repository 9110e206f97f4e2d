// The narrow seam between the reader protocol and the platform: a serial
// port and a millisecond clock. The library uses the Win32 implementations;
// the native tests put a scripted port and a virtual clock behind it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace dorvex {

// Time-outs of a port, in milliseconds, as the platform keeps them.
struct PortTimeouts {
  uint32_t readInterval = 0;
  uint32_t readTotalPerByte = 0;
  uint32_t readTotalConstant = 0;
  uint32_t writeTotalPerByte = 0;
  uint32_t writeTotalConstant = 0;
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Opens `device` for reading and writing, unshared, and sets the line:
  // `baud`, 8 data bits, no parity, one stop bit, 8-bit clean, no flow
  // control, 1024-byte driver queues. On failure nothing stays open.
  virtual bool Open(const std::string& device, uint32_t baud) = 0;
  // Drops whatever is pending in both directions and closes the device.
  // Returns the platform's close result.
  virtual bool Close() = 0;
  // Clears the input and output queues.
  virtual bool Purge() = 0;
  // Writes n bytes; *written gets the count that went out.
  virtual bool Write(const uint8_t* data, size_t n, size_t* written) = 0;
  // Clears the port's error state after a failed write.
  virtual void ClearError() = 0;
  virtual bool GetTimeouts(PortTimeouts* out) = 0;
  virtual bool SetTimeouts(const PortTimeouts& t) = 0;
  // Reads at most n bytes under the time-outs set; *got gets the count read.
  virtual bool Read(uint8_t* buf, size_t n, size_t* got) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t TickMs() = 0;       // wraps after 49.7 days; compare differences
  virtual void SleepMs(uint32_t ms) = 0;
};

}  // namespace dorvex
