#include "Win32SerialPort.h"

namespace dorvex {

namespace {
constexpr DWORD kQueueBytes = 1024;
}  // namespace

Win32SerialPort::~Win32SerialPort() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool Win32SerialPort::Open(const std::string& device, uint32_t baud) {
  handle_ = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  if (!Configure(baud)) {
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return false;
  }
  return true;
}

// 8 data bits, no parity, one stop bit at the given baud. The frames carry
// every byte value, so the line must pass all 256 unchanged: binary mode (the
// only mode the platform supports), no XON/XOFF (0x11 and 0x13 are data), no
// NUL stripping, no error-character replacement, and no CTS/DSR handshake that
// a reader which does not drive those lines would hold up. DTR and RTS are
// raised, as readers powered from the port expect.
bool Win32SerialPort::Configure(uint32_t baud) {
  DCB dcb;
  ZeroMemory(&dcb, sizeof dcb);
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(handle_, &dcb)) return false;
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
  if (!SetCommState(handle_, &dcb)) return false;
  return SetupComm(handle_, kQueueBytes, kQueueBytes) != FALSE;
}

bool Win32SerialPort::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  PurgeComm(handle_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
  const BOOL closed = CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  return closed != FALSE;
}

bool Win32SerialPort::Purge() {
  return PurgeComm(handle_, PURGE_TXCLEAR | PURGE_RXCLEAR) != FALSE;
}

bool Win32SerialPort::Write(const uint8_t* data, size_t n, size_t* written) {
  DWORD done = 0;
  const BOOL ok = WriteFile(handle_, data, static_cast<DWORD>(n), &done, nullptr);
  *written = done;
  return ok != FALSE;
}

void Win32SerialPort::ClearError() {
  DWORD errors = 0;
  ClearCommError(handle_, &errors, nullptr);
}

bool Win32SerialPort::GetTimeouts(PortTimeouts* out) {
  COMMTIMEOUTS t;
  if (!GetCommTimeouts(handle_, &t)) return false;
  out->readInterval = t.ReadIntervalTimeout;
  out->readTotalPerByte = t.ReadTotalTimeoutMultiplier;
  out->readTotalConstant = t.ReadTotalTimeoutConstant;
  out->writeTotalPerByte = t.WriteTotalTimeoutMultiplier;
  out->writeTotalConstant = t.WriteTotalTimeoutConstant;
  return true;
}

bool Win32SerialPort::SetTimeouts(const PortTimeouts& p) {
  COMMTIMEOUTS t;
  t.ReadIntervalTimeout = p.readInterval;
  t.ReadTotalTimeoutMultiplier = p.readTotalPerByte;
  t.ReadTotalTimeoutConstant = p.readTotalConstant;
  t.WriteTotalTimeoutMultiplier = p.writeTotalPerByte;
  t.WriteTotalTimeoutConstant = p.writeTotalConstant;
  return SetCommTimeouts(handle_, &t) != FALSE;
}

bool Win32SerialPort::Read(uint8_t* buf, size_t n, size_t* got) {
  DWORD done = 0;
  const BOOL ok = ReadFile(handle_, buf, static_cast<DWORD>(n), &done, nullptr);
  *got = done;
  return ok != FALSE;
}

}  // namespace dorvex
