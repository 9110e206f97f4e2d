// The reusable core of the device simulators: a pty reached as a COM port,
// the serial line with its byte pacing, a TCP text control channel on
// 127.0.0.1, timers and a log of received frames, all in one poll loop on
// one thread. A simulated device plugs in as a Device.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ComLink.h"
#include "Pty.h"
#include "SimFrame.h"

namespace sim {

using Words = std::vector<std::string>;

double NowMs();  // monotonic milliseconds

// A simulated device.
class Device {
 public:
  virtual ~Device() = default;
  // Bytes from the program under test, once they would have arrived on a
  // real line (after their wire time when pacing).
  virtual void OnBytes(const uint8_t* data, size_t n) = 0;
  // One control command, split into words. Returns the response: data
  // lines (none, or several), then a last line "ok [text]" or "err text".
  virtual std::string OnCommand(const Words& words) = 0;
  // One line per command for "help".
  virtual std::string Help() const = 0;
};

struct CoreOptions {
  std::string prefix;        // Wine prefix whose dosdevices get the link
  int com = 0;               // 0: first free in [comFirst, comLast]
  int comFirst = 20, comLast = 99;
  int controlPort = 0;       // 0: any free port
  std::string pace = "off";  // off, line (the baud the program set) or a baud
  bool verbose = false;
  int tcp = -1;              // >= 0: the line is a TCP connection on 127.0.0.1:tcp
                             // (0: any free port) instead of a pty and COM port
};

class SimCore {
 public:
  explicit SimCore(CoreOptions options) : opt_(std::move(options)) {}
  // Opens the pty, links the COM port, listens for control clients.
  bool Start(std::string* error);
  // Runs until "quit" or SIGINT/SIGTERM.
  void Run(Device& device);

  int Com() const { return link_.Number(); }
  int TcpPort() const { return tcpPort_; }  // 0 unless the line is TCP
  int ControlPort() const { return controlPort_; }
  const std::string& SlavePath() const { return pty_.SlavePath(); }
  LineSettings Line() const { return pty_.Settings(); }
  // The parity the program had set on the line when the bytes now handed to
  // OnBytes arrived (always N on a TCP line).
  char RxParity() const { return rxParity_; }
  // TCP line: whether connections are taken. While off, the listening
  // queue is kept full, so that a program's connect never completes.
  void SetAccepting(bool on);

  // --- services for the device ---
  // Queues bytes for the program: after `delayMs`, in `pieces` parts with
  // `gapMs` between them, each part paced at the line speed when pacing.
  void Send(const Bytes& bytes, double delayMs = 0, int pieces = 1, double gapMs = 0);
  // Drops everything queued for the program and not yet written.
  void DropOutput();
  // Runs `fn` after `ms` milliseconds, on the loop's thread.
  void After(double ms, std::function<void()> fn);
  // Byte time in ms at the current pacing (0 when not pacing).
  double ByteMs() const;
  // Pacing: "off", "line", or a baud. False on a bad value.
  bool SetPace(const std::string& pace);
  std::string Pace() const { return opt_.pace; }
  // The log of what the device received, one entry per frame or stray run.
  void Log(const std::string& what, const Bytes& bytes);
  void ClearLog() { log_.clear(); }
  std::string LogText() const;  // "<index> <ms> <what> <hex>" lines
  size_t LogSize() const { return log_.size(); }
  // Times the COM device was opened by a program (0 if unknown).
  int Opens() const { return opens_; }
  void Verbose(const std::string& line) const;

 private:
  struct Chunk {
    double due;
    Bytes bytes;
  };
  struct Timer {
    double due;
    std::function<void()> fn;
  };
  struct Client {
    int fd;
    std::string in, out;
  };
  struct Entry {
    double ms;
    std::string what;
    Bytes bytes;
  };
  void ReadLine();
  void WriteDue(double now);
  void RunTimers(double now);
  void Accept();
  void ServeClient(Client& c);
  std::string Dispatch(Device& device, const std::string& line);
  void WatchOpens();
  void ReadOpens();
  bool StartTcp(std::string* error);
  void AcceptLine();
  int LineFd() const { return opt_.tcp >= 0 ? lineFd_ : pty_.MasterFd(); }
  void CloseLine();

  CoreOptions opt_;
  Pty pty_;
  ComLink link_;
  int listen_ = -1, notify_ = -1;
  int lineListen_ = -1, lineFd_ = -1, filler_ = -1, tcpPort_ = 0;
  bool accepting_ = true;
  char rxParity_ = 'N';
  int controlPort_ = 0;
  int opens_ = 0;
  bool quit_ = false;
  double start_ = 0;
  double txFree_ = 0;  // when the line is free to start the next paced byte
  double rxFree_ = 0;  // when the last received byte has fully arrived
  std::vector<Chunk> out_;
  std::multimap<double, std::function<void()>> timers_;
  std::vector<Client> clients_;
  std::vector<Entry> log_;
  Device* device_ = nullptr;
};

// Splits a byte stream into envelope frames (5E 5E 7F Nhi Nlo, N payload
// bytes, checksum). Bytes that cannot start a frame come out as strays; a
// frame left incomplete for longer than `gapMs` is dropped as stray.
class FrameReader {
 public:
  explicit FrameReader(double gapMs = 200) : gapMs_(gapMs) {}
  // Appends bytes; calls `frame` for each whole frame and `stray` for each run
  // of bytes that is not one.
  void Feed(const uint8_t* data, size_t n, double now, const std::function<void(const Bytes&)>& frame,
            const std::function<void(const Bytes&)>& stray);

 private:
  Bytes buf_;
  double last_ = 0;
  double gapMs_;
};

}  // namespace sim
