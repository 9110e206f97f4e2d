// The key profile file with many profiles: LoadUserKeys and SaveUserKeys
// of a file of N profiles (default 10,000), the best and the median of R
// runs each (default 20).
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

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  const std::string file = "user_keys_bench.ini";
  std::string text = "[SYSInfo]\r\nUserCnt=" + std::to_string(n) + "\r\n[UserInfo]\r\n";
  for (int i = 1; i <= n; ++i)
    text += "UserName" + std::to_string(i) + "=\xD3\xC3\xBB\xA7" + std::to_string(i) + "\r\nPassWord" +  // 用户
            std::to_string(i) + "=A5C3E7B91D2F\r\n";
  if (!fw::SaveFileBytes(file, text)) {
    std::printf("cannot write %s\n", file.c_str());
    return 1;
  }
  std::vector<double> loads, saves;
  TStringVector names, keys;
  for (int r = 0; r < runs; ++r) {
    double start = NowMs();
    LoadUserKeys(file, names, keys);
    loads.push_back(NowMs() - start);
    if (names.size() != static_cast<size_t>(n)) {
      std::printf("read %zu profiles instead of %d\n", names.size(), n);
      return 1;
    }
    start = NowMs();
    const bool saved = SaveUserKeys(file, names, keys);
    saves.push_back(NowMs() - start);
    if (!saved) {
      std::printf("cannot save %s\n", file.c_str());
      return 1;
    }
  }
  std::remove(file.c_str());
  Report("LoadUserKeys", loads, n);
  Report("SaveUserKeys (the file flushed to the disk)", saves, n);
  return 0;
}
