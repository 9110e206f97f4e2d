#include "Win32SerialPort.h"

namespace halvin {

bool Win32SerialPort::Open(const char* device, uint32_t baud) { return line_.Open(device, baud); }

bool Win32SerialPort::Close() { return line_.Close(); }

bool Win32SerialPort::SetParity(char letter) {
  DCB dcb = {};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(line_.Handle(), &dcb)) return false;
  switch (letter) {
    case 'E': dcb.Parity = EVENPARITY; break;
    case 'M': dcb.Parity = MARKPARITY; break;
    case 'N': dcb.Parity = NOPARITY; break;
    case 'O': dcb.Parity = ODDPARITY; break;
    case 'S': dcb.Parity = SPACEPARITY; break;
    default: break;
  }
  dcb.StopBits = ONESTOPBIT;
  dcb.fParity = TRUE;
  return SetCommState(line_.Handle(), &dcb) != 0;
}

void Win32SerialPort::Purge() {
  PurgeComm(line_.Handle(), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
}

bool Win32SerialPort::Write(const uint8_t* bytes, size_t n) {
  DWORD written = 0;
  if (WriteFile(line_.Handle(), bytes, static_cast<DWORD>(n), &written, nullptr) && written == n)
    return true;
  DWORD errors = 0;
  ClearCommError(line_.Handle(), &errors, nullptr);
  return false;
}

bool Win32SerialPort::Flush() { return FlushFileBuffers(line_.Handle()) != 0; }

bool Win32SerialPort::BeginRead(const ReadTimeouts& t) {
  if (!GetCommTimeouts(line_.Handle(), &saved_)) return false;
  COMMTIMEOUTS read = saved_;
  read.ReadIntervalTimeout = t.interval;
  read.ReadTotalTimeoutMultiplier = t.perByte;
  read.ReadTotalTimeoutConstant = t.constant;
  return SetCommTimeouts(line_.Handle(), &read) != 0;
}

size_t Win32SerialPort::Read(uint8_t* buffer, size_t n) {
  DWORD got = 0;
  if (!ReadFile(line_.Handle(), buffer, static_cast<DWORD>(n), &got, nullptr)) return 0;
  return got;
}

void Win32SerialPort::EndRead() { SetCommTimeouts(line_.Handle(), &saved_); }

}  // namespace halvin
