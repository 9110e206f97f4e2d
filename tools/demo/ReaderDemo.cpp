// Demonstration of the card reader library: opens the reader's port, reads
// the card's serial number, sets a new key on one sector (with the old key
// loaded into the reader), loads the factory key back, beeps and closes.
//
// usage: ReaderDemo PORT [SECTOR [OLDKEY [NEWKEY]]]
//   PORT    the number n of COMn
//   SECTOR  0-15 (default 8)
//   OLDKEY, NEWKEY  12 hex digits (defaults FFFFFFFFFFFF and A0A1A2A3A4A5)
#include <cstdio>
#include <cstdlib>

#include "Dorvex.h"

namespace {
constexpr int kBaud = 9600;
constexpr const char* kFactoryKey = "FFFFFFFFFFFF";

bool Step(const char* what, int result) {
  std::printf("%-40s %s\n", what, result == 1 ? "ok" : "FAILED");
  return result == 1;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ReaderDemo PORT [SECTOR [OLDKEY [NEWKEY]]]\n");
    return 2;
  }
  const int port = std::atoi(argv[1]);
  const int sector = argc > 2 ? std::atoi(argv[2]) : 8;
  const char* oldKey = argc > 3 ? argv[3] : kFactoryKey;
  const char* newKey = argc > 4 ? argv[4] : "A0A1A2A3A4A5";

  std::printf("Card reader on COM%d at %d baud\n", port, kBaud);
  if (!Step("open the port", OpenComPort(port, kBaud))) return 1;
  char serial[DORVEX_SERIAL_BUFFER];
  bool ok = Step("read the card's serial number", ReadCardSerNum(0, port, kBaud, serial));
  if (ok) std::printf("  serial number %s\n", serial);
  ok = ok && Step("load the old key into the reader", SetDevPassWord(0, port, kBaud, oldKey));
  char what[64];
  std::snprintf(what, sizeof what, "set the new key on sector %d", sector);
  ok = ok && Step(what, SetOneCardPassWord(0, port, kBaud, sector, newKey));
  ok = ok && Step("load the factory key back", SetDevPassWord(0, port, kBaud, kFactoryKey));
  ok = ok && Step("beep", SendBeep(0, port, kBaud, 1));
  CloseComPort();
  std::printf(ok ? "Sector %d now has key %s\n" : "The card was not changed completely\n", sector, newKey);
  return ok ? 0 : 1;
}
