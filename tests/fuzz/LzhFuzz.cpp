// The LZHUF decoder of the skin archives (skin/data/SkinRead: TLZH through
// TSkinReader::DecodeLzh).
//
// Input: a mode byte, then
//  - mode even: a packed container as a skin file holds it (the unpacked
//    length, then the bit stream). The decoder either refuses it with
//    ElzhException or produces at least the length asked for and never more
//    than its bound: the length and the one match that may run over it, and
//    no more than the input's bits can describe.
//  - mode odd: plain bytes, packed by the skin packer's encoder; decoding
//    gives them back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "LzhEncoder.h"
#include "SkinRead.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 4096) return 0;
  const std::vector<uint8_t> bytes(data + 1, data + size);
  if (data[0] & 1) {
    if (bytes.size() > 4096) return 0;
    TSkinMemoryStream source(LzhPack(bytes)), target;
    TSkinReader::DecodeLzh(source, target);
    if (target.Bytes() != bytes) abort();
    return 0;
  }

  TSkinMemoryStream source(bytes), target;
  int32_t length = 0;
  source.ReadInt32(length);
  const size_t streamBytes = bytes.size() < 4 ? 0 : bytes.size() - 4;
  const size_t inputBound = (streamBytes + 8) * 48 + TLZH::kLookAhead;
  try {
    TSkinReader::DecodeLzh(source, target);
  } catch (const ElzhException&) {
    return 0;
  }
  const size_t produced = target.Size();
  if (length <= 0) {
    if (produced != 0) abort();
    return 0;
  }
  if (produced < static_cast<size_t>(length)) abort();
  if (produced > static_cast<size_t>(length) + TLZH::kLookAhead - 1) abort();
  if (produced > inputBound) abort();
  return 0;
}
