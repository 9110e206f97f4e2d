#include "SimCore.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace sim {

namespace {
volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }
constexpr size_t kMaxControlLine = 4096;
constexpr int kListenBacklog = 8;

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  return a;
}

// A non-blocking listening socket on 127.0.0.1:`port` (0: any free port);
// *bound gets the port it listens on. -1 with errno set on failure, and no
// socket left open.
int ListenLoopback(int port, int* bound) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in a = Loopback(port);
  socklen_t len = sizeof a;
  if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, kListenBacklog) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    const int saved = errno;
    close(fd);
    errno = saved;
    return -1;
  }
  *bound = ntohs(a.sin_port);
  return fd;
}
}  // namespace

double NowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

bool SimCore::Start(std::string* error) {
  start_ = NowMs();
  if (opt_.tcp >= 0) {
    if (!StartTcp(error)) return false;
  } else {
    if (!pty_.Open(error)) return false;
    if (!opt_.prefix.empty() &&
        !link_.Claim(opt_.prefix, opt_.com, opt_.comFirst, opt_.comLast, pty_.SlavePath(), error))
      return false;
  }
  if (!SetPace(opt_.pace)) {
    *error = "bad pace: " + opt_.pace;
    return false;
  }
  listen_ = ListenLoopback(opt_.controlPort, &controlPort_);
  if (listen_ < 0) {
    *error = std::string("control socket: ") + std::strerror(errno);
    return false;
  }
  if (opt_.tcp < 0) WatchOpens();
  signal(SIGINT, OnSignal);
  signal(SIGTERM, OnSignal);
  signal(SIGPIPE, SIG_IGN);
  return true;
}

// Counting opens of the slave device tells a test whether a program touched
// the port at all, even when it sent nothing.
void SimCore::WatchOpens() {
  notify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (notify_ >= 0 && inotify_add_watch(notify_, pty_.SlavePath().c_str(), IN_OPEN) < 0) {
    close(notify_);
    notify_ = -1;
  }
}

void SimCore::ReadOpens() {
  alignas(inotify_event) char buf[4096];
  for (;;) {
    const ssize_t n = read(notify_, buf, sizeof buf);
    if (n <= 0) return;
    for (ssize_t i = 0; i < n;) {
      const auto* ev = reinterpret_cast<const inotify_event*>(buf + i);
      if (ev->mask & IN_OPEN) {
        ++opens_;
        Verbose("port opened");
      }
      i += sizeof(inotify_event) + ev->len;
    }
  }
}

bool SimCore::SetPace(const std::string& pace) {
  if (pace == "off" || pace == "line") {
    opt_.pace = pace;
    return true;
  }
  char* end = nullptr;
  const long baud = std::strtol(pace.c_str(), &end, 10);
  if (pace.empty() || *end || baud < 50 || baud > 4000000) return false;
  opt_.pace = pace;
  return true;
}

double SimCore::ByteMs() const {
  if (opt_.pace == "off") return 0;
  const uint32_t baud = opt_.pace == "line" ? pty_.Settings().baud : std::strtoul(opt_.pace.c_str(), nullptr, 10);
  return baud ? 10000.0 / baud : 0;  // start bit, 8 data bits, stop bit
}

void SimCore::Send(const Bytes& bytes, double delayMs, int pieces, double gapMs) {
  const double byteMs = ByteMs();
  double t = std::max(NowMs() + delayMs, txFree_);
  pieces = std::max(1, std::min<int>(pieces, static_cast<int>(bytes.size())));
  const size_t per = (bytes.size() + pieces - 1) / pieces;
  for (size_t at = 0; at < bytes.size(); at += per) {
    if (at > 0) t += gapMs;
    const size_t end = std::min(bytes.size(), at + per);
    if (byteMs <= 0) {
      out_.push_back({t, Bytes(bytes.begin() + at, bytes.begin() + end)});
    } else {
      // A byte is handed over once it has fully crossed the line.
      for (size_t i = at; i < end; ++i) {
        t += byteMs;
        out_.push_back({t, Bytes{bytes[i]}});
      }
    }
  }
  txFree_ = t;
}

void SimCore::DropOutput() {
  out_.clear();
  txFree_ = 0;
}

void SimCore::After(double ms, std::function<void()> fn) { timers_.emplace(NowMs() + ms, std::move(fn)); }

void SimCore::Log(const std::string& what, const Bytes& bytes) {
  log_.push_back({NowMs() - start_, what, bytes});
  Verbose("<- " + what + " " + Hex(bytes));
}

std::string SimCore::LogText() const {
  std::ostringstream s;
  for (size_t i = 0; i < log_.size(); ++i) {
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.1f", log_[i].ms);
    s << i << ' ' << ms << ' ' << log_[i].what << ' ' << Hex(log_[i].bytes) << '\n';
  }
  return s.str();
}

void SimCore::Verbose(const std::string& line) const {
  if (opt_.verbose) std::fprintf(stderr, "sim %.1f %s\n", NowMs() - start_, line.c_str());
}

// Bytes the program wrote. On a paced line they reach the device one byte
// time after another, so the device sees them when the last would have.
void SimCore::ReadLine() {
  uint8_t buf[4096];
  for (;;) {
    const ssize_t n = read(LineFd(), buf, sizeof buf);
    if (opt_.tcp >= 0 && (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)))
      CloseLine();  // the program closed its connection
    if (n <= 0) return;
    // The parity in force as the bytes arrive (the program sets it before it writes).
    const char parity = opt_.tcp >= 0 ? 'N' : pty_.Settings().parity;
    const double byteMs = ByteMs();
    Bytes bytes(buf, buf + n);
    if (byteMs <= 0) {
      rxParity_ = parity;
      device_->OnBytes(bytes.data(), bytes.size());
      continue;
    }
    rxFree_ = std::max(rxFree_, NowMs()) + byteMs * n;
    timers_.emplace(rxFree_, [this, bytes, parity] {
      rxParity_ = parity;
      device_->OnBytes(bytes.data(), bytes.size());
    });
  }
}

// --- the line as a TCP connection -------------------------------------------

bool SimCore::StartTcp(std::string* error) {
  lineListen_ = ListenLoopback(opt_.tcp, &tcpPort_);
  if (lineListen_ < 0) {
    *error = std::string("line socket: ") + std::strerror(errno);
    return false;
  }
  return true;
}

// One program connection at a time: a new one replaces the old.
void SimCore::AcceptLine() {
  if (!accepting_) return;
  for (;;) {
    const int fd = accept4(lineListen_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    CloseLine();
    lineFd_ = fd;
    ++opens_;
    Verbose("connection accepted");
  }
}

void SimCore::CloseLine() {
  if (lineFd_ >= 0) close(lineFd_);
  lineFd_ = -1;
  DropOutput();
}

// Refusing to accept keeps a connection of our own in a listening queue of
// length 0: the kernel then drops the program's connection requests, and its
// connect waits in vain.
void SimCore::SetAccepting(bool on) {
  if (opt_.tcp < 0 || on == accepting_) return;
  accepting_ = on;
  if (!on) {
    listen(lineListen_, 0);
    filler_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const sockaddr_in a = Loopback(tcpPort_);
    connect(filler_, reinterpret_cast<const sockaddr*>(&a), sizeof a);
    return;
  }
  // Take the filler out of the queue and listen as before.
  for (int fd; (fd = accept4(lineListen_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) close(fd);
  if (filler_ >= 0) close(filler_);
  filler_ = -1;
  listen(lineListen_, kListenBacklog);
}

void SimCore::WriteDue(double now) {
  size_t done = 0;
  while (done < out_.size() && out_[done].due <= now) {
    Chunk& c = out_[done];
    if (LineFd() < 0) {  // no connection: the bytes go nowhere
      ++done;
      continue;
    }
    const ssize_t n = write(LineFd(), c.bytes.data(), c.bytes.size());
    if (n < 0) break;  // pty full: try again on the next turn
    if (static_cast<size_t>(n) < c.bytes.size()) {
      c.bytes.erase(c.bytes.begin(), c.bytes.begin() + n);
      break;
    }
    ++done;
  }
  out_.erase(out_.begin(), out_.begin() + done);
}

void SimCore::RunTimers(double now) {
  while (!timers_.empty() && timers_.begin()->first <= now) {
    auto fn = std::move(timers_.begin()->second);
    timers_.erase(timers_.begin());
    fn();
  }
}

void SimCore::Accept() {
  for (;;) {
    const int fd = accept4(listen_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    clients_.push_back({fd, {}, {}});
  }
}

std::string SimCore::Dispatch(Device& device, const std::string& line) {
  Words w;
  std::istringstream in(line);
  for (std::string word; in >> word;) w.push_back(word);
  if (w.empty()) return "err empty command\n";
  Verbose("control: " + line);
  if (w[0] == "quit") {
    quit_ = true;
    return "ok bye\n";
  }
  if (w[0] == "ping") return "ok pong\n";
  if (w[0] == "help") return device.Help() + "ok\n";
  if (w[0] == "log" && w.size() == 1) return LogText() + "ok " + std::to_string(LogSize()) + "\n";
  if (w[0] == "log" && w.size() == 2 && w[1] == "clear") {
    ClearLog();
    return "ok\n";
  }
  if (w[0] == "pace" && w.size() == 2) return SetPace(w[1]) ? "ok\n" : "err bad pace\n";
  if (w[0] == "get" && w.size() == 2 && w[1] == "pace") return "ok " + opt_.pace + "\n";
  if (w[0] == "get" && w.size() == 2 && w[1] == "opens") return "ok " + std::to_string(opens_) + "\n";
  if (w[0] == "get" && w.size() == 2 && w[1] == "line") {
    const LineSettings s = pty_.Settings();
    std::ostringstream o;
    o << "ok baud=" << s.baud << " bits=" << s.dataBits << s.parity << s.stopBits
      << " xonxoff=" << (s.xonXoff ? 1 : 0) << " raw=" << (s.raw ? 1 : 0) << "\n";
    return o.str();
  }
  std::string r = device.OnCommand(w);
  if (r.empty() || r.back() != '\n') r += '\n';
  return r;
}

void SimCore::ServeClient(Client& c) {
  char buf[1024];
  for (;;) {
    const ssize_t n = read(c.fd, buf, sizeof buf);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
      close(c.fd);
      c.fd = -1;
      return;
    }
    if (n < 0) break;
    c.in.append(buf, static_cast<size_t>(n));
  }
  size_t eol;
  while ((eol = c.in.find('\n')) != std::string::npos) {
    std::string line = c.in.substr(0, eol);
    c.in.erase(0, eol + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    c.out += Dispatch(*device_, line);
  }
  if (c.in.size() > kMaxControlLine) {
    c.out += "err line too long\n";
    c.in.clear();
  }
}

void SimCore::Run(Device& device) {
  device_ = &device;
  while (!quit_ && !g_stop) {
    std::vector<pollfd> fds;
    fds.push_back({LineFd(), POLLIN, 0});
    fds.push_back({listen_, POLLIN, 0});
    fds.push_back({notify_, POLLIN, 0});
    fds.push_back({accepting_ ? lineListen_ : -1, POLLIN, 0});
    for (Client& c : clients_) fds.push_back({c.fd, static_cast<short>(POLLIN | (c.out.empty() ? 0 : POLLOUT)), 0});

    const double now = NowMs();
    double next = now + 1000;
    if (!out_.empty()) next = std::min(next, out_.front().due);
    if (!timers_.empty()) next = std::min(next, timers_.begin()->first);
    // Sleep to the next due event; a millisecond poll is too coarse for
    // paced bytes (about 1 ms each at 9600 baud), so wait the rest precisely.
    const double wait = next - now;
    int timeout = wait <= 0 ? 0 : static_cast<int>(wait);
    if (poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) break;
    const size_t polled = clients_.size();  // Accept may add clients not in fds
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) ReadLine();
    if (fds[1].revents & POLLIN) Accept();
    if (notify_ >= 0 && (fds[2].revents & POLLIN)) ReadOpens();
    if (fds[3].revents & POLLIN) AcceptLine();
    for (size_t i = 0; i < clients_.size(); ++i) {
      Client& c = clients_[i];
      if (i < polled && (fds[4 + i].revents & (POLLIN | POLLHUP | POLLERR))) ServeClient(c);
      if (c.fd >= 0 && !c.out.empty()) {
        const ssize_t n = write(c.fd, c.out.data(), c.out.size());
        if (n > 0) c.out.erase(0, static_cast<size_t>(n));
      }
    }
    clients_.erase(std::remove_if(clients_.begin(), clients_.end(), [](const Client& c) { return c.fd < 0; }),
                   clients_.end());
    double t = NowMs();
    if (t < next && next - t < 2 && (out_.empty() || out_.front().due > t)) {
      timespec ts{0, static_cast<long>((next - t) * 1e6)};
      nanosleep(&ts, nullptr);
      t = NowMs();
    }
    RunTimers(t);
    WriteDue(NowMs());
  }
  // Answer a last "quit" before going.
  for (Client& c : clients_) {
    if (!c.out.empty()) (void)!write(c.fd, c.out.data(), c.out.size());
    close(c.fd);
  }
  clients_.clear();
  link_.Release();
}

}  // namespace sim

namespace sim {

void FrameReader::Feed(const uint8_t* data, size_t n, double now,
                       const std::function<void(const Bytes&)>& frame,
                       const std::function<void(const Bytes&)>& stray) {
  if (!buf_.empty() && now - last_ > gapMs_) {
    stray(buf_);
    buf_.clear();
  }
  last_ = now;
  buf_.insert(buf_.end(), data, data + n);
  for (;;) {
    // Skip to the next start pair.
    size_t s = 0;
    while (s < buf_.size() && !(buf_[s] == 0x5E && (s + 1 == buf_.size() || buf_[s + 1] == 0x5E))) ++s;
    if (s > 0) {
      stray(Bytes(buf_.begin(), buf_.begin() + s));
      buf_.erase(buf_.begin(), buf_.begin() + s);
    }
    if (buf_.size() < 5) return;
    if (buf_[2] != 0x7F) {  // not a frame head: drop one byte and look again
      stray(Bytes(buf_.begin(), buf_.begin() + 1));
      buf_.erase(buf_.begin());
      continue;
    }
    const size_t len = static_cast<size_t>((buf_[3] << 8) | buf_[4]) + 6;
    if (buf_.size() < len) return;
    frame(Bytes(buf_.begin(), buf_.begin() + len));
    buf_.erase(buf_.begin(), buf_.begin() + len);
  }
}

}  // namespace sim
