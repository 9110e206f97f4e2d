// The TCP link end to end: Halvin.dll under Wine connecting to the
// simulated terminals listening on 127.0.0.1.
#include <windows.h>

#include <chrono>
#include <string>

#include "EndToEnd.h"

namespace e2e {
const int kGiveUpMs = 3000;  // one receive waits up to 3 s
bool ConfigureLink(sim::SimClient& sim) {
  const std::string port = sim.Value("get tcp");
  return !port.empty() && port != "0" && SetConnNetParam(1, 0, 0, "127.0.0.1", std::stoi(port)) == 1;
}
}  // namespace e2e

namespace {
double Since(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}
}  // namespace

using TcpLink = e2e::Bus;

TEST_F(TcpLink, ConnectThatIsNeverAcceptedFailsAfterThreeSeconds) {
  ClosePort();
  ASSERT_TRUE(sim.Ok("accept off"));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(OpenPort(), 0);
  EXPECT_GT(Since(start), 2.5);
  EXPECT_LT(Since(start), 6.0);
  ASSERT_TRUE(sim.Ok("accept on"));
  EXPECT_EQ(OpenPort(), 1);
  EXPECT_EQ(SetSleep(0, 1, 9), 1);
}

TEST_F(TcpLink, RefusedConnectionIsNoLink) {
  ClosePort();
  // Nothing listens on port 1 of this host: the connection is refused, and
  // the failure is seen at once rather than after the 3 s wait.
  ASSERT_EQ(SetConnNetParam(1, 0, 0, "127.0.0.1", 1), 1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(OpenPort(), 0);
  EXPECT_LT(Since(start), 1.5);  // the failure is seen at once, not after the 3 s
  EXPECT_EQ(SetSleep(0, 1, 9), 0);
  EXPECT_EQ(ClosePort(), 0);  // nothing open, nothing ended
  ASSERT_TRUE(e2e::ConfigureLink(sim));
  EXPECT_EQ(OpenPort(), 1);
}

TEST_F(TcpLink, SettingsAreChecked) {
  EXPECT_EQ(SetConnNetParam(1, 0, 0, nullptr, 9566), 0);
  EXPECT_EQ(SetConnNetParam(1, 0, 0, "127.000.000.0001", 9566), 0);  // 16 characters
  // The open link is the one closed, whatever the settings say now.
  EXPECT_EQ(SetConnNetParam(0, 5, 9600, nullptr, 0), 1);
  EXPECT_EQ(ClosePort(), 1);
  ASSERT_EQ(SetConnNetParam(1, 0, 0, "127.0.0.x", 9566), 1);
  EXPECT_EQ(OpenPort(), 0);
  ASSERT_TRUE(e2e::ConfigureLink(sim));
  EXPECT_EQ(OpenPort(), 1);
}

TEST_F(TcpLink, NoBusPollingOverTcp) {
  ASSERT_TRUE(sim.Ok("card 1 5"));
  int device = -1, card = -1, status = -1, first = -1, second = -1;
  EXPECT_EQ(GetCardInfo(3, &device, &card, &status, &first, &second), 0);
  EXPECT_EQ(SetBalance(1, 0, 1, 1), 0);
  EXPECT_EQ(SetSleep(0, 1, 9), 1);
}

TEST_F(TcpLink, OpenAndCloseForEachCommand) {
  ClosePort();
  const int before = std::stoi(sim.Value("get opens"));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SetSleep(1, 1, i), 1);
  EXPECT_EQ(std::stoi(sim.Value("get opens")), before + 3);
  EXPECT_EQ(OpenPort(), 1);
}
