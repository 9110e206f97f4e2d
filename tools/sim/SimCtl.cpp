// Sends one command to a simulator's control channel and prints the answer.
// usage: simctl [--port PORT] WORD...   (port default: $READER_SIM_PORT)
// Exits 0 on "ok", 1 on "err", 2 when the simulator cannot be reached.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "SimClient.h"

int main(int argc, char** argv) {
  int i = 1;
  uint16_t port = 0;
  if (argc > 2 && std::string(argv[1]) == "--port") {
    port = static_cast<uint16_t>(std::atoi(argv[2]));
    i = 3;
  }
  if (i >= argc) {
    std::fprintf(stderr, "usage: simctl [--port PORT] COMMAND...\n");
    return 2;
  }
  std::string line;
  for (; i < argc; ++i) line += (line.empty() ? "" : " ") + std::string(argv[i]);
  sim::SimClient client;
  if (!client.Connect(port)) {
    std::fprintf(stderr, "simctl: no simulator to talk to\n");
    return 2;
  }
  const auto lines = client.Command(line);
  for (const std::string& l : lines) std::printf("%s\n", l.c_str());
  return lines.back().compare(0, 2, "ok") == 0 ? 0 : 1;
}
