// The GBK INI reader and writer (framework/IniFile: TIniText, TIniFile) and
// the key profile file read and written through it (app/UserKeys), on a file
// anyone may edit.
//
// Input: the file's bytes, then optionally, after a 0 byte each, a section,
// a key and a value to write.
//
// Checked besides the absence of faults:
//  - the text of a file that is not edited is given back byte for byte;
//  - a write that is accepted reads back exactly as written, and every other
//    entry the file held reads as before; a write that is refused leaves the
//    file's bytes as they were;
//  - key profiles read from the file, saved and read again are the same,
//    and never more than the file has lines;
//  - a file in UTF-16 is never written.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "FileIO.h"
#include "IniFile.h"
#include "TextUtils.h"
#include "UserKeys.h"

namespace {

// A folder of this process's own, for the one file every input is written to
// (in memory where the system has such a folder: every input writes it).
const std::string& FilePath() {
  static const std::string path = [] {
    std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    pattern += "/cardinit-fuzz-ini-XXXXXX";
    std::vector<char> dir(pattern.begin(), pattern.end());
    dir.push_back('\0');
    if (!mkdtemp(dir.data())) abort();
    static std::string folder = dir.data();
    std::atexit([] {
      std::remove((folder + "/SysInfo.ini").c_str());
      rmdir(folder.c_str());
    });
    return folder + "/SysInfo.ini";
  }();
  return path;
}

std::vector<std::string> Split(const std::string& input) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (parts.size() < 3) {
    const size_t zero = input.find('\0', start);
    if (zero == std::string::npos) break;
    parts.push_back(input.substr(start, zero - start));
    start = zero + 1;
  }
  parts.insert(parts.begin(), input.substr(start));
  return parts;  // the file, then section, key and value as far as given
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  // The file comes last so that the names stay short and in front.
  const std::vector<std::string> parts = Split(input);
  const std::string& text = parts[0];

  if (fw::TIniText(text).Text() != text) abort();

  const std::string& path = FilePath();
  if (!fw::SaveFileBytes(path, text)) abort();
  fw::TIniFile ini(path);

  // The entries the file holds, as the reader finds them (the first 32: the
  // file is read anew for each).
  std::vector<std::pair<std::pair<std::string, std::string>, std::string>> entries;
  const fw::TIniText before(text);
  for (const std::string& section : before.Sections())
    for (const std::string& key : before.Keys(section))
      if (entries.size() < 32) entries.push_back({{section, key}, ini.ReadString(section, key, "\x01")});

  if (parts.size() == 4) {
    const std::string &section = parts[1], &key = parts[2], &value = parts[3];
    if (ini.WriteString(section, key, value)) {
      if (ini.ReadString(section, key, value + "\x01") != value || !ini.ValueExists(section, key)) abort();
      for (const auto& e : entries) {
        if (fw::SameText(e.first.first, section) && fw::SameText(e.first.second, key)) continue;
        if (ini.ReadString(e.first.first, e.first.second, "\x01") != e.second) abort();
      }
    } else {
      std::string now;
      if (!fw::LoadFileBytes(path, now) || now != text) abort();
    }
    if (!fw::SaveFileBytes(path, text)) abort();
  }

  // The key profiles: what is read, saved and read again is the same (in
  // UTF-8 files too); no more profiles than the file has lines; a file in
  // UTF-16 is refused and keeps its bytes.
  TStringVector names, keys;
  TStoredProfiles stored;
  LoadUserKeys(path, names, keys, &stored);
  const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  if (names.size() != keys.size() || names.size() > lines || stored.size() != names.size()) abort();
  if (before.IsUtf16()) {
    std::string now;
    if (SaveUserKeys(path, names, keys, stored) || !fw::LoadFileBytes(path, now) || now != text) abort();
  } else if (names.size() <= 64) {
    if (!SaveUserKeys(path, names, keys, stored)) abort();
    // Saved unchanged, every profile goes back with the bytes it was read
    // with.
    TStringVector names2, keys2;
    TStoredProfiles stored2;
    LoadUserKeys(path, names2, keys2, &stored2);
    if (names2 != names || keys2 != keys || stored2 != stored) abort();
  }
  return 0;
}
