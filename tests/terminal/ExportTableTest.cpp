// Halvin.dll's export directory, read from the file: exactly the 74
// decorated stdcall names with their argument bytes, each resolving to code.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// name@argument-bytes, with the leading underscore of the decoration.
const char* const kExpected[] = {
    "_SetConnNetParam@20",
    "_OpenPort@0",
    "_ClosePort@0",
    "_SetDevNo@12",
    "_SetBaud@12",
    "_SetDevTime@12",
    "_GetDevTime@12",
    "_SetMAGCard@12",
    "_SetMenuPassWord@12",
    "_SetScreen@12",
    "_SetPrintTilte@12",
    "_SetAutoPrint@12",
    "_SetWorkType@12",
    "_SetDoorType@12",
    "_SetPeriod@12",
    "_SetIsLimitTime@12",
    "_SetLimitTime@12",
    "_SetIsLimitMoney@12",
    "_SetLimitMoney@12",
    "_SetIsPeriodLimit@12",
    "_SetOutPeriodUse@12",
    "_SetPeriodLimit@12",
    "_SetSleep@12",
    "_SetAllowLeave@12",
    "_SetSaveMoney@12",
    "_SetFixedMoney@12",
    "_SetTimeMoney@12",
    "_SetPeriodMoney@12",
    "_SetMenuMoney@16",
    "_SetDiscount@12",
    "_ClearBlackCard@8",
    "_GetAllMoneyInfo@20",
    "_LoseCard@12",
    "_UnLoseCard@12",
    "_DownRecord@20",
    "_DeleteRecord@8",
    "_RealDownRecord@16",
    "_DeleteRealRecord@12",
    "_RegainDelRecord@12",
    "_GetCardSubsidy@16",
    "_AddSubsidy@16",
    "_DecSubsidy@16",
    "_ClearAllSubsidy@8",
    "_SetIsClearSubsidy@12",
    "_SetTcpNetParam@56",
    "_SetGPRSNetParam@20",
    "_SetDevVersion@12",
    "_GetDevVersion@12",
    "_SetStartBlock@12",
    "_SetDevPassWord@12",
    "_SetSoundInfo@12",
    "_SetOneLimitMoney@12",
    "_GetFlashBuf@20",
    "_InitDev@8",
    "_CheckFlash@8",
    "_ReadRegainDelRecordCnt@12",
    "_SetFactoryTime@12",
    "_GetFactoryTime@12",
    "_GetDayMoneyInfo@16",
    "_SetKeyMoney@16",
    "_DownFont@20",
    "_DecMoneySpeed@12",
    "_AddMoneySpeed@12",
    "_DecMoneyUnit@12",
    "_AddMoneyUnit@16",
    "_SetRelayIsOpen@12",
    "_SetRelayOpenTime@12",
    "_SetGameIsSwingCard@12",
    "_SetIsMonthCount@12",
    "_SetMonthCount@12",
    "_GetCardInfo@24",
    "_SetBalance@16",
    "_SetDecMoney@20",
    "_SetAddMoney@20",
};

std::string DllPath() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string p(path, n);
  return p.substr(0, p.find_last_of("\\/") + 1) + "Halvin.dll";
}

// The names of a PE file's export directory.
class ExportReader {
 public:
  explicit ExportReader(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    file_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Read(std::vector<std::string>* names, std::string* dllName) {
    if (file_.size() < 0x40 || file_[0] != 'M' || file_[1] != 'Z') return false;
    const uint32_t pe = U32(0x3C);
    if (pe + 24 > file_.size() || std::memcmp(&file_[pe], "PE\0\0", 4) != 0) return false;
    const uint16_t sections = U16(pe + 6);
    const uint16_t optSize = U16(pe + 20);
    const uint32_t opt = pe + 24;
    if (U16(opt) != 0x10B) return false;  // a 32-bit image
    const uint32_t exportRva = U32(opt + 96);
    sectionTable_ = opt + optSize;
    sectionCount_ = sections;
    const uint32_t dir = Offset(exportRva);
    if (!dir) return false;
    *dllName = Text(Offset(U32(dir + 12)));
    const uint32_t count = U32(dir + 24);
    const uint32_t namesAt = Offset(U32(dir + 32));
    for (uint32_t i = 0; i < count; ++i) names->push_back(Text(Offset(U32(namesAt + 4 * i))));
    return true;
  }

 private:
  uint16_t U16(size_t at) const { return static_cast<uint16_t>(Byte(at) | Byte(at + 1) << 8); }
  uint32_t U32(size_t at) const { return U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16; }
  uint8_t Byte(size_t at) const { return at < file_.size() ? static_cast<uint8_t>(file_[at]) : 0; }
  std::string Text(uint32_t at) const {
    std::string s;
    while (at && at < file_.size() && file_[at]) s += file_[at++];
    return s;
  }
  // File offset of an address relative to the image, through the section table.
  uint32_t Offset(uint32_t rva) const {
    for (uint16_t i = 0; i < sectionCount_; ++i) {
      const uint32_t s = sectionTable_ + 40 * i;
      const uint32_t va = U32(s + 12), size = U32(s + 16), raw = U32(s + 20);
      if (rva >= va && rva < va + size) return raw + (rva - va);
    }
    return 0;
  }
  std::vector<char> file_;
  uint32_t sectionTable_ = 0;
  uint16_t sectionCount_ = 0;
};

}  // namespace

TEST(HalvinExports, ExactlyTheDecoratedNames) {
  std::vector<std::string> names;
  std::string dllName;
  ASSERT_TRUE(ExportReader(DllPath()).Read(&names, &dllName));
  EXPECT_STRCASEEQ(dllName.c_str(), "Halvin.dll");
  const std::set<std::string> expected(std::begin(kExpected), std::end(kExpected));
  ASSERT_EQ(expected.size(), 74u);
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
  EXPECT_EQ(names.size(), 74u);
  // The argument bytes are those of the terminal library, not of the
  // reader library's functions of the same names.
  EXPECT_EQ(expected.count("_SetDevPassWord@12"), 1u);
  EXPECT_EQ(expected.count("_AddSubsidy@16"), 1u);
  for (const std::string& n : names) {
    EXPECT_NE(n, "_SetDevPassWord@16");
    EXPECT_NE(n, "_AddSubsidy@28");
  }
}

TEST(HalvinExports, EveryNameResolves) {
  HMODULE dll = LoadLibraryA(DllPath().c_str());
  ASSERT_NE(dll, nullptr);
  for (const char* name : kExpected) EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
  EXPECT_EQ(GetProcAddress(dll, "OpenPort"), nullptr);  // only decorated names
  FreeLibrary(dll);
}
