// Shared by the end-to-end tests: Halvin.dll under Wine talking to the
// simulated terminal bus, over a COM port or over TCP. Each test program
// defines OpenLink() for its link; the bus has terminals 1, 2 and 3.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Halvin.h"
#include "SimClient.h"

namespace e2e {

// Sets the link up for this test program (SetConnNetParam), returns false
// when the simulator cannot be reached.
bool ConfigureLink(sim::SimClient& sim);
// About how long the link waits for a missing reply before it gives up.
extern const int kGiveUpMs;

inline std::string HexCode(int code) {
  char t[3];
  std::snprintf(t, sizeof t, "%02X", code);
  return t;
}

class Bus : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim.Connect()) << "no simulator";
    ASSERT_TRUE(sim.Ok("fault clear"));
    ASSERT_TRUE(ConfigureLink(sim));
    ASSERT_EQ(OpenPort(), 1);
  }
  void TearDown() override { ClosePort(); }

  // The data the terminal got with the last request of this code.
  std::string Setting(int device, int code) {
    return sim.Value("get " + std::to_string(device) + " setting " + HexCode(code));
  }
  std::string Get(int device, const std::string& what) {
    return sim.Value("get " + std::to_string(device) + " " + what);
  }

  sim::SimClient sim;
};

}  // namespace e2e
