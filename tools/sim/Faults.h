// Faults a simulated device injects into its answers, set over the control
// channel:  fault KIND [COUNT|always] [code=HH] [skip=N] [ms=N] [pieces=N] [reply=0|1]
// A rule fires on the requests whose command code matches (any code when
// none is given), after letting `skip` matching requests pass, for COUNT
// requests (1 by default). The device decides what each KIND means; the
// envelope-level kinds (checksum, code, status, address) are applied by
// CorruptFrame.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "SimCore.h"

namespace sim {

struct FaultRule {
  std::string kind;
  int count = 1;        // requests still to hit; -1 for always
  int code = -1;        // command code matched, -1 for any
  int skip = 0;         // matching requests to let pass first
  double ms = 0;        // a delay or gap, where the kind takes one
  int pieces = 2;       // split: parts of the reply
  bool reply = false;   // cut: send this reply before the link drops
};

class FaultPlan {
 public:
  // Parses "fault ..." words (without the leading "fault"); `kinds` lists the
  // kinds the device knows. Returns "" or an error text.
  std::string Add(const Words& w, const std::vector<std::string>& kinds);
  void Clear() { rules_.clear(); }
  // The rules that fire for a request with this command code (each used up
  // by one); rules that are not yet due count down their skip.
  std::vector<FaultRule> Take(uint8_t code);
  std::string Describe() const;  // one line per rule still active

 private:
  std::vector<FaultRule> rules_;
};

// Spoils an envelope frame the way a faulty line or device would:
// "checksum" flips the checksum byte, "code" the echoed command code,
// "status" sets the status byte to 0, "address" the address byte to 0x00.
// Returns false for other kinds.
bool CorruptFrame(const std::string& kind, Bytes* frame);

}  // namespace sim
