// Key profiles: named card keys kept in "Data\SysInfo.ini" beside the
// program, so that the operator need not type them again.
//
//   [SYSInfo]
//   UserCnt=2
//   [UserInfo]
//   UserName1=...      (GBK, at most 30 characters as typed)
//   PassWord1=A5C3E7B91D2F
//
// In memory a set of profiles is two lists of equal length in file order:
// the names and the compact keys.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "Common.h"

// AppPath + "Data\SysInfo.ini".
std::string UserKeysFile();

// A profile as a UTF-8 file stores it: the bytes of its name and of its key.
struct TStoredProfile {
  std::string name;
  std::string key;
  bool operator==(const TStoredProfile& o) const { return name == o.name && key == o.key; }
  bool operator!=(const TStoredProfile& o) const { return !(*this == o); }
};
// What each profile of a list keeps of the file it was read from, kept with
// it from the load: its stored bytes where the file was in UTF-8, nothing
// for one read from a GBK file (its values are its bytes) or added since.
using TStoredProfiles = std::vector<std::optional<TStoredProfile>>;

// Reads the profiles of `file` (a missing file or section: none; a missing
// key: the factory key). UserCnt gives their number; a count that is
// missing, not a number or below zero reads as the highest profile that has
// a line in the file (gaps as empty profiles), and a count above that one is
// held to it; there are never more profiles than name and key lines in the
// file (numbers far apart: the profiles present, without the gaps). A file
// that begins with the UTF-8 byte-order mark is in UTF-8: its values are
// read into GBK, and `stored` (when given) takes each profile's bytes as
// the file holds them, one entry per profile. False, with no profiles,
// when the file is there but cannot be read.
bool LoadUserKeys(const std::string& file, TStringVector& names, TStringVector& keys,
                  TStoredProfiles* stored = nullptr);
bool LoadUserKeys(TStringVector& names, TStringVector& keys, TStoredProfiles* stored = nullptr);

// Writes UserCnt and the entries 1..n in one go: false (the file
// unchanged) when it cannot be read or written, is read-only or is in
// UTF-16. Entries above n that an earlier save wrote stay in the file;
// they are never read. A UTF-8 file takes the values in UTF-8: profile i
// goes back with the name and the key of stored[i], as they were read,
// where they still read as given, so that a character GBK cannot show is
// kept wherever a deletion moved the profile and when only its key was
// changed; anything else (a profile added, a name or key changed, one
// without a stored entry) goes in as given. The file as it is at the save
// is never asked what a profile was: another program may have changed it
// since the load.
bool SaveUserKeys(const std::string& file, const TStringVector& names, const TStringVector& keys,
                  const TStoredProfiles& stored = {});
bool SaveUserKeys(const TStringVector& names, const TStringVector& keys, const TStoredProfiles& stored = {});
