// The exported functions: each forwards to the one process-wide Reader,
// which checks the arguments, opens and closes the port when asked, and runs
// the exchanges. The library keeps no other state.
#include "Dorvex.h"
#include "ReaderCommands.h"
#include "Win32SerialPort.h"

namespace {
dorvex::Reader& TheReader() {
  static dorvex::Win32SerialPort port;
  static dorvex::Win32Clock clock;
  static dorvex::Reader reader(port, clock);
  return reader;
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

}  // extern "C"
