#include "Win32SerialLine.h"

namespace serial {

namespace {

constexpr DWORD kQueueBytes = 1024;
constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

// 8 data bits, no parity, one stop bit at the given baud. The frames carry
// every byte value, so the line must pass all 256 unchanged: binary mode (the
// only mode the platform supports), no XON/XOFF (0x11 and 0x13 are data), no
// NUL stripping, no error-character replacement, and no CTS/DSR handshake that
// a device which does not drive those lines would hold up. DTR and RTS are
// raised, as devices powered from the port expect.
bool Configure(HANDLE handle, uint32_t baud) {
  DCB dcb = {};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(handle, &dcb)) return false;
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
  if (!SetCommState(handle, &dcb)) return false;
  return SetupComm(handle, kQueueBytes, kQueueBytes) != FALSE;
}

}  // namespace

bool Line::Open(const char* device, uint32_t baud) {
  Close();
  HANDLE h = CreateFileA(device, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  if (!Configure(h, baud)) {
    CloseHandle(h);
    return false;
  }
  handle_ = h;
  return true;
}

bool Line::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  PurgeComm(handle_, kPurgeAll);
  const bool closed = CloseHandle(handle_) != FALSE;
  handle_ = INVALID_HANDLE_VALUE;
  return closed;
}

}  // namespace serial
