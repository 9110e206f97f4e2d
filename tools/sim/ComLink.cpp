#include "ComLink.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sim {

ComLink::~ComLink() { Release(); }

bool ComLink::TryNumber(const std::string& dir, int n, bool explicitNumber, const std::string& target) {
  const std::string link = dir + "/com" + std::to_string(n);
  const std::string lock = dir + "/.com" + std::to_string(n) + ".simlock";
  struct stat st;
  const bool hasLink = lstat(link.c_str(), &st) == 0;
  const bool hasLock = access(lock.c_str(), F_OK) == 0;
  // A link without our lock file belongs to someone else (Wine's own link to
  // a real port, say): leave it alone unless this number was asked for.
  if (hasLink && !hasLock && !explicitNumber) return false;

  const int fd = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  // The file may have been removed by its last holder between our open and
  // our lock; then the lock guards nothing.
  struct stat held, now;
  if (fstat(fd, &held) != 0 || stat(lock.c_str(), &now) != 0 || held.st_ino != now.st_ino) {
    close(fd);
    return false;
  }
  unlink(link.c_str());
  if (symlink(target.c_str(), link.c_str()) != 0) {
    close(fd);
    return false;
  }
  number_ = n;
  lockFd_ = fd;
  link_ = link;
  lock_ = lock;
  return true;
}

bool ComLink::Claim(const std::string& prefix, int n, int first, int last, const std::string& target,
                    std::string* error) {
  const std::string dir = prefix + "/dosdevices";
  struct stat st;
  if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    *error = "no directory " + dir + " (is the Wine prefix made?)";
    return false;
  }
  if (n != 0) {
    if (TryNumber(dir, n, true, target)) return true;
    *error = "COM" + std::to_string(n) + " is held by another simulator";
    return false;
  }
  for (int i = first; i <= last; ++i)
    if (TryNumber(dir, i, false, target)) return true;
  *error = "no free COM number in " + std::to_string(first) + "-" + std::to_string(last);
  return false;
}

void ComLink::Release() {
  if (lockFd_ < 0) return;
  unlink(link_.c_str());
  unlink(lock_.c_str());
  close(lockFd_);
  lockFd_ = -1;
  number_ = 0;
}

}  // namespace sim
