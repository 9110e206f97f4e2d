#include "UserKeys.h"

#include <algorithm>
#include <numeric>

#include "FileIO.h"
#include "IniFile.h"
#include "TextUtils.h"

namespace {

const char* const kSysSection = "SYSInfo";
const char* const kCountKey = "UserCnt";
const char* const kUserSection = "UserInfo";
const char* const kNamePrefix = "UserName";
const char* const kKeyPrefix = "PassWord";

std::string NameKey(size_t i) { return kNamePrefix + std::to_string(i); }
std::string KeyKey(size_t i) { return kKeyPrefix + std::to_string(i); }

// The number i of a key named prefix + i (i in decimal without leading
// zeros, as the profiles are written), or 0.
int32_t EntryIndex(const std::string& key, const std::string& prefix) {
  if (key.size() <= prefix.size() || !fw::SameText(key.substr(0, prefix.size()), prefix)) return 0;
  const std::string digits = key.substr(prefix.size());
  if (digits[0] < '1' || digits[0] > '9' || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
  int32_t i = 0;
  return fw::TryStrToInt(digits, i) ? i : 0;
}

// The file's numbers of the profiles listed, in list order: 1 to the count.
// The file may have been edited by hand. A count that hid profiles would
// let the next save write new ones over them unseen: a count that is
// missing, not a number or below zero reads as the highest number that has
// a name or a key line, the gaps listed as empty profiles. A count above
// that number would invent empty profiles, which the next save writes into
// the file: it is held to it. And the profiles listed never outnumber the
// name and key lines the file holds: when numbers far apart would make up
// more (millions from a few lines), the numbers up to the count that have
// a line are listed, without the gaps, and the next save numbers them
// afresh from 1.
std::vector<int32_t> ListedNumbers(const fw::TIniText& ini) {
  std::vector<int32_t> present;  // the number of each name or key line
  for (const std::string& key : ini.Keys(kUserSection)) {
    const int32_t i = std::max(EntryIndex(key, kNamePrefix), EntryIndex(key, kKeyPrefix));
    if (i > 0) present.push_back(i);
  }
  const int32_t highest = present.empty() ? 0 : *std::max_element(present.begin(), present.end());
  std::string value;
  int32_t count = 0;
  if (!ini.Read(kSysSection, kCountKey, value) || !fw::TryStrToInt(value, count) || count < 0) count = highest;
  count = std::min(count, highest);
  std::vector<int32_t> numbers;
  if (static_cast<size_t>(count) <= present.size()) {
    numbers.resize(static_cast<size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 1);
    return numbers;
  }
  for (int32_t i : present)
    if (i <= count) numbers.push_back(i);
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

}  // namespace

std::string UserKeysFile() { return AppPath + "Data\\SysInfo.ini"; }

bool LoadUserKeys(const std::string& file, TStringVector& names, TStringVector& keys) {
  names.clear();
  keys.clear();
  std::string bytes;
  const fw::TReadResult read = fw::ReadFileBytes(file, bytes);
  if (read != fw::TReadResult::Read) return read == fw::TReadResult::Missing;
  const fw::TIniText ini(bytes);
  const std::vector<int32_t> numbers = ListedNumbers(ini);
  names.reserve(numbers.size());
  keys.reserve(numbers.size());
  for (int32_t i : numbers) {
    std::string name, key;
    if (!ini.Read(kUserSection, NameKey(static_cast<size_t>(i)), name)) name.clear();
    if (!ini.Read(kUserSection, KeyKey(static_cast<size_t>(i)), key)) key = kFactoryKey;
    names.push_back(std::move(name));
    keys.push_back(std::move(key));
  }
  return true;
}

bool LoadUserKeys(TStringVector& names, TStringVector& keys) { return LoadUserKeys(UserKeysFile(), names, keys); }

bool SaveUserKeys(const std::string& file, const TStringVector& names, const TStringVector& keys) {
  std::string bytes;
  // A file that is there but cannot be read is never replaced by one that
  // holds only these profiles.
  if (fw::ReadFileBytes(file, bytes) == fw::TReadResult::Unreadable) return false;
  fw::TIniText ini(bytes);
  // A file in UTF-16 would come out in two encodings.
  if (ini.IsUtf16()) return false;
  ini.Write(kSysSection, kCountKey, std::to_string(names.size()));
  for (size_t i = 0; i < names.size(); ++i) {
    ini.Write(kUserSection, NameKey(i + 1), names[i]);
    ini.Write(kUserSection, KeyKey(i + 1), i < keys.size() ? keys[i] : std::string(kFactoryKey));
  }
  return fw::SaveFileBytes(file, ini.Text());
}

bool SaveUserKeys(const TStringVector& names, const TStringVector& keys) {
  return SaveUserKeys(UserKeysFile(), names, keys);
}
