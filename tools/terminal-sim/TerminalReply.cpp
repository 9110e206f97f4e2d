#include "TerminalReply.h"

#include <algorithm>

namespace terminalsim {

Bytes TerminalReply(uint8_t code, const Bytes& data, uint8_t status) {
  const size_t n = 2 + data.size();  // code, status, data
  Bytes f(5 + n + 1);
  f[0] = 0x5E;
  f[1] = 0x5E;
  f[2] = 0x7F;
  f[3] = static_cast<uint8_t>(n >> 8);
  f[4] = static_cast<uint8_t>(n);
  f[5] = code;
  f[6] = status;
  std::copy(data.begin(), data.end(), f.begin() + 7);
  uint8_t x = 0;
  for (size_t i = 5; i < 5 + n; ++i) x ^= f[i];
  f.back() = x;
  return f;
}

}  // namespace terminalsim
