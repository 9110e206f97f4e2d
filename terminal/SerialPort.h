// The serial port as the terminal link needs it. The DLL implements it over
// the Windows communications API; the tests use a scripted fake.
#pragma once
#include <cstddef>
#include <cstdint>

namespace halvin {

// Read time-outs of one exact-length read, in milliseconds.
struct ReadTimeouts {
  uint32_t interval;
  uint32_t perByte;
  uint32_t constant;
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Opens `device` ("COM3", "\\.\COM12") for reading and writing, not shared,
  // and sets `baud`, 8 data bits, no parity, one stop bit, 8-bit clean, no
  // flow control, 1024-byte queues each way. On any failure nothing stays
  // open and the result is false.
  virtual bool Open(const char* device, uint32_t baud) = 0;
  // Aborts and clears both directions, closes the handle; the close result.
  virtual bool Close() = 0;
  // Reads the line settings, sets the parity named by `letter` ("E", "M",
  // "N", "O", "S"; another letter keeps the parity as it is), one stop bit
  // and parity checking on, and writes them back.
  virtual bool SetParity(char letter) = 0;
  // Drops whatever is pending in either direction.
  virtual void Purge() = 0;
  // True only when all n bytes went out; a failed write clears the port's
  // error state.
  virtual bool Write(const uint8_t* bytes, size_t n) = 0;
  // Waits until the written bytes have left the port.
  virtual bool Flush() = 0;
  // Saves the port's time-outs and sets these read time-outs.
  virtual bool BeginRead(const ReadTimeouts& timeouts) = 0;
  // One read of at most n bytes under the time-outs set; the count read.
  virtual size_t Read(uint8_t* buffer, size_t n) = 0;
  // Puts back the time-outs saved by BeginRead.
  virtual void EndRead() = 0;
};

}  // namespace halvin
