#include "DLL.h"

#include <cstring>

#include "Common.h"
#include "DorvexImports.h"

namespace {

// Working buffers of one wrapper call: the serial number as 8 hex digits,
// and the key actually sent as 12 hex digits, both NUL-terminated.
struct KeyBuffers {
  char serial[10] = {};
  char key[20] = {};
};

// Closes the port on every way out of a wrapper that opened it.
class PortGuard {
 public:
  PortGuard() = default;
  PortGuard(const PortGuard&) = delete;
  PortGuard& operator=(const PortGuard&) = delete;
  ~PortGuard() {
    if (open_) CloseComPort();
  }
  bool Open(bool wanted, int port, int baud) {
    if (!wanted) return true;
    open_ = OpenComPort(port, baud) != 0;
    return open_;
  }

 private:
  bool open_ = false;
};

// Puts the key to send into buf.key: the key itself, or scrambled with the
// card's serial number when perCard.
bool DeriveKey(KeyBuffers& buf, bool perCard, const std::string& key) {
  std::memset(buf.key, 0, sizeof buf.key);
  if (!perCard) {
    std::memcpy(buf.key, key.data(), 12);
    return true;
  }
  return ChangeCardPassWord(key.c_str(), buf.serial, buf.key) != 0;
}

bool ReadSerialIfNeeded(KeyBuffers& buf, bool needed, int port, int baud) {
  if (!needed) return true;
  return ReadCardSerNum(0, port, baud, buf.serial) != 0;
}

// The common part of both key-setting wrappers; `setKeys` sets the new key
// in buf.key on the card's sectors.
template <typename SetKeys>
bool KeyCard(bool open, int port, int baud, bool oldPerCard, bool newPerCard,
             const std::string& oldKey, const std::string& newKey, SetKeys setKeys) {
  if (!IsCardKey(oldKey) || !IsCardKey(newKey)) return false;
  PortGuard guard;
  if (!guard.Open(open, port, baud)) return false;
  KeyBuffers buf;
  if (!ReadSerialIfNeeded(buf, oldPerCard || newPerCard, port, baud)) return false;
  if (!DeriveKey(buf, oldPerCard, oldKey)) return false;
  if (!SetDevPassWord(0, port, baud, buf.key)) return false;
  if (!DeriveKey(buf, newPerCard, newKey)) return false;
  if (!setKeys(buf.key)) return false;
  // Leave the reader as a fresh card expects it.
  SetDevPassWord(0, port, baud, kFactoryKey);
  SendBeep(0, port, baud, 1);
  return true;
}

}  // namespace

bool ParseSectorList(const std::string& sectors, std::vector<int>& out) {
  out.clear();
  const int fields = GetFieldCount(sectors, '/');
  for (int i = 1; i <= fields; ++i) {
    int sector = 0;
    if (!ParseDecimal(GetField(sectors, i, '/'), sector) || sector > 15) return false;
    out.push_back(sector);
  }
  return true;
}

bool SetReaderKey(bool open, int port, int baud, bool perCard, const std::string& key) {
  if (!IsCardKey(key)) return false;
  PortGuard guard;
  if (!guard.Open(open, port, baud)) return false;
  KeyBuffers buf;
  if (!ReadSerialIfNeeded(buf, perCard, port, baud)) return false;
  if (!DeriveKey(buf, perCard, key)) return false;
  return SetDevPassWord(0, port, baud, buf.key) != 0;
}

bool InitCardSectors(bool open, int port, int baud, const std::string& sectors, bool oldPerCard,
                     bool newPerCard, const std::string& oldKey, const std::string& newKey) {
  std::vector<int> list;
  if (!ParseSectorList(sectors, list)) return false;
  return KeyCard(open, port, baud, oldPerCard, newPerCard, oldKey, newKey,
                 [&](const char* key) {
                   for (int sector : list)
                     if (!SetOneCardPassWord(0, port, baud, sector, key)) return false;
                   return true;
                 });
}

bool InitCardAllSectors(bool open, int port, int baud, bool oldPerCard, bool newPerCard,
                        const std::string& oldKey, const std::string& newKey) {
  return KeyCard(open, port, baud, oldPerCard, newPerCard, oldKey, newKey,
                 [&](const char* key) { return SetAllCardPassWord(0, port, baud, key) != 0; });
}
