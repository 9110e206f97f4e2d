// Time of reader commands through Dorvex.dll against the simulated reader
// pacing its line at 9600 baud, compared with the pure wire time: the bytes
// of every request and reply x 10 bits / baud.
//
// usage (under tools/with-reader-sim.sh): ReaderBench [ITERATIONS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "BenchClock.h"
#include "Dorvex.h"
#include "SimClient.h"

namespace {
constexpr int kBaud = 9600;

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

  // Card records in sectors 9-11.
  constexpr int s = 9;
  ok &= OpenCard(0, 0, 0, s, 1, "BENCH", 0, 1, "240101", "241231", 1000000, 0, 0, 0, 0, 0, 0, 0, "240101",
                 "000000000000", 0, "000000000000", 0) == 1;
  // Read the first block (33 bytes on the line), then write it to the
  // backup and to the main copy, each with its read-back (4 x 33).
  ok &= Measure("AddMoney, with its backup", iterations, 5 * 33,
                [] { return AddMoney(0, 0, 0, s, 0, 1, 1); });
  // The header, the header again, main and backup for the repair check, and
  // the main copy: five three-block reads of 65 bytes.
  int i[14];
  char text[DORVEX_TEXT_BUFFER], d1[DORVEX_DATE_BUFFER], d2[DORVEX_DATE_BUFFER], d3[DORVEX_DATE_BUFFER],
      n1[DORVEX_DIGITS_BUFFER], n2[DORVEX_DIGITS_BUFFER];
  ok &= Measure("ReadCard", iterations, 5 * 65, [&] {
    return ReadCard(0, 0, 0, s, &i[0], &i[1], text, &i[2], &i[3], d1, d2, &i[4], &i[5], &i[6], &i[7], &i[8],
                    &i[9], &i[10], &i[11], d3, n1, &i[12], n2, &i[13]);
  });
  CloseComPort();
  return ok ? 0 : 1;
}
