#include "ReaderLink.h"

#include "Frame.h"

namespace dorvex {

namespace {
// The largest frame of the reader: a three-block write (3 x 16 data bytes,
// block and count, the code) in its envelope.
constexpr size_t kMaxRequest = 64;
}  // namespace

std::string ComDeviceName(uint32_t n) {
  const std::string number = std::to_string(n);
  return n < 10 ? "COM" + number : "\\\\.\\COM" + number;
}

int ReaderLink::Open(uint32_t n, uint32_t baud) {
  if (n < kMinPort || n > kMaxPort) return 0;
  if (open_) Close();
  open_ = port_.Open(ComDeviceName(n), baud);
  return open_ ? 1 : 0;
}

int ReaderLink::Close() {
  if (!open_) return 0;
  open_ = false;
  return port_.Close() ? 1 : 0;
}

bool ReaderLink::ComWriteFrame(const uint8_t* bytes, size_t n) {
  if (!open_) return false;
  port_.Purge();
  size_t written = 0;
  if (!port_.Write(bytes, n, &written) || written != n) {
    port_.ClearError();
    return false;
  }
  return true;
}

// Sleeps a millisecond between reads so that a reply trickling in at a slow
// baud is collected in few calls; gives up once the loop has run for more
// than its limit. A read error (the device gone) ends the loop at once.
bool ReaderLink::ComReadExact(uint8_t* buf, size_t n) {
  if (n == 0) return true;
  if (!open_) return false;
  PortTimeouts saved;
  if (!port_.GetTimeouts(&saved)) return false;
  PortTimeouts reading = saved;
  reading.readInterval = kReadIntervalMs;
  reading.readTotalPerByte = kReadPerByteMs;
  reading.readTotalConstant = kReadConstantMs;
  if (!port_.SetTimeouts(reading)) return false;

  const uint32_t start = clock_.TickMs();
  size_t have = 0;
  while (have < n) {
    clock_.SleepMs(1);
    size_t got = 0;
    if (!port_.Read(buf + have, n - have, &got)) break;
    have += got > n - have ? n - have : got;
    if (have < n && clock_.TickMs() - start > kReadLoopLimitMs) break;
  }
  port_.SetTimeouts(saved);
  return have == n;
}

bool ReaderLink::Exchange(const uint8_t* payload, size_t n, uint8_t* reply, size_t replyLen) {
  uint8_t request[kMaxRequest];
  const size_t len = frame::BuildFrame(request, sizeof request, payload, n);
  if (len == 0 || n == 0) return false;
  if (!ComWriteFrame(request, len)) return false;
  if (!ComReadExact(reply, replyLen)) return false;
  return frame::AcceptReply(reply, replyLen, payload[0], frame::kReaderOk);
}

LinkSession::LinkSession(ReaderLink& link, int32_t flag, int32_t port, int32_t baud) : link_(link) {
  if (flag == 0) return;
  opened_ = link_.Open(static_cast<uint32_t>(port), static_cast<uint32_t>(baud)) == 1;
  ready_ = opened_;
}

LinkSession::~LinkSession() {
  if (opened_) link_.Close();
}

}  // namespace dorvex
