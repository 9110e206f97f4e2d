// A terminal's reply frame as it goes on the line, for the simulated
// terminal and for the terminal library's tests (no I/O: builds on both
// sides).
#pragma once
#include <cstdint>

#include "SimFrame.h"

namespace terminalsim {

using sim::Bytes;

constexpr uint8_t kOk = 0x66;  // the status of an accepted command

// A whole reply frame: 5E 5E 7F N, code, status, data, XOR of code..data.
Bytes TerminalReply(uint8_t code, const Bytes& data = {}, uint8_t status = kOk);

}  // namespace terminalsim
