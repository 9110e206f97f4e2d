// Time of reader commands through Dorvex.dll against the simulated reader
// pacing its line at 9600 baud, compared with the pure wire time: the bytes
// of every request and reply x 10 bits / baud.
//
// usage (under tools/with-reader-sim.sh): ReaderBench [ITERATIONS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "Dorvex.h"
#include "SimClient.h"

namespace {
constexpr int kBaud = 9600;

double NowMs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

double WireMs(int bytes) { return bytes * 10.0 * 1000.0 / kBaud; }

template <typename F>
bool Measure(const char* what, int iterations, int lineBytes, F call) {
  double total = 0;
  for (int i = 0; i < iterations; ++i) {
    const double start = NowMs();
    if (call() != 1) {
      std::printf("%-36s FAILED\n", what);
      return false;
    }
    total += NowMs() - start;
  }
  const double per = total / iterations, wire = WireMs(lineBytes);
  std::printf("%-36s %8.1f ms per call   wire %7.1f ms (%d bytes)   ratio %.3f\n", what, per, wire,
              lineBytes, per / wire);
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  const int iterations = argc > 1 ? std::atoi(argv[1]) : 10;
  const int port = sim::SimComFromEnvironment();
  sim::SimClient sim;
  if (port <= 0 || !sim.Connect() || !sim.Ok("pace 9600") || !sim.Ok("card new 11223344")) {
    std::fprintf(stderr, "ReaderBench: run under tools/with-reader-sim.sh\n");
    return 2;
  }
  std::printf("Dorvex at %d baud, simulated reader pacing its line, %d calls each\n", kBaud, iterations);
  if (OpenComPort(port, kBaud) != 1) return 1;
  unsigned char blocks[DORVEX_BLOCK_BUFFER(3)];
  bool ok = true;
  // 16 requests of 14 bytes and 16 acknowledgements of 8.
  ok &= Measure("SetAllCardPassWord", iterations, 16 * (14 + 8),
                [] { return SetAllCardPassWord(0, 0, 0, "FFFFFFFFFFFF"); });
  // A 9-byte request and a 56-byte reply.
  ok &= Measure("ReadCardBlock, 3 blocks", iterations, 9 + 56,
                [&] { return ReadCardBlock(0, 0, 0, 4, 3, blocks); });
  CloseComPort();
  return ok ? 0 : 1;
}
