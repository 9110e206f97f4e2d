// A small client of a simulator's control channel, for tests and tools on
// either side (Linux, or Windows programs under Wine through winsock).
//
//   sim::SimClient sim;                 // port from READER_SIM_PORT
//   sim.Ok("card present 0");
//   std::string key = sim.Value("get key 3");
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class SimClient {
 public:
  SimClient() = default;
  ~SimClient();
  SimClient(const SimClient&) = delete;
  SimClient& operator=(const SimClient&) = delete;

  // Connects to 127.0.0.1:port; port 0 takes the number from the
  // environment variable `variable` (READER_SIM_PORT by default).
  bool Connect(uint16_t port = 0, const char* variable = "READER_SIM_PORT");
  bool Connected() const { return fd_ != kNoSocket; }

  // Sends one command; returns every line of the response, the last being
  // "ok ..." or "err ..." ("err no connection" when the channel is gone).
  std::vector<std::string> Command(const std::string& line);
  // True when the command answered "ok".
  bool Ok(const std::string& line);
  // The text after "ok " of a one-line answer; "" on an error.
  std::string Value(const std::string& line);
  // The data lines of a "log" command.
  std::vector<std::string> Log();

 private:
  bool ReadLine(std::string* line);
#ifdef _WIN32
  using Socket = uintptr_t;
  static constexpr Socket kNoSocket = ~Socket(0);
#else
  using Socket = int;
  static constexpr Socket kNoSocket = -1;
#endif
  Socket fd_ = kNoSocket;
  std::string pending_;
};

// The COM number a wrapper gave in READER_SIM_COM (0 when unset).
int SimComFromEnvironment(const char* variable = "READER_SIM_COM");

}  // namespace sim
