// The COM port a Windows program under Wine reaches the simulator by: the
// link <prefix>/dosdevices/comN -> pty slave. A lock file held for the
// simulator's lifetime makes the choice of N safe when several simulators
// share one prefix (tests run in parallel).
#pragma once
#include <string>

namespace sim {

class ComLink {
 public:
  ComLink() = default;
  ~ComLink();
  ComLink(const ComLink&) = delete;
  ComLink& operator=(const ComLink&) = delete;

  // Links COM`n` to `target`. With n = 0, takes the first free number in
  // [first, last]: one with no link yet, or one whose link was left by a
  // simulator that is gone. An explicit n must not be held by another
  // simulator; a link to anything else (a real port) is replaced only when n
  // is explicit.
  bool Claim(const std::string& prefix, int n, int first, int last, const std::string& target,
             std::string* error);
  int Number() const { return number_; }
  // Removes the link and the lock.
  void Release();

 private:
  bool TryNumber(const std::string& dir, int n, bool explicitNumber, const std::string& target);
  int number_ = 0;
  int lockFd_ = -1;
  std::string link_, lock_;
};

}  // namespace sim
