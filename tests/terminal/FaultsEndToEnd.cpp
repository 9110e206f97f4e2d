// Terminal faults end to end: silence, split and late replies, spoiled
// replies, and record downloads announcing odd lengths.
#include <windows.h>

#include <chrono>
#include <vector>

#include "EndToEnd.h"

using e2e::Bus;

namespace {

// Frames of one code the terminals received since the log was cleared.
int FramesOf(sim::SimClient& sim, int code) {
  // "<index> <ms> frame 5E5E7F NNNN CC ..." without the blanks.
  int n = 0;
  for (const std::string& line : sim.Log()) {
    const size_t at = line.find(" frame ");
    if (at != std::string::npos && line.compare(at + 7 + 10, 2, e2e::HexCode(code)) == 0) ++n;
  }
  return n;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

using Faults = Bus;

TEST_F(Faults, SilenceIsRetriedThreeTimes) {
  ASSERT_TRUE(sim.Ok("log clear"));
  ASSERT_TRUE(sim.Ok("fault silence always code=1A"));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(SetSleep(0, 1, 5), 0);
  EXPECT_EQ(FramesOf(sim, 0x1A), 3);
  EXPECT_GT(Seconds(start), 2.5);  // three reads of about a second each
  ASSERT_TRUE(sim.Ok("fault clear"));
  EXPECT_EQ(SetSleep(0, 1, 5), 1);
}

TEST_F(Faults, SpoiledRepliesAreRetried) {
  for (const char* kind : {"checksum", "code", "status"}) {
    ASSERT_TRUE(sim.Ok("log clear"));
    ASSERT_TRUE(sim.Ok(std::string("fault ") + kind + " 2 code=2E"));
    int amount = -1;
    EXPECT_EQ(GetCardSubsidy(0, 1, 5, &amount), 1) << kind;  // the third attempt is answered
    EXPECT_EQ(FramesOf(sim, 0x2E), 3) << kind;
    ASSERT_TRUE(sim.Ok(std::string("fault ") + kind + " 3 code=2E"));
    amount = -1;
    EXPECT_EQ(GetCardSubsidy(0, 1, 5, &amount), 0) << kind;
    EXPECT_EQ(amount, -1) << kind;
  }
}

TEST_F(Faults, OneAttemptCommands) {
  ASSERT_TRUE(sim.Ok("log clear"));
  ASSERT_TRUE(sim.Ok("fault status code=28"));
  int count = -1;
  std::vector<unsigned char> buf(1024);
  EXPECT_EQ(RealDownRecord(0, 1, &count, buf.data()), 0);
  EXPECT_EQ(FramesOf(sim, 0x28), 1);
  ASSERT_TRUE(sim.Ok("fault silence code=29"));
  EXPECT_EQ(DeleteRealRecord(0, 1, 1), 0);
  EXPECT_EQ(FramesOf(sim, 0x29), 1);
}

TEST_F(Faults, SplitRepliesAreJoined) {
  ASSERT_TRUE(sim.Ok("fault split always pieces=4 ms=60"));
  char version[11];
  EXPECT_EQ(GetDevVersion(0, 1, version), 1);
  ASSERT_TRUE(sim.Ok("records 1 70"));
  int count = -1;
  std::vector<unsigned char> buf(1024);
  EXPECT_EQ(DownRecord(0, 1, 0, &count, buf.data()), 1);
  EXPECT_EQ(count, 63);
}

TEST_F(Faults, LateReplyNeverAnswersTheNextCommand) {
  // The reply to a one-attempt download comes after the library gave up on
  // it and waits on the line; the next download must get its own reply.
  ASSERT_TRUE(sim.Ok("reset 3"));
  ASSERT_TRUE(sim.Ok("fault late code=28 ms=" + std::to_string(e2e::kGiveUpMs + 500)));
  int count = -1;
  std::vector<unsigned char> buf(1024);
  EXPECT_EQ(RealDownRecord(0, 3, &count, buf.data()), 0);
  Sleep(1000);  // the stale reply (no records) is now waiting
  const std::string total = sim.Value("records 3 5");
  EXPECT_EQ(RealDownRecord(0, 3, &count, buf.data()), 1);
  EXPECT_EQ(std::to_string(count), total);
}

TEST_F(Faults, RecordDownloadLengths) {
  ASSERT_TRUE(sim.Ok("reset 1"));
  ASSERT_TRUE(sim.Ok("records 1 3"));
  int count = -1;
  std::vector<unsigned char> buf(1024, 0xEE);
  ASSERT_TRUE(sim.Ok("fault len5 code=26"));
  EXPECT_EQ(DownRecord(0, 1, 0, &count, buf.data()), 1);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(buf[0], 0);
  EXPECT_EQ(buf[1], 1);
  EXPECT_EQ(buf[2], 0);
  EXPECT_EQ(buf[3], 0xEE);
  ASSERT_TRUE(sim.Ok("fault len1018 code=28"));
  EXPECT_EQ(RealDownRecord(0, 1, &count, buf.data()), 1);
  EXPECT_EQ(buf[1014], static_cast<unsigned char>(1014));
  EXPECT_EQ(buf[1015], 0);
  for (const char* kind : {"len0", "len2", "len1019"}) {
    count = -1;
    ASSERT_TRUE(sim.Ok(std::string("fault ") + kind + " always code=26"));
    EXPECT_EQ(DownRecord(0, 1, 0, &count, buf.data()), 0) << kind;
    EXPECT_EQ(count, -1) << kind;
    ASSERT_TRUE(sim.Ok("fault clear"));
  }
  EXPECT_EQ(DownRecord(0, 1, 0, &count, buf.data()), 1);
  EXPECT_EQ(count, 3);
}
