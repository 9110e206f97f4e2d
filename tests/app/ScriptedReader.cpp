#include "ScriptedReader.h"

#include <cstdio>
#include <cstring>

#include "DorvexImports.h"

namespace scripted {

Reader& reader() {
  static Reader r;
  return r;
}

void Reset() { reader() = Reader(); }

namespace {

int Nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

// Records the call and answers 1, or 0 when it is the one to fail.
int Call(const std::string& name, const std::string& args) {
  Reader& r = reader();
  r.calls.push_back(args.empty() ? name : name + " " + args);
  const int n = ++r.counts[name];
  auto it = r.failAt.find(name);
  return (it != r.failAt.end() && it->second == n) ? 0 : 1;
}

std::string Args(int open, int port, int baud) {
  return std::to_string(open) + " " + std::to_string(port) + " " + std::to_string(baud);
}

}  // namespace

std::string Scramble(const std::string& key, const std::string& value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out(12, '0');
  for (int i = 0; i < 12; ++i) out[i] = kHex[(Nibble(key[i]) + Nibble(value[i % 8]) + i) & 15];
  return out;
}

std::vector<std::string> CallsOf(const std::string& name) {
  std::vector<std::string> out;
  for (const auto& c : reader().calls)
    if (c.compare(0, name.size() + 1, name + " ") == 0 || c == name) out.push_back(c);
  return out;
}

}  // namespace scripted

using scripted::reader;

extern "C" {

int DORVEX_API OpenComPort(int port, int baud) {
  const int ok = scripted::Call("OpenComPort", std::to_string(port) + " " + std::to_string(baud));
  if (ok) {
    reader().portOpen = true;
    ++reader().opens;
  }
  return ok;
}

int DORVEX_API CloseComPort() {
  scripted::Call("CloseComPort", "");
  reader().portOpen = false;
  ++reader().closes;
  return 1;
}

int DORVEX_API ReadCardSerNum(int open, int port, int baud, char* serial) {
  const int ok = scripted::Call("ReadCardSerNum", scripted::Args(open, port, baud));
  if (ok) std::snprintf(serial, 9, "%s", reader().serial.c_str());
  return ok;
}

int DORVEX_API SetDevPassWord(int open, int port, int baud, const char* key) {
  return scripted::Call("SetDevPassWord", scripted::Args(open, port, baud) + " " + std::string(key));
}

int DORVEX_API ChangeCardPassWord(const char* key, const char* value, char* out) {
  scripted::Call("ChangeCardPassWord", std::string(key, 12) + " " + std::string(value, 8));
  std::memcpy(out, scripted::Scramble(key, value).c_str(), 13);
  return 1;
}

int DORVEX_API SendBeep(int open, int port, int baud, int value) {
  return scripted::Call("SendBeep", scripted::Args(open, port, baud) + " " + std::to_string(value));
}

int DORVEX_API SetOneCardPassWord(int open, int port, int baud, int sector,
                                      const char* key) {
  return scripted::Call("SetOneCardPassWord", scripted::Args(open, port, baud) + " " +
                                                  std::to_string(sector) + " " + key);
}

int DORVEX_API SetAllCardPassWord(int open, int port, int baud, const char* key) {
  return scripted::Call("SetAllCardPassWord", scripted::Args(open, port, baud) + " " + key);
}

int DORVEX_API WriteCardBlock(int open, int port, int baud, int block,
                                  int count, const unsigned char* data) {
  return scripted::Call("WriteCardBlock", scripted::Args(open, port, baud) + " " +
                                              std::to_string(block) + " " + std::to_string(count));
}

int DORVEX_API SetAutoEditPW(int open, int port, int baud, int allSectors,
                                 int sector, const char* oldKey, int oldPerCard,
                                 const char* newKey, int newPerCard) {
  return scripted::Call("SetAutoEditPW",
                        scripted::Args(open, port, baud) + " " + std::to_string(allSectors) + " " +
                            std::to_string(sector) + " " + oldKey + " " +
                            std::to_string(oldPerCard) + " " + newKey + " " +
                            std::to_string(newPerCard));
}

int DORVEX_API CancelAutoEditPW(int open, int port, int baud) {
  return scripted::Call("CancelAutoEditPW", scripted::Args(open, port, baud));
}

}  // extern "C"
