#include "TerminalReply.h"

#include <algorithm>

namespace terminalsim {

Bytes TerminalReply(uint8_t code, const Bytes& data, uint8_t status) {
  Bytes payload(2 + data.size());
  payload[0] = code;
  payload[1] = status;
  std::copy(data.begin(), data.end(), payload.begin() + 2);
  return sim::Envelope(payload);
}

}  // namespace terminalsim
