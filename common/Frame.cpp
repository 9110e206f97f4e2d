#include "Frame.h"

#include <cstring>

namespace frame {

uint8_t HexCharToNibble(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<uint8_t>(c - 'a' + 10);
  return 0;
}

char NibbleToHexChar(uint32_t value) {
  const uint32_t v = value & 0xFF;
  if (v >= 1 && v <= 9) return static_cast<char>('0' + v);
  if (v >= 10 && v <= 15) return static_cast<char>('A' + (v - 10));
  return '0';
}

uint16_t PayloadLength(const uint8_t* frame) {
  return static_cast<uint16_t>((frame[3] << 8) | frame[4]);
}

uint8_t FrameChecksum(const uint8_t* frame) {
  const size_t n = PayloadLength(frame);
  uint8_t x = 0;
  for (size_t i = 0; i < n; ++i) x ^= frame[kHeadSize + i];
  return x;
}

int CheckFrame(const uint8_t* frame, uint32_t received) {
  if (received < kOverhead) return 0;
  const uint32_t n = PayloadLength(frame);
  if (received != n + kOverhead) return 0;
  return FrameChecksum(frame) == frame[kHeadSize + n] ? 1 : 0;
}

uint8_t XorRange(size_t first, size_t last, const uint8_t* buf) {
  uint8_t x = 0;
  for (size_t i = first; i <= last; ++i) x ^= buf[i];
  return x;
}

uint8_t AddressedFrameChecksum(const uint8_t* frame) {
  const size_t n = static_cast<size_t>((frame[5] << 8) | frame[6]);
  uint8_t x = 0;
  for (size_t i = 0; i < n; ++i) x ^= frame[7 + i];
  return x;
}

int BytesEqual(const uint8_t* a, const uint8_t* b, size_t n) {
  return n == 0 || std::memcmp(a, b, n) == 0 ? 1 : 0;
}

size_t BuildFrame(uint8_t* out, size_t cap, const uint8_t* payload, size_t n) {
  if (n > 0xFFFF || n + kOverhead > cap) return 0;
  out[0] = kStart;
  out[1] = kStart;
  out[2] = kAddress;
  out[3] = static_cast<uint8_t>(n >> 8);
  out[4] = static_cast<uint8_t>(n);
  if (n) std::memcpy(out + kHeadSize, payload, n);
  out[kHeadSize + n] = FrameChecksum(out);
  return n + kOverhead;
}

bool AcceptReply(const uint8_t* reply, size_t len, uint8_t code, uint8_t status) {
  if (len < kAckSize || len > 0xFFFFFFFFu) return false;
  return CheckFrame(reply, static_cast<uint32_t>(len)) == 1 && reply[0] == kStart &&
         reply[1] == kStart && reply[2] == kAddress && reply[5] == code && reply[6] == status;
}

bool HasChars(const char* text, size_t n) {
  if (!text) return false;
  for (size_t i = 0; i < n; ++i)
    if (text[i] == '\0') return false;
  return true;
}

void HexTextToBytes(const char* text, uint8_t* out, size_t n) {
  for (size_t i = 0; i < n; ++i)
    out[i] = static_cast<uint8_t>(HexCharToNibble(text[2 * i]) * 16 + HexCharToNibble(text[2 * i + 1]));
}

void BytesToHexText(const uint8_t* bytes, size_t n, char* out) {
  for (size_t i = 0; i < n; ++i) {
    out[2 * i] = NibbleToHexChar(bytes[i] >> 4);
    out[2 * i + 1] = NibbleToHexChar(bytes[i] & 0x0F);
  }
}

uint8_t DigitPairToByte(char c1, char c2) {
  return static_cast<uint8_t>(HexCharToNibble(c1) * 10 + HexCharToNibble(c2));
}

void ByteToDigitPair(uint8_t v, char* out) {
  out[0] = NibbleToHexChar(v / 10);
  out[1] = NibbleToHexChar(v % 10);
}

void PutBE(uint8_t* out, uint32_t value, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i)
    out[i] = static_cast<uint8_t>(value >> (8 * (bytes - 1 - i)));
}

uint32_t GetBE(const uint8_t* in, size_t bytes) {
  uint32_t v = 0;
  for (size_t i = 0; i < bytes; ++i) v = (v << 8) | in[i];
  return v;
}

}  // namespace frame
