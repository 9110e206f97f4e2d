#include "Link.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace halvin {

namespace {
// Read time-outs of a command reply and of a poll answer.
constexpr ReadTimeouts kCommandTimeouts = {50, 20, 500};
constexpr ReadTimeouts kPollTimeouts = {6, 6, 6};
}  // namespace

void PollState::Reset() {
  polling = false;
  nextAddress = 1;
  framed = false;
  frameDevice = 1;
  frameTime = 0;
  for (size_t i = 0; i < kDevices; ++i) {
    answered[i] = false;
    answerTime[i] = 0;
  }
}

bool ParseIPv4(const char* text, uint32_t* address) {
  if (!text) return false;
  uint32_t result = 0;
  const char* p = text;
  for (int part = 0; part < 4; ++part) {
    if (part > 0 && *p++ != '.') return false;
    uint32_t value = 0;
    int digits = 0;
    while (*p >= '0' && *p <= '9' && digits < 4) {
      value = value * 10 + static_cast<uint32_t>(*p - '0');
      ++p;
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return false;
    result = (result << 8) | value;
  }
  if (*p != '\0') return false;
  *address = result;
  return true;
}

Link::Link(SerialPort& serial, NetSocket& socket, Clock& clock)
    : serial_(serial), socket_(socket), clock_(clock) {}

int Link::SetConnNetParam(int32_t mode, int32_t port, int32_t baud, const char* address,
                          int32_t tcpPort) {
  if (mode != 0) {
    if (!address) return 0;
    size_t len = 0;
    while (len <= kMaxAddress && address[len] != '\0') ++len;
    if (len > kMaxAddress) return 0;
    std::memcpy(address_, address, len);
    address_[len] = '\0';
    tcpPort_ = tcpPort;
  } else {
    port_ = port;
    baud_ = baud;
  }
  mode_ = mode;
  return 1;
}

int Link::Open() {
  if (IsOpen()) Close();
  poll_.polling = false;
  if (mode_ != 0) return TcpOpenLink(address_, tcpPort_) ? 1 : 0;
  return ComOpen(port_, baud_) ? 1 : 0;
}

int Link::Close() {
  switch (open_) {
    case Kind::kSerial:
      return ComClose() ? 1 : 0;
    case Kind::kTcp:
      TcpClose();
      return 1;
    case Kind::kNone:
      break;
  }
  return 0;
}

bool Link::Write(const uint8_t* bytes, size_t n) {
  if (open_ == Kind::kTcp) return TcpWriteFrame(bytes, n);
  if (open_ == Kind::kSerial) return ComWriteFrame(bytes, n);
  return false;
}

bool Link::ReadExact(uint8_t* buffer, size_t n) {
  if (open_ == Kind::kTcp) return TcpReadExact(buffer, n);
  if (open_ == Kind::kSerial) return ComReadExact(buffer, n);
  return false;
}

bool Link::SetComParity(char letter) {
  if (open_ != Kind::kSerial) return false;
  if (letter == parity_) return true;
  if (!serial_.SetParity(letter)) return false;
  parity_ = letter;
  return true;
}

void Link::PurgeSerial() {
  if (open_ == Kind::kSerial) serial_.Purge();
}

bool Link::FlushSerial() { return open_ == Kind::kSerial && serial_.Flush(); }

// --- serial ---------------------------------------------------------------

bool Link::ComOpen(int32_t n, int32_t baud) {
  if (n < 1 || n > 99 || baud <= 0) return false;
  char device[16];
  // Ports above 9 need the device namespace form.
  std::snprintf(device, sizeof device, n <= 9 ? "COM%d" : "\\\\.\\COM%d", static_cast<int>(n));
  if (!serial_.Open(device, static_cast<uint32_t>(baud))) return false;
  open_ = Kind::kSerial;
  parity_ = 'N';
  poll_.Reset();
  return true;
}

bool Link::ComClose() {
  SetComParity('N');
  const bool closed = serial_.Close();
  open_ = Kind::kNone;
  parity_ = 'N';
  return closed;
}

bool Link::ComWriteFrame(const uint8_t* bytes, size_t n) {
  if (!poll_.polling) serial_.Purge();
  return serial_.Write(bytes, n);
}

bool Link::ComReadExact(uint8_t* buffer, size_t n) {
  if (n == 0) return true;
  if (!serial_.BeginRead(poll_.polling ? kPollTimeouts : kCommandTimeouts)) return false;
  const uint32_t start = clock_.Ticks();
  size_t got = 0;
  while (got < n) {
    clock_.Sleep(1);
    got += serial_.Read(buffer + got, n - got);
    if (poll_.polling) break;
    if (clock_.Ticks() - start > kReadLimitMs) break;
  }
  serial_.EndRead();
  return got == n;
}

// --- TCP ------------------------------------------------------------------

bool Link::TcpOpenLink(const char* address, int32_t port) {
  uint32_t ip = 0;
  if (!ParseIPv4(address, &ip) || port < 1 || port > 65535) return false;
  if (!socket_.Startup()) return false;
  if (!socket_.Connect(ip, static_cast<uint16_t>(port), kConnectMs, kReceiveMs)) {
    socket_.Cleanup();
    return false;
  }
  open_ = Kind::kTcp;
  return true;
}

void Link::TcpClose() {
  socket_.Close();
  socket_.Cleanup();
  open_ = Kind::kNone;
  clock_.Sleep(kCloseSettleMs);
}

// Drops the input waiting when a request is about to go out, so that a late
// reply never answers it. Only what is waiting at this moment: a peer that
// keeps sending cannot hold the request up.
void Link::DrainTcpInput() {
  uint8_t scrap[256];
  size_t left = socket_.Waiting();
  while (left > 0) {
    const long got = socket_.Receive(scrap, std::min(left, sizeof scrap));
    if (got <= 0) break;
    left -= std::min(left, static_cast<size_t>(got));
  }
}

bool Link::TcpWriteFrame(const uint8_t* bytes, size_t n) {
  DrainTcpInput();
  return socket_.Send(bytes, n) == static_cast<long>(n);
}

bool Link::TcpReadExact(uint8_t* buffer, size_t n) {
  if (n == 0) return true;
  const uint32_t start = clock_.Ticks();
  size_t got = 0;
  while (got < n) {
    clock_.Sleep(1);
    const long r = socket_.Receive(buffer + got, n - got);
    if (r > 0) got += static_cast<size_t>(r);
    if (got < n && clock_.Ticks() - start > kReadLimitMs) break;
  }
  return got == n;
}

}  // namespace halvin
