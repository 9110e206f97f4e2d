#include "UserKeys.h"

#include "FileIO.h"
#include "IniFile.h"
#include "TextUtils.h"

namespace {

const char* const kSysSection = "SYSInfo";
const char* const kCountKey = "UserCnt";
const char* const kUserSection = "UserInfo";
// A damaged count must not make the program read (and list) millions of
// empty profiles.
const int kMaxProfiles = 10000;

std::string NameKey(size_t i) { return "UserName" + std::to_string(i); }
std::string KeyKey(size_t i) { return "PassWord" + std::to_string(i); }

}  // namespace

std::string UserKeysFile() { return AppPath + "Data\\SysInfo.ini"; }

void LoadUserKeys(const std::string& file, TStringVector& names, TStringVector& keys) {
  names.clear();
  keys.clear();
  std::string bytes;
  if (!fw::LoadFileBytes(file, bytes)) return;
  const fw::TIniText ini(bytes);
  std::string value;
  int32_t count = 0;
  if (!ini.Read(kSysSection, kCountKey, value) || !fw::TryStrToInt(value, count)) count = 0;
  if (count > kMaxProfiles) count = kMaxProfiles;
  for (int32_t i = 1; i <= count; ++i) {
    std::string name, key;
    if (!ini.Read(kUserSection, NameKey(i), name)) name.clear();
    if (!ini.Read(kUserSection, KeyKey(i), key)) key = kFactoryKey;
    names.push_back(name);
    keys.push_back(key);
  }
}

void LoadUserKeys(TStringVector& names, TStringVector& keys) {
  LoadUserKeys(UserKeysFile(), names, keys);
}

bool SaveUserKeys(const std::string& file, const TStringVector& names, const TStringVector& keys) {
  std::string bytes;
  if (!fw::LoadFileBytes(file, bytes)) bytes.clear();
  fw::TIniText ini(bytes);
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
