#include "Win32SerialPort.h"

namespace halvin {

namespace {
constexpr DWORD kQueueBytes = 1024;
constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
}  // namespace

bool Win32SerialPort::Open(const char* device, uint32_t baud) {
  if (handle_ != INVALID_HANDLE_VALUE) Close();
  HANDLE h = CreateFileA(device, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  // 8 data bits, no parity, one stop bit. Frames carry every byte value, so
  // the line passes all 256 unchanged: binary mode (the only one the
  // platform has), no XON/XOFF (0x11 and 0x13 are data), no NUL stripping or
  // error-character replacement, and no CTS/DSR handshake that terminals
  // which do not drive those lines would hold up.
  DCB dcb = {};
  dcb.DCBlength = sizeof dcb;
  bool ok = GetCommState(h, &dcb) != 0;
  if (ok) {
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = FALSE;
    ok = SetCommState(h, &dcb) != 0 && SetupComm(h, kQueueBytes, kQueueBytes) != 0;
  }
  if (!ok) {
    CloseHandle(h);
    return false;
  }
  handle_ = h;
  return true;
}

bool Win32SerialPort::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  PurgeComm(handle_, kPurgeAll);
  const bool closed = CloseHandle(handle_) != 0;
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

void Win32SerialPort::Purge() { PurgeComm(handle_, kPurgeAll); }

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
