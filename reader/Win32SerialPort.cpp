#include "Win32SerialPort.h"

namespace dorvex {

bool Win32SerialPort::Open(const std::string& device, uint32_t baud) {
  return line_.Open(device.c_str(), baud);
}

bool Win32SerialPort::Close() { return line_.Close(); }

bool Win32SerialPort::Purge() {
  return PurgeComm(line_.Handle(), PURGE_TXCLEAR | PURGE_RXCLEAR) != FALSE;
}

bool Win32SerialPort::Write(const uint8_t* data, size_t n, size_t* written) {
  DWORD done = 0;
  const BOOL ok = WriteFile(line_.Handle(), data, static_cast<DWORD>(n), &done, nullptr);
  *written = done;
  return ok != FALSE;
}

void Win32SerialPort::ClearError() {
  DWORD errors = 0;
  ClearCommError(line_.Handle(), &errors, nullptr);
}

bool Win32SerialPort::GetTimeouts(PortTimeouts* out) {
  COMMTIMEOUTS t;
  if (!GetCommTimeouts(line_.Handle(), &t)) return false;
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
  return SetCommTimeouts(line_.Handle(), &t) != FALSE;
}

bool Win32SerialPort::Read(uint8_t* buf, size_t n, size_t* got) {
  DWORD done = 0;
  const BOOL ok = ReadFile(line_.Handle(), buf, static_cast<DWORD>(n), &done, nullptr);
  *got = done;
  return ok != FALSE;
}

}  // namespace dorvex
