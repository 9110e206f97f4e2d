// LZHUF encoder of the skin packer: the counterpart of the program's decoder,
// kept out of the program. Produces the packed container: the unpacked
// length as a 32-bit little-endian integer, then the bit stream.
#pragma once
#include <cstdint>
#include <vector>

std::vector<uint8_t> LzhPack(const std::vector<uint8_t>& data);
// The bit stream alone, without the length word.
std::vector<uint8_t> LzhEncode(const std::vector<uint8_t>& data);
