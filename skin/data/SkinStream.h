// A growable byte buffer with a read/write position: the memory stream the
// skin loader moves archive parts through. Reads never fail loudly: a short
// read delivers what is there and reports how much.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class TSkinMemoryStream {
 public:
  TSkinMemoryStream() = default;
  explicit TSkinMemoryStream(std::vector<uint8_t> bytes) : FData(std::move(bytes)) {}

  void Clear() { FData.clear(); FPosition = 0; }
  size_t Size() const { return FData.size(); }
  size_t Position() const { return FPosition; }
  // Positions past the end are allowed; the next write fills the gap with zeros.
  void Seek(size_t pos) { FPosition = pos; }
  const uint8_t* Data() const { return FData.data(); }
  const std::vector<uint8_t>& Bytes() const { return FData; }
  void Reserve(size_t n) { FData.reserve(n); }

  // Copies up to n bytes from the position on; returns the number copied.
  size_t Read(void* out, size_t n) {
    if (FPosition >= FData.size()) return 0;
    size_t avail = FData.size() - FPosition;
    if (n > avail) n = avail;
    if (n) std::memcpy(out, FData.data() + FPosition, n);
    FPosition += n;
    return n;
  }
  void Write(const void* in, size_t n) {
    if (n == 0) return;
    if (FPosition + n > FData.size()) FData.resize(FPosition + n);
    std::memcpy(FData.data() + FPosition, in, n);
    FPosition += n;
  }
  void WriteByte(uint8_t b) {
    if (FPosition == FData.size()) {
      FData.push_back(b);
      ++FPosition;
    } else {
      Write(&b, 1);
    }
  }
  // Reads a signed 32-bit little-endian value; a short read leaves `value` as it was.
  bool ReadInt32(int32_t& value) {
    uint8_t b[4];
    if (Read(b, 4) != 4) return false;
    value = static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                 uint32_t(b[3]) << 24);
    return true;
  }
  void WriteInt32(int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    Write(b, 4);
  }

 private:
  std::vector<uint8_t> FData;
  size_t FPosition = 0;
};
