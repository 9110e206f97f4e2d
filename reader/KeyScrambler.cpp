// Scrambling of a card key with a 4-byte value: a per-card key derived from
// the card's serial number, or the system password hidden with the
// installation's scrambling key.
#include <cstring>

#include "Frame.h"
#include "ReaderCommands.h"

namespace dorvex {

namespace {
// Which byte of the value mixes into each key byte: P2, P0, P1, P0, P2, P3.
constexpr uint8_t kValueByteOf[kKeyBytes] = {2, 0, 1, 0, 2, 3};
// One fixed byte per key position, the same for every call. Cards and
// password cards already made depend on these values: never change them.
constexpr uint8_t kMix[kKeyBytes] = {0x3A, 0xC5, 0x5C, 0x93, 0x6E, 0xA1};
}  // namespace

int ChangeCardPassWord(const char* key, const char* value, char* out) {
  uint8_t k[kKeyBytes], p[kScrambleBytes];
  if (!out || !ParseKey(key, k) || !frame::HasChars(value, kScrambleChars)) return 0;
  frame::HexTextToBytes(value, p, kScrambleBytes);
  uint8_t scrambled[kKeyBytes];
  for (size_t i = 0; i < kKeyBytes; ++i) scrambled[i] = k[i] ^ p[kValueByteOf[i]] ^ kMix[i];
  frame::BytesToHexText(scrambled, kKeyBytes, out);
  out[2 * kKeyBytes] = '\0';
  return 1;
}

}  // namespace dorvex
