// The exported functions: each forwards to the one process-wide Reader,
// which checks the arguments, opens and closes the port when asked, and runs
// the exchanges. The library keeps no other state.
#include "CardRecordCommands.h"
#include "Dorvex.h"
#include "ReaderCommands.h"
#include "Win32SerialPort.h"

// The buffer sizes the header gives host programs are the ones the library
// writes.
static_assert(DORVEX_KEY_BUFFER == 2 * dorvex::kKeyBytes + 1);
static_assert(DORVEX_KEY_CHARS == dorvex::kKeyChars && DORVEX_SCRAMBLE_CHARS == dorvex::kScrambleChars);
static_assert(DORVEX_SERIAL_BUFFER == 2 * dorvex::kSerialBytes + 1);
static_assert(DORVEX_BLOCK_BYTES == dorvex::kBlockBytes && DORVEX_MAX_BLOCKS == dorvex::kMaxBlocks);
static_assert(DORVEX_TEXT_BUFFER == dorvex::CardHeaderRecord::kText.size + 1);
static_assert(DORVEX_DATE_BUFFER == 2 * dorvex::CardHeaderRecord::kDate.size + 1 &&
              DORVEX_DATE_BUFFER == 2 * dorvex::CardAccountRecord::kSubsidyDate.size + 1);
static_assert(DORVEX_DIGITS_BUFFER == 2 * dorvex::CardAccountRecord::kDigits16.size + 1 &&
              DORVEX_DIGITS_BUFFER == 2 * dorvex::CardAccountRecord::kDigits32.size + 1);

namespace {
dorvex::Reader& TheReader() {
  static dorvex::Win32SerialPort port;
  static dorvex::Win32Clock clock;
  static dorvex::Reader reader(port, clock);
  return reader;
}

dorvex::CardRecordCommands& TheCards() {
  static dorvex::CardRecordCommands cards(TheReader());
  return cards;
}
}  // namespace

extern "C" {

int __stdcall OpenComPort(int port, int baud) { return TheReader().OpenComPort(port, baud); }

int __stdcall CloseComPort(void) { return TheReader().CloseComPort(); }

int __stdcall SetDevPassWord(int flag, int port, int baud, const char* key) {
  return TheReader().SetDevPassWord(flag, port, baud, key);
}

int __stdcall SetOneCardPassWord(int flag, int port, int baud, int sector, const char* key) {
  return TheReader().SetOneCardPassWord(flag, port, baud, sector, key);
}

int __stdcall SetAllCardPassWord(int flag, int port, int baud, const char* key) {
  return TheReader().SetAllCardPassWord(flag, port, baud, key);
}

int __stdcall WriteCardBlock(int flag, int port, int baud, int block, int count,
                             const unsigned char* data) {
  return TheReader().WriteCardBlock(flag, port, baud, block, count, data);
}

int __stdcall ReadCardBlock(int flag, int port, int baud, int block, int count, unsigned char* out) {
  return TheReader().ReadCardBlock(flag, port, baud, block, count, out);
}

int __stdcall ReadCardSerNum(int flag, int port, int baud, char* out) {
  return TheReader().ReadCardSerNum(flag, port, baud, out);
}

int __stdcall SendBeep(int flag, int port, int baud, int value) {
  return TheReader().SendBeep(flag, port, baud, value);
}

int __stdcall SetAutoEditPW(int flag, int port, int baud, int mode, int sector, const char* oldKey,
                            int oldKeyFlag, const char* newKey, int newKeyFlag) {
  return TheReader().SetAutoEditPW(flag, port, baud, mode, sector, oldKey, oldKeyFlag, newKey,
                                   newKeyFlag);
}

int __stdcall CancelAutoEditPW(int flag, int port, int baud) {
  return TheReader().CancelAutoEditPW(flag, port, baud);
}

int __stdcall ChangeCardPassWord(const char* key, const char* value, char* out) {
  return dorvex::ChangeCardPassWord(key, value, out);
}

int __stdcall OpenCard(int flag, int port, int baud, int sector, int cardNumber, const char* text,
                       int byte4, int byte13, const char* date, const char* limitDate, int cash,
                       int subsidy, int count, int counter, int value22, int value24, int value27,
                       int value29, const char* subsidyDate, const char* digits32, int byte38,
                       const char* digits16, int value14) {
  const dorvex::CardOpening card{cardNumber, text,    byte4,       byte13,  date,    limitDate,
                                 cash,       subsidy, count,       counter, value22, value24,
                                 value27,    value29, subsidyDate, digits32, byte38, digits16,
                                 value14};
  return TheCards().OpenCard(flag, port, baud, sector, card);
}

int __stdcall ReadCard(int flag, int port, int baud, int sector, int* opened, int* cardNumber,
                       char* text, int* byte4, int* byte13, char* date, char* limitDate, int* cash,
                       int* subsidy, int* count, int* counter, int* value22, int* value24,
                       int* value27, int* value29, char* subsidyDate, char* digits32, int* byte38,
                       char* digits16, int* value14) {
  const dorvex::CardReading out{opened,  cardNumber, text,    byte4,       byte13,   date,
                                limitDate, cash,     subsidy, count,       counter,  value22,
                                value24, value27,    value29, subsidyDate, digits32, byte38,
                                digits16, value14};
  return TheCards().ReadCard(flag, port, baud, sector, out);
}

int __stdcall EditCard(int flag, int port, int baud, int sector, const char* text, int byte4,
                       int byte13, const char* date, const char* limitDate) {
  return TheCards().EditCard(flag, port, baud, sector, text, byte4, byte13, date, limitDate);
}

int __stdcall EditELimitDate(int flag, int port, int baud, int sector, const char* limitDate) {
  return TheCards().EditELimitDate(flag, port, baud, sector, limitDate);
}

int __stdcall ReviseCardInfo(int flag, int port, int baud, int sector) {
  return TheCards().ReviseCardInfo(flag, port, baud, sector);
}

int __stdcall AddMoney(int flag, int port, int baud, int sector, int subtract, int amount, int counter) {
  return TheCards().AddMoney(flag, port, baud, sector, subtract, amount, counter);
}

int __stdcall AddSubsidy(int flag, int port, int baud, int sector, int subtract, int amount, int counter) {
  return TheCards().AddSubsidy(flag, port, baud, sector, subtract, amount, counter);
}

int __stdcall AddCount(int flag, int port, int baud, int sector, int subtract, int amount, int counter) {
  return TheCards().AddCount(flag, port, baud, sector, subtract, amount, counter);
}

int __stdcall AddSubsidy_ClearSubTime(int flag, int port, int baud, int sector, int subtract,
                                      int amount, int counter, const char* subsidyDate) {
  return TheCards().AddSubsidy_ClearSubTime(flag, port, baud, sector, subtract, amount, counter,
                                            subsidyDate);
}

int __stdcall LogoutCard(int flag, int port, int baud, int sector) {
  return TheCards().LogoutCard(flag, port, baud, sector);
}

int __stdcall ClearAllCardInfo(int flag, int port, int baud) {
  return TheCards().ClearAllCardInfo(flag, port, baud);
}

}  // extern "C"
