#include "SkinRead.h"

#include <algorithm>
#include <new>

#include "SkinMessage.h"

const char* const kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";
const char* const kDamagedSkinMessage = "The skin file is damaged and cannot be loaded.";

namespace {

// The distance prefix tables: runs of equal codes whose length grows as the
// codes get rarer (32 x code 0 in 3 bits, 16 each of 1-3 in 4 bits, 8 each of
// 4-11 in 5, 4 each of 12-23 in 6, 2 each of 24-47 in 7, 1 each of 48-63 in 8).
struct DistanceTables {
  uint8_t code[256];
  uint8_t len[256];
  constexpr DistanceTables() : code(), len() {
    struct Run { int codes; int each; int bits; };
    const Run runs[] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
    int i = 0, c = 0;
    for (const Run& r : runs)
      for (int k = 0; k < r.codes; ++k, ++c)
        for (int e = 0; e < r.each; ++e, ++i) {
          code[i] = static_cast<uint8_t>(c);
          len[i] = static_cast<uint8_t>(r.bits);
        }
  }
};
constexpr DistanceTables kDistance;

// How many bytes the decoder may ask for past the end of its input: the bit
// buffer reads ahead and the encoder pads the last byte; anything more means
// the stream (or its length word) is corrupt.
constexpr size_t kMaxMissingBytes = 8;

int32_t ReadInt32At(const TSkinMemoryStream& s, size_t pos) {
  const uint8_t* p = s.Data() + pos;
  return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                              uint32_t(p[3]) << 24);
}

}  // namespace

const uint8_t TLZH::DCode[256] = {
#define X(i) kDistance.code[i]
#define R16(b) X(b), X(b + 1), X(b + 2), X(b + 3), X(b + 4), X(b + 5), X(b + 6), X(b + 7), \
    X(b + 8), X(b + 9), X(b + 10), X(b + 11), X(b + 12), X(b + 13), X(b + 14), X(b + 15)
    R16(0), R16(16), R16(32), R16(48), R16(64), R16(80), R16(96), R16(112),
    R16(128), R16(144), R16(160), R16(176), R16(192), R16(208), R16(224), R16(240)
#undef X
};
const uint8_t TLZH::DLen[256] = {
#define X(i) kDistance.len[i]
    R16(0), R16(16), R16(32), R16(48), R16(64), R16(80), R16(96), R16(112),
    R16(128), R16(144), R16(160), R16(176), R16(192), R16(208), R16(224), R16(240)
#undef X
#undef R16
};

// ---------------------------------------------------------------------------
// TLZH

TLZH::TLZH(TSkinMemoryStream& input, TSkinMemoryStream& output)
    : FInput(input), FOutput(output) {
  try {
    FRing.assign(kRingSize + kLookAhead - 1, 0);
    FFreq.assign(kTableSize + 1, 0);
    FParent.assign(kTableSize + kSymbols, 0);
    FSon.assign(kTableSize, 0);
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
}

// One input byte, or 0 when none can be read.
int TLZH::ReadByte() {
  uint8_t b = 0;
  if (FInput.Read(&b, 1) == 1) return b;
  if (++FMissing > kMaxMissingBytes) throw ElzhException("LZH : Unexpected end of packed data");
  return 0;
}

int TLZH::GetBit() {
  while (FBitCount <= 8) {
    FBitBuffer = static_cast<uint16_t>(FBitBuffer | ReadByte() << (8 - FBitCount));
    FBitCount = static_cast<uint8_t>(FBitCount + 8);
  }
  int bit = FBitBuffer >> 15;
  FBitBuffer = static_cast<uint16_t>(FBitBuffer << 1);
  FBitCount--;
  return bit;
}

int TLZH::GetByte() {
  while (FBitCount <= 8) {
    FBitBuffer = static_cast<uint16_t>(FBitBuffer | ReadByte() << (8 - FBitCount));
    FBitCount = static_cast<uint8_t>(FBitCount + 8);
  }
  int byte = FBitBuffer >> 8;
  FBitBuffer = static_cast<uint16_t>(FBitBuffer << 8);
  FBitCount = static_cast<uint8_t>(FBitCount - 8);
  return byte;
}

// Every symbol once: leaves 0..313 point at their symbols, internal nodes pair
// the nodes below them two by two up to the root.
void TLZH::StartModel() {
  for (int i = 0; i < kSymbols; i++) {
    FFreq[i] = 1;
    FSon[i] = static_cast<uint16_t>(i + kTableSize);
    FParent[i + kTableSize] = static_cast<uint16_t>(i);
  }
  for (int i = 0, j = kSymbols; j <= kRoot; i += 2, j++) {
    FFreq[j] = static_cast<uint16_t>(FFreq[i] + FFreq[i + 1]);
    FSon[j] = static_cast<uint16_t>(i);
    FParent[i] = FParent[i + 1] = static_cast<uint16_t>(j);
  }
  FFreq[kTableSize] = 0xFFFF;
  FParent[kRoot] = 0;
}

// Halves the frequencies of the leaves and builds the tree anew from them,
// keeping the node table sorted by frequency.
void TLZH::Reconstruct() {
  int j = 0;
  for (int i = 0; i < kTableSize; i++) {
    if (FSon[i] >= kTableSize) {
      FFreq[j] = static_cast<uint16_t>((FFreq[i] + 1) / 2);
      FSon[j] = FSon[i];
      j++;
    }
  }
  for (int i = 0, n = kSymbols; n < kTableSize; i += 2, n++) {
    uint16_t f = static_cast<uint16_t>(FFreq[i] + FFreq[i + 1]);
    FFreq[n] = f;
    int k = n - 1;
    while (f < FFreq[k]) k--;
    k++;
    for (int m = n; m > k; m--) {
      FFreq[m] = FFreq[m - 1];
      FSon[m] = FSon[m - 1];
    }
    FFreq[k] = f;
    FSon[k] = static_cast<uint16_t>(i);
  }
  for (int i = 0; i < kTableSize; i++) {
    int k = FSon[i];
    if (k >= kTableSize) {
      FParent[k] = static_cast<uint16_t>(i);
    } else {
      FParent[k] = FParent[k + 1] = static_cast<uint16_t>(i);
    }
  }
}

// Counts one more occurrence of `symbol` and moves every node on its path that
// now outweighs its right-hand neighbours behind them.
void TLZH::Update(int symbol) {
  if (FFreq[kRoot] >= kMaxFreq) Reconstruct();
  int c = FParent[symbol + kTableSize];
  do {
    uint16_t k = ++FFreq[c];
    int l = c + 1;
    if (k > FFreq[l]) {
      while (k > FFreq[++l]) {
      }
      l--;
      FFreq[c] = FFreq[l];
      FFreq[l] = k;

      int i = FSon[c];
      FParent[i] = static_cast<uint16_t>(l);
      if (i < kTableSize) FParent[i + 1] = static_cast<uint16_t>(l);

      int j = FSon[l];
      FSon[l] = static_cast<uint16_t>(i);
      FParent[j] = static_cast<uint16_t>(c);
      if (j < kTableSize) FParent[j + 1] = static_cast<uint16_t>(c);
      FSon[c] = static_cast<uint16_t>(j);

      c = l;
    }
    c = FParent[c];
  } while (c != 0);
}

int TLZH::DecodeChar() {
  int c = FSon[kRoot];
  while (c < kTableSize) {
    c += GetBit();
    c = FSon[c];
  }
  c -= kTableSize;
  Update(c);
  return c;
}

int TLZH::DecodePosition() {
  int i = GetByte();
  int c = DCode[i] << 6;
  int j = DLen[i] - 2;
  while (j-- > 0) i = (i << 1) + GetBit();
  return c | (i & 0x3F);
}

void TLZH::Decode(int32_t length) {
  if (length <= 0) return;
  // Reserve no more than the input could possibly produce: a match of at most
  // 60 bytes costs at least 10 bits.
  size_t bound = (FInput.Size() - std::min(FInput.Size(), FInput.Position())) * 48 + kLookAhead;
  FOutput.Reserve(FOutput.Position() + std::min<size_t>(static_cast<size_t>(length), bound));

  StartModel();
  const int start = kRingSize - kLookAhead;
  std::fill(FRing.begin(), FRing.begin() + start, ' ');
  int r = start;
  int64_t count = 0;
  while (count < length) {
    int c = DecodeChar();
    if (c < 256) {
      FOutput.WriteByte(static_cast<uint8_t>(c));
      FRing[r++] = static_cast<uint8_t>(c);
      r &= kRingSize - 1;
      count++;
    } else {
      int i = (r - DecodePosition() - 1) & (kRingSize - 1);
      int j = c - 255 + kThreshold;
      for (int k = 0; k < j; k++) {
        uint8_t b = FRing[(i + k) & (kRingSize - 1)];
        FOutput.WriteByte(b);
        FRing[r++] = b;
        r &= kRingSize - 1;
        count++;
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Archive layout

int ReservedBlockSize(int32_t formatVersion) {
  switch (formatVersion) {
    case 20000: return 0;
    case 30000: return 256;
    case 40000: return 80;
    case 50000: return 48;
    case 60000: return 117;
    case 70000: return 69;
    default: return -1;
  }
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t i = 0, n = text.size();
  while (i < n) {
    size_t start = i;
    while (i < n && text[i] != '\r' && text[i] != '\n') i++;
    lines.emplace_back(text, start, i - start);
    if (i < n && text[i] == '\r') i++;
    if (i < n && text[i] == '\n') i++;
  }
  return lines;
}

std::string LowerAscii(std::string s) {
  for (char& ch : s)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return s;
}

// ---------------------------------------------------------------------------
// TSkinReader

void TSkinReader::DecodeLzh(TSkinMemoryStream& source, TSkinMemoryStream& target) {
  source.Seek(0);
  target.Seek(0);
  int32_t length = 0;
  source.ReadInt32(length);
  TLZH decoder(source, target);
  decoder.Decode(length);
}

void TSkinReader::Reset() {
  Names.clear();
  Count = 0;
  std::fill(std::begin(Sizes), std::end(Sizes), 0);
  PartData.Clear();
}

bool TSkinReader::UnpackSkin(TSkinMemoryStream& archive) {
  TSkinMemoryStream unpacked;
  DecodeLzh(archive, unpacked);
  const size_t total = unpacked.Size();

  unpacked.Seek(0);
  unpacked.ReadInt32(FormatVersion);
  unpacked.ReadInt32(NameListSize);
  unpacked.ReadInt32(Reserved1);
  unpacked.ReadInt32(Reserved2);

  int reserved = ReservedBlockSize(FormatVersion);
  if (reserved < 0) {
    Reset();
    ShowSkinMessage(kOlderSkinMessage);
    return false;
  }

  // Every field is checked against what is really there before it is used.
  size_t namesAt = 16 + static_cast<size_t>(reserved);
  bool ok = NameListSize >= 0 && namesAt <= total &&
            static_cast<size_t>(NameListSize) <= total - namesAt;
  std::vector<std::string> names;
  size_t sizesAt = 0, dataAt = 0;
  if (ok) {
    std::string list(reinterpret_cast<const char*>(unpacked.Data()) + namesAt,
                     static_cast<size_t>(NameListSize));
    names = SplitLines(LowerAscii(list));
    sizesAt = namesAt + static_cast<size_t>(NameListSize);
    ok = names.size() <= static_cast<size_t>(kMaxParts) && names.size() * 4 <= total - sizesAt;
  }
  int64_t sum = 0;
  if (ok) {
    dataAt = sizesAt + names.size() * 4;
    for (size_t i = 0; ok && i < names.size(); i++) {
      int32_t size = ReadInt32At(unpacked, sizesAt + 4 * i);
      sum += size;
      ok = size >= 0 && sum <= static_cast<int64_t>(total - dataAt);
    }
  }
  if (!ok) {
    Reset();
    ShowSkinMessage(kDamagedSkinMessage);
    return false;
  }

  Reset();
  Names = std::move(names);
  Count = static_cast<int32_t>(Names.size());
  for (int i = 0; i < Count; i++) Sizes[i] = ReadInt32At(unpacked, sizesAt + 4 * i);
  PartData.Seek(0);
  PartData.Write(unpacked.Data() + dataAt, total - dataAt);
  return true;
}

void TSkinReader::CopyPart(int index, TSkinMemoryStream& target) const {
  size_t offset = 0;
  for (int i = 0; i < index; i++) offset += static_cast<size_t>(Sizes[i]);
  target.Write(PartData.Data() + offset, static_cast<size_t>(Sizes[index]));
  target.Seek(0);
}

void TSkinReader::ExtractPart(const std::string& name, TSkinMemoryStream& target) const {
  target.Clear();
  std::string wanted = LowerAscii(name);
  for (int i = 0; i < Count; i++) {
    if (Names[i] == wanted) {
      CopyPart(i, target);
      return;
    }
  }
}

void TSkinReader::FindPart(const std::string& text, TSkinMemoryStream& target,
                           std::string& partName) const {
  target.Clear();
  for (int i = 0; i < Count; i++) {
    if (Names[i].find(text) != std::string::npos) {
      CopyPart(i, target);
      partName = Names[i];
      return;
    }
  }
}
