// The packed skin archive: an LZHUF decoder and the reader of the unpacked
// archive (header, part-name list, part sizes, part data).
//
// Packed container:   int32 unpacked length L, then the LZHUF bit stream.
// Unpacked archive:   int32 FormatVersion, int32 NameListSize N, two reserved
//                     int32, a reserved block of S bytes (S by version), N bytes
//                     of CR LF separated names, int32 size per name, the parts.
//
// The program only reads archives; the encoder lives with the skin packer.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "SkinStream.h"

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// LZSS with adaptive Huffman coding of literals and match lengths (314
// symbols) and a fixed code for the upper 6 bits of the match distance.
class TLZH {
 public:
  static constexpr int kRingSize = 4096;
  static constexpr int kLookAhead = 60;
  static constexpr int kThreshold = 2;
  static constexpr int kSymbols = 256 - kThreshold + kLookAhead;  // 314
  static constexpr int kTableSize = kSymbols * 2 - 1;             // 627 tree nodes
  static constexpr int kRoot = kTableSize - 1;                    // 626
  static constexpr uint16_t kMaxFreq = 0x8000;

  // Upper-distance code and its bit length, indexed by the first byte read.
  static const uint8_t DCode[256];
  static const uint8_t DLen[256];

  // `input` is read from its current position; bytes are appended to `output`
  // at its position until at least `length` bytes have been produced (a final
  // match is copied whole). The input may run dry by a few bytes of bit
  // padding; a stream that needs more than that is refused with ElzhException,
  // so a corrupt length cannot make the decoder run on unbounded.
  TLZH(TSkinMemoryStream& input, TSkinMemoryStream& output);
  void Decode(int32_t length);

 private:
  int ReadByte();
  int GetBit();
  int GetByte();
  void StartModel();
  void Reconstruct();
  void Update(int symbol);
  int DecodeChar();
  int DecodePosition();

  TSkinMemoryStream& FInput;
  TSkinMemoryStream& FOutput;
  uint16_t FBitBuffer = 0;
  uint8_t FBitCount = 0;
  size_t FMissing = 0;  // bytes asked for after the input ran out
  std::vector<uint8_t> FRing;
  std::vector<uint16_t> FFreq;    // 628: one per node and the sentinel
  std::vector<uint16_t> FParent;  // 941: one per node and one per symbol
  std::vector<uint16_t> FSon;     // 627
};

class TSkinReader {
 public:
  static constexpr int kMaxParts = 1001;

  std::vector<std::string> Names;  // lower-cased part names, archive order
  int32_t Count = 0;
  int32_t Sizes[kMaxParts] = {};
  TSkinMemoryStream PartData;
  int32_t FormatVersion = 0;
  int32_t NameListSize = 0;
  int32_t Reserved1 = 0;
  int32_t Reserved2 = 0;

  // Reads the 4-byte length from `source` (rewound) and decodes that many
  // bytes into `target` (rewound). ElzhException on a corrupt stream.
  static void DecodeLzh(TSkinMemoryStream& source, TSkinMemoryStream& target);

  // Unpacks and indexes a packed archive. False, after a message to the
  // operator, for an unknown format version or an archive whose fields do not
  // fit its data; the reader then holds no parts. Decoder errors propagate.
  bool UnpackSkin(TSkinMemoryStream& archive);

  // Copies the part named `name` (compared in lower case) into `target` at
  // position 0; a name not listed leaves `target` empty.
  void ExtractPart(const std::string& name, TSkinMemoryStream& target) const;
  // Copies the first part whose name contains `text` (as given, not
  // lower-cased) and sets `partName` to its name; no match leaves `target`
  // empty and `partName` unchanged.
  void FindPart(const std::string& text, TSkinMemoryStream& target, std::string& partName) const;

 private:
  void Reset();
  void CopyPart(int index, TSkinMemoryStream& target) const;
};

// Size of the reserved block after the header for a format version; -1 for a
// version the reader does not know.
int ReservedBlockSize(int32_t formatVersion);

// Splits text into lines the way a string list loads text: at CR, LF or CR LF;
// a final line break adds no empty entry.
std::vector<std::string> SplitLines(const std::string& text);

// ASCII letters only, as the part look-up compares names.
std::string LowerAscii(std::string s);

extern const char* const kOlderSkinMessage;
extern const char* const kDamagedSkinMessage;
