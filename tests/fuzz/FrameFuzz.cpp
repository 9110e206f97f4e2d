// The frame envelope of both device libraries (common/Frame): the length,
// checksum and acceptance checks run on a reply as it came off the line,
// and the hex and digit texts of the commands' arguments.
//
// Checked besides the absence of faults: a reply that is accepted is
// exactly the frame the envelope builds around its payload, and a key text
// of hex digits turns into bytes that give the same digits back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x10000 + frame::kOverhead) return 0;
  // A copy of its own, so that any read past the reply is caught.
  const std::vector<uint8_t> reply(data, data + size);
  const uint8_t* r = reply.data();

  const int checked = frame::CheckFrame(r, static_cast<uint32_t>(size));
  const uint8_t code = size > 5 ? r[5] : 0;
  const bool readerOk = frame::AcceptReply(r, size, code, frame::kReaderOk);
  const bool terminalOk = frame::AcceptReply(r, size, code, frame::kTerminalOk);
  if ((readerOk || terminalOk) && checked != 1) abort();
  if (checked == 1) {
    const size_t n = frame::PayloadLength(r);
    std::vector<uint8_t> built(n + frame::kOverhead);
    const size_t len = frame::BuildFrame(built.data(), built.size(), r + frame::kHeadSize, n);
    // The envelope's fixed bytes are not part of the check; the length and
    // the checksum are.
    if (len != size || std::memcmp(built.data() + 3, r + 3, size - 3) != 0) abort();
    if ((readerOk || terminalOk) && std::memcmp(built.data(), r, size) != 0) abort();
  }

  // The argument texts: as many characters as the format needs, never past
  // the terminator.
  std::vector<char> text(reply.begin(), reply.end());
  text.push_back('\0');
  const size_t keyChars = 12;
  if (frame::HasChars(text.data(), keyChars)) {
    uint8_t key[6];
    char back[12];
    frame::HexTextToBytes(text.data(), key, sizeof key);
    frame::BytesToHexText(key, sizeof key, back);
    for (size_t i = 0; i < keyChars; ++i) {
      const char c = text[i];
      const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
      const char upper = c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
      if (hex && back[i] != upper) abort();
      if (!hex && back[i] != '0') abort();
    }
  }
  if (frame::HasChars(text.data(), 2)) {
    char pair[2];
    frame::ByteToDigitPair(frame::DigitPairToByte(text[0], text[1]), pair);
    if (text[0] >= '0' && text[0] <= '9' && text[1] >= '0' && text[1] <= '9' &&
        (pair[0] != text[0] || pair[1] != text[1]))
      abort();
  }
  return 0;
}
