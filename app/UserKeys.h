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
#include <string>
#include <vector>

#include "Common.h"

// AppPath + "Data\SysInfo.ini".
std::string UserKeysFile();

// Reads the profiles of `file` (a missing file or section: none; a missing
// key: the factory key). UserCnt gives their number; a count that is
// missing, not a number or below zero reads as the highest profile that has
// a line in the file (gaps as empty profiles), and a count above that one is
// held to it; there are never more profiles than name and key lines in the
// file (numbers far apart: the profiles present, without the gaps). A file
// that begins with the UTF-8 byte-order mark is in UTF-8: its values are
// read into GBK. False, with no profiles, when the file is there but cannot
// be read.
bool LoadUserKeys(const std::string& file, TStringVector& names, TStringVector& keys);
bool LoadUserKeys(TStringVector& names, TStringVector& keys);

// Where each profile of a list came from: its place (from 0) among the
// profiles LoadUserKeys read from the file, or -1 for one added since.
using TOrigins = std::vector<int32_t>;

// Writes UserCnt and the entries 1..n in one go: false (the file
// unchanged) when it cannot be read or written, is read-only or is in
// UTF-16. Entries above n that an earlier save wrote stay in the file;
// they are never read. A UTF-8 file takes the values in UTF-8: the name
// and the key of a profile that came from the file go back as the file
// holds them where they still read as LoadUserKeys gave them, so that a
// character GBK cannot show is kept when other profiles are deleted or
// only the key is changed; one added, or a name or key changed, goes in as
// given. Without origins each profile is taken to come from its own place.
bool SaveUserKeys(const std::string& file, const TStringVector& names, const TStringVector& keys,
                  const TOrigins& origins = {});
bool SaveUserKeys(const TStringVector& names, const TStringVector& keys, const TOrigins& origins = {});
