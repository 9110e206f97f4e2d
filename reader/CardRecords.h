// The card records kept by the library on the card, in one place: where the
// three records of a record sector s lie, and the fields of each 48-byte
// record. The exports and the tests read and write card images through this.
//
//   sector s    (blocks 4s..4s+2)     header: opened mark, card number, ...
//   sector s+1  (blocks 4s+4..4s+6)   account record, main copy
//   sector s+2  (blocks 4s+8..4s+10)  account record, backup copy
//
// Numbers are big-endian. A digit field holds decimal digits as pairs, one
// byte per pair (byte = d1 x 10 + d2).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace dorvex {

constexpr size_t kRecordBytes = 48;        // three blocks
constexpr uint32_t kRecordBlocks = 3;
constexpr uint32_t kMinRecordSector = 1;
constexpr uint32_t kMaxRecordSector = 13;  // uses sectors 13, 14 and 15

using Record = std::array<uint8_t, kRecordBytes>;

// A field of a record: its offset and size in bytes.
struct Field {
  size_t offset;
  size_t size;
};

inline uint32_t HeaderBlock(uint32_t s) { return 4 * s; }
inline uint32_t MainBlock(uint32_t s) { return 4 * s + 4; }
inline uint32_t BackupBlock(uint32_t s) { return 4 * s + 8; }
inline bool RecordSectorOk(uint32_t s) { return s >= kMinRecordSector && s <= kMaxRecordSector; }

// CardHeaderRecord: marks the card as opened and holds its number.
namespace CardHeaderRecord {
constexpr Field kMark{0, 1};           // kOpened, anything else: not opened
constexpr Field kCardNumber{1, 3};     // 1-300000
constexpr Field kByte4{4, 1};          // caller's byte
constexpr Field kText{5, 8};           // caller's 8 bytes, no terminator
constexpr Field kByte13{13, 1};        // caller's byte, 1-255
constexpr Field kDate{16, 3};          // 6 digits, the date given at opening
constexpr Field kLimitDate{19, 3};     // 6 digits
constexpr Field kRepairMark{32, 1};    // kRepaired once the copies are known good
constexpr uint8_t kOpened = 0x66;      // "f"
constexpr uint8_t kRepaired = 0x55;    // "U"
constexpr uint32_t kMaxCardNumber = 300000;
// The header's last block: the repair mark and zeros.
constexpr uint32_t kRepairBlockIndex = 2;
}  // namespace CardHeaderRecord

// CardAccountRecord: balances and the operator's values, main and backup.
namespace CardAccountRecord {
constexpr Field kCash{0, 4};
constexpr Field kSubsidy{4, 4};
constexpr Field kCount{8, 2};
constexpr Field kCounter{10, 2};       // stored by every credit or debit
constexpr Field kValue14{14, 2};
constexpr Field kDigits16{16, 6};      // 12 digits
constexpr Field kValue22{22, 2};
constexpr Field kValue24{24, 3};
constexpr Field kValue27{27, 2};
constexpr Field kValue29{29, 3};
constexpr Field kDigits32{32, 6};      // 12 digits
constexpr Field kByte38{38, 1};
constexpr Field kSubsidyDate{39, 3};   // 6 digits
constexpr uint32_t kMaxBalance = 15000000;
constexpr uint32_t kMaxCount = 65535;
constexpr uint32_t kMaxCounter = 65535;
}  // namespace CardAccountRecord

// Big-endian number of a field (at most 4 bytes).
uint32_t GetNumber(const uint8_t* record, Field f);
// Stores the low bits of `value` that fit the field.
void PutNumber(uint8_t* record, Field f, uint32_t value);
// True when `text` holds at least 2 x f.size characters before its NUL.
bool DigitsOk(const char* text, Field f);
// Stores 2 x f.size digits of `text` as pairs (checked with DigitsOk first).
void PutDigits(uint8_t* record, Field f, const char* text);
// Writes the field as 2 x f.size characters and a NUL.
void GetDigits(const uint8_t* record, Field f, char* out);

}  // namespace dorvex
