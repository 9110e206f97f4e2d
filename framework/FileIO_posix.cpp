// File access of the native build (tests of the platform-neutral parts).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "FileIO.h"

namespace fw {

TReadResult ReadFileBytes(const std::string& path, std::string& data) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return errno == ENOENT ? TReadResult::Missing : TReadResult::Unreadable;
  std::string out;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
  // (a folder opens, and its reading fails here)
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) return TReadResult::Unreadable;
  data.swap(out);
  return TReadResult::Read;
}

bool LoadFileBytes(const std::string& path, std::string& data) {
  return ReadFileBytes(path, data) == TReadResult::Read;
}

namespace {
// Writes all of data to the descriptor.
bool WriteAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// The folder part of a path ("." for a bare file name).
std::string Folder(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}
}  // namespace

bool SaveFileBytes(const std::string& path, const std::string& data) {
  // A file that no one may write keeps its contents (the rename would
  // replace it, for whoever may write the folder).
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  const std::string temp = path + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  // On the disk before it takes the old file's place, and the rename on
  // the disk when this returns.
  bool ok = WriteAll(fd, data) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    std::remove(temp.c_str());
    return false;
  }
  const int dir = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace fw
