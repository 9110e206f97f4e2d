// The simulated card reader and the card in its field: what the reader does
// with each request payload, with no I/O. The card has 16 sectors of 4
// blocks; block 4k+3 holds sector k's keys (key A in bytes 0-5, access bits,
// key B). The reader authenticates every card access with the key loaded
// into it (command 0x01), which must equal the sector's key A. Builds on
// both sides: the native tests of the library talk to it directly.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace sim {

using Bytes = std::vector<uint8_t>;
using Key = std::array<uint8_t, 6>;
using Block = std::array<uint8_t, 16>;

constexpr int kSectors = 16;
constexpr int kBlocks = 64;
extern const Key kFactoryKey;  // FF FF FF FF FF FF

struct Card {
  std::array<Block, kBlocks> blocks{};
  bool present = true;

  // A new card: the serial and its check byte in block 0, zero data blocks,
  // factory keys and access bits in every key block.
  static Card Factory(uint32_t serial);
  uint32_t Serial() const;
  void SetSerial(uint32_t serial);
  Key SectorKey(int sector) const;
  void SetSectorKey(int sector, const Key& key);
};

// The reader's automatic key setting (commands 0x53 and 0x54), kept as sent.
struct AutoKeySetting {
  bool on = false;
  uint8_t mode = 0, sector = 0, oldFlag = 0, newFlag = 0;
  Key oldKey{}, newKey{};
};

class ReaderModel {
 public:
  ReaderModel();
  // How a block write is carried out: stored, acknowledged but not stored
  // (the card lost it), or refused and not stored.
  enum class WriteMode { Store, Lose, Refuse };
  // The reply payload (code echoed, status 0x01 and data; status 0x00 on a
  // refusal) for a request payload. `wroteBlocks` tells whether it was a
  // block write that reached the card.
  Bytes Handle(const Bytes& payload, WriteMode mode, bool* wroteBlocks);

  Card card;
  Key devKey;
  AutoKeySetting autoKey;
  int beeps = 0;
  int lastBeep = 0;
  int blockWrites = 0;             // block write requests stored on the card
  std::deque<uint32_t> serials;    // answers for the next serial reads

 private:
  bool Authenticated(int block) const;
};

}  // namespace sim
