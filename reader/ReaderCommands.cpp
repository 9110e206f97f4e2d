#include "ReaderCommands.h"

#include <cstring>

#include "Frame.h"

namespace dorvex {

namespace {
constexpr size_t kAckLen = frame::kAckSize;
constexpr size_t kSerialReplyLen = frame::kDataOffset + kSerialBytes + 1;   // 12
constexpr size_t BlocksReplyLen(uint32_t count) { return frame::kDataOffset + count * kBlockBytes + 1; }
constexpr size_t kMaxReply = frame::kDataOffset + kMaxBlocks * kBlockBytes + 1;
}  // namespace

bool BlockRangeOk(uint32_t first, uint32_t count, uint32_t lowest) {
  return first >= lowest && first <= kMaxFirstBlock && count >= 1 && count <= kMaxBlocks &&
         (first % 4) + count <= 3;
}

bool ParseKey(const char* text, uint8_t* out) {
  if (!frame::HasChars(text, kKeyChars)) return false;
  frame::HexTextToBytes(text, out, kKeyBytes);
  return true;
}

int Reader::OpenComPort(int32_t port, int32_t baud) {
  return link_.Open(static_cast<uint32_t>(port), static_cast<uint32_t>(baud));
}

int Reader::CloseComPort() { return link_.Close(); }

bool Reader::Acknowledged(const uint8_t* payload, size_t n) {
  uint8_t reply[kAckLen];
  return link_.Exchange(payload, n, reply, sizeof reply);
}

bool Reader::SetSectorKey(uint8_t sector, const uint8_t* key) {
  uint8_t payload[2 + kKeyBytes] = {kSetSectorKey, sector};
  std::memcpy(payload + 2, key, kKeyBytes);
  return Acknowledged(payload, sizeof payload);
}

int Reader::SetDevPassWord(int32_t flag, int32_t port, int32_t baud, const char* key) {
  uint8_t payload[1 + kKeyBytes] = {kSetDevKey};
  if (!ParseKey(key, payload + 1)) return 0;
  LinkSession session(link_, flag, port, baud);
  return session.Ready() && Acknowledged(payload, sizeof payload) ? 1 : 0;
}

int Reader::SetOneCardPassWord(int32_t flag, int32_t port, int32_t baud, int32_t sector,
                               const char* key) {
  uint8_t k[kKeyBytes];
  if (static_cast<uint32_t>(sector) >= kSectors || !ParseKey(key, k)) return 0;
  LinkSession session(link_, flag, port, baud);
  return session.Ready() && SetSectorKey(static_cast<uint8_t>(sector), k) ? 1 : 0;
}

// Sectors 0 to 15 in order; the first failure stops the run, and the sectors
// already done keep their new key.
int Reader::SetAllCardPassWord(int32_t flag, int32_t port, int32_t baud, const char* key) {
  uint8_t k[kKeyBytes];
  if (!ParseKey(key, k)) return 0;
  LinkSession session(link_, flag, port, baud);
  if (!session.Ready()) return 0;
  for (uint32_t s = 0; s < kSectors; ++s)
    if (!SetSectorKey(static_cast<uint8_t>(s), k)) return 0;
  return 1;
}

bool Reader::ReadBlocks(uint32_t first, uint32_t count, uint8_t* out) {
  const uint8_t payload[3] = {kReadBlocks, static_cast<uint8_t>(first), static_cast<uint8_t>(count)};
  uint8_t reply[kMaxReply];
  if (!link_.Exchange(payload, sizeof payload, reply, BlocksReplyLen(count))) return false;
  std::memcpy(out, reply + frame::kDataOffset, count * kBlockBytes);
  return true;
}

// Each attempt writes, waits for the acknowledgement, reads the blocks back
// and compares. An acknowledged write whose read-back brings no valid reply
// is not known to be on the card, so it counts as a failed attempt like one
// whose read-back differs: the export never reports a write it has not seen.
bool Reader::WriteBlocks(uint32_t first, uint32_t count, const uint8_t* data) {
  uint8_t payload[3 + kMaxBlocks * kBlockBytes] = {kWriteBlocks, static_cast<uint8_t>(first),
                                                   static_cast<uint8_t>(count)};
  const size_t bytes = count * kBlockBytes;
  std::memcpy(payload + 3, data, bytes);
  for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
    uint8_t back[kMaxBlocks * kBlockBytes];
    if (!Acknowledged(payload, 3 + bytes)) continue;
    if (!ReadBlocks(first, count, back)) continue;
    if (frame::BytesEqual(back, data, bytes)) return true;
  }
  return false;
}

int Reader::WriteCardBlock(int32_t flag, int32_t port, int32_t baud, int32_t block, int32_t count,
                           const uint8_t* data) {
  const uint32_t b = static_cast<uint32_t>(block), c = static_cast<uint32_t>(count);
  if (!BlockRangeOk(b, c, 1) || !data) return 0;
  LinkSession session(link_, flag, port, baud);
  return session.Ready() && WriteBlocks(b, c, data) ? 1 : 0;
}

int Reader::ReadCardBlock(int32_t flag, int32_t port, int32_t baud, int32_t block, int32_t count,
                          uint8_t* out) {
  const uint32_t b = static_cast<uint32_t>(block), c = static_cast<uint32_t>(count);
  if (!BlockRangeOk(b, c, 0) || !out) return 0;
  LinkSession session(link_, flag, port, baud);
  uint8_t data[kMaxBlocks * kBlockBytes];
  if (!session.Ready() || !ReadBlocks(b, c, data)) return 0;
  std::memcpy(out, data, c * kBlockBytes);
  out[c * kBlockBytes] = 0;
  return 1;
}

bool Reader::ReadSerial(uint8_t* serial) {
  const uint8_t payload[1] = {kReadSerial};
  uint8_t reply[kSerialReplyLen];
  if (!link_.Exchange(payload, sizeof payload, reply, sizeof reply)) return false;
  std::memcpy(serial, reply + frame::kDataOffset, kSerialBytes);
  return true;
}

// A card moving in the field can give a torn serial number: two reads that
// agree are taken; otherwise a third read decides, and three different
// answers give nothing.
int Reader::ReadCardSerNum(int32_t flag, int32_t port, int32_t baud, char* out) {
  if (!out) return 0;
  LinkSession session(link_, flag, port, baud);
  if (!session.Ready()) return 0;
  uint8_t a[kSerialBytes], b[kSerialBytes], c[kSerialBytes];
  if (!ReadSerial(a) || !ReadSerial(b)) return 0;
  const uint8_t* serial = a;
  if (!frame::BytesEqual(a, b, kSerialBytes)) {
    if (!ReadSerial(c)) return 0;
    if (frame::BytesEqual(c, a, kSerialBytes)) serial = a;
    else if (frame::BytesEqual(c, b, kSerialBytes)) serial = b;
    else return 0;
  }
  frame::BytesToHexText(serial, kSerialBytes, out);
  out[2 * kSerialBytes] = '\0';
  return 1;
}

int Reader::SendBeep(int32_t flag, int32_t port, int32_t baud, int32_t value) {
  const uint8_t payload[2] = {kBeep, static_cast<uint8_t>(value)};
  LinkSession session(link_, flag, port, baud);
  return session.Ready() && Acknowledged(payload, sizeof payload) ? 1 : 0;
}

int Reader::SetAutoEditPW(int32_t flag, int32_t port, int32_t baud, int32_t mode, int32_t sector,
                          const char* oldKey, int32_t oldKeyFlag, const char* newKey,
                          int32_t newKeyFlag) {
  // code, mode, sector, old key, old key flag, new key, new key flag
  uint8_t payload[3 + kKeyBytes + 1 + kKeyBytes + 1] = {kSetAutoKey, mode != 0,
                                                        static_cast<uint8_t>(sector)};
  const uint32_t s = static_cast<uint32_t>(sector);
  if (s < 1 || s > 13) return 0;
  if (!ParseKey(oldKey, payload + 3) || !ParseKey(newKey, payload + 10)) return 0;
  payload[9] = oldKeyFlag != 0;
  payload[16] = newKeyFlag != 0;
  LinkSession session(link_, flag, port, baud);
  return session.Ready() && Acknowledged(payload, sizeof payload) ? 1 : 0;
}

int Reader::CancelAutoEditPW(int32_t flag, int32_t port, int32_t baud) {
  const uint8_t payload[1] = {kCancelAutoKey};
  LinkSession session(link_, flag, port, baud);
  return session.Ready() && Acknowledged(payload, sizeof payload) ? 1 : 0;
}

}  // namespace dorvex
