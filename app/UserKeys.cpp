#include "UserKeys.h"

#include <algorithm>

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

// The highest i that has a UserName or PassWord line.
int32_t HighestEntry(const fw::TIniText& ini) {
  int32_t highest = 0;
  for (const std::string& key : ini.Keys(kUserSection))
    highest = std::max({highest, EntryIndex(key, kNamePrefix), EntryIndex(key, kKeyPrefix)});
  return highest;
}

// The number of profiles in the file. The file may have been edited by
// hand, and a count that hid profiles would let the next save write new
// ones over them unseen: a count that is missing, not a number or below
// zero reads as the number of names present from UserName1 on. A count that is
// too high would invent empty profiles, which the next save writes into
// the file: it is held to the highest number that has a name or a key line,
// and to the file's length in bytes (numbers far apart would otherwise
// make up millions of profiles from a few lines).
size_t ProfileCount(const fw::TIniText& ini, size_t fileSize) {
  std::string value;
  if (!ini.Read(kSysSection, kCountKey, value)) value.clear();
  int32_t count = 0;
  if (!fw::TryStrToInt(value, count) || count < 0) {
    size_t present = 0;
    while (ini.Read(kUserSection, NameKey(present + 1), value)) ++present;
    return present;
  }
  return std::min({static_cast<size_t>(count), static_cast<size_t>(HighestEntry(ini)), fileSize});
}

}  // namespace

std::string UserKeysFile() { return AppPath + "Data\\SysInfo.ini"; }

void LoadUserKeys(const std::string& file, TStringVector& names, TStringVector& keys) {
  names.clear();
  keys.clear();
  std::string bytes;
  if (!fw::LoadFileBytes(file, bytes)) return;
  const fw::TIniText ini(bytes);
  const size_t count = ProfileCount(ini, bytes.size());
  names.reserve(count);
  keys.reserve(count);
  for (size_t i = 1; i <= count; ++i) {
    std::string name, key;
    if (!ini.Read(kUserSection, NameKey(i), name)) name.clear();
    if (!ini.Read(kUserSection, KeyKey(i), key)) key = kFactoryKey;
    names.push_back(std::move(name));
    keys.push_back(std::move(key));
  }
}

void LoadUserKeys(TStringVector& names, TStringVector& keys) {
  LoadUserKeys(UserKeysFile(), names, keys);
}

bool SaveUserKeys(const std::string& file, const TStringVector& names, const TStringVector& keys) {
  std::string bytes;
  if (!fw::LoadFileBytes(file, bytes)) bytes.clear();
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
