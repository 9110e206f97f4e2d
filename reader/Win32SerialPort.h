// The serial port and clock of the platform, behind the link's seam.
#pragma once
#include <windows.h>

#include "SerialPort.h"
#include "Win32SerialLine.h"

namespace dorvex {

class Win32SerialPort : public SerialPort {
 public:
  bool Open(const std::string& device, uint32_t baud) override;
  bool Close() override;
  bool Purge() override;
  bool Write(const uint8_t* data, size_t n, size_t* written) override;
  void ClearError() override;
  bool GetTimeouts(PortTimeouts* out) override;
  bool SetTimeouts(const PortTimeouts& t) override;
  bool Read(uint8_t* buf, size_t n, size_t* got) override;

 private:
  serial::Line line_;
};

class Win32Clock : public Clock {
 public:
  uint32_t TickMs() override { return GetTickCount(); }
  void SleepMs(uint32_t ms) override { Sleep(ms); }
};

}  // namespace dorvex
