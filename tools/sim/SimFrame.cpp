#include "SimFrame.h"

namespace sim {

Bytes Envelope(const Bytes& payload) {
  Bytes f(6 + payload.size());
  f[0] = f[1] = 0x5E;
  f[2] = 0x7F;
  f[3] = static_cast<uint8_t>(payload.size() >> 8);
  f[4] = static_cast<uint8_t>(payload.size());
  uint8_t sum = 0;
  for (size_t i = 0; i < payload.size(); ++i) sum ^= f[5 + i] = payload[i];
  f.back() = sum;
  return f;
}

uint8_t PayloadXor(const Bytes& frame) {
  uint8_t x = 0;
  for (size_t i = 5; i + 1 < frame.size(); ++i) x ^= frame[i];
  return x;
}

std::string Hex(const uint8_t* p, size_t n) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  s.reserve(2 * n);
  for (size_t i = 0; i < n; ++i) {
    s += digits[p[i] >> 4];
    s += digits[p[i] & 15];
  }
  return s;
}

std::string Hex(const Bytes& b) { return Hex(b.data(), b.size()); }

bool ParseHex(const std::string& text, Bytes* out) {
  out->clear();
  int high = -1;
  for (char c : text) {
    int v;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else if (c == ' ' || c == ':' || c == '-') {
      if (high >= 0) return false;
      continue;
    } else return false;
    if (high < 0) high = v;
    else {
      out->push_back(static_cast<uint8_t>(high * 16 + v));
      high = -1;
    }
  }
  return high < 0;
}

}  // namespace sim
