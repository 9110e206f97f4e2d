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
int32_t Call(const std::string& name, const std::string& args) {
  Reader& r = reader();
  r.calls.push_back(args.empty() ? name : name + " " + args);
  const int n = ++r.counts[name];
  auto it = r.failAt.find(name);
  return (it != r.failAt.end() && it->second == n) ? 0 : 1;
}

std::string Args(int32_t open, int32_t port, int32_t baud) {
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

int32_t DORVEX_API OpenComPort(int32_t port, int32_t baud) {
  const int32_t ok = scripted::Call("OpenComPort", std::to_string(port) + " " + std::to_string(baud));
  if (ok) {
    reader().portOpen = true;
    ++reader().opens;
  }
  return ok;
}

int32_t DORVEX_API CloseComPort() {
  scripted::Call("CloseComPort", "");
  reader().portOpen = false;
  ++reader().closes;
  return 1;
}

int32_t DORVEX_API ReadCardSerNum(int32_t open, int32_t port, int32_t baud, char* serial) {
  const int32_t ok = scripted::Call("ReadCardSerNum", scripted::Args(open, port, baud));
  if (ok) std::snprintf(serial, 9, "%s", reader().serial.c_str());
  return ok;
}

int32_t DORVEX_API SetDevPassWord(int32_t open, int32_t port, int32_t baud, const char* key) {
  return scripted::Call("SetDevPassWord", scripted::Args(open, port, baud) + " " + std::string(key));
}

int32_t DORVEX_API ChangeCardPassWord(const char* key, const char* value, char* out) {
  scripted::Call("ChangeCardPassWord", std::string(key, 12) + " " + std::string(value, 8));
  std::memcpy(out, scripted::Scramble(key, value).c_str(), 13);
  return 1;
}

int32_t DORVEX_API SendBeep(int32_t open, int32_t port, int32_t baud, int32_t value) {
  return scripted::Call("SendBeep", scripted::Args(open, port, baud) + " " + std::to_string(value));
}

int32_t DORVEX_API SetOneCardPassWord(int32_t open, int32_t port, int32_t baud, int32_t sector,
                                      const char* key) {
  return scripted::Call("SetOneCardPassWord", scripted::Args(open, port, baud) + " " +
                                                  std::to_string(sector) + " " + key);
}

int32_t DORVEX_API SetAllCardPassWord(int32_t open, int32_t port, int32_t baud, const char* key) {
  return scripted::Call("SetAllCardPassWord", scripted::Args(open, port, baud) + " " + key);
}

int32_t DORVEX_API WriteCardBlock(int32_t open, int32_t port, int32_t baud, int32_t block,
                                  int32_t count, const uint8_t* data) {
  return scripted::Call("WriteCardBlock", scripted::Args(open, port, baud) + " " +
                                              std::to_string(block) + " " + std::to_string(count));
}

int32_t DORVEX_API SetAutoEditPW(int32_t open, int32_t port, int32_t baud, int32_t allSectors,
                                 int32_t sector, const char* oldKey, int32_t oldPerCard,
                                 const char* newKey, int32_t newPerCard) {
  return scripted::Call("SetAutoEditPW",
                        scripted::Args(open, port, baud) + " " + std::to_string(allSectors) + " " +
                            std::to_string(sector) + " " + oldKey + " " +
                            std::to_string(oldPerCard) + " " + newKey + " " +
                            std::to_string(newPerCard));
}

int32_t DORVEX_API CancelAutoEditPW(int32_t open, int32_t port, int32_t baud) {
  return scripted::Call("CancelAutoEditPW", scripted::Args(open, port, baud));
}

}  // extern "C"
