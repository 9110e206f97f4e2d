#include "UserKeys.h"

#include <algorithm>
#include <numeric>

#include "FileIO.h"
#include "IniFile.h"
#include "Text.h"
#include "TextUtils.h"

namespace {

const char* const kSysSection = "SYSInfo";
const char* const kCountKey = "UserCnt";
const char* const kUserSection = "UserInfo";
const char* const kNamePrefix = "UserName";
const char* const kKeyPrefix = "PassWord";
const char kUtf8Mark[] = "\xEF\xBB\xBF";

std::string NameKey(size_t i) { return kNamePrefix + std::to_string(i); }
std::string KeyKey(size_t i) { return kKeyPrefix + std::to_string(i); }

bool IsUtf8(const std::string& bytes) { return bytes.compare(0, 3, kUtf8Mark) == 0; }

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

// The profiles listed, their values as the file holds them (a missing name:
// empty, a missing key: the factory key).
void ReadProfiles(const fw::TIniText& ini, TStringVector& names, TStringVector& keys) {
  const std::vector<int32_t> numbers = ListedNumbers(ini);
  names.clear();
  keys.clear();
  names.reserve(numbers.size());
  keys.reserve(numbers.size());
  for (int32_t i : numbers) {
    std::string name, key;
    if (!ini.Read(kUserSection, NameKey(static_cast<size_t>(i)), name)) name.clear();
    if (!ini.Read(kUserSection, KeyKey(static_cast<size_t>(i)), key)) key = kFactoryKey;
    names.push_back(std::move(name));
    keys.push_back(std::move(key));
  }
}

// A value of a UTF-8 file as the program shows it, in GBK (a character GBK
// lacks as its substitute). Bytes that are not UTF-8 were written in GBK
// into the file (by an earlier version of the program): they stand as they
// are.
std::string Shown(const std::string& held) {
  // ASCII (every key) is the same in both.
  if (std::all_of(held.begin(), held.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return held;
  std::string gbk;
  return fw::Utf8ToGbk(held, gbk) ? gbk : held;
}

// A value as it goes back into a UTF-8 file: as the file holds it where it
// still reads as the program showed it (a character GBK lacks is kept),
// else in UTF-8 as given (bytes that are not GBK stay as they are).
void HeldOrUtf8(std::string& value, const std::string* held) {
  if (held && Shown(*held) == value) {
    value = *held;
    return;
  }
  std::string utf8;
  if (fw::GbkToUtf8(value, utf8)) value.swap(utf8);
}

// The names and keys as they go back into a UTF-8 file: each profile that
// came from a UTF-8 file takes the stored bytes of its name and of its key
// where they read as before, so that neither a deletion, which moves the
// rest up, nor a change of the key alone loses a character GBK cannot
// show; a profile added, and a name or key the operator changed, go in as
// given.
void HeldValues(TStringVector& names, TStringVector& keys, const TStoredProfiles& stored) {
  for (size_t j = 0; j < names.size(); ++j) {
    const TStoredProfile* held = j < stored.size() && stored[j] ? &*stored[j] : nullptr;
    HeldOrUtf8(names[j], held ? &held->name : nullptr);
    HeldOrUtf8(keys[j], held ? &held->key : nullptr);
  }
}

}  // namespace

std::string UserKeysFile() { return AppPath + "Data\\SysInfo.ini"; }

bool LoadUserKeys(const std::string& file, TStringVector& names, TStringVector& keys, TStoredProfiles* stored) {
  names.clear();
  keys.clear();
  if (stored) stored->clear();
  std::string bytes;
  const fw::TReadResult read = fw::ReadFileBytes(file, bytes);
  if (read != fw::TReadResult::Read) return read == fw::TReadResult::Missing;
  ReadProfiles(fw::TIniText(bytes), names, keys);
  const bool utf8 = IsUtf8(bytes);
  if (stored) stored->resize(names.size());
  if (!utf8) return true;
  for (size_t i = 0; i < names.size(); ++i) {
    if (stored) (*stored)[i] = TStoredProfile{names[i], keys[i]};
    names[i] = Shown(names[i]);
    keys[i] = Shown(keys[i]);
  }
  return true;
}

bool LoadUserKeys(TStringVector& names, TStringVector& keys, TStoredProfiles* stored) {
  return LoadUserKeys(UserKeysFile(), names, keys, stored);
}

bool SaveUserKeys(const std::string& file, const TStringVector& names, const TStringVector& keys,
                  const TStoredProfiles& stored) {
  std::string bytes;
  // A file that is there but cannot be read is never replaced by one that
  // holds only these profiles.
  if (fw::ReadFileBytes(file, bytes) == fw::TReadResult::Unreadable) return false;
  fw::TIniText ini(bytes);
  // A file in UTF-16 would come out in two encodings.
  if (ini.IsUtf16()) return false;
  // A UTF-8 file takes the values in UTF-8.
  const bool utf8 = IsUtf8(bytes);
  TStringVector utf8Names, utf8Keys;
  if (utf8) {
    utf8Names = names;
    utf8Keys = keys;
    utf8Keys.resize(names.size(), kFactoryKey);
    HeldValues(utf8Names, utf8Keys, stored);
  }
  const TStringVector& outNames = utf8 ? utf8Names : names;
  const TStringVector& outKeys = utf8 ? utf8Keys : keys;
  ini.Write(kSysSection, kCountKey, std::to_string(outNames.size()));
  for (size_t i = 0; i < outNames.size(); ++i) {
    ini.Write(kUserSection, NameKey(i + 1), outNames[i]);
    ini.Write(kUserSection, KeyKey(i + 1), i < outKeys.size() ? outKeys[i] : std::string(kFactoryKey));
  }
  return fw::SaveFileBytes(file, ini.Text());
}

bool SaveUserKeys(const TStringVector& names, const TStringVector& keys, const TStoredProfiles& stored) {
  return SaveUserKeys(UserKeysFile(), names, keys, stored);
}
