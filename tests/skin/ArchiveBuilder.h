// Builds unpacked and packed skin archives for the tests.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "LzhEncoder.h"

struct TestPart {
  std::string name;
  std::vector<uint8_t> data;
};

inline void PutInt32(std::vector<uint8_t>& out, int32_t v) {
  for (int i = 0; i < 4; i++) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

// `nameList` is written as given (so tests control line breaks); the sizes
// are those of `parts` unless `sizes` overrides them.
inline std::vector<uint8_t> UnpackedArchive(int32_t version, int reserved, const std::string& nameList,
                                            const std::vector<TestPart>& parts,
                                            const std::vector<int32_t>* sizes = nullptr) {
  std::vector<uint8_t> out;
  PutInt32(out, version);
  PutInt32(out, static_cast<int32_t>(nameList.size()));
  PutInt32(out, 0x11111111);
  PutInt32(out, 0x22222222);
  out.insert(out.end(), static_cast<size_t>(reserved), 0xEE);
  out.insert(out.end(), nameList.begin(), nameList.end());
  if (sizes) {
    for (int32_t s : *sizes) PutInt32(out, s);
  } else {
    for (const auto& p : parts) PutInt32(out, static_cast<int32_t>(p.data.size()));
  }
  for (const auto& p : parts) out.insert(out.end(), p.data.begin(), p.data.end());
  return out;
}

inline std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

inline std::vector<uint8_t> PackedArchive(int32_t version, int reserved, const std::vector<TestPart>& parts) {
  std::string names;
  for (const auto& p : parts) names += p.name + "\r\n";
  return LzhPack(UnpackedArchive(version, reserved, names, parts));
}
