#include "ReaderModel.h"

#include <algorithm>

namespace sim {

const Key kFactoryKey = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

namespace {
constexpr uint8_t kOk = 0x01, kRefused = 0x00;
const uint8_t kFactoryAccess[4] = {0xFF, 0x07, 0x80, 0x69};
bool IsKeyBlock(int b) { return b % 4 == 3; }
}  // namespace

Card Card::Factory(uint32_t serial) {
  Card c;
  c.SetSerial(serial);
  for (int s = 0; s < kSectors; ++s) {
    Block& k = c.blocks[4 * s + 3];
    std::fill(k.begin(), k.end(), 0xFF);
    std::copy(kFactoryAccess, kFactoryAccess + 4, k.begin() + 6);
  }
  return c;
}

uint32_t Card::Serial() const {
  const Block& b = blocks[0];
  return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
}

void Card::SetSerial(uint32_t serial) {
  Block& b = blocks[0];
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(serial >> (24 - 8 * i));
  b[4] = b[0] ^ b[1] ^ b[2] ^ b[3];  // check byte
  b[5] = 0x08;                       // maker data after it
  b[6] = 0x04;
  b[7] = 0x00;
}

Key Card::SectorKey(int sector) const {
  Key k;
  std::copy(blocks[4 * sector + 3].begin(), blocks[4 * sector + 3].begin() + 6, k.begin());
  return k;
}

void Card::SetSectorKey(int sector, const Key& key) {
  std::copy(key.begin(), key.end(), blocks[4 * sector + 3].begin());
}

ReaderModel::ReaderModel() : card(Card::Factory(0x11223344)), devKey(kFactoryKey) {}

bool ReaderModel::Authenticated(int block) const { return card.present && card.SectorKey(block / 4) == devKey; }

Bytes ReaderModel::Handle(const Bytes& p, WriteMode mode, bool* wroteBlocks) {
  *wroteBlocks = false;
  if (p.empty()) return {};
  const uint8_t code = p[0];
  Bytes refused{code, kRefused};
  Bytes ok{code, kOk};
  switch (code) {
    case 0x01:  // load the reader's key
      if (p.size() != 7) return refused;
      std::copy(p.begin() + 1, p.end(), devKey.begin());
      return ok;
    case 0x02: {  // set a sector's key A
      if (p.size() != 8 || p[1] >= kSectors || !Authenticated(4 * p[1])) return refused;
      Key k;
      std::copy(p.begin() + 2, p.end(), k.begin());
      card.SetSectorKey(p[1], k);
      return ok;
    }
    case 0x03: {  // write blocks
      if (p.size() < 3) return refused;
      const int first = p[1], count = p[2];
      if (count < 1 || count > 3 || first + count > kBlocks || p.size() != 3u + 16u * count) return refused;
      for (int b = first; b < first + count; ++b)
        if (b == 0 || IsKeyBlock(b) || !Authenticated(b)) return refused;
      if (mode == WriteMode::Refuse) return refused;
      if (mode == WriteMode::Store) {
        for (int i = 0; i < count; ++i)
          std::copy(p.begin() + 3 + 16 * i, p.begin() + 3 + 16 * (i + 1), card.blocks[first + i].begin());
        ++blockWrites;
        *wroteBlocks = true;
      }
      return ok;
    }
    case 0x04: {  // read blocks; key A never leaves the card
      if (p.size() != 3) return refused;
      const int first = p[1], count = p[2];
      if (count < 1 || count > 3 || first + count > kBlocks) return refused;
      for (int b = first; b < first + count; ++b)
        if (!Authenticated(b)) return refused;
      for (int b = first; b < first + count; ++b) {
        Block blk = card.blocks[b];
        if (IsKeyBlock(b)) std::fill(blk.begin(), blk.begin() + 6, 0);
        ok.insert(ok.end(), blk.begin(), blk.end());
      }
      return ok;
    }
    case 0x05: {  // serial number
      if (p.size() != 1 || !card.present) return refused;
      uint32_t serial = card.Serial();
      if (!serials.empty()) {
        serial = serials.front();
        serials.pop_front();
      }
      for (int i = 0; i < 4; ++i) ok.push_back(static_cast<uint8_t>(serial >> (24 - 8 * i)));
      return ok;
    }
    case 0x06:  // beep
      if (p.size() != 2) return refused;
      ++beeps;
      lastBeep = p[1];
      return ok;
    case 0x53:  // automatic key setting on
      if (p.size() != 17) return refused;
      autoKey.on = true;
      autoKey.mode = p[1];
      autoKey.sector = p[2];
      std::copy(p.begin() + 3, p.begin() + 9, autoKey.oldKey.begin());
      autoKey.oldFlag = p[9];
      std::copy(p.begin() + 10, p.begin() + 16, autoKey.newKey.begin());
      autoKey.newFlag = p[16];
      return ok;
    case 0x54:  // automatic key setting off
      if (p.size() != 1) return refused;
      autoKey = AutoKeySetting{};
      return ok;
    default:
      return refused;
  }
}

}  // namespace sim
