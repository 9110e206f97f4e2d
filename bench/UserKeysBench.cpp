// The key profile file with many profiles: LoadUserKeys and SaveUserKeys
// of a file of N profiles (default 10,000), the best and the median of R
// runs each (default 20); once in GBK, once in UTF-8 behind its mark with
// names that GBK cannot show.
//
// usage: user_keys_bench [N [R]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FileIO.h"
#include "UserKeys.h"

namespace {

double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void Report(const char* what, std::vector<double>& times, int n) {
  std::sort(times.begin(), times.end());
  std::printf("%s of %d profiles: median %.1f ms, best %.1f ms (%zu runs)\n", what, n, times[times.size() / 2],
              times.front(), times.size());
}

// Loads and saves `text` (a file of n profiles) `runs` times; false when a
// load or a save goes wrong.
bool Run(const char* what, const std::string& text, int n, int runs) {
  const std::string file = "user_keys_bench.ini";
  if (!fw::SaveFileBytes(file, text)) {
    std::printf("cannot write %s\n", file.c_str());
    return false;
  }
  std::vector<double> loads, saves;
  TStringVector names, keys;
  TStoredProfiles stored;
  for (int r = 0; r < runs; ++r) {
    double start = NowMs();
    LoadUserKeys(file, names, keys, &stored);
    loads.push_back(NowMs() - start);
    if (names.size() != static_cast<size_t>(n)) {
      std::printf("read %zu profiles instead of %d\n", names.size(), n);
      return false;
    }
    start = NowMs();
    const bool saved = SaveUserKeys(file, names, keys, stored);
    saves.push_back(NowMs() - start);
    if (!saved) {
      std::printf("cannot save %s\n", file.c_str());
      return false;
    }
  }
  std::string now;
  const bool same = fw::LoadFileBytes(file, now) && now == text;
  std::remove(file.c_str());
  if (!same) {
    std::printf("the file changed\n");
    return false;
  }
  std::printf("%s:\n", what);
  Report("  LoadUserKeys", loads, n);
  Report("  SaveUserKeys (the file flushed to the disk)", saves, n);
  return true;
}

// A profile file of n profiles named `name` and their number.
std::string ProfileText(const std::string& mark, const std::string& name, int n) {
  std::string text = mark + "[SYSInfo]\r\nUserCnt=" + std::to_string(n) + "\r\n[UserInfo]\r\n";
  for (int i = 1; i <= n; ++i)
    text += "UserName" + std::to_string(i) + "=" + name + std::to_string(i) + "\r\nPassWord" + std::to_string(i) +
            "=A5C3E7B91D2F\r\n";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  const bool gbk = Run("GBK", ProfileText("", "\xD3\xC3\xBB\xA7", n), n, runs);  // 用户
  // 用户 and the Hangul syllable 한, which GBK lacks, in UTF-8.
  const bool utf8 = Run("UTF-8", ProfileText("\xEF\xBB\xBF", "\xE7\x94\xA8\xE6\x88\xB7\xED\x95\x9C", n), n, runs);
  return gbk && utf8 ? 0 : 1;
}
