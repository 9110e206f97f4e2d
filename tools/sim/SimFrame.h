// Frames and bytes as the simulated devices handle them: the envelope
//   5E 5E 7F Nhi Nlo <N payload bytes> <XOR of the payload>
// and bytes as hex text. Written apart from the libraries' own frame code,
// so that the simulators check the libraries instead of repeating them. No
// I/O: builds on both sides.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

using Bytes = std::vector<uint8_t>;

// The payload in its envelope.
Bytes Envelope(const Bytes& payload);
// XOR of the bytes between the 5-byte head and the last byte: the checksum
// a frame of that size must end with.
uint8_t PayloadXor(const Bytes& frame);

std::string Hex(const uint8_t* p, size_t n);
std::string Hex(const Bytes& b);
// Parses hex digits (blanks allowed between bytes); false on anything else.
bool ParseHex(const std::string& text, Bytes* out);

}  // namespace sim
