// Transaction record collection through Halvin.dll: 1,000 records fetched
// from a simulated terminal with RealDownRecord / DeleteRealRecord, over the
// serial link at 9600 baud (the simulator paces its line) or over TCP.
// Prints records per second and, for the serial link, the ratio of the time
// taken to the pure wire time (every byte of every request and reply x 10
// bits / baud).
//
// usage (under tools/with-reader-sim.sh --sim .../terminal-sim [--tcp 0]):
//   TerminalBench serial|tcp [RECORDS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "Halvin.h"
#include "SimClient.h"

namespace {
constexpr int kBaud = 9600;
constexpr int kDevice = 1;
constexpr int kRecordBytes = 16;
}  // namespace

int main(int argc, char** argv) {
  const bool tcp = argc > 1 && std::strcmp(argv[1], "tcp") == 0;
  const int wanted = argc > 2 ? std::atoi(argv[2]) : 1000;
  sim::SimClient sim;
  if (!sim.Connect() || !sim.Ok("reset 1") || !sim.Ok("records 1 " + std::to_string(wanted))) {
    std::fprintf(stderr, "TerminalBench: run under tools/with-reader-sim.sh --sim terminal-sim\n");
    return 2;
  }
  int ok = 0;
  if (tcp) {
    const std::string port = sim.Value("get tcp");
    ok = SetConnNetParam(1, 0, 0, "127.0.0.1", std::atoi(port.c_str()));
  } else {
    ok = sim.Ok("pace 9600") && SetConnNetParam(0, sim::SimComFromEnvironment(), kBaud, nullptr, 0);
  }
  if (!ok || OpenPort() != 1) {
    std::fprintf(stderr, "TerminalBench: the link does not open\n");
    return 1;
  }
  std::vector<unsigned char> buf(1024);
  int collected = 0, downloads = 0;
  long wireBytes = 0;
  const double start = NowMs();
  while (collected < wanted) {
    int count = 0;
    if (RealDownRecord(0, kDevice, &count, buf.data()) != 1 || count == 0) break;
    if (DeleteRealRecord(0, kDevice, count) != 1) break;
    collected += count;
    ++downloads;
    // Request 9, reply 7 + count byte + records + checksum; delete 10 and ack 8.
    wireBytes += 9 + (7 + 1 + count * kRecordBytes + 1) + 10 + 8;
  }
  const double ms = NowMs() - start;
  ClosePort();
  if (collected < wanted) {
    std::printf("TerminalBench: FAILED after %d records\n", collected);
    return 1;
  }
  const double wireMs = wireBytes * 10.0 * 1000.0 / kBaud;
  std::printf("%s: %d records in %d downloads, %.0f ms, %.0f records/s", tcp ? "TCP" : "serial 9600",
              collected, downloads, ms, collected * 1000.0 / ms);
  if (tcp)
    std::printf("   (%ld bytes; the same bytes at 9600 baud: %.0f ms)\n", wireBytes, wireMs);
  else
    std::printf("   wire %.0f ms (%ld bytes), ratio %.3f\n", wireMs, wireBytes, ms / wireMs);
  return 0;
}
