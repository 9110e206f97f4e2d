// A pseudo-terminal standing in for a serial port: the simulator keeps the
// master side, the program under test opens the slave as its COM device.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

// The line as the program under test has set it on the slave side.
struct LineSettings {
  uint32_t baud = 0;
  int dataBits = 8;
  char parity = 'N';    // N, E, O, M (mark) or S (space)
  int stopBits = 1;
  bool xonXoff = false;  // software flow control on either direction
  bool raw = false;      // no canonical mode, echo, signals or byte translation
};

class Pty {
 public:
  Pty() = default;
  ~Pty();
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  // Creates the pair and holds the slave open too, so that the master never
  // sees a hang-up while the program under test closes and reopens the port;
  // a child process holds it as its terminal, so that it is never the
  // controlling terminal of the program that opens it.
  bool Open(std::string* error);
  int MasterFd() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }
  LineSettings Settings() const;
  // Drops bytes written by the device that the program has not read yet.
  void FlushToProgram();

 private:
  void HoldAsTerminal();

  int master_ = -1;
  int slave_ = -1;
  int holder_ = -1;      // the child holding the pty as its terminal
  int holderPipe_ = -1;  // closed to let it go
  std::string slavePath_;
};

}  // namespace sim
