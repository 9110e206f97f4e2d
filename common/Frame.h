// The framed request/reply envelope shared by the reader and terminal links,
// and the text <-> byte conversions every command uses.
//
//   5E 5E 7F Nhi Nlo <N payload bytes, command code first> <XOR of the payload>
//
// No Win32 here: this file builds into both DLLs and natively.
#pragma once
#include <cstddef>
#include <cstdint>

namespace frame {

constexpr uint8_t kStart = 0x5E;
constexpr uint8_t kAddress = 0x7F;
constexpr uint8_t kReaderOk = 0x01;    // the only reply status the reader library accepts
constexpr uint8_t kTerminalOk = 0x66;  // the only reply status the terminal library accepts
constexpr size_t kHeadSize = 5;        // start, start, address, N (2 bytes)
constexpr size_t kOverhead = 6;        // head + checksum
constexpr size_t kDataOffset = 7;      // reply data after code and status
constexpr size_t kAckSize = 8;         // a reply with N = 2

// "0"-"9" -> 0-9, "A"-"F" / "a"-"f" -> 10-15, anything else -> 0.
uint8_t HexCharToNibble(char c);
// 1-9 -> "1"-"9", 10-15 -> "A"-"F"; 0 and every value above 15 -> "0".
// Only the low 8 bits of the argument are looked at.
char NibbleToHexChar(uint32_t value);

// N read big-endian from offsets 3-4 of a frame.
uint16_t PayloadLength(const uint8_t* frame);
// XOR of the N payload bytes at offsets 5..5+N-1 (0 for N = 0).
uint8_t FrameChecksum(const uint8_t* frame);
// 1 when the received length equals N + 6 and the checksum byte at 5+N matches.
int CheckFrame(const uint8_t* frame, uint32_t received);
// XOR of buf[first..last], both ends included.
uint8_t XorRange(size_t first, size_t last, const uint8_t* buf);
// XOR of the N bytes at offsets 7..7+N-1, N big-endian at offsets 5-6.
uint8_t AddressedFrameChecksum(const uint8_t* frame);
// 1 when the first n bytes agree; n = 0 gives 1.
int BytesEqual(const uint8_t* a, const uint8_t* b, size_t n);

// Writes the envelope around `payload` into `out` (capacity `cap`).
// Returns the frame length N + 6, or 0 when it does not fit or N > 0xFFFF.
size_t BuildFrame(uint8_t* out, size_t cap, const uint8_t* payload, size_t n);

// The acceptance test of a reply of expected length `len`: the checksum and
// length, the start and address bytes, the echoed command code and the status.
bool AcceptReply(const uint8_t* reply, size_t len, uint8_t code, uint8_t status);

// True when `text` is not null and holds at least `n` characters before its
// NUL. Input texts are read for exactly the length their format needs, and
// never past their terminator.
bool HasChars(const char* text, size_t n);

// 12 hex digits -> 6 bytes: byte i = value(s[2i]) * 16 + value(s[2i+1]).
// Non-hex characters count 0. Reads exactly 2 * n characters.
void HexTextToBytes(const char* text, uint8_t* out, size_t n);
// Bytes -> upper-case hex digits, high digit first; writes 2 * n characters, no NUL.
void BytesToHexText(const uint8_t* bytes, size_t n, char* out);

// Decimal digit pair -> one byte: value(c1) * 10 + value(c2), hex digit values.
uint8_t DigitPairToByte(char c1, char c2);
// One byte -> two characters: hex char(v / 10), hex char(v % 10).
void ByteToDigitPair(uint8_t v, char* out);

// Big-endian fields of 2, 3 or 4 bytes taking the low bits of a 32-bit value.
void PutBE(uint8_t* out, uint32_t value, size_t bytes);
uint32_t GetBE(const uint8_t* in, size_t bytes);

}  // namespace frame
