#include "Pty.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace sim {

Pty::~Pty() {
  if (holder_ > 0) {
    close(holderPipe_);
    waitpid(holder_, nullptr, 0);
  }
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
}

bool Pty::Open(std::string* error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    *error = std::string("pty: ") + std::strerror(errno);
    return false;
  }
  const char* name = ptsname(master_);
  if (!name) {
    *error = "pty: no slave name";
    return false;
  }
  slavePath_ = name;
  slave_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (slave_ < 0) {
    *error = "pty: cannot open " + slavePath_ + ": " + std::strerror(errno);
    return false;
  }
  // The slave starts with a terminal's defaults (canonical input, echo, CR/LF
  // translation, XON/XOFF) as an unconfigured port would: setting the line up
  // for 8-bit frames is the job of the program that opens it.
  HoldAsTerminal();
  return true;
}

// The Wine server is a session leader without a terminal and opens devices
// without O_NOCTTY, so the first pty it opens would become its controlling
// terminal: it would get SIGHUP when the simulator goes (and dump its objects
// on the stderr of whichever program started it), and ^C, ^Z or ^\ on a line
// not yet raw would signal it. A child in a session of its own takes the pty
// as its terminal first, and goes when the simulator does (its pipe closes).
// Where that cannot be done the simulator works on without it.
void Pty::HoldAsTerminal() {
  int ready[2], gone[2];
  if (pipe2(ready, O_CLOEXEC) != 0) return;
  if (pipe2(gone, O_CLOEXEC) != 0) {
    close(ready[0]);
    close(ready[1]);
    return;
  }
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_RDWR);
    for (int fd = 0; fd < 3; ++fd) dup2(null, fd);
    close(master_);
    close(ready[0]);
    close(gone[1]);
    // Bytes that a line not yet raw turns into signals reach this child now.
    for (int sig : {SIGHUP, SIGINT, SIGQUIT, SIGTSTP}) signal(sig, SIG_IGN);
    const char held = setsid() >= 0 && ioctl(slave_, TIOCSCTTY, 0) == 0 ? 1 : 0;
    (void)!write(ready[1], &held, 1);
    close(ready[1]);
    char c;
    while (held && read(gone[0], &c, 1) < 0 && errno == EINTR) {
    }
    _exit(0);
  }
  close(ready[1]);
  close(gone[0]);
  char held = 0;
  if (child > 0) {
    while (read(ready[0], &held, 1) < 0 && errno == EINTR) {
    }
  }
  close(ready[0]);
  if (child < 0 || !held) {
    close(gone[1]);
    if (child > 0) waitpid(child, nullptr, 0);
    return;
  }
  holderPipe_ = gone[1];
  holder_ = child;
}

#ifndef CMSPAR
#define CMSPAR 010000000000
#endif

// The kernel clears PARENB on a pty whatever the program asks, but keeps the
// other parity bits it set: CMSPAR (mark or space, PARODD telling which),
// PARODD, and INPCK, which Wine switches on with every parity but none.
static char ParityOf(const termios& t) {
  if (t.c_cflag & CMSPAR) return (t.c_cflag & PARODD) ? 'M' : 'S';
  if ((t.c_cflag & PARENB) || (t.c_iflag & INPCK)) return (t.c_cflag & PARODD) ? 'O' : 'E';
  return 'N';
}

static uint32_t BaudOf(speed_t s) {
  switch (s) {
    case B300: return 300;
    case B600: return 600;
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    default: return 0;
  }
}

LineSettings Pty::Settings() const {
  LineSettings s;
  termios t;
  if (tcgetattr(slave_, &t) != 0) return s;
  s.baud = BaudOf(cfgetospeed(&t));
  switch (t.c_cflag & CSIZE) {
    case CS5: s.dataBits = 5; break;
    case CS6: s.dataBits = 6; break;
    case CS7: s.dataBits = 7; break;
    default: s.dataBits = 8; break;
  }
  s.parity = ParityOf(t);
  s.stopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
  s.xonXoff = (t.c_iflag & (IXON | IXOFF)) != 0;
  s.raw = !(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) &&
          !(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON)) && !(t.c_oflag & OPOST);
  return s;
}

void Pty::FlushToProgram() { tcflush(slave_, TCIFLUSH); }

}  // namespace sim
