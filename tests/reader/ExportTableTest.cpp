// The export table of Dorvex.dll, read from the file: exactly the decorated
// stdcall names host programs bind to, each with its argument bytes, and
// the public header declaring the same argument sizes, in C as in C++.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "Dorvex.h"

namespace {

// Bytes of the arguments of a stdcall function type (each rounded to 4).
template <typename T>
struct ArgBytes;
template <typename R, typename... A>
struct ArgBytes<R(__stdcall*)(A...)> {
  static constexpr int value = (0 + ... + static_cast<int>((sizeof(A) + 3) / 4 * 4));
};
#define DECLARED(f) {#f, ArgBytes<decltype(&f)>::value}

// The names the library exports and their argument bytes.
const std::map<std::string, int> kExpected = {
    {"OpenComPort", 8},         {"CloseComPort", 0},      {"SetDevPassWord", 16},
    {"SetOneCardPassWord", 20}, {"SetAllCardPassWord", 16}, {"WriteCardBlock", 24},
    {"ReadCardBlock", 24},      {"ReadCardSerNum", 16},   {"SendBeep", 16},
    {"SetAutoEditPW", 36},      {"CancelAutoEditPW", 12}, {"ChangeCardPassWord", 12},
    {"OpenCard", 92},           {"ReadCard", 96},         {"EditCard", 36},
    {"EditELimitDate", 20},     {"ReviseCardInfo", 16},   {"AddMoney", 28},
    {"AddSubsidy", 28},         {"AddCount", 28},         {"AddSubsidy_ClearSubTime", 32},
    {"LogoutCard", 16},         {"ClearAllCardInfo", 12},
};

std::string DllPath() {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string path(exe);
  return path.substr(0, path.find_last_of("\\/") + 1) + "Dorvex.dll";
}

template <typename T>
T At(const std::vector<uint8_t>& f, size_t off) {
  T v;
  if (off + sizeof v > f.size()) throw std::runtime_error("outside the file");
  std::memcpy(&v, f.data() + off, sizeof v);
  return v;
}

// The export names of a PE file, parsed from its headers.
std::vector<std::string> ExportNames(const std::vector<uint8_t>& f) {
  const uint32_t pe = At<uint32_t>(f, 0x3C);
  if (At<uint32_t>(f, pe) != 0x00004550) throw std::runtime_error("no PE signature");
  const uint16_t sections = At<uint16_t>(f, pe + 6);
  const uint16_t optSize = At<uint16_t>(f, pe + 20);
  const size_t opt = pe + 24;
  if (At<uint16_t>(f, opt) != 0x10B) throw std::runtime_error("not a 32-bit image");
  const uint32_t exportRva = At<uint32_t>(f, opt + 96);  // data directory 0
  const size_t table = opt + optSize;
  auto ToOffset = [&](uint32_t rva) -> size_t {
    for (uint16_t i = 0; i < sections; ++i) {
      const size_t s = table + 40u * i;
      const uint32_t va = At<uint32_t>(f, s + 12), size = At<uint32_t>(f, s + 16), raw = At<uint32_t>(f, s + 20);
      if (rva >= va && rva < va + size) return raw + (rva - va);
    }
    throw std::runtime_error("address outside every section");
  };
  const size_t dir = ToOffset(exportRva);
  const uint32_t functions = At<uint32_t>(f, dir + 20), count = At<uint32_t>(f, dir + 24);
  const size_t names = ToOffset(At<uint32_t>(f, dir + 32));
  EXPECT_EQ(functions, count) << "every exported function has a name";
  std::vector<std::string> out;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t at = ToOffset(At<uint32_t>(f, names + 4 * i));
    out.emplace_back(reinterpret_cast<const char*>(f.data() + at));
  }
  return out;
}

}  // namespace

TEST(DorvexExports, ExactlyTheDecoratedNames) {
  std::ifstream in(DllPath(), std::ios::binary);
  ASSERT_TRUE(in) << DllPath();
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> expected;
  for (const auto& e : kExpected) expected.push_back("_" + e.first + "@" + std::to_string(e.second));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(ExportNames(file), expected);  // the table is sorted by name
}

TEST(DorvexExports, HeaderDeclaresTheSameArgumentBytes) {
  const std::map<std::string, int> declared = {
      DECLARED(OpenComPort),        DECLARED(CloseComPort),   DECLARED(SetDevPassWord),
      DECLARED(SetOneCardPassWord), DECLARED(SetAllCardPassWord), DECLARED(WriteCardBlock),
      DECLARED(ReadCardBlock),      DECLARED(ReadCardSerNum), DECLARED(SendBeep),
      DECLARED(SetAutoEditPW),      DECLARED(CancelAutoEditPW), DECLARED(ChangeCardPassWord),
      DECLARED(OpenCard),           DECLARED(ReadCard),       DECLARED(EditCard),
      DECLARED(EditELimitDate),     DECLARED(ReviseCardInfo), DECLARED(AddMoney),
      DECLARED(AddSubsidy),         DECLARED(AddCount),       DECLARED(AddSubsidy_ClearSubTime),
      DECLARED(LogoutCard),         DECLARED(ClearAllCardInfo),
  };
  EXPECT_EQ(declared.size(), 23u);
  EXPECT_EQ(declared, kExpected);
}

extern "C" int ScrambleZeroKeyFromC(char* out);

TEST(DorvexExports, CProgramsCallThroughTheHeader) {
  char out[DORVEX_KEY_BUFFER];
  EXPECT_EQ(ScrambleZeroKeyFromC(out), 1);
  EXPECT_STREQ(out, "3AC55C936EA1");
}

TEST(DorvexExports, EveryNameResolvesInTheLoadedLibrary) {
  HMODULE dll = LoadLibraryA(DllPath().c_str());
  ASSERT_NE(dll, nullptr);
  for (const auto& e : kExpected) {
    const std::string name = "_" + e.first + "@" + std::to_string(e.second);
    EXPECT_NE(GetProcAddress(dll, name.c_str()), nullptr) << name;
    EXPECT_EQ(GetProcAddress(dll, e.first.c_str()), nullptr) << e.first << " must not be exported undecorated";
  }
  FreeLibrary(dll);
}
