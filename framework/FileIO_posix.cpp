// File access of the native build (tests of the platform-neutral parts).
#include <cstdio>
#include <sys/stat.h>

#include "FileIO.h"

namespace fw {

bool LoadFileBytes(const std::string& path, std::string& data) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::string out;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  if (ok) data.swap(out);
  return ok;
}

bool SaveFileBytes(const std::string& path, const std::string& data) {
  std::string temp = path + ".tmp";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  ok = (std::fclose(f) == 0) && ok;
  if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(temp.c_str());
  return ok;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace fw
