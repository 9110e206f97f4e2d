// The simulated terminal bus: several terminals on one serial line (or one
// TCP connection), each answering only its own device number. On the serial
// line the parity of each byte decides what it is: commands come with no
// parity, poll requests with mark parity, addressed money frames with space
// parity; bytes with the wrong parity for what they look like are ignored,
// as a terminal's UART in address mode would.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Faults.h"
#include "SimCore.h"
#include "TerminalModel.h"

namespace terminalsim {

class TerminalBus : public sim::Device {
 public:
  TerminalBus(sim::SimCore& core, const std::vector<uint16_t>& devices);

  void OnBytes(const uint8_t* data, size_t n) override;
  std::string OnCommand(const sim::Words& w) override;
  std::string Help() const override;

  TerminalModel* Find(uint16_t device);

 private:
  void OnCommandFrame(const sim::Bytes& f);
  void OnPollBytes(const uint8_t* data, size_t n);
  void OnMoneyBytes(const uint8_t* data, size_t n);
  sim::Bytes RecordLengthReply(uint8_t code, size_t len) const;

  sim::SimCore& core_;
  std::vector<std::unique_ptr<TerminalModel>> terminals_;
  sim::FaultPlan faults_;
  sim::FrameReader commands_;
  sim::Bytes poll_, money_;   // partial poll requests and money frames
  double pollAt_ = 0, moneyAt_ = 0;
  int polls_ = 0;
};

}  // namespace terminalsim
