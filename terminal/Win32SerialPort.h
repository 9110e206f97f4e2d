// The serial port over the Windows communications API.
#pragma once
#include <windows.h>

#include "SerialPort.h"
#include "Win32SerialLine.h"

namespace halvin {

class Win32SerialPort : public SerialPort {
 public:
  bool Open(const char* device, uint32_t baud) override;
  bool Close() override;
  bool SetParity(char letter) override;
  void Purge() override;
  bool Write(const uint8_t* bytes, size_t n) override;
  bool Flush() override;
  bool BeginRead(const ReadTimeouts& timeouts) override;
  size_t Read(uint8_t* buffer, size_t n) override;
  void EndRead() override;

 private:
  serial::Line line_;
  COMMTIMEOUTS saved_ = {};
};

}  // namespace halvin
