// The card record operations: open, read, edit, credit and debit, repair,
// log out and wipe the records of a record sector (see CardRecords.h). All
// card I/O goes through the reader's verified block reads and writes on the
// link; argument checks come first, then the open-and-close frame.
#pragma once
#include <cstdint>

#include "CardRecords.h"
#include "ReaderCommands.h"

namespace dorvex {

// What OpenCard writes: the header fields, then the account fields.
struct CardOpening {
  int32_t cardNumber;
  const char* text;        // up to 8 bytes, zero-filled after its NUL
  int32_t byte4, byte13;
  const char* date;        // 6 digits
  const char* limitDate;   // 6 digits
  int32_t cash, subsidy, count, counter;
  int32_t value22, value24, value27, value29;
  const char* subsidyDate; // 6 digits
  const char* digits32;    // 12 digits
  int32_t byte38;
  const char* digits16;    // 12 digits
  int32_t value14;
};

// Where ReadCard puts what it read; every pointer must be given.
struct CardReading {
  int32_t* opened;
  int32_t* cardNumber;
  char* text;              // 8 bytes and a NUL
  int32_t* byte4;
  int32_t* byte13;
  char* date;              // 6 digits and a NUL
  char* limitDate;
  int32_t *cash, *subsidy, *count, *counter;
  int32_t *value22, *value24, *value27, *value29;
  char* subsidyDate;       // 6 digits and a NUL
  char* digits32;          // 12 digits and a NUL
  int32_t* byte38;
  char* digits16;          // 12 digits and a NUL
  int32_t* value14;
};

class CardRecordCommands {
 public:
  explicit CardRecordCommands(Reader& reader) : reader_(reader) {}

  int OpenCard(int32_t flag, int32_t port, int32_t baud, int32_t s, const CardOpening& card);
  int ReadCard(int32_t flag, int32_t port, int32_t baud, int32_t s, const CardReading& out);
  int EditCard(int32_t flag, int32_t port, int32_t baud, int32_t s, const char* text, int32_t byte4,
               int32_t byte13, const char* date, const char* limitDate);
  int EditELimitDate(int32_t flag, int32_t port, int32_t baud, int32_t s, const char* limitDate);
  int ReviseCardInfo(int32_t flag, int32_t port, int32_t baud, int32_t s);
  int AddMoney(int32_t flag, int32_t port, int32_t baud, int32_t s, int32_t subtract, int32_t amount,
               int32_t counter);
  int AddSubsidy(int32_t flag, int32_t port, int32_t baud, int32_t s, int32_t subtract, int32_t amount,
                 int32_t counter);
  int AddCount(int32_t flag, int32_t port, int32_t baud, int32_t s, int32_t subtract, int32_t amount,
               int32_t counter);
  int AddSubsidy_ClearSubTime(int32_t flag, int32_t port, int32_t baud, int32_t s, int32_t subtract,
                              int32_t amount, int32_t counter, const char* subsidyDate);
  int LogoutCard(int32_t flag, int32_t port, int32_t baud, int32_t s);
  int ClearAllCardInfo(int32_t flag, int32_t port, int32_t baud);

 private:
  // A balance or count change: what it changes, the amount range it takes
  // and the range the result must stay in.
  struct Change {
    Field field;
    uint32_t minAmount, maxAmount, maxResult;
  };
  int Apply(const Change& c, int32_t flag, int32_t port, int32_t baud, int32_t s, int32_t subtract,
            int32_t amount, int32_t counter, const char* subsidyDate);
  bool ReadRecord(uint32_t block, Record* r);
  bool WriteRecord(uint32_t block, const Record& r);
  bool Revise(uint32_t s);

  Reader& reader_;
};

}  // namespace dorvex
