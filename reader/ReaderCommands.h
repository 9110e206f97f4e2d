// The reader's commands, one method per export: argument checks first, then
// the open-and-close frame, then the exchanges over the one link. Nothing
// here touches Win32; the exports forward to one process-wide Reader.
#pragma once
#include <cstddef>
#include <cstdint>

#include "ReaderLink.h"

namespace dorvex {

constexpr size_t kKeyChars = 12;        // a key text
constexpr size_t kKeyBytes = 6;
constexpr size_t kScrambleChars = 8;    // a scrambling value text
constexpr size_t kScrambleBytes = 4;
constexpr size_t kSerialBytes = 4;
constexpr size_t kBlockBytes = 16;
constexpr uint32_t kSectors = 16;
constexpr uint32_t kMaxFirstBlock = 62; // the last block a transfer may start at
constexpr uint32_t kMaxBlocks = 3;      // blocks in one transfer
constexpr int kWriteAttempts = 3;

// Reader command codes.
enum Code : uint8_t {
  kSetDevKey = 0x01,
  kSetSectorKey = 0x02,
  kWriteBlocks = 0x03,
  kReadBlocks = 0x04,
  kReadSerial = 0x05,
  kBeep = 0x06,
  kSetAutoKey = 0x53,
  kCancelAutoKey = 0x54,
};

// A transfer of `count` blocks from `first` stays inside one sector's data
// blocks: count 1-3 and (first mod 4) + count <= 3, so that it never reaches
// the key block 4k+3. `lowest` is 0 for reads (block 0 may be read) and 1 for
// writes (block 0 holds the card's maker data).
bool BlockRangeOk(uint32_t first, uint32_t count, uint32_t lowest);

// Reads a key text of 12 hex digits into 6 bytes; false, with `out`
// untouched, when the text is null or ends before its 12th character.
bool ParseKey(const char* text, uint8_t* out);

class Reader {
 public:
  Reader(SerialPort& port, Clock& clock) : link_(port, clock) {}
  ReaderLink& Link() { return link_; }

  int OpenComPort(int32_t port, int32_t baud);
  int CloseComPort();

  int SetDevPassWord(int32_t flag, int32_t port, int32_t baud, const char* key);
  int SetOneCardPassWord(int32_t flag, int32_t port, int32_t baud, int32_t sector, const char* key);
  int SetAllCardPassWord(int32_t flag, int32_t port, int32_t baud, const char* key);
  int WriteCardBlock(int32_t flag, int32_t port, int32_t baud, int32_t block, int32_t count,
                     const uint8_t* data);
  int ReadCardBlock(int32_t flag, int32_t port, int32_t baud, int32_t block, int32_t count,
                    uint8_t* out);
  int ReadCardSerNum(int32_t flag, int32_t port, int32_t baud, char* out);
  int SendBeep(int32_t flag, int32_t port, int32_t baud, int32_t value);
  int SetAutoEditPW(int32_t flag, int32_t port, int32_t baud, int32_t mode, int32_t sector,
                    const char* oldKey, int32_t oldKeyFlag, const char* newKey, int32_t newKeyFlag);
  int CancelAutoEditPW(int32_t flag, int32_t port, int32_t baud);

  // Block transfers on the open link, for the card records. The range must
  // have been checked. ReadBlocks writes count x 16 bytes to `out` only on
  // success; WriteBlocks reads every write back and tries three times.
  bool ReadBlocks(uint32_t first, uint32_t count, uint8_t* out);
  bool WriteBlocks(uint32_t first, uint32_t count, const uint8_t* data);

 private:
  // One command answered by an 8-byte acknowledgement.
  bool Acknowledged(const uint8_t* payload, size_t n);
  bool SetSectorKey(uint8_t sector, const uint8_t* key);
  bool ReadSerial(uint8_t* serial);

  ReaderLink link_;
};

// Scrambles a key (12 hex digits) with a value (8 hex digits) into 12
// upper-case hex digits and a NUL; no I/O. 0, with `out` untouched, when
// either text is null or too short, or `out` is null.
int ChangeCardPassWord(const char* key, const char* value, char* out);

}  // namespace dorvex
