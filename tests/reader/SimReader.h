// Test fixture for the Dorvex end-to-end tests: the real DLL under Wine,
// talking to the simulated reader whose COM number and control port the
// wrapper (tools/with-reader-sim.sh) passed in the environment.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Dorvex.h"
#include "SimClient.h"

namespace dorvex_test {

class SimReaderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sim_ = new sim::SimClient;
    sim_->Connect();
  }
  static void TearDownTestSuite() {
    delete sim_;
    sim_ = nullptr;
  }
  // Every test starts with the port closed, a new factory card 11223344 in
  // the field, the factory key in the reader, no faults, no pacing, an
  // empty log.
  void SetUp() override {
    ASSERT_TRUE(sim_->Connected()) << "no simulator: run under tools/with-reader-sim.sh";
    port = sim::SimComFromEnvironment();
    ASSERT_GT(port, 0);
    CloseComPort();
    for (const char* c : {"fault clear", "link up", "card new 11223344", "set devkey FFFFFFFFFFFF",
                          "pace off", "log clear"})
      ASSERT_TRUE(sim_->Ok(c)) << c;
    opensAtStart = Opens();
  }
  void TearDown() override { CloseComPort(); }

  sim::SimClient& Sim() { return *sim_; }
  bool Ok(const std::string& c) { return sim_->Ok(c); }
  std::string Value(const std::string& c) { return sim_->Value(c); }
  int Opens() { return std::stoi(sim_->Value("get opens")); }
  // The frames the reader received since the test began, as hex.
  std::vector<std::string> Frames() {
    std::vector<std::string> frames;
    for (const std::string& line : sim_->Log()) {
      const size_t at = line.find(" frame ");
      frames.push_back(at == std::string::npos ? line : line.substr(at + 7));
    }
    return frames;
  }
  // Frames of one command code.
  size_t Count(const char* codeHex) {
    size_t n = 0;
    for (const std::string& f : Frames())
      if (f.size() > 12 && f.compare(10, 2, codeHex) == 0) ++n;
    return n;
  }

  int port = 0;
  int opensAtStart = 0;
  static constexpr int kBaud = 9600;

 private:
  static sim::SimClient* sim_;
};

inline sim::SimClient* SimReaderTest::sim_ = nullptr;

}  // namespace dorvex_test
