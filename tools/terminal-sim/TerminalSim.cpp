// The simulated terminal bus: terminals on a pty linked as a Wine COM port,
// or behind a TCP listener on 127.0.0.1, answering the terminal library.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "SimCore.h"
#include "TerminalBus.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: terminal-sim [--devices N,N,...] [--tcp PORT] [--prefix WINEPREFIX] [--com N]\n"
               "                    [--com-range FIRST-LAST] [--control PORT] [--pace off|line|BAUD] [-v]\n"
               "Terminals 1, 2 and 3 by default. --tcp 0 listens on a free port instead of a COM port.\n"
               "Prints \"READY com=N control=PORT tcp=PORT pty=PATH\" once it answers, then runs until\n"
               "\"quit\" on the control channel, SIGINT or SIGTERM.\n");
  return 2;
}

bool ParseDevices(const std::string& text, std::vector<uint16_t>* out) {
  std::istringstream in(text);
  for (std::string item; std::getline(in, item, ',');) {
    char* end = nullptr;
    const long v = std::strtol(item.c_str(), &end, 10);
    if (item.empty() || *end || v < 1 || v > 65535) return false;
    out->push_back(static_cast<uint16_t>(v));
  }
  return !out->empty();
}

}  // namespace

int main(int argc, char** argv) {
  sim::CoreOptions opt;
  if (const char* p = std::getenv("WINEPREFIX")) opt.prefix = p;
  std::vector<uint16_t> devices;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool more = i + 1 < argc;
    if (a == "--devices" && more) {
      if (!ParseDevices(argv[++i], &devices)) return Usage();
    } else if (a == "--tcp" && more) opt.tcp = std::atoi(argv[++i]);
    else if (a == "--prefix" && more) opt.prefix = argv[++i];
    else if (a == "--com" && more) opt.com = std::atoi(argv[++i]);
    else if (a == "--com-range" && more) {
      if (std::sscanf(argv[++i], "%d-%d", &opt.comFirst, &opt.comLast) != 2) return Usage();
    } else if (a == "--control" && more) opt.controlPort = std::atoi(argv[++i]);
    else if (a == "--pace" && more) opt.pace = argv[++i];
    else if (a == "-v") opt.verbose = true;
    else return Usage();
  }
  if (devices.empty()) devices = {1, 2, 3};
  if (opt.tcp > 65535 || opt.com < 0 || opt.com > 255) return Usage();
  sim::SimCore core(opt);
  std::string error;
  if (!core.Start(&error)) {
    std::fprintf(stderr, "terminal-sim: %s\n", error.c_str());
    return 1;
  }
  terminalsim::TerminalBus bus(core, devices);
  std::printf("READY com=%d control=%d tcp=%d pty=%s\n", core.Com(), core.ControlPort(), core.TcpPort(),
              opt.tcp >= 0 ? "-" : core.SlavePath().c_str());
  std::fflush(stdout);
  core.Run(bus);
  return 0;
}
