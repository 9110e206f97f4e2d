// A scripted stand-in for the reader library in the wrapper tests: it
// records every call as one line of text and fails the calls it is told to.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace scripted {

struct Reader {
  std::vector<std::string> calls;          // "SetDevPassWord 0 3 9600 A5C3E7B91D2F", ...
  std::map<std::string, int> failAt;       // function name -> 1-based call number that fails
  std::map<std::string, int> counts;
  std::string serial = "1A2B3C4D";
  bool portOpen = false;
  int opens = 0;
  int closes = 0;
};

// The one reader of the test program; Reset() before each case.
Reader& reader();
void Reset();
// The key the scripted ChangeCardPassWord derives (a simple per-digit mix).
std::string Scramble(const std::string& key, const std::string& value);
// Only the calls whose line starts with `name`.
std::vector<std::string> CallsOf(const std::string& name);

}  // namespace scripted
