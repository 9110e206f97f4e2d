#include "Win32SerialPort.h"

#include "Win32SerialLine.h"

namespace dorvex {

Win32SerialPort::~Win32SerialPort() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool Win32SerialPort::Open(const std::string& device, uint32_t baud) {
  handle_ = serial::OpenLine(device.c_str(), baud);
  return handle_ != INVALID_HANDLE_VALUE;
}

bool Win32SerialPort::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  const bool closed = serial::CloseLine(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  return closed;
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
