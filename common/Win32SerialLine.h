// Opening and closing the serial line that carries the device libraries'
// frames. Both libraries set the line up alike; the Win32 half of the common
// routines, built only into the target side.
#pragma once
#include <windows.h>

#include <cstdint>

namespace serial {

// One serial line: owns its handle and knows whether it is open.
class Line {
 public:
  Line() = default;
  Line(const Line&) = delete;
  Line& operator=(const Line&) = delete;
  ~Line() { Close(); }

  // Opens `device` ("COM3", "\\.\COM12") for reading and writing, not
  // shared, existing only, synchronous, closing a line already open first,
  // and sets the line: `baud`, 8 data bits, no parity, one stop bit, every
  // byte value passed unchanged, DTR and RTS raised, 1024-byte driver queues
  // each way. On failure nothing stays open.
  bool Open(const char* device, uint32_t baud);
  // Aborts and clears both directions and closes the handle; the close
  // result. False when nothing was open.
  bool Close();

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Handle() const { return handle_; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace serial
