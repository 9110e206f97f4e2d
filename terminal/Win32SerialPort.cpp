#include "Win32SerialPort.h"

#include "Win32SerialLine.h"

namespace halvin {

bool Win32SerialPort::Open(const char* device, uint32_t baud) {
  if (handle_ != INVALID_HANDLE_VALUE) Close();
  handle_ = serial::OpenLine(device, baud);
  return handle_ != INVALID_HANDLE_VALUE;
}

bool Win32SerialPort::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  const bool closed = serial::CloseLine(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  return closed;
}

bool Win32SerialPort::SetParity(char letter) {
  DCB dcb = {};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(handle_, &dcb)) return false;
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
  return SetCommState(handle_, &dcb) != 0;
}

void Win32SerialPort::Purge() {
  PurgeComm(handle_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
}

bool Win32SerialPort::Write(const uint8_t* bytes, size_t n) {
  DWORD written = 0;
  if (WriteFile(handle_, bytes, static_cast<DWORD>(n), &written, nullptr) && written == n)
    return true;
  DWORD errors = 0;
  ClearCommError(handle_, &errors, nullptr);
  return false;
}

bool Win32SerialPort::Flush() { return FlushFileBuffers(handle_) != 0; }

bool Win32SerialPort::BeginRead(const ReadTimeouts& t) {
  if (!GetCommTimeouts(handle_, &saved_)) return false;
  COMMTIMEOUTS read = saved_;
  read.ReadIntervalTimeout = t.interval;
  read.ReadTotalTimeoutMultiplier = t.perByte;
  read.ReadTotalTimeoutConstant = t.constant;
  return SetCommTimeouts(handle_, &read) != 0;
}

size_t Win32SerialPort::Read(uint8_t* buffer, size_t n) {
  DWORD got = 0;
  if (!ReadFile(handle_, buffer, static_cast<DWORD>(n), &got, nullptr)) return 0;
  return got;
}

void Win32SerialPort::EndRead() { SetCommTimeouts(handle_, &saved_); }

}  // namespace halvin
