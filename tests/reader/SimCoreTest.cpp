// The simulator core's frame splitting, fault rules and pty, which every device
// simulator builds on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Faults.h"
#include "Pty.h"
#include "SimCore.h"

using namespace sim;

namespace {
struct Split {
  std::vector<Bytes> frames, strays;
  FrameReader reader{200};
  void Feed(const Bytes& b, double now) {
    reader.Feed(b.data(), b.size(), now, [&](const Bytes& f) { frames.push_back(f); },
                [&](const Bytes& s) { strays.push_back(s); });
  }
};
const Bytes kBeep = {0x5E, 0x5E, 0x7F, 0x00, 0x02, 0x06, 0x01, 0x07};
}  // namespace

TEST(SimFrameReader, JoinsPiecesAndSkipsNoise) {
  Split s;
  s.Feed({0x00, 0x5E, 0x13}, 0);  // noise, including a lone start byte
  s.Feed(Bytes(kBeep.begin(), kBeep.begin() + 3), 1);
  s.Feed(Bytes(kBeep.begin() + 3, kBeep.end()), 2);
  ASSERT_EQ(s.frames.size(), 1u);
  EXPECT_EQ(s.frames[0], kBeep);
  ASSERT_FALSE(s.strays.empty());
  // Two frames in one read.
  Bytes two = kBeep;
  two.insert(two.end(), kBeep.begin(), kBeep.end());
  s.Feed(two, 3);
  EXPECT_EQ(s.frames.size(), 3u);
}

TEST(SimFrameReader, DropsAFrameLeftIncompleteTooLong) {
  Split s;
  s.Feed(Bytes(kBeep.begin(), kBeep.begin() + 6), 0);
  s.Feed(kBeep, 500);  // the rest never came; a new frame starts
  ASSERT_EQ(s.frames.size(), 1u);
  EXPECT_EQ(s.frames[0], kBeep);
  ASSERT_EQ(s.strays.size(), 1u);
  EXPECT_EQ(s.strays[0].size(), 6u);
}

TEST(SimFaults, RulesMatchCodeSkipAndCount) {
  FaultPlan plan;
  const std::vector<std::string> kinds = {"silence", "late"};
  EXPECT_NE(plan.Add({"bogus"}, kinds), "");
  EXPECT_NE(plan.Add({"late", "ms=x"}, kinds), "");
  ASSERT_EQ(plan.Add({"silence", "2", "code=03", "skip=1"}, kinds), "");
  ASSERT_EQ(plan.Add({"late", "always", "ms=300"}, kinds), "");
  auto Kinds = [&](uint8_t code) {
    std::string k;
    for (const FaultRule& r : plan.Take(code)) k += r.kind + " ";
    return k;
  };
  EXPECT_EQ(Kinds(0x04), "late ");
  EXPECT_EQ(Kinds(0x03), "late ");  // skipped once
  EXPECT_EQ(Kinds(0x03), "silence late ");
  EXPECT_EQ(Kinds(0x03), "silence late ");
  EXPECT_EQ(Kinds(0x03), "late ");  // used up
  plan.Clear();
  EXPECT_EQ(Kinds(0x03), "");
}

TEST(SimFaults, CorruptionKeepsOrBreaksTheChecksumAsNamed) {
  Bytes f = kBeep;
  ASSERT_TRUE(CorruptFrame("status", &f));
  EXPECT_EQ(f[6], 0x00);
  EXPECT_EQ(f.back(), 0x06);  // still right for the new content
  f = kBeep;
  ASSERT_TRUE(CorruptFrame("checksum", &f));
  EXPECT_NE(f.back(), kBeep.back());
  EXPECT_FALSE(CorruptFrame("late", &f));
}

TEST(SimHex, ParsesBytesWithSeparators) {
  Bytes b;
  EXPECT_TRUE(ParseHex("5E 5e:7F", &b));
  EXPECT_EQ(b, (Bytes{0x5E, 0x5E, 0x7F}));
  EXPECT_FALSE(ParseHex("5", &b));
  EXPECT_FALSE(ParseHex("5 E", &b));
  EXPECT_FALSE(ParseHex("zz", &b));
  EXPECT_EQ(Hex(Bytes{0x00, 0xAB}), "00AB");
}

// The program under test opens the port as the Wine server does: a session
// leader with no terminal, opening the device without O_NOCTTY. The pty must
// not become its controlling terminal, or it would get SIGHUP when the
// simulator goes (the Wine server then dumps its objects on its stderr) and
// bytes turned into signals while the line is not yet raw.
TEST(SimPty, NeverBecomesTheControllingTerminalOfTheProgram) {
  Pty pty;
  std::string error;
  ASSERT_TRUE(pty.Open(&error)) << error;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setsid();
    const int port = open(pty.SlavePath().c_str(), O_RDWR);
    const bool controlling = open("/dev/tty", O_RDWR) >= 0;
    _exit(port >= 0 && !controlling ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
