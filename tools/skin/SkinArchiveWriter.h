// The layout of a skin archive of format version 70000, as the packer
// writes it: a header (the version, the length of the name list, two zero
// words), a 69-byte reserved block of zeros, the part names one per line
// (CR LF), the part sizes and the parts. Integers are 32-bit little-endian.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct SkinArchivePart {
  std::string name;  // a file name without folders, no line breaks
  std::vector<uint8_t> data;
};

// The archive unpacked; LzhPack makes the packed file of it.
std::vector<uint8_t> UnpackedSkinArchive(const std::vector<SkinArchivePart>& parts);
