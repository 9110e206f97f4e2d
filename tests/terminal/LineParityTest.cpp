// The simulator reads the parity a program set on its pty as Wine sets it:
// the kernel drops PARENB on a pty, so mark and space show only through
// CMSPAR and PARODD, even and odd through INPCK.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Pty.h"

#ifndef CMSPAR
#define CMSPAR 010000000000
#endif

TEST(LineParity, ReadFromTheSlaveSettings) {
  sim::Pty pty;
  std::string error;
  ASSERT_TRUE(pty.Open(&error)) << error;
  const int fd = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  struct Case {
    tcflag_t cflag, iflag;
    char parity;
  } cases[] = {
      {PARENB | CMSPAR | PARODD, INPCK, 'M'},
      {PARENB | CMSPAR, INPCK, 'S'},
      {PARENB, INPCK, 'E'},
      {PARENB | PARODD, INPCK, 'O'},
      {0, 0, 'N'},
  };
  for (const Case& c : cases) {
    termios t;
    ASSERT_EQ(tcgetattr(fd, &t), 0);
    cfmakeraw(&t);
    t.c_cflag = (t.c_cflag & ~(PARENB | PARODD | CMSPAR)) | c.cflag;
    t.c_iflag = (t.c_iflag & ~INPCK) | c.iflag;
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &t), 0);
    EXPECT_EQ(pty.Settings().parity, c.parity) << c.parity;
  }
  close(fd);
}
