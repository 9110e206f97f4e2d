#include "UserKeys.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

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

// Pairs each entry of `b` with an entry of `a` of the same value, keeping
// their order, so that as many as can be are paired: match[j] := i for each
// b[j] paired with a[i] (others are left as they are). Equal beginnings and
// ends pair at once; what lies between is split where the shortest edit
// paths from both ends meet (the forward and backward search of Myers'
// difference algorithm), and each side is paired in turn. The search costs
// the length times the number of entries that differ, in linear space.
class Pairing {
 public:
  Pairing(const std::vector<int32_t>& a, const std::vector<int32_t>& b, std::vector<int32_t>& match)
      : a_(a), b_(b), match_(match) {}

  // Pairs a[a0..a1) with b[b0..b1).
  void Pair(int32_t a0, int32_t a1, int32_t b0, int32_t b1) {
    while (a0 < a1 && b0 < b1 && a_[a0] == b_[b0]) match_[b0++] = a0++;
    while (a0 < a1 && b0 < b1 && a_[a1 - 1] == b_[b1 - 1]) match_[--b1] = --a1;
    if (a0 == a1 || b0 == b1) return;
    int32_t x = 0, y = 0;
    if (!Split(a0, a1, b0, b1, x, y)) return;  // nothing in common
    Pair(a0, a0 + x, b0, b0 + y);
    Pair(a0 + x, a1, b0 + y, b1);
  }

 private:
  // The point (x entries into a[a0..a1), y into b[b0..b1)) where a forward
  // and a backward shortest edit path meet; false when the two have no
  // entry in common.
  bool Split(int32_t a0, int32_t a1, int32_t b0, int32_t b1, int32_t& splitX, int32_t& splitY) {
    const int32_t n = a1 - a0, m = b1 - b0;
    const int32_t maxD = (n + m + 1) / 2, offset = maxD, length = 2 * maxD + 2;
    // The furthest x reached on each diagonal k = x - y (backward: from the
    // ends), -1 where none yet.
    forward_.assign(static_cast<size_t>(length), -1);
    backward_.assign(static_cast<size_t>(length), -1);
    forward_[offset + 1] = 0;
    backward_[offset + 1] = 0;
    const int32_t delta = n - m;
    const bool odd = (delta & 1) != 0;
    // Diagonals at the ends that have run off the grid are not searched again.
    int32_t fStart = 0, fEnd = 0, bStart = 0, bEnd = 0;
    for (int32_t d = 0; d < maxD; ++d) {
      for (int32_t k = -d + fStart; k <= d - fEnd; k += 2) {
        const int32_t at = offset + k;
        int32_t x = (k == -d || (k != d && forward_[at - 1] < forward_[at + 1])) ? forward_[at + 1]
                                                                                  : forward_[at - 1] + 1;
        int32_t y = x - k;
        while (x < n && y < m && a_[a0 + x] == b_[b0 + y]) ++x, ++y;
        forward_[at] = x;
        if (x > n) {
          fEnd += 2;
        } else if (y > m) {
          fStart += 2;
        } else if (odd) {
          const int32_t back = offset + delta - k;
          if (back >= 0 && back < length && backward_[back] != -1 && x >= n - backward_[back]) {
            splitX = x;
            splitY = y;
            return true;
          }
        }
      }
      for (int32_t k = -d + bStart; k <= d - bEnd; k += 2) {
        const int32_t at = offset + k;
        int32_t x = (k == -d || (k != d && backward_[at - 1] < backward_[at + 1])) ? backward_[at + 1]
                                                                                    : backward_[at - 1] + 1;
        int32_t y = x - k;
        while (x < n && y < m && a_[a1 - 1 - x] == b_[b1 - 1 - y]) ++x, ++y;
        backward_[at] = x;
        if (x > n) {
          bEnd += 2;
        } else if (y > m) {
          bStart += 2;
        } else if (!odd) {
          const int32_t fore = offset + delta - k;
          if (fore >= 0 && fore < length && forward_[fore] != -1 && forward_[fore] >= n - x) {
            splitX = forward_[fore];
            splitY = forward_[fore] - (fore - offset);
            return true;
          }
        }
      }
    }
    return false;
  }

  const std::vector<int32_t>& a_;
  const std::vector<int32_t>& b_;
  std::vector<int32_t>& match_;
  std::vector<int32_t> forward_, backward_;
};

// A profile as the program shows it: its name and its key, as one text.
std::string ProfileText(const std::string& name, const std::string& key) {
  return std::to_string(name.size()) + ':' + name + key;
}

// The names and keys as they go back into the UTF-8 file `ini`, so that a
// character GBK lacks, or bytes that are not UTF-8, are never replaced by
// the substitute the program shows. Each profile listed is paired with one
// stored profile that reads as it does, name and key together, in the
// order of both (a deletion moves the rest up by one; a profile changed or
// added pairs with none), as many as can be: a profile paired is written as
// the file holds it; the others, as given, in UTF-8 (bytes that are not GBK
// stay as they are). Where stored profiles read alike, name and key, any of
// them may stand for one listed: they are written the same.
void HeldValues(const fw::TIniText& ini, TStringVector& names, TStringVector& keys) {
  TStringVector heldNames, heldKeys;
  ReadProfiles(ini, heldNames, heldKeys);
  // Each profile as shown, by a number; the listed ones that read as no
  // stored one, and the stored ones that read as no listed one, pair with
  // nothing and are left out of the pairing.
  std::unordered_map<std::string, int32_t> numbers;
  std::vector<int32_t> heldNumbers(heldNames.size());
  for (size_t i = 0; i < heldNames.size(); ++i)
    heldNumbers[i] = numbers.emplace(ProfileText(Shown(heldNames[i]), Shown(heldKeys[i])),
                                     static_cast<int32_t>(numbers.size())).first->second;
  std::vector<int32_t> listedNumbers(names.size(), -1);
  std::vector<bool> listedAlike(numbers.size(), false);
  for (size_t j = 0; j < names.size(); ++j) {
    auto it = numbers.find(ProfileText(names[j], keys[j]));
    if (it == numbers.end()) continue;
    listedNumbers[j] = it->second;
    listedAlike[static_cast<size_t>(it->second)] = true;
  }
  std::vector<int32_t> a, b, aAt, bAt;  // the numbers paired, and their places
  for (size_t i = 0; i < heldNumbers.size(); ++i)
    if (listedAlike[static_cast<size_t>(heldNumbers[i])]) {
      a.push_back(heldNumbers[i]);
      aAt.push_back(static_cast<int32_t>(i));
    }
  for (size_t j = 0; j < listedNumbers.size(); ++j)
    if (listedNumbers[j] >= 0) {
      b.push_back(listedNumbers[j]);
      bAt.push_back(static_cast<int32_t>(j));
    }
  std::vector<int32_t> match(b.size(), -1);
  Pairing(a, b, match).Pair(0, static_cast<int32_t>(a.size()), 0, static_cast<int32_t>(b.size()));
  std::vector<int32_t> stored(names.size(), -1);  // the stored profile each listed one is written as
  for (size_t j = 0; j < b.size(); ++j)
    if (match[j] >= 0) stored[static_cast<size_t>(bAt[j])] = aAt[static_cast<size_t>(match[j])];
  // Between two paired profiles, as many listed as stored ones that pair
  // with none were changed where they stand (a key changed, say): a name or
  // a key that still reads as the stored one's is not the operator's new
  // text, and goes back as the file held it.
  std::vector<int32_t> changed(names.size(), -1);
  for (size_t j = 0, heldNext = 0, listedNext = 0; j <= names.size(); ++j) {
    if (j < names.size() && stored[j] < 0) continue;
    const size_t heldAt = j < names.size() ? static_cast<size_t>(stored[j]) : heldNames.size();
    if (heldAt - heldNext == j - listedNext)
      for (size_t k = listedNext; k < j; ++k) changed[k] = static_cast<int32_t>(heldNext + (k - listedNext));
    heldNext = heldAt + 1;
    listedNext = j + 1;
  }
  for (size_t j = 0; j < names.size(); ++j) {
    if (stored[j] >= 0) {
      names[j] = heldNames[static_cast<size_t>(stored[j])];
      keys[j] = heldKeys[static_cast<size_t>(stored[j])];
      continue;
    }
    const int32_t was = changed[j];
    std::string utf8;
    if (was >= 0 && Shown(heldNames[static_cast<size_t>(was)]) == names[j])
      names[j] = heldNames[static_cast<size_t>(was)];
    else if (fw::GbkToUtf8(names[j], utf8))
      names[j].swap(utf8);
    if (was >= 0 && Shown(heldKeys[static_cast<size_t>(was)]) == keys[j])
      keys[j] = heldKeys[static_cast<size_t>(was)];
    else if (fw::GbkToUtf8(keys[j], utf8))
      keys[j].swap(utf8);
  }
}

}  // namespace

std::string UserKeysFile() { return AppPath + "Data\\SysInfo.ini"; }

bool LoadUserKeys(const std::string& file, TStringVector& names, TStringVector& keys) {
  names.clear();
  keys.clear();
  std::string bytes;
  const fw::TReadResult read = fw::ReadFileBytes(file, bytes);
  if (read != fw::TReadResult::Read) return read == fw::TReadResult::Missing;
  ReadProfiles(fw::TIniText(bytes), names, keys);
  if (IsUtf8(bytes)) {
    for (std::string& name : names) name = Shown(name);
    for (std::string& key : keys) key = Shown(key);
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
  // A UTF-8 file takes the values in UTF-8.
  const bool utf8 = IsUtf8(bytes);
  TStringVector utf8Names, utf8Keys;
  if (utf8) {
    utf8Names = names;
    utf8Keys = keys;
    utf8Keys.resize(names.size(), kFactoryKey);
    HeldValues(ini, utf8Names, utf8Keys);
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

bool SaveUserKeys(const TStringVector& names, const TStringVector& keys) {
  return SaveUserKeys(UserKeysFile(), names, keys);
}
